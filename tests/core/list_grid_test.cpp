// Every list grid of the program through the one kit: each list's titles, how its columns read
// typed text, its sort keys and orders, its delete question and its own rule for an empty name.

#include "model/list_grid.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "environment_test_support.h"
#include "model/date_time.h"
#include "workshops/capabilities/action_page_ops.h"
#include "workshops/capabilities/capabilities_ops.h"
#include "workshops/customers/key_char_ops.h"
#include "workshops/environment/competitor_ops.h"
#include "workshops/environment/impact_risk_ops.h"
#include "workshops/vision/future_ops.h"

namespace {

using Column = std::array<const char*, 3>;

struct ListCase {
    const char* name;
    std::unique_ptr<ListGrid> (*make)(const environment::EnvSelection& selection);
    std::vector<std::string> titles;
    // Column by column, what is typed into the entries "Bravo", "alpha" and "Charlie" (null: the
    // column's value is chosen another way) and what each cell shows afterwards.
    std::vector<Column> typed;
    std::vector<Column> shown;
    // Column by column, the names after a title press on it, one column after the other; empty:
    // the column does not sort.
    std::vector<std::string> sorted;
    // The new entry's cells that may become current.
    std::vector<bool> newRow;
    const char* question;
    bool emptyNameAdds;
    bool sortsAlways = false;
    bool deletesFromNameOnly = false;
};

void PrintTo(const ListCase& list, std::ostream* out)
{
    *out << list.name;
}

const Column kNames{"Bravo", "alpha", "Charlie"};
const Column kScores{"12", "0", "5"};
const Column kScoresShown{"10", "1", "5"};
const Column kUntyped{nullptr, nullptr, nullptr};
const Column kEmpty{"", "", ""};
// Names ascending ignoring letter case; scores 10, 1, 5 descending.
const char* const kByName = "alpha,Bravo,Charlie";
const char* const kByScore = "Bravo,Charlie,alpha";

// Both capability grids follow one table; only the list and the question differ.
ListCase capabilityCase(const char* name, std::unique_ptr<ListGrid> (*make)(const environment::EnvSelection&),
                        const char* question)
{
    return {name,
            make,
            {"Name", "Status As Of 05/01/2026", "Status As Of 31/12/2030"},
            {kNames, kScores, {"7", "3", "abc"}},
            {kNames, kScoresShown, {"7", "3", "1"}},
            {kByName, kByScore, "Bravo,alpha,Charlie"},
            {true, true, true},
            question,
            false};
}

const ListCase kLists[] = {
    {"Competitors",
     [](const environment::EnvSelection&) { return competitors::competitorGrid(); },
     {"Who", "Marketshare"},
     {kNames, {"150", "3", "42"}},
     {kNames, {"100", "3", "42"}},
     {kByName, "Bravo,Charlie,alpha"},
     {true, true},
     "Delete competitor '%s'?",
     true},
    {"Actions",
     [](const environment::EnvSelection&) { return actions::actionGrid(); },
     {"What", "Who", "Importance", "Due", "Done"},
     {kNames, {"Ann", "zed", "bob"}, kScores, {"03/04/2021", "1/2/2020", "5/6/2019"}, {"yes", "no", "OK"}},
     {kNames, {"Ann", "zed", "bob"}, kScoresShown, {"03/04/2021", "01/02/2020", "05/06/2019"}, {"Yes", "No", "Yes"}},
     // Done sorts open actions first; the two done ones end in the quicksort's order.
     {kByName, "Bravo,Charlie,alpha", kByScore, "Bravo,alpha,Charlie", "alpha,Charlie,Bravo"},
     {true, false, false, false, false},
     "Delete item '%s'?",
     true},
    {"Objectives",
     [](const environment::EnvSelection&) { return future::objectiveGrid(); },
     {"Objective", "Imp.", "Type"},
     {kNames, kScores, kUntyped},
     {kNames, kScoresShown, kEmpty},
     // All untyped: the quicksort reverses three equal keys.
     {kByName, kByScore, "alpha,Charlie,Bravo"},
     {true, true, false},
     "Delete objective '%s'?",
     true},
    capabilityCase("General capabilities",
                   [](const environment::EnvSelection&) {
                       return capabilities::capabilityGrid([] { return capabilities::kGeneral; });
                   },
                   "Delete General Capability '%s'?"),
    capabilityCase("Special capabilities",
                   [](const environment::EnvSelection&) { return capabilities::capabilityGrid([] { return 0; }); },
                   "Delete Special Capability '%s'?"),
    {"Threats",
     [](const environment::EnvSelection& selection) {
         return environment::impactGrid(selection, environment::ImpactKind::Threats);
     },
     {"Threats", "Imp."},
     {kNames, kScores},
     {kNames, kScoresShown},
     {kByName, kByScore},
     {true, true},
     "Delete impact '%s'?",
     false,
     true},
    {"Risks",
     [](const environment::EnvSelection& selection) { return environment::riskGrid(selection); },
     {"Risk", "Pot. Fin. Impact", "Type", "Potential Impact", "Likelih. of occurrence", "How to deal with the risk"},
     {kNames, {"1500", " +20 ", "x"}, kUntyped, kScores, {"2", "9", "4"}, {"Ann", "zed", "bob"}},
     {kNames, {"1500", "20", "0"}, kEmpty, kScoresShown, {"2", "9", "4"}, {"Ann", "zed", "bob"}},
     {kByName, "Bravo,alpha,Charlie", "Charlie,alpha,Bravo", kByScore, "alpha,Charlie,Bravo", "Bravo,Charlie,alpha"},
     {true, true, false, true, true, true},
     "Delete risk '%s'?",
     false,
     false,
     true},
    {"Key characteristics",
     [](const environment::EnvSelection&) { return cust_prod::keyCharGrid(cust_prod::Mode::Customers, [] { return 0; }); },
     {"Key Characteristics", "Importance", "Match"},
     {kNames, kScores, {"3", "12", "7"}},
     {kNames, kScoresShown, {"3", "10", "7"}},
     {kByName, kByScore, "alpha,Charlie,Bravo"},
     {true, true, true},
     "Delete Key Characteristic '%s'?",
     true},
    {"Market potential",
     [](const environment::EnvSelection&) {
         return cust_prod::marketPotentialGrid(cust_prod::Mode::Customers, [] { return 0; });
     },
     {"Market Potential", "Value"},
     {kNames, {"-2147483648", "abc", "70000"}},
     {kNames, {"-2147483648", "0", "70000"}},
     {kByName, "Charlie,alpha,Bravo"},
     {true, true},
     "Delete Market Potential '%s'?",
     true},
};

class EveryListGrid : public testing_support::EnvironmentCase, public ::testing::WithParamInterface<ListCase> {
protected:
    EveryListGrid()
    {
        data.ChangeAreas[0].Changes.Add().Name = "Change";
        data.Products.Add().Name = "Product";
        data.Customers.Add().Name = "Customer";
        data.DateFrom = *parseDate("5/1/2026");
        data.DateTo = *parseDate("31/12/2030");
        grid = GetParam().make(selection);
    }

