#include "watch/history.h"

namespace tarnwick {

void AddHistoryLine(HistoryList& history, const std::string& text) {
    if (history.Count() > kHistoryLimit) history.DeleteLine(kHistoryLimit);
    history.InsertLine(0, text);
}

}  // namespace tarnwick
