#include "workshops/customers/grouping_ops.h"

#include <gtest/gtest.h>

#include "cust_prod_fixture.h"
#include "model/case_file.h"
#include "model/list_grid.h"
#include "workshops/customers/key_char_ops.h"

using namespace cust_prod;
using namespace testing_support;

namespace {

// Customers rated on one key characteristic, "Service", bounded to match 5..10 on the data page.
class Grouping : public CustProdTest {
protected:
    static constexpr Mode kMode = Mode::Customers;

    Grouping()
    {
        for (const char* name : {"Hotels", "bakeries", "Canteens", "Airlines", "Care homes"})
            addItem(edit, kMode, name);
        addKeyChar(edit, kMode, "Service");
        const int matches[] = {7, 4, 5, 9, 4};
        for (int i = 0; i < 5; ++i)
            list(kMode)[i].KeyChars[0].Match = matches[i];
        setBound(data, kMode, 0, BoundField::MatchFrom, "5");
        settle();
    }

    ItemFilter dataPageFilter()
    {
        return [this](const TCustProd& item) { return passesFilter(data, kMode, item); };
    }

    static std::vector<std::string> shown(const std::vector<GroupingEntry>& entries, bool selectedOnly = false)
    {
        std::vector<std::string> result;
        for (const auto& entry : entries)
            if (!selectedOnly || entry.selected)
                result.push_back(entry.name);
        return result;
    }
};

} // namespace

TEST_F(Grouping, NewGroupOffersSatisfyingItemsPreselectedAndTheOthersApart)
{
    const GroupingLists lists = setUpGrouping(data, kMode, -1, dataPageFilter());
    EXPECT_EQ(shown(lists.satisfying), (std::vector<std::string>{"Airlines", "Canteens", "Hotels"}));
    EXPECT_EQ(shown(lists.satisfying, true), shown(lists.satisfying));
    EXPECT_EQ(shown(lists.others), (std::vector<std::string>{"bakeries", "Care homes"}));
    EXPECT_TRUE(shown(lists.others, true).empty());
    EXPECT_TRUE(lists.contents.empty());

    GroupingLists moved = lists;
    moveToContents(moved, false);
    EXPECT_EQ(shown(moved.contents), shown(lists.satisfying)) << "'>' takes exactly the preselected";
    EXPECT_TRUE(shown(moved.contents, true).empty()) << "moved entries arrive unselected";
    EXPECT_TRUE(moved.satisfying.empty());
    EXPECT_EQ(moved.others.size(), 2u);

    moveToContents(moved, true);
    EXPECT_EQ(shown(moved.contents),
              (std::vector<std::string>{"Airlines", "bakeries", "Canteens", "Care homes", "Hotels"}));
}

TEST_F(Grouping, MembersAreStoredInTheAlphabeticalOrderOfTheirNames)
{
    GroupingLists lists = setUpGrouping(data, kMode, -1, dataPageFilter());
    moveToContents(lists, false);
    const int group = createGroup(edit, kMode, "Hospitality", lists.contents);
    ASSERT_EQ(group, 5);
    EXPECT_EQ(members(kMode, group), (std::vector<int>{3, 2, 0})); // Airlines, Canteens, Hotels
    EXPECT_EQ(itemGrid(kMode)->text(data, 5, 0), "Hospitality (Group)");
    EXPECT_TRUE(data.Modified);
    EXPECT_EQ(undo.count(), 1);
}

TEST_F(Grouping, ANewGroupGetsTheKeyCharacteristicsAndPlanRowsButNoAmounts)
{
    list(kMode)[0].Capabilities[1].ImpToday = 900;
    list(kMode)[0].KeyChars[0].Importance = 8;
    GroupingLists lists = setUpGrouping(data, kMode, -1, dataPageFilter());
    moveToContents(lists, true);
    const int group = createGroup(edit, kMode, "All", lists.contents);
    const TCustProd& created = list(kMode)[group];
    ASSERT_EQ(created.KeyChars.Count(), 1);
    EXPECT_EQ(created.KeyChars[0].Name, "Service");
    EXPECT_EQ(created.KeyChars[0].Importance, 8);
    EXPECT_EQ(created.KeyChars[0].Match, 1);
    EXPECT_FALSE(created.KeyChars[0].Excluded);
    ASSERT_EQ(created.Capabilities.Count(), 17);
    EXPECT_EQ(created.Capabilities[1].ImpToday, 0);
    EXPECT_TRUE(created.Description.empty());

    addPlain(Mode::Products, {"Oven", "Counter"});
    list(Mode::Products)[0].Capabilities.Add().Name = "Welding";
    GroupingLists products = setUpGrouping(data, Mode::Products, -1, [](const TCustProd&) { return true; });
    moveToContents(products, true);
    const int productGroup = createGroup(edit, Mode::Products, "Line", products.contents);
    EXPECT_TRUE(list(Mode::Products)[productGroup].Capabilities.Empty());
    EXPECT_EQ(members(Mode::Products, productGroup), (std::vector<int>{1, 0}));
}

TEST_F(Grouping, GroupsAreNeverOfferedAsMembers)
{
    makeGroup(kMode, 3, {0, 1});
    const GroupingLists lists = setUpGrouping(data, kMode, -1, [](const TCustProd&) { return true; });
    for (const auto* entries : {&lists.satisfying, &lists.others, &lists.contents})
        for (const auto& entry : *entries)
            EXPECT_NE(entry.name, "Airlines");
    EXPECT_EQ(lists.satisfying.size(), 4u);
}

