#include "workshops/capabilities/capabilities_ops.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "cli/case_index_check.h"
#include "model/case_data.h"
#include "model/case_edit.h"
#include "model/case_references.h"
#include "model/list_grid.h"
#include "model/questions.h"
#include "reference_check.h"
#include "test_support.h"

using namespace capabilities;
using namespace testing_support;

namespace {

using Ref = std::pair<int, int>; // (Rank = owner, Link = position)

class CapabilityOps : public ::testing::Test {
protected:
    CapabilityOps() { data.Modified = false; }

    TCapability& add(TDelList<TCapability>& list, const std::string& name, int today = 1, int tomorrow = 1)
    {
        auto& capability = list.Add();
        capability.Name = name;
        capability.ImpToday = today;
        capability.ImpTomorrow = tomorrow;
        return capability;
    }

    TMarketGroup& groupReferring(std::initializer_list<Ref> refs)
    {
        auto& group = data.MarketGroups.Add();
        for (auto [owner, link] : refs) {
            auto& ref = group.CapabilityRefs.Add();
            ref.Rank = owner;
            ref.Link = link;
        }
        return group;
    }

    static std::vector<Ref> refsOf(const TMarketGroup& group)
    {
        std::vector<Ref> refs;
        for (const auto& ref : group.CapabilityRefs)
            refs.emplace_back(ref.Rank, ref.Link);
        return refs;
    }

    static std::vector<std::string> names(const TDelList<TCapability>& list)
    {
        std::vector<std::string> out;
        for (const auto& capability : list)
            out.push_back(capability.Name);
        return out;
    }

    static std::unique_ptr<ListGrid> gridOf(int owner)
    {
        return capabilityGrid([owner] { return owner; });
    }

    // No undo step and Modified still clear.
    void expectNoStep() const
    {
        EXPECT_EQ(undo.count(), 0);
        EXPECT_FALSE(data.Modified);
    }

    TCaseData data;
    UndoStack undo;
    CaseEdit edit{data, undo};
    ScriptedQuestions ask;
};

} // namespace

struct ImportanceCase {
    const char* typed;
    int stored;
};

class ImportanceText : public ::testing::TestWithParam<ImportanceCase> {};

TEST_P(ImportanceText, ReadsAsAClampedWholeNumberOrOne)
{
    EXPECT_EQ(readImportance(GetParam().typed), GetParam().stored) << '"' << GetParam().typed << '"';
}

INSTANTIATE_TEST_SUITE_P(CapabilityOps, ImportanceText,
                         ::testing::Values(ImportanceCase{"0", 1}, ImportanceCase{"100", 10}, ImportanceCase{"-5", 1},
                                           ImportanceCase{"7", 7}, ImportanceCase{" 7 ", 7}, ImportanceCase{"07", 7},
                                           ImportanceCase{"+3", 3}, ImportanceCase{"10", 10}, ImportanceCase{"", 1},
                                           ImportanceCase{"-", 1}, ImportanceCase{"+", 1}, ImportanceCase{"  ", 1},
                                           ImportanceCase{"5x", 1}, ImportanceCase{"9 9", 1},
                                           ImportanceCase{"99999999999999999999", 10}));

TEST_F(CapabilityOps, ProductCellsEditThatProductsListAndNeedAProduct)
{
    EXPECT_EQ(gridOf(0)->commit(edit, 0, ColName, "Coding"), CellCommit::Unchanged);
    EXPECT_EQ(gridOf(0)->count(data), 0) << "no products: no capabilities to show";
    EXPECT_FALSE(gridOf(0)->sort(edit, ColName));
    expectNoStep();

    data.Products.Add().Name = "Software";
    data.Products.Add().Name = "Service";
    EXPECT_EQ(gridOf(1)->commit(edit, 0, ColName, "Repairs"), CellCommit::Added);
    EXPECT_EQ(gridOf(1)->commit(edit, 0, ColToday, "6"), CellCommit::Changed);
    EXPECT_TRUE(data.Products[0].Capabilities.Empty());
    ASSERT_EQ(data.Products[1].Capabilities.Count(), 1);
    EXPECT_EQ(data.Products[1].Capabilities[0].ImpToday, 6);
    EXPECT_TRUE(data.Capabilities.Empty());
    EXPECT_EQ(gridOf(3)->text(data, 0, ColName), "") << "a product that does not exist shows nothing";
}

