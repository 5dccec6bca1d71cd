#include "model/undo_stack.h"

#include <gtest/gtest.h>

#include "cust_prod_fixture.h"
#include "model/case_data.h"
#include "model/case_edit.h"
#include "model/case_file.h"
#include "model/list_grid.h"
#include "test_support.h"
#include "workshops/capabilities/action_page_ops.h"
#include "workshops/customers/key_char_ops.h"
#include "workshops/environment/competitor_ops.h"
#include "workshops/vision/future_ops.h"

#include <deque>
#include <functional>
#include <memory>
#include <random>
#include <vector>

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

namespace {

using testing_support::ScriptedQuestions;

// The case as an undo must give it back: every stored field and the filter bounds.
std::string stateOf(const TCaseData& data)
{
    std::string state = encodeCase(data);
    for (const auto* bounds : {&data.CustFilterLow, &data.CustFilterHigh, &data.ProdFilterLow, &data.ProdFilterHigh}) {
        state += '|';
        for (const TKeyCharItem& bound : *bounds)
            state += bound.Name + ',' + std::to_string(bound.Importance) + ',' + std::to_string(bound.Match) + ';';
    }
    return state;
}

// What an edit did to the steps: took one, changed the order without one, or nothing.
enum class Effect { None, Step, ChangeWithoutStep };

struct RandomEdit {
    const char* name;
    std::function<Effect(CaseEdit&, std::mt19937&)> run;
};

Effect step(bool taken)
{
    return taken ? Effect::Step : Effect::None;
}

int pick(std::mt19937& random, int count)
{
    return count <= 0 ? 0 : std::uniform_int_distribution<int>(0, count - 1)(random);
}

std::string pickText(std::mt19937& random)
{
    static const char* const texts[] = {"", "Alpha", "beta\r\nline", "Gamma \xE9", "Alpha", "zeta", "1", "9"};
    return texts[pick(random, 8)];
}

// Field edits, and edits that add, delete or reorder entries, through the workshops' own operations.
std::vector<RandomEdit> randomEdits(ScriptedQuestions& yes)
{
    using cust_prod::Mode;
    const std::shared_ptr<ListGrid> actions = actions::actionGrid();
    const std::shared_ptr<ListGrid> customers = cust_prod::itemGrid(Mode::Customers);
    const auto shownItem = std::make_shared<int>(0);
    const std::shared_ptr<ListGrid> keyChars = cust_prod::keyCharGrid(Mode::Customers, [shownItem] { return *shownItem; });
    return {
        {"title", [](CaseEdit& edit, std::mt19937& r) { return step(edit.set(edit.data().Title, pickText(r))); }},
        {"customer texts",
         [](CaseEdit& edit, std::mt19937& r) {
             const int item = pick(r, edit.data().Customers.Count());
             return step(cust_prod::storeTexts(edit, Mode::Customers, item, pickText(r), pickText(r)));
         }},
        {"importance",
         [](CaseEdit& edit, std::mt19937& r) {
             return step(cust_prod::setImportance(edit, Mode::Customers, pick(r, 3), std::to_string(pick(r, 11))));
         }},
        {"match",
         [keyChars, shownItem](CaseEdit& edit, std::mt19937& r) {
             *shownItem = pick(r, edit.data().Customers.Count());
             return step(keyChars->commit(edit, pick(r, 3), 2, std::to_string(pick(r, 11))) == CellCommit::Changed);
         }},
        {"competitor texts",
         [](CaseEdit& edit, std::mt19937& r) {
             competitors::CompetitorTexts texts;
             texts.description = pickText(r);
             texts.watchPoints = pickText(r);
             return step(competitors::editCompetitorTexts(edit, pick(r, edit.data().Competitors.Count()), texts));
         }},
        {"planning period",
         [](CaseEdit& edit, std::mt19937& r) {
             return step(future::editPlanningPeriod(edit, 45000 + pick(r, 3), 46000 + pick(r, 3)));
         }},
        {"action cell or new action",
         [actions](CaseEdit& edit, std::mt19937& r) {
             const int position = pick(r, edit.data().Actions.Count() + 1);
             return step(actions->commit(edit, position, pick(r, 3), pickText(r)) != CellCommit::Unchanged);
         }},
        {"delete customer",
         [&yes, customers](CaseEdit& edit, std::mt19937& r) {
             return step(customers->remove(edit, yes, pick(r, edit.data().Customers.Count()), 0));
         }},
        {"delete action",
         [&yes, actions](CaseEdit& edit, std::mt19937& r) {
             return step(actions->remove(edit, yes, pick(r, edit.data().Actions.Count()), 0));
         }},
        {"sort actions", [actions](CaseEdit& edit, std::mt19937& r) { return step(actions->sort(edit, pick(r, 3))); }},
        {"sort customers",
         [customers](CaseEdit& edit, std::mt19937&) {
             return customers->sort(edit, 0) ? Effect::ChangeWithoutStep : Effect::None;
         }},
    };
}

} // namespace

