#include "app/menu_layout.h"

#include "app/commands.h"

namespace {

const unsigned portCommands[8] = {cmdPortCom1, cmdPortCom2, cmdPortCom3, cmdPortCom4,
                                  cmdPortCom5, cmdPortCom6, cmdPortCom7, cmdPortCom8};

const char* const germanPorts[8] = {
    "serielle Schnittstelle COM1 auswaehlen", "serielle Schnittstelle COM2 auswaehlen",
    "serielle Schnittstelle COM3 auswaehlen", "serielle Schnittstelle COM4 auswaehlen",
    "serielle Schnittstelle COM5 auswaehlen", "serielle Schnittstelle COM6 auswaehlen",
    "serielle Schnittstelle COM7 auswaehlen", "serielle Schnittstelle COM8 auswaehlen",
};
const char* const plainPorts[8] = {"COM1", "COM2", "COM3", "COM4", "COM5", "COM6", "COM7", "COM8"};

void addPorts(std::vector<MenuEntry>& entries, const char* const (&texts)[8])
{
    for (int i = 0; i < 8; ++i) entries.push_back({portCommands[i], texts[i]});
}

std::vector<DropDown> german()
{
    std::vector<MenuEntry> setup = {{cmdBarographMode, "TQ Daten"}, {cmdNmeaMode, "NMEA Daten"}, {0, ""}};
    addPorts(setup, germanPorts);
    setup.insert(setup.end(), {
        {0, ""},
        {cmdSaveOff, "Messdaten nicht aufzeichnen"},
        {cmdSaveOn, "Messdaten alle 5 Minuten auf Festplatte speichern"},
        {0, ""},
        {cmdScale950, "950..1050 hPa"},
        {cmdScale900, "900..1000 hPa"},
        {0, ""},
        {cmdToggleSig, "Signalton bei Aufzeichnung"},
        {cmdToggleErr, "Fehler in Datei monitor.err protokollieren"},
        {0, ""},
        {cmdGerman, "Deutsch"},
        {cmdEnglish, "English"},
        {cmdFrench, "Francais"},
    });
    return {
        {"&Datei",
         {{cmdPrintNmeaTable, "&NMEA-Daten als Tabelle ausdrucken"},
          {cmdPrintChart, "Messkurve &ausdrucken"},
          {cmdQuit, "&Beenden"}}},
        {"&Bearbeiten",
         {{cmdEraseMonitorTxt, "&Datei monitor.txt l\xF6schen"},
          {cmdEraseNmeaTxt, "&Datei nmea.txt l\xF6schen"}}},
        {"&Ansicht",
         {{cmdToggleT1, "Einstundentendenz anzeigen"}, {cmdToggleT3, "Dreistundentendenz anzeigen"}}},
        {"&Einstellungen", setup},
        {"&Hilfe",
         {{cmdHelp, "Hilfen zum Programm"},
          {cmdAbout, "Informationen zum Programm"},
          {cmdLinkCable, "Anschlusskabel"},
          {cmdDataFormats, "Informationen zu Datenformaten"}}},
    };
}

std::vector<DropDown> english()
{
    std::vector<MenuEntry> setup = {{cmdBarographMode, "Barograph TQ5108 data"}, {cmdNmeaMode, "NMEA data"}, {0, ""}};
    addPorts(setup, plainPorts);
    setup.insert(setup.end(), {
        {0, ""},
        {cmdSaveOff, "Do not save data"},
        {cmdSaveOn, "Save data every five minutes"},
        {0, ""},
        {cmdScale950, "950..1050 hPa"},
        {cmdScale900, "900..1000 hPa"},
        {0, ""},
        {cmdToggleErr, "Save errors in file monitor.err"},
        {0, ""},
        {cmdGerman, "Deutsch"},
        {cmdEnglish, "English"},
        {cmdFrench, "Francais"},
    });
    return {
        {"&File", {{cmdPrintNmeaTable, "Print &NMEA data"}, {cmdPrintChart, "Print data"}, {cmdQuit, "&Quit"}}},
        {"&Edit",
         {{cmdEraseMonitorTxt, "Erase file &monitor.txt"}, {cmdEraseNmeaTxt, "Erase file &nmea.txt"}}},
        {"&View", {{cmdToggleT1, "Show one hour tendency"}, {cmdToggleT3, "Show three hours tendency"}}},
        {"&Setup", setup},
        {"&Help",
         {{cmdHelp, "Help using this program"},
          {cmdAbout, "About this program"},
          {cmdLinkCable, "Link cable"},
          {cmdDataFormats, "Info data"}}},
    };
}

std::vector<DropDown> french()
{
    std::vector<MenuEntry> setup = {{cmdBarographMode, "Barographe TQ5108"}, {cmdNmeaMode, "NMEA"}, {0, ""}};
    addPorts(setup, plainPorts);
    setup.insert(setup.end(), {
        {0, ""},
        {cmdSaveOff, "Ne pas sauver les donnees"},
        {cmdSaveOn, "Sauver les donnees toutes les cinq minutes sur disque"},
        {0, ""},
        {cmdScale950, "950..1050 hPa"},
        {cmdScale900, "900..1000 hPa"},
        {0, ""},
        {cmdGerman, "Deutsch"},
        {cmdEnglish, "English"},
        {cmdFrench, "Francais"},
    });
    return {
        {"&Fichier",
         {{cmdPrintNmeaTable, "Imprimer les donnees &NMEA"},
          {cmdPrintChart, "Imprimer donnees du barographe"},
          {cmdQuit, "&Quitter"}}},
        {"&Modifier",
         {{cmdEraseMonitorTxt, "Effacer fichier monitor.txt"}, {cmdEraseNmeaTxt, "Effacer fichier nmea.txt"}}},
        {"&Vue", {{cmdToggleT1, "Montrer tendence une heure"}, {cmdToggleT3, "Montrer tendence trois heures"}}},
        {"&Options", setup},
        {"&Aide",
         {{cmdHelp, "Aide"},
          {cmdAbout, "A propos de ce logiciel"},
          {cmdLinkCable, "Cable de liaison"},
          {cmdDataFormats, "Info fichiers"}}},
    };
}

} // namespace

std::vector<DropDown> menuLayout(UiLanguage language)
{
    if (language == English) return english();
    if (language == French) return french();
    return german();
}

unsigned portCommand(char portDigit)
{
    if (portDigit < '1' || portDigit > '8') return 0;
    return portCommands[portDigit - '1'];
}

char portDigitOf(unsigned command)
{
    for (int i = 0; i < 8; ++i)
        if (portCommands[i] == command) return static_cast<char>('1' + i);
    return 0;
}
