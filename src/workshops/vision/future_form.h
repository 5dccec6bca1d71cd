#pragma once

// The window of Picture Your Future: the organisation, the planning period, the vision and the
// success factors as free texts, and the key objectives in a grid whose type column is a
// drop-down box of the case's objective types. Unlike the other workshops it keeps what its
// fields show when it becomes active again.

#include <QDate>

#include "shell/workshop_form.h"
#include "widgets/advanced_grid.h"
#include "widgets/date_picker.h"

class BulletTextEdit;
class Cp1252PlainTextEdit;
class ListGridAdapter;
class QComboBox;
class QKeyEvent;

class TFutureForm : public TWorkshopForm {
    Q_OBJECT
public:
    explicit TFutureForm(QWidget* parent = nullptr);

    void wmCommit() override;
    void wmRefresh() override;
    void wmCaseClosed(TCaseForm* closing) override;
    void commitTypedNameToCopy() override;

    // The type box while it is shown on a type cell, else null.
    QComboBox* typeBox() const;
    // The position in ObjectiveTypes most recently shown in or chosen in the type box; -1 at first.
    int lastChosenType() const { return lastChosenType_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildGrid();
    // The answer to wmCommit for the edit fields: texts and the dates the user changed.
    void storeFields();
    // The same within an edit's step.
    void storeFields(CaseEdit& edit);
    void textEdited();
    void datesEdited();
    // After a commit: the grid grows by the row a name added, which gets its type box.
    void cellCommitted(bool added);
    void markTypeCell(int row);
    void refreshGrid();

    // The type box.
    QWidget* initTypeBox(int col, int row, QWidget* control, TControlHandlers& handlers);
    bool typeBoxKeyDown(QKeyEvent* event);
    // The text typed into the box, on Enter or on leaving it: an existing type is chosen, a new
    // name goes to the add-or-rename question.
    void commitTypedType();
    void typeChosen(int index);
    // Selects the current objective's type in the box, repairing a link that names no type.
    void synchroniseTypeBox();
    // Makes the box anew from the type list (after the list changed) and synchronises it.
    void renewTypeBox();
    int currentObjective() const;

    Cp1252PlainTextEdit* edtOrgDesc = nullptr;
    DatePicker* edtDate1 = nullptr;
    DatePicker* edtDate2 = nullptr;
    BulletTextEdit* edtVision = nullptr;
    TAdvancedGrid* grdKeyObj = nullptr;
    BulletTextEdit* edtFactors = nullptr;
    ListGridAdapter* objectives_ = nullptr;
    int lastChosenType_ = -1;
    // A window going away asks no question when the focus leaves the type box.
    bool closing_ = false;
    // The dates the pickers were last filled with, so a commit stores only what the user changed
    // (a damaged date the pickers cannot show stays as it is).
    QDate shownFrom_;
    QDate shownTo_;
};
