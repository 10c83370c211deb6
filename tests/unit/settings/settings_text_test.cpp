#include "settings/settings_text.h"
#include "settings/settings_lines.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

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

std::string encode(MonitorSettings& s) { return encodeSettingsText(s); }

// Keeps the lines the program did not take, to be written by the next encode.
MonitorSettings decodeKeeping(const std::string& text)
{
    MonitorSettings s = defaults();
    decodeSettingsText(reinterpret_cast<const uint8_t*>(text.data()), text.size(), s);
    return s;
}

// Forgets them again, so that no case writes another's lines.
MonitorSettings decode(const std::string& text)
{
    MonitorSettings s = decodeKeeping(text);
    MonitorSettings scratch = defaults();
    decodeSettingsText(nullptr, 0, scratch);
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
    EXPECT_EQ(s.SAVE, 0u) << "a write from a menu must not turn recording on again";
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

// Only the keys and line feeds of the template make a settings file: a file
// cut by a power failure to zeros, or another program's, is not believed.
TEST(SettingsText, AFileIsBelievedOnlyWithTheKeysAndLineFeedsWhereTheTemplateHasThem)
{
    std::string shifted = defaultText;  // "SHOWS=" pushes every later byte one on
    shifted.insert(33, "S");
    for (const auto& [text, intact] : std::vector<std::pair<std::string, bool>>{
             {defaultText, true}, {"", true}, {defaultText.substr(0, 49), true}, {withByte(defaultText, 5, 'x'), true},
             {withByte(defaultText, 14, 'X'), true}, {std::string(110, '\0'), false}, {std::string(1, '\0'), false},
             {"[Settings]\r\nPort=2\r\n", false}, {withByte(defaultText, 4, ':'), false},
             {withByte(defaultText, 109, '\r'), false}, {withByte(defaultText, 87, 'l'), false}, {shifted, false}})
        EXPECT_EQ(settingsTextIsIntact(reinterpret_cast<const uint8_t*>(text.data()), text.size()), intact) << text;
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
    EXPECT_EQ(decode(nine + "PORT=COM12\nPORT=COM14\nPORT=COM3\n").COM, 14) << "the last valid line wins";
    for (const char* ignored : {"PORT=COM8\n", "PORT=COM257\n", "PORT=COM0\n", "PORT=COM012\n", "PORT=COM1x\n",
                                "PORT=COM\n", "PORT COM12\n"})
        EXPECT_EQ(decode(nine + ignored).COM, 8) << ignored;
    EXPECT_EQ(decode(withByte(defaultText, 17, '3') + "PORT=COM12\n").COM, 3) << "a stray line beside a '3'";
    // Other lines before and after it are passed over, however far on it stands.
    EXPECT_EQ(decode(nine + "SEND=1\nX\nPORT=COM29\n" + std::string(300, 'z') + "\n").COM, 29);
    EXPECT_EQ(decode(nine + std::string(600, '\n') + "PORT=COM12").COM, 12) << "past byte 512, no line feed";
}

// A line the program does not take is written back as it stood, after the
// program's own, so that the user can mend it and a newer version's line
// survives; it goes once the program sets that setting itself.
TEST(SettingsText, LinesNotTakenAreKeptUntilTheProgramSetsTheirSetting)
{
    const std::string three = withByte(defaultText, 17, '3');
    MonitorSettings s = decodeKeeping(three + "colour=blue\nPORT=COM12\nLOW=5\nLOW=990\nSEND=1");
    EXPECT_EQ(s.COM, 3);
    EXPECT_EQ(s.LOW, 990);
    EXPECT_EQ(encode(s), three + "SEND=1\nLOW=990\ncolour=blue\nPORT=COM12\nLOW=5\n");
    settingSetFromProgram(SettingsLine::Low);
    EXPECT_EQ(encode(s), three + "SEND=1\nLOW=990\ncolour=blue\nPORT=COM12\n");
    s.COM = 12;
    settingSetFromProgram(SettingsLine::Port);
    EXPECT_EQ(encode(s), withByte(defaultText, 17, '9') + "PORT=COM12\nSEND=1\nLOW=990\ncolour=blue\n");
    // Every kept line, past byte 512 and after the program's own lines too.
    const std::string notes = std::string(380, 'y') + "\nshort=1\ntail=" + std::string(300, 't') + "\n";
    MonitorSettings full = decodeKeeping(defaultText + notes);
    full.NIGHT = 1;
    full.SENDTO = {0xC0A80AFF, 65535};
    EXPECT_EQ(encode(full), defaultText + "SENDTO=192.168.10.255:65535\nNIGHT=1\n" + notes);
    decode("");
}

// The Options dialog's settings and night colours: a line each while not at
// its default, in the table's order; a line out of range is kept as it stood.
TEST(SettingsText, OptionLinesStandOnlyOffTheirDefaultsAndOnlyInRange)
{
    MonitorSettings s = defaults();
    s.OFFSET = 12;
    s.HEIGHT = 372;
    s.WARN[0] = 25;
    s.LOW = 990;
    s.NIGHT = 1;
    EXPECT_EQ(encode(s), defaultText + "OFFSET=+1.2\nHEIGHT=372\nWARN=2.5,6.1,2.0\nLOW=990\nNIGHT=1\n");
    // Each line as the program writes it back: taken (upper case), or kept as it stood.
    for (const auto& [line, back] : std::vector<std::pair<std::string, std::string>>{
             {"offset=-0.5", "OFFSET=-0.5"}, {"offset=+20.0", "OFFSET=+20.0"}, {"offset = -20", "OFFSET=-20.0"},
             {"offset=1,5", "OFFSET=+1.5"}, {"offset=20.1", ""}, {"offset=1.25", ""}, {"offset=1.", ""},
             {"offset=+", ""}, {"height=1500", "HEIGHT=1500"}, {"height=1501", ""}, {"height=-1", ""},
             {"low=900", "LOW=900"}, {"low=1050", "LOW=1050"}, {"low=0", "-"}, {"low=899", ""}, {"low=1051", ""},
             {"warn=1.0,1.1,9.9", "WARN=1.0,1.1,9.9"}, {"warn = 9.9, 15.0, 1.0", "WARN=9.9,15.0,1.0"},
             {"warn=3.6,3.6,2.0", ""}, {"warn=3.6,15.1,2.0", ""}, {"warn=0.9,6.1,2.0", ""}, {"warn=3.6,6.1,10.0", ""},
             {"warn=3.6,6.1", ""}, {"warn=3.6,6.1,2.0,1.0", ""}, {"warn=3,6;6.1,2.0", ""}, {"night=1", "NIGHT=1"},
             {"night=2", ""}}) {
        MonitorSettings read = decodeKeeping(defaultText + line);
        EXPECT_EQ(encode(read), defaultText + (back == "-" ? "" : (back.empty() ? line : back) + "\n")) << line;
    }
    decode("");
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

    // The network input, read leniently; a malformed line leaves the serial port and is kept as it stood.
    const MonitorSettings udp = decode(defaultText + " source = udp:2000 \r\n");
    EXPECT_EQ(udp.SOURCE.kind, SourceKind::Udp);
    EXPECT_EQ(udp.SOURCE.udpPort, 2000);
    const MonitorSettings tcp = decode(defaultText + "SOURCE=Tcp:10.0.0.7:8880\n");
    EXPECT_EQ(tcp.SOURCE.kind, SourceKind::Tcp);
    EXPECT_EQ(tcp.SOURCE.tcpAddress, 0x0A000007u);
    EXPECT_EQ(tcp.SOURCE.tcpPort, 8880);
    for (const char* malformed : {"SOURCE=UDP:0", "SOURCE=UDP:65536", "SOURCE=UDP 10110", "SOURCE=TCP:10.0.0.7",
                                  "SOURCE=TCP:gateway.local:10110", "SOURCE=SERIAL", "SOURCE=TCP:1.2.3.4:0"}) {
        MonitorSettings kept = decodeKeeping(defaultText + malformed + "\n");
        EXPECT_EQ(kept.SOURCE.kind, SourceKind::Serial) << malformed;
        EXPECT_EQ(encode(kept), defaultText + malformed + "\n");
    }
    decode("");
}
