// The "Add/Modify Item?" dialog and the add-or-rename protocol of naming combo boxes.

#include "grid_input.h"
#include "shell_fake_prompts.h"

#include "model/case_data.h"
#include "model/case_edit.h"
#include "shell/add_or_rename.h"
#include "shell/dlg_add_mod.h"
#include "shell/protocol_state.h"
#include "widgets/text_convert.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

namespace {

// A model list of names in a case with its undo stack, as a workshop would keep it.
struct NameList {
    explicit NameList(QStringList initial) : names(std::move(initial)) { data.Modified = false; }

    QStringList names;
    TCaseData data;
    UndoStack undo;
    CaseEdit edit{data, undo};
    // Whether the updating switch of the window of `box` was on while the caller's callbacks ran.
    QList<bool> updatingInCallbacks;
    const QWidget* box = nullptr;

    NamedListChange change()
    {
        return {[this](std::string_view name) {
                    updatingInCallbacks.append(protocol::updating(box));
                    names.append(toQt(name));
                },
                [this](int index, std::string_view name) {
                    updatingInCallbacks.append(protocol::updating(box));
                    names[index] = toQt(name);
                }};
    }
    int snapshots() const { return undo.count(); }
};

TypedNameResult commit(QComboBox& box, int current, NameList& list)
{
    return commitTypedName(box, current, list.edit, promptQuestions(), list.change());
}

void fill(QComboBox& box, const QStringList& names)
{
    box.setEditable(true);
    box.setInsertPolicy(QComboBox::NoInsert);
    box.addItems(names);
}

// Answers the real dialog once it is up: picks a choice (or none) and presses a key.
void answerDialog(TDlgAddMod& dialog, QRadioButton* choose, Qt::Key key, bool* renameWasEnabled = nullptr,
                  bool* addWasChecked = nullptr)
{
    QTimer::singleShot(0, &dialog, [=, &dialog] {
        QTRY_VERIFY(dialog.isVisible());
        if (renameWasEnabled)
            *renameWasEnabled = child<QRadioButton>(&dialog, "rdMod")->isEnabled();
        if (addWasChecked)
            *addWasChecked = child<QRadioButton>(&dialog, "rdAdd")->isChecked();
        if (choose)
            choose->click();
        QTest::keyClick(&dialog, key);
    });
}

} // namespace

class AddModTest : public QObject {
    Q_OBJECT

private slots:
    void dialogAlwaysProposesAdding()
    {
        TDlgAddMod dialog;
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Add/Modify Item?"));
        QCOMPARE(child<QRadioButton>(&dialog, "rdAdd")->text(), QStringLiteral("&Add a new element with this name"));
        QCOMPARE(child<QRadioButton>(&dialog, "rdMod")->text(),
                 QStringLiteral("&Modify the name of the current element to the text typed"));

        answerDialog(dialog, child<QRadioButton>(&dialog, "rdMod"), Qt::Key_Return);
        QCOMPARE(dialog.ask(true), AddModAnswer::Rename);

        bool addChecked = false;
        answerDialog(dialog, nullptr, Qt::Key_Return, nullptr, &addChecked);
        QCOMPARE(dialog.ask(true), AddModAnswer::Add);
        QVERIFY(addChecked);
    }

    void withoutCurrentEntryRenameIsUnavailable()
    {
        TDlgAddMod dialog;
        bool renameEnabled = true;
        answerDialog(dialog, child<QRadioButton>(&dialog, "rdMod"), Qt::Key_Return, &renameEnabled);
        QCOMPARE(dialog.ask(false), AddModAnswer::Add);
        QVERIFY(!renameEnabled);
    }

    void escapeCancels()
    {
        TDlgAddMod dialog;
        answerDialog(dialog, child<QRadioButton>(&dialog, "rdMod"), Qt::Key_Escape);
        QCOMPARE(dialog.ask(true), AddModAnswer::Cancelled);
    }

    void existingNameInOtherLetterCaseIsSelectedWithoutAQuestion()
    {
        FakePrompts prompts;
        QComboBox box;
        fill(box, {QStringLiteral("Culture"), QStringLiteral("Image")});
        NameList list{{QStringLiteral("Culture"), QStringLiteral("Image")}};
        box.setEditText(QStringLiteral("iMAGE"));
        const auto result = commit(box, 0, list);
        QCOMPARE(result.outcome, TypedNameResult::Outcome::Selected);
        QCOMPARE(result.index, 1);
        QCOMPARE(box.currentIndex(), 1);
        QVERIFY(prompts.addModAsked.isEmpty());
        QCOMPARE(list.snapshots(), 0);
    }

