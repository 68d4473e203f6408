// The ring of saved parameter sets behind Save, Load and Clear: Save puts
// the current set in front, Load steps through the sets from the newest,
// wrapping around after the oldest.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "model/Structure.h"

namespace quorvex::model {

struct SavedState {
    Structure structure;
    ViewSettings view;

    bool operator==(const SavedState&) const = default;
};

class SavedStates {
  public:
    static constexpr int kCapacity = 10;

    // Puts a set in front; beyond the capacity the oldest is dropped. The
    // next Load shows the newest.
    void Push(const SavedState& state);
    // The set Load shows now, and the one after it next time; nothing when
    // nothing is saved.
    std::optional<SavedState> Next();
    // Forgets every set.
    void Clear();
    // The sets of an earlier session, newest first (beyond the capacity the
    // oldest are dropped); the next Load shows the newest.
    void Restore(const std::vector<SavedState>& newestFirst);

    int Count() const { return count_; }
    // 1-based position of the set the next Load shows; 0 when none.
    int Position() const { return position_; }
    const SavedState& At(int index) const { return records_[index]; }  // 0 = newest
    // "Load (position/count)".
    std::string LoadCaption() const;

  private:
    std::array<SavedState, kCapacity> records_{};
    int count_ = 0;
    int position_ = 0;
};

}  // namespace quorvex::model
