// Undo: the snapshot stack, every keystroke as one step, what Undo restores and what it leaves, the
// refresh of every window, and the state of the Undo command.

#include "shell_session.h"

#include "model/case_data.h"
#include "model/case_file.h"
#include "shell/autosave.h"
#include "shell/case_form.h"
#include "widgets/cp1252_text_edit.h"
#include "shell/main_form.h"
#include "shell_test_workshop.h"
#include "shell/protocol_state.h"
#include "model/undo_stack.h"
#include "shell/workshop_catalog.h"
#include "widgets/copy_text_source.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMimeData>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>

namespace {

// A grid stand-in whose cell editor can be open.
class EditingGrid : public QWidget, public CopyTextSource {
public:
    using QWidget::QWidget;
    QString copyText() const override { return QStringLiteral("grid\r\n"); }
    bool cellEditorOpen() const override { return editorOpen; }
    bool editorOpen = false;
};

// Types text key by key, as a keyboard (or input method) would, whatever the characters are.
void typeText(QWidget* widget, const QString& text)
{
    for (QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &release);
    }
}

} // namespace

class UndoTest : public QObject, private ShellSession {
    Q_OBJECT

private slots:
    void init()
    {
        QVERIFY(openActiveShell());
    }

    void cleanup() { closeShell(); }

    void stackKeepsTheNewestTenSnapshots()
    {
        TCaseData data;
        UndoStack stack;
        for (int i = 1; i <= 11; ++i) {
            stack.push(data);
            data.Title = std::to_string(i);
        }
        QCOMPARE(stack.count(), UndoStack::kMaxSnapshots);
        for (int expected = 10; expected >= 1; --expected) {
            QVERIFY(stack.restore(data));
            QCOMPARE(data.Title, std::to_string(expected));
        }
        // The snapshot taken before the first edit was dropped.
        QVERIFY(!stack.restore(data));
        QCOMPARE(data.Title, std::string("1"));
    }

    void elevenKeystrokesAndElevenUndos()
    {
        TCaseForm* form = main->New();
        titleField(form)->setFocus();
        QTest::keyClicks(titleField(form), QStringLiteral("abcdefghijk"));
        QCOMPARE(form->data().Title, std::string("abcdefghijk"));
        QCOMPARE(form->undoCount(), 10);

        for (int i = 0; i < 10; ++i)
            main->Undo();
        // As after the first keystroke, not before it.
        QCOMPARE(form->data().Title, std::string("a"));
        QCOMPARE(titleField(form)->text(), QStringLiteral("a"));
        QVERIFY(!main->actions().editUndo->isEnabled());
        QVERIFY(!main->actions().UndoBtn->isEnabled());

        main->Undo(); // the eleventh changes nothing
        QCOMPARE(form->data().Title, std::string("a"));
        QVERIFY(!main->actions().editUndo->isEnabled());
    }

    void undoLeavesFileNameAndModified()
    {
        TCaseForm* form = main->New();
        form->data().FileName = "/somewhere/plan.cvx";
        form->data().Modified = false;
        descriptionField(form)->setFocus();
        QTest::keyClicks(descriptionField(form), QStringLiteral("xy"));
        QVERIFY(form->data().Modified);
        QCOMPARE(form->data().Description, std::string("xy"));
        main->Undo();
        main->Undo();
        QCOMPARE(form->data().Description, std::string());
        QCOMPARE(descriptionField(form)->toPlainText(), QString());
        QCOMPARE(form->data().FileName, std::string("/somewhere/plan.cvx"));
        QVERIFY(form->data().Modified);
    }

