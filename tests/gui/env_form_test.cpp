// The Describe the Environment window driven as a user drives it: typing into its naming boxes,
// fields and grids, answering its questions, pressing titles, picking on the diagrams.

#include "workshop_session.h"

#include "model/case_data.h"
#include "model/date_time.h"
#include "shell/help_window.h"
#include "widgets/advanced_grid.h"
#include "widgets/cp1252_text_edit.h"
#include "widgets/edit_mask.h"
#include "widgets/edit_state.h"
#include "widgets/portfolio_diagram.h"
#include "widgets/portfolio_list.h"
#include "workshops/environment/env_form.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

#include <functional>

namespace {

void selectAllAndType(QWidget* target, QLineEdit* line, const QString& text)
{
    line->selectAll();
    if (text.isEmpty())
        QTest::keyClick(target, Qt::Key_Backspace);
    else
        QTest::keyClicks(target, text);
}

QStringList items(const QComboBox* box)
{
    QStringList names;
    for (int i = 0; i < box->count(); ++i)
        names.append(box->itemText(i));
    return names;
}

QStringList listCaptions(const PortfolioList* list)
{
    QStringList captions;
    for (int row = 0; row < list->rowCount(); ++row)
        captions.append(list->topLevelItem(row)->text(0));
    return captions;
}

} // namespace

class EnvFormTest : public QObject, private WorkshopSession {
    Q_OBJECT

    TEnvForm* form = nullptr;

    TCaseData& caseData() const { return main->currentCase()->data(); }
    int undoSteps() const { return main->currentCase()->undoCount(); }

    // Changes the case behind the window's back, as another window would, and refreshes it.
    void changeCase(const std::function<void(TCaseData&)>& change)
    {
        change(caseData());
        form->sendRefresh();
    }

    // Technology holds the changes "Alpha" (with two risks) and "Beta"; Market holds "Gamma".
    void fillAreas()
    {
        changeCase([](TCaseData& data) {
            data.ChangeAreas[0].Megatrends = {"M1", "M2"};
            for (const char* name : {"Alpha", "Beta"})
                data.ChangeAreas[0].Changes.Add().Name = name;
            data.ChangeAreas[2].Changes.Add().Name = "Gamma";
            TChange& alpha = data.ChangeAreas[0].Changes[0];
            for (auto [name, type] : {std::pair{"Money", 0}, std::pair{"Law", 1}}) {
                TRisk& risk = alpha.Risks.Add();
                risk.Name = name;
                risk.RiskType = type;
            }
        });
    }

    void typeIntoBox(QComboBox* box, const QString& text)
    {
        box->setFocus(Qt::OtherFocusReason);
        selectAllAndType(box, box->lineEdit(), text);
    }

    // Opens the cell's editor with F2, replaces its text and closes it with Enter.
    bool typeIntoCell(WorkshopGrid* grid, int col, int row, const QString& text)
    {
        grid->setFocus(Qt::OtherFocusReason);
        if (!grid->setCurrentCell(col, row))
            return false;
        QTest::keyClick(grid, Qt::Key_F2);
        auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        if (!editor || !grid->isEditorOpen())
            return false;
        selectAllAndType(editor, editor, text);
        QTest::keyClick(editor, Qt::Key_Return);
        return !grid->isEditorOpen();
    }

    void pressTitle(WorkshopGrid* grid, int col)
    {
        QHeaderView* header = grid->horizontalHeader();
        const int x = header->sectionViewportPosition(col) + header->sectionSize(col) / 2;
        QTest::mousePress(header->viewport(), Qt::LeftButton, {}, QPoint(x, 3));
        QTest::mouseRelease(header->viewport(), Qt::LeftButton, {}, QPoint(x, 3));
    }

    // The risk-type box on the type cell of `row`, with the focus, as a key on the cell gives it.
    QComboBox* openTypeBox(int row)
    {
        child<QTabWidget>(form, "PageControl1")->setCurrentWidget(child<QWidget>(form, "Risk"));
        child<TAdvancedGrid>(form, "grdRisk")->setFocus(Qt::OtherFocusReason);
        if (!child<TAdvancedGrid>(form, "grdRisk")->setCurrentCell(kTypeColumn, row))
            return nullptr;
        auto* box = qobject_cast<QComboBox*>(child<TAdvancedGrid>(form, "grdRisk")->control());
        if (box)
            box->setFocus(Qt::OtherFocusReason);
        return box;
    }

    static constexpr int kTypeColumn = 2;

private slots:
    void initTestCase()
    {
        // Thousands separators are the locale's; the tests read them in one known locale.
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    }

    void init()
    {
        QVERIFY(openActiveShell());
        form = openWorkshop<TEnvForm>(workshop_id::Environment);
        QVERIFY(form);
        caseData().Modified = false;
    }

    void cleanup()
    {
        form = nullptr;
        closeShell();
    }

    // ---- Areas, megatrends, changes ------------------------------------------------------------

    void aNewCaseShowsTechnologyAndDisablesTheChangeFields()
    {
        QCOMPARE(items(child<QComboBox>(form, "cmbArea")), (QStringList{"Technology", "Regulations", "Market"}));
        QCOMPARE(child<QComboBox>(form, "cmbArea")->currentText(), QStringLiteral("Technology"));
        QVERIFY(child<QComboBox>(form, "cmbMega")->isEnabled() && child<QComboBox>(form, "cmbChange")->isEnabled());
        QCOMPARE(child<QComboBox>(form, "cmbMega")->count(), 0);
        QCOMPARE(child<QComboBox>(form, "cmbChange")->count(), 0);
        for (QWidget* w : std::initializer_list<QWidget*>{
                 child<Cp1252PlainTextEdit>(form, "edtDesc"), child<MaskedLineEdit>(form, "edtImpNow"),
                 child<MaskedLineEdit>(form, "edtImpFuture"), child<WorkshopGrid>(form, "grdStrengths"),
                 child<WorkshopGrid>(form, "grdWeaknesses"), child<WorkshopGrid>(form, "grdOpportunities"),
                 child<WorkshopGrid>(form, "grdThreats"), child<TAdvancedGrid>(form, "grdRisk")})
            QVERIFY2(!w->isEnabled(), qPrintable(w->accessibleName()));
        QCOMPARE(child<WorkshopGrid>(form, "grdThreats")->rowCount(), 2);
        QCOMPARE(child<TAdvancedGrid>(form, "grdRisk")->rowCount(), 2);
        QCOMPARE(child<QStackedWidget>(form, "Notebook1")->currentIndex(), 0);
        QCOMPARE(child<QTabWidget>(form, "PageControl1")->currentWidget(), child<QWidget>(form, "Impact"));
        QCOMPARE(undoSteps(), 0);
        QVERIFY(!caseData().Modified);
    }

