#include "synthetic_case.h"

#include <map>

#include "model/case_file.h"

namespace {

std::string text(int seed, std::size_t length)
{
    static const char* const kWords[] = {"market", "customer", "growth", "service", "quality", "risk",
                                         "partner", "plan", "capability", "value", "\xE9tude", "cost"};
    std::string out;
    out.reserve(length + 16);
    int i = seed;
    while (out.size() < length) {
        out += kWords[static_cast<unsigned>(i * 7 + 3) % 12];
        out += (i % 11 == 0) ? "\r\n" : " ";
        ++i;
    }
    out.resize(length);
    return out;
}

// Adds one block of content (roughly 10 KB encoded) to the case.
void addBlock(TCaseData& data, int n)
{
    auto& customer = data.Customers.Add(std::make_unique<TCustProd>(TCustProd::WithPlanTemplate{}));
    customer.Name = "Customer " + std::to_string(n);
    customer.Description = text(n, 600);
    customer.KeyNeeds = text(n + 1, 400);
    for (int k = 0; k < 12; ++k) {
        auto& keyChar = customer.KeyChars.Add();
        keyChar.Name = "Characteristic " + std::to_string(k);
        keyChar.Match = 1 + (n + k) % 10;
        keyChar.Importance = 1 + (n * k) % 10;
        keyChar.Excluded = k % 5 == 0;
    }
    for (int k = 0; k < 4; ++k) {
        auto& potential = customer.MarketPotential.Add();
        potential.Name = "Segment " + std::to_string(k);
        potential.Rank = 10000 * (n + k);
    }
    for (auto& row : customer.Capabilities) {
        row.ImpToday = n * 1000;
        row.Acquisition = n * 1100;
        row.Placement = n * 1200;
    }

    auto& area = data.ChangeAreas[n % data.ChangeAreas.Count()];
    auto& change = area.Changes.Add();
    change.Name = "Change " + std::to_string(n);
    change.Description = text(n + 2, 800);
    for (auto* list : {&change.Strengths, &change.Weaknesses, &change.Opportunities, &change.Threats}) {
        for (int k = 0; k < 5; ++k) {
            auto& item = list->Add();
            item.Name = text(n + k, 60);
            item.Rank = 1 + k;
        }
    }
    for (int k = 0; k < 6; ++k) {
        auto& risk = change.Risks.Add();
        risk.Name = text(n + k + 3, 80);
        risk.FinImpact = 12345.0 * (k + 1);
        risk.RiskType = k % 2;
        risk.Handling = text(n + k + 4, 300);
    }

    auto& product = data.Products.Add();
    product.Name = "Product " + std::to_string(n);
    product.Description = text(n + 5, 500);
    for (int k = 0; k < 4; ++k) {
        auto& capability = product.Capabilities.Add();
        capability.Name = "Skill " + std::to_string(k);
        capability.Decisions = text(n + k, 120);
    }

    auto& competitor = data.Competitors.Add();
    competitor.Name = "Competitor " + std::to_string(n);
    competitor.Description = text(n + 6, 500);
    competitor.KeyServices = text(n + 7, 300);

    auto& action = data.Actions.Add();
    action.What = text(n + 8, 100);
    action.Who = "Owner " + std::to_string(n % 7);
    action.Due = 46000 + n;
}

} // namespace

std::unique_ptr<TCaseData> makeSyntheticCase(std::size_t targetBytes)
{
    auto data = std::make_unique<TCaseData>();
    data->Title = "Synthetic case";
    data->OrgDescription = text(1, 4000);
    // Measure one block, then add as many as fit.
    const std::size_t base = encodeCase(*data).size();
    addBlock(*data, 0);
    const std::size_t perBlock = encodeCase(*data).size() - base;
    const std::size_t blocks = targetBytes > base ? (targetBytes - base) / perBlock : 1;
    for (std::size_t n = 1; n < blocks; ++n)
        addBlock(*data, static_cast<int>(n));
    auto& group = data->Customers.Add();
    group.Name = "All customers";
    group.Members = std::make_unique<TDelList<TInteger>>();
    for (int i = 0; i < 20; ++i)
        group.Members->Add().Value = i;
    return data;
}

std::unique_ptr<TCaseData> makeRepeatedNameCase(std::size_t nameBytes, int references)
{
    auto data = std::make_unique<TCaseData>();
    data->Title = "Repeated name";
    data->Customers.Add().Name = text(1, nameBytes);
    auto& group = data->MarketGroups.Add();
    group.Name = "Everyone";
    for (int i = 0; i < references; ++i)
        group.CustomerRefs.Add().Rank = 0;
    return data;
}

const std::string& syntheticCaseBytes(std::size_t targetBytes)
{
    static std::map<std::size_t, std::string> cache;
    auto it = cache.find(targetBytes);
    if (it == cache.end())
        it = cache.emplace(targetBytes, encodeCase(*makeSyntheticCase(targetBytes))).first;
    return it->second;
}
