#pragma once

// Key characteristics, market potential, the filter and the graph list of the customer and product
// workshops.
//
// All items of one list share their key characteristics: the same names, in the same order, with
// the same importance; only the match and the applicability are the item's own. A key
// characteristic is therefore addressed by its position k, which means the same in every item and
// in both filter bound lists. Every operation here keeps that so. Items of a case read from a file
// that breaks the rule are never indexed out of range: an item without a position k is left out.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "workshops/customers/cust_prod_ops.h"
#include "workshops/portfolio/portfolio_ops.h"

class ListGrid;
struct TRankedItem;

namespace cust_prod {

TDelList<TKeyCharItem>& lowerBounds(TCaseData& data, Mode mode);
TDelList<TKeyCharItem>& upperBounds(TCaseData& data, Mode mode);
const TDelList<TKeyCharItem>& lowerBounds(const TCaseData& data, Mode mode);
const TDelList<TKeyCharItem>& upperBounds(const TCaseData& data, Mode mode);

// --- Reading typed numbers -------------------------------------------------------------------

// A whole number typed into a cell (blanks around it allowed); nothing when the text is not one
// or does not fit 32 bits.
bool readInteger(std::string_view text, int32_t& value);
// Importance or match: limited to 1..10; text that is not a number gives 0, unlimited.
int32_t scoreFromText(std::string_view text);
// A market-potential value: text that is not a 32-bit whole number gives 0.
int32_t amountFromText(std::string_view text);

// --- Key characteristics -----------------------------------------------------------------------

// Whether row `row` is a key characteristic that does not apply to the item (drawn red).
bool keyCharRowExcluded(const TCustProd* item, int row);

// Appends a key characteristic to every item (importance 1, match 1, applicable) and its bounds
// (1, 1) and (10, 10). Nothing while the list is empty.
void addKeyChar(CaseEdit& edit, Mode mode, std::string_view name);
bool renameKeyChar(CaseEdit& edit, Mode mode, int k, std::string_view name);
// Importance is shared: written to position k of every item.
bool setImportance(CaseEdit& edit, Mode mode, int k, std::string_view text);
void toggleApplicability(CaseEdit& edit, Mode mode, int item, int k);

// The key-characteristic grid of the item `item()` names: "Key Characteristics", "Importance" and
// "Match"; the numbers of a key characteristic that does not apply to the item are not shown.
// Names and importances are shared and change in every item; the match is the item's own. A name
// typed into the new entry's row, even an empty one, adds a key characteristic (numbers typed into
// that row are dropped). A title press sorts by name (keys: the first item's names), by importance
// or by match (keys: the item's values, descending), making every exchange in every item and in
// both bound lists; it needs two key characteristics. Alt+Delete asks
// "Delete Key Characteristic '%s'?" and removes the position from every item and both bound lists.
std::unique_ptr<ListGrid> keyCharGrid(Mode mode, std::function<int()> item);

// --- Market potential --------------------------------------------------------------------------

// The market-potential grid of the item `item()` names: "Market Potential" and "Value" (a 32-bit
// whole number, 0 when the text is not one; shown as plain digits, the view groups them). Any name
// typed into the new entry's row adds an entry of value 1. Names sort ascending, values
// descending; Alt+Delete asks "Delete Market Potential '%s'?".
std::unique_ptr<ListGrid> marketPotentialGrid(Mode mode, std::function<int()> item);

// --- Filter of the data page ---------------------------------------------------------------------

enum class BoundField { ImpFrom, ImpTo, MatchFrom, MatchTo };

// The bound stored, and whether the field must show it instead of what was typed.
using BoundEntry = portfolio::LimitedBound;

// Stores a bound typed into a filter field, limited to 1..10 as a bound field is when left (no
// number counts as below 1). Bounds live outside the case file: no undo step, Modified untouched.
BoundEntry setBound(TCaseData& data, Mode mode, int k, BoundField field, std::string_view text);
// The bound a filter field shows; 0 when k names no bound.
int32_t boundValue(const TCaseData& data, Mode mode, int k, BoundField field);

// Whether an item passes the filter: every applicable key characteristic within its bounds.
bool passesFilter(const TCaseData& data, Mode mode, const TCustProd& item);

// Part of every refresh: once the list has items, the bound lists hold one lower (1, 1) and one
// upper (10, 10) bound per key characteristic of the first item. Bounds already there are kept;
// bound lists that do not match the key characteristics any more are built anew.
void rebuildBounds(TCaseData& data, Mode mode);

struct FilterBox {
    bool enabled = false;
    std::string caption = "Filtering";
};
// The filter box for row `row` of the key-characteristic grid of the selected item: it names and
// edits that key characteristic's bounds, and only while the key characteristic applies.
FilterBox filterBoxFor(const TCaseData& data, Mode mode, int item, int row);

// --- Graph page --------------------------------------------------------------------------------

// An item satisfies the graph page's filter (importance vertical, match horizontal) when one
// applicable key characteristic is within it, or when none applies.
bool passesGraphFilter(const TCustProd& item, const portfolio::PlotFilter& filter);

// For each item with applicable key characteristics in the filter: a heading row with its name,
// then one row per such key characteristic (caption indented by three blanks). A row's owner is
// the item's position, its entry the key characteristic's (none on the heading).
std::vector<portfolio::PlotRow> buildGraphRows(const TCaseData& data, Mode mode, const portfolio::PlotFilter& filter);

} // namespace cust_prod
