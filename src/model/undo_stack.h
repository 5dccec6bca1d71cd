#pragma once

// Whole-case snapshots for Undo, oldest first, at most ten, and the steps an Undo took back for
// Redo. A new snapshot means a new edit, after which the undone steps no longer follow from the
// case: pushing one drops them.
//
// A snapshot holds everything a deep copy of the case would (every stored field and the filter
// bounds, not Modified or FileName), kept in the case file's own value encoding: encoding a case
// is a single pass into one buffer, where a copy of the object tree is hundreds of thousands of
// small allocations, and dropping the oldest snapshot frees one buffer instead of a whole tree.
// Every edit takes a snapshot, so this is what a keystroke in a large case costs.

#include <deque>
#include <string>

struct TCaseData;

class UndoStack {
public:
    static constexpr int kMaxSnapshots = 10;

    // Pushes a snapshot of `data`; beyond the limit the oldest snapshot is dropped. Drops every
    // redo step.
    void push(const TCaseData& data);
    // Restores the newest snapshot into `data` (Modified and FileName stay as they are) and drops
    // it; what `data` held becomes the newest redo step. False, with `data` untouched, when there
    // is none.
    bool restore(TCaseData& data);
    // The reverse of restore: brings back the newest redo step and keeps what `data` held as the
    // newest snapshot. False, with `data` untouched, when there is none.
    bool redo(TCaseData& data);
    // Drops the redo steps, for a change that takes no snapshot of its own.
    void clearRedo() { redo_.clear(); }

    int count() const { return static_cast<int>(snapshots_.size()); }
    bool empty() const { return snapshots_.empty(); }
    int redoCount() const { return static_cast<int>(redo_.size()); }

private:
    std::deque<std::string> snapshots_;
    std::deque<std::string> redo_;
};
