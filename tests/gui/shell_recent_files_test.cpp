// The recent-file list: its rules, the settings file and the File menu built from it.

#include "shell_fake_prompts.h"

#include "model/case_data.h"
#include "model/case_file.h"
#include "shell/case_form.h"
#include "shell/main_form.h"
#include "shell/recent_files.h"

#include <QAction>
#include <QFile>
#include <QMdiArea>
#include <QMenu>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

namespace {

QStringList menuTexts(const QMenu& menu)
{
    QStringList texts;
    for (QAction* item : menu.actions())
        texts.append(item->isSeparator() ? QStringLiteral("-") : item->text());
    return texts;
}

} // namespace

class RecentFilesTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        dir = std::make_unique<QTemporaryDir>();
        settingsPath = dir->filePath(QStringLiteral("CORVANTX.INI"));
    }
    void cleanup() { dir.reset(); }

    void fifthFileDropsTheOldest()
    {
        RecentFiles recent(settingsPath);
        for (const char* name : {"/a.cvx", "/b.cvx", "/c.cvx", "/d.cvx", "/e.cvx"})
            QVERIFY(recent.add(QString::fromLatin1(name)));
        QCOMPARE(recent.entries(), (QStringList{"/e.cvx", "/d.cvx", "/c.cvx", "/b.cvx"}));

        QSettings stored(settingsPath, QSettings::IniFormat);
        QCOMPARE(stored.value(QStringLiteral("Recent/File1")).toString(), QStringLiteral("/e.cvx"));
        QCOMPARE(stored.value(QStringLiteral("Recent/File4")).toString(), QStringLiteral("/b.cvx"));
        QVERIFY(!stored.contains(QStringLiteral("Recent/File5")));
    }

    void knownPathInOtherLetterCaseLeavesTheOrder()
    {
        RecentFiles recent(settingsPath);
        recent.add(QStringLiteral("/plans/One.cvx"));
        recent.add(QStringLiteral("/plans/two.cvx"));
        QVERIFY(!recent.add(QStringLiteral("/PLANS/one.CVX")));
        QCOMPARE(recent.entries(), (QStringList{"/plans/two.cvx", "/plans/One.cvx"}));
        // Only A to Z are compared without case.
        QVERIFY(!sameRecentPath(QStringLiteral("/\u00e9.cvx"), QStringLiteral("/\u00c9.cvx")));
        QVERIFY(sameRecentPath(QStringLiteral("/x/ABC"), QStringLiteral("/X/abc")));
    }

    void readingSkipsEmptyKeysAndWritingLeavesNoStaleOnes()
    {
        {
            QSettings stored(settingsPath, QSettings::IniFormat);
            stored.setValue(QStringLiteral("Recent/File1"), QStringLiteral("/first.cvx"));
            stored.setValue(QStringLiteral("Recent/File2"), QString());
            stored.setValue(QStringLiteral("Recent/File4"), QStringLiteral("/fourth.cvx"));
        }
        RecentFiles recent(settingsPath);
        QCOMPARE(recent.entries(), (QStringList{"/first.cvx", "/fourth.cvx"}));
        recent.add(QStringLiteral("/new.cvx"));
        RecentFiles reread(settingsPath);
        QCOMPARE(reread.entries(), (QStringList{"/new.cvx", "/first.cvx", "/fourth.cvx"}));
    }

    void fileMenuEndsWithExitWhenTheListIsEmpty()
    {
        FakePrompts prompts;
        TMainForm main(settingsPath);
        const QStringList texts = menuTexts(*main.fileMenu());
        QCOMPARE(texts.last(), QStringLiteral("&Exit"));
        QVERIFY(main.recentFileItems().isEmpty());
    }

    void fileMenuListsTheRecentFilesNewestFirst()
    {
        FakePrompts prompts;
        {
            RecentFiles recent(settingsPath);
            recent.add(QStringLiteral("/older.cvx"));
            recent.add(QStringLiteral("/R&D/newer.cvx"));
        }
        TMainForm main(settingsPath);
        QStringList texts = menuTexts(*main.fileMenu());
        const int exit = texts.indexOf(QStringLiteral("&Exit"));
        QCOMPARE(texts.mid(exit + 1),
                 (QStringList{"-", QStringLiteral("&1 /R&&D/newer.cvx"), QStringLiteral("&2 /older.cvx")}));
        QCOMPARE(main.recentFileItems().size(), 2);
        QCOMPARE(main.recentFileItems()[0]->data().toString(), QStringLiteral("/R&D/newer.cvx"));

        // Adding rebuilds the menu without leaving the old items behind.
        main.AddRecentFile(QStringLiteral("/third.cvx"));
        texts = menuTexts(*main.fileMenu());
        QCOMPARE(texts.mid(exit + 1), (QStringList{"-", QStringLiteral("&1 /third.cvx"),
                                                   QStringLiteral("&2 /R&&D/newer.cvx"), QStringLiteral("&3 /older.cvx")}));
    }

    void choosingARecentFileOpensIt()
    {
        FakePrompts prompts;
        const QString good = dir->filePath(QStringLiteral("good.cvx"));
        TCaseData data;
        data.Title = "From the list";
        QVERIFY(!saveCaseFile(data, QFile::encodeName(good).toStdString()));
        const QString gone = dir->filePath(QStringLiteral("gone.cvx"));
        {
            RecentFiles recent(settingsPath);
            recent.add(good);
            recent.add(gone);
        }
        TMainForm main(settingsPath);
        main.show();
        // A file that cannot be read: the message, no window, and the entry stays.
        main.recentFileItems()[0]->trigger();
        QCOMPARE(prompts.warnings, QStringList{QStringLiteral("Error opening file.")});
        QVERIFY(main.mdiArea()->subWindowList().isEmpty());
        QCOMPARE(main.recentFiles().entries(), (QStringList{gone, good}));

        main.recentFileItems()[1]->trigger();
        QCOMPARE(main.caseForms().size(), 1);
        QCOMPARE(main.recentFiles().entries(), (QStringList{gone, good}));
        // The chosen file is what the open dialog proposes next.
        prompts.openPaths.push_back(QString());
        main.Open();
        QCOMPARE(prompts.openRequests[0].proposedPath, good);
        main.caseForms()[0]->data().Modified = false;
    }

private:
    std::unique_ptr<QTemporaryDir> dir;
    QString settingsPath;
};

QTEST_MAIN(RecentFilesTest)
#include "shell_recent_files_test.moc"
