// TCuPrForm's "Graph" page: the key characteristics within the page's own filter, listed under
// their items and plotted by importance and match.

#include "workshops/customers/cu_pr_form.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <optional>

#include "model/case_data.h"
#include "widgets/edit_mask.h"
#include "widgets/layout_scale.h"
#include "widgets/portfolio_diagram.h"
#include "widgets/portfolio_list.h"
#include "widgets/text_convert.h"

using namespace cust_prod;

QWidget* TCuPrForm::buildGraphPage()
{
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("Graph"));

    lst2Customers = new PortfolioList(page);
    lst2Customers->setObjectName(QStringLiteral("lst2Customers"));
    lst2Customers->setColumns({tr("Name"), tr("Imp."), tr("Match")},
                              {scaledPixels(this, 200), scaledPixels(this, 40), scaledPixels(this, 40)});
    lst2Customers->setAccessibleName(tr("Key characteristics within the filter"));

    GroupBox1 = new QGroupBox(tr("Filtering"), page);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    const auto field = [&](const char* name, const char* initial) {
        auto* edit = new MaskedLineEdit(GroupBox1);
        edit->setObjectName(QLatin1String(name));
        edit->setEditMask(QStringLiteral("99;0; "));
        edit->setAlignment(Qt::AlignRight);
        edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("100")) + scaledPixels(this, 12));
        edit->setText(QLatin1String(initial));
        return edit;
    };
    edtImpFrom = field("edtImpFrom", "1");
    edtImpTo = field("edtImpTo", "10");
    edtMatchFrom = field("edtMatchFrom", "1");
    edtMatchTo = field("edtMatchTo", "10");
    btn2Refresh = new QPushButton(tr("&Refresh"), GroupBox1);
    btn2Refresh->setObjectName(QStringLiteral("btn2Refresh"));
    auto* filter = new QGridLayout(GroupBox1);
    const auto label = [&](const QString& text, QWidget* buddy) {
        auto* l = new QLabel(text, GroupBox1);
        l->setBuddy(buddy);
        buddy->setAccessibleName(QString(text).remove(QLatin1Char('&')));
        return l;
    };
    filter->addWidget(label(tr("&Importance is between"), edtImpFrom), 0, 0);
    filter->addWidget(edtImpFrom, 0, 1);
    filter->addWidget(label(tr("and"), edtImpTo), 0, 2);
    filter->addWidget(edtImpTo, 0, 3);
    filter->addWidget(label(tr("&Match is between"), edtMatchFrom), 1, 0);
    filter->addWidget(edtMatchFrom, 1, 1);
    filter->addWidget(label(tr("and"), edtMatchTo), 1, 2);
    filter->addWidget(edtMatchTo, 1, 3);
    filter->addWidget(btn2Refresh, 0, 5, 2, 1, Qt::AlignVCenter);
    filter->setColumnStretch(4, 1);
    edtImpTo->setAccessibleName(tr("Importance is between … and"));
    edtMatchTo->setAccessibleName(tr("Match is between … and"));

    chart = new PortfolioChart(lst2Customers, PortfolioParams::customersOrProducts(), 241, page);
    pnt2View = chart->diagram();
    pnt2View->setObjectName(QStringLiteral("pnt2View"));
    Panel1 = chart->panel();
    Panel1->setObjectName(QStringLiteral("Panel1"));
    BtnCopy = chart->copyButton();
    BtnCopy->setObjectName(QStringLiteral("BtnCopy"));

    BitBtnGrouping2 = new QPushButton(tr("Gro&uping..."), page);
    BitBtnGrouping2->setObjectName(QStringLiteral("BitBtnGrouping2"));
    btnBack = new QPushButton(tr("&Back to Data"), page);
    btnBack->setObjectName(QStringLiteral("btnBack"));

    auto* left = new QVBoxLayout;
    left->addWidget(lst2Customers, 1);
    left->addWidget(GroupBox1);
    auto* right = new QVBoxLayout;
    right->addWidget(chart);
    right->addStretch();
    right->addWidget(BitBtnGrouping2);
    right->addWidget(btnBack);
    auto* layout = new QHBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(left, 1);
    layout->addLayout(right);
    lst2Customers->setMinimumWidth(scaledPixels(this, 290));

    setTabOrder(lst2Customers, edtImpFrom);
    setTabOrder(edtImpFrom, edtImpTo);
    setTabOrder(edtImpTo, edtMatchFrom);
    setTabOrder(edtMatchFrom, edtMatchTo);
    setTabOrder(edtMatchTo, btn2Refresh);
    setTabOrder(btn2Refresh, BtnCopy);
    setTabOrder(BtnCopy, BitBtnGrouping2);
    setTabOrder(BitBtnGrouping2, btnBack);

    connect(btn2Refresh, &QPushButton::clicked, this, [this] {
        buildGraphList();
        pnt2View->update();
    });
    connect(BitBtnGrouping2, &QPushButton::clicked, this, [this] { openGrouping(graphSelectionOwner()); });
    connect(btnBack, &QPushButton::clicked, this, &TCuPrForm::showDataPage);
    return page;
}

bool TCuPrForm::graphShown() const
{
    return Notebook1 && Notebook1->currentIndex() == 1;
}

GraphFilter TCuPrForm::graphFilter() const
{
    return GraphFilter::fromTexts(toModel(edtImpFrom->text()), toModel(edtImpTo->text()),
                                  toModel(edtMatchFrom->text()), toModel(edtMatchTo->text()));
}

void TCuPrForm::showGraphPage()
{
    Notebook1->setCurrentIndex(1);
    buildGraphList();
    lst2Customers->setFocus();
}

void TCuPrForm::showDataPage()
{
    Notebook1->setCurrentIndex(0);
    grdCust->setFocus();
}

void TCuPrForm::buildGraphList()
{
    if (!caseForm())
        return;
    // A rebuild keeps the selection only where it still names the same row: another filter or a
    // changed list moves rows, and Grouping... must not open on an item the user never chose.
    const int selected = lst2Customers->selectedRow();
    std::optional<GraphRow> kept;
    if (selected >= 0 && selected < static_cast<int>(graphRows_.size()))
        kept = graphRows_[static_cast<std::size_t>(selected)];
    graphRows_ = buildGraphRows(data(), mode_, graphFilter());
    lst2Customers->clearRows();
    for (const GraphRow& row : graphRows_) {
        if (row.keyChar < 0)
            lst2Customers->addRow(toQt(row.caption), {}, 0);
        else
            lst2Customers->addRow(toQt(row.caption), {QString::number(row.importance), QString::number(row.match)},
                                  PortfolioList::makePlotValues(row.importance, row.match));
    }
    if (kept) {
        const auto same = std::find_if(graphRows_.begin(), graphRows_.end(), [&](const GraphRow& row) {
            return row.item == kept->item && row.keyChar == kept->keyChar && row.caption == kept->caption;
        });
        if (same != graphRows_.end())
            lst2Customers->selectRow(static_cast<int>(same - graphRows_.begin()));
    }
    pnt2View->update();
}

int TCuPrForm::graphSelectionOwner() const
{
    const int row = lst2Customers->selectedRow();
    if (row < 0 || row >= static_cast<int>(graphRows_.size()))
        return -1;
    return graphRows_[static_cast<std::size_t>(row)].item;
}
