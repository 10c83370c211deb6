#include "settings/settings_text.h"

#include <cstdio>
#include <string_view>

#include "settings/settings_lines.h"

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

bool settingsTextIsIntact(const uint8_t* bytes, size_t count)
{
    bool inKey = true;  // from a line's start up to its '='
    for (size_t pos = 0; pos < settingsTextLength && pos < count; ++pos) {
        const char expected = settingsTemplate[pos];
        if ((inKey || expected == '\n') && bytes[pos] != static_cast<uint8_t>(expected)) return false;
        if (expected == '=') inKey = false;
        if (expected == '\n') inKey = true;
    }
    return true;
}

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
    for (const FlagField& field : flagFields)
        setFlag(settings, field, has(field.pos) ? (bytes[field.pos] == '0' ? 0 : 1) : flagOf(defaults, field));

    if (has(posData))
        settings.DATA = bytes[posData] == ' ' ? Barograph : Nmea;
    else
        settings.DATA = defaults.DATA;

    decodeSettingsLines(bytes, count, count > posCom && bytes[posCom] == '9', settings);

    settings.LANG = German;
    if (has(posLang + 1)) {
        char a = static_cast<char>(bytes[posLang]), b = static_cast<char>(bytes[posLang + 1]);
        if (a == 'D' && b == 'E') settings.LANG = German;
        else if (a == 'E' && b == 'N') settings.LANG = English;
        else if (a == 'F' && b == 'R') settings.LANG = French;
    }
}

std::string encodeSettingsText(MonitorSettings& settings)
{
    std::string text(settingsTemplate, settingsTextLength);
    text[posCom] = static_cast<char>('0' + (settings.COM > 8 ? 9 : settings.COM));
    // Recording is on at every start, so the file always says so; the switch
    // in memory stays as the user set it, as a menu choice is written at once.
    writeFourDigits(&text[posSave], 300);

    if (settings.SHOW < 300) settings.SHOW = 300;
    if (settings.SHOW > 1800) settings.SHOW = 1800;
    if (!isLegalShow(settings.SHOW)) settings.SHOW = 300;
    writeFourDigits(&text[posShow], settings.SHOW);

    for (const FlagField& field : flagFields) text[field.pos] = flagOf(settings, field) != 0 ? '1' : '0';

    if (settings.DATA == Nmea) text.replace(posData, 4, "NMEA");

    const char* lang = settings.LANG == English ? "EN" : settings.LANG == French ? "FR" : "DE";
    text[posLang] = lang[0];
    text[posLang + 1] = lang[1];
    appendSettingsLines(settings, text);
    return text;
}
