// The Action Page in the running shell: typing into cells through the real editor, the Done list
// and the Due picker, sorting by a title press (saved with the case), Alt+Delete, undo, commits,
// and a list longer than the classic table of cell controls.

#include "workshop_session.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QComboBox>
#include <QDateEdit>
#include <QHeaderView>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QTest>

#include "model/case_data.h"
#include "model/date_time.h"
#include "shell/help_window.h"
#include "widgets/advanced_grid.h"
#include "widgets/date_format.h"
#include "workshops/capabilities/action_page_form.h"
#include "workshops/vision/future_form.h"

namespace {


void pressTitle(WorkshopGrid* grid, int col)
{
    QHeaderView* header = grid->horizontalHeader();
    const int x = header->sectionViewportPosition(col) + header->sectionSize(col) / 2;
    QTest::mousePress(header->viewport(), Qt::LeftButton, {}, QPoint(x, 3));
    QTest::mouseRelease(header->viewport(), Qt::LeftButton, {}, QPoint(x, 3));
}

const double kNov5 = encodeDate(2026, 11, 5);

} // namespace

class ActionPageFormTest : public QObject, private WorkshopSession {
    Q_OBJECT

private slots:
    void init()
    {
        QVERIFY(openActiveShell());
        form = openWorkshop<TActionPageForm>(workshop_id::ActionPage);
        QVERIFY(form);
        QVERIFY(QTest::qWaitForWindowExposed(form));
        grid = child<TAdvancedGrid>(form, "GridAction");
    }
    void cleanup()
    {
        form = nullptr;
        closeShell();
    }

    // Due dates go day first with the century; the window changes no other window's dates.
    void dueDatesShowTheCenturyAndNoOtherWindowChangesItsFormat()
    {
        addActions({{"Hire", kNov5}});
        QVERIFY(grid->setCurrentCell(3, 1));
        auto* picker = qobject_cast<QDateEdit*>(grid->control());
        QVERIFY(picker);
        QCOMPARE(picker->text(), QStringLiteral("5/11/2026"));
        QCOMPARE(grid->cellText(3, 1), QStringLiteral("05/11/2026"));
        QCOMPARE(help::pageForWidget(grid), QStringLiteral("actionpage.html#grid"));

        data().DateFrom = encodeDate(2026, 12, 9);
        auto* future = qobject_cast<TFutureForm*>(main->OpenWorkshop(workshop_id::Future));
        QVERIFY(future);
        QCOMPARE(child<DatePicker>(future, "edtDate1")->text(), QStringLiteral("09/12/2026"));
    }

    void aNewActionShowsImportanceOneTodayAndNo()
    {
        QCOMPARE(grid->cellText(4, 0), QStringLiteral("Done"));
        replaceCellText(grid, 0, 1, QStringLiteral("Call the bank"));
        QCOMPARE(data().Actions.Count(), 1);
        QCOMPARE(grid->rowCount(), 3);
        QCOMPARE(grid->cellText(2, 1), QStringLiteral("1"));
        QCOMPARE(grid->cellText(3, 1), QString::fromStdString(formatDate(nowAsDateTime())));
        QCOMPARE(grid->cellText(4, 1), QStringLiteral("No"));
        QCOMPARE(grid->CellControl(3, 1), cckDatePicker);
        QCOMPARE(grid->CellControl(4, 1), cckComboBox);
        for (int col = 1; col < 5; ++col)
            QVERIFY(!grid->setCurrentCell(col, 2)); // of the empty row only What can be selected
    }

    void pickingYesInTheDoneListMarksTheActionDone()
    {
        addActions({{"Hire", kNov5}});
        grid->setFocus();
        QVERIFY(grid->setCurrentCell(4, 1));
        auto* list = qobject_cast<QComboBox*>(grid->control());
        QVERIFY(list);
        QVERIFY(!list->isEditable());
        QCOMPARE(list->count(), 2);
        QCOMPARE(list->itemText(0), QStringLiteral("Yes"));
        QCOMPARE(list->currentText(), QStringLiteral("No"));
        const int steps = caseForm()->undoCount();
        list->setCurrentIndex(0);
        emit list->activated(0);
        QVERIFY(data().Actions[0].Done);
        QCOMPARE(grid->cellText(4, 1), QStringLiteral("Yes"));
        QCOMPARE(caseForm()->undoCount(), steps + 1);
        main->Undo();
        QCOMPARE(grid->cellText(4, 1), QStringLiteral("No"));
    }

