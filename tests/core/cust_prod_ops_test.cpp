#include "workshops/customers/cust_prod_ops.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "cli/case_index_check.h"
#include "cust_prod_fixture.h"
#include "model/list_grid.h"
#include "reference_check.h"
#include "workshops/customers/grouping_ops.h"
#include "workshops/customers/key_char_ops.h"

using namespace cust_prod;
using namespace testing_support;

namespace {

class ItemOps : public CustProdTest, public ::testing::WithParamInterface<Mode> {
protected:
    Mode mode() const { return GetParam(); }
};

std::string modeName(const ::testing::TestParamInfo<Mode>& info)
{
    return info.param == Mode::Customers ? "Customers" : "Products";
}

std::vector<std::pair<int, int>> capabilityRefs(const TMarketGroup& group)
{
    std::vector<std::pair<int, int>> refs;
    for (const auto& ref : group.CapabilityRefs)
        refs.emplace_back(ref.Rank, ref.Link);
    return refs;
}

std::vector<int> ranks(const TDelList<TRankedItem>& refs)
{
    std::vector<int> values;
    for (const auto& ref : refs)
        values.push_back(ref.Rank);
    return values;
}

// What one set of references has that the other lacks, readably.
std::string difference(const ResolvedRefs& actual, const ResolvedRefs& expected)
{
    std::string text;
    for (const ResolvedRef& ref : actual)
        if (actual.count(ref) > expected.count(ref))
            text += "unexpected " + ref.holder + " -> " + ref.target + "\n";
    for (const ResolvedRef& ref : expected)
        if (expected.count(ref) > actual.count(ref))
            text += "missing " + ref.holder + " -> " + ref.target + "\n";
    return text;
}

} // namespace

TEST_P(ItemOps, EmptyListShowsTheTitleAndOneEmptyRow)
{
    EXPECT_EQ(itemGrid(mode())->title(data, 0), "Name");
    EXPECT_EQ(itemGrid(mode())->text(data, 0, 0), "");
}

TEST_P(ItemOps, GroupRowShowsItsSuffixButEditsTheBareName)
{
    addPlain(mode(), {"Hotels", "Canteens", "Institutional"});
    makeGroup(mode(), 2, {0, 1});
    EXPECT_EQ(itemGrid(mode())->text(data, 0, 0), "Hotels");
    EXPECT_EQ(itemGrid(mode())->text(data, 2, 0), "Institutional (Group)");
    EXPECT_EQ(list(mode())[2].Name, "Institutional");
    EXPECT_EQ(itemGrid(mode())->text(data, 3, 0), "");
}

TEST_P(ItemOps, FirstItemGetsNoKeyCharacteristicsALaterOneCopiesThemWithMatchOne)
{
    EXPECT_EQ(itemGrid(mode())->commit(edit, 0, 0, "First"), CellCommit::Added);
    EXPECT_TRUE(list(mode())[0].KeyChars.Empty());
    EXPECT_TRUE(data.Modified);
    EXPECT_EQ(undo.count(), 1);

    addKeyChar(edit, mode(), "Price");
    addKeyChar(edit, mode(), "Speed");
    setImportance(edit, mode(), 1, "7");
    list(mode())[0].KeyChars[0].Match = 4;
    toggleApplicability(edit, mode(), 0, 1);

    EXPECT_EQ(itemGrid(mode())->commit(edit, 1, 0, "Second"), CellCommit::Added);
    const auto& second = list(mode())[1];
    ASSERT_EQ(second.KeyChars.Count(), 2);
    for (int k = 0; k < 2; ++k) {
        EXPECT_EQ(second.KeyChars[k].Name, list(mode())[0].KeyChars[k].Name);
        EXPECT_EQ(second.KeyChars[k].Importance, list(mode())[0].KeyChars[k].Importance);
        EXPECT_EQ(second.KeyChars[k].Match, 1);
        EXPECT_FALSE(second.KeyChars[k].Excluded);
    }
    EXPECT_EQ(second.KeyChars[1].Importance, 7);
}

