#pragma once

// The grid every workshop builds its tables from.
//
// Rows and columns are numbered as the user sees them: row 0 is the fixed title row, rows 1..n
// hold the entries (and, in grids of named entries, the empty row for a new one). The grid keeps
// no data: every text, title row included, comes from one function of (column, row) that the
// window supplies, and drawing, the in-place editor, FitRowHeights and Copy all call it.
//
// Sizes are cell sizes without the one-pixel grid line, as the window layouts give them.
//
// Editing follows the program-wide pending cell edit (shell/protocol_state.h):
//   - while the in-place editor is open, every change records (column, row, text, this grid);
//   - when the editor closes, or another cell is selected, the grid hands its own pending edit to
//     the commit function and clears it (Escape drops it instead);
//   - when the focus enters the grid from outside, the pending edit is dropped uncommitted;
//   - a pending edit recorded by another grid is never committed here, and nothing is committed
//     while the updating switch is on.
//
// The editor opens on typing, F2, Enter or a double click on the current cell; Enter closes it
// (even on text a mask finds incomplete), Escape abandons it.
//
// Tab and Shift+Tab move to the next and the previous selectable cell in reading order, closing
// an open editor as Enter does, and leave the grid after its last cell (before its first). Grids
// that are lists (rows selected whole, or nothing edited) leave at once.
//
// Reported to the window: Alt+Delete with the editor closed (deleteRequested), any mouse button
// pressed on a title cell (titlePressed), presses on ordinary cells (cellPressed) and every
// change of the current cell (cellSelected).

#include <QTableView>

#include <functional>
#include <utility>
#include <vector>

#include "widgets/copy_text_source.h"

class CellTextModel;
class GridCellDelegate;
class TitleRowHeader;

// Why a cell's text is asked for. Most windows ignore it; a few show a number formatted for
// reading (thousands separators) but edit, fit and copy it in plain digits.
enum class CellTextUse { Draw, Edit, Fit, Copy };

// How a cell's text is drawn; the defaults are those of every workshop grid.
struct CellStyle {
    QColor color;                        // invalid: the palette's text colour
    bool bold = false;
    Qt::Alignment alignment = Qt::AlignLeft;
    int leftInset = 2;
    bool wordWrap = true;
};

class WorkshopGrid : public QTableView, public CopyTextSource {
    Q_OBJECT
public:
    using CellTextFunction = std::function<QString(int col, int row, CellTextUse use)>;
    // Mask in the classic notation of widgets/edit_mask.h; an empty text means free text.
    using EditMaskFunction = std::function<QString(int col, int row)>;
    using CommitEditFunction = std::function<void(int col, int row, const QString& text)>;
    using CanSelectCellFunction = std::function<bool(int col, int row)>;
    using CellStyleFunction = std::function<CellStyle(int col, int row)>;
    // Paints a cell itself after the background; returns false to leave the text to the grid.
    using CellPainter = std::function<bool(QPainter& painter, const QRect& cell, int col, int row)>;
    // Sees keys before the grid (editor closed); returns true when it handled the key.
    using KeyDownHandler = std::function<bool(QKeyEvent* event)>;

    explicit WorkshopGrid(QWidget* parent = nullptr);
    ~WorkshopGrid() override;

    void setCellTextFunction(CellTextFunction function);
    void setEditMaskFunction(EditMaskFunction function);
    void setCommitEditFunction(CommitEditFunction function);
    void setCanSelectCellFunction(CanSelectCellFunction function);
    void setCellStyleFunction(CellStyleFunction function);
    void setCellPainter(CellPainter painter);
    void setKeyDownHandler(KeyDownHandler handler);

    // The text the window's function gives, or empty text when none is set.
    QString cellText(int col, int row, CellTextUse use = CellTextUse::Draw) const;

    // Shape. The row count includes the title row and is at least 1.
    int rowCount() const;
    void setRowCount(int rows);
    int columnCount() const;
    void setColumnCount(int columns);

    int gridColumnWidth(int col) const;
    void setGridColumnWidth(int col, int width);
    void setColumnWidths(const std::vector<int>& widths); // also sets the column count
    // The row's height, fitted first if it still waits for fitting.
    int gridRowHeight(int row) const;
    void setGridRowHeight(int row, int height);
    int defaultRowHeight() const { return defaultRowHeight_; }
    void setDefaultRowHeight(int height); // resets every row to it, like a new grid

    // Row-height fitting as every workshop uses it: rows grow to their tallest word-wrapped cell
    // text plus 3 pixels, never below the default row height, which itself is raised to the
    // height of "M" in the grid's font when it is smaller.
    //
    // Measured heights are kept per cell, so only cells whose text, column width or style changed
    // are measured again, and only rows that may have changed are looked at: every row after
    // refresh() or a change of shape, column width or font, the committed row after a commit,
    // and the rows given to refreshRows(). A window that changes the model calls refresh(), which
    // it must do anyway for the grid to show the change; selecting a cell then costs nothing.
    //
    // Of those rows, only the ones in view are fitted at once (with the title row and the last
    // page, whose heights set the scroll range); the others are fitted when they come into view,
    // by scrolling, resizing or scrollTo, or when gridRowHeight asks for them. So opening a long
    // grid costs what its first screen costs.
    void fitRowHeights();
    // Whether selecting a cell fits the row heights afterwards (on by default).
    void setFitRowHeightsOnSelect(bool on) { fitOnSelect_ = on; }

