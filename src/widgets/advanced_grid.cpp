#include "widgets/advanced_grid.h"

#include "widgets/date_format.h"
#include "widgets/date_picker.h"
#include "widgets/edit_state.h"
#include "widgets/feedback.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFocusEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMetaMethod>
#include <QPushButton>
#include <QScrollBar>

#include <algorithm>
#include <memory>

const char* const TAdvancedGrid::kMissingCustomControl = "InitControl() method does not initialize user defined control.";
const char* const TAdvancedGrid::kNotOneDimensional = "One-dimensional variant array expected";

namespace {

bool isArrow(int key)
{
    return key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up || key == Qt::Key_Down;
}

bool isList(const QVariant& value)
{
    const int type = value.metaType().id();
    return type == QMetaType::QVariantList || type == QMetaType::QStringList;
}

void installOnTree(QWidget* root, QObject* filter)
{
    root->installEventFilter(filter);
    for (QWidget* child : root->findChildren<QWidget*>())
        child->installEventFilter(filter);
}

// Whether `popup` is a pop-up window of `owner` (its calendar, say). A pop-up is a window of its
// own, so QWidget::isAncestorOf does not see it.
bool isPopupOf(const QWidget* popup, const QWidget* owner)
{
    for (const QWidget* w = popup; w; w = w->parentWidget())
        if (w == owner)
            return true;
    return false;
}

void removeFromTree(QWidget* root, QObject* filter)
{
    root->removeEventFilter(filter);
    for (QWidget* child : root->findChildren<QWidget*>())
        child->removeEventFilter(filter);
}

} // namespace

TAdvancedGrid::TAdvancedGrid(QWidget* parent) : WorkshopGrid(parent)
{
    setDefaultRowHeight(20);
    // Resizing rows or columns moves the cell under the control; the control moves with it.
    connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this] { placeControl(); });
    connect(verticalHeader(), &QHeaderView::sectionResized, this, [this] { placeControl(); });
}

TAdvancedGrid::~TAdvancedGrid()
{
    // The control is destroyed with the viewport, after this object: its events must not reach
    // the filter of a grid that is half gone.
    if (control_)
        removeFromTree(control_, this);
}

QString& TAdvancedGrid::timeFormat()
{
    static QString format = QStringLiteral("HH:mm");
    return format;
}

void TAdvancedGrid::SetCellControl(int ACol, int ARow, TCellControlKind Kind)
{
    if (ACol < 0 || ACol >= columnCount() || ARow < 1 || ARow >= rowCount() || !CanSelectCell(ACol, ARow))
        return;
    // The table grows with the cells marked, so any grid size is safe.
    if (kinds_.size() <= static_cast<std::size_t>(ACol))
        kinds_.resize(static_cast<std::size_t>(ACol) + 1);
    auto& column = kinds_[static_cast<std::size_t>(ACol)];
    if (column.size() <= static_cast<std::size_t>(ARow))
        column.resize(static_cast<std::size_t>(ARow) + 1, cckNone);
    column[static_cast<std::size_t>(ARow)] = Kind;
    if (ACol == currentColumn() && ARow == currentRow())
        ShowControl(ACol, ARow);
}

TCellControlKind TAdvancedGrid::CellControl(int ACol, int ARow) const
{
    if (ACol < 0 || ARow < 0 || static_cast<std::size_t>(ACol) >= kinds_.size())
        return cckNone;
    const auto& column = kinds_[static_cast<std::size_t>(ACol)];
    if (static_cast<std::size_t>(ARow) >= column.size())
        return cckNone;
    return static_cast<TCellControlKind>(column[static_cast<std::size_t>(ARow)]);
}

