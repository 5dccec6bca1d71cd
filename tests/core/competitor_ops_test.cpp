#include "workshops/environment/competitor_ops.h"

#include <gtest/gtest.h>

#include "model/case_data.h"
#include "model/case_edit.h"

using namespace competitors;

namespace {

class CompetitorOps : public ::testing::Test {
protected:
    CompetitorOps() { data.Modified = false; }

    TCompetitor& add(const std::string& name, int share)
    {
        auto& competitor = data.Competitors.Add();
        competitor.Name = name;
        competitor.MarketShare = share;
        return competitor;
    }

    TCaseData data;
    UndoStack undo;
    CaseEdit edit{data, undo};
};

} // namespace

struct ShareCase {
    const char* typed;
    int32_t stored;
};

class ShareReading : public ::testing::TestWithParam<ShareCase> {};

TEST_P(ShareReading, ClampsIntoZeroToHundredAndReadsNonsenseAsOne)
{
    EXPECT_EQ(readMarketShare(GetParam().typed), GetParam().stored) << '"' << GetParam().typed << '"';
}

INSTANTIATE_TEST_SUITE_P(CompetitorOps, ShareReading,
                         ::testing::Values(ShareCase{"150", 100}, ShareCase{"", 1}, ShareCase{"abc", 1},
                                           ShareCase{"-5", 0}, ShareCase{"0", 0}, ShareCase{"100", 100},
                                           ShareCase{"42", 42}, ShareCase{"4 2", 1}, ShareCase{"  ", 1},
                                           ShareCase{"12345678901234567890", 100}));

TEST_F(CompetitorOps, EditingTextsIsOneStepOnlyWhenATextDiffers)
{
    auto& competitor = add("Nordkamp", 27);
    competitor.KeyClients = "Hotels\r\nHospitals";
    CompetitorTexts texts = textsOf(competitor);
    EXPECT_EQ(texts.keyClients, "Hotels\r\nHospitals");
    EXPECT_FALSE(editCompetitorTexts(edit, 0, texts));
    EXPECT_EQ(undo.count(), 0);

    texts.keyServices = "Combi steamers\r\nService";
    texts.watchPoints = "Tenders";
    EXPECT_TRUE(editCompetitorTexts(edit, 0, texts));
    EXPECT_EQ(competitor.KeyServices, "Combi steamers\r\nService");
    EXPECT_EQ(competitor.WatchPoints, "Tenders");
    EXPECT_EQ(competitor.KeyClients, "Hotels\r\nHospitals");
    EXPECT_EQ(undo.count(), 1);
    EXPECT_FALSE(editCompetitorTexts(edit, 1, texts)) << "no current competitor";
    EXPECT_EQ(undo.count(), 1);

    texts.description = "National maker"; // a commit before saving stores without a step
    storeCompetitorTexts(data, 0, texts);
    EXPECT_EQ(competitor.Description, "National maker");
    EXPECT_EQ(undo.count(), 1);
}
