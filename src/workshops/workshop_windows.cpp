#include "workshops/workshop_windows.h"

#include "shell/workshop_catalog.h"
#include "shell/workshop_factory.h"
#include "workshops/capabilities/action_page_form.h"
#include "workshops/capabilities/biz_plan_form.h"
#include "workshops/capabilities/build_cap_form.h"
#include "workshops/capabilities/inv_all_form.h"
#include "workshops/customers/cu_pr_form.h"
#include "workshops/customers/market_grp_form.h"
#include "workshops/environment/competitor_form.h"
#include "workshops/environment/env_form.h"
#include "workshops/vision/future_form.h"

// One line per workshop window.
void registerWorkshopWindows()
{
    registerWorkshopWindow(workshop_id::Future, [](QWidget* parent) -> TWorkshopForm* { return new TFutureForm(parent); });
    registerWorkshopWindow(workshop_id::Environment, [](QWidget* parent) -> TWorkshopForm* { return new TEnvForm(parent); });
    registerWorkshopWindow(workshop_id::Competitors, [](QWidget* parent) -> TWorkshopForm* { return new TCompetitorForm(parent); });
    registerWorkshopWindow(workshop_id::Customers, [](QWidget* parent) -> TWorkshopForm* {
        return new TCuPrForm(workshop_id::Customers, parent);
    });
    registerWorkshopWindow(workshop_id::Products, [](QWidget* parent) -> TWorkshopForm* {
        return new TCuPrForm(workshop_id::Products, parent);
    });
    registerWorkshopWindow(workshop_id::Capabilities, [](QWidget* parent) -> TWorkshopForm* { return new TBuildCapForm(parent); });
    registerWorkshopWindow(workshop_id::Alliances, [](QWidget* parent) -> TWorkshopForm* { return new TInvAllForm(parent); });
    registerWorkshopWindow(workshop_id::MarketGroups, [](QWidget* parent) -> TWorkshopForm* { return new TMarketGrpForm(parent); });
    registerWorkshopWindow(workshop_id::BusinessPlan, [](QWidget* parent) -> TWorkshopForm* { return new TBizPlanForm(parent); });
    registerWorkshopWindow(workshop_id::ActionPage, [](QWidget* parent) -> TWorkshopForm* { return new TActionPageForm(parent); });
}