TEST_F(Grouping, ChangingAGroupPreselectsMembersTheFilterNoLongerProposes)
{
    addPlain(kMode, {"Institutions"});
    makeGroup(kMode, 5, {4, 2}); // Care homes (match 4), Canteens (match 5)
    list(kMode)[5].Description = "Public buyers";
    GroupingLists lists = setUpGrouping(data, kMode, 5, dataPageFilter());
    EXPECT_EQ(shown(lists.contents), (std::vector<std::string>{"Canteens", "Care homes"}));
    EXPECT_EQ(shown(lists.contents, true), (std::vector<std::string>{"Care homes"}));
    EXPECT_EQ(shown(lists.satisfying), (std::vector<std::string>{"Airlines", "Hotels"}));
    EXPECT_EQ(shown(lists.others), (std::vector<std::string>{"bakeries"}));

    moveFromContents(lists, false, data, kMode, dataPageFilter());
    EXPECT_EQ(shown(lists.others), (std::vector<std::string>{"bakeries", "Care homes"}));
    EXPECT_FALSE(lists.others[1].selected);
    EXPECT_EQ(shown(lists.contents), (std::vector<std::string>{"Canteens"}));

    ASSERT_TRUE(modifyGroup(edit, kMode, 5, "Public", lists.contents));
    EXPECT_EQ(list(kMode)[5].Name, "Public");
    EXPECT_EQ(members(kMode, 5), (std::vector<int>{2}));
    EXPECT_EQ(list(kMode)[5].Description, "Public buyers") << "only the name and the members change";
    EXPECT_EQ(undo.count(), 1);
}

TEST_F(Grouping, MovingBackFollowsTheFilterAsItIsNow)
{
    GroupingLists lists = setUpGrouping(data, kMode, -1, dataPageFilter());
    moveToContents(lists, true);
    moveFromContents(lists, true, data, kMode, [](const TCustProd& item) { return item.Name.size() > 7; });
    EXPECT_EQ(shown(lists.satisfying), (std::vector<std::string>{"Airlines", "bakeries", "Canteens", "Care homes"}));
    EXPECT_EQ(shown(lists.others), (std::vector<std::string>{"Hotels"}));
    EXPECT_TRUE(lists.contents.empty());
}

TEST_F(Grouping, TwoItemsOfTheSameNameAreEachTheirOwnMember)
{
    list(kMode)[1].Name = "Hotels";
    GroupingLists lists = setUpGrouping(data, kMode, -1, [](const TCustProd&) { return true; });
    for (auto& entry : lists.satisfying)
        entry.selected = entry.name == "Hotels";
    moveToContents(lists, false);
    ASSERT_EQ(lists.contents.size(), 2u);
    const int group = createGroup(edit, kMode, "Both hotels", lists.contents);
    EXPECT_EQ(members(kMode, group), (std::vector<int>{0, 1}));
}

TEST_F(Grouping, AGroupNeedsANameToBeCreatedAndMembersToBeStored)
{
    const std::vector<GroupingEntry> none;
    const std::vector<GroupingEntry> one{{0, "Hotels", false}};
    EXPECT_FALSE(canCreateGroup("", one));
    EXPECT_FALSE(canCreateGroup("Empty", none));
    EXPECT_TRUE(canCreateGroup("One", one));
    EXPECT_EQ(createGroup(edit, kMode, "Empty", none), -1);
    EXPECT_EQ(createGroup(edit, kMode, "", one), -1);
    EXPECT_EQ(list(kMode).Count(), 5);

    makeGroup(kMode, 4, {0});
    EXPECT_FALSE(canModifyGroup(none));
    EXPECT_FALSE(modifyGroup(edit, kMode, 4, "Renamed", none));
    EXPECT_EQ(members(kMode, 4), (std::vector<int>{0}));
    EXPECT_TRUE(modifyGroup(edit, kMode, 4, "", one)) << "a change keeps whatever name is typed";
    EXPECT_EQ(list(kMode)[4].Name, "");
    EXPECT_FALSE(modifyGroup(edit, kMode, 2, "not a group", one));
}

TEST_F(Grouping, EntriesThatNoLongerNameAnOrdinaryItemAreSkipped)
{
    makeGroup(kMode, 3, {0});
    const std::vector<GroupingEntry> contents{{9, "gone", false}, {3, "Airlines", false}, {1, "bakeries", false}};
    const int group = createGroup(edit, kMode, "Mixed", contents);
    EXPECT_EQ(members(kMode, group), (std::vector<int>{1}));
    EXPECT_EQ(createGroup(edit, kMode, "Nothing left", {{9, "gone", false}}), -1);
}

TEST_F(Grouping, CreatingWhileChangingAGroupLeavesTheChangedOneAsItWas)
{
    makeGroup(kMode, 4, {0, 1});
    GroupingLists lists = setUpGrouping(data, kMode, 4, dataPageFilter());
    const int created = createGroup(edit, kMode, "Copy", lists.contents);
    EXPECT_EQ(created, 5);
    EXPECT_EQ(members(kMode, 5), (std::vector<int>{1, 0}));
    EXPECT_EQ(members(kMode, 4), (std::vector<int>{0, 1}));
}

TEST_F(Grouping, AStoredGroupIsStillAGroupAfterSavingAndOpening)
{
    GroupingLists lists = setUpGrouping(data, kMode, -1, dataPageFilter());
    moveToContents(lists, false);
    const int group = createGroup(edit, kMode, "Hospitality", lists.contents);
    TCaseData reopened;
    ASSERT_FALSE(decodeCase(encodeCase(data), reopened));
    EXPECT_TRUE(isGroup(reopened.Customers[group]));
    EXPECT_EQ(reopened.Customers[group].Members->Count(), 3);
}
