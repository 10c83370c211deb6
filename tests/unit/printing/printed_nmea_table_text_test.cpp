#include "printing/printed_nmea_table_text.h"

#include <gtest/gtest.h>

#include <cstring>

#include "page_trace.h"

namespace {

NmeaLineStore emptyStore()
{
    NmeaLineStore store;
    std::memset(&store, 0, sizeof store);
    return store;
}

void setLine(NmeaLineStore& store, int i, const std::string& text)
{
    std::memset(store.lines[i], 0, nmeaLineSize);
    std::memcpy(store.lines[i], text.data(), text.size());
}

std::string sentence(int number)
{
    return "$GPXXX," + std::to_string(number) + ",A*00\r\n";
}

} // namespace

TEST(PrintedNmeaTable, PitchAndRows)
{
    EXPECT_EQ(printedNmeaPitch(50, 0), 52);
    EXPECT_EQ(printedNmeaPitch(40, 8), 50);
    EXPECT_EQ(printedNmeaRows(3300, 52), 58);
    EXPECT_EQ(printedNmeaRows(6600, 40), 160);
    // A text height of -2 with no leading gives pitch 0, which gets 10 rows.
    EXPECT_EQ(printedNmeaRows(3300, printedNmeaPitch(-2, 0)), 10);
    EXPECT_EQ(printedNmeaRows(5 * 52, 52), 0);
    EXPECT_EQ(printedNmeaRows(4 * 52, 52), -1);
    EXPECT_EQ(printedNmeaRows(6 * 52 - 1, 52), 0);  // integer division
    EXPECT_EQ(printedNmeaRows(3300, -52), -68);     // signed division
}

TEST(PrintedNmeaTable, AFontWhoseRowsFitTheWidth)
{
    // Wine's PostScript default font at 300 dpi (100 dots high, advancing 52)
    // needs 20 + 91 x 52 = 4752 dots: more than A4 in either shape.
    EXPECT_FALSE(printedNmeaRowFits(2479, 52));
    EXPECT_FALSE(printedNmeaRowFits(3508, 52));
    EXPECT_EQ(printedNmeaFittedCharWidth(2479), 26);  // 91 x 26 + 2 x 20 = 2406
    EXPECT_EQ(printedNmeaFittedHeight(100, 52, 26), 50);
    EXPECT_EQ(printedNmeaFittedCharWidth(3508), 38);
    EXPECT_EQ(printedNmeaFittedHeight(100, 52, 38), 73);
    // A ten-to-the-inch device font fits a landscape A4 row but not an upright one.
    EXPECT_TRUE(printedNmeaRowFits(3508, 30));
    EXPECT_FALSE(printedNmeaRowFits(2479, 30));
    // The edge: 20 + 91 x 27 = 2477.
    EXPECT_TRUE(printedNmeaRowFits(2477, 27));
    EXPECT_FALSE(printedNmeaRowFits(2476, 27));
    // Fitting never enlarges the font, and a page of nothing still gets one.
    EXPECT_EQ(printedNmeaFittedHeight(40, 10, 38), 40);
    EXPECT_EQ(printedNmeaFittedCharWidth(30), 1);
    EXPECT_GE(printedNmeaFittedHeight(100, 52, 1), 1);
    EXPECT_GE(printedNmeaFittedHeight(0, 0, 26), 1);
}

TEST(PrintedNmeaTable, A3300UnitPageHoldsFiftyEightSentences)
{
    NmeaLineStore store = emptyStore();
    for (int i = 0; i < 82; ++i) setLine(store, i, sentence(i));
    PageTrace page(printedNmeaTableSteps(3300, 52, store));
    ASSERT_EQ(page.texts.size(), 1u + 58);
    EXPECT_EQ(page.texts[0].text, "NMEA Daten");
    EXPECT_EQ((std::vector<int>{page.texts[0].x, page.texts[0].y}), (std::vector<int>{20, 0}));
    for (int i = 0; i < 58; ++i) {
        const PlannedText& row = page.texts[1 + i];
        EXPECT_EQ((std::vector<int>{row.x, row.y}), (std::vector<int>{20, 156 + 52 * i})) << i;
        EXPECT_EQ(row.text, printedNmeaRowText(store.lines[i])) << i;
    }
    EXPECT_EQ(page.texts.back().y, 3120);
    EXPECT_EQ(page.texts.back().text.substr(0, 10), "$GPXXX,57,");
    // Nothing else: no fonts, pens, lines or pixels on the table.
    EXPECT_TRUE(page.fonts.empty());
    EXPECT_TRUE(page.pens.empty());
    EXPECT_TRUE(page.lines.empty());
}

