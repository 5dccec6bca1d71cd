// The report as PDF and on paper: "corvantix --export-pdf" without a display, read back with a PDF
// reader's own tools (poppler-utils), and the File menu's Print Preview, Print and Export to PDF.

#include "shell_session.h"

#include "model/case_data.h"
#include "model/case_file.h"
#include "report/case_report.h"
#include "shell/case_form.h"
#include "shell/main_form.h"
#include "shell/print_progress_form.h"
#include "shell/report_document.h"
#include "widgets/text_convert.h"

#include <QApplication>
#include <QFile>
#include <QMenu>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>
#include <QTextBlock>
#include <QTextTable>
#include <QTimer>

namespace {

struct Run {
    int exitCode = -1;
    QString out;
    QString err;
};

// Runs a program to its end; "corvantix" runs without any display.
Run run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QString::fromLatin1(name));
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit)
        return {};
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

// Writes `data` as a case file and its report as a PDF through the program; empty on failure.
QString exportWithProgram(const QString& casePath, const QString& pdfPath)
{
    const Run result = run(QStringLiteral(CORVANTIX_APP), {QStringLiteral("--export-pdf"), casePath, pdfPath});
    return result.exitCode == 0 ? pdfPath : QString();
}

// The PDF's text in drawing order, without any white space: lines wrap names where the layout
// pleases.
QString textOf(const QString& pdf)
{
    Run result = run(QStringLiteral("pdftotext"), {QStringLiteral("-raw"), QStringLiteral("-enc"),
                                                          QStringLiteral("UTF-8"), pdf, QStringLiteral("-")});
    return result.out.remove(QRegularExpression(QStringLiteral("\\s")));
}

int picturesIn(const QString& pdf)
{
    const Run result = run(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf});
    int pictures = 0;
    for (const QString& line : result.out.split(QLatin1Char('\n')))
        pictures += line.simplified().split(QLatin1Char(' ')).value(2) == QLatin1String("image");
    return pictures;
}

int pagesOf(const QString& pdf)
{
    const Run result = run(QStringLiteral("pdfinfo"), {pdf});
    const auto match = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(result.out);
    return result.exitCode == 0 && match.hasMatch() ? match.captured(1).toInt() : -1;
}

// Fails with the first of `texts` that is not found after the ones before it.
QString firstMissingInOrder(const QString& text, const QStringList& texts)
{
    qsizetype at = 0;
    for (QString wanted : texts) {
        wanted.remove(QRegularExpression(QStringLiteral("\\s")));
        const qsizetype found = text.indexOf(wanted, at);
        if (found < 0)
            return wanted;
        at = found + wanted.size();
    }
    return {};
}

// Every chapter heading and the name of every entry the report lists, in report order.
QStringList headingsAndNames(const TCaseData& data)
{
    QStringList texts{toQt(data.Title), QStringLiteral("1. Picture Your Future")};
    const auto add = [&texts](const auto& list) {
        for (const auto& entry : list)
            texts.append(toQt(entry.Name));
    };
    add(data.KeyObjectives);
    texts.append(QStringLiteral("2. Describe the Environment"));
    for (const TChangeArea& area : data.ChangeAreas) {
        texts.append(toQt(area.Name));
        add(area.Changes);
    }
    texts.append(QStringLiteral("3. Judge Your Competitors"));
    add(data.Competitors);
    texts.append(QStringLiteral("4. Envision Your Customers"));
    add(data.Customers);
    texts.append(QStringLiteral("5. Design Your Services/Products"));
    add(data.Products);
    texts.append(QStringLiteral("6. Build Your Capabilities"));
    add(data.Capabilities);
    texts.append(QStringLiteral("7. Plan Your Alliances/Investment"));
    texts.append(QStringLiteral("8. Define Your Market Groups"));
    add(data.MarketGroups);
    texts.append(QStringLiteral("9. Business Plan"));
    texts.append(QStringLiteral("10. Action Page"));
    for (const TAction& action : data.Actions)
        texts.append(toQt(action.What));
    return texts;
}

// Calls `act` with the modal dialog of type Dialog as soon as one is open.
template <class Dialog, class Act>
void whenOpen(QObject* context, Act act)
{
    auto* poll = new QTimer(context);
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, context, [poll, act] {
        if (auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget())) {
            poll->deleteLater();
            poll->stop();
            act(dialog);
        }
    });
    poll->start();
}

} // namespace

