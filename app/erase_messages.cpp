#include "app/erase_messages.h"

#include <cstdio>

// Windows-1252 bytes: the box is shown with the ANSI calls.
void formatEraseRefused(UiLanguage language, const char* fileName, char* text, size_t size)
{
    static const char* const formats[] = {
        "Die Datei %s kann nicht gel\xF6scht werden: ein anderes Programm h\xE4lt sie offen, "
        "oder sie ist schreibgesch\xFCtzt.\nEs wurde nichts ver\xE4ndert.",
        "The file %s cannot be erased: another program holds it open, or it is read-only.\n"
        "Nothing has been changed.",
        "Le fichier %s ne peut pas \xEAtre effac\xE9 : un autre programme le tient ouvert, "
        "ou il est en lecture seule.\nRien n'a \xE9t\xE9 modifi\xE9.",
    };
    std::snprintf(text, size, formats[language], fileName);
}

const char* eraseRefusedCaption(UiLanguage language)
{
    static const char* const captions[] = {"Datei l\xF6schen", "Erase file", "Effacer le fichier"};
    return captions[language];
}
