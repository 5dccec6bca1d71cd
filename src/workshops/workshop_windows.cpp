#include "workshops/workshop_windows.h"

#include "shell/workshop_catalog.h"
#include "shell/workshop_factory.h"
#include "workshops/capabilities/biz_plan_form.h"
#include "workshops/customers/market_grp_form.h"

// One line per workshop window, e.g.
//     registerWorkshopWindow(workshop_id::Future, [](QWidget* parent) -> TWorkshopForm* { return new TFutureForm(parent); });
// Workshops without a line here open as placeholders.
void registerWorkshopWindows()
{
    registerWorkshopWindow(workshop_id::MarketGroups, [](QWidget* parent) -> TWorkshopForm* { return new TMarketGrpForm(parent); });
    registerWorkshopWindow(workshop_id::BusinessPlan, [](QWidget* parent) -> TWorkshopForm* { return new TBizPlanForm(parent); });
}
