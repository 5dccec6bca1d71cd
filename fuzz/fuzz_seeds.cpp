// Writes seed case files (*.cvx) and their JSON form (*.json) for the fuzzers into the folder given
// as the only argument.

#include <cstdio>
#include <fstream>
#include <memory>
#include <string>

#include "cli/case_to_json.h"
#include "cli/json_text.h"
#include "model/case_data.h"
#include "model/case_file.h"

namespace {

void write(const std::string& folder, const char* name, const TCaseData& data)
{
    const std::string bytes = encodeCase(data);
    std::ofstream(folder + "/" + name + ".cvx", std::ios::binary)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    const std::string json = formatJson(caseToJson(data));
    std::ofstream(folder + "/" + name + ".json", std::ios::binary)
        .write(json.data(), static_cast<std::streamsize>(json.size()));
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz_seeds FOLDER\n");
        return 2;
    }
    const std::string folder = argv[1];
    TCaseData empty;
    write(folder, "new", empty);

    TCaseData rich;
    rich.Title = "Seed {with} \\braces\\";
    rich.Description = "Line one\r\nLine {two}";
    rich.KeyObjectives.Add().Name = "Objective";
    auto& change = rich.ChangeAreas[0].Changes.Add();
    change.Name = "Change";
    change.Strengths.Add().Rank = 300;
    change.Risks.Add().FinImpact = -70000.5;
    rich.ChangeAreas[1].Megatrends.push_back(std::string(300, 'm'));
    rich.Competitors.Add().Name = "Rival";
    auto& customer = rich.Customers.Add(std::make_unique<TCustProd>(TCustProd::WithPlanTemplate{}));
    customer.KeyChars.Add().Excluded = false;
    customer.MarketPotential.Add().Rank = 100000;
    auto& group = rich.Customers.Add();
    group.Members = std::make_unique<TDelList<TInteger>>();
    group.Members->Add().Value = 0;
    rich.Products.Add().Capabilities.Add().Name = "Skill";
    rich.Capabilities.Add().Placement = 6;
    auto& marketGroup = rich.MarketGroups.Add();
    marketGroup.CustomerRefs.Add().Rank = 0;
    marketGroup.ServiceRefs.Add();
    marketGroup.CapabilityRefs.Add();
    rich.Actions.Add().Done = true;
    write(folder, "rich", rich);
    return 0;
}
