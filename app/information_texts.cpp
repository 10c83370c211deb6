#include "app/information_texts.h"

#include <cstdio>
#include <cstring>

namespace {

// The n-th run of digits in a text, as a number.
constexpr unsigned digitRun(const char* text, int n)
{
    unsigned value = 0;
    int run = -1;
    bool inRun = false;
    for (; *text; ++text) {
        bool digit = *text >= '0' && *text <= '9';
        if (digit && !inRun) ++run;
        inRun = digit;
        if (digit && run == n) value = value * 10 + unsigned(*text - '0');
    }
    return value;
}

// The version resource carries the version as numbers: they must say what the text says.
constexpr unsigned versionNumbers[] = {PROGRAM_VERSION_NUMBERS};
static_assert(digitRun(PROGRAM_VERSION_TEXT, 0) == versionNumbers[0] &&
                  digitRun(PROGRAM_VERSION_TEXT, 1) == versionNumbers[1],
              "PROGRAM_VERSION_NUMBERS do not match PROGRAM_VERSION_TEXT");

} // namespace

// Windows-1252: \xFC u-umlaut, \xE4 a-umlaut, \xF6 o-umlaut, \xDF sharp s,
// \xE9 e-acute, \xE8 e-grave, \xE0 a-grave.

InformationText helpText(UiLanguage language)
{
    switch (language) {
    case English:
        return {"Help",
                "This program stores the data of the barograph TQ5108 on the hard disk,\n"
                "so that the air pressure can be followed over a longer time.\n"
                "The data can be printed. Any NMEA sentences can be recorded as well.\n\n"
                "System running under Windows 95,98,ME or XP\n"
                "Serial (RS232) cable to the barograph or to a device sending NMEA sentences\n\n"
                "Data will be saved in file monitor.txt or nmea.txt\n\n"
                "Baudrate: 4800 Bd / 8 bit / 1 stopbit / no parity (NMEA 183 compatible)\n\n"
                "Where to get the barograph:\n"
                "ask the supplier named in the barograph's manual\n"
                "(address, telephone, fax and web page are given there)"};
    case French:
        return {"Aide",
                "Ce logiciel enregistre les donnees du barographe TQ5108 sur le disque dur,\n"
                "pour suivre la pression atmospherique sur une longue duree.\n"
                "Les donnees peuvent etre imprimees. Toute phrase NMEA peut aussi etre enregistree.\n\n"
                "Systeme: Windows 95 ou plus recent\n"
                "Cable serie (RS232) vers le barographe ou vers un appareil NMEA\n\n"
                "Fichier: monitor.txt ou nmea.txt\n\n"
                "Baudrate: 4800 Bd / 8 bit / 1 stopbit / no parity (NMEA 183 compatible)\n\n"
                "Ou acheter le barographe:\n"
                "voir le fournisseur indique dans le manuel du barographe\n"
                "(adresse, telephone, fax et page web)"};
    default:
        return {"Hilfen zu diesem Programm",
                "Dieses Programm speichert die Daten des Barographen TQ5108 auf der Festplatte,\n"
                "damit der Luftdruck \xFC" "ber l\xE4ngere Zeit verfolgt werden kann.\n"
                "Die Daten k\xF6nnen ausgedruckt werden. Beliebige NMEA-Datens\xE4tze k\xF6nnen\n"
                "ebenfalls aufgezeichnet werden.\n\n"
                "Systemvoraussetzung: Windows 95 oder neuer\n"
                "Serielles Kabel (RS232) zum Barographen oder zu einem NMEA-Ger\xE4t\n\n"
                "Datenspeicherung: monitor.txt oder nmea.txt\n\n"
                "Baudrate: 4800 Bd / 8 bit / 1 stopbit / no parity (NMEA 183 kompatibel)\n\n"
                "Bezugsquelle des Barographen:\n"
                "siehe den Lieferanten im Handbuch des Barographen\n"
                "(Anschrift, Telefon, Fax und Webseite stehen dort)"};
    }
}

// No maker is named: the contact block keeps the shape of an address, in
// the language of the window around it.
#define ABOUT_CONTACT_EN                                                                      \
    "\n\nBarograph monitor project\n"                                                        \
    "no postal address\n"                                                                     \
    "no country\n"                                                                            \
    "Tel./Fax: none\n"                                                                        \
    "E-mail: see the project's issue tracker\n"                                               \
    "Web: see the project's home page"
