#pragma once

#include <QDateEdit>

class QLineEdit;

#include "model/date_time.h"

// The date picker of every window: a date edit with a drop-down calendar in a short date format,
// into which a date can also be typed whole. The first printable key starts a typed text that
// replaces what the picker shows; Enter or leaving the picker reads it ("15/3/2027", "15/03/27",
// "150327", "15032027") and takes it as the date, or drops it when it is no date. Escape drops it
// at once. While a text is being typed the date stays what it was, so nothing is stored half way.
class DatePicker : public QDateEdit {
    Q_OBJECT
public:
    explicit DatePicker(QWidget* parent = nullptr);

    // Shows dates in `format` (dd/mm/yyyy unless set).
    void setShortDateFormat(const ShortDateFormat& format);
    const ShortDateFormat& shortDateFormat() const { return format_; }

    bool isTyping() const { return typing_; }
    // What the picker shows: the text being typed, else the date.
    QString shownText() const { return typing_ ? typed_ : text(); }
    // Ends the typed text: a date becomes the picker's date, anything else is dropped.
    void finishTyping();
    // Drops the typed text and shows the date again.
    void cancelTyping();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void showTyped();
    void endTyping();

    ShortDateFormat format_;
    bool typing_ = false;
    QString typed_;
    // Shows the typed text over the picker's own text, which keeps showing the date underneath:
    // the picker reads its text section by section and would take a half-typed date for a date.
    QLineEdit* typedView_ = nullptr;
};
