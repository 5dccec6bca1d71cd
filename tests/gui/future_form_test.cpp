// Picture Your Future in the running shell: typing into the objectives grid through the real
// editor, the type box with its add-or-rename question and Alt+Delete, sorting by a title press,
// the text fields and dates, undo, and that merely looking is no edit.

#include "workshop_session.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include "model/case_data.h"
#include "shell/help_window.h"
#include "widgets/advanced_grid.h"
#include "widgets/bullet_text_edit.h"
#include "widgets/cp1252_text_edit.h"
#include "widgets/date_format.h"
#include "workshops/vision/future_form.h"

namespace {

// Types into the grid's current cell as a user would: the first key opens the editor.

void pressTitle(WorkshopGrid* grid, int col)
{
    QHeaderView* header = grid->horizontalHeader();
    const int x = header->sectionViewportPosition(col) + header->sectionSize(col) / 2;
    QTest::mousePress(header->viewport(), Qt::LeftButton, {}, QPoint(x, 3));
    QTest::mouseRelease(header->viewport(), Qt::LeftButton, {}, QPoint(x, 3));
}

std::vector<int> links(const TCaseData& data)
{
    std::vector<int> out;
    for (const auto& objective : data.KeyObjectives)
        out.push_back(objective.Link);
    return out;
}

} // namespace

class FutureFormTest : public QObject, private WorkshopSession {
    Q_OBJECT

private slots:
    void init()
    {
        QVERIFY(openActiveShell());
        form = openWorkshop<TFutureForm>(workshop_id::Future);
        QVERIFY(form);
        QVERIFY(QTest::qWaitForWindowExposed(form));
        grid = child<TAdvancedGrid>(form, "grdKeyObj");
    }
    void cleanup()
    {
        form = nullptr;
        closeShell();
    }

    void aNewCaseShowsAnEmptyGridAndTheDefaultTypes()
    {
        QVERIFY(!grid->setCurrentCell(2, 1)); // the type cell of the empty row
        QCOMPARE(grid->rowCount(), 2);
        QCOMPARE(grid->cellText(0, 0), QStringLiteral("Objective"));
        QCOMPARE(grid->cellText(1, 0), QStringLiteral("Imp."));
        QCOMPARE(grid->cellText(2, 0), QStringLiteral("Type"));
        typeIntoCell(grid, 0, 1, QStringLiteral("Grow abroad"));
        QCOMPARE(data().KeyObjectives.Count(), 1);
        QCOMPARE(grid->rowCount(), 3);
        QCOMPARE(grid->cellText(1, 1), QStringLiteral("1"));
        QVERIFY(grid->setCurrentCell(2, 1));
        QComboBox* box = form->typeBox();
        QVERIFY(box && box->isVisible());
        QCOMPARE(box->count(), 3);
        QCOMPARE(box->itemText(1), QStringLiteral("Capabilities/Skills"));
        QCOMPARE(box->currentIndex(), -1);
    }

    void anImportanceIsClampedAndUndoShowsTheOldValue()
    {
        typeIntoCell(grid, 0, 1, QStringLiteral("Grow"));
        typeIntoCell(grid, 1, 1, QStringLiteral("3"));
        const int steps = caseForm()->undoCount();
        typeIntoCell(grid, 1, 1, QStringLiteral("57"));
        QCOMPARE(grid->cellText(1, 1), QStringLiteral("10"));
        QCOMPARE(caseForm()->undoCount(), steps + 1);
        main->Undo();
        QCOMPARE(grid->cellText(1, 1), QStringLiteral("3"));
    }

    void pickingATypeFromTheListGivesItToTheObjective()
    {
        addObjectives({{"Grow", -1}});
        QVERIFY(grid->setCurrentCell(2, 1));
        QComboBox* box = form->typeBox();
        QVERIFY(box);
        box->setFocus();
        box->setCurrentIndex(2);
        emit box->activated(2);
        QCOMPARE(data().KeyObjectives[0].Link, 2);
        QCOMPARE(grid->cellText(2, 1), QStringLiteral("Image"));
        QCOMPARE(form->lastChosenType(), 2);
        QVERIFY(data().Modified);
        main->Undo();
        QCOMPARE(grid->cellText(2, 1), QString());
    }

