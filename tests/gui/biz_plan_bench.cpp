// What a keystroke, a stored amount, a cell selection and a change of customer cost in the
// Business Plan window of a large case: 3,000 customers with the template plan, and a plan of
// 3,000 rows. Run with `make bench`; as part of the tests each benchmark runs once.

#include "workshop_session.h"

#include "model/case_data.h"
#include "shell/case_form.h"
#include "shell/main_form.h"
#include "widgets/workshop_grid.h"
#include "workshops/capabilities/biz_plan_form.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>

namespace {

void fillCase(TCaseData& data, int customers, int planRows)
{
    for (int c = 0; c < customers; ++c) {
        auto& customer = data.Customers.Add(std::make_unique<TCustProd>(TCustProd::WithPlanTemplate{}));
        customer.Name = "Customer " + std::to_string(c);
        auto& plan = customer.Capabilities;
        for (int r = plan.Count(); r < planRows; ++r) {
            auto row = std::make_unique<TCapability>();
            row->Name = "Entry " + std::to_string(r);
            row->ImpTomorrow = 0;
            row->ImpToday = r * 10;
            plan.Insert(2, std::move(row));
        }
        for (int r = 1; r < plan.Count(); r += 2)
            if (business_plan::isEntryRow(plan[r]))
                plan[r].ImpToday = 1000 * (c + 1) + r;
    }
}

} // namespace

class BizPlanBench : public QObject, private WorkshopSession {
    Q_OBJECT

private slots:
    void init()
    {
        openShell();
        main->show();
        main->New();
    }

    void cleanup()
    {
        form = nullptr;
        closeShell();
    }

    void selectCell_data() { sizes(); }
    void selectCell()
    {
        open();
        const int row = GridCust->rowCount() / 2;
        int step = 0;
        QBENCHMARK {
            // Along a row, as a user clicks from the name to an amount and back.
            GridCust->setCurrentCell(step++ % 2 == 0 ? 0 : 2, row);
            GridCust->viewport()->repaint();
            GridTotal->viewport()->repaint();
        }
        QCOMPARE(GridCust->currentRow(), row);
    }

    void keystroke_data() { sizes(); }
    void keystroke()
    {
        open();
        const int row = entryRow();
        GridCust->setFocus();
        QVERIFY(GridCust->setCurrentCell(1, row));
        QTest::keyClick(GridCust, '1');
        auto* edit = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        QVERIFY(edit);
        QBENCHMARK {
            QTest::keyClick(edit, '2');
            QTest::keyClick(edit, Qt::Key_Backspace);
        }
        QCOMPARE(edit->text(), QStringLiteral("1"));
    }

    void storeAmount_data() { sizes(); }
    void storeAmount()
    {
        open();
        const int row = entryRow();
        int step = 0;
        QBENCHMARK {
            // Everything Enter sets off: the undo snapshot, the edit, every customer's
            // subtotals, the totals, the repaint of both grids.
            GridCust->commitCellText(1, row, QString::number(step++));
            GridCust->viewport()->repaint();
            GridTotal->viewport()->repaint();
        }
        QCOMPARE(data().Customers[0].Capabilities[row - 1].ImpToday, step - 1);
    }

    // The part of storing an amount that is the case's undo snapshot, for comparison.
    void undoSnapshotAlone_data() { sizes(); }
    void undoSnapshotAlone()
    {
        open();
        QBENCHMARK {
            main->currentCase()->edit().begin();
        }
        QVERIFY(main->currentCase()->undoCount() > 0);
    }

    void changeCustomer_data() { sizes(); }
    void changeCustomer()
    {
        open();
        int step = 0;
        QBENCHMARK {
            ComboCust->setCurrentIndex(step++ % 2);
            GridCust->viewport()->repaint();
            GridTotal->viewport()->repaint();
        }
        QVERIFY(form->selectedCustomer() >= 0);
    }

private:
    static void sizes()
    {
        QTest::addColumn<int>("customers");
        QTest::addColumn<int>("planRows");
        QTest::newRow("3000 customers") << 3000 << 17;
        QTest::newRow("3000 plan rows") << 20 << 3000;
    }

    TCaseData& data() const { return main->currentCase()->data(); }

    void open()
    {
        QFETCH(int, customers);
        QFETCH(int, planRows);
        fillCase(data(), customers, planRows);
        form = openWorkshop<TBizPlanForm>(workshop_id::BusinessPlan);
        QVERIFY(form);
        ComboCust = child<QComboBox>(form, "ComboCust");
        GridCust = child<WorkshopGrid>(form, "GridCust");
        GridTotal = child<WorkshopGrid>(form, "GridTotal");
        QVERIFY(ComboCust && GridCust && GridTotal);
        QVERIFY(QTest::qWaitForWindowExposed(form));
    }

    // A grid row in the middle of the plan that holds an entry row.
    int entryRow() const
    {
        const auto& plan = data().Customers[0].Capabilities;
        for (int r = plan.Count() / 2; r < plan.Count(); ++r)
            if (business_plan::isEntryRow(plan[r]))
                return r + 1;
        return 2;
    }

    TBizPlanForm* form = nullptr;
    QComboBox* ComboCust = nullptr;
    WorkshopGrid* GridCust = nullptr;
    WorkshopGrid* GridTotal = nullptr;
};

QTEST_MAIN(BizPlanBench)
#include "biz_plan_bench.moc"
