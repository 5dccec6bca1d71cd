// The customer and product workshop window in both modes: the item list, texts, key
// characteristics, market potential, filter, graph page and grouping, driven through the real
// widgets with every question answered by the test.

#include "workshop_session.h"

#include <QApplication>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QPushButton>
#include <QStackedWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "model/case_data.h"
#include "model/case_edit.h"
#include "model/case_file.h"
#include "shell/help_window.h"
#include "widgets/bullet_text_edit.h"
#include "widgets/cp1252_text_edit.h"
#include "widgets/edit_mask.h"
#include "widgets/edit_state.h"
#include "widgets/portfolio_diagram.h"
#include "widgets/portfolio_list.h"
#include "workshops/customers/cu_pr_form.h"
#include "workshops/customers/grouping_form.h"

using namespace cust_prod;

namespace {

// Types into cell (col, row) as a user would: select it, the first key opens the editor, Enter
// closes it.

void pressTitle(WorkshopGrid* grid, int col, Qt::MouseButton button = Qt::LeftButton)
{
    QHeaderView* header = grid->horizontalHeader();
    const int x = header->sectionViewportPosition(col) + header->sectionSize(col) / 2;
    QTest::mousePress(header->viewport(), button, {}, QPoint(x, 3));
    QTest::mouseRelease(header->viewport(), button, {}, QPoint(x, 3));
}

// Runs `steps` on the grouping dialog once its modal loop runs, and closes it whatever they did,
// so a failing check inside cannot leave the test waiting on the dialog.
template <class Steps>
void whenDialogOpens(QObject* context, Steps steps)
{
    QTimer::singleShot(0, context, [steps] {
        auto* dialog = qobject_cast<TGroupingForm*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        steps(dialog);
        if (dialog->isVisible())
            dialog->reject();
    });
}

void leaveField(QLineEdit* field, const QString& text)
{
    field->setFocus();
    field->selectAll();
    QTest::keyClicks(field, text);
    QTest::keyClick(field, Qt::Key_Tab);
}

} // namespace

class CuPrFormTest : public QObject, private WorkshopSession {
    Q_OBJECT

private slots:
    void init()
    {
        QVERIFY(openActiveShell());
    }
    void cleanup() { closeShell(); }

    void eachModeHasItsTextsAndHelpTopics_data()
    {
        QTest::addColumn<int>("identifier");
        QTest::addColumn<QString>("listLabel");
        QTest::addColumn<QString>("needsLabel");
        QTest::addColumn<int>("listTopic");
        QTest::addColumn<int>("keyCharTopic");
        QTest::addColumn<QString>("page");
        QTest::newRow("customers") << workshop_id::Customers << "&List of Customers" << "&Key Needs/Requirements"
                                   << 53000 << 53020 << "customers.html";
        QTest::newRow("products") << workshop_id::Products << "&List of Services/Products" << "&Key Advantages/USPs"
                                  << 54000 << 54015 << "products.html";
    }
    void eachModeHasItsTextsAndHelpTopics()
    {
        QFETCH(int, identifier);
        QFETCH(QString, listLabel);
        QFETCH(QString, needsLabel);
        QFETCH(int, listTopic);
        QFETCH(int, keyCharTopic);
        QFETCH(QString, page);
        auto* form = openWorkshop<TCuPrForm>(identifier);
        QVERIFY(form);
        QCOMPARE(child<QLabel>(form, "Label1")->text(), listLabel);
        QCOMPARE(child<QLabel>(form, "Label4")->text(), needsLabel);
        QCOMPARE(child<QLabel>(form, "Label4")->buddy(), child<BulletTextEdit>(form, "edtKeyNeeds"));
        QCOMPARE(child<WorkshopGrid>(form, "grdCust")->accessibleName(), QString(listLabel).remove(QLatin1Char('&')));
        QCOMPARE(child<WorkshopGrid>(form, "grdCust")->property("helpContext").toInt(), listTopic);
        QCOMPARE(child<WorkshopGrid>(form, "grdKeyChar")->property("helpContext").toInt(), keyCharTopic);
        QCOMPARE(child<QToolButton>(form, "btnGraph")->property("helpContext").toInt(), 53040);
        QCOMPARE(child<QPushButton>(form, "BtnCopy")->property("helpContext").toInt(), 58000);
        QCOMPARE(form->helpContext(), 20030);
        QCOMPARE(help::pageForWidget(child<WorkshopGrid>(form, "grdCust")), page + "#list");
        QCOMPARE(help::pageForWidget(child<Cp1252PlainTextEdit>(form, "edtDesc")), page + "#texts");
        // Numbers the two modes share still open this mode's page.
        QCOMPARE(help::pageForWidget(child<QToolButton>(form, "btnGraph")), page + "#graph");
        QCOMPARE(help::pageForWidget(child<QPushButton>(form, "BtnCopy")), page + "#graph");
        // a control without a topic opens the mode's page
        QCOMPARE(help::pageForWidget(child<QLabel>(form, "Label2")), page);
        QVERIFY(form->caption().endsWith(QStringLiteral(" - ") + form->captionWord()));
        // The second mode is a window of its own.
        const int other = identifier == workshop_id::Customers ? workshop_id::Products : workshop_id::Customers;
        QVERIFY(main->OpenWorkshop(other) != form);
    }

