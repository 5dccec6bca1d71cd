// The Business Plan window driven through its widgets: amounts typed through the real cell editor,
// subtotals and totals, renaming, Alt+Insert and Alt+Delete on the plan grid, the number formats,
// scrolling in step, Undo, and what merely looking leaves alone.

#include "workshop_session.h"

#include "model/case_data.h"
#include "shell/case_form.h"
#include "shell/help_window.h"
#include "shell/main_form.h"
#include "widgets/edit_state.h"
#include "widgets/workshop_grid.h"
#include "workshops/capabilities/biz_plan_form.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScrollBar>
#include <QTest>

namespace {

// Grid rows of the plan template (grid row = plan row + 1).
constexpr int kIncome = 1, kIncomeEntry = 2, kGrossprofit = 3, kGrossprofitEntry = 4, kExpenditure = 5, kTax = 15,
              kProfit = 17;

TCustProd& addCustomer(TCaseData& data, const char* name)
{
    auto& customer = data.Customers.Add(std::make_unique<TCustProd>(TCustProd::WithPlanTemplate{}));
    customer.Name = name;
    return customer;
}

// Types into a cell and presses Enter, as a user stores an amount.
bool enterIntoCell(WorkshopGrid* grid, int col, int row, const QString& text)
{
    QLineEdit* edit = startTypingInCell(grid, col, row, text);
    if (!edit)
        return false;
    QTest::keyClick(edit, Qt::Key_Return);
    return true;
}

QString shown(const WorkshopGrid* grid, int col, int row)
{
    return grid->cellText(col, row, CellTextUse::Draw);
}

} // namespace