TEST(PrintedNmeaTable, RowsBeyondTheStoreAndRowsThatAreNotSentences)
{
    NmeaLineStore store = emptyStore();
    for (int i = 0; i < static_cast<int>(nmeaLineCount); ++i) setLine(store, i, sentence(i));
    // 160 rows fit, but only the 127 lines of the store are looked at.
    PageTrace full(printedNmeaTableSteps(6600, 40, store));
    ASSERT_EQ(full.texts.size(), 1u + 127);
    EXPECT_EQ(full.texts.back().y, 3 * 40 + 126 * 40);

    setLine(store, 1, "GPXXX,not a sentence\r\n");
    setLine(store, 2, "");
    setLine(store, 4, "!AIVDM,1,1,,B,15M67FC000G?ufbE`FepT@3n00Sa,0*5C\r\n");  // AIS is printed too
    PageTrace gaps(printedNmeaTableSteps(3300, 52, store));
    ASSERT_EQ(gaps.texts.size(), 1u + 56);
    EXPECT_EQ(gaps.texts[1].y, 156);
    EXPECT_EQ(gaps.texts[2].y, 156 + 3 * 52);  // rows 1 and 2 stay empty
    EXPECT_EQ(gaps.texts[2].text.substr(0, 9), "$GPXXX,3,");
    EXPECT_EQ(gaps.texts[3].y, 156 + 4 * 52);
    EXPECT_EQ(gaps.texts[3].text.substr(0, 14), "!AIVDM,1,1,,B,");

    // Pitch 0 gives ten rows, all at the top of the page.
    PageTrace flat(printedNmeaTableSteps(3300, 0, store));
    ASSERT_EQ(flat.texts.size(), 1u + 8);
    for (const PlannedText& row : flat.texts) EXPECT_EQ(row.y, 0);
}

TEST(PrintedNmeaTable, HeadingAloneWhenThereIsNothingToPrintOrNoRoom)
{
    NmeaLineStore store = emptyStore();
    PageTrace empty(printedNmeaTableSteps(3300, 52, store));
    ASSERT_EQ(empty.texts.size(), 1u);
    EXPECT_EQ(empty.texts[0].text, "NMEA Daten");

    setLine(store, 0, sentence(0));
    PageTrace small(printedNmeaTableSteps(5 * 52, 52, store));
    ASSERT_EQ(small.texts.size(), 1u);
    PageTrace negative(printedNmeaTableSteps(100, 52, store));
    ASSERT_EQ(negative.texts.size(), 1u);
    PageTrace oneRow(printedNmeaTableSteps(6 * 52, 52, store));
    ASSERT_EQ(oneRow.texts.size(), 2u);
}

TEST(PrintedNmeaTable, RowTextIsNinetyOneCharacters)
{
    char line[nmeaLineSize] = {};
    std::string sentence82 = "$GPRMC," + std::string(75, '1');
    ASSERT_EQ(sentence82.size(), 82u);
    std::memcpy(line, (sentence82 + "\r\n").data(), 84);
    EXPECT_EQ(printedNmeaRowText(line), sentence82 + std::string(9, ' '));

    std::string long126;
    for (int i = 0; i < 126; ++i) long126 += static_cast<char>('A' + i % 26);
    long126[0] = '$';
    std::memset(line, 0, sizeof line);
    std::memcpy(line, long126.data(), 126);
    EXPECT_EQ(printedNmeaRowText(line), long126.substr(0, 91));

    // Control and high bytes show as blanks; 0x7F stays; the text ends at the first zero byte.
    std::memset(line, 0, sizeof line);
    std::memcpy(line, "$A\t\x7F\x80\xFF" "B\0CD", 10);
    EXPECT_EQ(printedNmeaRowText(line), "$A \x7F  B" + std::string(84, ' '));

    // A line already normalised in place by the view prints the same.
    std::memset(line, ' ', nmeaLineSize - 1);
    line[nmeaLineSize - 1] = '\0';
    std::memcpy(line, sentence82.data(), 82);
    EXPECT_EQ(printedNmeaRowText(line), sentence82 + std::string(9, ' '));
}