    void emptyListShowsOneEmptyRowAndDisablesTheRest()
    {
        auto* form = openWorkshop<TCuPrForm>(workshop_id::Customers);
        QCOMPARE(child<WorkshopGrid>(form, "grdCust")->rowCount(), 2);
        QCOMPARE(child<WorkshopGrid>(form, "grdCust")->cellText(0, 0), QStringLiteral("Name"));
        QVERIFY(!child<QPushButton>(form, "btnGroup")->isEnabled());
        for (QWidget* control : {static_cast<QWidget*>(child<Cp1252PlainTextEdit>(form, "edtDesc")),
                                 static_cast<QWidget*>(child<BulletTextEdit>(form, "edtKeyNeeds")),
                                 static_cast<QWidget*>(child<WorkshopGrid>(form, "grdKeyChar")),
                                 static_cast<QWidget*>(child<WorkshopGrid>(form, "grdMarkPot")),
                                 static_cast<QWidget*>(child<QGroupBox>(form, "GroupBox2"))})
            QVERIFY2(!control->isEnabled(), qPrintable(control->objectName()));
        QCOMPARE(child<QGroupBox>(form, "GroupBox2")->title(), QStringLiteral("F&iltering"));
    }

    void lookingNeverEdits()
    {
        TCaseForm* caseForm = main->New();
        caseForm->data().Customers.Add().Name = "Hotels";
        caseForm->data().Customers.Add().Name = "Canteens";
        caseForm->data().Modified = false;
        auto* form = qobject_cast<TCuPrForm*>(main->OpenWorkshop(workshop_id::Customers));
        child<WorkshopGrid>(form, "grdCust")->setFocus();
        child<WorkshopGrid>(form, "grdCust")->setCurrentCell(0, 2);
        child<WorkshopGrid>(form, "grdCust")->setCurrentCell(0, 1);
        form->sendRefresh();
        form->activated();
        form->sendCommit();
        QVERIFY(!caseForm->data().Modified);
        QCOMPARE(caseForm->undoCount(), 0);
    }

    // A group member one past the end of the list would name the next customer added.
    void openingRemovesReferencesPastTheListsSoANewCustomerJoinsNoGroup()
    {
        TCaseData stored;
        for (const char* name : {"Hotels", "Canteens", "Schools"})
            stored.Customers.Add().Name = name;
        stored.Customers[2].Members = std::make_unique<TDelList<TInteger>>();
        for (int member : {0, 3})
            stored.Customers[2].Members->Add().Value = member;
        stored.MarketGroups.Add().CustomerRefs.Add().Rank = 3;
        const QString path = dir->filePath(QStringLiteral("dangling.cvx"));
        QVERIFY(!saveCaseFile(stored, QFile::encodeName(path).toStdString()));

        prompts->openPaths.push_back(path);
        QTest::keyClick(main.get(), Qt::Key_O, Qt::ControlModifier);
        TCaseForm* caseForm = main->currentCase();
        QVERIFY(caseForm);
        QCOMPARE(prompts->warnings,
                 QStringList{QStringLiteral("'%1' held 2 references to entries that do not exist. They were removed.")
                                 .arg(path)});
        QVERIFY(caseForm->data().Modified);
        QCOMPARE(caseForm->undoCount(), 0);

        QTest::keyClick(main.get(), Qt::Key_4, Qt::ControlModifier);
        auto* form = qobject_cast<TCuPrForm*>(main->activeChild());
        QVERIFY(form);
        typeIntoCell(child<WorkshopGrid>(form, "grdCust"), 0, 4, QStringLiteral("Bakeries"));
        QTest::keyClick(child<WorkshopGrid>(form, "grdCust"), Qt::Key_S, Qt::ControlModifier);
        QVERIFY(!caseForm->data().Modified);

        TCaseData saved;
        QVERIFY(!loadCaseFile(QFile::encodeName(path).toStdString(), saved));
        QCOMPARE(saved.Customers.Count(), 4);
        QCOMPARE(saved.Customers[3].Name, std::string("Bakeries"));
        QCOMPARE(saved.Customers[2].Members->Count(), 1);
        QCOMPARE((*saved.Customers[2].Members)[0].Value, 0);
        QCOMPARE(saved.MarketGroups[0].CustomerRefs.Count(), 0);
    }

