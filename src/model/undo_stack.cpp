#include "model/undo_stack.h"

#include <memory>

void UndoStack::push(const TCaseData& data)
{
    // The copy is complete before the stack changes, so running out of memory here leaves the
    // stack as it was.
    auto snapshot = std::make_unique<TCaseData>();
    snapshot->Assign(data);
    snapshots_.Add(std::move(snapshot));
    while (snapshots_.Count() > kMaxSnapshots)
        snapshots_.Delete(0);
}

bool UndoStack::restore(TCaseData& data)
{
    if (snapshots_.Empty())
        return false;
    const int newest = snapshots_.Count() - 1;
    data.Assign(snapshots_[newest]);
    snapshots_.Delete(newest);
    return true;
}
