#include "workshops/capabilities/business_plan_ops.h"

#include <gtest/gtest.h>

#include <limits>

#include "model/case_edit.h"
#include "test_support.h"

using namespace business_plan;
using testing_support::ScriptedQuestions;

namespace {

constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
constexpr int32_t kMin = std::numeric_limits<int32_t>::min();

// Positions in the plan template.
constexpr int kIncome = 0, kIncomeEntry = 1, kGrossprofit = 2, kGrossprofitEntry = 3, kExpenditure = 4,
              kTax = 14, kTaxEntry = 15, kProfit = 16;

class BusinessPlanTest : public ::testing::Test {
protected:
    BusinessPlanTest() { data.Modified = false; }

    TDelList<TCapability>& addCustomer(const std::string& name)
    {
        auto& customer = data.Customers.Add(std::make_unique<TCustProd>(TCustProd::WithPlanTemplate{}));
        customer.Name = name;
        return customer.Capabilities;
    }

    std::vector<std::string> names(int customer) const
    {
        std::vector<std::string> out;
        for (const auto& row : data.Customers[customer].Capabilities)
            out.push_back(row.Name);
        return out;
    }

    TCaseData data;
    UndoStack undo;
    CaseEdit edit{data, undo};
    ScriptedQuestions ask{ScriptedQuestions::Reply::No};
};

} // namespace

TEST_F(BusinessPlanTest, SubtotalsAreRunningSumsOfTheEntryRowsAbove)
{
    auto& plan = addCustomer("Hotels");
    ASSERT_TRUE(commitCell(edit, 0, kIncomeEntry, 1, "100"));
    ASSERT_TRUE(commitCell(edit, 0, kGrossprofitEntry, 1, "-30"));
    EXPECT_EQ(plan[kGrossprofit].ImpToday, 100);
    EXPECT_EQ(plan[kExpenditure].ImpToday, 70);
    for (int r = kExpenditure; r < plan.Count(); ++r) {
        if (!isEntryRow(plan[r])) {
            EXPECT_EQ(plan[r].ImpToday, 70) << plan[r].Name;
        }
    }
    EXPECT_EQ(plan[kProfit].Acquisition, 0) << "other years untouched";
    EXPECT_EQ(undo.count(), 2);
}

TEST_F(BusinessPlanTest, TheFirstRowIsNeverRecalculated)
{
    auto& plan = addCustomer("Hotels");
    plan[kIncome].ImpToday = 5;
    plan[kGrossprofit].ImpToday = 999; // a stale subtotal from a file
    data.Modified = false;
    recalculate(data);
    EXPECT_EQ(plan[kIncome].ImpToday, 5);
    EXPECT_EQ(plan[kGrossprofit].ImpToday, 0);
    EXPECT_FALSE(data.Modified) << "subtotals are derived; recalculating is no edit";
    EXPECT_EQ(undo.count(), 0);
}

TEST_F(BusinessPlanTest, TotalsAddEveryCustomersRowAndStartWithZero)
{
    addCustomer("Hotels")[kIncomeEntry].ImpToday = 100;
    addCustomer("Bakeries")[kIncomeEntry].ImpToday = 250;
    recalculate(data);
    const auto sums = totals(data, 17);
    ASSERT_EQ(sums.size(), 17u);
    EXPECT_EQ(sums[kGrossprofit][0], 350);
    EXPECT_EQ(sums[kIncome], (std::array<double, kYears>{0, 0, 0}));
}

TEST_F(BusinessPlanTest, RenamingAnEntryRowRenamesItForEveryCustomer)
{
    addCustomer("Hotels");
    addCustomer("Bakeries");
    ASSERT_TRUE(commitCell(edit, 1, kIncomeEntry, 0, "Equipment sales"));
    EXPECT_EQ(data.Customers[0].Capabilities[kIncomeEntry].Name, "Equipment sales");
    EXPECT_EQ(data.Customers[1].Capabilities[kIncomeEntry].Name, "Equipment sales");
    EXPECT_EQ(undo.count(), 1);

    EXPECT_FALSE(commitCell(edit, 0, kIncomeEntry, 0, "Equipment sales")) << "unchanged text is no step";
    EXPECT_FALSE(renameRow(edit, 0, kGrossprofit, "Margin")) << "predefined captions stay";
    EXPECT_EQ(data.Customers[1].Capabilities[kGrossprofit].Name, "Grossprofit");
    EXPECT_EQ(undo.count(), 1);
}

