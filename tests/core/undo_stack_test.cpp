#include "model/undo_stack.h"

#include <gtest/gtest.h>

#include "model/case_data.h"
#include "model/case_file.h"
#include "test_support.h"

using testing_support::fillRichCase;

namespace {

void addBound(TDelList<TKeyCharItem>& bounds, const char* name, int importance, int match)
{
    auto& bound = bounds.Add();
    bound.Name = name;
    bound.Importance = importance;
    bound.Match = match;
}

} // namespace

TEST(UndoStack, RestoresEveryFieldAndTheFilterBoundsButNotModifiedOrFileName)
{
    TCaseData data;
    fillRichCase(data);
    addBound(data.CustFilterLow, "Price", 3, 4);
    addBound(data.ProdFilterHigh, "Speed", 9, 10);
    const std::string before = encodeCase(data);

    UndoStack undo;
    undo.push(data);
    data.Title = "changed";
    data.Customers.Delete(0);
    data.CustFilterLow[0].Importance = 7;
    data.ProdFilterHigh.Clear();
    data.FileName = "/cases/plan.cvx";
    data.Modified = false;

    ASSERT_TRUE(undo.restore(data));
    EXPECT_EQ(encodeCase(data), before);
    ASSERT_EQ(data.CustFilterLow.Count(), 1);
    EXPECT_EQ(data.CustFilterLow[0].Importance, 3);
    EXPECT_EQ(data.CustFilterLow[0].Match, 4);
    ASSERT_EQ(data.ProdFilterHigh.Count(), 1);
    EXPECT_EQ(data.ProdFilterHigh[0].Name, "Speed");
    EXPECT_EQ(data.FileName, "/cases/plan.cvx");
    EXPECT_FALSE(data.Modified);
    EXPECT_TRUE(undo.empty());
    EXPECT_FALSE(undo.restore(data));
}

TEST(UndoStack, KeepsTheTenNewestSnapshots)
{
    TCaseData data;
    UndoStack undo;
    for (int step = 1; step <= 11; ++step) {
        undo.push(data);
        data.Title = "step " + std::to_string(step);
    }
    EXPECT_EQ(undo.count(), UndoStack::kMaxSnapshots);
    while (undo.restore(data)) {
    }
    EXPECT_EQ(data.Title, "step 1") << "the snapshot taken before the first edit is gone";
}
