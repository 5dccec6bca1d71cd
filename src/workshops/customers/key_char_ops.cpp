#include "workshops/customers/key_char_ops.h"

#include <algorithm>
#include <limits>

#include "model/case_data.h"
#include "model/case_edit.h"
#include "model/questions.h"
#include "model/quick_sort.h"
#include "model/typed_number.h"

namespace cust_prod {

namespace {

TKeyCharItem* keyCharAt(TCustProd& item, int k)
{
    return item.KeyChars.InRange(k) ? &item.KeyChars[k] : nullptr;
}

const TKeyCharItem* keyCharAt(const TCustProd& item, int k)
{
    return item.KeyChars.InRange(k) ? &item.KeyChars[k] : nullptr;
}

TCustProd* itemAt(TCaseData& data, Mode mode, int item)
{
    auto& list = items(data, mode);
    return list.InRange(item) ? &list[item] : nullptr;
}

TRankedItem* potentialAt(TCaseData& data, Mode mode, int item, int entry)
{
    TCustProd* owner = itemAt(data, mode, item);
    return owner && owner->MarketPotential.InRange(entry) ? &owner->MarketPotential[entry] : nullptr;
}

int32_t limitedScore(int32_t value)
{
    return std::clamp<int32_t>(value, 1, 10);
}

void appendBounds(TCaseData& data, Mode mode, const std::string& name)
{
    auto& low = lowerBounds(data, mode).Add();
    low.Name = name;
    low.Importance = 1;
    low.Match = 1;
    auto& high = upperBounds(data, mode).Add();
    high.Name = name;
    high.Importance = 10;
    high.Match = 10;
}

// Exchanges positions a and b of a key-characteristic list, where the list has both.
void exchange(TDelList<TKeyCharItem>& list, int a, int b)
{
    if (list.InRange(a) && list.InRange(b))
        list.Exchange(a, b);
}

} // namespace

TDelList<TKeyCharItem>& lowerBounds(TCaseData& data, Mode mode)
{
    return mode == Mode::Customers ? data.CustFilterLow : data.ProdFilterLow;
}

TDelList<TKeyCharItem>& upperBounds(TCaseData& data, Mode mode)
{
    return mode == Mode::Customers ? data.CustFilterHigh : data.ProdFilterHigh;
}

const TDelList<TKeyCharItem>& lowerBounds(const TCaseData& data, Mode mode)
{
    return mode == Mode::Customers ? data.CustFilterLow : data.ProdFilterLow;
}

const TDelList<TKeyCharItem>& upperBounds(const TCaseData& data, Mode mode)
{
    return mode == Mode::Customers ? data.CustFilterHigh : data.ProdFilterHigh;
}

// --- Reading typed numbers -------------------------------------------------------------------

bool readInteger(std::string_view text, int32_t& value)
{
    const auto number = readTypedWholeNumber(text);
    if (!number || *number < INT32_MIN || *number > INT32_MAX)
        return false;
    value = static_cast<int32_t>(*number);
    return true;
}

int32_t scoreFromText(std::string_view text)
{
    int32_t value = 0;
    return readInteger(text, value) ? limitedScore(value) : 0;
}

int32_t amountFromText(std::string_view text)
{
    int32_t value = 0;
    return readInteger(text, value) ? value : 0;
}

// --- Key characteristics -----------------------------------------------------------------------

std::string keyCharCellText(const TCustProd* item, int col, int row)
{
    if (row == 0) {
        static const char* const titles[] = {"Key Characteristics", "Importance", "Match"};
        return col >= 0 && col < 3 ? titles[col] : "";
    }
    const TKeyCharItem* keyChar = item ? keyCharAt(*item, row - 1) : nullptr;
    if (!keyChar)
        return {};
    switch (col) {
    case 0: return keyChar->Name;
    case 1: return keyChar->Excluded ? std::string() : std::to_string(keyChar->Importance);
    case 2: return keyChar->Excluded ? std::string() : std::to_string(keyChar->Match);
    default: return {};
    }
}

bool keyCharRowExcluded(const TCustProd* item, int row)
{
    const TKeyCharItem* keyChar = item && row > 0 ? keyCharAt(*item, row - 1) : nullptr;
    return keyChar && keyChar->Excluded;
}

void addKeyChar(CaseEdit& edit, Mode mode, std::string_view name)
{
    TCaseData& data = edit.data();
    if (items(data, mode).Empty())
        return;
    edit.begin();
    // Bounds that lost step with the key characteristics are rebuilt before they grow with them.
    rebuildBounds(data, mode);
    const std::string text(name);
    for (TCustProd& item : items(data, mode)) {
        auto& keyChar = item.KeyChars.Add();
        keyChar.Name = text;
        keyChar.Importance = 1;
        keyChar.Match = 1;
        keyChar.Excluded = false;
    }
    appendBounds(data, mode, text);
}

bool renameKeyChar(CaseEdit& edit, Mode mode, int k, std::string_view name)
{
    TCaseData& data = edit.data();
    auto& list = items(data, mode);
    auto& low = lowerBounds(data, mode);
    auto& high = upperBounds(data, mode);
    const auto differs = [&](const TDelList<TKeyCharItem>& keyChars) {
        return keyChars.InRange(k) && keyChars[k].Name != name;
    };
    bool changes = differs(low) || differs(high);
    for (const TCustProd& item : list)
        changes = changes || differs(item.KeyChars);
    if (!edit.beginIf(changes))
        return false;
    for (TCustProd& item : list)
        if (TKeyCharItem* keyChar = keyCharAt(item, k))
            keyChar->Name.assign(name);
    for (auto* bounds : {&low, &high})
        if (bounds->InRange(k))
            (*bounds)[k].Name.assign(name);
    return true;
}

bool setImportance(CaseEdit& edit, Mode mode, int k, std::string_view text)
{
    const int32_t value = scoreFromText(text);
    auto& list = items(edit.data(), mode);
    bool changes = false;
    for (const TCustProd& item : list) {
        const TKeyCharItem* keyChar = keyCharAt(item, k);
        changes = changes || (keyChar && keyChar->Importance != value);
    }
    if (!edit.beginFieldsIf(changes))
        return false;
    for (TCustProd& item : list)
        if (TKeyCharItem* keyChar = keyCharAt(item, k))
            edit.assign(keyChar->Importance, value);
    return true;
}

bool setMatch(CaseEdit& edit, Mode mode, int item, int k, std::string_view text)
{
    TCustProd* owner = itemAt(edit.data(), mode, item);
    TKeyCharItem* keyChar = owner ? keyCharAt(*owner, k) : nullptr;
    return keyChar && edit.set(keyChar->Match, scoreFromText(text));
}

void toggleApplicability(CaseEdit& edit, Mode mode, int item, int k)
{
    TCustProd* owner = itemAt(edit.data(), mode, item);
    TKeyCharItem* keyChar = owner ? keyCharAt(*owner, k) : nullptr;
    if (!keyChar)
        return;
    edit.begin();
    keyChar->Excluded = !keyChar->Excluded;
}

bool deleteKeyChar(CaseEdit& edit, Mode mode, int item, int k, Questions& ask)
{
    TCaseData& data = edit.data();
    TCustProd* owner = itemAt(data, mode, item);
    TKeyCharItem* keyChar = owner ? keyCharAt(*owner, k) : nullptr;
    if (!keyChar || !confirmDelete(ask, "Delete Key Characteristic '%s'?", keyChar->Name))
        return false;
    edit.begin();
    for (TCustProd& each : items(data, mode))
        if (each.KeyChars.InRange(k))
            each.KeyChars.Delete(k);
    for (auto* bounds : {&lowerBounds(data, mode), &upperBounds(data, mode)})
        if (bounds->InRange(k))
            bounds->Delete(k);
    return true;
}

bool sortKeyChars(CaseEdit& edit, Mode mode, KeyCharColumn column, int item)
{
    TCaseData& data = edit.data();
    auto& list = items(data, mode);
    TCustProd* selected = itemAt(data, mode, item);
    if (!selected || selected->KeyChars.Count() < 2)
        return false;
    edit.begin();
    const TCustProd& keys = column == KeyCharColumn::Name ? list[0] : *selected;
    const auto swap = [&](int a, int b) {
        for (TCustProd& each : list)
            exchange(each.KeyChars, a, b);
        exchange(lowerBounds(data, mode), a, b);
        exchange(upperBounds(data, mode), a, b);
    };
    // The key list is exchanged along with every other, so keyAt reads its present order.
    const int count = keys.KeyChars.Count();
    switch (column) {
    case KeyCharColumn::Name:
        quickSort(count, [&](int i) { return keys.KeyChars[i].Name; }, swap, SortOrder::Ascending);
        break;
    case KeyCharColumn::Importance:
        quickSort(count, [&](int i) { return keys.KeyChars[i].Importance; }, swap, SortOrder::Descending);
        break;
    case KeyCharColumn::Match:
        quickSort(count, [&](int i) { return keys.KeyChars[i].Match; }, swap, SortOrder::Descending);
        break;
    }
    return true;
}

CellCommit commitKeyCharCell(CaseEdit& edit, Mode mode, int item, int col, int row, std::string_view text)
{
    const TCustProd* owner = itemAt(edit.data(), mode, item);
    if (!owner || row < 1)
        return CellCommit::Nothing;
    const int k = row - 1;
    if (k == owner->KeyChars.Count()) {
        if (col != 0)
            return CellCommit::Nothing;
        addKeyChar(edit, mode, text);
        return CellCommit::Added;
    }
    if (!owner->KeyChars.InRange(k))
        return CellCommit::Nothing;
    bool changed = false;
    switch (col) {
    case 0: changed = renameKeyChar(edit, mode, k, text); break;
    case 1: changed = setImportance(edit, mode, k, text); break;
    case 2: changed = setMatch(edit, mode, item, k, text); break;
    default: break;
    }
    return changed ? CellCommit::Changed : CellCommit::Nothing;
}

// --- Market potential --------------------------------------------------------------------------

std::string marketPotentialCellText(const TCustProd* item, int col, int row)
{
    if (row == 0)
        return col == 0 ? "Market Potential" : col == 1 ? "Value" : "";
    if (!item || !item->MarketPotential.InRange(row - 1))
        return {};
    const TRankedItem& entry = item->MarketPotential[row - 1];
    return col == 0 ? entry.Name : col == 1 ? std::to_string(entry.Rank) : "";
}

void addMarketPotential(CaseEdit& edit, Mode mode, int item, std::string_view name)
{
    TCustProd* owner = itemAt(edit.data(), mode, item);
    if (!owner)
        return;
    edit.begin();
    auto& entry = owner->MarketPotential.Add();
    entry.Name.assign(name);
    entry.Rank = 1;
}

bool renameMarketPotential(CaseEdit& edit, Mode mode, int item, int entry, std::string_view name)
{
    TRankedItem* potential = potentialAt(edit.data(), mode, item, entry);
    return potential && edit.set(potential->Name, name);
}

bool setMarketPotentialValue(CaseEdit& edit, Mode mode, int item, int entry, std::string_view text)
{
    TRankedItem* potential = potentialAt(edit.data(), mode, item, entry);
    return potential && edit.set(potential->Rank, amountFromText(text));
}

bool deleteMarketPotential(CaseEdit& edit, Mode mode, int item, int entry, Questions& ask)
{
    TRankedItem* potential = potentialAt(edit.data(), mode, item, entry);
    if (!potential || !confirmDelete(ask, "Delete Market Potential '%s'?", potential->Name))
        return false;
    edit.begin();
    items(edit.data(), mode)[item].MarketPotential.Delete(entry);
    return true;
}

bool sortMarketPotential(CaseEdit& edit, Mode mode, int item, int column)
{
    TCustProd* owner = itemAt(edit.data(), mode, item);
    if (!owner || owner->MarketPotential.Count() < 2 || column < 0 || column > 1)
        return false;
    edit.begin();
    if (column == 0)
        quickSort(owner->MarketPotential, [](const TRankedItem& e) { return e.Name; }, SortOrder::Ascending);
    else
        quickSort(owner->MarketPotential, [](const TRankedItem& e) { return e.Rank; }, SortOrder::Descending);
    return true;
}

CellCommit commitMarketPotentialCell(CaseEdit& edit, Mode mode, int item, int col, int row, std::string_view text)
{
    const TCustProd* owner = itemAt(edit.data(), mode, item);
    if (!owner || row < 1)
        return CellCommit::Nothing;
    const int entry = row - 1;
    if (entry == owner->MarketPotential.Count()) {
        if (col != 0)
            return CellCommit::Nothing;
        addMarketPotential(edit, mode, item, text);
        return CellCommit::Added;
    }
    bool changed = false;
    if (col == 0)
        changed = renameMarketPotential(edit, mode, item, entry, text);
    else if (col == 1)
        changed = setMarketPotentialValue(edit, mode, item, entry, text);
    return changed ? CellCommit::Changed : CellCommit::Nothing;
}

// --- Filter of the data page ---------------------------------------------------------------------

BoundEntry setBound(TCaseData& data, Mode mode, int k, BoundField field, std::string_view text)
{
    const BoundEntry result = portfolio::limitBound(text);
    const bool lower = field == BoundField::ImpFrom || field == BoundField::MatchFrom;
    auto& bounds = lower ? lowerBounds(data, mode) : upperBounds(data, mode);
    if (bounds.InRange(k)) {
        TKeyCharItem& bound = bounds[k];
        (field == BoundField::ImpFrom || field == BoundField::ImpTo ? bound.Importance : bound.Match) = result.value;
    }
    return result;
}

int32_t boundValue(const TCaseData& data, Mode mode, int k, BoundField field)
{
    const bool lower = field == BoundField::ImpFrom || field == BoundField::MatchFrom;
    const auto& bounds = lower ? lowerBounds(data, mode) : upperBounds(data, mode);
    if (!bounds.InRange(k))
        return 0;
    return field == BoundField::ImpFrom || field == BoundField::ImpTo ? bounds[k].Importance : bounds[k].Match;
}

bool passesFilter(const TCaseData& data, Mode mode, const TCustProd& item)
{
    const auto& low = lowerBounds(data, mode);
    const auto& high = upperBounds(data, mode);
    for (int k = 0; k < low.Count(); ++k) {
        const TKeyCharItem* keyChar = keyCharAt(item, k);
        if (!keyChar || keyChar->Excluded || !high.InRange(k))
            continue;
        if (keyChar->Importance < low[k].Importance || keyChar->Importance > high[k].Importance)
            return false;
        if (keyChar->Match < low[k].Match || keyChar->Match > high[k].Match)
            return false;
    }
    return true;
}

void rebuildBounds(TCaseData& data, Mode mode)
{
    const auto& list = items(data, mode);
    if (list.Empty())
        return;
    const auto& keyChars = list[0].KeyChars;
    auto& low = lowerBounds(data, mode);
    auto& high = upperBounds(data, mode);
    bool matching = low.Count() == keyChars.Count() && high.Count() == keyChars.Count();
    for (int k = 0; matching && k < keyChars.Count(); ++k)
        matching = low[k].Name == keyChars[k].Name && high[k].Name == keyChars[k].Name;
    if (matching)
        return;
    low.Clear();
    high.Clear();
    for (const TKeyCharItem& keyChar : keyChars)
        appendBounds(data, mode, keyChar.Name);
}

FilterBox filterBoxFor(const TCaseData& data, Mode mode, int item, int row)
{
    FilterBox box;
    const auto& list = items(data, mode);
    const int k = row - 1;
    const auto& low = lowerBounds(data, mode);
    if (!list.InRange(item) || !list[item].KeyChars.InRange(k) || !low.InRange(k) ||
        !upperBounds(data, mode).InRange(k))
        return box;
    box.caption = "Filtering '" + low[k].Name + "'";
    box.enabled = !list[item].KeyChars[k].Excluded;
    return box;
}

// --- Graph page --------------------------------------------------------------------------------

namespace {

bool withinGraphFilter(const TKeyCharItem& keyChar, const portfolio::PlotFilter& filter)
{
    return !keyChar.Excluded && filter.admits(keyChar.Importance, keyChar.Match);
}

} // namespace

bool passesGraphFilter(const TCustProd& item, const portfolio::PlotFilter& filter)
{
    bool anyApplicable = false;
    for (const TKeyCharItem& keyChar : item.KeyChars) {
        if (keyChar.Excluded)
            continue;
        if (withinGraphFilter(keyChar, filter))
            return true;
        anyApplicable = true;
    }
    return !anyApplicable;
}

std::vector<portfolio::PlotRow> buildGraphRows(const TCaseData& data, Mode mode, const portfolio::PlotFilter& filter)
{
    using portfolio::PlotRow;
    std::vector<PlotRow> rows;
    const auto& list = items(data, mode);
    for (int i = 0; i < list.Count(); ++i) {
        const TCustProd& item = list[i];
        bool headed = false;
        for (int k = 0; k < item.KeyChars.Count(); ++k) {
            const TKeyCharItem& keyChar = item.KeyChars[k];
            if (!withinGraphFilter(keyChar, filter))
                continue;
            if (!headed) {
                rows.push_back(PlotRow::headingRow(item.Name, i));
                headed = true;
            }
            rows.push_back(PlotRow::entryRow("   " + keyChar.Name, keyChar.Importance, keyChar.Match, i, k));
        }
    }
    return rows;
}

} // namespace cust_prod
