#include "settings/settings_lines.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "settings/settings_text.h"
#include "settings/table_order.h"

namespace {

struct LineContext {
    bool comDigitIsNine;
};

using ValueText = char[40];

struct LineRow {
    SettingsLine id;
    std::string_view key;  // upper case, as written
    // Takes a value into the settings; false when it is none this setting can hold.
    bool (*read)(std::string_view value, const LineContext& context, MonitorSettings& settings);
    // The value to write, or false while the setting is at its default (no line then).
    bool (*write)(const MonitorSettings& settings, const MonitorSettings& defaults, ValueText& value);
    // The default, for a setting without a valid line.
    void (*reset)(MonitorSettings& settings, const MonitorSettings& defaults);
};

// A whole number of one to five digits, without a leading zero but for 0 itself.
bool wholeOf(std::string_view digits, uint32_t& number)
{
    if (digits.empty() || digits.size() > 5 || (digits[0] == '0' && digits.size() > 1)) return false;
    number = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') return false;
        number = number * 10 + uint32_t(c - '0');
    }
    return true;
}

bool tenthsOf(std::string_view text, bool signAllowed, int32_t& tenths)
{
    return readTenths(text.data(), text.size(), signAllowed, tenths);
}

// "a.b.c.d:p" with each part 0..255 and p 1..65535.
bool destinationOf(std::string_view text, UdpDestination& to)
{
    uint32_t address = 0, value = 0;
    for (int part = 0; part < 4; ++part) {
        const size_t end = text.find(part < 3 ? '.' : ':');
        if (end == std::string_view::npos || end > 3 || !wholeOf(text.substr(0, end), value) || value > 255)
            return false;
        address = address << 8 | value;
        text.remove_prefix(end + 1);
    }
    if (!wholeOf(text, value) || value == 0 || value > 65535) return false;
    to = {address, static_cast<uint16_t>(value)};
    return true;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char c = a[i];
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        if (c != b[i]) return false;
    }
    return true;
}

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    return text;
}

// A flag line: 1 on, 0 off.
template <uint8_t MonitorSettings::*flag>
bool readFlag(std::string_view value, const LineContext&, MonitorSettings& settings)
{
    if (value != "0" && value != "1") return false;
    settings.*flag = value == "1" ? 1 : 0;
    return true;
}

template <uint8_t MonitorSettings::*flag>
bool writeFlag(const MonitorSettings& settings, const MonitorSettings& defaults, ValueText& value)
{
    if ((settings.*flag != 0) == (defaults.*flag != 0)) return false;
    std::snprintf(value, sizeof value, "%d", settings.*flag != 0 ? 1 : 0);
    return true;
}

template <typename Field, Field MonitorSettings::*field>
void resetField(MonitorSettings& settings, const MonitorSettings& defaults)
{
    settings.*field = defaults.*field;
}

// A whole number in its range, or 0 (off) where `zeroAllowed`.
template <uint16_t MonitorSettings::*field, uint32_t lowest, uint32_t highest, bool zeroAllowed>
bool readWhole(std::string_view value, const LineContext&, MonitorSettings& settings)
{
    uint32_t number = 0;
    if (!wholeOf(value, number) || !((number >= lowest && number <= highest) || (zeroAllowed && number == 0)))
        return false;
    settings.*field = static_cast<uint16_t>(number);
    return true;
}

template <uint16_t MonitorSettings::*field>
bool writeWhole(const MonitorSettings& settings, const MonitorSettings& defaults, ValueText& value)
{
    if (settings.*field == defaults.*field) return false;
    std::snprintf(value, sizeof value, "%u", unsigned(settings.*field));
    return true;
}

bool readPort(std::string_view value, const LineContext& context, MonitorSettings& settings)
{
    uint32_t port = 0;
    if (!context.comDigitIsNine || value.size() < 3 || !equalsIgnoringCase(value.substr(0, 3), "COM") ||
        !wholeOf(value.substr(3), port) || port < 9 || port > highestPort)
        return false;
    settings.COM = static_cast<uint16_t>(port);
    return true;
}

bool writePort(const MonitorSettings& settings, const MonitorSettings&, ValueText& value)
{
    if (settings.COM <= 8) return false;
    std::snprintf(value, sizeof value, "COM%u", unsigned(settings.COM));
    return true;
}

template <UdpDestination MonitorSettings::*field>
bool readDestination(std::string_view value, const LineContext&, MonitorSettings& settings)
{
    return destinationOf(value, settings.*field);
}

template <UdpDestination MonitorSettings::*field>
bool writeDestination(const MonitorSettings& settings, const MonitorSettings& defaults, ValueText& value)
{
    const UdpDestination& to = settings.*field;
    if (to.address == (defaults.*field).address && to.port == (defaults.*field).port) return false;
    std::snprintf(value, sizeof value, "%u.%u.%u.%u:%u", to.address >> 24, to.address >> 16 & 255,
                  to.address >> 8 & 255, to.address & 255, unsigned(to.port));
    return true;
}

