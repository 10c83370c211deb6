#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include "acquisition/low_pressure_alarm.h"
#include "app/menu_layout.h"
#include "app/options_fields.h"
#include "app/startup.h"
#include "app/window_titles.h"
#include "records/event_text.h"
#include "settings/shell_seam.h"
#include "settings/source_name.h"
#include "settings/ui_text.h"

TEST(FreeSpace, WarnsBelowOneHundredThousandBytes)
{
    EXPECT_TRUE(freeSpaceIsLow(99999));
    EXPECT_FALSE(freeSpaceIsLow(100000));
    EXPECT_TRUE(freeSpaceIsLow(0));
    EXPECT_FALSE(freeSpaceIsLow(1ull << 40));  // far beyond 32 bits
}

TEST(WindowTitles, ModeTitlesInEachLanguage)
{
    char text[128];
    formatBarographTitle(German, "COM3", text, sizeof text);
    EXPECT_STREQ(text, "Zudoderozezavedi Verbindung \xFC" "ber COM3");
    formatBarographTitle(English, "COM8", text, sizeof text);
    EXPECT_STREQ(text, "Air pressure monitor link: COM8");
    formatBarographTitle(French, "COM1", text, sizeof text);
    EXPECT_STREQ(text, "Moniteur pression atmospherique COM1");
    formatNmeaTitle(German, "COM2", text, sizeof text);
    EXPECT_STREQ(text, "NMEA Monitor  Verbindung \xFC" "ber COM2");
    formatNmeaTitle(English, "COM5", text, sizeof text);
    EXPECT_STREQ(text, "NMEA monitor using COM5");
    formatNmeaTitle(French, "COM7", text, sizeof text);
    EXPECT_STREQ(text, "Moniteur NMEA liaison COM7");
    formatBarographTitle(German, "COM12", text, sizeof text);
    EXPECT_STREQ(text, "Zudoderozezavedi Verbindung \xFC" "ber COM12");
    // A gateway's address is shown here only: the program would connect to it.
    MonitorSettings gateway = monitorSettings;
    gateway.SOURCE = {SourceKind::Tcp, 10110, 0xC0A80401, 10110};  // 192.168.4.1
    char name[sourceNameSize];
    formatSourceName(gateway, name);
    formatNmeaTitle(French, name, text, sizeof text);
    EXPECT_STREQ(text, "Moniteur NMEA liaison TCP 192.168.4.1:10110");
    char line[96];
    EXPECT_STREQ(sourceEventText(eventPortLost, gateway, line), "error TCP 192.168.4.1:10110 / connection lost ");
    EXPECT_STREQ(sourceEventText(eventPortReturned, gateway, line), "TCP 192.168.4.1:10110 available again ");
    // The Setup menu's item names it, in each language.
    const MonitorSettings before = monitorSettings;
    monitorSettings.SOURCE = gateway.SOURCE;
    EXPECT_EQ(networkItemText(German), "Netzwerk: TCP 192.168.4.1:10110");
    monitorSettings.SOURCE.kind = SourceKind::Udp;
    EXPECT_EQ(networkItemText(French), "Reseau : port UDP 10110");
    monitorSettings = before;
    gateway.SOURCE.kind = SourceKind::Serial;
    EXPECT_STREQ(sourceEventText(eventPortLost, gateway, line), "error COMx / ClearCommError ");
}

namespace {

const UiLanguage languages[] = {German, English, French};

// The conversions of a printf format, in order ("%+4.1f hPa %u" gives "fu").
std::string conversions(const char* format)
{
    std::string found;
    if (!format) return "no text";
    for (const char* p = std::strchr(format, '%'); p; p = std::strchr(p + 1, '%')) {
        p += std::strspn(p + 1, "-+ #0123456789.lhz") + 1;
        found += *p;
        if (*p == '\0') break;
    }
    return found;
}

std::set<unsigned> menuCommands(UiLanguage language)
{
    std::set<unsigned> commands;
    for (const DropDown& dropDown : menuLayout(language))
        for (const MenuEntry& entry : dropDown.entries) {
            if (entry.id == 0) continue;
            EXPECT_TRUE(commands.insert(entry.id).second) << "twice in the menu: " << entry.id;
        }
    return commands;
}

} // namespace

