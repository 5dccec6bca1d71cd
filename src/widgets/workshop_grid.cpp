#include "widgets/workshop_grid.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScopedValueRollback>

#include <algorithm>

#include "widgets/edit_state.h"
#include "widgets/workshop_grid_parts.h"

WorkshopGrid::WorkshopGrid(QWidget* parent) : QTableView(parent)
{
    model_ = new CellTextModel(this);
    setModel(model_);
    QItemSelectionModel* plain = selectionModel();
    setSelectionModel(new GuardedSelectionModel(model_, this));
    delete plain;
    delegate_ = new GridCellDelegate(this);
    setItemDelegate(delegate_);
    title_ = new TitleRowHeader(this);
    setHorizontalHeader(title_);

    setSelectionMode(QAbstractItemView::NoSelection);
    setTabKeyNavigation(false);
    setCornerButtonEnabled(false);
    setWordWrap(true);
    verticalHeader()->hide();
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setMinimumSectionSize(1);
    horizontalHeader()->setStretchLastSection(false);
    horizontalHeader()->setDefaultSectionSize(64 + gridLineWidth());
    setColumnSizing(true);
    setEditingEnabled(true);
    setDefaultRowHeight(16);

    connect(qApp, &QApplication::focusChanged, this, &WorkshopGrid::onFocusChanged);
    connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this] { recheckAllRows(); });
}

WorkshopGrid::~WorkshopGrid()
{
    // Focus moves while the widgets are torn down; this grid must no longer hear of it.
    disconnect(qApp, nullptr, this, nullptr);
    protocol::forgetPendingEditOf(this);
}

void WorkshopGrid::setCellTextFunction(CellTextFunction function) { cellText_ = std::move(function); refresh(); }
void WorkshopGrid::setEditMaskFunction(EditMaskFunction function) { editMask_ = std::move(function); }
void WorkshopGrid::setCommitEditFunction(CommitEditFunction function) { commitEdit_ = std::move(function); }
void WorkshopGrid::setCanSelectCellFunction(CanSelectCellFunction function) { canSelect_ = std::move(function); }
void WorkshopGrid::setCellStyleFunction(CellStyleFunction function) { cellStyle_ = std::move(function); refresh(); }
void WorkshopGrid::setCellPainter(CellPainter painter) { cellPainter_ = std::move(painter); refresh(); }
void WorkshopGrid::setKeyDownHandler(KeyDownHandler handler) { keyDown_ = std::move(handler); }
void WorkshopGrid::setCopyTextFunction(std::function<QString()> function) { copyText_ = std::move(function); }

QString WorkshopGrid::cellText(int col, int row, CellTextUse use) const
{
    return cellText_ ? cellText_(col, row, use) : QString();
}

int WorkshopGrid::rowCount() const { return model_->rowCount() + 1; }
int WorkshopGrid::columnCount() const { return model_->columnCount(); }

void WorkshopGrid::setRowCount(int rows)
{
    recheckAll_ = true;
    // Taking rows away below an open editor leaves the editor open, but the view would no longer
    // count itself as editing, and what is typed on would stop reaching the pending edit.
    const bool editorStays = isEditorOpen() && currentIndex().row() < std::max(rows, 1) - 1;
    model_->setShape(std::max(rows, 1) - 1, columnCount());
    if (editorStays && !isEditorOpen())
        setState(QAbstractItemView::EditingState);
    ensureCurrentCell();
    refresh();
}

void WorkshopGrid::setColumnCount(int columns)
{
    recheckAll_ = true;
    model_->setShape(rowCount() - 1, std::max(columns, 0));
    ensureCurrentCell();
    refresh();
}

int WorkshopGrid::gridColumnWidth(int col) const
{
    return horizontalHeader()->sectionSize(col) - gridLineWidth();
}

void WorkshopGrid::setGridColumnWidth(int col, int width)
{
    horizontalHeader()->resizeSection(col, std::max(width, 0) + gridLineWidth());
}

void WorkshopGrid::setColumnWidths(const std::vector<int>& widths)
{
    setColumnCount(static_cast<int>(widths.size()));
    for (std::size_t c = 0; c < widths.size(); ++c)
        setGridColumnWidth(static_cast<int>(c), widths[c]);
}

int WorkshopGrid::gridRowHeight(int row) const
{
    // Whoever asks for a row's height gets it fitted, as if fitting had not waited for the row to
    // come into view.
    if (row >= 0 && row < static_cast<int>(waiting_.size()) && waiting_[static_cast<std::size_t>(row)])
        const_cast<WorkshopGrid*>(this)->fitWaitingRow(row);
    return sectionHeight(row);
}

int WorkshopGrid::sectionHeight(int row) const
{
    if (row == 0)
        return titleRowHeight_;
    return verticalHeader()->sectionSize(row - 1) - gridLineWidth();
}

