#include "model/case_edit.h"

#include "model/case_data.h"

#include <cstring>

void CaseEdit::begin()
{
    snapshot();
    setModified();
}

void CaseEdit::snapshot()
{
    countChange();
    if (!undo_)
        return;
    undo_->push(*data_);
    notify();
}

void CaseEdit::beginFields()
{
    countChange();
    if (undo_) {
        undo_->pushFieldStep();
        notify();
    }
    setModified();
}

bool CaseEdit::beginFieldsIf(bool changes)
{
    if (changes)
        beginFields();
    return changes;
}

void CaseEdit::setModified()
{
    data_->Modified = true;
    countChange();
}

void CaseEdit::changeWithoutStep()
{
    setModified();
    if (undo_) {
        undo_->beforeChangeWithoutStep(*data_);
        notify();
    }
}

bool CaseEdit::beginIf(bool changes)
{
    if (changes)
        begin();
    return changes;
}

namespace {

// Doubles are compared bit for bit: a NaN read from a file is kept, not rewritten on every look, and
// a -0 typed over 0 is a change.
bool sameValue(double a, double b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

template <class T, class V>
bool sameValue(const T& a, const V& b)
{
    return a == b;
}

} // namespace

template <class T, class V>
bool CaseEdit::setField(T& field, const V& value)
{
    if (sameValue(field, value))
        return false;
    beginFields();
    assign(field, value);
    return true;
}

bool CaseEdit::set(std::string& field, std::string_view value) { return setField(field, value); }
bool CaseEdit::set(int32_t& field, int32_t value) { return setField(field, value); }
bool CaseEdit::set(double& field, double value) { return setField(field, value); }
bool CaseEdit::set(bool& field, bool value) { return setField(field, value); }

bool CaseEdit::undo()
{
    const bool restored = undo_ && undo_->restore(*data_);
    // The case now differs from what was last saved or autosaved (a Save may lie between the
    // snapshot and now), so it counts as changed: closing asks, and autosave copies it.
    if (restored)
        setModified();
    notify();
    return restored;
}

bool CaseEdit::redo()
{
    const bool redone = undo_->redo(*data_);
    if (redone) {
        data_->Modified = true;
        countChange();
    }
    notify();
    return redone;
}

void CaseEdit::countChange()
{
    ++changes_;
    if (changeObserver_)
        changeObserver_();
}

void CaseEdit::notify()
{
    if (observer_ && undo_)
        observer_(!undo_->empty());
    if (redoObserver_)
        redoObserver_(undo_->redoCount() > 0);
}