TEST_F(CapabilityOps, DeletingAGeneralCapabilityRenumbersOnlyGeneralReferences)
{
    for (const char* name : {"G0", "G1", "G2"})
        add(data.Capabilities, name);
    auto& product = data.Products.Add();
    add(product.Capabilities, "S0");
    add(product.Capabilities, "S1");
    add(product.Capabilities, "S2");
    auto& first = groupReferring({{-1, 1}, {0, 1}, {-1, 2}, {0, 2}});
    auto& second = groupReferring({{-1, 0}, {-1, 2}});

    ASSERT_TRUE(gridOf(kGeneral)->remove(edit, ask, 1, ColName));
    EXPECT_EQ(ask.asked, (std::vector<std::string>{"Delete General Capability 'G1'?"}));
    EXPECT_EQ(names(data.Capabilities), (std::vector<std::string>{"G0", "G2"}));
    EXPECT_EQ(refsOf(first), (std::vector<Ref>{{0, 1}, {-1, 1}, {0, 2}}));
    EXPECT_EQ(refsOf(second), (std::vector<Ref>{{-1, 0}, {-1, 1}}));
    EXPECT_EQ(undo.count(), 1);

    ASSERT_TRUE(edit.undo());
    EXPECT_EQ(names(data.Capabilities), (std::vector<std::string>{"G0", "G1", "G2"}));
    EXPECT_EQ(refsOf(data.MarketGroups[0]), (std::vector<Ref>{{-1, 1}, {0, 1}, {-1, 2}, {0, 2}}));
}

TEST_F(CapabilityOps, DeletingASpecialCapabilityRenumbersOnlyItsProductsReferences)
{
    add(data.Capabilities, "G0");
    for (int p = 0; p < 2; ++p) {
        auto& product = data.Products.Add();
        add(product.Capabilities, "S0");
        add(product.Capabilities, "S1");
    }
    auto& group = groupReferring({{1, 0}, {0, 1}, {1, 1}, {-1, 0}});
    ASSERT_TRUE(gridOf(1)->remove(edit, ask, 0, ColName));
    EXPECT_EQ(ask.asked, (std::vector<std::string>{"Delete Special Capability 'S0'?"}));
    EXPECT_EQ(refsOf(group), (std::vector<Ref>{{0, 1}, {1, 0}, {-1, 0}}));
    EXPECT_EQ(data.Products[0].Capabilities.Count(), 2);
}

TEST_F(CapabilityOps, DeleteAnsweredNoOrAimedAtNoCapabilityChangesNothing)
{
    add(data.Capabilities, "G0");
    groupReferring({{-1, 0}});
    ask.yes = false;
    EXPECT_FALSE(gridOf(kGeneral)->remove(edit, ask, 0, ColName));
    ask.yes = true;
    EXPECT_FALSE(gridOf(0)->remove(edit, ask, 0, ColName)) << "no product selected";
    EXPECT_EQ(ask.asked.size(), 1u) << "only the real capability is asked about";
    EXPECT_EQ(data.Capabilities.Count(), 1);
    EXPECT_EQ(data.MarketGroups[0].CapabilityRefs.Count(), 1);
    expectNoStep();
}

TEST_F(CapabilityOps, SortingAProductsCapabilitiesKeepsEveryReferenceOnItsCapability)
{
    add(data.Capabilities, "G0", 1);
    auto& product = data.Products.Add();
    product.Name = "Software";
    add(product.Capabilities, "Testing", 3);
    add(product.Capabilities, "Coding", 9);
    add(product.Capabilities, "Design", 5);
    add(product.Capabilities, "Support", 7);
    auto& group = groupReferring({{0, 0}, {0, 1}, {-1, 0}, {0, 3}});
    std::vector<std::string> before;
    for (const auto& ref : group.CapabilityRefs)
        before.push_back(referencedCapability(data, ref)->Name);

    ASSERT_TRUE(gridOf(0)->sort(edit, ColToday));
    EXPECT_EQ(names(product.Capabilities), (std::vector<std::string>{"Coding", "Support", "Design", "Testing"}));
    std::vector<std::string> after;
    for (const auto& ref : group.CapabilityRefs)
        after.push_back(referencedCapability(data, ref)->Name);
    EXPECT_EQ(after, before);
    EXPECT_EQ(refsOf(group), (std::vector<Ref>{{0, 3}, {0, 0}, {-1, 0}, {0, 1}}));
    EXPECT_EQ(undo.count(), 1);
}

namespace {

std::vector<std::string> captions(const std::vector<portfolio::PlotRow>& rows)
{
    std::vector<std::string> out;
    for (const auto& row : rows)
        out.push_back(row.caption);
    return out;
}

} // namespace