TEST_F(BusinessPlanTest, InsertingOnTaxPutsANewItemAboveTaxInEveryPlan)
{
    addCustomer("Hotels");
    addCustomer("Bakeries");
    ASSERT_TRUE(insertRow(edit, 1, kTax));
    for (int c = 0; c < 2; ++c) {
        const auto& plan = data.Customers[c].Capabilities;
        ASSERT_EQ(plan.Count(), 18);
        EXPECT_EQ(plan[kTax - 1].Name, "<new entry>");
        EXPECT_EQ(plan[kTax].Name, "<new item>");
        EXPECT_TRUE(isEntryRow(plan[kTax]));
        EXPECT_EQ(plan[kTax].ImpToday, 0);
        EXPECT_EQ(plan[kTax + 1].Name, "Tax");
    }
    EXPECT_NE(&data.Customers[0].Capabilities[kTax], &data.Customers[1].Capabilities[kTax]);
    EXPECT_EQ(undo.count(), 1);

    EXPECT_FALSE(insertRow(edit, 0, kIncome)) << "nothing goes above the first row";
    EXPECT_FALSE(insertRow(edit, 0, 18)) << "past the plan";
    EXPECT_FALSE(insertRow(edit, 2, 3)) << "no such customer";
    EXPECT_EQ(undo.count(), 1);
}

TEST_F(BusinessPlanTest, DeletingAsksForEntryRowsOnlyAndRemovesTheRowEverywhere)
{
    addCustomer("Hotels");
    addCustomer("Bakeries");
    data.Customers[0].Capabilities[kTaxEntry].Name = "Trade tax";
    data.Customers[1].Capabilities[kTaxEntry].Name = "Trade tax";

    EXPECT_FALSE(deleteRow(edit, 0, kTax, ask));
    EXPECT_TRUE(ask.asked.empty()) << "a predefined row is not even asked about";
    EXPECT_FALSE(deleteRow(edit, 0, kTaxEntry, ask));
    EXPECT_EQ(ask.asked, (std::vector<std::string>{"Delete item 'Trade tax'?"}));
    EXPECT_EQ(undo.count(), 0);

    ask.yes = true;
    ASSERT_TRUE(deleteRow(edit, 1, kTaxEntry, ask));
    for (int c = 0; c < 2; ++c) {
        EXPECT_EQ(data.Customers[c].Capabilities.Count(), 16);
        EXPECT_EQ(data.Customers[c].Capabilities[kTaxEntry].Name, "Profit");
    }
    EXPECT_EQ(undo.count(), 1);
    EXPECT_TRUE(edit.undo());
    EXPECT_EQ(names(1)[kTaxEntry], "Trade tax");
}

struct AmountText {
    const char* text;
    int32_t value;
};

class ReadingAmounts : public ::testing::TestWithParam<AmountText> {};

TEST_P(ReadingAmounts, GivesTheWholeNumberOrZero)
{
    EXPECT_EQ(readAmount(GetParam().text), GetParam().value) << '"' << GetParam().text << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ReadingAmounts,
    ::testing::Values(AmountText{"100", 100}, AmountText{"-30", -30}, AmountText{"+7", 7},
                      AmountText{"   1234567", 1234567}, AmountText{"-  5", -5}, AmountText{"", 0},
                      AmountText{" ", 0}, AmountText{"-", 0}, AmountText{"1a", 0}, AmountText{"1,234", 0},
                      AmountText{"1.5", 0}, AmountText{"--1", 0}, AmountText{"2147483647", kMax},
                      AmountText{"-2147483648", kMin}, AmountText{"2147483648", kMax},
                      AmountText{"-99999999999999999999", kMin}, AmountText{"99999999999999999999", kMax}));

