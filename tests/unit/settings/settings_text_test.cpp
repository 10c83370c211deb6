#include "settings/settings_text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

const std::string defaultText =
    "DATA=  TQ\nCOM=COM2\nSAVE=0300\nSHOW=0300\nT1=1\nT3=1\nVAR=1\nTC=0\nAD=0\nERR=1\n"
    "U=0\nSIG=0\nDKS=0\nLANG=DE\nDW=0\nAW=0\nLO=0\n";

MonitorSettings defaults()
{
    MonitorSettings s{};
    applyDefaultSettings(s);
    return s;
}

std::string encode(MonitorSettings& s)
{
    char text[settingsFileLimit];
    const size_t length = encodeSettingsText(s, text);
    return std::string(text, length);
}

MonitorSettings decode(const std::string& text)
{
    MonitorSettings s = defaults();
    decodeSettingsText(reinterpret_cast<const uint8_t*>(text.data()), text.size(), s);
    return s;
}

std::string withByte(std::string text, size_t pos, char c)
{
    text.replace(pos, 1, 1, c);
    return text;
}

} // namespace

TEST(SettingsText, DefaultsEncodeToTheDocumentedText)
{
    MonitorSettings d = defaults();
    EXPECT_EQ(encode(d), defaultText);
    EXPECT_EQ(defaultText.size(), 110u);
}

TEST(SettingsText, EveryValueRoundTripsAtItsPosition)
{
    MonitorSettings s = defaults();
    s.DATA = Nmea;
    s.COM = 7;
    s.SHOW = 1800;
    s.T1 = 0;
    s.T3 = 0;
    s.VAR = 0;
    s.TC = 1;
    s.AD = 1;
    s.ERR = 0;
    s.U = 1;
    s.SIG = 1;
    s.DKS = 1;
    s.LANG = French;
    s.DW = 1;
    s.AW = 1;
    s.LO = 1;
    std::string text = encode(s);
    EXPECT_EQ(text,
              "DATA=NMEA\nCOM=COM7\nSAVE=0300\nSHOW=1800\nT1=0\nT3=0\nVAR=0\nTC=1\nAD=1\nERR=0\n"
              "U=1\nSIG=1\nDKS=1\nLANG=FR\nDW=1\nAW=1\nLO=1\n");
    MonitorSettings back = decode(text);
    EXPECT_EQ(encode(back), text);
    EXPECT_EQ(back.DATA, Nmea);
    EXPECT_EQ(back.COM, 7);
    EXPECT_EQ(back.LANG, French);
    EXPECT_EQ(back.U, 1);
    EXPECT_EQ(back.ERR, 0);
}

TEST(SettingsText, ShowAcceptsOnlyItsFourLegalValues)
{
    EXPECT_EQ(decode(withByte(withByte(defaultText, 35, '4'), 36, '5')).SHOW, 300u);  // 0450
    std::string s1800 = defaultText;
    s1800.replace(34, 4, "1800");
    EXPECT_EQ(decode(s1800).SHOW, 1800u);
    std::string s0600 = defaultText;
    s0600.replace(34, 4, "0600");
    EXPECT_EQ(decode(s0600).SHOW, 600u);
    std::string junk = defaultText;
    junk.replace(34, 4, " 9x!");
    EXPECT_EQ(decode(junk).SHOW, 300u);

    // The writer clamps first, then falls back to 300 for anything else.
    MonitorSettings s = defaults();
    s.SHOW = 5000;
    EXPECT_EQ(encode(s).substr(34, 4), "1800");
    EXPECT_EQ(s.SHOW, 1800u);
    s.SHOW = 450;
    EXPECT_EQ(encode(s).substr(34, 4), "0300");
    s.SHOW = 12;
    EXPECT_EQ(encode(s).substr(34, 4), "0300");
    EXPECT_EQ(s.SHOW, 300u);
}