TEST_P(ItemOps, ACustomerStartsWithThePlanAProductWithoutCapabilities)
{
    addItem(edit, mode(), "First");
    const auto& first = list(mode())[0];
    if (mode() == Mode::Products) {
        EXPECT_TRUE(first.Capabilities.Empty());
        list(mode())[0].Capabilities.Add().Name = "Welding";
        addItem(edit, mode(), "Second");
        EXPECT_TRUE(list(mode())[1].Capabilities.Empty()) << "special capabilities are the product's own";
        return;
    }
    ASSERT_EQ(first.Capabilities.Count(), 17);
    EXPECT_EQ(first.Capabilities[0].Name, "Income");
    EXPECT_EQ(first.Capabilities[1].Name, "<new entry>");
    EXPECT_EQ(first.Capabilities[16].Name, "Profit");
    EXPECT_EQ(first.Capabilities[16].ImpTomorrow, 1);

    // The planner renamed an entry row, added one and typed amounts: a new customer gets the
    // same rows with zero amounts.
    auto& rows = list(mode())[0].Capabilities;
    rows[1].Name = "Equipment sales";
    rows[1].ImpToday = 500;
    rows[1].Acquisition = 600;
    rows[1].Placement = 700;
    auto extra = std::make_unique<TCapability>();
    extra->Name = "Service";
    extra->ImpTomorrow = 0;
    extra->ImpToday = 40;
    rows.Insert(2, std::move(extra));
    rows[0].ImpToday = 540;

    addItem(edit, mode(), "Second");
    const auto& copy = list(mode())[1].Capabilities;
    ASSERT_EQ(copy.Count(), 18);
    for (int r = 0; r < copy.Count(); ++r) {
        EXPECT_EQ(copy[r].Name, rows[r].Name) << r;
        EXPECT_EQ(copy[r].ImpTomorrow, rows[r].ImpTomorrow) << r;
        EXPECT_EQ(copy[r].ImpToday, 0) << r;
        EXPECT_EQ(copy[r].Acquisition, 0) << r;
        EXPECT_EQ(copy[r].Placement, 0) << r;
    }
}

TEST_P(ItemOps, RenamingToTheSameNameIsNoStep)
{
    addPlain(mode(), {"Hotels"});
    EXPECT_EQ(itemGrid(mode())->commit(edit, 0, 0, "Hotels"), CellCommit::Unchanged);
    EXPECT_FALSE(data.Modified);
    EXPECT_EQ(undo.count(), 0);
    EXPECT_EQ(itemGrid(mode())->commit(edit, 0, 0, "hotels"), CellCommit::Changed);
    EXPECT_EQ(list(mode())[0].Name, "hotels");
    EXPECT_EQ(undo.count(), 1);
    EXPECT_EQ(itemGrid(mode())->commit(edit, 4, 0, "nowhere"), CellCommit::Unchanged);
    EXPECT_EQ(list(mode()).Count(), 1);
}

TEST_P(ItemOps, StoringUnchangedTextsIsNoStep)
{
    addPlain(mode(), {"Hotels"});
    list(mode())[0].Description = "Large kitchens";
    EXPECT_FALSE(storeTexts(edit, mode(), 0, "Large kitchens", ""));
    EXPECT_FALSE(data.Modified);
    EXPECT_TRUE(storeTexts(edit, mode(), 0, "Large kitchens", "Uptime\r\nService"));
    EXPECT_EQ(list(mode())[0].KeyNeeds, "Uptime\r\nService");
    EXPECT_EQ(undo.count(), 1);
    EXPECT_TRUE(data.Modified);
}

TEST_P(ItemOps, DeleteAsksAndNoLeavesEverythingAlone)
{
    addPlain(mode(), {"a", "b"});
    ask.yes = false;
    EXPECT_FALSE(itemGrid(mode())->remove(edit, ask, 1, 0));
    EXPECT_EQ(ask.asked, (std::vector<std::string>{"Delete item 'b'?"}));
    EXPECT_EQ(list(mode()).Count(), 2);
    EXPECT_FALSE(data.Modified);
    EXPECT_EQ(undo.count(), 0);
}

TEST_P(ItemOps, DeletingAMemberDropsItAndMovesLaterMembersDown)
{
    addPlain(mode(), {"p0", "p1", "p2", "p3", "p4", "group"});
    makeGroup(mode(), 5, {1, 2, 4});
    ASSERT_TRUE(itemGrid(mode())->remove(edit, ask, 2, 0));
    EXPECT_EQ(names(mode()), (std::vector<std::string>{"p0", "p1", "p3", "p4", "group"}));
    EXPECT_EQ(members(mode(), 4), (std::vector<int>{1, 3}));
    EXPECT_TRUE(data.Modified);
    EXPECT_EQ(undo.count(), 1);
    ASSERT_TRUE(edit.undo());
    EXPECT_EQ(members(mode(), 5), (std::vector<int>{1, 2, 4}));
}

