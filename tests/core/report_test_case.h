#pragma once

// A case for the report tests: every chapter has content, user text carries RTF's special
// characters and an attempted field injection, and several stored indices name nothing.

#include <memory>
#include <string>

#include "model/case_data.h"
#include "model/date_time.h"

namespace report_test {

inline constexpr const char* kInjection = "{\\field{\\*\\fldinst HYPERLINK \"http://evil\"}{\\fldrslt click}}";

inline TRankedItem& addRanked(TDelList<TRankedItem>& list, const std::string& name, int32_t rank,
                              int32_t link = -1)
{
    auto& item = list.Add();
    item.Name = name;
    item.Rank = rank;
    item.Link = link;
    return item;
}

inline TCapability& addCapability(TDelList<TCapability>& list, const std::string& name, int32_t today,
                                  int32_t tomorrow, int32_t acquisition, int32_t placement,
                                  const std::string& decisions = "")
{
    auto& capability = list.Add();
    capability.Name = name;
    capability.ImpToday = today;
    capability.ImpTomorrow = tomorrow;
    capability.Acquisition = acquisition;
    capability.Placement = placement;
    capability.Decisions = decisions;
    return capability;
}

inline void setDates(TCaseData& data)
{
    data.DateFrom = encodeDate(2024, 1, 15);
    data.DateTo = encodeDate(2026, 12, 31);
}

inline std::unique_ptr<TCaseData> makeReportCase()
{
    auto data = std::make_unique<TCaseData>();
    setDates(*data);
    data->Title = "Plan {2025} \\ North";
    data->Description = "First line\r\nSecond line";
    data->OrgDescription = "Acme {Holdings} \\ Caf\xE9";
    data->VisionMission = "Grow\r\nLead";
    data->SuccessFactors = "Speed";
    data->ObjectiveTypes[0] = "Culture {core}";
    data->RiskTypes.push_back("Legal\\IP");
    addRanked(data->KeyObjectives, "Market share", 9, 0);
    addRanked(data->KeyObjectives, "Untyped", 3, -1);
    addRanked(data->KeyObjectives, "Damaged type", 5, 42);

    TChangeArea& technology = data->ChangeAreas[0];
    technology.Megatrends = {"AI", "Cloud {hybrid}"};
    TChange& automation = technology.Changes.Add();
    automation.Name = "Automation";
    automation.Description = "Robots\r\neverywhere";
    automation.ImpToday = 4;
    automation.ImpTomorrow = 8;
    addRanked(automation.Strengths, "S1", 7);
    addRanked(automation.Strengths, "S2", 6);
    addRanked(automation.Strengths, "S3", 5);
    addRanked(automation.Opportunities, "O1", 2);
    addRanked(automation.Threats, "T{1}", 9);
    TRisk& risk1 = automation.Risks.Add();
    risk1.Name = "Outage";
    risk1.FinImpact = 1234567.5;
    risk1.RiskType = 2;
    risk1.Impact = 6;
    risk1.Likelihood = 3;
    risk1.Handling = "Backup\r\nsite";
    TRisk& risk2 = automation.Risks.Add();
    risk2.Name = "Fine";
    risk2.FinImpact = -2.5;
    risk2.RiskType = 7;
    TChange& quiet = technology.Changes.Add();
    quiet.Name = "Quiet change";
    TChange& market = data->ChangeAreas[2].Changes.Add();
    market.Name = "New entrants";
    addRanked(market.Weaknesses, "W1", 1);

    TCompetitor& competitor = data->Competitors.Add();
    competitor.Name = "Rival {Inc}";
    competitor.MarketShare = 35;
    competitor.Description = "Big";
    competitor.KeyServices = "Consulting\r\nTraining";
    competitor.KeyClients = "Banks";
    competitor.PotentialDev = "Growing";
    competitor.WatchPoints = "Prices";

    auto addCustomer = [&](const std::string& name) -> TCustProd& {
        auto& customer = data->Customers.Add(std::make_unique<TCustProd>(TCustProd::WithPlanTemplate{}));
        customer.Name = name;
        return customer;
    };
    TCustProd& alpha = addCustomer("Alpha");
    alpha.Description = "Main client";
    alpha.KeyNeeds = "Price\r\nQuality";
    auto& excluded = alpha.KeyChars.Add();
    excluded.Name = "Hidden char";
    auto& rated = alpha.KeyChars.Add();
    rated.Name = "Size";
    rated.Excluded = false;
    rated.Importance = 8;
    rated.Match = 3;
    addRanked(alpha.MarketPotential, "2025", 1500000);
    alpha.Capabilities[0].ImpToday = 1000;
    alpha.Capabilities[0].Acquisition = 2000;
    alpha.Capabilities[0].Placement = 2147483647;
    TCustProd& beta = addCustomer(kInjection);
    beta.Capabilities[0].ImpToday = 500;
    beta.Capabilities[0].Placement = 2147483647;
    beta.Capabilities[16].ImpToday = -7;
    TCustProd& gamma = addCustomer("Gamma");
    while (gamma.Capabilities.Count() > 1)
        gamma.Capabilities.Delete(gamma.Capabilities.Count() - 1);
    gamma.Capabilities[0].ImpToday = 1;
    auto& allExcluded = gamma.KeyChars.Add();
    allExcluded.Name = "Never shown";
    TCustProd& group = data->Customers.Add();
    group.Name = "Key accounts";
    group.Members = std::make_unique<TDelList<TInteger>>();
    group.Members->Add().Value = 0;
    group.Members->Add().Value = 99;
    group.Members->Add().Value = 1;

    TCustProd& software = data->Products.Add();
    software.Name = "Software";
    software.KeyNeeds = "Fast";
    addCapability(software.Capabilities, "Coding", 6, 9, 2, 0, "Hire");
    addCapability(software.Capabilities, "Testing", 3, 7, -1, 5);
    TCustProd& service = data->Products.Add();
    service.Name = "Service";
    TCustProd& emptyGroup = data->Products.Add();
    emptyGroup.Name = "Empty bundle";
    emptyGroup.Members = std::make_unique<TDelList<TInteger>>();

    addCapability(data->Capabilities, "Sales", 5, 8, 0, 0, "Expand\r\nTrain");
    addCapability(data->Capabilities, "Logistics", 4, 6, 1, 1 + 4 * 3);
    addCapability(data->Capabilities, "Legal", 2, 3, 2, 2);
    addCapability(data->Capabilities, "Damaged", 1, 1, 7, -3);

    TMarketGroup& marketGroup = data->MarketGroups.Add();
    marketGroup.Name = "Group {A}";
    addRanked(marketGroup.CustomerRefs, "first choice", 0);
    addRanked(marketGroup.CustomerRefs, "gone", 99);
    addRanked(marketGroup.ServiceRefs, "with partner", 0, 1);
    addRanked(marketGroup.ServiceRefs, "alone", 1, 0);
    addRanked(marketGroup.ServiceRefs, "lost", -4, 0);
    addRanked(marketGroup.CapabilityRefs, "general", -1, 0);
    addRanked(marketGroup.CapabilityRefs, "specific", 0, 1);
    addRanked(marketGroup.CapabilityRefs, "missing", 0, 9);
    addRanked(marketGroup.CapabilityRefs, "no product", 50, 0);
    data->MarketGroups.Add().Name = "Empty group";

    TAction& call = data->Actions.Add();
    call.What = "Call {Alpha}";
    call.Who = "Ann";
    call.Importance = 7;
    call.Due = encodeDate(2025, 3, 1);
    call.Done = true;
    TAction& plan = data->Actions.Add();
    plan.What = "Plan";
    plan.Due = encodeDate(2025, 12, 24);
    return data;
}

} // namespace report_test
