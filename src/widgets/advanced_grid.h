#pragma once

// TAdvancedGrid: a workshop grid whose cells can carry a control instead of the text editor, a
// drop-down list, a date picker, a button, a check box or a control of the window's own making.
// One control at most exists; it is made anew each time it is shown on the current cell
// (so OnInitControl runs every time) and is only hidden when the current cell has no kind,
// scrolls out of view or is refused.
//
// The window:
//   - marks cells with SetCellControl after every rebuild (kinds survive row-count changes);
//   - supplies drop-down items (or a check box's caption) through OnGetCellValues;
//   - configures each new control through OnInitControl, where it connects the control's
//     signals and may set a key handler and a leave handler (TControlHandlers);
//   - refuses cells through setCanSelectCellFunction, which both selection and the controls obey.
//
// Keys on the grid: arrows skip refused cells; any other key on a control cell gives the control
// the focus; on plain cells keys work as in every workshop grid. Enter in a drop-down, date
// picker or check box runs the window's key handler and then returns the focus to the grid.
//
// The first key typed on a control cell opens the control and goes into it (a drop-down's text is
// replaced by what is typed). Escape in a drop-down, date picker or check box puts the cell's
// value back and returns the focus to the grid, committing nothing.
//
// A control's value (combo box: its text; date picker: the date in the grid's short date format;
// check box: "X" or empty) goes to the grid's commit function for the control's own cell
// when the user picks an item, ticks the box, or leaves the control (then before the window's
// leave handler runs), and when the window commits the grid. It goes once, and only when it
// differs from what the control was filled with: merely entering a control cell is no edit.
// Filling a control (OnInitControl included) runs with the updating switch on and the control's
// signals blocked, so none of the window's handlers hears it.
//
// An old control is deleted only after the event that replaced it has returned, so a handler
// may rebuild the control it is running in.

#include <QVariant>

#include <cstdint>
#include <functional>
#include <vector>

#include "model/date_time.h"
#include "widgets/workshop_grid.h"

enum TCellControlKind : uint8_t {
    cckNone = 0,
    cckComboBox = 1,
    cckDatePicker = 2,
    cckButton = 3,
    cckCheckBox = 4,
    cckCustom = 5
};

// Handlers the window may set in OnInitControl for a drop-down, date picker or check box.
struct TControlHandlers {
    // Runs first for every key pressed in the control; returning true swallows the key (Enter
    // included, which then does not return the focus to the grid).
    std::function<bool(QKeyEvent* event)> keyDown;
    // Runs after the control's value was written back, when the focus has left the control.
    std::function<void()> exit;
};

// The values of a cell: an invalid QVariant for none, a QStringList or a QVariantList of
// scalars for the items of a drop-down list, a QString for a check box's caption. A list that
// holds lists is two-dimensional and refused.
using TGetCellValues = std::function<QVariant(int col, int row)>;
// For kinds 1 to 4 `control` is the new, hidden control and the return value is ignored; for
// cckCustom `control` is null and the handler returns the control it made (the grid owns it).
using TInitControl = std::function<QWidget*(int col, int row, QWidget* control, TControlHandlers& handlers)>;

class TAdvancedGrid : public WorkshopGrid {
    Q_OBJECT
public:
    explicit TAdvancedGrid(QWidget* parent = nullptr);
    ~TAdvancedGrid() override;

    void setOnGetCellValues(TGetCellValues handler) { onGetCellValues_ = std::move(handler); }
    void setOnInitControl(TInitControl handler) { onInitControl_ = std::move(handler); }

    // Stores the kind for a selectable body cell, ignores any other; shows the control at once
    // when the cell is the current one.
    void SetCellControl(int ACol, int ARow, TCellControlKind Kind);
    TCellControlKind CellControl(int ACol, int ARow) const;
    bool CanSelectCell(int ACol, int ARow) const { return canSelectCell(ACol, ARow); }

    // Shows the cell's control over it, or hides the control when the cell has none, is out of
    // view or refused. Returns false (and reports the message) when the control could not be
    // made or filled.
    bool ShowControl(int ACol, int ARow);
    QWidget* control() const { return control_; }

    // Commits a pending text edit and the control's changed value.
    void commitPendingEdit() override;

    // The short date format of the grid's date pickers: what they show and the text they commit
    // (dd/mm/yyyy unless set). Cell texts are read in any order-preserving variant of it.
    void setDateFormat(const ShortDateFormat& format) { dateFormat_ = format; }
    const ShortDateFormat& dateFormat() const { return dateFormat_; }

    // Program-wide time format of date pickers in time mode (Qt notation).
    static QString& timeFormat();

    static const char* const kMissingCustomControl;
    static const char* const kNotOneDimensional;

signals:
    // The control's value written back when the focus left it.
    void controlTextWritten(int col, int row, const QString& text);
    // An error of ShowControl. Without a receiver the grid shows it as the shell shows errors.
    void controlError(const QString& message);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    bool acceptCellChange(const QModelIndex& target) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* makeControl(TCellControlKind kind, int col, int row);
    void retireControl();
    bool fillControl(TCellControlKind kind, int col, int row);
    bool isFullyVisible(int col, int row) const;
    bool ownsWidget(QWidget* widget) const;
    // The control's value as cell text; empty for kinds without a value.
    QString controlValueText() const;
    // Commits the control's value to its own cell if it changed since it was filled or last
    // committed; returns whether it did.
    bool commitControlValue();
    void connectValuePicks(QWidget* control);
    void reportError(const QString& message);
    void placeControl();
    // Puts the cell's value back into a fresh control and gives the focus to the grid.
    void cancelControl();

    std::vector<std::vector<uint8_t>> kinds_; // [column][row], grown on demand
    TGetCellValues onGetCellValues_;
    TInitControl onInitControl_;
    TControlHandlers handlers_;
    QWidget* control_ = nullptr;
    TCellControlKind controlKind_ = cckNone;
    int controlCol_ = -1;
    int controlRow_ = -1;
    QString committedText_; // the control's value when filled or last committed
    ShortDateFormat dateFormat_;
};
