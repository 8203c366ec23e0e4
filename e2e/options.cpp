// The options: the three pages and what they change at once (the cycle, topmost,
// the shortcuts, auto-load), the save file's change with its question, a failed write.
#include <shlobj.h>

#include "tests/wine/wine_support.h"

namespace tarnwick::wine {

namespace {

// How often Tarnwick puts a target back to its class while the test keeps resetting
// it to normal, over a span: the watch cycle's period shows in the count.
int CorrectionsWithin(const Started& target, DWORD spanMs) {
    int corrections = 0;
    for (const ULONGLONG end = GetTickCount64() + spanMs; GetTickCount64() < end;) {
        corrections += WaitForCorrection(target, HIGH_PRIORITY_CLASS, 1000);
    }
    return corrections;
}

// The target and working directory of the shortcut Tarnwick.lnk in a shell folder,
// read through the shell link object, as "TARGET|DIRECTORY"; empty when unreadable.
std::wstring Shortcut(int folder) {
    wchar_t path[MAX_PATH] = L"", target[MAX_PATH] = L"", directory[MAX_PATH] = L"";
    SHGetSpecialFolderPathW(nullptr, path, folder, FALSE);
    IShellLinkW* link = nullptr;
    IPersistFile* file = nullptr;
    const bool read =
        SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                   reinterpret_cast<void**>(&link))) &&
        SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
        SUCCEEDED(file->Load((std::wstring(path) + L"\\Tarnwick.lnk").c_str(), STGM_READ)) &&
        SUCCEEDED(link->GetPath(target, MAX_PATH, nullptr, 0)) && SUCCEEDED(link->GetWorkingDirectory(directory, MAX_PATH));
    if (file) file->Release();
    if (link) link->Release();
    return read ? std::wstring(target) + L"|" + directory : L"";
}

