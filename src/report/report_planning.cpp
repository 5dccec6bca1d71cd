// Chapters 6, 7, 9 and 10: capabilities, alliances/investments, the business plan and the actions.

#include <array>

#include "model/case_data.h"
#include "model/date_time.h"
#include "report/report_builder.h"
#include "report/report_text.h"

namespace {

// The bits above the lowest two hold the choice's position on screen; only the remainder names the
// choice. The remainder keeps the value's sign, so negative values name nothing.
std::string_view choiceWord(int32_t value, const std::array<std::string_view, 3>& words)
{
    const int32_t remainder = value % 4;
    return remainder >= 0 && remainder < 3 ? words[static_cast<std::size_t>(remainder)] : std::string_view();
}

constexpr std::array<std::string_view, 3> kPlaceWords{"Centralized", "Decentralized", "Situation Specific"};
constexpr std::array<std::string_view, 3> kAcquisitionWords{"Develop", "Buy", "Partner"};

void choiceCell(ReportBuilder& report, int32_t value, const std::array<std::string_view, 3>& words)
{
    const std::string_view word = choiceWord(value, words);
    if (word.empty())
        report.EmptyCell();
    else
        report.TextCell(word);
}

// Name, place, acquisition and decisions of a capability, as both alliance tables show them.
void allianceCells(ReportBuilder& report, const TCapability& capability)
{
    report.TextCell(capability.Name);
    choiceCell(report, capability.Placement, kPlaceWords);
    choiceCell(report, capability.Acquisition, kAcquisitionWords);
    report.BulletCell(capability.Decisions);
    report.ResetIndents();
}

void planRowCells(ReportBuilder& report, const TCapability& row)
{
    report.TextCell(row.Name);
    report.AmountCell(row.ImpToday);
    report.AmountCell(row.Acquisition);
    report.AmountCell(row.Placement);
}

} // namespace

void writeCapabilitiesChapter(ReportBuilder& report)
{
    const TCaseData& data = report.data();
    report.ChapterHeading("6. Build Your Capabilities");
    const std::string statusFrom = "Status as of " + formatDate(data.DateFrom);
    const std::string statusTo = "Status as of " + formatDate(data.DateTo);

    static constexpr int kGeneralEdges[] = {2400, 3600, 4800};
    report.TableTitle("General Capabilities", 3);
    report.HeaderRow(kGeneralEdges, {"Capability", statusFrom, statusTo});
    for (const TCapability& capability : data.Capabilities) {
        report.BoxedRow(kGeneralEdges);
        report.TextCell(capability.Name);
        report.NumberCell(capability.ImpToday);
        report.NumberCell(capability.ImpTomorrow);
    }
    report.writer().EndTable();

    static constexpr int kServiceEdges[] = {2400, 4800, 6000, 7200};
    report.TableTitle("Service Specific Capabilities", 4);
    report.HeaderRow(kServiceEdges, {"Service", "Capability", statusFrom, statusTo});
    for (const TCustProd& product : data.Products) {
        report.GroupedRows(
            kServiceEdges, [&] { report.TextCell(product.Name); }, 1, product.Capabilities.Count(), 3,
            [&](int k) {
                const TCapability& capability = product.Capabilities[k];
                report.TextCell(capability.Name);
                report.NumberCell(capability.ImpToday);
                report.NumberCell(capability.ImpTomorrow);
            });
    }
    report.writer().EndTable();    report.Diagram(ReportDiagram::Capabilities);
}

void writeAlliancesChapter(ReportBuilder& report)
{
    const TCaseData& data = report.data();
    report.ChapterHeading("7. Plan Your Alliances/Investment");

    static constexpr int kGeneralEdges[] = {2400, 4000, 5600, 9600};
    report.TableTitle("General Capabilities", 4);
    report.HeaderRow(kGeneralEdges, {"Capability", "Where to Place?", "How to Get?", "Preliminary Decisions"});
    for (const TCapability& capability : data.Capabilities) {
        report.BoxedRow(kGeneralEdges);
        allianceCells(report, capability);
    }
    report.writer().EndTable();

    static constexpr int kServiceEdges[] = {1600, 3200, 4800, 6400, 9600};
    report.TableTitle("Service Specific Capabilities", 5);
    report.HeaderRow(kServiceEdges,
                     {"Service", "Capability", "Where to Place?", "How to Get?", "Preliminary Decisions"});
    for (const TCustProd& product : data.Products) {
        report.GroupedRows(
            kServiceEdges, [&] { report.TextCell(product.Name); }, 1, product.Capabilities.Count(), 4,
            [&](int k) { allianceCells(report, product.Capabilities[k]); });
    }
    report.writer().EndTable();
}

void writeBusinessPlanChapter(ReportBuilder& report)
{
    const TCaseData& data = report.data();
    report.ChapterHeading("9. Business Plan");
    static constexpr int kEdges[] = {2000, 4000, 5600, 7200, 8800};
    report.TableTitle("Business Plan", 5);
    report.HeaderRow(kEdges, {"", "Name", "Year1", "Year2", "Year3"});
    for (const TCustProd& customer : data.Customers) {
        report.GroupedRows(
            kEdges, [&] { report.TextCell(customer.Name); }, 1, customer.Capabilities.Count(), 4,
            [&](int k) { planRowCells(report, customer.Capabilities[k]); });
    }

    // The totals follow the first customer's rows. The workshop keeps every customer's rows parallel;
    // a customer with fewer rows adds nothing for the rows it lacks. Sums are 64-bit, so many large
    // amounts cannot overflow.
    if (!data.Customers.Empty() && !data.Customers[0].Capabilities.Empty()) {
        const TDelList<TCapability>& firstRows = data.Customers[0].Capabilities;
        report.GroupedRows(
            kEdges, [&] { report.TextCell("Total"); }, 1, firstRows.Count(), 4,
            [&](int k) {
                long long year1 = 0, year2 = 0, year3 = 0;
                for (const TCustProd& customer : data.Customers) {
                    if (!customer.Capabilities.InRange(k))
                        continue;
                    const TCapability& row = customer.Capabilities[k];
                    year1 += row.ImpToday;
                    year2 += row.Acquisition;
                    year3 += row.Placement;
                }
                report.TextCell(firstRows[k].Name);
                report.AmountCell(year1);
                report.AmountCell(year2);
                report.AmountCell(year3);
            });
    }
    report.writer().EndTable();
}

void writeActionPageChapter(ReportBuilder& report)
{
    const TCaseData& data = report.data();
    report.ChapterHeading("10. Action Page");
    static constexpr int kEdges[] = {3600, 6400, 7600, 8800, 9600};
    report.TableTitle("Action Page", 5);
    report.HeaderRow(kEdges, {"What", "Who", "Importance", "Due", "Done"});
    for (const TAction& action : data.Actions) {
        report.BoxedRow(kEdges);
        report.TextCell(action.What);
        report.TextCell(action.Who);
        report.NumberCell(action.Importance);
        report.TextCell(formatDate(action.Due));
        report.TextCell(action.Done ? "Yes" : "No");
    }
    report.writer().EndTable();
}
