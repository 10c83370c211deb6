// Opening, configuring and losing the serial port under Wine.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "acquisition/keep_awake.h"
#include "acquisition/line_dispatch.h"
#include "acquisition/measurement_state.h"
#include "acquisition/port_list.h"
#include "acquisition/receive_line.h"
#include "acquisition/receive_poll.h"
#include "acquisition/serial_port.h"
#include "app/commands.h"
#include "app/menu_bar.h"
#include "app/menu_layout.h"
#include "app/shell_state.h"
#include "app/startup.h"
#include "app/window_procedure.h"
#include "records/event_text.h"
#include "settings/shell_seam.h"
#include "settings/monitor_settings.h"
#include "win32_test_support.h"

namespace {

class SerialPortOpen : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetMonitorSettings();
        // The test prefix may or may not have this port; both paths must start afresh.
        monitorSettings.COM = 8;
        resetReceiveLine();
    }

    void TearDown() override
    {
        closeSerialPort();
        resetSerialPort();
        resetReceiveLine();
        resetMonitorSettings();
    }

    static void receive(const std::string& bytes)
    {
        receiveBytes(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    }
};

} // namespace

TEST_F(SerialPortOpen, ALineCutOffByTheOldPortIsNotContinued)
{
    receive("$PXDR,1013.2");
    ASSERT_EQ(receiveLine.length, 12u);
    openSerialPort(false);
    EXPECT_EQ(receiveLine.length, 0u);
    EXPECT_FALSE(receiveLine.discarding);
}

TEST_F(SerialPortOpen, AnOverlongLineOfTheOldPortDoesNotSwallowTheFirstLineOfTheNext)
{
    receive(std::string(receiveLineCapacity + 10, 'x'));
    ASSERT_TRUE(receiveLine.discarding);
    openSerialPort(false);
    EXPECT_FALSE(receiveLine.discarding);
    EXPECT_EQ(receiveLine.length, 0u);
}

