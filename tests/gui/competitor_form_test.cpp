// Judge Your Competitors in the running shell: typing into the grid through the real editor, the
// seven texts of the selected competitor, sorting by a title press, Alt+Delete, undo and commits.

#include "workshop_session.h"

#include <QApplication>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QTest>

#include "model/case_data.h"
#include "shell/help_window.h"
#include "widgets/bullet_text_edit.h"
#include "widgets/cp1252_text_edit.h"
#include "widgets/workshop_grid.h"
#include "workshops/environment/competitor_form.h"

namespace {


void pressTitle(WorkshopGrid* grid, int col, Qt::MouseButton button = Qt::LeftButton)
{
    QHeaderView* header = grid->horizontalHeader();
    const int x = header->sectionViewportPosition(col) + header->sectionSize(col) / 2;
    QTest::mousePress(header->viewport(), button, {}, QPoint(x, 3));
    QTest::mouseRelease(header->viewport(), button, {}, QPoint(x, 3));
}

} // namespace

class CompetitorFormTest : public QObject, private WorkshopSession {
    Q_OBJECT

private slots:
    void init()
    {
        QVERIFY(openActiveShell());
        form = openWorkshop<TCompetitorForm>(workshop_id::Competitors);
        QVERIFY(form);
        QVERIFY(QTest::qWaitForWindowExposed(form));
        grid = child<WorkshopGrid>(form, "grdCompList");
    }
    void cleanup()
    {
        form = nullptr;
        closeShell();
    }

    void typingANameAddsACompetitorAndEnablesItsBoxes()
    {
        QCOMPARE(grid->rowCount(), 2);
        QCOMPARE(grid->cellText(1, 0), QStringLiteral("Marketshare"));
        for (QWidget* box : textBoxes())
            QVERIFY(!box->isEnabled());
        replaceCellText(grid, 0, 1, QStringLiteral("Nordkamp"));
        QCOMPARE(data().Competitors.Count(), 1);
        QCOMPARE(grid->rowCount(), 3);
        QCOMPARE(grid->cellText(1, 1), QStringLiteral("0"));
        QVERIFY(grid->setCurrentCell(0, 1));
        for (QWidget* box : textBoxes())
            QVERIFY(box->isEnabled());
        QVERIFY(grid->setCurrentCell(0, 2));
        for (QWidget* box : textBoxes())
            QVERIFY(!box->isEnabled());
    }

    void aShareIsClampedAndUndoShowsTheOldValue()
    {
        addCompetitors({{"Nordkamp", 27}});
        replaceCellText(grid, 1, 1, QStringLiteral("150"));
        QCOMPARE(grid->cellText(1, 1), QStringLiteral("100"));
        replaceCellText(grid, 1, 1, QString()); // emptied
        QCOMPARE(grid->cellText(1, 1), QStringLiteral("1"));
        main->Undo();
        main->Undo();
        QCOMPARE(grid->cellText(1, 1), QStringLiteral("27"));
    }

