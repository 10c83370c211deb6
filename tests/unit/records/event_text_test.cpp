#include "records/event_text.h"

#include <gtest/gtest.h>

#include <string>

#include "settings/ui_text.h"

namespace {

const LocalStamp december7{7, 12, 2026, 16, 5};

std::string eventLine(int number)
{
    char line[256];
    size_t n = formatEventLine(number, december7, line);
    return std::string(line, n);
}

} // namespace

TEST(EventText, EventLinesByteForByte)
{
    EXPECT_EQ(eventLine(13), "07.12.2026 16:05  event nr. 13 error wrinting in file MONITOR.TXT ");
    EXPECT_EQ(eventLine(80), "07.12.2026 16:05  event nr. 80 ");
    EXPECT_EQ(eventLine(250), "07.12.2026 16:05  event nr. 250 unknown error or event ");
    EXPECT_EQ(eventLine(100), "07.12.2026 16:05  event nr. 100 unknown error or event ");
    EXPECT_EQ(eventLine(-3), "07.12.2026 16:05  event nr. -3 ");
    EXPECT_EQ(eventLine(2), "07.12.2026 16:05  event nr. 2 read error: file MONITOR.INI ");
    EXPECT_EQ(eventLine(11), "07.12.2026 16:05  event nr. 11 file MONITOR.INI not found ");
}

TEST(EventText, TextsOfTheNumberedRanges)
{
    EXPECT_STREQ(eventText(23), "error CreatePen");
    EXPECT_STREQ(eventText(26), "#26");
    EXPECT_STREQ(eventText(35), "#35");
    EXPECT_STREQ(eventText(36), "");
    EXPECT_STREQ(eventText(37), " ");
    EXPECT_STREQ(eventText(39), "#39 ");
    EXPECT_STREQ(eventText(51), "#51 ");
    EXPECT_STREQ(eventText(52), " ");
    EXPECT_STREQ(eventText(62), " ");
    EXPECT_STREQ(eventText(63), "readfile error COM port");
    EXPECT_STREQ(eventText(65), "error: LastError");
    EXPECT_STREQ(eventText(66), "COM port available again ");
    EXPECT_STREQ(eventText(70), "error: records kept in memory could not be written at program end ");
    EXPECT_STREQ(eventText(71), "wind warning: pressure falling quickly ");
    EXPECT_STREQ(eventText(75), "data received again ");
    EXPECT_STREQ(eventText(76), "Windows session ended ");
    EXPECT_STREQ(eventText(77), "error: UDP output not possible ");
    EXPECT_STREQ(eventText(78), "error: UDP output failed ");
    EXPECT_STREQ(eventText(79), "error: settings file damaged, defaults used ");
    EXPECT_STREQ(eventText(lastEventNumber + 1), "") << "no text past the last event";
    EXPECT_STREQ(eventText(99), "");
    EXPECT_STREQ(eventText(101), "unknown error or event ");
}

TEST(EventText, FatalLineAndMessageInEachLanguage)
{
    char line[64];
    size_t n = formatFatalLine(1, december7, line);
    EXPECT_EQ(std::string(line, n), "07.12.2026 16:05 fatal error nr. 001\n");
    EXPECT_EQ(n, 37u);
    n = formatFatalLine(100, december7, line);
    EXPECT_EQ(std::string(line, n), "07.12.2026 16:05 fatal error nr. 100\n");

    char text[128];
    formatFatalMessage(1, december7, English, text);
    EXPECT_STREQ(text, "07.12.2026 16:05\nerror nr. 001\nprogram end");
    formatFatalMessage(60, december7, German, text);
    EXPECT_STREQ(text, "07.12.2026 16:05\nFehler Nr. 060\nProgramm wird beendet");
    formatFatalMessage(7, december7, French, text);
    EXPECT_STREQ(text, "07.12.2026 16:05\nerreur nr. 007\nprogramme termine");
    EXPECT_STREQ(uiText(txtFatalCaption, German), "Fehler");
    EXPECT_STREQ(uiText(txtFatalCaption, English), "error");
    EXPECT_STREQ(uiText(txtFatalCaption, French), "erreur");
}
