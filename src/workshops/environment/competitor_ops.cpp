#include "workshops/environment/competitor_ops.h"


#include "model/case_data.h"
#include "model/case_edit.h"
#include "model/core_text.h"
#include "model/list_grid.h"
#include "model/typed_number.h"

namespace competitors {

namespace {

const ListColumn<TCompetitor> kColumns[kColumnCount] = {
    list_columns::textColumn<&TCompetitor::Name>(CORE_TEXT("Grid titles", "Who")),
    list_columns::numberColumn<&TCompetitor::MarketShare, readMarketShare>(CORE_TEXT("Grid titles", "Marketshare")),
};
const ListTable<TCompetitor> kTable{kColumns, &TCompetitor::Name, CORE_TEXT("Questions", "Delete competitor '%s'?")};

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

std::unique_ptr<ListGrid> competitorGrid()
{
    return std::make_unique<ItemListGrid<TCompetitor>>(kTable, [](TCaseData& data) { return &data.Competitors; });
}

int32_t readMarketShare(std::string_view text)
{
    const auto value = readTypedWholeNumber(text);
    return value ? clampedTo(*value, 0, 100) : 1;
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
