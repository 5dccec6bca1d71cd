// Plan Your Alliances/Investments as the user drives it: ticking through the real check boxes and
// the space bar, title presses that reorder only the view, the decisions field, Copy's text, and
// the position bits written when the window opens.

#include "workshop_session.h"

#include "model/case_data.h"
#include "model/case_edit.h"
#include "report/case_report.h"
#include "shell/case_form.h"
#include "shell/help_window.h"
#include "widgets/bullet_text_edit.h"
#include "widgets/edit_state.h"
#include "widgets/workshop_grid.h"
#include "workshops/capabilities/inv_all_form.h"

#include <QAccessible>
#include <QApplication>
#include <QFile>
#include <QClipboard>
#include <QHeaderView>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>

using namespace alliances;

namespace {

QRect cellRect(WorkshopGrid* grid, int col, int row)
{
    return grid->visualRect(grid->model()->index(row - 1, col));
}

void clickCell(WorkshopGrid* grid, int col, int row)
{
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cellRect(grid, col, row).center());
}

void pressTitle(WorkshopGrid* grid, int col)
{
    QHeaderView* header = grid->horizontalHeader();
    const QPoint at(header->sectionViewportPosition(col) + header->sectionSize(col) / 2, header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
}

TCapability& addCapability(TDelList<TCapability>& list, const std::string& name, int32_t placement = 0,
                           int32_t acquisition = 0, const std::string& decisions = "")
{
    auto& capability = list.Add();
    capability.Name = name;
    capability.Placement = placement;
    capability.Acquisition = acquisition;
    capability.Decisions = decisions;
    return capability;
}

QStringList shownNames(const TInvAllForm* form)
{
    QStringList names;
    for (int row = 1; row < child<WorkshopGrid>(form, "grdCap")->rowCount(); ++row)
        names << child<WorkshopGrid>(form, "grdCap")->cellText(ColName, row);
    return names;
}

} // namespace

class InvAllFormTest : public QObject, private WorkshopSession {
    Q_OBJECT

private slots:
    void init()
    {
        QVERIFY(openActiveShell());
    }
    void cleanup() { closeShell(); }

    void clickingABoxSetsTheChoiceAndTheChoiceInForceIsNoStep()
    {
        TCaseForm* owner = main->New();
        TCaseData& data = owner->data();
        addCapability(data.Capabilities, "Fresh");
        for (int i = 1; i < 4; ++i)
            addCapability(data.Capabilities, "C" + std::to_string(i), 0, 4 * i);
        data.Capabilities[3].Acquisition = 13; // position 3, Buy
        data.Modified = false;
        auto* form = openWorkshop<TInvAllForm>(workshop_id::Alliances);
        QVERIFY(form);
        QCOMPARE(form->windowTitle(), QStringLiteral("untitled - Plan Your Alliances/Investment"));
        QVERIFY(!data.Modified);
        QVERIFY(owner->edit().undoStack().empty());

        // A fresh capability: Centr. and Develop.
        QVERIFY(isChosen(data, form->rows(), 0, ColCentralized));
        QVERIFY(isChosen(data, form->rows(), 0, ColDevelop));

        clickCell(child<WorkshopGrid>(form, "grdCap"), ColBuy, 4);
        QCOMPARE(data.Capabilities[3].Acquisition, 13);
        QVERIFY(owner->edit().undoStack().empty());
        QVERIFY(!data.Modified);

        clickCell(child<WorkshopGrid>(form, "grdCap"), ColPartner, 4);
        QCOMPARE(data.Capabilities[3].Acquisition, 14);
        QCOMPARE(owner->edit().undoStack().count(), 1);
        QVERIFY(data.Modified);

        // The space bar ticks the box of the current cell.
        clickCell(child<WorkshopGrid>(form, "grdCap"), ColDecentralized, 1);
        QCOMPARE(data.Capabilities[0].Placement % 4, 1);
        clickCell(child<WorkshopGrid>(form, "grdCap"), ColSituationSpecific, 2);
        QCOMPARE(data.Capabilities[1].Placement % 4, 2);
        QTest::keyClick(child<WorkshopGrid>(form, "grdCap"), Qt::Key_Left);
        QTest::keyClick(child<WorkshopGrid>(form, "grdCap"), Qt::Key_Space);
        QCOMPARE(data.Capabilities[1].Placement % 4, 1);

        main->Undo();
        QCOMPARE(data.Capabilities[1].Placement % 4, 2);
        QVERIFY(isChosen(data, form->rows(), 1, ColSituationSpecific));
    }