bool readOffset(std::string_view value, const LineContext&, MonitorSettings& settings)
{
    int32_t tenths = 0;
    if (!tenthsOf(value, true, tenths) || tenths < -200 || tenths > 200) return false;
    settings.OFFSET = static_cast<int16_t>(tenths);
    return true;
}

bool writeOffset(const MonitorSettings& settings, const MonitorSettings& defaults, ValueText& value)
{
    if (settings.OFFSET == defaults.OFFSET) return false;
    const int tenths = settings.OFFSET;
    std::snprintf(value, sizeof value, "%c%d.%d", tenths < 0 ? '-' : '+', (tenths < 0 ? -tenths : tenths) / 10,
                  (tenths < 0 ? -tenths : tenths) % 10);
    return true;
}

// "W,G,O": the 3-hour warning 1.0..9.9, the 3-hour gale alarm above it up to
// 15.0, the 1-hour gale alarm 1.0..9.9; decimals with a point, as the commas part them.
bool readWarn(std::string_view value, const LineContext&, MonitorSettings& settings)
{
    int32_t limits[3] = {};
    for (int i = 0; i < 3; ++i) {
        const size_t end = i < 2 ? value.find(',') : value.size();
        if (end == std::string_view::npos) return false;
        const std::string_view part = trimmed(value.substr(0, end));
        if (part.find(',') != std::string_view::npos || !tenthsOf(part, false, limits[i])) return false;
        value.remove_prefix(i < 2 ? end + 1 : end);
    }
    if (limits[0] < 10 || limits[0] > 99 || limits[1] <= limits[0] || limits[1] > 150 || limits[2] < 10 ||
        limits[2] > 99)
        return false;
    for (int i = 0; i < 3; ++i) settings.WARN[i] = static_cast<uint8_t>(limits[i]);
    return true;
}

bool writeWarn(const MonitorSettings& settings, const MonitorSettings& defaults, ValueText& value)
{
    if (std::memcmp(settings.WARN, defaults.WARN, sizeof settings.WARN) == 0) return false;
    std::snprintf(value, sizeof value, "%d.%d,%d.%d,%d.%d", settings.WARN[0] / 10, settings.WARN[0] % 10,
                  settings.WARN[1] / 10, settings.WARN[1] % 10, settings.WARN[2] / 10, settings.WARN[2] % 10);
    return true;
}

void resetWarn(MonitorSettings& settings, const MonitorSettings& defaults)
{
    std::memcpy(settings.WARN, defaults.WARN, sizeof settings.WARN);
}

// "UDP:p" or "TCP:a.b.c.d:p", the kind in any case; the serial port has no line.
bool readSource(std::string_view value, const LineContext&, MonitorSettings& settings)
{
    if (value.size() < 4 || value[3] != ':') return false;
    const std::string_view kind = value.substr(0, 3), rest = value.substr(4);
    ReceiveSource& source = settings.SOURCE;
    uint32_t port = 0;
    if (equalsIgnoringCase(kind, "UDP")) {
        if (!wholeOf(rest, port) || port == 0 || port > 65535) return false;
        source.kind = SourceKind::Udp;
        source.udpPort = static_cast<uint16_t>(port);
        return true;
    }
    UdpDestination server{};
    if (!equalsIgnoringCase(kind, "TCP") || !destinationOf(rest, server)) return false;
    source.kind = SourceKind::Tcp;
    source.tcpAddress = server.address;
    source.tcpPort = server.port;
    return true;
}

bool writeSource(const MonitorSettings& settings, const MonitorSettings&, ValueText& value)
{
    const ReceiveSource& source = settings.SOURCE;
    if (source.kind == SourceKind::Udp) std::snprintf(value, sizeof value, "UDP:%u", unsigned(source.udpPort));
    else if (source.kind == SourceKind::Tcp)
        std::snprintf(value, sizeof value, "TCP:%u.%u.%u.%u:%u", source.tcpAddress >> 24,
                      source.tcpAddress >> 16 & 255, source.tcpAddress >> 8 & 255, source.tcpAddress & 255,
                      unsigned(source.tcpPort));
    return source.kind != SourceKind::Serial;
}

void keepPort(MonitorSettings&, const MonitorSettings&) {}  // the COM digit has given the port already

