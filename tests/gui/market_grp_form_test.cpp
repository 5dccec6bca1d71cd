// The market-group window driven through its widgets: the tree, the multi-select lists, remarks,
// the service type, creating, modifying and deleting groups, Copy and Undo.

#include "workshop_session.h"

#include "model/case_data.h"
#include "shell/case_form.h"
#include "shell/help_window.h"
#include "shell/main_form.h"
#include "widgets/cp1252_text_edit.h"
#include "workshops/customers/market_grp_form.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QMdiArea>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTest>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

namespace {

// General capabilities G1, G2; products P1 (S1, S2) and P2 (S3); customers C0..C2.
void fillCase(TCaseData& data)
{
    for (const char* name : {"G1", "G2"})
        data.Capabilities.Add().Name = name;
    auto& p1 = data.Products.Add();
    p1.Name = "P1";
    p1.Capabilities.Add().Name = "S1";
    p1.Capabilities.Add().Name = "S2";
    auto& p2 = data.Products.Add();
    p2.Name = "P2";
    p2.Capabilities.Add().Name = "S3";
    for (const char* name : {"C0", "C1", "C2"})
        data.Customers.Add().Name = name;
}

QStringList listTexts(const QListWidget* list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts;
}

QList<int> selectedRows(const QListWidget* list)
{
    QList<int> rows;
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->isSelected())
            rows << i;
    return rows;
}

void clickItem(QListWidget* list, int row)
{
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
}

// The tree node with `text` under the group at `group` (a root node when `text` is the group's).
QTreeWidgetItem* treeItem(QTreeWidget* tree, int group, const QString& text)
{
    QTreeWidgetItem* root = tree->topLevelItem(group);
    if (!root)
        return nullptr;
    if (root->text(0) == text)
        return root;
    for (QTreeWidgetItemIterator it(root); *it; ++it) {
        QTreeWidgetItem* item = *it;
        QTreeWidgetItem* top = item;
        while (top->parent())
            top = top->parent();
        if (top == root && item->text(0) == text)
            return item;
    }
    return nullptr;
}

void clickNode(QTreeWidget* tree, QTreeWidgetItem* item)
{
    QVERIFY(item);
    tree->scrollToItem(item);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(item).center());
    QCOMPARE(tree->currentItem(), item);
}

} // namespace

class MarketGrpFormTest : public QObject, private WorkshopSession {
    Q_OBJECT

private slots:
    void init()
    {
        QVERIFY(openActiveShell());
        main->New();
        fillCase(data());
        data().Modified = false;
        form = openWorkshop<TMarketGrpForm>(workshop_id::MarketGroups);
        QVERIFY(form);
        QVERIFY(QTest::qWaitForWindowExposed(form));
    }

    void cleanup() { closeShell(); }

    void anEmptyCaseShowsTheListsAndNoCommands()
    {
        QCOMPARE(child<QTreeWidget>(form, "GroupView")->topLevelItemCount(), 0);
        QCOMPARE(listTexts(child<QListWidget>(form, "CustListBox")), (QStringList{"C0", "C1", "C2"}));
        QCOMPARE(listTexts(child<QListWidget>(form, "ServiceListBox")), (QStringList{"P1", "P2"}));
        QCOMPARE(listTexts(child<QListWidget>(form, "CapsListBox")), (QStringList{"G1", "G2", "S1", "S2", "S3"}));
        QVERIFY(!child<QPushButton>(form, "BtnCreate")->isEnabled());
        QVERIFY(!child<QPushButton>(form, "BtnModify")->isEnabled());
        QVERIFY(!child<Cp1252PlainTextEdit>(form, "EditRemarks")->isEnabled());
        QVERIFY(!child<QGroupBox>(form, "RadioType")->isEnabled());
        QCOMPARE(form->windowTitle(), QStringLiteral("untitled - Define Your Market Groups"));
        QCOMPARE(child<QListWidget>(form, "CustListBox")->accessibleName(), QStringLiteral("Select Customers"));
        QCOMPARE(child<QTreeWidget>(form, "GroupView")->accessibleName(), QStringLiteral("Strategic Market Groups"));

        QTest::keyClicks(child<QLineEdit>(form, "EditName"), QStringLiteral("Hotels"));
        QVERIFY(child<QPushButton>(form, "BtnCreate")->isEnabled());
        QVERIFY(!data().Modified); // typing a name stores nothing
    }

