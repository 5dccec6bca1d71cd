#include "workshops/environment/environment_ops.h"

#include <gtest/gtest.h>

#include "environment_test_support.h"
#include "model/date_time.h"

using namespace environment;
using namespace testing_support;
using portfolio::PlotRow;
using Outcome = TypedNameResult::Outcome;
using Names = std::vector<std::string>;

namespace {

class EnvironmentOps : public EnvironmentCase {
protected:
    // Technology: megatrends M1, M2; changes C1, C2. Regulations: change R1. Market: nothing.
    void fillAreas()
    {
        TChangeArea& technology = data.ChangeAreas[0];
        technology.Megatrends = {"M1", "M2"};
        technology.Changes.Add().Name = "C1";
        technology.Changes.Add().Name = "C2";
        data.ChangeAreas[1].Changes.Add().Name = "R1";
    }
};

} // namespace

TEST_F(EnvironmentOps, ANewCaseShowsTechnologySelectedAndTheChangeFieldsDisabled)
{
    const EnvSelection shown = reload(data, -1);
    EXPECT_EQ(shown, (EnvSelection{0, -1, -1}));
    EXPECT_EQ(levelNames(data, Level::Area, shown), (Names{"Technology", "Regulations", "Market"}));
    EXPECT_TRUE(levelNames(data, Level::Megatrend, shown).empty());
    EXPECT_TRUE(levelNames(data, Level::Change, shown).empty());
    EXPECT_FALSE(changeFields(data, shown).enabled);
    expectUntouched();
}

TEST_F(EnvironmentOps, ReloadKeepsTheShownAreaButStartsAgainAtItsFirstMegatrendAndChange)
{
    fillAreas();
    struct Case { int shown; EnvSelection expected; };
    for (const Case& c : {Case{-1, {0, 0, 0}}, Case{0, {0, 0, 0}}, Case{1, {1, -1, 0}}, Case{2, {2, -1, -1}},
                          Case{3, {0, 0, 0}} /* an area an undo took away */}) {
        EXPECT_EQ(reload(data, c.shown), c.expected) << "shown area " << c.shown;
    }
    data.ChangeAreas.Clear();
    EXPECT_EQ(reload(data, 0), (EnvSelection{-1, -1, -1}));
}

TEST_F(EnvironmentOps, SelectingAChangeShowsItsFields)
{
    fillAreas();
    auto& c2 = data.ChangeAreas[0].Changes[1];
    c2.Description = "Text";
    c2.ImpToday = 3;
    c2.ImpTomorrow = 10;
    const EnvSelection shown = selectChange(data, {0, 1, 0}, 1);
    EXPECT_EQ(shown, (EnvSelection{0, 1, 1}));
    const ChangeFields fields = changeFields(data, shown);
    EXPECT_TRUE(fields.enabled);
    EXPECT_EQ(fields.description, "Text");
    EXPECT_EQ(fields.impToday, "3");
    EXPECT_EQ(fields.impTomorrow, "10");
    EXPECT_EQ(selectChange(data, {0, 1, 0}, 5).change, -1) << "a position past the list is no change";
}

TEST_F(EnvironmentOps, PositionsThatNameNothingAreNoSelection)
{
    fillAreas();
    for (const EnvSelection s : {EnvSelection{7, 0, 0}, EnvSelection{-3, 0, 0}, EnvSelection{0, 0, 2},
                                 EnvSelection{0, 0, -2}, EnvSelection{2, 0, 0}}) {
        EXPECT_EQ(currentChange(data, s), nullptr) << s.area << "/" << s.change;
        EXPECT_FALSE(setDescription(edit, s, "lost?"));
        EXPECT_FALSE(setImportance(edit, s, When::Today, "5").has_value());
    }
    EXPECT_EQ(currentArea(data, {7, 0, 0}), nullptr);
    EXPECT_TRUE(levelNames(data, Level::Change, {7, 0, 0}).empty());
    expectUntouched();
}

// ---- Commit typed text --------------------------------------------------------------------

namespace {

struct TypedCase {
    const char* name;
    Level level;
    EnvSelection current;
    const char* typed;
    std::vector<AddOrRename> answers;
    Outcome outcome;
    EnvSelection selection;
    Names namesAfter;         // of the level's box, for the selection afterwards
    std::vector<bool> offered; // rename offered, per question asked
    int steps;
};

void PrintTo(const TypedCase& c, std::ostream* out)
{
    *out << c.name;
}

class CommitTypedText : public EnvironmentOps, public ::testing::WithParamInterface<TypedCase> {};

} // namespace

