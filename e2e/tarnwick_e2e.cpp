// End-to-end tests of the real Tarnwick.exe under Wine, driven from outside.
// Each scenario runs Tarnwick in a folder of its own with the settings and save
// file it prepares:  tarnwick_e2e SCENARIO
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "e2e/driver.h"
#include "ui/sort_order.h"
#include "tests/wine/wine_check.h"
#include "tests/wine/wine_support.h"
#include "win/text.h"

using namespace tarnwick;
using namespace tarnwick::e2e;
using tarnwick::wine::WaitFor;

namespace {

// The program under test: the build's, or the one that TARNWICK_EXE names (the
// release archive's, unpacked as a user would).
std::wstring ProgramUnderTest() {
    const wchar_t* chosen = _wgetenv(L"TARNWICK_EXE");
    return chosen && *chosen ? chosen : wine::ProgramFolder() + L"\\Tarnwick.exe";
}

// A folder holding a copy of Tarnwick.exe and the files a scenario gives it.
struct Installation {
    wine::TempFolder folder{L"tarnwick-e2e"};
    std::wstring Path(const wchar_t* name) const { return folder.Path() + L"\\" + name; }
    explicit Installation(const std::string& settings = "", const std::string* save = nullptr) {
        CopyFileW(ProgramUnderTest().c_str(), Path(L"Tarnwick.exe").c_str(), FALSE);
        if (!settings.empty()) WriteBytes(Path(L"Tarnwick.ini"), settings);
        if (save) WriteBytes(Path(L"Tarnwick.sav"), *save);
    }
    std::string Save() const { return Bytes(L"Tarnwick.sav"); }
    std::string Settings() const { return Bytes(L"Tarnwick.ini"); }
    std::string Bytes(const wchar_t* name) const {
        std::string bytes;
        return ReadBytes(Path(name), bytes) ? bytes : "<missing>";
    }
};

bool EndsWith(const std::string& text, const std::string& ending) {
    return text.size() >= ending.size() && text.compare(text.size() - ending.size(), ending.size(), ending) == 0;
}

bool Centred(HWND window) {
    RECT area{}, bounds{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    GetWindowRect(window, &bounds);
    const long dx = (bounds.left + bounds.right) - (area.left + area.right);
    const long dy = (bounds.top + bounds.bottom) - (area.top + area.bottom);
    return std::labs(dx) <= 2 && std::labs(dy) <= 2;
}

bool InFront(HWND window) {
    return WaitFor([window] { return IsWindowVisible(window) && GetForegroundWindow() == window; });
}

void FirstStart() {
    Installation install;
    TarnwickRun run(install.folder.Path());
    WINE_CHECK(run.Started() && run.WaitForWindow());
    WINE_CHECK(WaitFor([&] { return run.Visible(); }));  // RUNPANELVIEW is on by default
    wchar_t title[128] = L"";
    GetWindowTextW(run.Window(), title, 128);
    WINE_CHECK(Narrow(title) == "Tarnwick - モニタ＆設定");
    WINE_CHECK(run.ColumnCount() == 6);
    WINE_CHECK(run.ExtendedStyle() == (LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT));
    WINE_CHECK(run.RowCount() == 0 && run.HistoryCount() == 0);
    WINE_CHECK(WaitFor([] { return TrayIconCount() == 1; }));
    // The system menu's item (its text is string 101) opens the version box.
    HMODULE program = LoadLibraryExW(install.Path(L"Tarnwick.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    wchar_t item[128] = L"";
    LoadStringW(program, 101, item, 128);
    FreeLibrary(program);
    WINE_CHECK(Narrow(item) == "Tarnwick のﾊﾞｰｼﾞｮﾝ情報(&A)...");
    PostMessageW(run.Window(), WM_SYSCOMMAND, 0x0010, 0);
    HWND about = nullptr;
    WINE_CHECK(WaitFor([&] { return (about = run.MessageBoxWindow("Tarnwick - バージョン情報")) != nullptr; }));
    PostMessageW(GetDlgItem(about, IDOK), BM_CLICK, 0, 0);
    WINE_CHECK(WaitFor([&] { return !IsWindow(about); }));

    WINE_CHECK(run.Quit());
    WINE_CHECK(run.ExitCode() == 0);
    WINE_CHECK(!FileExists(install.Path(L"Tarnwick.ini")));
    WINE_CHECK(!FileExists(install.Path(L"Tarnwick.sav")));
    WINE_CHECK(WaitFor([] { return TrayIconCount() == 0; }));
}

void HiddenStartAndIcon() {
    Installation install("RUNPANELVIEW=0\r\n");
    TarnwickRun run(install.folder.Path());
    WINE_CHECK(run.WaitForWindow());
    WINE_CHECK(WaitFor([] { return TrayIconCount() == 1; }));
    Sleep(1500);
    WINE_CHECK(!run.Visible());
    run.TrayMouse(WM_LBUTTONUP);  // a single click does nothing
    run.TrayMouse(WM_RBUTTONDOWN);
    Sleep(700);
    WINE_CHECK(!run.Visible());
    run.TrayMouse(WM_LBUTTONDBLCLK);
    WINE_CHECK(InFront(run.Window()));
    WINE_CHECK(Centred(run.Window()));

    // Hidden again and moved aside: a double-click brings it back centred.
    run.Click(1043);
    WINE_CHECK(WaitFor([&] { return !run.Visible(); }));
    SetWindowPos(run.Window(), nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    run.TrayMouse(WM_LBUTTONDBLCLK);
    WINE_CHECK(InFront(run.Window()));
    WINE_CHECK(Centred(run.Window()));

    // The icon's menu opens at a right click and its first item shows the window.
    run.Click(1043);
    WINE_CHECK(WaitFor([&] { return !run.Visible(); }));
    run.TrayMouse(WM_RBUTTONUP);
    WINE_CHECK(WaitFor([&] { return FindProcessWindow(run.Id(), L"#32768") != nullptr; }));
    PostMessageW(run.Window(), WM_CANCELMODE, 0, 0);  // the menu closes without a command
    WINE_CHECK(WaitFor([&] { return FindProcessWindow(run.Id(), L"#32768") == nullptr ||
                                    !IsWindowVisible(FindProcessWindow(run.Id(), L"#32768")); }));
    WINE_CHECK(!run.Visible());
    run.PostCommand(32771);
    WINE_CHECK(InFront(run.Window()));

    // When the shell loses its icons (Explorer restarting), "TaskbarCreated" brings it back.
    NOTIFYICONDATAW icon{};
    icon.cbSize = NOTIFYICONDATAW_V1_SIZE;
    icon.hWnd = run.Window();
    icon.uID = 137;
    WINE_CHECK(Shell_NotifyIconW(NIM_DELETE, &icon));
    WINE_CHECK(WaitFor([] { return TrayIconCount() == 0; }));
    PostMessageW(run.Window(), RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    WINE_CHECK(WaitFor([] { return TrayIconCount() == 1; }));
    WINE_CHECK(IsWindowVisible(run.Window()));

    // Escape ends the program.
    PostMessageW(run.Control(1000), WM_KEYDOWN, VK_ESCAPE, 0);
    WINE_CHECK(run.WaitForExit());
    WINE_CHECK(WaitFor([] { return TrayIconCount() == 0; }));
    WINE_CHECK(!FileExists(install.Path(L"Tarnwick.sav")));
}

const std::string kCurrentSave =
    "Version:4.0.0\r\n"
    "1,TwTarget.exe,高,指定なし,watched, with commas\r\n"
    "0,ＦｕｌｌＷｉｄｔｈ.exe,低,通常,全角の名前, 説明\r\n"
    "1,backup.exe,通常以上,リアルタイム,\r\n";

void AutoLoadWatchAndSave() {
    Installation install("AUTOLOADMODE=1\r\nWATCHINGCYCLETIME=500\r\n", &kCurrentSave);
    wine::Started target(wine::PlaceTarget(install.folder.Path(), L"bin", L"TwTarget.exe"), L"");
    WINE_CHECK(target.PriorityClass() == NORMAL_PRIORITY_CLASS);
    TarnwickRun run(install.folder.Path());
    WINE_CHECK(run.WaitForWindow() && WaitFor([&] { return run.RowCount() == 3; }));
    WINE_CHECK(run.Text(0, 0) == "する" && run.StateImage(0) == 2);
    WINE_CHECK(run.Text(1, 0) == "しない" && run.StateImage(1) == 1);
    WINE_CHECK(run.Text(1, 1) == "ＦｕｌｌＷｉｄｔｈ.exe");
    WINE_CHECK(run.Text(1, 2) == "全角の名前, 説明");
    WINE_CHECK(run.Text(0, 2) == "watched, with commas");
    WINE_CHECK(run.Text(2, 3) == "通常以上" && run.Text(2, 4) == "リアルタイム");
    WINE_CHECK(run.SelectedRow() == 0);

    WINE_CHECK(WaitFor([&] { return target.PriorityClass() == HIGH_PRIORITY_CLASS; }));
    WINE_CHECK(WaitFor([&] { return run.HistoryCount() == 1 && run.Text(0, 5) == "1"; }));
    WINE_CHECK(EndsWith(run.HistoryLine(0), " 通常 → 高 TwTarget.exe"));
    WINE_CHECK(run.HistoryLine(0).size() == 17 + std::string(" 通常 → 高 TwTarget.exe").size());
    WINE_CHECK(run.Text(1, 5).empty());

    DeleteFileW(install.Path(L"Tarnwick.sav").c_str());
    run.Click(1006);
    WINE_CHECK(WaitFor([&] { return FileExists(install.Path(L"Tarnwick.sav")); }));
    WINE_CHECK(install.Save() == kCurrentSave);
    run.Click(1002);  // clear the history
    WINE_CHECK(WaitFor([&] { return run.HistoryCount() == 0; }));
    // Without auto-save a change stays on screen only: nothing is saved on the way out.
    run.SetChecked(1, true);
    WINE_CHECK(WaitFor([&] { return run.Text(1, 0) == "する"; }));
    WINE_CHECK(run.Quit());
    WINE_CHECK(install.Save() == kCurrentSave);
}

void OldLayoutIsConverted() {
    const std::string old = "1,TwTarget.exe,高,old, with comma\r\n0,ＷＩＤＥ.exe,低,\r\n";
    Installation install("AUTOLOADMODE=1\r\n", &old);
    TarnwickRun run(install.folder.Path());
    WINE_CHECK(run.WaitForWindow() && WaitFor([&] { return run.RowCount() == 2; }));
    WINE_CHECK(install.Save() ==
               "Version:4.0.0\r\n1,TwTarget.exe,高,指定なし,old, with comma\r\n0,ＷＩＤＥ.exe,低,指定なし,\r\n");
    WINE_CHECK(!FileExists(install.Path(L"Tarnwick.tmp")));
    WINE_CHECK(run.Text(0, 2) == "old, with comma" && run.Text(1, 4) == "指定なし");
    WINE_CHECK(run.Quit());
}

void DeleteAndAutoSave() {
    const std::string save = "Version:4.0.0\r\n1,a.exe,高,指定なし,A\r\n0,b.exe,低,指定なし,B\r\n1,c.exe,通常,低,C\r\n";
    Installation install("AUTOLOADMODE=1\r\nAUTOSAVEMODE=1\r\nRUNPANELVIEW=0\r\n", &save);
    TarnwickRun run(install.folder.Path());
    WINE_CHECK(run.WaitForWindow() && WaitFor([&] { return run.RowCount() == 3; }));
    WINE_CHECK(install.Save() == save);  // loading writes nothing

    // A tick of a check box is saved at once.
    run.SetChecked(1, true);
    WINE_CHECK(WaitFor([&] { return install.Save().find("1,b.exe,") != std::string::npos; }));
    WINE_CHECK(run.Text(1, 0) == "する");
    run.SetChecked(0, false);
    WINE_CHECK(WaitFor([&] { return install.Save().find("0,a.exe,") != std::string::npos; }));
    WINE_CHECK(run.Text(0, 0) == "しない");
    const std::string before = install.Save();

    run.Select(1);
    run.Click(1005);
    WINE_CHECK(run.AnswerMessageBox("削除の確認", IDNO, "本当に削除してよろしいですね。"));
    WINE_CHECK(run.RowCount() == 3 && install.Save() == before);

    run.Click(1005);
    WINE_CHECK(run.AnswerMessageBox("削除の確認", IDYES));
    WINE_CHECK(WaitFor([&] { return run.RowCount() == 2; }));
    WINE_CHECK(run.Text(1, 1) == "c.exe" && run.SelectedRow() == 1);  // the row that moved up
    WINE_CHECK(install.Save() == "Version:4.0.0\r\n0,a.exe,高,指定なし,A\r\n1,c.exe,通常,低,C\r\n");

    run.Click(1005);  // the last row: the one before it is selected
    WINE_CHECK(run.AnswerMessageBox("削除の確認", IDYES));
    WINE_CHECK(WaitFor([&] { return run.RowCount() == 1; }));
    WINE_CHECK(run.SelectedRow() == 0);
    run.Click(1005);  // the only row: nothing is left selected
    WINE_CHECK(run.AnswerMessageBox("削除の確認", IDYES));
    WINE_CHECK(WaitFor([&] { return run.RowCount() == 0; }));
    WINE_CHECK(run.SelectedRow() == -1);
    WINE_CHECK(install.Save() == "Version:4.0.0\r\n");

    // The close box ends the program too, hidden or not.
    PostMessageW(run.Window(), WM_SYSCOMMAND, SC_CLOSE, 0);
    WINE_CHECK(run.WaitForExit());
}

void SecondStartHandsOver() {
    Installation install("RUNPANELVIEW=0\r\n");
    TarnwickRun first(install.folder.Path());
    WINE_CHECK(first.WaitForWindow());
    auto mutexHeld = [] {
        HANDLE mutex = OpenMutexW(SYNCHRONIZE, FALSE, L"AFX_TARNWICK_3D94C6E0_71AF_4B28_9E53_C0A7F21D86B4_MUTEX");
        if (!mutex) return false;
        DWORD wait = WaitForSingleObject(mutex, 0);
        if (wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED) ReleaseMutex(mutex);
        CloseHandle(mutex);
        return wait == WAIT_TIMEOUT;
    };
    WINE_CHECK(mutexHeld());
    Sleep(500);
    WINE_CHECK(!first.Visible());

    TarnwickRun second(install.folder.Path());
    WINE_CHECK(second.WaitForExit(10000));
    WINE_CHECK(second.ExitCode() == 0);
    WINE_CHECK(InFront(first.Window()));
    WINE_CHECK(Centred(first.Window()));
    WINE_CHECK(TrayIconCount() == 1);
    WINE_CHECK(mutexHeld());

    first.Click(2);  // 常駐終了(ESC)
    WINE_CHECK(first.WaitForExit());
    WINE_CHECK(!mutexHeld());
    WINE_CHECK(WaitFor([] { return TrayIconCount() == 0; }));
    WINE_CHECK(!FileExists(install.Path(L"Tarnwick.sav")));
    std::string settings;
    WINE_CHECK(ReadBytes(install.Path(L"Tarnwick.ini"), settings) && settings == "RUNPANELVIEW=0\r\n");
}

// The top-level windows, of any process, that carry this title.
int WindowsTitled(const std::wstring& title) {
    struct Count {
        const std::wstring* title;
        int count;
    } count{&title, 0};
    EnumWindows([](HWND window, LPARAM context) -> BOOL {
        auto* c = reinterpret_cast<Count*>(context);
        wchar_t text[256] = L"";
        GetWindowTextW(window, text, 256);
        if (*c->title == text) ++c->count;
        return TRUE;
    }, reinterpret_cast<LPARAM>(&count));
    return count.count;
}

// Twenty copies started at once: one keeps running with its icon and its one
// window; every other hands over and ends by itself (a message box would keep it
// running), and nothing is written.
void StartUpStorm() {
    Installation install;
    std::vector<std::unique_ptr<TarnwickRun>> runs;
    for (int i = 0; i < 20; ++i) runs.push_back(std::make_unique<TarnwickRun>(install.folder.Path()));
    for (const auto& run : runs) WINE_CHECK(run->Started());
    TarnwickRun* survivor = nullptr;
    int ended = 0;
    WINE_CHECK(WaitFor([&] {
        ended = 0;
        for (const auto& run : runs) ended += run->WaitForExit(0);
        return ended == 19;
    }, 60000));
    for (const auto& run : runs) {
        if (!run->WaitForExit(0)) {
            survivor = run.get();
        } else {
            WINE_CHECK(run->ExitCode() == 0);
        }
    }
    WINE_CHECK(survivor != nullptr);
    if (!survivor) return;
    WINE_CHECK(survivor->WaitForWindow() && WaitFor([&] { return survivor->Visible(); }));
    WINE_CHECK(WindowsTitled(Wide("Tarnwick - モニタ＆設定")) == 1);
    WINE_CHECK(WaitFor([] { return TrayIconCount() == 1; }));
    Sleep(1000);
    WINE_CHECK(TrayIconCount() == 1 && !survivor->WaitForExit(0));
    WINE_CHECK(survivor->Quit());
    WINE_CHECK(!FileExists(install.Path(L"Tarnwick.sav")) && !FileExists(install.Path(L"Tarnwick.ini")));
}

const std::string kSaveFailed =
    "データのセーブに失敗しました。オプションのファイルで指定されているパス名を確認してください。";

bool IsFolder(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Folders where the save file and the settings file should be: the load finds
// nothing and says nothing, the defaults hold, a save reports its failure, and both
// folders are left as they were.
void FilesThatAreFolders() {
    Installation install("AUTOLOADMODE=1\r\n");
    DeleteFileW(install.Path(L"Tarnwick.ini").c_str());
    WINE_CHECK(CreateDirectoryW(install.Path(L"Tarnwick.ini").c_str(), nullptr));
    WINE_CHECK(CreateDirectoryW(install.Path(L"Tarnwick.sav").c_str(), nullptr));
    TarnwickRun run(install.folder.Path());
    WINE_CHECK(run.WaitForWindow() && WaitFor([&] { return run.Visible(); }));  // the defaults: shown at start
    Sleep(1000);
    WINE_CHECK(run.RowCount() == 0 && !run.MessageBoxWindow("セーブの失敗"));
    run.Click(1006);
    WINE_CHECK(run.AnswerMessageBox("セーブの失敗", IDOK, kSaveFailed));
    WINE_CHECK(run.Quit());
    WINE_CHECK(IsFolder(install.Path(L"Tarnwick.sav")) && IsFolder(install.Path(L"Tarnwick.ini")));
    WINE_CHECK(!FileExists(install.Path(L"Tarnwick.sav.new")));
}

// Another program replaces the save file while Tarnwick runs, then holds it open
// without sharing: the load shows the other program's records; a save that cannot
// replace the held file reports it and leaves that file and no stray copy.
void SaveFileChangedByAnotherProgram() {
    Installation install("AUTOLOADMODE=1\r\n", &kCurrentSave);
    TarnwickRun run(install.folder.Path());
    WINE_CHECK(run.WaitForWindow() && WaitFor([&] { return run.RowCount() == 3; }));
    const std::string other = "Version:4.0.0\r\n0,other.exe,通常以下,指定なし,written elsewhere\r\n";
    WINE_CHECK(WriteBytes(install.Path(L"Tarnwick.sav"), other));
    run.Click(1007);
    WINE_CHECK(WaitFor([&] { return run.RowCount() == 1 && run.Text(0, 1) == "other.exe"; }));
    WINE_CHECK(run.Text(0, 2) == "written elsewhere" && run.Text(0, 3) == "通常以下");

    HANDLE held = CreateFileW(install.Path(L"Tarnwick.sav").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    WINE_CHECK(held != INVALID_HANDLE_VALUE);
    run.SetChecked(0, true);
    run.Click(1006);
    WINE_CHECK(run.AnswerMessageBox("セーブの失敗", IDOK, kSaveFailed));
    CloseHandle(held);
    WINE_CHECK(install.Save() == other);
    WINE_CHECK(!FileExists(install.Path(L"Tarnwick.sav.new")));
    run.Click(1006);  // released: the save goes through
    WINE_CHECK(WaitFor([&] { return install.Save() == "Version:4.0.0\r\n1,other.exe,通常以下,指定なし,written elsewhere\r\n"; }));
    WINE_CHECK(run.Quit());
}

// A save file of tens of megabytes: a record whose description alone is 17 million
// bytes, and 600 records of 10 KB each. Loaded and saved again, byte for byte.
void HugeSaveFile() {
    std::string save = "Version:4.0.0\r\n1,huge.exe,高,指定なし," + std::string(17'000'000, 'd') + "\r\n";
    for (int i = 0; i < 600; ++i) {
        save += "0,p" + std::to_string(i) + ".exe,低,通常," + std::string(10'000, static_cast<char>('a' + i % 26)) + "\r\n";
    }
    Installation install("AUTOLOADMODE=1\r\n", &save);
    TarnwickRun run(install.folder.Path());
    WINE_CHECK(run.WaitForWindow() && WaitFor([&] { return run.RowCount() == 601; }, 120000));
    WINE_CHECK(run.Text(0, 1) == "huge.exe" && run.Text(600, 1) == "p599.exe");
    DeleteFileW(install.Path(L"Tarnwick.sav").c_str());
    run.Click(1006);
    WINE_CHECK(WaitFor([&] { return FileExists(install.Path(L"Tarnwick.sav")); }, 120000));
    WINE_CHECK(WaitFor([&] { return install.Save().size() == save.size(); }, 60000));
    WINE_CHECK(install.Save() == save);
    WINE_CHECK(run.Quit());
}

constexpr const char* kEntryTitle = "プログラム名および実行優先度の設定";
const std::vector<std::string> kSixLevels{"リアルタイム", "高", "通常以上", "通常", "通常以下", "低"};

// The entry dialog as the driver uses it: its controls by id, OK pressed as a user does.
struct EntryDialog {
    HWND window;
    HWND Item(int id) const { return GetDlgItem(window, id); }
    void Fill(const std::string& name, const std::string& specified) const {
        SetControlText(Item(1020), name);
        ComboSelect(Item(1019), specified);
    }
    void Press(int button) const { PostMessageW(Item(button), BM_CLICK, 0, 0); }
    bool Closed() const { return WaitFor([this] { return !IsWindow(window); }); }
};

EntryDialog OpenEntry(TarnwickRun& run, int command) {
    run.Click(command);
    return {run.WaitForDialog(kEntryTitle)};
}

void AddByTypedName() {
    Installation install("AUTOSAVEMODE=1\r\n");
    // Japanese file names: matched on a western system too.
    wine::Started editor(wine::PlaceTarget(install.folder.Path(), L"a", Wide("エディタ.exe")), L"");
    wine::Started tool(wine::PlaceTarget(install.folder.Path(), L"b", Wide("ＴＯＯＬ.exe")), L"");
    TarnwickRun run(install.folder.Path());
    WINE_CHECK(run.WaitForWindow() && WaitFor([&] { return run.Visible(); }));

    EntryDialog entry = OpenEntry(run, 1003);
    WINE_CHECK(entry.window != nullptr);
    WINE_CHECK(ComboEntries(entry.Item(1019)) == kSixLevels && ComboEntries(entry.Item(1047)) == kSixLevels);
    WINE_CHECK(ComboSelection(entry.Item(1019)) == "通常" && ComboSelection(entry.Item(1047)) == "通常");
    WINE_CHECK(!IsWindowEnabled(entry.Item(1047)) && SendMessageW(entry.Item(1048), BM_GETCHECK, 0, 0) == 0);
    WINE_CHECK(run.FocusedControl() == entry.Item(1020));
    entry.Fill("  エディタ.exe \t", "高");
    SetControlText(entry.Item(1046), "編集");
    entry.Press(IDOK);
    WINE_CHECK(run.AnswerMessageBox("優先度の確認", IDYES));
    WINE_CHECK(entry.Closed());
    WINE_CHECK(run.RowCount() == 1 && run.Column(1) == std::vector<std::string>{"エディタ.exe"});
    WINE_CHECK(run.Text(0, 0) == "する" && run.Text(0, 2) == "編集" && run.Text(0, 3) == "高" && run.Text(0, 4) == "指定なし");
    WINE_CHECK(install.Save() == "Version:4.0.0\r\n1,エディタ.exe,高,指定なし,編集\r\n");
    WINE_CHECK(WaitFor([&] { return editor.PriorityClass() == HIGH_PRIORITY_CLASS; }));
    WINE_CHECK(WaitFor([&] { return run.Text(0, 5) == "1"; }));

    // The active priority: one question, and after No the focus is on its combo box.
    entry = OpenEntry(run, 1003);
    entry.Fill("ｔｏｏｌ.EXE", "低");
    entry.Press(1048);
    WINE_CHECK(WaitFor([&] { return IsWindowEnabled(entry.Item(1047)) != 0; }));
    ComboSelect(entry.Item(1047), "高");
    entry.Press(IDOK);
    WINE_CHECK(run.AnswerMessageBox("優先度の確認", IDNO));
    WINE_CHECK(IsWindow(entry.window) && WaitFor([&] { return run.FocusedControl() == entry.Item(1047); }));
    ComboSelect(entry.Item(1047), "通常以上");
    entry.Press(IDOK);
    WINE_CHECK(entry.Closed());
    WINE_CHECK(run.Text(1, 1) == "ｔｏｏｌ.EXE" && run.Text(1, 3) == "低" && run.Text(1, 4) == "通常以上");
    WINE_CHECK(WaitFor([&] { return tool.PriorityClass() == IDLE_PRIORITY_CLASS; }));

    // Names that differ only in letter case, full-width letters included, are refused.
    for (const char* duplicate : {"エディタ.EXE", "ＴＯＯＬ.exe"}) {
        entry = OpenEntry(run, 1003);
        entry.Fill(duplicate, "通常");
        entry.Press(IDOK);
        WINE_CHECK(run.AnswerMessageBox("追加の警告", IDOK, "既に同じプログラムが登録されています。"));
    }
    WINE_CHECK(run.RowCount() == 2);

    // A name of blanks is no name: the warning, then the focus on the name.
    entry = OpenEntry(run, 1003);
    entry.Fill("  \t ", "通常");
    entry.Press(IDOK);
    WINE_CHECK(run.AnswerMessageBox("プログラム名の警告", IDOK, "プログラム名を入力してください。"));
    WINE_CHECK(IsWindow(entry.window) && WaitFor([&] { return run.FocusedControl() == entry.Item(1020); }));
    entry.Press(IDCANCEL);
    WINE_CHECK(entry.Closed() && run.RowCount() == 2);

    // Change keeps the name locked and the run count, and the watch cycle applies the new class.
    run.Select(0);
    entry = OpenEntry(run, 1004);
    WINE_CHECK(ControlText(entry.Item(1020)) == "エディタ.exe" && !IsWindowEnabled(entry.Item(1020)));
    WINE_CHECK(IsWindowEnabled(entry.Item(1016)) && IsWindowEnabled(entry.Item(1018)));
    WINE_CHECK(ComboSelection(entry.Item(1019)) == "高" && ControlText(entry.Item(1046)) == "編集");
    ComboSelect(entry.Item(1019), "低");
    entry.Press(IDOK);
    WINE_CHECK(entry.Closed());
    WINE_CHECK(run.Text(0, 1) == "エディタ.exe" && run.Text(0, 3) == "低");
    WINE_CHECK(WaitFor([&] { return editor.PriorityClass() == IDLE_PRIORITY_CLASS && run.Text(0, 5) == "2"; }));

    // A real double-click on a row opens it too; after Cancel the table is saved all the same.
    DeleteFileW(install.Path(L"Tarnwick.sav").c_str());
    WINE_CHECK(wine::BringToForeground(run.Window()));
    const RECT row = run.RowRect(run.List(), 1);
    MouseClick({(row.left + row.right) / 2, (row.top + row.bottom) / 2}, false, 2);
    entry = {run.WaitForDialog(kEntryTitle)};
    WINE_CHECK(entry.window && ControlText(entry.Item(1020)) == "ｔｏｏｌ.EXE");
    WINE_CHECK(SendMessageW(entry.Item(1048), BM_GETCHECK, 0, 0) == BST_CHECKED);
    WINE_CHECK(ComboSelection(entry.Item(1047)) == "通常以上");
    entry.Press(IDCANCEL);
    WINE_CHECK(entry.Closed());
    WINE_CHECK(WaitFor([&] { return FileExists(install.Path(L"Tarnwick.sav")); }));
    WINE_CHECK(install.Save() == "Version:4.0.0\r\n1,エディタ.exe,低,指定なし,編集\r\n1,ｔｏｏｌ.EXE,低,通常以上,\r\n");
    WINE_CHECK(run.Quit());
}

constexpr const char* kTargetDescription = "テスト用の対象プログラム";  // the later of its two translations

int IndexOf(const std::vector<std::string>& texts, const std::string& text) {
    for (std::size_t i = 0; i < texts.size(); ++i) {
        if (texts[i] == text) return static_cast<int>(i);
    }
    return -1;
}

// The texts as a header click orders them: upper-cased bytes, descending on the first click.
std::vector<std::string> SortedAsList(std::vector<std::string> texts, SortDirection direction) {
    std::stable_sort(texts.begin(), texts.end(),
                     [direction](const std::string& a, const std::string& b) { return CompareCells(a, b, direction) < 0; });
    return texts;
}

// Answers the system's file open dialog with a path, as a user typing it would.
bool AnswerOpenFile(TarnwickRun& run, const std::wstring& path) {
    HWND dialog = run.WaitForDialog("実行プログラム名の指定");
    if (!dialog) return false;
    HWND name = GetDlgItem(dialog, 0x47C);  // the file name box (cmb13)
    if (!name) name = GetDlgItem(dialog, 0x480);  // edt1 in the older layout
    SetControlText(name, Narrow(path));
    PostMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
    return WaitFor([dialog] { return !IsWindow(dialog); });
}

void AddFromRunningListAndByBrowsing() {
    Installation install;
    wine::Started listed(wine::PlaceTarget(install.folder.Path(), L"x", L"TwListed.exe"), L"");
    wine::Started first(wine::PlaceTarget(install.folder.Path(), L"y", L"aaFirst.exe"), L"");
    const std::wstring browsed = wine::PlaceTarget(install.folder.Path(), L"z", L"Browsed.exe");
    TarnwickRun run(install.folder.Path());
    WINE_CHECK(run.WaitForWindow() && WaitFor([&] { return run.Visible(); }));

    EntryDialog entry = OpenEntry(run, 1003);
    entry.Press(1018);
    HWND running = run.WaitForDialog("実行中プログラム名一覧");
    HWND list = GetDlgItem(running, 1000);
    WINE_CHECK(running && TarnwickRun::ListCount(list) > 2 && TarnwickRun::ListSelected(list) == 0);
    const std::vector<std::string> listed0 = run.ListColumn(list, 0);
    const int row = IndexOf(listed0, "TwListed.exe");
    WINE_CHECK(row >= 0 && run.ListText(list, row, 1) == kTargetDescription && run.ListText(list, row, 2) == "通常");
    WINE_CHECK(IndexOf(listed0, "Tarnwick.exe") >= 0);

    // Header clicks sort by the column, descending first; refresh restores the listing order.
    WINE_CHECK(wine::BringToForeground(running));
    TarnwickRun::ClickHeader(list, 0);
    WINE_CHECK(WaitFor([&] { return run.ListColumn(list, 0) == SortedAsList(listed0, tarnwick::SORT_DESCENDING); }));
    TarnwickRun::ClickHeader(list, 0);
    WINE_CHECK(WaitFor([&] { return run.ListColumn(list, 0) == SortedAsList(listed0, tarnwick::SORT_ASCENDING); }));
    WINE_CHECK(run.ListText(list, 0, 0) == "aaFirst.exe");
    PostMessageW(GetDlgItem(running, 1009), BM_CLICK, 0, 0);
    WINE_CHECK(WaitFor([&] { return run.ListColumn(list, 0) == listed0; }));
    run.ListSelect(list, row);
    PostMessageW(GetDlgItem(running, IDOK), BM_CLICK, 0, 0);
    WINE_CHECK(WaitFor([&] { return !IsWindow(running); }));
    WINE_CHECK(ControlText(entry.Item(1020)) == "TwListed.exe" && ControlText(entry.Item(1046)) == kTargetDescription);

    // Cancel keeps the fields; a double-click takes its row.
    entry.Press(1018);
    running = run.WaitForDialog("実行中プログラム名一覧");
    PostMessageW(GetDlgItem(running, IDCANCEL), BM_CLICK, 0, 0);
    WINE_CHECK(WaitFor([&] { return !IsWindow(running); }));
    WINE_CHECK(ControlText(entry.Item(1020)) == "TwListed.exe");
    entry.Press(1018);
    running = run.WaitForDialog("実行中プログラム名一覧");
    list = GetDlgItem(running, 1000);
    WINE_CHECK(wine::BringToForeground(running));
    const RECT bounds = run.RowRect(list, IndexOf(run.ListColumn(list, 0), "aaFirst.exe"));
    MouseClick({bounds.left + 20, (bounds.top + bounds.bottom) / 2}, false, 2);
    WINE_CHECK(WaitFor([&] { return !IsWindow(running); }));
    WINE_CHECK(ControlText(entry.Item(1020)) == "aaFirst.exe");

    // Browsing takes the chosen file's name and description.
    entry.Press(1016);
    WINE_CHECK(AnswerOpenFile(run, browsed));
    WINE_CHECK(ControlText(entry.Item(1020)) == "Browsed.exe" && ControlText(entry.Item(1046)) == kTargetDescription);
    entry.Press(IDOK);
    WINE_CHECK(entry.Closed());
    WINE_CHECK(run.Text(0, 1) == "Browsed.exe" && run.Text(0, 2) == kTargetDescription && run.Text(0, 3) == "通常");

    // When editing, browsing changes only the description.
    run.Select(0);
    entry = OpenEntry(run, 1004);
    entry.Press(1016);
    WINE_CHECK(AnswerOpenFile(run, install.Path(L"Tarnwick.exe")));
    WINE_CHECK(ControlText(entry.Item(1020)) == "Browsed.exe");
    WINE_CHECK(ControlText(entry.Item(1046)) == "Tarnwick Version 4.0");
    entry.Press(IDOK);
    WINE_CHECK(entry.Closed() && run.Text(0, 2) == "Tarnwick Version 4.0");
    WINE_CHECK(run.Quit());
}

bool MenuOpen(TarnwickRun& run) {
    HWND menu = FindProcessWindow(run.Id(), L"#32768");
    return menu && IsWindowVisible(menu);
}

// Picks the menu's item at a position (1 = the first) with the keyboard, as a user does.
void ChooseMenuItem(int position) {
    for (int i = 0; i < position; ++i) PressKey(VK_DOWN);
    PressKey(VK_RETURN);
}

// Opens the registration list's context menu on a row with a real right click.
bool RightClickRow(TarnwickRun& run, int row) {
    const RECT bounds = run.RowRect(run.List(), row);
    MouseClick({bounds.left + 30, (bounds.top + bounds.bottom) / 2}, true);
    return WaitFor([&] { return MenuOpen(run); });
}

void ContextMenuSortingAndSaving() {
    const std::string save =
        "Version:4.0.0\r\n"
        "1,TwQuick.exe,通常,指定なし,quick\r\n"
        "0,beta.exe,低,指定なし,b\r\n"
        "1,Alpha.exe,通常以上,高,a\r\n"
        "1,TwOrphan.exe,低,指定なし,first\r\n"
        "1,TWORPHAN.EXE,高,指定なし,second\r\n";
    Installation install("AUTOLOADMODE=1\r\nAUTOSAVEMODE=1\r\n", &save);
    wine::Started quick(wine::PlaceTarget(install.folder.Path(), L"q", L"TwQuick.exe"), L"");
    wine::Started orphan(wine::PlaceTarget(install.folder.Path(), L"o", L"TwOrphan.exe"), L"");
    TarnwickRun run(install.folder.Path());
    WINE_CHECK(run.WaitForWindow() && WaitFor([&] { return run.Visible() && run.RowCount() == 5; }));
    WINE_CHECK(wine::BringToForeground(run.Window()));
    WINE_CHECK(WaitFor([&] { return orphan.PriorityClass() == HIGH_PRIORITY_CLASS; }));  // the later record's values

    // A right click opens the full menu (Windows 2000 and later); high asks first, and No changes nothing.
    WINE_CHECK(RightClickRow(run, 0));
    ChooseMenuItem(2);  // 指定：高
    WINE_CHECK(run.AnswerMessageBox("優先度の確認", IDNO));
    WINE_CHECK(run.Text(0, 3) == "通常" && install.Save() == save);
    WINE_CHECK(RightClickRow(run, 0));
    ChooseMenuItem(2);
    WINE_CHECK(run.AnswerMessageBox("優先度の確認", IDYES));
    WINE_CHECK(WaitFor([&] { return run.Text(0, 3) == "高"; }));
    WINE_CHECK(WaitFor([&] { return quick.PriorityClass() == HIGH_PRIORITY_CLASS; }));
    WINE_CHECK(install.Save().find("1,TwQuick.exe,高,指定なし,quick\r\n") != std::string::npos);

    // From the keyboard (Shift+F10) on the selected row; the third item is 通常以上 only in the full menu.
    run.Select(2);
    SetFocus(nullptr);
    PostMessageW(run.Window(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(run.List()), TRUE);
    WINE_CHECK(WaitFor([&] { return run.FocusedControl() == run.List(); }));
    PressKey(VK_F10, VK_SHIFT);
    WINE_CHECK(WaitFor([&] { return MenuOpen(run); }));
    ChooseMenuItem(11);  // ｱｸﾃｨﾌﾞ：通常以下
    WINE_CHECK(WaitFor([&] { return run.Text(2, 4) == "通常以下"; }));
    PressKey(VK_F10, VK_SHIFT);
    WINE_CHECK(WaitFor([&] { return MenuOpen(run); }));
    ChooseMenuItem(3);  // 指定：通常以上 in the full menu, 指定：通常 in the short one
    PressKey(VK_F10, VK_SHIFT);
    WINE_CHECK(WaitFor([&] { return MenuOpen(run); }));
    ChooseMenuItem(13);  // ｱｸﾃｨﾌﾞ：指定なし
    WINE_CHECK(WaitFor([&] { return run.Text(2, 4) == "指定なし"; }));
    WINE_CHECK(run.Text(2, 3) == "通常以上");

    // Without a selected row no menu opens.
    run.ClearSelection(run.List());
    WINE_CHECK(WaitFor([&] { return run.SelectedRow() == -1; }));
    PressKey(VK_F10, VK_SHIFT);
    Sleep(700);
    WINE_CHECK(!MenuOpen(run));

    // Deleting one of two rows of a name leaves the other without an entry; a quick
    // command then gives it one with both classes from the row, and the watch cycle
    // applies the row's specified class instead of failing on a class of 0.
    run.Select(4);
    run.Click(1005);
    WINE_CHECK(run.AnswerMessageBox("削除の確認", IDYES));
    WINE_CHECK(WaitFor([&] { return run.RowCount() == 4; }));
    run.Select(3);
    WINE_CHECK(RightClickRow(run, 3));
    ChooseMenuItem(10);  // ｱｸﾃｨﾌﾞ：通常
    WINE_CHECK(WaitFor([&] { return run.Text(3, 4) == "通常"; }));
    WINE_CHECK(WaitFor([&] { return orphan.PriorityClass() == IDLE_PRIORITY_CLASS; }));
    Sleep(1500);
    WINE_CHECK(run.Text(3, 0) == "する" && run.StateImage(3) == 2);  // still watched

    // Sorting by a column changes the order that the save button writes.
    TarnwickRun::ClickHeader(run.List(), 1);
    WINE_CHECK(WaitFor([&] { return run.Column(1) == std::vector<std::string>{"TwQuick.exe", "TwOrphan.exe", "beta.exe", "Alpha.exe"}; }));
    DeleteFileW(install.Path(L"Tarnwick.sav").c_str());
    run.Click(1006);
    WINE_CHECK(WaitFor([&] { return FileExists(install.Path(L"Tarnwick.sav")); }));
    WINE_CHECK(install.Save() ==
               "Version:4.0.0\r\n1,TwQuick.exe,高,指定なし,quick\r\n1,TwOrphan.exe,低,通常,first\r\n"
               "0,beta.exe,低,指定なし,b\r\n1,Alpha.exe,通常以上,指定なし,a\r\n");
    TarnwickRun::ClickHeader(run.List(), 1);
    WINE_CHECK(WaitFor([&] { return run.Column(1) == std::vector<std::string>{"Alpha.exe", "beta.exe", "TwOrphan.exe", "TwQuick.exe"}; }));
    WINE_CHECK(run.Quit());
}

// The options dialog as the driver sees it: the tab control and its three pages.
struct OptionsDialog {
    HWND window = nullptr;
    HWND tabs = nullptr;
    HWND general = nullptr;
    HWND watch = nullptr;
    HWND file = nullptr;

    static bool Checked(HWND page, int id) { return SendMessageW(GetDlgItem(page, id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
    static void Check(HWND page, int id, bool on) {
        SendMessageW(GetDlgItem(page, id), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
    }
    static std::string Text(HWND page, int id) { return ControlText(GetDlgItem(page, id)); }
    static void SetText(HWND page, int id, const std::string& text) { SetControlText(GetDlgItem(page, id), text); }
    void Press(int button) const { PostMessageW(GetDlgItem(window, button), BM_CLICK, 0, 0); }
    bool Closed() const { return WaitFor([this] { return !IsWindow(window); }); }
    // The page that is shown: 0 general, 1 watch, 2 file, -1 none or several.
    int ShownPage() const {
        const bool shown[] = {IsWindowVisible(general) != 0, IsWindowVisible(watch) != 0, IsWindowVisible(file) != 0};
        return shown[0] + shown[1] + shown[2] != 1 ? -1 : shown[0] ? 0 : shown[1] ? 1 : 2;
    }
};

// Opens the options with a command of the window (its button or the icon menu's item).
OptionsDialog OpenOptions(TarnwickRun& run, int command) {
    run.PostCommand(command);
    OptionsDialog dialog;
    dialog.window = run.WaitForDialog("Tarnwick - オプション");
    dialog.tabs = GetDlgItem(dialog.window, 1010);
    for (HWND page = FindWindowExW(dialog.tabs, nullptr, L"#32770", nullptr); page;
         page = FindWindowExW(dialog.tabs, page, L"#32770", nullptr)) {
        if (GetDlgItem(page, 1044)) dialog.general = page;
        if (GetDlgItem(page, 1026)) dialog.watch = page;
        if (GetDlgItem(page, 1013)) dialog.file = page;
    }
    return dialog;
}

// How often Tarnwick puts a target back to its class while the test keeps resetting
// it to normal, over a span: the watch cycle's period shows in the count.
int CorrectionsWithin(const wine::Started& target, DWORD spanMs) {
    int corrections = 0;
    const ULONGLONG end = GetTickCount64() + spanMs;
    while (GetTickCount64() < end) {
        SetPriorityClass(target.Process(), NORMAL_PRIORITY_CLASS);
        if (WaitFor([&] { return target.PriorityClass() == HIGH_PRIORITY_CLASS; }, 1000, nullptr, 20)) ++corrections;
    }
    return corrections;
}

// The target and working directory of a shortcut file, read through the shell link object.
bool ReadShortcut(const std::wstring& path, std::wstring& target, std::wstring& directory) {
    IShellLinkW* link = nullptr;
    IPersistFile* file = nullptr;
    bool read = false;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                   reinterpret_cast<void**>(&link)))) {
        if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
            wchar_t buffer[MAX_PATH] = L"";
            if (SUCCEEDED(file->Load(path.c_str(), STGM_READ)) && SUCCEEDED(link->GetPath(buffer, MAX_PATH, nullptr, 0))) {
                target = buffer;
                read = SUCCEEDED(link->GetWorkingDirectory(buffer, MAX_PATH));
                directory = buffer;
            }
            file->Release();
        }
        link->Release();
    }
    return read;
}

std::wstring ShortcutIn(int folder) {
    wchar_t path[MAX_PATH] = L"";
    SHGetSpecialFolderPathW(nullptr, path, folder, FALSE);
    return std::wstring(path) + L"\\Tarnwick.lnk";
}

bool Topmost(HWND window) { return (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

void OptionsPagesAndTheirEffects() {
    const std::string save = "Version:4.0.0\r\n1,TwCycle.exe,高,指定なし,c\r\n";
    Installation install("AUTOLOADMODE=1\r\n", &save);
    wine::Started target(wine::PlaceTarget(install.folder.Path(), L"c", L"TwCycle.exe"), L"");
    TarnwickRun run(install.folder.Path());
    WINE_CHECK(run.WaitForWindow() && WaitFor([&] { return run.Visible() && run.RowCount() == 1; }));
    WINE_CHECK(WaitFor([&] { return target.PriorityClass() == HIGH_PRIORITY_CLASS; }));
    const int atHalfASecond = CorrectionsWithin(target, 3000);
    WINE_CHECK(atHalfASecond >= 3);

    OptionsDialog options = OpenOptions(run, 1008);
    WINE_CHECK(options.window && options.general && options.watch && options.file);
    WINE_CHECK(options.ShownPage() == 0);
    WINE_CHECK(OptionsDialog::Checked(options.general, 1011) && !OptionsDialog::Checked(options.general, 1012));
    WINE_CHECK(!OptionsDialog::Checked(options.general, 1044) && !OptionsDialog::Checked(options.general, 1045));
    WINE_CHECK(OptionsDialog::Text(options.watch, 1015) == "500" && OptionsDialog::Text(options.watch, 1022) == "3");
    WINE_CHECK(OptionsDialog::Checked(options.watch, 1011) && IsWindowEnabled(GetDlgItem(options.watch, 1012)));
    const std::string savePath = OptionsDialog::Text(options.file, 1015);
    WINE_CHECK(savePath == Narrow(install.Path(L"Tarnwick.sav")));
    WINE_CHECK(!OptionsDialog::Checked(options.file, 1013) && OptionsDialog::Checked(options.file, 1014));
    WINE_CHECK(wine::BringToForeground(options.window));
    run.ClickTab(options.tabs, 1);
    WINE_CHECK(WaitFor([&] { return options.ShownPage() == 1; }));
    run.ClickTab(options.tabs, 2);
    WINE_CHECK(WaitFor([&] { return options.ShownPage() == 2; }));

    // Out-of-range numbers are limited; topmost and both shortcuts take effect on OK.
    OptionsDialog::SetText(options.watch, 1015, "99999");
    OptionsDialog::SetText(options.watch, 1022, "12");
    for (int id : {1012, 1044, 1045}) OptionsDialog::Check(options.general, id, true);
    options.Press(IDOK);
    WINE_CHECK(options.Closed());
    WINE_CHECK(install.Settings() ==
               "RUNPANELVIEW=1\r\nTOPMOSTWINDOW=1\r\nDESKTOPSHORTCUT=1\r\nSTARTUPSHORTCUT=1\r\nADDWATCHMODE=1\r\n"
               "AUTOSAVEMODE=0\r\nAUTOLOADMODE=1\r\nWATCHINGCYCLETIME=60000\r\nRETRYCOUNT=9\r\nSAVEFILENAME=" +
                   savePath + "\r\nTARGETALLAPP=0\r\n");
    WINE_CHECK(WaitFor([&] { return Topmost(run.Window()); }));
    for (int folder : {CSIDL_DESKTOP, CSIDL_STARTUP}) {
        std::wstring linkTarget, directory;
        WINE_CHECK(ReadShortcut(ShortcutIn(folder), linkTarget, directory));
        WINE_CHECK(_wcsicmp(linkTarget.c_str(), install.Path(L"Tarnwick.exe").c_str()) == 0);
        WINE_CHECK(_wcsicmp(directory.c_str(), (install.folder.Path() + L"\\").c_str()) == 0);
    }
    // The new cycle of a minute takes effect at once: the target stays reset.
    WINE_CHECK(CorrectionsWithin(target, 3000) <= 1);

    // Back: the pages show the stored values; clearing removes the shortcuts.
    options = OpenOptions(run, 1008);
    WINE_CHECK(OptionsDialog::Text(options.watch, 1015) == "60000" && OptionsDialog::Text(options.watch, 1022) == "9");
    OptionsDialog::SetText(options.watch, 1015, "100");
    for (int id : {1012, 1044, 1045}) OptionsDialog::Check(options.general, id, false);
    options.Press(IDOK);
    WINE_CHECK(options.Closed());
    WINE_CHECK(WaitFor([&] { return !Topmost(run.Window()); }));
    WINE_CHECK(!FileExists(ShortcutIn(CSIDL_DESKTOP)) && !FileExists(ShortcutIn(CSIDL_STARTUP)));
    WINE_CHECK(install.Settings().find("WATCHINGCYCLETIME=500\r\n") != std::string::npos);
    WINE_CHECK(CorrectionsWithin(target, 3000) >= 3);

    // The icon menu's item opens the options while the window stays hidden.
    run.Click(1043);
    WINE_CHECK(WaitFor([&] { return !run.Visible(); }));
    options = OpenOptions(run, 32772);
    WINE_CHECK(options.window != nullptr && !run.Visible());
    options.Press(IDCANCEL);
    WINE_CHECK(options.Closed() && !run.Visible());
    WINE_CHECK(run.Quit());
}

void OptionsSaveFileAndAFailedWrite() {
    const std::string first = "Version:4.0.0\r\n1,a.exe,高,指定なし,A\r\n";
    const std::string other = "Version:4.0.0\r\n0,b.exe,低,指定なし,B\r\n";
    Installation install("AUTOLOADMODE=1\r\nAUTOSAVEMODE=1\r\n", &first);
    WINE_CHECK(WriteBytes(install.Path(L"other.sav"), other));
    const std::string otherPath = Narrow(install.Path(L"other.sav"));
    const std::string thirdPath = Narrow(install.Path(L"third.sav"));
    TarnwickRun run(install.folder.Path());
    WINE_CHECK(run.WaitForWindow() && WaitFor([&] { return run.Visible() && run.RowCount() == 1; }));
    const char* question =
        "セーブファイル名が切り替えられました。\n現在の表示内容をクリアして指定されたセーブファイルを読み直しますか？\n"
        "（[いいえ]を選択すると現在の内容が引き継がれます。）";

    // Cancel on the question: the dialog stays and nothing has changed.
    OptionsDialog options = OpenOptions(run, 1008);
    OptionsDialog::SetText(options.file, 1015, otherPath);
    options.Press(IDOK);
    WINE_CHECK(run.AnswerMessageBox("セーブファイルの扱いの確認", IDCANCEL, question));
    WINE_CHECK(IsWindow(options.window) && install.Settings() == "AUTOLOADMODE=1\r\nAUTOSAVEMODE=1\r\n");
    options.Press(IDCANCEL);
    WINE_CHECK(options.Closed() && run.Column(1) == std::vector<std::string>{"a.exe"});

    // Yes: the list shows the new file's rows.
    options = OpenOptions(run, 1008);
    OptionsDialog::SetText(options.file, 1015, otherPath);
    options.Press(IDOK);
    WINE_CHECK(run.AnswerMessageBox("セーブファイルの扱いの確認", IDYES));
    WINE_CHECK(options.Closed());
    WINE_CHECK(WaitFor([&] { return run.Column(1) == std::vector<std::string>{"b.exe"}; }));
    WINE_CHECK(install.Settings().find("SAVEFILENAME=" + otherPath + "\r\n") != std::string::npos);

    // No, with auto-save: the rows shown are written to the new file.
    options = OpenOptions(run, 1008);
    OptionsDialog::SetText(options.file, 1015, thirdPath);
    options.Press(IDOK);
    WINE_CHECK(run.AnswerMessageBox("セーブファイルの扱いの確認", IDNO));
    WINE_CHECK(options.Closed() && run.Column(1) == std::vector<std::string>{"b.exe"});
    std::string third;
    WINE_CHECK(WaitFor([&] { return ReadBytes(install.Path(L"third.sav"), third) && third == other; }));

    // A settings file that cannot be written (a folder in its place): the message,
    // the dialog stays, and Cancel leaves the old values in force.
    DeleteFileW(install.Path(L"Tarnwick.ini").c_str());
    WINE_CHECK(CreateDirectoryW(install.Path(L"Tarnwick.ini").c_str(), nullptr));
    options = OpenOptions(run, 1008);
    OptionsDialog::SetText(options.file, 1015, Narrow(install.Path(L"Tarnwick.sav")));
    OptionsDialog::SetText(options.watch, 1015, "2000");
    options.Press(IDOK);
    WINE_CHECK(run.AnswerMessageBox("セーブファイルの扱いの確認", IDYES));
    WINE_CHECK(run.AnswerMessageBox("セーブの失敗", IDOK,
                                    "オプションファイル(" + Narrow(install.Path(L"Tarnwick.ini")) +
                                        ")のセーブに失敗しました。\nオプションは、実行プログラムの作業ディレクトリに書き込まれます。\n"
                                        "作業ディレクトリにファイルが書き込み可能であることを確認してください。"));
    WINE_CHECK(IsWindow(options.window) && run.Column(1) == std::vector<std::string>{"b.exe"});
    options.Press(IDCANCEL);
    WINE_CHECK(options.Closed());
    options = OpenOptions(run, 1008);
    WINE_CHECK(OptionsDialog::Text(options.file, 1015) == thirdPath && OptionsDialog::Text(options.watch, 1015) == "500");
    options.Press(IDCANCEL);
    WINE_CHECK(options.Closed());
    DeleteFileW(install.Path(L"third.sav").c_str());
    run.Click(1006);  // the save button writes to the file in force
    WINE_CHECK(WaitFor([&] { return FileExists(install.Path(L"third.sav")); }));
    WINE_CHECK(install.Save() == first);
    WINE_CHECK(run.Quit());
}

// Puts the window in front and returns the milliseconds from the moment it is in
// front until the target has the wanted class; -1 after the deadline.
long ReactionToSwitch(HWND window, const wine::Started& target, DWORD wanted) {
    const ULONGLONG asked = GetTickCount64();
    while (GetForegroundWindow() != window) {
        if (GetTickCount64() - asked > 5000) return -1;
        SetForegroundWindow(window);
        Sleep(1);
    }
    const ULONGLONG inFront = GetTickCount64();
    while (target.PriorityClass() != wanted) {
        if (GetTickCount64() - inFront > 5000) return -1;
        Sleep(1);
    }
    return static_cast<long>(GetTickCount64() - inFront);
}

// With a 5000 ms cycle, the foreground switched back and forth between a target
// with an active priority and another window: the reaction time of each switch.
std::vector<long> ForegroundReactions(int switches) {
    const std::string save = "Version:4.0.0\r\n1,TwActive.exe,低,高,\r\n";
    Installation install("AUTOLOADMODE=1\r\nWATCHINGCYCLETIME=5000\r\nRUNPANELVIEW=0\r\n", &save);
    wine::Started target(wine::PlaceTarget(install.folder.Path(), L"bin", L"TwActive.exe"), L"--window ActiveTarget");
    wine::Started other(wine::PlaceTarget(install.folder.Path(), L"other", L"TwOther.exe"), L"--window OtherTarget");
    HWND targetWindow = nullptr, otherWindow = nullptr;
    WINE_CHECK(WaitFor([&] { return (targetWindow = target.Window()) && (otherWindow = other.Window()); }));
    WINE_CHECK(BringToForeground(otherWindow));
    TarnwickRun run(install.folder.Path());
    WINE_CHECK(run.WaitForWindow());
    // The first timer tick gives the target its specified class.
    WINE_CHECK(WaitFor([&] { return target.PriorityClass() == IDLE_PRIORITY_CLASS; }, 15000, nullptr, 20));
    std::vector<long> reactions;
    for (int i = 0; i < switches; ++i) {
        const bool toTarget = i % 2 == 0;
        reactions.push_back(ReactionToSwitch(toTarget ? targetWindow : otherWindow, target,
                                             toTarget ? HIGH_PRIORITY_CLASS : IDLE_PRIORITY_CLASS));
        Sleep(150);  // the window settles before the next switch
    }
    WINE_CHECK(run.Quit());
    return reactions;
}

// Every switch is applied long before the next timer tick, which is up to 5 s away.
void ForegroundFollowedAtOnce() {
    for (long reaction : ForegroundReactions(6)) {
        std::printf("reaction %ld ms\n", reaction);
        WINE_CHECK(reaction >= 0 && reaction < 1000);
    }
}

// The reaction benchmark (scripts/bench.sh): 20 switches, median and maximum.
void ForegroundReactionBenchmark() {
    std::vector<long> reactions = ForegroundReactions(20);
    std::sort(reactions.begin(), reactions.end());
    WINE_CHECK(reactions.front() >= 0);
    const long median = (reactions[9] + reactions[10]) / 2;
    std::printf("foreground reaction over %zu switches at a 5000 ms cycle: median %ld ms, maximum %ld ms\n",
                reactions.size(), median, reactions.back());
}

// The real program for two minutes at a 500 ms cycle over churning targets, while
// the driver shows and hides it and opens and closes its dialogs: measured from
// outside, its handles, windows and committed memory do not grow.
void SoakOfTheRealProgram() {
    const std::string save = "Version:4.0.0\r\n1,TwChurn.exe,高,指定なし,\r\n";
    Installation install("AUTOLOADMODE=1\r\nWATCHINGCYCLETIME=500\r\nRUNPANELVIEW=0\r\n", &save);
    std::deque<wine::Started> targets;
    int started = 0;
    auto churn = [&] {
        if (targets.size() >= 4) targets.pop_front();
        targets.emplace_back(wine::PlaceTarget(install.folder.Path(), L"c" + std::to_wstring(started++ % 4),
                                               L"TwChurn.exe"),
                             L"", wine::Started::Wait::Loaded);
    };
    TarnwickRun run(install.folder.Path());
    WINE_CHECK(run.WaitForWindow());
    auto activity = [&](int round) {
        churn();
        switch (round % 3) {
            case 0:
                run.PostCommand(32771);  // the icon menu's first item shows the window
                WINE_CHECK(WaitFor([&] { return run.Visible(); }));
                run.Click(1043);  // hide it again
                WINE_CHECK(WaitFor([&] { return !run.Visible(); }));
                break;
            case 1: {
                OptionsDialog options = OpenOptions(run, 32772);
                WINE_CHECK(options.window != nullptr);
                PostMessageW(GetDlgItem(options.window, IDCANCEL), BM_CLICK, 0, 0);
                WINE_CHECK(WaitFor([&] { return !IsWindow(options.window); }));
                break;
            }
            default: {
                run.PostCommand(32771);
                WINE_CHECK(WaitFor([&] { return run.Visible(); }));
                EntryDialog entry = OpenEntry(run, 1003);
                entry.Press(1018);
                HWND running = run.WaitForDialog("実行中プログラム名一覧");
                WINE_CHECK(running != nullptr);
                PostMessageW(GetDlgItem(running, IDCANCEL), BM_CLICK, 0, 0);
                WINE_CHECK(WaitFor([&] { return !IsWindow(running); }));
                entry.Press(IDCANCEL);
                WINE_CHECK(entry.Closed());
                run.Click(1043);
                WINE_CHECK(WaitFor([&] { return !run.Visible(); }));
            }
        }
    };
    int round = 0;
    for (; round < 6; ++round) activity(round);  // the warm-up: every dialog once or more
    Sleep(1000);
    const ResourceCounts before = CountResources(run.Process(), run.Id());
    const ULONGLONG end = GetTickCount64() + 120000;
    while (GetTickCount64() < end) activity(round++);
    Sleep(1000);
    const ResourceCounts after = CountResources(run.Process(), run.Id());
    std::printf("after the warm-up: %lu handles, %lu windows, %zu committed bytes\n", before.handles, before.windows,
                before.committedBytes);
    std::printf("after 120 s and %d rounds: %lu handles, %lu windows, %zu committed bytes\n", round, after.handles,
                after.windows, after.committedBytes);
    WINE_CHECK(after.handles <= before.handles + 8);
    WINE_CHECK(after.windows <= before.windows);
    WINE_CHECK(after.committedBytes <= before.committedBytes + (2u << 20));
    // Still watching: the newest target is raised.
    WINE_CHECK(WaitFor([&] { return targets.back().PriorityClass() == HIGH_PRIORITY_CLASS; }));
    WINE_CHECK(run.Quit());
}

const std::map<std::string, std::function<void()>> kScenarios = {
    {"options-pages-and-effects", OptionsPagesAndTheirEffects},
    {"options-save-file", OptionsSaveFileAndAFailedWrite},
    {"context-menu-sort-and-save", ContextMenuSortingAndSaving},
    {"running-list-and-browse", AddFromRunningListAndByBrowsing},
    {"add-by-typed-name", AddByTypedName},
    {"first-start", FirstStart},
    {"hidden-start-and-icon", HiddenStartAndIcon},
    {"auto-load-watch-and-save", AutoLoadWatchAndSave},
    {"old-layout", OldLayoutIsConverted},
    {"delete-and-auto-save", DeleteAndAutoSave},
    {"second-start", SecondStartHandsOver},
    {"foreground-followed-at-once", ForegroundFollowedAtOnce},
    {"start-up-storm", StartUpStorm},
    {"soak-of-the-real-program", SoakOfTheRealProgram},
    {"files-that-are-folders", FilesThatAreFolders},
    {"save-file-changed-by-another-program", SaveFileChangedByAnotherProgram},
    {"huge-save-file", HugeSaveFile},
    {"bench-foreground-reaction", ForegroundReactionBenchmark},
};

}  // namespace

int main(int argc, char** argv) {
    CoInitialize(nullptr);  // for reading shortcut files
    if (argc < 2 || !kScenarios.count(argv[1])) {
        std::printf("usage: tarnwick_e2e SCENARIO; scenarios:");
        for (const auto& [name, run] : kScenarios) std::printf(" %s", name.c_str());
        std::printf("\n");
        return 2;
    }
    kScenarios.at(argv[1])();
    return wine::FinishChecks();
}
