// Case windows from creation to close: new, open, save, save as, the unsaved-changes question,
// failures that must leave nothing behind, and the availability of commands.

#include "shell_session.h"

#include "model/case_data.h"
#include "model/case_file.h"
#include "shell/case_form.h"
#include "shell/main_form.h"
#include "shell/start_panel.h"
#include "shell/workshop_catalog.h"
#include "shell/workshop_form.h"
#include "widgets/text_convert.h"

#include <QAction>
#include <QFile>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>

namespace {

QString writeCase(const QString& path, const std::string& title)
{
    TCaseData data;
    data.Title = title;
    const auto error = saveCaseFile(data, QFile::encodeName(path).toStdString());
    return error ? QString::fromStdString(error->message) : QString();
}

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class CaseLifecycleTest : public QObject, private ShellSession {
    Q_OBJECT

private slots:
    void init()
    {
        openShell();
        QVERIFY(dir->isValid());
        main->show();
    }

    void cleanup() { closeShell(); }

    void newCaseIsUntitledAndEmpty()
    {
        TCaseForm* form = main->New();
        QCOMPARE(form->subWindow()->windowTitle(), QStringLiteral("untitled - Case"));
        QCOMPARE(titleField(form)->text(), QString());
        QCOMPARE(main->currentCase(), form);
    }

    void openedCaseIsTitledWithItsPathAndListedAsRecent()
    {
        const QString path = dir->filePath(QStringLiteral("plan.cvx"));
        QCOMPARE(writeCase(path, "Growth plan"), QString());
        TCaseForm* form = main->openCaseFile(path);
        QVERIFY(form);
        QCOMPARE(form->subWindow()->windowTitle(), path + QStringLiteral(" - Case"));
        QCOMPARE(titleField(form)->text(), QStringLiteral("Growth plan"));
        QVERIFY(!form->data().Modified);
        QCOMPARE(main->recentFiles().entries(), QStringList{path});
        QCOMPARE(form->undoCount(), 0);
    }

    void unreadableFileLeavesNoWindowAndKeepsTheRecentList()
    {
        const QString good = dir->filePath(QStringLiteral("good.cvx"));
        QCOMPARE(writeCase(good, "Good"), QString());
        TCaseForm* opened = main->openCaseFile(good);
        QVERIFY(opened);
        opened->subWindow()->close();
        QTRY_VERIFY(main->mdiArea()->subWindowList().isEmpty());

        const QString truncated = dir->filePath(QStringLiteral("truncated.cvx"));
        QFile file(truncated);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(fileBytes(good).left(9));
        file.close();

        for (const QString& path : {truncated, dir->filePath(QStringLiteral("missing.cvx"))}) {
            prompts->warnings.clear();
            QVERIFY(!main->openCaseFile(path));
            QCOMPARE(prompts->warnings, QStringList{QStringLiteral("Error opening file.")});
            QVERIFY(main->mdiArea()->subWindowList().isEmpty());
        }
        QCOMPARE(main->recentFiles().entries(), QStringList{good});
    }

    void unreadableCommandLineFileShowsTheMessageOnce()
    {
        TMainForm started(dir->filePath(QStringLiteral("other.ini")));
        started.setStartupFile(dir->filePath(QStringLiteral("nothing-here.cvx")));
        started.show();
        started.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&started));
        QTRY_COMPARE(prompts->warnings.size(), 1);
        QCOMPARE(prompts->warnings.constFirst(), QStringLiteral("Error opening file."));
        QVERIFY(started.mdiArea()->subWindowList().isEmpty());
        // Activating again does not try a second time.
        main->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(main.get()));
        started.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&started));
        QTest::qWait(20);
        QCOMPARE(prompts->warnings.size(), 1);
    }

    void commandsFollowWhetherAnyWindowIsOpen()
    {
        const auto& a = main->actions();
        QVERIFY(!main->editMenu()->menuAction()->isVisible());
        QVERIFY(!main->workshopMenu()->menuAction()->isVisible());
        QVERIFY(!main->windowMenu()->menuAction()->isVisible());
        QVERIFY(!a.fileSave->isVisible() && !a.fileExport->isVisible() && !a.exportSeparator->isVisible());
        QVERIFY(!a.SaveBtn->isEnabled() && !a.UndoBtn->isEnabled() && !a.CopyBtn->isEnabled());

        TCaseForm* form = main->New();
        QVERIFY(main->editMenu()->menuAction()->isVisible());
        QVERIFY(main->workshopMenu()->menuAction()->isVisible());
        QVERIFY(a.fileClose->isVisible() && a.fileSaveAs->isVisible() && a.exportSeparator->isVisible());
        QVERIFY(a.SaveBtn->isEnabled() && a.CopyBtn->isEnabled());
        for (QAction* button : a.workshopButtons)
            QVERIFY(button->isEnabled());

        titleField(form)->setFocus();
        QTest::keyClicks(titleField(form), QStringLiteral("x"));
        QVERIFY(a.UndoBtn->isEnabled() && a.editUndo->isEnabled());

        form->data().Modified = false;
        form->subWindow()->close();
        QTRY_VERIFY(main->mdiArea()->subWindowList().isEmpty());
        QVERIFY(!main->editMenu()->menuAction()->isVisible());
        QVERIFY(!main->workshopMenu()->menuAction()->isVisible());
        QVERIFY(!main->windowMenu()->menuAction()->isVisible());
        QVERIFY(!a.UndoBtn->isEnabled() && !a.editUndo->isEnabled());
        QVERIFY(!a.SaveBtn->isEnabled());
    }

    // With no window open the child area says how to start, and each of its buttons does it.
    void theEmptyChildAreaOffersTheWaysToStart()
    {
        main->resize(1000, 700);
        QVERIFY(QTest::qWaitForWindowExposed(main.get()));
        TStartPanel* panel = main->startPanel();
        QVERIFY(panel->isVisible());
        QVERIFY((panel->geometry().center() - main->mdiArea()->viewport()->geometry().center()).manhattanLength() < 4);
        const QString example = dir->filePath(QStringLiteral("example.cvx"));
        QCOMPARE(writeCase(example, "Example plan"), QString());
        panel->setExampleCase(example);
        const auto button = [panel](const char* name) { return panel->findChild<QPushButton*>(QLatin1String(name)); };

        QTest::mouseClick(button("btnExampleCase"), Qt::LeftButton);
        QVERIFY(main->currentCase());
        QCOMPARE(main->currentCase()->data().Title, std::string("Example plan"));
        QVERIFY(!panel->isVisible());
        main->currentCase()->subWindow()->close();
        QTRY_VERIFY(panel->isVisible());

        QTest::mouseClick(button("btnOpenCase"), Qt::LeftButton);
        QCOMPARE(prompts->openRequests.size(), 1);
        QVERIFY(panel->isVisible()); // the dialog was cancelled
        QTest::mouseClick(button("btnNewCase"), Qt::LeftButton);
        QCOMPARE(main->caseForms().size(), 1);
        QVERIFY(!panel->isVisible());

        panel->setExampleCase(QString());
        QVERIFY(button("btnExampleCase")->isHidden());
    }

    void saveOfANewCaseAsksForANameAndRetitlesItsWindows()
    {
        TCaseForm* form = main->New();
        TWorkshopForm* workshop = main->OpenWorkshop(workshop_id::Competitors);
        QVERIFY(workshop);

        const QString path = dir->filePath(QStringLiteral("named.cvx"));
        prompts->savePaths.push_back(path);
        QVERIFY(main->Save());
        QCOMPARE(prompts->saveRequests.size(), 1);
        QCOMPARE(prompts->saveRequests[0].defaultSuffix, QStringLiteral("cvx"));
        QCOMPARE(prompts->saveRequests[0].filter, QStringLiteral("Corvantix Files (*.cvx)"));
        QCOMPARE(QString::fromStdString(form->data().FileName), path);
        QVERIFY(!form->data().Modified);
        QCOMPARE(form->subWindow()->windowTitle(), path + QStringLiteral(" - Case"));
        QCOMPARE(workshop->subWindow()->windowTitle(), path + QStringLiteral(" - Judge Your Competitors"));
        QCOMPARE(main->recentFiles().entries(), QStringList{path});
        QVERIFY(QFile::exists(path));

        // Named now: Save writes without asking.
        form->SetModified();
        QVERIFY(main->Save());
        QCOMPARE(prompts->saveRequests.size(), 1);
        QVERIFY(!form->data().Modified);
    }

    void saveWritesWhatTheFieldsHold()
    {
        const QString path = dir->filePath(QStringLiteral("fields.cvx"));
        QCOMPARE(writeCase(path, "Before"), QString());
        TCaseForm* form = main->openCaseFile(path);
        QVERIFY(form);
        // A field changed without its change handler (as a control still holding an edit).
        {
            QSignalBlocker quiet(titleField(form));
            titleField(form)->setText(QStringLiteral("After"));
        }
        QVERIFY(main->Save());
        TCaseData reread;
        QVERIFY(!loadCaseFile(QFile::encodeName(path).toStdString(), reread));
        QCOMPARE(QString::fromStdString(reread.Title), QStringLiteral("After"));
    }

    void failedSaveKeepsNameFlagAndOldFile()
    {
        const QString path = dir->filePath(QStringLiteral("kept.cvx"));
        QCOMPARE(writeCase(path, "Original"), QString());
        const QByteArray before = fileBytes(path);
        TCaseForm* form = main->openCaseFile(path);
        QVERIFY(form);
        titleField(form)->setFocus();
        QTest::keyClicks(titleField(form), QStringLiteral(" changed"));
        QVERIFY(form->data().Modified);

        // Save As into a folder that does not exist fails.
        const QString impossible = dir->filePath(QStringLiteral("no/such/folder/x.cvx"));
        prompts->savePaths.push_back(impossible);
        QVERIFY(!main->SaveAs());
        QCOMPARE(prompts->errors.size(), 1);
        QVERIFY(prompts->errors[0].contains(QStringLiteral("x.cvx")));
        QCOMPARE(QString::fromStdString(form->data().FileName), path);
        QVERIFY(form->data().Modified);
        QCOMPARE(form->subWindow()->windowTitle(), path + QStringLiteral(" - Case"));
        QCOMPARE(main->recentFiles().entries(), QStringList{path});

        // Save to a file that cannot be replaced (its folder is read-only) fails the same way.
        QFile::setPermissions(dir->path(), QFile::ReadOwner | QFile::ExeOwner);
        const bool writable = QFile(dir->filePath(QStringLiteral("probe"))).open(QIODevice::WriteOnly);
        if (!writable) {
            QVERIFY(!main->Save());
            QCOMPARE(prompts->errors.size(), 2);
            QVERIFY(form->data().Modified);
        }
        QFile::setPermissions(dir->path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(fileBytes(path), before);
    }

    void readOnlyFileIsNeitherSavedNorSavedAsOver()
    {
        const QString path = dir->filePath(QStringLiteral("locked.cvx"));
        const QString other = dir->filePath(QStringLiteral("other-locked.cvx"));
        QCOMPARE(writeCase(path, "Original"), QString());
        QCOMPARE(writeCase(other, "Other"), QString());
        const QByteArray before = fileBytes(path);
        const QByteArray otherBefore = fileBytes(other);
        TCaseForm* form = main->openCaseFile(path);
        QVERIFY(form);
        // Read-only by the permission bits alone, which a superuser could still write through.
        for (const QString& locked : {path, other})
            QVERIFY(QFile::setPermissions(locked, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
        QVERIFY(QTest::qWaitForWindowActive(main.get()));
        titleField(form)->setFocus();
        QTest::keyClicks(titleField(form), QStringLiteral(" changed"));

        QTest::keyClick(titleField(form), Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(prompts->warnings,
                 QStringList{QStringLiteral("'%1' is read-only. Use Save As to keep your changes.").arg(path)});
        QVERIFY(form->data().Modified);

        prompts->savePaths.push_back(other);
        main->actions().fileSaveAs->trigger();
        QCOMPARE(prompts->warnings.size(), 2);
        QCOMPARE(prompts->warnings[1], QStringLiteral("'%1' is read-only. Use Save As to keep your changes.").arg(other));
        QCOMPARE(QString::fromStdString(form->data().FileName), path);
        QVERIFY(form->data().Modified);
        QVERIFY(prompts->errors.isEmpty());

        for (const QString& locked : {path, other})
            QVERIFY(QFile::setPermissions(locked, QFile::ReadOwner | QFile::WriteOwner));
        QCOMPARE(fileBytes(path), before);
        QCOMPARE(fileBytes(other), otherBefore);
    }

    void closingAModifiedCaseAsks_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("closed");
        QTest::addColumn<bool>("saved");
        QTest::newRow("yes saves and closes") << int(SaveChangesAnswer::Yes) << true << true;
        QTest::newRow("no discards and closes") << int(SaveChangesAnswer::No) << true << false;
        QTest::newRow("cancel keeps it open") << int(SaveChangesAnswer::Cancel) << false << false;
    }

    void closingAModifiedCaseAsks()
    {
        QFETCH(int, answer);
        QFETCH(bool, closed);
        QFETCH(bool, saved);
        const QString path = dir->filePath(QStringLiteral("ask.cvx"));
        QCOMPARE(writeCase(path, "Plan"), QString());
        TCaseForm* form = main->openCaseFile(path);
        QVERIFY(form);
        titleField(form)->setFocus();
        QTest::keyClicks(titleField(form), QStringLiteral("!"));

        prompts->saveAnswers.push_back(SaveChangesAnswer(answer));
        main->Close();
        QCOMPARE(prompts->questions, QStringList{QStringLiteral("Save changes to '%1'?").arg(path)});
        QTRY_COMPARE(main->mdiArea()->subWindowList().isEmpty(), closed);
        TCaseData reread;
        QVERIFY(!loadCaseFile(QFile::encodeName(path).toStdString(), reread));
        QCOMPARE(reread.Title == "Plan!", saved);
    }

    void unsavedCaseWithCancelledSaveAsStaysOpen()
    {
        TCaseForm* form = main->New();
        prompts->saveAnswers.push_back(SaveChangesAnswer::Yes);
        prompts->savePaths.push_back(QString()); // the dialog is cancelled
        main->Close();
        QCOMPARE(prompts->saveRequests.size(), 1);
        QCOMPARE(main->caseForms(), QList<TCaseForm*>{form});
    }

    void exitAsksEveryCaseAndOneCancelKeepsAll()
    {
        TCaseForm* first = main->New();
        TCaseForm* second = main->New();
        prompts->saveAnswers = {SaveChangesAnswer::No, SaveChangesAnswer::Cancel};
        QVERIFY(!main->close());
        QCOMPARE(prompts->questions.size(), 2);
        QCOMPARE(main->caseForms().size(), 2);
        QVERIFY(main->isVisible());

        prompts->saveAnswers = {SaveChangesAnswer::No, SaveChangesAnswer::No};
        QVERIFY(main->close());
        QTRY_VERIFY(main->mdiArea()->subWindowList().isEmpty());
        Q_UNUSED(first);
        Q_UNUSED(second);
    }

    void openDialogOffersCaseFilesAndCancelDoesNothing()
    {
        prompts->openPaths.push_back(QString());
        main->Open();
        QCOMPARE(prompts->openRequests.size(), 1);
        QCOMPARE(prompts->openRequests[0].filter, QStringLiteral("Corvantix Files (*.cvx)"));
        QCOMPARE(prompts->openRequests[0].defaultSuffix, QStringLiteral("cvx"));
        QVERIFY(main->mdiArea()->subWindowList().isEmpty());
        QVERIFY(prompts->warnings.isEmpty());
    }

    void aFileThatIsOpenComesForwardInsteadOfOpeningTwice()
    {
        const QString path = dir->filePath(QStringLiteral("twice.cvx"));
        QCOMPARE(writeCase(path, "Twice"), QString());
        const QString link = dir->filePath(QStringLiteral("link.cvx"));
        QVERIFY(QFile::link(path, link));
        main->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(main.get()));
        prompts->openPaths = {path};
        QTest::keyClick(main.get(), Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(main->caseForms().size(), 1);
        TCaseForm* opened = main->caseForms().first();
        const auto openedAgain = [&] {
            QCOMPARE(main->caseForms().size(), 2);
            QCOMPARE(main->currentCase(), opened);
            QVERIFY(main->statusBar()->currentMessage().contains(QStringLiteral("open already")));
            main->statusBar()->clearMessage();
        };

        // File > Open, under another name for the same file.
        QTest::keyClick(main.get(), Qt::Key_N, Qt::ControlModifier);
        TCaseForm* fresh = main->currentCase();
        QVERIFY(fresh != opened);
        prompts->openPaths = {dir->path() + QStringLiteral("/./link.cvx")};
        QTest::keyClick(main.get(), Qt::Key_O, Qt::ControlModifier);
        openedAgain();

        // The recent-file item.
        main->mdiArea()->setActiveSubWindow(fresh->subWindow());
        QMenu* menu = main->fileMenu();
        menu->popup(QPoint(0, 0));
        QTRY_VERIFY(menu->isVisible());
        QTest::keyClick(menu, Qt::Key_1);
        QTRY_VERIFY(!menu->isVisible());
        openedAgain();

        // Save As onto it from the other case is refused, naming the file.
        main->mdiArea()->setActiveSubWindow(fresh->subWindow());
        titleField(fresh)->setFocus();
        QTest::keyClicks(titleField(fresh), QStringLiteral("Other"));
        const QByteArray before = fileBytes(path);
        prompts->savePaths = {link};
        QVERIFY(!main->SaveAs());
        QCOMPARE(prompts->warnings.size(), 1);
        QVERIFY(prompts->warnings.first().contains(link));
        QCOMPARE(fileBytes(path), before);
        QCOMPARE(fresh->data().FileName, std::string("untitled"));
        QVERIFY(fresh->data().Modified);

        // Saving a case under its own name is no conflict.
        main->mdiArea()->setActiveSubWindow(opened->subWindow());
        prompts->savePaths = {path};
        QVERIFY(main->SaveAs());
        QCOMPARE(prompts->warnings.size(), 1);
    }

    void overlongStoredTitleSurvivesCommit()
    {
        const QString path = dir->filePath(QStringLiteral("long.cvx"));
        const std::string title(120, 'T');
        QCOMPARE(writeCase(path, title), QString());
        TCaseForm* form = main->openCaseFile(path);
        QVERIFY(form);
        main->broadcastCommit();
        QCOMPARE(form->data().Title, title);
    }

private:
};

QTEST_MAIN(CaseLifecycleTest)
#include "shell_case_lifecycle_test.moc"
