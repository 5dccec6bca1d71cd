// Builds the demonstration window of the view components and checks its wiring. With
// CORVANTIX_WIDGETS_DEMO_SECONDS set, the window also stays on screen that long, for a
// screenshot under a real display.

#include <QHeaderView>
#include <QTest>
#include <QTimer>

#include "widgets/advanced_grid.h"
#include "widgets/portfolio_diagram.h"
#include "widgets/portfolio_list.h"
#include "widgets_demo_window.h"

class WidgetsDemoTest : public QObject {
    Q_OBJECT

private slots:
    void demoShowsGridsAndDiagramWithSampleRows()
    {
        std::unique_ptr<QWidget> demo(createWidgetsDemo());
        auto* risks = demo->findChild<TAdvancedGrid*>(QStringLiteral("riskGrid"));
        auto* keys = demo->findChild<WorkshopGrid*>(QStringLiteral("keyCharGrid"));
        auto* chart = demo->findChild<PortfolioChart*>(QStringLiteral("riskChart"));
        QVERIFY(risks && keys && chart);
        QCOMPARE(risks->rowCount(), 6);
        QCOMPARE(risks->CellControl(2, 1), cckComboBox);
        QCOMPARE(keys->cellText(0, 0), QStringLiteral("Key Characteristics"));
        PortfolioList* list = chart->diagram()->list();
        QVERIFY(list);
        QCOMPARE(list->rowCount(), 4);
        QCOMPARE(list->selectedRow(), 1);
        QVERIFY(risks->copyText().startsWith(QStringLiteral("Risk\tPot. Fin. Impact\tType\t")));

        demo->show();
        QVERIFY(QTest::qWaitForWindowExposed(demo.get()));
        // Sorting the key characteristics by name through the title row.
        const int x = keys->horizontalHeader()->sectionViewportPosition(0) + 20;
        QTest::mouseClick(keys->horizontalHeader()->viewport(), Qt::LeftButton, {}, QPoint(x, 5));
        QCOMPARE(keys->cellText(0, 1), QStringLiteral("Delivery time"));
        QCOMPARE(keys->cellText(0, 3), QStringLiteral("Regional presence"));
        QCOMPARE(keys->cellText(1, 3), QString()); // the excluded row rates nothing

        bool ok = false;
        const int seconds = qEnvironmentVariableIntValue("CORVANTIX_WIDGETS_DEMO_SECONDS", &ok);
        if (ok && seconds > 0) {
            risks->setFocus();
            risks->setCurrentCell(2, 2);
            QTest::qWait(seconds * 1000);
        }
    }
};

QTEST_MAIN(WidgetsDemoTest)
#include "widgets_demo_test.moc"