    void typingANameAddsAnItemAndUndoTakesItBack()
    {
        auto* form = openWorkshop<TCuPrForm>(workshop_id::Customers);
        TCaseData& data = form->data();
        typeIntoCell(child<WorkshopGrid>(form, "grdCust"), 0, 1, QStringLiteral("Hotels"));
        QCOMPARE(data.Customers.Count(), 1);
        QCOMPARE(data.Customers[0].Name, std::string("Hotels"));
        QCOMPARE(data.Customers[0].Capabilities.Count(), 17);
        QCOMPARE(child<WorkshopGrid>(form, "grdCust")->rowCount(), 3);
        QVERIFY(child<QPushButton>(form, "btnGroup")->isEnabled());
        QCOMPARE(form->selectedItem(), 0);
        QVERIFY(child<Cp1252PlainTextEdit>(form, "edtDesc")->isEnabled());

        typeIntoCell(child<WorkshopGrid>(form, "grdKeyChar"), 0, 1, QStringLiteral("Price"));
        typeIntoCell(child<WorkshopGrid>(form, "grdCust"), 0, 2, QStringLiteral("Canteens"));
        QCOMPARE(data.Customers[1].KeyChars.Count(), 1);
        QCOMPARE(data.Customers[1].KeyChars[0].Match, 1);

        typeIntoCell(child<WorkshopGrid>(form, "grdCust"), 0, 2, QStringLiteral("Schools"));
        QCOMPARE(data.Customers[1].Name, std::string("Schools"));
        main->Undo();
        QCOMPARE(data.Customers[1].Name, std::string("Canteens"));
        QCOMPARE(child<WorkshopGrid>(form, "grdCust")->cellText(0, 2), QStringLiteral("Canteens"));
        main->Undo();
        QCOMPARE(child<WorkshopGrid>(form, "grdCust")->rowCount(), 3);
        QCOMPARE(child<WorkshopGrid>(form, "grdCust")->cellText(0, 2), QString());
    }

    void aGroupRowShowsItsSuffixAndEditsTheBareName()
    {
        TCaseForm* caseForm = main->New();
        for (const char* name : {"Hotels", "Canteens", "Institutions"})
            caseForm->data().Products.Add().Name = name;
        auto& group = caseForm->data().Products[2];
        group.Members = std::make_unique<TDelList<TInteger>>();
        group.Members->Add().Value = 1;
        auto* form = qobject_cast<TCuPrForm*>(main->OpenWorkshop(workshop_id::Products));
        QCOMPARE(child<WorkshopGrid>(form, "grdCust")->cellText(0, 3), QStringLiteral("Institutions (Group)"));
        QCOMPARE(child<WorkshopGrid>(form, "grdCust")->cellText(0, 3, CellTextUse::Edit),
                 QStringLiteral("Institutions"));
        typeIntoCell(child<WorkshopGrid>(form, "grdCust"), 0, 3, QStringLiteral("Public"));
        QCOMPARE(caseForm->data().Products[2].Name, std::string("Public"));
        QCOMPARE(child<WorkshopGrid>(form, "grdCust")->cellText(0, 3), QStringLiteral("Public (Group)"));
    }

    void altDeleteAsksAndDeletesTheItem()
    {
        TCaseForm* caseForm = main->New();
        for (const char* name : {"a", "b", "c"})
            caseForm->data().Customers.Add().Name = name;
        auto* form = qobject_cast<TCuPrForm*>(main->OpenWorkshop(workshop_id::Customers));
        child<WorkshopGrid>(form, "grdCust")->setFocus();
        child<WorkshopGrid>(form, "grdCust")->setCurrentCell(0, 2);
        prompts->yesNoAnswer = false;
        QTest::keyClick(child<WorkshopGrid>(form, "grdCust"), Qt::Key_Delete, Qt::AltModifier);
        QCOMPARE(prompts->questions.last(), QStringLiteral("Delete item 'b'?"));
        QCOMPARE(caseForm->data().Customers.Count(), 3);
        prompts->yesNoAnswer = true;
        QTest::keyClick(child<WorkshopGrid>(form, "grdCust"), Qt::Key_Delete, Qt::AltModifier);
        QCOMPARE(caseForm->data().Customers.Count(), 2);
        QCOMPARE(child<WorkshopGrid>(form, "grdCust")->rowCount(), 4);
        QCOMPARE(child<WorkshopGrid>(form, "grdCust")->cellText(0, 2), QStringLiteral("c"));
        // On the empty row there is nothing to delete.
        child<WorkshopGrid>(form, "grdCust")->setCurrentCell(0, 3);
        const int asked = prompts->questions.size();
        QTest::keyClick(child<WorkshopGrid>(form, "grdCust"), Qt::Key_Delete, Qt::AltModifier);
        QCOMPARE(prompts->questions.size(), asked);
    }

    void aTitlePressSortsTheItemsAndTheirReferences()
    {
        TCaseForm* caseForm = main->New();
        TCaseData& data = caseForm->data();
        for (const char* name : {"b", "A", "c", "Z"})
            data.Customers.Add().Name = name;
        data.Customers[3].Members = std::make_unique<TDelList<TInteger>>();
        data.Customers[3].Members->Add().Value = 0;
        data.Customers[3].Members->Add().Value = 2;
        auto* form = qobject_cast<TCuPrForm*>(main->OpenWorkshop(workshop_id::Customers));
        pressTitle(child<WorkshopGrid>(form, "grdCust"), 0, Qt::RightButton);
        QCOMPARE(child<WorkshopGrid>(form, "grdCust")->cellText(0, 1), QStringLiteral("A"));
        QCOMPARE(child<WorkshopGrid>(form, "grdCust")->cellText(0, 4), QStringLiteral("Z (Group)"));
        QCOMPARE((*data.Customers[3].Members)[0].Value, 1);
        QCOMPARE((*data.Customers[3].Members)[1].Value, 2);
        QVERIFY(data.Modified);
        QCOMPARE(caseForm->undoCount(), 0);
    }

