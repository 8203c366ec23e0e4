// A stand-in for the programs that Tarnwick watches. Tests copy it under the names
// they register (Editor.exe, EDITOR.EXE, ...) and start it; with "--window TITLE"
// it shows a top-level window, so that a test can put it in the foreground.
// It ends by itself after five minutes, should a test fail to end it.
#include <windows.h>

#include <cwchar>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    int argc = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (argc >= 3 && std::wcscmp(argv[1], L"--window") == 0) {
        SetForegroundWindow(CreateWindowExW(0, L"STATIC", argv[2], WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200,
                                            nullptr, nullptr, instance, nullptr));
    }
    LocalFree(argv);
    SetTimer(nullptr, 0, 5 * 60 * 1000, nullptr);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0 && message.message != WM_TIMER) DispatchMessageW(&message);
    return 0;
}
