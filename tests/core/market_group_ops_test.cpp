#include "workshops/customers/market_group_ops.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <set>

#include "model/case_edit.h"
#include "model/case_references.h"
#include "reference_check.h"
#include "test_support.h"

using namespace market_groups;
using testing_support::ScriptedQuestions;

namespace {

// General capabilities G1, G2; products P1 (S1, S2) and P2 (S3); customers C0..C3.
class MarketGroupTest : public ::testing::Test {
protected:
    MarketGroupTest()
    {
        for (const char* name : {"G1", "G2"})
            data.Capabilities.Add().Name = name;
        auto& p1 = data.Products.Add();
        p1.Name = "P1";
        p1.Capabilities.Add().Name = "S1";
        p1.Capabilities.Add().Name = "S2";
        auto& p2 = data.Products.Add();
        p2.Name = "P2";
        p2.Capabilities.Add().Name = "S3";
        for (const char* name : {"C0", "C1", "C2", "C3"})
            data.Customers.Add().Name = name;
        data.Modified = false;
    }

    TMarketGroup& create(const std::string& name, Selection selection)
    {
        EXPECT_EQ(createGroup(edit, name, selection, ask), CreateOutcome::Created);
        return data.MarketGroups[data.MarketGroups.Count() - 1];
    }

    // The node of the tree that shows `text` under group `group`.
    TreeNode node(int group, const std::string& text) const
    {
        for (const TreeNode& n : groupTree(data))
            if (n.group == group && n.text == text)
                return n;
        ADD_FAILURE() << "no node " << text;
        return {};
    }

    static std::vector<int> ranks(const TDelList<TRankedItem>& refs)
    {
        std::vector<int> out;
        for (const auto& ref : refs)
            out.push_back(ref.Rank);
        return out;
    }

    TCaseData data;
    UndoStack undo;
    CaseEdit edit{data, undo};
    ScriptedQuestions ask{ScriptedQuestions::Reply::No};
};

} // namespace

TEST_F(MarketGroupTest, CapabilityListHoldsGeneralThenEachProductsOwn)
{
    EXPECT_EQ(choiceLists(data).capabilities, (std::vector<std::string>{"G1", "G2", "S1", "S2", "S3"}));
    const std::vector<CapabilityPosition> expected{{-1, 0}, {-1, 1}, {0, 0}, {0, 1}, {1, 0}};
    for (int i = 0; i < 5; ++i) {
        ASSERT_EQ(capabilityAt(data, i), expected[static_cast<std::size_t>(i)]) << i;
        TRankedItem ref;
        ref.Rank = expected[static_cast<std::size_t>(i)].rank;
        ref.Link = expected[static_cast<std::size_t>(i)].link;
        EXPECT_EQ(capabilityChoiceOf(data, ref), i);
    }
    EXPECT_FALSE(capabilityAt(data, 5));
    EXPECT_FALSE(capabilityAt(data, -1));
}

TEST_F(MarketGroupTest, ProductsWithoutCapabilitiesAreSkippedByTheMapping)
{
    data.Products.Insert(1, std::make_unique<TCustProd>()); // P1, (none), P2
    EXPECT_EQ(capabilityAt(data, 4), (CapabilityPosition{2, 0}));
    TRankedItem s3;
    s3.Rank = 2;
    s3.Link = 0;
    EXPECT_EQ(capabilityChoiceOf(data, s3), 4);
}

struct DanglingRef {
    int32_t rank;
    int32_t link;
};

class DanglingCapabilityRef : public MarketGroupTest, public ::testing::WithParamInterface<DanglingRef> {};

