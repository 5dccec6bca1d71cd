#pragma once

#include <QPlainTextEdit>

#include "widgets/text_convert.h"

// A multi-line edit for model text. A character windows-1252 cannot hold is refused with a beep,
// whether typed, composed by an input method, pasted or dropped, so nothing is lost on saving.
// The field has no undo history of its own: undo belongs to the case (Edit > Undo), and a private
// one would change the case behind its back.
class Cp1252PlainTextEdit : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit Cp1252PlainTextEdit(QWidget* parent = nullptr);

    // The text as set, byte for byte, until the user changes it; then the lines shown joined by
    // LF, no-break spaces kept (QPlainTextEdit::toPlainText turns them into blanks).
    QString plainText() const;
    void setPlainText(const QString& text);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    FilledText filled_;
};
