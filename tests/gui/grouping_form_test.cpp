// The grouping dialog on its own: what each list offers, the moves, the buttons' availability and
// what creating and changing a group stores.

#include "grid_input.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "model/case_data.h"
#include "model/case_edit.h"
#include "model/undo_stack.h"
#include "workshops/customers/grouping_form.h"

using namespace cust_prod;

namespace {

QStringList texts(const QListWidget* list, bool selectedOnly = false)
{
    QStringList result;
    for (int i = 0; i < list->count(); ++i)
        if (!selectedOnly || list->item(i)->isSelected())
            result << list->item(i)->text();
    return result;
}

void clickEntry(QListWidget* list, const QString& text)
{
    const auto found = list->findItems(text, Qt::MatchExactly);
    QVERIFY(!found.isEmpty());
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(found.first()).center());
}

// A case whose customers pass the test filter when their name is longer than five letters.
struct GroupingCase {
    TCaseData data;
    UndoStack undo;
    CaseEdit edit{data, undo};
    ItemFilter longNames = [](const TCustProd& item) { return item.Name.size() > 5; };

    explicit GroupingCase(std::initializer_list<const char*> names, Mode mode = Mode::Customers)
    {
        for (const char* name : names)
            items(data, mode).Add().Name = name;
        data.Modified = false;
    }
};

} // namespace

