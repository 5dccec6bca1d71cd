#pragma once

#include <QTextEdit>

#include "widgets/cp1252_input.h"

// A rich-text field whose every paragraph is a bullet, read and written as plain text: one line
// per paragraph, no bullets and no formatting in the text. The vision, the success factors, the
// competitors' key texts and the key needs of customers and products are such fields.
//
// Like every text field of the program it refuses characters windows-1252 cannot hold, whether
// typed, composed or pasted, and it takes only the plain text of whatever is pasted or dropped.
// Read back, a line break inside a paragraph counts as a paragraph's end too.
class BulletTextEdit : public Cp1252Input<QTextEdit> {
    Q_OBJECT
public:
    explicit BulletTextEdit(QWidget* parent = nullptr);

    void setPlainText(const QString& text);

protected:
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    // Puts every paragraph that lost its bullet (a new document, a paragraph emptied with
    // Backspace) back into the bullet list. Changes formatting only, never the text.
    void keepBullets();
    bool keeping_ = false;
};
