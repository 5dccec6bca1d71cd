#include "model/case_data.h"

#include <gtest/gtest.h>

#include "model/case_file.h"
#include "test_support.h"

TEST(CaseData, NewCaseHasItsDefaults)
{
    TCaseData data;
    ASSERT_EQ(data.ChangeAreas.Count(), 3);
    EXPECT_EQ(data.ChangeAreas[0].Name, "Technology");
    EXPECT_EQ(data.ChangeAreas[1].Name, "Regulations");
    EXPECT_EQ(data.ChangeAreas[2].Name, "Market");
    EXPECT_EQ(data.ObjectiveTypes, (TStringList{"Culture", "Capabilities/Skills", "Image"}));
    EXPECT_EQ(data.RiskTypes, (TStringList{"Financial", "Political"}));
    EXPECT_EQ(data.FileName, "untitled");
    EXPECT_TRUE(data.Modified);
    EXPECT_EQ(data.DateFrom, data.DateTo);
    EXPECT_GT(data.DateFrom, 40000); // some time after 2009
    EXPECT_TRUE(data.KeyObjectives.Empty() && data.Competitors.Empty() && data.Customers.Empty() &&
                data.Products.Empty() && data.Capabilities.Empty() && data.MarketGroups.Empty() &&
                data.Actions.Empty());

    TRankedItem ranked;
    EXPECT_EQ(ranked.Link, -1);
    EXPECT_EQ(ranked.Rank, 1);
    TKeyCharItem keyChar;
    EXPECT_EQ(keyChar.Match, -1);
    EXPECT_TRUE(keyChar.Excluded);
    TRisk risk;
    EXPECT_EQ(risk.RiskType, -1);
    TCustProd custProd;
    EXPECT_FALSE(custProd.Members);
    EXPECT_TRUE(custProd.Capabilities.Empty());
}

TEST(CaseData, PlanTemplateHasSeventeenRowsEndingWithProfit)
{
    TCustProd customer(TCustProd::WithPlanTemplate{});
    ASSERT_EQ(customer.Capabilities.Count(), 17);
    for (int i = 0; i < 17; ++i) {
        const auto& row = customer.Capabilities[i];
        const bool predefined = i % 2 == 0;
        EXPECT_EQ(row.Name, predefined ? kPlanRowNames[i / 2] : kPlanEntryRowName) << i;
        EXPECT_EQ(row.ImpTomorrow, predefined ? 1 : 0) << i;
        EXPECT_EQ(row.ImpToday, 0);
        EXPECT_EQ(row.Acquisition, 0);
        EXPECT_EQ(row.Placement, 0);
    }
    EXPECT_EQ(customer.Capabilities[16].Name, "Profit");
}

TEST(CaseData, AssignIsADeepCopyThatKeepsFileNameAndModified)
{
    TCaseData original;
    testing_support::fillRichCase(original);
    original.CustFilterLow.Add().Name = "filter";
    original.FileName = "/cases/original.cvx";
    original.Modified = false;

    TCaseData snapshot;
    snapshot.FileName = "/elsewhere.cvx";
    snapshot.Modified = true;
    snapshot.Assign(original);
    EXPECT_EQ(snapshot.FileName, "/elsewhere.cvx");
    EXPECT_TRUE(snapshot.Modified);
    EXPECT_EQ(encodeCase(snapshot), encodeCase(original));
    EXPECT_EQ(snapshot.CustFilterLow[0].Name, "filter");

    // Changing the copy anywhere leaves the original alone.
    const std::string before = encodeCase(original);
    snapshot.ChangeAreas[0].Changes[0].Risks[0].Name = "changed";
    snapshot.Customers[1].Members->Add().Value = 5;
    snapshot.Customers[0].Capabilities[0].Name = "changed";
    snapshot.MarketGroups[0].CapabilityRefs[0].Link = 9;
    snapshot.ChangeAreas[0].Megatrends.push_back("more");
    EXPECT_EQ(encodeCase(original), before);

    // And back: restoring the snapshot over the case keeps the case's own name and flag.
    original.Assign(snapshot);
    EXPECT_EQ(original.FileName, "/cases/original.cvx");
    EXPECT_FALSE(original.Modified);
    EXPECT_EQ(original.ChangeAreas[0].Changes[0].Risks[0].Name, "changed");

    original.Assign(original); // self-assignment is harmless
    EXPECT_EQ(encodeCase(original), encodeCase(snapshot));
}

TEST(CaseData, AssignMakesMembersPresentExactlyAsInTheSource)
{
    TCustProd withMembers;
    withMembers.Members = std::make_unique<TDelList<TInteger>>();
    withMembers.Members->Add().Value = 3;
    TCustProd without;

    TCustProd target;
    target.Assign(withMembers);
    ASSERT_TRUE(target.Members);
    EXPECT_EQ((*target.Members)[0].Value, 3);
    EXPECT_NE(target.Members.get(), withMembers.Members.get());

    target.Assign(without);
    EXPECT_FALSE(target.Members);

    // Present but empty stays present and empty.
    TCustProd emptyGroup;
    emptyGroup.Members = std::make_unique<TDelList<TInteger>>();
    target.Assign(emptyGroup);
    ASSERT_TRUE(target.Members);
    EXPECT_TRUE(target.Members->Empty());
    EXPECT_FALSE(target.IsGroup());

    // Capabilities are emptied and refilled.
    TCustProd planned(TCustProd::WithPlanTemplate{});
    planned.Assign(without);
    EXPECT_TRUE(planned.Capabilities.Empty());
}

namespace {
struct Counted {
    static inline int alive = 0;
    Counted() { ++alive; }
    ~Counted() { --alive; }
    void Assign(const Counted&) {}
};
} // namespace

TEST(DelList, OwnsAndDestroysItsElements)
{
    {
        TDelList<Counted> list;
        list.Add();
        list.Add();
        list.Add();
        EXPECT_EQ(Counted::alive, 3);
        list.Delete(1);
        EXPECT_EQ(Counted::alive, 2);
        TDelList<Counted> copy;
        copy.Assign(list);
        EXPECT_EQ(Counted::alive, 4);
        copy.Clear();
        EXPECT_EQ(Counted::alive, 2);
    }
    EXPECT_EQ(Counted::alive, 0);

    TDelList<TInteger> ints;
    for (int i = 0; i < 4; ++i)
        ints.Add().Value = i;
    ints.Move(0, 3);
    ints.Exchange(0, 1);
    EXPECT_EQ(ints[0].Value, 2);
    EXPECT_EQ(ints[1].Value, 1);
    EXPECT_EQ(ints[3].Value, 0);
    EXPECT_TRUE(ints.InRange(3));
    EXPECT_FALSE(ints.InRange(4));
    EXPECT_FALSE(ints.InRange(-1));
}
