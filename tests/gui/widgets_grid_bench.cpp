// What a click and a committed cell cost in long workshop grids. Run with `make bench`; as part of
// the tests each benchmark runs once, to keep it working.

#include <QCoreApplication>
#include <QTest>

#include <memory>
#include <vector>

#include "widgets/advanced_grid.h"
#include "widgets/edit_state.h"

namespace {

// Six columns of texts like a risk grid's: some wrap, most do not.
std::vector<std::vector<QString>> riskTexts(int count)
{
    std::vector<std::vector<QString>> rows(static_cast<std::size_t>(count));
    for (int r = 0; r < count; ++r) {
        rows[static_cast<std::size_t>(r)] = {
            QStringLiteral("Risk number %1 of the plan").arg(r), QString::number(r * 1000),
            QStringLiteral("Financial"), QString::number(r % 10 + 1), QString::number((r * 7) % 10 + 1),
            r % 5 == 0 ? QStringLiteral("Watch it every quarter and report to the board when it moves")
                       : QStringLiteral("Insure")};
    }
    return rows;
}

// The grid as a window shows it: filled, fitted (unless the first selection is left to do it),
// then shown.
struct LongGrid {
    enum class Fit { BeforeShow, OnFirstSelection };
    std::vector<std::vector<QString>> rows;
    TAdvancedGrid grid;

    explicit LongGrid(std::vector<std::vector<QString>> texts, Fit fit = Fit::BeforeShow) : rows(std::move(texts))
    {
        const int count = static_cast<int>(rows.size());
        grid.setColumnWidths({181, 52, 51, 46, 58, 148});
        grid.setCellTextFunction([this](int col, int row, CellTextUse) -> QString {
            static const QStringList titles{"Risk", "Pot. Fin. Impact", "Type", "Potential Impact",
                                            "Likelih. of occurrence", "How to deal with the risk"};
            if (row == 0)
                return titles.value(col);
            if (row <= static_cast<int>(rows.size()))
                return rows[static_cast<std::size_t>(row - 1)][static_cast<std::size_t>(col)];
            return {};
        });
        grid.setCommitEditFunction([this](int col, int row, const QString& text) {
            if (row >= 1 && row <= static_cast<int>(rows.size()))
                rows[static_cast<std::size_t>(row - 1)][static_cast<std::size_t>(col)] = text;
        });
        grid.setRowCount(count + 2);
        for (int r = 1; r <= count; ++r)
            grid.SetCellControl(2, r, cckComboBox);
        grid.resize(600, 400);
        if (fit == Fit::BeforeShow)
            grid.fitRowHeights();
        grid.show();
    }
    explicit LongGrid(int count, Fit fit = Fit::BeforeShow) : LongGrid(riskTexts(count), fit) {}
};

} // namespace

class GridBench : public QObject {
    Q_OBJECT

private slots:
    void selectCell_data() { rowCounts(); }
    void selectCell()
    {
        QFETCH(int, rows);
        LongGrid g(rows);
        QVERIFY(QTest::qWaitForWindowExposed(&g.grid));
        int step = 0;
        QBENCHMARK {
            // Between a text cell and a drop-down cell, as a user clicks along a row.
            const int col = step++ % 2 == 0 ? 0 : 2;
            g.grid.setCurrentCell(col, rows / 2);
            g.grid.viewport()->repaint();
        }
        QCOMPARE(g.grid.currentRow(), rows / 2);
    }

    void commitOneCell_data() { rowCounts(); }
    void commitOneCell()
    {
        QFETCH(int, rows);
        LongGrid g(rows);
        QVERIFY(QTest::qWaitForWindowExposed(&g.grid));
        g.grid.setCurrentCell(0, rows / 2);
        int step = 0;
        QBENCHMARK {
            g.grid.commitCellText(0, rows / 2, QStringLiteral("Renamed %1").arg(step++));
            g.grid.fitRowHeights();
            g.grid.viewport()->repaint();
        }
        QVERIFY(g.rows[static_cast<std::size_t>(rows / 2 - 1)][0].startsWith(QStringLiteral("Renamed")));
    }

    // A window that reloads everything after an edit (refresh) instead of the changed row.
    void commitAndRefreshAll_data() { rowCounts(); }
    void commitAndRefreshAll()
    {
        QFETCH(int, rows);
        LongGrid g(rows);
        QVERIFY(QTest::qWaitForWindowExposed(&g.grid));
        int step = 0;
        QBENCHMARK {
            g.grid.commitCellText(0, rows / 2, QStringLiteral("Renamed %1").arg(step++));
            g.grid.refresh();
            g.grid.fitRowHeights();
            g.grid.viewport()->repaint();
        }
        QVERIFY(g.rows[static_cast<std::size_t>(rows / 2 - 1)][0].startsWith(QStringLiteral("Renamed")));
    }

    // Opening a window on a long list: the grid filled, fitted, shown and painted.
    void open_data() { rowCounts(); }
    void open()
    {
        QFETCH(int, rows);
        auto texts = riskTexts(rows);
        std::unique_ptr<LongGrid> g;
        QBENCHMARK_ONCE {
            g = std::make_unique<LongGrid>(std::move(texts));
            QCoreApplication::processEvents();
            g->grid.viewport()->repaint();
        }
        QVERIFY(g->grid.isVisible());
    }

    // The first click after the grid appeared, on a row in view, when the window left fitting the
    // rows to the grid's first selection.
    void firstClick_data() { rowCounts(); }
    void firstClick()
    {
        QFETCH(int, rows);
        LongGrid g(rows, LongGrid::Fit::OnFirstSelection);
        QVERIFY(QTest::qWaitForWindowExposed(&g.grid));
        const QPoint cell = g.grid.visualRect(g.grid.model()->index(2, 0)).center();
        QBENCHMARK_ONCE {
            QTest::mouseClick(g.grid.viewport(), Qt::LeftButton, {}, cell);
            g.grid.viewport()->repaint();
        }
        QCOMPARE(g.grid.currentRow(), 3);
    }

private:
    static void rowCounts()
    {
        QTest::addColumn<int>("rows");
        QTest::newRow("2000 rows") << 2000;
        QTest::newRow("10000 rows") << 10000;
    }
};

QTEST_MAIN(GridBench)
#include "widgets_grid_bench.moc"
