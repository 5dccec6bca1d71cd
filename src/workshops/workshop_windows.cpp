#include "workshops/workshop_windows.h"

#include "shell/workshop_catalog.h"
#include "shell/workshop_factory.h"
#include "workshops/environment/env_form.h"

// One line per workshop window, e.g.
//     registerWorkshopWindow(workshop_id::Future, [](QWidget* parent) -> TWorkshopForm* { return new TFutureForm(parent); });
// Workshops without a line here open as placeholders.
void registerWorkshopWindows()
{
    registerWorkshopWindow(workshop_id::Environment, [](QWidget* parent) -> TWorkshopForm* { return new TEnvForm(parent); });
}