TEST_P(ItemOps, DeletingTheLastItemDropsTheFilterBounds)
{
    addItem(edit, mode(), "only");
    addKeyChar(edit, mode(), "Price");
    ASSERT_EQ(lowerBounds(data, mode()).Count(), 1);
    ASSERT_TRUE(itemGrid(mode())->remove(edit, ask, 0, 0));
    EXPECT_TRUE(lowerBounds(data, mode()).Empty());
    EXPECT_TRUE(upperBounds(data, mode()).Empty());

    // A new first item's key characteristic gets bounds of its own at position 0.
    addItem(edit, mode(), "new");
    addKeyChar(edit, mode(), "Speed");
    ASSERT_EQ(lowerBounds(data, mode()).Count(), 1);
    EXPECT_EQ(lowerBounds(data, mode())[0].Name, "Speed");
}

TEST_P(ItemOps, AGroupThatLostItsLastMemberShowsAsAnOrdinaryItem)
{
    addPlain(mode(), {"member", "group"});
    makeGroup(mode(), 1, {0});
    ASSERT_TRUE(itemGrid(mode())->remove(edit, ask, 0, 0));
    // The case file would read the empty member list back as none, so the window shows what a
    // reopened case would.
    EXPECT_FALSE(isGroup(list(mode())[0]));
    EXPECT_EQ(itemGrid(mode())->text(data, 0, 0), "group");
}

TEST_F(CustProdTest, DeletingAProductRemovesItsServiceAndCapabilityEntries)
{
    addPlain(Mode::Products, {"p0", "p1", "p2"});
    for (auto& product : list(Mode::Products))
        product.Capabilities.Add().Name = product.Name + " skill";
    data.Capabilities.Add().Name = "general";
    auto& group = data.MarketGroups.Add();
    for (int rank : {1, 2, 0})
        group.ServiceRefs.Add().Rank = rank;
    for (auto [owner, link] : std::initializer_list<std::pair<int, int>>{{1, 0}, {-1, 0}, {2, 0}, {0, 0}}) {
        auto& ref = group.CapabilityRefs.Add();
        ref.Rank = owner;
        ref.Link = link;
    }
    group.CustomerRefs.Add().Rank = 1; // a customer position: untouched by products

    ASSERT_TRUE(itemGrid(Mode::Products)->remove(edit, ask, 1, 0));
    EXPECT_EQ(ranks(group.ServiceRefs), (std::vector<int>{1, 0}));
    EXPECT_EQ(capabilityRefs(group), (std::vector<std::pair<int, int>>{{-1, 0}, {1, 0}, {0, 0}}));
    EXPECT_EQ(ranks(group.CustomerRefs), (std::vector<int>{1}));
}

TEST_F(CustProdTest, DeletingACustomerRemovesItsMarketGroupEntries)
{
    addPlain(Mode::Customers, {"c0", "c1", "c2"});
    addPlain(Mode::Products, {"p0", "p1", "p2"});
    auto& group = data.MarketGroups.Add();
    for (int rank : {2, 1, 0})
        group.CustomerRefs.Add().Rank = rank;
    group.ServiceRefs.Add().Rank = 2;
    ASSERT_TRUE(itemGrid(Mode::Customers)->remove(edit, ask, 1, 0));
    EXPECT_EQ(ranks(group.CustomerRefs), (std::vector<int>{1, 0}));
    EXPECT_EQ(ranks(group.ServiceRefs), (std::vector<int>{2}));
}

TEST_P(ItemOps, SortingByNameRewritesMembersAndMarksModifiedWithoutUndoStep)
{
    addPlain(mode(), {"b", "A", "c", "Z"});
    makeGroup(mode(), 3, {0, 2});
    auto& group = data.MarketGroups.Add();
    auto& refs = mode() == Mode::Customers ? group.CustomerRefs : group.ServiceRefs;
    for (int rank : {0, 1, 3})
        refs.Add().Rank = rank;

    ASSERT_TRUE(itemGrid(mode())->sort(edit, 0));
    EXPECT_EQ(names(mode()), (std::vector<std::string>{"A", "b", "c", "Z"}));
    EXPECT_EQ(members(mode(), 3), (std::vector<int>{1, 2}));
    EXPECT_EQ(ranks(refs), (std::vector<int>{1, 0, 3}));
    EXPECT_TRUE(data.Modified);
    EXPECT_EQ(undo.count(), 0);
}

