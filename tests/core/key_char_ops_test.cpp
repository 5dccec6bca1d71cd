#include "workshops/customers/key_char_ops.h"

#include <gtest/gtest.h>

#include <array>
#include <map>
#include <random>

#include "cust_prod_fixture.h"
#include "model/list_grid.h"

using namespace cust_prod;
using namespace testing_support;

namespace {

struct TextCase {
    const char* text;
    int32_t expected;
};

class ScoreText : public ::testing::TestWithParam<TextCase> {};
class AmountText : public ::testing::TestWithParam<TextCase> {};

// Three customers rated on three key characteristics, with the bounds a refresh builds.
class KeyCharOps : public CustProdTest {
protected:
    static constexpr Mode kMode = Mode::Customers;

    KeyCharOps()
    {
        for (const char* name : {"Hotels", "Canteens", "Bakeries"})
            addItem(edit, kMode, name);
        for (const char* name : {"Price", "Reliability", "Service"})
            addKeyChar(edit, kMode, name);
        settle();
    }

    TKeyCharItem& keyChar(int item, int k) { return list(kMode)[item].KeyChars[k]; }
    static std::unique_ptr<ListGrid> keyChars(int item)
    {
        return keyCharGrid(kMode, [item] { return item; });
    }

    void rate(int item, std::initializer_list<int> matches)
    {
        int k = 0;
        for (int match : matches)
            keyChar(item, k++).Match = match;
    }

    std::vector<std::string> keyCharNames(int item)
    {
        std::vector<std::string> result;
        for (const auto& each : list(kMode)[item].KeyChars)
            result.push_back(each.Name);
        return result;
    }
};

} // namespace

TEST_P(ScoreText, IsLimitedToOneToTenAndNoNumberGivesZero)
{
    EXPECT_EQ(scoreFromText(GetParam().text), GetParam().expected) << '"' << GetParam().text << '"';
}

INSTANTIATE_TEST_SUITE_P(Typed, ScoreText,
                         ::testing::Values(TextCase{"7", 7}, TextCase{"12", 10}, TextCase{"99", 10}, TextCase{"0", 1},
                                           TextCase{"", 0}, TextCase{"  ", 0}, TextCase{" 5", 5}, TextCase{"5 ", 5},
                                           TextCase{"-3", 1}, TextCase{"1 2", 0}, TextCase{"x", 0},
                                           TextCase{"99999999999", 0}));

TEST_P(AmountText, IsAWhole32BitNumberOrZero)
{
    EXPECT_EQ(amountFromText(GetParam().text), GetParam().expected) << '"' << GetParam().text << '"';
}

INSTANTIATE_TEST_SUITE_P(Typed, AmountText,
                         ::testing::Values(TextCase{"1234567", 1234567}, TextCase{"-250", -250}, TextCase{"0", 0},
                                           TextCase{"2147483647", 2147483647},
                                           TextCase{"-2147483648", -2147483647 - 1}, TextCase{"2147483648", 0},
                                           TextCase{"-2147483649", 0}, TextCase{"", 0}, TextCase{"-", 0},
                                           TextCase{"1,000", 0}, TextCase{" 42 ", 42}));

TEST_F(KeyCharOps, ImportanceIsSharedAndMatchIsTheItemsOwn)
{
    ASSERT_TRUE(setImportance(edit, kMode, 1, "7"));
    for (int item = 0; item < 3; ++item)
        EXPECT_EQ(keyChar(item, 1).Importance, 7) << item;
    ASSERT_EQ(keyChars(2)->commit(edit, 1, 2, "7"), CellCommit::Changed);
    EXPECT_EQ(keyChar(2, 1).Match, 7);
    EXPECT_EQ(keyChar(0, 1).Match, 1);
    EXPECT_EQ(keyChar(1, 1).Match, 1);
    EXPECT_EQ(undo.count(), 2);

    // Re-committing what is stored is no step.
    EXPECT_FALSE(setImportance(edit, kMode, 1, "7"));
    EXPECT_EQ(keyChars(2)->commit(edit, 1, 2, "07"), CellCommit::Unchanged);
    EXPECT_EQ(undo.count(), 2);
}

TEST_F(KeyCharOps, EmptiedImportanceStoresZeroAndTheCellShowsIt)
{
    ASSERT_TRUE(setImportance(edit, kMode, 0, ""));
    EXPECT_EQ(keyChar(1, 0).Importance, 0);
    EXPECT_EQ(keyChars(1)->text(data, 0, 1), "0");
}