    void creatingAGroupFromTheListsAndTheSpecialCapabilitiesQuestion()
    {
        QTest::keyClicks(child<QLineEdit>(form, "EditName"), QStringLiteral("Hotels"));
        clickItem(child<QListWidget>(form, "CustListBox"), 1);
        clickItem(child<QListWidget>(form, "ServiceListBox"), 0);
        clickItem(child<QListWidget>(form, "CapsListBox"), 4); // S3
        QCOMPARE(selectedRows(child<QListWidget>(form, "CapsListBox")), (QList<int>{4}));
        prompts->yesNoAnswer = true;
        QTest::mouseClick(child<QPushButton>(form, "BtnCreate"), Qt::LeftButton);

        QCOMPARE(prompts->questions, (QStringList{"Add special capabilities of selected services, too?"}));
        QCOMPARE(data().MarketGroups.Count(), 1);
        const TMarketGroup& group = data().MarketGroups[0];
        QCOMPARE(group.Name, std::string("Hotels"));
        QCOMPARE(group.CustomerRefs[0].Rank, 1);
        QCOMPARE(group.CapabilityRefs.Count(), 3);
        QCOMPARE(group.CapabilityRefs[0].Rank, 0); // S1, S2 of P1 come before S3 in list order
        QCOMPARE(group.CapabilityRefs[2].Rank, 1);
        QCOMPARE(group.CapabilityRefs[2].Link, 0);
        QVERIFY(data().Modified);
        QCOMPARE(currentCase()->undoCount(), 1);

        QCOMPARE(child<QTreeWidget>(form, "GroupView")->topLevelItem(0)->text(0), QStringLiteral("Hotels"));
        QCOMPARE(child<QTreeWidget>(form, "GroupView")->currentItem(),
                 child<QTreeWidget>(form, "GroupView")->topLevelItem(0));
        QCOMPARE(selectedRows(child<QListWidget>(form, "CapsListBox")), (QList<int>{2, 3, 4}));
        QVERIFY(child<QPushButton>(form, "BtnModify")->isEnabled());
    }

    void afterCreatingASecondGroupTheFirstStaysCurrent()
    {
        createGroup("Hotels", {0}, {}, {});
        createGroup("Bakeries", {2}, {1}, {});
        QCOMPARE(data().MarketGroups.Count(), 2);
        QCOMPARE(form->currentGroup(), 0);
        QCOMPARE(child<QLineEdit>(form, "EditName")->text(), QStringLiteral("Hotels"));
        QCOMPARE(selectedRows(child<QListWidget>(form, "CustListBox")), (QList<int>{0}));
        QCOMPARE(child<QTreeWidget>(form, "GroupView")->currentItem(),
                 child<QTreeWidget>(form, "GroupView")->topLevelItem(0));
    }

    void anExistingNameIsReportedAndNothingIsCreated()
    {
        createGroup("Hotels", {0}, {}, {});
        child<QLineEdit>(form, "EditName")->setText(QStringLiteral("Hotels"));
        QTest::mouseClick(child<QPushButton>(form, "BtnCreate"), Qt::LeftButton);
        QCOMPARE(data().MarketGroups.Count(), 1);
        QCOMPARE(currentCase()->undoCount(), 1);
        QCOMPARE(main->statusBar()->currentMessage(), QStringLiteral("A market group named 'Hotels' exists already."));
    }

