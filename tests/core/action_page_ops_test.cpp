#include "workshops/capabilities/action_page_ops.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "model/case_data.h"
#include "model/case_edit.h"
#include "model/date_time.h"
#include "model/list_grid.h"

using namespace actions;

namespace {

class ActionPageOps : public ::testing::Test {
protected:
    ActionPageOps() { data.Modified = false; }

    TAction& add(const std::string& what, int importance, double due, bool done = false, const std::string& who = {})
    {
        auto& action = data.Actions.Add();
        action.What = what;
        action.Who = who;
        action.Importance = importance;
        action.Due = due;
        action.Done = done;
        return action;
    }
    std::vector<std::string> whats() const
    {
        std::vector<std::string> out;
        for (const auto& action : data.Actions)
            out.push_back(action.What);
        return out;
    }

    TCaseData data;
    UndoStack undo;
    CaseEdit edit{data, undo};
    std::unique_ptr<ListGrid> grid = actionGrid();
};

const double kNov5 = encodeDate(2026, 11, 5);

} // namespace

struct DoneCase {
    const char* typed;
    bool done;
};

class DoneReading : public ::testing::TestWithParam<DoneCase> {};

TEST_P(DoneReading, OnlyTheAgreedWordsMeanDone)
{
    EXPECT_EQ(readDone(GetParam().typed), GetParam().done) << '"' << GetParam().typed << '"';
}

INSTANTIATE_TEST_SUITE_P(
    ActionPageOps, DoneReading,
    ::testing::Values(DoneCase{"YES", true}, DoneCase{"Ok", true}, DoneCase{"yess", true}, DoneCase{"y", true},
                      DoneCase{"Ye", true}, DoneCase{"yYeS", true}, DoneCase{"yyes", true}, DoneCase{"Yes", true},
                      DoneCase{"yes ", false}, DoneCase{" yes", false}, DoneCase{"true", false}, DoneCase{"1", false},
                      DoneCase{"no", false}, DoneCase{"No", false}, DoneCase{"", false}, DoneCase{"okay", false},
                      DoneCase{"yesss", false}));

struct DueCase {
    const char* typed;
    int year, month, day; // 0: nothing is read
};

class DueReading : public ::testing::TestWithParam<DueCase> {};

TEST_P(DueReading, ReadsDayMonthYearOrNothing)
{
    const DueCase& c = GetParam();
    const auto due = readDue(c.typed, 2026);
    if (c.year == 0) {
        EXPECT_FALSE(due.has_value()) << '"' << c.typed << "\" read as " << formatDate(*due);
    } else {
        ASSERT_TRUE(due.has_value()) << '"' << c.typed << '"';
        EXPECT_EQ(*due, encodeDate(c.year, c.month, c.day)) << '"' << c.typed << "\" read as " << formatDate(*due);
    }
}

INSTANTIATE_TEST_SUITE_P(
    ActionPageOps, DueReading,
    ::testing::Values(DueCase{"05/11/2026", 2026, 11, 5}, DueCase{"5/11/2026", 2026, 11, 5},
                      DueCase{"5 /11/2026", 2026, 11, 5}, DueCase{"29/02/2024", 2024, 2, 29},
                      DueCase{"31/12/9999", 9999, 12, 31}, DueCase{"5/11/26", 2026, 11, 5},
                      DueCase{"1/1/76", 2076, 1, 1}, DueCase{"1/1/77", 1977, 1, 1}, DueCase{"1/1/90", 1990, 1, 1},
                      DueCase{"  /  /    ", 0, 0, 0}, DueCase{"31/02/2026", 0, 0, 0}, DueCase{"29/02/2025", 0, 0, 0},
                      DueCase{"05/13/2026", 0, 0, 0}, DueCase{"00/11/2026", 0, 0, 0}, DueCase{"05/00/2026", 0, 0, 0},
                      DueCase{"05/11/202 ", 0, 0, 0}, DueCase{"05/11/0000", 0, 0, 0}, DueCase{"05-11-2026", 0, 0, 0},
                      DueCase{"05/11/2026/1", 0, 0, 0}, DueCase{"05/11/", 0, 0, 0}, DueCase{"", 0, 0, 0},
                      DueCase{"a5/11/2026", 0, 0, 0}, DueCase{"123/11/2026", 0, 0, 0}));

struct ImportanceCase {
    const char* typed;
    int32_t stored;
};

class ActionImportanceReading : public ::testing::TestWithParam<ImportanceCase> {};

