// corvantix-cli check: the summary, the warnings about positions outside their lists, and the
// failure message for files that cannot be read.

#include <gtest/gtest.h>

#include "cli/case_index_check.h"
#include "cli/check_command.h"
#include "model/case_references.h"
#include "cli_test_support.h"

using namespace testing_support;
using namespace cli_testing;

namespace {

// Three objective types, two risk types, two customers, two products (the first with two own
// capabilities), one general capability; every reference below is in range.
void fillConsistentCase(TCaseData& data)
{
    data.KeyObjectives.Add().Link = -1;
    data.KeyObjectives.Add().Link = 2;
    auto& change = data.ChangeAreas[1].Changes.Add();
    change.Risks.Add().RiskType = -1;
    change.Risks.Add().RiskType = 1;
    data.Customers.Add().Name = "A";
    auto& group = data.Customers.Add();
    group.Members = std::make_unique<TDelList<TInteger>>();
    group.Members->Add().Value = 0;
    group.Members->Add().Value = 1;
    auto& product = data.Products.Add();
    product.Capabilities.Add();
    product.Capabilities.Add();
    data.Products.Add();
    data.Capabilities.Add();
    auto& marketGroup = data.MarketGroups.Add();
    marketGroup.CustomerRefs.Add().Rank = 1;
    marketGroup.ServiceRefs.Add().Rank = 1;
    auto& general = marketGroup.CapabilityRefs.Add();
    general.Rank = -1;
    general.Link = 0;
    auto& specific = marketGroup.CapabilityRefs.Add();
    specific.Rank = 0;
    specific.Link = 1;
}

// One index outside its list of every kind (on top of fillConsistentCase).
void addEveryKindOfIndexOutsideItsList(TCaseData& data)
{
    data.KeyObjectives[0].Link = -2;
    data.KeyObjectives[1].Link = 3;
    data.ChangeAreas[1].Changes[0].Risks[1].RiskType = 2;
    data.Customers[1].Members->Add().Value = 7;
    data.Products[1].Members = std::make_unique<TDelList<TInteger>>();
    data.Products[1].Members->Add().Value = -1;
    auto& group = data.MarketGroups[0];
    group.CustomerRefs.Add().Rank = -1; // -1 means nothing here: not a "none" value
    group.ServiceRefs.Add().Rank = 2;
    auto& general = group.CapabilityRefs.Add();
    general.Rank = -5; // any negative owner is the general list
    general.Link = 1;
    auto& badProduct = group.CapabilityRefs.Add();
    badProduct.Rank = 9;
    badProduct.Link = 0;
    auto& badCapability = group.CapabilityRefs.Add();
    badCapability.Rank = 1;
    badCapability.Link = 0;
    data.MarketGroups.Add().CapabilityRefs.Add().Rank = 0; // Link stays -1
}

} // namespace

TEST(CliCheck, ConsistentCaseGivesNoWarnings)
{
    TCaseData data;
    fillConsistentCase(data);
    EXPECT_EQ(findIndexProblems(data), std::vector<std::string>{});

    TCaseData fresh;
    EXPECT_EQ(findIndexProblems(fresh), std::vector<std::string>{});
}

