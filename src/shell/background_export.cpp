#include "shell/background_export.h"

#include "model/case_data.h"
#include "model/case_file.h"
#include "report/case_report.h"
#include "shell/print_progress_form.h"
#include "shell/prompts.h"
#include "widgets/text_convert.h"

#include <QApplication>
#include <QEventLoop>
#include <QFile>
#include <QLocale>
#include <QThread>

#include <exception>
#include <memory>
#include <new>
#include <vector>

namespace {

// A reason the core gives: the paths and system messages in it are in the file system's encoding.
QString fileSystemText(const std::string& text)
{
    return QFile::decodeName(QByteArray::fromStdString(text));
}

// Busy cursor and modal progress window for the duration of an export, restored on every way out.
class ExportFeedback {
public:
    ExportFeedback() : progress_(TPrintProgressForm::shared())
    {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        progress_.setWindowModality(Qt::ApplicationModal);
    }
    ~ExportFeedback()
    {
        progress_.hide();
        progress_.setWindowModality(Qt::NonModal);
        QApplication::restoreOverrideCursor();
    }
    ExportFeedback(const ExportFeedback&) = delete;
    ExportFeedback& operator=(const ExportFeedback&) = delete;

    void section(int n)
    {
        if (!progress_.isVisible())
            progress_.show();
        progress_.setSection(n);
    }

private:
    TPrintProgressForm& progress_;
};

} // namespace

ReportOptions localReportOptions()
{
    ReportOptions options;
    const QString separator = QLocale().groupSeparator();
    bool lossless = true;
    options.thousandsSeparator = toModel(separator, &lossless);
    // A separator the code page lacks (some locales use a narrow no-break space) becomes the
    // ordinary no-break space, or a comma.
    if (!lossless)
        options.thousandsSeparator =
            separator.size() == 1 && separator.at(0).isSpace() ? std::string("\xA0") : std::string(",");
    return options;
}

bool runReportJob(const TCaseData& data, const QString& failureText, const ReportJob& job)
{
    // The encoding is one pass into one buffer; decoding it, the expensive part, is the worker's.
    const std::string encoded = encodeCase(data);
    std::vector<std::string> warnings;
    std::optional<QString> failure;
    {
        ExportFeedback feedback;
        QEventLoop loop;
        ReportOptions options = localReportOptions();
        options.warn = [&warnings](const std::string& message) { warnings.push_back(message); };
        // Progress and the end are posted to the loop, whose pending calls go with it.
        options.progress = [&loop, &feedback](int section) {
            QMetaObject::invokeMethod(&loop, [&feedback, section] { feedback.section(section); }, Qt::QueuedConnection);
        };
        // A thread of Qt's own: the text layout and the PDF writer use timers, which need one.
        std::unique_ptr<QThread> worker(QThread::create([&] {
            try {
                TCaseData copy;
                if (auto error = decodeCase(encoded, copy))
                    failure = QCoreApplication::translate("BackgroundExport",
                                                          "the case could not be copied for the export: %1")
                                  .arg(fileSystemText(error->message));
                else if (auto reason = job(copy, options))
                    failure = fileSystemText(*reason);
            } catch (const std::bad_alloc&) {
                failure = QCoreApplication::translate("BackgroundExport", "not enough memory for the export");
            } catch (const std::exception& error) {
                failure = fileSystemText(error.what());
            }
            QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
        }));
        worker->start();
        loop.exec();
        // The loop also ends when the application quits; the worker still finishes its file first.
        worker->wait();
    }
    for (const std::string& warning : warnings)
        prompts().warning(toQt(warning));
    if (failure)
        prompts().error(failureText.arg(*failure));
    return !failure;
}
