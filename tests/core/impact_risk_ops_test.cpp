#include "workshops/environment/impact_risk_ops.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "environment_test_support.h"
#include "model/list_grid.h"
#include "reference_check.h"

using namespace environment;
using namespace testing_support;
using Outcome = TypedNameResult::Outcome;
using Names = std::vector<std::string>;

namespace {

// One change ("Change") in the first area; it is the current change.
class ImpactRiskOps : public EnvironmentCase {
protected:
    ImpactRiskOps() { data.ChangeAreas[0].Changes.Add().Name = "Change"; }

    TChange& change() { return data.ChangeAreas[0].Changes[0]; }

    TRisk& addRisk(const char* name, double finImpact = 0, int type = -1, int impact = 1, int likelihood = 1,
                   const char* handling = "")
    {
        TRisk& risk = change().Risks.Add();
        risk.Name = name;
        risk.FinImpact = finImpact;
        risk.RiskType = type;
        risk.Impact = impact;
        risk.Likelihood = likelihood;
        risk.Handling = handling;
        return risk;
    }

    Names riskNames()
    {
        Names names;
        for (const TRisk& risk : change().Risks)
            names.push_back(risk.Name);
        return names;
    }

    std::vector<int> riskTypes()
    {
        std::vector<int> types;
        for (const TRisk& risk : change().Risks)
            types.push_back(risk.RiskType);
        return types;
    }

    const EnvSelection current{0, -1, 0};
};

} // namespace

// ---- Impacts ---------------------------------------------------------------------------------

TEST_F(ImpactRiskOps, WithoutACurrentChangeNothingIsWritten)
{
    for (const EnvSelection s : {EnvSelection{1, -1, -1}, EnvSelection{0, -1, 4}, EnvSelection{9, -1, 0}}) {
        EXPECT_EQ(impactGrid(s, ImpactKind::Strengths)->commit(edit, 0, 0, "x"), CellCommit::Unchanged);
        EXPECT_EQ(riskGrid(s)->commit(edit, 0, 0, "x"), CellCommit::Unchanged);
        EXPECT_FALSE(impactGrid(s, ImpactKind::Strengths)->remove(edit, ask, 0, 0));
        EXPECT_FALSE(riskGrid(s)->remove(edit, ask, 0, 0));
        EXPECT_FALSE(riskGrid(s)->sort(edit, 0));
        EXPECT_FALSE(assignRiskType(edit, s, 1, 0));
    }
    expectUntouched();
}

TEST_F(ImpactRiskOps, SortingImpactsIsAStepEvenWithoutACurrentChange)
{
    EXPECT_TRUE(impactGrid({1, -1, -1}, ImpactKind::Strengths)->sort(edit, 1));
    EXPECT_EQ(undo.count(), 1);
    EXPECT_TRUE(data.Modified);
}

// ---- Risks -----------------------------------------------------------------------------------

TEST_F(ImpactRiskOps, RiskCellsShowAmountsInPlainDigitsAndTypesByName)
{
    addRisk("Supplier", 1234567, 1, 6, 3, "Second source");
    addRisk("Untyped", 0.5, -1);
    addRisk("Damaged", -42, 7);
    const auto grid = riskGrid(current);
    Names first;
    for (int col = 0; col < kRiskColumnCount; ++col)
        first.push_back(grid->text(data, 0, col));
    EXPECT_EQ(first, (Names{"Supplier", "1234567", "Political", "6", "3", "Second source"}));
    EXPECT_EQ(grid->text(data, 1, kRiskFinImpact), "0") << "no decimals, half to even";
    EXPECT_EQ(grid->text(data, 1, kRiskType), "");
    EXPECT_EQ(grid->text(data, 2, kRiskType), "") << "a type past the list shows nothing";
    EXPECT_EQ(grid->text(data, 2, kRiskFinImpact), "-42");
    EXPECT_EQ(grid->text(data, 0, kRiskColumnCount), "") << "no seventh column";
    EXPECT_EQ(finImpactEditText(std::numeric_limits<double>::quiet_NaN()), "");
}

TEST(ImpactRiskAmounts, ReadAsADecimalNumberOrZero)
{
    for (const auto& [typed, stored] : std::initializer_list<std::pair<const char*, double>>{
             {"1234567", 1234567}, {"", 0}, {"12x", 0}, {" 75  ", 75}, {"+5", 5}})
        EXPECT_EQ(readFinImpact(typed), stored) << '"' << typed << '"';
}