TEST_F(CapabilityOps, GraphListFiltersAndHeadsOnlyProductsWithPassingCapabilities)
{
    add(data.Capabilities, "Sales", 7, 2);
    add(data.Capabilities, "Finance", 4, 9);
    auto& software = data.Products.Add();
    software.Name = "Software";
    add(software.Capabilities, "Coding", 3, 10);
    add(software.Capabilities, "Testing", 2, 6);
    auto& service = data.Products.Add();
    service.Name = "Service";
    add(service.Capabilities, "Repairs", 5, 5);
    add(service.Capabilities, "Hotline", 10, 1);

    const auto all = buildGraphList(data, {});
    EXPECT_EQ(captions(all), (std::vector<std::string>{"General Capabilities", "   Sales", "   Finance",
                                                       "Service Specific Capabilities", "   Software", "      Coding",
                                                       "      Testing", "   Service", "      Repairs",
                                                       "      Hotline"}));

    const auto filtered = buildGraphList(data, {{5, 10}, {1, 10}});
    EXPECT_EQ(captions(filtered), (std::vector<std::string>{"General Capabilities", "   Sales",
                                                            "Service Specific Capabilities", "   Service",
                                                            "      Repairs", "      Hotline"}));
    EXPECT_EQ(filtered[1], portfolio::PlotRow::entryRow("   Sales", 7, 2)) << "today vertical, tomorrow horizontal";
    for (int heading : {0, 2, 3})
        EXPECT_TRUE(filtered[static_cast<std::size_t>(heading)].heading);
}

TEST_F(CapabilityOps, GraphListBoundsAreInclusiveOnBothAxes)
{
    for (int today : {4, 5, 6})
        for (int tomorrow : {7, 8, 9})
            add(data.Capabilities, std::to_string(today) + "/" + std::to_string(tomorrow), today, tomorrow);
    const auto rows = buildGraphList(data, {{5, 6}, {8, 8}});
    EXPECT_EQ(captions(rows),
              (std::vector<std::string>{"General Capabilities", "   5/8", "   6/8", "Service Specific Capabilities"}));
}

// Long random sequences of the workshop's own operations on generated cases with market groups:
// after each step every reference names the capability it named before, references to a deleted
// capability are gone, and an undo brings back exactly the references before the undone step.
TEST(CapabilityOpsRandom, AddDeleteSortAndUndoKeepEveryReferenceOnItsCapability)
{
    std::mt19937 random(6102026);
    const auto pick = [&random](int count) { return std::uniform_int_distribution<int>(0, count - 1)(random); };
    for (int round = 0; round < 80; ++round) {
        TCaseData data;
        fillReferenceCase(data, random);
        // Ties on purpose, so the sorts exchange equal keys too.
        for (auto& capability : data.Capabilities) {
            capability.ImpToday = 1 + pick(3);
            capability.ImpTomorrow = 1 + pick(3);
        }
        for (auto& product : data.Products)
            for (auto& capability : product.Capabilities) {
                capability.ImpToday = 1 + pick(3);
                capability.ImpTomorrow = 1 + pick(3);
            }
        UndoStack undo;
        CaseEdit edit(data, undo);
        ScriptedQuestions ask;
        std::vector<ResolvedRefs> history; // references before each step still on the undo stack
        int serial = 0;

        for (int step = 0; step < 50; ++step) {
            const ResolvedRefs before = resolveReferences(data);
            const int owner = pick(data.Products.Count() + 1) - 1;
            const TDelList<TCapability>& list = *capabilityList(data, owner);
            const auto grid = capabilityGrid([owner] { return owner; });
            std::set<std::string> gone;
            bool stepped = false;
            const int kind = pick(4);
            switch (kind) {
            case 0: {
                const std::string name = "N" + std::to_string(++serial);
                stepped = grid->commit(edit, list.Count(), ColName, name) == CellCommit::Added;
                ASSERT_TRUE(stepped);
                ASSERT_EQ(list[list.Count() - 1].Name, name);
                break;
            }
            case 1:
                if (list.Empty())
                    break;
                {
                    const int position = pick(list.Count());
                    gone.insert(list[position].Name);
                    stepped = grid->remove(edit, ask, position, ColName);
                    ASSERT_TRUE(stepped);
                }
                break;
            case 2:
                stepped = grid->sort(edit, pick(3));
                ASSERT_EQ(stepped, list.Count() >= 2);
                break;
            case 3:
                if (history.empty())
                    break;
                ASSERT_TRUE(edit.undo());
                ASSERT_EQ(resolveReferences(data), history.back()) << "round " << round << ", step " << step;
                history.pop_back();
                continue;
            }
            if (stepped) {
                history.push_back(before);
                if (history.size() > static_cast<std::size_t>(UndoStack::kMaxSnapshots))
                    history.erase(history.begin());
            }
            ASSERT_EQ(resolveReferences(data), withoutEntries(before, gone))
                << "round " << round << ", step " << step << ", operation " << kind << ", owner " << owner;
            ASSERT_TRUE(findIndexProblems(data).empty()) << "round " << round << ", step " << step;
        }
    }
}