    void emptyTextSelectsNothing()
    {
        FakePrompts prompts;
        QComboBox box;
        fill(box, {QStringLiteral("Culture")});
        NameList list{{QStringLiteral("Culture")}};
        box.setEditText(QString());
        const auto result = commit(box, 0, list);
        QCOMPARE(result.outcome, TypedNameResult::Outcome::Selected);
        QCOMPARE(result.index, -1);
        QVERIFY(prompts.addModAsked.isEmpty());
    }

    void addingAppendsAfterASnapshot()
    {
        FakePrompts prompts;
        prompts.addModAnswers.push_back(AddModAnswer::Add);
        QComboBox box;
        fill(box, {QStringLiteral("Culture")});
        NameList list{{QStringLiteral("Culture")}};
        int handlerCalls = 0;
        list.box = &box;
        prompts.watched = &box;
        connect(&box, &QComboBox::currentIndexChanged, this, [&handlerCalls, &box] {
            if (!protocol::updating(&box))
                ++handlerCalls;
        });
        box.setEditText(QStringLiteral("Speed"));
        const auto result = commit(box, -1, list);
        QCOMPARE(result.outcome, TypedNameResult::Outcome::Added);
        QVERIFY(result.changed());
        QCOMPARE(result.index, 1);
        QCOMPARE(prompts.addModAsked, QList<bool>{false});
        QCOMPARE(list.names, (QStringList{QStringLiteral("Culture"), QStringLiteral("Speed")}));
        QCOMPARE(list.snapshots(), 1);
        QCOMPARE(box.count(), 2);
        QCOMPARE(box.currentIndex(), 1);
        QCOMPARE(handlerCalls, 0);
        QVERIFY(list.data.Modified);
        // The question and the caller's change run with the updating switch off, so a caller that
        // starts an edit or commits a grid there is not silenced.
        QCOMPARE(prompts.updatingWhenAsked, QList<bool>{false});
        QCOMPARE(list.updatingInCallbacks, QList<bool>{false});
    }

    void renamingChangesTheCurrentEntry()
    {
        FakePrompts prompts;
        prompts.addModAnswers.push_back(AddModAnswer::Rename);
        QComboBox box;
        fill(box, {QStringLiteral("Culture"), QStringLiteral("Image")});
        box.setCurrentIndex(1);
        NameList list{{QStringLiteral("Culture"), QStringLiteral("Image")}};
        box.setEditText(QStringLiteral("Reputation"));
        const auto result = commit(box, 1, list);
        QCOMPARE(result.outcome, TypedNameResult::Outcome::Renamed);
        QCOMPARE(prompts.addModAsked, QList<bool>{true});
        QCOMPARE(list.names, (QStringList{QStringLiteral("Culture"), QStringLiteral("Reputation")}));
        QCOMPARE(box.itemText(1), QStringLiteral("Reputation"));
        QCOMPARE(box.currentIndex(), 1);
        QCOMPARE(list.snapshots(), 1);
    }

    void cancellingChangesNothingAndReselects()
    {
        FakePrompts prompts;
        prompts.addModAnswers.push_back(AddModAnswer::Cancelled);
        QComboBox box;
        fill(box, {QStringLiteral("Culture"), QStringLiteral("Image")});
        box.setCurrentIndex(0);
        NameList list{{QStringLiteral("Culture"), QStringLiteral("Image")}};
        box.setEditText(QStringLiteral("Other"));
        const auto result = commit(box, 0, list);
        QCOMPARE(result.outcome, TypedNameResult::Outcome::Cancelled);
        QVERIFY(!result.changed());
        QCOMPARE(list.names, (QStringList{QStringLiteral("Culture"), QStringLiteral("Image")}));
        QCOMPARE(list.snapshots(), 0);
        QCOMPARE(box.count(), 2);
        QCOMPARE(box.currentIndex(), 0);
        QCOMPARE(box.currentText(), QStringLiteral("Culture"));
    }
};

QTEST_MAIN(AddModTest)
#include "shell_add_mod_test.moc"
