// The English interface, on a western Windows whose display language is not
// Japanese: the main window, a history line, the entry and options dialogs in
// English, and the save file byte for byte as the Japanese interface writes it.
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
    WINE_CHECK(WaitFor([&] { return target.PriorityClass() == HIGH_PRIORITY_CLASS && run.HistoryCount() == 1; }) &&
               run.HistoryLine(0).substr(17) == " Normal → High TwTarget.exe");  // after a time stamp of 17 characters

    // The entry dialog offers the classes by their English names.
    const Dialog entry = run.Open(1003, "Program and Priority");
    entry.SetText(1020, "Added.exe");
    entry.Select(1019, "Above normal");
    WINE_CHECK(entry.Close(IDOK) && run.Column(3) == (Texts{"High", "Below normal", "Above normal"}));
    const Dialog options = run.Open(1008, "Tarnwick - Options");
    WINE_CHECK(options.Page(1044).Text(1044) == "Create a shortcut on the desktop" && options.Close(IDCANCEL));

    // Saved in the file's own Japanese names.
    WINE_CHECK(run.ClickDone(1006) && install.Save() == save + "1,Added.exe,通常以上,指定なし,\r\n" && run.Quit());
}

}  // namespace tarnwick::wine
