#pragma once

// Makes the window of a workshop. The workshop windows register themselves at start-up
// (workshops/workshop_windows.cpp), so the shell never includes a workshop's header.

#include <functional>

class TWorkshopForm;
class QWidget;

using WorkshopWindowFactory = std::function<TWorkshopForm*(QWidget* parent)>;

// Replaces whatever was registered for `identifier`.
void registerWorkshopWindow(int identifier, WorkshopWindowFactory factory);

// Creates the (not yet initialised) window of the workshop with `identifier`; null when none is
// registered for it.
TWorkshopForm* createWorkshopForm(int identifier, QWidget* parent = nullptr);
