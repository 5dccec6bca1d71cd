#include "workshops/environment/competitor_ops.h"


#include "model/case_data.h"
#include "model/case_edit.h"
#include "model/quick_sort.h"
#include "model/typed_number.h"

namespace competitors {

namespace {

const char* const kTitles[kColumnCount] = {"Who", "Marketshare"};

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
    const auto value = readTypedWholeNumber(text);
    return value ? clampedTo(*value, 0, 100) : 1;
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
    if (!data.Competitors.InRange(competitor) || !edit.beginFieldsIf(textsOf(data.Competitors[competitor]) != texts))
        return false;
    forEachText(data.Competitors[competitor], texts,
                [&edit](std::string& field, const std::string& text) { edit.assign(field, text); });
    return true;
}

void storeCompetitorTexts(TCaseData& data, int competitor, const CompetitorTexts& texts)
{
    if (!data.Competitors.InRange(competitor))
        return;
    forEachText(data.Competitors[competitor], texts, [](std::string& field, const std::string& text) { field = text; });
}

} // namespace competitors
