#include "shell/unexpected_errors.h"

#include "shell/prompts.h"

#include <QCoreApplication>

#include <new>

const char* const kOutOfMemoryText = QT_TRANSLATE_NOOP("UnexpectedErrors",
                                                      "The system is out of memory. Use the Save As command to save "
                                                      "your open cases into new files, then restart your computer.");

namespace {

QString unexpectedErrorText()
{
    return QCoreApplication::translate("UnexpectedErrors", "An unexpected error occurred.");
}

} // namespace

void reportUnexpectedError(std::exception_ptr error)
{
    try {
        std::rethrow_exception(error);
    } catch (const std::bad_alloc&) {
        prompts().outOfMemory(QCoreApplication::translate("UnexpectedErrors", kOutOfMemoryText));
    } catch (const std::exception& e) {
        const QString text = QString::fromLocal8Bit(e.what());
        prompts().error(text.isEmpty() ? unexpectedErrorText() : text);
    } catch (...) {
        prompts().error(unexpectedErrorText());
    }
}

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        // Reporting may itself fail when memory is exhausted; the program still goes on.
        try {
            reportUnexpectedError(std::current_exception());
        } catch (...) {
        }
        return false;
    }
}