TEST_F(KeyCharOps, CellTextsHideTheNumbersOfKeyCharacteristicsThatDoNotApply)
{
    const TCustProd* hotels = &list(kMode)[0];
    const auto grid = keyChars(0);
    keyChar(0, 1).Match = 6;
    keyChar(0, 1).Importance = 9;
    EXPECT_EQ(grid->text(data, 1, 0), "Reliability");
    EXPECT_EQ(grid->text(data, 1, 1), "9");
    EXPECT_EQ(grid->text(data, 1, 2), "6");
    EXPECT_FALSE(keyCharRowExcluded(hotels, 2));
    toggleApplicability(edit, kMode, 0, 1);
    EXPECT_TRUE(keyCharRowExcluded(hotels, 2));
    EXPECT_EQ(grid->text(data, 1, 0), "Reliability");
    EXPECT_EQ(grid->text(data, 1, 1), "");
    EXPECT_EQ(grid->text(data, 1, 2), "");
    EXPECT_FALSE(keyChar(1, 1).Excluded) << "applicability is the item's own";
    EXPECT_EQ(keyChars(-1)->text(data, 0, 0), "") << "no item selected";
    EXPECT_EQ(grid->text(data, 3, 0), "") << "the new-entry row";
}

TEST_F(KeyCharOps, AddRenameAndDeleteReachEveryItemAndBothBoundLists)
{
    addKeyChar(edit, kMode, "Hygiene");
    for (int item = 0; item < 3; ++item) {
        EXPECT_EQ(keyCharNames(item), (std::vector<std::string>{"Price", "Reliability", "Service", "Hygiene"}));
        EXPECT_EQ(keyChar(item, 3).Match, 1);
        EXPECT_EQ(keyChar(item, 3).Importance, 1);
        EXPECT_FALSE(keyChar(item, 3).Excluded);
    }
    EXPECT_EQ(lowerBounds(data, kMode)[3].Name, "Hygiene");
    EXPECT_EQ(lowerBounds(data, kMode)[3].Importance, 1);
    EXPECT_EQ(upperBounds(data, kMode)[3].Match, 10);

    EXPECT_EQ(keyChars(1)->commit(edit, 3, 0, "Hygiene rating"), CellCommit::Changed);
    EXPECT_EQ(keyChar(2, 3).Name, "Hygiene rating");
    EXPECT_EQ(upperBounds(data, kMode)[3].Name, "Hygiene rating");

    ask.yes = false;
    EXPECT_FALSE(keyChars(1)->remove(edit, ask, 1, 0));
    EXPECT_EQ(ask.asked.back(), "Delete Key Characteristic 'Reliability'?");
    EXPECT_EQ(keyCharNames(0).size(), 4u);
    ask.yes = true;
    ASSERT_TRUE(keyChars(1)->remove(edit, ask, 1, 0));
    for (int item = 0; item < 3; ++item)
        EXPECT_EQ(keyCharNames(item), (std::vector<std::string>{"Price", "Service", "Hygiene rating"}));
    EXPECT_EQ(lowerBounds(data, kMode).Count(), 3);
    EXPECT_EQ(upperBounds(data, kMode)[1].Name, "Service");
}

TEST_F(KeyCharOps, SortingByOneItemsMatchOrdersEveryItemAndKeepsEachBound)
{
    rate(1, {4, 9, 6}); // Canteens: Reliability, Service, Price
    rate(0, {2, 3, 8});
    lowerBounds(data, kMode)[0].Match = 2; // Price
    upperBounds(data, kMode)[1].Importance = 8; // Reliability
    lowerBounds(data, kMode)[2].Importance = 3; // Service

    ASSERT_TRUE(keyChars(1)->sort(edit, 2));
    EXPECT_EQ(undo.count(), 1);
    EXPECT_TRUE(data.Modified);
    const std::vector<std::string> order{"Reliability", "Service", "Price"};
    for (int item = 0; item < 3; ++item)
        EXPECT_EQ(keyCharNames(item), order) << item;
    EXPECT_EQ(keyChar(0, 0).Match, 3) << "each match moved with its key characteristic";
    EXPECT_EQ(keyChar(0, 2).Match, 2);
    const auto& low = lowerBounds(data, kMode);
    const auto& high = upperBounds(data, kMode);
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(low[k].Name, order[static_cast<std::size_t>(k)]);
        EXPECT_EQ(high[k].Name, order[static_cast<std::size_t>(k)]);
    }
    EXPECT_EQ(high[0].Importance, 8);
    EXPECT_EQ(low[1].Importance, 3);
    EXPECT_EQ(low[2].Match, 2);
}