bool TAdvancedGrid::ShowControl(int ACol, int ARow)
{
    const TCellControlKind kind = CellControl(ACol, ARow);
    if (kind == cckNone || !isFullyVisible(ACol, ARow) || !CanSelectCell(ACol, ARow)) {
        if (control_)
            control_->hide();
        return true;
    }
    retireControl();
    bool filled = false;
    {
        // Making and filling the control is not an edit: the window's handlers stay quiet.
        protocol::UpdatingGuard quiet(this);
        control_ = makeControl(kind, ACol, ARow);
        if (!control_) {
            reportError(QString::fromLatin1(kMissingCustomControl));
            return false;
        }
        controlKind_ = kind;
        controlCol_ = ACol;
        controlRow_ = ARow;
        placeControl();
        QSignalBlocker blockControl(control_);
        std::vector<std::unique_ptr<QSignalBlocker>> blockEdits;
        for (QLineEdit* edit : control_->findChildren<QLineEdit*>())
            blockEdits.push_back(std::make_unique<QSignalBlocker>(edit));
        filled = fillControl(kind, ACol, ARow);
        committedText_ = controlValueText();
    }
    if (!filled) {
        control_->hide();
        reportError(QString::fromLatin1(kNotOneDimensional));
        return false;
    }
    connectValuePicks(control_);
    control_->show();
    control_->raise();
    return true;
}

void TAdvancedGrid::connectValuePicks(QWidget* control)
{
    // A pick from the list or a click on the box is the user's choice; it is committed at once.
    // Typing into a combo box or a date picker is committed when the control is left.
    if (auto* combo = qobject_cast<QComboBox*>(control)) {
        connect(combo, &QComboBox::activated, this, [this, combo] {
            if (combo == control_)
                commitControlValue();
        });
    } else if (auto* box = qobject_cast<QCheckBox*>(control)) {
        connect(box, &QCheckBox::clicked, this, [this, box] {
            if (box == control_)
                commitControlValue();
        });
    } else if (auto* picker = qobject_cast<QDateEdit*>(control)) {
        // A date picked in the calendar reaches the picker while the calendar is still the open
        // popup. Asking the picker for its calendar here instead would build one for every cell
        // shown, which costs more than a keystroke may.
        connect(picker, &QDateEdit::dateChanged, this, [this, picker] {
            if (picker == control_ && isPopupOf(QApplication::activePopupWidget(), picker))
                commitControlValue();
        });
    }
}

QWidget* TAdvancedGrid::makeControl(TCellControlKind kind, int col, int row)
{
    handlers_ = TControlHandlers{};
    QWidget* made = nullptr;
    switch (kind) {
    case cckComboBox: {
        auto* combo = new QComboBox(viewport());
        combo->setEditable(true);
        combo->setInsertPolicy(QComboBox::NoInsert);
        made = combo;
        break;
    }
    case cckDatePicker: {
        auto* picker = new DatePicker(viewport());
        picker->setShortDateFormat(dateFormat_);
        made = picker;
        break;
    }
    case cckButton: made = new QPushButton(viewport()); break;
    case cckCheckBox: {
        auto* box = new QCheckBox(viewport());
        box->setAutoFillBackground(true);
        made = box;
        break;
    }
    default: break;
    }
    if (made)
        made->hide();
    if (onInitControl_) {
        QWidget* returned = onInitControl_(col, row, made, handlers_);
        if (kind == cckCustom)
            made = returned;
    }
    if (!made)
        return nullptr;
    made->hide();
    made->setParent(viewport());
    if (kind == cckComboBox || kind == cckDatePicker || kind == cckCheckBox)
        installOnTree(made, this);
    else
        handlers_ = TControlHandlers{}; // buttons and custom controls keep their own handling
    return made;
}

void TAdvancedGrid::retireControl()
{
    if (!control_)
        return;
    QWidget* old = control_;
    const bool hadFocus = ownsWidget(QApplication::focusWidget());
    control_ = nullptr;
    controlKind_ = cckNone;
    // A replaced control is gone for the window: its leave handler must not run.
    removeFromTree(old, this);
    if (hadFocus)
        setFocus(Qt::OtherFocusReason);
    old->hide();
    // The old control may be the one whose event handler is running right now.
    old->deleteLater();
}