TEST_F(ImpactRiskOps, ANewRiskHasTheDefaults)
{
    ASSERT_EQ(riskGrid(current)->commit(edit, 0, kRiskName, "Strike"), CellCommit::Added);
    const TRisk& risk = change().Risks[0];
    EXPECT_EQ(risk.FinImpact, 0);
    EXPECT_EQ(risk.RiskType, -1);
    EXPECT_EQ(risk.Impact, 1);
    EXPECT_EQ(risk.Likelihood, 1);
    EXPECT_EQ(risk.Handling, "");
}

TEST_F(ImpactRiskOps, TypeSortPutsUntypedFirstInTheOrderOfTheQuicksort)
{
    addRisk("d", 0, 1);
    addRisk("a", 0, -1);
    addRisk("c", 0, 0);
    addRisk("b", 0, 1);
    ASSERT_TRUE(riskGrid(current)->sort(edit, kRiskType));
    EXPECT_EQ(riskTypes(), (std::vector<int>{-1, 0, 1, 1}));
    EXPECT_EQ(riskNames(), (Names{"a", "c", "b", "d"})) << "equal keys stay where the procedure leaves them";
}

// ---- Risk types --------------------------------------------------------------------------------

TEST_F(ImpactRiskOps, DeletingFinancialUntypesItsRisksAndPoliticalKeepsItsName)
{
    addRisk("money", 0, 0);
    addRisk("law", 0, 1);
    data.ChangeAreas[2].Changes.Add().Risks.Add().RiskType = 1;
    ASSERT_TRUE(deleteRiskType(edit, ask, 0));
    EXPECT_EQ(ask.asked, (Names{"Delete risk type 'Financial'?"}));
    EXPECT_EQ(data.RiskTypes, (Names{"Political"}));
    EXPECT_EQ(riskTypes(), (std::vector<int>{-1, 0}));
    EXPECT_EQ(riskGrid(current)->text(data, 1, kRiskType), "Political");
    EXPECT_EQ(data.ChangeAreas[2].Changes[0].Risks[0].RiskType, 0) << "risks of every change of every area";
    EXPECT_EQ(undo.count(), 1);
}

TEST_F(ImpactRiskOps, ARiskTypeIsDeletedOnlyOnYesAndWhenItExists)
{
    ask.yes = false;
    EXPECT_FALSE(deleteRiskType(edit, ask, 1));
    ask.yes = true;
    EXPECT_FALSE(deleteRiskType(edit, ask, -1));
    EXPECT_FALSE(deleteRiskType(edit, ask, 2));
    EXPECT_EQ(data.RiskTypes.size(), 2u);
    expectUntouched();
}

namespace {

struct TypeCommitCase {
    const char* name;
    const char* typed;
    int currentType; // the risk's type before, which the box follows
    std::vector<AddOrRename> answers;
    Outcome outcome;
    int type;
    Names typesAfter;
    std::vector<bool> offered;
    int steps;
};

void PrintTo(const TypeCommitCase& c, std::ostream* out)
{
    *out << c.name;
}

class CommitRiskTypeText : public ImpactRiskOps, public ::testing::WithParamInterface<TypeCommitCase> {};

} // namespace

