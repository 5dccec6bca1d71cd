#include <QApplication>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QStyleOptionComboBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QLocale>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include <vector>

#include "widgets/edit_state.h"
#include "widgets/advanced_grid.h"
#include "widgets/date_format.h"
#include "widgets/date_picker.h"

namespace {

bool within(QWidget* widget, QWidget* ancestor)
{
    return widget && ancestor && (widget == ancestor || ancestor->isAncestorOf(widget));
}

// Four columns like the risk grid: a name, a number, a type drop-down, a check; column 2 of the
// empty last row is refused.
struct RiskLikeGrid {
    TAdvancedGrid grid;
    std::vector<QStringList> rows{{"Flood", "5", "Financial", "X"}, {"Strike", "2", "Political", ""}};
    QVariant values = QStringList{"Financial", "Political"};
    int initCount = 0;
    QStringList errors;
    QStringList committed; // "col,row:text" for every call of the commit function

    RiskLikeGrid()
    {
        grid.setColumnWidths({100, 50, 90, 40});
        grid.setCellTextFunction([this](int col, int row, CellTextUse) -> QString {
            if (row == 0)
                return QStringList{"Risk", "Imp.", "Type", "Done"}.value(col);
            if (row <= static_cast<int>(rows.size()))
                return rows[static_cast<std::size_t>(row - 1)].value(col);
            return {};
        });
        grid.setCanSelectCellFunction([this](int col, int row) { return !(col == 2 && row == grid.rowCount() - 1); });
        grid.setOnGetCellValues([this](int, int) { return values; });
        grid.setOnInitControl([this](int, int, QWidget* control, TControlHandlers&) {
            ++initCount;
            return control;
        });
        QObject::connect(&grid, &TAdvancedGrid::controlError, [this](const QString& m) { errors << m; });
        grid.setCommitEditFunction([this](int col, int row, const QString& text) {
            committed << QStringLiteral("%1,%2:%3").arg(col).arg(row).arg(text);
        });
        grid.setRowCount(static_cast<int>(rows.size()) + 2);
    }

    void showActive()
    {
        grid.resize(400, 200);
        grid.show();
        QVERIFY(QTest::qWaitForWindowActive(&grid));
        grid.setFocus();
    }
};

} // namespace

class AdvancedGridTest : public QObject {
    Q_OBJECT

private slots:
    void setCellControlStoresOnlyOnSelectableBodyCells()
    {
        RiskLikeGrid g;
        g.grid.SetCellControl(2, 0, cckComboBox);  // title row
        g.grid.SetCellControl(4, 1, cckComboBox);  // beyond the columns
        g.grid.SetCellControl(2, 4, cckComboBox);  // beyond the rows
        g.grid.SetCellControl(-1, 1, cckComboBox);
        g.grid.SetCellControl(2, 3, cckComboBox);  // refused: column 2 of the empty row
        QCOMPARE(g.grid.CellControl(2, 0), cckNone);
        QCOMPARE(g.grid.CellControl(4, 1), cckNone);
        QCOMPARE(g.grid.CellControl(2, 4), cckNone);
        QCOMPARE(g.grid.CellControl(2, 3), cckNone);
        g.grid.SetCellControl(2, 2, cckComboBox);
        QCOMPARE(g.grid.CellControl(2, 2), cckComboBox);
        // Kinds stay when rows go and come back; the window re-marks after a rebuild anyway.
        g.grid.setRowCount(2);
        g.grid.setRowCount(4);
        QCOMPARE(g.grid.CellControl(2, 2), cckComboBox);
    }

    void markingTheCurrentCellShowsTheControlAtOnce()
    {
        RiskLikeGrid g;
        g.showActive();
        QVERIFY(g.grid.setCurrentCell(2, 2));
        QVERIFY(!g.grid.control());
        g.grid.SetCellControl(2, 2, cckComboBox);
        auto* combo = qobject_cast<QComboBox*>(g.grid.control());
        QVERIFY(combo);
        QVERIFY(combo->isVisible());
        QCOMPARE(combo->geometry(), g.grid.visualRect(g.grid.model()->index(1, 2)));
        QCOMPARE(combo->count(), 2);
        QCOMPARE(combo->currentText(), QStringLiteral("Political"));

        // Made anew, and so initialised anew, every time it is shown.
        const int before = g.initCount;
        g.grid.setCurrentCell(0, 2);
        QVERIFY(!g.grid.control()->isVisible());
        g.grid.setCurrentCell(2, 2);
        QCOMPARE(g.initCount, before + 1);
    }

