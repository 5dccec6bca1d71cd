#pragma once

// Workshop 7, Plan Your Alliances/Investments: for every capability where it is placed and how it
// is obtained, ticked in a grid of check boxes, and the preliminary decisions on it.

#include "shell/workshop_form.h"
#include "workshops/capabilities/alliances_ops.h"

class BulletTextEdit;
class QPainter;
class WorkshopGrid;

class TInvAllForm : public TWorkshopForm {
    Q_OBJECT
public:
    explicit TInvAllForm(QWidget* parent = nullptr);

    void wmCommit() override;
    void wmRefresh() override;

    // The rows in the order shown.
    const alliances::AllianceRows& rows() const { return rows_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    // Rebuilds the rows in case order, writing the position bits, and shows them.
    void rebuild();
    void layOutColumns();
    bool paintCell(QPainter& painter, const QRect& cell, int col, int row);
    void paintTitle(QPainter& painter, const QRect& cell, int col);

    void grdCapClick();
    void grdCapMouseDown(int col, int row, Qt::MouseButton button);
    void grdCapTitleDown(int col, Qt::MouseButton button);
    bool grdCapKeyDown(QKeyEvent* event);
    void setChoice(int row, int col);
    void edtDecisionsChange();
    // The capability's decisions into the field, with the local updating flag set.
    void loadDecisions();

    WorkshopGrid* grdCap = nullptr;
    BulletTextEdit* edtDecisions = nullptr;
    alliances::AllianceRows rows_;
    // Set while the window fills the decisions field itself, so that filling is not taken for typing.
    bool updating_ = false;
    int shownRow_ = -1;        // the grid row whose decisions the field shows
    QString storedText_;       // what the field held when last loaded or stored
    bool columnsLaidOut_ = false;
};