    void importanceLabelsShowThePlanningDates()
    {
        changeCase([](TCaseData& data) {
            data.DateFrom = 0;
            data.DateTo = encodeDate(2027, 12, 8);
        });
        QCOMPARE(child<QLabel>(form, "lblImpNow")->text(), QStringLiteral("a&s of 30/12/1899:"));
        QCOMPARE(child<QLabel>(form, "lblImpFuture")->text(), QStringLiteral("as of 08/12/2027:"));
        QCOMPARE(child<MaskedLineEdit>(form, "edtImpNow")->accessibleName(), QStringLiteral("as of 30/12/1899:"));
        QCOMPARE(child<QLabel>(form, "lblImpNow")->buddy(), child<MaskedLineEdit>(form, "edtImpNow"));
    }

    void anExistingNameInOtherCaseIsSelectedWithoutAQuestion()
    {
        child<QComboBox>(form, "cmbArea")->setCurrentIndex(2);
        typeIntoBox(child<QComboBox>(form, "cmbArea"), QStringLiteral("technology"));
        QTest::keyClick(child<QComboBox>(form, "cmbArea"), Qt::Key_Return);
        QVERIFY(prompts->addModAsked.isEmpty());
        QCOMPARE(child<QComboBox>(form, "cmbArea")->currentIndex(), 0);
        QCOMPARE(child<QComboBox>(form, "cmbArea")->currentText(), QStringLiteral("Technology"));
        QCOMPARE(undoSteps(), 0);
    }

    void leavingABoxAfterTypingAsksAsEnterDoes()
    {
        prompts->addModAnswers = {AddModAnswer::Add};
        typeIntoBox(child<QComboBox>(form, "cmbArea"), QStringLiteral("Society"));
        QTest::mouseClick(child<QComboBox>(form, "cmbMega"), Qt::LeftButton);
        child<QComboBox>(form, "cmbMega")->setFocus(Qt::MouseFocusReason);
        QCOMPARE(prompts->addModAsked, QList<bool>{true});
        QCOMPARE(caseData().ChangeAreas.Count(), 4);
        QCOMPARE(caseData().ChangeAreas[3].Name, std::string("Society"));
        QCOMPARE(child<QComboBox>(form, "cmbArea")->currentIndex(), 3);
        QCOMPARE(form->selection().area, 3);
        QCOMPARE(undoSteps(), 1);

        // Leaving again without typing asks nothing.
        child<QComboBox>(form, "cmbArea")->setFocus(Qt::MouseFocusReason);
        child<QComboBox>(form, "cmbChange")->setFocus(Qt::MouseFocusReason);
        QCOMPARE(prompts->addModAsked.size(), 1);
    }

    void cancelReselectsThePreviousAreaAndChangesNothing()
    {
        child<QComboBox>(form, "cmbArea")->setCurrentIndex(1);
        prompts->addModAnswers = {AddModAnswer::Cancelled};
        typeIntoBox(child<QComboBox>(form, "cmbArea"), QStringLiteral("Society"));
        QTest::keyClick(child<QComboBox>(form, "cmbArea"), Qt::Key_Return);
        QCOMPARE(prompts->addModAsked, QList<bool>{true});
        QCOMPARE(child<QComboBox>(form, "cmbArea")->currentText(), QStringLiteral("Regulations"));
        QCOMPARE(caseData().ChangeAreas.Count(), 3);
        QCOMPARE(undoSteps(), 0);
        QVERIFY(!caseData().Modified);
    }

    void withNoAreaSelectedRenameIsNotOffered()
    {
        typeIntoBox(child<QComboBox>(form, "cmbArea"), QString());
        QTest::keyClick(child<QComboBox>(form, "cmbArea"), Qt::Key_Return);
        QCOMPARE(child<QComboBox>(form, "cmbArea")->currentIndex(), -1);
        QVERIFY(!child<QComboBox>(form, "cmbMega")->isEnabled());
        QVERIFY(!child<QComboBox>(form, "cmbChange")->isEnabled());
        prompts->addModAnswers = {AddModAnswer::Rename};
        typeIntoBox(child<QComboBox>(form, "cmbArea"), QStringLiteral("Society"));
        QTest::keyClick(child<QComboBox>(form, "cmbArea"), Qt::Key_Return);
        QCOMPARE(prompts->addModAsked, QList<bool>{false});
        QCOMPARE(caseData().ChangeAreas[0].Name, std::string("Technology")); // no rename without an area
    }

    void aNewChangeIsSelectedAndItsFieldsEditable()
    {
        prompts->addModAnswers = {AddModAnswer::Add};
        typeIntoBox(child<QComboBox>(form, "cmbChange"), QStringLiteral("Remote service"));
        QTest::keyClick(child<QComboBox>(form, "cmbChange"), Qt::Key_Return);
        QCOMPARE(child<QComboBox>(form, "cmbChange")->currentText(), QStringLiteral("Remote service"));
        QVERIFY(child<Cp1252PlainTextEdit>(form, "edtDesc")->isEnabled()
                && child<TAdvancedGrid>(form, "grdRisk")->isEnabled()
                && child<WorkshopGrid>(form, "grdThreats")->isEnabled());
        QCOMPARE(child<MaskedLineEdit>(form, "edtImpNow")->text(), QStringLiteral("1"));
        QCOMPARE(child<MaskedLineEdit>(form, "edtImpFuture")->text(), QStringLiteral("1"));
        QCOMPARE(caseData().ChangeAreas[0].Changes[0].Name, std::string("Remote service"));
    }