TEST(EditText, AmountsAreEditedWithoutSeparators)
{
    EXPECT_EQ(editText(1234567), "1234567");
    EXPECT_EQ(editText(-30), "-30");
    EXPECT_EQ(readAmount(editText(kMin)), kMin);
}

TEST_F(BusinessPlanTest, SubtotalsStopAtTheLimitsOfThirtyTwoBitsWithoutWrapping)
{
    auto& plan = addCustomer("Hotels");
    plan[kIncomeEntry].ImpToday = 2'000'000'000;
    plan[kGrossprofitEntry].ImpToday = 2'000'000'000;
    plan[kTaxEntry].ImpToday = -2'000'000'000;
    plan[kIncomeEntry].Acquisition = kMin;
    plan[kGrossprofitEntry].Acquisition = -1;
    recalculate(data);
    EXPECT_EQ(plan[kGrossprofit].ImpToday, 2'000'000'000);
    EXPECT_EQ(plan[kExpenditure].ImpToday, kMax);
    EXPECT_EQ(plan[kTax].ImpToday, kMax);
    EXPECT_EQ(plan[kProfit].ImpToday, 2'000'000'000) << "the exact sum is back in range";
    EXPECT_EQ(plan[kExpenditure].Acquisition, kMin);

    addCustomer("Bakeries")[kIncomeEntry].ImpToday = 2'000'000'000;
    recalculate(data);
    EXPECT_EQ(totals(data, 17)[kGrossprofit][0], 4'000'000'000.0) << "totals are not limited to 32 bits";
    EXPECT_EQ(totals(data, 17)[kExpenditure][0], double(kMax) + 2'000'000'000.0);
}

TEST_F(BusinessPlanTest, AmountsGoOnlyIntoEntryRowsAndNeverIntoTheLastRow)
{
    auto& plan = addCustomer("Hotels");
    EXPECT_FALSE(commitCell(edit, 0, kGrossprofit, 1, "500")) << "subtotals are not typed";
    EXPECT_FALSE(commitCell(edit, 0, kIncome, 2, "500"));
    EXPECT_FALSE(commitCell(edit, 0, kProfit, 0, "Result"));
    EXPECT_FALSE(commitCell(edit, 1, kIncomeEntry, 1, "500")) << "no customer selected";
    EXPECT_FALSE(commitCell(edit, 0, kIncomeEntry, 4, "500")) << "no such column";
    EXPECT_EQ(plan[kIncome].Acquisition, 0);
    EXPECT_EQ(plan[kProfit].Name, "Profit");
    EXPECT_EQ(undo.count(), 0);
    EXPECT_FALSE(data.Modified);
}

TEST_F(BusinessPlanTest, TypedAmountsAreStepsThatUndoRestores)
{
    auto& plan = addCustomer("Hotels");
    EXPECT_FALSE(commitCell(edit, 0, kIncomeEntry, 3, "abc")) << "reads as 0, which is stored already";
    ASSERT_TRUE(commitCell(edit, 0, kIncomeEntry, 3, "1234567"));
    EXPECT_EQ(plan[kIncomeEntry].Placement, 1234567);
    EXPECT_EQ(plan[kProfit].Placement, 1234567);
    EXPECT_TRUE(data.Modified);
    ASSERT_TRUE(commitCell(edit, 0, kIncomeEntry, 3, "x1"));
    EXPECT_EQ(plan[kIncomeEntry].Placement, 0) << "text that is no number gives 0";
    EXPECT_EQ(undo.count(), 2);
    ASSERT_TRUE(edit.undo());
    EXPECT_EQ(data.Customers[0].Capabilities[kIncomeEntry].Placement, 1234567);
}

// Plans of unequal length: a customer whose plan is shorter or longer than the others.
class UnequalPlansTest : public BusinessPlanTest {
protected:
    UnequalPlansTest()
    {
        addCustomer("Full");
        auto& shortPlan = addCustomer("Short");
        while (shortPlan.Count() > 5) // Income, entry, Grossprofit, entry, Expenditure
            shortPlan.Delete(shortPlan.Count() - 1);
        addCustomer("Empty").Clear();
        auto& longPlan = addCustomer("Long");
        auto& extra = longPlan.Add();
        extra.Name = "Extra";
        extra.ImpTomorrow = 0;
        extra.ImpToday = 40;
        for (int c = 0; c < 4; ++c)
            if (data.Customers[c].Capabilities.InRange(kIncomeEntry))
                data.Customers[c].Capabilities[kIncomeEntry].ImpToday = 10;
        recalculate(data);
    }
};

TEST_F(UnequalPlansTest, TotalsCountMissingRowsAsZero)
{
    const auto sums = totals(data, 18);
    EXPECT_EQ(sums[kGrossprofit][0], 30);
    EXPECT_EQ(sums[kProfit][0], 20) << "Full and Long only";
    EXPECT_EQ(sums[17][0], 40) << "the row only the long plan has";
    EXPECT_TRUE(totals(data, 0).empty());
}

TEST_F(UnequalPlansTest, RowOperationsActOnThePlansThatHoldTheRow)
{
    ASSERT_TRUE(renameRow(edit, 3, 7, "Leasing"));
    EXPECT_EQ(names(0)[7], "Leasing");
    EXPECT_EQ(names(1).size(), 5u);
    ASSERT_TRUE(renameRow(edit, 3, 17, "Royalties")) << "a row only the long plan has";
    EXPECT_EQ(names(3)[17], "Royalties");

    ASSERT_TRUE(insertRow(edit, 0, 9));
    EXPECT_EQ(data.Customers[0].Capabilities.Count(), 18);
    EXPECT_EQ(data.Customers[1].Capabilities.Count(), 5);
    EXPECT_EQ(data.Customers[3].Capabilities.Count(), 19);
    EXPECT_FALSE(insertRow(edit, 2, 1)) << "the empty plan has no row to insert before";

    ask.yes = true;
    ASSERT_TRUE(deleteRow(edit, 3, 18, ask));
    EXPECT_EQ(data.Customers[3].Capabilities.Count(), 18);
    EXPECT_EQ(data.Customers[0].Capabilities.Count(), 18);
    ASSERT_TRUE(deleteRow(edit, 0, kIncomeEntry, ask));
    EXPECT_EQ(names(1), (std::vector<std::string>{"Income", "Grossprofit", "<new entry>", "Expenditure"}));
}

TEST_F(UnequalPlansTest, APlanWhoseRowIsPredefinedWhereOthersHaveAnEntryKeepsIt)
{
    // The short plan lost its first entry row, so its position 1 is "Grossprofit".
    data.Customers[1].Capabilities.Delete(kIncomeEntry);
    ASSERT_TRUE(renameRow(edit, 0, kIncomeEntry, "Sales"));
    EXPECT_EQ(names(1)[kIncomeEntry], "Grossprofit");
    ask.yes = true;
    ASSERT_TRUE(deleteRow(edit, 0, kIncomeEntry, ask));
    EXPECT_EQ(names(1)[kIncomeEntry], "Grossprofit");
    EXPECT_EQ(names(0)[kIncomeEntry], "Grossprofit");
}

TEST_F(UnequalPlansTest, TotalsKeptAcrossAnEditEqualARecount)
{
    Totals kept = totals(data, 18);
    for (int customer : {0, 1, 3}) {
        const auto& plan = data.Customers[customer].Capabilities;
        addToTotals(kept, plan, -1);
        ASSERT_TRUE(commitCell(edit, customer, kIncomeEntry, 2, std::to_string(100 + customer)));
        addToTotals(kept, plan, 1);
        EXPECT_EQ(kept, totals(data, 18)) << "customer " << customer;
    }
}
