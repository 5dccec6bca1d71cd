#include "widgets/feedback.h"

#include <QApplication>
#include <QtDebug>

namespace feedback {

namespace {

std::function<void()>& refusedHandler()
{
    static std::function<void()> handler;
    return handler;
}

std::function<void(const QString&)>& errorHandler()
{
    static std::function<void(const QString&)> handler;
    return handler;
}

} // namespace

void textRefused()
{
    if (refusedHandler())
        refusedHandler()();
    else
        QApplication::beep();
}

void setTextRefusedHandler(std::function<void()> handler)
{
    refusedHandler() = std::move(handler);
}

void error(const QString& message)
{
    if (errorHandler())
        errorHandler()(message);
    else
        qWarning("%s", qPrintable(message));
}

void setErrorHandler(std::function<void(const QString&)> handler)
{
    errorHandler() = std::move(handler);
}

} // namespace feedback
