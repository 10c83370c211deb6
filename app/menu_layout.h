#pragma once
// The menu bar's commands, and its drop-downs and items in each language.
#include <string>
#include <vector>

#include "settings/monitor_settings.h"

// The menu commands of the main window, by identifier.
enum CommandId : unsigned {
    cmdPrintNmeaTable = 1002, cmdPrintChart = 1006, cmdQuit = 1008,                     // File
    cmdCheckRecordFile = 1102,                                                          // no menu item
    cmdEraseMonitorTxt = 1104, cmdEraseNmeaTxt = 1106, cmdCopyChart = 1108,             // Edit
    cmdToggleT1 = 1200, cmdToggleT3 = 1202, cmdShowHours = 1204, cmdShowWeek = 1206,    // View
    cmdNightColours = 1208,
    cmdAcknowledgeAlarm = 1210,
    cmdBarographMode = 1300, cmdNmeaMode = 1302,                                        // Setup
    cmdPortCom1 = 1306, cmdPortCom2 = 1308, cmdPortCom3 = 1310, cmdPortCom4 = 1320,
    cmdPortCom5 = 1340, cmdPortCom6 = 1360, cmdPortCom7 = 1594, cmdPortCom8 = 1595,
    cmdPortComBase = 1700,  // COMn from COM9 on is cmdPortComBase + n (1709..1956)
    cmdToggleUdp = 1650, cmdOptions = 1660,
    cmdNetworkSource = 1680,  // the greyed item naming a network source, after the ports
    cmdSaveOff = 1440, cmdSaveOn = 1460, cmdScale950 = 1596, cmdScale900 = 1597,
    cmdToggleSig = 1480, cmdToggleErr = 1500,
    cmdGerman = 1520, cmdEnglish = 1530, cmdFrench = 1540,
    cmdHelp = 1600, cmdAbout = 1610, cmdLinkCable = 1620, cmdDataFormats = 1630,        // Help
};

struct MenuEntry {
    unsigned id;       // 0 for a separator
    const char* text;  // Windows-1252; the UDP item's is a format with the port
};

struct DropDown {
    const char* title;
    std::vector<MenuEntry> entries;
};

// File, Edit, View, Setup and Help, in this order.
std::vector<DropDown> menuLayout(UiLanguage language);

// "Network: UDP port 10110", "Network: TCP 192.168.4.1:10110": the item of
// the network source of the settings.
std::string networkItemText(UiLanguage language);

// The command of each port COM1..COM256, by its number; 0 for another number.
unsigned portCommand(unsigned port);
// The port number of a port command, or 0 for any other command.
unsigned portOfCommand(unsigned command);

// An item's text as the program draws it at night: the words (with '&'
// before the Alt letter) and the key name after a tab, if any.
struct MenuItemText {
    std::string words, keyName;
};
MenuItemText splitMenuText(const char* text);

// The Alt letter of a text, the character after a single '&', in upper case;
// 0 when it has none ("&&" is an ampersand shown).
char menuAltLetter(const char* text);
