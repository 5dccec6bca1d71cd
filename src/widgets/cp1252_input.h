#pragma once

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QString>

#include "widgets/feedback.h"
#include "widgets/text_convert.h"

// What every multi-line field of model text adds to its Qt edit: a character windows-1252 cannot
// hold is refused with a beep, typed or composed by an input method, so nothing is lost on saving;
// and the text reads back exactly as it was set until the user changes it. Pasting and dropping
// are the fields' own, since the two edits take the plain text of a paste differently.
template <class Edit>
class Cp1252Input : public Edit {
public:
    using Edit::Edit;

    // The text as set, byte for byte, until the user changes it; then the lines or paragraphs
    // shown joined by LF, no-break spaces kept (toPlainText turns them into blanks).
    QString plainText() const { return filled_.read(documentText(*this->document())); }

protected:
    // After the field was filled with `text`: what plainText gives until the user changes it.
    void rememberFilled(const QString& text) { filled_.remember(text, documentText(*this->document())); }

    void keyPressEvent(QKeyEvent* event) override
    {
        if (!this->isReadOnly() && !event->text().isEmpty() && !isEncodable(event->text())) {
            feedback::textRefused();
            event->accept();
            return;
        }
        Edit::keyPressEvent(event);
    }

    void inputMethodEvent(QInputMethodEvent* event) override
    {
        if (!event->commitString().isEmpty() && !isEncodable(event->commitString())) {
            feedback::textRefused();
            QInputMethodEvent withoutCommit(event->preeditString(), event->attributes());
            Edit::inputMethodEvent(&withoutCommit);
            return;
        }
        Edit::inputMethodEvent(event);
    }

private:
    FilledText filled_;
};
