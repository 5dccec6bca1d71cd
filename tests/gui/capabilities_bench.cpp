// What a keystroke and a cell selection cost in the capability and alliance grids, and a Refresh
// of the Graph page, with 3,000 capabilities. Run with `make bench`; as part of the tests each
// benchmark runs once.

#include "workshop_session.h"

#include "model/case_data.h"
#include "shell/case_form.h"
#include "widgets/bullet_text_edit.h"
#include "widgets/edit_state.h"
#include "widgets/portfolio_list.h"
#include "widgets/workshop_grid.h"
#include "workshops/capabilities/build_cap_form.h"
#include "workshops/capabilities/inv_all_form.h"

#include <QApplication>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

namespace {

constexpr int kCapabilities = 3000;

void fillCase(TCaseData& data)
{
    for (int i = 0; i < kCapabilities; ++i) {
        auto& capability = data.Capabilities.Add();
        capability.Name = "Capability number " + std::to_string(i) +
                          (i % 7 == 0 ? " with a name long enough to wrap onto a second line" : "");
        capability.ImpToday = i % 10 + 1;
        capability.ImpTomorrow = (i * 3) % 10 + 1;
        capability.Acquisition = i % 3;
        capability.Placement = (i / 3) % 3;
        capability.Decisions = "Decide by the end of the quarter";
    }
    auto& product = data.Products.Add();
    product.Name = "Service";
    for (int i = 0; i < 20; ++i)
        product.Capabilities.Add().Name = "Special " + std::to_string(i);
}

} // namespace

class CapabilitiesBench : public QObject, private WorkshopSession {
    Q_OBJECT

private slots:
    void init()
    {
        QVERIFY(openActiveShell());
        fillCase(main->New()->data());
    }
    void cleanup() { closeShell(); }

    void capabilityGridSelectCell()
    {
        auto* form = openWorkshop<TBuildCapForm>(workshop_id::Capabilities);
        WorkshopGrid* grid = child<WorkshopGrid>(form, "grdGenCap");
        grid->setFocus();
        const int row = kCapabilities / 2;
        int step = 0;
        QBENCHMARK {
            grid->setCurrentCell(step % 3, row + step % 2);
            ++step;
            grid->viewport()->repaint();
        }
        QVERIFY(grid->currentRow() >= row);
    }

    void capabilityGridKeystroke()
    {
        auto* form = openWorkshop<TBuildCapForm>(workshop_id::Capabilities);
        WorkshopGrid* grid = child<WorkshopGrid>(form, "grdGenCap");
        grid->setFocus();
        grid->setCurrentCell(0, kCapabilities / 2);
        QTest::keyClick(grid, Qt::Key_F2);
        auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        QVERIFY(editor);
        QBENCHMARK {
            QTest::keyClick(editor, Qt::Key_A);
            grid->viewport()->repaint();
        }
        QVERIFY(protocol::pendingCellEdit(editor).pending());
    }

    // Enter on a typed name: the undo snapshot of the whole case, the row refitted, the repaint.
    void capabilityGridCommit()
    {
        TCaseForm* owner = main->currentCase();
        auto* form = openWorkshop<TBuildCapForm>(workshop_id::Capabilities);
        WorkshopGrid* grid = child<WorkshopGrid>(form, "grdGenCap");
        grid->setFocus();
        const int row = kCapabilities / 2;
        grid->setCurrentCell(0, row);
        int step = 0;
        QBENCHMARK {
            QTest::keyClick(grid, Qt::Key_F2);
            auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
            QTest::keyClick(editor, Qt::Key_End);
            QTest::keyClick(editor, static_cast<Qt::Key>(Qt::Key_A + step++ % 26));
            QTest::keyClick(editor, Qt::Key_Return);
            grid->viewport()->repaint();
        }
        QVERIFY(owner->data().Capabilities[row - 1].Name.size() > 20);
    }

    void allianceGridSelectCell()
    {
        auto* form = openWorkshop<TInvAllForm>(workshop_id::Alliances);
        WorkshopGrid* grid = child<WorkshopGrid>(form, "grdCap");
        grid->setFocus();
        const int row = kCapabilities / 2;
        int step = 0;
        QBENCHMARK {
            // Along a row and between rows: a new row reloads the decisions field.
            grid->setCurrentCell(step % 7, row + step % 2);
            ++step;
            grid->viewport()->repaint();
        }
        QVERIFY(grid->currentRow() >= row);
    }

    // The space bar ticks a choice: an undo snapshot of the whole case and the row repainted.
    void allianceGridSpaceKey()
    {
        TCaseForm* owner = main->currentCase();
        auto* form = openWorkshop<TInvAllForm>(workshop_id::Alliances);
        WorkshopGrid* grid = child<WorkshopGrid>(form, "grdCap");
        grid->setFocus();
        const int row = kCapabilities / 2;
        int step = 0;
        QBENCHMARK {
            grid->setCurrentCell(alliances::ColDevelop + step++ % 3, row);
            QTest::keyClick(grid, Qt::Key_Space);
            grid->viewport()->repaint();
        }
        QVERIFY(!owner->edit().undoStack().empty());
    }

    // Each activation reloads the window: the grids' rows, the alliance rows and their bits.
    void switchingBetweenTheTwoWindows()
    {
        auto* capabilities = openWorkshop<TBuildCapForm>(workshop_id::Capabilities);
        auto* alliances = openWorkshop<TInvAllForm>(workshop_id::Alliances);
        QBENCHMARK {
            main->mdiArea()->setActiveSubWindow(capabilities->subWindow());
            main->mdiArea()->setActiveSubWindow(alliances->subWindow());
        }
        QCOMPARE(static_cast<int>(alliances->rows().size()), kCapabilities + 20);
    }

    void decisionsKeystroke()
    {
        TCaseForm* owner = main->currentCase();
        auto* form = openWorkshop<TInvAllForm>(workshop_id::Alliances);
        child<WorkshopGrid>(form, "grdCap")->setCurrentCell(0, kCapabilities / 2);
        auto* decisions = child<BulletTextEdit>(form, "edtDecisions");
        decisions->setFocus();
        decisions->moveCursor(QTextCursor::End);
        QBENCHMARK {
            QTest::keyClick(decisions, Qt::Key_A);
        }
        QVERIFY(owner->data().Capabilities[kCapabilities / 2 - 1].Decisions.back() == 'a');
    }

    // Refresh on the Graph page: every capability listed and plotted again.
    void refreshGraph()
    {
        auto* form = openWorkshop<TBuildCapForm>(workshop_id::Capabilities);
        child<QToolButton>(form, "btnGraph")->click();
        auto* refresh = child<QPushButton>(form, "btn2Refresh");
        auto* list = child<PortfolioList>(form, "lst2Caps");
        QBENCHMARK {
            refresh->click();
            list->viewport()->repaint();
        }
        QCOMPARE(list->topLevelItemCount(), kCapabilities + 2 + 1 + 20);
    }
};

QTEST_MAIN(CapabilitiesBench)
#include "capabilities_bench.moc"
