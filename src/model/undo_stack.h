#pragma once

// The undo steps of a case, oldest first, at most ten, and the steps an Undo took back for Redo.
// A new step means a new edit, after which the undone steps no longer follow from the case:
// pushing one drops them.
//
// Every step gives back the whole case as it was before its edit, in one of two forms:
//
// - A whole-case snapshot, for edits that add, delete or reorder entries. It holds everything a
//   deep copy of the case would (every stored field and the filter bounds, not Modified or
//   FileName), kept in the case file's own value encoding: one pass into one buffer, where a copy
//   of the object tree would be hundreds of thousands of small allocations.
// - The old values of the fields an edit assigned, for edits that only change values (a keystroke
//   in a text, a cell commit). Its cost is that of the fields, whatever the size of the case.
//
// A field step first names its fields by address. Addresses hold only while the lists keep their
// shape, so before anything reshapes them (a snapshot being pushed or restored, a sort without a
// step of its own) the steps that still use addresses note each field's position in a walk over
// the case's fields instead. When such a step is undone or redone the lists have their old shape
// again, and the walk finds the fields by their positions.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <variant>
#include <vector>

struct TCaseData;

class UndoStack {
public:
    static constexpr int kMaxSnapshots = 10;

    // Pushes a snapshot of `data` as the newest step; beyond the limit the oldest step is dropped.
    // Drops every redo step. Call it before the edit changes anything.
    void push(const TCaseData& data);
    // Pushes an empty field step; record() then keeps each field's value before it is assigned.
    // Drops every redo step.
    void pushFieldStep();
    // Keeps what `field`, a field of the case, holds now in the newest step, which must be a
    // field step. Call it before assigning the field.
    void record(std::string& field);
    void record(int32_t& field);
    void record(double& field);
    void record(bool& field);

    // For a change that reorders entries without a step of its own (a sort): the newest step must
    // still give back the case as it was before its edit, order included, so a field step becomes
    // a snapshot. Drops the redo steps. Call it before the change.
    void beforeChangeWithoutStep(TCaseData& data);

    // Restores the case as it was before the newest step (Modified and FileName stay as they are)
    // and drops the step; what `data` held becomes the newest redo step. False, with `data`
    // untouched, when there is none.
    bool restore(TCaseData& data);
    // The reverse of restore: brings back the newest redo step and keeps what `data` held as the
    // newest undo step. False, with `data` untouched, when there is none.
    bool redo(TCaseData& data);
    // Drops the redo steps.
    void clearRedo() { redo_.clear(); }

    int count() const { return static_cast<int>(undo_.size()); }
    bool empty() const { return undo_.empty(); }
    int redoCount() const { return static_cast<int>(redo_.size()); }

private:
    using FieldValue = std::variant<std::string, int32_t, double, bool>;
    struct FieldChange {
        void* field;           // while the step is pinned
        std::size_t position;  // while it is not: the field's place in the walk over the case
        FieldValue value;      // the value the field held before the edit, or after it for redo
    };
    struct Step {
        bool whole = false;
        std::string snapshot;
        std::vector<FieldChange> fields;
        bool pinned = true;
    };

    template <class T>
    void recordField(T& field);
    // Lists are about to change shape: every step that names fields by address notes their
    // positions instead.
    void unpinAll(const TCaseData& data);
    static void pin(TCaseData& data, Step& step);
    // Undoes (backwards) or redoes a field step by exchanging each field with its kept value.
    static void exchange(Step& step, bool backwards);
    bool takeNewest(std::deque<Step>& from, std::deque<Step>& to, TCaseData& data, bool backwards);

    std::deque<Step> undo_;
    std::deque<Step> redo_;
};
