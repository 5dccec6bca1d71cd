#include "widgets/workshop_grid_parts.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "widgets/edit_mask.h"

CellTextModel::CellTextModel(WorkshopGrid* grid) : QAbstractTableModel(grid), grid_(grid) {}

int CellTextModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : rows_;
}

int CellTextModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : columns_;
}

QVariant CellTextModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    const int row = index.row() + 1;
    if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole)
        return grid_->cellText(index.column(), row, CellTextUse::Draw);
    if (role == Qt::EditRole)
        return grid_->cellText(index.column(), row, CellTextUse::Edit);
    return {};
}

QVariant CellTextModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && (role == Qt::DisplayRole || role == Qt::AccessibleTextRole))
        return grid_->cellText(section, 0, CellTextUse::Draw);
    if (orientation == Qt::Vertical && role == Qt::DisplayRole)
        return section + 1;
    return {};
}

Qt::ItemFlags CellTextModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (grid_->editingEnabled())
        f |= Qt::ItemIsEditable;
    return f;
}

void CellTextModel::setShape(int rows, int columns)
{
    if (columns > columns_) {
        beginInsertColumns({}, columns_, columns - 1);
        columns_ = columns;
        endInsertColumns();
    } else if (columns < columns_) {
        beginRemoveColumns({}, columns, columns_ - 1);
        columns_ = columns;
        endRemoveColumns();
    }
    if (rows > rows_) {
        beginInsertRows({}, rows_, rows - 1);
        rows_ = rows;
        endInsertRows();
    } else if (rows < rows_) {
        beginRemoveRows({}, rows, rows_ - 1);
        rows_ = rows;
        endRemoveRows();
    }
}

GuardedSelectionModel::GuardedSelectionModel(QAbstractItemModel* model, WorkshopGrid* grid)
    : QItemSelectionModel(model, grid), grid_(grid)
{
}

void GuardedSelectionModel::setCurrentIndex(const QModelIndex& index, QItemSelectionModel::SelectionFlags command)
{
    if (!unguarded && index.isValid() && index != currentIndex() && !grid_->acceptCellChange(index))
        return;
    QItemSelectionModel::setCurrentIndex(index, command);
}

GridCellDelegate::GridCellDelegate(WorkshopGrid* grid) : QStyledItemDelegate(grid), grid_(grid) {}

void GridCellDelegate::drawCell(const WorkshopGrid* grid, QPainter& painter, const QRect& cell, int col, int row,
                                const QPalette& palette, QPalette::ColorGroup group, bool selected)
{
    if (grid->cellPainter_ && grid->cellPainter_(painter, cell, col, row))
        return;
    const CellStyle style = grid->cellStyle_ ? grid->cellStyle_(col, row) : CellStyle{};
    QColor color = style.color;
    if (!color.isValid())
        color = palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text);
    QFont font = painter.font();
    font.setBold(style.bold);
    painter.setFont(font);
    painter.setPen(color);
    const QRect box = cell.adjusted(style.leftInset, 1, -2, -1);
    int flags = static_cast<int>(style.alignment) | Qt::AlignTop;
    if (style.wordWrap)
        flags |= Qt::TextWordWrap;
    // No mnemonic flag: "&" is drawn as itself.
    painter.drawText(box, flags, grid->cellText(col, row, CellTextUse::Draw));
}

void GridCellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    opt.text.clear();
    opt.state &= ~QStyle::State_HasFocus;
    const QModelIndex current = grid_->currentIndex();
    const bool selected = current.isValid()
        && (index == current || (grid_->rowSelect_ && index.row() == current.row()));
    if (selected)
        opt.state |= QStyle::State_Selected;
    else
        opt.state &= ~QStyle::State_Selected;
    const QWidget* widget = option.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    style->drawPrimitive(QStyle::PE_PanelItemViewItem, &opt, painter, widget);

    const QPalette::ColorGroup group = !(opt.state & QStyle::State_Enabled) ? QPalette::Disabled
        : (opt.state & QStyle::State_Active) ? QPalette::Active : QPalette::Inactive;
    painter->save();
    painter->setClipRect(opt.rect);
    painter->setFont(grid_->font());
    drawCell(grid_, *painter, opt.rect, index.column(), index.row() + 1, opt.palette, group, selected);
    painter->restore();
}