TEST_P(DanglingCapabilityRef, NamesNoListEntryAndIsDroppedByModify)
{
    TRankedItem ref;
    ref.Rank = GetParam().rank;
    ref.Link = GetParam().link;
    EXPECT_EQ(capabilityChoiceOf(data, ref), -1);

    auto& group = data.MarketGroups.Add();
    group.Name = "M";
    group.CapabilityRefs.Add().Assign(ref);
    const std::vector<TreeNode> tree = groupTree(data);
    ASSERT_EQ(tree.size(), 5u) << "group, three headings, one capability";
    EXPECT_EQ(tree[4].text, "");
    EXPECT_TRUE(viewOf(data, tree[4]).selection.capabilities.empty());

    Selection keepAll{{}, {}, {0, 1, 2, 3, 4}};
    ASSERT_TRUE(modifyGroup(edit, 0, "M", keepAll, ask));
    std::set<std::pair<int, int>> refs;
    for (const auto& kept : data.MarketGroups[0].CapabilityRefs)
        refs.insert({kept.Rank, kept.Link});
    EXPECT_EQ(refs, (std::set<std::pair<int, int>>{{-1, 0}, {-1, 1}, {0, 0}, {0, 1}, {1, 0}}));
}

INSTANTIATE_TEST_SUITE_P(OutOfRange, DanglingCapabilityRef,
                         ::testing::Values(DanglingRef{-1, 2}, DanglingRef{-1, -1}, DanglingRef{2, 0},
                                           DanglingRef{1, 1}, DanglingRef{0, -1}));

TEST_F(MarketGroupTest, ChoosingTheLastSpecialCapabilityStoresItsProductAndPosition)
{
    auto& group = create("Kitchens", {{1}, {0}, {4}});
    EXPECT_EQ(group.Name, "Kitchens");
    ASSERT_EQ(group.CapabilityRefs.Count(), 1);
    EXPECT_EQ(group.CapabilityRefs[0].Rank, 1);
    EXPECT_EQ(group.CapabilityRefs[0].Link, 0);
    EXPECT_EQ(group.CapabilityRefs[0].Name, "");
    ASSERT_EQ(group.ServiceRefs.Count(), 1);
    EXPECT_EQ(group.ServiceRefs[0].Link, kIndependent);
    EXPECT_EQ(ranks(group.CustomerRefs), (std::vector<int>{1}));
    EXPECT_EQ(group.CustomerRefs[0].Link, -1);
    EXPECT_TRUE(data.Modified);
    EXPECT_EQ(undo.count(), 1);
    EXPECT_EQ(ask.asked, (std::vector<std::string>{kSpecialCapabilitiesQuestion}));
}

TEST_F(MarketGroupTest, YesToTheSpecialCapabilitiesQuestionAddsThoseOfTheSelectedServices)
{
    ask.yes = true;
    Selection selection{{}, {0}, {0}};
    auto& group = create("With P1", selection);
    std::vector<std::pair<int, int>> refs;
    for (const auto& ref : group.CapabilityRefs)
        refs.emplace_back(ref.Rank, ref.Link);
    EXPECT_EQ(refs, (std::vector<std::pair<int, int>>{{-1, 0}, {0, 0}, {0, 1}}));

    ask.yes = false;
    Selection unchanged{{}, {0, 1}, {1}};
    askForSpecialCapabilities(data, unchanged, ask);
    EXPECT_EQ(unchanged.capabilities, (std::vector<int>{1})) << "No adds nothing";
}

TEST_F(MarketGroupTest, CreatingAnExistingNameChangesNothingButTheShownSelection)
{
    create("Hotels", {{0}, {}, {}});
    ask.yes = true;
    ask.asked.clear();
    Selection selection{{2}, {1}, {}};
    EXPECT_EQ(createGroup(edit, "Hotels", selection, ask), CreateOutcome::NameExists);
    EXPECT_EQ(ask.asked.size(), 1u) << "the question comes before the name is checked";
    EXPECT_EQ(selection.capabilities, (std::vector<int>{4})) << "the lists show what Yes selected";
    EXPECT_EQ(data.MarketGroups.Count(), 1);
    EXPECT_EQ(undo.count(), 1);

    EXPECT_EQ(createGroup(edit, "hotels", selection, ask), CreateOutcome::Created) << "names compare exactly";
    EXPECT_EQ(createGroup(edit, "", selection, ask), CreateOutcome::NoName);
    EXPECT_EQ(data.MarketGroups.Count(), 2);
}

