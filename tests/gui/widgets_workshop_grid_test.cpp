#include <QHeaderView>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include <vector>

#include "widgets/edit_state.h"
#include "widgets/edit_mask.h"
#include "widgets/workshop_grid.h"

namespace {

struct Commit {
    int col;
    int row;
    QString text;
};

// A grid of named entries as the workshops build it: title row, one row per entry, one empty row.
struct EntryGrid {
    QStringList titles{"Name", "Imp."};
    std::vector<QStringList> entries;
    std::vector<Commit> commits;
    int fitCalls = 0; // texts asked for to fit rows
    WorkshopGrid grid;

    EntryGrid()
    {
        grid.setColumnWidths({120, 40});
        grid.setCellTextFunction([this](int col, int row, CellTextUse use) -> QString {
            if (use == CellTextUse::Fit)
                ++fitCalls;
            if (row == 0)
                return titles.value(col);
            if (row <= static_cast<int>(entries.size()))
                return entries[static_cast<std::size_t>(row - 1)].value(col);
            return {};
        });
        grid.setEditMaskFunction([](int col, int) { return col == 1 ? QStringLiteral("99;0; ") : QString(); });
        grid.setCommitEditFunction([this](int col, int row, const QString& text) {
            commits.push_back({col, row, text});
            if (row == static_cast<int>(entries.size()) + 1 && col == 0) {
                entries.push_back({text, "1"});
                grid.setRowCount(static_cast<int>(entries.size()) + 2);
            } else if (row >= 1 && row <= static_cast<int>(entries.size())) {
                entries[static_cast<std::size_t>(row - 1)][col] = text;
            }
        });
        reload();
    }
    void reload() { grid.setRowCount(static_cast<int>(entries.size()) + 2); }
};

QLineEdit* editor(WorkshopGrid&)
{
    return qobject_cast<QLineEdit*>(QApplication::focusWidget());
}

// Types into the current cell as a user would: the first key opens the editor.
QLineEdit* typeIntoCell(WorkshopGrid& grid, const QString& text)
{
    QTest::keyClick(&grid, text.at(0).toLatin1());
    QLineEdit* edit = editor(grid);
    if (edit && text.size() > 1)
        QTest::keyClicks(edit, text.mid(1));
    return edit;
}

} // namespace

class WorkshopGridTest : public QObject {
    Q_OBJECT

private slots:
    void copyGivesEveryRowWithTabAfterEachCell()
    {
        EntryGrid g;
        g.entries = {{"Alpha", "3"}};
        g.reload();
        QCOMPARE(g.grid.copyText(), QStringLiteral("Name\tImp.\t\r\nAlpha\t3\t\r\n\t\t\r\n"));
        g.grid.setCopyTextFunction([] { return QStringLiteral("own"); });
        QCOMPARE(g.grid.copyText(), QStringLiteral("own"));
    }

    void fitRowHeightsFollowsWrappedText()
    {
        EntryGrid g;
        g.entries = {{"short", "1"}, {"a rather long name that cannot fit on one line of a narrow column", "2"}};
        g.reload();
        g.grid.setDefaultRowHeight(4); // below the height of "M": raised by the fitting
        g.grid.fitRowHeights();
        const QFontMetrics fm(g.grid.font());
        QCOMPARE(g.grid.defaultRowHeight(), fm.height());
        const int oneLine = std::max(fm.height() + fm.leading() + 3, g.grid.defaultRowHeight());
        QCOMPARE(g.grid.gridRowHeight(0), oneLine);
        QCOMPARE(g.grid.gridRowHeight(1), oneLine);
        QVERIFY2(g.grid.gridRowHeight(2) >= 2 * fm.height() + 3, "long text must get several lines");
        QCOMPARE(g.grid.gridRowHeight(3), oneLine); // an empty row is as high as one line

        // Rows never drop below the default row height.
        g.grid.setDefaultRowHeight(40);
        g.grid.fitRowHeights();
        QCOMPARE(g.grid.gridRowHeight(1), 40);
        QCOMPARE(g.grid.gridRowHeight(0), 40);

        // The text is measured in the box it is drawn in: a text exactly as wide as the column
        // would wrap inside the 2-pixel insets, so its row must be two lines high.
        g.grid.setDefaultRowHeight(4);
        g.entries[0][0] = QStringLiteral("wwww wwww");
        g.grid.setGridColumnWidth(0, fm.horizontalAdvance(g.entries[0][0]) + 1);
        g.grid.fitRowHeights();
        QVERIFY(g.grid.gridRowHeight(1) >= 2 * fm.height() + 3);
    }

