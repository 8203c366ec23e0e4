// Registering programs: by a typed name, from the running programs and by browsing;
// changing them through the entry dialog and the context menu; deleting; sorting;
// the icon held off while the entry dialog is open.
#include "tests/wine/wine_support.h"

namespace tarnwick::wine {

namespace {

using Texts = std::vector<std::string>;
constexpr const char* kDescription = "テスト用の対象プログラム";  // the later of the target's two translations

// Opens the registration list's context menu (a real right click on the row, or
// Shift+F10 on the selected one, which opens it below that row) and picks the item
// at a position (1 = the first) with the keyboard, as a user does.
bool ChooseFromMenu(TarnwickRun& run, int row, int position) {
    if (row >= 0) run.ClickItem(run.List(), LVM_GETITEMRECT, row, true);
    if (row < 0) PressKey(VK_F10, VK_SHIFT);
    if (!WaitFor([&] { return run.MenuOpen(); })) return false;
    if (row < 0) {
        RECT menu{};
        GetWindowRect(FindProcessWindow(run.Id(), L"#32768"), &menu);
        const RECT selected = run.ItemBounds(run.List(), LVM_GETITEMRECT, run.SelectedRow());
        WINE_CHECK(menu.left > selected.left && menu.left < selected.right && std::abs(menu.top - selected.bottom) <= 2);
    }
    for (int i = 0; i < position; ++i) PressKey(VK_DOWN);
    PressKey(VK_RETURN);
    return true;
}

}  // namespace

// A new user (no settings file) saves every change at once.
void AddByTypedName() {
    Installation install;
    // Japanese file names: matched on a western system too.
    Started editor = install.Target(Wide("エディタ.exe"));
    Started tool = install.Target(Wide("ＴＯＯＬ.exe"));
    TarnwickRun run(install);
    WINE_CHECK(run.Ready());

    // A typed name without its extension, taken with ".exe", at high, confirmed: the row
    // and the class applied.
    Dialog entry = run.NewEntry("  エディタ \t", "高");
    WINE_CHECK(!entry.Enabled(1047) && !entry.Enabled(1050) && run.FocusedControl() == entry.Item(1020));
    entry.SetText(1046, "編集");
    entry.Press(IDOK);
    WINE_CHECK(run.AnswerMessageBox("プログラム名の警告", IDYES) && run.AnswerMessageBox("優先度の確認", IDYES) &&
               entry.Closed() && run.Settle());
    WINE_CHECK(run.Column(1) == Texts{"エディタ.exe"} && run.Text(0, 2) == "編集" && run.Text(0, 3) == "高");
    WINE_CHECK(WaitFor([&] { return editor.PriorityClass() == HIGH_PRIORITY_CLASS && run.Text(0, 5) == "1"; }));

    // The active priority's box enables its combo box.
    entry = run.NewEntry("ｔｏｏｌ.EXE", "低");
    entry.Press(1048);
    WINE_CHECK(WaitFor([&] { return entry.Enabled(1047) && entry.Enabled(1050); }));
    entry.Select(1047, "通常以上");
    WINE_CHECK(entry.Close(IDOK) && run.Text(1, 1) == "ｔｏｏｌ.EXE" && run.Text(1, 4) == "通常以上");
    WINE_CHECK(WaitFor([&] { return tool.PriorityClass() == IDLE_PRIORITY_CLASS; }));

    // Change keeps the name locked and the run count, and the watch cycle applies the new class.
    run.Select(0);
    entry = run.Open(1004, kEntryTitle);
    WINE_CHECK(entry.Text(1020) == "エディタ.exe" && !entry.Enabled(1020) && !entry.Enabled(1018) &&
               !entry.Enabled(1016) && entry.Text(1019) == "高" && entry.Text(1046) == "編集");
    entry.Select(1019, "低");
    WINE_CHECK(entry.Close(IDOK) && run.Text(0, 3) == "低");
    WINE_CHECK(WaitFor([&] { return editor.PriorityClass() == IDLE_PRIORITY_CLASS && run.Text(0, 5) == "2"; }));

    // A real double-click on a row opens it too.
    WINE_CHECK(BringToForeground(run.Window()));
    run.ClickItem(run.List(), LVM_GETITEMRECT, 1, false, 2);
    entry = run.WaitForDialog(kEntryTitle);
    WINE_CHECK(entry.Text(1020) == "ｔｏｏｌ.EXE" && entry.Checked(1048) && entry.Text(1047) == "通常以上" &&
               entry.Close(IDCANCEL) && run.Settle());
    // Saved without the save button (a new user).
    WINE_CHECK(install.Save() == "Version:4.0.0\r\n1,エディタ.exe,低,指定なし,編集\r\n1,ｔｏｏｌ.EXE,低,通常以上,\r\n");
    WINE_CHECK(run.ColumnsShowWholeTexts() && run.Quit());
}

void AddFromRunningListAndBrowse() {
    Installation install("AUTOSAVEMODE=1\r\n");
    Started listed = install.Target(L"TwListed.exe");
    Started first = install.Target(L"aaFirst.exe");
    const std::wstring browsed = PlaceTarget(install.folder.Path(), L"z", L"Browsed.exe");
    TarnwickRun run(install);
    WINE_CHECK(run.Ready());

    Dialog entry = run.Open(1003, kEntryTitle);
    // Under the open dialog the icon's options command, menu and double-click open nothing.
    run.PostCommand(32772);
    for (UINT mouse : {WM_RBUTTONUP, WM_LBUTTONDBLCLK}) run.TrayMouse(mouse);
    WINE_CHECK(run.Settle() && !run.FindDialog(kOptionsTitle) && !run.MenuOpen() &&
               WaitFor([&] { return GetForegroundWindow() == entry.window; }));
    Dialog running = run.RunningList(entry);
    HWND list = running.Item(1000);
    const int row = run.Find("TwListed.exe", list);
    WINE_CHECK(row >= 0 && run.SelectedRow(list) == 0 && run.Find("Tarnwick.exe", list) >= 0);
    WINE_CHECK(run.Text(row, 1, list) == kDescription && run.Text(row, 2, list) == "通常" &&
               run.ColumnsShowWholeTexts(list));

    // Refresh lists a program started since; OK takes the selected row.
    Started late = install.Target(L"TwLate.exe");
    WINE_CHECK(run.Find("TwLate.exe", list) < 0);
    running.Press(1009);
    WINE_CHECK(WaitFor([&] { return run.Find("TwLate.exe", list) >= 0; }));
    run.Select(run.Find("TwListed.exe", list), list);
    WINE_CHECK(running.Close(IDOK) && entry.Text(1020) == "TwListed.exe" && entry.Text(1046) == kDescription);

    // A real double-click takes its row.
    running = run.RunningList(entry);
    list = running.Item(1000);
    WINE_CHECK(BringToForeground(running.window));
    run.ClickItem(list, LVM_GETITEMRECT, run.Find("aaFirst.exe", list), false, 2);
    WINE_CHECK(running.Closed() && entry.Text(1020) == "aaFirst.exe");

    // Browsing takes the chosen file's name and description (the system's dialog, given a typed path).
    entry.Press(1016);
    const Dialog open = run.WaitForDialog("実行プログラム名の指定");
    open.SetText(open.Item(0x47C) ? 0x47C : 0x480, Narrow(browsed));  // cmb13, or edt1
    WINE_CHECK(open.Close(IDOK));
    WINE_CHECK(entry.Text(1020) == "Browsed.exe" && entry.Text(1046) == kDescription && entry.Close(IDOK));

    WINE_CHECK(run.Settle() && install.Save() == std::string("Version:4.0.0\r\n1,Browsed.exe,通常,指定なし,") + kDescription + "\r\n" &&
               run.Quit());
}

// The context menu, sorting and the save button, a tick, a deletion saved at once, the close box.
void ContextMenuSortAndSave() {
    const std::string save = "Version:4.0.0\r\n1,TwQuick.exe,通常,指定なし,quick\r\n1,Alpha.exe,通常以下,高,a\r\n"
                             "0,beta.exe,低,指定なし,b\r\n1,Gamma.exe,低,指定なし,g\r\n";
    Installation install("AUTOLOADMODE=1\r\nAUTOSAVEMODE=1\r\n", save);
    Started quick = install.Target(L"TwQuick.exe");
    TarnwickRun run(install);
    WINE_CHECK(run.Ready(4) && BringToForeground(run.Window()) && install.Save() == save);  // loading writes nothing

    // A right click opens the full menu (Windows 2000 and later); high asks first.
    WINE_CHECK(ChooseFromMenu(run, 0, 2) && run.AnswerMessageBox("優先度の確認", IDYES));  // 指定：高
    WINE_CHECK(WaitFor([&] { return run.Text(0, 3) == "高" && quick.PriorityClass() == HIGH_PRIORITY_CLASS; }));

    // From the keyboard (Shift+F10) on the selected row; the third item is 通常以上 only in the full menu.
    run.Select(1);
    SetFocus(nullptr);
    PostMessageW(run.Window(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(run.List()), TRUE);
    WINE_CHECK(WaitFor([&] { return run.FocusedControl() == run.List(); }));
    WINE_CHECK(ChooseFromMenu(run, -1, 3) && WaitFor([&] { return run.Text(1, 3) == "通常以上"; }));

    // Without a selected row no menu opens: Home, pressed after, reaches the list.
    run.ClearSelection();
    WINE_CHECK(WaitFor([&] { return run.SelectedRow() == -1; }));
    PressKey(VK_F10, VK_SHIFT);
    PressKey(VK_HOME);
    WINE_CHECK(WaitFor([&] { return run.SelectedRow() == 0; }) && !run.MenuOpen());

    // The menu's active part sets the active column.
    WINE_CHECK(ChooseFromMenu(run, 3, 10) && WaitFor([&] { return run.Text(3, 4) == "通常"; }));  // ｱｸﾃｨﾌﾞ：通常

    // Sorting by a column (a real click on its header) changes the order that the save button writes.
    run.ClickItem(ListView_GetHeader(run.List()), HDM_GETITEMRECT, 1);
    WINE_CHECK(WaitFor([&] { return run.Column(1) == Texts{"TwQuick.exe", "Gamma.exe", "beta.exe", "Alpha.exe"}; }));
    const std::string gamma = "1,Gamma.exe,低,通常,g\r\n", alpha = "1,Alpha.exe,通常以上,高,a\r\n";
    DeleteFileW(install.Path(L"Tarnwick.sav").c_str());
    WINE_CHECK(run.ClickDone(1006) && install.Save() == "Version:4.0.0\r\n1,TwQuick.exe,高,指定なし,quick\r\n" + gamma +
                                                            "0,beta.exe,低,指定なし,b\r\n" + alpha);

    // A tick of a check box reaches the row; deleting asks first, and the file follows at once.
    run.SetChecked(0, false);
    WINE_CHECK(WaitFor([&] { return run.Text(0, 0) == "しない"; }));
    run.Select(2);
    run.Click(1005);
    WINE_CHECK(run.AnswerMessageBox("削除の確認", IDYES, "本当に削除してよろしいですね。") && run.Settle() && run.SelectedRow() == 2 &&
               install.Save() == "Version:4.0.0\r\n0,TwQuick.exe,高,指定なし,quick\r\n" + gamma + alpha);

    // The close box ends the program too.
    PostMessageW(run.Window(), WM_SYSCOMMAND, SC_CLOSE, 0);
    WINE_CHECK(run.Ended());
}

}  // namespace tarnwick::wine