void WorkshopGrid::setGridRowHeight(int row, int height)
{
    height = std::max(height, 0);
    // A height set here is final until the next fit: a row still waiting must not overwrite it.
    if (row >= 0 && row < static_cast<int>(waiting_.size()) && waiting_[static_cast<std::size_t>(row)]) {
        waiting_[static_cast<std::size_t>(row)] = 0;
        --waitingCount_;
    }
    if (row == 0) {
        if (height == titleRowHeight_)
            return;
        titleRowHeight_ = height;
        title_->updateGeometry();
        updateGeometries();
        title_->viewport()->update();
        return;
    }
    if (row > 0 && row < rowCount())
        verticalHeader()->resizeSection(row - 1, height + gridLineWidth());
}

void WorkshopGrid::setDefaultRowHeight(int height)
{
    recheckAll_ = true;
    defaultRowHeight_ = std::max(height, 1);
    verticalHeader()->setDefaultSectionSize(defaultRowHeight_ + gridLineWidth());
    for (int r = 0; r < rowCount(); ++r)
        setGridRowHeight(r, defaultRowHeight_);
}

void WorkshopGrid::fitRowHeights()
{
    const QFontMetrics metrics(font());
    const int lineHeight = metrics.height();
    if (defaultRowHeight_ < lineHeight) {
        defaultRowHeight_ = lineHeight;
        verticalHeader()->setDefaultSectionSize(defaultRowHeight_ + gridLineWidth());
        recheckAll_ = true;
    }
    const auto rows = static_cast<std::size_t>(rowCount());
    if (recheckAll_) {
        waiting_.assign(rows, 1);
        waitingCount_ = rowCount();
    } else {
        waiting_.resize(rows, 0);
        for (int r : recheckRows_) {
            if (r >= 0 && r < rowCount() && !waiting_[static_cast<std::size_t>(r)]) {
                waiting_[static_cast<std::size_t>(r)] = 1;
                ++waitingCount_;
            }
        }
    }
    recheckAll_ = false;
    recheckRows_.clear();
    fitShownRows();
}

bool WorkshopGrid::fitWaitingRow(int row)
{
    if (row < 0 || row >= rowCount() || row >= static_cast<int>(waiting_.size())
        || !waiting_[static_cast<std::size_t>(row)])
        return false;
    waiting_[static_cast<std::size_t>(row)] = 0;
    --waitingCount_;
    QFont boldFont = font();
    boldFont.setBold(true);
    fitted_.resize(std::max(fitted_.size(), static_cast<std::size_t>(rowCount())));
    const int height = fittedRowHeight(row, QFontMetrics(font()), QFontMetrics(boldFont));
    if (height != sectionHeight(row))
        setGridRowHeight(row, height);
    return true;
}

void WorkshopGrid::fitShownRows()
{
    if (fittingShown_ || waitingCount_ <= 0)
        return;
    QScopedValueRollback<bool> busy(fittingShown_, true);
    fitWaitingRow(0);
    // A fitted row moves the rows below it, which can bring others into view.
    for (bool fitted = true; fitted;) {
        fitted = false;
        const auto [first, last] = shownRows();
        for (int r = first; r <= last; ++r)
            fitted = fitWaitingRow(r) || fitted;
    }
    // The scroll range ends where the last page begins, so the rows of the last page count too.
    int room = viewport()->height();
    for (int r = rowCount() - 1; r >= 1 && room > 0; --r) {
        fitWaitingRow(r);
        room -= sectionHeight(r) + gridLineWidth();
    }
}

std::pair<int, int> WorkshopGrid::shownRows() const
{
    const int first = rowAt(0);
    if (first < 0)
        return {1, 0};
    int last = rowAt(viewport()->height() - 1);
    if (last < 0)
        last = model_->rowCount() - 1;
    return {first + 1, last + 1};
}

void WorkshopGrid::scrollTo(const QModelIndex& index, ScrollHint hint)
{
    if (index.isValid() && waitingCount_ > 0 && !fittingShown_) {
        // Where the view stops depends on the heights of the rows it shows around the target.
        QScopedValueRollback<bool> busy(fittingShown_, true);
        const int row = gridRowOf(index);
        const int span = viewport()->height() / std::max(defaultRowHeight_, 1) + 1;
        for (int r = std::max(row - span, 1); r <= row + span && r < rowCount(); ++r)
            fitWaitingRow(r);
    }
    QTableView::scrollTo(index, hint);
}

void WorkshopGrid::scrollContentsBy(int dx, int dy)
{
    QTableView::scrollContentsBy(dx, dy);
    if (dy != 0)
        fitShownRows();
}

void WorkshopGrid::updateGeometries()
{
    fitShownRows();
    QTableView::updateGeometries();
}

