#include "model/case_data.h"

#include "model/date_time.h"
#include "model/value_stream.h"

const char* const kPlanRowNames[9] = {"Income",         "Grossprofit",       "Expenditure",
                                      "Net Profit",     "Special Expenditure", "Special Income",
                                      "Profit before tax", "Tax",              "Profit"};

namespace {

void readStringList(ValueReader& reader, TStringList& list)
{
    reader.readListBegin();
    while (!reader.atListEnd())
        list.push_back(reader.readString());
    reader.readListEnd();
}

void writeStringList(ValueWriter& writer, const TStringList& list)
{
    writer.writeListBegin();
    for (const auto& s : list)
        writer.writeString(s);
    writer.writeListEnd();
}

} // namespace

// TInteger

TInteger& TInteger::ReadFrom(ValueReader& reader)
{
    Value = reader.readInteger();
    return *this;
}

void TInteger::WriteTo(ValueWriter& writer) const
{
    writer.writeInteger(Value);
}

// TRankedItem

void TRankedItem::Assign(const TRankedItem& source)
{
    Name = source.Name;
    Link = source.Link;
    Rank = source.Rank;
}

TRankedItem& TRankedItem::ReadFrom(ValueReader& reader)
{
    Name = reader.readString();
    Link = reader.readInteger();
    Rank = reader.readInteger();
    return *this;
}

void TRankedItem::WriteTo(ValueWriter& writer) const
{
    writer.writeString(Name);
    writer.writeInteger(Link);
    writer.writeInteger(Rank);
}

// TKeyCharItem

void TKeyCharItem::Assign(const TKeyCharItem& source)
{
    Name = source.Name;
    Match = source.Match;
    Importance = source.Importance;
    Excluded = source.Excluded;
}

TKeyCharItem& TKeyCharItem::ReadFrom(ValueReader& reader)
{
    Name = reader.readString();
    Match = reader.readInteger();
    Importance = reader.readInteger();
    Excluded = reader.readBool();
    return *this;
}

void TKeyCharItem::WriteTo(ValueWriter& writer) const
{
    writer.writeString(Name);
    writer.writeInteger(Match);
    writer.writeInteger(Importance);
    writer.writeBool(Excluded);
}

// TCapability

void TCapability::Assign(const TCapability& source)
{
    Name = source.Name;
    ImpTomorrow = source.ImpTomorrow;
    ImpToday = source.ImpToday;
    Acquisition = source.Acquisition;
    Placement = source.Placement;
    Decisions = source.Decisions;
}

TCapability& TCapability::ReadFrom(ValueReader& reader)
{
    Name = reader.readString();
    ImpTomorrow = reader.readInteger();
    ImpToday = reader.readInteger();
    Acquisition = reader.readInteger();
    Placement = reader.readInteger();
    Decisions = reader.readString();
    return *this;
}

void TCapability::WriteTo(ValueWriter& writer) const
{
    writer.writeString(Name);
    writer.writeInteger(ImpTomorrow);
    writer.writeInteger(ImpToday);
    writer.writeInteger(Acquisition);
    writer.writeInteger(Placement);
    writer.writeString(Decisions);
}

// TAction

TAction::TAction() : Due(nowAsDateTime()) {}

void TAction::Assign(const TAction& source)
{
    What = source.What;
    Who = source.Who;
    Importance = source.Importance;
    Due = source.Due;
    Done = source.Done;
}

TAction& TAction::ReadFrom(ValueReader& reader)
{
    What = reader.readString();
    Who = reader.readString();
    Importance = reader.readInteger();
    Due = reader.readFloat();
    Done = reader.readBool();
    return *this;
}

void TAction::WriteTo(ValueWriter& writer) const
{
    writer.writeString(What);
    writer.writeString(Who);
    writer.writeInteger(Importance);
    writer.writeFloat(Due);
    writer.writeBool(Done);
}

// TRisk

void TRisk::Assign(const TRisk& source)
{
    Name = source.Name;
    FinImpact = source.FinImpact;
    RiskType = source.RiskType;
    Impact = source.Impact;
    Likelihood = source.Likelihood;
    Handling = source.Handling;
}

TRisk& TRisk::ReadFrom(ValueReader& reader)
{
    Name = reader.readString();
    FinImpact = reader.readFloat();
    RiskType = reader.readInteger();
    Impact = reader.readInteger();
    Likelihood = reader.readInteger();
    Handling = reader.readString();
    return *this;
}

void TRisk::WriteTo(ValueWriter& writer) const
{
    writer.writeString(Name);
    writer.writeFloat(FinImpact);
    writer.writeInteger(RiskType);
    writer.writeInteger(Impact);
    writer.writeInteger(Likelihood);
    writer.writeString(Handling);
}

// TChange

