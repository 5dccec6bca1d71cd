// Texts reach the case file exactly as they were: a field shows model text and, unless the user
// changes that field, gives back the same bytes (no-break spaces, tabs, lone CRs and LFs, CR LF,
// trailing blanks), whatever else was edited before the case is saved.

#include "workshop_session.h"

#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QTreeWidget>

#include <functional>
#include <memory>

#include "model/case_data.h"
#include "model/case_file.h"

namespace {

// windows-1252: "10", no-break space, "000", a tab, a lone CR, a lone LF, CR LF, trailing blanks.
const std::string kAwkward = "10\xA0"
                             "000\tplan\rlone CR\nlone LF\r\nCR LF  ";

void fillCase(TCaseData& data)
{
    data.Description = data.OrgDescription = data.VisionMission = data.SuccessFactors = kAwkward;
    auto& change = data.ChangeAreas[0].Changes.Add(); // the area the window shows first
    change.Name = "Ageing";
    change.Description = kAwkward;
    auto& rival = data.Competitors.Add();
    rival.Name = "Rival";
    rival.Description = rival.KeyServices = rival.KeyClients = rival.KeyAdvantages = rival.KeyDisadvantages =
        rival.PotentialDev = rival.WatchPoints = kAwkward;
    for (auto* list : {&data.Customers, &data.Products}) {
        auto& item = list->Add();
        item.Name = "First";
        item.Description = item.KeyNeeds = kAwkward;
    }
    auto& capability = data.Capabilities.Add();
    capability.Name = "Sales";
    capability.Decisions = kAwkward;
    auto& group = data.MarketGroups.Add();
    group.Name = "Core";
    auto& member = group.CustomerRefs.Add();
    member.Name = kAwkward; // the remark
    member.Rank = 0; // the first customer
}

struct TextField {
    const char* name;
    int workshop; // 0: the case window
    const char* field;
    std::function<std::string&(TCaseData&)> text;
};

const TextField kFields[] = {
    {"case description", 0, "edtDesc", [](TCaseData& d) -> std::string& { return d.Description; }},
    {"organisation", workshop_id::Future, "edtOrgDesc", [](TCaseData& d) -> std::string& { return d.OrgDescription; }},
    {"vision", workshop_id::Future, "edtVision", [](TCaseData& d) -> std::string& { return d.VisionMission; }},
    {"success factors", workshop_id::Future, "edtFactors", [](TCaseData& d) -> std::string& { return d.SuccessFactors; }},
    {"change", workshop_id::Environment, "edtDesc",
     [](TCaseData& d) -> std::string& { return d.ChangeAreas[0].Changes[0].Description; }},
    {"competitor", workshop_id::Competitors, "edtDesc", [](TCaseData& d) -> std::string& { return d.Competitors[0].Description; }},
    {"services", workshop_id::Competitors, "edtServices", [](TCaseData& d) -> std::string& { return d.Competitors[0].KeyServices; }},
    {"clients", workshop_id::Competitors, "edtClients", [](TCaseData& d) -> std::string& { return d.Competitors[0].KeyClients; }},
    {"advantages", workshop_id::Competitors, "edtAdv", [](TCaseData& d) -> std::string& { return d.Competitors[0].KeyAdvantages; }},
    {"disadvantages", workshop_id::Competitors, "edtDisadv",
     [](TCaseData& d) -> std::string& { return d.Competitors[0].KeyDisadvantages; }},
    {"development", workshop_id::Competitors, "edtDevelop", [](TCaseData& d) -> std::string& { return d.Competitors[0].PotentialDev; }},
    {"watch points", workshop_id::Competitors, "edtWatch", [](TCaseData& d) -> std::string& { return d.Competitors[0].WatchPoints; }},
    {"customer", workshop_id::Customers, "edtDesc", [](TCaseData& d) -> std::string& { return d.Customers[0].Description; }},
    {"key needs", workshop_id::Customers, "edtKeyNeeds", [](TCaseData& d) -> std::string& { return d.Customers[0].KeyNeeds; }},
    {"product", workshop_id::Products, "edtDesc", [](TCaseData& d) -> std::string& { return d.Products[0].Description; }},
    {"advantages/USPs", workshop_id::Products, "edtKeyNeeds", [](TCaseData& d) -> std::string& { return d.Products[0].KeyNeeds; }},
    {"decisions", workshop_id::Alliances, "edtDecisions", [](TCaseData& d) -> std::string& { return d.Capabilities[0].Decisions; }},
    {"remarks", workshop_id::MarketGroups, "EditRemarks",
     [](TCaseData& d) -> std::string& { return d.MarketGroups[0].CustomerRefs[0].Name; }},
};

QString shownText(QWidget* field)
{
    if (auto* plain = qobject_cast<QPlainTextEdit*>(field))
        return plain->toPlainText();
    if (auto* rich = qobject_cast<QTextEdit*>(field))
        return rich->toPlainText();
    return {};
}

// The field's own context menu, as a right click opens it.
std::unique_ptr<QMenu> contextMenu(QWidget* field)
{
    if (auto* plain = qobject_cast<QPlainTextEdit*>(field))
        return std::unique_ptr<QMenu>(plain->createStandardContextMenu());
    if (auto* rich = qobject_cast<QTextEdit*>(field))
        return std::unique_ptr<QMenu>(rich->createStandardContextMenu());
    return {};
}

} // namespace

