#include "shell/workshop_factory.h"

#include "shell/placeholder_workshop_form.h"
#include "shell/workshop_catalog.h"

TWorkshopForm* createWorkshopForm(int identifier, QWidget* parent)
{
    switch (identifier) {
    // Real workshop windows go here, e.g.
    //     case workshop_id::Future: return new TFutureForm(parent);
    default:
        return new TPlaceholderWorkshopForm(identifier, parent);
    }
}
