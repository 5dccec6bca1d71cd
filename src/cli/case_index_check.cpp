#include "cli/case_index_check.h"

#include "cli/json_text.h"
#include "model/case_data.h"

namespace {

class IndexChecker {
public:
    std::vector<std::string> problems;

    // `listName` names the list `index` points into, `count` is its length.
    void expectIn(const std::string& path, int32_t index, const std::string& listName, long long count)
    {
        if (index >= 0 && index < count)
            return;
        std::string problem = path + " is " + std::to_string(index) + ", but " + listName;
        if (count == 0)
            problem += " is empty";
        else
            problem += " has " + std::to_string(count) + (count == 1 ? " entry" : " entries");
        problems.push_back(std::move(problem));
    }

    void expectTypeOrNone(const std::string& path, int32_t index, const std::string& listName, long long count)
    {
        if (index != -1)
            expectIn(path, index, listName, count);
    }

    void checkMembers(const TDelList<TCustProd>& list, const char* listName)
    {
        for (int i = 0; i < list.Count(); ++i) {
            const auto& entry = list[i];
            if (!entry.Members)
                continue;
            const std::string path = jsonMemberPath(jsonElementPath(listName, static_cast<std::size_t>(i)), "Members");
            for (int m = 0; m < entry.Members->Count(); ++m)
                expectIn(jsonElementPath(path, static_cast<std::size_t>(m)), (*entry.Members)[m].Value, listName,
                         list.Count());
        }
    }

    void checkMarketGroup(const TCaseData& data, const TMarketGroup& group, const std::string& path)
    {
        const std::string customers = jsonMemberPath(path, "CustomerRefs");
        for (int i = 0; i < group.CustomerRefs.Count(); ++i)
            expectIn(jsonMemberPath(jsonElementPath(customers, static_cast<std::size_t>(i)), "Rank"),
                     group.CustomerRefs[i].Rank, "Customers", data.Customers.Count());

        const std::string services = jsonMemberPath(path, "ServiceRefs");
        for (int i = 0; i < group.ServiceRefs.Count(); ++i)
            expectIn(jsonMemberPath(jsonElementPath(services, static_cast<std::size_t>(i)), "Rank"),
                     group.ServiceRefs[i].Rank, "Products", data.Products.Count());

        // Rank names the owner: negative for the general capabilities, else a product.
        const std::string capabilities = jsonMemberPath(path, "CapabilityRefs");
        for (int i = 0; i < group.CapabilityRefs.Count(); ++i) {
            const auto& ref = group.CapabilityRefs[i];
            const std::string refPath = jsonElementPath(capabilities, static_cast<std::size_t>(i));
            if (ref.Rank < 0) {
                expectIn(jsonMemberPath(refPath, "Link"), ref.Link, "Capabilities", data.Capabilities.Count());
            } else if (!data.Products.InRange(ref.Rank)) {
                expectIn(jsonMemberPath(refPath, "Rank"), ref.Rank, "Products", data.Products.Count());
            } else {
                const std::string owner = "Products[" + std::to_string(ref.Rank) + "].Capabilities";
                expectIn(jsonMemberPath(refPath, "Link"), ref.Link, owner,
                         data.Products[ref.Rank].Capabilities.Count());
            }
        }
    }
};

std::string counted(long long n, const char* singular, const char* plural)
{
    return std::to_string(n) + " " + (n == 1 ? singular : plural);
}

} // namespace

std::vector<std::string> findIndexProblems(const TCaseData& data)
{
    IndexChecker check;
    const auto objectiveTypes = static_cast<long long>(data.ObjectiveTypes.size());
    for (int i = 0; i < data.KeyObjectives.Count(); ++i)
        check.expectTypeOrNone("KeyObjectives[" + std::to_string(i) + "].Link", data.KeyObjectives[i].Link,
                               "ObjectiveTypes", objectiveTypes);

    const auto riskTypes = static_cast<long long>(data.RiskTypes.size());
    for (int a = 0; a < data.ChangeAreas.Count(); ++a) {
        const auto& area = data.ChangeAreas[a];
        for (int c = 0; c < area.Changes.Count(); ++c) {
            const auto& change = area.Changes[c];
            for (int r = 0; r < change.Risks.Count(); ++r) {
                const std::string path = "ChangeAreas[" + std::to_string(a) + "].Changes[" + std::to_string(c) +
                                         "].Risks[" + std::to_string(r) + "].RiskType";
                check.expectTypeOrNone(path, change.Risks[r].RiskType, "RiskTypes", riskTypes);
            }
        }
    }

    check.checkMembers(data.Customers, "Customers");
    check.checkMembers(data.Products, "Products");

    for (int g = 0; g < data.MarketGroups.Count(); ++g)
        check.checkMarketGroup(data, data.MarketGroups[g], "MarketGroups[" + std::to_string(g) + "]");
    return std::move(check.problems);
}

std::string caseSummary(const TCaseData& data)
{
    long long changes = 0;
    long long risks = 0;
    for (const auto& area : data.ChangeAreas) {
        changes += area.Changes.Count();
        for (const auto& change : area.Changes)
            risks += change.Risks.Count();
    }
    long long capabilities = data.Capabilities.Count();
    for (const auto& product : data.Products)
        capabilities += product.Capabilities.Count();

    return counted(data.KeyObjectives.Count(), "objective", "objectives") + ", " +
           counted(data.ChangeAreas.Count(), "area", "areas") + ", " + counted(changes, "change", "changes") + ", " +
           counted(risks, "risk", "risks") + ", " + counted(data.Competitors.Count(), "competitor", "competitors") +
           ", " + counted(data.Customers.Count(), "customer", "customers") + ", " +
           counted(data.Products.Count(), "product", "products") + ", " +
           counted(capabilities, "capability", "capabilities") + ", " +
           counted(data.MarketGroups.Count(), "market group", "market groups") + ", " +
           counted(data.Actions.Count(), "action", "actions");
}