    // The current cell; -1 when the grid has no entry rows.
    int currentColumn() const;
    int currentRow() const;
    // Moves the current cell as a click would: commits a pending edit first, then asks
    // canSelectCell. Returns false when the cell was refused.
    bool setCurrentCell(int col, int row);
    virtual bool canSelectCell(int col, int row) const;
    // Fits the rows around the target first, so that it lands where it is meant to.
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;

    void setEditingEnabled(bool on);
    bool editingEnabled() const { return editingEnabled_; }
    void setRowSelect(bool on);     // highlight the whole current row
    void setColumnSizing(bool on);
    bool isEditorOpen() const;

    // Repaints every cell and the title row from the cell-text function; the next fit looks at
    // every row again.
    void refresh();
    // The same for a few rows whose text changed (row 0 is the title row).
    void refreshRows(int first, int last);

    // The same path the in-place editor takes: records the pending edit while the editor is
    // open, commits this grid's pending edit otherwise.
    void setEditText(int col, int row, const QString& text);
    // Commits this grid's pending edit, if any (not while the updating switch is on). A grid with
    // in-place controls also writes back a control's changed value.
    virtual void commitPendingEdit();
    // Hands `text` for (col, row) straight to the commit function, as a cell control's value goes
    // (not while the updating switch is on).
    void commitCellText(int col, int row, const QString& text);

    // CopyTextSource: every row from the title row down, each cell followed by a tab, each row
    // ending in CR LF. A window with its own copy format replaces it with setCopyTextFunction.
    QString copyText() const override;
    bool cellEditorOpen() const override { return isEditorOpen(); }
    void setCopyTextFunction(std::function<QString()> function);

signals:
    void deleteRequested(int col, int row);
    void titlePressed(int col, Qt::MouseButton button);
    void cellPressed(int col, int row, Qt::MouseButton button);
    void cellSelected(int col, int row);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    bool focusNextPrevChild(bool next) override;
    void scrollContentsBy(int dx, int dy) override;
    void updateGeometries() override;

    // Grid cell <-> model index (the title row is not part of the model).
    QModelIndex indexOf(int col, int row) const;
    static int gridRowOf(const QModelIndex& index) { return index.row() + 1; }
    int gridLineWidth() const { return showGrid() ? 1 : 0; }

    // Decides a request to move the current cell; the selection model asks it.
    virtual bool acceptCellChange(const QModelIndex& target);

private:
    friend class CellTextModel;
    friend class GridCellDelegate;
    friend class TitleRowHeader;
    friend class GuardedSelectionModel;

    // The measured height of one cell, with what it was measured for.
    struct FittedCell {
        QString text;
        int width = -1;
        bool bold = false;
        bool wordWrap = true;
        int height = 0;
    };
    int fittedRowHeight(int row, const QFontMetrics& metrics, const QFontMetrics& boldMetrics);
    void recheckAllRows() { recheckAll_ = true; }
    // Fits the row if it waits for fitting; returns whether it did.
    bool fitWaitingRow(int row);
    // Fits the waiting rows in view, the title row and the last page.
    void fitShownRows();
    // First and last grid row (at least partly) in view.
    std::pair<int, int> shownRows() const;
    int sectionHeight(int row) const;

    // Makes the next (or previous) selectable cell current; false when there is none.
    bool tabToCell(bool forward);
    void onFocusChanged(QWidget* old, QWidget* now);
    void editorTextEdited(int col, int row, const QString& text);
    void ensureCurrentCell();

    CellTextModel* model_ = nullptr;
    GridCellDelegate* delegate_ = nullptr;
    TitleRowHeader* title_ = nullptr;

    CellTextFunction cellText_;
    EditMaskFunction editMask_;
    CommitEditFunction commitEdit_;
    CanSelectCellFunction canSelect_;
    CellStyleFunction cellStyle_;
    CellPainter cellPainter_;
    KeyDownHandler keyDown_;
    std::function<QString()> copyText_;

    int defaultRowHeight_ = 16;
    int titleRowHeight_ = 16;
    bool editingEnabled_ = true;
    bool rowSelect_ = false;
    bool fitOnSelect_ = true;
    std::vector<std::vector<FittedCell>> fitted_; // [row][column]
    bool recheckAll_ = true;
    std::vector<int> recheckRows_;
    std::vector<char> waiting_; // [row]: to be fitted once in view
    int waitingCount_ = 0;
    bool fittingShown_ = false;
    bool closingEditor_ = false;
};
