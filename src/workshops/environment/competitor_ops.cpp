#include "workshops/environment/competitor_ops.h"

#include <charconv>

#include "model/case_data.h"
#include "model/case_edit.h"
#include "model/quick_sort.h"

namespace competitors {

namespace {

const char* const kTitles[kColumnCount] = {"Who", "Marketshare"};

// A whole number with optional blanks around it and an optional sign; nothing else.
bool readWholeNumber(std::string_view text, long long& value)
{
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    if (text.empty())
        return false;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error == std::errc::result_out_of_range) {
        // Too many digits for any share: as far out of range as the sign says.
        value = text.front() == '-' ? -1 : 1000;
        return true;
    }
    return error == std::errc() && end == text.data() + text.size();
}

// The seven text fields in the order the boxes list them.
template <class Competitor, class Texts, class Visit>
void forEachText(Competitor& competitor, Texts& texts, Visit visit)
{
    visit(competitor.Description, texts.description);
    visit(competitor.KeyServices, texts.keyServices);
    visit(competitor.KeyClients, texts.keyClients);
    visit(competitor.KeyAdvantages, texts.keyAdvantages);
    visit(competitor.KeyDisadvantages, texts.keyDisadvantages);
    visit(competitor.PotentialDev, texts.potentialDev);
    visit(competitor.WatchPoints, texts.watchPoints);
}

} // namespace

std::string competitorCellText(const TCaseData& data, int col, int row)
{
    if (row == 0)
        return col >= 0 && col < kColumnCount ? kTitles[col] : "";
    const int index = competitorAtRow(data, row);
    if (index < 0)
        return {};
    const TCompetitor& competitor = data.Competitors[index];
    switch (col) {
    case ColName: return competitor.Name;
    case ColShare: return std::to_string(competitor.MarketShare);
    default: return {};
    }
}

int competitorAtRow(const TCaseData& data, int row)
{
    return row >= 1 && row <= data.Competitors.Count() ? row - 1 : -1;
}

int32_t readMarketShare(std::string_view text)
{
    long long value = 0;
    if (!readWholeNumber(text, value))
        return 1;
    return static_cast<int32_t>(value < 0 ? 0 : (value > 100 ? 100 : value));
}

CellCommit commitCompetitorCell(CaseEdit& edit, int col, int row, std::string_view text)
{
    TCaseData& data = edit.data();
    const int index = competitorAtRow(data, row);
    if (index >= 0) {
        TCompetitor& competitor = data.Competitors[index];
        bool changed = false;
        if (col == ColName)
            changed = edit.set(competitor.Name, text);
        else if (col == ColShare)
            changed = edit.set(competitor.MarketShare, readMarketShare(text));
        return changed ? CellCommit::Changed : CellCommit::Unchanged;
    }
    if (row == data.Competitors.Count() + 1 && col == ColName) {
        edit.begin();
        data.Competitors.Add().Name.assign(text);
        return CellCommit::Added;
    }
    return CellCommit::Unchanged;
}

bool sortCompetitors(CaseEdit& edit, int col)
{
    TCaseData& data = edit.data();
    if (data.Competitors.Count() < 2 || (col != ColName && col != ColShare))
        return false;
    edit.begin();
    if (col == ColName)
        quickSort(data.Competitors, [](const TCompetitor& c) -> const std::string& { return c.Name; },
                  SortOrder::Ascending);
    else
        quickSort(data.Competitors, [](const TCompetitor& c) { return c.MarketShare; }, SortOrder::Descending);
    return true;
}

bool deleteCompetitor(CaseEdit& edit, Questions& ask, int row)
{
    TCaseData& data = edit.data();
    const int index = competitorAtRow(data, row);
    if (index < 0 || !confirmDelete(ask, "Delete competitor '%s'?", data.Competitors[index].Name))
        return false;
    edit.begin();
    data.Competitors.Delete(index);
    return true;
}

CompetitorTexts textsOf(const TCompetitor& competitor)
{
    CompetitorTexts texts;
    forEachText(competitor, texts, [](const std::string& field, std::string& text) { text = field; });
    return texts;
}

bool editCompetitorTexts(CaseEdit& edit, int competitor, const CompetitorTexts& texts)
{
    TCaseData& data = edit.data();
    if (!data.Competitors.InRange(competitor) || !edit.beginIf(textsOf(data.Competitors[competitor]) != texts))
        return false;
    storeCompetitorTexts(data, competitor, texts);
    return true;
}

void storeCompetitorTexts(TCaseData& data, int competitor, const CompetitorTexts& texts)
{
    if (!data.Competitors.InRange(competitor))
        return;
    forEachText(data.Competitors[competitor], texts, [](std::string& field, const std::string& text) { field = text; });
}

} // namespace competitors
