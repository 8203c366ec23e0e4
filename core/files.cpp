#include "core/files.h"

#include <cstdio>
#include <memory>

#include "core/platform_files.h"

namespace tarnwick {

bool WriteReplacing(FileSystem& files, const std::string& path, const std::string& bytes) {
    const std::string fresh = path + ".new";
    if (!files.Write(fresh, bytes)) {
        files.Remove(fresh);
        return false;
    }
    if (!files.Replace(fresh, path)) {
        files.Remove(fresh);
        return false;
    }
    return true;
}

namespace {
struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;
}  // namespace

std::optional<std::string> StdioFileSystem::Read(const std::string& path) {
    FilePtr file(OpenPlatformFile(path, "rb"));
    if (!file) return std::nullopt;
    std::string bytes;
    char buffer[65536];
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) bytes.append(buffer, got);
    if (std::ferror(file.get())) return std::nullopt;
    return bytes;
}

bool StdioFileSystem::Write(const std::string& path, const std::string& bytes) {
    std::FILE* raw = OpenPlatformFile(path, "wb");
    if (!raw) return false;
    bool written = std::fwrite(bytes.data(), 1, bytes.size(), raw) == bytes.size();
    written = std::fflush(raw) == 0 && written;
    // A close can fail too (the last buffer reaches the disk there).
    return std::fclose(raw) == 0 && written;
}

bool StdioFileSystem::Replace(const std::string& from, const std::string& to) {
    return ReplacePlatformFile(from, to);
}

bool StdioFileSystem::Remove(const std::string& path) { return RemovePlatformFile(path); }

bool StdioFileSystem::Exists(const std::string& path) {
    FilePtr file(OpenPlatformFile(path, "rb"));
    return file != nullptr;
}

}  // namespace tarnwick