TEST_F(KeyCharOps, SortingByNameUsesTheFirstItemsNamesAndByImportanceDescends)
{
    setImportance(edit, kMode, 0, "2");
    setImportance(edit, kMode, 1, "9");
    setImportance(edit, kMode, 2, "5");
    ASSERT_TRUE(keyChars(2)->sort(edit, 1));
    EXPECT_EQ(keyCharNames(2), (std::vector<std::string>{"Reliability", "Service", "Price"}));
    ASSERT_TRUE(keyChars(1)->sort(edit, 0));
    for (int item = 0; item < 3; ++item)
        EXPECT_EQ(keyCharNames(item), (std::vector<std::string>{"Price", "Reliability", "Service"}));
    EXPECT_EQ(keyChar(1, 1).Importance, 9);
}

TEST_F(KeyCharOps, AnItemWhoseOnlyKeyCharacteristicDoesNotApplyPassesAndIsNotOnTheGraph)
{
    ASSERT_TRUE(keyChars(0)->remove(edit, ask, 2, 0));
    ASSERT_TRUE(keyChars(0)->remove(edit, ask, 1, 0));
    rate(0, {9});
    rate(1, {3});
    rate(2, {3});
    lowerBounds(data, kMode)[0].Match = 5;
    keyChar(1, 0).Excluded = true;
    EXPECT_TRUE(passesFilter(data, kMode, list(kMode)[0]));
    EXPECT_TRUE(passesFilter(data, kMode, list(kMode)[1]));
    EXPECT_FALSE(passesFilter(data, kMode, list(kMode)[2]));

    const auto rows = buildGraphRows(data, kMode, {});
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0].caption, "Hotels");
    EXPECT_EQ(rows[2].caption, "Bakeries");
    for (const auto& row : rows)
        EXPECT_NE(row.owner, 1);
}

TEST_F(KeyCharOps, LoweringAMatchBoundLetsAnItemPassAgain)
{
    rate(1, {4, 5, 5});
    ASSERT_EQ(setBound(data, kMode, 0, BoundField::MatchFrom, "5").value, 5);
    EXPECT_FALSE(passesFilter(data, kMode, list(kMode)[1]));
    EXPECT_FALSE(passesFilter(data, kMode, list(kMode)[2])) << "match 1 is below 5 too";
    setBound(data, kMode, 0, BoundField::MatchFrom, "4");
    EXPECT_TRUE(passesFilter(data, kMode, list(kMode)[1]));

    // Importance is shared, so an importance bound passes or fails all items alike.
    setImportance(edit, kMode, 2, "3");
    setBound(data, kMode, 2, BoundField::ImpFrom, "4");
    for (int item = 0; item < 3; ++item)
        EXPECT_FALSE(passesFilter(data, kMode, list(kMode)[item])) << item;
}

TEST_F(KeyCharOps, BoundsAreLimitedAndTakeNoUndoStep)
{
    const struct {
        const char* text;
        int32_t value;
        bool limited;
    } cases[] = {{"99", 10, true}, {"10", 10, false}, {"", 1, true}, {"0", 1, true}, {" 4", 4, false}};
    for (const auto& c : cases) {
        const BoundEntry entry = setBound(data, kMode, 1, BoundField::ImpTo, c.text);
        EXPECT_EQ(entry.value, c.value) << c.text;
        EXPECT_EQ(entry.limited, c.limited) << c.text;
        EXPECT_EQ(boundValue(data, kMode, 1, BoundField::ImpTo), c.value) << c.text;
    }
    EXPECT_EQ(boundValue(data, kMode, 1, BoundField::ImpFrom), 1);
    EXPECT_EQ(boundValue(data, kMode, 7, BoundField::ImpFrom), 0);
    setBound(data, kMode, 7, BoundField::MatchTo, "3"); // no bound there: nothing to store
    EXPECT_FALSE(data.Modified);
    EXPECT_EQ(undo.count(), 0);
}

