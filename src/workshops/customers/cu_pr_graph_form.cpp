// TCuPrForm's "Graph" page: the key characteristics within the page's own filter, listed under
// their items and plotted by importance and match.

#include "workshops/customers/cu_pr_form.h"

#include <QPushButton>
#include <QStackedWidget>

#include "model/case_data.h"
#include "widgets/portfolio_list.h"
#include "workshops/portfolio/portfolio_page_view.h"

using namespace cust_prod;

QWidget* TCuPrForm::buildGraphPage()
{
    // The fields are read as typed, never limited. A rebuilt list keeps its selection on the same
    // key characteristic, so that Grouping... opens on the item the user chose and on no other.
    const PortfolioPageSetup setup{
        .listName = "Key characteristics within the filter",
        .columns = {"Name", "Imp.", "Match"},
        .columnWidths = {200, 40, 40},
        .minimumListWidth = 290,
        .filterCaptions = {"&Importance is between", "&Match is between"},
        .keepsSelection = true,
        .chart = PortfolioParams::customersOrProducts(),
        .paintSize = 241,
        .listObject = "lst2Customers",
        .fieldObjects = {"edtImpFrom", "edtImpTo", "edtMatchFrom", "edtMatchTo"},
    };
    graphPage_ = new PortfolioPage(setup, [this](const portfolio::PlotFilter& filter) {
        return caseForm() ? buildGraphRows(data(), mode_, filter) : std::vector<portfolio::PlotRow>{};
    }, this);
    graphPage_->setObjectName(QStringLiteral("Graph"));
    QPushButton* BitBtnGrouping2 = graphPage_->addButton(tr("Gro&uping..."), "BitBtnGrouping2");
    setGraphPageHelp(BitBtnGrouping2);
    connect(BitBtnGrouping2, &QPushButton::clicked, this, [this] { openGrouping(graphSelectionOwner()); });
    connect(graphPage_, &PortfolioPage::backClicked, this, &TCuPrForm::showDataPage);
    return graphPage_;
}

bool TCuPrForm::graphShown() const
{
    return Notebook1 && Notebook1->currentIndex() == 1;
}

portfolio::PlotFilter TCuPrForm::graphFilter() const
{
    return graphPage_->filter();
}

void TCuPrForm::showGraphPage()
{
    Notebook1->setCurrentIndex(1);
    buildGraphList();
    graphPage_->list()->setFocus();
}

void TCuPrForm::showDataPage()
{
    Notebook1->setCurrentIndex(0);
    grdCust->setFocus();
}

void TCuPrForm::buildGraphList()
{
    if (caseForm())
        graphPage_->rebuild();
}

int TCuPrForm::graphSelectionOwner() const
{
    const portfolio::PlotRow* row = graphPage_->selectedRow();
    return row ? row->owner : -1;
}
