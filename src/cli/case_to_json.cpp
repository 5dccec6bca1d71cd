#include "cli/case_to_json.h"

#include <cmath>

#include "model/case_data.h"
#include "model/cp1252.h"

namespace {

OrderedJson text(const std::string& bytes)
{
    return cp1252ToUtf8(bytes);
}

OrderedJson real(double value, const std::string& path)
{
    if (!std::isfinite(value)) {
        const char* what = std::isnan(value) ? "NaN" : (value > 0 ? "infinity" : "-infinity");
        throw JsonExportError(path, std::string("not a finite number (") + what + "), which JSON cannot hold");
    }
    return value;
}

OrderedJson texts(const TStringList& list)
{
    OrderedJson array = OrderedJson::array();
    for (const auto& s : list)
        array.push_back(text(s));
    return array;
}

// Converts every element of a model list; toJson(element, path) gives one element.
template <class List, class Convert>
OrderedJson objects(const List& list, const std::string& path, Convert toJson)
{
    OrderedJson array = OrderedJson::array();
    std::size_t i = 0;
    for (const auto& item : list)
        array.push_back(toJson(item, jsonElementPath(path, i++)));
    return array;
}

OrderedJson ranked(const TRankedItem& item, const std::string&)
{
    OrderedJson o;
    o["Name"] = text(item.Name);
    o["Link"] = item.Link;
    o["Rank"] = item.Rank;
    return o;
}

OrderedJson risk(const TRisk& item, const std::string& path)
{
    OrderedJson o;
    o["Name"] = text(item.Name);
    o["FinImpact"] = real(item.FinImpact, jsonMemberPath(path, "FinImpact"));
    o["RiskType"] = item.RiskType;
    o["Impact"] = item.Impact;
    o["Likelihood"] = item.Likelihood;
    o["Handling"] = text(item.Handling);
    return o;
}

OrderedJson change(const TChange& item, const std::string& path)
{
    OrderedJson o;
    o["Name"] = text(item.Name);
    o["Description"] = text(item.Description);
    o["Strengths"] = objects(item.Strengths, jsonMemberPath(path, "Strengths"), ranked);
    o["Weaknesses"] = objects(item.Weaknesses, jsonMemberPath(path, "Weaknesses"), ranked);
    o["Opportunities"] = objects(item.Opportunities, jsonMemberPath(path, "Opportunities"), ranked);
    o["Threats"] = objects(item.Threats, jsonMemberPath(path, "Threats"), ranked);
    o["ImpToday"] = item.ImpToday;
    o["ImpTomorrow"] = item.ImpTomorrow;
    o["Risks"] = objects(item.Risks, jsonMemberPath(path, "Risks"), risk);
    return o;
}

OrderedJson area(const TChangeArea& item, const std::string& path)
{
    OrderedJson o;
    o["Name"] = text(item.Name);
    o["Megatrends"] = texts(item.Megatrends);
    o["Changes"] = objects(item.Changes, jsonMemberPath(path, "Changes"), change);
    return o;
}

OrderedJson competitor(const TCompetitor& item, const std::string&)
{
    OrderedJson o;
    o["Name"] = text(item.Name);
    o["MarketShare"] = item.MarketShare;
    o["Description"] = text(item.Description);
    o["KeyServices"] = text(item.KeyServices);
    o["KeyClients"] = text(item.KeyClients);
    o["KeyAdvantages"] = text(item.KeyAdvantages);
    o["KeyDisadvantages"] = text(item.KeyDisadvantages);
    o["PotentialDev"] = text(item.PotentialDev);
    o["WatchPoints"] = text(item.WatchPoints);
    return o;
}

OrderedJson keyChar(const TKeyCharItem& item, const std::string&)
{
    OrderedJson o;
    o["Name"] = text(item.Name);
    o["Match"] = item.Match;
    o["Importance"] = item.Importance;
    o["Excluded"] = item.Excluded;
    return o;
}

OrderedJson capability(const TCapability& item, const std::string&)
{
    OrderedJson o;
    o["Name"] = text(item.Name);
    o["ImpTomorrow"] = item.ImpTomorrow;
    o["ImpToday"] = item.ImpToday;
    o["Acquisition"] = item.Acquisition;
    o["Placement"] = item.Placement;
    o["Decisions"] = text(item.Decisions);
    return o;
}

OrderedJson custProd(const TCustProd& item, const std::string& path)
{
    OrderedJson o;
    o["Name"] = text(item.Name);
    o["Description"] = text(item.Description);
    o["KeyNeeds"] = text(item.KeyNeeds);
    o["KeyChars"] = objects(item.KeyChars, jsonMemberPath(path, "KeyChars"), keyChar);
    o["MarketPotential"] = objects(item.MarketPotential, jsonMemberPath(path, "MarketPotential"), ranked);
    if (item.Members) {
        OrderedJson members = OrderedJson::array();
        for (const auto& member : *item.Members)
            members.push_back(member.Value);
        o["Members"] = std::move(members);
    } else {
        o["Members"] = nullptr;
    }
    o["Capabilities"] = objects(item.Capabilities, jsonMemberPath(path, "Capabilities"), capability);
    return o;
}

OrderedJson marketGroup(const TMarketGroup& item, const std::string& path)
{
    OrderedJson o;
    o["Name"] = text(item.Name);
    o["CustomerRefs"] = objects(item.CustomerRefs, jsonMemberPath(path, "CustomerRefs"), ranked);
    o["ServiceRefs"] = objects(item.ServiceRefs, jsonMemberPath(path, "ServiceRefs"), ranked);
    o["CapabilityRefs"] = objects(item.CapabilityRefs, jsonMemberPath(path, "CapabilityRefs"), ranked);
    return o;
}

OrderedJson action(const TAction& item, const std::string& path)
{
    OrderedJson o;
    o["What"] = text(item.What);
    o["Who"] = text(item.Who);
    o["Importance"] = item.Importance;
    o["Due"] = real(item.Due, jsonMemberPath(path, "Due"));
    o["Done"] = item.Done;
    return o;
}

} // namespace

OrderedJson caseToJson(const TCaseData& data)
{
    OrderedJson o;
    o["Title"] = text(data.Title);
    o["Description"] = text(data.Description);
    o["OrgDescription"] = text(data.OrgDescription);
    o["VisionMission"] = text(data.VisionMission);
    o["SuccessFactors"] = text(data.SuccessFactors);
    o["DateFrom"] = real(data.DateFrom, "DateFrom");
    o["DateTo"] = real(data.DateTo, "DateTo");
    o["KeyObjectives"] = objects(data.KeyObjectives, "KeyObjectives", ranked);
    o["ObjectiveTypes"] = texts(data.ObjectiveTypes);
    o["ChangeAreas"] = objects(data.ChangeAreas, "ChangeAreas", area);
    o["RiskTypes"] = texts(data.RiskTypes);
    o["Competitors"] = objects(data.Competitors, "Competitors", competitor);
    o["Customers"] = objects(data.Customers, "Customers", custProd);
    o["Products"] = objects(data.Products, "Products", custProd);
    o["Capabilities"] = objects(data.Capabilities, "Capabilities", capability);
    o["MarketGroups"] = objects(data.MarketGroups, "MarketGroups", marketGroup);
    o["Actions"] = objects(data.Actions, "Actions", action);
    return o;
}