TEST_F(KeyCharOps, RebuildingBoundsKeepsThemUnlessTheyNoLongerFit)
{
    data.CustFilterLow.Clear();
    data.CustFilterHigh.Clear();
    rebuildBounds(data, kMode);
    ASSERT_EQ(data.CustFilterLow.Count(), 3);
    EXPECT_EQ(data.CustFilterHigh[2].Name, "Service");
    EXPECT_EQ(data.CustFilterHigh[2].Importance, 10);
    EXPECT_EQ(data.CustFilterLow[2].Match, 1);

    data.CustFilterLow[1].Match = 4;
    rebuildBounds(data, kMode);
    EXPECT_EQ(data.CustFilterLow[1].Match, 4);

    data.CustFilterHigh.Delete(2);
    rebuildBounds(data, kMode);
    ASSERT_EQ(data.CustFilterHigh.Count(), 3);
    EXPECT_EQ(data.CustFilterLow[1].Match, 1);
    EXPECT_FALSE(data.Modified);
    EXPECT_TRUE(data.ProdFilterLow.Empty()) << "the products have no items";
}

// A case from elsewhere may break the rule that all items share their key characteristics; no
// operation may then reach past an item's list.
TEST_F(KeyCharOps, ItemsWithFewerKeyCharacteristicsAreLeftOutNotOverrun)
{
    list(kMode)[1].KeyChars.Delete(2);
    list(kMode)[1].KeyChars.Delete(1);
    EXPECT_TRUE(setImportance(edit, kMode, 2, "6"));
    EXPECT_EQ(keyChar(0, 2).Importance, 6);
    EXPECT_TRUE(renameKeyChar(edit, kMode, 2, "Support"));
    EXPECT_TRUE(keyChars(2)->sort(edit, 0));
    EXPECT_EQ(keyCharNames(2), (std::vector<std::string>{"Price", "Reliability", "Support"}));
    EXPECT_EQ(keyCharNames(1), (std::vector<std::string>{"Price"}));
    EXPECT_EQ(keyChars(1)->text(data, 2, 0), "");
    EXPECT_TRUE(passesFilter(data, kMode, list(kMode)[1]));
    EXPECT_EQ(keyChars(1)->commit(edit, 2, 2, "4"), CellCommit::Unchanged);
    ASSERT_TRUE(keyChars(0)->remove(edit, ask, 2, 0));
    EXPECT_EQ(keyCharNames(1).size(), 1u);
    EXPECT_EQ(keyCharNames(0).size(), 2u);
}

TEST_F(KeyCharOps, FilterBoxNamesTheCurrentRowsKeyCharacteristic)
{
    FilterBox box = filterBoxFor(data, kMode, 1, 2);
    EXPECT_EQ(box.caption, "Filtering 'Reliability'");
    EXPECT_TRUE(box.enabled);
    toggleApplicability(edit, kMode, 1, 1);
    box = filterBoxFor(data, kMode, 1, 2);
    EXPECT_EQ(box.caption, "Filtering 'Reliability'");
    EXPECT_FALSE(box.enabled);
    for (int row : {0, 4, 9}) {
        box = filterBoxFor(data, kMode, 1, row);
        EXPECT_EQ(box.caption, "Filtering") << row;
        EXPECT_FALSE(box.enabled) << row;
    }
    EXPECT_FALSE(filterBoxFor(data, kMode, -1, 1).enabled);
}

TEST_F(KeyCharOps, GraphListsEachItemOverItsPassingKeyCharacteristics)
{
    rate(0, {5, 8, 2});
    setImportance(edit, kMode, 0, "7");
    setImportance(edit, kMode, 1, "9");
    setImportance(edit, kMode, 2, "9");
    rate(1, {1, 1, 1});
    rate(2, {1, 1, 1});
    const portfolio::PlotFilter filter{{1, 10}, {4, 10}};
    const auto rows = buildGraphRows(data, kMode, filter);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0], portfolio::PlotRow::headingRow("Hotels", 0));
    EXPECT_EQ(rows[1], portfolio::PlotRow::entryRow("   Price", 7, 5, 0, 0)) << "importance vertical, match horizontal";
    EXPECT_EQ(rows[2], portfolio::PlotRow::entryRow("   Reliability", 9, 8, 0, 1));

    EXPECT_TRUE(passesGraphFilter(list(kMode)[0], filter));
    EXPECT_FALSE(passesGraphFilter(list(kMode)[1], filter));
    EXPECT_TRUE(passesGraphFilter(TCustProd{}, filter)) << "no key characteristics: satisfies";
}

TEST_F(KeyCharOps, MarketPotentialIsTheItemsOwnList)
{
    EXPECT_EQ(marketPotentialGrid(kMode, [] { return 1; })->commit(edit, 0, 0, "Kitchens"), CellCommit::Added);
    EXPECT_EQ(list(kMode)[1].MarketPotential[0].Rank, 1);
    EXPECT_TRUE(list(kMode)[0].MarketPotential.Empty());
    EXPECT_EQ(marketPotentialGrid(kMode, [] { return 0; })->count(data), 0);
    EXPECT_EQ(marketPotentialGrid(kMode, [] { return -1; })->commit(edit, 0, 0, "x"), CellCommit::Unchanged)
        << "no item selected";
}

