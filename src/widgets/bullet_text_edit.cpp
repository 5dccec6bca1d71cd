#include "widgets/bullet_text_edit.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QScopedValueRollback>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextList>

#include "widgets/feedback.h"

BulletTextEdit::BulletTextEdit(QWidget* parent) : Cp1252Input<QTextEdit>(parent)
{
    setAcceptRichText(false);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setTabChangesFocus(true);
    // Undo is the case's own (Edit > Undo); the field's private history would bypass it.
    setUndoRedoEnabled(false);
    connect(document(), &QTextDocument::contentsChanged, this, &BulletTextEdit::keepBullets);
    keepBullets();
}

void BulletTextEdit::setPlainText(const QString& text)
{
    if (text == plainText())
        return;
    QTextEdit::setPlainText(text);
    keepBullets();
    rememberFilled(text);
}

void BulletTextEdit::keepBullets()
{
    if (keeping_)
        return;
    QScopedValueRollback<bool> guard(keeping_, true);
    QTextList* list = nullptr;
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
        if (block.textList()) {
            if (!list)
                list = block.textList();
            continue;
        }
        QTextCursor cursor(block);
        if (list) {
            list->add(block);
        } else {
            QTextListFormat format;
            format.setStyle(QTextListFormat::ListDisc);
            list = cursor.createList(format);
        }
    }
}

bool BulletTextEdit::canInsertFromMimeData(const QMimeData* source) const
{
    return source->hasText();
}

void BulletTextEdit::insertFromMimeData(const QMimeData* source)
{
    if (!source->hasText())
        return;
    if (!isEncodable(source->text())) {
        feedback::textRefused();
        return;
    }
    textCursor().insertText(source->text());
}
