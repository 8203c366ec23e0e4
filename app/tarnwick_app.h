// The application object: it owns the settings, the process enumerator and the
// system's version record for the whole run, and InitInstance is that run: one
// instance at a time, the settings read, the main window run hidden until the
// user ends it.
#pragma once

#include <windows.h>

#include "core/settings.h"
#include "core/files.h"
#include "app/process_api_win.h"
#include "watch/process_enumerator.h"
#include "win/app.h"

namespace tarnwick {

inline constexpr const wchar_t* kInstanceMutexName = L"AFX_TARNWICK_3D94C6E0_71AF_4B28_9E53_C0A7F21D86B4_MUTEX";

class CTarnwickApp final : public CWinApp {
public:
    CTarnwickApp();
    BOOL InitInstance() override;
    // Enables (attributes 2) or disables (0) a privilege of this process; does
    // nothing and succeeds before Windows NT 4.0.
    BOOL SetPrivilege(const char* name, DWORD attributes);

private:
    // Asks the running instance to show its window; false when it cannot be asked.
    static bool HandOverToRunningInstance();
    static void ShowInitError(Text text);

    // Declared first: the settings and the enumerator below are built on them.
    StdioFileSystem m_files;
    Win32ProcessApi m_processApi;

public:
    AppSettings m_settings;
    CProcessEnumerator m_enumerator;
    OsVersion m_osVersion;
};

}  // namespace tarnwick
