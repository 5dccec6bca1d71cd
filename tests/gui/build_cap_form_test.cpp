// Build Your Capabilities as the user drives it: typing into the capability grids through the real
// editor, title presses, Alt+Delete, the services list, the Graph page with its filter and diagram,
// and what merely looking at the window must leave alone.

#include "workshop_session.h"

#include "model/case_data.h"
#include "model/case_edit.h"
#include "model/case_references.h"
#include "model/date_time.h"
#include "shell/case_form.h"
#include "shell/help_window.h"
#include "widgets/edit_mask.h"
#include "widgets/edit_state.h"
#include "widgets/portfolio_diagram.h"
#include "widgets/portfolio_list.h"
#include "widgets/workshop_grid.h"
#include "workshops/capabilities/build_cap_form.h"

#include <QAccessible>
#include <QApplication>
#include <QFile>
#include <QGroupBox>
#include <QClipboard>
#include <QHeaderView>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTest>
#include <QToolButton>

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

// Types into a cell as a user does: select it, the first key opens the editor, Enter stores.

TCapability& addCapability(TDelList<TCapability>& list, const std::string& name, int today, int tomorrow)
{
    auto& capability = list.Add();
    capability.Name = name;
    capability.ImpToday = today;
    capability.ImpTomorrow = tomorrow;
    return capability;
}

QStringList listCaptions(const PortfolioList* list)
{
    QStringList captions;
    for (int row = 0; row < list->rowCount(); ++row)
        captions << list->topLevelItem(row)->text(0);
    return captions;
}

} // namespace

class BuildCapFormTest : public QObject, private WorkshopSession {
    Q_OBJECT

private slots:
    void init()
    {
        QVERIFY(openActiveShell());
    }
    void cleanup() { closeShell(); }

    void typedNameAppendsACapabilityAndImportancesAreClamped()
    {
        TCaseForm* owner = main->New();
        owner->data().DateFrom = encodeDate(2026, 1, 5);
        owner->data().DateTo = encodeDate(2030, 12, 31);
        auto* form = openWorkshop<TBuildCapForm>(workshop_id::Capabilities);
        QVERIFY(form);
        QCOMPARE(form->windowTitle(), QStringLiteral("untitled - Build Your Capabilities"));
        WorkshopGrid* grid = child<WorkshopGrid>(form, "grdGenCap");
        QCOMPARE(grid->rowCount(), 2);
        QCOMPARE(grid->cellText(1, 0), QStringLiteral("Status As Of 05/01/2026"));
        QCOMPARE(grid->cellText(2, 0), QStringLiteral("Status As Of 31/12/2030"));

        typeIntoCell(grid, 0, 1, QStringLiteral("Lean production"));
        TCaseData& data = owner->data();
        QCOMPARE(data.Capabilities.Count(), 1);
        QCOMPARE(data.Capabilities[0].Name, std::string("Lean production"));
        QCOMPARE(data.Capabilities[0].ImpToday, 1);
        QCOMPARE(data.Capabilities[0].ImpTomorrow, 1);
        QCOMPARE(grid->rowCount(), 3);

        typeIntoCell(grid, 1, 1, QStringLiteral("100"));
        typeIntoCell(grid, 2, 1, QStringLiteral("-7"));
        QCOMPARE(data.Capabilities[0].ImpToday, 10);
        QCOMPARE(data.Capabilities[0].ImpTomorrow, 1);
        QCOMPARE(grid->cellText(1, 1), QStringLiteral("10"));

        // A number typed into the empty row adds nothing.
        typeIntoCell(grid, 1, 2, QStringLiteral("5"));
        QCOMPARE(data.Capabilities.Count(), 1);
        QCOMPARE(grid->rowCount(), 3);

        // Undo shows the value before the last change.
        typeIntoCell(grid, 0, 1, QStringLiteral("Kaizen"));
        QCOMPARE(grid->cellText(0, 1), QStringLiteral("Kaizen"));
        main->Undo();
        QCOMPARE(grid->cellText(0, 1), QStringLiteral("Lean production"));
    }

    void savingRightAfterTypingKeepsWhatWasTyped()
    {
        TCaseForm* owner = main->New();
        addCapability(owner->data().Capabilities, "Sales", 3, 4);
        auto* form = openWorkshop<TBuildCapForm>(workshop_id::Capabilities);
        typeIntoCell(child<WorkshopGrid>(form, "grdGenCap"), 0, 1, QStringLiteral("Key accounts"), false);
        QVERIFY(child<WorkshopGrid>(form, "grdGenCap")->isEditorOpen());
        QCOMPARE(owner->data().Capabilities[0].Name, std::string("Sales"));
        main->broadcastCommit(); // what Save and Close send first
        QCOMPARE(owner->data().Capabilities[0].Name, std::string("Key accounts"));
    }

