#pragma once

// Build Your Capabilities: the general capabilities of the case and each product's own
// (service-specific) capabilities, each rated for today (DateFrom) and tomorrow (DateTo).
//
// Market groups refer to capabilities by owner and position (CapabilityRefs: Rank = owner, -1 for
// the general list, Link = position), so every delete and sort here goes through the case's
// reference helpers and leaves each reference on the capability it named.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "model/core_text.h"
#include "model/del_list.h"
#include "workshops/portfolio/portfolio_ops.h"

class CaseEdit;
class ListGrid;
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

inline constexpr const char* kDeleteGeneralQuestion = CORE_TEXT("Questions", "Delete General Capability '%s'?");
inline constexpr const char* kDeleteSpecialQuestion = CORE_TEXT("Questions", "Delete Special Capability '%s'?");

// The owner's list, or null for a product position out of range.
TDelList<TCapability>* capabilityList(TCaseData& data, int owner);
const TDelList<TCapability>* capabilityList(const TCaseData& data, int owner);

// An importance as typed: a whole number, blanks around it ignored, clamped into 1..10. Text
// that is not a whole number (empty, a lone sign, anything else) gives 1.
int32_t readImportance(std::string_view typed);

// The capability grid of the owner `owner()` names: Name and the importances today and tomorrow,
// titled with the planning period's dates ("Status As Of 01/01/2026"). A name typed into the new
// entry's row adds a capability with both importances 1; an empty name there adds nothing. Title
// presses sort names ascending ignoring letter case, importances descending. Alt+Delete asks
// "Delete General Capability '%s'?" or "Delete Special Capability '%s'?". Deleting and sorting
// keep the market groups' references on the capabilities they name.
std::unique_ptr<ListGrid> capabilityGrid(std::function<int()> owner);

// The graph list: "General Capabilities" with the general capabilities passing the filter (today's
// importance vertical, tomorrow's horizontal), then "Service Specific Capabilities" with each
// product's passing capabilities under the product's name; a product without a passing capability
// gets no heading.
std::vector<portfolio::PlotRow> buildGraphList(const TCaseData& data, const portfolio::PlotFilter& filter);

} // namespace capabilities
