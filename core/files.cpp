#include "core/files.h"

#include <cstdio>
#include <memory>
#include <utility>

#include "core/platform_files.h"

namespace tarnwick {

bool WriteReplacing(FileSystem& files, const std::string& path, const std::string& bytes) {
    const std::string fresh = path + ".new";
    if (!files.WriteToDisk(fresh, bytes)) {
        files.Remove(fresh);
        return false;
    }
    if (!files.Replace(fresh, path)) {
        files.Remove(fresh);
        return false;
    }
    return true;
}

void KnownVersion::Remember(FileSystem& files, const std::string& path, std::optional<std::string> bytes) {
    m_path = path;
    m_known = true;
    m_bytes = std::move(bytes);
    m_stamp = files.Stamp(path);
}

bool KnownVersion::ChangedSince(FileSystem& files, const std::string& path) const {
    const std::optional<FileStamp> now = files.Stamp(path);
    if (!now) return false;
    if (!Seen(path) || !m_bytes) return true;
    // Another size tells without reading; the same size says nothing.
    if (now->size != m_bytes->size()) return true;
    // A file that a scanner or a sync client holds for a moment cannot be read: its size
    // and time tell then.
    const std::optional<std::string> bytes = files.Read(path);
    return bytes ? bytes != m_bytes : now != m_stamp;
}

int AskAboutChangedFile(MessageBoxes& boxes, Text question, Text caption, const std::string& path) {
    return boxes.Show(TextWith(question, {path}), TextOf(caption), kMbYesNoCancel | kMbIconExclamation | kMbDefButton3);
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

bool StdioFileSystem::Write(const std::string& path, const std::string& bytes) { return WriteFile(path, bytes, false); }

bool StdioFileSystem::WriteToDisk(const std::string& path, const std::string& bytes) {
    return WriteFile(path, bytes, true);
}

bool StdioFileSystem::WriteFile(const std::string& path, const std::string& bytes, bool toDisk) {
    std::FILE* raw = OpenPlatformFile(path, "wb");
    if (!raw) return false;
    bool written = std::fwrite(bytes.data(), 1, bytes.size(), raw) == bytes.size();
    written = std::fflush(raw) == 0 && written;
    if (toDisk) written = FlushPlatformFile(raw) && written;
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

std::optional<FileStamp> StdioFileSystem::Stamp(const std::string& path) { return StampPlatformFile(path); }

}  // namespace tarnwick