    void typingAnExistingTypeInOtherLetterCaseSelectsItWithoutAsking()
    {
        addObjectives({{"Grow", 0}});
        enterInTypeBox(1, QStringLiteral("image"));
        QVERIFY(prompts->addModAsked.isEmpty());
        QCOMPARE(data().KeyObjectives[0].Link, 2);
        QCOMPARE(data().ObjectiveTypes.size(), 3u);
        QTRY_VERIFY(grid->hasFocus());
        QCOMPARE(grid->cellText(2, 1), QStringLiteral("Image"));
    }

    // The key that opens the type box is the first letter of the type; Escape drops what was typed.
    void typingOnATypeCellKeepsTheFirstKeyAndEscapeCancels()
    {
        addObjectives({{"Grow", 0}});
        clickCell(grid, 2, 1);
        typeKeys(QStringLiteral("image"));
        QCOMPARE(form->typeBox()->currentText(), QStringLiteral("image"));
        pressKey(Qt::Key_Return);
        QVERIFY(prompts->addModAsked.isEmpty());
        QCOMPARE(data().KeyObjectives[0].Link, 2);
        QVERIFY(grid->hasFocus());

        const int steps = caseForm()->undoCount();
        typeKeys(QStringLiteral("Financial"));
        QCOMPARE(form->typeBox()->currentText(), QStringLiteral("Financial"));
        pressKey(Qt::Key_Escape);
        QVERIFY(grid->hasFocus());
        QCOMPARE(form->typeBox()->currentText(), QStringLiteral("Image"));
        clickCell(grid, 0, 1);
        QVERIFY(prompts->addModAsked.isEmpty());
        QCOMPARE(data().KeyObjectives[0].Link, 2);
        QCOMPARE(caseForm()->undoCount(), steps);
    }

    // Leaving the type box commits what was typed, as Enter does.
    void aTypeTypedIntoTheBoxIsCommittedWhenTheBoxIsLeft()
    {
        addObjectives({{"Grow", 0}, {"Hire", 1}});
        clickCell(grid, 2, 1);
        typeKeys(QStringLiteral("image"));
        clickCell(grid, 0, 2);
        QVERIFY(prompts->addModAsked.isEmpty());
        QCOMPARE(data().KeyObjectives[0].Link, 2);

        prompts->addModAnswers = {AddModAnswer::Add};
        clickCell(grid, 2, 2);
        typeKeys(QStringLiteral("Financial"));
        clickCell(grid, 0, 1);
        QCOMPARE(prompts->addModAsked, QList<bool>{true});
        QCOMPARE(data().ObjectiveTypes.back(), std::string("Financial"));
        QCOMPARE(data().KeyObjectives[1].Link, 3);
        QCOMPARE(grid->cellText(2, 2), QStringLiteral("Financial"));
    }

    void typingANewTypeAndAnsweringAddAppendsAndAssignsIt()
    {
        addObjectives({{"Grow", -1}});
        prompts->addModAnswers = {AddModAnswer::Add};
        enterInTypeBox(1, QStringLiteral("Financial"));
        QCOMPARE(prompts->addModAsked, QList<bool>{false}); // an untyped objective: nothing to rename
        QCOMPARE(data().ObjectiveTypes.back(), std::string("Financial"));
        QCOMPARE(data().KeyObjectives[0].Link, 3);
        QCOMPARE(form->typeBox()->count(), 4);
        QCOMPARE(form->typeBox()->currentIndex(), 3);
        QCOMPARE(grid->cellText(2, 1), QStringLiteral("Financial"));
    }

