#pragma once

#include <QTextEdit>

#include "widgets/text_convert.h"

// A rich-text field whose every paragraph is a bullet, read and written as plain text: one line
// per paragraph, no bullets and no formatting in the text. The vision, the success factors, the
// competitors' key texts and the key needs of customers and products are such fields.
//
// Like every text field of the program it refuses characters windows-1252 cannot hold, whether
// typed, composed or pasted, and it takes only the plain text of whatever is pasted or dropped.
class BulletTextEdit : public QTextEdit {
    Q_OBJECT
public:
    explicit BulletTextEdit(QWidget* parent = nullptr);

    // The text as set, byte for byte, until the user changes it; then the paragraphs joined by LF
    // (a line break inside a paragraph counts as one too). Unlike QTextEdit::toPlainText,
    // no-break spaces stay what they are.
    QString plainText() const;
    void setPlainText(const QString& text);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    // Puts every paragraph that lost its bullet (a new document, a paragraph emptied with
    // Backspace) back into the bullet list. Changes formatting only, never the text.
    void keepBullets();
    bool keeping_ = false;
    FilledText filled_;
};