    void deletingTheSelectedAreaSelectsTheFirstArea()
    {
        child<QComboBox>(form, "cmbArea")->setCurrentIndex(2);
        child<QComboBox>(form, "cmbArea")->setFocus(Qt::OtherFocusReason);
        // Delete alone and Ctrl+Delete edit the text; only Alt+Delete deletes.
        QTest::keyClick(child<QComboBox>(form, "cmbArea"), Qt::Key_Delete);
        QTest::keyClick(child<QComboBox>(form, "cmbArea"), Qt::Key_Delete, Qt::ControlModifier);
        QVERIFY(prompts->questions.isEmpty());
        QCOMPARE(caseData().ChangeAreas.Count(), 3);

        child<QComboBox>(form, "cmbArea")->setCurrentIndex(2);
        prompts->yesNoAnswer = false;
        QTest::keyClick(child<QComboBox>(form, "cmbArea"), Qt::Key_Delete, Qt::AltModifier);
        QCOMPARE(prompts->questions, QStringList{"Delete area 'Market'?"});
        QCOMPARE(caseData().ChangeAreas.Count(), 3);

        prompts->yesNoAnswer = true;
        QTest::keyClick(child<QComboBox>(form, "cmbArea"), Qt::Key_Delete, Qt::AltModifier);
        QCOMPARE(items(child<QComboBox>(form, "cmbArea")), (QStringList{"Technology", "Regulations"}));
        QCOMPARE(child<QComboBox>(form, "cmbArea")->currentIndex(), 0);
        QCOMPARE(undoSteps(), 1);
    }

    void deletingAChangeSelectsTheFirstChangeOfTheSameArea()
    {
        fillAreas();
        child<QComboBox>(form, "cmbChange")->setFocus(Qt::OtherFocusReason);
        child<QComboBox>(form, "cmbChange")->setCurrentIndex(1);
        prompts->yesNoAnswer = true;
        QTest::keyClick(child<QComboBox>(form, "cmbChange"), Qt::Key_Delete, Qt::AltModifier);
        QCOMPARE(prompts->questions, QStringList{"Delete change 'Beta'?"});
        QCOMPARE(child<QComboBox>(form, "cmbArea")->currentIndex(), 0);
        QCOMPARE(items(child<QComboBox>(form, "cmbChange")), QStringList{"Alpha"});
        QCOMPARE(child<QComboBox>(form, "cmbChange")->currentIndex(), 0);
    }

    void activationKeepsTheMegatrendAndChangeShownWhileTheyExist()
    {
        fillAreas();
        child<QComboBox>(form, "cmbMega")->setCurrentIndex(1);
        child<QComboBox>(form, "cmbChange")->setCurrentIndex(1);
        QCOMPARE(form->selection(), (environment::EnvSelection{0, 1, 1}));
        // Another window of the case becomes active, then this one again.
        main->currentCase()->setFocus();
        form->activated();
        QCOMPARE(form->selection(), (environment::EnvSelection{0, 1, 1}));
        QCOMPARE(child<QComboBox>(form, "cmbChange")->currentText(), QStringLiteral("Beta"));
        QCOMPARE(undoSteps(), 0);
        QVERIFY(!caseData().Modified);
        // Gone elsewhere: the first ones take over.
        changeCase([](TCaseData& data) {
            data.ChangeAreas[0].Changes.Delete(1);
            data.ChangeAreas[0].Megatrends.pop_back();
        });
        QCOMPARE(form->selection(), (environment::EnvSelection{0, 0, 0}));
        QCOMPARE(child<QComboBox>(form, "cmbChange")->currentText(), QStringLiteral("Alpha"));
    }

    void importanceBoxesRewriteWhatTheyCannotHold()
    {
        fillAreas();
        child<MaskedLineEdit>(form, "edtImpNow")->setFocus(Qt::OtherFocusReason);
        selectAllAndType(child<MaskedLineEdit>(form, "edtImpNow"), child<MaskedLineEdit>(form, "edtImpNow"),
                         QStringLiteral("15"));
        QCOMPARE(child<MaskedLineEdit>(form, "edtImpNow")->text(), QStringLiteral("10"));
        QCOMPARE(caseData().ChangeAreas[0].Changes[0].ImpToday, 10);
        selectAllAndType(child<MaskedLineEdit>(form, "edtImpNow"), child<MaskedLineEdit>(form, "edtImpNow"), QString());
        QCOMPARE(child<MaskedLineEdit>(form, "edtImpNow")->text(), QStringLiteral("1"));
        QCOMPARE(caseData().ChangeAreas[0].Changes[0].ImpToday, 1);

        child<MaskedLineEdit>(form, "edtImpFuture")->setFocus(Qt::OtherFocusReason);
        selectAllAndType(child<MaskedLineEdit>(form, "edtImpFuture"), child<MaskedLineEdit>(form, "edtImpFuture"),
                         QStringLiteral("7"));
        QCOMPARE(caseData().ChangeAreas[0].Changes[0].ImpTomorrow, 7);
    }

    void everyDescriptionKeystrokeIsOneUndoStep()
    {
        fillAreas();
        child<Cp1252PlainTextEdit>(form, "edtDesc")->setFocus(Qt::OtherFocusReason);
        QTest::keyClicks(child<Cp1252PlainTextEdit>(form, "edtDesc"), QStringLiteral("ab"));
        QCOMPARE(caseData().ChangeAreas[0].Changes[0].Description, std::string("ab"));
        QCOMPARE(undoSteps(), 2);
        main->Undo();
        QCOMPARE(child<Cp1252PlainTextEdit>(form, "edtDesc")->toPlainText(), QStringLiteral("a"));
        QCOMPARE(caseData().ChangeAreas[0].Changes[0].Description, std::string("a"));
    }

