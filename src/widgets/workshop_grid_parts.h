#pragma once

// The Qt pieces a WorkshopGrid is assembled from. Only workshop_grid.cpp and the grids derived
// from it use them.

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QStyledItemDelegate>

#include "widgets/workshop_grid.h"

// Table model that holds nothing: its cells are the grid's body rows (grid row = model row + 1)
// and every text is asked from the grid's cell-text function when needed.
class CellTextModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit CellTextModel(WorkshopGrid* grid);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    // The title row's texts, so that screen readers name the columns as the user sees them.
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // Grows or shrinks at the end, so existing rows keep their heights and the current cell.
    void setShape(int rows, int columns);

private:
    WorkshopGrid* grid_;
    int rows_ = 0;
    int columns_ = 0;
};

// Lets the grid decide every move of the current cell, whatever asks for it (keys, mouse, code).
class GuardedSelectionModel : public QItemSelectionModel {
    Q_OBJECT
public:
    GuardedSelectionModel(QAbstractItemModel* model, WorkshopGrid* grid);
    void setCurrentIndex(const QModelIndex& index, QItemSelectionModel::SelectionFlags command) override;

    // While set, moves are taken without asking (the grid placing its first current cell).
    bool unguarded = false;

private:
    WorkshopGrid* grid_;
};

// Paints cells (background, current-cell highlight, word-wrapped text) and makes the in-place
// editor: a MaskedLineEdit with the cell's mask that reports every change to the grid.
class GridCellDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit GridCellDelegate(WorkshopGrid* grid);

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;
    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    // Draws one cell's content inside `cell` (grid lines excluded); shared with the title row.
    static void drawCell(const WorkshopGrid* grid, QPainter& painter, const QRect& cell, int col, int row,
                         const QPalette& palette, QPalette::ColorGroup group, bool selected);

protected:
    bool eventFilter(QObject* object, QEvent* event) override;

private:
    WorkshopGrid* grid_;
};

// The fixed title row, drawn like the cells and as high as row 0 of the grid. A press with any
// mouse button on a title cell is reported, except one that starts resizing a column.
class TitleRowHeader : public QHeaderView {
    Q_OBJECT
public:
    explicit TitleRowHeader(WorkshopGrid* grid);
    QSize sizeHint() const override;

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    bool onSectionEdge(int x) const;
    WorkshopGrid* grid_;
};
