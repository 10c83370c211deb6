#include "settings/settings_text.h"

#include <cstdio>
#include <cstring>
#include <string_view>
#include <vector>

namespace {

constexpr char settingsTemplate[] =
    "DATA=  TQ\nCOM=COMX\nSAVE=XXXX\nSHOW=XXXX\nT1=1\nT3=1\nVAR=1\nTC=1\nAD=0\nERR=0\n"
    "U=0\nSIG=0\nDKS=0\nLANG=DE\nDW=0\nAW=0\nLO=0\n";
static_assert(sizeof(settingsTemplate) - 1 == settingsTextLength, "template is 110 bytes");

// Where the value of a line's key begins, found in the template by the
// compiler: the positions follow any edit of it, and a key it lacks stops the build.
constexpr size_t valueAfter(std::string_view key)
{
    const std::string_view text(settingsTemplate);
    for (size_t line = 0; line < text.size(); line = text.find('\n', line) + 1)
        if (text.substr(line, key.size()) == key) return line + key.size();
    throw "a key of the settings is not in the template";
}

constexpr size_t posData = valueAfter("DATA="), posCom = valueAfter("COM=COM"), posSave = valueAfter("SAVE="),
                 posShow = valueAfter("SHOW="), posLang = valueAfter("LANG=");

constexpr std::string_view portKey = "PORT=COM", sendToKey = "SENDTO=";

// The lines after the 110 bytes that end in a line feed (a carriage return
// before it is allowed, as an editor may leave one), without their line ends;
// a line cut off by the end of the file is not taken.
std::vector<std::string_view> linesAfterTheFixedText(const uint8_t* bytes, size_t count)
{
    std::vector<std::string_view> lines;
    if (count <= settingsTextLength) return lines;
    const std::string_view rest(reinterpret_cast<const char*>(bytes) + settingsTextLength, count - settingsTextLength);
    for (size_t start = 0, feed; (feed = rest.find('\n', start)) != std::string_view::npos; start = feed + 1) {
        std::string_view line = rest.substr(start, feed - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(line);
    }
    return lines;
}

// A number of one to five digits without a leading zero, or 0.
unsigned numberOf(std::string_view digits)
{
    if (digits.empty() || digits.size() > 5 || digits[0] == '0') return 0;
    unsigned number = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') return 0;
        number = number * 10 + unsigned(c - '0');
    }
    return number;
}

// "a.b.c.d:p" with each part 0..255 and p 1..65535; false for anything else.
bool destinationOf(std::string_view text, UdpDestination& to)
{
    uint32_t address = 0;
    for (int part = 0; part < 4; ++part) {
        const size_t end = text.find(part < 3 ? '.' : ':');
        const std::string_view digits = text.substr(0, end);
        const unsigned value = digits == "0" ? 0 : numberOf(digits);
        if (end == std::string_view::npos || digits.size() > 3 || value > 255 || (value == 0 && digits != "0"))
            return false;
        address = address << 8 | value;
        text.remove_prefix(end + 1);
    }
    const unsigned port = numberOf(text);
    if (port == 0 || port > 65535) return false;
    to = {address, static_cast<uint16_t>(port)};
    return true;
}

// Each byte is taken as a signed character and need not be a digit.
int32_t fourDigits(const uint8_t* bytes, size_t pos)
{
    int32_t value = 0;
    for (size_t i = 0; i < 4; ++i)
        value = value * 10 + (static_cast<int8_t>(bytes[pos + i]) - '0');
    return value;
}

bool isLegalShow(int64_t value)
{
    return value == 300 || value == 600 || value == 900 || value == 1800;
}

void writeFourDigits(char* at, uint32_t value)
{
    at[0] = static_cast<char>('0' + value / 1000 % 10);
    at[1] = static_cast<char>('0' + value / 100 % 10);
    at[2] = static_cast<char>('0' + value / 10 % 10);
    at[3] = static_cast<char>('0' + value % 10);
}

// The one-digit flags: read as 1 unless the byte is '0', written as '0' or '1'.
struct FlagField {
    size_t pos;
    int32_t MonitorSettings::*wide;    // or, for the 8-bit ones,
    uint8_t MonitorSettings::*narrow;
};
constexpr FlagField flagFields[] = {
    {valueAfter("T1="), &MonitorSettings::T1, nullptr},   {valueAfter("T3="), &MonitorSettings::T3, nullptr},
    {valueAfter("VAR="), &MonitorSettings::VAR, nullptr}, {valueAfter("TC="), &MonitorSettings::TC, nullptr},
    {valueAfter("AD="), &MonitorSettings::AD, nullptr},   {valueAfter("ERR="), nullptr, &MonitorSettings::ERR},
    {valueAfter("U="), &MonitorSettings::U, nullptr},     {valueAfter("SIG="), nullptr, &MonitorSettings::SIG},
    {valueAfter("DKS="), nullptr, &MonitorSettings::DKS}, {valueAfter("DW="), &MonitorSettings::DW, nullptr},
    {valueAfter("AW="), &MonitorSettings::AW, nullptr},   {valueAfter("LO="), &MonitorSettings::LO, nullptr},
};

int32_t flagOf(const MonitorSettings& settings, const FlagField& field)
{
    return field.wide ? settings.*field.wide : settings.*field.narrow;
}

void setFlag(MonitorSettings& settings, const FlagField& field, int32_t value)
{
    if (field.wide) settings.*field.wide = value;
    else settings.*field.narrow = static_cast<uint8_t>(value);
}

} // namespace

