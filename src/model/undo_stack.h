#pragma once

// Whole-case snapshots for Undo, oldest first. Plain C++ so it can be reasoned about without a window.

#include "model/case_data.h"
#include "model/del_list.h"

class UndoStack {
public:
    static constexpr int kMaxSnapshots = 10;

    // Pushes a deep copy of `data` (everything but Modified and FileName); beyond the limit the
    // oldest snapshot is dropped.
    void push(const TCaseData& data);
    // Restores the newest snapshot into `data` and drops it. False, with `data` untouched, when
    // there is none.
    bool restore(TCaseData& data);

    int count() const { return snapshots_.Count(); }
    bool empty() const { return snapshots_.Empty(); }

private:
    TDelList<TCaseData> snapshots_;
};
