#include "widgets/cp1252_text_edit.h"

#include "widgets/feedback.h"
#include "widgets/text_convert.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>

Cp1252PlainTextEdit::Cp1252PlainTextEdit(QWidget* parent) : Cp1252Input<QPlainTextEdit>(parent)
{
    setUndoRedoEnabled(false);
}

void Cp1252PlainTextEdit::setPlainText(const QString& text)
{
    QPlainTextEdit::setPlainText(text);
    rememberFilled(text);
}

bool Cp1252PlainTextEdit::canInsertFromMimeData(const QMimeData* source) const
{
    return source->hasText() && QPlainTextEdit::canInsertFromMimeData(source);
}

void Cp1252PlainTextEdit::insertFromMimeData(const QMimeData* source)
{
    if (!source->hasText())
        return;
    if (!isEncodable(source->text())) {
        feedback::textRefused();
        return;
    }
    // Only the plain text is taken, whatever else the clipboard offers.
    QMimeData plain;
    plain.setText(source->text());
    QPlainTextEdit::insertFromMimeData(&plain);
}