    void textsAreStoredAsTypedAndCommittedBeforeSaving()
    {
        auto* form = openWorkshop<TCuPrForm>(workshop_id::Products);
        typeIntoCell(child<WorkshopGrid>(form, "grdCust"), 0, 1, QStringLiteral("Oven"));
        TCaseData& data = form->data();
        child<Cp1252PlainTextEdit>(form, "edtDesc")->setFocus();
        QTest::keyClicks(child<Cp1252PlainTextEdit>(form, "edtDesc"), QStringLiteral("Steam"));
        QCOMPARE(data.Products[0].Description, std::string("Steam"));
        child<BulletTextEdit>(form, "edtKeyNeeds")->setFocus();
        QTest::keyClicks(child<BulletTextEdit>(form, "edtKeyNeeds"), QStringLiteral("Fast"));
        QTest::keyClick(child<BulletTextEdit>(form, "edtKeyNeeds"), Qt::Key_Return);
        QTest::keyClicks(child<BulletTextEdit>(form, "edtKeyNeeds"), QStringLiteral("Clean"));
        QCOMPARE(data.Products[0].KeyNeeds, std::string("Fast\r\nClean"));
        main->Undo();
        QCOMPARE(child<BulletTextEdit>(form, "edtKeyNeeds")->plainText(), QStringLiteral("Fast\nClea"));

        // A name still in the cell editor reaches the model with the commit before a save.
        typeIntoCell(child<WorkshopGrid>(form, "grdCust"), 0, 2, QStringLiteral("Counter"), false);
        QCOMPARE(data.Products.Count(), 1);
        main->broadcastCommit();
        QCOMPARE(data.Products.Count(), 2);
        QCOMPARE(data.Products[1].Name, std::string("Counter"));
    }

    void importanceIsSharedMatchIsTheItemsOwnAndScoresAreLimited()
    {
        auto* form = openWorkshop<TCuPrForm>(workshop_id::Customers);
        TCaseData& data = form->data();
        typeIntoCell(child<WorkshopGrid>(form, "grdCust"), 0, 1, QStringLiteral("Hotels"));
        typeIntoCell(child<WorkshopGrid>(form, "grdKeyChar"), 0, 1, QStringLiteral("Price"));
        typeIntoCell(child<WorkshopGrid>(form, "grdCust"), 0, 2, QStringLiteral("Canteens"));
        QCOMPARE(form->selectedItem(), 1);
        typeIntoCell(child<WorkshopGrid>(form, "grdKeyChar"), 1, 1, QStringLiteral("12"));
        typeIntoCell(child<WorkshopGrid>(form, "grdKeyChar"), 2, 1, QStringLiteral("0"));
        QCOMPARE(child<WorkshopGrid>(form, "grdKeyChar")->cellText(1, 1), QStringLiteral("10"));
        QCOMPARE(child<WorkshopGrid>(form, "grdKeyChar")->cellText(2, 1), QStringLiteral("1"));
        QCOMPARE(data.Customers[0].KeyChars[0].Importance, 10);
        typeIntoCell(child<WorkshopGrid>(form, "grdKeyChar"), 2, 1, QStringLiteral("7"));
        QCOMPARE(data.Customers[1].KeyChars[0].Match, 7);
        QCOMPARE(data.Customers[0].KeyChars[0].Match, 1);

        // A cell emptied stores 0, shown as such.
        child<WorkshopGrid>(form, "grdKeyChar")->setFocus();
        child<WorkshopGrid>(form, "grdKeyChar")->setCurrentCell(1, 1);
        QTest::keyClick(child<WorkshopGrid>(form, "grdKeyChar"), Qt::Key_F2);
        auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        QVERIFY(editor);
        editor->selectAll();
        QTest::keyClick(editor, Qt::Key_Backspace);
        QTest::keyClick(editor, Qt::Key_Return);
        QCOMPARE(data.Customers[1].KeyChars[0].Importance, 0);
        QCOMPARE(child<WorkshopGrid>(form, "grdKeyChar")->cellText(1, 1), QStringLiteral("0"));
    }

