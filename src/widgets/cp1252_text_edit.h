#pragma once

#include <QPlainTextEdit>

#include "widgets/cp1252_input.h"

// A multi-line edit for model text. A character windows-1252 cannot hold is refused with a beep,
// whether typed, composed by an input method, pasted or dropped, so nothing is lost on saving.
// The field has no undo history of its own: undo belongs to the case (Edit > Undo), and a private
// one would change the case behind its back.
class Cp1252PlainTextEdit : public Cp1252Input<QPlainTextEdit> {
    Q_OBJECT
public:
    explicit Cp1252PlainTextEdit(QWidget* parent = nullptr);

    void setPlainText(const QString& text);

protected:
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;
};
