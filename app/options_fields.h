#pragma once
// The Options dialog described once, without the window: each field's
// control id, texts, range and the part of the settings row it edits. The
// dialog is laid out from this list and its OK is checked by it.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "settings/monitor_settings.h"
#include "settings/settings_lines.h"
#include "settings/ui_text.h"

enum class FieldKind : uint8_t {
    Tenths,   // a number with one decimal, kept in tenths; a point or a comma is taken
    Whole,    // a whole number
    Switch,   // a check box
    Address,  // an IPv4 address a.b.c.d
    Choice,   // a radio button: one of a row's alternatives, its part the one it stands for
};

struct OptionsField {
    unsigned id;      // the control's id
    TextId group;     // the group box this field opens, textCount inside the one before
    TextId label;
    FieldKind kind;
    int32_t low, high;    // in the field's units (tenths for Tenths)
    bool zeroAllowed;     // 0 (off) besides low..high
    unsigned aboveField;  // a field whose value this one must exceed, else 0
    SettingsLine row;     // the row of the settings table it edits
    uint8_t part;         // which value of that row: WARN's three numbers, SENDTO's address (0) and port (1),
                          // SOURCE's kinds (sourceSerial.. sourceTcp) and then its port and address fields
};

// The parts of the SOURCE row: the three choices, then the fields of UDP and TCP.
enum SourcePart : uint8_t { sourceSerial, sourceUdp, sourceTcp, sourceUdpPort, sourceTcpAddress, sourceTcpPort };

constexpr unsigned firstOptionsField = 1661;

constexpr TextId sameGroup = textCount;

// The controls, in Tab order.
inline constexpr OptionsField optionsFields[] = {
    {1673, txtGroupReceiving, txtFieldSourceSerial, FieldKind::Choice, 0, 1, false, 0, SettingsLine::Source,
     sourceSerial},
    {1674, sameGroup, txtFieldSourceUdp, FieldKind::Choice, 0, 1, false, 0, SettingsLine::Source, sourceUdp},
    {1675, sameGroup, txtFieldSourceUdp, FieldKind::Whole, 1, 65535, false, 0, SettingsLine::Source, sourceUdpPort},
    {1676, sameGroup, txtFieldSourceTcp, FieldKind::Choice, 0, 1, false, 0, SettingsLine::Source, sourceTcp},
    {1677, sameGroup, txtFieldSourceTcp, FieldKind::Address, 0, 0, false, 0, SettingsLine::Source, sourceTcpAddress},
    {1678, sameGroup, txtFieldSourceTcpPort, FieldKind::Whole, 1, 65535, false, 0, SettingsLine::Source,
     sourceTcpPort},
    {1661, txtGroupPressure, txtFieldCorrection, FieldKind::Tenths, -200, 200, false, 0, SettingsLine::Offset, 0},
    {1662, sameGroup, txtFieldHeight, FieldKind::Whole, 0, 1500, false, 0, SettingsLine::Height, 0},
    {1663, txtGroupStormWarning, txtFieldWarning3h, FieldKind::Tenths, 10, 99, false, 0, SettingsLine::Warn, 0},
    {1664, sameGroup, txtFieldGale3h, FieldKind::Tenths, 11, 150, false, 1663, SettingsLine::Warn, 1},
    {1665, sameGroup, txtFieldGale1h, FieldKind::Tenths, 10, 99, false, 0, SettingsLine::Warn, 2},
    {1666, sameGroup, txtFieldLowLimit, FieldKind::Whole, 900, 1050, true, 0, SettingsLine::Low, 0},
    {1667, txtGroupSending, txtFieldSend, FieldKind::Switch, 0, 1, false, 0, SettingsLine::Send, 0},
    {1668, sameGroup, txtFieldAddress, FieldKind::Address, 0, 0, false, 0, SettingsLine::SendTo, 0},
    {1669, sameGroup, txtFieldPort, FieldKind::Whole, 1, 65535, false, 0, SettingsLine::SendTo, 1},
    {1670, txtGroupSignalK, txtFieldSignalK, FieldKind::Switch, 0, 1, false, 0, SettingsLine::SignalK, 0},
    {1671, sameGroup, txtFieldSignalKAddress, FieldKind::Address, 0, 0, false, 0, SettingsLine::SignalKTo, 0},
    {1672, sameGroup, txtFieldSignalKPort, FieldKind::Whole, 1, 65535, false, 0, SettingsLine::SignalKTo, 1},
};
constexpr size_t optionsFieldCount = sizeof optionsFields / sizeof optionsFields[0];

// The field of a control id; the first field for an id of none.
const OptionsField& optionsFieldOf(unsigned id);

// A field that stands on the row of the choice before it, without a label of
// its own (the choice's text names it): a choice's port or address.
bool besideChoice(const OptionsField& field);

// The choice a field belongs to (its radio button's part), or -1 for a field
// of no choice. A field of a choice not made is disabled and not checked.
int choiceOf(const OptionsField& field);

// The field's value in `settings`, and into it.
int64_t fieldValue(const OptionsField& field, const MonitorSettings& settings);
void setFieldValue(const OptionsField& field, MonitorSettings& settings, int64_t value);

// The text of a value as the field shows it: tenths with a point and one
// decimal (signed where the range is), whole numbers, a dotted address;
// "1"/"0" for a switch.
std::string formatFieldValue(const OptionsField& field, int64_t value);

// The value a user's text stands for; false when it stands for none.
bool parseFieldText(const OptionsField& field, const char* text, int64_t& value);

// The label as a box names the field: without its mnemonic and its unit.
std::string fieldName(const OptionsField& field, UiLanguage language);

// "Height above sea level: 0 to 1500 m", with the lower bound `low`.
std::string rangeMessage(const OptionsField& field, UiLanguage language, int64_t low);

struct OptionsCheck {
    int failed = -1;      // the index of the first field out of range, -1 when all are in
    std::string message;  // its box's text
    MonitorSettings chosen;  // `base` with every field's value, when none failed
};

// Checks the fields' texts (a switch's or a choice's text is "1" or "0") in
// order and builds the settings they choose; a field of a choice not made
// keeps its value.
OptionsCheck checkOptions(const std::vector<std::string>& texts, const MonitorSettings& base, UiLanguage language);

// Makes `chosen` the settings in force: a changed correction converts the
// history (event 80), a changed low limit starts that alarm afresh (event 83), and each
// row the dialog changed counts as set from the program (a hand-written line
// of its key is not written back). The caller writes the file and refreshes
// the window.
void applyOptions(const MonitorSettings& chosen);
