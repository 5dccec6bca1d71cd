#pragma once

class TWorkshopForm;
class QWidget;

// Creates the (not yet initialised) window of the workshop with `identifier`. Each workshop that
// gets its real window replaces its placeholder here.
TWorkshopForm* createWorkshopForm(int identifier, QWidget* parent = nullptr);