    void otherButtonsAndTheNameColumnChooseNothing()
    {
        TCaseForm* owner = main->New();
        addCapability(owner->data().Capabilities, "Sales");
        auto* form = openWorkshop<TInvAllForm>(workshop_id::Alliances);
        QTest::mouseClick(child<WorkshopGrid>(form, "grdCap")->viewport(), Qt::RightButton, {},
                          cellRect(child<WorkshopGrid>(form, "grdCap"), ColBuy, 1).center());
        clickCell(child<WorkshopGrid>(form, "grdCap"), ColName, 1);
        QCOMPARE(owner->data().Capabilities[0].Acquisition, 0);
        QVERIFY(owner->edit().undoStack().empty());
    }

    void openingWritesPositionBitsWithoutAnEditAndTheReportReadsTheSame()
    {
        TCaseForm* owner = main->New();
        TCaseData& data = owner->data();
        addCapability(data.Capabilities, "G0", 1, 2);
        auto& first = data.Products.Add();
        first.Name = "P0";
        addCapability(first.Capabilities, "S00", 2, 0);
        addCapability(first.Capabilities, "S01", 1, 2);
        auto& second = data.Products.Add();
        second.Name = "P1";
        addCapability(second.Capabilities, "S10", 2, 1);
        data.Modified = false;
        const std::string report = buildCaseReport(data, {});

        openWorkshop<TInvAllForm>(workshop_id::Alliances);
        QCOMPARE(first.Capabilities[1].Placement, 4 + 1);
        QCOMPARE(first.Capabilities[1].Acquisition, 4 + 2);
        QCOMPARE(second.Capabilities[0].Placement, 8 + 2);
        QCOMPARE(second.Capabilities[0].Acquisition, 1);
        QVERIFY(!data.Modified);
        QVERIFY(owner->edit().undoStack().empty());
        QCOMPARE(buildCaseReport(data, {}), report);
    }

    void titlePressesReorderTheViewUntilTheWindowIsActivatedAgain()
    {
        TCaseForm* owner = main->New();
        TCaseData& data = owner->data();
        addCapability(data.Capabilities, "sales", 0, 0, "Grow the sales team");
        addCapability(data.Capabilities, "Finance", 0, 1, "Buy the controlling tool");
        addCapability(data.Capabilities, "Logistics", 0, 2);
        addCapability(data.Capabilities, "assembly", 0, 1);
        data.Modified = false;
        auto* form = openWorkshop<TInvAllForm>(workshop_id::Alliances);
        clickCell(child<WorkshopGrid>(form, "grdCap"), ColName, 1);
        QCOMPARE(child<BulletTextEdit>(form, "edtDecisions")->plainText(), QStringLiteral("Grow the sales team"));

        pressTitle(child<WorkshopGrid>(form, "grdCap"), ColBuy);
        QCOMPARE(shownNames(form), (QStringList{"assembly", "Finance", "Logistics", "sales"}));
        // The decisions follow the capability now in the current row.
        QCOMPARE(child<WorkshopGrid>(form, "grdCap")->currentRow(), 1);
        QCOMPARE(child<BulletTextEdit>(form, "edtDecisions")->plainText(), QString());
        clickCell(child<WorkshopGrid>(form, "grdCap"), ColName, 2);
        QCOMPARE(child<BulletTextEdit>(form, "edtDecisions")->plainText(), QStringLiteral("Buy the controlling tool"));

        // Every row has Centr.: nothing moves.
        pressTitle(child<WorkshopGrid>(form, "grdCap"), ColCentralized);
        QCOMPARE(shownNames(form), (QStringList{"assembly", "Finance", "Logistics", "sales"}));

        pressTitle(child<WorkshopGrid>(form, "grdCap"), ColName);
        QCOMPARE(shownNames(form), (QStringList{"assembly", "Finance", "Logistics", "sales"}));
        pressTitle(child<WorkshopGrid>(form, "grdCap"), ColPartner);
        QCOMPARE(shownNames(form).first(), QStringLiteral("Logistics"));
        QCOMPARE(data.Capabilities[0].Name, std::string("sales"));
        QVERIFY(!data.Modified);

        main->OpenWorkshop(workshop_id::Capabilities);
        main->mdiArea()->setActiveSubWindow(form->subWindow());
        QCOMPARE(shownNames(form), (QStringList{"sales", "Finance", "Logistics", "assembly"}));
    }