    void altDeleteInTheTypeBoxUntypesAndRenumbersObjectives()
    {
        addObjectives({{"culture", 0}, {"skills", 1}, {"image", 2}, {"none", -1}});
        QVERIFY(grid->setCurrentCell(2, 2));
        QComboBox* box = form->typeBox();
        QVERIFY(box);
        QCOMPARE(box->currentIndex(), 1);
        box->setFocus();
        QTRY_VERIFY(box->hasFocus());

        prompts->yesNoAnswer = false;
        QTest::keyClick(box, Qt::Key_Delete, Qt::AltModifier);
        QCOMPARE(prompts->questions, QStringList{QStringLiteral("Delete objective type 'Capabilities/Skills'?")});
        QCOMPARE(data().ObjectiveTypes.size(), 3u);

        prompts->yesNoAnswer = true;
        box = form->typeBox();
        box->setFocus();
        QTest::keyClick(box, Qt::Key_Delete, Qt::AltModifier);
        QCOMPARE(data().ObjectiveTypes, (std::vector<std::string>{"Culture", "Image"}));
        QCOMPARE(links(data()), (std::vector<int>{0, -1, 1, -1}));
        QCOMPARE(grid->cellText(2, 3), QStringLiteral("Image"));
        QCOMPARE(grid->cellText(2, 2), QString());
        main->Undo();
        QCOMPARE(links(data()), (std::vector<int>{0, 1, 2, -1}));
        QCOMPARE(grid->cellText(2, 2), QStringLiteral("Capabilities/Skills"));
    }

    void altDeleteOnAnObjectiveAsksFirst()
    {
        addObjectives({{"Grow", 0}, {"Hire", 1}});
        grid->setFocus();
        QVERIFY(grid->setCurrentCell(0, 2));
        prompts->yesNoAnswer = false;
        QTest::keyClick(grid, Qt::Key_Delete, Qt::AltModifier);
        QCOMPARE(data().KeyObjectives.Count(), 2);
        prompts->yesNoAnswer = true;
        QTest::keyClick(grid, Qt::Key_Delete, Qt::AltModifier);
        QCOMPARE(prompts->questions, (QStringList{QStringLiteral("Delete objective 'Hire'?"),
                                                  QStringLiteral("Delete objective 'Hire'?")}));
        QCOMPARE(data().KeyObjectives.Count(), 1);
        QCOMPARE(grid->rowCount(), 3);

        // The empty row has nothing to delete.
        QVERIFY(grid->setCurrentCell(0, 2));
        QTest::keyClick(grid, Qt::Key_Delete, Qt::AltModifier);
        QCOMPARE(prompts->questions.size(), 2);
    }

    void pressingTheTypeTitlePutsUntypedObjectivesFirst()
    {
        addObjectives({{"beta", 2}, {"Alpha", -1}, {"gamma", 0}});
        pressTitle(grid, 2);
        QCOMPARE(links(data()), (std::vector<int>{-1, 0, 2}));
        QCOMPARE(grid->cellText(0, 1), QStringLiteral("Alpha"));
        QCOMPARE(grid->cellText(2, 3), QStringLiteral("Image"));
        main->Undo();
        QCOMPARE(grid->cellText(0, 1), QStringLiteral("beta"));
    }

    void clickingThroughObjectivesIsNoEditButADamagedLinkIsRepaired()
    {
        addObjectives({{"typed", 2}, {"untyped", -1}, {"damaged", 9}});
        data().Modified = false;
        const int steps = caseForm()->undoCount();
        grid->setFocus();
        for (int row = 1; row <= 2; ++row) {
            for (int col = 0; col < 3; ++col)
                QVERIFY(grid->setCurrentCell(col, row));
        }
        QCOMPARE(caseForm()->undoCount(), steps);
        QVERIFY(!data().Modified);
        // A link past the type list shows an empty cell.
        QCOMPARE(grid->cellText(2, 3), QString());

        QVERIFY(grid->setCurrentCell(2, 3));
        QCOMPARE(data().KeyObjectives[2].Link, -1);
        QCOMPARE(caseForm()->undoCount(), steps + 1);
        QVERIFY(data().Modified);
    }

