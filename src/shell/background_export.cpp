#include "shell/background_export.h"

#include "model/case_data.h"
#include "model/case_file.h"
#include "shell/print_progress_form.h"

#include <QApplication>
#include <QEventLoop>

#include <exception>
#include <new>
#include <thread>

namespace {

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

std::optional<std::string> exportCaseCopy(const TCaseData& data, const CaseExportJob& job)
{
    // The encoding is one pass into one buffer; decoding it, the expensive part, is the worker's.
    const std::string encoded = encodeCase(data);

    ExportFeedback feedback;
    QEventLoop loop;
    std::optional<std::string> result;
    // Progress and the end are posted to the loop, whose pending calls go with it.
    const auto progress = [&loop, &feedback](int section) {
        QMetaObject::invokeMethod(&loop, [&feedback, section] { feedback.section(section); }, Qt::QueuedConnection);
    };
    std::thread worker([&] {
        try {
            TCaseData copy;
            if (auto error = decodeCase(encoded, copy))
                result = "the case could not be copied for the export: " + error->message;
            else
                result = job(copy, progress);
        } catch (const std::bad_alloc&) {
            result = "not enough memory for the export";
        } catch (const std::exception& error) {
            result = error.what();
        }
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec();
    // The loop also ends when the application quits; the worker still finishes its file first.
    worker.join();
    return result;
}
