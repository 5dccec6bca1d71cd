#pragma once

// The one description of every model class's stored fields: their names, their order and their
// types. Deep copy, the case-file reader and writer and the JSON conversions are all visitors over
// it, so a field is added, moved or renamed here and nowhere else.
//
// visitFields(item, visit, source...) calls visit(key, item.Field, source.Field...) for each stored
// field in file order. The key is the field's name, which is also its JSON key; the kind of the
// field is its C++ type:
//
//   std::string                          text
//   int32_t                              whole number
//   double                               date or amount (floating point)
//   bool                                 flag
//   TStringList                          list of texts
//   TDelList<T>                          list of T, each element visited with visitFields again
//   std::unique_ptr<TDelList<TInteger>>  TCustProd::Members: a list of whole numbers that may be
//                                        absent (each visitor states what absent means to it)
//
// `item` may be const (writing) or not (reading); the optional `source` objects are visited in step
// with it, which is how copying sees both sides. Everything is inline templates: a visitor
// compiles to the same code as the hand-written field-by-field version.

#include <concepts>
#include <type_traits>

#include "model/case_data.h"

// Item is T or const T.
template <class Item, class T>
concept FieldsOf = std::same_as<std::remove_const_t<Item>, T>;

template <FieldsOf<TInteger> Item, class Visit, class... Source>
void visitFields(Item& item, Visit&& visit, Source&... source)
{
    visit("Value", item.Value, source.Value...);
}

template <FieldsOf<TRankedItem> Item, class Visit, class... Source>
void visitFields(Item& item, Visit&& visit, Source&... source)
{
    visit("Name", item.Name, source.Name...);
    visit("Link", item.Link, source.Link...);
    visit("Rank", item.Rank, source.Rank...);
}

template <FieldsOf<TKeyCharItem> Item, class Visit, class... Source>
void visitFields(Item& item, Visit&& visit, Source&... source)
{
    visit("Name", item.Name, source.Name...);
    visit("Match", item.Match, source.Match...);
    visit("Importance", item.Importance, source.Importance...);
    visit("Excluded", item.Excluded, source.Excluded...);
}

template <FieldsOf<TCapability> Item, class Visit, class... Source>
void visitFields(Item& item, Visit&& visit, Source&... source)
{
    visit("Name", item.Name, source.Name...);
    visit("ImpTomorrow", item.ImpTomorrow, source.ImpTomorrow...);
    visit("ImpToday", item.ImpToday, source.ImpToday...);
    visit("Acquisition", item.Acquisition, source.Acquisition...);
    visit("Placement", item.Placement, source.Placement...);
    visit("Decisions", item.Decisions, source.Decisions...);
}

template <FieldsOf<TAction> Item, class Visit, class... Source>
void visitFields(Item& item, Visit&& visit, Source&... source)
{
    visit("What", item.What, source.What...);
    visit("Who", item.Who, source.Who...);
    visit("Importance", item.Importance, source.Importance...);
    visit("Due", item.Due, source.Due...);
    visit("Done", item.Done, source.Done...);
}

template <FieldsOf<TRisk> Item, class Visit, class... Source>
void visitFields(Item& item, Visit&& visit, Source&... source)
{
    visit("Name", item.Name, source.Name...);
    visit("FinImpact", item.FinImpact, source.FinImpact...);
    visit("RiskType", item.RiskType, source.RiskType...);
    visit("Impact", item.Impact, source.Impact...);
    visit("Likelihood", item.Likelihood, source.Likelihood...);
    visit("Handling", item.Handling, source.Handling...);
}

template <FieldsOf<TChange> Item, class Visit, class... Source>
void visitFields(Item& item, Visit&& visit, Source&... source)
{
    visit("Name", item.Name, source.Name...);
    visit("Description", item.Description, source.Description...);
    visit("Strengths", item.Strengths, source.Strengths...);
    visit("Weaknesses", item.Weaknesses, source.Weaknesses...);
    visit("Opportunities", item.Opportunities, source.Opportunities...);
    visit("Threats", item.Threats, source.Threats...);
    visit("ImpToday", item.ImpToday, source.ImpToday...);
    visit("ImpTomorrow", item.ImpTomorrow, source.ImpTomorrow...);
    visit("Risks", item.Risks, source.Risks...);
}