class BizPlanFormTest : public QObject, private WorkshopSession {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // A locale with a thousands separator, whatever the machine running the tests uses.
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    }

    void init()
    {
        QVERIFY(openActiveShell());
        main->New();
    }

    void cleanup()
    {
        form = nullptr;
        closeShell();
    }

    void aCaseWithoutCustomersShowsTitleRowsOnly()
    {
        open();
        QVERIFY(!child<QComboBox>(form, "ComboCust")->isEnabled());
        QVERIFY(!child<WorkshopGrid>(form, "GridCust")->isEnabled());
        QCOMPARE(child<WorkshopGrid>(form, "GridCust")->rowCount(), 1);
        QCOMPARE(child<WorkshopGrid>(form, "GridTotal")->rowCount(), 1);
        QCOMPARE(shown(child<WorkshopGrid>(form, "GridCust"), 0, 0), QStringLiteral("Name"));
        QCOMPARE(shown(child<WorkshopGrid>(form, "GridCust"), 3, 0), QStringLiteral("Year3"));
        QCOMPARE(shown(child<WorkshopGrid>(form, "GridTotal"), 0, 0), QStringLiteral("Year1"));
        QCOMPARE(form->windowTitle(), QStringLiteral("untitled - Business Plan"));
        QCOMPARE(child<WorkshopGrid>(form, "GridCust")->accessibleName(), QStringLiteral("Business Plan"));
        QCOMPARE(child<WorkshopGrid>(form, "GridTotal")->accessibleName(), QStringLiteral("Total"));
    }

    void typedAmountsGiveRunningSubtotalsAndUndoShowsTheOldOnes()
    {
        addCustomer(data(), "Hotels");
        open();
        QCOMPARE(child<WorkshopGrid>(form, "GridCust")->rowCount(), 18);
        QVERIFY(enterIntoCell(child<WorkshopGrid>(form, "GridCust"), 1, kIncomeEntry, QStringLiteral("100")));
        QVERIFY(enterIntoCell(child<WorkshopGrid>(form, "GridCust"), 1, kGrossprofitEntry, QStringLiteral("-30")));

        QCOMPARE(shown(child<WorkshopGrid>(form, "GridCust"), 1, kGrossprofit), QStringLiteral("100"));
        QCOMPARE(shown(child<WorkshopGrid>(form, "GridCust"), 1, kExpenditure), QStringLiteral("70"));
        for (int row = kExpenditure; row <= kProfit; row += 2)
            QCOMPARE(shown(child<WorkshopGrid>(form, "GridCust"), 1, row), QStringLiteral("70"));
        QCOMPARE(shown(child<WorkshopGrid>(form, "GridCust"), 1, kIncome), QString());
        QCOMPARE(shown(child<WorkshopGrid>(form, "GridTotal"), 0, kProfit), QStringLiteral("70"));
        QCOMPARE(data().Customers[0].Capabilities[kGrossprofitEntry - 1].ImpToday, -30);
        QCOMPARE(currentCase()->undoCount(), 2);

        main->Undo();
        QCOMPARE(shown(child<WorkshopGrid>(form, "GridCust"), 1, kGrossprofitEntry), QStringLiteral("0"));
        QCOMPARE(shown(child<WorkshopGrid>(form, "GridCust"), 1, kExpenditure), QStringLiteral("100"));
        QCOMPARE(shown(child<WorkshopGrid>(form, "GridTotal"), 0, kProfit), QStringLiteral("100"));
    }

    void totalsAddEveryCustomerAndTheFirstRowShowsZero()
    {
        addCustomer(data(), "Hotels").Capabilities[kIncomeEntry - 1].ImpToday = 100;
        addCustomer(data(), "Bakeries").Capabilities[kIncomeEntry - 1].ImpToday = 250;
        open();
        QCOMPARE(shown(child<WorkshopGrid>(form, "GridTotal"), 0, kGrossprofit), QStringLiteral("350"));
        QCOMPARE(shown(child<WorkshopGrid>(form, "GridTotal"), 0, kIncome), QStringLiteral("0"));
        QCOMPARE(shown(child<WorkshopGrid>(form, "GridTotal"), 2, kIncome), QStringLiteral("0"));
        // No totals cell can be selected
        QVERIFY(!child<WorkshopGrid>(form, "GridTotal")->setCurrentCell(0, kGrossprofit));

        child<QComboBox>(form, "ComboCust")->setCurrentIndex(1);
        QCOMPARE(shown(child<WorkshopGrid>(form, "GridCust"), 1, kGrossprofit), QStringLiteral("250"));
    }

    void amountsAreDrawnWithSeparatorsAndEditedWithout()
    {
        addCustomer(data(), "Hotels").Capabilities[kIncomeEntry - 1].Acquisition = 1234567;
        open();
        QCOMPARE(shown(child<WorkshopGrid>(form, "GridCust"), 2, kIncomeEntry), QStringLiteral("1,234,567"));
        QCOMPARE(shown(child<WorkshopGrid>(form, "GridTotal"), 1, kProfit), QStringLiteral("1,234,567"));
        QLineEdit* edit =
            startTypingInCell(child<WorkshopGrid>(form, "GridCust"), 2, kIncomeEntry, QStringLiteral("-"));
        QVERIFY(edit);
        QTest::keyClick(edit, Qt::Key_Escape);
        QVERIFY(!child<WorkshopGrid>(form, "GridCust")->isEditorOpen());
        child<WorkshopGrid>(form, "GridCust")->setCurrentCell(2, kIncomeEntry);
        QTest::keyClick(child<WorkshopGrid>(form, "GridCust"), Qt::Key_F2);
        edit = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        QVERIFY(edit);
        QCOMPARE(edit->text(), QStringLiteral("1234567"));
        QTest::keyClick(edit, Qt::Key_Escape);
        QCOMPARE(currentCase()->undoCount(), 0);
    }

    void renamingAnEntryRowRenamesItForEveryCustomer()
    {
        addCustomer(data(), "Hotels");
        addCustomer(data(), "Bakeries");
        open();
        child<QComboBox>(form, "ComboCust")->setCurrentIndex(1);
        QVERIFY(
            enterIntoCell(child<WorkshopGrid>(form, "GridCust"), 0, kIncomeEntry, QStringLiteral("Equipment sales")));
        QCOMPARE(data().Customers[0].Capabilities[kIncomeEntry - 1].Name, std::string("Equipment sales"));
        QCOMPARE(data().Customers[1].Capabilities[kIncomeEntry - 1].Name, std::string("Equipment sales"));

        // A subtotal row's mask is one literal blank: typing changes nothing.
        QLineEdit* edit =
            startTypingInCell(child<WorkshopGrid>(form, "GridCust"), 0, kGrossprofit, QStringLiteral("Margin"));
        if (edit)
            QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(data().Customers[1].Capabilities[kGrossprofit - 1].Name, std::string("Grossprofit"));
        QCOMPARE(currentCase()->undoCount(), 1);
    }

    void altInsertPutsANewItemAboveTheRowInEveryPlan()
    {
        addCustomer(data(), "Hotels");
        addCustomer(data(), "Bakeries");
        open();
        child<WorkshopGrid>(form, "GridCust")->setFocus();
        QVERIFY(child<WorkshopGrid>(form, "GridCust")->setCurrentCell(0, kTax));
        QTest::keyClick(child<WorkshopGrid>(form, "GridCust"), Qt::Key_Insert, Qt::AltModifier);
        for (int c = 0; c < 2; ++c) {
            const auto& plan = data().Customers[c].Capabilities;
            QCOMPARE(plan.Count(), 18);
            QCOMPARE(plan[kTax - 1].Name, std::string("<new item>"));
            QCOMPARE(plan[kTax].Name, std::string("Tax"));
        }
        QCOMPARE(child<WorkshopGrid>(form, "GridCust")->rowCount(), 19);
        QCOMPARE(child<WorkshopGrid>(form, "GridTotal")->rowCount(), 19);
        QCOMPARE(child<WorkshopGrid>(form, "GridCust")->currentRow(), kTax);
        QCOMPARE(shown(child<WorkshopGrid>(form, "GridCust"), 0, kTax), QStringLiteral("<new item>"));

        QVERIFY(child<WorkshopGrid>(form, "GridCust")->setCurrentCell(0, kIncome));
        QTest::keyClick(child<WorkshopGrid>(form, "GridCust"), Qt::Key_Insert, Qt::AltModifier);
        QTest::keyClick(child<WorkshopGrid>(form, "GridCust"), Qt::Key_Insert, Qt::AltModifier | Qt::ControlModifier);
        QCOMPARE(data().Customers[0].Capabilities.Count(), 18);
        QCOMPARE(currentCase()->undoCount(), 1);
    }

    void altDeleteRemovesAnEntryRowAfterTheQuestion()
    {
        addCustomer(data(), "Hotels");
        addCustomer(data(), "Bakeries");
        open();
        child<WorkshopGrid>(form, "GridCust")->setFocus();
        QVERIFY(child<WorkshopGrid>(form, "GridCust")->setCurrentCell(1, kGrossprofit));
        QTest::keyClick(child<WorkshopGrid>(form, "GridCust"), Qt::Key_Delete, Qt::AltModifier);
        QVERIFY(prompts->questions.isEmpty()); // a subtotal row is not even asked about

        QVERIFY(child<WorkshopGrid>(form, "GridCust")->setCurrentCell(1, kGrossprofitEntry));
        prompts->yesNoAnswer = false;
        QTest::keyClick(child<WorkshopGrid>(form, "GridCust"), Qt::Key_Delete, Qt::AltModifier);
        QCOMPARE(prompts->questions, (QStringList{"Delete item '<new entry>'?"}));
        QCOMPARE(data().Customers[1].Capabilities.Count(), 17);

        prompts->yesNoAnswer = true;
        QTest::keyClick(child<WorkshopGrid>(form, "GridCust"), Qt::Key_Delete, Qt::AltModifier);
        QCOMPARE(data().Customers[0].Capabilities.Count(), 16);
        QCOMPARE(data().Customers[1].Capabilities.Count(), 16);
        QCOMPARE(child<WorkshopGrid>(form, "GridCust")->rowCount(), 17);
        QCOMPARE(shown(child<WorkshopGrid>(form, "GridCust"), 0, kGrossprofitEntry), QStringLiteral("Expenditure"));
    }

    void aKeptIndexBeyondTheListSelectsNoCustomer()
    {
        addCustomer(data(), "Hotels");
        addCustomer(data(), "Bakeries");
        addCustomer(data(), "Schools").Capabilities[kIncomeEntry - 1].ImpToday = 5;
        open();
        child<QComboBox>(form, "ComboCust")->setCurrentIndex(2);
        QCOMPARE(shown(child<WorkshopGrid>(form, "GridCust"), 1, kIncomeEntry), QStringLiteral("5"));
        data().Customers.Delete(2);
        data().Customers.Delete(1);
        form->sendRefresh();
        QCOMPARE(child<QComboBox>(form, "ComboCust")->currentIndex(), -1);
        QCOMPARE(form->selectedCustomer(), -1);
        QCOMPARE(child<WorkshopGrid>(form, "GridCust")->rowCount(), 18);
        QCOMPARE(shown(child<WorkshopGrid>(form, "GridCust"), 0, kIncome), QString());
        enterIntoCell(child<WorkshopGrid>(form, "GridCust"), 1, kIncomeEntry, QStringLiteral("9"));
        QCOMPARE(data().Customers[0].Capabilities[kIncomeEntry - 1].ImpToday, 0);
        QCOMPARE(currentCase()->undoCount(), 0);

        child<QComboBox>(form, "ComboCust")->setCurrentIndex(0);
        QCOMPARE(shown(child<WorkshopGrid>(form, "GridCust"), 0, kIncome), QStringLiteral("Income"));
    }

    void aShorterPlanShowsItsOwnRowsAndTotalsCountItsMissingRowsAsZero()
    {
        addCustomer(data(), "Hotels").Capabilities[kIncomeEntry - 1].ImpToday = 10;
        auto& shortPlan = addCustomer(data(), "Short").Capabilities;
        shortPlan[kIncomeEntry - 1].ImpToday = 20;
        while (shortPlan.Count() > 5)
            shortPlan.Delete(shortPlan.Count() - 1);
        open();
        QCOMPARE(shown(child<WorkshopGrid>(form, "GridTotal"), 0, kGrossprofit), QStringLiteral("30"));
        QCOMPARE(shown(child<WorkshopGrid>(form, "GridTotal"), 0, kProfit), QStringLiteral("10"));
        child<QComboBox>(form, "ComboCust")->setCurrentIndex(1);
        QCOMPARE(child<WorkshopGrid>(form, "GridCust")->rowCount(), 6);
        QCOMPARE(child<WorkshopGrid>(form, "GridTotal")->rowCount(), 6);
        QVERIFY(enterIntoCell(child<WorkshopGrid>(form, "GridCust"), 1, kIncomeEntry, QStringLiteral("25")));
        QCOMPARE(shown(child<WorkshopGrid>(form, "GridTotal"), 0, kExpenditure), QStringLiteral("35"));
    }

    void commitStoresACellStillBeingTyped()
    {
        addCustomer(data(), "Hotels");
        open();
        QLineEdit* edit =
            startTypingInCell(child<WorkshopGrid>(form, "GridCust"), 3, kIncomeEntry, QStringLiteral("4711"));
        QVERIFY(edit);
        main->broadcastCommit();
        QCOMPARE(data().Customers[0].Capabilities[kIncomeEntry - 1].Placement, 4711);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(currentCase()->undoCount(), 1); // the same text stored again is no second step
    }

    void lookingAroundIsNoEdit()
    {
        auto& plan = addCustomer(data(), "Hotels").Capabilities;
        plan[kIncomeEntry - 1].ImpToday = 100;
        recalculateStored();
        addCustomer(data(), "Bakeries");
        data().Modified = false;
        open();
        child<WorkshopGrid>(form, "GridCust")->setFocus();
        for (int row = 1; row < child<WorkshopGrid>(form, "GridCust")->rowCount(); ++row)
            child<WorkshopGrid>(form, "GridCust")->setCurrentCell(row % 4, row);
        child<QComboBox>(form, "ComboCust")->setCurrentIndex(1);
        child<QComboBox>(form, "ComboCust")->setCurrentIndex(0);
        main->mdiArea()->setActiveSubWindow(currentCase()->subWindow());
        main->mdiArea()->setActiveSubWindow(form->subWindow());
        main->broadcastCommit();
        QCOMPARE(currentCase()->undoCount(), 0);
        QVERIFY(!data().Modified);
    }

    void theTwoGridsScrollInStepAndShareRowHeights()
    {
        addCustomer(data(), "Hotels").Capabilities[kIncomeEntry - 1].Name =
            "A long entry row name that wraps onto several lines of the name column";
        for (int i = 0; i < 60; ++i)
            data().Customers[0].Capabilities.Insert(2, std::make_unique<TCapability>());
        open();
        QTRY_VERIFY(child<WorkshopGrid>(form, "GridCust")->verticalScrollBar()->maximum() > 0);
        QVERIFY(child<WorkshopGrid>(form, "GridCust")->gridRowHeight(kIncomeEntry)
                > child<WorkshopGrid>(form, "GridCust")->defaultRowHeight());
        for (int row = 0; row < child<WorkshopGrid>(form, "GridCust")->rowCount(); ++row)
            QCOMPARE(child<WorkshopGrid>(form, "GridTotal")->gridRowHeight(row),
                     child<WorkshopGrid>(form, "GridCust")->gridRowHeight(row));
        child<WorkshopGrid>(form, "GridCust")->verticalScrollBar()->setValue(20);
        QCOMPARE(child<WorkshopGrid>(form, "GridTotal")->verticalScrollBar()->value(), 20);
        child<WorkshopGrid>(form, "GridTotal")->verticalScrollBar()->setValue(7);
        QCOMPARE(child<WorkshopGrid>(form, "GridCust")->verticalScrollBar()->value(), 7);
    }

    void everyControlHasAHelpTopicThatExists()
    {
        open();
        QFile page(QStringLiteral(":/help/businessplan.html"));
        QVERIFY(page.open(QIODevice::ReadOnly));
        const QString html = QString::fromUtf8(page.readAll());
        const QList<QPair<QWidget*, QString>> topics{{child<QComboBox>(form, "ComboCust"), "customer"},
                                                     {child<WorkshopGrid>(form, "GridCust"), "plan"},
                                                     {child<WorkshopGrid>(form, "GridTotal"), "total"}};
        for (const auto& [widget, anchor] : topics) {
            QCOMPARE(help::pageForWidget(widget), QStringLiteral("businessplan.html#") + anchor);
            QVERIFY2(html.contains(QStringLiteral("name=\"%1\"").arg(anchor)), qPrintable(anchor));
        }
    }

private:
    TCaseForm* currentCase() const { return main->currentCase(); }
    TCaseData& data() const { return main->currentCase()->data(); }
    void recalculateStored() { business_plan::recalculate(data()); }

    void open()
    {
        form = openWorkshop<TBizPlanForm>(workshop_id::BusinessPlan);
        QVERIFY(form);
        QVERIFY(QTest::qWaitForWindowExposed(form));
    }

    TBizPlanForm* form = nullptr;
};

QTEST_MAIN(BizPlanFormTest)
#include "biz_plan_form_test.moc"
