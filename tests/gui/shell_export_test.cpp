// File > Export to RTF: the file question, the progress window and busy cursor, and failures.

#include "shell_session.h"

#include "model/case_data.h"
#include "shell/case_form.h"
#include "shell/main_form.h"
#include "shell/print_progress_form.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QMdiArea>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

class ExportTest : public QObject, private ShellSession {
    Q_OBJECT

private slots:
    void init()
    {
        openShell();
        progress = new TPrintProgressForm(main.get());
        TPrintProgressForm::setShared(progress);
        main->show();
        connect(progress, &TPrintProgressForm::sectionShown, this, [this](int section) {
            sections.append(section);
            const QCursor* cursor = QApplication::overrideCursor();
            busyAtEverySection = busyAtEverySection && cursor && cursor->shape() == Qt::WaitCursor
                && progress->isVisible();
        });
        sections.clear();
        busyAtEverySection = true;
    }

    void cleanup() { closeShell(); }

    void exportWritesTheReportWithProgress()
    {
        TCaseForm* form = main->New();
        form->data().Title = "Export title";
        form->sendRefresh();
        const QString path = dir->filePath(QStringLiteral("report.rtf"));
        prompts->savePaths.push_back(path);
        main->ExportCase();

        QCOMPARE(prompts->saveRequests.size(), 1);
        QCOMPARE(prompts->saveRequests[0].filter, QStringLiteral("RTF files (*.rtf)"));
        QCOMPARE(prompts->saveRequests[0].defaultSuffix, QStringLiteral("rtf"));
        QCOMPARE(sections, (QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}));
        QVERIFY(busyAtEverySection);
        QCOMPARE(progress->text(), QStringLiteral("Exporting Section 11 of 11"));
        QVERIFY(!progress->isVisible());
        QVERIFY(!QApplication::overrideCursor());
        QVERIFY(prompts->errors.isEmpty());
        QCOMPARE(main->statusBar()->currentMessage(), QStringLiteral("Report written to ") + QDir::toNativeSeparators(path));

        QFile report(path);
        QVERIFY(report.open(QIODevice::ReadOnly));
        const QByteArray bytes = report.readAll();
        QVERIFY(bytes.startsWith("{\\rtf"));
        QVERIFY(bytes.contains("Export title"));
        // The case is only read.
        QCOMPARE(form->undoCount(), 0);
    }

    void failedWriteIsReportedAndRestoresTheScreen()
    {
        main->New();
        prompts->savePaths.push_back(dir->filePath(QStringLiteral("missing/folder/report.rtf")));
        main->ExportCase();
        QCOMPARE(prompts->errors.size(), 1);
        QVERIFY(prompts->errors[0].contains(QStringLiteral("report.rtf")));
        QVERIFY(main->statusBar()->currentMessage().isEmpty());
        QVERIFY(!progress->isVisible());
        QVERIFY(!QApplication::overrideCursor());
    }

    // One customer's long name listed by a market group 2,500 times: that chapter of the report
    // alone is 50 MB, and the event loop must keep turning while it is written.
    void eventsAreHandledWhileALargeChapterIsWritten()
    {
        TCaseForm* form = main->New();
        form->data().Customers.Add().Name = std::string(20000, 'n');
        auto& group = form->data().MarketGroups.Add();
        group.Name = "Everyone";
        for (int i = 0; i < 2500; ++i)
            group.CustomerRefs.Add().Rank = 0;
        const QString path = dir->filePath(QStringLiteral("large.rtf"));
        prompts->savePaths.push_back(path);

        int ticks = 0;
        QTimer ticker;
        ticker.setInterval(5);
        connect(&ticker, &QTimer::timeout, this, [&ticks] { ++ticks; });
        QMap<int, int> ticksAtSection;
        connect(progress, &TPrintProgressForm::sectionShown, this,
                [&](int section) { ticksAtSection[section] = ticks; });
        ticker.start();
        main->ExportCase();
        ticker.stop();

        QVERIFY(prompts->errors.isEmpty());
        QVERIFY(QFileInfo(path).size() > 50'000'000);
        // Section 9 is the market-group chapter.
        const int ticksInChapter = ticksAtSection.value(10) - ticksAtSection.value(9);
        QVERIFY2(ticksInChapter >= 3, qPrintable(QStringLiteral("%1 timer events").arg(ticksInChapter)));
    }

    void cancellingTheDialogWritesNothing()
    {
        main->New();
        prompts->savePaths.push_back(QString());
        main->ExportCase();
        QVERIFY(sections.isEmpty());
        QVERIFY(prompts->errors.isEmpty());
        QCOMPARE(QDir(dir->path()).entryList({QStringLiteral("*.rtf")}, QDir::Files), QStringList());
    }

private:
    TPrintProgressForm* progress = nullptr;
    QList<int> sections;
    bool busyAtEverySection = true;
};

QTEST_MAIN(ExportTest)
#include "shell_export_test.moc"
