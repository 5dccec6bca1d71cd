// What selecting and typing cost in the customer workshop with 3,000 customers of 20 key
// characteristics each. Run with `make bench`; as part of the tests each benchmark runs once.

#include "workshop_session.h"

#include <QApplication>
#include <QGroupBox>
#include <QLineEdit>
#include <QTest>

#include "model/case_data.h"
#include "widgets/cp1252_text_edit.h"
#include "widgets/edit_mask.h"
#include "widgets/edit_state.h"
#include "workshops/customers/cu_pr_form.h"

namespace {

constexpr int kCustomers = 3000;
constexpr int kKeyChars = 20;

void fillCase(TCaseData& data)
{
    for (int i = 0; i < kCustomers; ++i) {
        auto& customer = data.Customers.Add(std::make_unique<TCustProd>(TCustProd::WithPlanTemplate{}));
        customer.Name = "Customer segment " + std::to_string(i) + (i % 7 == 0 ? " with a name long enough to wrap" : "");
        customer.Description = "Description of segment " + std::to_string(i);
        for (int k = 0; k < kKeyChars; ++k) {
            auto& keyChar = customer.KeyChars.Add();
            keyChar.Name = "Key characteristic " + std::to_string(k);
            keyChar.Importance = k % 10 + 1;
            keyChar.Match = (i + k) % 10 + 1;
            keyChar.Excluded = (i + k) % 13 == 0;
        }
        for (int m = 0; m < 3; ++m) {
            auto& potential = customer.MarketPotential.Add();
            potential.Name = "Measure " + std::to_string(m);
            potential.Rank = i * 1000 + m;
        }
    }
    data.Modified = false;
}

} // namespace

class CuPrBench : public QObject, private WorkshopSession {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(openActiveShell());
        TCaseForm* caseForm = main->New();
        fillCase(caseForm->data());
        form = qobject_cast<TCuPrForm*>(main->OpenWorkshop(workshop_id::Customers));
        QVERIFY(form);
        grdCust = child<WorkshopGrid>(form, "grdCust");
        grdKeyChar = child<WorkshopGrid>(form, "grdKeyChar");
        edtDesc = child<Cp1252PlainTextEdit>(form, "edtDesc");
        GroupBox2 = child<QGroupBox>(form, "GroupBox2");
        QVERIFY(grdCust && grdKeyChar && edtDesc && GroupBox2);
        QVERIFY(QTest::qWaitForWindowExposed(grdCust));
        // A filter that some customers fail, so the item list draws both colours.
        grdKeyChar->setCurrentCell(0, 2);
        child<MaskedLineEdit>(form, "EditMatchFrom")->setText(QStringLiteral("3"));
        form->wmCommit();
    }
    void cleanupTestCase() { closeShell(); }
    void init() { protocol::pendingCellEdit(form).clear(); }

    // Clicking from customer to customer: the texts, both grids and the filter box reload.
    void selectCustomer()
    {
        grdCust->setFocus();
        int step = 0;
        QBENCHMARK {
            const int row = kCustomers / 2 + (step++ % 2);
            grdCust->setCurrentCell(0, row);
            grdCust->viewport()->repaint();
            grdKeyChar->viewport()->repaint();
        }
        QVERIFY(form->selectedItem() == kCustomers / 2 - 1 || form->selectedItem() == kCustomers / 2);
    }

    // One key typed into the name cell's editor.
    void keystrokeInItemName()
    {
        grdCust->setFocus();
        QVERIFY(grdCust->setCurrentCell(0, kCustomers / 2));
        QTest::keyClick(grdCust, Qt::Key_F2);
        auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        QVERIFY(editor);
        QBENCHMARK {
            QTest::keyClick(editor, Qt::Key_A);
            editor->repaint();
        }
        QTest::keyClick(editor, Qt::Key_Escape);
    }

    // One key typed into the description: every keystroke is an undo step of its own, so this is
    // the cost of one whole-case snapshot plus the field's own work.
    void keystrokeInDescription()
    {
        grdCust->setCurrentCell(0, 20);
        edtDesc->setFocus();
        edtDesc->moveCursor(QTextCursor::End);
        QBENCHMARK {
            QTest::keyClick(edtDesc, Qt::Key_A);
        }
        QVERIFY(form->data().Customers[19].Description.ends_with("a"));
    }

    // Moving between key characteristics of one customer.
    void selectKeyCharacteristic()
    {
        grdCust->setCurrentCell(0, 10);
        grdKeyChar->setFocus();
        int step = 0;
        QBENCHMARK {
            grdKeyChar->setCurrentCell(step % 3, 1 + step % kKeyChars);
            ++step;
            grdKeyChar->viewport()->repaint();
        }
        QVERIFY(GroupBox2->title().startsWith(QStringLiteral("F&iltering '")));
    }

    // Switching to the window: it reloads itself from the case (3,000 item rows looked at again).
    void activateWindow()
    {
        QBENCHMARK {
            form->activated();
        }
        QCOMPARE(grdCust->rowCount(), kCustomers + 2);
    }

    // A committed importance: written to all 3,000 customers (one undo snapshot of the whole
    // case), and the item list's colours redrawn.
    void commitImportance()
    {
        grdCust->setCurrentCell(0, 10);
        int step = 0;
        QBENCHMARK {
            grdKeyChar->commitCellText(1, 3, QString::number(step++ % 10 + 1));
            grdKeyChar->fitRowHeights();
            grdCust->viewport()->repaint();
        }
        QVERIFY(form->data().Customers[kCustomers - 1].KeyChars[2].Importance >= 1);
    }

    // A committed rename of a customer: one undo snapshot and the changed row refitted.
    void commitItemName()
    {
        int step = 0;
        QBENCHMARK {
            grdCust->commitCellText(0, kCustomers / 2, QStringLiteral("Renamed %1").arg(step++));
            grdCust->fitRowHeights();
            grdCust->viewport()->repaint();
        }
        QVERIFY(form->data().Customers[kCustomers / 2 - 1].Name.starts_with("Renamed"));
    }

private:
    TCuPrForm* form = nullptr;
    WorkshopGrid* grdCust = nullptr;
    WorkshopGrid* grdKeyChar = nullptr;
    Cp1252PlainTextEdit* edtDesc = nullptr;
    QGroupBox* GroupBox2 = nullptr;
};

QTEST_MAIN(CuPrBench)
#include "cu_pr_bench.moc"
