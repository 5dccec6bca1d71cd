#pragma once

// The window of the Action Page: one grid of actions whose Due cells carry a date picker and whose
// Done cells a "Yes"/"No" list. Creating it sets the program-wide short date format to day,
// month and year without leading zeros and with a two-digit year.

#include "shell/workshop_form.h"
#include "widgets/advanced_grid.h"

class ListGridAdapter;

class TActionPageForm : public TWorkshopForm {
    Q_OBJECT
public:
    explicit TActionPageForm(QWidget* parent = nullptr);

    void wmCommit() override;
    void wmRefresh() override;

private:
    // The Due picker and the Done list of an action's row.
    void SetCellControl(int row);
    QVariant GridActionGetCellValues(int col, int row) const;
    QWidget* GridActionInitControl(int col, int row, QWidget* control, TControlHandlers& handlers);

    TAdvancedGrid* GridAction = nullptr;
    ListGridAdapter* actions_ = nullptr;
};