// Field steps keep only old values and snapshots are taken only for edits that reshape lists; an
// Undo must still give back exactly the case a whole-case snapshot before every edit would, and a
// Redo exactly the case before the Undo, whatever the order of edits, undos and redos.
TEST(UndoStack, RandomEditsUndoAndRedoLikeWholeCaseSnapshots)
{
    ScriptedQuestions yes;
    const std::vector<RandomEdit> edits = randomEdits(yes);
    for (unsigned seed = 1; seed <= 60; ++seed) {
        std::mt19937 random(seed);
        TCaseData data;
        fillRichCase(data);
        for (int extra = pick(random, 6); extra > 0; --extra)
            data.Actions.Add().What = pickText(random);
        UndoStack undo;
        CaseEdit edit(data, undo);
        // The snapshot way, kept as the cases themselves.
        std::deque<std::string> expectedUndo;
        std::deque<std::string> expectedRedo;
        std::string trail;
        for (int move = 0; move < 120; ++move) {
            const std::string before = stateOf(data);
            const int choice = pick(random, static_cast<int>(edits.size()) + 4);
            if (choice >= static_cast<int>(edits.size())) {
                const bool isUndo = choice % 2 == 0;
                trail += isUndo ? " undo" : " redo";
                auto& from = isUndo ? expectedUndo : expectedRedo;
                auto& to = isUndo ? expectedRedo : expectedUndo;
                ASSERT_EQ(isUndo ? edit.undo() : edit.redo(), !from.empty()) << "seed " << seed << trail;
                if (from.empty())
                    continue;
                ASSERT_EQ(stateOf(data), from.back()) << "seed " << seed << trail;
                from.pop_back();
                to.push_back(before);
                continue;
            }
            trail += std::string(" ") + edits[choice].name;
            switch (edits[choice].run(edit, random)) {
            case Effect::None:
                ASSERT_EQ(stateOf(data), before) << "seed " << seed << trail;
                break;
            case Effect::Step:
                expectedUndo.push_back(before);
                if (expectedUndo.size() > UndoStack::kMaxSnapshots)
                    expectedUndo.pop_front();
                expectedRedo.clear();
                break;
            case Effect::ChangeWithoutStep:
                expectedRedo.clear();
                break;
            }
            ASSERT_EQ(undo.count(), static_cast<int>(expectedUndo.size())) << "seed " << seed << trail;
            ASSERT_EQ(undo.redoCount(), static_cast<int>(expectedRedo.size())) << "seed " << seed << trail;
        }
        // Everything still held comes back, newest first.
        while (!expectedUndo.empty()) {
            ASSERT_TRUE(edit.undo());
            ASSERT_EQ(stateOf(data), expectedUndo.back()) << "seed " << seed << trail << " (unwinding)";
            expectedUndo.pop_back();
        }
    }
}