    // A date picked in the calendar, however far from today, is stored as picked, in one step.
    void aPickedDueDateIsStoredOnceAsPicked()
    {
        addActions({{"Hire", kNov5 + 0.5}});
        grid->setFocus();
        QVERIFY(grid->setCurrentCell(3, 1));
        const int steps = caseForm()->undoCount();
        pressKey(Qt::Key_F2);
        auto* picker = qobject_cast<QDateEdit*>(grid->control());
        QVERIFY(picker && picker->hasFocus());
        QStyleOptionComboBox arrowOption;
        arrowOption.initFrom(picker);
        arrowOption.subControls = QStyle::SC_All;
        const QRect arrow =
            picker->style()->subControlRect(QStyle::CC_ComboBox, &arrowOption, QStyle::SC_ComboBoxArrow, picker);
        QTest::mouseClick(picker, Qt::LeftButton, {}, arrow.center());
        QTRY_VERIFY(QApplication::activePopupWidget());
        auto* calendar = picker->calendarWidget();
        calendar->setSelectedDate(QDate(2080, 1, 1));
        pressKey(Qt::Key_Return);
        QTRY_VERIFY(!QApplication::activePopupWidget());
        QCOMPARE(toQDate(data().Actions[0].Due), QDate(2080, 1, 1));
        pressKey(Qt::Key_Return); // back to the grid
        QVERIFY(grid->hasFocus());
        QCOMPARE(toQDate(data().Actions[0].Due), QDate(2080, 1, 1));
        QCOMPARE(grid->cellText(3, 1), QStringLiteral("01/01/2080"));
        QCOMPARE(caseForm()->undoCount(), steps + 1);
        main->Undo();
        QCOMPARE(data().Actions[0].Due, kNov5 + 0.5);
        QCOMPARE(grid->cellText(3, 1), QStringLiteral("05/11/2026"));
    }

    // Typing a date into a Due cell, as a user does: the first key opens the picker and is part of
    // the date, "/" moves on, Enter stores what was typed, Escape and a text that is no date store
    // nothing.
    void aDateTypedIntoADueCellIsStoredAsTyped()
    {
        struct Typed {
            bool f2;
            const char* keys;
            Qt::Key end;
            QDate stored; // invalid: Due stays 5 November 2026
        };
        const Typed cases[] = {
            {false, "15/03/2027", Qt::Key_Return, QDate(2027, 3, 15)},
            {true, "30/6/27", Qt::Key_Return, QDate(2027, 6, 30)},
            {false, "150327", Qt::Key_Return, QDate(2027, 3, 15)},
            {false, "01012080", Qt::Key_Return, QDate(2080, 1, 1)},
            {false, "1/1/2080", Qt::Key_Escape, QDate()},
            {false, "31/02/2027", Qt::Key_Return, QDate()},
            {false, "soon", Qt::Key_Return, QDate()},
        };
        addActions({{"Hire", kNov5}});
        for (const Typed& typed : cases) {
            data().Actions[0].Due = kNov5;
            form->sendRefresh();
            grid->setFocus();
            QVERIFY(grid->setCurrentCell(3, 1));
            const int steps = caseForm()->undoCount();
            if (typed.f2)
                pressKey(Qt::Key_F2);
            typeKeys(QLatin1String(typed.keys));
            QVERIFY2(qobject_cast<QDateEdit*>(QApplication::focusWidget()), typed.keys);
            pressKey(typed.end);
            QVERIFY2(grid->hasFocus(), typed.keys);
            const QDate expected = typed.stored.isValid() ? typed.stored : QDate(2026, 11, 5);
            QCOMPARE(toQDate(data().Actions[0].Due), expected);
            QCOMPARE(caseForm()->undoCount(), steps + (typed.stored.isValid() ? 1 : 0));
            QCOMPARE(qobject_cast<QDateEdit*>(grid->control())->date(), expected);
        }
    }

    void enteringAndLeavingDueAndDoneCellsIsNoEdit()
    {
        addActions({{"Hire", kNov5 + 0.75}, {"Call", kNov5 - 3}});
        data().Modified = false;
        const int steps = caseForm()->undoCount();
        grid->setFocus();
        for (int row : {1, 2}) {
            for (int col : {3, 4, 0}) {
                QVERIFY(grid->setCurrentCell(col, row));
                if (col != 0) {
                    QTest::keyClick(grid, Qt::Key_F2); // focuses the control, made anew
                    QTRY_VERIFY(grid->control()
                                && (grid->control() == QApplication::focusWidget()
                                    || grid->control()->isAncestorOf(QApplication::focusWidget())));
                    grid->setFocus();
                }
            }
        }
        form->sendCommit();
        QCOMPARE(caseForm()->undoCount(), steps);
        QVERIFY(!data().Modified);
        QCOMPARE(data().Actions[0].Due, kNov5 + 0.75);
    }

