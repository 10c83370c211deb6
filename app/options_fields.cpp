#include "app/options_fields.h"

#include <cstdio>
#include <cstring>

#include "acquisition/alarm_signal.h"
#include "acquisition/low_pressure_alarm.h"
#include "acquisition/pressure_correction.h"
#include "acquisition/signalk_output.h"
#include "records/event_text.h"
#include "settings/shell_seam.h"

namespace {

// The ids are from firstOptionsField on, each once; the list's order is the dialog's.
constexpr bool idsEachOnce()
{
    for (size_t i = 0; i < optionsFieldCount; ++i) {
        if (optionsFields[i].id < firstOptionsField) return false;
        for (size_t k = 0; k < i; ++k)
            if (optionsFields[k].id == optionsFields[i].id) return false;
    }
    return true;
}
static_assert(idsEachOnce(), "every field has its own control id from 1661 on");

// The values of the table's rows the dialog edits, and which parts they have.
struct RowValues {
    SettingsLine row;
    int64_t (*get)(const MonitorSettings&, uint8_t part);
    void (*set)(MonitorSettings&, uint8_t part, int64_t value);
};

const RowValues rowValues[] = {
    {SettingsLine::Offset, [](const MonitorSettings& s, uint8_t) -> int64_t { return s.OFFSET; },
     [](MonitorSettings& s, uint8_t, int64_t v) { s.OFFSET = static_cast<int16_t>(v); }},
    {SettingsLine::Height, [](const MonitorSettings& s, uint8_t) -> int64_t { return s.HEIGHT; },
     [](MonitorSettings& s, uint8_t, int64_t v) { s.HEIGHT = static_cast<uint16_t>(v); }},
    {SettingsLine::Warn, [](const MonitorSettings& s, uint8_t part) -> int64_t { return s.WARN[part]; },
     [](MonitorSettings& s, uint8_t part, int64_t v) { s.WARN[part] = static_cast<uint8_t>(v); }},
    {SettingsLine::Low, [](const MonitorSettings& s, uint8_t) -> int64_t { return s.LOW; },
     [](MonitorSettings& s, uint8_t, int64_t v) { s.LOW = static_cast<uint16_t>(v); }},
    {SettingsLine::Send, [](const MonitorSettings& s, uint8_t) -> int64_t { return s.SEND; },
     [](MonitorSettings& s, uint8_t, int64_t v) { s.SEND = static_cast<uint8_t>(v); }},
    {SettingsLine::SendTo,
     [](const MonitorSettings& s, uint8_t part) -> int64_t { return part == 0 ? s.SENDTO.address : s.SENDTO.port; },
     [](MonitorSettings& s, uint8_t part, int64_t v) {
         if (part == 0) s.SENDTO.address = static_cast<uint32_t>(v);
         else s.SENDTO.port = static_cast<uint16_t>(v);
     }},
    {SettingsLine::SignalK, [](const MonitorSettings& s, uint8_t) -> int64_t { return s.SIGNALK; },
     [](MonitorSettings& s, uint8_t, int64_t v) { s.SIGNALK = static_cast<uint8_t>(v); }},
    {SettingsLine::SignalKTo,
     [](const MonitorSettings& s, uint8_t part) -> int64_t {
         return part == 0 ? s.SIGNALKTO.address : s.SIGNALKTO.port;
     },
     [](MonitorSettings& s, uint8_t part, int64_t v) {
         if (part == 0) s.SIGNALKTO.address = static_cast<uint32_t>(v);
         else s.SIGNALKTO.port = static_cast<uint16_t>(v);
     }},
    {SettingsLine::Source,
     [](const MonitorSettings& s, uint8_t part) -> int64_t {
         switch (part) {
         case sourceUdpPort: return s.SOURCE.udpPort;
         case sourceTcpAddress: return s.SOURCE.tcpAddress;
         case sourceTcpPort: return s.SOURCE.tcpPort;
         default: return static_cast<uint8_t>(s.SOURCE.kind) == part;  // a choice: made or not
         }
     },
     [](MonitorSettings& s, uint8_t part, int64_t v) {
         switch (part) {
         case sourceUdpPort: s.SOURCE.udpPort = static_cast<uint16_t>(v); break;
         case sourceTcpAddress: s.SOURCE.tcpAddress = static_cast<uint32_t>(v); break;
         case sourceTcpPort: s.SOURCE.tcpPort = static_cast<uint16_t>(v); break;
         default:
             if (v) s.SOURCE.kind = static_cast<SourceKind>(part);
         }
     }},
};

const RowValues& rowOf(const OptionsField& field)
{
    for (const RowValues& row : rowValues)
        if (row.row == field.row) return row;
    return rowValues[0];  // every field names one of the rows above
}

std::string tenths(int64_t value, bool sign, char point)
{
    char text[32];
    const int64_t magnitude = value < 0 ? -value : value;
    const char* prefix = value < 0 ? "-" : sign && value > 0 ? "+" : "";
    std::snprintf(text, sizeof text, "%s%lld%c%lld", prefix, static_cast<long long>(magnitude / 10), point,
                  static_cast<long long>(magnitude % 10));
    return text;
}

// Digits only, at most `most` of them; the count read.
size_t readDigits(const char*& at, int64_t& value, size_t most)
{
    size_t count = 0;
    value = 0;
    while (*at >= '0' && *at <= '9') {
        if (++count > most) return 0;
        value = value * 10 + (*at++ - '0');
    }
    return count;
}

bool inRange(const OptionsField& field, int64_t value, int64_t low)
{
    if (field.kind == FieldKind::Address) return true;  // any dotted address parsed is one
    if (field.zeroAllowed && value == 0) return true;
    return value >= low && value <= field.high;
}

} // namespace

