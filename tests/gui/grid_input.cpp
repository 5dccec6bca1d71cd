#include "grid_input.h"

#include <QApplication>
#include <QDebug>
#include <QLineEdit>
#include <QTableView>
#include <QTest>

#include "widgets/workshop_grid.h"

void typeKeys(const QString& text)
{
    for (const QChar c : text)
        QTest::keyClick(QApplication::focusWidget(), c.toLatin1());
}

void pressKey(Qt::Key key, Qt::KeyboardModifiers modifiers)
{
    QTest::keyClick(QApplication::focusWidget(), key, modifiers);
}

void clickCell(QTableView* grid, int col, int row)
{
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                      grid->visualRect(grid->model()->index(row - 1, col)).center());
}

namespace {

QLineEdit* focusedEditor()
{
    return qobject_cast<QLineEdit*>(QApplication::focusWidget());
}

} // namespace

QLineEdit* startTypingInCell(WorkshopGrid* grid, int col, int row, const QString& text)
{
    grid->setFocus();
    if (text.isEmpty() || !grid->setCurrentCell(col, row))
        return nullptr;
    QTest::keyClick(grid, text.at(0).toLatin1());
    QLineEdit* editor = focusedEditor();
    if (editor)
        QTest::keyClicks(editor, text.mid(1));
    return editor;
}

void typeIntoCell(WorkshopGrid* grid, int col, int row, const QString& text, bool commit)
{
    QLineEdit* editor = startTypingInCell(grid, col, row, text);
    QVERIFY(editor);
    if (commit)
        QTest::keyClick(editor, Qt::Key_Return);
}

void replaceCellText(WorkshopGrid* grid, int col, int row, const QString& text, bool commit)
{
    grid->setFocus();
    QVERIFY(grid->setCurrentCell(col, row));
    QTest::keyClick(grid, Qt::Key_F2);
    QLineEdit* editor = focusedEditor();
    QVERIFY(editor);
    editor->selectAll();
    if (text.isEmpty())
        QTest::keyClick(editor, Qt::Key_Backspace);
    else
        QTest::keyClicks(editor, text);
    if (commit)
        QTest::keyClick(editor, Qt::Key_Return);
}

void reportChildLookup(const QObject* parent, const char* name, const char* type, qsizetype found)
{
    qWarning().noquote() << QStringLiteral("%1 %2 named \"%3\" under %4 \"%5\"")
                                .arg(found == 0 ? QStringLiteral("no") : QString::number(found),
                                     QLatin1String(type), QLatin1String(name),
                                     QLatin1String(parent->metaObject()->className()), parent->objectName());
}