TEST_P(CommitRiskTypeText, ChoosesAddsOrRenamesAndGivesTheRiskTheType)
{
    const TypeCommitCase& c = GetParam();
    addRisk("Risk", 0, c.currentType);
    ask.answers.assign(c.answers.begin(), c.answers.end());
    const RiskTypeCommit result = commitRiskTypeText(edit, ask, current, 1, c.currentType, c.typed);
    EXPECT_EQ(result.outcome, c.outcome);
    EXPECT_EQ(result.type, c.type);
    EXPECT_EQ(change().Risks[0].RiskType, c.type);
    EXPECT_EQ(data.RiskTypes, c.typesAfter);
    EXPECT_EQ(ask.renameOffered, c.offered);
    EXPECT_EQ(undo.count(), c.steps);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, CommitRiskTypeText,
    ::testing::Values(
        TypeCommitCase{"EmptyBoxRemovesTheType", "", 1, {}, Outcome::Selected, -1, {"Financial", "Political"}, {}, 1},
        TypeCommitCase{"ExistingTypeInOtherCase", "political", 0, {}, Outcome::Selected, 1,
                       {"Financial", "Political"}, {}, 1},
        TypeCommitCase{"TheRisksOwnTypeIsNoStep", "FINANCIAL", 0, {}, Outcome::Selected, 0,
                       {"Financial", "Political"}, {}, 0},
        TypeCommitCase{"NewTypeIsAddedAndGiven", "Legal", 0, {AddOrRename::Add}, Outcome::Added, 2,
                       {"Financial", "Political", "Legal"}, {true}, 1},
        TypeCommitCase{"UntypedRiskCannotRename", "Legal", -1, {AddOrRename::Add}, Outcome::Added, 2,
                       {"Financial", "Political", "Legal"}, {false}, 1},
        TypeCommitCase{"RenameTheCurrentType", "Economic", 0, {AddOrRename::Rename}, Outcome::Renamed, 0,
                       {"Economic", "Political"}, {true}, 1},
        TypeCommitCase{"CancelKeepsEverything", "Legal", 1, {AddOrRename::Cancel}, Outcome::Cancelled, 1,
                       {"Financial", "Political"}, {true}, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ImpactRiskOps, CancelLeavesEvenATypeThatIsNotInTheList)
{
    addRisk("Damaged", 0, 7);
    // The box cannot show type 7, so it reads as no type; cancelling must not write that back.
    const RiskTypeCommit result = commitRiskTypeText(edit, ask, current, 1, -1, "Legal");
    EXPECT_EQ(result.outcome, Outcome::Cancelled);
    EXPECT_EQ(change().Risks[0].RiskType, 7);
    expectUntouched();
}

TEST_F(ImpactRiskOps, ChoosingATypeFromTheListIsAStepOnlyWhenItChanges)
{
    addRisk("R");
    EXPECT_TRUE(assignRiskType(edit, current, 1, 1));
    EXPECT_FALSE(assignRiskType(edit, current, 1, 1));
    EXPECT_FALSE(assignRiskType(edit, current, 1, 2)) << "no such type";
    EXPECT_FALSE(assignRiskType(edit, current, 2, 0)) << "the empty row";
    EXPECT_EQ(riskTypeOfRow(data, current, 1), 1);
    EXPECT_EQ(riskTypeOfRow(data, current, 2), std::nullopt);
    EXPECT_EQ(undo.count(), 1);
    EXPECT_TRUE(assignRiskType(edit, current, 1, -1));
    EXPECT_EQ(change().Risks[0].RiskType, -1);
}

// Long random sequences of the workshop's operations on generated cases: after each step every
// risk still names the type it named (or none when its type went), and only the references held
// by deleted risks are gone.
TEST(ImpactRiskReferences, RandomOperationsKeepEveryRiskOnItsType)
{
    std::mt19937 random(20261210);
    const auto pick = [&random](int count) { return std::uniform_int_distribution<int>(0, count - 1)(random); };
    ScriptedQuestions ask;
    for (int round = 0; round < 40; ++round) {
        TCaseData data;
        UndoStack undo;
        CaseEdit edit(data, undo);
        fillReferenceCase(data, random);
        for (int step = 0; step < 40; ++step) {
            ResolvedRefs expected = resolveReferences(data);
            // A random change that has risks, as the current one.
            std::vector<EnvSelection> withRisks;
            for (int a = 0; a < data.ChangeAreas.Count(); ++a)
                for (int c = 0; c < data.ChangeAreas[a].Changes.Count(); ++c)
                    if (!data.ChangeAreas[a].Changes[c].Risks.Empty())
                        withRisks.push_back({a, -1, c});
            const int kind = pick(6);
            const auto dropHolder = [&](const std::string& riskName) {
                for (auto it = expected.begin(); it != expected.end();)
                    it = it->holder == "risk " + riskName ? expected.erase(it) : std::next(it);
            };
            if (kind == 0 && !data.RiskTypes.empty()) {
                const int k = pick(static_cast<int>(data.RiskTypes.size()));
                expected = withoutEntries(expected, {data.RiskTypes[static_cast<std::size_t>(k)]});
                ASSERT_TRUE(deleteRiskType(edit, ask, k));
            } else if (kind <= 2 && !withRisks.empty()) {
                // Type text into the box of a risk: an existing type, a new one added, or a rename.
                const EnvSelection s = withRisks[static_cast<std::size_t>(pick(static_cast<int>(withRisks.size())))];
                TChange& change = data.ChangeAreas[s.area].Changes[s.change];
                const int row = 1 + pick(change.Risks.Count());
                const std::string holder = "risk " + change.Risks[row - 1].Name;
                const int currentType = change.Risks[row - 1].RiskType;
                const std::string newName = "N" + std::to_string(round) + "_" + std::to_string(step);
                std::string typed;
                std::string target;
                if (kind == 1 && !data.RiskTypes.empty()) {
                    const int k = pick(static_cast<int>(data.RiskTypes.size()));
                    target = data.RiskTypes[static_cast<std::size_t>(k)];
                    typed = target;
                } else if (currentType >= 0 && pick(2) == 0) {
                    ask.answers = {AddOrRename::Rename};
                    const std::string old = data.RiskTypes[static_cast<std::size_t>(currentType)];
                    ResolvedRefs renamed;
                    for (ResolvedRef ref : expected) {
                        if (ref.target == old)
                            ref.target = newName;
                        renamed.insert(ref);
                    }
                    expected = renamed;
                    typed = target = newName;
                } else {
                    ask.answers = {AddOrRename::Add};
                    typed = target = newName;
                }
                commitRiskTypeText(edit, ask, s, row, currentType, typed);
                const auto it = std::find_if(expected.begin(), expected.end(),
                                             [&](const ResolvedRef& ref) { return ref.holder == holder; });
                ASSERT_NE(it, expected.end());
                expected.erase(it);
                expected.insert({holder, target});
            } else if (kind == 3 && !withRisks.empty()) {
                const EnvSelection s = withRisks[static_cast<std::size_t>(pick(static_cast<int>(withRisks.size())))];
                TChange& change = data.ChangeAreas[s.area].Changes[s.change];
                const int risk = pick(change.Risks.Count());
                dropHolder(change.Risks[risk].Name);
                ASSERT_TRUE(riskGrid(s)->remove(edit, ask, risk, kRiskName));
            } else if (kind == 4 && !withRisks.empty()) {
                const EnvSelection s = withRisks[static_cast<std::size_t>(pick(static_cast<int>(withRisks.size())))];
                riskGrid(s)->sort(edit, pick(kRiskColumnCount));
            } else if (kind == 5 && !data.ChangeAreas.Empty()) {
                // Deleting a change or a whole area takes its risks along.
                const int a = pick(data.ChangeAreas.Count());
                TChangeArea& area = data.ChangeAreas[a];
                const bool wholeArea = area.Changes.Empty() || pick(3) == 0;
                const int c = wholeArea ? 0 : pick(area.Changes.Count());
                for (int i = 0; i < area.Changes.Count(); ++i)
                    if (wholeArea || i == c)
                        for (const TRisk& risk : area.Changes[i].Risks)
                            dropHolder(risk.Name);
                ASSERT_TRUE(deleteSelected(edit, ask, wholeArea ? Level::Area : Level::Change, {a, -1, c}));
            }
            ASSERT_EQ(resolveReferences(data), expected) << "round " << round << ", step " << step << ", kind " << kind;
        }
    }
}

// ---- The risk diagram's list -----------------------------------------------------------------

TEST_F(ImpactRiskOps, RiskListHoldsEveryPassingRiskOfEveryChange)
{
    addRisk("Unlikely but severe", 0, -1, 10, 1);
    addRisk("Minor", 0, -1, 2, 2);
    TChange& other = data.ChangeAreas[1].Changes.Add();
    TRisk& late = other.Risks.Add();
    late.Name = "Later area";
    late.Impact = 6;
    late.Likelihood = 9;

    const auto all = buildRiskList(data, {});
    ASSERT_EQ(all.size(), 3u);
    EXPECT_EQ(all[0], portfolio::PlotRow::entryRow("Unlikely but severe", 10, 1))
        << "impact is the vertical value, likelihood the horizontal one";
    EXPECT_EQ(all[2].caption, "Later area");

    const auto filtered = buildRiskList(data, {{2, 6}, {2, 9}});
    ASSERT_EQ(filtered.size(), 2u);
    EXPECT_EQ(filtered[0].caption, "Minor");
    EXPECT_EQ(filtered[1].caption, "Later area");
    EXPECT_TRUE(buildRiskList(data, {{3, 5}, {1, 10}}).empty());
}