// Every line after the 110 bytes, in the order the writer writes them.
constexpr LineRow lineRows[] = {
    {SettingsLine::Port, "PORT", readPort, writePort, keepPort},
    {SettingsLine::Send, "SEND", readFlag<&MonitorSettings::SEND>, writeFlag<&MonitorSettings::SEND>,
     resetField<uint8_t, &MonitorSettings::SEND>},
    {SettingsLine::SendTo, "SENDTO", readDestination<&MonitorSettings::SENDTO>,
     writeDestination<&MonitorSettings::SENDTO>, resetField<UdpDestination, &MonitorSettings::SENDTO>},
    {SettingsLine::SignalK, "SIGNALK", readFlag<&MonitorSettings::SIGNALK>, writeFlag<&MonitorSettings::SIGNALK>,
     resetField<uint8_t, &MonitorSettings::SIGNALK>},
    {SettingsLine::SignalKTo, "SIGNALKTO", readDestination<&MonitorSettings::SIGNALKTO>,
     writeDestination<&MonitorSettings::SIGNALKTO>, resetField<UdpDestination, &MonitorSettings::SIGNALKTO>},
    {SettingsLine::Offset, "OFFSET", readOffset, writeOffset, resetField<int16_t, &MonitorSettings::OFFSET>},
    {SettingsLine::Height, "HEIGHT", readWhole<&MonitorSettings::HEIGHT, 0, 1500, true>,
     writeWhole<&MonitorSettings::HEIGHT>, resetField<uint16_t, &MonitorSettings::HEIGHT>},
    {SettingsLine::Warn, "WARN", readWarn, writeWarn, resetWarn},
    {SettingsLine::Low, "LOW", readWhole<&MonitorSettings::LOW, 900, 1050, true>, writeWhole<&MonitorSettings::LOW>,
     resetField<uint16_t, &MonitorSettings::LOW>},
    {SettingsLine::Night, "NIGHT", readFlag<&MonitorSettings::NIGHT>, writeFlag<&MonitorSettings::NIGHT>,
     resetField<uint8_t, &MonitorSettings::NIGHT>},
    {SettingsLine::Source, "SOURCE", readSource, writeSource, resetField<ReceiveSource, &MonitorSettings::SOURCE>},
};
static_assert(firstRowOutOfPlace(lineRows) == sizeof lineRows / sizeof lineRows[0],
              "a row out of place: rows follow the order of SettingsLine");

const LineRow* rowOfKey(std::string_view key)
{
    for (const LineRow& row : lineRows)
        if (equalsIgnoringCase(key, row.key)) return &row;
    return nullptr;
}

// A line of the file the program did not take, and the row of its key (or none).
struct KeptLine {
    std::string text;
    const LineRow* row;
};
std::vector<KeptLine> keptLines;

} // namespace

bool readTenths(const char* text, size_t length, bool signAllowed, int32_t& tenths)
{
    std::string_view number(text, length);
    bool negative = false;
    if (signAllowed && !number.empty() && (number[0] == '+' || number[0] == '-')) {
        negative = number[0] == '-';
        number.remove_prefix(1);
    }
    const size_t point = number.find_first_of(".,");
    const std::string_view whole = number.substr(0, point);
    if (whole.empty() || whole.size() > 4) return false;
    int32_t value = 0;
    for (char c : whole) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + (c - '0');
    }
    value *= 10;
    if (point != std::string_view::npos) {
        const std::string_view decimal = number.substr(point + 1);
        if (decimal.size() != 1 || decimal[0] < '0' || decimal[0] > '9') return false;
        value += decimal[0] - '0';
    }
    tenths = negative ? -value : value;
    return true;
}

void decodeSettingsLines(const uint8_t* bytes, size_t count, bool comDigitIsNine, MonitorSettings& settings)
{
    MonitorSettings defaults = settings;
    applyDefaultSettings(defaults);
    for (const LineRow& row : lineRows) row.reset(settings, defaults);
    keptLines.clear();
    if (count <= settingsTextLength) return;

    const LineContext context{comDigitIsNine};
    const std::string_view rest(reinterpret_cast<const char*>(bytes) + settingsTextLength, count - settingsTextLength);
    for (size_t start = 0; start < rest.size();) {
        size_t feed = rest.find('\n', start);
        if (feed == std::string_view::npos) feed = rest.size();
        std::string_view line = rest.substr(start, feed - start);
        start = feed + 1;
        while (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (trimmed(line).empty()) continue;

        const size_t equals = line.find('=');
        const LineRow* row = equals == std::string_view::npos ? nullptr : rowOfKey(trimmed(line.substr(0, equals)));
        // A line not taken leaves the setting as the lines before it made it.
        MonitorSettings taken = settings;
        if (row && row->read(trimmed(line.substr(equals + 1)), context, taken))
            settings = taken;
        else
            keptLines.push_back({std::string(line), row});
    }
}

void appendSettingsLines(const MonitorSettings& settings, std::string& text)
{
    MonitorSettings defaults = settings;
    applyDefaultSettings(defaults);
    for (const LineRow& row : lineRows) {
        ValueText value = {};
        if (row.write(settings, defaults, value)) text.append(row.key).append("=").append(value).append("\n");
    }
    // Every one, however long the file: a line the program drops is a user's line lost.
    for (const KeptLine& line : keptLines) text.append(line.text).append("\n");
}

void forgetKeptSettingsLines() { keptLines.clear(); }

void settingSetFromProgram(SettingsLine line)
{
    std::vector<KeptLine> still;
    for (KeptLine& kept : keptLines)
        if (!kept.row || kept.row->id != line) still.push_back(std::move(kept));
    keptLines = std::move(still);
}