    std::string names() const
    {
        std::string joined;
        for (int i = 0; i < grid->count(data); ++i)
            joined += (i ? "," : "") + grid->text(data, i, 0);
        return joined;
    }

    // Undo steps taken so far: each takes a snapshot and marks the case modified. (The undo stack
    // itself keeps only the newest few.)
    int steps() const { return static_cast<int>(edit.changeCount() / 2); }

    // Commits and checks that a change, and only a change, is one undo step.
    CellCommit commit(int position, int col, const char* text)
    {
        const int before = steps();
        const CellCommit result = grid->commit(edit, position, col, text);
        EXPECT_EQ(steps() - before, result == CellCommit::Unchanged ? 0 : 1) << position << "/" << col;
        return result;
    }

    environment::EnvSelection selection{0, -1, 0};
    std::unique_ptr<ListGrid> grid;
};

TEST_P(EveryListGrid, TypesSortsAndDeletesByItsOwnTable)
{
    const ListCase& list = GetParam();
    const int columns = static_cast<int>(list.titles.size());
    ASSERT_EQ(grid->columnCount(), columns);
    for (int col = 0; col < columns; ++col)
        EXPECT_EQ(grid->title(data, col), list.titles[static_cast<std::size_t>(col)]);

    // Names make entries; numbers typed into the new entry's row are dropped.
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(commit(i, 1, "5"), CellCommit::Unchanged);
        EXPECT_EQ(commit(i, 0, kNames[static_cast<std::size_t>(i)]), CellCommit::Added);
    }
    EXPECT_EQ(names(), "Bravo,alpha,Charlie");
    EXPECT_EQ(commit(4, 0, "beyond"), CellCommit::Unchanged);
    EXPECT_EQ(commit(-1, 0, "title"), CellCommit::Unchanged);

