// The diagram pages of the workshops are one page filled with different data. Driven with keys
// and clicks, each page cleans its filter fields as its workshop does: the environment's on
// Refresh, the capabilities' on leaving a field, the customers' never.

#include "workshop_session.h"

#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

#include "model/case_data.h"
#include "widgets/edit_mask.h"
#include "widgets/edit_state.h"
#include "widgets/portfolio_diagram.h"
#include "widgets/portfolio_list.h"
#include "workshops/capabilities/build_cap_form.h"
#include "workshops/customers/cu_pr_form.h"
#include "workshops/environment/env_form.h"

namespace {

// The page a workshop window shows after its page button was clicked.
struct Shown {
    QList<QLineEdit*> fields; // vertical from, to, horizontal from, to
    QPushButton* refresh;
};

void typeInto(QLineEdit* field, const QString& text)
{
    field->setFocus();
    field->selectAll();
    QTest::keyClicks(field, text);
    QTest::keyClick(field, Qt::Key_Tab);
}

QStringList texts(const QList<QLineEdit*>& fields)
{
    QStringList out;
    for (const QLineEdit* field : fields)
        out << field->text();
    return out;
}

} // namespace

class PortfolioPageTest : public QObject, private WorkshopSession {
    Q_OBJECT

    Shown showPage(const QString& page)
    {
        if (page == "changes" || page == "risks") {
            auto* form = openWorkshop<TEnvForm>(workshop_id::Environment);
            QTest::mouseClick(page == "changes" ? child<QToolButton>(form, "btnGraph")
                                                : child<QToolButton>(form, "btnRisk"),
                              Qt::LeftButton);
            if (page == "changes")
                return {{child<MaskedLineEdit>(form, "edtTodayFrom"), child<MaskedLineEdit>(form, "edtTodayTo"),
                         child<MaskedLineEdit>(form, "edtTomFrom"), child<MaskedLineEdit>(form, "edtTomTo")},
                        child<QPushButton>(form, "btn2Refresh")};
            return {{child<MaskedLineEdit>(form, "edtPIFrom"), child<MaskedLineEdit>(form, "edtPITo"),
                     child<MaskedLineEdit>(form, "edtLOFrom"), child<MaskedLineEdit>(form, "edtLOTo")},
                    child<QPushButton>(form, "btn3Refresh")};
        }
        if (page == "capabilities") {
            auto* form = openWorkshop<TBuildCapForm>(workshop_id::Capabilities);
            QTest::mouseClick(child<QToolButton>(form, "btnGraph"), Qt::LeftButton);
            return {{child<MaskedLineEdit>(form, "edtTodayFrom"), child<MaskedLineEdit>(form, "edtTodayTo"),
                     child<MaskedLineEdit>(form, "edtTomorrowFrom"), child<MaskedLineEdit>(form, "edtTomorrowTo")},
                    child<QPushButton>(form, "btn2Refresh")};
        }
        auto* form = openWorkshop<TCuPrForm>(workshop_id::Customers);
        QTest::mouseClick(child<QToolButton>(form, "btnGraph"), Qt::LeftButton);
        return {{child<MaskedLineEdit>(form, "edtImpFrom"), child<MaskedLineEdit>(form, "edtImpTo"),
                 child<MaskedLineEdit>(form, "edtMatchFrom"), child<MaskedLineEdit>(form, "edtMatchTo")},
                child<QPushButton>(form, "btn2Refresh")};
    }

private slots:
    void init()
    {
        QVERIFY(openActiveShell());
    }
    void cleanup() { closeShell(); }

    void eachPageCleansItsFilterAsItsWorkshopDoes_data()
    {
        QTest::addColumn<QString>("page");
        QTest::addColumn<QStringList>("left");      // after "0", "99", "8", "3" were typed and left
        QTest::addColumn<QStringList>("refreshed"); // after Refresh
        const QStringList typed{"0", "99", "8", "3"};
        QTest::newRow("changes") << "changes" << typed << QStringList{"1", "10", "3", "8"};
        QTest::newRow("risks") << "risks" << typed << QStringList{"1", "10", "3", "8"};
        QTest::newRow("capabilities") << "capabilities" << QStringList{"1", "10", "8", "3"}
                                      << QStringList{"1", "10", "8", "3"};
        QTest::newRow("customers") << "customers" << typed << typed;
    }
    void eachPageCleansItsFilterAsItsWorkshopDoes()
    {
        QFETCH(QString, page);
        QFETCH(QStringList, left);
        QFETCH(QStringList, refreshed);
        const Shown shown = showPage(page);
        for (int k = 0; k < 4; ++k)
            typeInto(shown.fields[k], QStringList{"0", "99", "8", "3"}[k]);
        QCOMPARE(texts(shown.fields), left);
        QTest::mouseClick(shown.refresh, Qt::LeftButton);
        QCOMPARE(texts(shown.fields), refreshed);
    }

    // A key characteristic emptied to 0 and let through by the filter is plotted where the chart
    // begins, so it can be seen and picked like any other.
    void anEntryRatedBelowTheScaleIsPlottedAndPicked()
    {
        TCustProd& hotels = main->New()->data().Customers.Add();
        hotels.Name = "Hotels";
        TKeyCharItem& keyChar = hotels.KeyChars.Add();
        keyChar.Name = "Price";
        keyChar.Importance = 0;
        keyChar.Match = 0;
        keyChar.Excluded = false;
        auto* form = openWorkshop<TCuPrForm>(workshop_id::Customers);
        QTest::mouseClick(child<QToolButton>(form, "btnGraph"), Qt::LeftButton);
        typeInto(child<MaskedLineEdit>(form, "edtImpFrom"), QStringLiteral("0"));
        typeInto(child<MaskedLineEdit>(form, "edtMatchFrom"), QStringLiteral("0"));
        QTest::mouseClick(child<QPushButton>(form, "btn2Refresh"), Qt::LeftButton);
        QCOMPARE(child<PortfolioList>(form, "lst2Customers")->rowCount(), 2);
        QCOMPARE(child<PortfolioList>(form, "lst2Customers")->topLevelItem(1)->text(1), QStringLiteral("0"));
        QTest::mouseClick(child<PortfolioDiagram>(form, "pnt2View"), Qt::LeftButton, {},
                          QPoint(2, child<PortfolioDiagram>(form, "pnt2View")->height() - 2));
        QCOMPARE(child<PortfolioList>(form, "lst2Customers")->selectedRow(), 1);
        const QImage chart = child<PortfolioDiagram>(form, "pnt2View")->grab().toImage();
        const QPoint dot =
            portfolio::dotPosition(child<PortfolioDiagram>(form, "pnt2View")->size(), 1, 1) + QPoint(3, 3);
        QCOMPARE(chart.pixelColor(dot), QColor(255, 0, 0));
    }
};

QTEST_MAIN(PortfolioPageTest)
#include "portfolio_page_test.moc"
