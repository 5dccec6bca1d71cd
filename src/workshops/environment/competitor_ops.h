#pragma once

// Judge Your Competitors: the key competitors with their market shares and seven describing texts.
//
// The competitors are a list grid; the texts shown beside the grid belong to the competitor of the
// current row.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

class CaseEdit;
class ListGrid;
struct TCaseData;
struct TCompetitor;

namespace competitors {

enum Column { ColName = 0, ColShare = 1 };
inline constexpr int kColumnCount = 2;

// The competitor grid: names ("Who") and shares ("Marketshare"). Any name typed into the new
// entry's row, even an empty one, makes a competitor (share 0, empty texts); a share typed there is
// dropped. Names sort ascending ignoring letter case, shares descending; Alt+Delete asks
// "Delete competitor '%s'?".
std::unique_ptr<ListGrid> competitorGrid();

// A market share as typed: a whole number clamped to 0..100; empty or unreadable text gives 1.
int32_t readMarketShare(std::string_view text);

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