    void linesTypedIntoKeyServicesAreStoredAsPlainLines()
    {
        addCompetitors({{"Nordkamp", 27}, {"Castell", 14}});
        QVERIFY(grid->setCurrentCell(0, 2));
        data().Modified = false;
        const int steps = caseForm()->undoCount();
        child<BulletTextEdit>(form, "edtServices")->setFocus();
        QTest::keyClicks(child<BulletTextEdit>(form, "edtServices"), QStringLiteral("Cold"));
        QCOMPARE(caseForm()->undoCount(), steps + 4); // every keystroke is one step
        QTest::keyClicks(child<BulletTextEdit>(form, "edtServices"), QStringLiteral(" rooms"));
        QTest::keyClick(child<BulletTextEdit>(form, "edtServices"), Qt::Key_Return);
        QTest::keyClicks(child<BulletTextEdit>(form, "edtServices"), QStringLiteral("Counters"));
        QCOMPARE(data().Competitors[1].KeyServices, std::string("Cold rooms\r\nCounters"));
        QCOMPARE(data().Competitors[0].KeyServices, std::string());
        QVERIFY(data().Modified);

        child<Cp1252PlainTextEdit>(form, "edtWatch")->setFocus();
        QTest::keyClicks(child<Cp1252PlainTextEdit>(form, "edtWatch"), QStringLiteral("Prices"));
        QCOMPARE(data().Competitors[1].WatchPoints, std::string("Prices"));

        // The first competitor's boxes show its own texts.
        QVERIFY(grid->setCurrentCell(0, 1));
        QCOMPARE(child<BulletTextEdit>(form, "edtServices")->plainText(), QString());
        QVERIFY(grid->setCurrentCell(1, 2));
        QCOMPARE(child<BulletTextEdit>(form, "edtServices")->plainText(), QStringLiteral("Cold rooms\nCounters"));
        main->Undo();
        QCOMPARE(child<Cp1252PlainTextEdit>(form, "edtWatch")->toPlainText(), QStringLiteral("Price"));
    }

    void selectingCompetitorsIsNoEdit()
    {
        addCompetitors({{"Nordkamp", 27}, {"Castell", 14}});
        data().Competitors[0].KeyClients = "Hotels\r\nHospitals";
        form->sendRefresh();
        data().Modified = false;
        const int steps = caseForm()->undoCount();
        grid->setFocus();
        for (int row : {1, 2, 3, 1})
            QVERIFY(grid->setCurrentCell(0, row));
        form->sendCommit();
        QCOMPARE(child<BulletTextEdit>(form, "edtClients")->plainText(), QStringLiteral("Hotels\nHospitals"));
        QCOMPARE(caseForm()->undoCount(), steps);
        QVERIFY(!data().Modified);
    }

    void pressingTheTitlesSorts()
    {
        addCompetitors({{"b", 10}, {"C", 40}, {"a", 25}});
        QVERIFY(grid->setCurrentCell(0, 1));
        pressTitle(grid, 1, Qt::RightButton); // any button
        QCOMPARE(grid->cellText(1, 1), QStringLiteral("40"));
        QCOMPARE(grid->cellText(1, 2), QStringLiteral("25"));
        QCOMPARE(grid->cellText(1, 3), QStringLiteral("10"));
        // The current row stays and shows whichever competitor sorted into it.
        QCOMPARE(grid->currentRow(), 1);
        QCOMPARE(form->currentCompetitor(), 0);
        pressTitle(grid, 0);
        QCOMPARE(grid->cellText(0, 1), QStringLiteral("a"));
        QCOMPARE(grid->cellText(0, 2), QStringLiteral("b"));
        QCOMPARE(grid->cellText(0, 3), QStringLiteral("C"));
        main->Undo();
        QCOMPARE(grid->cellText(0, 1), QStringLiteral("C"));
    }

    void altDeleteAsksOnlyOnACompetitorRow()
    {
        addCompetitors({{"Nordkamp", 27}, {"Castell", 14}});
        grid->setFocus();
        QVERIFY(grid->setCurrentCell(0, 3));
        QTest::keyClick(grid, Qt::Key_Delete, Qt::AltModifier);
        QVERIFY(prompts->questions.isEmpty());

        QVERIFY(grid->setCurrentCell(0, 1));
        prompts->yesNoAnswer = false;
        QTest::keyClick(grid, Qt::Key_Delete, Qt::AltModifier);
        QCOMPARE(data().Competitors.Count(), 2);
        prompts->yesNoAnswer = true;
        QTest::keyClick(grid, Qt::Key_Delete, Qt::AltModifier);
        QCOMPARE(prompts->questions, (QStringList{QStringLiteral("Delete competitor 'Nordkamp'?"),
                                                  QStringLiteral("Delete competitor 'Nordkamp'?")}));
        QCOMPARE(data().Competitors.Count(), 1);
        QCOMPARE(grid->rowCount(), 3);
        QCOMPARE(child<Cp1252PlainTextEdit>(form, "edtDesc")->isEnabled(), true);
        main->Undo();
        QCOMPARE(grid->cellText(0, 1), QStringLiteral("Nordkamp"));
    }