    void arrowsJumpOverRefusedCells()
    {
        RiskLikeGrid g;
        g.showActive();
        QVERIFY(g.grid.setCurrentCell(1, 3));
        QTest::keyClick(&g.grid, Qt::Key_Right);
        QCOMPARE(g.grid.currentColumn(), 3);
        QCOMPARE(g.grid.currentRow(), 3);
        QTest::keyClick(&g.grid, Qt::Key_Left);
        QCOMPARE(g.grid.currentColumn(), 1);
        // Nothing selectable in that direction: the cell stays.
        QTest::keyClick(&g.grid, Qt::Key_Down);
        QCOMPARE(g.grid.currentRow(), 3);
        QVERIFY(!g.grid.isEditorOpen());
    }

    void pickOnlyListSelectsTheLastExactlyEqualItem()
    {
        RiskLikeGrid g;
        g.values = QStringList{"Political", "political", "Political", "Other"};
        g.grid.setOnInitControl([](int, int, QWidget* control, TControlHandlers&) {
            qobject_cast<QComboBox*>(control)->setEditable(false);
            return control;
        });
        g.showActive();
        g.grid.SetCellControl(2, 2, cckComboBox);
        g.grid.setCurrentCell(2, 2);
        auto* combo = qobject_cast<QComboBox*>(g.grid.control());
        QVERIFY(combo);
        QCOMPARE(combo->currentIndex(), 2);

        g.rows[1][2] = QStringLiteral("POLITICAL"); // no exact match: nothing selected
        g.grid.ShowControl(2, 2);
        QCOMPARE(qobject_cast<QComboBox*>(g.grid.control())->currentIndex(), -1);
    }

    void valueListsMustBeOneDimensional()
    {
        RiskLikeGrid g;
        g.showActive();
        g.grid.SetCellControl(2, 1, cckComboBox);
        g.values = QVariantList{};
        g.grid.setCurrentCell(2, 1);
        auto* combo = qobject_cast<QComboBox*>(g.grid.control());
        QVERIFY(combo);
        QCOMPARE(combo->count(), 0);
        QVERIFY(g.errors.isEmpty());

        g.values = QVariantList{QVariantList{"a", "b"}, QVariantList{"c", "d"}};
        QVERIFY(!g.grid.ShowControl(2, 1));
        QCOMPARE(g.errors, QStringList{TAdvancedGrid::kNotOneDimensional});
        QVERIFY(!g.grid.control()->isVisible());

        // The grid stays usable after the error.
        g.values = QVariantList{1, 2, 3};
        QVERIFY(g.grid.ShowControl(2, 1));
        QCOMPARE(qobject_cast<QComboBox*>(g.grid.control())->itemText(2), QStringLiteral("3"));
    }

    void customKindWithoutControlIsReported()
    {
        RiskLikeGrid g;
        g.showActive();
        g.grid.SetCellControl(1, 1, cckCustom);
        g.grid.setCurrentCell(1, 1);
        QCOMPARE(g.errors, QStringList{TAdvancedGrid::kMissingCustomControl});
        QVERIFY(!g.grid.control());
    }

    void checkBoxFollowsXAndWritesBackOnLeaving()
    {
        RiskLikeGrid g;
        g.values = QStringLiteral("Done?");
        g.showActive();
        g.grid.SetCellControl(3, 1, cckCheckBox);
        g.grid.setCurrentCell(3, 1);
        auto* box = qobject_cast<QCheckBox*>(g.grid.control());
        QVERIFY(box);
        QVERIFY(box->isChecked());
        QCOMPARE(box->text(), QStringLiteral("Done?"));

        QSignalSpy written(&g.grid, &TAdvancedGrid::controlTextWritten);
        QTest::keyClick(&g.grid, Qt::Key_Space); // any key focuses the control, made anew
        box = qobject_cast<QCheckBox*>(g.grid.control());
        QVERIFY(box);
        QTRY_VERIFY(box->hasFocus());
        box->setChecked(false);
        g.grid.setFocus();
        QTRY_COMPARE(written.count(), 1);
        QCOMPARE(written.at(0).at(2).toString(), QString());

        g.rows[1][3] = QStringLiteral("x"); // only a capital X ticks the box
        g.grid.setCurrentCell(3, 2);
        g.grid.SetCellControl(3, 2, cckCheckBox);
        QVERIFY(!qobject_cast<QCheckBox*>(g.grid.control())->isChecked());
    }

