#include "widgets/date_picker.h"

#include <QKeyEvent>
#include <QLineEdit>

#include "widgets/date_format.h"
#include "widgets/text_convert.h"

DatePicker::DatePicker(QWidget* parent) : QDateEdit(parent)
{
    setCalendarPopup(true);
    setShortDateFormat(format_);
    // A date set from outside (the calendar, a refresh) replaces whatever was being typed.
    connect(this, &QDateTimeEdit::dateChanged, this, [this] { endTyping(); });
}

void DatePicker::setShortDateFormat(const ShortDateFormat& format)
{
    format_ = format;
    setDisplayFormat(qtDisplayFormat(format));
}

void DatePicker::finishTyping()
{
    if (!typing_)
        return;
    const auto typed = parseTypedDate(toModel(typed_), currentYear());
    const QDate date = typed ? toQDate(*typed) : QDate();
    endTyping();
    if (date.isValid() && date >= minimumDate() && date <= maximumDate())
        setDate(date);
}

void DatePicker::cancelTyping()
{
    endTyping();
}

void DatePicker::endTyping()
{
    typing_ = false;
    typed_.clear();
    if (typedView_)
        typedView_->hide();
}

void DatePicker::showTyped()
{
    // Made on the first keystroke: a grid makes a picker each time a Due cell becomes current.
    if (!typedView_) {
        typedView_ = new QLineEdit(this);
        typedView_->setObjectName(QStringLiteral("typedDate"));
        typedView_->setFocusPolicy(Qt::NoFocus);
        typedView_->setFrame(false);
        typedView_->setReadOnly(true);
        typedView_->setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    typedView_->setGeometry(lineEdit()->geometry());
    typedView_->setText(typed_);
    typedView_->show();
    typedView_->raise();
}

void DatePicker::resizeEvent(QResizeEvent* event)
{
    QDateEdit::resizeEvent(event);
    if (typedView_)
        typedView_->setGeometry(lineEdit()->geometry());
}

void DatePicker::keyPressEvent(QKeyEvent* event)
{
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier);
    const int key = event->key();
    if (key == Qt::Key_Escape && typing_) {
        cancelTyping();
        event->accept();
        return;
    }
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        finishTyping();
        QDateEdit::keyPressEvent(event);
        return;
    }
    if (typing_ && key == Qt::Key_Backspace && modifiers == Qt::NoModifier) {
        typed_.chop(1);
        showTyped();
        event->accept();
        return;
    }
    const QString text = event->text();
    if (modifiers == Qt::NoModifier && !text.isEmpty() && text.at(0).isPrint() && !isReadOnly()) {
        typing_ = true;
        typed_ += text;
        showTyped();
        event->accept();
        return;
    }
    const bool modifierOnly = key == Qt::Key_Shift || key == Qt::Key_Control || key == Qt::Key_Alt || key == Qt::Key_Meta;
    if (!modifierOnly)
        finishTyping();
    QDateEdit::keyPressEvent(event);
}

void DatePicker::focusInEvent(QFocusEvent* event)
{
    cancelTyping();
    QDateEdit::focusInEvent(event);
}

void DatePicker::focusOutEvent(QFocusEvent* event)
{
    finishTyping();
    QDateEdit::focusOutEvent(event);
}
