// Every label, button and check box of every dialog of the Tarnwick.exe beside this
// program (where the search for a library looks first), made from its own template
// with its own font, measured against its control: the text must leave at least 8
// per cent of the room that the control has for it (its width less a push button's
// frame, a check box's box or a group box's indent), since the Japanese fonts of
// Windows differ from Wine's in width.
#include <cwchar>

#include "tests/wine/wine_support.h"

using namespace tarnwick::wine;


// The room that the control has for its text; 0 when it shows none.
static int TextRoom(HWND control) {
    const std::wstring kind = ClassOf(control);
    RECT client{};
    GetClientRect(control, &client);
    const LONG style = GetWindowLongW(control, GWL_STYLE);
    if (lstrcmpiW(kind.c_str(), L"Static") == 0) return (style & SS_TYPEMASK) <= SS_RIGHT ? client.right : 0;
    const LONG button = lstrcmpiW(kind.c_str(), L"Button") == 0 ? style & BS_TYPEMASK : -1;
    if (button == BS_PUSHBUTTON || button == BS_DEFPUSHBUTTON) return client.right - 8;
    if (button == BS_AUTOCHECKBOX) return client.right - GetSystemMetrics(SM_CXMENUCHECK) - 4;
    return button == BS_GROUPBOX ? client.right - 16 : 0;
}

static void Measure(HWND control, LPARAM dialogId) {
    const std::wstring text = TitleOf(control);
    const int room = text.empty() ? 0 : TextRoom(control);
    if (room == 0) return;
    HDC dc = CreateCompatibleDC(nullptr);  // a DC of its own: the font need not be put back
    SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    RECT needed{};
    DrawTextW(dc, text.c_str(), -1, &needed, DT_CALCRECT | DT_SINGLELINE);
    DeleteDC(dc);
    wchar_t report[512];
    std::swprintf(report, 512, L"dialog %d \"%ls\" needs %d of %d", int(dialogId), text.c_str(), int(needed.right), room);
    char what[1024] = "";  // in UTF-8, whatever the console's code page
    WideCharToMultiByte(CP_UTF8, 0, report, -1, what, sizeof what, nullptr, nullptr);
    Check(needed.right * 100 <= room * 92, what, __FILE__, __LINE__);
}

static BOOL CALLBACK EachDialog(HMODULE program, LPCWSTR type, LPWSTR name, LONG_PTR) {
    const void* layout = LockResource(LoadResource(program, FindResourceW(program, name, type)));
    // The options pages are child dialogs: they get a plain parent.
    HWND parent = CreateWindowExW(0, L"Static", L"", WS_POPUP, 0, 0, 900, 700, nullptr, nullptr, nullptr, nullptr);
    const DLGPROC quiet = [](HWND, UINT message, WPARAM, LPARAM) -> INT_PTR { return message == WM_INITDIALOG; };
    HWND dialog = CreateDialogIndirectParamW(nullptr, static_cast<const DLGTEMPLATE*>(layout), parent, quiet, 0);
    if (WINE_CHECK(dialog != nullptr)) {
        for (HWND control : AllWindows(GetCurrentProcessId(), true)) {
            if (IsChild(dialog, control)) Measure(control, reinterpret_cast<LPARAM>(name));
        }
    }
    DestroyWindow(parent);
    return TRUE;
}

int main() {
    InitCommonControls();  // the list views and the tab control of the templates
    HMODULE program = LoadLibraryExW(L"Tarnwick.exe", nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (WINE_CHECK(program != nullptr)) EnumResourceNamesW(program, MAKEINTRESOURCEW(5), EachDialog, 0);  // RT_DIALOG
    return FinishChecks();
}