const OptionsField& optionsFieldOf(unsigned id)
{
    for (const OptionsField& field : optionsFields)
        if (field.id == id) return field;
    return optionsFields[0];
}

bool besideChoice(const OptionsField& field)
{
    return field.row == SettingsLine::Source && (field.part == sourceUdpPort || field.part == sourceTcpAddress);
}

int choiceOf(const OptionsField& field)
{
    if (field.row != SettingsLine::Source || field.kind == FieldKind::Choice) return -1;
    return field.part == sourceUdpPort ? sourceUdp : sourceTcp;
}

int64_t fieldValue(const OptionsField& field, const MonitorSettings& settings)
{
    return rowOf(field).get(settings, field.part);
}

void setFieldValue(const OptionsField& field, MonitorSettings& settings, int64_t value)
{
    rowOf(field).set(settings, field.part, value);
}

std::string formatFieldValue(const OptionsField& field, int64_t value)
{
    switch (field.kind) {
    case FieldKind::Tenths: return tenths(value, field.low < 0, '.');
    case FieldKind::Address: {
        char text[20];
        const auto a = static_cast<uint32_t>(value);
        std::snprintf(text, sizeof text, "%u.%u.%u.%u", a >> 24, (a >> 16) & 255, (a >> 8) & 255, a & 255);
        return text;
    }
    case FieldKind::Switch:
    case FieldKind::Choice: return value != 0 ? "1" : "0";
    case FieldKind::Whole: break;
    }
    return std::to_string(value);
}

bool parseFieldText(const OptionsField& field, const char* text, int64_t& value)
{
    while (*text == ' ') ++text;
    std::string trimmed = text;
    while (!trimmed.empty() && trimmed.back() == ' ') trimmed.pop_back();
    const char* at = trimmed.c_str();
    int64_t part = 0;
    switch (field.kind) {
    case FieldKind::Switch:
    case FieldKind::Choice:
        if (trimmed != "0" && trimmed != "1") return false;
        value = trimmed == "1";
        return true;
    case FieldKind::Whole:
        if (!readDigits(at, value, 6)) return false;
        return *at == 0;
    case FieldKind::Address: {
        uint32_t address = 0;
        for (int i = 0; i < 4; ++i) {
            if (i > 0 && *at++ != '.') return false;
            if (!readDigits(at, part, 3) || part > 255) return false;
            address = address << 8 | static_cast<uint32_t>(part);
        }
        value = address;
        return *at == 0;
    }
    case FieldKind::Tenths: {
        // As the settings file reads them: a point or a comma, one decimal at most.
        int32_t tenths = 0;
        if (!readTenths(trimmed.data(), trimmed.size(), field.low < 0, tenths)) return false;
        value = tenths;
        return true;
    }
    }
    return false;
}

