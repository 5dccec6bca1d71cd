#include "shell/workshop_catalog.h"

#include <array>

namespace {

// The hint of workshop 2 has two blanks after "the", and the caption word of workshop 7 lacks the
// final "s" of its menu text: both are as users have always seen them.
constexpr std::array<WorkshopEntry, 10> kWorkshops{{
    {1, workshop_id::Future, "Picture Your Future", "&Picture Your Future",
     "Opens the Workshop: Picture Your Future", 12000, "Ctrl+1", "Ws1Btn", "Picture Your Future|", "future.html", false},
    {2, workshop_id::Environment, "Describe the Environment", "&Describe the Environment",
     "Opens the  Workshop: Describe the Environment", 12005, "Ctrl+2", "Ws2Btn", "Describe the Environment|",
     "environment.html", true},
    {3, workshop_id::Competitors, "Judge Your Competitors", "&Judge Your Competitors",
     "Opens the Workshop: Judge Your Competitors", 12010, "Ctrl+3", "Ws3Btn", "Judge Your Competitors|",
     "competitors.html", true},
    {4, workshop_id::Customers, "Envision Your Customers", "&Envision Your Customers",
     "Opens the Workshop: Envision Your Customers", 12015, "Ctrl+4", "Ws4Btn", "Envision Your Customers|",
     "customers.html", true},
    {5, workshop_id::Products, "Design Your Services/Products", "Design Your &Services/Products",
     "Opens the Workshop: Design Your Services/Products", 12020, "Ctrl+5", "Ws5Btn",
     "Design Your Services/Products|", "products.html", true},
    {6, workshop_id::Capabilities, "Build Your Capabilities", "&Build Your Capabilities",
     "Opens the Workshop: Build Your Capabilities", 12025, "Ctrl+6", "Ws7Btn", "Build Your Capabilities|",
     "capabilities.html", true},
    {7, workshop_id::Alliances, "Plan Your Alliances/Investment", "Plan Your &Alliances/Investments",
     "Opens the Workshop: Plan Your Alliances/Investments", 12030, "Ctrl+7", "Ws8Btn",
     "Plan Your Alliances/Investments|", "alliances.html", true},
    {8, workshop_id::MarketGroups, "Define Your Market Groups", "Define Your &Market Groups",
     "Opens the Workshop: Define Your Market Groups", 12035, "Ctrl+8", "Ws9Btn", "Define Your Market Groups|",
     "marketgroups.html", true},
    {9, workshop_id::BusinessPlan, "Business Plan", "B&usiness Plan", "Opens the Workshop: Business Plan", 12040,
     "Ctrl+9", "Ws10Btn", "Business Plan|", "businessplan.html", true},
    {10, workshop_id::ActionPage, "Action Page", "A&ction Page", "Opens the Action Page", 12045, "Ctrl+0",
     "Ws11Btn", "Action Page|", "actionpage.html", true},
}};

} // namespace

std::span<const WorkshopEntry> workshopCatalog()
{
    return kWorkshops;
}

const WorkshopEntry* findWorkshop(int identifier)
{
    for (const auto& entry : kWorkshops)
        if (entry.identifier == identifier)
            return &entry;
    return nullptr;
}
