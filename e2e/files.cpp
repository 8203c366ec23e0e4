// The save file and its surroundings: the old layout converted in a folder of any
// name that is then moved, a program folder that refuses writes, files that are
// folders, another program's save file left unloaded, replaced and held by it, a
// full disk, a save file of 23 MB.
#include <shlobj.h>

#include "tests/wine/wine_support.h"

namespace tarnwick::wine {

namespace {

// Where Tarnwick keeps its files when its own folder cannot take them.
std::wstring PerUserFolder() {
    wchar_t appData[MAX_PATH] = L"";
    SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, 0, appData);
    return std::wstring(appData) + L"\\Tarnwick";
}

}  // namespace

// The old layout converted in a folder whose name code page 932 cannot hold (a user
// named José, a Korean name): the program's own files work there all the same. Moved
// elsewhere, the folder keeps its registrations, the save file being named by its
// bare name in the settings. Nothing goes to the per-user folder.
void OldLayout() {
    const std::string old = "1,TwTarget.exe,高,old, with comma\r\n0,ＷＩＤＥ.exe,低,\r\n";
    Installation install("AUTOLOADMODE=1\r\n", old, L"José 한국");
    {
        TarnwickRun run(install);
        WINE_CHECK(run.Ready(2) && install.Save() ==
                   "Version:4.0.0\r\n1,TwTarget.exe,高,指定なし,old, with comma\r\n0,ＷＩＤＥ.exe,低,指定なし,\r\n");
        // OK in the options writes the settings, the save file by its bare name: the move below finds it.
        WINE_CHECK(run.Open(1008, kOptionsTitle).Close(IDOK) && run.QuitLeaving("Tarnwick.exe Tarnwick.ini Tarnwick.sav"));
    }
    Installation moved(TempFolder::Existing{install.folder.Path() + L" 移動"});
    WINE_CHECK(MoveFileW(install.folder.Path().c_str(), moved.folder.Path().c_str()));
    TarnwickRun run(moved);
    WINE_CHECK(run.Ready(2) && run.Text(0, 1) == "TwTarget.exe" && run.Quit());
    WINE_CHECK(!IsFolder(PerUserFolder()));
}

// A program folder that refuses writes, as C:\Program Files does a standard user
// (its fixture, e2e/locked-folder.sh, locks it on the Linux side): the files are
// read there the first time and go to %APPDATA%\Tarnwick, where the changes are
// written; the program folder keeps its files as they were.
void UnwritableProgramFolder() {
    Installation install(TempFolder::Existing{L"C:\\tarnwick-locked"});
    const TempFolder perUserFiles(TempFolder::Existing{PerUserFolder()});  // removed at the end
    const std::string settings = install.Settings(), save = install.Save(), perUser = Narrow(perUserFiles.Path());
    WINE_CHECK(!WriteBytes(install.Path(L"probe"), "x"));  // the lock really refuses
    {
        TarnwickRun run(install);
        WINE_CHECK(run.Ready(1) && run.StateImage(0) == 2);
        const Dialog options = run.Open(1008, kOptionsTitle);
        const Dialog file = options.Page(1013), watch = options.Page(1026);
        WINE_CHECK(file.Text(1049) == perUser + "\\" && file.Text(1015) == perUser + "\\Tarnwick.sav" &&
                   watch.Text(1022) == "7");
        watch.SetText(1022, "5");
        WINE_CHECK(options.Close(IDOK));
        run.SetChecked(0, false);
        WINE_CHECK(run.ClickDone(1006) && run.Quit());
    }
    const std::string bytes = ReadBytes(perUserFiles.Path() + L"\\Tarnwick.ini");
    WINE_CHECK(bytes.find("RETRYCOUNT=5\r\n") != std::string::npos &&
               bytes.find("SAVEFILENAME=Tarnwick.sav\r\n") != std::string::npos);
    WINE_CHECK(ReadBytes(perUserFiles.Path() + L"\\Tarnwick.sav") == "Version:4.0.0\r\n0,locked.exe,高,指定なし,\r\n");
    WINE_CHECK(install.Files() == "Tarnwick.exe Tarnwick.ini Tarnwick.sav" && install.Settings() == settings &&
               install.Save() == save);
}

// Folders where the save file and the settings file should be: the load finds
// nothing and says nothing, the defaults hold, a save reports its failure, and both
// folders are left as they were.
void FilesThatAreFolders() {
    Installation install;
    WINE_CHECK(CreateDirectoryW(install.Path(L"Tarnwick.ini").c_str(), nullptr) &&
               CreateDirectoryW(install.Path(L"Tarnwick.sav").c_str(), nullptr));
    TarnwickRun run(install);
    WINE_CHECK(run.Ready(0) && run.Settle() && !run.FindDialog(kSaveFailedTitle));  // the defaults: shown at start
    run.Click(1006);
    WINE_CHECK(run.AnswerMessageBox(kSaveFailedTitle, IDOK, kSaveFailed));
    WINE_CHECK(run.QuitLeaving("Tarnwick.exe") && IsFolder(install.Path(L"Tarnwick.sav")) && IsFolder(install.Path(L"Tarnwick.ini")));
}