// The port driven through stand-ins that behave as Windows documents: the
// open is exclusive, SetCommState refuses a block with equal XON and XOFF
// characters or without binary mode, and the driver's error bits, buffered
// bytes and failures are the test's to set.
namespace {

struct FakeDriver {
    bool present = true;
    HANDLE held = nullptr;
    int openAttempts = 0;
    std::string lastName;
    int deniedAsInUse = 0;
    bool stateReadable = true;
    DCB state = {};
    std::vector<DCB> configured;
    int refused = 0;
    std::vector<COMMTIMEOUTS> timeouts;
    bool queryFails = false;
    bool readFails = false;
    DWORD errorBits = 0;
    std::string buffered;
};

FakeDriver* driver = nullptr;
ImportPatch* patches[9] = {};

template <typename Function>
Function original(int index)
{
    return reinterpret_cast<Function>(patches[index]->original());
}

HANDLE WINAPI fakeCreateFileA(const char* name, DWORD access, DWORD share, SECURITY_ATTRIBUTES* security,
                              DWORD disposition, DWORD flags, HANDLE model)
{
    // Windows opens COM10 and above only as \\.\COMn, so the program uses that form for every port.
    if (std::strncmp(name, "\\\\.\\COM", 7) != 0)
        return original<decltype(&CreateFileA)>(0)(name, access, share, security, disposition, flags, model);
    ++driver->openAttempts;
    driver->lastName = name;
    if (!driver->present) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    if (driver->held) {
        ++driver->deniedAsInUse;
        SetLastError(ERROR_ACCESS_DENIED);
        return INVALID_HANDLE_VALUE;
    }
    driver->held = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    return driver->held;
}

BOOL WINAPI fakeCloseHandle(HANDLE handle)
{
    if (handle == driver->held) driver->held = nullptr;
    return original<BOOL(WINAPI*)(HANDLE)>(1)(handle);
}

BOOL WINAPI fakeGetCommState(HANDLE, DCB* block)
{
    if (!driver->stateReadable) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    *block = driver->state;
    return TRUE;
}

BOOL WINAPI fakeSetCommState(HANDLE, DCB* block)
{
    driver->configured.push_back(*block);
    if (block->XonChar == block->XoffChar || !block->fBinary) {
        ++driver->refused;
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return TRUE;
}

BOOL WINAPI fakeSetCommTimeouts(HANDLE, COMMTIMEOUTS* timeouts)
{
    driver->timeouts.push_back(*timeouts);
    return TRUE;
}

BOOL WINAPI fakeClearCommError(HANDLE handle, DWORD* errors, COMSTAT* status)
{
    if (handle != driver->held || driver->queryFails) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    *errors = driver->errorBits;
    driver->errorBits = 0;
    status->cbInQue = static_cast<DWORD>(driver->buffered.size());
    return TRUE;
}

BOOL WINAPI fakeReadFile(HANDLE handle, void* buffer, DWORD wanted, DWORD* got, OVERLAPPED* overlapped)
{
    if (handle != driver->held)
        return original<decltype(&ReadFile)>(6)(handle, buffer, wanted, got, overlapped);
    if (driver->readFails) {
        SetLastError(ERROR_OPERATION_ABORTED);
        return FALSE;
    }
    DWORD n = wanted < driver->buffered.size() ? wanted : static_cast<DWORD>(driver->buffered.size());
    std::memcpy(buffer, driver->buffered.data(), n);
    driver->buffered.erase(0, n);
    *got = n;
    return TRUE;
}

int WINAPI fakeMessageBoxA(HWND, const char*, const char*, UINT)
{
    return IDOK;
}

const char sampleSentence[] = "$PXDR,0998.60,52684,+01.2,+03.5,-0300,0995.40\r\n";

class SerialLineDriver : public ::testing::Test {
protected:
    void SetUp() override
    {
        driver = &driver_;
        const std::pair<const char*, void*> standIns[] = {
            {"CreateFileA", reinterpret_cast<void*>(fakeCreateFileA)},
            {"CloseHandle", reinterpret_cast<void*>(fakeCloseHandle)},
            {"GetCommState", reinterpret_cast<void*>(fakeGetCommState)},
            {"SetCommState", reinterpret_cast<void*>(fakeSetCommState)},
            {"SetCommTimeouts", reinterpret_cast<void*>(fakeSetCommTimeouts)},
            {"ClearCommError", reinterpret_cast<void*>(fakeClearCommError)},
            {"ReadFile", reinterpret_cast<void*>(fakeReadFile)},
            {"MessageBoxA", reinterpret_cast<void*>(fakeMessageBoxA)},
        };
        int n = 0;
        for (const auto& standIn : standIns) {
            patches[n] = new ImportPatch(standIn.first, standIn.second);
            ASSERT_TRUE(patches[n]->applied()) << standIn.first;
            ++n;
        }
        resetMonitorSettings();
        resetMeasurementState();
        resetMenuBar();
        installShellSeam();
        monitorSettings.COM = 2;
        monitorSettings.ERR = 1;
        monitorSettings.SAVE = 0;
        monitorSettings.LANG = German;
        monitorSettings.DATA = Barograph;
        resetReceiveLine();
    }

    void TearDown() override
    {
        closeSerialPort();
        resetSerialPort();
        for (ImportPatch*& patch : patches) {
            delete patch;
            patch = nullptr;
        }
        driver = nullptr;
        resetReceiveLine();
        resetSeamTables();
        resetMenuBar();
        resetMeasurementState();
        resetMonitorSettings();
    }

    void poll(int times)
    {
        for (int i = 0; i < times; ++i) pollReceiver();
    }

    int logged(int number) const
    {
        std::string log = folder_.exists("monitor.err") ? folder_.read("monitor.err") : "";
        std::string tag = "  event nr. " + std::to_string(number) + " ";
        int count = 0;
        for (size_t at = log.find(tag); at != std::string::npos; at = log.find(tag, at + 1)) ++count;
        return count;
    }

    ScratchFolder folder_;
    FakeDriver driver_;
};

// A driver left in a state no barograph line works with, as another program
// or a driver's own defaults can leave it.
DCB hostileDriverState()
{
    DCB state = {};
    state.DCBlength = sizeof state;
    state.BaudRate = 9600;
    state.ByteSize = 7;
    state.Parity = EVENPARITY;
    state.StopBits = TWOSTOPBITS;
    state.fBinary = 0;
    state.fParity = 1;
    state.fOutxCtsFlow = 1;
    state.fOutxDsrFlow = 1;
    state.fDtrControl = DTR_CONTROL_HANDSHAKE;
    state.fDsrSensitivity = 1;
    state.fOutX = 1;
    state.fInX = 1;
    state.fErrorChar = 1;
    state.fNull = 1;
    state.fRtsControl = RTS_CONTROL_HANDSHAKE;
    state.fAbortOnError = 1;
    state.XonLim = 2048;
    state.XoffLim = 512;
    state.XonChar = 0;
    state.XoffChar = 0;
    return state;
}

void expectBarographLine(const DCB& block)
{
    EXPECT_EQ(block.DCBlength, sizeof(DCB));
    EXPECT_EQ(block.BaudRate, 4800u);
    EXPECT_EQ(block.ByteSize, 8);
    EXPECT_EQ(block.Parity, NOPARITY);
    EXPECT_EQ(block.StopBits, ONESTOPBIT);
    EXPECT_EQ(block.fBinary, 1u);
    EXPECT_EQ(block.fParity, 0u);
    EXPECT_EQ(block.fOutxCtsFlow, 0u);
    EXPECT_EQ(block.fOutxDsrFlow, 0u);
    EXPECT_EQ(block.fDtrControl, static_cast<DWORD>(DTR_CONTROL_DISABLE));
    EXPECT_EQ(block.fDsrSensitivity, 0u);
    EXPECT_EQ(block.fOutX, 0u);
    EXPECT_EQ(block.fInX, 0u);
    EXPECT_EQ(block.fErrorChar, 0u);
    EXPECT_EQ(block.fNull, 0u);
    EXPECT_EQ(block.fRtsControl, static_cast<DWORD>(RTS_CONTROL_ENABLE));
    EXPECT_EQ(block.fAbortOnError, 0u);
    EXPECT_EQ(block.XonChar, 0x11);
    EXPECT_EQ(block.XoffChar, 0x13);
}

} // namespace

TEST_F(SerialLineDriver, TheLineIsSetUpInFullOverWhateverTheDriverHeld)
{
    driver_.state = hostileDriverState();
    openSerialPort(false);
    ASSERT_TRUE(portIsOpen());
    ASSERT_EQ(driver_.configured.size(), 1u);
    expectBarographLine(driver_.configured[0]);
    // Built from the driver's block: what the line does not depend on is kept.
    EXPECT_EQ(driver_.configured[0].XonLim, 2048);
    EXPECT_EQ(driver_.configured[0].XoffLim, 512);
    EXPECT_EQ(driver_.refused, 0);
    ASSERT_EQ(driver_.timeouts.size(), 1u);
    EXPECT_EQ(driver_.timeouts[0].ReadIntervalTimeout, MAXDWORD);
    EXPECT_EQ(driver_.timeouts[0].ReadTotalTimeoutMultiplier, 0u);
    EXPECT_EQ(driver_.timeouts[0].ReadTotalTimeoutConstant, 0u);
    EXPECT_EQ(driver_.timeouts[0].WriteTotalTimeoutMultiplier, 0u);
    EXPECT_EQ(driver_.timeouts[0].WriteTotalTimeoutConstant, 5000u);
    EXPECT_FALSE(folder_.exists("monitor.err"));

    // A driver whose state cannot be read gets the same line from a zeroed block.
    closeSerialPort();
    driver_.stateReadable = false;
    driver_.configured.clear();
    openSerialPort(false);
    ASSERT_EQ(driver_.configured.size(), 1u);
    expectBarographLine(driver_.configured[0]);
    EXPECT_EQ(driver_.configured[0].XonLim, 0);
    EXPECT_EQ(driver_.refused, 0);
    EXPECT_FALSE(folder_.exists("monitor.err"));
}

TEST_F(SerialLineDriver, AnAdapterPulledAndPluggedBackIsLoggedOnceEachWayAndReadAgain)
{
    openSerialPort(false);
    ASSERT_TRUE(portIsOpen());
    // Half a sentence, then the adapter goes.
    driver_.buffered = std::string(sampleSentence).substr(0, 20);
    poll(1);
    ASSERT_EQ(receiveLine.length, 20u);
    driver_.queryFails = true;
    driver_.present = false;
    poll(1);
    EXPECT_FALSE(portIsOpen());
    EXPECT_EQ(driver_.held, nullptr) << "the dead handle is closed";
    int attemptsBefore = driver_.openAttempts;
    poll(100);  // twenty seconds away
    EXPECT_EQ(logged(eventPortLost), 1) << folder_.read("monitor.err");
    int attempts = driver_.openAttempts - attemptsBefore;
    EXPECT_GE(attempts, 9);
    EXPECT_LE(attempts, 11);

    // Back: the port opens within two seconds, once, and reception resumes on
    // a fresh line: the rest of the sentence cut off before is not joined to it.
    driver_.present = true;
    driver_.queryFails = false;
    poll(portRetryPolls);
    ASSERT_TRUE(portIsOpen());
    EXPECT_EQ(logged(eventPortReturned), 1);
    EXPECT_EQ(logged(eventPortLost), 1);
    driver_.buffered = std::string(sampleSentence).substr(20) + sampleSentence;
    poll(1);
    EXPECT_EQ(acquisitionCounters.sentenceCounter, 2u);
    EXPECT_EQ(currentReading.parseResult, 0);
    EXPECT_EQ(currentReading.pressure, 99860u);
    EXPECT_EQ(variationCycle.acceptedSentences % sentencesPerCycle, 1u);

    // A second outage is a new one, and a read that fails counts as a loss too.
    driver_.readFails = true;
    driver_.buffered = sampleSentence;
    poll(1);
    EXPECT_FALSE(portIsOpen());
    driver_.readFails = false;
    poll(portRetryPolls);
    EXPECT_TRUE(portIsOpen());
    EXPECT_EQ(logged(eventPortLost), 2);
    EXPECT_EQ(logged(eventPortReturned), 2);
    EXPECT_EQ(driver_.deniedAsInUse, 0);
}

TEST_F(SerialLineDriver, APortMissingAtStartIsToldOnceThenOpensWhenItAppears)
{
    driver_.present = false;
    menuBar.portAvailable[1] = false;  // the probe did not find it
    openConfiguredPort();
    EXPECT_FALSE(portIsOpen());
    poll(60);
    EXPECT_EQ(logged(eventPortInUse), 1);
    EXPECT_EQ(logged(portFailedEvent(2)), 1);
    EXPECT_EQ(logged(eventPortLost), 0);
    driver_.present = true;
    poll(portRetryPolls);
    ASSERT_TRUE(portIsOpen());
    EXPECT_TRUE(menuBar.portAvailable[1]) << "its menu item is enabled";
    EXPECT_EQ(logged(eventPortReturned), 1);
    EXPECT_EQ(logged(eventPortInUse), 1);

    // The user's choice of another port ends the retrying of this one.
    closeSerialPort();
    driver_.present = false;
    monitorSettings.COM = 3;
    endPortOutage();
    openConfiguredPort();
    driver_.present = true;
    poll(portRetryPolls);
    EXPECT_TRUE(portIsOpen());
    EXPECT_EQ(driver_.lastName, "\\\\.\\COM3");
    EXPECT_EQ(logged(portFailedEvent(3)), 1);
}

TEST_F(SerialLineDriver, ALineHitByALineErrorIsNeverTakenAsAReading)
{
    openSerialPort(false);
    const std::string sentence = sampleSentence;
    const std::string other = "$PXDR,1001.00,52690,+00.5,-01.0,-0060,1000.80\r\n";
    for (DWORD bits : {static_cast<DWORD>(CE_FRAME), static_cast<DWORD>(CE_OVERRUN),
                       static_cast<DWORD>(CE_RXOVER)}) {
        acquisitionCounters.sentenceCounter = 0;
        currentReading.pressure = 0;
        driver_.buffered = sentence.substr(0, 16);
        poll(1);
        // The error is reported with the rest of the sentence still buffered:
        // the tick reads nothing, and the damaged line is dropped up to its end.
        driver_.errorBits = bits;
        driver_.buffered = sentence.substr(16) + other;
        EXPECT_EQ(pollReceiver(), 1);
        EXPECT_EQ(driver_.buffered.size(), sentence.size() - 16 + other.size());
        poll(1);
        EXPECT_EQ(acquisitionCounters.sentenceCounter, 1u) << bits;
        EXPECT_EQ(currentReading.pressure, 100100u) << bits;
    }
    // An I/O error alone loses no bytes: the line goes on.
    acquisitionCounters.sentenceCounter = 0;
    driver_.buffered = sentence.substr(0, 16);
    poll(1);
    driver_.errorBits = CE_IOE;
    driver_.buffered = sentence.substr(16);
    poll(2);
    EXPECT_EQ(acquisitionCounters.sentenceCounter, 1u);
    EXPECT_EQ(currentReading.pressure, 99860u);
}

TEST_F(SerialLineDriver, ReopeningWhileAHandleIsHeldLeavesNoneBehind)
{
    openSerialPort(false);
    HANDLE first = driver_.held;
    ASSERT_NE(first, nullptr);
    // A port chosen while a print job waits on its box, then the job's reopen.
    openConfiguredPort();
    openSerialPort(false);
    EXPECT_TRUE(portIsOpen());
    EXPECT_EQ(driver_.deniedAsInUse, 0);
    EXPECT_FALSE(folder_.exists("monitor.err"));
}

namespace {

std::vector<EXECUTION_STATE> executionStates;

// Windows takes only its documented flags; without ES_CONTINUOUS a call
// resets the idle timer once and holds nothing.
EXECUTION_STATE WINAPI recordingSetThreadExecutionState(EXECUTION_STATE flags)
{
    const EXECUTION_STATE known = ES_CONTINUOUS | ES_SYSTEM_REQUIRED | ES_DISPLAY_REQUIRED | ES_AWAYMODE_REQUIRED;
    if ((flags & ~known) || !(flags & ES_CONTINUOUS)) return 0;
    executionStates.push_back(flags);
    return ES_CONTINUOUS;
}

} // namespace

TEST_F(SerialLineDriver, ThePcIsKeptAwakeWhileRecordingFromAnOpenPortAndWakingReopensThePort)
{
    ImportPatch patch("SetThreadExecutionState", reinterpret_cast<void*>(recordingSetThreadExecutionState));
    ASSERT_TRUE(patch.applied());
    executionStates.clear();
    resetKeepAwake();
    const EXECUTION_STATE awake = ES_CONTINUOUS | ES_SYSTEM_REQUIRED, letGo = ES_CONTINUOUS;

    // Not recording: an open port holds nothing.
    openSerialPort(false);
    ASSERT_TRUE(portIsOpen());
    EXPECT_TRUE(executionStates.empty());
    runCommand(cmdSaveOn);
    runCommand(cmdSaveOff);
    runCommand(cmdSaveOn);
    EXPECT_EQ(executionStates, (std::vector<EXECUTION_STATE>{awake, letGo, awake}));

    // A lost port lets go; its return holds again.
    driver_.queryFails = true;
    driver_.present = false;
    poll(1);
    ASSERT_FALSE(portIsOpen());
    EXPECT_EQ(executionStates.back(), letGo);
    driver_.present = true;
    driver_.queryFails = false;
    poll(portRetryPolls);
    ASSERT_TRUE(portIsOpen());
    EXPECT_EQ(executionStates.size(), 5u);
    EXPECT_EQ(executionStates.back(), awake);

    // Waking: the port is closed and opened again at once, on a fresh line;
    // no loss is logged, its return is.
    driver_.buffered = std::string(sampleSentence).substr(0, 20);
    poll(1);
    ASSERT_EQ(receiveLine.length, 20u);
    const int attempts = driver_.openAttempts;
    const int returns = logged(eventPortReturned);
    EXPECT_EQ(mainWindowProcedure(nullptr, WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0), TRUE);
    EXPECT_TRUE(portIsOpen());
    EXPECT_EQ(driver_.openAttempts, attempts + 1);
    EXPECT_EQ(receiveLine.length, 0u);
    EXPECT_EQ(logged(eventPortLost), 1) << "only the pulled adapter above";
    EXPECT_EQ(logged(eventPortReturned), returns + 1);
    // Woken by the user, Windows announces the same wake again: one wake, one reopen.
    driver_.buffered = std::string(sampleSentence).substr(0, 20);
    poll(1);
    mainWindowProcedure(nullptr, WM_POWERBROADCAST, PBT_APMRESUMESUSPEND, 0);
    EXPECT_EQ(driver_.openAttempts, attempts + 1);
    EXPECT_EQ(logged(eventPortReturned), returns + 1);
    EXPECT_EQ(receiveLine.length, 20u) << "the line being received is kept";
    // The next sleep, on a system that announces a wake only as resume-suspend:
    // a port that does not come back at once is retried as a lost one.
    mainWindowProcedure(nullptr, WM_POWERBROADCAST, PBT_APMSUSPEND, 0);
    driver_.present = false;
    mainWindowProcedure(nullptr, WM_POWERBROADCAST, PBT_APMRESUMESUSPEND, 0);
    EXPECT_FALSE(portIsOpen());
    driver_.present = true;
    poll(portRetryPolls);
    EXPECT_TRUE(portIsOpen());
    EXPECT_EQ(logged(eventPortLost), 1);
    // Going to sleep changes nothing.
    const size_t calls = executionStates.size();
    mainWindowProcedure(nullptr, WM_POWERBROADCAST, PBT_APMSUSPEND, 0);
    EXPECT_TRUE(portIsOpen());
    EXPECT_EQ(executionStates.size(), calls);

    // The end of the run lets go.
    finishRun();
    EXPECT_EQ(executionStates.back(), letGo);
    EXPECT_FALSE(keepAwake.held);
    runFinished = false;
    resetKeepAwake();
}

// The system's list of serial devices, through stand-ins that keep the
// registry's rules: the sizes passed to RegEnumValueA are in and out, a value
// that does not fit gives ERROR_MORE_DATA, and string data need not end in a zero.
namespace {

struct ListedValue {
    const char* name;
    DWORD type;
    std::string data;
};
std::vector<ListedValue> listed;
HKEY const fakeKey = reinterpret_cast<HKEY>(0x5E71A1);
int keysOpen = 0;

LONG WINAPI fakeRegOpenKeyExA(HKEY root, const char* path, DWORD, REGSAM access, HKEY* key)
{
    if (root != HKEY_LOCAL_MACHINE || std::strcmp(path, "HARDWARE\\DEVICEMAP\\SERIALCOMM") != 0 ||
        !(access & KEY_QUERY_VALUE))
        return ERROR_ACCESS_DENIED;
    ++keysOpen;
    *key = fakeKey;
    return ERROR_SUCCESS;
}

LONG WINAPI fakeRegEnumValueA(HKEY key, DWORD index, char* name, DWORD* nameLength, DWORD*, DWORD* type,
                              BYTE* data, DWORD* dataSize)
{
    if (key != fakeKey) return ERROR_INVALID_HANDLE;
    if (index >= listed.size()) return ERROR_NO_MORE_ITEMS;
    const ListedValue& value = listed[index];
    if (*nameLength <= std::strlen(value.name) || *dataSize < value.data.size()) return ERROR_MORE_DATA;
    std::strcpy(name, value.name);
    *nameLength = DWORD(std::strlen(value.name));
    *type = value.type;
    std::memcpy(data, value.data.data(), value.data.size());
    *dataSize = DWORD(value.data.size());
    return ERROR_SUCCESS;
}

LONG WINAPI fakeRegCloseKey(HKEY key)
{
    if (key == fakeKey) --keysOpen;
    return ERROR_SUCCESS;
}

} // namespace

TEST(SystemPortList, TakesEveryComNameOfTheListAndNothingElse)
{
    ImportPatch open("RegOpenKeyExA", reinterpret_cast<void*>(fakeRegOpenKeyExA));
    ImportPatch enumerate("RegEnumValueA", reinterpret_cast<void*>(fakeRegEnumValueA));
    ImportPatch close("RegCloseKey", reinterpret_cast<void*>(fakeRegCloseKey));
    ASSERT_TRUE(open.applied() && enumerate.applied() && close.applied());
    listed = {{"\\Device\\Serial0", REG_SZ, std::string("COM1", 5)},
              {"\\Device\\BthModem0", REG_SZ, std::string("COM12", 6)},
              {"\\Device\\VCP0", REG_SZ, "com29"},  // without its zero
              {"\\Device\\Other", REG_DWORD, std::string("COM3", 5)},
              {"\\Device\\Odd", REG_SZ, "COM0"},
              {"\\Device\\Far", REG_SZ, "COM257"},
              {"\\Device\\Named", REG_SZ, "COMX"},
              {"\\Device\\Usb0", REG_SZ, std::string("COM256", 7)}};
    const PortSet ports = listedPorts();
    EXPECT_EQ(ports.count(), 4u);
    for (unsigned n : {1u, 12u, 29u, 256u}) EXPECT_TRUE(ports.test(n)) << n;
    EXPECT_EQ(keysOpen, 0) << "the key is closed again";
    listed.clear();
    EXPECT_TRUE(listedPorts().none());
}

namespace {

std::vector<std::string> portOpens;  // every port the program tried to open, as "COMn"
std::vector<unsigned> openable;  // ports an open finds
ImportPatch* createPatch = nullptr;

HANDLE WINAPI recordingCreateFileA(const char* name, DWORD access, DWORD share, SECURITY_ATTRIBUTES* security,
                                   DWORD disposition, DWORD flags, HANDLE model)
{
    if (std::strncmp(name, "\\\\.\\COM", 7) != 0)
        return reinterpret_cast<decltype(&CreateFileA)>(createPatch->original())(name, access, share, security,
                                                                                 disposition, flags, model);
    portOpens.push_back(name + 4);
    for (unsigned port : openable)
        if (portOpens.back() == "COM" + std::to_string(port)) return CreateEventA(nullptr, FALSE, FALSE, nullptr);
    SetLastError(ERROR_FILE_NOT_FOUND);
    return INVALID_HANDLE_VALUE;
}

// The Setup menu's port items as "COMn" with 'x' for checked and '-' for greyed.
std::vector<std::string> portItems()
{
    std::vector<std::string> items;
    HMENU setup = GetSubMenu(menuBar.handle, 3);
    for (int k = 0; k < GetMenuItemCount(setup); ++k) {
        const unsigned port = portOfCommand(GetMenuItemID(setup, k));
        if (!port) continue;
        const UINT state = GetMenuState(setup, k, MF_BYPOSITION);
        items.push_back("COM" + std::to_string(port) + (state & MF_CHECKED ? "x" : "") + (state & MF_GRAYED ? "-" : ""));
    }
    return items;
}

} // namespace

// Ports come and go while the program runs; the Setup menu shows what the
// system lists at each opening, and never opens a listed port to find it.
TEST(SystemPortList, TheSetupMenuFollowsTheListWithoutOpeningAListedPort)
{
    ImportPatch open("RegOpenKeyExA", reinterpret_cast<void*>(fakeRegOpenKeyExA));
    ImportPatch enumerate("RegEnumValueA", reinterpret_cast<void*>(fakeRegEnumValueA));
    ImportPatch close("RegCloseKey", reinterpret_cast<void*>(fakeRegCloseKey));
    ImportPatch create("CreateFileA", reinterpret_cast<void*>(recordingCreateFileA));
    ASSERT_TRUE(open.applied() && enumerate.applied() && close.applied() && create.applied());
    createPatch = &create;
    resetMonitorSettings();
    monitorSettings.COM = 12;  // configured, not there at start
    listed = {{"\\Device\\Serial0", REG_SZ, "COM1"}, {"\\Device\\Usb0", REG_SZ, "COM17"}};
    openable = {1, 2};  // COM2 linked by hand: found only by opening
    portOpens.clear();
    ASSERT_TRUE(openRealMainWindow());
    probePorts();  // at start: COM1..COM8 each opened once, as always
    EXPECT_EQ(portOpens.size(), 8u);
    refreshMenuMarks();
    EXPECT_EQ(portItems(), (std::vector<std::string>{"COM1", "COM2", "COM3-", "COM4-", "COM5-", "COM6-", "COM7-",
                                                     "COM8-", "COM12x-", "COM17"}));
    auto openSetup = [] {
        portOpens.clear();
        SendMessageA(mainWindow, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(GetSubMenu(menuBar.handle, 3)), 3);
        for (const std::string& name : portOpens)
            for (const ListedValue& value : listed)
                EXPECT_NE(name, value.data.c_str()) << "a listed port was opened";
    };
    // COM12 and a Bluetooth COM5 appear, COM17 goes.
    listed = {{"\\Device\\Serial0", REG_SZ, "COM1"}, {"\\Device\\Bth0", REG_SZ, "COM5"},
              {"\\Device\\Usb1", REG_SZ, "COM12"}};
    openSetup();
    EXPECT_EQ(portOpens.size(), 6u) << "COM2..COM4 and COM6..COM8: not the listed COM1 and COM5";
    EXPECT_EQ(portItems(), (std::vector<std::string>{"COM1", "COM2", "COM3-", "COM4-", "COM5", "COM6-", "COM7-",
                                                     "COM8-", "COM12x"}));
    // Once COM1 is the port, COM12 has its item from the list alone: gone from it, it loses it.
    monitorSettings.COM = 1;
    refreshMenuMarks();
    listed.pop_back();
    openSetup();
    EXPECT_EQ(portItems(), (std::vector<std::string>{"COM1x", "COM2", "COM3-", "COM4-", "COM5", "COM6-", "COM7-",
                                                     "COM8-"}));
    closeRealMainWindow();
    resetMonitorSettings();
    listed.clear();
    createPatch = nullptr;
}
