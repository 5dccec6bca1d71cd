#pragma once

// The main window of the shell tests with the real workshop windows registered, for the tests of
// the workshop windows.

#include "grid_input.h"
#include "shell_session.h"

#include <QApplication>
#include <QTableView>
#include <QTest>

#include "shell/workshop_catalog.h"
#include "shell/workshop_form.h"
#include "workshops/workshop_windows.h"

class WorkshopSession : public ShellSession {
protected:
    void openShell() override
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
