#pragma once

// The main window the shell tests drive: its own settings file in a temporary folder, and every
// question answered by FakePrompts so no test blocks on a modal window.

#include "grid_input.h"
#include "shell_fake_prompts.h"
#include "shell_test_workshop.h"

#include "model/case_data.h"
#include "shell/case_form.h"
#include "shell/main_form.h"
#include "widgets/cp1252_text_edit.h"

#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

// The case window's title and description fields.
inline QLineEdit* titleField(const TCaseForm* form) { return child<QLineEdit>(form, "edtTitle"); }
inline Cp1252PlainTextEdit* descriptionField(const TCaseForm* form)
{
    return child<Cp1252PlainTextEdit>(form, "edtDesc");
}

class ShellSession {
public:
    virtual ~ShellSession() = default;

protected:
    // Creates the main window; call from the test's init().
    virtual void openShell()
    {
        TestWorkshopForm::registerForAllWorkshops();
        dir = std::make_unique<QTemporaryDir>();
        prompts = std::make_unique<FakePrompts>();
        main = std::make_unique<TMainForm>(dir->filePath(QStringLiteral("CORVANTX.INI")));
    }

    // Creates the main window, shows it and waits until it is active; false when it never became
    // active. Call as QVERIFY(openActiveShell()) from init().
    [[nodiscard]] bool openActiveShell()
    {
        openShell();
        main->show();
        return QTest::qWaitForWindowActive(main.get());
    }

    // Destroys it without the unsaved-changes question; call from the test's cleanup().
    void closeShell()
    {
        for (TCaseForm* form : main->caseForms())
            form->data().Modified = false;
        main.reset();
        prompts.reset();
        dir.reset();
    }

    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<FakePrompts> prompts;
    std::unique_ptr<TMainForm> main;
};
