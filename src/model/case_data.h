#pragma once

// The in-memory planning case: plain data with public fields. Text is kept as single-byte
// windows-1252 with CR LF line breaks, exactly as case files store it. Entries refer to other
// entries by 0-based list position; those positions are never trusted to be in range.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "model/del_list.h"

class ValueReader;
class ValueWriter;

using TStringList = std::vector<std::string>;

// What every item class offers: Assign (a deep copy from another object of the class), ReadFrom
// (overwrites every stored field from the value stream) and WriteTo (writes them in file order).
// All three come from the class's field list in model/case_fields.h.
template <class T>
struct TFieldOperations {
    void Assign(const T& source);
    T& ReadFrom(ValueReader& reader);
    void WriteTo(ValueWriter& writer) const;
};

struct TInteger : TFieldOperations<TInteger> {
    int32_t Value = 0;
};

struct TRankedItem : TFieldOperations<TRankedItem> {
    std::string Name;
    int32_t Link = -1;
    int32_t Rank = 1;
};

struct TKeyCharItem : TFieldOperations<TKeyCharItem> {
    std::string Name;
    int32_t Match = -1;
    int32_t Importance = 1;
    bool Excluded = true;
};

// A capability, or one row of a customer's business plan (ImpTomorrow = row kind,
// ImpToday/Acquisition/Placement = the amounts of Year1/Year2/Year3).
struct TCapability : TFieldOperations<TCapability> {
    std::string Name;
    int32_t ImpTomorrow = 1;
    int32_t ImpToday = 1;
    int32_t Acquisition = 0;
    int32_t Placement = 0;
    std::string Decisions;
};

struct TAction : TFieldOperations<TAction> {
    std::string What;
    std::string Who;
    int32_t Importance = 1;
    double Due;
    bool Done = false;

    TAction();
};

struct TRisk : TFieldOperations<TRisk> {
    std::string Name;
    double FinImpact = 0;
    int32_t RiskType = -1;
    int32_t Impact = 1;
    int32_t Likelihood = 1;
    std::string Handling;
};

struct TChange : TFieldOperations<TChange> {
    std::string Name;
    std::string Description;
    TDelList<TRankedItem> Strengths;
    TDelList<TRankedItem> Weaknesses;
    TDelList<TRankedItem> Opportunities;
    TDelList<TRankedItem> Threats;
    int32_t ImpToday = 1;
    int32_t ImpTomorrow = 1;
    TDelList<TRisk> Risks;
};

struct TChangeArea : TFieldOperations<TChangeArea> {
    std::string Name;
    TStringList Megatrends;
    TDelList<TChange> Changes;

    TChangeArea() = default;
    explicit TChangeArea(std::string name) : Name(std::move(name)) {}
};

struct TCompetitor : TFieldOperations<TCompetitor> {
    std::string Name;
    int32_t MarketShare = 0;
    std::string Description;
    std::string KeyServices;
    std::string KeyClients;
    std::string KeyAdvantages;
    std::string KeyDisadvantages;
    std::string PotentialDev;
    std::string WatchPoints;
};

struct TMarketGroup : TFieldOperations<TMarketGroup> {
    std::string Name;
    TDelList<TRankedItem> CustomerRefs;
    TDelList<TRankedItem> ServiceRefs;
    TDelList<TRankedItem> CapabilityRefs;
};

// A customer (in Customers) or a service/product (in Products). Members is absent (null) unless the
// entry is, or was made, a group; Capabilities holds a product's own capabilities or a customer's
// business-plan rows.
struct TCustProd : TFieldOperations<TCustProd> {
    struct WithPlanTemplate {};

    std::string Name;
    std::string Description;
    std::string KeyNeeds;
    TDelList<TKeyCharItem> KeyChars;
    TDelList<TRankedItem> MarketPotential;
    std::unique_ptr<TDelList<TInteger>> Members;
    TDelList<TCapability> Capabilities;

    TCustProd() = default;
    // A new customer: Capabilities holds the 17 rows of the business-plan template.
    explicit TCustProd(WithPlanTemplate);

    bool IsGroup() const { return Members && !Members->Empty(); }
};

// Names of the nine predefined business-plan rows, in template order.
extern const char* const kPlanRowNames[9];
inline constexpr const char* kPlanEntryRowName = "<new entry>";

struct TCaseData {
    std::string Title;
    std::string Description;
    bool Modified = true;
    std::string FileName = "untitled";
    std::string OrgDescription;
    std::string VisionMission;
    double DateFrom;
    double DateTo;
    std::string SuccessFactors;
    TDelList<TRankedItem> KeyObjectives;
    TStringList ObjectiveTypes;
    TStringList RiskTypes;
    TDelList<TChangeArea> ChangeAreas;
    TDelList<TCompetitor> Competitors;
    TDelList<TCustProd> Customers;
    TDelList<TCustProd> Products;
    TDelList<TCapability> Capabilities;
    TDelList<TMarketGroup> MarketGroups;
    TDelList<TAction> Actions;
    // Key-characteristic filter bounds of the customer and product workshops: kept in memory and in
    // undo snapshots, never stored in the case file.
    TDelList<TKeyCharItem> CustFilterLow;
    TDelList<TKeyCharItem> CustFilterHigh;
    TDelList<TKeyCharItem> ProdFilterLow;
    TDelList<TKeyCharItem> ProdFilterHigh;

    TCaseData();
    TCaseData(const TCaseData&) = delete;
    TCaseData& operator=(const TCaseData&) = delete;

    // Deep copy of everything but Modified and FileName, so restoring an undo snapshot keeps both.
    void Assign(const TCaseData& source);
    // Reads a whole case; every list is emptied before it is read, so the defaults do not survive.
    TCaseData& ReadFrom(ValueReader& reader);
    void WriteTo(ValueWriter& writer) const;
};