    // ---- Impact grids --------------------------------------------------------------------------

    void aThreatTypedIntoTheEmptyRowIsAppendedWithImportanceOne()
    {
        fillAreas();
        QVERIFY(typeIntoCell(child<WorkshopGrid>(form, "grdThreats"), 0, 1, QStringLiteral("Price war")));
        const auto& threats = caseData().ChangeAreas[0].Changes[0].Threats;
        QCOMPARE(threats.Count(), 1);
        QCOMPARE(threats[0].Name, std::string("Price war"));
        QCOMPARE(threats[0].Rank, 1);
        QCOMPARE(child<WorkshopGrid>(form, "grdThreats")->rowCount(), 3);
        QCOMPARE(child<WorkshopGrid>(form, "grdThreats")->cellText(1, 1), QStringLiteral("1"));
        QCOMPARE(child<WorkshopGrid>(form, "grdThreats")->cellText(0, 2), QString());

        QVERIFY(typeIntoCell(child<WorkshopGrid>(form, "grdThreats"), 1, 1, QStringLiteral("15")));
        QCOMPARE(threats[0].Rank, 10);
        QVERIFY(typeIntoCell(child<WorkshopGrid>(form, "grdThreats"), 1, 1, QString()));
        QCOMPARE(threats[0].Rank, 1);
    }

    void importanceTitleSortsMostImportantFirstAndTheNameTitleIgnoresCase()
    {
        fillAreas();
        changeCase([](TCaseData& data) {
            auto& strengths = data.ChangeAreas[0].Changes[0].Strengths;
            for (auto [name, rank] : {std::pair{"beta", 3}, std::pair{"Gamma", 10}, std::pair{"Alpha", 7}}) {
                TRankedItem& item = strengths.Add();
                item.Name = name;
                item.Rank = rank;
            }
        });
        pressTitle(child<WorkshopGrid>(form, "grdStrengths"), 1);
        QCOMPARE(child<WorkshopGrid>(form, "grdStrengths")->cellText(1, 1), QStringLiteral("10"));
        QCOMPARE(child<WorkshopGrid>(form, "grdStrengths")->cellText(1, 2), QStringLiteral("7"));
        QCOMPARE(child<WorkshopGrid>(form, "grdStrengths")->cellText(1, 3), QStringLiteral("3"));
        pressTitle(child<WorkshopGrid>(form, "grdStrengths"), 0);
        QCOMPARE(child<WorkshopGrid>(form, "grdStrengths")->cellText(0, 1), QStringLiteral("Alpha"));
        QCOMPARE(child<WorkshopGrid>(form, "grdStrengths")->cellText(0, 2), QStringLiteral("beta"));
        QCOMPARE(undoSteps(), 2);
        main->Undo();
        // Undo shows the order before
        QCOMPARE(child<WorkshopGrid>(form, "grdStrengths")->cellText(0, 1), QStringLiteral("Gamma"));

        // One entry only: nothing to order, but the press is still a step.
        pressTitle(child<WorkshopGrid>(form, "grdWeaknesses"), 0);
        QCOMPARE(undoSteps(), 2);
        QVERIFY(caseData().Modified);
    }

    void anImpactIsDeletedWithAltDelete()
    {
        fillAreas();
        QVERIFY(typeIntoCell(child<WorkshopGrid>(form, "grdOpportunities"), 0, 1, QStringLiteral("Export")));
        child<WorkshopGrid>(form, "grdOpportunities")->setCurrentCell(0, 1);
        prompts->yesNoAnswer = true;
        QTest::keyClick(child<WorkshopGrid>(form, "grdOpportunities"), Qt::Key_Delete, Qt::AltModifier);
        QCOMPARE(prompts->questions, QStringList{"Delete impact 'Export'?"});
        QCOMPARE(caseData().ChangeAreas[0].Changes[0].Opportunities.Count(), 0);
        QCOMPARE(child<WorkshopGrid>(form, "grdOpportunities")->rowCount(), 2);
    }

    // ---- Risk grid -----------------------------------------------------------------------------

    void financialImpactShowsSeparatorsAndEditsWithout()
    {
        fillAreas();
        child<QTabWidget>(form, "PageControl1")->setCurrentWidget(child<QWidget>(form, "Risk"));
        QVERIFY(typeIntoCell(child<TAdvancedGrid>(form, "grdRisk"), 1, 1, QStringLiteral("1234567")));
        const TRisk& money = caseData().ChangeAreas[0].Changes[0].Risks[0];
        QCOMPARE(money.FinImpact, 1234567.0);
        QCOMPARE(child<TAdvancedGrid>(form, "grdRisk")->cellText(1, 1, CellTextUse::Draw), QStringLiteral("1,234,567"));
        QCOMPARE(child<TAdvancedGrid>(form, "grdRisk")->cellText(1, 1, CellTextUse::Edit), QStringLiteral("1234567"));
        // The column is wide enough for the amount
        QVERIFY(child<TAdvancedGrid>(form, "grdRisk")->gridColumnWidth(1)
                > form->fontMetrics().horizontalAdvance(QStringLiteral("1,234,567")));
        QVERIFY(typeIntoCell(child<TAdvancedGrid>(form, "grdRisk"), 1, 1, QString()));
        QCOMPARE(money.FinImpact, 0.0);
    }

    void aRiskTypedIntoTheEmptyRowGetsItsTypeBox()
    {
        fillAreas();
        child<QTabWidget>(form, "PageControl1")->setCurrentWidget(child<QWidget>(form, "Risk"));
        QVERIFY(typeIntoCell(child<TAdvancedGrid>(form, "grdRisk"), 0, 3, QStringLiteral("Strike")));
        QCOMPARE(caseData().ChangeAreas[0].Changes[0].Risks.Count(), 3);
        QCOMPARE(child<TAdvancedGrid>(form, "grdRisk")->rowCount(), 5);
        QCOMPARE(child<TAdvancedGrid>(form, "grdRisk")->CellControl(kTypeColumn, 3), cckComboBox);
    }

