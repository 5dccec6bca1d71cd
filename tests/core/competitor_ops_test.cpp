#include "workshops/environment/competitor_ops.h"

#include <gtest/gtest.h>

#include "model/case_data.h"
#include "model/case_edit.h"

using namespace competitors;

namespace {

class YesNo : public Questions {
public:
    bool confirm(const std::string& text) override
    {
        asked.push_back(text);
        return yes;
    }
    AddOrRename askAddOrRename(bool) override { return AddOrRename::Cancel; }

    bool yes = true;
    std::vector<std::string> asked;
};

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
    std::vector<std::string> names() const
    {
        std::vector<std::string> out;
        for (const auto& competitor : data.Competitors)
            out.push_back(competitor.Name);
        return out;
    }
    std::vector<int> shares() const
    {
        std::vector<int> out;
        for (const auto& competitor : data.Competitors)
            out.push_back(competitor.MarketShare);
        return out;
    }

    TCaseData data;
    UndoStack undo;
    CaseEdit edit{data, undo};
    YesNo ask;
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

TEST_F(CompetitorOps, CommittingCellsChangesOnlyWhatDiffersAndTheEmptyRowAddsByName)
{
    add("Nordkamp", 27);
    EXPECT_EQ(commitCompetitorCell(edit, ColName, 1, "Nordkamp"), CellCommit::Unchanged);
    EXPECT_EQ(commitCompetitorCell(edit, ColShare, 1, "27"), CellCommit::Unchanged);
    EXPECT_EQ(commitCompetitorCell(edit, ColShare, 2, "30"), CellCommit::Unchanged) << "a share alone is dropped";
    EXPECT_EQ(undo.count(), 0);
    EXPECT_FALSE(data.Modified);

    EXPECT_EQ(commitCompetitorCell(edit, ColShare, 1, "150"), CellCommit::Changed);
    EXPECT_EQ(data.Competitors[0].MarketShare, 100);
    EXPECT_EQ(commitCompetitorCell(edit, ColName, 2, "Castell"), CellCommit::Added);
    ASSERT_EQ(data.Competitors.Count(), 2);
    EXPECT_EQ(data.Competitors[1].MarketShare, 0);
    EXPECT_EQ(undo.count(), 2);
    EXPECT_TRUE(data.Modified);
}

TEST_F(CompetitorOps, SortingBySharePutsTheLargestFirstAndByNameIgnoresLetterCase)
{
    add("only", 10);
    EXPECT_FALSE(sortCompetitors(edit, ColName)) << "one competitor: nothing to sort, no step";
    EXPECT_EQ(undo.count(), 0);
    add("Budget", 40);
    add("castell", 25);
    EXPECT_FALSE(sortCompetitors(edit, 2));
    EXPECT_TRUE(sortCompetitors(edit, ColShare));
    EXPECT_EQ(shares(), (std::vector<int>{40, 25, 10}));
    EXPECT_TRUE(sortCompetitors(edit, ColName));
    EXPECT_EQ(names(), (std::vector<std::string>{"Budget", "castell", "only"}));
    EXPECT_EQ(undo.count(), 2);
}

TEST_F(CompetitorOps, EqualSharesEndInTheQuicksortsOrder)
{
    // Pivot is the middle element; equal keys are exchanged when the scans meet on them.
    add("a", 20);
    add("b", 20);
    add("c", 20);
    EXPECT_TRUE(sortCompetitors(edit, ColShare));
    EXPECT_EQ(names(), (std::vector<std::string>{"c", "b", "a"}));
}

TEST_F(CompetitorOps, DeletingAsksOnlyForACompetitorRow)
{
    add("Nordkamp", 27);
    add("Castell", 14);
    EXPECT_FALSE(deleteCompetitor(edit, ask, 0));
    EXPECT_FALSE(deleteCompetitor(edit, ask, 3));
    EXPECT_TRUE(ask.asked.empty()) << "the heading and the empty row ask nothing";
    ask.yes = false;
    EXPECT_FALSE(deleteCompetitor(edit, ask, 1));
    EXPECT_EQ(data.Competitors.Count(), 2);
    EXPECT_EQ(undo.count(), 0);
    ask.yes = true;
    EXPECT_TRUE(deleteCompetitor(edit, ask, 2));
    EXPECT_EQ(names(), (std::vector<std::string>{"Nordkamp"}));
    EXPECT_EQ(ask.asked, (std::vector<std::string>{"Delete competitor 'Nordkamp'?", "Delete competitor 'Castell'?"}));
    EXPECT_EQ(undo.count(), 1);
    EXPECT_TRUE(data.Modified);
}

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
