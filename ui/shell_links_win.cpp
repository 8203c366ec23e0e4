#include "ui/shell_links_win.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include "win/text.h"

namespace tarnwick {

std::optional<std::string> Win32ShellLinks::FolderPath(ShortcutFolder folder) {
    IMalloc* allocator = nullptr;
    if (FAILED(SHGetMalloc(&allocator)) || !allocator) return std::nullopt;
    std::optional<std::string> path;
    LPITEMIDLIST items = nullptr;
    if (SUCCEEDED(SHGetSpecialFolderLocation(GetDesktopWindow(), static_cast<int>(folder), &items)) && items) {
        wchar_t buffer[MAX_PATH];
        if (SHGetPathFromIDListW(items, buffer)) path = NarrowPath(buffer);
        allocator->Free(items);
    }
    allocator->Release();
    return path;
}

bool Win32ShellLinks::Exists(const std::string& path) {
    return GetFileAttributesW(Wide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool Win32ShellLinks::Remove(const std::string& path) { return DeleteFileW(Wide(path).c_str()) != 0; }

bool Win32ShellLinks::Create(const std::string& link, const std::string& target, const std::string& workingDirectory) {
    const std::wstring linkPath = Wide(link);
    const HRESULT initialised = CoInitialize(nullptr);
    IShellLinkW* shellLink = nullptr;
    IPersistFile* file = nullptr;
    bool saved = false;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                   reinterpret_cast<void**>(&shellLink)))) {
        shellLink->SetPath(Wide(target).c_str());
        shellLink->SetWorkingDirectory(Wide(workingDirectory).c_str());
        if (SUCCEEDED(shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
            saved = SUCCEEDED(file->Save(linkPath.c_str(), TRUE));
            file->Release();
        }
        shellLink->Release();
    }
    if (SUCCEEDED(initialised)) CoUninitialize();
    return saved;
}

}  // namespace tarnwick
