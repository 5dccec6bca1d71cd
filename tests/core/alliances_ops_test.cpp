#include "workshops/capabilities/alliances_ops.h"

#include <gtest/gtest.h>

#include "model/case_data.h"
#include "model/case_edit.h"
#include "report/case_report.h"

using namespace alliances;

namespace {

class AllianceOps : public ::testing::Test {
protected:
    AllianceOps() { data.Modified = false; }

    TCapability& add(TDelList<TCapability>& list, const std::string& name, int32_t placement = 0,
                     int32_t acquisition = 0)
    {
        auto& capability = list.Add();
        capability.Name = name;
        capability.Placement = placement;
        capability.Acquisition = acquisition;
        return capability;
    }

    TCustProd& product(const std::string& name)
    {
        auto& entry = data.Products.Add();
        entry.Name = name;
        return entry;
    }

    std::vector<std::string> rowNames(const AllianceRows& rows) const
    {
        std::vector<std::string> out;
        for (int row = 0; row < static_cast<int>(rows.size()); ++row) {
            const TCapability* capability = rowCapability(data, rows, row);
            out.push_back(capability ? capability->Name : "(none)");
        }
        return out;
    }

    // Which of the six choice columns are ticked for a row, as "100010".
    std::string ticks(const AllianceRows& rows, int row) const
    {
        std::string out;
        for (int column = ColCentralized; column <= ColPartner; ++column)
            out += isChosen(data, rows, row, column) ? '1' : '0';
        return out;
    }

    void expectNoStep() const
    {
        EXPECT_EQ(undo.count(), 0);
        EXPECT_FALSE(data.Modified);
    }

    TCaseData data;
    UndoStack undo;
    CaseEdit edit{data, undo};
};

} // namespace

TEST_F(AllianceOps, AFreshCapabilityIsCentralizedAndDeveloped)
{
    data.Capabilities.Add().Name = "Sales";
    const AllianceRows rows = buildAllianceRows(data);
    EXPECT_EQ(ticks(rows, 0), "100100");
}

TEST_F(AllianceOps, TickingTheChoiceInForceIsNoStepAnotherKeepsThePositionBits)
{
    for (int i = 0; i < 4; ++i)
        add(data.Capabilities, "C" + std::to_string(i), 0, 4 * i);
    data.Capabilities[3].Acquisition = 13; // position 3, Buy
    const AllianceRows rows = buildAllianceRows(data);
    data.Modified = false;

    EXPECT_FALSE(setChoice(edit, rows, 3, ColBuy));
    EXPECT_EQ(data.Capabilities[3].Acquisition, 13);
    expectNoStep();

    EXPECT_TRUE(setChoice(edit, rows, 3, ColPartner));
    EXPECT_EQ(data.Capabilities[3].Acquisition, 14);
    EXPECT_EQ(undo.count(), 1);
    EXPECT_TRUE(data.Modified);

    EXPECT_TRUE(setChoice(edit, rows, 3, ColSituationSpecific));
    EXPECT_EQ(data.Capabilities[3].Placement, 2);
    EXPECT_EQ(ticks(rows, 3), "001001");
    ASSERT_TRUE(edit.undo());
    EXPECT_EQ(ticks(rows, 3), "100001");
}

TEST_F(AllianceOps, SetChoiceIgnoresTheNameColumnAndRowsWithoutACapability)
{
    add(data.Capabilities, "Sales");
    const AllianceRows rows = buildAllianceRows(data);
    EXPECT_FALSE(setChoice(edit, rows, 0, ColName));
    EXPECT_FALSE(setChoice(edit, rows, 0, ColumnCount));
    EXPECT_FALSE(setChoice(edit, rows, 1, ColBuy));
    EXPECT_FALSE(setChoice(edit, rows, -1, ColBuy));
    expectNoStep();
}

TEST_F(AllianceOps, BuildingTheRowsWritesPositionBitsWithoutAnEditAndTheReportReadsTheSame)
{
    add(data.Capabilities, "G0", 1, 2);
    add(data.Capabilities, "G1", 2, 1);
    auto& first = product("P0");
    add(first.Capabilities, "S00", 2, 0);
    add(first.Capabilities, "S01", 1, 2);
    auto& second = product("P1");
    add(second.Capabilities, "S10", 0, 1);
    const std::string reportBefore = buildCaseReport(data, {});

    const AllianceRows rows = buildAllianceRows(data);
    EXPECT_EQ(rows, (AllianceRows{{-1, 0}, {-1, 1}, {0, 0}, {0, 1}, {1, 0}}));
    EXPECT_EQ(data.Capabilities[1].Placement, 2);
    EXPECT_EQ(data.Capabilities[1].Acquisition, 4 + 1);
    EXPECT_EQ(first.Capabilities[1].Placement, 4 + 1);
    EXPECT_EQ(first.Capabilities[1].Acquisition, 4 + 2);
    EXPECT_EQ(second.Capabilities[0].Placement, 8 + 0);
    EXPECT_EQ(second.Capabilities[0].Acquisition, 1);
    expectNoStep();

    EXPECT_EQ(buildCaseReport(data, {}), reportBefore);
    EXPECT_EQ(rowNames(rows), (std::vector<std::string>{"G0", "G1", "S00", "S01", "S10"}));
}

