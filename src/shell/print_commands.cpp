// File > Export to PDF, Print Preview and Print: the case report on paper, with the workshops'
// portfolio diagrams.

#include "shell/main_form.h"

#include "model/case_data.h"
#include "report/case_report.h"
#include "shell/background_export.h"
#include "shell/case_form.h"
#include "shell/prompts.h"
#include "shell/report_printing.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QStatusBar>

QString TMainForm::askReportPath(TCaseForm& form, const QString& title, const QString& filter, const QString& suffix)
{
    QString proposed;
    // A new case is named "untitled" until it is first saved.
    if (form.data().FileName != "untitled") {
        const QFileInfo caseFile(displayFileName(form.data().FileName));
        proposed = caseFile.dir().filePath(caseFile.completeBaseName() + QLatin1Char('.') + suffix);
    }
    const QString path = prompts().saveFileName(FileDialogRequest{title, filter, suffix, proposed, 0});
    if (!path.isEmpty()) {
        // What the user sees in the windows is what the report shows.
        broadcastCommit();
    }
    return path;
}

void TMainForm::ExportPdf()
{
    TCaseForm* form = currentCase();
    if (!form)
        return;
    const QString path = askReportPath(*form, tr("Export to PDF"), tr("PDF files (*.pdf)"),
                                       QStringLiteral("pdf"));
    if (path.isEmpty())
        return;
    const std::string target = QFile::encodeName(path).toStdString();
    const QPageSize paper = defaultPaper();
    if (runReportJob(form->data(), tr("The PDF could not be written.\n\n%1"),
                     [&](const TCaseData& copy, const ReportOptions& options) {
                         return exportCasePdf(copy, target, options, paper);
                     }))
        statusBar()->showMessage(tr("Report written to %1").arg(QDir::toNativeSeparators(path)));
}

void TMainForm::PrintPreview()
{
    TCaseForm* form = currentCase();
    if (!form)
        return;
    broadcastCommit();
    QPrinter printer(QPrinter::HighResolution);
    QPrintPreviewDialog preview(&printer, this);
    preview.setWindowTitle(tr("Print Preview"));
    preview.resize(size() * 4 / 5);
    // Laid out again whenever the paper changes; the preview holds the window's thread meanwhile,
    // so the case is read where it is.
    connect(&preview, &QPrintPreviewDialog::paintRequested, this, [form](QPrinter* target) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        if (auto error = printCaseReport(form->data(), localReportOptions(), *target))
            prompts().error(tr("The report could not be printed.\n\n%1").arg(QString::fromStdString(*error)));
        QApplication::restoreOverrideCursor();
    });
    preview.exec();
}

void TMainForm::Print()
{
    TCaseForm* form = currentCase();
    if (!form)
        return;
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    broadcastCommit();
    runReportJob(form->data(), tr("The report could not be printed.\n\n%1"),
                 [&](const TCaseData& copy, const ReportOptions& options) {
                     return printCaseReport(copy, options, printer);
                 });
}
