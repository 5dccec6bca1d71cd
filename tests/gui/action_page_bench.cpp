// What a click and a keystroke cost on an Action Page of 3,000 actions. Run with `make bench`; as
// part of the tests each benchmark runs once, to keep it working.

#include "workshop_session.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include "model/case_data.h"
#include "model/date_time.h"
#include "widgets/advanced_grid.h"
#include "workshops/capabilities/action_page_form.h"

class ActionPageBench : public QObject, private WorkshopSession {
    Q_OBJECT

private slots:
    void init()
    {
        QVERIFY(openActiveShell());
        main->New();
        TCaseData& data = main->currentCase()->data();
        for (int k = 0; k < kActions; ++k) {
            TAction& action = data.Actions.Add();
            action.What = k % 7 == 0 ? "Measure every combi model against the expected energy label, step " + std::to_string(k)
                                     : "Action " + std::to_string(k);
            action.Who = k % 3 == 0 ? "Product development" : "Sales";
            action.Importance = k % 10 + 1;
            action.Due = encodeDate(2026, 1, 1) + k % 700;
            action.Done = k % 4 == 0;
        }
        form = qobject_cast<TActionPageForm*>(main->OpenWorkshop(workshop_id::ActionPage));
        QVERIFY(form);
        QVERIFY(QTest::qWaitForWindowExposed(form));
        grid = child<TAdvancedGrid>(form, "GridAction");
        grid->setFocus();
        QVERIFY(grid->setCurrentCell(0, kRow));
        grid->scrollTo(grid->model()->index(kRow - 1, 0));
    }
    void cleanup()
    {
        form = nullptr;
        closeShell();
    }

    // Along a row as a user clicks: text cell, Due picker, Done list, each control made anew.
    void selectCell()
    {
        static const int columns[] = {0, 3, 4, 1};
        int step = 0;
        QBENCHMARK {
            grid->setCurrentCell(columns[step++ % 4], kRow);
            grid->viewport()->repaint();
        }
        QCOMPARE(grid->currentRow(), kRow);
    }

    // Moving down the rows of one column, the picker following the current cell.
    void selectRowWithPicker()
    {
        int step = 0;
        QBENCHMARK {
            grid->setCurrentCell(3, kRow + (step++ % 2));
            grid->viewport()->repaint();
        }
        QVERIFY(grid->control() && grid->control()->isVisible());
    }

    // One keystroke into an open cell editor.
    void keystrokeInCellEditor()
    {
        QVERIFY(grid->setCurrentCell(1, kRow));
        QTest::keyClick(grid, Qt::Key_F2);
        auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        QVERIFY(editor);
        QBENCHMARK {
            QTest::keyClick(editor, Qt::Key_A);
            grid->viewport()->repaint();
        }
        QVERIFY(grid->isEditorOpen());
    }

    // Enter on a typed cell: the undo snapshot of the whole case, the commit and the row fitted.
    void commitCell()
    {
        int step = 0;
        QBENCHMARK {
            QVERIFY(grid->setCurrentCell(1, kRow));
            QTest::keyClick(grid, Qt::Key_F2);
            auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
            editor->selectAll();
            QTest::keyClicks(editor, QStringLiteral("Owner %1").arg(step++));
            QTest::keyClick(editor, Qt::Key_Return);
            grid->viewport()->repaint();
        }
        QVERIFY(form->data().Actions[kRow - 1].Who.rfind("Owner ", 0) == 0);
    }

    // Reloading the whole page, as Undo and activation do.
    void refreshAll()
    {
        QBENCHMARK {
            form->sendRefresh();
            grid->viewport()->repaint();
        }
        QCOMPARE(grid->rowCount(), kActions + 2);
    }

private:
    static constexpr int kActions = 3000;
    static constexpr int kRow = 1500;

    TActionPageForm* form = nullptr;
    TAdvancedGrid* grid = nullptr;
};

QTEST_MAIN(ActionPageBench)
#include "action_page_bench.moc"
