#include "shell/workshop_factory.h"


#include <map>

namespace {

std::map<int, WorkshopWindowFactory>& factories()
{
    static std::map<int, WorkshopWindowFactory> registered;
    return registered;
}

} // namespace

void registerWorkshopWindow(int identifier, WorkshopWindowFactory factory)
{
    factories()[identifier] = std::move(factory);
}

TWorkshopForm* createWorkshopForm(int identifier, QWidget* parent)
{
    const auto found = factories().find(identifier);
    if (found != factories().end() && found->second)
        return found->second(parent);
    return nullptr;
}
