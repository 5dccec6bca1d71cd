// Two programs. A run is killed (SIGKILL) while the user types, and the next start must offer what
// was typed up to the last autosave; a start killed while offering must lose nothing either. And a
// case file open in one running program makes another ask before opening it, until the first dies.
//
// The run that types is this test program started again with --typist: it drives the real main
// window and prints every word it typed, with the time. The start that offers is the real program.

#include "shell_session.h"

#include "model/case_data.h"
#include "model/case_file.h"
#include "shell/autosave.h"
#include "shell/case_form.h"
#include "shell/case_lock.h"
#include "shell/main_form.h"
#include "shell/recovery_store.h"
#include "widgets/cp1252_text_edit.h"
#include "widgets/text_convert.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSysInfo>
#include <QTest>
#include <QTimer>

#include <csignal>
#include <cstdio>
#include <memory>

namespace {

constexpr int kTypingMilliseconds = 20;
constexpr int kAutosaveMilliseconds = 1000;
// Beyond the interval: the write of the copy and a loaded machine's late timers.
constexpr int kSlackMilliseconds = 1500;
const char* const kTypistOption = "--typist";

std::string fsPath(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The numbered words of a description, in order.
QList<int> wordsOf(const QString& text)
{
    QList<int> words;
    for (const QString& word : text.split(QLatin1Char(' '), Qt::SkipEmptyParts))
        words.append(word.toInt());
    return words;
}

// --typist CASE SETTINGS: opens CASE and types "000001 ", "000002 ", ... into its description,
// one word every kTypingMilliseconds, printing "typed N MSECS" after each; until killed.
int runTypist(int argc, char** argv)
{
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Corvantix"));
    FakePrompts prompts;
    TMainForm main(QString::fromLocal8Bit(argv[3]));
    main.show();
    TCaseForm* form = main.openCaseFile(QString::fromLocal8Bit(argv[2]));
    if (!form)
        return 3;
    QObject::connect(&main.autosave(), &TAutosave::copyWritten, [] {
        std::printf("copy %lld\n", QDateTime::currentMSecsSinceEpoch());
        std::fflush(stdout);
    });
    int typed = 0;
    QTimer typing;
    typing.setInterval(kTypingMilliseconds);
    QObject::connect(&typing, &QTimer::timeout, [&] {
        ++typed;
        QTest::keyClicks(descriptionField(form), QStringLiteral("%1 ").arg(typed, 6, 10, QLatin1Char('0')));
        std::printf("typed %d %lld\n", typed, QDateTime::currentMSecsSinceEpoch());
        std::fflush(stdout);
    });
    typing.start();
    return app.exec();
}

// Waits until `condition` holds, at most `milliseconds`.
template <class Condition>
bool waitFor(Condition condition, int milliseconds)
{
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > milliseconds)
            return false;
        QTest::qWait(20);
    }
    return true;
}

void killHard(QProcess& process)
{
    ::kill(static_cast<pid_t>(process.processId()), SIGKILL);
    // Reaped, so that its process number no longer counts as running.
    process.waitForFinished(5000);
}

// The process number a lock file names.
qint64 lockOwner(const QString& lockPath)
{
    return fileBytes(lockPath).split('\n').value(0).toLongLong();
}

} // namespace

class CrashRecoveryTest : public QObject, private ShellSession {
    Q_OBJECT

    // The application-data folder of every program of a test, and the folder of its case files
    // (apart from the shell session's own, which goes with each session).
    std::unique_ptr<QTemporaryDir> data_, files_;

    QString folder() const { return recovery::defaultFolder(); }

    std::unique_ptr<QProcess> start(const QString& program, const QStringList& arguments)
    {
        auto process = std::make_unique<QProcess>();
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.insert(QStringLiteral("CORVANTIX_AUTOSAVE_SECONDS"),
                           QString::number(kAutosaveMilliseconds / 1000.0));
        process->setProcessEnvironment(environment);
        process->setProcessChannelMode(QProcess::SeparateChannels);
        process->start(program, arguments);
        return process;
    }

private slots:
    void initTestCase()
    {
        // Every program of the test uses the same application-data folder.
        QCoreApplication::setApplicationName(QStringLiteral("Corvantix"));
    }

    void init()
    {
        data_ = std::make_unique<QTemporaryDir>();
        QVERIFY(data_->isValid());
        qputenv("XDG_DATA_HOME", QFile::encodeName(data_->path()));
        files_ = std::make_unique<QTemporaryDir>();
    }

    void cleanup()
    {
        if (main)
            closeShell();
        files_.reset();
        data_.reset();
    }

