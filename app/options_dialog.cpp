#include "app/options_dialog.h"

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "acquisition/serial_port.h"
#include "app/menu_bar.h"
#include "app/options_fields.h"
#include "app/shell_state.h"
#include "app/startup.h"
#include "app/window_titles.h"
#include "settings/monitor_settings.h"
#include "settings/source_name.h"
#include "settings/ui_text.h"

namespace {

// Dialog units; the labels' column is as wide as the longest label of any language.
constexpr short margin = 7, groupHead = 11, groupFoot = 5, groupGap = 4, inset = 7, rowStep = 16;
constexpr short editWidth = 64, editHeight = 12, labelHeight = 8, gap = 6, buttonWidth = 50, buttonHeight = 14;
constexpr short checkBoxExtra = 16;  // the box and its gap before the text
constexpr WORD classButton = 0x0080, classEdit = 0x0081, classStatic = 0x0082;
const char dialogFace[] = "MS Shell Dlg";
constexpr WORD dialogPoints = 8;

// The template's words: DWORD-aligned items with UTF-16 texts.
class TemplateWords {
public:
    void word(WORD w) { words.push_back(w); }
    void dword(DWORD d) { word(LOWORD(d)), word(HIWORD(d)); }
    // The program's texts are Windows-1252; those of the dialog lie in its Latin-1 part.
    void text(const char* bytes)
    {
        for (; *bytes; ++bytes) word(static_cast<unsigned char>(*bytes));
        word(0);
    }
    void align() { if (words.size() % 2) word(0); }
    // Returns where the item's height stands, for a group box that learns it later.
    size_t item(DWORD style, short x, short y, short cx, short cy, WORD id, WORD windowClass, const char* caption)
    {
        align();
        dword(style | WS_CHILD | WS_VISIBLE), dword(0);
        word(x), word(y), word(cx);
        const size_t height = words.size();
        word(cy), word(id);
        word(0xFFFF), word(windowClass);
        text(caption);
        word(0);  // no creation data
        ++count;
        return height;
    }
    std::vector<WORD> words;
    WORD count = 0;
};

struct Measures {
    short label, check;  // the widest label and check box text, dialog units
};

// Widths of the fields' texts in every language, in the dialog's font,
// as dialog units (four to the font's average character width).
Measures measureTexts()
{
    Measures widest{0, 0};
    HDC screen = GetDC(nullptr);
    if (!screen) return {150, 150};
    const int height = -MulDiv(dialogPoints, GetDeviceCaps(screen, LOGPIXELSY), 72);
    HFONT font = CreateFontA(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, dialogFace);
    HGDIOBJ previous = font ? SelectObject(screen, font) : nullptr;
    SIZE alphabet = {};
    const char letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    GetTextExtentPoint32A(screen, letters, 52, &alphabet);
    // The dialog manager's horizontal base unit.
    const int base = alphabet.cx > 0 ? (alphabet.cx / 26 + 1) / 2 : 6;
    for (size_t i = 0; i < optionsFieldCount; ++i) {
        const OptionsField& field = optionsFields[i];
        if (besideChoice(field)) continue;  // named by its choice's text
        // A choice with a field beside it stands in the labels' column, its button before the text.
        const bool fieldBeside = i + 1 < optionsFieldCount && besideChoice(optionsFields[i + 1]);
        const bool button = field.kind == FieldKind::Switch || field.kind == FieldKind::Choice;
        for (UiLanguage language : {German, English, French}) {
            std::string shown;
            for (const char* c = uiText(field.label, language); *c; ++c)
                if (*c != '&') shown += *c;
            SIZE size = {};
            GetTextExtentPoint32A(screen, shown.c_str(), static_cast<int>(shown.size()), &size);
            short units = static_cast<short>((size.cx * 4 + base - 1) / base + 2);
            if (button && fieldBeside) units = static_cast<short>(units + checkBoxExtra);
            short& widestOfKind = button && !fieldBeside ? widest.check : widest.label;
            if (units > widestOfKind) widestOfKind = units;
        }
    }
    if (previous) SelectObject(screen, previous);
    if (font) DeleteObject(font);
    ReleaseDC(nullptr, screen);
    return widest;
}

std::vector<WORD> buildTemplate(UiLanguage language)
{
    const Measures widest = measureTexts();
    const short rowWidth = static_cast<short>(widest.label + gap + editWidth);
    const short checkWidth = static_cast<short>(widest.check + checkBoxExtra);
    const short groupWidth = static_cast<short>(inset + (rowWidth > checkWidth ? rowWidth : checkWidth) + inset);
    const short editX = static_cast<short>(margin + inset + widest.label + gap);

    TemplateWords body;
    short y = margin, groupTop = 0;
    size_t groupHeight = 0;  // where the open group box's height stands, 0 before the first
    auto closeGroup = [&] {
        if (groupHeight == 0) return;
        body.words[groupHeight] = static_cast<WORD>(y - rowStep + editHeight + groupFoot - groupTop);
        y = static_cast<short>(y - rowStep + editHeight + groupFoot + groupGap);
    };
    for (size_t i = 0; i < optionsFieldCount; ++i) {
        const OptionsField& field = optionsFields[i];
        if (field.group != sameGroup) {
            closeGroup();
            groupTop = y;
            // Each group box begins a group, so that the radio buttons before it end theirs.
            groupHeight = body.item(BS_GROUPBOX | WS_GROUP, margin, y, groupWidth, 0, 0xFFFF, classButton,
                                    uiText(field.group, language));
            y = static_cast<short>(y + groupHead);
        }
        const WORD id = static_cast<WORD>(field.id);
        if (besideChoice(field)) {
            // On the row of its choice, whose text names it.
            body.item(ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, editX, static_cast<short>(y - rowStep), editWidth,
                      editHeight, id, classEdit, "");
            continue;
        }
        if (field.kind == FieldKind::Choice) {
            const bool fieldBeside = i + 1 < optionsFieldCount && besideChoice(optionsFields[i + 1]);
            body.item(BS_AUTORADIOBUTTON | WS_TABSTOP, margin + inset, static_cast<short>(y + 1),
                      fieldBeside ? widest.label : checkWidth, 10, id, classButton, uiText(field.label, language));
        } else if (field.kind == FieldKind::Switch) {
            body.item(BS_AUTOCHECKBOX | WS_TABSTOP, margin + inset, static_cast<short>(y + 1), checkWidth, 10, id,
                      classButton, uiText(field.label, language));
        } else {
            body.item(SS_LEFT, margin + inset, static_cast<short>(y + 2), widest.label, labelHeight, 0xFFFF,
                      classStatic, uiText(field.label, language));
            body.item(ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, editX, y, editWidth, editHeight, id, classEdit, "");
        }
        y = static_cast<short>(y + rowStep);
    }
    closeGroup();
    const short width = static_cast<short>(margin + groupWidth + margin);
    const short buttonsY = static_cast<short>(y - groupGap + margin - 2);
    body.item(BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, static_cast<short>(width - margin - 2 * buttonWidth - 4),
              buttonsY, buttonWidth, buttonHeight, IDOK, classButton, uiText(txtOptionsOk, language));
    body.item(BS_PUSHBUTTON | WS_TABSTOP, static_cast<short>(width - margin - buttonWidth), buttonsY, buttonWidth,
              buttonHeight, IDCANCEL, classButton, uiText(txtOptionsCancel, language));

    TemplateWords head;
    head.dword(DS_MODALFRAME | DS_SETFONT | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU), head.dword(0);
    head.word(body.count);
    head.word(0), head.word(0), head.word(width), head.word(static_cast<WORD>(buttonsY + buttonHeight + margin));
    head.word(0), head.word(0);  // no menu, the dialog class
    head.text(uiText(txtOptionsCaption, language));
    head.word(dialogPoints);
    head.text(dialogFace);
    head.align();
    head.words.insert(head.words.end(), body.words.begin(), body.words.end());
    return head.words;
}

struct DialogState {
    MonitorSettings chosen;
    bool open;
};
DialogState dialog = {};

std::string fieldText(HWND window, const OptionsField& field)
{
    HWND control = GetDlgItem(window, static_cast<int>(field.id));
    if (field.kind == FieldKind::Switch || field.kind == FieldKind::Choice)
        return SendMessageA(control, BM_GETCHECK, 0, 0) == BST_CHECKED ? "1" : "0";
    char text[64] = {};
    GetWindowTextA(control, text, sizeof text);
    return text;
}

// Checks the choice of `part` alone and enables the fields of that choice only.
void makeChoice(HWND window, int part)
{
    for (const OptionsField& field : optionsFields) {
        HWND control = GetDlgItem(window, static_cast<int>(field.id));
        if (field.kind == FieldKind::Choice)
            SendMessageA(control, BM_SETCHECK, field.part == part ? BST_CHECKED : BST_UNCHECKED, 0);
        else if (choiceOf(field) >= 0) {
            EnableWindow(control, choiceOf(field) == part);
            // A field with a label of its own: the label just before it in the template greys with it.
            if (!besideChoice(field)) EnableWindow(GetWindow(control, GW_HWNDPREV), choiceOf(field) == part);
        }
    }
}

// The choice a click on a control makes, or -1 for a control of no choice.
int choiceClicked(unsigned id)
{
    for (const OptionsField& field : optionsFields)
        if (field.id == id && field.kind == FieldKind::Choice) return field.part;
    return -1;
}

void fillFields(HWND window)
{
    makeChoice(window, static_cast<int>(monitorSettings.SOURCE.kind));
    for (const OptionsField& field : optionsFields) {
        HWND control = GetDlgItem(window, static_cast<int>(field.id));
        const int64_t value = fieldValue(field, monitorSettings);
        if (field.kind == FieldKind::Choice) continue;
        if (field.kind == FieldKind::Switch) {
            SendMessageA(control, BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED, 0);
        } else {
            SetWindowTextA(control, formatFieldValue(field, value).c_str());
            SendMessageA(control, EM_LIMITTEXT, 20, 0);
        }
    }
}

// OK: all fields in range end the dialog with their settings; the first
// one out of range is named in a box and gets the focus, and nothing changes.
void takeFields(HWND window)
{
    std::vector<std::string> texts;
    for (const OptionsField& field : optionsFields) texts.push_back(fieldText(window, field));
    OptionsCheck check = checkOptions(texts, monitorSettings, uiLanguage());
    if (check.failed < 0) {
        dialog.chosen = check.chosen;
        EndDialog(window, IDOK);
        return;
    }
    MessageBoxA(window, check.message.c_str(), uiText(txtOptionsCaption), MB_OK | MB_ICONEXCLAMATION);
    HWND control = GetDlgItem(window, static_cast<int>(optionsFields[check.failed].id));
    SendMessageA(window, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
    SendMessageA(control, EM_SETSEL, 0, -1);
}

INT_PTR CALLBACK optionsProcedure(HWND window, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG: fillFields(window); return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) takeFields(window);
        else if (LOWORD(wParam) == IDCANCEL) EndDialog(window, IDCANCEL);
        else if (HIWORD(wParam) == BN_CLICKED && choiceClicked(LOWORD(wParam)) >= 0)
            makeChoice(window, choiceClicked(LOWORD(wParam)));
        else return FALSE;
        return TRUE;
    default: return FALSE;
    }
}

} // namespace

void showOptionsDialog()
{
    // A second request (a command posted while it is open) waits for this one.
    if (dialog.open) return;
    dialog.open = true;
    const std::vector<WORD> words = buildTemplate(uiLanguage());
    const INT_PTR answer = DialogBoxIndirectParamA(GetModuleHandleA(nullptr),
                                                   reinterpret_cast<LPCDLGTEMPLATEA>(words.data()), mainWindow,
                                                   optionsProcedure, 0);
    dialog.open = false;
    if (answer != IDOK) return;
    const uint16_t shownPort = monitorSettings.SENDTO.port;
    char sourceBefore[sourceNameSize], sourceAfter[sourceNameSize];
    formatSourceName(monitorSettings, sourceBefore);
    applyOptions(dialog.chosen);
    writeSettingsNow();
    formatSourceName(monitorSettings, sourceAfter);
    const bool sourceChanged = std::strcmp(sourceBefore, sourceAfter) != 0;
    if (sourceChanged) {
        endPortOutage();
        openConfiguredPort();
        setModeTitle();
    }
    // The UDP item names the port; the network's item names the source.
    if (monitorSettings.SENDTO.port != shownPort || sourceChanged) {
        buildMenus();
        reapplyPortGreying();
    }
}