TEST(CliCheck, EveryKindOfIndexOutsideItsListIsNamed)
{
    TCaseData data;
    fillConsistentCase(data);
    addEveryKindOfIndexOutsideItsList(data);

    const std::vector<std::string> expected = {
        "KeyObjectives[0].Link is -2, but ObjectiveTypes has 3 entries",
        "KeyObjectives[1].Link is 3, but ObjectiveTypes has 3 entries",
        "ChangeAreas[1].Changes[0].Risks[1].RiskType is 2, but RiskTypes has 2 entries",
        "Customers[1].Members[2] is 7, but Customers has 2 entries",
        "Products[1].Members[0] is -1, but Products has 2 entries",
        "MarketGroups[0].CustomerRefs[1].Rank is -1, but Customers has 2 entries",
        "MarketGroups[0].ServiceRefs[1].Rank is 2, but Products has 2 entries",
        "MarketGroups[0].CapabilityRefs[2].Link is 1, but Capabilities has 1 entry",
        "MarketGroups[0].CapabilityRefs[3].Rank is 9, but Products has 2 entries",
        "MarketGroups[0].CapabilityRefs[4].Link is 0, but Products[1].Capabilities is empty",
        "MarketGroups[1].CapabilityRefs[0].Link is -1, but Products[0].Capabilities has 2 entries",
    };
    EXPECT_EQ(findIndexProblems(data), expected);

    TempDir dir;
    const std::string path = saveCase(dir, data);
    const auto result = runCommand(runCheck, {path});
    EXPECT_EQ(result.code, 0);
    EXPECT_TRUE(result.out.starts_with("ok\n")) << result.out;
    EXPECT_EQ(result.errLines(), static_cast<int>(expected.size()));
    EXPECT_NE(result.err.find("corvantix-cli: warning: " + path + ": " + expected[3] + "\n"), std::string::npos)
        << result.err;
}

TEST(CliCheck, PrintsOkAndTheCounts)
{
    TempDir dir;
    TCaseData data;
    fillRichCase(data);
    data.ChangeAreas[2].Changes.Add().Risks.Add();
    data.MarketGroups[0].ServiceRefs[0].Rank = 0;
    const auto result = runCommand(runCheck, {saveCase(dir, data)});
    EXPECT_EQ(result.code, 0);
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(result.out, "ok\n1 objective, 3 areas, 2 changes, 2 risks, 1 competitor, 2 customers, 1 product, "
                          "2 capabilities, 1 market group, 1 action\n");
}

TEST(CliCheck, UnreadableFilesFailWithOffsetAndReason)
{
    TempDir dir;
    TCaseData data;
    fillRichCase(data);
    const std::string bytes = encodeCase(data);
    const std::string path = dir.file("damaged.cvx");

    // Every truncation fails with one line that names the file and an offset inside it.
    for (std::size_t length = 0; length < bytes.size(); length += 7) {
        writeFile(path, std::string_view(bytes).substr(0, length));
        const auto result = runCommand(runCheck, {path});
        ASSERT_EQ(result.code, 1) << length;
        EXPECT_EQ(result.out, "");
        ASSERT_EQ(result.errLines(), 1) << result.err;
        const std::string prefix = "corvantix-cli: " + path + ": offset ";
        ASSERT_TRUE(result.err.starts_with(prefix)) << result.err;
        EXPECT_LE(std::stoull(result.err.substr(prefix.size())), length) << result.err;
    }

    writeFile(path, bytes.substr(0, bytes.size() - 1));
    const auto truncated = runCommand(runCheck, {path});
    EXPECT_NE(truncated.err.find("end of the file"), std::string::npos) << truncated.err;

    writeFile(path, "\x09rest");
    const auto wrongTag = runCommand(runCheck, {path});
    EXPECT_TRUE(wrongTag.err.starts_with("corvantix-cli: " + path + ": offset 0: expected a string")) << wrongTag.err;
}

// What check warns about is exactly what opening a case in the windows removes, by the rules that
// deleting an entry follows: type links become "none", members and market-group entries go.
TEST(CliCheck, RemovingDanglingReferencesLeavesEverythingInRange)
{
    TCaseData data;
    fillConsistentCase(data);
    addEveryKindOfIndexOutsideItsList(data);
    const auto problems = findIndexProblems(data);
    EXPECT_EQ(removeDanglingReferences(data), static_cast<int>(problems.size()));
    EXPECT_EQ(findIndexProblems(data), std::vector<std::string>{});

    TCaseData expected;
    fillConsistentCase(expected);
    expected.KeyObjectives[1].Link = -1;
    expected.ChangeAreas[1].Changes[0].Risks[1].RiskType = -1;
    expected.MarketGroups.Add();
    EXPECT_EQ(encodeCase(data), encodeCase(expected));
    EXPECT_EQ(removeDanglingReferences(data), 0);
}