    void theTypeCellOfTheEmptyRowCannotBeReached()
    {
        fillAreas();
        child<QTabWidget>(form, "PageControl1")->setCurrentWidget(child<QWidget>(form, "Risk"));
        const int empty = child<TAdvancedGrid>(form, "grdRisk")->rowCount() - 1;
        QVERIFY(!child<TAdvancedGrid>(form, "grdRisk")->setCurrentCell(kTypeColumn, empty));
        QVERIFY(child<TAdvancedGrid>(form, "grdRisk")->setCurrentCell(1, empty));
        child<TAdvancedGrid>(form, "grdRisk")->setFocus(Qt::OtherFocusReason);
        QTest::keyClick(child<TAdvancedGrid>(form, "grdRisk"), Qt::Key_Right);
        QCOMPARE(child<TAdvancedGrid>(form, "grdRisk")->currentColumn(), 3);
        QTest::mouseClick(
            child<TAdvancedGrid>(form, "grdRisk")->viewport(), Qt::LeftButton, {},
            child<TAdvancedGrid>(form, "grdRisk")
                ->visualRect(child<TAdvancedGrid>(form, "grdRisk")->model()->index(empty - 1, kTypeColumn))
                .center());
        QCOMPARE(child<TAdvancedGrid>(form, "grdRisk")->currentColumn(), 3);
    }

    void deletingARiskAsksOnTheNameColumnOnly()
    {
        fillAreas();
        child<QTabWidget>(form, "PageControl1")->setCurrentWidget(child<QWidget>(form, "Risk"));
        prompts->yesNoAnswer = true;
        child<TAdvancedGrid>(form, "grdRisk")->setFocus(Qt::OtherFocusReason);
        child<TAdvancedGrid>(form, "grdRisk")->setCurrentCell(3, 2);
        QTest::keyClick(child<TAdvancedGrid>(form, "grdRisk"), Qt::Key_Delete, Qt::AltModifier);
        QVERIFY(prompts->questions.isEmpty()); // only the name column deletes
        child<TAdvancedGrid>(form, "grdRisk")->setCurrentCell(0, 2);
        QTest::keyClick(child<TAdvancedGrid>(form, "grdRisk"), Qt::Key_Delete, Qt::AltModifier);
        QCOMPARE(prompts->questions, QStringList{"Delete risk 'Law'?"});
        QCOMPARE(caseData().ChangeAreas[0].Changes[0].Risks.Count(), 1);
        QCOMPARE(child<TAdvancedGrid>(form, "grdRisk")->rowCount(), 3);
    }

    // The next keystroke after a delete must land on an entry of the change the user is looking at.
    void deletingARiskOrARiskTypeKeepsTheChangeShown()
    {
        fillAreas();
        changeCase([](TCaseData& data) {
            for (auto [name, type] : {std::pair{"Strike", 1}, std::pair{"Flood", 0}}) {
                TRisk& risk = data.ChangeAreas[0].Changes[1].Risks.Add();
                risk.Name = name;
                risk.RiskType = type;
            }
        });
        child<QComboBox>(form, "cmbChange")->setFocus();
        QTest::keyClick(child<QComboBox>(form, "cmbChange"), Qt::Key_Down); // Alpha -> Beta
        QCOMPARE(child<QComboBox>(form, "cmbChange")->currentText(), QStringLiteral("Beta"));
        child<QTabWidget>(form, "PageControl1")->setCurrentWidget(child<QWidget>(form, "Risk"));
        prompts->yesNoAnswer = true;
        child<TAdvancedGrid>(form, "grdRisk")->setFocus(Qt::OtherFocusReason);
        QVERIFY(child<TAdvancedGrid>(form, "grdRisk")->setCurrentCell(0, 2));
        QTest::keyClick(child<TAdvancedGrid>(form, "grdRisk"), Qt::Key_Delete, Qt::AltModifier);
        QCOMPARE(prompts->questions, QStringList{"Delete risk 'Flood'?"});
        QCOMPARE(child<QComboBox>(form, "cmbChange")->currentText(), QStringLiteral("Beta"));
        QCOMPARE(child<TAdvancedGrid>(form, "grdRisk")->cellText(0, 1), QStringLiteral("Strike"));

        QComboBox* box = openTypeBox(1);
        QVERIFY(box);
        QCOMPARE(box->currentText(), QStringLiteral("Political"));
        QTest::keyClick(box, Qt::Key_Delete, Qt::AltModifier);
        QCOMPARE(caseData().RiskTypes, TStringList{"Financial"});
        QCOMPARE(child<QComboBox>(form, "cmbChange")->currentText(), QStringLiteral("Beta"));
        QCOMPARE(child<TAdvancedGrid>(form, "grdRisk")->cellText(0, 1), QStringLiteral("Strike"));
        QCOMPARE(child<TAdvancedGrid>(form, "grdRisk")->currentRow(), 1);
        QTRY_VERIFY(child<TAdvancedGrid>(form, "grdRisk")->control() == QApplication::focusWidget()
                    || child<TAdvancedGrid>(form, "grdRisk")->control()->isAncestorOf(QApplication::focusWidget()));
        QCOMPARE(caseData().ChangeAreas[0].Changes[1].Risks.Count(), 1);
    }

    void anExistingTypeTypedInOtherCaseIsChosenWithoutAQuestion()
    {
        fillAreas();
        QComboBox* box = openTypeBox(1);
        QVERIFY(box);
        QCOMPARE(box->currentText(), QStringLiteral("Financial"));
        QCOMPARE(box->currentIndex(), 0);
        selectAllAndType(box, box->lineEdit(), QStringLiteral("political"));
        QTest::keyClick(box, Qt::Key_Return);
        QVERIFY(prompts->addModAsked.isEmpty());
        QCOMPARE(caseData().ChangeAreas[0].Changes[0].Risks[0].RiskType, 1);
        QCOMPARE(child<TAdvancedGrid>(form, "grdRisk")->cellText(kTypeColumn, 1), QStringLiteral("Political"));
        QCOMPARE(QApplication::focusWidget(), child<TAdvancedGrid>(form, "grdRisk"));
        QCOMPARE(undoSteps(), 1);
    }

