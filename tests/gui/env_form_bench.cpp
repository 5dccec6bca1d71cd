// What a cell selection, a keystroke, a committed cell and the risk diagram's Refresh cost in the
// environment window when the current change holds 3,000 risks (and 3,000 threats). Run with `make bench`; as part of the tests
// each benchmark runs once, to keep it working.

#include "workshop_session.h"

#include "model/case_data.h"
#include "widgets/advanced_grid.h"
#include "widgets/edit_state.h"
#include "widgets/portfolio_list.h"
#include "workshops/environment/env_form.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

namespace {

constexpr int kRows = 3000;

void fillLongChange(TCaseData& data)
{
    TChange& change = data.ChangeAreas[0].Changes.Add();
    change.Name = "Long change";
    for (int r = 0; r < kRows; ++r) {
        TRisk& risk = change.Risks.Add();
        risk.Name = "Risk number " + std::to_string(r) + " of the plan";
        risk.FinImpact = r * 1000.0;
        risk.RiskType = r % 3 - 1;
        risk.Impact = r % 10 + 1;
        risk.Likelihood = (r * 7) % 10 + 1;
        risk.Handling = r % 5 == 0 ? "Watch it every quarter and report to the board when it moves" : "Insure";
        TRankedItem& threat = change.Threats.Add();
        threat.Name = "Threat " + std::to_string(r);
        threat.Rank = r % 10 + 1;
    }
}

} // namespace

class EnvFormBench : public QObject, private WorkshopSession {
    Q_OBJECT

    TEnvForm* form = nullptr;

private slots:
    void init()
    {
        QVERIFY(openActiveShell());
        form = openWorkshop<TEnvForm>(workshop_id::Environment);
        QVERIFY(form);
        fillLongChange(main->currentCase()->data());
        form->sendRefresh();
        QCOMPARE(child<TAdvancedGrid>(form, "grdRisk")->rowCount(), kRows + 2);
        child<QTabWidget>(form, "PageControl1")->setCurrentWidget(child<QWidget>(form, "Risk"));
        child<TAdvancedGrid>(form, "grdRisk")->setFocus(Qt::OtherFocusReason);
    }

    void cleanup()
    {
        form = nullptr;
        closeShell();
    }

    // Clicking along a row: between the name and the type cell, whose box is made each time.
    void selectRiskCell()
    {
        TAdvancedGrid* grid = child<TAdvancedGrid>(form, "grdRisk");
        const int row = kRows / 2;
        int step = 0;
        QBENCHMARK {
            grid->setCurrentCell(step++ % 2 == 0 ? 0 : 2, row);
            grid->viewport()->repaint();
        }
        QCOMPARE(grid->currentRow(), row);
    }

    // One character typed into an open cell editor.
    void keystrokeInRiskCell()
    {
        TAdvancedGrid* grid = child<TAdvancedGrid>(form, "grdRisk");
        grid->setCurrentCell(5, kRows / 2);
        QTest::keyClick(grid, Qt::Key_F2);
        auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        QVERIFY(editor);
        QBENCHMARK {
            QTest::keyClick(editor, Qt::Key_A);
            editor->repaint();
        }
        QVERIFY(protocol::pendingCellEdit(editor).pending());
    }

    // The editor closed on a changed name: the operation, the row refitted, the grid repainted.
    void commitRiskName()
    {
        TAdvancedGrid* grid = child<TAdvancedGrid>(form, "grdRisk");
        const int row = kRows / 2;
        grid->setCurrentCell(0, row);
        int step = 0;
        QBENCHMARK {
            grid->commitCellText(0, row, QStringLiteral("Renamed %1").arg(step++));
            grid->viewport()->repaint();
        }
        QVERIFY(grid->cellText(0, row).startsWith(QStringLiteral("Renamed")));
    }

    void selectThreatCell()
    {
        child<QTabWidget>(form, "PageControl1")->setCurrentWidget(child<QWidget>(form, "Impact"));
        WorkshopGrid* grid = child<WorkshopGrid>(form, "grdThreats");
        grid->setFocus(Qt::OtherFocusReason);
        const int row = kRows / 2;
        int step = 0;
        QBENCHMARK {
            grid->setCurrentCell(step++ % 2, row);
            grid->viewport()->repaint();
        }
        QCOMPARE(grid->currentRow(), row);
    }

    // Refresh on the risk diagram's page: every risk listed and plotted again.
    void refreshRiskDiagram()
    {
        form->showPage(TEnvForm::RiskPage);
        auto* refresh = child<QPushButton>(form, "btn3Refresh");
        auto* list = child<PortfolioList>(form, "lst3Risks");
        QBENCHMARK {
            QTest::mouseClick(refresh, Qt::LeftButton);
            list->viewport()->repaint();
        }
        QCOMPARE(list->topLevelItemCount(), kRows);
    }
};

QTEST_MAIN(EnvFormBench)
#include "env_form_bench.moc"