    void selectingNodesShowsTheirGroupAndIsNoEdit()
    {
        createGroup("Hotels", {0}, {0}, {0});
        createGroup("Bakeries", {1, 2}, {1}, {});
        data().Modified = false;
        const int steps = currentCase()->undoCount();

        clickNode(child<QTreeWidget>(form, "GroupView"),
                  treeItem(child<QTreeWidget>(form, "GroupView"), 1, QStringLiteral("C2")));
        QCOMPARE(form->currentGroup(), 1);
        QCOMPARE(child<QLineEdit>(form, "EditName")->text(), QStringLiteral("Bakeries"));
        QVERIFY(child<Cp1252PlainTextEdit>(form, "EditRemarks")->isEnabled());
        QVERIFY(!child<QGroupBox>(form, "RadioType")->isEnabled());
        QCOMPARE(selectedRows(child<QListWidget>(form, "CustListBox")), (QList<int>{1, 2}));
        QCOMPARE(selectedRows(child<QListWidget>(form, "ServiceListBox")), (QList<int>{1}));

        clickNode(child<QTreeWidget>(form, "GroupView"),
                  treeItem(child<QTreeWidget>(form, "GroupView"), 0, QStringLiteral("SERVICES")));
        QVERIFY(!child<Cp1252PlainTextEdit>(form, "EditRemarks")->isEnabled());
        QVERIFY(!child<QGroupBox>(form, "RadioType")->isEnabled());
        QCOMPARE(child<Cp1252PlainTextEdit>(form, "EditRemarks")->toPlainText(), QString());

        form->sendRefresh();
        main->mdiArea()->setActiveSubWindow(currentCase()->subWindow());
        main->mdiArea()->setActiveSubWindow(form->subWindow());
        QCOMPARE(currentCase()->undoCount(), steps);
        QVERIFY(!data().Modified);
    }

    void activationRebuildsWithoutSelectingAnything()
    {
        createGroup("Hotels", {0}, {}, {});
        data().Customers.Add().Name = "C3"; // added elsewhere
        main->mdiArea()->setActiveSubWindow(currentCase()->subWindow());
        main->mdiArea()->setActiveSubWindow(form->subWindow());
        QCOMPARE(listTexts(child<QListWidget>(form, "CustListBox")).size(), 4);
        QVERIFY(selectedRows(child<QListWidget>(form, "CustListBox")).isEmpty());
        QVERIFY(!child<Cp1252PlainTextEdit>(form, "EditRemarks")->isEnabled());
    }

    // After activation the lists show no group; Modify must not store that emptiness into one.
    void modifyWaitsForAGroupNodeAfterActivation()
    {
        createGroup("Hotels", {0, 1}, {}, {0});
        QVERIFY(child<QPushButton>(form, "BtnModify")->isEnabled());
        main->mdiArea()->setActiveSubWindow(currentCase()->subWindow());
        main->mdiArea()->setActiveSubWindow(form->subWindow());
        QCOMPARE(child<QLineEdit>(form, "EditName")->text(), QStringLiteral("Hotels"));
        const int steps = currentCase()->undoCount();
        QTest::mouseClick(child<QPushButton>(form, "BtnModify"), Qt::LeftButton);
        QCOMPARE(data().MarketGroups[0].CustomerRefs.Count(), 2);
        QCOMPARE(data().MarketGroups[0].CapabilityRefs.Count(), 1);
        QCOMPARE(currentCase()->undoCount(), steps);

        clickNode(child<QTreeWidget>(form, "GroupView"),
                  treeItem(child<QTreeWidget>(form, "GroupView"), 0, QStringLiteral("Hotels")));
        QVERIFY(child<QPushButton>(form, "BtnModify")->isEnabled());
        QCOMPARE(selectedRows(child<QListWidget>(form, "CustListBox")), (QList<int>{0, 1}));
        clickItem(child<QListWidget>(form, "CustListBox"), 0); // multi-select: a click takes C0 out
        QTest::mouseClick(child<QPushButton>(form, "BtnModify"), Qt::LeftButton);
        QCOMPARE(data().MarketGroups[0].CustomerRefs.Count(), 1);
        QCOMPARE(data().MarketGroups[0].CustomerRefs[0].Rank, 1);
    }

