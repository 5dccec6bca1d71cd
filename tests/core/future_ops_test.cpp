#include "workshops/vision/future_ops.h"

#include <gtest/gtest.h>

#include <random>

#include "model/case_data.h"
#include "model/case_edit.h"
#include "model/list_grid.h"
#include "reference_check.h"
#include "test_support.h"

using namespace future;
using testing_support::ScriptedQuestions;

namespace {

class FutureOps : public ::testing::Test {
protected:
    FutureOps() { data.Modified = false; } // types: Culture, Capabilities/Skills, Image

    TRankedItem& addObjective(const std::string& name, int rank, int link)
    {
        auto& objective = data.KeyObjectives.Add();
        objective.Name = name;
        objective.Rank = rank;
        objective.Link = link;
        return objective;
    }
    std::vector<std::string> names() const
    {
        std::vector<std::string> out;
        for (const auto& objective : data.KeyObjectives)
            out.push_back(objective.Name);
        return out;
    }
    std::vector<int> links() const
    {
        std::vector<int> out;
        for (const auto& objective : data.KeyObjectives)
            out.push_back(objective.Link);
        return out;
    }

    TCaseData data;
    UndoStack undo;
    CaseEdit edit{data, undo};
    ScriptedQuestions ask;
    std::unique_ptr<ListGrid> grid = objectiveGrid();
};

} // namespace

TEST_F(FutureOps, TheTypeColumnNamesTheTypeAndSortsUntypedFirst)
{
    addObjective("Grow", 7, 2);
    addObjective("Untyped", 3, -1);
    addObjective("Damaged", 1, 3); // only three types: a position a damaged file left behind
    EXPECT_EQ(grid->text(data, 0, ColType), "Image");
    EXPECT_EQ(grid->text(data, 1, ColType), "");
    EXPECT_EQ(grid->text(data, 2, ColType), "");
    EXPECT_TRUE(grid->sort(edit, ColType));
    EXPECT_EQ(names(), (std::vector<std::string>{"Untyped", "Grow", "Damaged"}));
}

struct ImportanceCase {
    const char* typed;
    int32_t stored;
};

class ImportanceReading : public ::testing::TestWithParam<ImportanceCase> {};

TEST_P(ImportanceReading, ClampsIntoOneToTenAndReadsNonsenseAsOne)
{
    EXPECT_EQ(readImportance(GetParam().typed), GetParam().stored) << '"' << GetParam().typed << '"';
}

INSTANTIATE_TEST_SUITE_P(FutureOps, ImportanceReading,
                         ::testing::Values(ImportanceCase{"0", 1}, ImportanceCase{"57", 10}, ImportanceCase{"ab", 1},
                                           ImportanceCase{"", 1}, ImportanceCase{"1", 1}, ImportanceCase{"10", 10},
                                           ImportanceCase{"5 ", 5}, ImportanceCase{" 5", 5}, ImportanceCase{"-4", 1},
                                           ImportanceCase{"5a", 1}, ImportanceCase{"99999999999999999999", 10}));

TEST_F(FutureOps, DeletingATypeUntypesItsObjectivesAndRenumbersLaterOnes)
{
    addObjective("culture", 1, 0);
    addObjective("skills", 1, 1);
    addObjective("image", 1, 2);
    addObjective("none", 1, -1);
    addObjective("skills again", 1, 1);
    ask.yes = false;
    EXPECT_FALSE(deleteObjectiveType(edit, ask, 1));
    EXPECT_EQ(links(), (std::vector<int>{0, 1, 2, -1, 1}));
    ask.yes = true;
    EXPECT_FALSE(deleteObjectiveType(edit, ask, 3)) << "no such type";
    EXPECT_TRUE(deleteObjectiveType(edit, ask, 1));
    EXPECT_EQ(data.ObjectiveTypes, (std::vector<std::string>{"Culture", "Image"}));
    EXPECT_EQ(links(), (std::vector<int>{0, -1, 1, -1, -1}));
    EXPECT_EQ(grid->text(data, 2, ColType), "Image");
    EXPECT_EQ(ask.asked.back(), "Delete objective type 'Capabilities/Skills'?");
    EXPECT_EQ(undo.count(), 1);
    edit.undo();
    EXPECT_EQ(links(), (std::vector<int>{0, 1, 2, -1, 1}));
}

TEST_F(FutureOps, SynchronisingTheTypeBoxOnlyRepairsLinksThatNameNoType)
{
    addObjective("typed", 1, 2);
    addObjective("untyped", 1, -1);
    addObjective("damaged", 1, 17);
    EXPECT_EQ(synchroniseObjectiveType(edit, 0), 2);
    EXPECT_EQ(synchroniseObjectiveType(edit, 1), -1);
    EXPECT_EQ(synchroniseObjectiveType(edit, 5), -1);
    EXPECT_EQ(undo.count(), 0) << "clicking through objectives is no edit";
    EXPECT_FALSE(data.Modified);

    EXPECT_EQ(synchroniseObjectiveType(edit, 2), -1);
    EXPECT_EQ(data.KeyObjectives[2].Link, -1);
    EXPECT_EQ(undo.count(), 1);
    EXPECT_TRUE(data.Modified);
}