TEST_F(MarketGroupTest, ModifyKeepsRemarksAndTypesOfWhatStaysAndAppendsWhatIsNew)
{
    auto& group = create("Hotels", {{0, 2}, {0, 1}, {}});
    group.CustomerRefs[0].Name = "core market";
    group.CustomerRefs[1].Name = "dropped";
    group.ServiceRefs[1].Name = "partnered";
    group.ServiceRefs[1].Link = kPartner;

    Selection selection{{0, 3}, {1}, {}};
    ASSERT_TRUE(modifyGroup(edit, 0, "Hotels and inns", selection, ask));
    EXPECT_EQ(group.Name, "Hotels and inns");
    EXPECT_EQ(ranks(group.CustomerRefs), (std::vector<int>{0, 3}));
    EXPECT_EQ(group.CustomerRefs[0].Name, "core market");
    EXPECT_EQ(group.CustomerRefs[1].Name, "");
    ASSERT_EQ(group.ServiceRefs.Count(), 1);
    EXPECT_EQ(group.ServiceRefs[0].Name, "partnered");
    EXPECT_EQ(group.ServiceRefs[0].Link, kPartner);
    EXPECT_EQ(undo.count(), 2);
}

TEST_F(MarketGroupTest, ModifyIsAStepEvenWhenNothingDiffers)
{
    create("Hotels", {{0}, {}, {}});
    Selection same{{0}, {}, {}};
    ASSERT_TRUE(modifyGroup(edit, 0, "Hotels", same, ask));
    EXPECT_EQ(undo.count(), 2);
    EXPECT_FALSE(modifyGroup(edit, 1, "Nothing", same, ask)) << "no such group";
    EXPECT_EQ(undo.count(), 2);
}

TEST_F(MarketGroupTest, AGeneralCapabilityAddedLaterIsListedFirstAndItsNodeEditsItsOwnRemark)
{
    auto& group = create("Hotels", {{}, {}, {2}}); // S1
    group.CapabilityRefs[0].Name = "remark on S1";
    Selection selection{{}, {}, {0, 2}}; // G1 added
    ASSERT_TRUE(modifyGroup(edit, 0, "Hotels", selection, ask));
    ASSERT_EQ(group.CapabilityRefs.Count(), 2);
    EXPECT_EQ(group.CapabilityRefs[1].Rank, -1) << "appended after S1 in the model";

    std::vector<std::string> texts;
    for (const TreeNode& n : groupTree(data))
        texts.push_back(std::string(static_cast<std::size_t>(2 * n.depth), ' ') + n.text);
    EXPECT_EQ(texts, (std::vector<std::string>{"Hotels", "  CUSTOMERS", "  SERVICES", "  CAPABILITIES", "    G1",
                                               "    S1"}));

    const TreeNode g1 = node(0, "G1");
    EXPECT_EQ(viewOf(data, g1).remark, "");
    EXPECT_TRUE(setRemark(edit, g1, "new remark on G1"));
    EXPECT_EQ(group.CapabilityRefs[1].Name, "new remark on G1");
    EXPECT_EQ(group.CapabilityRefs[0].Name, "remark on S1");
    EXPECT_EQ(viewOf(data, node(0, "S1")).remark, "remark on S1");
}

TEST_F(MarketGroupTest, SelectingANodeShowsItsGroupsElements)
{
    create("First", {{1}, {}, {}});
    create("Second", {{3, 0}, {1}, {4, 1}});
    const NodeView heading = viewOf(data, node(1, "CUSTOMERS"));
    EXPECT_EQ(heading.groupName, "Second");
    EXPECT_FALSE(heading.remarksEnabled);
    EXPECT_FALSE(heading.typeEnabled);
    EXPECT_EQ(heading.selection, (Selection{{0, 3}, {1}, {1, 4}}));
    EXPECT_EQ(viewOf(data, groupTree(data)[0]).selection, (Selection{{1}, {}, {}}));
}

