#pragma once

// The main window of the shell tests with the real workshop windows registered, for the tests of
// the workshop windows.

#include "shell_session.h"

#include <QApplication>
#include <QTableView>
#include <QTest>

#include "shell/workshop_catalog.h"
#include "shell/workshop_form.h"
#include "workshops/workshop_windows.h"

// Types as a user does: each key goes to whatever has the focus when it is pressed, so the key that
// opens a cell's editor or control is typed on the grid and the rest into what it opened.
inline void typeKeys(const QString& text)
{
    for (const QChar c : text)
        QTest::keyClick(QApplication::focusWidget(), c.toLatin1());
}

inline void pressKey(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QTest::keyClick(QApplication::focusWidget(), key, modifiers);
}

// A click into a grid cell (row 0 is the title row).
inline void clickCell(QTableView* grid, int col, int row)
{
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                      grid->visualRect(grid->model()->index(row - 1, col)).center());
}

class WorkshopSession : public ShellSession {
protected:
    void openShell()
    {
        ShellSession::openShell();
        registerWorkshopWindows();
    }

    // A new case with the window of `identifier` open on it, as the Workshop menu opens it.
    template <class Form>
    Form* openWorkshop(int identifier)
    {
        if (!main->currentCase())
            main->New();
        return qobject_cast<Form*>(main->OpenWorkshop(identifier));
    }
};
