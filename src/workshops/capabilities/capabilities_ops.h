#pragma once

// Build Your Capabilities: the general capabilities of the case and each product's own
// (service-specific) capabilities, each rated for today (DateFrom) and tomorrow (DateTo).
//
// Market groups refer to capabilities by owner and position (CapabilityRefs: Rank = owner, -1 for
// the general list, Link = position), so every delete and sort here goes through the case's
// reference helpers and leaves each reference on the capability it named.
//
// Grid rows are counted as the grids show them: row 0 is the title row, rows 1..n the
// capabilities and row n + 1 the empty row a new capability is typed into.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "model/del_list.h"
#include "workshops/portfolio/portfolio_ops.h"

class CaseEdit;
class Questions;
struct TCapability;
struct TCaseData;

namespace capabilities {

// The owner of the general capabilities; any other owner is a position in Products.
inline constexpr int kGeneral = -1;
// An owner that names no list (no product selected): everything aimed at it does nothing.
inline constexpr int kNoOwner = 0x7FFFFFFF;

// Columns of both capability grids.
enum Column { ColName = 0, ColToday = 1, ColTomorrow = 2 };

inline constexpr const char* kDeleteGeneralQuestion = "Delete General Capability '%s'?";
inline constexpr const char* kDeleteSpecialQuestion = "Delete Special Capability '%s'?";

// The owner's list, or null for a product position out of range.
TDelList<TCapability>* capabilityList(TCaseData& data, int owner);
const TDelList<TCapability>* capabilityList(const TCaseData& data, int owner);

// The capability shown at a grid row, or null (title row, empty row, no such owner).
const TCapability* capabilityAtRow(const TCaseData& data, int owner, int row);

// Rows of a capability grid for an owner: title, one per capability, the empty row. An owner
// that names no list (no products) still has the title and the empty row.
int capabilityGridRows(const TCaseData& data, int owner);

// An importance as typed: a whole number, blanks around it ignored, clamped into 1..10. Text
// that is not a whole number (empty, a lone sign, anything else) gives 1.
int32_t readImportance(std::string_view typed);

// The text a capability grid shows in a cell. The title row names the columns, the importance
// columns with the planning period's dates ("Status As Of 01/01/2026").
std::string capabilityCellText(const TCaseData& data, int owner, int column, int row);

enum class CellCommit {
    Unchanged, // nothing to store: the text equals the field, the row names nothing, or text was
               // typed into an importance column of the empty row
    Changed,   // a capability's field changed
    Added,     // a capability was appended; the grid gains a row
};

// Stores the text typed into a cell of the owner's grid. A name typed into the empty row appends
// a capability with both importances 1; an empty name there adds nothing.
CellCommit commitCapabilityCell(CaseEdit& edit, int owner, int column, int row, std::string_view text);

// Asks whether to delete the capability at a grid row and, on Yes, removes it together with the
// market groups' references to it; later references of the same owner move down by one.
// True when it was deleted.
bool deleteCapability(CaseEdit& edit, Questions& ask, int owner, int row);

// Sorts the owner's list by a column: names ascending ignoring letter case, importances
// descending, and renumbers the market groups' references into it. Lists of fewer than two
// capabilities are left alone (false); otherwise the sort is an undo step even if nothing moved.
bool sortCapabilities(CaseEdit& edit, int owner, int column);

// The graph list: "General Capabilities" with the general capabilities passing the filter (today's
// importance vertical, tomorrow's horizontal), then "Service Specific Capabilities" with each
// product's passing capabilities under the product's name; a product without a passing capability
// gets no heading.
std::vector<portfolio::PlotRow> buildGraphList(const TCaseData& data, const portfolio::PlotFilter& filter);

} // namespace capabilities