    void aCommitKeepsWhatIsStillInTheCellEditor()
    {
        replaceCellText(grid, 0, 1, QStringLiteral("Steelcraft"), false);
        QVERIFY(grid->isEditorOpen());
        form->sendCommit();
        QCOMPARE(data().Competitors.Count(), 1);
        QCOMPARE(data().Competitors[0].Name, std::string("Steelcraft"));
    }

    void theReportShowsWhatWasTypedEvenInAnOpenCell()
    {
        replaceCellText(grid, 0, 1, QStringLiteral("Castell Refrigeration"));
        QVERIFY(grid->setCurrentCell(0, 1));
        child<BulletTextEdit>(form, "edtServices")->setFocus();
        QTest::keyClicks(child<BulletTextEdit>(form, "edtServices"), QStringLiteral("Cold rooms"));
        replaceCellText(grid, 1, 1, QStringLiteral("14"), false); // still in the cell editor

        const QString path = dir->filePath(QStringLiteral("report.rtf"));
        prompts->savePaths.push_back(path);
        main->ExportCase();
        QFile report(path);
        QVERIFY(report.open(QIODevice::ReadOnly));
        const QByteArray rtf = report.readAll();
        QVERIFY(rtf.contains("Castell Refrigeration"));
        QVERIFY(rtf.contains("Cold rooms"));
        QCOMPARE(data().Competitors[0].MarketShare, 14);
    }

    void activationShowsChangesMadeElsewhere()
    {
        addCompetitors({{"Nordkamp", 27}});
        data().Competitors.Add().Name = "Added elsewhere";
        form->activated();
        QCOMPARE(grid->rowCount(), 4);
        QCOMPARE(grid->cellText(0, 2), QStringLiteral("Added elsewhere"));
    }

    void controlsAreNamedByTheirLabelsAndHaveHelp()
    {
        QCOMPARE(grid->accessibleName(), QStringLiteral("List of Key Competitors"));
        QCOMPARE(child<BulletTextEdit>(form, "edtDisadv")->accessibleName(), QStringLiteral("Key Disadvantages"));
        QCOMPARE(child<Cp1252PlainTextEdit>(form, "edtDevelop")->accessibleName(),
                 QStringLiteral("Potential Development/Key Activities"));
        QCOMPARE(help::pageForWidget(grid), QStringLiteral("competitors.html#list"));
        QCOMPARE(help::pageForWidget(child<Cp1252PlainTextEdit>(form, "edtWatch")),
                 QStringLiteral("competitors.html#watch"));
        QCOMPARE(form->windowTitle(), QStringLiteral("untitled - Judge Your Competitors"));
    }

private:
    TCaseForm* caseForm() const { return form->caseForm(); }
    TCaseData& data() const { return form->data(); }
    QList<QWidget*> textBoxes() const
    {
        return {child<Cp1252PlainTextEdit>(form, "edtDesc"), child<BulletTextEdit>(form, "edtServices"),
                child<BulletTextEdit>(form, "edtClients"),   child<BulletTextEdit>(form, "edtAdv"),
                child<BulletTextEdit>(form, "edtDisadv"),    child<Cp1252PlainTextEdit>(form, "edtDevelop"),
                child<Cp1252PlainTextEdit>(form, "edtWatch")};
    }
    void addCompetitors(std::initializer_list<std::pair<const char*, int>> competitors)
    {
        for (auto [name, share] : competitors) {
            auto& competitor = data().Competitors.Add();
            competitor.Name = name;
            competitor.MarketShare = share;
        }
        form->sendRefresh();
    }

    TCompetitorForm* form = nullptr;
    WorkshopGrid* grid = nullptr;
};

QTEST_MAIN(CompetitorFormTest)
#include "competitor_form_test.moc"
