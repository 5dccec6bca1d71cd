#include "model/undo_stack.h"

#include "model/case_data.h"
#include "model/case_fields.h"
#include "model/value_stream.h"

#include <algorithm>
#include <cassert>
#include <type_traits>
#include <unordered_map>

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

// Calls found(address) for every stored field of the case, and every text of its text lists, in
// one fixed order: the field's position in it names the field as long as the lists keep their shape.
// The filter bounds are left out; edits that change them take snapshots.
template <class Found>
struct FieldWalk {
    Found& found;

    template <class Value>
    void operator()(const char*, Value& value)
    {
        using Plain = std::remove_const_t<Value>;
        if constexpr (std::is_same_v<Plain, TStringList>) {
            for (auto& text : value)
                found(&text);
        } else if constexpr (std::is_same_v<Plain, std::unique_ptr<TDelList<TInteger>>>) {
            if (value)
                (*this)("", *value);
        } else if constexpr (requires { value.Count(); }) {
            for (auto& item : value)
                visitFields(item, *this);
        } else {
            found(&value);
        }
    }
};

template <class Data, class Found>
void walkFields(Data& data, Found found)
{
    FieldWalk<Found> walk{found};
    visitFields(data, walk);
}

constexpr std::size_t kNowhere = static_cast<std::size_t>(-1);

template <class Step>
void pushBounded(std::deque<Step>& steps, Step step)
{
    steps.push_back(std::move(step));
    while (static_cast<int>(steps.size()) > UndoStack::kMaxSnapshots)
        steps.pop_front();
}

} // namespace

void UndoStack::push(const TCaseData& data)
{
    // The snapshot is complete before the steps change, so running out of memory here leaves
    // them as they were.
    Step step;
    step.whole = true;
    step.snapshot = encodeSnapshot(data);
    redo_.clear();
    unpinAll(data);
    pushBounded(undo_, std::move(step));
}

void UndoStack::pushFieldStep()
{
    redo_.clear();
    pushBounded(undo_, Step{});
}

template <class T>
void UndoStack::recordField(T& field)
{
    assert(!undo_.empty() && !undo_.back().whole && undo_.back().pinned);
    undo_.back().fields.push_back(FieldChange{&field, kNowhere, FieldValue(std::in_place_type<T>, field)});
}

void UndoStack::record(std::string& field) { recordField(field); }
void UndoStack::record(int32_t& field) { recordField(field); }
void UndoStack::record(double& field) { recordField(field); }
void UndoStack::record(bool& field) { recordField(field); }

void UndoStack::beforeChangeWithoutStep(TCaseData& data)
{
    redo_.clear();
    if (!undo_.empty() && !undo_.back().whole) {
        Step& step = undo_.back();
        if (!step.pinned)
            pin(data, step);
        // The case as it was before the step: its fields back for a moment, encoded, and forward.
        exchange(step, true);
        std::string snapshot;
        try {
            snapshot = encodeSnapshot(data);
        } catch (...) {
            exchange(step, false);
            throw;
        }
        exchange(step, false);
        step.whole = true;
        step.snapshot = std::move(snapshot);
        step.fields = {};
    }
    unpinAll(data);
}

void UndoStack::unpinAll(const TCaseData& data)
{
    std::unordered_map<const void*, std::vector<FieldChange*>> wanted;
    std::vector<Step*> steps;
    for (std::deque<Step>* stack : {&undo_, &redo_})
        for (Step& step : *stack)
            if (!step.whole && step.pinned) {
                steps.push_back(&step);
                for (FieldChange& change : step.fields)
                    wanted[change.field].push_back(&change);
            }
    if (steps.empty())
        return;
    std::size_t position = 0;
    walkFields(data, [&](const void* field) {
        if (const auto found = wanted.find(field); found != wanted.end())
            for (FieldChange* change : found->second)
                change->position = position;
        ++position;
    });
    for (Step* step : steps) {
        step->pinned = false;
        for (const FieldChange& change : step->fields) {
            (void)change;
            assert(change.position != kNowhere && "a field step recorded a field outside the case");
        }
    }
}

void UndoStack::pin(TCaseData& data, Step& step)
{
    std::unordered_map<std::size_t, std::vector<FieldChange*>> wanted;
    for (FieldChange& change : step.fields) {
        change.field = nullptr;
        wanted[change.position].push_back(&change);
    }
    std::size_t position = 0;
    walkFields(data, [&](void* field) {
        if (const auto found = wanted.find(position); found != wanted.end())
            for (FieldChange* change : found->second)
                change->field = field;
        ++position;
    });
    step.pinned = true;
}

void UndoStack::exchange(Step& step, bool backwards)
{
    const auto exchangeOne = [](FieldChange& change) {
        // A field the walk did not find again is left alone rather than written through nothing.
        if (!change.field)
            return;
        std::visit([&](auto& kept) { std::swap(*static_cast<std::remove_reference_t<decltype(kept)>*>(change.field), kept); },
                   change.value);
    };
    // A field assigned twice in one edit holds its first value again only when undone newest first.
    if (backwards)
        std::for_each(step.fields.rbegin(), step.fields.rend(), exchangeOne);
    else
        std::for_each(step.fields.begin(), step.fields.end(), exchangeOne);
}

bool UndoStack::takeNewest(std::deque<Step>& from, std::deque<Step>& to, TCaseData& data, bool backwards)
{
    if (from.empty())
        return false;
    Step& step = from.back();
    if (step.whole) {
        // Encoded before anything changes, so running out of memory leaves case and steps as they were.
        std::string current = encodeSnapshot(data);
        unpinAll(data);
        readSnapshot(step.snapshot, data);
        step.snapshot = std::move(current);
    } else {
        if (!step.pinned)
            pin(data, step);
        exchange(step, backwards);
    }
    Step taken = std::move(step);
    from.pop_back();
    pushBounded(to, std::move(taken));
    return true;
}

bool UndoStack::restore(TCaseData& data)
{
    return takeNewest(undo_, redo_, data, true);
}

bool UndoStack::redo(TCaseData& data)
{
    return takeNewest(redo_, undo_, data, false);
}
