// Edit > Cut, Copy and Paste on the focused control, and the tab-separated text Copy makes of
// grids, lists, combo boxes, trees and list views.

#include "shell_fake_prompts.h"

#include "shell/clipboard_commands.h"
#include "widgets/copy_text_source.h"
#include "widgets/edit_mask.h"

#include <QApplication>
#include <QCheckBox>
#include <QPushButton>
#include <QClipboard>
#include <QComboBox>
#include <QDateEdit>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QStandardItemModel>
#include <QTableWidget>
#include <QTest>
#include <QTreeWidget>

namespace {

class FakeGrid : public QWidget, public CopyTextSource {
public:
    using QWidget::QWidget;
    QString copyText() const override { return QStringLiteral("Name\tImp.\t\r\nA\t3\t\r\n\t\t\r\n"); }
    bool cellEditorOpen() const override { return editorOpen; }
    bool editorOpen = false;
};

const QString kUntouched = QStringLiteral("untouched");

} // namespace

class ClipboardTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        prompts = std::make_unique<FakePrompts>();
        QApplication::clipboard()->setText(kUntouched);
    }
    void cleanup() { prompts.reset(); }

    void stringGridWithOneEntryCopiesThreeLines()
    {
        QTableWidget grid(2, 2);
        grid.setHorizontalHeaderLabels({QStringLiteral("Name"), QStringLiteral("Importance")});
        grid.setItem(0, 0, new QTableWidgetItem(QStringLiteral("Quality")));
        grid.setItem(0, 1, new QTableWidgetItem(QStringLiteral("7")));
        QVERIFY(runClipboardCommand(ClipboardCommand::Copy, &grid));
        QCOMPARE(QApplication::clipboard()->text(),
                 QStringLiteral("Name\tImportance\t\r\nQuality\t7\t\r\n\t\t\r\n"));
    }

    void workshopGridGivesItsOwnText()
    {
        QWidget window;
        auto* grid = new FakeGrid(&window);
        QVERIFY(runClipboardCommand(ClipboardCommand::Copy, grid));
        QCOMPARE(QApplication::clipboard()->text(), grid->copyText());
    }

    void copyBeepsWhileTheCellEditorIsOpen()
    {
        QWidget window;
        auto* grid = new FakeGrid(&window);
        auto* editor = new QLineEdit(QStringLiteral("typed"), grid);
        editor->selectAll();
        grid->editorOpen = true;
        QVERIFY(!runClipboardCommand(ClipboardCommand::Copy, editor));
        QVERIFY(!runClipboardCommand(ClipboardCommand::Copy, grid));
        QCOMPARE(prompts->beeps, 2);
        QCOMPARE(QApplication::clipboard()->text(), kUntouched);
    }

    void listBoxAndComboBoxCopyEveryItem()
    {
        QListWidget list;
        list.addItems({QStringLiteral("North"), QStringLiteral("South")});
        QVERIFY(runClipboardCommand(ClipboardCommand::Copy, &list));
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("North\r\nSouth\r\n"));

        QComboBox combo;
        combo.setEditable(true);
        combo.addItems({QStringLiteral("Culture"), QStringLiteral("Image")});
        combo.setEditText(QStringLiteral("typed, not copied"));
        QVERIFY(runClipboardCommand(ClipboardCommand::Copy, &combo));
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("Culture\r\nImage\r\n"));
        QVERIFY(runClipboardCommand(ClipboardCommand::Copy, combo.lineEdit()));
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("Culture\r\nImage\r\n"));

        QListWidget empty;
        QVERIFY(runClipboardCommand(ClipboardCommand::Copy, &empty));
        QCOMPARE(QApplication::clipboard()->text(), QString());
    }

    void inPlaceComboBoxInsideAGridCopiesItsOwnList()
    {
        QWidget window;
        auto* grid = new FakeGrid(&window);
        auto* combo = new QComboBox(grid);
        combo->addItems({QStringLiteral("Financial"), QStringLiteral("Political")});
        QVERIFY(runClipboardCommand(ClipboardCommand::Copy, combo));
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("Financial\r\nPolitical\r\n"));
    }

    // Only the drop-down among a grid's in-place controls copies (its list); a date picker, a check
    // box or a button in a grid copies nothing, rather than the grid behind it.
    void otherInPlaceControlsInsideAGridBeep()
    {
        QWidget window;
        auto* grid = new FakeGrid(&window);
        auto* date = new QDateEdit(grid);
        auto* box = new QCheckBox(grid);
        auto* button = new QPushButton(QStringLiteral("..."), grid);
        for (QWidget* control : {static_cast<QWidget*>(date), static_cast<QWidget*>(box), static_cast<QWidget*>(button)})
            QVERIFY(!runClipboardCommand(ClipboardCommand::Copy, control));
        QCOMPARE(prompts->beeps, 3);
        QCOMPARE(QApplication::clipboard()->text(), kUntouched);
        QVERIFY(runClipboardCommand(ClipboardCommand::Copy, grid));
        QVERIFY(QApplication::clipboard()->text().startsWith(QStringLiteral("Name\tImp.")));
    }

    // The score fields are masked edits too: Cut, Copy and Paste beep there.
    void classicMaskedEditsCountAsMaskedEdits()
    {
        MaskedLineEdit score;
        score.setEditMask(QStringLiteral("99;0; "));
        score.setText(QStringLiteral("7"));
        score.selectAll();
        QApplication::clipboard()->setText(QStringLiteral("9"));
        QVERIFY(!runClipboardCommand(ClipboardCommand::Copy, &score));
        QVERIFY(!runClipboardCommand(ClipboardCommand::Cut, &score));
        QVERIFY(!runClipboardCommand(ClipboardCommand::Paste, &score));
        QCOMPARE(score.text(), QStringLiteral("7"));
        QCOMPARE(prompts->beeps, 3);

        MaskedLineEdit free; // without a mask it is a plain edit
        free.setText(QStringLiteral("text"));
        free.selectAll();
        QVERIFY(runClipboardCommand(ClipboardCommand::Copy, &free));
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("text"));
    }

    void treeIndentsByTheDepthItsBuilderGave()
    {
        QTreeWidget tree;
        tree.setColumnCount(1);
        auto* group = new QTreeWidgetItem(&tree, {QStringLiteral("Group A")});
        group->setData(0, kCopyDepthRole, 0);
        auto* heading = new QTreeWidgetItem(group, {QStringLiteral("Customers")});
        heading->setData(0, kCopyDepthRole, 1);
        auto* element = new QTreeWidgetItem(heading, {QStringLiteral("Retail")});
        element->setData(0, kCopyDepthRole, 2);
        new QTreeWidgetItem(group, {QStringLiteral("Services")}); // no depth given: its own depth
        tree.collapseAll();
        QVERIFY(runClipboardCommand(ClipboardCommand::Copy, &tree));
        QCOMPARE(QApplication::clipboard()->text(),
                 QStringLiteral("Group A\r\n  Customers\r\n    Retail\r\n  Services\r\n"));
    }

    void reportListCopiesCaptionAndSubItems()
    {
        QTreeWidget list;
        list.setColumnCount(3);
        list.setRootIsDecorated(false);
        new QTreeWidgetItem(&list, {QStringLiteral("Sales"), QStringLiteral("3"), QStringLiteral("8")});
        new QTreeWidgetItem(&list, {QStringLiteral("IT"), QStringLiteral("5"), QString()});
        QVERIFY(runClipboardCommand(ClipboardCommand::Copy, &list));
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("Sales\t3\t8\r\nIT\t5\t\r\n"));
    }

    void editsCopyTheirSelection()
    {
        QLineEdit edit(QStringLiteral("hello world"));
        edit.setSelection(6, 5);
        QVERIFY(runClipboardCommand(ClipboardCommand::Copy, &edit));
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("world"));

        QPlainTextEdit memo(QStringLiteral("first\nsecond"));
        memo.selectAll();
        QVERIFY(runClipboardCommand(ClipboardCommand::Copy, &memo));
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("first\nsecond"));
    }

    void maskedEditsDatePickersAndOthersBeep()
    {
        QLineEdit masked;
        masked.setInputMask(QStringLiteral("99;_"));
        QDateEdit date;
        QWidget plain;
        for (QWidget* widget : {static_cast<QWidget*>(&masked), static_cast<QWidget*>(&date), &plain}) {
            QVERIFY(!runClipboardCommand(ClipboardCommand::Copy, widget));
            QVERIFY(!runClipboardCommand(ClipboardCommand::Paste, widget));
        }
        QVERIFY(!runClipboardCommand(ClipboardCommand::Copy, nullptr));
        QCOMPARE(prompts->beeps, 7);
        QCOMPARE(QApplication::clipboard()->text(), kUntouched);
    }

    void cutAndPasteWorkOnEditsOnly()
    {
        QLineEdit edit(QStringLiteral("keep this"));
        int edits = 0;
        connect(&edit, &QLineEdit::textEdited, this, [&edits] { ++edits; });
        edit.setSelection(4, 5);
        QVERIFY(runClipboardCommand(ClipboardCommand::Cut, &edit));
        QCOMPARE(edit.text(), QStringLiteral("keep"));
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral(" this"));
        QVERIFY(runClipboardCommand(ClipboardCommand::Paste, &edit));
        QCOMPARE(edit.text(), QStringLiteral("keep this"));
        // The field's own change handling runs, as for typing.
        QCOMPARE(edits, 2);

        QListWidget list;
        list.addItem(QStringLiteral("x"));
        QVERIFY(!runClipboardCommand(ClipboardCommand::Cut, &list));
        QVERIFY(!runClipboardCommand(ClipboardCommand::Paste, &list));
        QCOMPARE(list.count(), 1);

        QPlainTextEdit readOnly(QStringLiteral("fixed"));
        readOnly.setReadOnly(true);
        readOnly.selectAll();
        QVERIFY(!runClipboardCommand(ClipboardCommand::Cut, &readOnly));
        QCOMPARE(readOnly.toPlainText(), QStringLiteral("fixed"));
        QCOMPARE(prompts->beeps, 3);
    }

private:
    std::unique_ptr<FakePrompts> prompts;
};

QTEST_MAIN(ClipboardTest)
#include "shell_clipboard_test.moc"
