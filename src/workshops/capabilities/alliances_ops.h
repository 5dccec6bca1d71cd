#pragma once

// Plan Your Alliances/Investments: for every capability of the case (the general ones, then each
// product's own) where it is placed and how it is obtained, and a free text of preliminary
// decisions.
//
// Placement and Acquisition hold the choice in their value mod 4 (Placement: 0 Centralized,
// 1 Decentralized, 2 Situation Specific; Acquisition: 0 Develop, 1 Buy, 2 Partner). The bits above
// the lowest two record where the capability stood when the rows were last built (Placement: 0
// for the general list, p + 1 for product p; Acquisition: the position in its list). Nothing
// reads those bits back; they are kept in the file as they stand.
//
// Rows name capabilities by owner and position, never by address: an undo replaces every
// capability object, and another workshop may delete capabilities while this one is open. A row
// that no longer names a capability shows nothing and accepts nothing.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "model/core_text.h"

class CaseEdit;
struct TCapability;
struct TCaseData;

namespace alliances {

struct AllianceRow {
    int owner = -1; // -1 for the general capabilities, otherwise a position in Products
    int index = 0;  // position in the owner's list

    bool operator==(const AllianceRow&) const = default;
};
using AllianceRows = std::vector<AllianceRow>;

// Grid columns: the name, then the three placements and the three ways of getting a capability.
enum Column {
    ColName = 0,
    ColCentralized = 1,
    ColDecentralized = 2,
    ColSituationSpecific = 3,
    ColDevelop = 4,
    ColBuy = 5,
    ColPartner = 6,
    ColumnCount = 7,
};

// Every capability in case order. Writes the position bits of each capability, keeping its
// choice; this is bookkeeping, not an edit: no undo step and Modified stays as it is. A value
// whose remainder names no choice (a damaged file) is left untouched, so the window and the
// report keep showing what they showed.
AllianceRows buildAllianceRows(TCaseData& data);

// The number of capabilities of the case: the general ones and every product's.
int countCapabilities(const TCaseData& data);

// The capability of a row, or null when the row is out of range or names nothing any more.
const TCapability* rowCapability(const TCaseData& data, const AllianceRows& rows, int row);
TCapability* rowCapability(TCaseData& data, const AllianceRows& rows, int row);

// The choice a field holds: value mod 4 with the sign of the value, so negative values hold none.
int choiceOf(int32_t value);
// Whether a choice column (1..6) is ticked for the capability.
bool isChosen(const TCapability& capability, int column);
bool isChosen(const TCaseData& data, const AllianceRows& rows, int row, int column);

// Ticks a choice column for a row. A choice already in force changes nothing and is no undo
// step; otherwise the choice is replaced, keeping the position bits. True when it changed.
bool setChoice(CaseEdit& edit, const AllianceRows& rows, int row, int column);

// Stores the decisions text of a row's capability, as one undo step when it differs. True when
// it changed.
bool storeDecisions(CaseEdit& edit, const AllianceRows& rows, int row, std::string_view text);

// View orders; the case's lists keep theirs.
// By name, ascending, ignoring letter case (the program's quicksort, so ties end as it leaves them).
void sortRowsByName(const TCaseData& data, AllianceRows& rows);
// Rows that have the column's choice ahead of those that lack it, in one partition pass; when all
// or none have it nothing moves.
void bringChoiceToTop(const TCaseData& data, AllianceRows& rows, int column);

// The words of the choice columns, as the clipboard and the report name them; keys of the context
// "Workshop texts".
const char* choiceWord(int column);

// The grid's title texts, the two lines of each column joined by a CR; keys of the context
// "Grid titles".
const char* columnTitle(int column);

// The grid as Copy puts it on the clipboard: per row the name, then a tab and the word of each
// ticked choice, then CR LF. The title row holds "Name" alone; a grid without capabilities still
// has its one empty row.
std::string allianceCopyText(const TCaseData& data, const AllianceRows& rows);

} // namespace alliances
