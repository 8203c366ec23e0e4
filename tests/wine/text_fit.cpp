// Every label, button and check box of every dialog of the Tarnwick.exe beside this
// program (where the search for a library looks first), in each language the program
// holds it in (Japanese and English), made from its own template with its own font,
// measured against its control: the text must leave at least 8 per cent of the room
// that the control has for it (its width less a push button's frame, a check box's
// box or a group box's indent), since the fonts of Windows differ from Wine's in
// width (the session maps every dialog font, "MS Shell Dlg" too, to VL PGothic).
#include <cwchar>
#include <map>

#include "tests/wine/wine_support.h"

using namespace tarnwick::wine;


// The room that the control, this wide, has for its text; 0 when it shows none.
static int TextRoom(HWND control, int width) {
    const std::wstring kind = ClassOf(control);
    const LONG style = GetWindowLongW(control, GWL_STYLE);
    if (lstrcmpiW(kind.c_str(), L"Static") == 0) return (style & SS_TYPEMASK) <= SS_RIGHT ? width : 0;
    const LONG button = lstrcmpiW(kind.c_str(), L"Button") == 0 ? style & BS_TYPEMASK : -1;
    if (button == BS_PUSHBUTTON || button == BS_DEFPUSHBUTTON) return width - 8;
    if (button == BS_AUTOCHECKBOX) return width - GetSystemMetrics(SM_CXMENUCHECK) - 4;
    return button == BS_GROUPBOX ? width - 16 : 0;
}

// Reported with its dialog in one language: "dialog 102 (language 0409)".
static void Measure(HWND control, LPCWSTR dialog, WORD language) {
    const std::wstring text = TitleOf(control);
    RECT client{};
    GetClientRect(control, &client);
    const int room = text.empty() ? 0 : TextRoom(control, client.right);
    if (room == 0) return;
    HDC dc = CreateCompatibleDC(nullptr);  // a DC of its own: the font need not be put back
    SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    RECT needed{};
    DrawTextW(dc, text.c_str(), -1, &needed, DT_CALCRECT | DT_SINGLELINE);
    // A label of several lines wraps within the same share of its width and must keep
    // to its height: the comparison is then of heights.
    const bool wraps = lstrcmpiW(ClassOf(control).c_str(), L"Static") == 0 && client.bottom >= 2 * needed.bottom;
    if (wraps) {
        needed = {0, 0, room * 92 / 100, 0};
        DrawTextW(dc, text.c_str(), -1, &needed, DT_CALCRECT | DT_WORDBREAK);
    }
    DeleteDC(dc);
    const int need = wraps ? int(needed.bottom) : int(needed.right);
    const int have = wraps ? int(client.bottom) : room * 92 / 100;
    wchar_t report[512];
    std::swprintf(report, 512, L"dialog %d (language %04x) \"%ls\" needs %d of %d", int(reinterpret_cast<ULONG_PTR>(dialog)),
                  unsigned(language), text.c_str(), need, have);
    char what[1024] = "";  // in UTF-8, whatever the console's code page
    WideCharToMultiByte(CP_UTF8, 0, report, -1, what, sizeof what, nullptr, nullptr);
    Check(need <= have, what, __FILE__, __LINE__);
}

// How many dialogs each language holds, and how many dialogs there are.
static std::map<WORD, int> g_dialogsOf;
static int g_dialogs = 0;

static BOOL CALLBACK EachLanguage(HMODULE program, LPCWSTR type, LPCWSTR name, WORD language, LONG_PTR) {
    ++g_dialogsOf[language];
    const void* layout = LockResource(LoadResource(program, FindResourceExW(program, type, name, language)));
    // The options pages are child dialogs: they get a plain parent.
    HWND parent = CreateWindowExW(0, L"Static", L"", WS_POPUP, 0, 0, 900, 700, nullptr, nullptr, nullptr, nullptr);
    const DLGPROC quiet = [](HWND, UINT message, WPARAM, LPARAM) -> INT_PTR { return message == WM_INITDIALOG; };
    HWND dialog = CreateDialogIndirectParamW(nullptr, static_cast<const DLGTEMPLATE*>(layout), parent, quiet, 0);
    if (WINE_CHECK(dialog != nullptr)) {
        for (HWND control : AllWindows(GetCurrentProcessId(), true)) {
            if (IsChild(dialog, control)) Measure(control, name, language);
        }
    }
    DestroyWindow(parent);
    return TRUE;
}

static BOOL CALLBACK EachDialog(HMODULE program, LPCWSTR type, LPWSTR name, LONG_PTR) {
    ++g_dialogs;
    EnumResourceLanguagesW(program, type, name, EachLanguage, 0);
    return TRUE;
}

int main() {
    InitCommonControls();  // the list views and the tab control of the templates
    HMODULE program = LoadLibraryExW(L"Tarnwick.exe", nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (WINE_CHECK(program != nullptr)) EnumResourceNamesW(program, MAKEINTRESOURCEW(5), EachDialog, 0);  // RT_DIALOG
    // Every dialog is there in both interfaces, and in no other language.
    WINE_CHECK(g_dialogs > 0 && g_dialogsOf.size() == 2);
    WINE_CHECK(g_dialogsOf[MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT)] == g_dialogs);
    WINE_CHECK(g_dialogsOf[MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US)] == g_dialogs);
    return FinishChecks();
}