class WorkshopTextsTest : public QObject, private WorkshopSession {
    Q_OBJECT

private slots:
    void init()
    {
        QVERIFY(openActiveShell());
    }
    void cleanup() { closeShell(); }

    void everyTextFieldGivesBackItsTextByteForByte_data() { fields(); }
    void noTextFieldKeepsAnUndoHistoryOfItsOwn_data() { fields(); }

    void everyTextFieldGivesBackItsTextByteForByte()
    {
        QFETCH(int, row);
        const TextField& entry = kFields[row];
        TCaseForm* caseForm = nullptr;
        QWidget* field = openField(entry, caseForm);
        QVERIFY(field);
        QVERIFY(!shownText(field).isEmpty()); // the field shows the text under test
        QCOMPARE(caseForm->undoCount(), 0);

        // An unrelated edit, then Save and open again.
        titleField(caseForm)->setFocus();
        QTest::keyClicks(titleField(caseForm), QStringLiteral("Plan"));
        const QString path = dir->filePath(QStringLiteral("texts.cvx"));
        prompts->savePaths = {path};
        QVERIFY(main->Save());
        QCOMPARE(entry.text(caseForm->data()), kAwkward);
        QCOMPARE(caseForm->undoCount(), 4);
        TCaseData reread;
        QVERIFY(!loadCaseFile(path.toStdString(), reread));
        QCOMPARE(entry.text(reread), kAwkward);
        QCOMPARE(reread.Title, std::string("Plan"));
    }

    // Undo is the case's: a field's own Undo would be one more case edit, behind Edit > Undo.
    void noTextFieldKeepsAnUndoHistoryOfItsOwn()
    {
        QFETCH(int, row);
        const TextField& entry = kFields[row];
        TCaseForm* caseForm = nullptr;
        QWidget* field = openField(entry, caseForm);
        QVERIFY(field);
        field->setFocus();
        QTest::keyClicks(field, QStringLiteral("xy"));
        QCOMPARE(caseForm->undoCount(), 2);
        const std::string typed = entry.text(caseForm->data());
        QTest::keyClick(field, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        const std::unique_ptr<QMenu> menu = contextMenu(field);
        QVERIFY(menu);
        for (QAction* action : menu->actions()) {
            if (action->objectName() == QLatin1String("edit-undo") || action->objectName() == QLatin1String("edit-redo")) {
                QVERIFY2(!action->isEnabled(), qPrintable(action->text()));
                action->trigger();
            }
        }
        QCOMPARE(entry.text(caseForm->data()), typed);
        QCOMPARE(caseForm->undoCount(), 2);
    }

private:
    static void fields()
    {
        QTest::addColumn<int>("row");
        for (int row = 0; row < static_cast<int>(std::size(kFields)); ++row)
            QTest::addRow("%s", kFields[row].name) << row;
    }

    // A new case holding the awkward text everywhere, with the field's window open and showing it.
    QWidget* openField(const TextField& entry, TCaseForm*& caseForm)
    {
        caseForm = main->New();
        fillCase(caseForm->data());
        caseForm->data().Modified = false;
        main->broadcastRefresh();
        QWidget* window = caseForm;
        if (entry.workshop) {
            window = main->OpenWorkshop(entry.workshop);
            if (!window)
                return nullptr;
        }
        if (entry.workshop == workshop_id::MarketGroups) {
            // The remark of the group's first customer: its node in the tree.
            auto* tree = window->findChild<QTreeWidget*>();
            QTreeWidgetItem* customer = tree->topLevelItem(0)->child(0)->child(0);
            QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(customer).center());
        }
        return window->findChild<QWidget*>(QLatin1String(entry.field));
    }
};

QTEST_MAIN(WorkshopTextsTest)
#include "workshop_texts_test.moc"