    void enterReturnsTheFocusAfterTheWindowsHandler()
    {
        RiskLikeGrid g;
        bool gridHadFocusInHandler = true;
        int handled = 0;
        g.grid.setOnInitControl([&](int, int, QWidget* control, TControlHandlers& handlers) {
            handlers.keyDown = [&](QKeyEvent* key) {
                if (key->key() == Qt::Key_Return) {
                    ++handled;
                    gridHadFocusInHandler = g.grid.hasFocus();
                }
                return false;
            };
            return control;
        });
        g.showActive();
        g.grid.SetCellControl(2, 1, cckComboBox);
        g.grid.setCurrentCell(2, 1);
        QTest::keyClick(&g.grid, Qt::Key_P); // a letter focuses the drop-down, not the text editor
        QVERIFY(!g.grid.isEditorOpen());
        QWidget* focused = QApplication::focusWidget();
        QVERIFY(within(focused, g.grid.control()));

        QTest::keyClick(focused, Qt::Key_Return);
        QCOMPARE(handled, 1);
        QVERIFY(!gridHadFocusInHandler);
        QTRY_VERIFY(g.grid.hasFocus());
    }

    // Tab and Shift+Tab step through the cells in reading order, over refused ones, writing what an
    // editor or a control holds, and leave the grid after the last cell and before the first.
    void tabMovesBetweenCellsAndLeavesAtTheEnds()
    {
        QWidget window;
        RiskLikeGrid g;
        g.rows[1][1] = QStringLiteral("05/11/2026");
        auto* layout = new QVBoxLayout(&window);
        auto* before = new QLineEdit(&window);
        layout->addWidget(before);
        layout->addWidget(&g.grid);
        auto* after = new QLineEdit(&window);
        layout->addWidget(after);
        g.grid.SetCellControl(2, 1, cckComboBox);
        g.grid.SetCellControl(1, 2, cckDatePicker);
        window.resize(420, 300);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        g.grid.setFocus();
        QVERIFY(g.grid.setCurrentCell(0, 1));
        const auto at = [&g](int col, int row) { return g.grid.currentColumn() == col && g.grid.currentRow() == row; };
        const auto type = [](const char* keys) {
            for (const char* key = keys; *key; ++key)
                QTest::keyClick(QApplication::focusWidget(), *key);
        };
        const auto tab = [] { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab); };
        const auto backTab = [] { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier); };

        type("Fire");
        QVERIFY(g.grid.isEditorOpen());
        tab();
        QCOMPARE(g.committed, QStringList{QStringLiteral("0,1:Fire")});
        QVERIFY(at(1, 1));
        QVERIFY(!g.grid.isEditorOpen());
        QVERIFY(g.grid.hasFocus());
        tab();
        QVERIFY(at(2, 1));
        type("x");
        QVERIFY(within(QApplication::focusWidget(), g.grid.control()));
        tab();
        QCOMPARE(g.committed.last(), QStringLiteral("2,1:x"));
        QVERIFY(at(3, 1));
        QVERIFY(g.grid.hasFocus());
        tab();
        tab();
        QVERIFY(at(1, 2));
        type("1/2/2027");
        backTab();
        QCOMPARE(g.committed.last(), QStringLiteral("1,2:01/02/2027"));
        QVERIFY(at(0, 2));
        backTab();
        QVERIFY(at(3, 1));

        QVERIFY(g.grid.setCurrentCell(1, 3));
        tab();
        QVERIFY(at(3, 3)); // column 2 of the empty row is refused
        tab();
        QCOMPARE(QApplication::focusWidget(), after);
        g.grid.setFocus();
        QVERIFY(g.grid.setCurrentCell(0, 1));
        backTab();
        QCOMPARE(QApplication::focusWidget(), before);
    }

    // A key the control leaves to its parents (Shift before a capital, Alt before a shortcut) is
    // not a key pressed on the grid: the control, and what was typed into it, stay.
    void keysTheControlIgnoresDoNotRebuildIt()
    {
        RiskLikeGrid g;
        g.showActive();
        g.grid.SetCellControl(2, 1, cckComboBox);
        g.grid.setCurrentCell(2, 1);
        auto* combo = qobject_cast<QComboBox*>(g.grid.control());
        QVERIFY(combo);
        combo->setFocus();
        QTest::keyClicks(combo, QStringLiteral("new"));
        const QString typed = combo->currentText();
        const int made = g.initCount;
        QTest::keyPress(combo, Qt::Key_Shift);
        QTest::keyRelease(combo, Qt::Key_Shift);
        QTest::keyPress(combo, Qt::Key_Alt);
        QTest::keyRelease(combo, Qt::Key_Alt);
        QCOMPARE(g.grid.control(), static_cast<QWidget*>(combo));
        QCOMPARE(g.initCount, made);
        QCOMPARE(combo->currentText(), typed);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(combo));
    }

    void aHandlerMayRebuildItsOwnControl()
    {
        RiskLikeGrid g;
        QPointer<QWidget> first;
        g.grid.setOnInitControl([&](int, int, QWidget* control, TControlHandlers& handlers) {
            if (!first)
                first = control;
            handlers.keyDown = [&g](QKeyEvent* key) {
                if (key->key() == Qt::Key_Return)
                    g.grid.ShowControl(g.grid.currentColumn(), g.grid.currentRow());
                return false;
            };
            return control;
        });
        g.showActive();
        g.grid.SetCellControl(2, 1, cckComboBox);
        g.grid.setCurrentCell(2, 1);
        QTest::keyClick(&g.grid, Qt::Key_F);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QVERIFY(first);                // still alive while its event was being handled
        QVERIFY(g.grid.control() != first);
        QTRY_VERIFY(!first);           // and gone afterwards
        QVERIFY(g.grid.control()->isVisible());
    }

    void datePickerReadsAndWritesTheGridsFormat()
    {
        // Whatever the system locale writes, the picker goes by the grid's own format.
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        RiskLikeGrid g;
        g.grid.setDateFormat(ShortDateFormat{false, false, true, '/'});
        g.rows[0][1] = QStringLiteral("05/11/2026");
        g.rows[1][1] = QStringLiteral("31/02/2026");
        g.showActive();
        g.grid.SetCellControl(1, 1, cckDatePicker);
        g.grid.SetCellControl(1, 2, cckDatePicker);
        g.grid.setCurrentCell(1, 1);
        auto* picker = qobject_cast<QDateEdit*>(g.grid.control());
        QVERIFY(picker);
        QCOMPARE(picker->date(), QDate(2026, 11, 5));
        QCOMPARE(picker->displayFormat(), QStringLiteral("d/M/yyyy"));

        picker->setFocus();
        picker->setDate(QDate(2027, 1, 9));
        g.grid.setFocus();
        QCOMPARE(g.committed, QStringList{QStringLiteral("1,1:9/1/2027")});

        // A cell that holds no date shows today, and looking at it is no edit.
        g.grid.setCurrentCell(1, 2);
        QCOMPARE(qobject_cast<QDateEdit*>(g.grid.control())->date(), QDate::currentDate());
        g.grid.commitPendingEdit();
        QCOMPARE(g.committed.size(), 1);
        QLocale::setDefault(QLocale::c());
    }

    // The key that opens a cell's control is its first keystroke; Escape puts the cell's value
    // back and commits nothing, Enter commits what was typed.
    void theFirstKeyGoesIntoTheControlAndEscapeRestoresTheCell()
    {
        struct Trial {
            TCellControlKind kind;
            int col;
            bool pickOnly;
            const char* keys;
            const char* typed;
            const char* committed;
        };
        // A key in a pick-only list picks at once, as a click in its list does: nothing to cancel.
        const Trial trials[] = {
            {cckComboBox, 2, false, "xyz", "xyz", "2,1:xyz"},
            {cckDatePicker, 1, false, "1/2/2027", "1/2/2027", "1,1:01/02/2027"},
            {cckComboBox, 2, true, "p", "Political", "2,1:Political"},
        };
        for (const Trial& trial : trials) {
            RiskLikeGrid g;
            g.rows[0][1] = QStringLiteral("05/11/2026");
            g.grid.setOnInitControl([&trial](int, int, QWidget* control, TControlHandlers&) {
                if (auto* combo = qobject_cast<QComboBox*>(control))
                    combo->setEditable(!trial.pickOnly);
                return control;
            });
            g.showActive();
            g.grid.SetCellControl(trial.col, 1, trial.kind);
            const QString cell = g.grid.cellText(trial.col, 1);
            const auto value = [&g] {
                if (auto* combo = qobject_cast<QComboBox*>(g.grid.control()))
                    return combo->currentText();
                return qobject_cast<DatePicker*>(g.grid.control())->shownText();
            };
            const auto ends = trial.pickOnly ? std::vector<Qt::Key>{Qt::Key_Return}
                                             : std::vector<Qt::Key>{Qt::Key_Escape, Qt::Key_Return};
            for (Qt::Key end : ends) {
                g.grid.setFocus();
                QVERIFY(g.grid.setCurrentCell(trial.col, 1));
                for (const char* key = trial.keys; *key; ++key)
                    QTest::keyClick(QApplication::focusWidget(), *key);
                QVERIFY2(within(QApplication::focusWidget(), g.grid.control()), trial.keys);
                QCOMPARE(value(), QLatin1String(trial.typed));
                QTest::keyClick(QApplication::focusWidget(), end);
                QVERIFY(g.grid.hasFocus());
                if (end == Qt::Key_Escape) {
                    QCOMPARE(value(), cell);
                    QVERIFY2(g.committed.isEmpty(), trial.keys);
                }
            }
            QCOMPARE(g.committed, QStringList{QLatin1String(trial.committed)});
        }
    }

    void aDatePickedInTheCalendarIsCommittedAtOnce()
    {
        RiskLikeGrid g;
        g.rows[0][1] = QStringLiteral("05/11/2026");
        g.showActive();
        g.grid.SetCellControl(1, 1, cckDatePicker);
        g.grid.setCurrentCell(1, 1);
        auto* picker = qobject_cast<QDateEdit*>(g.grid.control());
        QVERIFY(picker);
        // Showing a picker builds no calendar: that is left to the first time it drops down.
        QVERIFY(!picker->findChild<QCalendarWidget*>());

        QStyleOptionComboBox arrowOption;
        arrowOption.initFrom(picker);
        arrowOption.subControls = QStyle::SC_All;
        const QRect arrow = picker->style()->subControlRect(QStyle::CC_ComboBox, &arrowOption,
                                                           QStyle::SC_ComboBoxArrow, picker);
        QTest::mouseClick(picker, Qt::LeftButton, {}, arrow.center());
        QTRY_VERIFY(QApplication::activePopupWidget());
        auto* calendar = picker->findChild<QCalendarWidget*>();
        QVERIFY(calendar);
        emit calendar->clicked(QDate(2027, 3, 4));
        QCOMPARE(g.committed, QStringList{QStringLiteral("1,1:04/03/2027")});
        QTRY_VERIFY(!QApplication::activePopupWidget());
    }

    // A value picked in an in-place control reaches the commit function once, for the control's
    // own cell, even when the selection has moved on by the time it is committed.
    void pickedValuesReachTheCommitFunctionForTheControlsCell()
    {
        RiskLikeGrid g;
        g.showActive();
        for (int row = 1; row <= 2; ++row) {
            g.grid.SetCellControl(2, row, cckComboBox);
            g.grid.SetCellControl(3, row, cckCheckBox);
        }

        g.grid.setCurrentCell(2, 1);
        auto* combo = qobject_cast<QComboBox*>(g.grid.control());
        QVERIFY(combo);
        combo->setFocus();
        // The cell's text stands in the edit field with no item selected: the first Down picks
        // "Financial", which the cell holds already, the second "Political".
        QTest::keyClick(combo, Qt::Key_Down);
        QVERIFY(g.committed.isEmpty());
        QTest::keyClick(combo, Qt::Key_Down);
        QCOMPARE(g.committed, QStringList{QStringLiteral("2,1:Political")});
        QTest::mouseClick(g.grid.viewport(), Qt::LeftButton, {},
                          g.grid.visualRect(g.grid.model()->index(1, 0)).center());
        QCOMPARE(g.grid.currentRow(), 2);
        QCOMPARE(g.committed, QStringList{QStringLiteral("2,1:Political")}); // once

        // Typed text is committed when the control is left, to the control's cell.
        g.grid.setCurrentCell(2, 2);
        combo = qobject_cast<QComboBox*>(g.grid.control());
        combo->setFocus();
        combo->setEditText(QStringLiteral("Legal"));
        QTest::mouseClick(g.grid.viewport(), Qt::LeftButton, {},
                          g.grid.visualRect(g.grid.model()->index(0, 0)).center());
        QCOMPARE(g.grid.currentRow(), 1);
        QCOMPARE(g.committed.last(), QStringLiteral("2,2:Legal"));

        g.grid.setCurrentCell(3, 2);
        auto* box = qobject_cast<QCheckBox*>(g.grid.control());
        QVERIFY(box && !box->isChecked());
        box->setFocus();
        QTest::keyClick(box, Qt::Key_Space);
        QCOMPARE(g.committed.last(), QStringLiteral("3,2:X"));
        const int count = g.committed.size();
        g.grid.setFocus();
        g.grid.commitPendingEdit();
        QCOMPARE(g.committed.size(), count);
    }

    // Entering a control cell, refreshing and moving the selection fill controls but never run
    // a handler the window hooked on their change signals, and commit nothing.
    void fillingAControlRunsNoHandler()
    {
        RiskLikeGrid g;
        int handlerCalls = 0;
        const auto handler = [&handlerCalls, &g] {
            if (!protocol::updating(&g.grid))
                ++handlerCalls;
        };
        g.grid.setOnInitControl([&](int, int, QWidget* control, TControlHandlers&) {
            if (auto* combo = qobject_cast<QComboBox*>(control)) {
                QObject::connect(combo, &QComboBox::currentIndexChanged, handler);
                QObject::connect(combo, &QComboBox::currentTextChanged, handler);
                QObject::connect(combo, &QComboBox::editTextChanged, handler);
                QObject::connect(combo->lineEdit(), &QLineEdit::textChanged, handler);
            } else if (auto* picker = qobject_cast<QDateEdit*>(control)) {
                QObject::connect(picker, &QDateEdit::dateChanged, handler);
                QObject::connect(picker, &QDateEdit::dateTimeChanged, handler);
            } else if (auto* box = qobject_cast<QCheckBox*>(control)) {
                QObject::connect(box, &QCheckBox::toggled, handler);
                QObject::connect(box, &QCheckBox::stateChanged, handler);
            }
            return control;
        });
        g.rows[0][1] = QStringLiteral("24/12/2025");
        g.showActive();
        for (int row = 1; row <= 2; ++row) {
            g.grid.SetCellControl(1, row, cckDatePicker);
            g.grid.SetCellControl(2, row, cckComboBox);
            g.grid.SetCellControl(3, row, cckCheckBox);
        }
        for (int row = 1; row <= 2; ++row) {
            for (int col = 0; col < 4; ++col) {
                QVERIFY(g.grid.setCurrentCell(col, row));
                g.grid.refresh();
                g.grid.ShowControl(col, row);
            }
        }
        QTest::keyClick(&g.grid, Qt::Key_Up);
        QTest::keyClick(&g.grid, Qt::Key_Left);
        QCOMPARE(handlerCalls, 0);
        g.grid.commitPendingEdit();
        QVERIFY(g.committed.isEmpty());
    }

    void fiveThousandRowsAndManyColumnsKeepTheirKinds()
    {
        TAdvancedGrid grid;
        grid.setColumnCount(40);
        grid.setRowCount(5001);
        grid.setCellTextFunction([](int col, int row, CellTextUse) { return QStringLiteral("%1:%2").arg(col).arg(row); });
        for (int row = 1; row < 5001; ++row)
            grid.SetCellControl(35, row, row % 2 ? cckComboBox : cckDatePicker);
        QCOMPARE(grid.CellControl(35, 4999), cckComboBox);
        QCOMPARE(grid.CellControl(35, 5000), cckDatePicker);
        QCOMPARE(grid.CellControl(34, 5000), cckNone);
        QCOMPARE(grid.CellControl(35, 5001), cckNone);
        QCOMPARE(grid.CellControl(400, 40000), cckNone);

        grid.resize(300, 200);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        QVERIFY(grid.setCurrentCell(35, 4999));
        grid.scrollTo(grid.model()->index(4998, 35));
        QVERIFY(qobject_cast<QComboBox*>(grid.control()));
        QVERIFY(grid.control()->isVisible());
        QCOMPARE(qobject_cast<QComboBox*>(grid.control())->currentText(), QStringLiteral("35:4999"));

        // Scrolled out of view, the control hides; back in view, it follows the cell.
        grid.scrollToTop();
        QVERIFY(!grid.control()->isVisible());
        grid.scrollTo(grid.model()->index(4998, 35));
        QVERIFY(grid.control()->isVisible());
        QCOMPARE(grid.control()->geometry(), grid.visualRect(grid.model()->index(4998, 35)));
    }
};

QTEST_MAIN(AdvancedGridTest)
#include "widgets_advanced_grid_test.moc"
