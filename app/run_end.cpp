#include <windows.h>

#include "acquisition/keep_awake.h"
#include "acquisition/receive_source.h"
#include "acquisition/signalk_output.h"
#include "acquisition/udp_output.h"
#include "acquisition/winsock_use.h"
#include "app/shell_state.h"
#include "app/startup.h"
#include "printing/print_jobs.h"
#include "records/event_log.h"
#include "records/record_files.h"

void finishRun()
{
    if (runFinished) return;
    runFinished = true;
    writeSettings();
    writeKeptRecordsAtEnd();
    KillTimer(mainWindow, timerIdentifier);
    closeReceiveSource();
    releaseKeepAwake();
    releasePrinterDc();
    // The phones aboard must not go on showing an alarm of a program that ended.
    clearSignalKAlarms();
    closeUdpOutput();
    endWinsock();
}

void endWindowsSession()
{
    if (runFinished) return;
    finishRun();
    logEvent(eventSessionEnded);
    // Windows ends the process once the message is answered; where it does
    // not (Wine may leave it running), the loop ends by itself.
    PostQuitMessage(0);
}