    void anUndoAfterSaveIsAnUnsavedChange()
    {
        const QString path = dir->filePath(QStringLiteral("undone.cvx"));
        TCaseData saved;
        saved.Title = "Plan";
        QVERIFY(!saveCaseFile(saved, QFile::encodeName(path).toStdString()));
        TCaseForm* form = main->openCaseFile(path);
        QVERIFY(form);
        titleField(form)->setFocus();
        titleField(form)->end(false);
        QTest::keyClicks(titleField(form), QStringLiteral(" B"));
        QTest::keyClick(titleField(form), Qt::Key_S, Qt::ControlModifier);
        QVERIFY(!form->data().Modified);
        QTest::keyClick(titleField(form), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(titleField(form)->text(), QStringLiteral("Plan "));
        QVERIFY(form->data().Modified);

        // Autosave keeps it, and closing asks; Yes writes what Undo restored.
        QCOMPARE(main->autosave().saveChangedCases(), 1);
        main->autosave().waitForWrites();
        prompts->saveAnswers.push_back(SaveChangesAnswer::Yes);
        main->Close();
        QCOMPARE(prompts->questions, QStringList{QStringLiteral("Save changes to '%1'?").arg(path)});
        TCaseData reread;
        QVERIFY(!loadCaseFile(QFile::encodeName(path).toStdString(), reread));
        QCOMPARE(reread.Title, std::string("Plan "));
    }

    void ctrlZInATextFieldIsTheCaseUndo()
    {
        TCaseForm* form = main->New();
        titleField(form)->setFocus();
        QTest::keyClicks(titleField(form), QStringLiteral("ab"));
        QTest::keyClick(titleField(form), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(form->data().Title, std::string("a"));
        QCOMPARE(form->undoCount(), 1);
    }

    void redoFromTheKeyboardBringsBackWhatUndoTookBack()
    {
        TCaseForm* form = main->New();
        auto* workshop = dynamic_cast<TestWorkshopForm*>(main->OpenWorkshop(workshop_id::Future));
        main->mdiArea()->setActiveSubWindow(form->subWindow());
        titleField(form)->setFocus();
        QTest::keyClicks(titleField(form), QStringLiteral("ab"));
        const std::string edited = encodeCase(form->data());
        QVERIFY(!main->actions().editRedo->isEnabled());

        QTest::keyClick(titleField(form), Qt::Key_Z, Qt::ControlModifier);
        QTest::keyClick(titleField(form), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(titleField(form)->text(), QString());
        QVERIFY(main->actions().editRedo->isEnabled());
        QVERIFY(main->actions().RedoBtn->isEnabled());
        form->data().Modified = false;
        const int refreshes = workshop->refreshCount();

        QTest::keyClick(titleField(form), Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(titleField(form)->text(), QStringLiteral("a"));
        QVERIFY(form->data().Modified);
        QCOMPARE(workshop->refreshCount(), refreshes + 1);
        QTest::keyClick(titleField(form), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(encodeCase(form->data()), edited);
        QCOMPARE(titleField(form)->text(), QStringLiteral("ab"));
        QVERIFY(!main->actions().editRedo->isEnabled());

        // A new edit after an Undo leaves nothing to redo.
        QTest::keyClick(titleField(form), Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(main->actions().editRedo->isEnabled());
        QTest::keyClicks(titleField(form), QStringLiteral("x"));
        QVERIFY(!main->actions().editRedo->isEnabled());
        QVERIFY(!main->actions().RedoBtn->isEnabled());
        QTest::keyClick(titleField(form), Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(form->data().Title, std::string("ax"));
    }

    void undoRefreshesTheWindowsOfEveryCase()
    {
        TCaseForm* first = main->New();
        auto* firstWorkshop = dynamic_cast<TestWorkshopForm*>(main->OpenWorkshop(workshop_id::Future));
        main->New();
        auto* secondWorkshop = dynamic_cast<TestWorkshopForm*>(main->OpenWorkshop(workshop_id::Future));
        main->mdiArea()->setActiveSubWindow(first->subWindow());
        titleField(first)->setFocus();
        QTest::keyClicks(titleField(first), QStringLiteral("q"));
        const int firstBefore = firstWorkshop->refreshCount();
        const int secondBefore = secondWorkshop->refreshCount();
        main->Undo();
        QCOMPARE(firstWorkshop->refreshCount(), firstBefore + 1);
        QCOMPARE(secondWorkshop->refreshCount(), secondBefore + 1);
    }

    void undoWithEmptyStackOnlyUpdatesTheCommand()
    {
        TCaseForm* first = main->New();
        titleField(first)->setFocus();
        QTest::keyClicks(titleField(first), QStringLiteral("z"));
        TCaseForm* second = main->New();
        // The command still shows the state of the case that last pushed.
        QVERIFY(main->actions().editUndo->isEnabled());
        auto* workshop = dynamic_cast<TestWorkshopForm*>(main->OpenWorkshop(workshop_id::Future));
        const int before = workshop->refreshCount();
        main->Undo();
        QCOMPARE(workshop->refreshCount(), before);
        QVERIFY(!main->actions().editUndo->isEnabled());
        QCOMPARE(first->data().Title, std::string("z"));
        Q_UNUSED(second);
    }

    void undoBeepsWhileACellEditorIsOpen()
    {
        TCaseForm* owner = main->New();
        titleField(owner)->setFocus();
        QTest::keyClicks(titleField(owner), QStringLiteral("k"));
        auto* workshop = main->OpenWorkshop(workshop_id::Future);
        auto* grid = new EditingGrid(workshop);
        auto* editor = new QLineEdit(grid);
        grid->editorOpen = true;
        grid->show();
        editor->show();
        editor->setFocus();
        QCOMPARE(main->focusedControl(), editor);
        main->Undo();
        QCOMPARE(prompts->beeps, 1);
        QCOMPARE(owner->data().Title, std::string("k"));
        grid->editorOpen = false;
        main->Undo();
        QCOMPARE(owner->data().Title, std::string());
    }

    void charactersOutsideTheCodePageAreRefused()
    {
        TCaseForm* form = main->New();
        titleField(form)->setFocus();
        typeText(titleField(form), QStringLiteral("Caf\u00e9 \u20ac"));
        QCOMPARE(titleField(form)->text(), QStringLiteral("Caf\u00e9 \u20ac"));
        const int steps = form->undoCount();
        typeText(titleField(form), QStringLiteral("\u0416"));
        QCOMPARE(titleField(form)->text(), QStringLiteral("Caf\u00e9 \u20ac"));
        QCOMPARE(form->undoCount(), steps);
        QCOMPARE(form->data().Title, std::string("Caf\xe9 \x80"));
        QCOMPARE(prompts->beeps, 1);
        QVERIFY(!main->statusBar()->currentMessage().isEmpty());

        descriptionField(form)->setFocus();
        typeText(descriptionField(form), QStringLiteral("\u0416"));
        QCOMPARE(prompts->beeps, 2);
        QCOMPARE(descriptionField(form)->toPlainText(), QString());

        QApplication::clipboard()->setText(QStringLiteral("line \u4e2d"));
        main->Paste();
        QCOMPARE(prompts->beeps, 3);
        QCOMPARE(descriptionField(form)->toPlainText(), QString());

        QApplication::clipboard()->setText(QStringLiteral("one\ntwo"));
        main->Paste();
        QCOMPARE(form->data().Description, std::string("one\r\ntwo"));
    }

private:
};

QTEST_MAIN(UndoTest)
#include "shell_undo_test.moc"
