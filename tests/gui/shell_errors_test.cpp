// Errors nobody handled: the message the user sees, and the program going on.

#include "shell_fake_prompts.h"

#include "shell/unexpected_errors.h"

#include <QTest>
#include <QTimer>

#include <new>
#include <stdexcept>

namespace {

class ThrowingObject : public QObject {
public:
    std::function<void()> thrower;
    bool event(QEvent* event) override
    {
        if (event->type() == QEvent::User)
            thrower();
        return QObject::event(event);
    }
};

} // namespace

class ErrorsTest : public QObject {
    Q_OBJECT

private slots:
    void outOfMemoryHasItsOwnMessage()
    {
        FakePrompts prompts;
        reportUnexpectedError(std::make_exception_ptr(std::bad_alloc()));
        QCOMPARE(prompts.outOfMemoryMessages,
                 QStringList{QStringLiteral("The system is out of memory. Use the Save As command to save your open "
                                            "cases into new files, then restart your computer.")});
        QVERIFY(prompts.errors.isEmpty());
    }

    void otherErrorsShowTheirOwnText()
    {
        FakePrompts prompts;
        reportUnexpectedError(std::make_exception_ptr(std::runtime_error("disk on fire")));
        reportUnexpectedError(std::make_exception_ptr(42));
        QCOMPARE(prompts.errors, (QStringList{QStringLiteral("disk on fire"),
                                              QStringLiteral("An unexpected error occurred.")}));
    }

    void anEventHandlerThatThrowsDoesNotEndTheProgram()
    {
        FakePrompts prompts;
        ThrowingObject target;
        target.thrower = [] { throw std::bad_alloc(); };
        QCoreApplication::postEvent(&target, new QEvent(QEvent::User));
        QCoreApplication::processEvents();
        target.thrower = [] { throw std::logic_error("broken invariant"); };
        QEvent direct(QEvent::User);
        QCoreApplication::sendEvent(&target, &direct);
        QCOMPARE(prompts.outOfMemoryMessages.size(), 1);
        QCOMPARE(prompts.errors, QStringList{QStringLiteral("broken invariant")});
    }
};

int main(int argc, char* argv[])
{
    TApplication app(argc, argv);
    ErrorsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "shell_errors_test.moc"
