#include "report/report_diagrams.h"

#include "model/case_data.h"
#include "workshops/capabilities/capabilities_ops.h"
#include "workshops/customers/key_char_ops.h"
#include "workshops/environment/environment_ops.h"
#include "workshops/environment/impact_risk_ops.h"

namespace {

std::vector<uint32_t> plotted(const std::vector<environment::PlotRow>& rows)
{
    std::vector<uint32_t> values;
    values.reserve(rows.size());
    for (const environment::PlotRow& row : rows)
        values.push_back(row.plotValues);
    return values;
}

std::vector<uint32_t> keyCharacteristics(const TCaseData& data, cust_prod::Mode mode)
{
    std::vector<uint32_t> values;
    for (const cust_prod::GraphRow& row : cust_prod::buildGraphRows(data, mode, cust_prod::GraphFilter{}))
        values.push_back(row.keyChar < 0 ? 0 : environment::plotValues(row.importance, row.match));
    return values;
}

std::vector<uint32_t> capabilityImportance(const TCaseData& data)
{
    std::vector<uint32_t> values;
    for (const capabilities::GraphRow& row : capabilities::buildGraphList(data, capabilities::ImportanceFilter{}))
        values.push_back(row.heading ? 0 : environment::plotValues(row.vertical, row.horizontal));
    return values;
}

} // namespace

std::vector<uint32_t> diagramPlotValues(const TCaseData& data, ReportDiagram which)
{
    switch (which) {
    case ReportDiagram::Changes:
        return plotted(environment::buildChangeList(data, environment::ImportanceFilter{}));
    case ReportDiagram::Risks:
        return plotted(environment::buildRiskList(data, environment::RiskFilter{}));
    case ReportDiagram::Customers:
        return keyCharacteristics(data, cust_prod::Mode::Customers);
    case ReportDiagram::Products:
        return keyCharacteristics(data, cust_prod::Mode::Products);
    case ReportDiagram::Capabilities:
        return capabilityImportance(data);
    }
    return {};
}