bool TAdvancedGrid::fillControl(TCellControlKind kind, int col, int row)
{
    const QString text = cellText(col, row, CellTextUse::Edit);
    switch (kind) {
    case cckComboBox: {
        auto* combo = static_cast<QComboBox*>(control_);
        const QVariant values = onGetCellValues_ ? onGetCellValues_(col, row) : QVariant();
        combo->clear();
        if (values.isValid() && !values.isNull()) {
            if (!isList(values))
                return false;
            const QVariantList items = values.toList();
            for (const QVariant& item : items) {
                if (isList(item))
                    return false;
            }
            for (const QVariant& item : items)
                combo->addItem(item.toString());
        }
        if (combo->isEditable()) {
            combo->setCurrentIndex(-1);
            combo->setEditText(text);
            // Narrow cells show the start of the text, not its end.
            combo->lineEdit()->setCursorPosition(0);
        } else {
            int found = -1;
            for (int k = 0; k < combo->count(); ++k) {
                if (combo->itemText(k) == text)
                    found = k;
            }
            combo->setCurrentIndex(found);
        }
        break;
    }
    case cckDatePicker: {
        auto* picker = static_cast<QDateEdit*>(control_);
        const QDate date = parseShortDate(text, dateFormat_);
        picker->setDate(date.isValid() ? date : QDate::currentDate());
        break;
    }
    case cckButton: static_cast<QPushButton*>(control_)->setText(text); break;
    case cckCheckBox: {
        auto* box = static_cast<QCheckBox*>(control_);
        const QVariant values = onGetCellValues_ ? onGetCellValues_(col, row) : QVariant();
        box->setText(values.metaType().id() == QMetaType::QString ? values.toString() : QString());
        box->setChecked(text == QLatin1String("X"));
        break;
    }
    default: break;
    }
    return true;
}

bool TAdvancedGrid::isFullyVisible(int col, int row) const
{
    const QModelIndex index = indexOf(col, row);
    if (!index.isValid())
        return false;
    return viewport()->rect().contains(visualRect(index));
}

bool TAdvancedGrid::ownsWidget(QWidget* widget) const
{
    return widget && control_ && (widget == control_ || control_->isAncestorOf(widget));
}

void TAdvancedGrid::placeControl()
{
    if (!control_)
        return;
    const QModelIndex index = indexOf(controlCol_, controlRow_);
    if (index.isValid())
        control_->setGeometry(visualRect(index));
}

QString TAdvancedGrid::controlValueText() const
{
    switch (controlKind_) {
    case cckComboBox: return static_cast<QComboBox*>(control_)->currentText();
    case cckDatePicker: {
        auto* picker = static_cast<QDateEdit*>(control_);
        const bool timeOnly = !(picker->displayedSections() & QDateTimeEdit::DateSections_Mask);
        return timeOnly ? picker->time().toString(timeFormat()) : formatShortDate(picker->date(), dateFormat_);
    }
    case cckCheckBox: return static_cast<QCheckBox*>(control_)->isChecked() ? QStringLiteral("X") : QString();
    default: return {};
    }
}

bool TAdvancedGrid::commitControlValue()
{
    if (!control_ || protocol::updating(this))
        return false;
    if (controlKind_ != cckComboBox && controlKind_ != cckDatePicker && controlKind_ != cckCheckBox)
        return false;
    if (auto* picker = qobject_cast<DatePicker*>(control_))
        picker->finishTyping();
    const QString text = controlValueText();
    if (text == committedText_ || controlCol_ >= columnCount() || controlRow_ >= rowCount())
        return false;
    committedText_ = text;
    const int col = controlCol_;
    const int row = controlRow_;
    commitCellText(col, row, text);
    emit controlTextWritten(col, row, text);
    return true;
}

void TAdvancedGrid::commitPendingEdit()
{
    WorkshopGrid::commitPendingEdit();
    commitControlValue();
}

void TAdvancedGrid::reportError(const QString& message)
{
    if (isSignalConnected(QMetaMethod::fromSignal(&TAdvancedGrid::controlError)))
        emit controlError(message);
    else
        feedback::error(message);
}