class GroupingFormTest : public QObject {
    Q_OBJECT

private slots:
    void labelsFollowTheMode_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("satisfying");
        QTest::addColumn<QString>("others");
        QTest::newRow("customers") << static_cast<int>(Mode::Customers)
                                   << "&Customers Satisfying the Filtering Conditions" << "&Other Customers";
        QTest::newRow("products") << static_cast<int>(Mode::Products)
                                  << "Produ&cts Satisfying the Filtering Conditions" << "&Other Products";
    }
    void labelsFollowTheMode()
    {
        QFETCH(int, mode);
        QFETCH(QString, satisfying);
        QFETCH(QString, others);
        GroupingCase c({"Hotels"}, static_cast<Mode>(mode));
        TGroupingForm dialog(c.edit, static_cast<Mode>(mode), -1, c.longNames);
        QCOMPARE(child<QLabel>(&dialog, "Label1")->text(), satisfying);
        QCOMPARE(child<QLabel>(&dialog, "Label4")->text(), others);
        QCOMPARE(child<QLabel>(&dialog, "Label3")->text(), QStringLiteral("&Group Contents"));
        QCOMPARE(child<QLabel>(&dialog, "Label2")->text(), QStringLiteral("&Name of Group"));
        QCOMPARE(child<QLabel>(&dialog, "Label2")->buddy(), child<QLineEdit>(&dialog, "NameEdit"));
        QCOMPARE(child<QListWidget>(&dialog, "CustListBox")->accessibleName(),
                 QString(satisfying).remove(QLatin1Char('&')));
        QCOMPARE(child<QPushButton>(&dialog, "CreateGroupButton")->text(), QStringLiteral("Create G&roup"));
        QVERIFY(dialog.windowTitle().isEmpty());
        QVERIFY(dialog.windowFlags() & Qt::WindowStaysOnTopHint);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        // Every caption whole at the dialog's size.
        for (QWidget* w : {static_cast<QWidget*>(child<QLabel>(&dialog, "Label1")),
                           static_cast<QWidget*>(child<QLabel>(&dialog, "Label4")),
                           static_cast<QWidget*>(child<QPushButton>(&dialog, "CreateGroupButton")),
                           static_cast<QWidget*>(child<QPushButton>(&dialog, "ModifyButton"))})
            QVERIFY2(w->width() >= w->sizeHint().width(), qPrintable(w->objectName()));
    }

    void clicksToggleAndTheArrowsMoveSortedEntries()
    {
        GroupingCase c({"Hotels", "Bars", "Airlines", "Cafes", "Canteens"});
        TGroupingForm dialog(c.edit, Mode::Customers, -1, c.longNames);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QCOMPARE(texts(child<QListWidget>(&dialog, "CustListBox")), (QStringList{"Airlines", "Canteens", "Hotels"}));
        QCOMPARE(texts(child<QListWidget>(&dialog, "CustListBox"), true),
                 texts(child<QListWidget>(&dialog, "CustListBox")));
        QCOMPARE(texts(child<QListWidget>(&dialog, "OthersListBox")), (QStringList{"Bars", "Cafes"}));
        QVERIFY(texts(child<QListWidget>(&dialog, "OthersListBox"), true).isEmpty());

        clickEntry(child<QListWidget>(&dialog, "CustListBox"), "Hotels"); // deselects
        clickEntry(child<QListWidget>(&dialog, "OthersListBox"), "Cafes"); // selects
        QTest::mouseClick(child<QPushButton>(&dialog, "BitBtn1"), Qt::LeftButton);
        QCOMPARE(texts(child<QListWidget>(&dialog, "FilteredListBox")), (QStringList{"Airlines", "Cafes", "Canteens"}));
        QVERIFY(texts(child<QListWidget>(&dialog, "FilteredListBox"), true).isEmpty());
        QCOMPARE(texts(child<QListWidget>(&dialog, "CustListBox")), QStringList{"Hotels"});

        clickEntry(child<QListWidget>(&dialog, "FilteredListBox"), "Cafes");
        QTest::mouseClick(child<QPushButton>(&dialog, "BitBtn2"), Qt::LeftButton);
        QCOMPARE(texts(child<QListWidget>(&dialog, "OthersListBox")), (QStringList{"Bars", "Cafes"}));
        QTest::mouseClick(child<QPushButton>(&dialog, "BitBtn3"), Qt::LeftButton);
        QCOMPARE(child<QListWidget>(&dialog, "FilteredListBox")->count(), 5);
        QTest::mouseClick(child<QPushButton>(&dialog, "BitBtn4"), Qt::LeftButton);
        QCOMPARE(child<QListWidget>(&dialog, "FilteredListBox")->count(), 0);
        QCOMPARE(texts(child<QListWidget>(&dialog, "CustListBox")), (QStringList{"Airlines", "Canteens", "Hotels"}));
    }

    void createNeedsANameAndMembers()
    {
        GroupingCase c({"Hotels", "Bars"});
        TGroupingForm dialog(c.edit, Mode::Customers, -1, c.longNames);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QVERIFY(!child<QPushButton>(&dialog, "CreateGroupButton")->isEnabled());
        QVERIFY(!child<QPushButton>(&dialog, "ModifyButton")->isEnabled());
        QTest::keyClicks(child<QLineEdit>(&dialog, "NameEdit"), QStringLiteral("Hospitality"));
        QVERIFY2(!child<QPushButton>(&dialog, "CreateGroupButton")->isEnabled(), "Group Contents is empty");
        QTest::mouseClick(child<QPushButton>(&dialog, "BitBtn1"), Qt::LeftButton);
        QVERIFY(child<QPushButton>(&dialog, "CreateGroupButton")->isEnabled());
        child<QLineEdit>(&dialog, "NameEdit")->clear();
        QVERIFY(!child<QPushButton>(&dialog, "CreateGroupButton")->isEnabled());
        QTest::keyClicks(child<QLineEdit>(&dialog, "NameEdit"), QStringLiteral("Hospitality"));
        QTest::mouseClick(child<QPushButton>(&dialog, "CreateGroupButton"), Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.storedGroup(), 2);
        QCOMPARE(c.data.Customers[2].Name, std::string("Hospitality"));
        QVERIFY(c.data.Customers[2].IsGroup());
        QVERIFY(c.data.Modified);
        QCOMPARE(c.undo.count(), 1);
    }

    void sameNamedItemsAreEachTheirOwnMember()
    {
        GroupingCase c({"Acme Ltd", "Acme Ltd", "Zenith"}, Mode::Products);
        TGroupingForm dialog(c.edit, Mode::Products, -1, [](const TCustProd&) { return true; });
        QTest::mouseClick(child<QPushButton>(&dialog, "BitBtn1"), Qt::LeftButton);
        QTest::keyClicks(child<QLineEdit>(&dialog, "NameEdit"), QStringLiteral("All"));
        QTest::mouseClick(child<QPushButton>(&dialog, "CreateGroupButton"), Qt::LeftButton);
        QCOMPARE(c.data.Products.Count(), 4);
        const auto& members = *c.data.Products[3].Members;
        QCOMPARE(members.Count(), 3);
        QCOMPARE(members[0].Value, 0);
        QCOMPARE(members[1].Value, 1);
        QCOMPARE(members[2].Value, 2);
    }

    void modifyingRenamesAndReplacesTheMembersOnly()
    {
        GroupingCase c({"Hotels", "Bars", "Airlines", "Old group"});
        auto& group = c.data.Customers[3];
        group.Members = std::make_unique<TDelList<TInteger>>();
        group.Members->Add().Value = 1;
        group.Description = "Kept";
        TGroupingForm dialog(c.edit, Mode::Customers, 3, c.longNames);
        QCOMPARE(child<QLineEdit>(&dialog, "NameEdit")->text(), QStringLiteral("Old group"));
        QVERIFY(child<QPushButton>(&dialog, "ModifyButton")->isEnabled());
        // a member failing the filter
        QCOMPARE(texts(child<QListWidget>(&dialog, "FilteredListBox"), true), QStringList{"Bars"});
        QCOMPARE(texts(child<QListWidget>(&dialog, "CustListBox")), (QStringList{"Airlines", "Hotels"}));
        QTest::mouseClick(child<QPushButton>(&dialog, "BitBtn1"), Qt::LeftButton);
        child<QLineEdit>(&dialog, "NameEdit")->setText(QStringLiteral("Travel"));
        QTest::mouseClick(child<QPushButton>(&dialog, "ModifyButton"), Qt::LeftButton);
        QCOMPARE(dialog.storedGroup(), 3);
        QCOMPARE(group.Name, std::string("Travel"));
        QCOMPARE(group.Description, std::string("Kept"));
        QCOMPARE(group.Members->Count(), 3);
        QCOMPARE((*group.Members)[0].Value, 2); // Airlines, Bars, Hotels
        QCOMPARE((*group.Members)[1].Value, 1);
        QCOMPARE((*group.Members)[2].Value, 0);
        QCOMPARE(c.data.Customers.Count(), 4);
    }

    void cancelChangesNothing()
    {
        GroupingCase c({"Hotels", "Airlines"});
        TGroupingForm dialog(c.edit, Mode::Customers, -1, c.longNames);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QTest::mouseClick(child<QPushButton>(&dialog, "BitBtn3"), Qt::LeftButton);
        QTest::keyClicks(child<QLineEdit>(&dialog, "NameEdit"), QStringLiteral("All"));
        QTest::keyClick(child<QLineEdit>(&dialog, "NameEdit"), Qt::Key_Escape);
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(c.data.Customers.Count(), 2);
        QVERIFY(!c.data.Modified);
        QCOMPARE(c.undo.count(), 0);
    }
};

QTEST_MAIN(GroupingFormTest)
#include "grouping_form_test.moc"