    void altEnterMarksAKeyCharacteristicNotApplicable()
    {
        auto* form = openWorkshop<TCuPrForm>(workshop_id::Customers);
        typeIntoCell(child<WorkshopGrid>(form, "grdCust"), 0, 1, QStringLiteral("Hotels"));
        typeIntoCell(child<WorkshopGrid>(form, "grdKeyChar"), 0, 1, QStringLiteral("Price"));
        child<WorkshopGrid>(form, "grdKeyChar")->setFocus();
        child<WorkshopGrid>(form, "grdKeyChar")->setCurrentCell(0, 1);
        QVERIFY(child<QGroupBox>(form, "GroupBox2")->isEnabled());
        QCOMPARE(child<QGroupBox>(form, "GroupBox2")->title(), QStringLiteral("F&iltering 'Price'"));
        QTest::keyClick(child<WorkshopGrid>(form, "grdKeyChar"), Qt::Key_Return, Qt::AltModifier);
        QVERIFY(form->data().Customers[0].KeyChars[0].Excluded);
        QCOMPARE(form->keyCharCellStyle(1).color, QColor(255, 0, 0));
        QCOMPARE(child<WorkshopGrid>(form, "grdKeyChar")->cellText(1, 1), QString());
        QVERIFY(!child<QGroupBox>(form, "GroupBox2")->isEnabled());
        main->Undo();
        QVERIFY(!form->data().Customers[0].KeyChars[0].Excluded);
        QVERIFY(!form->keyCharCellStyle(1).color.isValid());
    }

    void aMatchBoundColoursTheItemsThatFailIt()
    {
        auto* form = openWorkshop<TCuPrForm>(workshop_id::Customers);
        TCaseData& data = form->data();
        typeIntoCell(child<WorkshopGrid>(form, "grdCust"), 0, 1, QStringLiteral("Hotels"));
        typeIntoCell(child<WorkshopGrid>(form, "grdKeyChar"), 0, 1, QStringLiteral("Service"));
        typeIntoCell(child<WorkshopGrid>(form, "grdKeyChar"), 2, 1, QStringLiteral("4"));
        typeIntoCell(child<WorkshopGrid>(form, "grdCust"), 0, 2, QStringLiteral("Canteens"));
        typeIntoCell(child<WorkshopGrid>(form, "grdKeyChar"), 2, 1, QStringLiteral("8"));
        child<WorkshopGrid>(form, "grdKeyChar")->setFocus();
        child<WorkshopGrid>(form, "grdKeyChar")->setCurrentCell(0, 1);
        data.Modified = false;
        const int steps = form->caseForm()->undoCount();

        leaveField(child<MaskedLineEdit>(form, "EditMatchFrom"), QStringLiteral("5"));
        QCOMPARE(form->itemCellStyle(1).color, QColor(255, 0, 0));
        QVERIFY(!form->itemCellStyle(2).color.isValid());
        leaveField(child<MaskedLineEdit>(form, "EditMatchFrom"), QStringLiteral("4"));
        QVERIFY(!form->itemCellStyle(1).color.isValid());
        leaveField(child<MaskedLineEdit>(form, "EditImpTo"), QStringLiteral("99"));
        QCOMPARE(child<MaskedLineEdit>(form, "EditImpTo")->text(), QStringLiteral("10"));
        QVERIFY2(!data.Modified, "bounds are not part of the case file");
        QCOMPARE(form->caseForm()->undoCount(), steps);
    }

    void marketPotentialReadsGroupedAndEditsPlain()
    {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        auto* form = openWorkshop<TCuPrForm>(workshop_id::Customers);
        typeIntoCell(child<WorkshopGrid>(form, "grdCust"), 0, 1, QStringLiteral("Hotels"));
        typeIntoCell(child<WorkshopGrid>(form, "grdMarkPot"), 0, 1, QStringLiteral("Kitchens"));
        QCOMPARE(child<WorkshopGrid>(form, "grdMarkPot")->cellText(1, 1), QStringLiteral("1"));
        typeIntoCell(child<WorkshopGrid>(form, "grdMarkPot"), 1, 1, QStringLiteral("1234567"));
        QCOMPARE(form->data().Customers[0].MarketPotential[0].Rank, 1234567);
        QCOMPARE(child<WorkshopGrid>(form, "grdMarkPot")->cellText(1, 1), QStringLiteral("1,234,567"));
        QCOMPARE(child<WorkshopGrid>(form, "grdMarkPot")->cellText(1, 1, CellTextUse::Edit), QStringLiteral("1234567"));
        typeIntoCell(child<WorkshopGrid>(form, "grdMarkPot"), 0, 2, QStringLiteral("Spend"));
        typeIntoCell(child<WorkshopGrid>(form, "grdMarkPot"), 1, 2, QStringLiteral("5000000"));
        pressTitle(child<WorkshopGrid>(form, "grdMarkPot"), 1);
        QCOMPARE(child<WorkshopGrid>(form, "grdMarkPot")->cellText(0, 1), QStringLiteral("Spend"));
        QLocale::setDefault(QLocale::c());
    }