int WorkshopGrid::fittedRowHeight(int row, const QFontMetrics& metrics, const QFontMetrics& boldMetrics)
{
    auto& cells = fitted_[static_cast<std::size_t>(row)];
    cells.resize(static_cast<std::size_t>(columnCount()));
    int height = defaultRowHeight_;
    for (int c = 0; c < columnCount(); ++c) {
        const CellStyle style = cellStyle_ ? cellStyle_(c, row) : CellStyle{};
        // Measured in the box the text is drawn in (the cell less its insets), so that a line
        // never wraps on screen where the measurement kept it whole.
        const int width = std::max(gridColumnWidth(c) - style.leftInset - 2, 1);
        QString text = cellText(c, row, CellTextUse::Fit);
        FittedCell& cell = cells[static_cast<std::size_t>(c)];
        if (cell.width != width || cell.bold != style.bold || cell.wordWrap != style.wordWrap || cell.text != text) {
            const QFontMetrics& fm = style.bold ? boldMetrics : metrics;
            const int flags = style.wordWrap ? Qt::TextWordWrap : 0;
            const QRect bounds = fm.boundingRect(QRect(0, 0, width, 1 << 20), flags, text);
            cell = FittedCell{std::move(text), width, style.bold, style.wordWrap, bounds.height() + fm.leading() + 3};
        }
        height = std::max(height, cell.height);
    }
    return height;
}

int WorkshopGrid::currentColumn() const
{
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.column() : -1;
}

int WorkshopGrid::currentRow() const
{
    const QModelIndex current = currentIndex();
    return current.isValid() ? gridRowOf(current) : -1;
}

bool WorkshopGrid::setCurrentCell(int col, int row)
{
    const QModelIndex target = indexOf(col, row);
    if (!target.isValid())
        return false;
    if (target != currentIndex())
        setCurrentIndex(target);
    return currentIndex() == target;
}

bool WorkshopGrid::canSelectCell(int col, int row) const
{
    if (col < 0 || col >= columnCount() || row < 1 || row >= rowCount())
        return false;
    return canSelect_ ? canSelect_(col, row) : true;
}

void WorkshopGrid::setEditingEnabled(bool on)
{
    editingEnabled_ = on;
    setEditTriggers(on ? (QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                          | QAbstractItemView::AnyKeyPressed)
                       : QAbstractItemView::NoEditTriggers);
}

void WorkshopGrid::setRowSelect(bool on)
{
    rowSelect_ = on;
    refresh();
}

void WorkshopGrid::setColumnSizing(bool on)
{
    horizontalHeader()->setSectionResizeMode(on ? QHeaderView::Interactive : QHeaderView::Fixed);
}

bool WorkshopGrid::isEditorOpen() const
{
    return state() == QAbstractItemView::EditingState;
}

void WorkshopGrid::refresh()
{
    recheckAll_ = true;
    viewport()->update();
    title_->viewport()->update();
}

void WorkshopGrid::refreshRows(int first, int last)
{
    for (int r = std::max(first, 0); r <= last && r < rowCount(); ++r)
        recheckRows_.push_back(r);
    viewport()->update();
    if (first <= 0)
        title_->viewport()->update();
}

void WorkshopGrid::setEditText(int col, int row, const QString& text)
{
    if (isEditorOpen()) {
        auto& pending = protocol::pendingCellEdit(this);
        pending.col = col;
        pending.row = row;
        pending.text = text;
        pending.grid = this;
    } else {
        commitPendingEdit();
    }
}

void WorkshopGrid::commitPendingEdit()
{
    if (protocol::updating(this))
        return;
    auto& pending = protocol::pendingCellEdit(this);
    if (!pending.pending() || pending.grid != static_cast<QObject*>(this))
        return;
    // Cleared before the window sees it, so that whatever the commit sets off (a refresh that
    // moves the current cell, say) cannot commit the same edit twice.
    const PendingCellEdit edit = pending;
    pending.clear();
    commitCellText(edit.col, edit.row, edit.text);
}

void WorkshopGrid::commitCellText(int col, int row, const QString& text)
{
    if (protocol::updating(this))
        return;
    if (commitEdit_)
        commitEdit_(col, row, text);
    refreshRows(row, row);
}

void WorkshopGrid::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::FontChange)
        recheckAll_ = true;
    QTableView::changeEvent(event);
}

QString WorkshopGrid::copyText() const
{
    if (copyText_)
        return copyText_();
    QString out;
    for (int r = 0; r < rowCount(); ++r) {
        for (int c = 0; c < columnCount(); ++c) {
            out += cellText(c, r, CellTextUse::Copy);
            out += QLatin1Char('\t');
        }
        out += QStringLiteral("\r\n");
    }
    return out;
}