TEST(SettingsText, SaveIsAlwaysOnAfterReadingAndAlways0300InTheFile)
{
    std::string off = defaultText;
    off.replace(24, 4, "0000");
    EXPECT_EQ(decode(off).SAVE, 300u);
    MonitorSettings s = defaults();
    s.SAVE = 0;
    EXPECT_EQ(encode(s).substr(24, 4), "0300");
    EXPECT_EQ(s.SAVE, 300u);
}

TEST(SettingsText, PortDigitIsClampedAsASignedByte)
{
    EXPECT_EQ(decode(withByte(defaultText, 17, '9')).COM, 8);
    EXPECT_EQ(decode(withByte(defaultText, 17, 'x')).COM, 8);
    EXPECT_EQ(decode(withByte(defaultText, 17, '0')).COM, 1);
    EXPECT_EQ(decode(withByte(defaultText, 17, ' ')).COM, 1);
    EXPECT_EQ(decode(withByte(defaultText, 17, '\xB5')).COM, 1);
    EXPECT_EQ(decode(withByte(defaultText, 17, '4')).COM, 4);
}

TEST(SettingsText, OnlyTheCharacterZeroTurnsAFlagOff)
{
    MonitorSettings s = decode(withByte(defaultText, 42, 'x'));
    EXPECT_EQ(s.T1, 1);
    EXPECT_EQ(encode(s)[42], '1');
    EXPECT_EQ(decode(withByte(defaultText, 42, '0')).T1, 0);
    EXPECT_EQ(decode(withByte(defaultText, 85, '\0')).DKS, 1);
    EXPECT_EQ(decode(withByte(defaultText, 108, ' ')).LO, 1);
    EXPECT_EQ(decode(withByte(defaultText, 69, '0')).ERR, 0);
}

TEST(SettingsText, AnyNonBlankAtPositionFiveMeansNmea)
{
    MonitorSettings s = decode(withByte(defaultText, 5, 'Q'));
    EXPECT_EQ(s.DATA, Nmea);
    EXPECT_EQ(encode(s).substr(5, 4), "NMEA");
    EXPECT_EQ(decode(withByte(defaultText, 6, 'Q')).DATA, Barograph);
}

TEST(SettingsText, UnknownLanguageGivesGerman)
{
    std::string nl = defaultText;
    nl.replace(92, 2, "NL");
    MonitorSettings s = decode(nl);
    EXPECT_EQ(s.LANG, German);
    EXPECT_EQ(encode(s).substr(92, 2), "DE");
    std::string en = defaultText;
    en.replace(92, 2, "EN");
    EXPECT_EQ(decode(en).LANG, English);
    std::string lower = defaultText;
    lower.replace(92, 2, "fr");
    EXPECT_EQ(decode(lower).LANG, German);
}

TEST(SettingsText, ShiftedLinesAreReadByPositionRegardless)
{
    // "SHOWS=" pushes every later value one byte on.
    std::string shifted = defaultText;
    shifted.insert(33, "S");
    shifted.resize(110);
    MonitorSettings s = decode(shifted);
    EXPECT_EQ(s.SHOW, 300u);  // "=030" is no legal value
    EXPECT_EQ(s.T1, 1);       // '=' stands where '1' stood
}

TEST(SettingsText, ShortFileGivesDefaultsForWhatWasNotRead)
{
    MonitorSettings s = defaults();
    s.LANG = French;
    s.T1 = 0;
    s.COM = 5;
    s.DKS = 1;
    // A text that says English, COM 6, T1 off, LO on, DKS on, cut after "T3=1\n".
    std::string text = defaultText;
    text.replace(92, 2, "EN");
    text[17] = '6';
    text[42] = '0';
    text[108] = '1';
    text[85] = '1';
    std::string cut = text.substr(0, 49);
    decodeSettingsText(reinterpret_cast<const uint8_t*>(cut.data()), cut.size(), s);
    EXPECT_EQ(s.COM, 6);
    EXPECT_EQ(s.T1, 0);
    EXPECT_EQ(s.LANG, German);
    EXPECT_EQ(s.LO, 0);
    EXPECT_EQ(s.DKS, 0);
    EXPECT_EQ(s.ERR, 1);
    EXPECT_EQ(s.VAR, 1);

    // Empty: all defaults.
    MonitorSettings e = defaults();
    e.DATA = Nmea;
    e.SHOW = 900;
    decodeSettingsText(nullptr, 0, e);
    EXPECT_EQ(encode(e), defaultText);

    // Cut in the middle of SHOW: the partial digits are not used.
    std::string partial = defaultText;
    partial.replace(34, 4, "1800");
    MonitorSettings p = defaults();
    decodeSettingsText(reinterpret_cast<const uint8_t*>(partial.data()), 36, p);
    EXPECT_EQ(p.SHOW, 300u);
}