TEST_F(FutureOps, EnterInTheTypeBoxSelectsAddsRenamesOrCancels)
{
    addObjective("Grow", 1, 0);
    auto result = commitTypedType(edit, ask, 0, "image", 0);
    EXPECT_TRUE(ask.renameOffered.empty()) << "another letter case names the type: no question";
    EXPECT_EQ(result.selected, 2);
    EXPECT_EQ(data.KeyObjectives[0].Link, 2);
    result = commitTypedType(edit, ask, 0, "", 2);
    EXPECT_EQ(data.KeyObjectives[0].Link, 2) << "empty text keeps the type";
    EXPECT_EQ(undo.count(), 1);

    ask.answers = {AddOrRename::Cancel, AddOrRename::Rename, AddOrRename::Add};
    result = commitTypedType(edit, ask, 0, "Other", 2);
    EXPECT_TRUE(result.cancelled);
    EXPECT_EQ(result.selected, 2);
    EXPECT_EQ(undo.count(), 1);

    result = commitTypedType(edit, ask, 0, "Reputation", 2);
    EXPECT_TRUE(result.listChanged);
    EXPECT_EQ(data.ObjectiveTypes[2], "Reputation");
    EXPECT_EQ(data.KeyObjectives[0].Link, 2);

    data.KeyObjectives[0].Link = -1;
    result = commitTypedType(edit, ask, 0, "Financial", -1);
    EXPECT_EQ(data.ObjectiveTypes.back(), "Financial");
    EXPECT_EQ(data.KeyObjectives[0].Link, 3) << "the objective gets the type it added";
    EXPECT_EQ(result.selected, 3);
    EXPECT_EQ(ask.renameOffered, (std::vector<bool>{true, true, false}));
    EXPECT_EQ(undo.count(), 3);
    edit.undo();
    EXPECT_EQ(data.ObjectiveTypes.size(), 3u);
}

TEST(FutureOpsReferences, EveryObjectiveKeepsItsTypeThroughLongRandomSequences)
{
    using namespace testing_support;
    std::mt19937 random(20260209);
    int created = 0;
    for (int round = 0; round < 40; ++round) {
        TCaseData data;
        UndoStack undo;
        CaseEdit edit(data, undo);
        ScriptedQuestions ask;
        const auto grid = objectiveGrid();
        fillReferenceCase(data, random);
        ResolvedRefs expected = resolveReferences(data);
        const auto pick = [&](int count) { return std::uniform_int_distribution<int>(0, count - 1)(random); };
        const auto retarget = [&](const std::string& objective, const std::string& type) {
            for (auto it = expected.begin(); it != expected.end(); ++it)
                if (it->holder == "objective " + objective) {
                    expected.erase(it);
                    expected.insert({"objective " + objective, type});
                    return;
                }
        };

        for (int step = 0; step < 30; ++step) {
            const int objectives = data.KeyObjectives.Count();
            const int types = static_cast<int>(data.ObjectiveTypes.size());
            switch (pick(6)) {
            case 0:
                if (types > 0) {
                    const int type = pick(types);
                    const std::string name = data.ObjectiveTypes[static_cast<std::size_t>(type)];
                    ASSERT_TRUE(deleteObjectiveType(edit, ask, type));
                    expected = withoutEntries(expected, {name});
                }
                break;
            case 1:
                grid->sort(edit, pick(kColumnCount));
                break;
            case 2:
                if (objectives > 0) {
                    const int objective = pick(objectives);
                    const std::string holder = "objective " + data.KeyObjectives[objective].Name;
                    ASSERT_TRUE(grid->remove(edit, ask, objective, ColObjective));
                    // Each objective holds exactly one reference, its type link.
                    const auto held = expected.lower_bound(ResolvedRef{holder, ""});
                    ASSERT_TRUE(held != expected.end() && held->holder == holder);
                    expected.erase(held);
                }
                break;
            case 3: {
                const std::string name = "N" + std::to_string(++created);
                ASSERT_EQ(grid->commit(edit, objectives, ColObjective, name), CellCommit::Added);
                expected.insert({"objective " + name, "none"});
                break;
            }
            case 4:
                if (objectives > 0) {
                    const int objective = pick(objectives);
                    const std::string type = "U" + std::to_string(++created);
                    ask.answers = {AddOrRename::Add};
                    commitTypedType(edit, ask, objective, type, -1);
                    retarget(data.KeyObjectives[objective].Name, type);
                }
                break;
            case 5:
                if (objectives > 0 && types > 0) {
                    const int objective = pick(objectives);
                    const int type = pick(types);
                    chooseObjectiveType(edit, objective, type);
                    retarget(data.KeyObjectives[objective].Name, data.ObjectiveTypes[static_cast<std::size_t>(type)]);
                }
                break;
            }
            ASSERT_EQ(resolveReferences(data), expected) << "round " << round << " step " << step;
        }
    }
}