    for (int col = 0; col < columns; ++col) {
        const auto c = static_cast<std::size_t>(col);
        EXPECT_EQ(grid->canSelect(data, 3, col), list.newRow[c]) << "column " << col;
        for (int i = 0; i < 3; ++i) {
            const auto e = static_cast<std::size_t>(i);
            const char* typed = list.typed[c][e];
            const bool changes = typed && grid->text(data, i, col) != list.shown[c][e];
            if (col > 0) {
                EXPECT_EQ(commit(i, col, typed ? typed : "typed"), changes ? CellCommit::Changed : CellCommit::Unchanged)
                    << "column " << col << ", entry " << i;
            }
            EXPECT_EQ(grid->text(data, i, col), list.shown[c][e]) << "column " << col << ", entry " << i;
            // What the cell shows, committed again, changes nothing.
            EXPECT_EQ(commit(i, col, list.shown[c][e]), CellCommit::Unchanged) << "column " << col;
        }
    }

    for (int col = 0; col < columns; ++col) {
        const int before = steps();
        EXPECT_TRUE(grid->sort(edit, col));
        EXPECT_EQ(names(), list.sorted[static_cast<std::size_t>(col)]) << "sorted by column " << col;
        EXPECT_EQ(steps(), before + 1);
    }
    EXPECT_FALSE(grid->sort(edit, columns));

    // Deleting asks about an entry only, and deletes on Yes only.
    ask.yes = false;
    EXPECT_FALSE(grid->remove(edit, ask, -1, 0));
    EXPECT_FALSE(grid->remove(edit, ask, 3, 0));
    EXPECT_TRUE(ask.asked.empty());
    EXPECT_FALSE(grid->remove(edit, ask, 0, 1));
    EXPECT_EQ(ask.asked.size(), list.deletesFromNameOnly ? 0U : 1U) << "Alt+Delete outside the name column";
    const std::string first = grid->text(data, 0, 0);
    const int before = steps();
    EXPECT_FALSE(grid->remove(edit, ask, 0, 0));
    EXPECT_EQ(grid->count(data), 3);
    ask.yes = true;
    EXPECT_TRUE(grid->remove(edit, ask, 0, 0));
    EXPECT_EQ(ask.asked.back(), formatWithName(list.question, first));
    EXPECT_EQ(grid->count(data), 2);
    EXPECT_EQ(steps(), before + 1);

    // A short list: a title press is an undo step only where the list says so.
    EXPECT_TRUE(grid->remove(edit, ask, 0, 0));
    const int shortBefore = steps();
    EXPECT_EQ(grid->sort(edit, 0), list.sortsAlways);
    EXPECT_EQ(steps(), shortBefore + (list.sortsAlways ? 1 : 0));

    EXPECT_EQ(commit(1, 0, ""), list.emptyNameAdds ? CellCommit::Added : CellCommit::Unchanged);
}

INSTANTIATE_TEST_SUITE_P(ListGrid, EveryListGrid, ::testing::ValuesIn(kLists),
                         [](const auto& info) {
                             std::string name = info.param.name;
                             std::erase(name, ' ');
                             return name;
                         });

} // namespace
