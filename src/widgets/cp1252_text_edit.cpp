#include "widgets/cp1252_text_edit.h"

#include "widgets/feedback.h"
#include "widgets/text_convert.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>

Cp1252PlainTextEdit::Cp1252PlainTextEdit(QWidget* parent) : QPlainTextEdit(parent)
{
    setUndoRedoEnabled(false);
}

QString Cp1252PlainTextEdit::plainText() const
{
    return filled_.read(documentText(*document()));
}

void Cp1252PlainTextEdit::setPlainText(const QString& text)
{
    QPlainTextEdit::setPlainText(text);
    filled_.remember(text, documentText(*document()));
}

void Cp1252PlainTextEdit::keyPressEvent(QKeyEvent* event)
{
    if (!isReadOnly() && !event->text().isEmpty() && !isEncodable(event->text())) {
        feedback::textRefused();
        event->accept();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void Cp1252PlainTextEdit::inputMethodEvent(QInputMethodEvent* event)
{
    if (!event->commitString().isEmpty() && !isEncodable(event->commitString())) {
        feedback::textRefused();
        QInputMethodEvent withoutCommit(event->preeditString(), event->attributes());
        QPlainTextEdit::inputMethodEvent(&withoutCommit);
        return;
    }
    QPlainTextEdit::inputMethodEvent(event);
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