TEST_P(ActionImportanceReading, ClampsIntoOneToTen)
{
    EXPECT_EQ(readImportance(GetParam().typed), GetParam().stored) << '"' << GetParam().typed << '"';
}

INSTANTIATE_TEST_SUITE_P(ActionPageOps, ActionImportanceReading,
                         ::testing::Values(ImportanceCase{"0", 1}, ImportanceCase{"10", 10}, ImportanceCase{"99", 10},
                                           ImportanceCase{"", 1}, ImportanceCase{"x", 1}, ImportanceCase{"7", 7}));

TEST_F(ActionPageOps, CommittingDueKeepsTheDateForTheEmptyMaskAndInvalidDates)
{
    add("Hire", 8, kNov5 + 0.625);
    EXPECT_EQ(grid->commit(edit, 0, ColDue, "  /  /    "), CellCommit::Unchanged);
    EXPECT_EQ(grid->commit(edit, 0, ColDue, "31/02/2026"), CellCommit::Unchanged);
    EXPECT_EQ(grid->commit(edit, 0, ColDue, "05/11/2026"), CellCommit::Unchanged)
        << "the day already stored is no change";
    EXPECT_EQ(data.Actions[0].Due, kNov5 + 0.625) << "the time of day is kept";
    EXPECT_EQ(undo.count(), 0);
    EXPECT_FALSE(data.Modified);

    EXPECT_EQ(grid->commit(edit, 0, ColDue, "06/11/2026"), CellCommit::Changed);
    EXPECT_EQ(data.Actions[0].Due, encodeDate(2026, 11, 6));
    EXPECT_EQ(undo.count(), 1);
    EXPECT_TRUE(data.Modified);
}

TEST_F(ActionPageOps, CommittingTheOtherColumnsAndTheEmptyRow)
{
    add("Hire", 8, kNov5);
    EXPECT_EQ(grid->commit(edit, 0, ColDone, "no"), CellCommit::Unchanged);
    EXPECT_EQ(grid->commit(edit, 0, ColImportance, "8"), CellCommit::Unchanged);
    for (int col = ColWho; col < kColumnCount; ++col)
        EXPECT_EQ(grid->commit(edit, 1, col, "9"), CellCommit::Unchanged) << "empty row, column " << col;
    EXPECT_EQ(undo.count(), 0);

    EXPECT_EQ(grid->commit(edit, 0, ColImportance, "0"), CellCommit::Changed);
    EXPECT_EQ(grid->commit(edit, 0, ColDone, "YES"), CellCommit::Changed);
    EXPECT_EQ(data.Actions[0].Importance, 1);
    EXPECT_TRUE(data.Actions[0].Done);
    EXPECT_EQ(undo.count(), 2);

    const double before = nowAsDateTime();
    EXPECT_EQ(grid->commit(edit, 1, ColWhat, "Call the bank"), CellCommit::Added);
    ASSERT_EQ(data.Actions.Count(), 2);
    EXPECT_EQ(data.Actions[1].Importance, 1);
    EXPECT_FALSE(data.Actions[1].Done);
    EXPECT_GE(data.Actions[1].Due, before);
    EXPECT_LE(data.Actions[1].Due, nowAsDateTime());
    EXPECT_EQ(undo.count(), 3);
}

TEST_F(ActionPageOps, TheCellControlsChangeOnlyWhatDiffers)
{
    add("Hire", 8, kNov5 + 0.25);
    EXPECT_FALSE(setDone(edit, 0, false));
    EXPECT_FALSE(setDue(edit, 0, kNov5));
    EXPECT_FALSE(setDone(edit, 1, true)) << "no such action";
    EXPECT_EQ(undo.count(), 0);
    EXPECT_EQ(data.Actions[0].Due, kNov5 + 0.25);

    EXPECT_TRUE(setDone(edit, 0, true));
    EXPECT_TRUE(setDue(edit, 0, encodeDate(2027, 3, 1)));
    EXPECT_EQ(data.Actions[0].Due, encodeDate(2027, 3, 1));
    EXPECT_EQ(undo.count(), 2);
    edit.undo();
    EXPECT_EQ(data.Actions[0].Due, kNov5 + 0.25);
}

TEST_F(ActionPageOps, SortingSurvivesADueDateThatIsNoNumber)
{
    add("a", 1, kNov5);
    add("damaged", 1, std::nan(""));
    add("c", 1, kNov5 + 3);
    add("d", 1, kNov5 - 3);
    EXPECT_TRUE(grid->sort(edit, ColDue));
    auto sorted = whats();
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(sorted, (std::vector<std::string>{"a", "c", "d", "damaged"}));
}