#define ABOUT_CONTACT_DE                                                                      \
    "\n\nProjekt Barograph-Monitor\n"                                                        \
    "keine Postanschrift\n"                                                                   \
    "kein Land\n"                                                                             \
    "Tel./Fax: keine\n"                                                                       \
    "E-Mail: siehe die Fehlerliste des Projekts\n"                                            \
    "Web: siehe die Homepage des Projekts"
#define ABOUT_CONTACT_FR                                                                      \
    "\n\nProjet Barograph Monitor\n"                                                         \
    "pas d'adresse postale\n"                                                                 \
    "pas de pays\n"                                                                           \
    "Tel./Fax: aucun\n"                                                                       \
    "E-mail: voir le suivi des demandes du projet\n"                                          \
    "Web: voir la page d'accueil du projet"

InformationText aboutText(UiLanguage language)
{
    switch (language) {
    case English:
        return {"About this program", "Air pressure monitor for barograph TQ5108\nVersion %s date %s" ABOUT_CONTACT_EN};
    case French:
        return {"Info logiciel monitor.exe", "Moniteur barographe TQ5108\nVersion %s du %s" ABOUT_CONTACT_FR};
    default:
        return {"Informationen \xFC" "ber dieses Programm", "Zudoderozezavedi\nVersion %s vom %s" ABOUT_CONTACT_DE};
    }
}

InformationText linkCableText(UiLanguage language)
{
    switch (language) {
    case English:
        return {"Link cable info",
                "Data link cable:\n\n"
                "You may use cable with or without optoisolator.\n\n"
                "NMEA devices with 0/5V output should be connected to a free COM\n"
                "port using a cable as short as possible.\n\n"
                "NMEA-signallevels are not completely compatible with RS232/V24\n"
                "used by ordinary personal computers. (0/+5V instead of -15/+15V).\n\n"
                "More information: see the web page named in the barograph's manual."};
    case French:
        return {"Cable",
                "Cable de liaison:\n\n"
                "Utilisez de preference le cable fourni avec le barographe,\n"
                "avec ou sans optocoupleur.\n\n"
                "Les appareils NMEA a sortie 0/5V doivent etre relies a une porte COM\n"
                "libre par un cable aussi court que possible.\n\n"
                "Les niveaux NMEA ne sont pas entierement compatibles avec RS232/V24\n"
                "des ordinateurs personnels (0/+5V au lieu de -15/+15V).\n"
                "Avec un cable court la liaison fonctionne normalement.\n\n"
                "Plus d'informations: voir la page web indiquee dans le manuel du barographe."};
    default:
        return {"Anschlusskabel",
                "Datenkabel:\n\n"
                "Es kann ein Kabel mit oder ohne Optokoppler verwendet werden.\n"
                "Solche Kabel sind beim Lieferanten des Barographen erh\xE4ltlich.\n\n"
                "NMEA-Ger\xE4te mit 0/5V-Ausgang sollten mit einem m\xF6glichst kurzen\n"
                "Kabel an eine freie COM-Schnittstelle angeschlossen werden.\n\n"
                "NMEA-Signalpegel sind nicht ganz kompatibel mit RS232/V24\n"
                "gew\xF6hnlicher PCs (0/+5V statt -15/+15V).\n"
                "Mit kurzen Kabeln funktioniert die Verbindung normalerweise.\n\n"
                "Weitere Informationen: siehe die Webseite im Handbuch des Barographen."};
    }
}

InformationText dataFormatsText(UiLanguage language)
{
    switch (language) {
    case English:
        return {"Data formats",
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
                "7. max. pressure variations during last five minutes \n8. Windalarm 0 or 1 "};
    case French:
        return {"Formats des donnees",
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
                "7. variation max. de pression des cinq dernieres minutes \n8. Alarme vent 0 ou 1 "};
    default:
        return {"Datenformate",
                "NMEA Datenformat:\n(sek\xFCndlich vom Barographen TQ5108 gesendet)\n\nBeispiel:\n\n"
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
                "7. gr\xF6\xDFte Druckschwankung der letzten f\xFCnf Minuten \n8. Windalarm 0 oder 1 "};
    }
}

size_t formatAboutText(UiLanguage language, char* text, size_t size)
{
    int n = std::snprintf(text, size, aboutText(language).text, programVersion, programDate);
    return n < 0 ? 0 : std::strlen(text);
}
