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

} // namespace

void UndoStack::push(const TCaseData& data)
{
    // The snapshot is complete before the stack changes, so running out of memory here leaves the
    // stack as it was.
    ValueWriter counter(ValueWriter::Mode::Count);
    writeSnapshot(data, counter);
    ValueWriter writer;
    writer.reserve(counter.size());
    writeSnapshot(data, writer);
    snapshots_.push_back(writer.take());
    while (static_cast<int>(snapshots_.size()) > kMaxSnapshots)
        snapshots_.pop_front();
}

bool UndoStack::restore(TCaseData& data)
{
    if (snapshots_.empty())
        return false;
    {
        MemorySource source(snapshots_.back());
        ValueReader reader(source);
        // Reading a case overwrites every stored field and refills every list; Modified and
        // FileName are not part of it.
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
    snapshots_.pop_back();
    return true;
}