// Random sequences of key-characteristic edits keep the shared names, order and importance in
// every item and in both bound lists, and every match and bound stays with its key characteristic.
TEST(KeyCharInvariant, RandomEditsKeepEveryItemAlikeAndEveryValueOnItsKeyCharacteristic)
{
    std::mt19937 random(77031);
    const auto pick = [&random](int count) { return std::uniform_int_distribution<int>(0, count - 1)(random); };
    for (int round = 0; round < 40; ++round) {
        TCaseData data;
        UndoStack undo;
        CaseEdit edit(data, undo);
        ScriptedQuestions ask;
        const Mode mode = round % 2 ? Mode::Customers : Mode::Products;
        int serial = 0;
        // Expected per name: importance, each item's match, and the four bounds.
        std::map<std::string, int> importance;
        std::map<std::pair<int, std::string>, int> match;
        std::map<std::string, std::array<int, 4>> bounds;
        const int itemCount = 1 + pick(5);
        for (int i = 0; i < itemCount; ++i)
            addItem(edit, mode, "item" + std::to_string(i));
        auto& list = items(data, mode);
        for (int step = 0; step < 60; ++step) {
            const int count = list[0].KeyChars.Count();
            const int k = count ? pick(count) : -1;
            const std::string name = k >= 0 ? list[0].KeyChars[k].Name : "";
            const int item = pick(itemCount);
            const auto grid = keyCharGrid(mode, [item] { return item; });
            switch (count ? pick(7) : 0) {
            case 0: {
                const std::string added = "K" + std::to_string(++serial);
                addKeyChar(edit, mode, added);
                importance[added] = 1;
                for (int i = 0; i < itemCount; ++i)
                    match[{i, added}] = 1;
                bounds[added] = {1, 10, 1, 10};
                break;
            }
            case 1: {
                const std::string renamed = "K" + std::to_string(++serial);
                renameKeyChar(edit, mode, k, renamed);
                importance[renamed] = importance[name];
                bounds[renamed] = bounds[name];
                for (int i = 0; i < itemCount; ++i)
                    match[{i, renamed}] = match[{i, name}];
                break;
            }
            case 2: {
                const int value = 1 + pick(10);
                setImportance(edit, mode, k, std::to_string(value));
                importance[name] = value;
                break;
            }
            case 3: {
                const int value = 1 + pick(10);
                grid->commit(edit, k, 2, std::to_string(value));
                match[{item, name}] = value;
                break;
            }
            case 4:
                grid->remove(edit, ask, k, 0);
                break;
            case 5: {
                const int field = pick(4);
                const int value = 1 + pick(10);
                setBound(data, mode, k, static_cast<BoundField>(field), std::to_string(value));
                bounds[name][static_cast<std::size_t>(field)] = value;
                break;
            }
            case 6:
                grid->sort(edit, pick(3));
                break;
            }
            const auto& low = lowerBounds(data, mode);
            const auto& high = upperBounds(data, mode);
            const int now = list[0].KeyChars.Count();
            ASSERT_EQ(low.Count(), now);
            ASSERT_EQ(high.Count(), now);
            for (int i = 0; i < itemCount; ++i) {
                ASSERT_EQ(list[i].KeyChars.Count(), now) << "round " << round << " step " << step;
                for (int j = 0; j < now; ++j) {
                    const auto& keyChar = list[i].KeyChars[j];
                    ASSERT_EQ(keyChar.Name, list[0].KeyChars[j].Name) << "round " << round << " step " << step;
                    ASSERT_EQ(keyChar.Importance, importance[keyChar.Name]);
                    ASSERT_EQ(keyChar.Match, (match[{i, keyChar.Name}]));
                }
            }
            for (int j = 0; j < now; ++j) {
                const auto& expected = bounds[list[0].KeyChars[j].Name];
                ASSERT_EQ(low[j].Name, list[0].KeyChars[j].Name);
                ASSERT_EQ(high[j].Name, list[0].KeyChars[j].Name);
                ASSERT_EQ((std::array<int, 4>{low[j].Importance, high[j].Importance, low[j].Match, high[j].Match}),
                          expected)
                    << "round " << round << " step " << step;
            }
        }
    }
}
