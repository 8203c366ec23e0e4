// Start-up and the single instance: the window at start or hidden, the icon and its
// menu, a second start handing over to the first, twenty starts at once; libraries
// left beside the program never run in it.
#include "tests/wine/wine_support.h"

namespace tarnwick::wine {

namespace {

bool Centred(HWND window) {
    RECT area{}, bounds{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    GetWindowRect(window, &bounds);
    return std::labs((bounds.left + bounds.right) - (area.left + area.right)) <= 2 &&
           std::labs((bounds.top + bounds.bottom) - (area.top + area.bottom)) <= 2;
}

bool MovedAside(HWND window) { return SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE); }

// Waits until Wine's stand-in tray shows this many notification-area icons.
bool IconCount(int count) {
    return WaitFor([count] {
        int shown = 0;
        for (HWND icon : AllWindows(0, true)) shown += ClassOf(icon) == L"__winex11_tray_icon" && IsWindowVisible(icon);
        return shown == count;
    });
}

// A registration whose target gives each watch tick a visible effect.
const std::string kTicking = "Version:4.0.0\r\n1,TwTick.exe,高,指定なし,\r\n";

}  // namespace

// A first start: the window at once with its list and its version box, nothing written.
// Hidden at start: only a double-click, the icon menu or a second start show it.
void StartUp() {
    {
        Installation install;
        TarnwickRun run(install);
        WINE_CHECK(run.Ready() && Narrow(TitleOf(run.Window())) == kMainTitle);  // shown at start by default
        WINE_CHECK(run.HistoryCount() == 0 && IconCount(1));
        // Every column of the list within its width: no horizontal scroll bar.
        RECT list{};
        GetClientRect(run.List(), &list);
        int widths = 0;
        for (int column = 0; column < 6; ++column) widths += SendMessageW(run.List(), LVM_GETCOLUMNWIDTH, column, 0);
        WINE_CHECK(widths <= list.right);
        PostMessageW(run.Window(), WM_SYSCOMMAND, 0x0010, 0);  // the system menu's version box, owned by the window
        const Dialog about = run.WaitForDialog("Tarnwick - バージョン情報");
        WINE_CHECK(GetWindow(about.window, GW_OWNER) == run.Window() && about.Close(IDOK));
        run.Click(2);  // 常駐終了(ESC)
        WINE_CHECK(run.Ended() && install.Files() == "Tarnwick.exe" && IconCount(0));
    }

    Installation install("AUTOLOADMODE=1\r\nRUNPANELVIEW=0\r\n", kTicking);
    Started target = install.Target(L"TwTick.exe");
    TarnwickRun first(install);
    WINE_CHECK(first.Ready(1, false) && IconCount(1));
    // A single click and a right button going down do nothing: still hidden a tick later.
    first.TrayMouse(WM_LBUTTONUP);
    first.TrayMouse(WM_RBUTTONDOWN);
    WINE_CHECK(WaitForCorrection(target, HIGH_PRIORITY_CLASS) && !first.Visible() && !first.MenuOpen());

    // A second start brings the first one's window to the front, centred, and ends.
    WINE_CHECK(MovedAside(first.Window()));
    TarnwickRun second(install);
    WINE_CHECK(second.Ended(10000) && first.InFront() && Centred(first.Window()));

    // Hidden and moved aside: a double-click on the icon brings it back centred.
    first.Click(1043);
    WINE_CHECK(WaitFor([&] { return !first.Visible(); }) && MovedAside(first.Window()));
    first.TrayMouse(WM_LBUTTONDBLCLK);
    WINE_CHECK(first.InFront() && Centred(first.Window()));

    // The icon's menu opens at a right click and its first item shows the window.
    first.Click(1043);
    first.TrayMouse(WM_RBUTTONUP);
    WINE_CHECK(WaitFor([&] { return !first.Visible() && first.MenuOpen(); }));
    PostMessageW(first.Window(), WM_CANCELMODE, 0, 0);  // the menu closes without a command
    WINE_CHECK(WaitFor([&] { return !first.MenuOpen(); }) && !first.Visible());
    first.PostCommand(32771);
    WINE_CHECK(first.InFront());

    // When the shell loses its icons (Explorer restarting), "TaskbarCreated" brings it back.
    NOTIFYICONDATAW icon{};
    icon.cbSize = NOTIFYICONDATAW_V1_SIZE;
    icon.hWnd = first.Window();
    icon.uID = 137;
    WINE_CHECK(Shell_NotifyIconW(NIM_DELETE, &icon) && IconCount(0));
    PostMessageW(first.Window(), RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    WINE_CHECK(IconCount(1));

    // Escape ends the program and the icon goes.
    PostMessageW(first.List(), WM_KEYDOWN, VK_ESCAPE, 0);
    WINE_CHECK(first.Ended() && IconCount(0));
}

// Twenty copies started at once: one keeps running with its icon and its one
// window; every other hands over and ends by itself (a message box would keep it
// running), and nothing is written.
void StartUpStorm() {
    Installation install("AUTOLOADMODE=1\r\n", kTicking);
    Started target = install.Target(L"TwTick.exe");
    std::vector<std::unique_ptr<TarnwickRun>> runs;
    for (int i = 0; i < 20; ++i) runs.push_back(std::make_unique<TarnwickRun>(install));
    TarnwickRun* survivor = nullptr;
    WINE_CHECK(WaitFor([&] {
        int ended = 0;
        for (const auto& run : runs) {
            if (run->Alive()) survivor = run.get();
            else ended += run->Ended(0);
        }
        return ended == 19;
    }, 60000));
    if (!WINE_CHECK(survivor && survivor->Ready(1))) return;
    int windows = 0;
    for (HWND window : AllWindows()) windows += Narrow(TitleOf(window)) == kMainTitle;
    WINE_CHECK(windows == 1 && IconCount(1));
    // A tick after the others ended: still one icon, and the survivor runs on.
    WINE_CHECK(WaitForCorrection(target, HIGH_PRIORITY_CLASS) && IconCount(1) && survivor->Alive());
    WINE_CHECK(survivor->QuitLeaving("Tarnwick.exe Tarnwick.ini Tarnwick.sav") &&
               install.Settings() == "AUTOLOADMODE=1\r\n" && install.Save() == kTicking);
}

// A library left beside the program under the name of one that it loads (the process
// listing's, the version functions'), or that the system loads for a window, never
// runs in it: not at start, nor when the running programs list reads each program's
// version information.
void PlantedLibraries() {
    Installation install;
    for (const wchar_t* name :
         {L"PSAPI.DLL", L"VDMDBG.DLL", L"version.dll", L"comctl32.dll", L"uxtheme.dll", L"dwmapi.dll"}) {
        WINE_CHECK(CopyFileW((ProgramFolder() + L"\\planted_library.dll").c_str(), install.Path(name).c_str(), FALSE));
    }
    TarnwickRun run(install);
    WINE_CHECK(run.Ready());
    const Dialog entry = run.Open(1003, kEntryTitle);
    const Dialog running = run.RunningList(entry);
    // The program's own description read through the version functions.
    const HWND list = running.Item(1000);
    WINE_CHECK(run.Text(run.Find("Tarnwick.exe", list), 1, list) == "Tarnwick Version 4.0");
    WINE_CHECK(running.Close(IDCANCEL) && entry.Close(IDCANCEL) && run.Quit());
    std::printf("files beside the program: %s\n", install.Files().c_str());
    WINE_CHECK(install.Files().find(".loaded") == std::string::npos);
}

}  // namespace tarnwick::wine
