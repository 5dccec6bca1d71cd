// What autosave of a 10 MB case costs: the part on the GUI thread (taking the copy), the whole copy
// until it is on disk, and the longest pause the interface sees meanwhile. Run with `make bench`;
// as part of the tests it runs one round, to keep it working.

#include "shell_session.h"
#include "synthetic_case.h"

#include "model/case_data.h"
#include "model/case_file.h"
#include "shell/autosave.h"
#include "shell/case_form.h"
#include "shell/main_form.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <vector>

class AutosaveBench : public QObject, private ShellSession {
    Q_OBJECT

    TCaseForm* form_ = nullptr;

    // Rounds to measure: five, or as many as -iterations asks for (the tests ask for one).
    int rounds() const { return iterations_; }
    int iterations_ = 5;

public:
    explicit AutosaveBench(int iterations) : iterations_(iterations > 0 ? iterations : 5) {}

private slots:
    void initTestCase()
    {
        QDir(recovery::defaultFolder()).removeRecursively();
        openShell();
        form_ = main->New();
        const auto big = makeSyntheticCase(kTenMegabytes);
        form_->data().Assign(*big);
        form_->edit().setModified();
        QVERIFY(encodeCase(form_->data()).size() >= kTenMegabytes * 95 / 100);
    }

    void cleanupTestCase() { closeShell(); }

    void autosaveOfATenMegabyteCase()
    {
        std::vector<qint64> guiThread, whole, longestPause;
        QSignalSpy written(&main->autosave(), &TAutosave::copyWritten);
        for (int round = 0; round < rounds(); ++round) {
            form_->edit().setModified(); // a change since the last copy

            // The interface ticks every 5 ms while the copy is written; the longest gap between two
            // ticks, less the 5 ms, is how long it was kept waiting.
            QElapsedTimer sinceTick;
            qint64 longest = 0;
            QTimer ticker;
            ticker.setInterval(5);
            connect(&ticker, &QTimer::timeout, this, [&] {
                longest = std::max(longest, sinceTick.restart());
            });

            QElapsedTimer clock;
            clock.start();
            sinceTick.start();
            ticker.start();
            QCOMPARE(main->autosave().saveChangedCases(), 1);
            guiThread.push_back(clock.elapsed());
            const int before = static_cast<int>(written.size());
            QTRY_VERIFY_WITH_TIMEOUT(written.size() > before, 30000);
            whole.push_back(clock.elapsed());
            ticker.stop();
            longestPause.push_back(std::max<qint64>(0, longest - 5));
        }
        const QString copy = main->autosave().copyPathOf(*form_);
        QVERIFY(QFileInfo(copy).size() >= qint64(kTenMegabytes * 95 / 100));
        TCaseData back;
        QVERIFY(!loadCaseFile(QFile::encodeName(copy).toStdString(), back));
        QCOMPARE(encodeCase(back), encodeCase(form_->data()));

        // For comparison: what encoding on the GUI thread instead of copying would cost.
        std::vector<qint64> encoding;
        for (int round = 0; round < rounds(); ++round) {
            QElapsedTimer clock;
            clock.start();
            const std::string bytes = encodeCase(form_->data());
            encoding.push_back(clock.elapsed());
            QVERIFY(!bytes.empty());
        }
        std::sort(encoding.begin(), encoding.end());
        std::sort(guiThread.begin(), guiThread.end());
        std::sort(whole.begin(), whole.end());
        std::sort(longestPause.begin(), longestPause.end());
        qInfo("autosave of %.1f MB, %d rounds: GUI thread %lld ms (median, max %lld), whole copy %lld ms "
              "(median, max %lld), longest pause of the interface %lld ms; encoding alone %lld ms (median)",
              QFileInfo(copy).size() / 1048576.0, static_cast<int>(whole.size()), guiThread[guiThread.size() / 2],
              guiThread.back(), whole[whole.size() / 2], whole.back(), longestPause.back(), encoding[encoding.size() / 2]);
        QTest::setBenchmarkResult(static_cast<qreal>(guiThread[guiThread.size() / 2]), QTest::WalltimeMilliseconds);
    }
};

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    int iterations = 0;
    for (int i = 1; i + 1 < argc; ++i)
        if (qstrcmp(argv[i], "-iterations") == 0)
            iterations = QByteArray(argv[i + 1]).toInt();
    AutosaveBench bench(iterations);
    return QTest::qExec(&bench, argc, argv);
}
#include "shell_autosave_bench.moc"
