// Test doubles for the core's interfaces: files in memory with injectable
// failures, and message boxes that record what they showed and answer from a script.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "core/files.h"
#include "core/message_box.h"
#include "core/texts.h"

namespace tarnwick::testing {

class MemoryFileSystem final : public FileSystem {
public:
    std::map<std::string, std::string> files;
    std::set<std::string> uncreatable;    // Write fails before writing anything
    std::set<std::string> failingWrites;  // Write creates the file, writes half, then fails (a full disk)
    bool replaceFails = false;
    std::vector<std::string> replaced;  // "FROM TO", in order
    std::set<std::string> cached;  // written, not yet on the disk: a power cut leaves them empty

    std::optional<std::string> Read(const std::string& path) override {
        auto found = files.find(path);
        return found == files.end() ? std::nullopt : std::optional(found->second);
    }
    bool Write(const std::string& path, const std::string& bytes) override {
        if (uncreatable.count(path)) return false;
        const bool fails = failingWrites.count(path) > 0;
        files[path] = fails ? bytes.substr(0, bytes.size() / 2) : bytes;
        cached.insert(path);
        return !fails;
    }
    bool WriteToDisk(const std::string& path, const std::string& bytes) override {
        const bool written = Write(path, bytes);
        cached.erase(path);
        return written;
    }
    void PowerCut() {
        for (const std::string& path : cached) files[path].clear();
    }
    bool Replace(const std::string& from, const std::string& to) override {
        replaced.push_back(from + " " + to);
        if (replaceFails || !files.count(from)) return false;
        files[to] = files[from];
        files.erase(from);
        if (cached.erase(from)) cached.insert(to);
        return true;
    }
    bool Remove(const std::string& path) override { return files.erase(path) > 0; }
    bool Exists(const std::string& path) override { return files.count(path) > 0; }
    // A file's contents stand in for its write time: any other bytes, another stamp;
    // unless the times are coarse (FAT32's 2 seconds), when only the size tells.
    bool coarseTimes = false;
    std::optional<FileStamp> Stamp(const std::string& path) override {
        auto found = files.find(path);
        if (found == files.end()) return std::nullopt;
        return FileStamp{found->second.size(), coarseTimes ? 0 : std::hash<std::string>{}(found->second)};
    }
};

struct ShownBox {
    std::string text;
    std::string caption;
    unsigned flags;
};

class ScriptedMessageBoxes final : public MessageBoxes {
public:
    std::vector<ShownBox> shown;
    std::deque<int> answers;  // answered in order; IDOK once the script runs out
    // What runs while the box is up, as a modal loop would run a timer.
    std::function<void()> whileShown;

    int Show(const std::string& text, const std::string& caption, unsigned flags) override {
        shown.push_back({text, caption, flags});
        if (whileShown) std::exchange(whileShown, nullptr)();
        if (answers.empty()) return kIdOk;
        int answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

// The English interface for one test's scope.
struct InEnglish {
    InEnglish() { UseLanguage(Language::English); }
    ~InEnglish() { UseLanguage(Language::Japanese); }
};

}  // namespace tarnwick::testing
