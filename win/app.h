// The application object of the thin framework: one global object whose
// InitInstance is the program's whole run (wWinMain calls it and returns).
#pragma once

#include <windows.h>

namespace tarnwick {

class CDialog;

class CWinApp {
public:
    CWinApp();
    virtual ~CWinApp();
    virtual BOOL InitInstance() = 0;

    CDialog* m_pMainWnd = nullptr;
};

// The one application object, set by its construction.
CWinApp* AfxGetApp();

}  // namespace tarnwick