    void decisionsOfServiceSpecificCapabilitiesAreStoredAsTyped()
    {
        TCaseForm* owner = main->New();
        TCaseData& data = owner->data();
        auto& product = data.Products.Add();
        product.Name = "Service";
        addCapability(product.Capabilities, "Repairs", 0, 0, "Own technicians");
        addCapability(product.Capabilities, "Hotline");
        auto* form = openWorkshop<TInvAllForm>(workshop_id::Alliances);
        QVERIFY(child<BulletTextEdit>(form, "edtDecisions")->isEnabled());
        QCOMPARE(child<BulletTextEdit>(form, "edtDecisions")->plainText(), QStringLiteral("Own technicians"));

        child<BulletTextEdit>(form, "edtDecisions")->setFocus();
        child<BulletTextEdit>(form, "edtDecisions")->moveCursor(QTextCursor::End);
        QTest::keyClick(child<BulletTextEdit>(form, "edtDecisions"), Qt::Key_Return);
        QTest::keyClicks(child<BulletTextEdit>(form, "edtDecisions"), QStringLiteral("Partner"));
        QCOMPARE(product.Capabilities[0].Decisions, std::string("Own technicians\r\nPartner"));
        QCOMPARE(owner->edit().undoStack().count(), 8); // Enter and each letter

        // Undo rebuilds every item of the case: the product must be looked up again.
        main->Undo();
        QCOMPARE(data.Products[0].Capabilities[0].Decisions, std::string("Own technicians\r\nPartne"));
        QCOMPARE(child<BulletTextEdit>(form, "edtDecisions")->plainText(), QStringLiteral("Own technicians\nPartne"));

        clickCell(child<WorkshopGrid>(form, "grdCap"), ColName, 2);
        QCOMPARE(child<BulletTextEdit>(form, "edtDecisions")->plainText(), QString());
        QCOMPARE(data.Products[0].Capabilities[1].Decisions, std::string());
    }

    void withoutCapabilitiesGridAndDecisionsAreDisabled()
    {
        main->New();
        auto* form = openWorkshop<TInvAllForm>(workshop_id::Alliances);
        QVERIFY(!child<WorkshopGrid>(form, "grdCap")->isEnabled());
        QVERIFY(!child<BulletTextEdit>(form, "edtDecisions")->isEnabled());
        QCOMPARE(child<WorkshopGrid>(form, "grdCap")->rowCount(), 2);
        QCOMPARE(child<WorkshopGrid>(form, "grdCap")->copyText(), QStringLiteral("Name\r\n\r\n"));
    }

    void copyNamesTheTickedChoices()
    {
        TCaseForm* owner = main->New();
        TCaseData& data = owner->data();
        addCapability(data.Capabilities, "Sales", 2, 0);
        auto& product = data.Products.Add();
        addCapability(product.Capabilities, "Repairs", 1, 2);
        auto* form = openWorkshop<TInvAllForm>(workshop_id::Alliances);
        child<WorkshopGrid>(form, "grdCap")->setFocus();
        QApplication::clipboard()->clear();
        main->Copy();
        QCOMPARE(QApplication::clipboard()->text(),
                 QStringLiteral("Name\r\nSales\tSituation Specific\tDevelop\r\nRepairs\tDecentralized\tPartner\r\n"));
    }

    // Another window deletes a capability while this one is open: a save must not write the
    // decisions still shown onto the capability that moved into their row.
    void committingAfterADeleteElsewhereLeavesTheNextCapabilityAlone()
    {
        TCaseForm* owner = main->New();
        TCaseData& data = owner->data();
        addCapability(data.Capabilities, "First", 0, 0, "First's plan");
        addCapability(data.Capabilities, "Second", 0, 0, "Second's plan");
        auto* form = openWorkshop<TInvAllForm>(workshop_id::Alliances);
        QCOMPARE(child<BulletTextEdit>(form, "edtDecisions")->plainText(), QStringLiteral("First's plan"));
        data.Capabilities.Delete(0);
        main->broadcastCommit();
        QCOMPARE(data.Capabilities[0].Decisions, std::string("Second's plan"));
    }

    void helpTopicsAndAccessibleNamesFollowTheControls()
    {
        main->New();
        auto* form = openWorkshop<TInvAllForm>(workshop_id::Alliances);
        QCOMPARE(help::pageForWidget(child<WorkshopGrid>(form, "grdCap")), QStringLiteral("alliances.html#grid"));
        QCOMPARE(help::pageForWidget(child<BulletTextEdit>(form, "edtDecisions")),
                 QStringLiteral("alliances.html#decisions"));
        QFile page(QStringLiteral(":/help/alliances.html"));
        QVERIFY(page.open(QIODevice::ReadOnly));
        const QString html = QString::fromUtf8(page.readAll());
        QVERIFY(html.contains(QStringLiteral("name=\"grid\"")));
        QVERIFY(html.contains(QStringLiteral("name=\"decisions\"")));
        QCOMPARE(QAccessible::queryAccessibleInterface(child<WorkshopGrid>(form, "grdCap"))->text(QAccessible::Name),
                 QStringLiteral("List of Capabilities"));
        QCOMPARE(
            QAccessible::queryAccessibleInterface(child<BulletTextEdit>(form, "edtDecisions"))->text(QAccessible::Name),
            QStringLiteral("Preliminary Decisions in Regards of Alliances and Investments"));
    }
};

QTEST_MAIN(InvAllFormTest)
#include "inv_all_form_test.moc"
