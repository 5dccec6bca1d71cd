#include "workshops/workshop_windows.h"

#include "shell/workshop_catalog.h"
#include "shell/workshop_factory.h"
#include "workshops/capabilities/action_page_form.h"
#include "workshops/environment/competitor_form.h"
#include "workshops/vision/future_form.h"

// One line per workshop window, e.g.
//     registerWorkshopWindow(workshop_id::Future, [](QWidget* parent) -> TWorkshopForm* { return new TFutureForm(parent); });
// Workshops without a line here open as placeholders.
void registerWorkshopWindows()
{
    registerWorkshopWindow(workshop_id::Future, [](QWidget* parent) -> TWorkshopForm* { return new TFutureForm(parent); });
    registerWorkshopWindow(workshop_id::Competitors, [](QWidget* parent) -> TWorkshopForm* { return new TCompetitorForm(parent); });
    registerWorkshopWindow(workshop_id::ActionPage, [](QWidget* parent) -> TWorkshopForm* { return new TActionPageForm(parent); });
}