void decodeSettingsText(const uint8_t* bytes, size_t count, MonitorSettings& settings)
{
    MonitorSettings defaults = settings;
    applyDefaultSettings(defaults);
    defaults.DKS = 0;
    defaults.DW = 0;
    defaults.AW = 0;
    auto has = [count](size_t lastPos) { return lastPos < count; };

    if (has(posShow + 3)) {
        int32_t show = fourDigits(bytes, posShow);
        settings.SHOW = isLegalShow(show) ? static_cast<uint32_t>(show) : 300;
    } else {
        settings.SHOW = defaults.SHOW;
    }

    // Recording is always on after a start; the value in the file does not matter.
    settings.SAVE = 300;

    if (has(posCom)) {
        int8_t digit = static_cast<int8_t>(bytes[posCom]);
        settings.COM = static_cast<uint16_t>(digit > '8' ? 8 : digit < '1' ? 1 : digit - '0');
    } else {
        settings.COM = defaults.COM;
    }
    settings.SEND = defaults.SEND;
    settings.SENDTO = defaults.SENDTO;
    for (const std::string_view& line : linesAfterTheFixedText(bytes, count)) {
        if (line.substr(0, portKey.size()) == portKey) {
            if (unsigned port = numberOf(line.substr(portKey.size())); port >= 9 && port <= highestPort)
                settings.COM = static_cast<uint16_t>(port);
        } else if (line == "SEND=1") {
            settings.SEND = 1;
        } else if (line.substr(0, sendToKey.size()) == sendToKey) {
            destinationOf(line.substr(sendToKey.size()), settings.SENDTO);
        }
    }

    for (const FlagField& field : flagFields)
        setFlag(settings, field, has(field.pos) ? (bytes[field.pos] == '0' ? 0 : 1) : flagOf(defaults, field));

    if (has(posData))
        settings.DATA = bytes[posData] == ' ' ? Barograph : Nmea;
    else
        settings.DATA = defaults.DATA;

    settings.LANG = German;
    if (has(posLang + 1)) {
        char a = static_cast<char>(bytes[posLang]), b = static_cast<char>(bytes[posLang + 1]);
        if (a == 'D' && b == 'E') settings.LANG = German;
        else if (a == 'E' && b == 'N') settings.LANG = English;
        else if (a == 'F' && b == 'R') settings.LANG = French;
    }
}

size_t encodeSettingsText(MonitorSettings& settings, char (&text)[settingsFileLimit])
{
    std::memcpy(text, settingsTemplate, settingsTextLength);
    size_t length = settingsTextLength;

    text[posCom] = static_cast<char>('0' + (settings.COM > 8 ? 9 : settings.COM));
    auto line = [&](const char* format, auto... values) {
        length += static_cast<size_t>(std::snprintf(text + length, settingsFileLimit - length, format, values...));
    };
    if (settings.COM > 8) line("PORT=COM%u\n", unsigned(settings.COM));
    if (settings.SEND != 0) line("SEND=1\n");
    MonitorSettings defaults = settings;
    applyDefaultSettings(defaults);
    const UdpDestination& to = settings.SENDTO;
    if (to.address != defaults.SENDTO.address || to.port != defaults.SENDTO.port)
        line("SENDTO=%u.%u.%u.%u:%u\n", to.address >> 24, to.address >> 16 & 255, to.address >> 8 & 255,
             to.address & 255, unsigned(to.port));

    if (settings.SAVE != 300) settings.SAVE = 300;
    writeFourDigits(text + posSave, settings.SAVE);

    if (settings.SHOW < 300) settings.SHOW = 300;
    if (settings.SHOW > 1800) settings.SHOW = 1800;
    if (!isLegalShow(settings.SHOW)) settings.SHOW = 300;
    writeFourDigits(text + posShow, settings.SHOW);

    for (const FlagField& field : flagFields) text[field.pos] = flagOf(settings, field) != 0 ? '1' : '0';

    if (settings.DATA == Nmea) std::memcpy(text + posData, "NMEA", 4);

    const char* lang = settings.LANG == English ? "EN" : settings.LANG == French ? "FR" : "DE";
    text[posLang] = lang[0];
    text[posLang + 1] = lang[1];
    return length;
}