    // Fitting looks again only at rows whose text may have changed, so that selecting a cell in
    // a long grid costs nothing; a refresh or a commit brings the changed rows back in.
    void fittingMeasuresOnlyWhatMayHaveChanged()
    {
        EntryGrid g;
        int& fitCalls = g.fitCalls;
        for (int i = 0; i < 50; ++i)
            g.entries.push_back({QStringLiteral("entry %1").arg(i), "1"});
        g.reload();
        g.grid.resize(300, 200);
        g.grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&g.grid));
        g.grid.fitRowHeights();
        const int oneLine = g.grid.gridRowHeight(5);

        // Rows scrolled into view are measured once, the first time.
        for (int row = 1; row <= 20; ++row)
            QVERIFY(g.grid.setCurrentCell(row % 2, row));
        fitCalls = 0;
        for (int row = 20; row >= 1; --row)
            QVERIFY(g.grid.setCurrentCell(row % 2, row));
        QCOMPARE(fitCalls, 0);

        // A committed cell brings its row back in: typed text that needs two lines grows it.
        QVERIFY(g.grid.setCurrentCell(0, 3));
        typeIntoCell(g.grid, QStringLiteral("a name far too long to stand on one line of this column"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(g.commits.size(), std::size_t(1));
        fitCalls = 0;
        QVERIFY(g.grid.setCurrentCell(1, 4));
        QCOMPARE(fitCalls, 2); // the committed row's two cells
        QVERIFY(g.grid.gridRowHeight(3) > oneLine);

        // A change made elsewhere shows after refresh(), which looks at every row again.
        g.entries[9][0] = g.entries[2][0];
        g.grid.refresh();
        g.grid.fitRowHeights();
        QCOMPARE(g.grid.gridRowHeight(10), g.grid.gridRowHeight(3));
    }

    // Opening a long grid measures what it shows; rows are fitted as they come into view, however
    // the view gets there, and the scroll bar reaches the very last row.
    void aLongGridFitsTheRowsItShows()
    {
        EntryGrid g;
        const QString wrapping = QStringLiteral("a name far too long to stand on one line of this column");
        for (int i = 0; i < 3000; ++i)
            g.entries.push_back({i % 2 == 1 ? wrapping : QStringLiteral("entry %1").arg(i), "1"});
        g.reload();
        g.grid.resize(300, 200);
        g.grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&g.grid));
        g.fitCalls = 0;
        g.grid.fitRowHeights();
        QVERIFY2(g.fitCalls < 100, qPrintable(QString::number(g.fitCalls)));
        const int oneLine = g.grid.rowHeight(0);
        QScrollBar* scrollBar = g.grid.verticalScrollBar();
        // Every row in view, read without asking the grid to fit it: entries with an odd number wrap.
        const auto shownRowsFitted = [&] {
            const int first = g.grid.rowAt(0);
            int last = g.grid.rowAt(g.grid.viewport()->height() - 1);
            if (last < 0)
                last = g.grid.model()->rowCount() - 1;
            for (int r = first; r <= last && r < static_cast<int>(g.entries.size()); ++r)
                if ((g.grid.rowHeight(r) > oneLine) != (r % 2 == 1))
                    return false;
            return first >= 0;
        };
        QVERIFY(shownRowsFitted());

        QVERIFY(g.grid.setCurrentCell(0, 2001));
        QVERIFY(g.grid.viewport()->rect().contains(g.grid.visualRect(g.grid.currentIndex())));
        QVERIFY(shownRowsFitted());
        g.grid.setFocus();
        QTest::keyClick(&g.grid, Qt::Key_PageDown);
        QVERIFY(g.grid.currentRow() > 2001);
        QVERIFY(shownRowsFitted());
        scrollBar->setValue(1000);
        QVERIFY(shownRowsFitted());
        scrollBar->setValue(scrollBar->maximum());
        QVERIFY(shownRowsFitted());
        const QRect lastRow = g.grid.visualRect(g.grid.model()->index(g.grid.rowCount() - 2, 0));
        QVERIFY(lastRow.bottom() < g.grid.viewport()->height());
        QVERIFY2(g.fitCalls < 500, qPrintable(QString::number(g.fitCalls)));
    }

    void typedTextIsPendingUntilTheEditorCloses()
    {
        EntryGrid g;
        g.entries = {{"Alpha", "3"}};
        g.reload();
        g.grid.show();
        QVERIFY(QTest::qWaitForWindowActive(&g.grid));
        g.grid.setFocus();
        QVERIFY(g.grid.setCurrentCell(0, 1));

        QLineEdit* edit = typeIntoCell(g.grid, "Beta");
        QVERIFY(edit);
        QVERIFY(g.grid.isEditorOpen());
        QVERIFY(g.grid.cellEditorOpen());
        const PendingCellEdit& pending = protocol::pendingCellEdit(&g.grid);
        QCOMPARE(pending.col, 0);
        QCOMPARE(pending.row, 1);
        QCOMPARE(pending.text, QStringLiteral("Beta"));
        QCOMPARE(pending.grid, static_cast<QObject*>(&g.grid));
        QVERIFY(g.commits.empty());

        QTest::keyClick(edit, Qt::Key_Return);
        QTRY_VERIFY(!g.grid.isEditorOpen());
        QCOMPARE(g.commits.size(), std::size_t(1));
        QCOMPARE(g.commits[0].text, QStringLiteral("Beta"));
        QVERIFY(!protocol::pendingCellEdit(&g.grid).pending());
        QCOMPARE(g.entries[0][0], QStringLiteral("Beta"));
    }

    void selectingAnotherCellCommitsAndEscapeDrops()
    {
        EntryGrid g;
        g.entries = {{"Alpha", "3"}};
        g.reload();
        g.grid.show();
        QVERIFY(QTest::qWaitForWindowActive(&g.grid));
        g.grid.setFocus();
        g.grid.setCurrentCell(0, 2);

        // A name typed into the empty row is committed by the click on another cell, which
        // appends the entry and a new empty row.
        QVERIFY(typeIntoCell(g.grid, "Gamma"));
        const QRect target = g.grid.visualRect(g.grid.model()->index(0, 1));
        QTest::mouseClick(g.grid.viewport(), Qt::LeftButton, {}, target.center());
        QCOMPARE(g.commits.size(), std::size_t(1));
        QCOMPARE(g.entries.size(), std::size_t(2));
        QCOMPARE(g.grid.rowCount(), 4);
        QCOMPARE(g.grid.currentRow(), 1);
        QCOMPARE(g.grid.currentColumn(), 1);
        QTRY_VERIFY(!g.grid.isEditorOpen());

        // Escape abandons the typing: nothing is committed, nothing stays pending.
        QLineEdit* edit = typeIntoCell(g.grid, "7");
        QVERIFY(edit);
        QTest::keyClick(edit, Qt::Key_Escape);
        QTRY_VERIFY(!g.grid.isEditorOpen());
        QCOMPARE(g.commits.size(), std::size_t(1));
        QVERIFY(!protocol::pendingCellEdit(&g.grid).pending());
        QCOMPARE(g.entries[0][1], QStringLiteral("3"));
    }

    void maskedCellTakesOneDigitAndNoMoreThanTwo()
    {
        EntryGrid g;
        g.entries = {{"Alpha", "3"}, {"Beta", "4"}};
        g.reload();
        g.grid.show();
        QVERIFY(QTest::qWaitForWindowActive(&g.grid));
        g.grid.setFocus();
        g.grid.setCurrentCell(1, 1);
        QLineEdit* edit = typeIntoCell(g.grid, "5");
        QVERIFY(edit);
        QTest::keyClick(edit, Qt::Key_Return);
        QTRY_VERIFY(!g.grid.isEditorOpen());
        QCOMPARE(g.entries[0][1], QStringLiteral("5"));

        g.grid.setCurrentCell(1, 2);
        edit = typeIntoCell(g.grid, "1x23");
        QVERIFY(edit);
        QTest::keyClick(edit, Qt::Key_Return);
        QTRY_VERIFY(!g.grid.isEditorOpen());
        QCOMPARE(g.entries[1][1], QStringLiteral("12"));
    }

    void focusEnteringTheGridDropsThePendingEdit()
    {
        QWidget window;
        auto* layout = new QVBoxLayout(&window);
        auto* field = new QLineEdit(&window);
        EntryGrid g;
        layout->addWidget(field);
        layout->addWidget(&g.grid);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        field->setFocus();
        QTRY_VERIFY(field->hasFocus());

        auto& pending = protocol::pendingCellEdit(&g.grid);
        pending = PendingCellEdit{0, 1, QStringLiteral("stale"), &g.grid};
        g.grid.setFocus();
        QTRY_VERIFY(g.grid.hasFocus());
        QVERIFY(!pending.pending());
        QVERIFY(g.commits.empty());
        layout->removeWidget(&g.grid);
        g.grid.setParent(nullptr);
    }

    void onlyTheGridsOwnPendingEditIsCommitted()
    {
        QWidget window;
        EntryGrid a;
        EntryGrid b;
        a.grid.setParent(&window);
        b.grid.setParent(&window);
        a.entries = {{"Alpha", "3"}};
        a.reload();
        b.entries = {{"Beta", "4"}};
        b.reload();
        protocol::pendingCellEdit(&window) = PendingCellEdit{0, 1, QStringLiteral("for b"), &b.grid};
        a.grid.commitPendingEdit();
        QVERIFY(a.commits.empty());
        QVERIFY(protocol::pendingCellEdit(&window).pending());

        protocol::editStateOf(&window).updating = true;
        b.grid.commitPendingEdit();
        QVERIFY(b.commits.empty());
        protocol::editStateOf(&window).updating = false;

        b.grid.setEditText(0, 1, QStringLiteral("ignored: editor closed"));
        QCOMPARE(b.commits.size(), std::size_t(1));
        QCOMPARE(b.commits[0].text, QStringLiteral("for b"));
    }

    void altDeleteIsReportedOnlyWithTheEditorClosed()
    {
        EntryGrid g;
        g.entries = {{"Alpha", "3"}, {"Beta", "4"}};
        g.reload();
        g.grid.show();
        QVERIFY(QTest::qWaitForWindowActive(&g.grid));
        g.grid.setFocus();
        g.grid.setCurrentCell(0, 2);
        QSignalSpy spy(&g.grid, &WorkshopGrid::deleteRequested);

        QTest::keyClick(&g.grid, Qt::Key_Delete, Qt::AltModifier);
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toInt(), 0);
        QCOMPARE(spy.at(0).at(1).toInt(), 2);

        QTest::keyClick(&g.grid, Qt::Key_Delete, Qt::AltModifier | Qt::ControlModifier);
        QTest::keyClick(&g.grid, Qt::Key_Delete);
        QCOMPARE(spy.count(), 1);

        QLineEdit* edit = typeIntoCell(g.grid, "x");
        QVERIFY(edit);
        QTest::keyClick(edit, Qt::Key_Delete, Qt::AltModifier);
        QCOMPARE(spy.count(), 1);
    }

    void titlePressesAreReportedWithColumnAndButton()
    {
        EntryGrid g;
        g.grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&g.grid));
        QSignalSpy titles(&g.grid, &WorkshopGrid::titlePressed);
        QHeaderView* header = g.grid.horizontalHeader();
        const int x = header->sectionViewportPosition(1) + header->sectionSize(1) / 2;
        QTest::mousePress(header->viewport(), Qt::RightButton, {}, QPoint(x, 3));
        QCOMPARE(titles.count(), 1);
        QCOMPARE(titles.at(0).at(0).toInt(), 1);
        QCOMPARE(titles.at(0).at(1).value<Qt::MouseButton>(), Qt::RightButton);

        // A press on a column's edge resizes it and does not sort.
        const int edge = header->sectionViewportPosition(0) + header->sectionSize(0) - 1;
        QTest::mousePress(header->viewport(), Qt::LeftButton, {}, QPoint(edge, 3));
        QTest::mouseRelease(header->viewport(), Qt::LeftButton, {}, QPoint(edge, 3));
        QCOMPARE(titles.count(), 1);
    }

    void refusedCellsCannotBecomeCurrent()
    {
        EntryGrid g;
        g.entries = {{"Alpha", "3"}};
        g.reload();
        // Only column 0 of the empty last row may be selected.
        g.grid.setCanSelectCellFunction([&g](int col, int row) { return row < g.grid.rowCount() - 1 || col == 0; });
        g.grid.show();
        QVERIFY(QTest::qWaitForWindowActive(&g.grid));
        g.grid.setFocus();
        QVERIFY(g.grid.setCurrentCell(0, 2));
        QTest::keyClick(&g.grid, Qt::Key_Right);
        QCOMPARE(g.grid.currentColumn(), 0);
        QVERIFY(!g.grid.setCurrentCell(1, 2));
        const QRect refused = g.grid.visualRect(g.grid.model()->index(1, 1));
        QTest::mouseClick(g.grid.viewport(), Qt::LeftButton, {}, refused.center());
        QCOMPARE(g.grid.currentColumn(), 0);
        QCOMPARE(g.grid.currentRow(), 2);
        QVERIFY(g.grid.setCurrentCell(1, 1));
    }

    void aGridThatAllowsNoCellHasNoCurrentCell()
    {
        WorkshopGrid totals;
        totals.setCanSelectCellFunction([](int, int) { return false; });
        totals.setColumnCount(3);
        totals.setRowCount(4);
        QCOMPARE(totals.currentRow(), -1);
        QVERIFY(!totals.setCurrentCell(1, 2));

        WorkshopGrid plain;
        plain.setColumnCount(2);
        plain.setRowCount(3);
        QCOMPARE(plain.currentColumn(), 0);
        QCOMPARE(plain.currentRow(), 1);
        plain.setRowCount(1); // title row only
        QCOMPARE(plain.currentRow(), -1);
        QCOMPARE(plain.rowCount(), 1);
    }

    void rowColourReachesThePainting()
    {
        EntryGrid g;
        g.entries = {{"R&D", "3"}};
        g.reload();
        g.grid.setCellStyleFunction([](int, int row) {
            CellStyle style;
            if (row == 1)
                style.color = QColor(255, 0, 0);
            return style;
        });
        g.grid.resize(200, 100);
        g.grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&g.grid));
        const QImage image = g.grid.viewport()->grab().toImage();
        const QRect cell = g.grid.visualRect(g.grid.model()->index(0, 0));
        int red = 0;
        for (int y = cell.top(); y <= cell.bottom(); ++y) {
            for (int x = cell.left(); x <= cell.right(); ++x) {
                const QColor c = image.pixelColor(x, y);
                red += (c.red() > 200 && c.green() < 80 && c.blue() < 80) ? 1 : 0;
            }
        }
        QVERIFY2(red > 10, "the red row's text is drawn in red");
    }
};

QTEST_MAIN(WorkshopGridTest)
#include "widgets_workshop_grid_test.moc"
