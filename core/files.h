// Whole-file access for the save and settings files. Paths are code page 932
// byte strings; the platform's implementation turns them into its own form.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/message_box.h"
#include "core/texts.h"

namespace tarnwick {

// What tells one version of a file from another without reading it: its size and
// the time of its last write.
struct FileStamp {
    std::uint64_t size = 0;
    std::uint64_t writeTime = 0;
    bool operator==(const FileStamp&) const = default;
};

class FileSystem {
public:
    virtual ~FileSystem() = default;
    // The file's bytes, or nothing when it cannot be opened or read.
    virtual std::optional<std::string> Read(const std::string& path) = 0;
    // Creates or empties the file and writes the bytes; false when any step fails.
    virtual bool Write(const std::string& path, const std::string& bytes) = 0;
    // As Write, and the bytes have reached the disk when it returns: a rename that
    // follows can then never leave an empty or zero-filled file after a power cut.
    virtual bool WriteToDisk(const std::string& path, const std::string& bytes) = 0;
    // Puts `from` in the place of `to`, replacing it; false when that fails. A `to`
    // that another program holds open for a moment (a scanner, an indexer, a sync
    // client) is tried again for about half a second.
    virtual bool Replace(const std::string& from, const std::string& to) = 0;
    virtual bool Remove(const std::string& path) = 0;
    virtual bool Exists(const std::string& path) = 0;
    // Nothing when there is no file of that name (a folder is none).
    virtual std::optional<FileStamp> Stamp(const std::string& path) = 0;
};

// The version of one file that this program last read or wrote, so that a file
// another program has changed since (another copy of Tarnwick sharing the file, the
// same user's elevated one or another account's) is not overwritten blindly. Its bytes
// are kept (the files are small): a change of the same size within the file system's
// time resolution (2 seconds on FAT32 and exFAT) leaves the size and time as they were.
class KnownVersion {
public:
    // After reading or writing the file: the bytes it holds now, or nothing when it
    // is not there.
    void Remember(FileSystem& files, const std::string& path, std::optional<std::string> bytes);
    // Whether the file is there now and holds bytes that this program has not seen:
    // another version than the one remembered, or any file at a path never read or
    // written here. A file that is not there has nothing to lose.
    bool ChangedSince(FileSystem& files, const std::string& path) const;
    // Whether this program has read or written the path.
    bool Seen(const std::string& path) const { return m_known && path == m_path; }

private:
    std::string m_path;
    bool m_known = false;
    std::optional<std::string> m_bytes;
    std::optional<FileStamp> m_stamp;  // what tells while another program holds the file
};

// The question before overwriting a file that another program changed: Yes
// overwrites it, No reads the other version, Cancel writes nothing.
// The question names the file by its path.
int AskAboutChangedFile(MessageBoxes& boxes, Text question, Text caption, const std::string& path);

// Writes the bytes beside the file first, to the disk, and puts them in its place
// only once they are complete there, so that a failing write (a full disk) or a
// power cut leaves the old file or the new one, never a damaged one.
bool WriteReplacing(FileSystem& files, const std::string& path, const std::string& bytes);

// The files of the machine through the C library, with the path handed to the
// platform's own open call.
class StdioFileSystem final : public FileSystem {
public:
    std::optional<std::string> Read(const std::string& path) override;
    bool Write(const std::string& path, const std::string& bytes) override;
    bool WriteToDisk(const std::string& path, const std::string& bytes) override;
    bool Replace(const std::string& from, const std::string& to) override;
    bool Remove(const std::string& path) override;
    bool Exists(const std::string& path) override;
    std::optional<FileStamp> Stamp(const std::string& path) override;

private:
    bool WriteFile(const std::string& path, const std::string& bytes, bool toDisk);
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