bool TAdvancedGrid::eventFilter(QObject* watched, QEvent* event)
{
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || !ownsWidget(widget))
        return WorkshopGrid::eventFilter(watched, event);

    if (event->type() == QEvent::KeyPress && widget == QApplication::focusWidget()) {
        auto* key = static_cast<QKeyEvent*>(event);
        const TControlHandlers handlers = handlers_; // the handler may rebuild the control
        if (handlers.keyDown && handlers.keyDown(key))
            return true;
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            setFocus(Qt::OtherFocusReason);
            return true;
        }
        const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
        // Tab leaves the control as Enter does (its value written, its leave handler run), then
        // moves on from its cell; a date picker would otherwise take it to step between its fields.
        if ((key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab)
            && !(modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))) {
            const bool forward = key->key() == Qt::Key_Tab && !(modifiers & Qt::ShiftModifier);
            setFocus(Qt::OtherFocusReason);
            focusNextPrevChild(forward);
            return true;
        }
        if (key->key() == Qt::Key_Escape && modifiers == Qt::NoModifier) {
            cancelControl();
            return true;
        }
    } else if (event->type() == QEvent::FocusOut) {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        // Opening the drop-down list or switching windows is not leaving the control.
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason
            && !ownsWidget(QApplication::focusWidget())) {
            const TControlHandlers handlers = handlers_;
            commitControlValue();
            if (handlers.exit)
                handlers.exit();
        }
    }
    return WorkshopGrid::eventFilter(watched, event);
}

void TAdvancedGrid::cancelControl()
{
    // Made anew from the cell: the old control goes (its leave handler unheard) and the grid,
    // which it leaves the focus to, keeps it.
    const int col = controlCol_;
    const int row = controlRow_;
    ShowControl(col, row);
    setFocus(Qt::OtherFocusReason);
}

void TAdvancedGrid::keyPressEvent(QKeyEvent* event)
{
    // A key the control left unhandled (a lone Shift or Alt) comes up to the grid as the control's
    // parent. It was not pressed on the grid: making the control anew here would throw away what
    // was typed into it and take the focus from under the key sequence.
    if (ownsWidget(QApplication::focusWidget())) {
        event->ignore();
        return;
    }
    const int col = currentColumn();
    const int row = currentRow();
    if (isArrow(event->key()) && !isEditorOpen()) {
        if (col < 0 || row < 0)
            return;
        const int dc = event->key() == Qt::Key_Left ? -1 : event->key() == Qt::Key_Right ? 1 : 0;
        const int dr = event->key() == Qt::Key_Up ? -1 : event->key() == Qt::Key_Down ? 1 : 0;
        for (int c = col + dc, r = row + dr; c >= 0 && c < columnCount() && r >= 1 && r < rowCount();
             c += dc, r += dr) {
            if (CanSelectCell(c, r)) {
                setCurrentCell(c, r);
                scrollTo(indexOf(c, r));
                break;
            }
        }
        return;
    }
    if (col < 0 || CellControl(col, row) == cckNone || isEditorOpen()) {
        WorkshopGrid::keyPressEvent(event);
        return;
    }
    scrollTo(indexOf(col, row));
    if (!ShowControl(col, row) || !control_ || !control_->isVisible())
        return;
    control_->setFocus(Qt::OtherFocusReason);
    // The key that opened the control is its first keystroke: a typed text replaces the cell's.
    const QString text = event->text();
    if (text.isEmpty() || !text.at(0).isPrint() || (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
        return;
    QWidget* target = QApplication::focusWidget();
    if (!ownsWidget(target))
        return;
    if (auto* combo = qobject_cast<QComboBox*>(control_); combo && combo->lineEdit())
        combo->lineEdit()->selectAll();
    QKeyEvent again(event->type(), event->key(), event->modifiers(), text, event->isAutoRepeat(),
                    static_cast<quint16>(event->count()));
    QApplication::sendEvent(target, &again);
}

void TAdvancedGrid::mouseReleaseEvent(QMouseEvent* event)
{
    WorkshopGrid::mouseReleaseEvent(event);
    ShowControl(currentColumn(), currentRow());
}

void TAdvancedGrid::scrollContentsBy(int dx, int dy)
{
    WorkshopGrid::scrollContentsBy(dx, dy);
    ShowControl(currentColumn(), currentRow());
}

bool TAdvancedGrid::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event)
{
    if (index.isValid() && CellControl(index.column(), gridRowOf(index)) != cckNone)
        return false;
    return WorkshopGrid::edit(index, trigger, event);
}

void TAdvancedGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    WorkshopGrid::currentChanged(current, previous);
    if (current.isValid())
        ShowControl(current.column(), gridRowOf(current));
    else if (control_)
        control_->hide();
}

bool TAdvancedGrid::acceptCellChange(const QModelIndex& target)
{
    const bool allowed = WorkshopGrid::acceptCellChange(target);
    if (!allowed)
        ShowControl(currentColumn(), currentRow());
    return allowed;
}