void WorkshopGrid::keyPressEvent(QKeyEvent* event)
{
    if (keyDown_ && keyDown_(event))
        return;
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (event->key() == Qt::Key_Delete && modifiers == Qt::AltModifier) {
        if (!isEditorOpen())
            emit deleteRequested(currentColumn(), currentRow());
        event->accept();
        return;
    }
    if (event->matches(QKeySequence::Copy)) {
        // Edit > Copy copies the whole table; the view's own single-cell copy must not run.
        event->ignore();
        return;
    }
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && modifiers == Qt::NoModifier
        && editingEnabled_ && currentIndex().isValid()) {
        edit(currentIndex(), QAbstractItemView::EditKeyPressed, nullptr);
        return;
    }
    QTableView::keyPressEvent(event);
}

void WorkshopGrid::mousePressEvent(QMouseEvent* event)
{
    const QModelIndex index = indexAt(event->position().toPoint());
    // Only the left button moves the current cell; every button is reported.
    if (event->button() == Qt::LeftButton)
        QTableView::mousePressEvent(event);
    else if (!hasFocus())
        setFocus(Qt::MouseFocusReason);
    if (index.isValid())
        emit cellPressed(index.column(), gridRowOf(index), event->button());
}

bool WorkshopGrid::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event)
{
    if (!editingEnabled_ || !index.isValid())
        return false;
    if (trigger != QAbstractItemView::AllEditTriggers && index != currentIndex())
        return false;
    return QTableView::edit(index, trigger, event);
}

void WorkshopGrid::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint)
{
    const bool revert = hint == QAbstractItemDelegate::RevertModelCache;
    const bool tab = hint == QAbstractItemDelegate::EditNextItem || hint == QAbstractItemDelegate::EditPreviousItem;
    // Tab moves on without opening the next cell's editor.
    QTableView::closeEditor(editor, tab ? QAbstractItemDelegate::NoHint : hint);
    auto& pending = protocol::pendingCellEdit(this);
    if (revert) {
        if (pending.grid == static_cast<QObject*>(this))
            pending.clear();
        return;
    }
    commitPendingEdit();
    if (tab)
        focusNextPrevChild(hint == QAbstractItemDelegate::EditNextItem);
}

void WorkshopGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    QTableView::currentChanged(current, previous);
    viewport()->update();
    if (current.isValid())
        emit cellSelected(current.column(), gridRowOf(current));
}

bool WorkshopGrid::focusNextPrevChild(bool next)
{
    // Also asked when Tab is pressed in a control inside the grid.
    if (!isEditorOpen() && tabToCell(next))
        return true;
    return QTableView::focusNextPrevChild(next);
}

bool WorkshopGrid::tabToCell(bool forward)
{
    if (!editingEnabled_ || rowSelect_ || currentColumn() < 0)
        return false;
    const int columns = columnCount();
    const int cells = (rowCount() - 1) * columns;
    const int step = forward ? 1 : -1;
    for (int cell = (currentRow() - 1) * columns + currentColumn() + step; cell >= 0 && cell < cells; cell += step) {
        const int col = cell % columns;
        const int row = cell / columns + 1;
        if (canSelectCell(col, row))
            return setCurrentCell(col, row);
    }
    return false;
}

QModelIndex WorkshopGrid::indexOf(int col, int row) const
{
    if (row < 1)
        return {};
    return model_->index(row - 1, col);
}

bool WorkshopGrid::acceptCellChange(const QModelIndex& target)
{
    // A pending edit is committed and the rows fitted whether or not the move is allowed.
    commitPendingEdit();
    const bool allowed = canSelectCell(target.column(), gridRowOf(target));
    if (fitOnSelect_)
        fitRowHeights();
    return allowed;
}

void WorkshopGrid::onFocusChanged(QWidget* old, QWidget* now)
{
    const auto inside = [this](QWidget* w) { return w && (w == this || isAncestorOf(w)); };
    if (inside(now) && !inside(old))
        protocol::pendingCellEdit(this).clear();
}

void WorkshopGrid::editorTextEdited(int col, int row, const QString& text)
{
    setEditText(col, row, text);
}

void WorkshopGrid::ensureCurrentCell()
{
    if (currentIndex().isValid())
        return;
    // The first cell the window allows; a grid that allows none (a totals grid) has no
    // current cell and so shows no highlight.
    for (int row = 1; row < rowCount(); ++row) {
        for (int col = 0; col < columnCount(); ++col) {
            if (!canSelectCell(col, row))
                continue;
            auto* guarded = static_cast<GuardedSelectionModel*>(selectionModel());
            QScopedValueRollback<bool> rollback(guarded->unguarded, true);
            guarded->setCurrentIndex(indexOf(col, row), QItemSelectionModel::NoUpdate);
            return;
        }
    }
}