// Another program's save file: with auto-load off it is left unloaded and the history
// says how many registrations it holds; a save asks before it replaces that file
// (Cancel leaves it); the end of the Windows session writes the unsaved list beside
// it; Load shows its records. Then the other program
// holds the file open without sharing: held for a moment, as a scanner does, the
// save waits for it; held for longer, the save reports its failure and leaves that
// file and no stray copy.
void SaveFileChangedByAnother() {
    const std::string other = "Version:4.0.0\r\n0,other.exe,通常以下,指定なし,written elsewhere\r\n";
    Installation install("AUTOLOADMODE=0\r\n", other);
    TarnwickRun run(install);
    WINE_CHECK(run.Ready() && run.HistoryLine(0).find(" セーブファイルの 1 件の登録は読み込まれていません。") == 17);
    WINE_CHECK(run.NewEntry("mine.exe").Close(IDOK) && run.Settle());
    run.Click(1006);
    WINE_CHECK(run.AnswerMessageBox("セーブファイルの変更の確認", IDCANCEL) && run.Settle() && install.Save() == other);
    WINE_CHECK(SendMessageTimeoutW(run.Window(), WM_ENDSESSION, TRUE, 0, SMTO_NORMAL, 15000, nullptr) &&
               install.Save() == other && install.Bytes(L"Tarnwick-session-end.sav").find(",mine.exe,") == 16);
    run.Click(1007);
    WINE_CHECK(WaitFor([&] { return run.RowCount() == 1 && run.Text(0, 1) == "other.exe"; }));

    const auto hold = [&] {
        return CreateFileW(install.Path(L"Tarnwick.sav").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    };
    HANDLE held = hold();
    WINE_CHECK(held != INVALID_HANDLE_VALUE);
    run.SetChecked(0, true);
    run.Click(1006);
    Sleep(200);  // Tarnwick is busy trying again meanwhile
    WINE_CHECK(!SendMessageTimeoutW(run.Window(), WM_NULL, 0, 0, SMTO_NORMAL, 20, nullptr));
    CloseHandle(held);
    const std::string checked = "Version:4.0.0\r\n1,other.exe,通常以下,指定なし,written elsewhere\r\n";
    WINE_CHECK(run.Settle() && install.Save() == checked &&
               !run.FindDialog(kSaveFailedTitle));

    held = hold();
    WINE_CHECK(held != INVALID_HANDLE_VALUE);
    run.SetChecked(0, false);
    run.Click(1006);
    WINE_CHECK(run.AnswerMessageBox(kSaveFailedTitle, IDOK, kSaveFailed));
    CloseHandle(held);
    const std::string files = "Tarnwick-session-end.sav Tarnwick.exe Tarnwick.ini Tarnwick.sav";
    WINE_CHECK(install.Save() == checked && install.Files() == files);
    WINE_CHECK(run.ClickDone(1006) && install.Save() == other);  // released: the save goes through
    WINE_CHECK(run.QuitLeaving(files));
}

// A full disk (a small file system that the fixture, e2e/full-disk.sh, filled): the
// automatic save of a new registration fails, so ending asks about it rather than
// dropping it, and once there is room the registration is kept.
void FullDisk() {
    Installation install(TempFolder::Existing{L"C:\\tarnwick-full"});
    TarnwickRun run(install);
    WINE_CHECK(run.Ready());
    WINE_CHECK(run.NewEntry("kept.exe", "通常").Close(IDOK) && run.AnswerMessageBox(kSaveFailedTitle, IDOK, kSaveFailed));
    WINE_CHECK(DeleteFileW(install.Path(L"filler").c_str()));
    run.PostCommand(32773);
    WINE_CHECK(run.AnswerMessageBox(kEndTitle, IDYES) && run.Ended());
    WINE_CHECK(install.Save() == "Version:4.0.0\r\n1,kept.exe,通常,指定なし,\r\n");
}

// A save file of tens of megabytes: a record whose description alone is 17 million
// bytes, and 600 records of 10 KB each. Loaded and saved again, byte for byte.
void HugeSaveFile() {
    std::string save = "Version:4.0.0\r\n1,huge.exe,高,指定なし," + std::string(17'000'000, 'd') + "\r\n";
    for (int i = 0; i < 600; ++i) {
        save += "0,p" + std::to_string(i) + ".exe,低,通常," + std::string(10'000, static_cast<char>('a' + i % 26)) + "\r\n";
    }
    Installation install("AUTOLOADMODE=1\r\n", save);
    TarnwickRun run(install);
    WINE_CHECK(run.Ready(601, true, 120000));
    WINE_CHECK(run.Text(0, 1) == "huge.exe" && run.Text(600, 1) == "p599.exe");
    DeleteFileW(install.Path(L"Tarnwick.sav").c_str());
    WINE_CHECK(run.ClickDone(1006, 120000) && install.Save() == save);
    WINE_CHECK(run.Quit());
}

}  // namespace tarnwick::wine