    void textFieldsStoreEveryKeystrokeAsPlainText()
    {
        data().Modified = false;
        const int steps = caseForm()->undoCount();
        child<Cp1252PlainTextEdit>(form, "edtOrgDesc")->setFocus();
        QTest::keyClicks(child<Cp1252PlainTextEdit>(form, "edtOrgDesc"), QStringLiteral("Makers"));
        QCOMPARE(data().OrgDescription, std::string("Makers"));
        QCOMPARE(caseForm()->undoCount(), steps + 6);

        child<BulletTextEdit>(form, "edtVision")->setFocus();
        QTest::keyClicks(child<BulletTextEdit>(form, "edtVision"), QStringLiteral("Lead"));
        QTest::keyClick(child<BulletTextEdit>(form, "edtVision"), Qt::Key_Return);
        QTest::keyClicks(child<BulletTextEdit>(form, "edtVision"), QStringLiteral("Grow"));
        QCOMPARE(data().VisionMission, std::string("Lead\r\nGrow"));
        main->Undo();
        QCOMPARE(child<BulletTextEdit>(form, "edtVision")->plainText(), QStringLiteral("Lead\nGro"));

        child<BulletTextEdit>(form, "edtFactors")->setFocus();
        QTest::keyClicks(child<BulletTextEdit>(form, "edtFactors"), QStringLiteral("Speed"));
        QCOMPARE(data().SuccessFactors, std::string("Speed"));
    }

    void changingADateStoresBothOnlyWhenTheDayChanges()
    {
        const double from = data().DateFrom; // "now", with a time of day
        const int steps = caseForm()->undoCount();
        child<DatePicker>(form, "edtDate1")->setFocus();
        child<DatePicker>(form, "edtDate2")->setFocus(); // leaving a picker unchanged is no edit
        form->sendCommit();
        QCOMPARE(data().DateFrom, from);
        QCOMPARE(caseForm()->undoCount(), steps);

        child<DatePicker>(form, "edtDate2")->setDate(QDate(2031, 12, 31));
        QCOMPARE(data().DateTo, fromQDate(QDate(2031, 12, 31)));
        QCOMPARE(data().DateFrom, from);
        QCOMPARE(caseForm()->undoCount(), steps + 1);
        main->Undo();
        QCOMPARE(child<DatePicker>(form, "edtDate2")->date(), toQDate(from));
    }

    // A period date typed whole is stored as typed when Enter is pressed or the picker is left;
    // Escape and a text that is no date change nothing.
    void aDateTypedIntoAPeriodPickerIsStoredAsTyped()
    {
        const double from = data().DateFrom;
        const int steps = caseForm()->undoCount();
        child<DatePicker>(form, "edtDate1")->setFocus();
        typeKeys(QStringLiteral("1/2/2030"));
        QCOMPARE(data().DateFrom, from); // nothing stored half way
        pressKey(Qt::Key_Return);
        QCOMPARE(toQDate(data().DateFrom), QDate(2030, 2, 1));
        QCOMPARE(caseForm()->undoCount(), steps + 1);

        typeKeys(QStringLiteral("311231"));
        pressKey(Qt::Key_Tab);
        QCOMPARE(toQDate(data().DateTo), toQDate(from)); // untouched
        QCOMPARE(toQDate(data().DateFrom), QDate(2031, 12, 31));
        QCOMPARE(child<DatePicker>(form, "edtDate1")->text(), QStringLiteral("31/12/2031"));

        child<DatePicker>(form, "edtDate1")->setFocus();
        typeKeys(QStringLiteral("1/1/2040"));
        pressKey(Qt::Key_Escape);
        QCOMPARE(child<DatePicker>(form, "edtDate1")->text(), QStringLiteral("31/12/2031"));
        typeKeys(QStringLiteral("30/02/2030"));
        pressKey(Qt::Key_Return);
        QCOMPARE(toQDate(data().DateFrom), QDate(2031, 12, 31));
        QCOMPARE(caseForm()->undoCount(), steps + 2);
    }

