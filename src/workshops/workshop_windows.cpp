#include "workshops/workshop_windows.h"

#include "shell/workshop_catalog.h"
#include "shell/workshop_factory.h"

// One line per workshop window, e.g.
//     registerWorkshopWindow(workshop_id::Future, [](QWidget* parent) -> TWorkshopForm* { return new TFutureForm(parent); });
// Workshops without a line here open as placeholders.
void registerWorkshopWindows()
{
}