TEST_P(CommitTypedText, FollowsTheAddOrRenameProtocol)
{
    const TypedCase& c = GetParam();
    fillAreas();
    ask.answers.assign(c.answers.begin(), c.answers.end());
    const auto result = commitTypedText(edit, ask, c.level, c.current, c.typed);
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(result->outcome, c.outcome);
    EXPECT_EQ(result->selection, c.selection);
    EXPECT_EQ(levelNames(data, c.level, result->selection), c.namesAfter);
    EXPECT_EQ(ask.renameOffered, c.offered);
    EXPECT_EQ(undo.count(), c.steps);
    EXPECT_EQ(data.Modified, c.steps > 0);
}

INSTANTIATE_TEST_SUITE_P(
    Levels, CommitTypedText,
    ::testing::Values(
        TypedCase{"ExistingAreaInOtherCaseIsSelectedWithoutAQuestion", Level::Area, {1, -1, 0}, "technology", {},
                  Outcome::Selected, {0, 0, 0}, {"Technology", "Regulations", "Market"}, {}, 0},
        TypedCase{"EmptyAreaTextSelectsNothing", Level::Area, {0, 0, 0}, "", {}, Outcome::Selected,
                  {-1, -1, -1}, {"Technology", "Regulations", "Market"}, {}, 0},
        TypedCase{"NewAreaIsAddedAndSelected", Level::Area, {0, 0, 0}, "Society", {AddOrRename::Add},
                  Outcome::Added, {3, -1, -1}, {"Technology", "Regulations", "Market", "Society"}, {true}, 1},
        TypedCase{"RenameKeepsTheAreaAndItsChanges", Level::Area, {1, -1, 0}, "Law", {AddOrRename::Rename},
                  Outcome::Renamed, {1, -1, 0}, {"Technology", "Law", "Market"}, {true}, 1},
        TypedCase{"CancelReselectsThePreviousArea", Level::Area, {2, -1, -1}, "Society", {AddOrRename::Cancel},
                  Outcome::Cancelled, {2, -1, -1}, {"Technology", "Regulations", "Market"}, {true}, 0},
        TypedCase{"WithoutAnAreaRenameIsNotOffered", Level::Area, {-1, -1, -1}, "Society",
                  {AddOrRename::Cancel}, Outcome::Cancelled, {-1, -1, -1},
                  {"Technology", "Regulations", "Market"}, {false}, 0},
        TypedCase{"NewMegatrendKeepsTheChange", Level::Megatrend, {0, 0, 1}, "M3", {AddOrRename::Add},
                  Outcome::Added, {0, 2, 1}, {"M1", "M2", "M3"}, {true}, 1},
        TypedCase{"MegatrendInOtherCase", Level::Megatrend, {0, 0, 1}, "m2", {}, Outcome::Selected, {0, 1, 1},
                  {"M1", "M2"}, {}, 0},
        TypedCase{"RenamedMegatrend", Level::Megatrend, {0, 1, 0}, "Mx", {AddOrRename::Rename},
                  Outcome::Renamed, {0, 1, 0}, {"M1", "Mx"}, {true}, 1},
        TypedCase{"FirstMegatrendOfAnAreaCannotRename", Level::Megatrend, {2, -1, -1}, "Prices",
                  {AddOrRename::Add}, Outcome::Added, {2, 0, -1}, {"Prices"}, {false}, 1},
        TypedCase{"NewChangeIsSelected", Level::Change, {0, 0, 0}, "C3", {AddOrRename::Add}, Outcome::Added,
                  {0, 0, 2}, {"C1", "C2", "C3"}, {true}, 1},
        TypedCase{"ChangeRename", Level::Change, {0, 0, 1}, "Cx", {AddOrRename::Rename}, Outcome::Renamed,
                  {0, 0, 1}, {"C1", "Cx"}, {true}, 1},
        TypedCase{"ChangeCancel", Level::Change, {0, 0, 1}, "Cx", {}, Outcome::Cancelled, {0, 0, 1},
                  {"C1", "C2"}, {true}, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(EnvironmentOps, ANewChangeStartsEmptyWithBothImportancesOne)
{
    ask.answers = {AddOrRename::Add};
    const auto result = commitTypedText(edit, ask, Level::Change, {0, -1, -1}, "Remote service");
    ASSERT_TRUE(result.has_value());
    const TChange* change = currentChange(data, result->selection);
    ASSERT_NE(change, nullptr);
    EXPECT_EQ(change->Name, "Remote service");
    EXPECT_EQ(change->Description, "");
    EXPECT_EQ(change->ImpToday, 1);
    EXPECT_EQ(change->ImpTomorrow, 1);
    EXPECT_EQ(changeFields(data, result->selection).impToday, "1");
}

TEST_F(EnvironmentOps, MegatrendsAndChangesNeedACurrentArea)
{
    ask.answers = {AddOrRename::Add, AddOrRename::Add};
    EXPECT_FALSE(commitTypedText(edit, ask, Level::Megatrend, {-1, -1, -1}, "M").has_value());
    EXPECT_FALSE(commitTypedText(edit, ask, Level::Change, {5, -1, -1}, "C").has_value());
    EXPECT_TRUE(ask.renameOffered.empty());
    expectUntouched();
}

// ---- Delete --------------------------------------------------------------------------------

TEST_F(EnvironmentOps, DeletingTheSelectedAreaSelectsTheFirstArea)
{
    fillAreas();
    const auto after = deleteSelected(edit, ask, Level::Area, {1, -1, 0});
    ASSERT_TRUE(after.has_value());
    EXPECT_EQ(ask.asked, (Names{"Delete area 'Regulations'?"}));
    EXPECT_EQ(*after, (EnvSelection{0, 0, 0}));
    EXPECT_EQ(levelNames(data, Level::Area, *after), (Names{"Technology", "Market"}));
    EXPECT_EQ(undo.count(), 1);
    EXPECT_TRUE(data.Modified);
}

TEST_F(EnvironmentOps, DeletingAChangeSelectsTheFirstChangeOfTheSameArea)
{
    fillAreas();
    data.ChangeAreas[0].Changes.Add().Name = "C3";
    const auto after = deleteSelected(edit, ask, Level::Change, {0, 1, 2});
    ASSERT_TRUE(after.has_value());
    EXPECT_EQ(ask.asked, (Names{"Delete change 'C3'?"}));
    EXPECT_EQ(*after, (EnvSelection{0, 0, 0}));
    EXPECT_EQ(levelNames(data, Level::Change, *after), (Names{"C1", "C2"}));
}

TEST_F(EnvironmentOps, DeletingAMegatrendKeepsTheAreaAndItsChanges)
{
    fillAreas();
    const auto after = deleteSelected(edit, ask, Level::Megatrend, {0, 1, 1});
    ASSERT_TRUE(after.has_value());
    EXPECT_EQ(ask.asked, (Names{"Delete megatrend 'M2'?"}));
    EXPECT_EQ(*after, (EnvSelection{0, 0, 0}));
    EXPECT_EQ(data.ChangeAreas[0].Megatrends, (Names{"M1"}));
    EXPECT_EQ(data.ChangeAreas[0].Changes.Count(), 2);
}

TEST_F(EnvironmentOps, DeleteNeedsYesAndASelectedEntry)
{
    fillAreas();
    ask.yes = false;
    EXPECT_FALSE(deleteSelected(edit, ask, Level::Change, {0, 0, 0}).has_value());
    ask.yes = true;
    EXPECT_FALSE(deleteSelected(edit, ask, Level::Area, {-1, -1, -1}).has_value());
    EXPECT_FALSE(deleteSelected(edit, ask, Level::Megatrend, {2, -1, -1}).has_value());
    EXPECT_FALSE(deleteSelected(edit, ask, Level::Change, {0, 0, 9}).has_value());
    EXPECT_EQ(ask.asked, (Names{"Delete change 'C1'?"})) << "only the first had something to delete";
    EXPECT_EQ(data.ChangeAreas[0].Changes.Count(), 2);
    expectUntouched();
}

TEST_F(EnvironmentOps, DeletingTheLastAreaLeavesNothingSelected)
{
    while (data.ChangeAreas.Count() > 1)
        data.ChangeAreas.Delete(1);
    const auto after = deleteSelected(edit, ask, Level::Area, {0, -1, -1});
    ASSERT_TRUE(after.has_value());
    EXPECT_EQ(*after, (EnvSelection{-1, -1, -1}));
}

// ---- Description and importance -------------------------------------------------------------

TEST_F(EnvironmentOps, EveryChangedDescriptionIsOneStepAndTheSameTextNone)
{
    fillAreas();
    const EnvSelection s{0, 0, 0};
    EXPECT_TRUE(setDescription(edit, s, "A"));
    EXPECT_TRUE(setDescription(edit, s, "Ab\r\nc"));
    EXPECT_FALSE(setDescription(edit, s, "Ab\r\nc"));
    EXPECT_EQ(data.ChangeAreas[0].Changes[0].Description, "Ab\r\nc");
    EXPECT_EQ(undo.count(), 2);
}

namespace {

struct ImportanceCase {
    const char* typed;
    int stored;
};

class SetImportance : public EnvironmentOps, public ::testing::WithParamInterface<ImportanceCase> {};

} // namespace

TEST_P(SetImportance, StoresTheClampedValueTheBoxThenShows)
{
    fillAreas();
    data.ChangeAreas[0].Changes[0].ImpToday = 5;
    data.ChangeAreas[0].Changes[0].ImpTomorrow = 5;
    const EnvSelection s{0, 0, 0};
    EXPECT_EQ(setImportance(edit, s, When::Today, GetParam().typed), GetParam().stored);
    EXPECT_EQ(setImportance(edit, s, When::Tomorrow, GetParam().typed), GetParam().stored);
    EXPECT_EQ(data.ChangeAreas[0].Changes[0].ImpToday, GetParam().stored);
    EXPECT_EQ(data.ChangeAreas[0].Changes[0].ImpTomorrow, GetParam().stored);
    EXPECT_EQ(undo.count(), GetParam().stored == 5 ? 0 : 2);
}

INSTANTIATE_TEST_SUITE_P(Texts, SetImportance,
                         ::testing::Values(ImportanceCase{"15", 10}, ImportanceCase{"", 1}, ImportanceCase{"0", 1},
                                           ImportanceCase{"7", 7}, ImportanceCase{" 3", 3},
                                           ImportanceCase{"4 ", 4}, ImportanceCase{"x", 1},
                                           ImportanceCase{"5", 5}, ImportanceCase{"99", 10},
                                           ImportanceCase{"-4", 1}));

TEST_F(EnvironmentOps, ImportanceLabelsShowTheDatesOfThePlanningPeriod)
{
    data.DateFrom = 0; // 30 December 1899
    data.DateTo = encodeDate(2027, 12, 8);
    EXPECT_EQ(importanceTodayLabel(data).text(), "a&s of 30/12/1899:");
    EXPECT_EQ(importanceTomorrowLabel(data).text(), "as of 08/12/2027:");
}

// ---- Filter and change list -------------------------------------------------------------------

TEST(EnvironmentFilter, AScoreIsReadWhole)
{
    EXPECT_EQ(readScore("99999999999"), 10) << "a number too large for the field is still a number";
}

TEST_F(EnvironmentOps, ChangeListHasAHeadingOnlyAboveAreasWithPassingChanges)
{
    auto change = [&](int area, const char* name, int today, int tomorrow) {
        TChange& c = data.ChangeAreas[area].Changes.Add();
        c.Name = name;
        c.ImpToday = today;
        c.ImpTomorrow = tomorrow;
    };
    change(0, "Low", 2, 2);
    change(0, "High", 8, 9);
    change(1, "Also low", 1, 3);
    change(2, "Edge", 5, 10);

    const auto all = buildChangeList(data, {});
    ASSERT_EQ(all.size(), 7u);
    EXPECT_EQ(all[0], PlotRow::headingRow("Technology"));
    EXPECT_EQ(all[1], PlotRow::entryRow("   Low", 2, 2));
    EXPECT_EQ(all[2], PlotRow::entryRow("   High", 8, 9)) << "today vertical, tomorrow horizontal";
    EXPECT_EQ(all[3].caption, "Regulations");

    const auto filtered = buildChangeList(data, {{5, 10}, {3, 10}});
    std::vector<std::string> captions;
    for (const auto& row : filtered)
        captions.push_back(row.caption);
    EXPECT_EQ(captions, (Names{"Technology", "   High", "Market", "   Edge"})) << "bounds are inclusive";
}

