#include "workshops/customers/key_char_ops.h"

#include <algorithm>
#include <limits>

#include "model/case_data.h"
#include "model/case_edit.h"
#include "model/core_text.h"
#include "model/list_grid.h"
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

std::string appliedNumber(int32_t value, const TKeyCharItem& keyChar)
{
    return keyChar.Excluded ? std::string() : std::to_string(value);
}

using namespace list_columns;

// Names and importances are shared by every item: KeyCharGrid stores them.
const ListColumn<TKeyCharItem> kKeyCharColumns[] = {
    {CORE_TEXT("Grid titles", "Key Characteristics"), text<&TKeyCharItem::Name>, nullptr,
     sortBy<TKeyCharItem, &TKeyCharItem::Name, SortOrder::Ascending>},
    {CORE_TEXT("Grid titles", "Importance"), [](const TCaseData&, const TKeyCharItem& k) { return appliedNumber(k.Importance, k); }, nullptr,
     sortBy<TKeyCharItem, &TKeyCharItem::Importance, SortOrder::Descending>},
    {CORE_TEXT("Grid titles", "Match"), [](const TCaseData&, const TKeyCharItem& k) { return appliedNumber(k.Match, k); },
     storeRead<&TKeyCharItem::Match, scoreFromText>, sortBy<TKeyCharItem, &TKeyCharItem::Match, SortOrder::Descending>},
};
const ListTable<TKeyCharItem> kKeyCharTable{kKeyCharColumns, &TKeyCharItem::Name, CORE_TEXT("Questions", "Delete Key Characteristic '%s'?")};

// The grid shows the selected item's key characteristics; every change but a match reaches the
// same position of every item and, where they follow it, of both bound lists.
class KeyCharGrid : public ItemListGrid<TKeyCharItem> {
public:
    KeyCharGrid(Mode mode, std::function<int()> item)
        : ItemListGrid(kKeyCharTable,
                       [mode, item = std::move(item)](TCaseData& data) {
                           TCustProd* owner = itemAt(data, mode, item());
                           return owner ? &owner->KeyChars : nullptr;
                       }),
          mode_(mode)
    {
    }

protected:
    bool store(CaseEdit& edit, TDelList<TKeyCharItem>& list, int k, int col, std::string_view typed) const override
    {
        switch (col) {
        case 0: return renameKeyChar(edit, mode_, k, typed);
        case 1: return setImportance(edit, mode_, k, typed);
        default: return ItemListGrid::store(edit, list, k, col, typed);
        }
    }

    void add(CaseEdit& edit, TDelList<TKeyCharItem>&, std::string_view name) const override
    {
        addKeyChar(edit, mode_, name);
    }

    void removeAt(TCaseData& data, TDelList<TKeyCharItem>&, int k) const override
    {
        for (TCustProd& each : items(data, mode_))
            if (each.KeyChars.InRange(k))
                each.KeyChars.Delete(k);
        for (auto* bounds : {&lowerBounds(data, mode_), &upperBounds(data, mode_)})
            if (bounds->InRange(k))
                bounds->Delete(k);
    }

    void sortList(TCaseData& data, TDelList<TKeyCharItem>& list, int col) const override
    {
        auto& all = items(data, mode_);
        // The key list is exchanged along with every other, so its keys are read in their present order.
        const auto& keys = col == 0 ? all[0].KeyChars : list;
        columnAt(col)->sort(keys, [&](int a, int b) {
            for (TCustProd& each : all)
                exchange(each.KeyChars, a, b);
            exchange(lowerBounds(data, mode_), a, b);
            exchange(upperBounds(data, mode_), a, b);
        });
    }

private:
    Mode mode_;
};

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

void toggleApplicability(CaseEdit& edit, Mode mode, int item, int k)
{
    TCustProd* owner = itemAt(edit.data(), mode, item);
    TKeyCharItem* keyChar = owner ? keyCharAt(*owner, k) : nullptr;
    if (!keyChar)
        return;
    edit.begin();
    keyChar->Excluded = !keyChar->Excluded;
}

std::unique_ptr<ListGrid> keyCharGrid(Mode mode, std::function<int()> item)
{
    return std::make_unique<KeyCharGrid>(mode, std::move(item));
}

// --- Market potential --------------------------------------------------------------------------

std::unique_ptr<ListGrid> marketPotentialGrid(Mode mode, std::function<int()> item)
{
    using namespace list_columns;
    static const ListColumn<TRankedItem> columns[] = {
        textColumn<&TRankedItem::Name>(CORE_TEXT("Grid titles", "Market Potential")),
        numberColumn<&TRankedItem::Rank, amountFromText>(CORE_TEXT("Grid titles", "Value")),
    };
    static const ListTable<TRankedItem> table{columns, &TRankedItem::Name, CORE_TEXT("Questions", "Delete Market Potential '%s'?")};
    return std::make_unique<ItemListGrid<TRankedItem>>(table, [mode, item = std::move(item)](TCaseData& data) {
        TCustProd* owner = itemAt(data, mode, item());
        return owner ? &owner->MarketPotential : nullptr;
    });
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
