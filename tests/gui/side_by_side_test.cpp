// Windows of one case side by side: an edit in the active window shows in the others once the
// program is idle, once however many edits came in, and each keeps its place.

#include "workshop_session.h"

#include "model/case_data.h"
#include "shell/case_form.h"
#include "shell/main_form.h"
#include "widgets/cp1252_text_edit.h"
#include "widgets/workshop_grid.h"
#include "workshops/capabilities/biz_plan_form.h"
#include "workshops/capabilities/build_cap_form.h"
#include "workshops/customers/cu_pr_form.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScrollBar>
#include <QTreeWidget>
#include <QTest>

#include <memory>

namespace {

// Each window of `windows` tiled in the child area; the first one is active.
void tile(TMainForm& main, const QList<TChildForm*>& windows)
{
    main.actions().windowTile->trigger();
    main.mdiArea()->setActiveSubWindow(windows.first()->subWindow());
    QCOMPARE(main.activeChild(), windows.first());
}

// Names the entry in `row` of a name grid with the keys (the last row adds one): a click into the
// cell, the name typed over what it holds, Enter.
void renameWithKeys(WorkshopGrid* grid, int row, const QString& name)
{
    clickCell(grid, 0, row);
    QTest::keyClick(grid, name.at(0).toLatin1());
    auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    QVERIFY(editor);
    QTest::keyClicks(editor, name.mid(1));
    QTest::keyClick(editor, Qt::Key_Return);
    QVERIFY(!grid->isEditorOpen());
}

} // namespace

class SideBySideTest : public QObject, private WorkshopSession {
    Q_OBJECT

private slots:
    void init()
    {
        openShell();
        main->resize(1500, 1000);
        main->show();
        QVERIFY(QTest::qWaitForWindowActive(main.get()));
    }
    void cleanup() { closeShell(); }

    // The example of the rename: the Business Plan beside the customers shows the new name at
    // once, with the customer it shows and the cell it is on kept, and is not activated.
    void aCustomerRenamedShowsInTheBusinessPlanBeside()
    {
        TCaseForm* owner = main->New();
        for (const char* name : {"Hotels", "Canteens", "Schools"})
            owner->data().Customers.Add(std::make_unique<TCustProd>(TCustProd::WithPlanTemplate{})).Name = name;
        auto* plan = qobject_cast<TBizPlanForm*>(main->OpenWorkshop(workshop_id::BusinessPlan));
        auto* customers = qobject_cast<TCuPrForm*>(main->OpenWorkshop(workshop_id::Customers));
        QVERIFY(plan && customers);
        tile(*main, {customers, plan, owner});
        child<QComboBox>(plan, "ComboCust")->setCurrentIndex(1);
        QVERIFY(child<WorkshopGrid>(plan, "GridCust")->setCurrentCell(2, 4));

        renameWithKeys(child<WorkshopGrid>(customers, "grdCust"), 2, QStringLiteral("Cafes"));
        QCOMPARE(owner->data().Customers[1].Name, "Cafes");
        QCOMPARE(child<QComboBox>(plan, "ComboCust")->itemText(1), QStringLiteral("Canteens")); // not while typing
        QCoreApplication::processEvents();
        QCOMPARE(child<QComboBox>(plan, "ComboCust")->itemText(1), QStringLiteral("Cafes"));
        QCOMPARE(child<QComboBox>(plan, "ComboCust")->currentIndex(), 1);
        QCOMPARE(child<WorkshopGrid>(plan, "GridCust")->currentColumn(), 2);
        QCOMPARE(child<WorkshopGrid>(plan, "GridCust")->currentRow(), 4);
        QCOMPARE(main->activeChild(), customers);
        QCOMPARE(QApplication::focusWidget(), child<WorkshopGrid>(customers, "grdCust"));
        QCOMPARE(child<WorkshopGrid>(customers, "grdCust")->currentRow(), 2);
    }

    // A long list beside the window where an entry is added grows by the entry and keeps its
    // scroll position and current cell.
    void aLongListBesideKeepsItsPlace()
    {
        TCaseForm* owner = main->New();
        for (int i = 0; i < 300; ++i)
            owner->data().Products.Add().Name = QStringLiteral("Product %1").arg(i, 3, 10, QLatin1Char('0')).toStdString();
        auto* capabilities = qobject_cast<TBuildCapForm*>(main->OpenWorkshop(workshop_id::Capabilities));
        auto* products = qobject_cast<TCuPrForm*>(main->OpenWorkshop(workshop_id::Products));
        QVERIFY(capabilities && products);
        tile(*main, {products, capabilities, owner});
        WorkshopGrid* list = child<WorkshopGrid>(capabilities, "grdServices");
        QVERIFY(list->isVisible());
        QCOMPARE(list->rowCount(), 301);
        QVERIFY(list->setCurrentCell(0, 250));
        list->scrollTo(list->model()->index(249, 0));
        const int scrolled = list->verticalScrollBar()->value();
        QVERIFY(scrolled > 0);

        renameWithKeys(child<WorkshopGrid>(products, "grdCust"), 301, QStringLiteral("Newest"));
        QCOMPARE(owner->data().Products.Count(), 301);
        QCoreApplication::processEvents();
        QCOMPARE(list->rowCount(), 302);
        QCOMPARE(list->cellText(0, 301), QStringLiteral("Newest"));
        QCOMPARE(list->currentRow(), 250);
        QCOMPARE(list->verticalScrollBar()->value(), scrolled);
        QCOMPARE(main->activeChild(), products);
        QCOMPARE(QApplication::focusWidget(), child<WorkshopGrid>(products, "grdCust"));
    }