    void aNewTypeNameAddsTheTypeAndTheBoxIsRebuiltWithIt()
    {
        fillAreas();
        QComboBox* box = openTypeBox(1);
        QVERIFY(box);
        prompts->addModAnswers = {AddModAnswer::Add};
        selectAllAndType(box, box->lineEdit(), QStringLiteral("Legal"));
        QTest::keyClick(box, Qt::Key_Return);
        QCOMPARE(prompts->addModAsked, QList<bool>{true});
        QCOMPARE(caseData().RiskTypes, (TStringList{"Financial", "Political", "Legal"}));
        QCOMPARE(caseData().ChangeAreas[0].Changes[0].Risks[0].RiskType, 2);
        auto* rebuilt = qobject_cast<QComboBox*>(child<TAdvancedGrid>(form, "grdRisk")->control());
        QVERIFY(rebuilt);
        QCOMPARE(items(rebuilt), (QStringList{"Financial", "Political", "Legal"}));
        QCOMPARE(rebuilt->currentIndex(), 2);
        QCOMPARE(undoSteps(), 1);

        // Rename the type of the risk in row 2 (Political) for every risk.
        box = openTypeBox(2);
        prompts->addModAnswers = {AddModAnswer::Rename};
        selectAllAndType(box, box->lineEdit(), QStringLiteral("Regulatory"));
        QTest::keyClick(box, Qt::Key_Return);
        QCOMPARE(caseData().RiskTypes, (TStringList{"Financial", "Regulatory", "Legal"}));
        QCOMPARE(child<TAdvancedGrid>(form, "grdRisk")->cellText(kTypeColumn, 2), QStringLiteral("Regulatory"));
    }

    void aTypePickedFromTheListIsGivenToTheRisk()
    {
        fillAreas();
        QComboBox* box = openTypeBox(1);
        QVERIFY(box);
        QTest::keyClick(box, Qt::Key_Down); // from Financial to Political
        QCOMPARE(caseData().ChangeAreas[0].Changes[0].Risks[0].RiskType, 1);
        QCOMPARE(undoSteps(), 1);
    }

    void deletingFinancialUntypesItsRisksAndPoliticalKeepsItsName()
    {
        fillAreas();
        changeCase([](TCaseData& data) { data.ChangeAreas[2].Changes[0].Risks.Add().RiskType = 1; });
        QComboBox* box = openTypeBox(1);
        QVERIFY(box);
        prompts->yesNoAnswer = true;
        QTest::keyClick(box, Qt::Key_Delete, Qt::AltModifier);
        QCOMPARE(prompts->questions, QStringList{"Delete risk type 'Financial'?"});
        QCOMPARE(caseData().RiskTypes, TStringList{"Political"});
        const auto& risks = caseData().ChangeAreas[0].Changes[0].Risks;
        QCOMPARE(risks[0].RiskType, -1);
        QCOMPARE(risks[1].RiskType, 0);
        QCOMPARE(caseData().ChangeAreas[2].Changes[0].Risks[0].RiskType, 0);
        QCOMPARE(child<TAdvancedGrid>(form, "grdRisk")->cellText(kTypeColumn, 1), QString());
        QCOMPARE(child<TAdvancedGrid>(form, "grdRisk")->cellText(kTypeColumn, 2), QStringLiteral("Political"));
        // The old box was replaced while its own key was handled; the window goes on working.
        QTRY_VERIFY(qobject_cast<QComboBox*>(child<TAdvancedGrid>(form, "grdRisk")->control()));
        QCOMPARE(items(qobject_cast<QComboBox*>(child<TAdvancedGrid>(form, "grdRisk")->control())),
                 QStringList{"Political"});
        QCOMPARE(undoSteps(), 1);
    }

    void aNewTypeNameIsAskedAboutWhenTheBoxIsLeftButNotWhenSaving()
    {
        fillAreas();
        QComboBox* box = openTypeBox(1);
        QVERIFY(box);
        selectAllAndType(box, box->lineEdit(), QStringLiteral("Legal"));
        main->broadcastCommit();
        QVERIFY(prompts->addModAsked.isEmpty());
        QCOMPARE(caseData().RiskTypes.size(), std::size_t(2));

        prompts->addModAnswers = {AddModAnswer::Add};
        QTest::mouseClick(child<TAdvancedGrid>(form, "grdRisk")->viewport(), Qt::LeftButton, {},
                          child<TAdvancedGrid>(form, "grdRisk")
                              ->visualRect(child<TAdvancedGrid>(form, "grdRisk")->model()->index(1, 0))
                              .center());
        QCOMPARE(prompts->addModAsked, QList<bool>{true});
        QCOMPARE(caseData().RiskTypes, (TStringList{"Financial", "Political", "Legal"}));
        QCOMPARE(caseData().ChangeAreas[0].Changes[0].Risks[0].RiskType, 2);
        QCOMPARE(child<TAdvancedGrid>(form, "grdRisk")->currentRow(), 2);
    }

    void aTypeOutsideTheListShowsAnEmptyCell()
    {
        fillAreas();
        changeCase([](TCaseData& data) { data.ChangeAreas[0].Changes[0].Risks[0].RiskType = 7; });
        QCOMPARE(child<TAdvancedGrid>(form, "grdRisk")->cellText(kTypeColumn, 1), QString());
        QComboBox* box = openTypeBox(1);
        QVERIFY(box);
        QCOMPARE(box->currentIndex(), -1);
        // Looking and leaving writes nothing back.
        child<TAdvancedGrid>(form, "grdRisk")->setFocus(Qt::OtherFocusReason);
        form->sendCommit();
        QCOMPARE(caseData().ChangeAreas[0].Changes[0].Risks[0].RiskType, 7);
        QCOMPARE(undoSteps(), 0);
    }

