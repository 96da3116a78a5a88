#include "data/Dataset.h"

#include <algorithm>

namespace zelk {

void Dataset::SetCurrentRow(int row) {
    const int count = RowCount();
    const int clamped = count == 0 ? 0 : std::clamp(row, 0, count - 1);
    if (clamped == current_) return;
    current_ = clamped;
    Notify(DatasetChange::Kind::CurrentChanged, current_);
}

int Dataset::Subscribe(Listener listener) {
    listeners_.push_back({nextHandle_, std::move(listener)});
    return nextHandle_++;
}

void Dataset::Unsubscribe(int handle) {
    std::erase_if(listeners_, [handle](const Entry& e) { return e.handle == handle; });
}

void Dataset::Notify(DatasetChange::Kind kind, int row) const {
    if (listeners_.empty()) return;
    const DatasetChange change{kind, row};
    for (const auto& entry : listeners_) entry.listener(change);
}

}  // namespace zelk
