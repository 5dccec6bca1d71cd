#pragma once

// Keys and clicks into grids as a user gives them, shared by the window tests.

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
