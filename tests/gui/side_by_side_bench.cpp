// What a rename costs in a case of 3,000 customers when the other workshop windows of the case are
// side by side and follow it, against the same rename with them out of sight. Run with
// `make bench`; as part of the tests each benchmark runs once.

#include "workshop_session.h"

#include "model/case_data.h"
#include "shell/case_form.h"
#include "shell/main_form.h"
#include "widgets/workshop_grid.h"
#include "workshops/customers/cu_pr_form.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>

#include <memory>

namespace {

constexpr int kCustomers = 3000;

} // namespace

class SideBySideBench : public QObject, private WorkshopSession {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        openShell();
        main->resize(1600, 1000);
        main->show();
        QVERIFY(QTest::qWaitForWindowActive(main.get()));
        TCaseForm* owner = main->New();
        for (int i = 0; i < kCustomers; ++i) {
            auto& customer = owner->data().Customers.Add(std::make_unique<TCustProd>(TCustProd::WithPlanTemplate{}));
            customer.Name = "Customer " + std::to_string(i);
            customer.KeyChars.Add().Name = "Price";
        }
        for (const WorkshopEntry& entry : workshopCatalog())
            if (entry.identifier != workshop_id::Customers)
                main->OpenWorkshop(entry.identifier);
        customers = qobject_cast<TCuPrForm*>(main->OpenWorkshop(workshop_id::Customers));
        QVERIFY(customers);
        main->actions().windowTile->trigger();
        main->mdiArea()->setActiveSubWindow(customers->subWindow());
    }
    void cleanupTestCase() { closeShell(); }

    void renameCustomer_data()
    {
        QTest::addColumn<bool>("beside");
        QTest::newRow("others minimised") << false;
        QTest::newRow("nine windows beside") << true;
    }
    // The rename committed and the program idle once: the windows in sight reload then.
    void renameCustomer()
    {
        QFETCH(bool, beside);
        for (TWorkshopForm* workshop : main->currentCase()->workshopWindows())
            if (workshop != customers)
                beside ? workshop->subWindow()->showNormal() : workshop->subWindow()->showMinimized();
        main->mdiArea()->setActiveSubWindow(customers->subWindow());
        QCoreApplication::processEvents();
        auto* grid = child<WorkshopGrid>(customers, "grdCust");
        int step = 0;
        QBENCHMARK {
            grid->commitCellText(0, kCustomers / 2, QStringLiteral("Renamed %1").arg(step++));
            QCoreApplication::processEvents();
        }
        QCOMPARE(main->activeChild(), customers);
        QVERIFY(main->currentCase()->data().Customers[kCustomers / 2 - 1].Name.starts_with("Renamed"));
    }

private:
    TCuPrForm* customers = nullptr;
};

QTEST_MAIN(SideBySideBench)
#include "side_by_side_bench.moc"