template <FieldsOf<TChangeArea> Item, class Visit, class... Source>
void visitFields(Item& item, Visit&& visit, Source&... source)
{
    visit("Name", item.Name, source.Name...);
    visit("Megatrends", item.Megatrends, source.Megatrends...);
    visit("Changes", item.Changes, source.Changes...);
}

template <FieldsOf<TCompetitor> Item, class Visit, class... Source>
void visitFields(Item& item, Visit&& visit, Source&... source)
{
    visit("Name", item.Name, source.Name...);
    visit("MarketShare", item.MarketShare, source.MarketShare...);
    visit("Description", item.Description, source.Description...);
    visit("KeyServices", item.KeyServices, source.KeyServices...);
    visit("KeyClients", item.KeyClients, source.KeyClients...);
    visit("KeyAdvantages", item.KeyAdvantages, source.KeyAdvantages...);
    visit("KeyDisadvantages", item.KeyDisadvantages, source.KeyDisadvantages...);
    visit("PotentialDev", item.PotentialDev, source.PotentialDev...);
    visit("WatchPoints", item.WatchPoints, source.WatchPoints...);
}

template <FieldsOf<TMarketGroup> Item, class Visit, class... Source>
void visitFields(Item& item, Visit&& visit, Source&... source)
{
    visit("Name", item.Name, source.Name...);
    visit("CustomerRefs", item.CustomerRefs, source.CustomerRefs...);
    visit("ServiceRefs", item.ServiceRefs, source.ServiceRefs...);
    visit("CapabilityRefs", item.CapabilityRefs, source.CapabilityRefs...);
}

template <FieldsOf<TCustProd> Item, class Visit, class... Source>
void visitFields(Item& item, Visit&& visit, Source&... source)
{
    visit("Name", item.Name, source.Name...);
    visit("Description", item.Description, source.Description...);
    visit("KeyNeeds", item.KeyNeeds, source.KeyNeeds...);
    visit("KeyChars", item.KeyChars, source.KeyChars...);
    visit("MarketPotential", item.MarketPotential, source.MarketPotential...);
    visit("Members", item.Members, source.Members...);
    visit("Capabilities", item.Capabilities, source.Capabilities...);
}

// The stored fields of a case, in file order, which is not declaration order: SuccessFactors comes
// before the dates and RiskTypes after ChangeAreas. Modified, FileName and the four filter bounds
// are not stored and so not visited; TCaseData::Assign copies the bounds itself.
template <FieldsOf<TCaseData> Item, class Visit, class... Source>
void visitFields(Item& data, Visit&& visit, Source&... source)
{
    visit("Title", data.Title, source.Title...);
    visit("Description", data.Description, source.Description...);
    visit("OrgDescription", data.OrgDescription, source.OrgDescription...);
    visit("VisionMission", data.VisionMission, source.VisionMission...);
    visit("SuccessFactors", data.SuccessFactors, source.SuccessFactors...);
    visit("DateFrom", data.DateFrom, source.DateFrom...);
    visit("DateTo", data.DateTo, source.DateTo...);
    visit("KeyObjectives", data.KeyObjectives, source.KeyObjectives...);
    visit("ObjectiveTypes", data.ObjectiveTypes, source.ObjectiveTypes...);
    visit("ChangeAreas", data.ChangeAreas, source.ChangeAreas...);
    visit("RiskTypes", data.RiskTypes, source.RiskTypes...);
    visit("Competitors", data.Competitors, source.Competitors...);
    visit("Customers", data.Customers, source.Customers...);
    visit("Products", data.Products, source.Products...);
    visit("Capabilities", data.Capabilities, source.Capabilities...);
    visit("MarketGroups", data.MarketGroups, source.MarketGroups...);
    visit("Actions", data.Actions, source.Actions...);
}
