#include <windows.h>

#include "acquisition/line_dispatch.h"
#include "acquisition/udp_output.h"
#include "app/menu_bar.h"
#include "app/shell_state.h"
#include "app/startup.h"
#include "display/chart_view.h"
#include "records/event_log.h"
#include "records/record_files.h"
#include "settings/shell_seam.h"
#include "storedata/week_loader.h"
#include "storedata/week_records.h"

namespace {

void setTitle(const char* text) { SetWindowTextA(mainWindow, text); }

void repaint() { InvalidateRect(mainWindow, nullptr, TRUE); }

void showMessage(const ShellMessage& message)
{
    const char* caption = uiText(message.caption);
    switch (message.kind) {
    case MessageKind::Error: MessageBoxA(mainWindow, message.text, caption, MB_ICONERROR); break;
    case MessageKind::Notice: MessageBoxA(mainWindow, message.text, caption, MB_OK); break;
    case MessageKind::ErrorUnowned: MessageBoxA(nullptr, message.text, caption, MB_ICONERROR); break;
    case MessageKind::Information: MessageBoxA(nullptr, message.text, caption, MB_ICONINFORMATION); break;
    }
}

void beep(unsigned type) { MessageBeep(type); }

// The taskbar button flashes until the alarm is acknowledged or ends.
void showAlarmSignal(bool sounding)
{
    refreshMenuMarks();
    FLASHWINFO flash = {};
    flash.cbSize = sizeof flash;
    flash.hwnd = mainWindow;
    flash.dwFlags = sounding ? FLASHW_TRAY | FLASHW_TIMER : FLASHW_STOP;
    if (mainWindow) FlashWindowEx(&flash);
}

void endProgram() { PostQuitMessage(0); }

UtcStamp utcNow()
{
    SYSTEMTIME now;
    GetSystemTime(&now);
    return UtcStamp{now.wYear, static_cast<uint8_t>(now.wMonth), static_cast<uint8_t>(now.wDay),
                    static_cast<uint8_t>(now.wHour), static_cast<uint8_t>(now.wMinute)};
}

DeltaTime deltaTimeNow()
{
    SYSTEMTIME now;
    GetSystemTime(&now);
    return DeltaTime{now.wYear,
                     static_cast<uint8_t>(now.wMonth),
                     static_cast<uint8_t>(now.wDay),
                     static_cast<uint8_t>(now.wHour),
                     static_cast<uint8_t>(now.wMinute),
                     static_cast<uint8_t>(now.wSecond),
                     now.wMilliseconds};
}

// A new record joins the week held in memory, and shows at once when the week is shown.
void holdRecordForWeek(const char* line)
{
    holdAppendedRecord(line, presentUtcMinute());
    if (chartView.shown == ChartKind::Week) repaint();
}

} // namespace

void installShellSeam()
{
    shellSeam = ShellSeam{setTitle, repaint, showMessage, markPortAvailable, beep, showAlarmSignal, endProgram,
                          appendEventLine};
    receiverFrontEnd = ReceiverFrontEnd{utcNow, appendRecord, appendNmeaRecord, sendUdpDatagram, sendSignalKDatagram,
                                        deltaTimeNow};
    recordFileLayer = RecordFileLayer{appendToRecordFile};
    recordWatch.recordAppended = holdRecordForWeek;
}

void resetSeamTables()
{
    resetShellSeam();
    resetReceiverFrontEnd();
    resetRecordFileLayer();
    resetRecordWatch();
}
