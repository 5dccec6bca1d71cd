#pragma once

// Judge Your Competitors: the key competitors with their market shares and seven describing texts.
//
// The grid has a title row ("Who", "Marketshare"), one row per competitor (row r shows
// Competitors[r - 1]) and an empty last row into which a new competitor is typed. The texts shown
// beside the grid belong to the competitor of the current row.

#include <cstdint>
#include <string>
#include <string_view>

#include "model/questions.h"

class CaseEdit;
struct TCaseData;
struct TCompetitor;

namespace competitors {

enum Column { ColName = 0, ColShare = 1 };
inline constexpr int kColumnCount = 2;

// The text of a grid cell, title row included.
std::string competitorCellText(const TCaseData& data, int col, int row);

// Index of the competitor shown in grid row `row`, or -1 for the title row and the empty row.
int competitorAtRow(const TCaseData& data, int row);

// A market share as typed: a whole number clamped to 0..100; empty or unreadable text gives 1.
int32_t readMarketShare(std::string_view text);

enum class CellCommit { Unchanged, Changed, Added };

// Writes a committed cell edit. A competitor's name or share changes as one undo step, and only
// when it differs; column 0 of the empty row appends a new competitor named by the text (share 0,
// empty texts). A share typed into the empty row is dropped.
CellCommit commitCompetitorCell(CaseEdit& edit, int col, int row, std::string_view text);

// Sorts by a title press: names ascending ignoring letter case, shares descending. With fewer than
// two competitors, or another column, nothing happens and false is returned; otherwise the sort is
// one undo step even when nothing moves.
bool sortCompetitors(CaseEdit& edit, int col);

// Alt+Delete on a competitor's row: asks "Delete competitor '%s'?" and deletes on Yes. The title
// row and the empty row ask nothing.
bool deleteCompetitor(CaseEdit& edit, Questions& ask, int row);

// The seven texts of a competitor, as the boxes beside the grid hold them.
struct CompetitorTexts {
    std::string description;
    std::string keyServices;
    std::string keyClients;
    std::string keyAdvantages;
    std::string keyDisadvantages;
    std::string potentialDev;
    std::string watchPoints;

    bool operator==(const CompetitorTexts&) const = default;
};

CompetitorTexts textsOf(const TCompetitor& competitor);

// The user changed one of the texts: all seven are stored as one undo step, only when one differs.
bool editCompetitorTexts(CaseEdit& edit, int competitor, const CompetitorTexts& texts);

// Commit before a save or close: stored without an undo step and without marking the case modified.
void storeCompetitorTexts(TCaseData& data, int competitor, const CompetitorTexts& texts);

} // namespace competitors