    void pressingDueSortsLatestFirstAndTheOrderIsSaved()
    {
        addActions({{"early", encodeDate(2026, 1, 1)}, {"late", encodeDate(2027, 6, 1)},
                    {"middle", encodeDate(2026, 8, 1)}});
        pressTitle(grid, 3);
        QCOMPARE(grid->cellText(0, 1), QStringLiteral("late"));
        QCOMPARE(grid->cellText(0, 2), QStringLiteral("middle"));
        QCOMPARE(grid->cellText(0, 3), QStringLiteral("early"));
        QVERIFY(data().Modified);

        const QString path = dir->filePath(QStringLiteral("sorted.cvx"));
        prompts->savePaths = {path};
        QVERIFY(main->Save());
        prompts->openPaths = {path};
        main->Open();
        TCaseData& reopened = main->currentCase()->data();
        QCOMPARE(reopened.Actions.Count(), 3);
        QCOMPARE(reopened.Actions[0].What, std::string("late"));
        QCOMPARE(reopened.Actions[2].What, std::string("early"));
    }

    void altDeleteAsksWithWhatAndMarksTheCaseModified()
    {
        addActions({{"Hire", kNov5}, {"Call", kNov5}});
        data().Modified = false;
        grid->setFocus();
        QVERIFY(grid->setCurrentCell(0, 2));
        prompts->yesNoAnswer = false;
        QTest::keyClick(grid, Qt::Key_Delete, Qt::AltModifier);
        QCOMPARE(data().Actions.Count(), 2);
        QVERIFY(!data().Modified);
        prompts->yesNoAnswer = true;
        QTest::keyClick(grid, Qt::Key_Delete, Qt::AltModifier);
        QCOMPARE(prompts->questions,
                 (QStringList{QStringLiteral("Delete item 'Call'?"), QStringLiteral("Delete item 'Call'?")}));
        QCOMPARE(data().Actions.Count(), 1);
        QCOMPARE(grid->rowCount(), 3);
        QVERIFY(data().Modified);
        main->Undo();
        QCOMPARE(grid->cellText(0, 2), QStringLiteral("Call"));
    }

    void aCommitKeepsWhatIsStillInTheCellEditor()
    {
        addActions({{"Hire", kNov5}});
        replaceCellText(grid, 1, 1, QStringLiteral("Finance"), false);
        QVERIFY(grid->isEditorOpen());
        form->sendCommit();
        QCOMPARE(data().Actions[0].Who, std::string("Finance"));
    }

    void moreActionsThanTheClassicControlTableHoldsGetTheirControls()
    {
        std::vector<std::pair<const char*, double>> many(3000, {"Step", kNov5});
        for (auto [what, due] : many) {
            auto& action = data().Actions.Add();
            action.What = what;
            action.Due = due;
        }
        form->sendRefresh();
        QCOMPARE(grid->rowCount(), 3002);
        QCOMPARE(grid->CellControl(3, 3000), cckDatePicker);
        QCOMPARE(grid->CellControl(4, 2500), cckComboBox);
        grid->setFocus();
        QVERIFY(grid->setCurrentCell(4, 2999));
        grid->scrollTo(grid->model()->index(2998, 4));
        QTRY_VERIFY(grid->control() && grid->control()->isVisible());
        auto* list = qobject_cast<QComboBox*>(grid->control());
        QVERIFY(list);
        list->setCurrentIndex(0);
        emit list->activated(0);
        QVERIFY(data().Actions[2998].Done);
    }

private:
    TCaseForm* caseForm() const { return form->caseForm(); }
    TCaseData& data() const { return form->data(); }
    void addActions(std::initializer_list<std::pair<const char*, double>> actions)
    {
        for (auto [what, due] : actions) {
            auto& action = data().Actions.Add();
            action.What = what;
            action.Due = due;
        }
        form->sendRefresh();
    }

    TActionPageForm* form = nullptr;
    TAdvancedGrid* grid = nullptr;
};

QTEST_MAIN(ActionPageFormTest)
#include "action_page_form_test.moc"