bool Topmost(HWND window) { return (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

// The options pages, found by a control that only each has.
struct Options {
    Dialog dialog, general, watch, file;
    explicit Options(const Dialog& opened)
        : dialog(opened), general(opened.Page(1044)), watch(opened.Page(1026)), file(opened.Page(1013)) {}
    bool Shows(const Dialog& page) const {
        int shown = 0;
        for (const Dialog* each : {&general, &watch, &file}) shown += IsWindowVisible(each->window) != 0;
        return shown == 1 && IsWindowVisible(page.window);
    }
};

}  // namespace

// A renamed copy without auto-load, its registration loaded by the button: the pages,
// what OK changes at once, and auto-load offered with the Startup shortcut.
void OptionsPagesAndEffects() {
    Installation install("AUTOLOADMODE=0\r\n", "Version:4.0.0\r\n1,TwCycle.exe,高,指定なし,c\r\n");
    install.program = L"Tarnwick at logon.exe";  // the shortcuts lead to the file that runs
    WINE_CHECK(MoveFileW(install.Path(L"Tarnwick.exe").c_str(), install.Path(install.program.c_str()).c_str()));
    Started target = install.Target(L"TwCycle.exe");
    TarnwickRun run(install);
    WINE_CHECK(run.Ready() && run.ClickDone(1007) && run.RowCount() == 1 &&
               WaitFor([&] { return target.PriorityClass() == HIGH_PRIORITY_CLASS; }));
    WINE_CHECK(CorrectionsWithin(target, 3000) >= 3);  // the default half-second cycle

    Options options(run.Open(1008, kOptionsTitle));
    WINE_CHECK(options.general.window && options.watch.window && options.file.window && options.Shows(options.general));
    WINE_CHECK(options.watch.Text(1015) == "500" && options.file.Text(1015) == Narrow(install.Path(L"Tarnwick.sav")));
    WINE_CHECK(BringToForeground(options.dialog.window));
    run.ClickItem(options.dialog.Item(1010), TCM_GETITEMRECT, 1);
    WINE_CHECK(WaitFor([&] { return options.Shows(options.watch); }));
    run.ClickItem(options.dialog.Item(1010), TCM_GETITEMRECT, 2);
    WINE_CHECK(WaitFor([&] { return options.Shows(options.file); }));

    // Topmost, both shortcuts and the new numbers take effect on OK, and are written.
    options.watch.SetText(1015, "60000");
    options.watch.SetText(1022, "9");
    for (int id : {1012, 1044, 1045}) options.general.Check(id, true);
    options.dialog.Press(IDOK);
    WINE_CHECK(run.AnswerMessageBox("オートロードの確認", IDYES) && options.dialog.Closed() && run.Settle());
    WINE_CHECK(install.Settings().find("AUTOLOADMODE=1\r\nWATCHINGCYCLETIME=60000\r\nRETRYCOUNT=9\r\n") != std::string::npos);
    WINE_CHECK(WaitFor([&] { return Topmost(run.Window()); }));
    const std::wstring shortcut = install.Path(install.program.c_str()) + L"|" + install.folder.Path() + L"\\";
    for (int folder : {CSIDL_DESKTOP, CSIDL_STARTUP}) WINE_CHECK(_wcsicmp(Shortcut(folder).c_str(), shortcut.c_str()) == 0);
    // The new cycle of a minute takes effect at once: the target stays reset.
    WINE_CHECK(CorrectionsWithin(target, 3000) <= 1);

    // Cleared again: topmost goes, and so do the shortcuts, without a question.
    options = Options(run.Open(1008, kOptionsTitle));
    for (int id : {1012, 1044, 1045}) options.general.Check(id, false);
    WINE_CHECK(options.dialog.Close(IDOK) && WaitFor([&] { return !Topmost(run.Window()); }));
    WINE_CHECK(Shortcut(CSIDL_DESKTOP).empty() && Shortcut(CSIDL_STARTUP).empty());

    // The icon menu's item opens the options while the window stays hidden.
    run.Click(1043);
    WINE_CHECK(WaitFor([&] { return !run.Visible(); }));
    const Dialog hidden = run.Open(32772, kOptionsTitle);
    WINE_CHECK(hidden.window && !run.Visible() && hidden.Close(IDCANCEL) && !run.Visible() && run.Quit());
}

// A new save file (and cycle) in the options asks whether to read the file, and OK
// asks again after an answer that keeps the dialog: Yes while the settings cannot be
// written (a folder in their place) shows the failure and reads nothing; Yes then
// reads the new file, writes the settings and puts the cycle in force. No to another
// switch carries the rows over, auto-saved to that file once the question about the
// registrations that it holds, unread, is answered Yes.
void OptionsSaveFile() {
    const std::string first = "Version:4.0.0\r\n1,a.exe,高,指定なし,A\r\n";
    const std::string other = "Version:4.0.0\r\n0,b.exe,低,指定なし,B\r\n";
    Installation install("AUTOLOADMODE=1\r\nAUTOSAVEMODE=1\r\n", first);
    TarnwickRun run(install);
    const std::wstring ini = install.Path(L"Tarnwick.ini");
    WINE_CHECK(WriteBytes(install.Path(L"other.sav"), other) && run.Ready(1));
    Options options(run.Open(1008, kOptionsTitle));
    const auto answer = [&](int button) {
        options.dialog.Press(IDOK);
        return run.AnswerMessageBox("セーブファイルの扱いの確認", button);
    };
    options.file.SetText(1015, Narrow(install.Path(L"other.sav")));
    options.watch.SetText(1015, "2000");
    WINE_CHECK(DeleteFileW(ini.c_str()) && CreateDirectoryW(ini.c_str(), nullptr) && answer(IDYES) &&
               run.AnswerMessageBox(kSaveFailedTitle, IDOK));
    WINE_CHECK(run.Settle() && IsWindow(options.dialog.window) && run.Column(1) == std::vector<std::string>{"a.exe"});
    WINE_CHECK(RemoveDirectoryW(ini.c_str()) && answer(IDYES) && options.dialog.Closed() && run.Settle());
    WINE_CHECK(run.Column(1) == std::vector<std::string>{"b.exe"} && install.Bytes(L"other.sav") == other);
    WINE_CHECK(install.Settings().find("SAVEFILENAME=other.sav\r\n") != std::string::npos);  // written, by its bare name
    options = Options(run.Open(1008, kOptionsTitle));
    WINE_CHECK(options.watch.Text(1015) == "2000");
    options.file.SetText(1015, Narrow(install.Path(L"Tarnwick.sav")));
    WINE_CHECK(answer(IDNO) && options.dialog.Closed() && run.AnswerMessageBox("セーブファイルの変更の確認", IDYES) &&
               run.Settle());
    WINE_CHECK(run.Column(1) == std::vector<std::string>{"b.exe"} && install.Save() == other);
    WINE_CHECK(run.QuitLeaving("Tarnwick.exe Tarnwick.ini Tarnwick.sav other.sav"));
}

}  // namespace tarnwick::wine
