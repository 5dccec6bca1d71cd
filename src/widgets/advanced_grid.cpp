#include "widgets/advanced_grid.h"

#include "widgets/feedback.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFocusEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QMetaMethod>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>

#include <algorithm>

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

QString& TAdvancedGrid::shortDateFormat()
{
    static QString format = QLocale::system().dateFormat(QLocale::ShortFormat);
    return format;
}

QString& TAdvancedGrid::timeFormat()
{
    static QString format = QLocale::system().timeFormat(QLocale::ShortFormat);
    return format;
}

QDate TAdvancedGrid::parseShortDate(const QString& text)
{
    // Order of day, month and year as the format writes them.
    const QString& format = shortDateFormat();
    std::vector<std::pair<qsizetype, char>> order = {
        {format.indexOf(QLatin1Char('d')), 'd'}, {format.indexOf(QLatin1Char('M')), 'M'},
        {format.indexOf(QLatin1Char('y')), 'y'}};
    for (auto& o : order) {
        if (o.first < 0)
            o.first = 100 + o.second; // missing from the format: day, month, year after the rest
    }
    std::sort(order.begin(), order.end());

    static const QRegularExpression number(QStringLiteral("\\d+"));
    std::vector<int> parts;
    for (auto it = number.globalMatch(text); it.hasNext();)
        parts.push_back(it.next().captured().toInt());
    if (parts.size() != 3)
        return {};
    int day = 0, month = 0, year = 0;
    for (std::size_t k = 0; k < 3; ++k) {
        switch (order[k].second) {
        case 'd': day = parts[k]; break;
        case 'M': month = parts[k]; break;
        default: year = parts[k]; break;
        }
    }
    if (year < 100) {
        const int thisYear = QDate::currentDate().year();
        year += (thisYear / 100) * 100;
        if (year > thisYear + 50)
            year -= 100;
        else if (year < thisYear - 50)
            year += 100;
    }
    return QDate(year, month, day); // invalid for days that do not exist
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
    control_ = makeControl(kind, ACol, ARow);
    if (!control_) {
        reportError(QString::fromLatin1(kMissingCustomControl));
        return false;
    }
    controlKind_ = kind;
    controlCol_ = ACol;
    controlRow_ = ARow;
    placeControl();
    if (!fillControl(kind, ACol, ARow)) {
        control_->hide();
        reportError(QString::fromLatin1(kNotOneDimensional));
        return false;
    }
    control_->show();
    control_->raise();
    return true;
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
        auto* picker = new QDateEdit(viewport());
        picker->setCalendarPopup(true);
        picker->setDisplayFormat(shortDateFormat());
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
        const QDate date = parseShortDate(text);
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

void TAdvancedGrid::writeBack()
{
    QString text;
    switch (controlKind_) {
    case cckComboBox: text = static_cast<QComboBox*>(control_)->currentText(); break;
    case cckDatePicker: {
        auto* picker = static_cast<QDateEdit*>(control_);
        const bool timeOnly = !(picker->displayedSections() & QDateTimeEdit::DateSections_Mask);
        text = timeOnly ? picker->time().toString(timeFormat()) : picker->date().toString(shortDateFormat());
        break;
    }
    case cckCheckBox: text = static_cast<QCheckBox*>(control_)->isChecked() ? QStringLiteral("X") : QString(); break;
    default: return;
    }
    const int col = currentColumn();
    const int row = currentRow();
    setEditText(col, row, text);
    emit controlTextWritten(col, row, text);
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
    } else if (event->type() == QEvent::FocusOut) {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        // Opening the drop-down list or switching windows is not leaving the control.
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason
            && !ownsWidget(QApplication::focusWidget())) {
            const TControlHandlers handlers = handlers_;
            writeBack();
            if (handlers.exit)
                handlers.exit();
        }
    }
    return WorkshopGrid::eventFilter(watched, event);
}

void TAdvancedGrid::keyPressEvent(QKeyEvent* event)
{
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
    if (ShowControl(col, row) && control_ && control_->isVisible())
        control_->setFocus(Qt::OtherFocusReason);
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
