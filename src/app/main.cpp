#include "about_dialog.h"
#include "command_line.h"
#include "export_pdf.h"
#include "splash.h"
#include "translations.h"

#include "shell/dlg_add_mod.h"
#include "shell/main_form.h"
#include "shell/print_progress_form.h"
#include "shell/shell_resources.h"
#include "shell/unexpected_errors.h"
#include "workshops/workshop_windows.h"

#include <QScreen>

int main(int argc, char* argv[])
{
    QCoreApplication::setApplicationName(QStringLiteral("corvantix"));
    QCoreApplication::setApplicationVersion(QStringLiteral(CORVANTIX_VERSION));
    if (const int exitCode = answerInformationOptions(argc, argv); exitCode >= 0)
        return exitCode;
    if (const int exitCode = exportPdfFromCommandLine(argc, argv); exitCode >= 0)
        return exitCode;

    TApplication app(argc, argv);
    installTranslations(app);
    initShellResources();
    registerWorkshopWindows();

    TSplashForm splash;
    splash.showNow();

    QApplication::setApplicationName(QStringLiteral("Corvantix"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/corvantix.svg")));

    TMainForm mainForm;
    QObject::connect(&mainForm, &TMainForm::aboutRequested, &mainForm, [&mainForm] {
        TAboutForm about(&mainForm);
        about.exec();
    });
    // The two dialogs every window shares, created hidden now so they are ready when needed.
    TDlgAddMod::setShared(new TDlgAddMod(&mainForm));
    TPrintProgressForm::setShared(new TPrintProgressForm(&mainForm));

    if (const CommandLine commandLine = parseCommandLine(QApplication::arguments()); !commandLine.startupFile.isEmpty())
        mainForm.setStartupFile(commandLine.startupFile);
    // Without a window manager a maximise request does nothing, so start with the frame already
    // covering the screen.
    if (const QScreen* screen = mainForm.screen())
        mainForm.setGeometry(screen->availableGeometry());
    mainForm.showMaximized();
    splash.raise();
    return QApplication::exec();
}
