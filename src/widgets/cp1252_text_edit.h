#pragma once

#include <QPlainTextEdit>

// A multi-line edit for model text. A character windows-1252 cannot hold is refused with a beep,
// whether typed, composed by an input method, pasted or dropped, so nothing is lost on saving.
class Cp1252PlainTextEdit : public QPlainTextEdit {
    Q_OBJECT
public:
    using QPlainTextEdit::QPlainTextEdit;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;
};
