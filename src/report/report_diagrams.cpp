#include "report/report_diagrams.h"

#include "model/case_data.h"
#include "workshops/capabilities/capabilities_ops.h"
#include "workshops/customers/key_char_ops.h"
#include "workshops/environment/environment_ops.h"
#include "workshops/environment/impact_risk_ops.h"

std::vector<uint32_t> diagramPlotValues(const TCaseData& data, ReportDiagram which)
{
    const portfolio::PlotFilter all;
    switch (which) {
    case ReportDiagram::Changes:
        return portfolio::plotValuesOf(environment::buildChangeList(data, all));
    case ReportDiagram::Risks:
        return portfolio::plotValuesOf(environment::buildRiskList(data, all));
    case ReportDiagram::Customers:
        return portfolio::plotValuesOf(cust_prod::buildGraphRows(data, cust_prod::Mode::Customers, all));
    case ReportDiagram::Products:
        return portfolio::plotValuesOf(cust_prod::buildGraphRows(data, cust_prod::Mode::Products, all));
    case ReportDiagram::Capabilities:
        return portfolio::plotValuesOf(capabilities::buildGraphList(data, all));
    }
    return {};
}
