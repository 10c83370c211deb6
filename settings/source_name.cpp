#include "settings/source_name.h"

#include <cstdio>
#include <cstring>

size_t formatSourceName(const MonitorSettings& settings, char (&name)[sourceNameSize])
{
    const ReceiveSource& source = settings.SOURCE;
    const uint32_t a = source.tcpAddress;
    switch (source.kind) {
    case SourceKind::Udp: std::snprintf(name, sizeof name, "UDP %u", unsigned(source.udpPort)); break;
    case SourceKind::Tcp:
        std::snprintf(name, sizeof name, "TCP %u.%u.%u.%u:%u", a >> 24, a >> 16 & 255, a >> 8 & 255, a & 255,
                      unsigned(source.tcpPort));
        break;
    case SourceKind::Serial: std::snprintf(name, sizeof name, "COM%u", unsigned(settings.COM)); break;
    }
    return std::strlen(name);
}
