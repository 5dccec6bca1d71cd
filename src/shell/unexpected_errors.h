#pragma once

// Errors nobody handled reach the user in a message box and the program goes on running.

#include <QApplication>

#include <exception>

extern const char* const kOutOfMemoryText;

// Shows the out-of-memory message for std::bad_alloc and the error's own text for anything else.
void reportUnexpectedError(std::exception_ptr error);

// The application object: catches what escapes an event handler, so one failed command does not
// end the program with the user's open cases in it.
class TApplication : public QApplication {
    Q_OBJECT
public:
    TApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};
