#include "workshops/workshop_windows.h"

#include "shell/workshop_catalog.h"
#include "shell/workshop_factory.h"
#include "workshops/capabilities/build_cap_form.h"
#include "workshops/capabilities/inv_all_form.h"

// One line per workshop window, e.g.
//     registerWorkshopWindow(workshop_id::Future, [](QWidget* parent) -> TWorkshopForm* { return new TFutureForm(parent); });
// Workshops without a line here open as placeholders.
void registerWorkshopWindows()
{
    registerWorkshopWindow(workshop_id::Capabilities, [](QWidget* parent) -> TWorkshopForm* { return new TBuildCapForm(parent); });
    registerWorkshopWindow(workshop_id::Alliances, [](QWidget* parent) -> TWorkshopForm* { return new TInvAllForm(parent); });
}