// A port from COM9 on: '9' in the 110 bytes, which older readers take as
// COM8, and a PORT line after them that this reader takes.
TEST(SettingsText, APortFromComNineOnStandsInItsOwnLineAfterTheFixedText)
{
    MonitorSettings s = defaults();
    s.COM = 12;
    const std::string twelve = encode(s);
    EXPECT_EQ(twelve, withByte(defaultText, 17, '9') + "PORT=COM12\n");
    EXPECT_EQ(twelve.size(), 121u);
    EXPECT_EQ(decode(twelve).COM, 12);
    s.COM = 256;
    EXPECT_EQ(decode(encode(s)).COM, 256);
    s.COM = 8;
    EXPECT_EQ(encode(s), withByte(defaultText, 17, '8')) << "ports 1..8 keep the file as it was";

    const std::string nine = withByte(defaultText, 17, '9');
    EXPECT_EQ(decode(nine).COM, 8) << "a '9' without its line";
    EXPECT_EQ(decode(nine + "PORT=COM9\n").COM, 9);
    EXPECT_EQ(decode(nine + "PORT=COM12\r\n").COM, 12) << "an editor's line end";
    for (const char* ignored : {"PORT=COM8\n", "PORT=COM257\n", "PORT=COM0\n", "PORT=COM012\n", "PORT=COM1x\n",
                                "PORT=COM12", "port=COM12\n", "PORT=COM\n"})
        EXPECT_EQ(decode(nine + ignored).COM, 8) << ignored;
    // Other lines before and after it are passed over; the file may run to 512 bytes.
    EXPECT_EQ(decode(nine + "SEND=1\nX\nPORT=COM29\n" + std::string(300, 'z') + "\n").COM, 29);
}

// Sending over UDP: a line of its own when on, another when the destination
// is not the default; a malformed one keeps the default.
TEST(SettingsText, SendingLinesAfterTheFixedText)
{
    MonitorSettings s = defaults();
    EXPECT_EQ(s.SEND, 0);
    s.SEND = 1;
    EXPECT_EQ(encode(s), defaultText + "SEND=1\n");
    s.SENDTO = {0xC0A80AFF, 2000};  // 192.168.10.255
    s.COM = 12;
    const std::string all = withByte(defaultText, 17, '9') + "PORT=COM12\nSEND=1\nSENDTO=192.168.10.255:2000\n";
    EXPECT_EQ(encode(s), all);
    const MonitorSettings back = decode(all);
    EXPECT_EQ(back.SEND, 1);
    EXPECT_EQ(back.SENDTO.address, 0xC0A80AFFu);
    EXPECT_EQ(back.SENDTO.port, 2000);
    for (const char* malformed : {"SENDTO=192.168.10.256:2000\n", "SENDTO=192.168.10:2000\n", "SENDTO=1.2.3.4:0\n",
                                  "SENDTO=1.2.3.4:65536\n", "SENDTO=1.2.3.4\n", "SENDTO=01.2.3.4:5\n", "SEND=2\n"}) {
        const MonitorSettings kept = decode(defaultText + malformed);
        EXPECT_EQ(kept.SENDTO.address, 0x7F000001u) << malformed;
        EXPECT_EQ(kept.SENDTO.port, 10110) << malformed;
        EXPECT_EQ(kept.SEND, 0) << malformed;
    }
    EXPECT_EQ(decode(defaultText + "SENDTO=0.0.0.0:1\n").SENDTO.port, 1);
}