TEST(UiText, EveryIdHasATextInEachLanguage)
{
    for (unsigned id = 0; id < textCount; ++id)
        for (UiLanguage language : languages) {
            const char* text = uiText(TextId(id), language);
            ASSERT_NE(text, nullptr) << "id " << id << " language " << int(language);
            EXPECT_GT(std::strlen(text), 0u) << "id " << id << " language " << int(language);
        }
}

TEST(UiText, FormatsTakeTheSameArgumentsInEachLanguage)
{
    for (unsigned id = 0; id < textCount; ++id) {
        std::string german = conversions(uiText(TextId(id), German));
        EXPECT_EQ(conversions(uiText(TextId(id), English)), german) << "id " << id;
        EXPECT_EQ(conversions(uiText(TextId(id), French)), german) << "id " << id;
    }
    EXPECT_EQ(conversions(uiText(txtLiveBarographTitle, French)), "uddfffu");
    EXPECT_EQ(conversions(uiText(txtAboutFormat, English)), "ss");
}

TEST(UiText, MenuItemsDifferBetweenLanguagesOnlyAsIntended)
{
    std::set<unsigned> german = menuCommands(German);
    std::set<unsigned> english = menuCommands(English);
    std::set<unsigned> french = menuCommands(French);
    // Every command but the data check, which has no item, is in the German menu.
    std::set<unsigned> every = {
        cmdPrintNmeaTable, cmdPrintChart, cmdQuit, cmdEraseMonitorTxt, cmdEraseNmeaTxt, cmdCopyChart, cmdToggleT1,
        cmdToggleT3, cmdShowHours, cmdShowWeek, cmdNightColours, cmdAcknowledgeAlarm, cmdBarographMode, cmdNmeaMode, cmdPortCom1, cmdPortCom2, cmdPortCom3, cmdPortCom4,
        cmdPortCom5, cmdPortCom6, cmdPortCom7, cmdPortCom8, cmdToggleUdp, cmdOptions, cmdSaveOff, cmdSaveOn, cmdToggleSig,
        cmdToggleErr, cmdGerman, cmdEnglish, cmdFrench, cmdScale950, cmdScale900, cmdHelp, cmdAbout,
        cmdLinkCable, cmdDataFormats};
    EXPECT_EQ(german, every);
    std::set<unsigned> withoutBeep = every;
    withoutBeep.erase(cmdToggleSig);
    EXPECT_EQ(english, withoutBeep);
    std::set<unsigned> withoutBeepAndLog = withoutBeep;
    withoutBeepAndLog.erase(cmdToggleErr);
    EXPECT_EQ(french, withoutBeepAndLog);
    for (UiLanguage language : languages) {
        EXPECT_EQ(menuLayout(language).size(), 5u);
        // The tendencies, the two chart views and the night colours, then the
        // acknowledgement of the storm warning last, each group after a separator.
        const std::vector<MenuEntry> view = menuLayout(language)[2].entries;
        std::vector<unsigned> ids;
        for (const MenuEntry& entry : view) ids.push_back(entry.id);
        EXPECT_EQ(ids, (std::vector<unsigned>{cmdToggleT1, cmdToggleT3, 0, cmdShowHours, cmdShowWeek,
                                              cmdNightColours, 0, cmdAcknowledgeAlarm}));
        // The copy ends the Edit menu, after a separator.
        const std::vector<MenuEntry> edit = menuLayout(language)[1].entries;
        ASSERT_GE(edit.size(), 2u);
        EXPECT_EQ(edit[edit.size() - 2].id, 0u);
        EXPECT_EQ(edit.back().id, unsigned(cmdCopyChart));
    }
    EXPECT_STREQ(menuLayout(French)[2].entries[7].text, "Acquitter l'alarme de vent");
    EXPECT_STREQ(menuLayout(German)[2].entries[4].text, "Barogramm 7 Tage");
    EXPECT_STREQ(menuLayout(English)[2].entries[3].text, "Barogram 52 hours");
    EXPECT_STREQ(menuLayout(French)[1].entries.back().text, "Copier le diagramme\tCtrl+C");
    EXPECT_STREQ(menuLayout(German)[1].entries.back().text, "Diagramm kopieren\tStrg+C");
}

namespace {

const OptionsField& optionsField(unsigned id) { return optionsFieldOf(id); }

// The place of a field's text among the dialog's texts.
size_t at(unsigned id) { return static_cast<size_t>(&optionsFieldOf(id) - optionsFields); }

// The texts the dialog shows for `settings`, as OK reads them back.
std::vector<std::string> shownTexts(const MonitorSettings& settings)
{
    std::vector<std::string> texts;
    for (const OptionsField& field : optionsFields) texts.push_back(formatFieldValue(field, fieldValue(field, settings)));
    return texts;
}

} // namespace

