// The two diagram pages of the environment window: the importance of every change, and the
// impact and likelihood of every risk, each beside its filtered list.

#include "workshops/environment/env_form.h"

#include "workshops/portfolio/portfolio_page_view.h"

using namespace environment;

namespace {

// Both pages clean their filter when Refresh is pressed, not while it is typed.
PortfolioPageSetup importancePage()
{
    return {
        .listLabel = "&List of Changes",
        .columns = {"Area/Change Name", "Today", "Tomorrow"},
        .columnWidths = {190, 60, 60},
        .minimumListWidth = 316,
        .filterCaptions = {"&Today's importance is between", "To&morrow's importance is between"},
        .cleaning = portfolio::Cleaning::OnRefresh,
        .chart = PortfolioParams::changes(),
        .paintSize = 237,
        .listHelp = 51100,
        .filterHelp = 51105,
        .panelHelp = 51110,
        .backHelp = 51115,
        .copyHelpPage = "environment.html#importance-diagram",
        .listObject = "lst2Changes",
        .filterObject = "GroupBox2",
        .fieldObjects = {"edtTodayFrom", "edtTodayTo", "edtTomFrom", "edtTomTo"},
        .paintBoxObject = "pnt2Diag",
        .copyObject = "BtnCopy2",
    };
}

PortfolioPageSetup riskPage()
{
    return {
        .listLabel = "&List of Risks",
        .columns = {"Risk Description", "PI", "LO"},
        .columnWidths = {200, 40, 40},
        .minimumListWidth = 290,
        .filterCaptions = {"&Potential impact is between", "L&ikelihood of occurrence is between"},
        .cleaning = portfolio::Cleaning::OnRefresh,
        .chart = PortfolioParams::risks(),
        .paintSize = 237,
        .listHelp = 51200,
        .filterHelp = 51205,
        .panelHelp = 51210,
        .backHelp = 51115,
        .copyHelpPage = "environment.html#risk-diagram",
        .listObject = "lst3Risks",
        .filterObject = "GroupBox3",
        .fieldObjects = {"edtPIFrom", "edtPITo", "edtLOFrom", "edtLOTo"},
        .refreshObject = "btn3Refresh",
        .panelObject = "Panel2",
        .paintBoxObject = "pnt3Diag",
        .copyObject = "BtnCopy3",
        .backObject = "BitBtn1",
    };
}

} // namespace

QWidget* TEnvForm::buildImportancePage()
{
    importancePage_ = new PortfolioPage(importancePage(), [this](const portfolio::PlotFilter& filter) {
        return caseForm() ? buildChangeList(data(), filter) : std::vector<portfolio::PlotRow>{};
    });
    connect(importancePage_, &PortfolioPage::backClicked, this, [this] { showPage(DataPage); });
    return importancePage_;
}

QWidget* TEnvForm::buildRiskPage()
{
    riskPage_ = new PortfolioPage(riskPage(), [this](const portfolio::PlotFilter& filter) {
        return caseForm() ? buildRiskList(data(), filter) : std::vector<portfolio::PlotRow>{};
    });
    connect(riskPage_, &PortfolioPage::backClicked, this, [this] { showPage(DataPage); });
    return riskPage_;
}

void TEnvForm::BuildChangeList()
{
    if (caseForm())
        importancePage_->rebuild();
}

void TEnvForm::BuildRiskList()
{
    if (caseForm())
        riskPage_->rebuild();
}
