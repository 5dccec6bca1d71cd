#include "test_support.h"

#include <fstream>
#include <malloc.h>
#include <map>
#include <random>
#include <sstream>

#if defined(__SANITIZE_ADDRESS__)
#define CORVANTIX_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define CORVANTIX_ASAN 1
#endif
#endif
#ifdef CORVANTIX_ASAN
// The sanitizer's runtime has it; GCC ships no header that declares it.
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#endif

#include <gtest/gtest.h>

namespace testing_support {

TempDir::TempDir()
{
    std::random_device rd;
    path_ = std::filesystem::temp_directory_path() / ("corvantix-test-" + std::to_string(rd()) + std::to_string(rd()));
    std::filesystem::create_directories(path_);
}

TempDir::~TempDir()
{
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::size_t heapInUse()
{
#ifdef CORVANTIX_ASAN
    // The sanitizer's allocator replaces the C library's, whose statistics then stay empty.
    return __sanitizer_get_current_allocated_bytes();
#else
    const struct mallinfo2 info = ::mallinfo2();
    return info.uordblks + info.hblkhd;
#endif
}

void writeFile(const std::string& path, std::string_view content)
{
    std::ofstream out(path, std::ios::binary);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
}

void fillRichCase(TCaseData& data)
{
    data.Title = "Rich case";
    data.Description = "Line one\r\nLine two with \xE9 and \x80";
    data.OrgDescription = std::string(1300, 'o');
    data.VisionMission = "Grow\r\nProsper";
    data.SuccessFactors = "Quality";
    data.DateFrom = 46388.5;
    data.DateTo = 47483.25;
    auto& objective = data.KeyObjectives.Add();
    objective.Name = "Be first";
    objective.Link = 2;
    objective.Rank = 9;
    data.ObjectiveTypes.push_back("Growth");
    data.ChangeAreas[0].Megatrends = {"AI", "Robots"};
    auto& change = data.ChangeAreas[0].Changes.Add();
    change.Name = "Automation";
    change.Description = "Machines do more";
    change.Strengths.Add().Name = "Skilled staff";
    change.Threats.Add().Name = "Cheap rivals";
    change.Threats[0].Rank = 7;
    change.ImpToday = 3;
    change.ImpTomorrow = 10;
    auto& risk = change.Risks.Add();
    risk.Name = "Obsolescence";
    risk.FinImpact = -1234567.5;
    risk.RiskType = 1;
    risk.Impact = 8;
    risk.Likelihood = 4;
    risk.Handling = "Retrain";
    data.RiskTypes.push_back("Technical");
    auto& competitor = data.Competitors.Add();
    competitor.Name = "Rival Ltd";
    competitor.MarketShare = 35;
    competitor.WatchPoints = "Pricing";
    auto& customer = data.Customers.Add(std::make_unique<TCustProd>(TCustProd::WithPlanTemplate{}));
    customer.Name = "Hotels";
    auto& keyChar = customer.KeyChars.Add();
    keyChar.Name = "Price";
    keyChar.Match = 3;
    keyChar.Importance = 9;
    keyChar.Excluded = false;
    customer.MarketPotential.Add().Rank = 250000;
    auto& group = data.Customers.Add();
    group.Name = "All hotels";
    group.Members = std::make_unique<TDelList<TInteger>>();
    group.Members->Add().Value = 0;
    auto& product = data.Products.Add();
    product.Name = "Ovens";
    auto& specific = product.Capabilities.Add();
    specific.Name = "Welding";
    specific.Acquisition = 5;
    data.Capabilities.Add().Name = "Sales";
    auto& marketGroup = data.MarketGroups.Add();
    marketGroup.Name = "Hospitality";
    marketGroup.CustomerRefs.Add().Rank = 0;
    marketGroup.ServiceRefs.Add().Link = 1;
    auto& capabilityRef = marketGroup.CapabilityRefs.Add();
    capabilityRef.Link = 0;
    capabilityRef.Rank = -1;
    auto& action = data.Actions.Add();
    action.What = "Hire";
    action.Who = "HR";
    action.Due = 46500;
    action.Done = true;
}

double fieldNumber(std::string_view field)
{
    static const std::map<std::string_view, double> numbers = {
        {"Link", 2},          {"Rank", 3},         {"Match", 4},         {"Importance", 5},
        {"ImpTomorrow", 6},   {"ImpToday", 7},     {"Acquisition", 8},   {"Placement", 9},
        {"RiskType", 10},     {"Impact", 11},      {"Likelihood", 12},   {"MarketShare", 13},
        {"Members", 14},      {"DateFrom", 15.5},  {"DateTo", 16.5},     {"FinImpact", 17.5},
        {"Due", 18.5},        {"Excluded", 0},     {"Done", 1},
    };
    const auto it = numbers.find(field);
    return it == numbers.end() ? -1000 : it->second;
}

void fillEveryField(TCaseData& data)
{
    // Fields are set by name here, independently of any list of fields the code keeps.
    const auto ranked = [](TRankedItem& item) {
        item.Name = "Name";
        item.Link = 2;
        item.Rank = 3;
    };
    const auto capability = [](TCapability& item) {
        item.Name = "Name";
        item.ImpTomorrow = 6;
        item.ImpToday = 7;
        item.Acquisition = 8;
        item.Placement = 9;
        item.Decisions = "Decisions";
    };
    data.Title = "Title";
    data.Description = "Description";
    data.OrgDescription = "OrgDescription";
    data.VisionMission = "VisionMission";
    data.SuccessFactors = "SuccessFactors";
    data.DateFrom = 15.5;
    data.DateTo = 16.5;
    ranked(data.KeyObjectives.Add());
    data.ObjectiveTypes = {"ObjectiveTypes"};
    data.RiskTypes = {"RiskTypes"};
    data.ChangeAreas.Clear();
    auto& area = data.ChangeAreas.Add();
    area.Name = "Name";
    area.Megatrends = {"Megatrends"};
    auto& change = area.Changes.Add();
    change.Name = "Name";
    change.Description = "Description";
    for (auto* list : {&change.Strengths, &change.Weaknesses, &change.Opportunities, &change.Threats})
        ranked(list->Add());
    change.ImpToday = 7;
    change.ImpTomorrow = 6;
    auto& risk = change.Risks.Add();
    risk.Name = "Name";
    risk.FinImpact = 17.5;
    risk.RiskType = 10;
    risk.Impact = 11;
    risk.Likelihood = 12;
    risk.Handling = "Handling";
    auto& competitor = data.Competitors.Add();
    competitor.Name = "Name";
    competitor.MarketShare = 13;
    competitor.Description = "Description";
    competitor.KeyServices = "KeyServices";
    competitor.KeyClients = "KeyClients";
    competitor.KeyAdvantages = "KeyAdvantages";
    competitor.KeyDisadvantages = "KeyDisadvantages";
    competitor.PotentialDev = "PotentialDev";
    competitor.WatchPoints = "WatchPoints";
    for (auto* list : {&data.Customers, &data.Products}) {
        auto& entry = list->Add();
        entry.Name = "Name";
        entry.Description = "Description";
        entry.KeyNeeds = "KeyNeeds";
        auto& keyChar = entry.KeyChars.Add();
        keyChar.Name = "Name";
        keyChar.Match = 4;
        keyChar.Importance = 5;
        keyChar.Excluded = false;
        ranked(entry.MarketPotential.Add());
        entry.Members = std::make_unique<TDelList<TInteger>>();
        entry.Members->Add().Value = 14;
        capability(entry.Capabilities.Add());
    }
    capability(data.Capabilities.Add());
    auto& group = data.MarketGroups.Add();
    group.Name = "Name";
    for (auto* list : {&group.CustomerRefs, &group.ServiceRefs, &group.CapabilityRefs})
        ranked(list->Add());
    auto& action = data.Actions.Add();
    action.What = "What";
    action.Who = "Who";
    action.Importance = 5;
    action.Due = 18.5;
    action.Done = true;
}

} // namespace testing_support
