#include "acquisition/winsock_use.h"

#include <winsock2.h>

namespace {

enum class Winsock { NotTried, Started, Unavailable };
Winsock winsock = Winsock::NotTried;

} // namespace

bool startWinsock()
{
    if (winsock == Winsock::NotTried) {
        WSADATA data;
        winsock = WSAStartup(MAKEWORD(2, 2), &data) == 0 ? Winsock::Started : Winsock::Unavailable;
    }
    return winsock == Winsock::Started;
}

void endWinsock()
{
    if (winsock == Winsock::Started) WSACleanup();
    winsock = Winsock::NotTried;
}
