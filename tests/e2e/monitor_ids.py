"""The numbers the program answers to and writes, under the names its source
gives them: the window commands the driver posts, the event and fatal-error
numbers of monitor.err, and the sentences a barograph sends. The tests name
these instead of repeating the numbers, so that a changed number is changed
in one place."""

# Window commands (WM_COMMAND ids of the main window).
cmdPrintNmeaTable = 1002
cmdPrintChart = 1006
cmdQuit = 1008
cmdCheckRecordFile = 1102  # no menu item: reachable as a window message only
cmdEraseMonitorTxt = 1104
cmdEraseNmeaTxt = 1106
cmdCopyChart = 1108
cmdToggleT1 = 1200
cmdToggleT3 = 1202
cmdShowHours = 1204
cmdShowWeek = 1206
cmdAcknowledgeAlarm = 1210
cmdBarographMode = 1300
cmdNmeaMode = 1302
cmdPortCom1 = 1306
cmdPortCom2 = 1308
cmdPortCom3 = 1310
cmdPortCom4 = 1320
cmdPortCom5 = 1340
cmdPortCom6 = 1360
# COM7 and COM8 came later and lie outside the range of the first six.
cmdPortCom7 = 1594
cmdPortCom8 = 1595
cmdSaveOff = 1440
cmdSaveOn = 1460
cmdToggleSig = 1480
cmdToggleErr = 1500
cmdGerman = 1520
cmdEnglish = 1530
cmdFrench = 1540
cmdScale950 = 1596
cmdScale900 = 1597
cmdHelp = 1600
cmdAbout = 1610
cmdLinkCable = 1620
cmdDataFormats = 1630

PORT_COMMANDS = [cmdPortCom1, cmdPortCom2, cmdPortCom3, cmdPortCom4,
                 cmdPortCom5, cmdPortCom6, cmdPortCom7, cmdPortCom8]

# Events of monitor.err.
eventPortInUse = 1
eventSettingsUnreadable = 2
eventSettingsUnwritable = 3
eventFontCreateFailed = 5
eventPrintError = 8
eventRegisterClassFailed = 9
eventOpenWindowFailed = 10
eventSettingsMissing = 11
eventMonitorTxtErased = 12
eventRecordFileError = 13
eventPortCom1Failed = 14  # COM1..COM4 are 14..17
eventPortLost = 19
eventWriteFailed = 21
eventSelectObjectFailed = 22
eventCreatePenFailed = 23
eventDiskSpaceLow = 24
eventCreateBrushFailed = 25
eventSetCommStateFailed = 64
eventPortReturned = 66
eventEraseRefused = 67
eventRecordsCaughtUp = 68
eventRecordsDropped = 69
eventRecordsUnwritten = 70
eventWindWarning = 71
eventGaleAlarm = 72
eventWindAlarmEnded = 73
eventNoData = 74
eventDataAgain = 75
eventSessionEnded = 76
WIND_ALARM_EVENTS = (eventWindWarning, eventGaleAlarm, eventWindAlarmEnded)

# Fatal errors: shown in a box and logged, then the program ends.
fatalSettingsUnwritable = 1
fatalChartFramePen = 7
fatalChartGridPenUpright = 9
fatalChartGridPenTurned = 11
fatalChartCurvePen = 22
fatalFontCreateFailed = 60
fatalFontSelectFailed = 100


def command(number):
    """The driver's request that posts window command `number`."""
    return f"command {number}"


def port_failed_event(port):
    """The event of a port COM1..COM4 that could not be opened."""
    assert 1 <= port <= 4, port
    return eventPortCom1Failed + port - 1


def event_tag(number):
    """The part of a monitor.err line that names event `number`, its text follows."""
    return f"event nr. {number} ".encode()


def fatal_number(number):
    """A fatal-error number as the box and monitor.err show it: three digits."""
    return f"{number:03d}"


# Device sentences.

# The barograph's sentence of the worked example: 998.60 hPa, converter 52684,
# +1.2 hPa and +3.5 hPa tendencies, 300 minutes back 995.40 hPa.
EXAMPLE = b"$PXDR,0998.60,52684,+01.2,+03.5,-0300,0995.40\r\n"
# The barograph's second sentence, sent after every $PXDR; the program rejects it.
WIXDR = b"$WIXDR,P,0.9986,B\r\n"


def pxdr(pressure, converter, t1, t3, minutes, then):
    """A $PXDR sentence: pressures in hundredths of a hPa, tendencies in tenths
    of a hPa, the minutes back to the `then` pressure."""
    def hpa(value):
        return f"{value // 100:04d}.{value % 100:02d}"

    def tendency(value):
        return f"{'-' if value < 0 else '+'}{abs(value) // 10:02d}.{abs(value) % 10}"

    return f"$PXDR,{hpa(pressure)},{converter:05d},{tendency(t1)},{tendency(t3)},-{minutes:04d},{hpa(then)}\r\n".encode()