    void titlePressSortsAndMarketGroupsKeepTheirCapabilities()
    {
        TCaseForm* owner = main->New();
        TCaseData& data = owner->data();
        auto& product = data.Products.Add();
        product.Name = "Software";
        addCapability(product.Capabilities, "Testing", 3, 5);
        addCapability(product.Capabilities, "Coding", 9, 5);
        addCapability(product.Capabilities, "Design", 5, 5);
        auto& group = data.MarketGroups.Add();
        for (int link : {0, 2}) {
            auto& ref = group.CapabilityRefs.Add();
            ref.Rank = 0;
            ref.Link = link;
        }
        data.Modified = false;
        auto* form = openWorkshop<TBuildCapForm>(workshop_id::Capabilities);
        QCOMPARE(form->selectedProduct(), 0);
        QVERIFY(child<WorkshopGrid>(form, "grdSpecCap")->isEnabled());

        pressTitle(child<WorkshopGrid>(form, "grdSpecCap"), 1);
        QCOMPARE(child<WorkshopGrid>(form, "grdSpecCap")->cellText(0, 1), QStringLiteral("Coding"));
        QCOMPARE(child<WorkshopGrid>(form, "grdSpecCap")->cellText(0, 2), QStringLiteral("Design"));
        QCOMPARE(child<WorkshopGrid>(form, "grdSpecCap")->cellText(0, 3), QStringLiteral("Testing"));
        QCOMPARE(referencedCapability(data, group.CapabilityRefs[0])->Name, std::string("Testing"));
        QCOMPARE(referencedCapability(data, group.CapabilityRefs[1])->Name, std::string("Design"));
        QVERIFY(data.Modified);

        main->Undo();
        QCOMPARE(child<WorkshopGrid>(form, "grdSpecCap")->cellText(0, 1), QStringLiteral("Testing"));
    }

    void altDeleteAsksAndRenumbersGeneralReferences()
    {
        TCaseForm* owner = main->New();
        TCaseData& data = owner->data();
        for (const char* name : {"G0", "G1", "G2"})
            addCapability(data.Capabilities, name, 1, 1);
        auto& group = data.MarketGroups.Add();
        for (int link : {1, 2}) {
            auto& ref = group.CapabilityRefs.Add();
            ref.Rank = -1;
            ref.Link = link;
        }
        auto* form = openWorkshop<TBuildCapForm>(workshop_id::Capabilities);
        WorkshopGrid* grid = child<WorkshopGrid>(form, "grdGenCap");
        clickCell(grid, 0, 2);

        prompts->yesNoAnswer = false;
        QTest::keyClick(grid, Qt::Key_Delete, Qt::AltModifier);
        QCOMPARE(prompts->questions, QStringList{QStringLiteral("Delete General Capability 'G1'?")});
        QCOMPARE(data.Capabilities.Count(), 3);

        prompts->yesNoAnswer = true;
        QTest::keyClick(grid, Qt::Key_Delete, Qt::AltModifier);
        QCOMPARE(data.Capabilities.Count(), 2);
        QCOMPARE(grid->rowCount(), 4);
        QCOMPARE(grid->cellText(0, 2), QStringLiteral("G2"));
        QCOMPARE(group.CapabilityRefs.Count(), 1);
        QCOMPARE(group.CapabilityRefs[0].Link, 1);
        QCOMPARE(referencedCapability(data, group.CapabilityRefs[0])->Name, std::string("G2"));
    }

    void servicesShowTheirDescriptionAndOwnCapabilities()
    {
        TCaseForm* owner = main->New();
        TCaseData& data = owner->data();
        auto& first = data.Products.Add();
        first.Name = "Software";
        first.Description = "Planning tools\r\nfor kitchens";
        addCapability(first.Capabilities, "Coding", 5, 8);
        auto& second = data.Products.Add();
        second.Name = "Service";
        auto* form = openWorkshop<TBuildCapForm>(workshop_id::Capabilities);
        QCOMPARE(child<WorkshopGrid>(form, "grdServices")->rowCount(), 3);
        QCOMPARE(child<QPlainTextEdit>(form, "edtDesc")->toPlainText(), QStringLiteral("Planning tools\nfor kitchens"));
        QCOMPARE(child<WorkshopGrid>(form, "grdSpecCap")->rowCount(), 3);

        clickCell(child<WorkshopGrid>(form, "grdServices"), 0, 2);
        QCOMPARE(form->selectedProduct(), 1);
        QCOMPARE(child<QPlainTextEdit>(form, "edtDesc")->toPlainText(), QString());
        QCOMPARE(child<WorkshopGrid>(form, "grdSpecCap")->rowCount(), 2);
        typeIntoCell(child<WorkshopGrid>(form, "grdSpecCap"), 0, 1, QStringLiteral("Repairs"));
        QCOMPARE(second.Capabilities.Count(), 1);
        QCOMPARE(second.Capabilities[0].Name, std::string("Repairs"));
        QCOMPARE(first.Capabilities.Count(), 1);

        // Alt+Delete in the service grid asks about a special capability.
        prompts->yesNoAnswer = true;
        clickCell(child<WorkshopGrid>(form, "grdSpecCap"), 0, 1);
        QTest::keyClick(child<WorkshopGrid>(form, "grdSpecCap"), Qt::Key_Delete, Qt::AltModifier);
        QCOMPARE(prompts->questions.last(), QStringLiteral("Delete Special Capability 'Repairs'?"));
        QVERIFY(second.Capabilities.Empty());
    }

