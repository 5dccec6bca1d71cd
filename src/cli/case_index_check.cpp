#include "cli/case_index_check.h"

#include "model/case_data.h"
#include "model/case_references.h"

namespace {

std::string targetName(const RefTarget& target)
{
    switch (target.list) {
    case RefList::ObjectiveTypes: return "ObjectiveTypes";
    case RefList::RiskTypes: return "RiskTypes";
    case RefList::Customers: return "Customers";
    case RefList::Products: return "Products";
    case RefList::GeneralCapabilities: return "Capabilities";
    case RefList::ProductCapabilities: return "Products[" + std::to_string(target.owner) + "].Capabilities";
    }
    return {};
}

std::string counted(long long n, const char* singular, const char* plural)
{
    return std::to_string(n) + " " + (n == 1 ? singular : plural);
}

} // namespace

std::vector<std::string> findIndexProblems(const TCaseData& data)
{
    std::vector<std::string> problems;
    forEachReference(data, [&](const RefSite& site, int32_t value) {
        if (!isDangling(data, site, value))
            return;
        const long long count = targetCount(data, site.target);
        std::string problem = site.path() + " is " + std::to_string(value) + ", but " + targetName(site.target);
        if (count == 0)
            problem += " is empty";
        else
            problem += " has " + std::to_string(count) + (count == 1 ? " entry" : " entries");
        problems.push_back(std::move(problem));
    });
    return problems;
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
