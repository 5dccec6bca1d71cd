// Takes the pictures of the program that the README and reviews use: the main window with the
// example case and a few workshops open, and every workshop window on its own at its starting
// size. Run by `make screenshots` under a virtual display:
//     corvantix-screenshots CASE.cvx OUTPUT-FOLDER

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>

#include "shell/main_form.h"
#include "shell/prompts.h"
#include "shell/shell_resources.h"
#include "shell/workshop_catalog.h"
#include "shell/workshop_form.h"
#include "workshops/workshop_windows.h"

namespace {

void settle()
{
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
}

bool save(QWidget* widget, const QString& path)
{
    settle();
    if (widget->grab().save(path))
        return true;
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return false;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Corvantix"));
    if (argc != 3) {
        std::fprintf(stderr, "usage: corvantix-screenshots CASE.cvx OUTPUT-FOLDER\n");
        return 2;
    }
    // The window captions show the case's path: a copy under a plain name reads better than the
    // build folder.
    QTemporaryDir scratch;
    const QString casePath = scratch.filePath(QStringLiteral("Strategic plan 2027-2030.cvx"));
    if (!QFile::copy(QString::fromLocal8Bit(argv[1]), casePath))
        return 1;
    const QDir output(QString::fromLocal8Bit(argv[2]));
    if (!output.mkpath(QStringLiteral(".")))
        return 1;
    initShellResources();
    registerWorkshopWindows();

    // A settings file of its own, so the pictures never show this machine's recent files.
    const QString settings = output.filePath(QStringLiteral(".screenshots.ini"));
    TMainForm main(settings);
    main.resize(1280, 800);
    main.show();
    settle();
    if (!main.openCaseFile(casePath))
        return 1;

    bool ok = true;
    // Each workshop alone, at the size it starts with.
    for (const WorkshopEntry& entry : workshopCatalog()) {
        TWorkshopForm* form = main.OpenWorkshop(entry.identifier);
        if (!form)
            return 1;
        ok = save(form->subWindow(), output.filePath(QStringLiteral("workshop-%1.png").arg(entry.number, 2, 10, QLatin1Char('0')))) && ok;
        form->subWindow()->close();
        settle();
    }

    // The overview: four workshops side by side, as a planner might arrange them.
    main.resize(1540, 980);
    settle();
    int x = 0;
    int y = 0;
    int rowHeight = 0;
    for (int identifier : {workshop_id::Environment, workshop_id::BusinessPlan, workshop_id::Competitors,
                           workshop_id::ActionPage}) {
        QMdiSubWindow* frame = main.OpenWorkshop(identifier)->subWindow();
        if (x > 0 && x + frame->width() > main.mdiArea()->width()) {
            x = 0;
            y += rowHeight + 6;
            rowHeight = 0;
        }
        frame->move(x, y);
        x += frame->width() + 6;
        rowHeight = std::max(rowHeight, frame->height());
    }
    ok = save(&main, output.filePath(QStringLiteral("overview.png"))) && ok;

    QFile::remove(settings);
    return ok ? 0 : 1;
}
