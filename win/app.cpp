#include "win/app.h"

namespace tarnwick {

namespace {
CWinApp* g_app = nullptr;
}

CWinApp::CWinApp() { g_app = this; }
CWinApp::~CWinApp() {
    if (g_app == this) g_app = nullptr;
}

CWinApp* AfxGetApp() { return g_app; }

}  // namespace tarnwick

// The program's entry: everything happens inside the application's InitInstance.
int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    tarnwick::CWinApp* app = tarnwick::AfxGetApp();
    if (!app) return 1;
    app->InitInstance();
    return 0;
}
