#include "ui/version_files_win.h"

#include <windows.h>

#include <new>
#include <vector>

#include "win/system_library.h"
#include "win/text.h"

namespace tarnwick {

namespace {

// The version information block, released with the object; read while the files
// object that made it keeps the library.
class BlockVersionInfo final : public VersionInfo {
public:
    BlockVersionInfo(std::vector<BYTE> block, Win32VersionFiles::QueryValueFn queryValue)
        : m_block(std::move(block)), m_queryValue(queryValue) {}

    std::optional<std::vector<Translation>> Translations() const override {
        void* value = nullptr;
        UINT bytes = 0;
        if (!m_queryValue(m_block.data(), L"\\VarFileInfo\\Translation", &value, &bytes) || !value) {
            return std::nullopt;
        }
        std::vector<Translation> pairs;
        const auto* words = static_cast<const WORD*>(value);
        for (UINT i = 0; i < bytes / 4; ++i) pairs.emplace_back(words[2 * i], words[2 * i + 1]);
        return pairs;
    }

    std::string Value(const std::string& query) const override {
        void* value = nullptr;
        UINT length = 0;  // in characters
        if (!m_queryValue(m_block.data(), Wide(query).c_str(), &value, &length) || !value || length == 0) return {};
        const auto* text = static_cast<const wchar_t*>(value);
        return Narrow(std::wstring(text, wcsnlen(text, length)));
    }

private:
    std::vector<BYTE> m_block;
    Win32VersionFiles::QueryValueFn m_queryValue;
};

}  // namespace

Win32VersionFiles::~Win32VersionFiles() {
    if (m_library) FreeLibrary(m_library);
}

bool Win32VersionFiles::Loaded() {
    if (!m_tried) {
        m_tried = true;
        m_library = LoadSystemLibrary(L"version.dll");
        if (m_library) {
            m_getSize = LibraryFunction<GetSizeFn>(m_library, "GetFileVersionInfoSizeW");
            m_getInfo = LibraryFunction<GetInfoFn>(m_library, "GetFileVersionInfoW");
            m_queryValue = LibraryFunction<QueryValueFn>(m_library, "VerQueryValueW");
        }
    }
    return m_getSize && m_getInfo && m_queryValue;
}

std::uint32_t Win32VersionFiles::InfoSize(const std::string& path) {
    if (!Loaded()) return 0;  // no version functions: no file has version information
    DWORD ignored = 0;
    return m_getSize(Wide(path).c_str(), &ignored);
}

std::unique_ptr<VersionInfo> Win32VersionFiles::Read(const std::string& path, std::uint32_t size) {
    if (!Loaded()) return nullptr;
    std::vector<BYTE> block;
    try {
        block.resize(size);
    } catch (const std::bad_alloc&) {
        return nullptr;  // no memory for it: no description
    }
    if (!m_getInfo(Wide(path).c_str(), 0, size, block.data())) return nullptr;
    return std::make_unique<BlockVersionInfo>(std::move(block), m_queryValue);
}

}  // namespace tarnwick
