// In-program help: which page F1 and the help context numbers open.

#include "shell_session.h"

#include "model/case_data.h"
#include "shell/case_form.h"
#include "shell/help_window.h"
#include "shell/main_form.h"
#include "shell/workshop_catalog.h"
#include "shell/workshop_form.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>

class HelpTest : public QObject {
    Q_OBJECT

private slots:
    void contextNumbersMapToPages()
    {
        QCOMPARE(help::pageForContext(10005), QStringLiteral("shell.html#files"));
        QCOMPARE(help::pageForContext(11010), QStringLiteral("shell.html#edit"));
        QCOMPARE(help::pageForContext(20005), QStringLiteral("shell.html#case"));
        QCOMPARE(help::pageForContext(12035), QStringLiteral("marketgroups.html"));
        QCOMPARE(help::pageForContext(99999), QString());
        help::registerTopic(51030, QStringLiteral("environment.html#risks"));
        QCOMPARE(help::pageForContext(51030), QStringLiteral("environment.html#risks"));
    }

    void f1OpensTheHelpOfWhatHasTheFocus()
    {
        TestWorkshopForm::registerForAllWorkshops();
        FakePrompts prompts;
        QTemporaryDir dir;
        TMainForm main(dir.filePath(QStringLiteral("CORVANTX.INI")));
        main.show();
        TCaseForm* form = main.New();
        QCOMPARE(help::pageForWidget(titleField(form)), QStringLiteral("shell.html#case"));

        TWorkshopForm* workshop = main.OpenWorkshop(workshop_id::Environment);
        QVERIFY(workshop);
        auto* field = new QLineEdit(workshop);
        QCOMPARE(help::pageForWidget(field), QStringLiteral("environment.html"));
        help::registerTopic(51031, QStringLiteral("environment.html#impacts"));
        help::setHelpContext(field, 51031);
        QCOMPARE(help::pageForWidget(field), QStringLiteral("environment.html#impacts"));
        // A number without a page falls back to the window's page.
        help::setHelpContext(field, 77777);
        QCOMPARE(help::pageForWidget(field), QStringLiteral("environment.html"));
        QCOMPARE(help::pageForWidget(nullptr), QStringLiteral("contents.html"));

        // One number on buttons of two windows: each opens the page it was given, whichever
        // window registered the number last.
        TWorkshopForm* other = main.OpenWorkshop(workshop_id::Capabilities);
        QVERIFY(other);
        auto* copyHere = new QLineEdit(workshop);
        auto* copyThere = new QLineEdit(other);
        help::registerTopic(58001, QStringLiteral("capabilities.html#graph"));
        help::setHelpContext(copyHere, 58001, QStringLiteral("environment.html#risk-diagram"));
        help::setHelpContext(copyThere, 58001, QStringLiteral("capabilities.html#graph"));
        QCOMPARE(help::pageForWidget(copyHere), QStringLiteral("environment.html#risk-diagram"));
        QCOMPARE(help::pageForWidget(copyThere), QStringLiteral("capabilities.html#graph"));
        QCOMPARE(copyHere->property("helpContext").toInt(), 58001);
        form->data().Modified = false;
    }

    void helpWindowShowsPagesAndANoteForMissingOnes()
    {
        THelpWindow window;
        window.showPage(QStringLiteral("shell.html#edit"));
        QCOMPARE(window.currentPage(), QStringLiteral("shell.html#edit"));
        window.showPage(QStringLiteral("contents.html"));
        QCOMPARE(window.currentPage(), QStringLiteral("contents.html"));
        window.showPage(QStringLiteral("not-written-yet.html"));
        QVERIFY(window.findChild<QTextBrowser*>()->toPlainText().contains(QStringLiteral("no help page")));
    }

    void helpWindowClosesWithEscapeAndItsCloseButton()
    {
        THelpWindow window;
        window.showPage(QStringLiteral("contents.html"));
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QTest::keyClick(window.findChild<QTextBrowser*>(), Qt::Key_Escape);
        QVERIFY(!window.isVisible());
        window.showPage(QStringLiteral("contents.html"));
        auto* closeButton = window.findChild<QPushButton*>(QStringLiteral("btnClose"));
        QVERIFY(closeButton);
        QTest::mouseClick(closeButton, Qt::LeftButton);
        QVERIFY(!window.isVisible());
    }

    void f1InAnOpenMenuOpensThatItemsTopic()
    {
        FakePrompts prompts;
        QTemporaryDir dir;
        TMainForm main(dir.filePath(QStringLiteral("CORVANTX.INI")));
        main.show();
        QMenu* menu = main.fileMenu();
        menu->popup(QPoint(0, 0));
        QTRY_VERIFY(menu->isVisible());
        menu->setActiveAction(main.actions().fileOpen);
        QTest::keyClick(menu, Qt::Key_F1);
        QTRY_VERIFY(!menu->isVisible());
        QTRY_VERIFY(THelpWindow::shared().isVisible());
        QCOMPARE(THelpWindow::shared().currentPage(), QStringLiteral("shell.html#files"));
        THelpWindow::shared().close();
    }
};

QTEST_MAIN(HelpTest)
#include "shell_help_test.moc"