class PdfTest : public QObject, private ShellSession {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        for (const char* tool : {"pdftotext", "pdfimages", "pdfinfo"})
            if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
                QFAIL("poppler-utils is missing: make deps installs it");
    }

    void init() { openShell(); }
    // Opens the File menu and presses the underlined letter of one of its items.
    void chooseFromFileMenu(Qt::Key letter)
    {
        QMenu* menu = main->fileMenu();
        menu->popup(main->mapToGlobal(QPoint(0, 0)));
        QTRY_VERIFY(menu->isVisible());
        QTest::keyClick(menu, letter);
    }
    void cleanup() { closeShell(); }

    void exampleCaseHasEveryHeadingAndNameInOrderAndItsFiveDiagrams()
    {
        const QString pdf = exportWithProgram(QStringLiteral(CORVANTIX_EXAMPLE_CASE), dir->filePath(QStringLiteral("demo.pdf")));
        QVERIFY(!pdf.isEmpty());
        TCaseData data;
        QVERIFY(!loadCaseFile(CORVANTIX_EXAMPLE_CASE, data));
        const QString missing = firstMissingInOrder(textOf(pdf), headingsAndNames(data));
        QVERIFY2(missing.isEmpty(), qPrintable(QStringLiteral("not found in order: ") + missing));
        QCOMPARE(picturesIn(pdf), 5);
    }

    // Every table of the report has single lines on the left and right of every cell.
    void everyCellKeepsItsSideBorders()
    {
        TCaseData data;
        QVERIFY(!loadCaseFile(CORVANTIX_EXAMPLE_CASE, data));
        TextDocumentReportWriter writer;
        writeCaseReport(data, ReportOptions{}, writer);
        const ReportDocument report = writer.take();
        int cells = 0;
        for (QTextBlock block = report.body->begin(); block.isValid(); block = block.next()) {
            auto* table = qobject_cast<QTextTable*>(QTextCursor(block).currentTable());
            if (!table)
                continue;
            const QTextTableCellFormat format = table->cellAt(block.position()).format().toTableCellFormat();
            QVERIFY2(format.leftBorder() > 0 && format.rightBorder() > 0, qPrintable(block.text()));
            ++cells;
        }
        QVERIFY(cells > 500);
    }

    void hostileTextsComeOutLiterally()
    {
        const QStringList hostile{QStringLiteral("{\\rtf1\\b Bold} \\par"), QStringLiteral("<b>not bold</b> &amp; <br/>"),
                                  QStringLiteral("C:\\new\\{folder}"), QStringLiteral("100% <script>x</script>")};
        TCaseData data;
        data.Title = toModel(hostile[0]);
        data.Customers.Add().Name = toModel(hostile[1]);
        data.Products.Add().Name = toModel(hostile[2]);
        data.Actions.Add().What = toModel(hostile[3]);
        const QString casePath = dir->filePath(QStringLiteral("hostile.cvx"));
        QVERIFY(!saveCaseFile(data, QFile::encodeName(casePath).toStdString()));
        const QString pdf = exportWithProgram(casePath, dir->filePath(QStringLiteral("hostile.pdf")));
        QVERIFY(!pdf.isEmpty());
        const QString missing = firstMissingInOrder(textOf(pdf), hostile);
        QVERIFY2(missing.isEmpty(), qPrintable(QStringLiteral("not found in order: ") + missing));
    }

    void caseWithoutEntriesGivesTitlePageAndTenChapterPages()
    {
        const QString casePath = dir->filePath(QStringLiteral("empty.cvx"));
        QVERIFY(!saveCaseFile(TCaseData{}, QFile::encodeName(casePath).toStdString()));
        const QString pdf = exportWithProgram(casePath, dir->filePath(QStringLiteral("empty.pdf")));
        QVERIFY(!pdf.isEmpty());
        QCOMPARE(pagesOf(pdf), 11);
        QCOMPARE(picturesIn(pdf), 0);
        QVERIFY(textOf(pdf).contains(QStringLiteral("10.ActionPage")));
    }

    // Ctrl+P asks for the printer; File > Print Preview shows every page; File > Export to PDF
    // writes the file with the progress window.
    void fileMenuPrintsPreviewsAndExports()
    {
        main->show();
        main->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(main.get()));
        TCaseForm* form = main->openCaseFile(QStringLiteral(CORVANTIX_EXAMPLE_CASE));
        QVERIFY(form);

        bool printDialogShown = false;
        whenOpen<QPrintDialog>(this, [&](QPrintDialog* dialog) {
            printDialogShown = true;
            dialog->reject();
        });
        QTest::keyClick(main.get(), Qt::Key_P, Qt::ControlModifier);
        QVERIFY(printDialogShown);

        int previewPages = 0;
        whenOpen<QPrintPreviewDialog>(this, [&](QPrintPreviewDialog* preview) {
            previewPages = preview->findChild<QPrintPreviewWidget*>()->pageCount();
            preview->reject();
        });
        chooseFromFileMenu(Qt::Key_V);
        QTRY_VERIFY(previewPages > 11);

        auto* progress = new TPrintProgressForm(main.get());
        TPrintProgressForm::setShared(progress);
        QList<int> sections;
        connect(progress, &TPrintProgressForm::sectionShown, this, [&](int section) { sections.append(section); });
        const QString path = dir->filePath(QStringLiteral("menu.pdf"));
        prompts->savePaths.push_back(path);
        chooseFromFileMenu(Qt::Key_D);
        QTRY_COMPARE(sections.size(), 11);
        QTRY_VERIFY(!progress->isVisible());
        QCOMPARE(prompts->saveRequests.back().filter, QStringLiteral("PDF files (*.pdf)"));
        QVERIFY(prompts->errors.isEmpty());
        QCOMPARE(picturesIn(path), 5);
        form->data().Modified = false;
    }
};

QTEST_MAIN(PdfTest)
#include "shell_pdf_test.moc"