    void typedRemarksAreStoredAndUndoShowsTheOldOne()
    {
        createGroup("Hotels", {0, 1}, {}, {});
        data().MarketGroups[0].CustomerRefs[1].Name = "old remark";
        form->sendRefresh();
        QTreeWidgetItem* c1 = treeItem(child<QTreeWidget>(form, "GroupView"), 0, QStringLiteral("C1"));
        clickNode(child<QTreeWidget>(form, "GroupView"), c1);
        QCOMPARE(child<Cp1252PlainTextEdit>(form, "EditRemarks")->toPlainText(), QStringLiteral("old remark"));
        const int steps = currentCase()->undoCount();

        child<Cp1252PlainTextEdit>(form, "EditRemarks")->setFocus();
        child<Cp1252PlainTextEdit>(form, "EditRemarks")->moveCursor(QTextCursor::End);
        QTest::keyClicks(child<Cp1252PlainTextEdit>(form, "EditRemarks"), QStringLiteral(" and more"));
        QCOMPARE(data().MarketGroups[0].CustomerRefs[1].Name, std::string("old remark and more"));
        QCOMPARE(data().MarketGroups[0].CustomerRefs[0].Name, std::string());
        QCOMPARE(currentCase()->undoCount(), steps + 9); // every keystroke is a step

        main->Undo();
        QCOMPARE(data().MarketGroups[0].CustomerRefs[1].Name, std::string("old remark and mor"));
        clickNode(child<QTreeWidget>(form, "GroupView"),
                  treeItem(child<QTreeWidget>(form, "GroupView"), 0, QStringLiteral("C1")));
        QCOMPARE(child<Cp1252PlainTextEdit>(form, "EditRemarks")->toPlainText(), QStringLiteral("old remark and mor"));
    }

    void theServiceTypeSwitchesOnlyOnAServiceNode()
    {
        createGroup("Hotels", {0}, {0}, {});
        clickNode(child<QTreeWidget>(form, "GroupView"),
                  treeItem(child<QTreeWidget>(form, "GroupView"), 0, QStringLiteral("C0")));
        QVERIFY(!child<QGroupBox>(form, "RadioType")->isEnabled());

        clickNode(child<QTreeWidget>(form, "GroupView"),
                  treeItem(child<QTreeWidget>(form, "GroupView"), 0, QStringLiteral("P1")));
        QVERIFY(child<QGroupBox>(form, "RadioType")->isEnabled());
        QVERIFY(child<QRadioButton>(form, "RadioIndependent")->isChecked());
        const int steps = currentCase()->undoCount();
        QTest::mouseClick(child<QRadioButton>(form, "RadioPartner"), Qt::LeftButton);
        QCOMPARE(data().MarketGroups[0].ServiceRefs[0].Link, 1);
        QCOMPARE(currentCase()->undoCount(), steps + 1);
        QTest::mouseClick(child<QRadioButton>(form, "RadioPartner"), Qt::LeftButton);
        QCOMPARE(currentCase()->undoCount(), steps + 1); // choosing the stored type again is no edit

        clickNode(child<QTreeWidget>(form, "GroupView"),
                  treeItem(child<QTreeWidget>(form, "GroupView"), 0, QStringLiteral("C0")));
        clickNode(child<QTreeWidget>(form, "GroupView"),
                  treeItem(child<QTreeWidget>(form, "GroupView"), 0, QStringLiteral("P1")));
        QVERIFY(child<QRadioButton>(form, "RadioPartner")->isChecked());
    }