    void sortingKeyCharacteristicsByMatchOrdersEveryItem()
    {
        TCaseForm* caseForm = main->New();
        TCaseData& data = caseForm->data();
        for (const char* name : {"Hotels", "Canteens"}) {
            auto& item = data.Customers.Add();
            item.Name = name;
            int match = std::string(name) == "Hotels" ? 3 : 9;
            for (const char* keyChar : {"Price", "Service", "Speed"}) {
                auto& entry = item.KeyChars.Add();
                entry.Name = keyChar;
                entry.Excluded = false;
                entry.Match = match;
                match = match == 9 ? 2 : match + 2;
            }
        }
        auto* form = qobject_cast<TCuPrForm*>(main->OpenWorkshop(workshop_id::Customers));
        child<WorkshopGrid>(form, "grdCust")->setCurrentCell(0, 2);
        pressTitle(child<WorkshopGrid>(form, "grdKeyChar"), 2);
        QCOMPARE(child<WorkshopGrid>(form, "grdKeyChar")->cellText(0, 1), QStringLiteral("Price")); // 9, 2, 4
        QCOMPARE(child<WorkshopGrid>(form, "grdKeyChar")->cellText(0, 2), QStringLiteral("Speed"));
        for (const auto& item : data.Customers) {
            QCOMPARE(item.KeyChars[1].Name, std::string("Speed"));
            QCOMPARE(item.KeyChars[2].Name, std::string("Service"));
        }
        QCOMPARE(data.CustFilterLow[1].Name, std::string("Speed"));
    }

    void theGraphPageListsPassingKeyCharacteristicsAndPicksByThePlot()
    {
        TCaseForm* caseForm = main->New();
        TCaseData& data = caseForm->data();
        auto& hotels = data.Customers.Add();
        hotels.Name = "Hotels";
        for (auto [name, importance, match, excluded] :
             {std::tuple{"Price", 9, 2, false}, std::tuple{"Service", 3, 9, false}, std::tuple{"Hygiene", 5, 5, true}}) {
            auto& keyChar = hotels.KeyChars.Add();
            keyChar.Name = name;
            keyChar.Importance = importance;
            keyChar.Match = match;
            keyChar.Excluded = excluded;
        }
        auto& only = data.Customers.Add();
        only.Name = "Not rated";
        only.KeyChars.Add().Excluded = true;
        auto* form = qobject_cast<TCuPrForm*>(main->OpenWorkshop(workshop_id::Customers));
        QTest::mouseClick(child<QToolButton>(form, "btnGraph"), Qt::LeftButton);
        QVERIFY(form->graphShown());
        QCOMPARE(child<PortfolioList>(form, "lst2Customers")->rowCount(), 3);
        QCOMPARE(child<PortfolioList>(form, "lst2Customers")->topLevelItem(0)->text(0), QStringLiteral("Hotels"));
        QCOMPARE(child<PortfolioList>(form, "lst2Customers")->topLevelItem(2)->text(0), QStringLiteral("   Service"));
        QCOMPARE(child<PortfolioList>(form, "lst2Customers")->topLevelItem(2)->text(2), QStringLiteral("9"));

        QVERIFY(QTest::qWaitForWindowExposed(child<PortfolioDiagram>(form, "pnt2View")));
        const QPoint service =
            portfolio::dotPosition(child<PortfolioDiagram>(form, "pnt2View")->size(), 3, 9) + QPoint(4, 2);
        QTest::mousePress(child<PortfolioDiagram>(form, "pnt2View"), Qt::LeftButton, {}, service);
        QCOMPARE(child<PortfolioList>(form, "lst2Customers")->selectedRow(), 2);
        QCOMPARE(form->graphSelectionOwner(), 0);

        leaveField(child<MaskedLineEdit>(form, "edtMatchFrom"), QStringLiteral("5"));
        QTest::mouseClick(child<QPushButton>(form, "btn2Refresh"), Qt::LeftButton);
        QCOMPARE(child<PortfolioList>(form, "lst2Customers")->rowCount(), 2);
        QTest::mouseClick(child<QPushButton>(form, "btnBack"), Qt::LeftButton);
        QVERIFY(!form->graphShown());
    }