TEST_F(CustProdTest, SortingProductsRewritesSpecialCapabilityOwnersOnly)
{
    addPlain(Mode::Products, {"b", "a"});
    for (auto& product : list(Mode::Products))
        product.Capabilities.Add().Name = product.Name + " skill";
    data.Capabilities.Add().Name = "general";
    auto& group = data.MarketGroups.Add();
    for (auto [owner, link] : std::initializer_list<std::pair<int, int>>{{0, 0}, {-1, 0}, {1, 0}}) {
        auto& ref = group.CapabilityRefs.Add();
        ref.Rank = owner;
        ref.Link = link;
    }
    ASSERT_TRUE(itemGrid(Mode::Products)->sort(edit, 0));
    EXPECT_EQ(capabilityRefs(group), (std::vector<std::pair<int, int>>{{1, 0}, {-1, 0}, {0, 0}}));
}

TEST_P(ItemOps, SortingFewerThanTwoItemsDoesNothing)
{
    addPlain(mode(), {"only"});
    EXPECT_FALSE(itemGrid(mode())->sort(edit, 0));
    EXPECT_FALSE(data.Modified);
}

INSTANTIATE_TEST_SUITE_P(BothModes, ItemOps, ::testing::Values(Mode::Customers, Mode::Products), modeName);

// Long random sequences of deleting, sorting and grouping on generated cases: after every step
// each reference still names the item it named, references to deleted items are gone, and a new
// or changed group names exactly the members chosen for it.
TEST(CustProdReferences, RandomDeletesSortsAndGroupingKeepEveryReferenceOnItsItem)
{
    std::mt19937 random(5202611);
    const auto pick = [&random](int count) { return std::uniform_int_distribution<int>(0, count - 1)(random); };
    int serial = 0;
    for (int round = 0; round < 80; ++round) {
        TCaseData data;
        fillReferenceCase(data, random);
        UndoStack undo;
        CaseEdit edit(data, undo);
        ScriptedQuestions ask;
        for (int step = 0; step < 40; ++step) {
            ResolvedRefs expected = resolveReferences(data);
            const Mode mode = pick(2) == 0 ? Mode::Customers : Mode::Products;
            auto& list = items(data, mode);
            const int kind = pick(4);
            if (kind == 0 && !list.Empty()) {
                const int k = pick(list.Count());
                std::set<std::string> gone{list[k].Name};
                for (const auto& capability : list[k].Capabilities)
                    gone.insert(capability.Name);
                ASSERT_TRUE(itemGrid(mode)->remove(edit, ask, k, 0));
                expected = withoutEntries(expected, gone);
            } else if (kind == 1) {
                itemGrid(mode)->sort(edit, 0);
            } else {
                // Group a random choice of the ordinary items, new or into an existing group.
                std::vector<int> groups;
                for (int i = 0; i < list.Count(); ++i)
                    if (isGroup(list[i]))
                        groups.push_back(i);
                const int group = kind == 3 && !groups.empty() ? groups[static_cast<std::size_t>(
                                                                     pick(static_cast<int>(groups.size())))]
                                                               : -1;
                GroupingLists lists = setUpGrouping(data, mode, group, [&](const TCustProd&) { return pick(2) == 0; });
                for (auto* from : {&lists.satisfying, &lists.others, &lists.contents})
                    for (auto& entry : *from)
                        entry.selected = pick(2) == 0;
                moveToContents(lists, false);
                moveFromContents(lists, false, data, mode, [](const TCustProd&) { return true; });
                if (lists.contents.empty())
                    continue;
                const std::string name = (mode == Mode::Customers ? "C" : "P") + std::string("new") +
                                         std::to_string(++serial);
                const std::string holderPrefix = "group ";
                if (group >= 0) {
                    // The group's own members are replaced; whatever names the group by
                    // position now shows its new name.
                    const std::string oldName = list[group].Name;
                    ResolvedRefs renamed;
                    for (const ResolvedRef& ref : expected)
                        if (ref.holder != holderPrefix + oldName + " member")
                            renamed.insert({ref.holder, ref.target == oldName ? name : ref.target});
                    expected = std::move(renamed);
                    ASSERT_TRUE(modifyGroup(edit, mode, group, name, lists.contents));
                } else {
                    ASSERT_GE(createGroup(edit, mode, name, lists.contents), 0);
                }
                for (const auto& entry : lists.contents)
                    expected.insert({holderPrefix + name + " member", entry.name});
            }
            ASSERT_EQ(difference(resolveReferences(data), expected), "")
                << "round " << round << ", step " << step << ", kind " << kind;
            ASSERT_TRUE(findIndexProblems(data).empty()) << "round " << round << ", step " << step;
        }
    }
}