    void saveCommitsACellStillBeingTyped()
    {
        fillAreas();
        child<QTabWidget>(form, "PageControl1")->setCurrentWidget(child<QWidget>(form, "Risk"));
        child<TAdvancedGrid>(form, "grdRisk")->setFocus(Qt::OtherFocusReason);
        child<TAdvancedGrid>(form, "grdRisk")->setCurrentCell(5, 1);
        QTest::keyClick(child<TAdvancedGrid>(form, "grdRisk"), Qt::Key_F2);
        auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        QVERIFY(editor);
        QTest::keyClicks(editor, QStringLiteral("Insure"));
        main->broadcastCommit();
        QCOMPARE(caseData().ChangeAreas[0].Changes[0].Risks[0].Handling, std::string("Insure"));
    }

    void undoAfterDeletingTheSelectedChangeLeavesNoStalePosition()
    {
        fillAreas();
        prompts->addModAnswers = {AddModAnswer::Add};
        typeIntoBox(child<QComboBox>(form, "cmbChange"), QStringLiteral("Delta"));
        QTest::keyClick(child<QComboBox>(form, "cmbChange"), Qt::Key_Return);
        QCOMPARE(form->selection().change, 2);
        main->Undo();
        QCOMPARE(form->selection(), (environment::EnvSelection{0, 0, 0}));
        QCOMPARE(items(child<QComboBox>(form, "cmbChange")), (QStringList{"Alpha", "Beta"}));
    }

    // ---- Diagrams ------------------------------------------------------------------------------

    void importanceFilterIsCleanedByRefreshAndHidesEmptyAreas()
    {
        changeCase([](TCaseData& data) {
            auto add = [&](int area, const char* name, int today, int tomorrow) {
                TChange& change = data.ChangeAreas[area].Changes.Add();
                change.Name = name;
                change.ImpToday = today;
                change.ImpTomorrow = tomorrow;
            };
            add(0, "Low", 2, 2);
            add(0, "High", 8, 9);
            add(1, "Also low", 1, 1);
        });
        QTest::mouseClick(child<QToolButton>(form, "btnGraph"), Qt::LeftButton);
        QCOMPARE(child<QStackedWidget>(form, "Notebook1")->currentIndex(), 1);
        QCOMPARE(listCaptions(child<PortfolioList>(form, "lst2Changes")),
                 (QStringList{"Technology", "   Low", "   High", "Regulations", "   Also low"}));
        QCOMPARE(child<PortfolioList>(form, "lst2Changes")->topLevelItem(2)->text(1), QStringLiteral("8"));

        child<MaskedLineEdit>(form, "edtTodayFrom")->setText(QStringLiteral("8"));
        child<MaskedLineEdit>(form, "edtTodayTo")->setText(QStringLiteral("3"));
        child<MaskedLineEdit>(form, "edtTomFrom")->setText(QStringLiteral("0"));
        child<MaskedLineEdit>(form, "edtTomTo")->setText(QStringLiteral("99"));
        QTest::mouseClick(child<QPushButton>(form, "btn2Refresh"), Qt::LeftButton);
        QCOMPARE(child<MaskedLineEdit>(form, "edtTodayFrom")->text(), QStringLiteral("3"));
        QCOMPARE(child<MaskedLineEdit>(form, "edtTodayTo")->text(), QStringLiteral("8"));
        QCOMPARE(child<MaskedLineEdit>(form, "edtTomFrom")->text(), QStringLiteral("1"));
        QCOMPARE(child<MaskedLineEdit>(form, "edtTomTo")->text(), QStringLiteral("10"));
        QCOMPARE(listCaptions(child<PortfolioList>(form, "lst2Changes")), (QStringList{"Technology", "   High"}));
        QCOMPARE(child<PortfolioList>(form, "lst2Changes")->selectedRow(), -1);

        QTest::mouseClick(child<QPushButton>(form, "btnBack"), Qt::LeftButton);
        QCOMPARE(child<QStackedWidget>(form, "Notebook1")->currentIndex(), 0);
    }

    void aClickOnTheImportanceDiagramPicksTheNearestChange()
    {
        changeCase([](TCaseData& data) {
            for (auto [name, today, tomorrow] : {std::tuple{"Near", 9, 2}, std::tuple{"Far", 2, 9}}) {
                TChange& change = data.ChangeAreas[0].Changes.Add();
                change.Name = name;
                change.ImpToday = today;
                change.ImpTomorrow = tomorrow;
            }
        });
        form->showPage(TEnvForm::ImportancePage);
        PortfolioDiagram* diagram = child<PortfolioDiagram>(form, "pnt2Diag");
        QCOMPARE(diagram->size(), QSize(237, 237));
        // Top left, near the dot of today 9 / tomorrow 2.
        QTest::mouseClick(diagram, Qt::LeftButton, {}, QPoint(30, 20));
        QCOMPARE(child<PortfolioList>(form, "lst2Changes")->selectedRow(), 1);
        QTest::mouseClick(diagram, Qt::LeftButton, {}, QPoint(230, 230));
        QCOMPARE(child<PortfolioList>(form, "lst2Changes")->selectedRow(), 2);

        QGuiApplication::clipboard()->clear();
        QTest::mouseClick(child<QPushButton>(form, "BtnCopy2"), Qt::LeftButton);
        const QMimeData* copied = QGuiApplication::clipboard()->mimeData();
        QVERIFY(copied && copied->hasImage());
        QCOMPARE(qvariant_cast<QImage>(copied->imageData()).size(), QSize(241, 241));
    }