    void modifyKeepsTheRemarksOfWhatStaysSelected()
    {
        createGroup("Hotels", {0, 1}, {}, {});
        data().MarketGroups[0].CustomerRefs[0].Name = "kept";
        data().MarketGroups[0].CustomerRefs[1].Name = "dropped";
        clickNode(child<QTreeWidget>(form, "GroupView"), child<QTreeWidget>(form, "GroupView")->topLevelItem(0));
        clickItem(child<QListWidget>(form, "CustListBox"), 1); // deselect C1
        clickItem(child<QListWidget>(form, "CustListBox"), 2); // select C2
        clickItem(child<QListWidget>(form, "CapsListBox"), 0); // G1
        child<QLineEdit>(form, "EditName")->setText(QStringLiteral("Hotels and inns"));
        QTest::mouseClick(child<QPushButton>(form, "BtnModify"), Qt::LeftButton);

        const TMarketGroup& group = data().MarketGroups[0];
        QCOMPARE(group.Name, std::string("Hotels and inns"));
        QCOMPARE(group.CustomerRefs.Count(), 2);
        QCOMPARE(group.CustomerRefs[0].Name, std::string("kept"));
        QCOMPARE(group.CustomerRefs[1].Rank, 2);
        QCOMPARE(group.CapabilityRefs.Count(), 1);
        QCOMPARE(child<QTreeWidget>(form, "GroupView")->topLevelItem(0)->text(0), QStringLiteral("Hotels and inns"));
    }

    void clearDeselectsOneListOnly()
    {
        clickItem(child<QListWidget>(form, "CustListBox"), 0);
        clickItem(child<QListWidget>(form, "ServiceListBox"), 1);
        QTest::mouseClick(child<QPushButton>(form, "BtnClearCust"), Qt::LeftButton);
        QVERIFY(selectedRows(child<QListWidget>(form, "CustListBox")).isEmpty());
        QCOMPARE(selectedRows(child<QListWidget>(form, "ServiceListBox")), (QList<int>{1}));
    }

    void altDeleteOnANodeDeletesItsGroupAfterTheQuestion()
    {
        createGroup("Hotels", {0}, {}, {});
        createGroup("Bakeries", {1}, {}, {});
        clickNode(child<QTreeWidget>(form, "GroupView"),
                  treeItem(child<QTreeWidget>(form, "GroupView"), 1, QStringLiteral("C1")));
        prompts->questions.clear();
        prompts->yesNoAnswer = false;
        QTest::keyClick(child<QTreeWidget>(form, "GroupView"), Qt::Key_Delete, Qt::AltModifier);
        QCOMPARE(prompts->questions, (QStringList{"Delete item 'Bakeries'?"}));
        QCOMPARE(data().MarketGroups.Count(), 2);

        prompts->yesNoAnswer = true;
        QTest::keyClick(child<QTreeWidget>(form, "GroupView"), Qt::Key_Delete, Qt::AltModifier);
        QCOMPARE(data().MarketGroups.Count(), 1);
        QCOMPARE(child<QTreeWidget>(form, "GroupView")->topLevelItemCount(), 1);
        QCOMPARE(child<QLineEdit>(form, "EditName")->text(), QStringLiteral("Hotels"));

        QTest::keyClick(child<QTreeWidget>(form, "GroupView"), Qt::Key_Delete, Qt::AltModifier);
        QCOMPARE(data().MarketGroups.Count(), 0);
        QVERIFY(child<QLineEdit>(form, "EditName")->text().isEmpty());
        QVERIFY(!child<QPushButton>(form, "BtnModify")->isEnabled());
        QVERIFY(!child<QPushButton>(form, "BtnCreate")->isEnabled());

        prompts->questions.clear();
        QTest::keyClick(child<QTreeWidget>(form, "GroupView"), Qt::Key_Delete, Qt::AltModifier);
        QVERIFY(prompts->questions.isEmpty()); // no node, no question
    }