TEST(OptionsFields, TextsAreReadWithAPointOrACommaAndShownWithAPoint)
{
    const OptionsField& correction = optionsField(1661);
    int64_t value = 0;
    for (auto [text, tenths] : {std::pair{"1,5", 15}, {" 1.5 ", 15}, {"-0,5", -5}, {"+2", 20}}) {
        EXPECT_TRUE(parseFieldText(correction, text, value)) << text;
        EXPECT_EQ(value, tenths) << text;
    }
    for (const char* text : {"", "1.25", "1,2,3", "abc", "1 2", "-", "+1.2x"})
        EXPECT_FALSE(parseFieldText(correction, text, value)) << text;
    EXPECT_EQ(formatFieldValue(correction, 12), "+1.2");
    EXPECT_EQ(formatFieldValue(correction, -5), "-0.5");
    EXPECT_TRUE(parseFieldText(optionsField(1668), "10.0.0.255", value)) << "a broadcast address is allowed";
    EXPECT_EQ(formatFieldValue(optionsField(1668), value), "10.0.0.255");
    for (const char* text : {"256.0.0.1", "10.0.0", "10.0.0.1."})
        EXPECT_FALSE(parseFieldText(optionsField(1668), text, value)) << text;

    // The defaults shown and read back are the defaults: OK unchanged changes nothing.
    MonitorSettings defaults = monitorSettings;
    applyDefaultSettings(defaults);
    OptionsCheck check = checkOptions(shownTexts(defaults), defaults, English);
    EXPECT_EQ(check.failed, -1) << check.message;
    EXPECT_EQ(shownTexts(check.chosen), shownTexts(defaults));
}

TEST(OptionsFields, TheFirstFieldOutOfRangeIsNamedWithItsRangeAndNothingIsChosen)
{
    MonitorSettings base = monitorSettings;
    std::vector<std::string> texts = shownTexts(base);
    texts[at(1662)] = "1501";
    texts[at(1668)] = "no address";
    const char* height[3] = {"Hoehe ueber dem Meer: 0 bis 1500 m", "Height above sea level: 0 to 1500 m",
                             "Altitude : 0 a 1500 m"};
    for (UiLanguage language : {German, English, French}) {
        OptionsCheck check = checkOptions(texts, base, language);
        EXPECT_EQ(check.failed, int(at(1662)));
        EXPECT_EQ(check.message, height[language]);
        EXPECT_EQ(shownTexts(check.chosen), shownTexts(base));
    }
    // The gale's limit must exceed the warning's as typed in the same dialog.
    texts = shownTexts(base);
    texts[at(1663)] = "5,0", texts[at(1664)] = "5.0";
    OptionsCheck gale = checkOptions(texts, base, German);
    EXPECT_EQ(gale.failed, int(at(1664)));
    EXPECT_EQ(gale.message, "Alarm bei Fall in 3 Std: 5,1 bis 15,0 hPa");
    texts[at(1664)] = "5.1", texts[at(1666)] = "899";
    EXPECT_EQ(checkOptions(texts, base, English).message, "Alarm below: 0 or 900 to 1050 hPa");
}

namespace {
std::vector<int> loggedEvents;
}

TEST(OptionsFields, ApplyingLogsACorrectionChangeAndEndsALowAlarmWhoseLimitChanged)
{
    resetMonitorSettings();
    loggedEvents.clear();
    shellSeam.logEvent = [](int number) { loggedEvents.push_back(number); };
    MonitorSettings chosen = monitorSettings;
    chosen.LOW = 990;
    monitorSettings.LOW = 990;
    for (unsigned i = 0; i < lowAlarmRaiseRun; ++i) takeLowPressure(98000, 990);
    ASSERT_TRUE(lowPressureAlarm.on);
    chosen.LOW = 980, chosen.OFFSET = -3;
    applyOptions(chosen);
    EXPECT_EQ(loggedEvents, (std::vector<int>{eventLowLimitChanged, eventCorrectionChanged}))
        << "the limit changed, the pressure did not rise";
    EXPECT_FALSE(lowPressureAlarm.on);
    EXPECT_EQ(monitorSettings.LOW, 980);
    resetShellSeam();
    resetLowPressureAlarm();
    resetMonitorSettings();
}