TEST_F(MarketGroupTest, ServiceTypeChangesOnlyThroughAServiceNode)
{
    create("Hotels", {{0}, {0}, {0}});
    const TreeNode service = node(0, "P1");
    const TreeNode customer = node(0, "C0");
    const TreeNode capability = node(0, "G1");
    EXPECT_TRUE(viewOf(data, service).typeEnabled);
    EXPECT_FALSE(viewOf(data, customer).typeEnabled);
    EXPECT_FALSE(viewOf(data, groupTree(data)[2]).typeEnabled) << "the SERVICES heading itself";

    EXPECT_FALSE(setServiceType(edit, customer, kPartner));
    EXPECT_FALSE(setServiceType(edit, capability, kPartner));
    EXPECT_EQ(data.MarketGroups[0].CustomerRefs[0].Link, -1);
    EXPECT_FALSE(setServiceType(edit, service, kIndependent)) << "already independent";
    EXPECT_EQ(undo.count(), 1);

    EXPECT_TRUE(setServiceType(edit, service, kPartner));
    EXPECT_EQ(data.MarketGroups[0].ServiceRefs[0].Link, kPartner);
    EXPECT_EQ(viewOf(data, service).serviceType, kPartner);
    EXPECT_EQ(undo.count(), 2);

    data.MarketGroups[0].ServiceRefs[0].Link = 7; // any non-zero type from a file means partner
    EXPECT_FALSE(setServiceType(edit, service, kPartner));
    EXPECT_TRUE(setServiceType(edit, service, kIndependent));
    EXPECT_EQ(data.MarketGroups[0].ServiceRefs[0].Link, kIndependent);
}

TEST_F(MarketGroupTest, RemarksAreStoredOnlyWhenTheyDiffer)
{
    create("Hotels", {{0}, {}, {}});
    const TreeNode customer = node(0, "C0");
    EXPECT_FALSE(setRemark(edit, customer, ""));
    EXPECT_FALSE(setRemark(edit, groupTree(data)[0], "on the group node"));
    EXPECT_EQ(undo.count(), 1);
    EXPECT_TRUE(setRemark(edit, customer, "Line one\r\nLine two"));
    EXPECT_EQ(data.MarketGroups[0].CustomerRefs[0].Name, "Line one\r\nLine two");
    EXPECT_EQ(undo.count(), 2);
}

TEST_F(MarketGroupTest, DeletingAsksWithTheGroupsNameAndOnlyYesRemovesIt)
{
    create("Hotels", {{0}, {}, {}});
    create("Bakeries", {{1}, {}, {}});
    ask.asked.clear();
    EXPECT_FALSE(deleteGroup(edit, 1, ask));
    EXPECT_EQ(ask.asked, (std::vector<std::string>{"Delete item 'Bakeries'?"}));
    EXPECT_EQ(data.MarketGroups.Count(), 2);
    EXPECT_EQ(undo.count(), 2);

    ask.yes = true;
    EXPECT_TRUE(deleteGroup(edit, 0, ask));
    ASSERT_EQ(data.MarketGroups.Count(), 1);
    EXPECT_EQ(data.MarketGroups[0].Name, "Bakeries");
    EXPECT_EQ(undo.count(), 3);
    EXPECT_FALSE(deleteGroup(edit, 5, ask));
}