    void withoutProductsTheServiceGridIsDisabledAndEmpty()
    {
        TCaseForm* owner = main->New();
        addCapability(owner->data().Capabilities, "General", 2, 3);
        auto* form = openWorkshop<TBuildCapForm>(workshop_id::Capabilities);
        QVERIFY(!child<WorkshopGrid>(form, "grdSpecCap")->isEnabled());
        QCOMPARE(child<WorkshopGrid>(form, "grdSpecCap")->rowCount(), 2);
        QCOMPARE(child<WorkshopGrid>(form, "grdSpecCap")->cellText(0, 0), QStringLiteral("Name"));
        QCOMPARE(child<WorkshopGrid>(form, "grdSpecCap")->cellText(0, 1), QString()); // not the general list
        QCOMPARE(child<WorkshopGrid>(form, "grdServices")->rowCount(), 2);
        QCOMPARE(form->selectedProduct(), -1);
    }

    void lookingAroundTakesNoUndoStep()
    {
        TCaseForm* owner = main->New();
        TCaseData& data = owner->data();
        addCapability(data.Capabilities, "Sales", 3, 4);
        data.Products.Add().Name = "Software";
        data.Modified = false;
        auto* form = openWorkshop<TBuildCapForm>(workshop_id::Capabilities);
        clickCell(child<WorkshopGrid>(form, "grdGenCap"), 1, 1);
        clickCell(child<WorkshopGrid>(form, "grdServices"), 0, 1);
        clickCell(child<WorkshopGrid>(form, "grdSpecCap"), 0, 1);
        // Opening the editor and leaving it unchanged, on a capability and on the empty row.
        clickCell(child<WorkshopGrid>(form, "grdGenCap"), 1, 1);
        QTest::keyClick(child<WorkshopGrid>(form, "grdGenCap"), Qt::Key_F2);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        clickCell(child<WorkshopGrid>(form, "grdGenCap"), 0, 2);
        QTest::keyClick(child<WorkshopGrid>(form, "grdGenCap"), Qt::Key_F2);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        child<QToolButton>(form, "btnGraph")->click();
        child<QPushButton>(form, "btnBack")->click();
        main->broadcastCommit();
        QVERIFY(!data.Modified);
        QVERIFY(owner->edit().undoStack().empty());
        QCOMPARE(data.Capabilities.Count(), 1);
    }

    void graphPageFiltersListsAndPicks()
    {
        TCaseForm* owner = main->New();
        TCaseData& data = owner->data();
        addCapability(data.Capabilities, "Sales", 7, 2);
        addCapability(data.Capabilities, "Finance", 4, 9);
        auto& software = data.Products.Add();
        software.Name = "Software";
        addCapability(software.Capabilities, "Coding", 3, 10);
        auto& service = data.Products.Add();
        service.Name = "Service";
        addCapability(service.Capabilities, "Repairs", 10, 10);
        auto* form = openWorkshop<TBuildCapForm>(workshop_id::Capabilities);

        child<QToolButton>(form, "btnGraph")->click();
        QCOMPARE(child<QStackedWidget>(form, "Notebook1")->currentWidget(), child<QWidget>(form, "Graph"));
        QCOMPARE(listCaptions(child<PortfolioList>(form, "lst2Caps")),
                 (QStringList{"General Capabilities", "   Sales", "   Finance", "Service Specific Capabilities",
                              "   Software", "      Coding", "   Service", "      Repairs"}));

        // Leaving a filter field clamps it; Refresh applies the filter.
        child<MaskedLineEdit>(form, "edtTodayFrom")->setFocus();
        child<MaskedLineEdit>(form, "edtTodayFrom")->selectAll();
        QTest::keyClicks(child<MaskedLineEdit>(form, "edtTodayFrom"), QStringLiteral("0"));
        child<MaskedLineEdit>(form, "edtTodayTo")->setFocus();
        QCOMPARE(child<MaskedLineEdit>(form, "edtTodayFrom")->maskedText(), QStringLiteral("1"));
        child<MaskedLineEdit>(form, "edtTodayFrom")->setMaskedText(QStringLiteral("5"));
        child<QPushButton>(form, "btn2Refresh")->click();
        QCOMPARE(listCaptions(child<PortfolioList>(form, "lst2Caps")), (QStringList{"General Capabilities", "   Sales",
                                                            "Service Specific Capabilities", "   Service",
                                                            "      Repairs"}));
        QCOMPARE(child<PortfolioList>(form, "lst2Caps")->topLevelItem(1)->text(1), QStringLiteral("7"));
        QCOMPARE(child<PortfolioList>(form, "lst2Caps")->topLevelItem(1)->text(2), QStringLiteral("2"));

        // A click in the top-right corner picks Repairs (10, 10); the copy is a picture.
        PortfolioDiagram* diagram = child<PortfolioDiagram>(form, "pnt2View");
        QTest::mouseClick(diagram, Qt::LeftButton, {}, QPoint(diagram->width() - 2, 2));
        QCOMPARE(child<PortfolioList>(form, "lst2Caps")->selectedRow(), 4);
        QApplication::clipboard()->clear();
        child<QPushButton>(form, "BtnCopy")->click();
        QVERIFY(QApplication::clipboard()->mimeData()->hasImage());

        child<QPushButton>(form, "btnBack")->click();
        QCOMPARE(child<QStackedWidget>(form, "Notebook1")->currentWidget(), child<QWidget>(form, "Data"));
    }