    // A refresh keeps the selected row only where it still names the same entry.
    void aRebuiltGraphListKeepsTheSelectionOnTheSameItem()
    {
        TCaseForm* caseForm = main->New();
        TCaseData& data = caseForm->data();
        for (auto [item, name, importance, match] : {std::tuple{"Hotels", "Price", 9, 2},
                                                     std::tuple{"Hotels", "Service", 3, 9},
                                                     std::tuple{"Bakeries", "Bread", 5, 5}}) {
            if (data.Customers.Empty() || data.Customers[data.Customers.Count() - 1].Name != item)
                data.Customers.Add().Name = item;
            auto& keyChar = data.Customers[data.Customers.Count() - 1].KeyChars.Add();
            keyChar.Name = name;
            keyChar.Importance = importance;
            keyChar.Match = match;
            keyChar.Excluded = false;
        }
        auto* form = qobject_cast<TCuPrForm*>(main->OpenWorkshop(workshop_id::Customers));
        QTest::mouseClick(child<QToolButton>(form, "btnGraph"), Qt::LeftButton);
        leaveField(child<MaskedLineEdit>(form, "edtMatchFrom"), QStringLiteral("5"));
        QTest::mouseClick(child<QPushButton>(form, "btn2Refresh"), Qt::LeftButton);
        QCOMPARE(child<PortfolioList>(form, "lst2Customers")->rowCount(), 4); // Hotels, Service, Bakeries, Bread
        QTest::mouseClick(child<PortfolioList>(form, "lst2Customers")->viewport(), Qt::LeftButton, {},
                          child<PortfolioList>(form, "lst2Customers")
                              ->visualItemRect(child<PortfolioList>(form, "lst2Customers")->topLevelItem(2))
                              .center());
        QCOMPARE(form->graphSelectionOwner(), 1);

        leaveField(child<MaskedLineEdit>(form, "edtMatchFrom"), QStringLiteral("1"));
        QTest::mouseClick(child<QPushButton>(form, "btn2Refresh"), Qt::LeftButton);
        QCOMPARE(child<PortfolioList>(form, "lst2Customers")->rowCount(), 5);
        QCOMPARE(child<PortfolioList>(form, "lst2Customers")->selectedRow(), 3);
        QCOMPARE(form->graphSelectionOwner(), 1);

        // Gone from the list: nothing is selected.
        data.Customers[1].KeyChars[0].Match = 1;
        leaveField(child<MaskedLineEdit>(form, "edtMatchFrom"), QStringLiteral("5"));
        QTest::mouseClick(child<QPushButton>(form, "btn2Refresh"), Qt::LeftButton);
        QCOMPARE(child<PortfolioList>(form, "lst2Customers")->rowCount(), 2);
        QCOMPARE(child<PortfolioList>(form, "lst2Customers")->selectedRow(), -1);
        QCOMPARE(form->graphSelectionOwner(), -1);
    }

    // A new group made while the empty row is current lands on that row and is shown at once.
    void aGroupLandingOnTheCurrentRowIsShownAtOnce()
    {
        TCaseForm* caseForm = main->New();
        for (const char* name : {"Hotels", "Bakeries"})
            caseForm->data().Customers.Add().Name = name;
        auto* form = qobject_cast<TCuPrForm*>(main->OpenWorkshop(workshop_id::Customers));
        clickCell(child<WorkshopGrid>(form, "grdCust"), 0, 3);
        QVERIFY(!child<Cp1252PlainTextEdit>(form, "edtDesc")->isEnabled());
        whenDialogOpens(this, [&](TGroupingForm* dialog) {
            QTest::mouseClick(child<QPushButton>(dialog, "BitBtn1"), Qt::LeftButton);
            QTest::keyClicks(child<QLineEdit>(dialog, "NameEdit"), QStringLiteral("Guests"));
            QTest::mouseClick(child<QPushButton>(dialog, "CreateGroupButton"), Qt::LeftButton);
        });
        QTest::mouseClick(child<QPushButton>(form, "btnGroup"), Qt::LeftButton);
        QCOMPARE(child<WorkshopGrid>(form, "grdCust")->currentRow(), 3);
        QCOMPARE(child<WorkshopGrid>(form, "grdCust")->cellText(0, 3), QStringLiteral("Guests (Group)"));
        QVERIFY(child<Cp1252PlainTextEdit>(form, "edtDesc")->isEnabled());
        QVERIFY(child<WorkshopGrid>(form, "grdKeyChar")->isEnabled());
        child<Cp1252PlainTextEdit>(form, "edtDesc")->setFocus();
        QTest::keyClicks(child<Cp1252PlainTextEdit>(form, "edtDesc"), QStringLiteral("x"));
        QCOMPARE(caseForm->data().Customers[2].Description, std::string("x"));
    }

