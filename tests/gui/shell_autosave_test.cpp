// Autosave and recovery inside one program: which cases get a recovery copy and when it goes, how
// the copies of a run that ended without cleaning up are offered, restored, discarded, kept or set
// aside, and the warning before opening a case file another program holds.

#include "grid_input.h"
#include "shell_session.h"

#include "model/case_data.h"
#include "model/case_file.h"
#include "shell/autosave.h"
#include "shell/case_form.h"
#include "shell/case_lock.h"
#include "shell/main_form.h"
#include "shell/recovery_form.h"
#include "shell/recovery_store.h"
#include "widgets/text_convert.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QLockFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QPushButton>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QStatusBar>
#include <QSysInfo>
#include <QTimer>
#include <QTreeWidget>
#include <QTest>

#include <chrono>

#include <sys/stat.h>

using namespace std::chrono_literals;

namespace {

std::string fsPath(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

QString writeCase(const QString& path, const std::string& title)
{
    TCaseData data;
    data.Title = title;
    const auto error = saveCaseFile(data, fsPath(path));
    return error ? QString::fromStdString(error->message) : QString();
}

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The title stored in a case file; "<unreadable>" when it does not read.
QString titleIn(const QString& path)
{
    TCaseData data;
    if (loadCaseFile(fsPath(path), data))
        return QStringLiteral("<unreadable>");
    return toQt(data.Title);
}

// Leaves entry "<session>-<number>" as a run that was killed would: no lock held for its session.
RecoveryEntry leaveEndedEntry(const QString& folder, const QString& session, const QString& originalPath,
                              const std::string& title, int number = 1)
{
    QDir().mkpath(folder);
    TCaseData data;
    data.Title = title;
    RecoveryEntry entry;
    entry.folder = folder;
    entry.session = session;
    entry.id = session + QLatin1Char('-') + QString::number(number);
    const auto error = recovery::writeEntry(folder, entry.id, recovery::recordBytes(session, originalPath),
                                            encodeCase(data), true);
    if (error)
        qWarning() << *error;
    return entry;
}

void setFileTime(const QString& path, const QDateTime& time)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite) || !file.setFileTime(time, QFileDevice::FileModificationTime))
        qWarning() << "cannot set the time of" << path;
}

QStringList filesIn(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

const QString kEndedSession = QStringLiteral("0123456789abcdef0123456789abcdef");

} // namespace

class AutosaveTest : public QObject, private ShellSession {
    Q_OBJECT

    QString folder() const { return recovery::defaultFolder(); }
    TAutosave& autosave() { return main->autosave(); }

    // Types into the case window's title as the user would.
    void type(TCaseForm* form, const QString& text) { QTest::keyClicks(titleField(form), text); }

    // Runs one autosave round to its end; returns how many copies it started.
    int autosaveNow()
    {
        const int started = autosave().saveChangedCases();
        autosave().waitForWrites();
        return started;
    }

private slots:
    void init()
    {
        QDir(folder()).removeRecursively();
        openShell();
        QVERIFY(dir->isValid());
        main->show();
    }

    void cleanup()
    {
        if (main) {
            closeShell();
        } else {
            prompts.reset();
            dir.reset();
        }
    }

    void onlyChangedCasesGetACopyAndOnlyWhenTheyChangedAgain()
    {
        const QString path = dir->filePath(QStringLiteral("plan.cvx"));
        QCOMPARE(writeCase(path, "Plan"), QString());
        const QByteArray saved = fileBytes(path);
        TCaseForm* opened = main->openCaseFile(path);
        TCaseForm* fresh = main->New();
        QVERIFY(opened && fresh);
        QCOMPARE(autosaveNow(), 0); // a new case and an opened one, both untouched

        type(opened, QStringLiteral(" B"));
        QCOMPARE(autosaveNow(), 1);
        const QString copy = autosave().copyPathOf(*opened);
        QVERIFY(copy.startsWith(folder()));
        QCOMPARE(titleIn(copy), QStringLiteral("Plan B"));
        QCOMPARE(fileBytes(path), saved); // the user's file is never written by autosave
        QVERIFY(autosave().copyPathOf(*fresh).isEmpty());

        QCOMPARE(autosaveNow(), 0); // nothing new since the copy
        type(opened, QStringLiteral("2"));
        QCOMPARE(autosaveNow(), 1);
        QCOMPARE(titleIn(copy), QStringLiteral("Plan B2"));

        // Undo changes the case too.
        main->mdiArea()->setActiveSubWindow(opened->subWindow());
        main->Undo();
        QCOMPARE(autosaveNow(), 1);
        QCOMPARE(titleIn(copy), QStringLiteral("Plan B"));
        QCOMPARE(fileBytes(path), saved);
    }

