#include "model/quick_sort.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Entry {
    std::string Name;
    int Rank = 0;

    void Assign(const Entry& source) { *this = source; }
};

std::vector<std::string> names(const TDelList<Entry>& list)
{
    std::vector<std::string> out;
    for (const auto& e : list)
        out.push_back(e.Name);
    return out;
}

TDelList<Entry> makeList(std::initializer_list<Entry> entries)
{
    TDelList<Entry> list;
    for (const auto& e : entries)
        list.Add(std::make_unique<Entry>(e));
    return list;
}

} // namespace

// The orders below were worked out by hand from the procedure: middle pivot, scan, swap, recurse
// left, loop right. They are what users see after sorting, so any other algorithm fails here.
TEST(QuickSort, EqualKeysLeaveInTheOrderOfTheProcedure)
{
    auto two = makeList({{"a", 1}, {"b", 1}});
    quickSort(two, [](const Entry& e) { return e.Rank; }, SortOrder::Descending);
    EXPECT_EQ(names(two), (std::vector<std::string>{"b", "a"}));

    auto three = makeList({{"a", 1}, {"b", 1}, {"c", 1}});
    quickSort(three, [](const Entry& e) { return e.Rank; }, SortOrder::Ascending);
    EXPECT_EQ(names(three), (std::vector<std::string>{"c", "b", "a"}));

    auto mixed = makeList({{"a", 3}, {"b", 10}, {"c", 7}, {"d", 10}});
    quickSort(mixed, [](const Entry& e) { return e.Rank; }, SortOrder::Descending);
    EXPECT_EQ(names(mixed), (std::vector<std::string>{"d", "b", "c", "a"}));
}

TEST(QuickSort, TextComparesWithoutLetterCase)
{
    auto list = makeList({{"beta", 0}, {"Alpha", 0}, {"gamma", 0}, {"ALPHA2", 0}, {"\xC9t\xE9", 0}, {"\xE9tage", 0}});
    quickSort(list, [](const Entry& e) { return e.Name; }, SortOrder::Ascending);
    EXPECT_EQ(names(list), (std::vector<std::string>{"Alpha", "ALPHA2", "beta", "gamma", "\xE9tage", "\xC9t\xE9"}));

    EXPECT_EQ(compareText("abc", "ABC"), 0);
    EXPECT_LT(compareText("ab", "ABC"), 0);
    EXPECT_EQ(compareText("\x8A", "\x9A"), 0); // S caron in both cases
    EXPECT_NE(compareText("\xD7", "\xF7"), 0); // multiplication and division signs are not letters
}

TEST(QuickSort, SortsLargeListsCompletely)
{
    std::vector<int> values;
    uint32_t seed = 12345;
    for (int k = 0; k < 5000; ++k) {
        seed = seed * 1103515245u + 12345u;
        values.push_back(static_cast<int>((seed >> 16) % 100));
    }
    quickSort(values, [](int v) { return v; }, SortOrder::Descending);
    for (std::size_t k = 1; k < values.size(); ++k)
        ASSERT_GE(values[k - 1], values[k]) << "at " << k;
}

TEST(QuickSort, SwapObserverKeepsAParallelTableInStep)
{
    std::vector<std::string> keys = {"d", "a", "c", "b", "a"};
    std::vector<int> origin = {0, 1, 2, 3, 4};
    int swaps = 0;
    quickSort(
        keys, [](const std::string& s) -> std::string_view { return s; }, SortOrder::Ascending,
        [&](int i, int j) {
            std::swap(origin[static_cast<std::size_t>(i)], origin[static_cast<std::size_t>(j)]);
            ++swaps;
        });
    const std::vector<std::string> start = {"d", "a", "c", "b", "a"};
    for (std::size_t k = 0; k < keys.size(); ++k)
        EXPECT_EQ(keys[k], start[static_cast<std::size_t>(origin[k])]);
    EXPECT_EQ(keys, (std::vector<std::string>{"a", "a", "b", "c", "d"}));
    EXPECT_GT(swaps, 0);
}

TEST(QuickSort, EmptyAndSingleListsAreLeftAlone)
{
    std::vector<int> none;
    quickSort(none, [](int v) { return v; }, SortOrder::Ascending, [](int, int) { FAIL(); });
    std::vector<int> one = {4};
    quickSort(one, [](int v) { return v; }, SortOrder::Ascending, [](int, int) { FAIL(); });
    EXPECT_EQ(one, std::vector<int>{4});
}