void TChange::Assign(const TChange& source)
{
    Name = source.Name;
    Description = source.Description;
    Strengths.Assign(source.Strengths);
    Weaknesses.Assign(source.Weaknesses);
    Opportunities.Assign(source.Opportunities);
    Threats.Assign(source.Threats);
    ImpToday = source.ImpToday;
    ImpTomorrow = source.ImpTomorrow;
    Risks.Assign(source.Risks);
}

TChange& TChange::ReadFrom(ValueReader& reader)
{
    Name = reader.readString();
    Description = reader.readString();
    readObjectList(reader, Strengths);
    readObjectList(reader, Weaknesses);
    readObjectList(reader, Opportunities);
    readObjectList(reader, Threats);
    ImpToday = reader.readInteger();
    ImpTomorrow = reader.readInteger();
    readObjectList(reader, Risks);
    return *this;
}

void TChange::WriteTo(ValueWriter& writer) const
{
    writer.writeString(Name);
    writer.writeString(Description);
    writeObjectList(writer, Strengths);
    writeObjectList(writer, Weaknesses);
    writeObjectList(writer, Opportunities);
    writeObjectList(writer, Threats);
    writer.writeInteger(ImpToday);
    writer.writeInteger(ImpTomorrow);
    writeObjectList(writer, Risks);
}

// TChangeArea

void TChangeArea::Assign(const TChangeArea& source)
{
    Name = source.Name;
    Megatrends = source.Megatrends;
    Changes.Assign(source.Changes);
}

TChangeArea& TChangeArea::ReadFrom(ValueReader& reader)
{
    Name = reader.readString();
    readStringList(reader, Megatrends);
    readObjectList(reader, Changes);
    return *this;
}

void TChangeArea::WriteTo(ValueWriter& writer) const
{
    writer.writeString(Name);
    writeStringList(writer, Megatrends);
    writeObjectList(writer, Changes);
}

// TCompetitor

void TCompetitor::Assign(const TCompetitor& source)
{
    Name = source.Name;
    MarketShare = source.MarketShare;
    Description = source.Description;
    KeyServices = source.KeyServices;
    KeyClients = source.KeyClients;
    KeyAdvantages = source.KeyAdvantages;
    KeyDisadvantages = source.KeyDisadvantages;
    PotentialDev = source.PotentialDev;
    WatchPoints = source.WatchPoints;
}

TCompetitor& TCompetitor::ReadFrom(ValueReader& reader)
{
    Name = reader.readString();
    MarketShare = reader.readInteger();
    Description = reader.readString();
    KeyServices = reader.readString();
    KeyClients = reader.readString();
    KeyAdvantages = reader.readString();
    KeyDisadvantages = reader.readString();
    PotentialDev = reader.readString();
    WatchPoints = reader.readString();
    return *this;
}

void TCompetitor::WriteTo(ValueWriter& writer) const
{
    writer.writeString(Name);
    writer.writeInteger(MarketShare);
    writer.writeString(Description);
    writer.writeString(KeyServices);
    writer.writeString(KeyClients);
    writer.writeString(KeyAdvantages);
    writer.writeString(KeyDisadvantages);
    writer.writeString(PotentialDev);
    writer.writeString(WatchPoints);
}

// TMarketGroup

void TMarketGroup::Assign(const TMarketGroup& source)
{
    Name = source.Name;
    CustomerRefs.Assign(source.CustomerRefs);
    ServiceRefs.Assign(source.ServiceRefs);
    CapabilityRefs.Assign(source.CapabilityRefs);
}

TMarketGroup& TMarketGroup::ReadFrom(ValueReader& reader)
{
    Name = reader.readString();
    readObjectList(reader, CustomerRefs);
    readObjectList(reader, ServiceRefs);
    readObjectList(reader, CapabilityRefs);
    return *this;
}

void TMarketGroup::WriteTo(ValueWriter& writer) const
{
    writer.writeString(Name);
    writeObjectList(writer, CustomerRefs);
    writeObjectList(writer, ServiceRefs);
    writeObjectList(writer, CapabilityRefs);
}

// TCustProd

TCustProd::TCustProd(WithPlanTemplate)
{
    for (int i = 0; i < 9; ++i) {
        auto& row = Capabilities.Add();
        row.Name = kPlanRowNames[i];
        row.ImpTomorrow = 1;
        row.ImpToday = 0;
        if (i < 8) {
            auto& entry = Capabilities.Add();
            entry.Name = kPlanEntryRowName;
            entry.ImpTomorrow = 0;
            entry.ImpToday = 0;
        }
    }
}

void TCustProd::Assign(const TCustProd& source)
{
    Name = source.Name;
    Description = source.Description;
    KeyNeeds = source.KeyNeeds;
    KeyChars.Assign(source.KeyChars);
    MarketPotential.Assign(source.MarketPotential);
    // Members is present or absent exactly as in the source.
    if (source.Members) {
        if (!Members)
            Members = std::make_unique<TDelList<TInteger>>();
        Members->Assign(*source.Members);
    } else {
        Members.reset();
    }
    Capabilities.Assign(source.Capabilities);
}

