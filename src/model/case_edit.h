#pragma once

// The one way a workshop changes a case. Starting an edit takes its undo step and sets Modified,
// together and before the model changes, so no window can forget either or take them in the
// wrong order. An edit that would change nothing takes no step at all: merely looking at a case
// never makes closing it ask to save.
//
//     if (!edit.set(change.Description, typed))   // field step + Modified only when it differs
//         return;
//
//     if (!edit.beginFieldsIf(a != x || b != y))   // several fields as one step
//         return;
//     edit.assign(item.A, x);
//     edit.assign(item.B, y);
//
//     edit.begin();                                // adding, deleting, reordering: a snapshot
//     data.Competitors.Add(...);
//
// A field step keeps only the old values of the fields it assigns, so a keystroke costs the same
// in any size of case; everything that adds, deletes or moves entries takes a whole-case snapshot.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>

#include "model/undo_stack.h"

struct TCaseData;

class CaseEdit {
public:
    CaseEdit(TCaseData& data, UndoStack& undo) : data_(&data), undo_(&undo) {}
    // An edit that keeps no undo steps, for a copy of a case that is thrown away afterwards.
    explicit CaseEdit(TCaseData& data) : data_(&data) {}

    TCaseData& data() const { return *data_; }
    // Only of an edit that keeps undo steps.
    UndoStack& undoStack() const { return *undo_; }

    // Takes a whole-case undo snapshot and sets Modified: for edits that add, delete or reorder.
    void begin();
    // Starts a step that keeps the old values of the fields assign() then changes, and sets
    // Modified: for edits that only change values.
    void beginFields();
    bool beginFieldsIf(bool changes);
    // Assigns a field of the case within the step beginFields() started, keeping its old value.
    template <class T, class V>
    void assign(T& field, V&& value)
    {
        if (undo_)
            undo_->record(field);
        field = std::forward<V>(value);
    }
    // The two halves, for the few commands whose description takes one without the other
    // (a sort that only marks the case modified).
    void snapshot();
    void setModified();
    // Before a change that takes no step of its own (that sort): Modified, and the redo steps go,
    // since redoing one would bring back a case without the change. Undoing the newest step still
    // gives back the case before it, order included.
    void changeWithoutStep();

    // begin() when `changes` is true; returns `changes`. For an edit of several fields at once.
    bool beginIf(bool changes);

    // Assigns a value, as one field step, only when it differs from the field's.
    bool set(std::string& field, std::string_view value);
    bool set(int32_t& field, int32_t value);
    bool set(double& field, double value);
    bool set(bool& field, bool value);

    // Restores the newest snapshot and sets Modified (FileName stays). False, with nothing
    // changed, when there is none.
    bool undo();
    // Brings back what the newest undo took back and sets Modified. False when there is nothing
    // to redo; any new snapshot drops the redo steps.
    bool redo();

    // Counts the steps that changed the case (snapshots, Modified, undos). It only grows, so
    // whoever keeps a copy of the case (autosave) can tell whether the copy is still current.
    std::uint64_t changeCount() const { return changes_; }

    // Hears every push and every restore with whether a snapshot remains; the shell follows it
    // with the Undo command's availability.
    void setUndoObserver(std::function<void(bool available)> observer) { observer_ = std::move(observer); }
    // The same for the redo steps.
    void setRedoObserver(std::function<void(bool available)> observer) { redoObserver_ = std::move(observer); }
    // Hears every step changeCount() counts, as it is counted. An edit is counted as it starts,
    // before the caller writes the model, so whoever shows the case waits until the caller is
    // done; Undo and Redo are counted once the case is restored.
    void setChangeObserver(std::function<void()> observer) { changeObserver_ = std::move(observer); }

private:
    template <class T, class V>
    bool setField(T& field, const V& value);
    void countChange();
    void notify();

    TCaseData* data_;
    UndoStack* undo_ = nullptr;
    std::function<void(bool)> observer_;
    std::function<void(bool)> redoObserver_;
    std::function<void()> changeObserver_;
    std::uint64_t changes_ = 0;
};
