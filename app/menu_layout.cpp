#include "app/menu_layout.h"

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "settings/source_name.h"

#include "settings/ui_text.h"

namespace {

const unsigned portCommands[8] = {cmdPortCom1, cmdPortCom2, cmdPortCom3, cmdPortCom4,
                                  cmdPortCom5, cmdPortCom6, cmdPortCom7, cmdPortCom8};

constexpr unsigned separator = 0;
constexpr unsigned dropDown = 1;  // no command: the title of the drop-down that follows

constexpr uint8_t notIn(UiLanguage language) { return uint8_t(1u << language); }

struct MenuLine {
    unsigned command;       // a CommandId, separator or dropDown
    TextId text{};          // unused for a separator
    uint8_t missingIn = 0;  // notIn() of each language without this line
};

// All three menu bars: a language leaves out the lines marked missing in it.
const MenuLine menuDescription[] = {
    {dropDown, txtMenuFile},
    {cmdPrintNmeaTable, txtItemPrintNmeaTable}, {cmdPrintChart, txtItemPrintChart}, {cmdQuit, txtItemQuit},
    {dropDown, txtMenuEdit},
    {cmdEraseMonitorTxt, txtItemEraseMonitorTxt}, {cmdEraseNmeaTxt, txtItemEraseNmeaTxt},
    {separator},
    {cmdCopyChart, txtItemCopyChart},
    {dropDown, txtMenuView},
    {cmdToggleT1, txtItemShowT1}, {cmdToggleT3, txtItemShowT3},
    {separator},
    {cmdShowHours, txtItemHoursView}, {cmdShowWeek, txtItemWeekView}, {cmdNightColours, txtItemNightColours},
    {separator},
    {cmdAcknowledgeAlarm, txtItemAcknowledgeAlarm},
    {dropDown, txtMenuSetup},
    {cmdBarographMode, txtItemBarographMode}, {cmdNmeaMode, txtItemNmeaMode},
    {separator},
    {cmdPortCom1, txtItemCom1}, {cmdPortCom2, txtItemCom2}, {cmdPortCom3, txtItemCom3},
    {cmdPortCom4, txtItemCom4}, {cmdPortCom5, txtItemCom5}, {cmdPortCom6, txtItemCom6},
    {cmdPortCom7, txtItemCom7}, {cmdPortCom8, txtItemCom8},
    {separator},
    {cmdToggleUdp, txtItemSendUdp}, {cmdOptions, txtItemOptions},
    {separator},
    {cmdSaveOff, txtItemSaveOff}, {cmdSaveOn, txtItemSaveOn},
    {separator},
    {cmdScale950, txtItemScale950}, {cmdScale900, txtItemScale900},
    {separator},
    {cmdToggleSig, txtItemBeep, notIn(English) | notIn(French)},
    {cmdToggleErr, txtItemErrorLog, notIn(French)},
    {separator, {}, notIn(French)},
    {cmdGerman, txtItemGerman}, {cmdEnglish, txtItemEnglish}, {cmdFrench, txtItemFrench},
    {dropDown, txtMenuHelp},
    {cmdHelp, txtItemHelp}, {cmdAbout, txtItemAbout}, {cmdLinkCable, txtItemLinkCable},
    {cmdDataFormats, txtItemDataFormats},
};

} // namespace

std::vector<DropDown> menuLayout(UiLanguage language)
{
    std::vector<DropDown> bar;
    for (const MenuLine& line : menuDescription) {
        if (line.missingIn & notIn(language)) continue;
        const char* text = line.command == separator ? "" : uiText(line.text, language);
        if (line.command == dropDown) bar.push_back({text, {}});
        else bar.back().entries.push_back({line.command, text});
    }
    return bar;
}

std::string networkItemText(UiLanguage language)
{
    const ReceiveSource& source = monitorSettings.SOURCE;
    char text[80];
    if (source.kind == SourceKind::Udp) {
        std::snprintf(text, sizeof text, uiText(txtItemNetworkUdp, language), unsigned(source.udpPort));
    } else {
        char name[sourceNameSize];
        formatSourceName(monitorSettings, name);
        std::snprintf(text, sizeof text, uiText(txtItemNetworkTcp, language), name + 4);  // after "TCP "
    }
    return text;
}

unsigned portCommand(unsigned port)
{
    if (port >= 1 && port <= 8) return portCommands[port - 1];
    return port <= highestPort ? cmdPortComBase + port : 0;
}

unsigned portOfCommand(unsigned command)
{
    for (unsigned i = 0; i < 8; ++i)
        if (portCommands[i] == command) return i + 1;
    return command >= cmdPortComBase + 9 && command <= cmdPortComBase + highestPort ? command - cmdPortComBase : 0;
}

MenuItemText splitMenuText(const char* text)
{
    const char* tab = std::strchr(text, '\t');
    if (!tab) return {text, {}};
    return {std::string(text, tab), tab + 1};
}

char menuAltLetter(const char* text)
{
    for (const char* at = std::strchr(text, '&'); at && at[1]; at = std::strchr(at + 2, '&'))
        if (at[1] != '&') return static_cast<char>(std::toupper(static_cast<unsigned char>(at[1])));
    return 0;
}