    // The market groups beside the customers keep the node the planner selected, with its remark,
    // when a customer of its group is renamed.
    void aRenameBesideKeepsTheSelectedGroupNode()
    {
        TCaseForm* owner = main->New();
        for (const char* name : {"Hotels", "Canteens", "Schools"})
            owner->data().Customers.Add().Name = name;
        TMarketGroup& group = owner->data().MarketGroups.Add();
        group.Name = "Catering";
        for (int customer : {0, 1}) {
            TRankedItem& ref = group.CustomerRefs.Add();
            ref.Rank = customer;
            ref.Name = customer == 1 ? "ask in spring" : "";
        }
        auto* groups = main->OpenWorkshop(workshop_id::MarketGroups);
        auto* customers = qobject_cast<TCuPrForm*>(main->OpenWorkshop(workshop_id::Customers));
        QVERIFY(groups && customers);
        tile(*main, {groups, customers, owner});
        auto* tree = child<QTreeWidget>(groups, "GroupView");
        const QList<QTreeWidgetItem*> found = tree->findItems(QStringLiteral("Canteens"), Qt::MatchRecursive);
        QCOMPARE(found.size(), 1);
        tree->scrollToItem(found.first());
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(found.first()).center());
        QCOMPARE(child<Cp1252PlainTextEdit>(groups, "EditRemarks")->toPlainText(), QStringLiteral("ask in spring"));

        main->mdiArea()->setActiveSubWindow(customers->subWindow());
        renameWithKeys(child<WorkshopGrid>(customers, "grdCust"), 1, QStringLiteral("Inns"));
        QCoreApplication::processEvents();
        QVERIFY(!tree->findItems(QStringLiteral("Inns"), Qt::MatchRecursive).isEmpty());
        QVERIFY(tree->currentItem());
        QCOMPARE(tree->currentItem()->text(0), QStringLiteral("Canteens"));
        QCOMPARE(child<Cp1252PlainTextEdit>(groups, "EditRemarks")->toPlainText(), QStringLiteral("ask in spring"));
        QCOMPARE(child<QLineEdit>(groups, "EditName")->text(), QStringLiteral("Catering"));
        QCOMPARE(main->activeChild(), customers);
    }

    // Several edits before the program is idle give one refresh of each window beside; the windows
    // out of sight, the window that keeps its fields while the user looks elsewhere, and the
    // active window are left alone. Undo, which reloads every window, reloads none twice.
    void severalEditsGiveOneRefreshOfEachWindowBeside()
    {
        TestWorkshopForm::registerForAllWorkshops();
        TCaseForm* owner = main->New();
        auto* beside = dynamic_cast<TestWorkshopForm*>(main->OpenWorkshop(workshop_id::Competitors));
        auto* minimised = dynamic_cast<TestWorkshopForm*>(main->OpenWorkshop(workshop_id::ActionPage));
        auto* future = dynamic_cast<TestWorkshopForm*>(main->OpenWorkshop(workshop_id::Future));
        QVERIFY(beside && minimised && future);
        tile(*main, {owner, beside, minimised, future});
        minimised->subWindow()->showMinimized();
        main->mdiArea()->setActiveSubWindow(owner->subWindow());
        const int besideBefore = beside->refreshCount();
        const int minimisedBefore = minimised->refreshCount();
        const int futureBefore = future->refreshCount();

        titleField(owner)->setFocus();
        QTest::keyClicks(titleField(owner), QStringLiteral("abc"));
        QTest::keyClick(titleField(owner), Qt::Key_Backspace);
        QCOMPARE(owner->undoCount(), 4);
        QCOMPARE(beside->refreshCount(), besideBefore);
        QTRY_COMPARE(beside->caseTitle()->text(), QStringLiteral("ab"));
        QTest::qWait(50);
        QCOMPARE(beside->refreshCount(), besideBefore + 1);
        QCOMPARE(minimised->refreshCount(), minimisedBefore);
        QCOMPARE(future->refreshCount(), futureBefore);
        QCOMPARE(main->activeChild(), owner);

        main->Undo();
        QCOMPARE(beside->caseTitle()->text(), QStringLiteral("abc"));
        QTest::qWait(50);
        QCOMPARE(beside->refreshCount(), besideBefore + 2);

        // Behind a maximised window nothing else is in sight.
        owner->subWindow()->showMaximized();
        QVERIFY(owner->subWindow()->isMaximized());
        QTest::keyClicks(titleField(owner), QStringLiteral("d"));
        QTest::qWait(50);
        QCOMPARE(beside->refreshCount(), besideBefore + 2);
    }
};

QTEST_MAIN(SideBySideTest)
#include "side_by_side_test.moc"
