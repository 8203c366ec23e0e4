#include "ui/version_files_win.h"

#include <windows.h>

#include <new>
#include <vector>

#include "win/text.h"

namespace tarnwick {

namespace {

// The version information block, released with the object.
class BlockVersionInfo final : public VersionInfo {
public:
    explicit BlockVersionInfo(std::vector<BYTE> block) : m_block(std::move(block)) {}

    std::optional<std::vector<Translation>> Translations() const override {
        void* value = nullptr;
        UINT bytes = 0;
        if (!VerQueryValueW(m_block.data(), L"\\VarFileInfo\\Translation", &value, &bytes) || !value) {
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
        if (!VerQueryValueW(m_block.data(), Wide(query).c_str(), &value, &length) || !value || length == 0) return {};
        const auto* text = static_cast<const wchar_t*>(value);
        return Narrow(std::wstring(text, wcsnlen(text, length)));
    }

private:
    std::vector<BYTE> m_block;
};

}  // namespace

std::uint32_t Win32VersionFiles::InfoSize(const std::string& path) {
    DWORD ignored = 0;
    return GetFileVersionInfoSizeW(Wide(path).c_str(), &ignored);
}

std::unique_ptr<VersionInfo> Win32VersionFiles::Read(const std::string& path, std::uint32_t size) {
    std::vector<BYTE> block;
    try {
        block.resize(size);
    } catch (const std::bad_alloc&) {
        return nullptr;  // no memory for it: no description
    }
    if (!GetFileVersionInfoW(Wide(path).c_str(), 0, size, block.data())) return nullptr;
    return std::make_unique<BlockVersionInfo>(std::move(block));
}

}  // namespace tarnwick