    void groupingFromTheDataPageProposesWhatPassesTheFilter()
    {
        TCaseForm* caseForm = main->New();
        TCaseData& data = caseForm->data();
        for (auto [name, match] : {std::pair{"Hotels", 7}, std::pair{"Bakeries", 4}, std::pair{"Airlines", 9}}) {
            auto& item = data.Customers.Add();
            item.Name = name;
            auto& keyChar = item.KeyChars.Add();
            keyChar.Name = "Service";
            keyChar.Excluded = false;
            keyChar.Match = match;
        }
        auto* form = qobject_cast<TCuPrForm*>(main->OpenWorkshop(workshop_id::Customers));
        child<WorkshopGrid>(form, "grdKeyChar")->setCurrentCell(0, 1);
        leaveField(child<MaskedLineEdit>(form, "EditMatchFrom"), QStringLiteral("5"));

        QStringList satisfying, others;
        whenDialogOpens(this, [&](TGroupingForm* dialog) {
            for (int i = 0; i < child<QListWidget>(dialog, "CustListBox")->count(); ++i)
                satisfying << child<QListWidget>(dialog, "CustListBox")->item(i)->text();
            for (int i = 0; i < child<QListWidget>(dialog, "OthersListBox")->count(); ++i)
                others << child<QListWidget>(dialog, "OthersListBox")->item(i)->text();
            QTest::mouseClick(child<QPushButton>(dialog, "BitBtn1"), Qt::LeftButton);
            QTest::keyClicks(child<QLineEdit>(dialog, "NameEdit"), QStringLiteral("Service leaders"));
            QTest::mouseClick(child<QPushButton>(dialog, "CreateGroupButton"), Qt::LeftButton);
        });
        QTest::mouseClick(child<QPushButton>(form, "btnGroup"), Qt::LeftButton);
        QCOMPARE(satisfying, (QStringList{"Airlines", "Hotels"}));
        QCOMPARE(others, QStringList{"Bakeries"});
        QCOMPARE(data.Customers.Count(), 4);
        QCOMPARE(child<WorkshopGrid>(form, "grdCust")->rowCount(), 6);
        QCOMPARE(child<WorkshopGrid>(form, "grdCust")->cellText(0, 4), QStringLiteral("Service leaders (Group)"));
        QCOMPARE((*data.Customers[3].Members)[0].Value, 2);
        QCOMPARE((*data.Customers[3].Members)[1].Value, 0);
        // no customer had plan rows
        QCOMPARE(data.Customers[3].Capabilities.Count(), 0);

        // The group selected, the dialog changes it; Cancel leaves everything alone.
        child<WorkshopGrid>(form, "grdCust")->setCurrentCell(0, 4);
        const int steps = caseForm->undoCount();
        QString shownName;
        whenDialogOpens(this, [&](TGroupingForm* dialog) {
            shownName = child<QLineEdit>(dialog, "NameEdit")->text();
            QVERIFY(child<QPushButton>(dialog, "ModifyButton")->isEnabled());
            QTest::keyClick(dialog, Qt::Key_Escape);
        });
        QTest::mouseClick(child<QPushButton>(form, "btnGroup"), Qt::LeftButton);
        QCOMPARE(shownName, QStringLiteral("Service leaders"));
        QCOMPARE(caseForm->undoCount(), steps);
    }

    void groupingFromTheGraphPageJudgesByItsFilterAndChangesTheRowsGroup()
    {
        TCaseForm* caseForm = main->New();
        TCaseData& data = caseForm->data();
        for (auto [name, match] : {std::pair{"Hotels", 7}, std::pair{"Bakeries", 4}, std::pair{"Group", 6}}) {
            auto& item = data.Customers.Add();
            item.Name = name;
            auto& keyChar = item.KeyChars.Add();
            keyChar.Name = "Service";
            keyChar.Excluded = false;
            keyChar.Match = match;
        }
        data.Customers[2].Members = std::make_unique<TDelList<TInteger>>();
        data.Customers[2].Members->Add().Value = 0;
        auto* form = qobject_cast<TCuPrForm*>(main->OpenWorkshop(workshop_id::Customers));
        QTest::mouseClick(child<QToolButton>(form, "btnGraph"), Qt::LeftButton);
        leaveField(child<MaskedLineEdit>(form, "edtMatchTo"), QStringLiteral("5"));
        QTest::mouseClick(child<QPushButton>(form, "btn2Refresh"), Qt::LeftButton);
        // Bakeries and its key characteristic; the group (match 6) is outside the filter.
        QCOMPARE(child<PortfolioList>(form, "lst2Customers")->rowCount(), 2);
        leaveField(child<MaskedLineEdit>(form, "edtMatchTo"), QStringLiteral("10"));
        QTest::mouseClick(child<QPushButton>(form, "btn2Refresh"), Qt::LeftButton);
        child<PortfolioList>(form, "lst2Customers")->selectRow(5); // the group's key characteristic
        QCOMPARE(form->graphSelectionOwner(), 2);
        leaveField(child<MaskedLineEdit>(form, "edtMatchTo"), QStringLiteral("5"));

        QStringList contents, others;
        whenDialogOpens(this, [&](TGroupingForm* dialog) {
            for (int i = 0; i < child<QListWidget>(dialog, "FilteredListBox")->count(); ++i)
                contents << child<QListWidget>(dialog, "FilteredListBox")->item(i)->text()
                                + (child<QListWidget>(dialog, "FilteredListBox")->item(i)->isSelected() ? "*" : "");
            QTest::mouseClick(child<QPushButton>(dialog, "BitBtn2"), Qt::LeftButton);
            for (int i = 0; i < child<QListWidget>(dialog, "OthersListBox")->count(); ++i)
                others << child<QListWidget>(dialog, "OthersListBox")->item(i)->text();
            QVERIFY2(!child<QPushButton>(dialog, "ModifyButton")->isEnabled(), "a group needs members");
            QTest::mouseClick(child<QPushButton>(dialog, "CancelButton"), Qt::LeftButton);
        });
        QTest::mouseClick(child<QPushButton>(form, "BitBtnGrouping2"), Qt::LeftButton);
        QCOMPARE(contents, QStringList{"Hotels*"});
        QCOMPARE(others, QStringList{"Hotels"});
    }
};

QTEST_MAIN(CuPrFormTest)
#include "cu_pr_form_test.moc"
