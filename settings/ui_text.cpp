#include "settings/ui_text.h"

#include "settings/table_order.h"

namespace {

struct TextRow { TextId id; const char* text[3]; };

// A text with the same bytes in every language.
#define SAME(text) {text, text, text}

// One row per TextId, in its order, tagged with it; columns German, English, French.
// \xFC u-umlaut, \xE4 a-umlaut, \xF6 o-umlaut, \xDF sharp s, \xE9 e-acute, \xEA e-circumflex, \xFB u-circumflex.
constexpr TextRow uiTexts[textCount] = {
    {txtMenuFile, {"&Datei", "&File", "&Fichier"}},
    {txtMenuEdit, {"&Bearbeiten", "&Edit", "&Modifier"}},
    {txtMenuView, {"&Ansicht", "&View", "&Vue"}},
    {txtMenuSetup, {"&Einstellungen", "&Setup", "&Options"}},
    {txtMenuHelp, {"&Hilfe", "&Help", "&Aide"}},
    {txtItemPrintNmeaTable, {"&NMEA-Daten als Tabelle ausdrucken", "Print &NMEA data", "Imprimer les donnees &NMEA"}},
    {txtItemPrintChart, {"Messkurve &ausdrucken", "Print data", "Imprimer donnees du barographe"}},
    {txtItemQuit, {"&Beenden", "&Quit", "&Quitter"}},
    {txtItemEraseMonitorTxt, {"&Datei monitor.txt l\xF6schen", "Erase file &monitor.txt",
     "Effacer fichier monitor.txt"}},
    {txtItemEraseNmeaTxt, {"&Datei nmea.txt l\xF6schen", "Erase file &nmea.txt", "Effacer fichier nmea.txt"}},
    {txtItemCopyChart, {"Diagramm kopieren\tStrg+C", "Copy chart\tCtrl+C", "Copier le diagramme\tCtrl+C"}},
    {txtItemShowT1, {"Einstundentendenz anzeigen", "Show one hour tendency", "Montrer tendence une heure"}},
    {txtItemShowT3, {"Dreistundentendenz anzeigen", "Show three hours tendency", "Montrer tendence trois heures"}},
    {txtItemHoursView, {"Barogramm 52 Stunden", "Barogram 52 hours", "Barogramme 52 heures"}},
    {txtItemWeekView, {"Barogramm 7 Tage", "Barogram 7 days", "Barogramme 7 jours"}},
    {txtItemNightColours, {"Nachtfarben\tStrg+N", "Night colours\tCtrl+N", "Couleurs de nuit\tCtrl+N"}},
    {txtItemAcknowledgeAlarm, {"Sturmalarm quittieren", "Acknowledge wind alarm", "Acquitter l'alarme de vent"}},
    {txtItemBarographMode, {"TQ Daten", "Barograph TQ5108 data", "Barographe TQ5108"}},
    {txtItemNmeaMode, {"NMEA Daten", "NMEA data", "NMEA"}},
    {txtItemCom1, {"serielle Schnittstelle COM1 auswaehlen", "COM1", "COM1"}},
    {txtItemCom2, {"serielle Schnittstelle COM2 auswaehlen", "COM2", "COM2"}},
    {txtItemCom3, {"serielle Schnittstelle COM3 auswaehlen", "COM3", "COM3"}},
    {txtItemCom4, {"serielle Schnittstelle COM4 auswaehlen", "COM4", "COM4"}},
    {txtItemCom5, {"serielle Schnittstelle COM5 auswaehlen", "COM5", "COM5"}},
    {txtItemCom6, {"serielle Schnittstelle COM6 auswaehlen", "COM6", "COM6"}},
    {txtItemCom7, {"serielle Schnittstelle COM7 auswaehlen", "COM7", "COM7"}},
    {txtItemCom8, {"serielle Schnittstelle COM8 auswaehlen", "COM8", "COM8"}},
    {txtItemComFormat, {"serielle Schnittstelle COM%u auswaehlen", "COM%u", "COM%u"}},
    {txtItemSendUdp, {"Messwerte per UDP senden (Port %u)", "Send readings over UDP (port %u)",
                      "Envoyer les mesures par UDP (port %u)"}},
    {txtItemOptions, {"Optionen...", "Options...", "Reglages..."}},
    {txtItemSaveOff, {"Messdaten nicht aufzeichnen", "Do not save data", "Ne pas sauver les donnees"}},
    {txtItemSaveOn, {"Messdaten alle 5 Minuten auf Festplatte speichern", "Save data every five minutes",
     "Sauver les donnees toutes les cinq minutes sur disque"}},
    {txtItemScale950, SAME("950..1050 hPa")},
    {txtItemScale900, SAME("900..1000 hPa")},
    {txtItemBeep, SAME("Signalton bei Aufzeichnung")},  // German menu only
    {txtItemErrorLog, {"Fehler in Datei monitor.err protokollieren", "Save errors in file monitor.err",
     "Save errors in file monitor.err"}},  // not in the French menu
    {txtItemGerman, SAME("Deutsch")},
    {txtItemEnglish, SAME("English")},
    {txtItemFrench, SAME("Francais")},
    {txtItemHelp, {"Hilfen zum Programm", "Help using this program", "Aide"}},
    {txtItemAbout, {"Informationen zum Programm", "About this program", "A propos de ce logiciel"}},
    {txtItemLinkCable, {"Anschlusskabel", "Link cable", "Cable de liaison"}},
    {txtItemDataFormats, {"Informationen zu Datenformaten", "Info data", "Info fichiers"}},

    {txtHelpCaption, {"Hilfen zu diesem Programm", "Help", "Aide"}},
    {txtHelpText, {"Dieses Programm speichert die Daten des Barographen TQ5108 auf der Festplatte,\n"
     "damit der Luftdruck \xFC" "ber l\xE4ngere Zeit verfolgt werden kann.\n"
     "Die Daten k\xF6nnen ausgedruckt werden. Beliebige NMEA-Datens\xE4tze k\xF6nnen\n"
     "ebenfalls aufgezeichnet werden.\n\n"
     "Systemvoraussetzung: Windows 95 oder neuer\n"
     "Serielles Kabel (RS232) zum Barographen oder zu einem NMEA-Ger\xE4t\n\n"
     "Datenspeicherung: monitor.txt oder nmea.txt\n\n"
     "Baudrate: 4800 Bd / 8 bit / 1 stopbit / no parity (NMEA 183 kompatibel)\n\n"
     "Bezugsquelle des Barographen:\n"
     "siehe den Lieferanten im Handbuch des Barographen\n"
     "(Anschrift, Telefon, Fax und Webseite stehen dort)",
     "This program stores the data of the barograph TQ5108 on the hard disk,\n"
     "so that the air pressure can be followed over a longer time.\n"
     "The data can be printed. Any NMEA sentences can be recorded as well.\n\n"
     "System running under Windows 95,98,ME or XP\n"
     "Serial (RS232) cable to the barograph or to a device sending NMEA sentences\n\n"
     "Data will be saved in file monitor.txt or nmea.txt\n\n"
     "Baudrate: 4800 Bd / 8 bit / 1 stopbit / no parity (NMEA 183 compatible)\n\n"
     "Where to get the barograph:\n"
     "ask the supplier named in the barograph's manual\n"
     "(address, telephone, fax and web page are given there)",
     "Ce logiciel enregistre les donnees du barographe TQ5108 sur le disque dur,\n"
     "pour suivre la pression atmospherique sur une longue duree.\n"
     "Les donnees peuvent etre imprimees. Toute phrase NMEA peut aussi etre enregistree.\n\n"
     "Systeme: Windows 95 ou plus recent\n"
     "Cable serie (RS232) vers le barographe ou vers un appareil NMEA\n\n"
     "Fichier: monitor.txt ou nmea.txt\n\n"
     "Baudrate: 4800 Bd / 8 bit / 1 stopbit / no parity (NMEA 183 compatible)\n\n"
     "Ou acheter le barographe:\n"
     "voir le fournisseur indique dans le manuel du barographe\n"
     "(adresse, telephone, fax et page web)"}},
    {txtAboutCaption, {"Informationen \xFC" "ber dieses Programm", "About this program", "Info logiciel monitor.exe"}},
    // No maker is named: the contact block keeps the shape of an address.
    {txtAboutFormat, {"Zudoderozezavedi\nVersion %s vom %s\n\n"
     "Projekt Barograph-Monitor\nkeine Postanschrift\nkein Land\nTel./Fax: keine\n"
     "E-Mail: siehe die Fehlerliste des Projekts\nWeb: siehe die Homepage des Projekts",
     "Air pressure monitor for barograph TQ5108\nVersion %s date %s\n\n"
     "Barograph monitor project\nno postal address\nno country\nTel./Fax: none\n"
     "E-mail: see the project's issue tracker\nWeb: see the project's home page",
     "Moniteur barographe TQ5108\nVersion %s du %s\n\n"
     "Projet Barograph Monitor\npas d'adresse postale\npas de pays\nTel./Fax: aucun\n"
     "E-mail: voir le suivi des demandes du projet\nWeb: voir la page d'accueil du projet"}},
    {txtLinkCableCaption, {"Anschlusskabel", "Link cable info", "Cable"}},
    {txtLinkCableText, {"Datenkabel:\n\n"
     "Es kann ein Kabel mit oder ohne Optokoppler verwendet werden.\n"
     "Solche Kabel sind beim Lieferanten des Barographen erh\xE4ltlich.\n\n"
     "NMEA-Ger\xE4te mit 0/5V-Ausgang sollten mit einem m\xF6glichst kurzen\n"
     "Kabel an eine freie COM-Schnittstelle angeschlossen werden.\n\n"
     "NMEA-Signalpegel sind nicht ganz kompatibel mit RS232/V24\n"
     "gew\xF6hnlicher PCs (0/+5V statt -15/+15V).\n"
     "Mit kurzen Kabeln funktioniert die Verbindung normalerweise.\n\n"
     "Weitere Informationen: siehe die Webseite im Handbuch des Barographen.",
     "Data link cable:\n\n"
     "You may use cable with or without optoisolator.\n\n"
     "NMEA devices with 0/5V output should be connected to a free COM\n"
     "port using a cable as short as possible.\n\n"
     "NMEA-signallevels are not completely compatible with RS232/V24\n"
     "used by ordinary personal computers. (0/+5V instead of -15/+15V).\n\n"
     "More information: see the web page named in the barograph's manual.",
     "Cable de liaison:\n\n"
     "Utilisez de preference le cable fourni avec le barographe,\n"
     "avec ou sans optocoupleur.\n\n"
     "Les appareils NMEA a sortie 0/5V doivent etre relies a une porte COM\n"
     "libre par un cable aussi court que possible.\n\n"
     "Les niveaux NMEA ne sont pas entierement compatibles avec RS232/V24\n"
     "des ordinateurs personnels (0/+5V au lieu de -15/+15V).\n"
     "Avec un cable court la liaison fonctionne normalement.\n\n"
     "Plus d'informations: voir la page web indiquee dans le manuel du barographe."}},
    {txtDataFormatsCaption, {"Datenformate", "Data formats", "Formats des donnees"}},
    {txtDataFormatsText, {"NMEA Datenformat:\n(sek\xFCndlich vom Barographen TQ5108 gesendet)\n\nBeispiel:\n\n"
     "$PXDR,0998.60,52684,+01.2,+03.5,-0300,0995.40<CR><LF>\n"
     "$PXDR:     Kennung\n"
     "0998.60:   aktueller Luftdruck in hPa (Mittelwert der letzten Minute)\n"
     "52684:     A/D-Wandlerwert des aktuellen Luftdrucks (obere 16 Bit)\n"
     "+01.2:     Tendenz der letzten Stunde (hPa)\n"
     "+03.5:     Tendenz der letzten drei Stunden (hPa)\n"
     "-0300:     vor 300 Minuten = 5 Stunden (Zeitz\xE4hler, wechselt jede Sekunde)\n"
     "0995.40:   Luftdruck vor 300 Minuten\n\n"
     "Der Luftdruck wird gleichzeitig in einem zweiten Datensatz gesendet,\n"
     "den g\xE4ngige Navigationsprogramme verstehen:\n"
     "$WIXDR,P,0.9986,B<CR><LF>\n\n"
     "Datenformat monitor.txt:\nBeispiel:\n"
     "000020 28.12.2003 21:00 0988,10 hPa +01,8 hPa/hr +05,2 hPa/3h 00,0 hPa/h var 0 \n"
     "1. Z\xE4hler\n2. Datum\n3. Uhrzeit\n4. Luftdruck in hPa (Mittelwert der letzten 60 Sekunden)\n"
     "5. Tendenz der letzten Stunde\n6. Tendenz der letzten drei Stunden\n"
     "7. gr\xF6\xDFte Druckschwankung der letzten f\xFCnf Minuten \n8. Windalarm 0 oder 1 ",
     "NMEA data sent every second by TQ5108 barograph:\n\nExample:\n\n"
     "$PXDR,0998.60,52684,+01.2,+03.5,-0300,0995.40<CR><LF>\n"
     "$PXDR:     header\n"
     "0998.60:   actual air pressure in hPa (mean value over last minute)\n"
     "52684:     A/D converter value of actual air pressure (highest 16 bit)\n"
     "+01.2:     Tendency last hour (hPa)\n"
     "+03.5:     Tendency last three hours (hPa)\n"
     "-0300:     -300 minutes = 5 hours ago (time-counter changing every second)\n"
     "0995.40:   air pressure observed 300 minutes ago\n\n"
     "The pressure is sent at the same time in a second sentence\n"
     "understood by common navigation programs:\n"
     "$WIXDR,P,0.9986,B<CR><LF>\n\n"
     "Data format monitor.txt:\nExample:\n"
     "000020 28.12.2003 21:00 0988,10 hPa +01,8 hPa/hr +05,2 hPa/3h 00,0 hPa/h var 0 \n"
     "1. Counter\n2. Data\n3. time\n4. air pressure in hPa (mean value last 60 seconds)\n"
     "5. Tendency last hour\n6. Tendency last three hours\n"
     "7. max. pressure variations during last five minutes \n8. Windalarm 0 or 1 ",
     "Format des donnees NMEA (1 fois/seconde):\n\nExemple:\n\n"
     "$PXDR,0998.60,52684,+01.2,+03.5,-0300,0995.40<CR><LF>\n"
     "$PXDR:     en-tete\n"
     "0998.60:   pression actuelle en hPa (moyenne de la derniere minute)\n"
     "52684:     valeur du convertisseur A/D (16 bits de poids fort)\n"
     "+01.2:     tendance derniere heure (hPa)\n"
     "+03.5:     tendance trois dernieres heures (hPa)\n"
     "-0300:     -300 minutes = il y a 5 heures (compteur change chaque seconde)\n"
     "0995.40:   pression observee il y a 300 minutes\n\n"
     "La pression est envoyee en meme temps dans une seconde phrase\n"
     "comprise par les logiciels de navigation courants:\n"
     "$WIXDR,P,0.9986,B<CR><LF>\n\n"
     "Format du fichier monitor.txt:\nExemple:\n"
     "000020 28.12.2003 21:00 0988,10 hPa +01,8 hPa/hr +05,2 hPa/3h 00,0 hPa/h var 0 \n"
     "1. Compteur\n2. Date\n3. Heure\n4. pression en hPa (moyenne des 60 dernieres secondes)\n"
     "5. Tendance derniere heure\n6. Tendance trois dernieres heures\n"
     "7. variation max. de pression des cinq dernieres minutes \n8. Alarme vent 0 ou 1 "}},

    {txtFirstWindowTitle, SAME("Zudoderozezavedi TQ5108")},
    {txtBarographTitle, {"Zudoderozezavedi Verbindung \xFC" "ber %s", "Air pressure monitor link: %s",
     "Moniteur pression atmospherique %s"}},
    {txtNmeaTitle, {"NMEA Monitor  Verbindung \xFC" "ber %s", "NMEA monitor using %s",
     "Moniteur NMEA liaison %s"}},
    {txtLiveBarographTitle, {"Zudoderozezavedi %u %02d:%02d %6.1f hPa %+4.1f hPa/Std %+4.1f hPa/3Std (- %uh)",
     "Air pressure monitor %u %02d:%02d %6.1f hPa %+4.1f hPa/hr %+4.1f hPa/3hrs (- %uhr)",
     "Pression atmospherique %u %02d:%02d %6.1f hPa %+4.1f hPa/hr %+4.1f hPa/3hrs (- %uhr)"}},
    {txtNmeaCountTitle, {"%u NMEA - Datens\xE4" "tze ", "%u NMEA - records ", "%u NMEA "}},

    {txtEraseRefused, {"Die Datei %s kann nicht gel\xF6scht werden: ein anderes Programm h\xE4lt sie offen, "
     "oder sie ist schreibgesch\xFCtzt.\nEs wurde nichts ver\xE4ndert.",
     "The file %s cannot be erased: another program holds it open, or it is read-only.\n"
     "Nothing has been changed.",
     "Le fichier %s ne peut pas \xEAtre effac\xE9 : un autre programme le tient ouvert, "
     "ou il est en lecture seule.\nRien n'a \xE9t\xE9 modifi\xE9."}},
    {txtEraseRefusedCaption, {"Datei l\xF6schen", "Erase file", "Effacer le fichier"}},
    {txtDiskSpaceLow, {"Warnung: nicht ausreichend Speicherplatz\noder kein Speicherndes Laufwerk !",
     "Warning: not enough free space on disk\nor not a saving device !",
     "Pas assez de place sur ce disque\nou autre erreur !"}},
    {txtDiskSpaceLowCaption, {"Fehler", "Disk error", "errur disque"}},
    {txtFatalMessage, {"%02d.%02d.%4d %02d:%02d\nFehler Nr. %03d\nProgramm wird beendet",
     "%02d.%02d.%4d %02d:%02d\nerror nr. %03d\nprogram end",
     "%02d.%02d.%4d %02d:%02d\nerreur nr. %03d\nprogramme termine"}},
    {txtFatalCaption, {"Fehler", "error", "erreur"}},
    {txtPortUnavailable, {"Fehler: Schnittstelle %s steht nicht zur Verf\xFCgung !", "error: port %s not available !",
     "porte serielle %s pas disponible !"}},
    {txtPortCaption, {"serielle Schnittstelle", "Com port error", "erreur porte serielle"}},
    {txtPrintNoPrinter, {"Fehler beim Drucken", "error printing", "erreur imprimer"}},
    {txtPrintRefused, {"Fehler beim Drucken", "error printing", "eurreur imprimer"}},
    {txtPrintCaption, {"Drucker", "Printer", "Imprimer"}},

    {txtCheckWriteTmp, SAME("error writing monitor.tmp")},
    {txtCheckReadTxt, SAME("error reading monitor.txt")},
    {txtCheckWriteBak, SAME("error writing monitor.bak")},
    {txtCheckWriteTxt, SAME("error writing monitor.txt")},
    {txtCheckWriteCaption, SAME("write data")},
    {txtCheckReadCaption, SAME("read data")},
    {txtCheckNoRecords, SAME("No records read\nno errors can be found")},
    {txtCheckCaption, SAME("Data check")},
    {txtCheckSummary, SAME("%lu records read\n%u recordings\n%u errors found\n%u errors corrected")},

    {txtLegendPressure, {"Luftdruck", "air pressure", "press. atmo."}},
    {txtLegendTendency1h, {"1 Std Tendenz", "1 hr tendency", "tendence 1 hr"}},
    {txtLegendTendency3h, {"3 Std Tendenz", "3 hrs tendency", "tendence 3 hr"}},
    {txtDocumentName, SAME("Zudoderozezavedi Druckjob")},
    {txtPrintedChartTitle, SAME("Zudoderozezavedi Messdaten")},
    {txtPrintedNmeaHeading, SAME("NMEA Daten")},

    {txtBannerWindWarning, {"Sturmwarnung: Luftdruck f\xE4llt schnell", "Wind warning: pressure falling quickly",
     "Avis de vent : pression en baisse rapide"}},
    {txtBannerGaleAlarm, {"Sturmalarm: Luftdruck f\xE4llt sehr schnell", "Gale alarm: pressure falling very rapidly",
     "Alarme coup de vent : pression en chute tres rapide"}},
    {txtBannerDetails, {"%+.1f hPa/Std  %+.1f hPa/3Std  seit %02d:%02d UTC",
     "%+.1f hPa/hr  %+.1f hPa/3hrs  since %02d:%02d UTC", "%+.1f hPa/hr  %+.1f hPa/3hrs  depuis %02d:%02d UTC"}},
    {txtBannerNoData, {"Keine Daten seit %02d:%02d UTC", "No data since %02d:%02d UTC",
     "Pas de donnees depuis %02d:%02d UTC"}},

    {txtWeekdayNames, {"So Mo Di Mi Do Fr Sa", "Sun Mon Tue Wed Thu Fri Sat", "dim. lun. mar. mer. jeu. ven. sam."}},
    {txtMonthNames, {"Jan Feb M\xE4r Apr Mai Jun Jul Aug Sep Okt Nov Dez",
     "Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec",
     "janv. f\xE9vr. mars avr. mai juin juil. ao\xFBt sept. oct. nov. d\xE9" "c."}},
    {txtWeekEmpty, {"Keine Aufzeichnungen in den letzten 7 Tagen", "No records in the last 7 days",
     "Pas d'enregistrements depuis 7 jours"}},
    {txtPrintedWeekTitle, SAME("Barogramm")},

    {txtOptionsCaption, {"Optionen", "Options", "Reglages"}},
    {txtOptionsOk, SAME("OK")},
    {txtOptionsCancel, {"Abbrechen", "Cancel", "Annuler"}},
    {txtGroupPressure, {"Luftdruck", "Pressure", "Pression"}},
    {txtFieldCorrection, {"&Korrektur des Barographen (hPa)", "Barograph &correction (hPa)",
     "&Correction du barographe (hPa)"}},
    {txtFieldHeight, {"&Hoehe ueber dem Meer (m)", "&Height above sea level (m)", "&Altitude (m)"}},
    {txtGroupStormWarning, {"Sturmwarnung", "Storm warning", "Avis de tempete"}},
    {txtFieldWarning3h, {"&Warnung bei Fall in 3 Std (hPa)", "&Warning at a 3-hour fall of (hPa)",
     "A&vis pour une baisse en 3 h de (hPa)"}},
    {txtFieldGale3h, {"&Alarm bei Fall in 3 Std (hPa)", "&Gale alarm at a 3-hour fall of (hPa)",
     "Alar&me pour une baisse en 3 h de (hPa)"}},
    {txtFieldGale1h, {"oder in &1 Std (hPa)", "or in &1 hour (hPa)", "ou en &1 h de (hPa)"}},
    {txtFieldLowLimit, {"Alarm &unter (hPa, 0 = aus)", "Alarm &below (hPa, 0 = off)",
     "Alarme au-&dessous de (hPa, 0 = arret)"}},
    {txtGroupSending, {"Messwerte senden", "Sending readings", "Envoi des mesures"}},
    {txtFieldSend, {"Messwerte per UDP &senden", "&Send readings over UDP", "&Envoyer les mesures par UDP"}},
    {txtFieldAddress, {"An A&dresse", "To a&ddress", "A l'ad&resse"}},
    {txtFieldPort, SAME("&Port")},
    {txtGroupSignalK, SAME("Signal K")},
    {txtFieldSignalK, {"&Alarme und Messwerte an Signal K senden", "Send alarms and readings to Signal &K",
     "Envoyer alarmes et mesures a Signal &K"}},
    {txtFieldSignalKAddress, {"Ser&ver-Adresse", "Ser&ver address", "Adresse du ser&veur"}},
    {txtFieldSignalKPort, {"Server-P&ort", "Server p&ort", "P&ort du serveur"}},
    {txtRangeFormat, {"%s: %s bis %s%s", "%s: %s to %s%s", "%s : %s a %s%s"}},
    {txtRangeOrZeroFormat, {"%s: 0 oder %s bis %s%s", "%s: 0 or %s to %s%s", "%s : 0 ou %s a %s%s"}},
    {txtAddressFormat, {"%s: a.b.c.d, jede Zahl 0 bis 255", "%s: a.b.c.d, each number 0 to 255",
     "%s : a.b.c.d, chaque nombre 0 a 255"}},
    {txtBannerLowPressure, {"Luftdruck unter %u hPa", "Pressure below %u hPa", "Pression inferieure a %u hPa"}},
    {txtCorrectionInForce, {"Korrektur %s hPa, %u m", "correction %s hPa, %u m", "correction %s hPa, %u m"}},
    {txtSettingsUnreadableKept,
     {"Die Einstellungen in monitor.ini k\xF6nnen nicht gelesen werden: ein anderes Programm h\xE4lt die Datei "
      "offen, sie ist nicht lesbar, oder sie ist l\xE4nger als 64 KB.\nDas Programm l\xE4uft mit den "
      "Standardeinstellungen und l\xE4sst monitor.ini unver\xE4ndert: was Sie jetzt einstellen, wird nicht "
      "gespeichert. Starten Sie das Programm neu, wenn die Datei wieder frei ist.",
      "The settings in monitor.ini cannot be read: another program holds the file open, it is not readable, "
      "or it is longer than 64 KB.\nThe program runs with the default settings and leaves monitor.ini as it is: "
      "what you set now is not saved. Start the program again once the file is free.",
      "Les r\xE9glages de monitor.ini ne peuvent pas \xEAtre lus : un autre programme tient le fichier ouvert, "
      "il n'est pas lisible, ou il d\xE9passe 64 Ko.\nLe programme utilise les r\xE9glages par d\xE9" "faut et "
      "laisse monitor.ini tel quel : ce que vous r\xE9glez maintenant n'est pas enregistr\xE9. Relancez le "
      "programme quand le fichier est libre."}},
    {txtSettingsDamagedKept,
     {"monitor.ini ist keine Einstellungsdatei mehr und kann nicht beiseitegelegt werden: monitor.ini.bad bis "
      "monitor.ini.bad9 gibt es schon, oder sie lassen sich nicht anlegen.\nDas Programm l\xE4uft mit den "
      "Standardeinstellungen und l\xE4sst monitor.ini unver\xE4ndert: was Sie jetzt einstellen, wird nicht "
      "gespeichert.",
      "monitor.ini is no longer a settings file and cannot be put aside: monitor.ini.bad to monitor.ini.bad9 "
      "exist already, or cannot be made.\nThe program runs with the default settings and leaves monitor.ini as "
      "it is: what you set now is not saved.",
      "monitor.ini n'est plus un fichier de r\xE9glages et ne peut pas \xEAtre mis de c\xF4t\xE9 : "
      "monitor.ini.bad \xE0 monitor.ini.bad9 existent d\xE9j\xE0, ou ne peuvent pas \xEAtre cr\xE9\xE9s.\nLe "
      "programme utilise les r\xE9glages par d\xE9" "faut et laisse monitor.ini tel quel : ce que vous r\xE9glez "
      "maintenant n'est pas enregistr\xE9."}},
    {txtSettingsKeptCaption, {"Einstellungen", "Settings", "R\xE9glages"}},
    {txtGroupReceiving, {"Empfang", "Receiving", "Reception"}},
    {txtFieldSourceSerial, {"&Serielle Schnittstelle (Menue Einstellungen)", "&Serial port (Setup menu)",
     "Port &serie (menu Reglages)"}},
    {txtFieldSourceUdp, {"&UDP, Port", "&UDP, port", "&UDP, port"}},
    {txtFieldSourceTcp, {"&TCP, Adresse", "&TCP, address", "&TCP, adresse"}},
    {txtFieldSourceTcpPort, SAME("P&ort")},
    {txtItemNetworkUdp, {"Netzwerk: UDP-Port %u", "Network: UDP port %u", "Reseau : port UDP %u"}},
    {txtItemNetworkTcp, {"Netzwerk: TCP %s", "Network: TCP %s", "Reseau : TCP %s"}},
    {txtUdpPortHeld, {"Der UDP-Port %u ist von einem anderen Programm belegt.\n"
     "Beenden Sie das andere Programm, stellen Sie es so ein, dass es den Port teilt, oder w\xE4hlen Sie unter "
     "Einstellungen > Optionen einen anderen Port.\nDer Empfang beginnt von selbst, sobald der Port frei ist.",
     "UDP port %u is held by another program.\n"
     "Close that program, set it to share the port, or choose another port under Setup > Options.\n"
     "Reception starts by itself once the port is free.",
     "Le port UDP %u est occup\xE9 par un autre programme.\n"
     "Fermez cet autre programme, r\xE9glez-le pour partager le port, ou choisissez un autre port dans "
     "Options > Reglages.\nLa r\xE9" "ception commence d'elle-m\xEAme d\xE8s que le port est libre."}},
    {txtNetworkCaption, {"Netzwerk", "Network", "Reseau"}},
};
static_assert(firstRowOutOfPlace(uiTexts) == textCount,
              "a row out of place: the first number below is the first row that does not carry its own TextId");

#undef SAME

} // namespace

const char* uiText(TextId id, UiLanguage language)
{
    return uiTexts[id].text[language];
}