    void aSevereButUnlikelyRiskIsPlottedTopLeft()
    {
        fillAreas();
        changeCase([](TCaseData& data) {
            TRisk& risk = data.ChangeAreas[0].Changes[0].Risks[0];
            risk.Impact = 10;
            risk.Likelihood = 1;
        });
        QTest::mouseClick(child<QToolButton>(form, "btnRisk"), Qt::LeftButton);
        QCOMPARE(child<QStackedWidget>(form, "Notebook1")->currentIndex(), 2);
        QCOMPARE(listCaptions(child<PortfolioList>(form, "lst3Risks")), (QStringList{"Money", "Law"}));
        QCOMPARE(child<PortfolioList>(form, "lst3Risks")->topLevelItem(0)->text(1), QStringLiteral("10"));
        PortfolioDiagram* diagram = child<PortfolioDiagram>(form, "pnt3Diag");
        const QPoint dot = portfolio::dotPosition(diagram->size(), 10, 1) + QPoint(3, 3);
        const QPoint centre = portfolio::centreLines(diagram->size());
        QVERIFY(dot.x() < centre.x() && dot.y() < centre.y());
        QCOMPARE(diagram->params().topLeft, QStringLiteral("Unlikely\rOccurrences"));
        QTest::mouseClick(diagram, Qt::LeftButton, {}, dot);
        QCOMPARE(child<PortfolioList>(form, "lst3Risks")->selectedRow(), 0);

        child<MaskedLineEdit>(form, "edtPIFrom")->setText(QStringLiteral("5"));
        QTest::mouseClick(child<QPushButton>(form, "btn3Refresh"), Qt::LeftButton);
        QCOMPARE(listCaptions(child<PortfolioList>(form, "lst3Risks")), QStringList{"Money"});
        QGuiApplication::clipboard()->clear();
        QTest::mouseClick(child<QPushButton>(form, "BtnCopy3"), Qt::LeftButton);
        QVERIFY(QGuiApplication::clipboard()->mimeData()->hasImage());
    }

    void theShownDiagramFollowsAnUndo()
    {
        fillAreas();
        form->showPage(TEnvForm::RiskPage);
        QCOMPARE(child<PortfolioList>(form, "lst3Risks")->rowCount(), 2);
        form->showPage(TEnvForm::DataPage);
        child<TAdvancedGrid>(form, "grdRisk")->setFocus(Qt::OtherFocusReason);
        child<QTabWidget>(form, "PageControl1")->setCurrentWidget(child<QWidget>(form, "Risk"));
        QVERIFY(typeIntoCell(child<TAdvancedGrid>(form, "grdRisk"), 0, 3, QStringLiteral("Strike")));
        form->showPage(TEnvForm::RiskPage);
        QCOMPARE(child<PortfolioList>(form, "lst3Risks")->rowCount(), 3);
        main->Undo();
        QCOMPARE(child<PortfolioList>(form, "lst3Risks")->rowCount(), 2);
    }

    // ---- Help, names, accelerators ---------------------------------------------------------------

    void controlsHaveTheirHelpTopicsAndNames()
    {
        QCOMPARE(help::pageForWidget(child<QComboBox>(form, "cmbArea")), QStringLiteral("environment.html#areas"));
        QCOMPARE(help::pageForWidget(child<WorkshopGrid>(form, "grdThreats")),
                 QStringLiteral("environment.html#impacts"));
        QCOMPARE(help::pageForWidget(child<TAdvancedGrid>(form, "grdRisk")), QStringLiteral("environment.html#risks"));
        QCOMPARE(help::pageForWidget(child<PortfolioList>(form, "lst3Risks")),
                 QStringLiteral("environment.html#risk-diagram"));
        QCOMPARE(help::pageForWidget(child<QPushButton>(form, "btnBack")), QStringLiteral("environment.html#data"));
        // The "Copy Graph" number is shared with other workshops; these buttons still open this page.
        QCOMPARE(help::pageForWidget(child<QPushButton>(form, "BtnCopy2")),
                 QStringLiteral("environment.html#importance-diagram"));
        QCOMPARE(help::pageForWidget(child<QPushButton>(form, "BtnCopy3")),
                 QStringLiteral("environment.html#risk-diagram"));
        QCOMPARE(child<QComboBox>(form, "cmbArea")->accessibleName(), QStringLiteral("Areas of Change"));
        QCOMPARE(child<Cp1252PlainTextEdit>(form, "edtDesc")->accessibleName(),
                 QStringLiteral("Description of Change"));
        QCOMPARE(child<QLabel>(form, "Label1")->buddy(), child<QComboBox>(form, "cmbArea"));
        QCOMPARE(child<QToolButton>(form, "btnRisk")->text(), QStringLiteral("&Risk"));
        QCOMPARE(child<QToolButton>(form, "btnGraph")->text(), QStringLiteral("&Importance"));
        QCOMPARE(child<QTabWidget>(form, "PageControl1")->tabText(0), QStringLiteral("Impact on Organization"));
        QCOMPARE(child<QTabWidget>(form, "PageControl1")->tabText(1), QStringLiteral("Risk Analysis"));
        QCOMPARE(child<TAdvancedGrid>(form, "grdRisk")->cellText(4, 0), QStringLiteral("Likelih. of occurrence"));
        QCOMPARE(child<MaskedLineEdit>(form, "edtImpNow")->editMask(), QStringLiteral("99;0; "));
        QCOMPARE(form->windowTitle(), QStringLiteral("untitled - Describe the Environment"));
    }

    void tabOrderFollowsTheFields()
    {
        // The next control Tab reaches: the focus chain without the parts of a control.
        const auto next = [](QWidget* from) {
            QWidget* w = from->nextInFocusChain();
            while (w && (w->focusPolicy() == Qt::NoFocus || from->isAncestorOf(w) || !w->isEnabled()))
                w = w->nextInFocusChain();
            return w;
        };
        fillAreas();
        QWidget* at = child<QComboBox>(form, "cmbArea");
        for (QWidget* expected : std::initializer_list<QWidget*>{
                 child<QComboBox>(form, "cmbMega"), child<QComboBox>(form, "cmbChange"),
                 child<MaskedLineEdit>(form, "edtImpNow"), child<MaskedLineEdit>(form, "edtImpFuture"),
                 child<Cp1252PlainTextEdit>(form, "edtDesc"), child<QToolButton>(form, "btnRisk"),
                 child<QToolButton>(form, "btnGraph"), child<QTabWidget>(form, "PageControl1")}) {
            at = next(at);
            QCOMPARE(at, expected);
        }
    }
};

QTEST_MAIN(EnvFormTest)
#include "env_form_test.moc"
