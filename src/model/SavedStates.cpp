#include "model/SavedStates.h"

namespace quorvex::model {

void SavedStates::Push(const SavedState& state) {
    if (count_ < kCapacity) ++count_;
    for (int i = count_ - 1; i >= 1; --i) records_[i] = records_[i - 1];
    records_[0] = state;
    position_ = 1;
}

std::optional<SavedState> SavedStates::Next() {
    if (position_ <= 0 || count_ <= 0 || position_ > count_) return std::nullopt;
    const SavedState state = records_[position_ - 1];
    ++position_;
    if (position_ > count_) position_ = 1;
    return state;
}

void SavedStates::Clear() {
    position_ = 0;
    count_ = 0;
}

void SavedStates::Restore(const std::vector<SavedState>& newestFirst) {
    Clear();
    for (auto it = newestFirst.rbegin(); it != newestFirst.rend(); ++it) Push(*it);
}

std::string SavedStates::LoadCaption() const {
    return "Load (" + std::to_string(position_) + "/" + std::to_string(count_) + ")";
}

}  // namespace quorvex::model