// Long random sequences of create, modify and delete on a generated case: every reference stays
// in range, a modified group holds exactly the chosen elements with the remarks of those it kept,
// and no other group changes.
TEST(MarketGroupRandom, EditsKeepEveryReferenceNamingWhatWasChosen)
{
    using testing_support::resolveReferences;
    for (unsigned seed = 1; seed <= 40; ++seed) {
        std::mt19937 random(seed);
        TCaseData data;
        testing_support::fillReferenceCase(data, random);
        UndoStack undo;
        CaseEdit edit(data, undo);
        ScriptedQuestions ask{ScriptedQuestions::Reply::No};
        const auto coin = [&random] { return std::uniform_int_distribution<int>(0, 1)(random) == 1; };
        const auto someOf = [&](int count) {
            std::vector<int> picked;
            for (int i = 0; i < count; ++i)
                if (coin())
                    picked.push_back(i);
            return picked;
        };
        const auto elementsAndRemarks = [&](const TMarketGroup& group) {
            // element name -> remarks, per category
            std::map<std::string, std::multiset<std::string>> out;
            for (const auto& ref : group.CustomerRefs)
                out["customer " + data.Customers[ref.Rank].Name].insert(ref.Name);
            for (const auto& ref : group.ServiceRefs)
                out["service " + data.Products[ref.Rank].Name].insert(ref.Name);
            for (const auto& ref : group.CapabilityRefs)
                out["capability " + referencedCapability(data, ref)->Name].insert(ref.Name);
            return out;
        };

        for (int step = 0; step < 30; ++step) {
            const ChoiceLists lists = choiceLists(data);
            Selection selection{someOf(static_cast<int>(lists.customers.size())),
                                someOf(static_cast<int>(lists.services.size())),
                                someOf(static_cast<int>(lists.capabilities.size()))};
            ask.yes = coin();
            const int groups = data.MarketGroups.Count();
            const int target = groups > 0 ? std::uniform_int_distribution<int>(0, groups - 1)(random) : -1;
            const int action = std::uniform_int_distribution<int>(0, 4)(random);

            std::vector<std::map<std::string, std::multiset<std::string>>> before;
            for (const auto& group : data.MarketGroups)
                before.push_back(elementsAndRemarks(group));

            if (action == 0 || target < 0) {
                const std::string name = "N" + std::to_string(step);
                ASSERT_EQ(createGroup(edit, name, selection, ask), CreateOutcome::Created);
                before.push_back({});
            } else if (action == 1) {
                ask.yes = true;
                ASSERT_TRUE(deleteGroup(edit, target, ask));
                before.erase(before.begin() + target);
            } else {
                ASSERT_TRUE(modifyGroup(edit, target, data.MarketGroups[target].Name, selection, ask));
            }

            for (const auto& ref : resolveReferences(data))
                ASSERT_NE(ref.target, "out of range") << ref.holder << " seed " << seed << " step " << step;
            ASSERT_EQ(static_cast<int>(before.size()), data.MarketGroups.Count());
            const int changed = action == 0 || target < 0 ? data.MarketGroups.Count() - 1 : action == 1 ? -1 : target;
            for (int g = 0; g < data.MarketGroups.Count(); ++g) {
                const auto after = elementsAndRemarks(data.MarketGroups[g]);
                if (g != changed) {
                    EXPECT_EQ(after, before[static_cast<std::size_t>(g)]) << "seed " << seed << " step " << step;
                    continue;
                }
                std::set<std::string> chosen;
                for (int i : selection.customers)
                    chosen.insert("customer " + lists.customers[static_cast<std::size_t>(i)]);
                for (int i : selection.services)
                    chosen.insert("service " + lists.services[static_cast<std::size_t>(i)]);
                for (int i : selection.capabilities)
                    chosen.insert("capability " + lists.capabilities[static_cast<std::size_t>(i)]);
                std::set<std::string> held;
                for (const auto& [element, remarks] : after) {
                    held.insert(element);
                    const auto old = before[static_cast<std::size_t>(g)].find(element);
                    if (old != before[static_cast<std::size_t>(g)].end())
                        EXPECT_EQ(remarks, old->second) << element << " keeps its remarks";
                    else
                        EXPECT_EQ(remarks, std::multiset<std::string>{""}) << element << " is new";
                }
                EXPECT_EQ(held, chosen) << "seed " << seed << " step " << step;
            }
        }
    }
}
