// Whole-file access for the save and settings files. Paths are code page 932
// byte strings; the platform's implementation turns them into its own form.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tarnwick {

class FileSystem {
public:
    virtual ~FileSystem() = default;
    // The file's bytes, or nothing when it cannot be opened or read.
    virtual std::optional<std::string> Read(const std::string& path) = 0;
    // Creates or empties the file and writes the bytes; false when any step fails.
    virtual bool Write(const std::string& path, const std::string& bytes) = 0;
    // Puts `from` in the place of `to`, replacing it; false when that fails.
    virtual bool Replace(const std::string& from, const std::string& to) = 0;
    virtual bool Remove(const std::string& path) = 0;
    virtual bool Exists(const std::string& path) = 0;
};

// Writes the bytes beside the file first and puts them in its place only once they
// are complete, so that a failing write (a full disk) leaves the old file intact.
bool WriteReplacing(FileSystem& files, const std::string& path, const std::string& bytes);

// The files of the machine through the C library, with the path handed to the
// platform's own open call.
class StdioFileSystem final : public FileSystem {
public:
    std::optional<std::string> Read(const std::string& path) override;
    bool Write(const std::string& path, const std::string& bytes) override;
    bool Replace(const std::string& from, const std::string& to) override;
    bool Remove(const std::string& path) override;
    bool Exists(const std::string& path) override;
};

// Splits text into lines ended by LF; a CR before the LF is dropped and a last
// line without a line end counts too. Calls `line` for each; stops when it returns false.
template <typename LineHandler>
void ForEachLine(const std::string& text, LineHandler line) {
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        std::size_t next = end == std::string::npos ? text.size() : end + 1;
        std::size_t stop = end == std::string::npos ? text.size() : end;
        if (end != std::string::npos && stop > start && text[stop - 1] == '\r') --stop;
        if (!line(std::string_view(text).substr(start, stop - start))) return;
        start = next;
    }
}

}  // namespace tarnwick