TCustProd& TCustProd::ReadFrom(ValueReader& reader)
{
    Name = reader.readString();
    Description = reader.readString();
    KeyNeeds = reader.readString();
    readObjectList(reader, KeyChars);
    readObjectList(reader, MarketPotential);
    // A stored Members list only becomes present when it has at least one element.
    reader.readListBegin();
    while (!reader.atListEnd()) {
        if (!Members)
            Members = std::make_unique<TDelList<TInteger>>();
        Members->Add().ReadFrom(reader);
    }
    reader.readListEnd();
    readObjectList(reader, Capabilities);
    return *this;
}

void TCustProd::WriteTo(ValueWriter& writer) const
{
    writer.writeString(Name);
    writer.writeString(Description);
    writer.writeString(KeyNeeds);
    writeObjectList(writer, KeyChars);
    writeObjectList(writer, MarketPotential);
    writer.writeListBegin();
    if (Members) {
        for (const auto& member : *Members)
            member.WriteTo(writer);
    }
    writer.writeListEnd();
    writeObjectList(writer, Capabilities);
}

// TCaseData

TCaseData::TCaseData() : DateFrom(nowAsDateTime()), DateTo(DateFrom)
{
    ObjectiveTypes = {"Culture", "Capabilities/Skills", "Image"};
    RiskTypes = {"Financial", "Political"};
    for (const char* name : {"Technology", "Regulations", "Market"})
        ChangeAreas.Add(std::make_unique<TChangeArea>(name));
}

void TCaseData::Assign(const TCaseData& source)
{
    if (&source == this)
        return;
    Title = source.Title;
    Description = source.Description;
    VisionMission = source.VisionMission;
    OrgDescription = source.OrgDescription;
    SuccessFactors = source.SuccessFactors;
    DateFrom = source.DateFrom;
    DateTo = source.DateTo;
    CustFilterLow.Assign(source.CustFilterLow);
    CustFilterHigh.Assign(source.CustFilterHigh);
    ProdFilterLow.Assign(source.ProdFilterLow);
    ProdFilterHigh.Assign(source.ProdFilterHigh);
    KeyObjectives.Assign(source.KeyObjectives);
    ObjectiveTypes = source.ObjectiveTypes;
    ChangeAreas.Assign(source.ChangeAreas);
    RiskTypes = source.RiskTypes;
    Competitors.Assign(source.Competitors);
    Customers.Assign(source.Customers);
    Products.Assign(source.Products);
    Capabilities.Assign(source.Capabilities);
    MarketGroups.Assign(source.MarketGroups);
    Actions.Assign(source.Actions);
}

TCaseData& TCaseData::ReadFrom(ValueReader& reader)
{
    Title = reader.readString();
    Description = reader.readString();
    OrgDescription = reader.readString();
    VisionMission = reader.readString();
    SuccessFactors = reader.readString();
    DateFrom = reader.readFloat();
    DateTo = reader.readFloat();
    KeyObjectives.Clear();
    readObjectList(reader, KeyObjectives);
    ObjectiveTypes.clear();
    readStringList(reader, ObjectiveTypes);
    ChangeAreas.Clear();
    readObjectList(reader, ChangeAreas);
    RiskTypes.clear();
    readStringList(reader, RiskTypes);
    Competitors.Clear();
    readObjectList(reader, Competitors);
    Customers.Clear();
    readObjectList(reader, Customers);
    Products.Clear();
    readObjectList(reader, Products);
    Capabilities.Clear();
    readObjectList(reader, Capabilities);
    MarketGroups.Clear();
    readObjectList(reader, MarketGroups);
    Actions.Clear();
    readObjectList(reader, Actions);
    return *this;
}

void TCaseData::WriteTo(ValueWriter& writer) const
{
    // File order differs from field order: SuccessFactors precedes the dates and RiskTypes follows
    // ChangeAreas. Modified, FileName and the filter bounds are not stored.
    writer.writeString(Title);
    writer.writeString(Description);
    writer.writeString(OrgDescription);
    writer.writeString(VisionMission);
    writer.writeString(SuccessFactors);
    writer.writeFloat(DateFrom);
    writer.writeFloat(DateTo);
    writeObjectList(writer, KeyObjectives);
    writeStringList(writer, ObjectiveTypes);
    writeObjectList(writer, ChangeAreas);
    writeStringList(writer, RiskTypes);
    writeObjectList(writer, Competitors);
    writeObjectList(writer, Customers);
    writeObjectList(writer, Products);
    writeObjectList(writer, Capabilities);
    writeObjectList(writer, MarketGroups);
    writeObjectList(writer, Actions);
}
