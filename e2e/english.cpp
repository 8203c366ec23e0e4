// The English interface, on a western Windows whose display language is not
// Japanese: the main window, a history line in the user's date format, the entry
// dialog's questions and options dialog in English, columns that show their texts
// whole, and the save file byte for byte as the Japanese interface writes it.
#include "tests/wine/wine_support.h"

namespace tarnwick::wine {

void EnglishInterface() {
    using Texts = std::vector<std::string>;
    const std::string save = "Version:4.0.0\r\n1,TwTarget.exe,高,指定なし,watched\r\n0,Other.exe,通常以下,通常以上,\r\n";
    Installation install("AUTOLOADMODE=1\r\n", save);
    Started target = install.Target(L"TwTarget.exe");
    TarnwickRun run(install);
    WINE_CHECK(run.Ready(2) && Narrow(TitleOf(run.Window())) == kMainTitleEnglish && run.Main().Text(1003) == "&Add...");
    WINE_CHECK(run.Column(0) == (Texts{"Yes", "No"}) && run.Column(3) == (Texts{"High", "Below normal"}) &&
               run.Column(4) == (Texts{"(none)", "Above normal"}));
    const std::string line = " TwTarget.exe: Normal → High";
    wchar_t date[80] = L"";  // today as the user's Windows writes a short date
    GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, date, 80, nullptr);
    WINE_CHECK(WaitFor([&] { return target.PriorityClass() == HIGH_PRIORITY_CLASS && run.HistoryCount() == 1; }) &&
               run.HistoryLine(0).rfind(Narrow(date) + " ", 0) == 0 &&
               run.HistoryLine(0).substr(run.HistoryLine(0).size() - line.size()) == line);

    // The entry dialog offers the classes by their English names, and ".exe" for a bare name.
    Dialog entry = run.NewEntry("Added", "Above normal", "Program and Priority");
    entry.Press(IDOK);
    WINE_CHECK(run.AnswerMessageBox("Program Name", IDYES, "Did you mean Added.exe?\nTarnwick matches the whole file "
                                                           "name, extension included.\n(Click No to keep the name as typed.)"));
    WINE_CHECK(entry.Closed() && run.Column(3) == (Texts{"High", "Below normal", "Above normal"}));
    // A name registered already keeps the dialog open with the name selected for correction.
    entry = run.NewEntry("twtarget.exe", "", "Program and Priority");
    entry.Press(IDOK);
    WINE_CHECK(run.AnswerMessageBox("Add Program", IDOK) && run.Settle() && run.FocusedControl() == entry.Item(1020) &&
               SendMessageW(entry.Item(1020), EM_GETSEL, 0, 0) == MAKELONG(0, 12) && entry.Close(IDCANCEL));
    WINE_CHECK(run.ColumnsShowWholeTexts());
    const Dialog options = run.Open(1008, "Tarnwick - Options");
    WINE_CHECK(options.Page(1044).Text(1044) == "Create a shortcut on the desktop" && options.Close(IDCANCEL));

    // Saved in the file's own Japanese names.
    WINE_CHECK(run.ClickDone(1006) && install.Save() == save + "1,Added.exe,通常以上,指定なし,\r\n" && run.Quit());
}

}  // namespace tarnwick::wine