    void copyGivesTheTreeIndentedByDepth()
    {
        createGroup("Hotels", {0}, {1}, {0, 3});
        child<QTreeWidget>(form, "GroupView")->setFocus();
        main->Copy();
        QCOMPARE(QApplication::clipboard()->text(),
                 QStringLiteral("Hotels\r\n  CUSTOMERS\r\n    C0\r\n  SERVICES\r\n    P2\r\n  CAPABILITIES\r\n    G1\r\n"
                                "    S2\r\n"));
    }

    void theWindowIsWideEnoughForItsNames()
    {
        form->destroyWindow();
        data().Customers[0].Name = "Hospital and care-home catering";
        form = qobject_cast<TMarketGrpForm*>(main->OpenWorkshop(workshop_id::MarketGroups));
        QVERIFY(form);
        QVERIFY(QTest::qWaitForWindowExposed(form));
        for (QListWidget* list : {child<QListWidget>(form, "CustListBox"), child<QListWidget>(form, "ServiceListBox"),
                                  child<QListWidget>(form, "CapsListBox")}) {
            QVERIFY2(list->viewport()->width() >= list->sizeHintForColumn(0), qPrintable(list->objectName()));
            QVERIFY(list->geometry().right() < form->width());
        }
        QVERIFY(child<QPushButton>(form, "BtnClearCust")->geometry().top()
                > child<QListWidget>(form, "CustListBox")->geometry().bottom());
    }

    void everyControlHasAHelpTopicThatExists()
    {
        const QList<QPair<QWidget*, QString>> topics{{child<QTreeWidget>(form, "GroupView"), "groups"},
                                                     {child<QRadioButton>(form, "RadioPartner"), "type"},
                                                     {child<Cp1252PlainTextEdit>(form, "EditRemarks"), "remarks"},
                                                     {child<QListWidget>(form, "CapsListBox"), "select"},
                                                     {child<QPushButton>(form, "BtnClearCust"), "select"},
                                                     {child<QLineEdit>(form, "EditName"), "name"},
                                                     {child<QPushButton>(form, "BtnCreate"), "create"},
                                                     {child<QPushButton>(form, "BtnModify"), "modify"}};
        QFile page(QStringLiteral(":/help/marketgroups.html"));
        QVERIFY(page.open(QIODevice::ReadOnly));
        const QString html = QString::fromUtf8(page.readAll());
        for (const auto& [widget, anchor] : topics) {
            QCOMPARE(help::pageForWidget(widget), QStringLiteral("marketgroups.html#") + anchor);
            QVERIFY2(html.contains(QStringLiteral("name=\"%1\"").arg(anchor)), qPrintable(anchor));
        }
    }

private:
    TCaseForm* currentCase() const { return main->currentCase(); }
    TCaseData& data() const { return main->currentCase()->data(); }

    void createGroup(const QString& name, QList<int> customers, QList<int> services, QList<int> capabilities)
    {
        child<QLineEdit>(form, "EditName")->setText(name);
        QTest::mouseClick(child<QPushButton>(form, "BtnClearCust"), Qt::LeftButton);
        QTest::mouseClick(child<QPushButton>(form, "BtnClearServices"), Qt::LeftButton);
        QTest::mouseClick(child<QPushButton>(form, "BtnClearCaps"), Qt::LeftButton);
        for (int i : customers)
            clickItem(child<QListWidget>(form, "CustListBox"), i);
        for (int i : services)
            clickItem(child<QListWidget>(form, "ServiceListBox"), i);
        for (int i : capabilities)
            clickItem(child<QListWidget>(form, "CapsListBox"), i);
        prompts->yesNoAnswer = false;
        QTest::mouseClick(child<QPushButton>(form, "BtnCreate"), Qt::LeftButton);
    }

    TMarketGrpForm* form = nullptr;
};

QTEST_MAIN(MarketGrpFormTest)
#include "market_grp_form_test.moc"