std::string fieldName(const OptionsField& field, UiLanguage language)
{
    std::string label = uiText(field.label, language), name;
    for (char c : label.substr(0, label.find(" (")))
        if (c != '&') name += c;
    return name;
}

std::string rangeMessage(const OptionsField& field, UiLanguage language, int64_t low)
{
    const std::string name = fieldName(field, language);
    char text[200];
    if (field.kind == FieldKind::Address) {
        std::snprintf(text, sizeof text, uiText(txtAddressFormat, language), name.c_str());
        return text;
    }
    // The unit is the first word inside the label's brackets.
    const std::string label = uiText(field.label, language);
    std::string unit;
    size_t open = label.find(" (");
    if (open != std::string::npos) unit = " " + label.substr(open + 2, label.find_first_of(",)", open) - open - 2);
    const char point = language == English ? '.' : ',';
    auto shown = [&](int64_t value) {
        return field.kind == FieldKind::Tenths ? tenths(value, field.low < 0, point) : std::to_string(value);
    };
    std::snprintf(text, sizeof text, uiText(field.zeroAllowed ? txtRangeOrZeroFormat : txtRangeFormat, language),
                  name.c_str(), shown(low).c_str(), shown(field.high).c_str(), unit.c_str());
    return text;
}

OptionsCheck checkOptions(const std::vector<std::string>& texts, const MonitorSettings& base, UiLanguage language)
{
    OptionsCheck check;
    check.chosen = base;
    // The choice made, from its radio button's text.
    int chosenSource = -1;
    for (size_t i = 0; i < optionsFieldCount && i < texts.size(); ++i)
        if (optionsFields[i].kind == FieldKind::Choice && texts[i] == "1") chosenSource = optionsFields[i].part;
    for (size_t i = 0; i < optionsFieldCount; ++i) {
        const OptionsField& field = optionsFields[i];
        if (choiceOf(field) >= 0 && choiceOf(field) != chosenSource) continue;
        int64_t low = field.low;
        if (field.aboveField) low = fieldValue(optionsFieldOf(field.aboveField), check.chosen) + 1;
        int64_t value = 0;
        const char* text = i < texts.size() ? texts[i].c_str() : "";
        if (!parseFieldText(field, text, value) || !inRange(field, value, low)) {
            check.failed = static_cast<int>(i);
            check.message = rangeMessage(field, language, low);
            check.chosen = base;
            return check;
        }
        setFieldValue(field, check.chosen, value);
    }
    return check;
}

void applyOptions(const MonitorSettings& chosen)
{
    MonitorSettings& now = monitorSettings;
    const PressureCorrection before{now.OFFSET, now.HEIGHT}, after{chosen.OFFSET, chosen.HEIGHT};
    if (chosen.LOW != now.LOW) {
        // The runs counted against the old limit; a standing alarm was raised by it.
        // The log tells of the change: the pressure did not rise.
        logEvent(eventLowLimitChanged);
        if (lowPressureAlarm.on) endAlarmCause(AlarmCause::LowPressure);
        resetLowPressureAlarm();
    }
    // A server no longer sent to is told first that nothing stands; one newly
    // sent to hears of every notification at the next tick.
    const bool signalKLeft = now.SIGNALK && (!chosen.SIGNALK || chosen.SIGNALKTO.address != now.SIGNALKTO.address ||
                                             chosen.SIGNALKTO.port != now.SIGNALKTO.port);
    if (signalKLeft) clearSignalKAlarms();
    for (const OptionsField& field : optionsFields)
        if (fieldValue(field, chosen) != fieldValue(field, now)) settingSetFromProgram(field.row);
    if (signalKLeft || !now.SIGNALK) resetSignalKOutput();
    now = chosen;
    if (before != after) {
        recorrectHistory(before, after);
        logEvent(eventCorrectionChanged);
    }
}