    void theCopyRecordsWhereTheCaseCameFrom()
    {
        const QString path = dir->filePath(QStringLiteral("origin.cvx"));
        QCOMPARE(writeCase(path, "Origin"), QString());
        TCaseForm* form = main->openCaseFile(path);
        type(form, QStringLiteral("!"));
        TCaseForm* untitled = main->New();
        type(untitled, QStringLiteral("Fresh"));
        QCOMPARE(autosaveNow(), 2);

        // What a later start would find, seen from another session.
        const RecoveryScan scan(folder(), kEndedSession);
        QVERIFY(scan.entries().empty()); // this run is alive: its copies are not offered

        const QString record = autosave().copyPathOf(*form).replace(QStringLiteral(".cvx"), QStringLiteral(".json"));
        QVERIFY(fileBytes(record).contains(path.toUtf8()));
        QVERIFY(fileBytes(record).contains(autosave().session().id().toUtf8()));
        const QString untitledRecord =
            autosave().copyPathOf(*untitled).replace(QStringLiteral(".cvx"), QStringLiteral(".json"));
        QVERIFY(fileBytes(untitledRecord).contains("\"path\": \"\""));
    }

    void theCopyGoesWhenTheCaseIsSavedClosedOrTheRunEnds_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<bool>("copyStays");
        QTest::newRow("saved") << "save" << false;
        QTest::newRow("closed, No to saving") << "close-no" << false;
        QTest::newRow("closed, Yes to saving") << "close-yes" << false;
        QTest::newRow("close cancelled") << "close-cancel" << true;
        QTest::newRow("program exits") << "exit" << false;
        QTest::newRow("undone to the saved text") << "undo" << true;
    }

    void theCopyGoesWhenTheCaseIsSavedClosedOrTheRunEnds()
    {
        QFETCH(QString, how);
        QFETCH(bool, copyStays);
        const QString path = dir->filePath(QStringLiteral("case.cvx"));
        QCOMPARE(writeCase(path, "Case"), QString());
        TCaseForm* form = main->openCaseFile(path);
        type(form, QStringLiteral("s"));
        QCOMPARE(autosaveNow(), 1);
        const QString copy = autosave().copyPathOf(*form);
        QVERIFY(QFile::exists(copy));

        if (how == QLatin1String("save")) {
            QVERIFY(main->Save());
        } else if (how.startsWith(QLatin1String("close-"))) {
            prompts->saveAnswers.push_back(how == QLatin1String("close-no") ? SaveChangesAnswer::No
                                           : how == QLatin1String("close-yes") ? SaveChangesAnswer::Yes
                                                                              : SaveChangesAnswer::Cancel);
            main->Close();
        } else if (how == QLatin1String("exit")) {
            main->close();
            QVERIFY(prompts->questions.size() == 1); // answered No by default
            main.reset();
        } else {
            main->Undo();
        }
        if (main)
            autosave().waitForWrites();
        QCOMPARE(QFile::exists(copy), copyStays);
        if (!copyStays && main)
            QCOMPARE(autosaveNow(), 0); // and no new one while nothing changes
        if (how == QLatin1String("close-yes") || how == QLatin1String("save"))
            QCOMPARE(titleIn(path), QStringLiteral("Cases"));
        if (!main) {
            // A normal end leaves nothing of the run: no copies, no records, no lock.
            QCOMPARE(filesIn(folder()), QStringList());
        }
    }

    void theTimerWritesCopiesByItself()
    {
        QCOMPARE(autosave().interval(), std::chrono::milliseconds(TAutosave::kDefaultInterval));
        autosave().setInterval(150ms);
        QSignalSpy written(&autosave(), &TAutosave::copyWritten);
        TCaseForm* form = main->New();
        type(form, QStringLiteral("Tick"));
        QTRY_COMPARE_WITH_TIMEOUT(written.size(), 1, 5000);
        QCOMPARE(titleIn(written.first().first().toString()), QStringLiteral("Tick"));
        type(form, QStringLiteral("Tock"));
        QTRY_COMPARE_WITH_TIMEOUT(titleIn(autosave().copyPathOf(*form)), QStringLiteral("TickTock"), 5000);
    }

    void anEndedRunsCaseIsOfferedAndRestoredUnderItsOwnName()
    {
        closeShell();
        const QString path = QDir(QDir::tempPath()).filePath(QStringLiteral("corvantix-restore-%1.cvx").arg(QCoreApplication::applicationPid()));
        QFile::remove(path);
        const RecoveryEntry ended = leaveEndedEntry(folder(), kEndedSession, path, "Recovered plan");
        const RecoveryEntry untitled = leaveEndedEntry(folder(), kEndedSession + QStringLiteral("0"), {}, "Draft");
        openShell();
        prompts->recoveryAnswers = {RecoveryChoice::Open, RecoveryChoice::Open};
        main->offerRecovery();

        QCOMPARE(prompts->recoveryOffers.size(), 1);
        const QList<RecoveryOffer>& offers = prompts->recoveryOffers.first();
        QCOMPARE(offers.size(), 2);
        QStringList shown;
        for (const RecoveryOffer& offer : offers) {
            shown.append(offer.caseName + QLatin1Char('|') + offer.title);
            QVERIFY(offer.time.isValid() && offer.time.secsTo(QDateTime::currentDateTime()) < 60);
        }
        shown.sort();
        QCOMPARE(shown, (QStringList{QDir::toNativeSeparators(path) + QStringLiteral("|Recovered plan"),
                                     QStringLiteral("untitled|Draft")}));

        QCOMPARE(main->caseForms().size(), 2);
        TCaseForm* restored = nullptr;
        for (TCaseForm* form : main->caseForms())
            if (titleField(form)->text() == QLatin1String("Recovered plan"))
                restored = form;
        QVERIFY(restored);
        QCOMPARE(displayFileName(restored->data().FileName), path);
        QCOMPARE(restored->subWindow()->windowTitle(), path + QStringLiteral(" - Case"));
        QVERIFY(restored->data().Modified);

        // The copies became this run's: the ended session's files are gone, a second crash still
        // has them, and offering again finds nothing.
        QVERIFY(!QFile::exists(ended.copyPath()) && !QFile::exists(ended.recordPath()));
        QVERIFY(!QFile::exists(untitled.copyPath()));
        QCOMPARE(titleIn(autosave().copyPathOf(*restored)), QStringLiteral("Recovered plan"));
        QCOMPARE(autosaveNow(), 0);

        // Save writes where the user expects, and the copy goes.
        const QString copy = autosave().copyPathOf(*restored);
        main->mdiArea()->setActiveSubWindow(restored->subWindow());
        QVERIFY(main->Save());
        autosave().waitForWrites();
        QCOMPARE(titleIn(path), QStringLiteral("Recovered plan"));
        QVERIFY(!QFile::exists(copy));
        QVERIFY(prompts->saveRequests.isEmpty());
        main.reset();
        QFile::remove(path);
    }

    void discardedCopiesGoKeptOnesAreOfferedAgain()
    {
        closeShell();
        const RecoveryEntry discarded = leaveEndedEntry(folder(), kEndedSession, QStringLiteral("/plans/a.cvx"), "A");
        const RecoveryEntry kept = leaveEndedEntry(folder(), kEndedSession + QStringLiteral("1"), QStringLiteral("/plans/b.cvx"), "B");
        openShell();
        // Offers come oldest first; set the times so the order is known.
        setFileTime(discarded.copyPath(), QDateTime::currentDateTime().addSecs(-120));
        setFileTime(kept.copyPath(), QDateTime::currentDateTime().addSecs(-60));

        prompts->recoveryAnswers = {RecoveryChoice::Discard, RecoveryChoice::Keep};
        main->offerRecovery();
        QCOMPARE(prompts->recoveryOffers.size(), 1);
        QCOMPARE(prompts->recoveryOffers.first().at(0).title, QStringLiteral("A"));
        QCOMPARE(main->caseForms().size(), 0);
        QVERIFY(!QFile::exists(discarded.copyPath()) && !QFile::exists(discarded.recordPath()));
        QVERIFY(QFile::exists(kept.copyPath()));
        main->offerRecovery(); // once per start
        QCOMPARE(prompts->recoveryOffers.size(), 1);

        closeShell();
        openShell();
        main->offerRecovery();
        QCOMPARE(prompts->recoveryOffers.size(), 1);
        QCOMPARE(prompts->recoveryOffers.first().size(), 1);
        QCOMPARE(prompts->recoveryOffers.first().first().title, QStringLiteral("B"));
        QCOMPARE(prompts->recoveryOffers.first().first().caseName, QDir::toNativeSeparators(QStringLiteral("/plans/b.cvx")));
    }

    void damagedCopiesAreReportedAndSetAsideNeverOffered_data()
    {
        QTest::addColumn<QByteArray>("copy");
        QTest::addColumn<QByteArray>("record");
        QTest::newRow("copy is not a case") << QByteArray("not a case file") << QByteArray();
        QTest::newRow("copy is cut short") << QByteArray(encodeCase(TCaseData()).substr(0, 20).c_str(), 20) << QByteArray();
        QTest::newRow("record is not JSON") << QByteArray() << QByteArray("{\"path\": ");
        QTest::newRow("copy has no record") << QByteArray() << QByteArray("-");
    }

    void damagedCopiesAreReportedAndSetAsideNeverOffered()
    {
        QFETCH(QByteArray, copy);
        QFETCH(QByteArray, record);
        closeShell();
        const RecoveryEntry good = leaveEndedEntry(folder(), kEndedSession, QStringLiteral("/plans/good.cvx"), "Good");
        const RecoveryEntry bad = leaveEndedEntry(folder(), kEndedSession, QStringLiteral("/plans/bad.cvx"), "Bad", 2);
        const QString badId = bad.id;
        const auto overwrite = [&](const QString& suffix, const QByteArray& bytes) {
            QFile file(QDir(folder()).filePath(badId + suffix));
            if (bytes == "-") {
                QVERIFY(file.remove());
            } else if (!bytes.isEmpty()) {
                QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
                file.write(bytes);
            }
        };
        overwrite(QStringLiteral(".cvx"), copy);
        overwrite(QStringLiteral(".json"), record);

        openShell();
        prompts->recoveryAnswers = {RecoveryChoice::Keep};
        main->offerRecovery();
        QCOMPARE(prompts->warnings.size(), 1);
        QVERIFY(prompts->details.first().contains(QStringLiteral("damaged")));
        QCOMPARE(prompts->recoveryOffers.size(), 1);
        QCOMPARE(prompts->recoveryOffers.first().size(), 1);
        QCOMPARE(prompts->recoveryOffers.first().first().title, QStringLiteral("Good"));
        QVERIFY(QFile::exists(QDir(folder()).filePath(QStringLiteral("damaged/") + badId + QStringLiteral(".cvx"))));
        QVERIFY(!QFile::exists(QDir(folder()).filePath(badId + QStringLiteral(".cvx"))));

        // Set aside once: the next start neither reports nor offers it again.
        closeShell();
        openShell();
        main->offerRecovery();
        QCOMPARE(prompts->warnings.size(), 0);
        QCOMPARE(prompts->recoveryOffers.first().size(), 1);
    }

    void aRunningProgramsCopiesAreNotOffered()
    {
        closeShell();
        leaveEndedEntry(folder(), kEndedSession, QStringLiteral("/plans/live.cvx"), "Live");
        // The session's lock is held, as by a program that is still running.
        QLockFile alive(QDir(folder()).filePath(kEndedSession + QStringLiteral(".lock")));
        alive.setStaleLockTime(0);
        QVERIFY(alive.tryLock(0));
        openShell();
        main->offerRecovery();
        QCOMPARE(prompts->recoveryOffers.size(), 0);
        QVERIFY(QFile::exists(QDir(folder()).filePath(kEndedSession + QStringLiteral("-1.cvx"))));
    }

    void theRecoveryWindowGivesOneChoicePerCase()
    {
        const QDateTime made(QDate(2026, 3, 4), QTime(9, 15, 30));
        TRecoveryForm form({{QStringLiteral("/plans/a.cvx"), QStringLiteral("A"), made, made.addSecs(-60), false},
                            {QStringLiteral("untitled"), QStringLiteral("B"), made, {}, false},
                            {QStringLiteral("/plans/c.cvx"), QStringLiteral("C"), made, {}, false}});
        QCOMPARE(child<QTreeWidget>(&form, "lstCases")->topLevelItemCount(), 3);
        QCOMPARE(child<QTreeWidget>(&form, "lstCases")->topLevelItem(1)->text(0), QStringLiteral("untitled"));
        QCOMPARE(child<QTreeWidget>(&form, "lstCases")->topLevelItem(0)->text(2),
                 QStringLiteral("04/03/2026 09:15:30"));
        QCOMPARE(child<QTreeWidget>(&form, "lstCases")->topLevelItem(0)->text(3),
                 QStringLiteral("04/03/2026 09:14:30"));
        QCOMPARE(child<QTreeWidget>(&form, "lstCases")->selectedItems().size(), 3); // all chosen to start with

        child<QTreeWidget>(&form, "lstCases")->clearSelection();
        QVERIFY(!child<QPushButton>(&form, "btnOpen")->isEnabled()
                && !child<QPushButton>(&form, "btnDiscard")->isEnabled());
        child<QTreeWidget>(&form, "lstCases")->topLevelItem(2)->setSelected(true);
        child<QPushButton>(&form, "btnOpen")->click();
        QCOMPARE(child<QTreeWidget>(&form, "lstCases")->topLevelItemCount(), 2);

        // Discard asks first; No keeps the case in the list.
        child<QTreeWidget>(&form, "lstCases")->topLevelItem(0)->setSelected(true);
        const auto answer = [](QMessageBox::StandardButton button) {
            QTimer::singleShot(0, [button] {
                if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
                    box->button(button)->click();
            });
        };
        answer(QMessageBox::No);
        child<QPushButton>(&form, "btnDiscard")->click();
        QCOMPARE(child<QTreeWidget>(&form, "lstCases")->topLevelItemCount(), 2);
        answer(QMessageBox::Yes);
        child<QPushButton>(&form, "btnDiscard")->click();
        QCOMPARE(child<QTreeWidget>(&form, "lstCases")->topLevelItemCount(), 1);

        // Deciding later leaves the rest.
        child<QPushButton>(&form, "btnLater")->click();
        QCOMPARE(form.choices(), (QList<RecoveryChoice>{RecoveryChoice::Discard, RecoveryChoice::Keep, RecoveryChoice::Open}));
    }

    void aRecoveredFileIsNeverOpenedBesideItsOwnWindow()
    {
        closeShell();
        QTemporaryDir files;
        const QString path = files.filePath(QStringLiteral("both.cvx"));
        QCOMPARE(writeCase(path, "Saved"), QString());
        // Two ended runs each left a copy of the file, and the program starts with the file too.
        const RecoveryEntry older = leaveEndedEntry(folder(), kEndedSession, path, "Recovered");
        const RecoveryEntry newer = leaveEndedEntry(folder(), kEndedSession + QStringLiteral("1"), path, "Again");
        setFileTime(path, QDateTime::currentDateTime().addSecs(-120));
        setFileTime(older.copyPath(), QDateTime::currentDateTime().addSecs(-60));
        openShell();
        prompts->recoveryAnswers = {RecoveryChoice::Open, RecoveryChoice::Open};
        main->setStartupFile(path);
        main->show();
        QTRY_COMPARE(prompts->recoveryOffers.size(), 1);
        QTest::qWait(700); // whichever of activation and showing starts the program, it has now

        QCOMPARE(main->caseForms().size(), 1);
        TCaseForm* form = main->caseForms().first();
        QCOMPARE(titleField(form)->text(), QStringLiteral("Recovered"));
        QVERIFY(form->data().Modified);
        QVERIFY(main->statusBar()->currentMessage().contains(QStringLiteral("open already")));
        // The copy not opened is kept, and the user is told why.
        QCOMPARE(prompts->warnings.size(), 1);
        QVERIFY(prompts->warnings.first().contains(path));
        QVERIFY(QFile::exists(newer.copyPath()));
        QCOMPARE(titleIn(path), QStringLiteral("Saved"));
        closeShell(); // before the file's folder goes
    }

    void aCopyOlderThanItsFileIsMarkedAndOpensOnlyWhenChosen()
    {
        closeShell();
        QTemporaryDir files;
        const QString path = files.filePath(QStringLiteral("plan.cvx"));
        QCOMPARE(writeCase(path, "Saved later"), QString());
        const RecoveryEntry entry = leaveEndedEntry(folder(), kEndedSession, path, "Older copy");
        setFileTime(entry.copyPath(), QDateTime::currentDateTime().addSecs(-3600));

        for (const bool chosen : {false, true}) {
            openShell();
            prompts->recoveryAnswers = {RecoveryChoice::Open};
            prompts->yesNoAnswer = chosen;
            main->offerRecovery();
            QCOMPARE(prompts->recoveryOffers.size(), 1);
            const RecoveryOffer offer = prompts->recoveryOffers.first().first();
            QVERIFY(offer.fileIsNewer);
            QVERIFY(offer.fileTime.secsTo(offer.time) < -3000);
            QCOMPARE(prompts->questions.size(), 1);
            QVERIFY(prompts->questions.first().contains(displayFileTime(offer.fileTime)));
            QVERIFY(prompts->questions.first().contains(displayFileTime(offer.time)));
            QCOMPARE(main->caseForms().size(), chosen ? 1 : 0);
            QCOMPARE(QFile::exists(entry.copyPath()), !chosen);
            QCOMPARE(titleIn(path), QStringLiteral("Saved later"));

            TRecoveryForm window({offer});
            QCOMPARE(child<QTreeWidget>(&window, "lstCases")->topLevelItem(0)->text(3),
                     displayFileTime(offer.fileTime) + QStringLiteral(" (newer)"));
            QVERIFY(child<QLabel>(&window, "lblExplain")->text().contains(QStringLiteral("newer")));
            closeShell();
        }
    }

    void aCopyWhoseNextWriteFailedStillGoesWithItsCase()
    {
        const QString path = dir->filePath(QStringLiteral("failing.cvx"));
        QCOMPARE(writeCase(path, "Failing"), QString());
        TCaseForm* form = main->openCaseFile(path);
        type(form, QStringLiteral("1"));
        QCOMPARE(autosaveNow(), 1);
        const QString copy = autosave().copyPathOf(*form);
        QVERIFY(QFile::exists(copy));

        // For a moment the folder is a file: the next copy cannot be written.
        const QString moved = folder() + QStringLiteral(".away");
        QVERIFY(QDir().rename(folder(), moved));
        QFile blocker(folder());
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        QSignalSpy failed(&autosave(), &TAutosave::copyFailed);
        type(form, QStringLiteral("2"));
        QCOMPARE(autosaveNow(), 1);
        QTRY_COMPARE(failed.size(), 1);
        QVERIFY(blocker.remove());
        QVERIFY(QDir().rename(moved, folder()));
        QVERIFY(QFile::exists(copy));

        main->mdiArea()->setActiveSubWindow(form->subWindow());
        QVERIFY(main->Save());
        autosave().waitForWrites();
        QVERIFY(!QFile::exists(copy));
        QCOMPARE(filesIn(folder()).filter(QStringLiteral(".cvx")), QStringList());
    }

    void recoveryFilesAreTheUsersAlone()
    {
        closeShell();
        const mode_t previousMask = ::umask(022);
        const auto restoreMask = qScopeGuard([previousMask] { ::umask(previousMask); });
        // A folder as an earlier version left it, open to everyone.
        QVERIFY(QDir().mkpath(folder()));
        QVERIFY(QFile::setPermissions(folder(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner
                                                    | QFileDevice::ReadGroup | QFileDevice::ExeGroup
                                                    | QFileDevice::ReadOther | QFileDevice::ExeOther));
        openShell();
        type(main->New(), QStringLiteral("Private"));
        QCOMPARE(autosaveNow(), 1);
        const QFileDevice::Permissions others = QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup
            | QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;
        const QString copy = autosave().copyPathOf(*main->caseForms().first());
        for (const QString& path : {folder(), copy, QString(copy).replace(QStringLiteral(".cvx"), QStringLiteral(".json"))}) {
            QVERIFY2(QFile::exists(path), qPrintable(path));
            QVERIFY2((QFileInfo(path).permissions() & others) == QFileDevice::Permissions(), qPrintable(path));
        }
    }

    void whenAutosaveCannotWorkTheUserIsToldOnce()
    {
        closeShell();
        // The data folder is a file, so no recovery folder can be made below it.
        QTemporaryDir blocked;
        const QString dataHome = blocked.filePath(QStringLiteral("data"));
        QFile file(dataHome);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        const QByteArray previous = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", QFile::encodeName(dataHome));
        const auto restore = qScopeGuard([previous] { qputenv("XDG_DATA_HOME", previous); });
        openShell();
        QVERIFY(!autosave().session().usable());
        main->show();
        QTRY_COMPARE(prompts->warnings.size(), 1);
        QVERIFY(prompts->warnings.first().contains(QDir::toNativeSeparators(folder())));
        QTest::qWait(700);
        QCOMPARE(prompts->warnings.size(), 1);
        type(main->New(), QStringLiteral("Unprotected"));
        QCOMPARE(autosaveNow(), 0);
    }

    void saveAsMovesTheLockToTheNewFile()
    {
        const QString oldPath = dir->filePath(QStringLiteral("old.cvx"));
        const QString freePath = dir->filePath(QStringLiteral("free.cvx"));
        const QString heldPath = dir->filePath(QStringLiteral("held.cvx"));
        QCOMPARE(writeCase(oldPath, "Old"), QString());
        QCOMPARE(writeCase(heldPath, "Held"), QString());
        TCaseForm* form = main->openCaseFile(oldPath);
        QCOMPARE(case_lock::heldBy(form), oldPath);

        prompts->savePaths.push_back(freePath);
        QVERIFY(main->SaveAs());
        QCOMPARE(case_lock::heldBy(form), freePath);
        QVERIFY(!QFile::exists(case_lock::lockFileFor(oldPath)));

        // A Save As that fails keeps the lock the window had.
        prompts->savePaths.push_back(dir->filePath(QStringLiteral("no/such/folder/x.cvx")));
        QVERIFY(!main->SaveAs());
        QCOMPARE(case_lock::heldBy(form), freePath);

        // Another program holds the new file: asked, and saved anyway, the window holds no lock,
        // not even the one of the file it no longer edits.
        QLockFile other(case_lock::lockFileFor(heldPath));
        other.setStaleLockTime(0);
        QVERIFY(other.tryLock(0));
        prompts->yesNoAnswer = true;
        prompts->savePaths.push_back(heldPath);
        QVERIFY(main->SaveAs());
        QCOMPARE(prompts->questions.size(), 1);
        QVERIFY(prompts->questions.first().endsWith(QStringLiteral("Save it anyway?")));
        QVERIFY(case_lock::heldBy(form).isEmpty());
        QVERIFY(!QFile::exists(case_lock::lockFileFor(freePath)));
        QCOMPARE(displayFileName(form->data().FileName), heldPath);
    }

    void aLockFromAnotherComputerIsNeverTakenOverAndSaysSinceWhen()
    {
        const QString path = dir->filePath(QStringLiteral("remote.cvx"));
        QCOMPARE(writeCase(path, "Remote"), QString());
        const QString lockPath = case_lock::lockFileFor(path);
        // As a program on another computer sharing the folder leaves it: its process number means
        // nothing here.
        QFile lock(lockPath);
        QVERIFY(lock.open(QIODevice::WriteOnly));
        lock.write("999999\nCorvantix\nplanning-laptop\n");
        lock.close();
        const QByteArray written = fileBytes(lockPath);
        const QDateTime since = QDateTime::currentDateTime().addDays(-3);
        setFileTime(lockPath, since);

        prompts->yesNoAnswer = false;
        QVERIFY(!main->openCaseFile(path));
        QVERIFY(!main->openCaseFile(path));
        QCOMPARE(prompts->questions.size(), 2);
        const QString question = prompts->questions.first();
        QVERIFY2(question.contains(QStringLiteral("planning-laptop")), qPrintable(question));
        QVERIFY2(question.contains(displayFileTime(since)), qPrintable(question));
        QCOMPARE(fileBytes(lockPath), written);
    }

    void openingAFileAnotherProgramHoldsAsksFirst()
    {
        const QString path = dir->filePath(QStringLiteral("shared.cvx"));
        QCOMPARE(writeCase(path, "Shared"), QString());
        // Opening it again brings its window forward and asks nothing.
        TCaseForm* first = main->openCaseFile(path);
        QVERIFY(first);
        QCOMPARE(main->openCaseFile(path), first);
        QVERIFY(prompts->questions.isEmpty());
        const QString lockPath = case_lock::lockFileFor(path);
        QCOMPARE(QFileInfo(lockPath).fileName(), QStringLiteral(".shared.cvx.lock"));
        QVERIFY(QFile::exists(lockPath));
        QVERIFY(!filesIn(dir->path()).filter(QStringLiteral("lock")).isEmpty());
        QCOMPARE(QDir(dir->path()).entryList({QStringLiteral("*shared*")}, QDir::Files),
                 QStringList{QStringLiteral("shared.cvx")}); // the lock is hidden
        first->setCloseApproved(true);
        first->subWindow()->close();
        QTRY_VERIFY(!QFile::exists(lockPath)); // the window lets go

        // Held by someone else (a lock this program did not take).
        QLockFile other(lockPath);
        other.setStaleLockTime(0);
        QVERIFY(other.tryLock(0));
        prompts->yesNoAnswer = false;
        QVERIFY(!main->openCaseFile(path));
        QCOMPARE(prompts->questions.size(), 1);
        QVERIFY(prompts->questions.first().contains(path));
        QVERIFY(prompts->questions.first().contains(QSysInfo::machineHostName()));
        QVERIFY(prompts->questions.first().contains(QFileInfo(lockPath).owner()));
        QVERIFY(prompts->questions.first().endsWith(QStringLiteral("Open it anyway?")));
        QCOMPARE(main->caseForms().size(), 0);
        prompts->yesNoAnswer = true;
        TCaseForm* anyway = main->openCaseFile(path);
        QVERIFY(anyway);
        QCOMPARE(titleField(anyway)->text(), QStringLiteral("Shared"));
        QVERIFY(case_lock::heldBy(anyway).isEmpty());
        anyway->setCloseApproved(true);
        anyway->subWindow()->close();

        // Save As over it asks too, and No leaves the file alone.
        TCaseForm* other2 = main->New();
        type(other2, QStringLiteral("Other"));
        prompts->yesNoAnswer = false;
        prompts->savePaths.push_back(path);
        QVERIFY(!main->SaveAs());
        QCOMPARE(titleIn(path), QStringLiteral("Shared"));
        QCOMPARE(prompts->questions.size(), 3);
        QVERIFY(prompts->questions.last().endsWith(QStringLiteral("Save it anyway?")));

        // Save As to a free name takes that file's lock.
        const QString fresh = dir->filePath(QStringLiteral("fresh.cvx"));
        prompts->savePaths.push_back(fresh);
        QVERIFY(main->SaveAs());
        QCOMPARE(case_lock::heldBy(other2), fresh);
        QVERIFY(QFile::exists(case_lock::lockFileFor(fresh)));
    }
};

QTEST_MAIN(AutosaveTest)
#include "shell_autosave_test.moc"
