// The execution history: newest line on top, at most 30001 lines, so that memory
// stays bounded however long the program runs. On Windows it is the window's list
// box; tests keep it in memory.
#pragma once

#include <string>

namespace tarnwick {

class HistoryList {
public:
    virtual ~HistoryList() = default;
    virtual int Count() const = 0;
    virtual void DeleteLine(int index) = 0;
    virtual void InsertLine(int index, const std::string& text) = 0;
    virtual void Clear() = 0;
};

inline constexpr int kHistoryLimit = 30000;

// Drops the line at index 30000 when the list holds more, then puts the text on top.
void AddHistoryLine(HistoryList& history, const std::string& text);

}  // namespace tarnwick
