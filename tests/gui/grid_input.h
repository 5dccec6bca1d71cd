#pragma once

// Keys and clicks into grids as a user gives them, and the lookup of a window's widgets by object
// name, shared by the window tests.

#include <QObject>
#include <QString>
#include <Qt>

class QTableView;
class WorkshopGrid;

// Types as a user does: each key goes to whatever has the focus when it is pressed, so the key that
// opens a cell's editor or control is typed on the grid and the rest into what it opened.
void typeKeys(const QString& text);
void pressKey(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);

// A click into a grid cell (row 0 is the title row).
void clickCell(QTableView* grid, int col, int row);

class QLineEdit;

// Types into a cell as a user who just starts typing: the first key opens the cell's editor with
// that key, the others follow. Returns the editor, still open, or null when none opened.
QLineEdit* startTypingInCell(WorkshopGrid* grid, int col, int row, const QString& text);
// The same, then Enter unless `commit` is false; fails the test when no editor opens.
void typeIntoCell(WorkshopGrid* grid, int col, int row, const QString& text, bool commit = true);

// Opens the cell's editor with F2 and replaces its text (an empty text erases it); Enter commits
// unless `commit` is false.
void replaceCellText(WorkshopGrid* grid, int col, int row, const QString& text, bool commit = true);

// Says on the test's output which widget a lookup did not find exactly once.
void reportChildLookup(const QObject* parent, const char* name, const char* type, qsizetype found);

// The one descendant of `parent` of type W with that object name; null when there is none or more
// than one, after saying which name it was, so a test can QVERIFY it.
template <class W>
W* child(const QObject* parent, const char* name)
{
    const QList<W*> found = parent->findChildren<W*>(QLatin1String(name));
    if (found.size() == 1)
        return found.front();
    reportChildLookup(parent, name, W::staticMetaObject.className(), found.size());
    return nullptr;
}
