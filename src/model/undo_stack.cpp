#include "model/undo_stack.h"

#include "model/case_data.h"
#include "model/value_stream.h"

namespace {

// The filter bounds live only in memory, so the case file's layout leaves them out; a snapshot
// carries them after the case.
void writeSnapshot(const TCaseData& data, ValueWriter& writer)
{
    data.WriteTo(writer);
    for (const TDelList<TKeyCharItem>* bounds :
         {&data.CustFilterLow, &data.CustFilterHigh, &data.ProdFilterLow, &data.ProdFilterHigh}) {
        writer.writeListBegin();
        for (const TKeyCharItem& bound : *bounds)
            bound.WriteTo(writer);
        writer.writeListEnd();
    }
}

std::string encodeSnapshot(const TCaseData& data)
{
    ValueWriter counter(ValueWriter::Mode::Count);
    writeSnapshot(data, counter);
    ValueWriter writer;
    writer.reserve(counter.size());
    writeSnapshot(data, writer);
    return writer.take();
}

void readSnapshot(const std::string& snapshot, TCaseData& data)
{
    MemorySource source(snapshot);
    ValueReader reader(source);
    // Reading a case overwrites every stored field and refills every list; Modified and FileName
    // are not part of it.
    data.ReadFrom(reader);
    for (TDelList<TKeyCharItem>* bounds :
         {&data.CustFilterLow, &data.CustFilterHigh, &data.ProdFilterLow, &data.ProdFilterHigh}) {
        bounds->Clear();
        reader.readListBegin();
        while (!reader.atListEnd())
            bounds->Add().ReadFrom(reader);
        reader.readListEnd();
    }
}

void pushBounded(std::deque<std::string>& steps, std::string step)
{
    steps.push_back(std::move(step));
    while (static_cast<int>(steps.size()) > UndoStack::kMaxSnapshots)
        steps.pop_front();
}

// Takes the newest step of `from` into `data`, keeping what `data` held as the newest step of `to`.
bool swapNewest(std::deque<std::string>& from, std::deque<std::string>& to, TCaseData& data)
{
    if (from.empty())
        return false;
    // Encoded before anything changes, so running out of memory leaves case and steps as they were.
    std::string current = encodeSnapshot(data);
    readSnapshot(from.back(), data);
    from.pop_back();
    pushBounded(to, std::move(current));
    return true;
}

} // namespace

void UndoStack::push(const TCaseData& data)
{
    // The snapshot is complete before the stack changes, so running out of memory here leaves the
    // stack as it was.
    pushBounded(snapshots_, encodeSnapshot(data));
    redo_.clear();
}

bool UndoStack::restore(TCaseData& data)
{
    return swapNewest(snapshots_, redo_, data);
}

bool UndoStack::redo(TCaseData& data)
{
    return swapNewest(redo_, snapshots_, data);
}