TEST_F(AllianceOps, RebuildingRewritesStalePositionBitsAndKeepsTheChoice)
{
    add(data.Capabilities, "Moved", 4 * 7 + 1, 4 * 9 + 2);
    buildAllianceRows(data);
    EXPECT_EQ(data.Capabilities[0].Placement, 1);
    EXPECT_EQ(data.Capabilities[0].Acquisition, 2);
}

TEST_F(AllianceOps, ValuesThatNameNoChoiceAreLeftAloneAndCanBeRepaired)
{
    add(data.Capabilities, "G0");
    add(data.Capabilities, "Negative", -8, -4);
    // Remainders 3 and -3 name nothing; written over, -3 at position 2 would turn into Buy.
    add(data.Capabilities, "Damaged", 7, -3);
    const std::string reportBefore = buildCaseReport(data, {});
    const AllianceRows rows = buildAllianceRows(data);
    EXPECT_EQ(data.Capabilities[2].Placement, 7);
    EXPECT_EQ(data.Capabilities[2].Acquisition, -3);
    EXPECT_EQ(ticks(rows, 2), "000000");
    EXPECT_EQ(buildCaseReport(data, {}), reportBefore);

    // A negative value whose remainder is 0 does name a choice, and gets its position written.
    EXPECT_EQ(data.Capabilities[1].Placement, 0);
    EXPECT_EQ(data.Capabilities[1].Acquisition, 4);
    EXPECT_EQ(ticks(rows, 1), "100100");

    EXPECT_TRUE(setChoice(edit, rows, 2, ColDecentralized));
    EXPECT_TRUE(setChoice(edit, rows, 2, ColPartner));
    EXPECT_EQ(ticks(rows, 2), "010001");
    EXPECT_EQ(data.Capabilities[2].Placement, 5);
    EXPECT_EQ(data.Capabilities[2].Acquisition, 8 + 2);
}

TEST_F(AllianceOps, NegativeValuesGetTheRowsPositionWhenAChoiceIsSet)
{
    auto& p = product("P0");
    add(p.Capabilities, "S0");
    add(p.Capabilities, "S1", -12, -1);
    const AllianceRows rows = buildAllianceRows(data);
    EXPECT_TRUE(setChoice(edit, rows, 1, ColBuy));
    EXPECT_TRUE(setChoice(edit, rows, 1, ColSituationSpecific));
    EXPECT_EQ(p.Capabilities[1].Acquisition, 4 + 1);
    EXPECT_EQ(p.Capabilities[1].Placement, 4 + 2);
    EXPECT_EQ(ticks(rows, 1), "001010");
}

TEST_F(AllianceOps, BringingBuyToTheTopIsOnePartitionPass)
{
    // Buy on B1, B2, B3; the pass swaps the first row lacking Buy with the last row having it.
    const std::pair<const char*, int> rows[] = {{"D1", 0}, {"B1", 1}, {"P1", 2}, {"B2", 1}, {"D2", 0}, {"B3", 1}};
    for (auto [name, choice] : rows)
        add(data.Capabilities, name, 0, choice);
    AllianceRows view = buildAllianceRows(data);
    data.Modified = false;
    bringChoiceToTop(data, view, ColBuy);
    EXPECT_EQ(rowNames(view), (std::vector<std::string>{"B3", "B1", "B2", "P1", "D2", "D1"}));
    expectNoStep();
    EXPECT_EQ(data.Capabilities[0].Name, "D1") << "the case keeps its order";
}

TEST_F(AllianceOps, BringingAChoiceAllOrNoRowsHaveMovesNothing)
{
    for (const char* name : {"A", "B", "C"})
        add(data.Capabilities, name, 0, 1);
    AllianceRows view = buildAllianceRows(data);
    const AllianceRows caseOrder = view;
    bringChoiceToTop(data, view, ColBuy);
    EXPECT_EQ(view, caseOrder);
    bringChoiceToTop(data, view, ColPartner);
    EXPECT_EQ(view, caseOrder);
    AllianceRows empty;
    bringChoiceToTop(data, empty, ColBuy);
    EXPECT_TRUE(empty.empty());
}