    void activationReturnsToTheDataPageWithChangesMadeElsewhere()
    {
        TCaseForm* owner = main->New();
        auto* form = openWorkshop<TBuildCapForm>(workshop_id::Capabilities);
        child<QToolButton>(form, "btnGraph")->click();
        QCOMPARE(child<QStackedWidget>(form, "Notebook1")->currentWidget(), child<QWidget>(form, "Graph"));
        TWorkshopForm* other = main->OpenWorkshop(workshop_id::Alliances);
        QVERIFY(other);
        addCapability(owner->data().Capabilities, "Added elsewhere", 2, 2);
        main->mdiArea()->setActiveSubWindow(form->subWindow());
        QCOMPARE(child<QStackedWidget>(form, "Notebook1")->currentWidget(), child<QWidget>(form, "Data"));
        QCOMPARE(child<WorkshopGrid>(form, "grdGenCap")->rowCount(), 3);
        QCOMPARE(child<WorkshopGrid>(form, "grdGenCap")->cellText(0, 1), QStringLiteral("Added elsewhere"));
    }

    void helpTopicsAndAccessibleNamesFollowTheControls()
    {
        main->New();
        auto* form = openWorkshop<TBuildCapForm>(workshop_id::Capabilities);
        QCOMPARE(help::pageForWidget(child<WorkshopGrid>(form, "grdGenCap")),
                 QStringLiteral("capabilities.html#general"));
        QCOMPARE(help::pageForWidget(child<WorkshopGrid>(form, "grdSpecCap")),
                 QStringLiteral("capabilities.html#services"));
        QCOMPARE(help::pageForWidget(child<PortfolioList>(form, "lst2Caps")),
                 QStringLiteral("capabilities.html#graph"));
        QCOMPARE(help::pageForWidget(child<MaskedLineEdit>(form, "edtTodayFrom")),
                 QStringLiteral("capabilities.html#filter"));
        QCOMPARE(help::pageForWidget(child<QPushButton>(form, "BtnCopy")), QStringLiteral("capabilities.html#graph"));
        QFile page(QStringLiteral(":/help/capabilities.html"));
        QVERIFY(page.open(QIODevice::ReadOnly));
        const QString html = QString::fromUtf8(page.readAll());
        for (const char* anchor : {"general", "services", "graph", "filter"})
            QVERIFY2(html.contains(QStringLiteral("name=\"%1\"").arg(QLatin1String(anchor))), anchor);

        const auto nameOf = [](QWidget* widget) {
            return QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name);
        };
        QCOMPARE(nameOf(child<WorkshopGrid>(form, "grdGenCap")), QStringLiteral("List of General Capabilities"));
        QCOMPARE(nameOf(child<WorkshopGrid>(form, "grdServices")), QStringLiteral("List of Services"));
        QCOMPARE(nameOf(child<WorkshopGrid>(form, "grdSpecCap")), QStringLiteral("Service Specific Capabilities"));
        QCOMPARE(nameOf(child<PortfolioList>(form, "lst2Caps")), QStringLiteral("List of Capabilities"));
        QCOMPARE(nameOf(child<MaskedLineEdit>(form, "edtTodayFrom")), QStringLiteral("Today's importance is between"));
    }
};

QTEST_MAIN(BuildCapFormTest)
#include "build_cap_form_test.moc"
