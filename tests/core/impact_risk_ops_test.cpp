#include "workshops/environment/impact_risk_ops.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "environment_test_support.h"
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

    void addImpacts(ImpactKind kind, std::initializer_list<std::pair<const char*, int>> entries)
    {
        for (auto [name, rank] : entries) {
            TRankedItem& item = impactList(change(), kind).Add();
            item.Name = name;
            item.Rank = rank;
        }
    }

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

    Names impactNames(ImpactKind kind)
    {
        Names names;
        for (const TRankedItem& item : impactList(change(), kind))
            names.push_back(item.Name + ":" + std::to_string(item.Rank));
        return names;
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

TEST_F(ImpactRiskOps, ImpactGridsShowTitlesEntriesAndOneEmptyRow)
{
    addImpacts(ImpactKind::Opportunities, {{"Export", 7}});
    const TChange* shown = &change();
    EXPECT_EQ(impactRowCount(shown, ImpactKind::Opportunities), 3);
    EXPECT_EQ(impactRowCount(nullptr, ImpactKind::Opportunities), 2);
    EXPECT_EQ(impactCellText(shown, ImpactKind::Opportunities, 0, 0), "Opportunities");
    EXPECT_EQ(impactCellText(shown, ImpactKind::Weaknesses, 0, 0), "Weaknesses");
    EXPECT_EQ(impactCellText(nullptr, ImpactKind::Threats, 1, 0), "Imp.");
    EXPECT_EQ(impactCellText(shown, ImpactKind::Opportunities, 0, 1), "Export");
    EXPECT_EQ(impactCellText(shown, ImpactKind::Opportunities, 1, 1), "7");
    EXPECT_EQ(impactCellText(shown, ImpactKind::Opportunities, 0, 2), "");
    EXPECT_EQ(impactCellText(shown, ImpactKind::Opportunities, 1, 9), "") << "a row past the grid";
    EXPECT_EQ(impactCellText(shown, ImpactKind::Strengths, 0, 1), "") << "the lists are kept apart";
}

TEST_F(ImpactRiskOps, ANameTypedIntoTheEmptyRowAppendsAnEntryWithImportanceOne)
{
    EXPECT_EQ(commitImpactEdit(edit, current, ImpactKind::Threats, 0, 1, "Price war"), CellCommit::Appended);
    EXPECT_EQ(impactNames(ImpactKind::Threats), (Names{"Price war:1"}));
    EXPECT_EQ(impactList(change(), ImpactKind::Threats)[0].Link, -1);
    EXPECT_EQ(impactRowCount(&change(), ImpactKind::Threats), 3) << "a new empty row follows";
    EXPECT_EQ(undo.count(), 1);
    EXPECT_TRUE(data.Modified);
}

namespace {

struct ImpactEditCase {
    const char* name;
    int col;
    int row;
    const char* typed;
    CellCommit result;
    Names after;
};

void PrintTo(const ImpactEditCase& c, std::ostream* out)
{
    *out << c.name;
}

class CommitImpactEdit : public ImpactRiskOps, public ::testing::WithParamInterface<ImpactEditCase> {};

} // namespace

TEST_P(CommitImpactEdit, WritesTheCellIntoTheEntry)
{
    const ImpactEditCase& c = GetParam();
    addImpacts(ImpactKind::Strengths, {{"Brand", 5}});
    EXPECT_EQ(commitImpactEdit(edit, current, ImpactKind::Strengths, c.col, c.row, c.typed), c.result);
    EXPECT_EQ(impactNames(ImpactKind::Strengths), c.after);
    EXPECT_EQ(undo.count(), c.result == CellCommit::Nothing ? 0 : 1);
}

INSTANTIATE_TEST_SUITE_P(
    Cells, CommitImpactEdit,
    ::testing::Values(ImpactEditCase{"Name", 0, 1, "Service", CellCommit::Changed, {"Service:5"}},
                      ImpactEditCase{"ImportanceAboveTenIsTen", 1, 1, "15", CellCommit::Changed, {"Brand:10"}},
                      ImpactEditCase{"EmptyImportanceIsOne", 1, 1, "", CellCommit::Changed, {"Brand:1"}},
                      ImpactEditCase{"SameNameIsNoStep", 0, 1, "Brand", CellCommit::Nothing, {"Brand:5"}},
                      ImpactEditCase{"SameImportanceIsNoStep", 1, 1, "5", CellCommit::Nothing, {"Brand:5"}},
                      ImpactEditCase{"ImportanceInTheEmptyRowIsDropped", 1, 2, "4", CellCommit::Nothing,
                                     {"Brand:5"}},
                      ImpactEditCase{"EmptyNameInTheEmptyRowMakesNoEntry", 0, 2, "", CellCommit::Nothing,
                                     {"Brand:5"}},
                      ImpactEditCase{"TitleRowIsNotAnEntry", 0, 0, "x", CellCommit::Nothing, {"Brand:5"}},
                      ImpactEditCase{"RowPastTheGrid", 0, 3, "x", CellCommit::Nothing, {"Brand:5"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ImpactRiskOps, WithoutACurrentChangeNothingIsWritten)
{
    for (const EnvSelection s : {EnvSelection{1, -1, -1}, EnvSelection{0, -1, 4}, EnvSelection{9, -1, 0}}) {
        EXPECT_EQ(commitImpactEdit(edit, s, ImpactKind::Strengths, 0, 1, "x"), CellCommit::Nothing);
        EXPECT_EQ(commitRiskEdit(edit, s, 0, 1, "x"), CellCommit::Nothing);
        EXPECT_FALSE(deleteImpact(edit, ask, s, ImpactKind::Strengths, 1));
        EXPECT_FALSE(deleteRisk(edit, ask, s, 0, 1));
        EXPECT_FALSE(sortRisks(edit, s, 0));
        EXPECT_FALSE(assignRiskType(edit, s, 1, 0));
    }
    expectUntouched();
}

TEST_F(ImpactRiskOps, ImportanceTitleSortsMostImportantFirstAndNameTitleIgnoresCase)
{
    addImpacts(ImpactKind::Weaknesses, {{"beta", 3}, {"Gamma", 10}, {"Alpha", 7}});
    sortImpacts(edit, current, ImpactKind::Weaknesses, 1);
    EXPECT_EQ(impactNames(ImpactKind::Weaknesses), (Names{"Gamma:10", "Alpha:7", "beta:3"}));
    sortImpacts(edit, current, ImpactKind::Weaknesses, 0);
    EXPECT_EQ(impactNames(ImpactKind::Weaknesses), (Names{"Alpha:7", "beta:3", "Gamma:10"}));
    EXPECT_EQ(undo.count(), 2);
}

TEST_F(ImpactRiskOps, SortingAShortImpactListStillMarksTheCaseModified)
{
    addImpacts(ImpactKind::Strengths, {{"Only", 2}});
    sortImpacts(edit, current, ImpactKind::Strengths, 0);
    EXPECT_EQ(undo.count(), 1);
    EXPECT_TRUE(data.Modified);
    sortImpacts(edit, {1, -1, -1}, ImpactKind::Strengths, 1);
    EXPECT_EQ(undo.count(), 2) << "even without a current change";
}

TEST_F(ImpactRiskOps, DeletingAnImpactAsksWithItsName)
{
    addImpacts(ImpactKind::Threats, {{"A", 1}, {"B", 2}});
    ask.yes = false;
    EXPECT_FALSE(deleteImpact(edit, ask, current, ImpactKind::Threats, 2));
    expectUntouched();
    ask.yes = true;
    EXPECT_FALSE(deleteImpact(edit, ask, current, ImpactKind::Threats, 3)) << "the empty row";
    EXPECT_FALSE(deleteImpact(edit, ask, current, ImpactKind::Threats, 0)) << "the title row";
    EXPECT_TRUE(deleteImpact(edit, ask, current, ImpactKind::Threats, 2));
    EXPECT_EQ(ask.confirmed, (Names{"Delete impact 'B'?", "Delete impact 'B'?"}));
    EXPECT_EQ(impactNames(ImpactKind::Threats), (Names{"A:1"}));
    EXPECT_EQ(undo.count(), 1);
}

// ---- Risks -----------------------------------------------------------------------------------

TEST_F(ImpactRiskOps, RiskCellsShowAmountsInPlainDigitsAndTypesByName)
{
    addRisk("Supplier", 1234567, 1, 6, 3, "Second source");
    addRisk("Untyped", 0.5, -1);
    addRisk("Damaged", -42, 7);
    const TChange* shown = &change();
    EXPECT_EQ(riskRowCount(shown), 5);
    EXPECT_EQ(riskCellText(data, shown, kRiskFinImpact, 0), "Pot. Fin. Impact");
    EXPECT_EQ(riskCellText(data, shown, kRiskHandling, 0), "How to deal with the risk");
    const Names row1{riskCellText(data, shown, 0, 1), riskCellText(data, shown, 1, 1), riskCellText(data, shown, 2, 1),
                     riskCellText(data, shown, 3, 1), riskCellText(data, shown, 4, 1), riskCellText(data, shown, 5, 1)};
    EXPECT_EQ(row1, (Names{"Supplier", "1234567", "Political", "6", "3", "Second source"}));
    EXPECT_EQ(riskCellText(data, shown, kRiskFinImpact, 2), "0") << "no decimals, half to even";
    EXPECT_EQ(riskCellText(data, shown, kRiskType, 2), "");
    EXPECT_EQ(riskCellText(data, shown, kRiskType, 3), "") << "a type past the list shows nothing";
    EXPECT_EQ(riskCellText(data, shown, kRiskFinImpact, 3), "-42");
    EXPECT_EQ(riskCellText(data, shown, 0, 4), "") << "the empty row";
    EXPECT_EQ(riskCellText(data, shown, 6, 1), "") << "no seventh column";
    EXPECT_EQ(finImpactEditText(std::numeric_limits<double>::quiet_NaN()), "");
}

TEST_F(ImpactRiskOps, TheTypeCellOfTheEmptyRowCannotBeSelected)
{
    addRisk("One");
    EXPECT_FALSE(canSelectRiskCell(&change(), kRiskType, 2));
    EXPECT_TRUE(canSelectRiskCell(&change(), kRiskType, 1));
    EXPECT_TRUE(canSelectRiskCell(&change(), kRiskName, 2));
    EXPECT_TRUE(canSelectRiskCell(&change(), kRiskImpact, 2));
    EXPECT_FALSE(canSelectRiskCell(nullptr, kRiskType, 1)) << "without a change the empty row is row 1";
}

namespace {

struct RiskEditCase {
    const char* name;
    int col;
    int row;
    const char* typed;
    CellCommit result;
    const char* expectCell; // the cell's text afterwards (row 1, or the new row 2)
};

void PrintTo(const RiskEditCase& c, std::ostream* out)
{
    *out << c.name;
}

class CommitRiskEdit : public ImpactRiskOps, public ::testing::WithParamInterface<RiskEditCase> {};

} // namespace

TEST_P(CommitRiskEdit, WritesTheCellIntoTheRisk)
{
    const RiskEditCase& c = GetParam();
    addRisk("Supplier", 500, 0, 5, 5, "Watch");
    EXPECT_EQ(commitRiskEdit(edit, current, c.col, c.row, c.typed), c.result);
    EXPECT_EQ(riskCellText(data, &change(), c.col, c.row), c.expectCell);
    EXPECT_EQ(undo.count(), c.result == CellCommit::Nothing ? 0 : 1);
    EXPECT_EQ(data.Modified, c.result != CellCommit::Nothing);
}

INSTANTIATE_TEST_SUITE_P(
    Cells, CommitRiskEdit,
    ::testing::Values(RiskEditCase{"Name", kRiskName, 1, "Vendor", CellCommit::Changed, "Vendor"},
                      RiskEditCase{"Amount", kRiskFinImpact, 1, "1234567", CellCommit::Changed, "1234567"},
                      RiskEditCase{"EmptyAmountIsZero", kRiskFinImpact, 1, "", CellCommit::Changed, "0"},
                      RiskEditCase{"UnreadableAmountIsZero", kRiskFinImpact, 1, "12x", CellCommit::Changed, "0"},
                      RiskEditCase{"MaskBlanksAroundAnAmount", kRiskFinImpact, 1, " 75  ", CellCommit::Changed,
                                   "75"},
                      RiskEditCase{"SameAmountIsNoStep", kRiskFinImpact, 1, "500", CellCommit::Nothing, "500"},
                      RiskEditCase{"TypeIsNotTyped", kRiskType, 1, "Political", CellCommit::Nothing, "Financial"},
                      RiskEditCase{"ImpactAboveTen", kRiskImpact, 1, "15", CellCommit::Changed, "10"},
                      RiskEditCase{"EmptyLikelihoodIsOne", kRiskLikelihood, 1, "", CellCommit::Changed, "1"},
                      RiskEditCase{"Handling", kRiskHandling, 1, "Audit\r\nyearly", CellCommit::Changed,
                                   "Audit\r\nyearly"},
                      RiskEditCase{"NameInTheEmptyRowAppends", kRiskName, 2, "Strike", CellCommit::Appended,
                                   "Strike"},
                      RiskEditCase{"OtherColumnsOfTheEmptyRowAreDropped", kRiskImpact, 2, "4",
                                   CellCommit::Nothing, ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ImpactRiskOps, ANewRiskHasTheDefaults)
{
    ASSERT_EQ(commitRiskEdit(edit, current, kRiskName, 1, "Strike"), CellCommit::Appended);
    const TRisk& risk = change().Risks[0];
    EXPECT_EQ(risk.FinImpact, 0);
    EXPECT_EQ(risk.RiskType, -1);
    EXPECT_EQ(risk.Impact, 1);
    EXPECT_EQ(risk.Likelihood, 1);
    EXPECT_EQ(risk.Handling, "");
    EXPECT_EQ(riskRowCount(&change()), 3);
}

TEST_F(ImpactRiskOps, ARiskIsDeletedFromItsNameColumnOnly)
{
    addRisk("A");
    addRisk("B");
    EXPECT_FALSE(deleteRisk(edit, ask, current, kRiskImpact, 1));
    EXPECT_FALSE(deleteRisk(edit, ask, current, kRiskName, 3)) << "the empty row";
    EXPECT_TRUE(ask.confirmed.empty());
    ask.yes = false;
    EXPECT_FALSE(deleteRisk(edit, ask, current, kRiskName, 1));
    expectUntouched();
    ask.yes = true;
    EXPECT_TRUE(deleteRisk(edit, ask, current, kRiskName, 1));
    EXPECT_EQ(ask.confirmed, (Names{"Delete risk 'A'?", "Delete risk 'A'?"}));
    EXPECT_EQ(riskNames(), (Names{"B"}));
    EXPECT_EQ(undo.count(), 1);
}

namespace {

struct RiskSortCase {
    int col;
    Names order;
};

class SortRisks : public ImpactRiskOps, public ::testing::WithParamInterface<RiskSortCase> {};

} // namespace

TEST_P(SortRisks, SortsByTheColumnsKey)
{
    addRisk("delta", 100, 1, 2, 9, "b-plan");
    addRisk("Alpha", 900, -1, 8, 1, "Accept");
    addRisk("charlie", 50, 0, 5, 4, "c");
    addRisk("Bravo", 300, 1, 10, 2, "Avoid");
    ASSERT_TRUE(sortRisks(edit, current, GetParam().col));
    EXPECT_EQ(riskNames(), GetParam().order);
    EXPECT_EQ(undo.count(), 1);
}

INSTANTIATE_TEST_SUITE_P(Columns, SortRisks,
                         ::testing::Values(RiskSortCase{kRiskName, {"Alpha", "Bravo", "charlie", "delta"}},
                                           RiskSortCase{kRiskFinImpact, {"Alpha", "Bravo", "delta", "charlie"}},
                                           RiskSortCase{kRiskImpact, {"Bravo", "Alpha", "charlie", "delta"}},
                                           RiskSortCase{kRiskLikelihood, {"delta", "charlie", "Bravo", "Alpha"}},
                                           RiskSortCase{kRiskHandling, {"Alpha", "Bravo", "delta", "charlie"}}));

TEST_F(ImpactRiskOps, TypeSortPutsUntypedFirstInTheOrderOfTheQuicksort)
{
    addRisk("d", 0, 1);
    addRisk("a", 0, -1);
    addRisk("c", 0, 0);
    addRisk("b", 0, 1);
    ASSERT_TRUE(sortRisks(edit, current, kRiskType));
    EXPECT_EQ(riskTypes(), (std::vector<int>{-1, 0, 1, 1}));
    EXPECT_EQ(riskNames(), (Names{"a", "c", "b", "d"})) << "equal keys stay where the procedure leaves them";
}

TEST_F(ImpactRiskOps, TheRiskTitleDoesNothingWithFewerThanTwoRisks)
{
    EXPECT_FALSE(sortRisks(edit, current, kRiskName));
    addRisk("Only");
    EXPECT_FALSE(sortRisks(edit, current, kRiskName));
    expectUntouched();
}

// ---- Risk types --------------------------------------------------------------------------------

TEST_F(ImpactRiskOps, DeletingFinancialUntypesItsRisksAndPoliticalKeepsItsName)
{
    addRisk("money", 0, 0);
    addRisk("law", 0, 1);
    data.ChangeAreas[2].Changes.Add().Risks.Add().RiskType = 1;
    ASSERT_TRUE(deleteRiskType(edit, ask, 0));
    EXPECT_EQ(ask.confirmed, (Names{"Delete risk type 'Financial'?"}));
    EXPECT_EQ(data.RiskTypes, (Names{"Political"}));
    EXPECT_EQ(riskTypes(), (std::vector<int>{-1, 0}));
    EXPECT_EQ(riskCellText(data, &change(), kRiskType, 2), "Political");
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
    ScriptedAnswers ask;
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
                const int row = 1 + pick(change.Risks.Count());
                dropHolder(change.Risks[row - 1].Name);
                ASSERT_TRUE(deleteRisk(edit, ask, s, kRiskName, row));
            } else if (kind == 4 && !withRisks.empty()) {
                const EnvSelection s = withRisks[static_cast<std::size_t>(pick(static_cast<int>(withRisks.size())))];
                sortRisks(edit, s, pick(kRiskColumnCount));
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