TEST_F(AllianceOps, SortingByNameReordersTheViewOnlyAndARebuildRestoresCaseOrder)
{
    add(data.Capabilities, "sales");
    add(data.Capabilities, "Finance");
    auto& p = product("P0");
    add(p.Capabilities, "Coding");
    add(p.Capabilities, "assembly");
    AllianceRows view = buildAllianceRows(data);
    sortRowsByName(data, view);
    EXPECT_EQ(rowNames(view), (std::vector<std::string>{"assembly", "Coding", "Finance", "sales"}));
    EXPECT_EQ(data.Capabilities[0].Name, "sales");
    EXPECT_EQ(p.Capabilities[0].Name, "Coding");

    // Choices and decisions reach the capability the sorted row shows.
    EXPECT_TRUE(setChoice(edit, view, 0, ColBuy));
    EXPECT_TRUE(storeDecisions(edit, view, 0, "Buy a robot"));
    EXPECT_EQ(p.Capabilities[1].Acquisition % 4, 1);
    EXPECT_EQ(p.Capabilities[1].Decisions, "Buy a robot");

    view = buildAllianceRows(data);
    EXPECT_EQ(rowNames(view), (std::vector<std::string>{"sales", "Finance", "Coding", "assembly"}));
}

TEST_F(AllianceOps, DecisionsOfServiceSpecificCapabilitiesAreStoredWithoutGeneralOnes)
{
    product("P0");
    auto& p1 = product("P1");
    add(p1.Capabilities, "Repairs");
    const AllianceRows rows = buildAllianceRows(data);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_TRUE(storeDecisions(edit, rows, 0, "Partner with a workshop\r\nTrain two people"));
    EXPECT_EQ(p1.Capabilities[0].Decisions, "Partner with a workshop\r\nTrain two people");
    EXPECT_EQ(undo.count(), 1);
    EXPECT_FALSE(storeDecisions(edit, rows, 0, "Partner with a workshop\r\nTrain two people"));
    EXPECT_EQ(undo.count(), 1) << "the same text again is no step";
    EXPECT_FALSE(storeDecisions(edit, rows, 1, "nowhere"));
}

TEST_F(AllianceOps, RowsThatOutliveTheirCapabilitiesNameNothing)
{
    add(data.Capabilities, "G0", 0, 1);
    auto& p = product("P0");
    add(p.Capabilities, "S0", 0, 1);
    add(p.Capabilities, "S1", 0, 1);
    AllianceRows rows = buildAllianceRows(data);
    // Another workshop removed capabilities while the rows were on screen.
    p.Capabilities.Delete(1);
    data.Products.Add();
    data.Modified = false;
    EXPECT_EQ(rowCapability(data, rows, 2), nullptr);
    EXPECT_EQ(ticks(rows, 2), "000000");
    EXPECT_FALSE(setChoice(edit, rows, 2, ColPartner));
    EXPECT_FALSE(storeDecisions(edit, rows, 2, "x"));
    rows.push_back({7, 0}); // a product that does not exist
    EXPECT_EQ(rowCapability(data, rows, 3), nullptr);
    expectNoStep();

    sortRowsByName(data, rows);
    EXPECT_EQ(rowNames(rows), (std::vector<std::string>{"(none)", "(none)", "G0", "S0"}));
    bringChoiceToTop(data, rows, ColBuy);
    EXPECT_EQ(rowNames(rows), (std::vector<std::string>{"S0", "G0", "(none)", "(none)"}));
    EXPECT_EQ(allianceCopyText(data, rows), "Name\r\nS0\tCentralized\tBuy\r\nG0\tCentralized\tBuy\r\n\r\n\r\n");
}

TEST_F(AllianceOps, CopyNamesEachTickedChoiceAndKeepsTheEmptyRowOfAnEmptyCase)
{
    EXPECT_EQ(allianceCopyText(data, buildAllianceRows(data)), "Name\r\n\r\n");
    EXPECT_EQ(countCapabilities(data), 0);

    add(data.Capabilities, "Sales", 2, 0);
    auto& p = product("P0");
    add(p.Capabilities, "Repairs", 1, 2);
    const AllianceRows rows = buildAllianceRows(data);
    EXPECT_EQ(countCapabilities(data), 2);
    EXPECT_EQ(allianceCopyText(data, rows),
              "Name\r\nSales\tSituation Specific\tDevelop\r\nRepairs\tDecentralized\tPartner\r\n");
}