    void aKilledRunLosesAtMostTheLastIntervalAndTheNextStartRestoresIt()
    {
        const int rounds = qEnvironmentVariableIntValue("CORVANTIX_KILL_ROUNDS") > 0
            ? qEnvironmentVariableIntValue("CORVANTIX_KILL_ROUNDS")
            : 2;
        const QString path = files_->filePath(QStringLiteral("typed.cvx"));
        TCaseData original;
        original.Title = "Typed";
        QVERIFY(!saveCaseFile(original, fsPath(path)));
        const QByteArray saved = fileBytes(path);
        auto* random = QRandomGenerator::global();
        qint64 worstLoss = 0;

        for (int round = 0; round < rounds; ++round) {
            auto typist = start(QCoreApplication::applicationFilePath(),
                                {QLatin1String(kTypistOption), path, files_->filePath(QStringLiteral("typist.ini"))});
            QVERIFY(typist->waitForStarted(5000));
            QByteArray output;
            const auto read = [&] {
                output += typist->readAllStandardOutput();
                return output.contains("copy ");
            };
            QVERIFY2(waitFor(read, 15000), typist->readAllStandardError().constData());
            QTest::qWait(static_cast<int>(random->bounded(2 * kAutosaveMilliseconds)));
            killHard(*typist);
            output += typist->readAllStandardOutput();

            // What was typed, and when.
            QMap<int, qint64> typedAt;
            static const QRegularExpression typedLine(QStringLiteral("^typed (\\d+) (\\d+)$"),
                                                      QRegularExpression::MultilineOption);
            for (auto it = typedLine.globalMatch(QString::fromLatin1(output)); it.hasNext();) {
                const auto match = it.next();
                typedAt.insert(match.captured(1).toInt(), match.captured(2).toLongLong());
            }
            QVERIFY(!typedAt.isEmpty());
            QCOMPARE(fileBytes(path), saved); // the user's file was never written

            // What the next start finds: one readable copy of the case, holding what was typed up to
            // some moment, in order, and losing at most the last interval.
            int kept = 0;
            QString session;
            {
                const RecoveryScan scan(folder(), QStringLiteral("none"));
                QVERIFY(scan.damaged().isEmpty());
                QCOMPARE(scan.entries().size(), std::size_t(1));
                const RecoveryEntry& entry = scan.entries().front();
                QCOMPARE(entry.originalPath, path);
                QCOMPARE(toQt(entry.data->Title), QStringLiteral("Typed"));
                const QList<int> words = wordsOf(toQt(entry.data->Description));
                QVERIFY(!words.isEmpty());
                for (int i = 0; i < words.size(); ++i)
                    QCOMPARE(words[i], i + 1);
                kept = words.size();
                session = entry.session;
            }
            const int typed = typedAt.lastKey();
            QVERIFY(kept <= typed + 1); // the word typed as the kill came may not be printed yet
            const qint64 lost = kept >= typed ? 0 : typedAt.value(typed) - typedAt.value(kept);
            worstLoss = std::max(worstLoss, lost);
            qInfo("round %d: typed %d words, the copy holds %d, lost %lld ms of typing", round + 1, typed, kept, lost);
            QVERIFY2(lost <= kAutosaveMilliseconds + kSlackMilliseconds, qPrintable(QString::number(lost)));

            if (round == 0) {
                // The real program finds the copy and asks; killed while asking, it loses nothing.
                auto program = start(QStringLiteral(CORVANTIX_APP), {});
                QVERIFY(program->waitForStarted(5000));
                const QString endedLock = QDir(folder()).filePath(session + QStringLiteral(".lock"));
                QVERIFY2(waitFor([&] { return lockOwner(endedLock) == program->processId(); }, 15000),
                         "the program did not take up the ended run's copies");
                killHard(*program);

                // This start offers it again, and opening restores exactly the copy.
                openShell();
                prompts->recoveryAnswers = {RecoveryChoice::Open};
                main->show();
                main->offerRecovery();
                QCOMPARE(prompts->recoveryOffers.size(), 1);
                QCOMPARE(prompts->recoveryOffers.first().size(), 1);
                QCOMPARE(prompts->recoveryOffers.first().first().caseName, QDir::toNativeSeparators(path));
                QCOMPARE(main->caseForms().size(), 1);
                TCaseForm* restored = main->caseForms().first();
                QCOMPARE(wordsOf(descriptionField(restored)->toPlainText()).size(), kept);
                QCOMPARE(displayFileName(restored->data().FileName), path);
                QVERIFY(restored->data().Modified);
                // Closed without saving, its copy goes; the file stays as the user saved it.
                prompts->saveAnswers.push_back(SaveChangesAnswer::No);
                main->Close();
                main->autosave().waitForWrites();
                closeShell();
                QCOMPARE(fileBytes(path), saved);
            }
            QDir(folder()).removeRecursively();
        }
        qInfo("%d kills: worst loss %lld ms of typing (autosave every %d ms)", rounds, worstLoss, kAutosaveMilliseconds);
    }

    void aFileOpenInAnotherRunningProgramAsksUntilThatProgramDies()
    {
        const QString path = files_->filePath(QStringLiteral("held.cvx"));
        TCaseData data;
        data.Title = "Held";
        QVERIFY(!saveCaseFile(data, fsPath(path)));
        const QString lockPath = case_lock::lockFileFor(path);

        auto program = start(QStringLiteral(CORVANTIX_APP), {path});
        QVERIFY(program->waitForStarted(5000));
        QVERIFY2(waitFor([&] { return lockOwner(lockPath) == program->processId(); }, 15000),
                 "the program did not lock the file it opened");

        openShell();
        prompts->yesNoAnswer = false;
        QVERIFY(!main->openCaseFile(path));
        QCOMPARE(prompts->questions.size(), 1);
        const QString question = prompts->questions.first();
        QVERIFY2(question.contains(QSysInfo::machineHostName()), qPrintable(question));
        QVERIFY2(question.contains(QFileInfo(lockPath).owner()), qPrintable(question));
        QVERIFY(question.contains(path));

        // The holder dies without letting go: its lock is taken over without a question.
        killHard(*program);
        QVERIFY(QFile::exists(lockPath));
        TCaseForm* form = main->openCaseFile(path);
        QVERIFY(form);
        QCOMPARE(prompts->questions.size(), 1);
        QCOMPARE(lockOwner(lockPath), QCoreApplication::applicationPid());
        QCOMPARE(case_lock::heldBy(form), path);
    }
};

int main(int argc, char** argv)
{
    if (argc == 4 && qstrcmp(argv[1], kTypistOption) == 0)
        return runTypist(argc, argv);
    QApplication app(argc, argv);
    CrashRecoveryTest test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "shell_crash_recovery_test.moc"
