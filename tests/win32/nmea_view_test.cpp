// The NMEA text view drawn into a memory context, and its effect on the store.
#include <gtest/gtest.h>


#include "acquisition/measurement_state.h"
#include "display/nmea_view.h"
#include "win32_test_support.h"

namespace {

// TextOutA as the view calls it, recorded on its way to a memory context.
std::vector<TracedText> drawnTexts;
void* realTextOut = nullptr;

BOOL WINAPI recordingTextOut(HDC dc, int x, int y, LPCSTR text, int length)
{
    drawnTexts.push_back(TracedText{POINT{x, y}, std::string(text, static_cast<size_t>(length))});
    return reinterpret_cast<decltype(&TextOutA)>(realTextOut)(dc, x, y, text, length);
}

class NmeaView : public ::testing::Test {
protected:
    void SetUp() override
    {
        nmeaLineStore = NmeaLineStore{};
        dc_ = CreateCompatibleDC(nullptr);
        TEXTMETRICA metrics{};
        GetTextMetricsA(dc_, &metrics);
        lineHeight_ = metrics.tmHeight + metrics.tmExternalLeading;
        ASSERT_GT(lineHeight_, 0);
    }
    void TearDown() override
    {
        DeleteDC(dc_);
        nmeaLineStore = NmeaLineStore{};
    }

    std::vector<TracedText> draw(int outerHeight)
    {
        ImportPatch patch("TextOutA", reinterpret_cast<void*>(recordingTextOut));
        realTextOut = patch.original();
        drawnTexts.clear();
        drawNmeaText(dc_, outerHeight);
        return drawnTexts;
    }
    static void push(const std::string& line) { pushNmeaLine(line.data(), line.size()); }
    static std::string padded(std::string sentence)
    {
        sentence.resize(nmeaLineSize - 1, ' ');
        return sentence;
    }
    static std::string stored(size_t line) { return std::string(nmeaLineStore.lines[line], nmeaLineSize); }

    HDC dc_ = nullptr;
    int lineHeight_ = 0;
};

} // namespace

TEST_F(NmeaView, RowsFollowTheOuterHeightAndTheLineHeight)
{
    for (int i = 0; i < 90; ++i) push("$GPGGA," + std::to_string(i) + "\r\n");
    const int L = lineHeight_;

    EXPECT_TRUE(draw(3 * L + L - 1).empty());
    EXPECT_EQ(stored(0), std::string("$GPGGA,89\r\n") + std::string(nmeaLineSize - 11, '\0'));

    std::vector<TracedText> texts = draw(13 * L + L - 1);  // 10 rows
    ASSERT_EQ(texts.size(), 10u);
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(texts[i].at.x, 25);
        EXPECT_EQ(texts[i].at.y, i * L);
        EXPECT_EQ(texts[i].text, padded("$GPGGA," + std::to_string(89 - i)));
    }
    // Only the drawn rows are normalised.
    EXPECT_EQ(stored(9), padded("$GPGGA,80") + '\0');
    EXPECT_EQ(stored(10).substr(0, 11), "$GPGGA,79\r\n");

    // A window taller than the store: the 82 sentences, every line normalised.
    std::vector<TracedText> tall = draw(200 * L);
    EXPECT_EQ(tall.size(), 82u);
    EXPECT_EQ(tall.back().at.y, 81 * L);
    EXPECT_EQ(stored(126), padded("") + '\0');
}

TEST_F(NmeaView, DegreeSignIsShownAndStoredAsABlank)
{
    push("$WIXDR,C,21.5,\xB0" "C\r\n");
    std::vector<TracedText> texts = draw(20 * lineHeight_);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].text, padded("$WIXDR,C,21.5, C"));
    EXPECT_EQ(stored(0), padded("$WIXDR,C,21.5, C") + '\0');
}

TEST_F(NmeaView, EmptyStoreDrawsNothingAndLinesWithoutSentenceStayBlank)
{
    EXPECT_TRUE(draw(40 * lineHeight_).empty());
    EXPECT_EQ(stored(0), padded("") + '\0');

    for (int i = 0; i < 5; ++i) push("$GPRMC," + std::to_string(i));
    push("!AIVDM,1,1,,A,0");  // AIS is shown as a sentence is
    std::vector<TracedText> texts = draw(40 * lineHeight_);
    ASSERT_EQ(texts.size(), 6u);
    EXPECT_EQ(texts[0].text, padded("!AIVDM,1,1,,A,0"));
    EXPECT_EQ(texts[5].at.y, 5 * lineHeight_);
    EXPECT_EQ(texts[5].text, padded("$GPRMC,0"));
}