    void aCommitKeepsWhatIsStillInTheCellEditor()
    {
        typeIntoCell(grid, 0, 1, QStringLiteral("Typed, not yet closed"), false);
        QVERIFY(grid->isEditorOpen());
        form->sendCommit();
        QCOMPARE(data().KeyObjectives.Count(), 1);
        QCOMPARE(data().KeyObjectives[0].Name, std::string("Typed, not yet closed"));
    }

    void theWindowKeepsItsFieldsWhenActivated()
    {
        child<Cp1252PlainTextEdit>(form, "edtOrgDesc")->setFocus();
        QTest::keyClicks(child<Cp1252PlainTextEdit>(form, "edtOrgDesc"), QStringLiteral("Shown"));
        data().OrgDescription = "Changed elsewhere";
        form->activated();
        QCOMPARE(child<Cp1252PlainTextEdit>(form, "edtOrgDesc")->toPlainText(), QStringLiteral("Shown"));
    }

    void controlsAreNamedByTheirLabelsAndHaveHelp()
    {
        QCOMPARE(child<Cp1252PlainTextEdit>(form, "edtOrgDesc")->accessibleName(),
                 QStringLiteral("Describe the Organization"));
        QCOMPARE(child<BulletTextEdit>(form, "edtVision")->accessibleName(), QStringLiteral("Vision/Mission"));
        QCOMPARE(child<TAdvancedGrid>(form, "grdKeyObj")->accessibleName(), QStringLiteral("Key Objectives"));
        QCOMPARE(child<BulletTextEdit>(form, "edtFactors")->accessibleName(),
                 QStringLiteral("Strategic Success Factors"));
        QCOMPARE(child<QGroupBox>(form, "grpTime")->title(), QStringLiteral("&Time Period"));
        QCOMPARE(help::pageForWidget(child<Cp1252PlainTextEdit>(form, "edtOrgDesc")),
                 QStringLiteral("future.html#organization"));
        QCOMPARE(help::pageForWidget(child<DatePicker>(form, "edtDate2")), QStringLiteral("future.html#period"));
        QCOMPARE(help::pageForWidget(child<TAdvancedGrid>(form, "grdKeyObj")),
                 QStringLiteral("future.html#objectives"));
        addObjectives({{"Grow", 0}});
        QVERIFY(grid->setCurrentCell(2, 1));
        QCOMPARE(help::pageForWidget(form->typeBox()), QStringLiteral("future.html#types"));
        QCOMPARE(form->windowTitle(), QStringLiteral("untitled - Picture Your Future"));
    }

private:
    TCaseForm* caseForm() const { return form->caseForm(); }
    TCaseData& data() const { return form->data(); }

    void addObjectives(std::initializer_list<std::pair<const char*, int>> objectives)
    {
        for (auto [name, link] : objectives) {
            auto& objective = data().KeyObjectives.Add();
            objective.Name = name;
            objective.Link = link;
        }
        form->sendRefresh();
    }

    // Types into the type box of an objective's row and presses Enter.
    void enterInTypeBox(int row, const QString& text)
    {
        grid->setFocus();
        QVERIFY(grid->setCurrentCell(2, row));
        QTest::keyClick(grid, Qt::Key_F2); // any key on a drop-down cell focuses the box
        QComboBox* box = form->typeBox();
        QVERIFY(box);
        QTRY_VERIFY(box->hasFocus());
        box->lineEdit()->selectAll();
        QTest::keyClicks(box, text);
        QTest::keyClick(box, Qt::Key_Return);
    }

    TFutureForm* form = nullptr;
    TAdvancedGrid* grid = nullptr;
};

QTEST_MAIN(FutureFormTest)
#include "future_form_test.moc"