QWidget* GridCellDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const
{
    auto* editor = new MaskedLineEdit(parent);
    editor->setFrame(false);
    const int col = index.column();
    const int row = index.row() + 1;
    if (grid_->editMask_)
        editor->setEditMask(grid_->editMask_(col, row));
    WorkshopGrid* grid = grid_;
    connect(editor, &QLineEdit::textEdited, grid, [grid, editor, col, row] {
        grid->editorTextEdited(col, row, editor->maskedText());
    });
    return editor;
}

void GridCellDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const
{
    auto* edit = static_cast<MaskedLineEdit*>(editor);
    // Only when the editor opens: a model that changes under an open editor must not reset it.
    if (edit->property("filled").toBool())
        return;
    edit->setProperty("filled", true);
    edit->setMaskedText(grid_->cellText(index.column(), index.row() + 1, CellTextUse::Edit));
    edit->selectAll();
}

void GridCellDelegate::setModelData(QWidget*, QAbstractItemModel*, const QModelIndex&) const
{
    // Edits reach the model through the pending cell edit only (WorkshopGrid::setEditText).
}

void GridCellDelegate::updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                                            const QModelIndex&) const
{
    editor->setGeometry(option.rect);
}

bool GridCellDelegate::eventFilter(QObject* object, QEvent* event)
{
    auto* editor = qobject_cast<QWidget*>(object);
    if (editor && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        // Enter always closes the editor, even on text a mask still finds incomplete: the window
        // decides what incomplete text means, as it does when the focus leaves.
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            emit closeEditor(editor, QAbstractItemDelegate::SubmitModelCache);
            return true;
        }
        // Tab likewise, and moves on to the next cell (Shift+Tab the previous).
        const bool plain = !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
        if (plain && (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab)) {
            const bool back = key->key() == Qt::Key_Backtab || (key->modifiers() & Qt::ShiftModifier);
            emit closeEditor(editor, back ? QAbstractItemDelegate::EditPreviousItem : QAbstractItemDelegate::EditNextItem);
            return true;
        }
    }
    return QStyledItemDelegate::eventFilter(object, event);
}

TitleRowHeader::TitleRowHeader(WorkshopGrid* grid) : QHeaderView(Qt::Horizontal, grid), grid_(grid)
{
    setSectionsClickable(false);
    setHighlightSections(false);
    setMinimumSectionSize(1);
}

QSize TitleRowHeader::sizeHint() const
{
    QSize size = QHeaderView::sizeHint();
    size.setHeight(grid_->titleRowHeight_ + grid_->gridLineWidth());
    return size;
}

void TitleRowHeader::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const
{
    painter->save();
    painter->fillRect(rect, palette().button());
    const int line = grid_->gridLineWidth();
    if (line > 0) {
        painter->setPen(palette().color(QPalette::Mid));
        painter->drawLine(rect.topRight(), rect.bottomRight());
        painter->drawLine(rect.bottomLeft(), rect.bottomRight());
    }
    const QRect cell = rect.adjusted(0, 0, -line, -line);
    painter->setClipRect(cell);
    painter->setFont(grid_->font());
    const QPalette::ColorGroup group = isEnabled() ? QPalette::Active : QPalette::Disabled;
    QPalette pal = palette();
    pal.setColor(group, QPalette::Text, pal.color(group, QPalette::ButtonText));
    GridCellDelegate::drawCell(grid_, *painter, cell, logicalIndex, 0, pal, group, false);
    painter->restore();
}

bool TitleRowHeader::onSectionEdge(int x) const
{
    const int col = logicalIndexAt(x);
    if (col < 0 || sectionResizeMode(col) != QHeaderView::Interactive)
        return false;
    const int start = sectionViewportPosition(col);
    const int end = start + sectionSize(col);
    const int grip = style()->pixelMetric(QStyle::PM_HeaderGripMargin, nullptr, this);
    return x >= end - grip || (col > 0 && x <= start + grip);
}

void TitleRowHeader::mousePressEvent(QMouseEvent* event)
{
    const int x = event->position().toPoint().x();
    const bool resizing = event->button() == Qt::LeftButton && onSectionEdge(x);
    if (!resizing) {
        const int col = logicalIndexAt(x);
        if (col >= 0)
            emit grid_->titlePressed(col, event->button());
    }
    if (event->button() == Qt::LeftButton)
        QHeaderView::mousePressEvent(event);
}
