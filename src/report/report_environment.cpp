// Chapters 1 to 3: the vision, the environment (areas, changes, impacts, risks) and competitors.

#include <algorithm>

#include "model/case_data.h"
#include "model/case_references.h"
#include "model/date_time.h"
#include "report/report_builder.h"
#include "report/report_text.h"

namespace {

// A type named by a stored index, "<none>" when the index names no entry.
std::string_view typeName(const std::string* type)
{
    return type ? std::string_view(*type) : std::string_view("<none>");
}

std::string joinMegatrends(const TStringList& megatrends)
{
    std::string joined;
    for (std::size_t i = 0; i < megatrends.size(); ++i) {
        if (i > 0)
            joined.append(", ");
        joined.append(megatrends[i]);
    }
    return joined;
}

// "name (rank)" into `text`, whose buffer serves every impact of a table.
const std::string& impactText(const TRankedItem& impact, std::string& text)
{
    text.assign(impact.Name);
    text.append(" (");
    text.append(formatNumber(impact.Rank));
    text.append(")");
    return text;
}

std::string tableTitleForArea(std::string_view prefix, const TChangeArea& area)
{
    return std::string(prefix) + area.Name + "'";
}

void writeSummaryTable(ReportBuilder& report)
{
    const TCaseData& data = report.data();
    static constexpr int kEdges[] = {1600, 3400, 5200, 7200, 8400, 9600};
    const std::string impFrom = "Imp. as of " + formatDate(data.DateFrom);
    const std::string impTo = "Imp. as of " + formatDate(data.DateTo);
    report.TableTitle("Summary Table of Areas, Megatrends and Changes", 6);
    report.HeaderRow(kEdges, {"Areas of Change", "Megatrends", "Changes", "Description of Change", impFrom, impTo});
    for (const TChangeArea& area : data.ChangeAreas) {
        report.GroupedRows(
            kEdges,
            [&] {
                report.TextCell(area.Name);
                report.TextCell(joinMegatrends(area.Megatrends));
            },
            2, area.Changes.Count(), 4,
            [&](int k) {
                const TChange& change = area.Changes[k];
                report.TextCell(change.Name);
                report.TextCell(change.Description);
                report.NumberCell(change.ImpToday);
                report.NumberCell(change.ImpTomorrow);
            });
    }
    report.writer().EndTable();
}

void writeImpactsTable(ReportBuilder& report, const TChangeArea& area)
{
    static constexpr int kEdges[] = {1600, 3600, 5600, 7600, 9600};
    report.TableTitle(tableTitleForArea("Table of Changes and Impacts for Change Area '", area), 5);
    report.HeaderRow(kEdges, {"Change", "Strengths", "Weaknesses", "Opportunities", "Threats"});
    std::string text;
    for (const TChange& change : area.Changes) {
        const TDelList<TRankedItem>* lists[] = {&change.Strengths, &change.Weaknesses, &change.Opportunities,
                                                &change.Threats};
        int rows = 0;
        for (const auto* list : lists)
            rows = std::max(rows, list->Count());
        report.GroupedRows(
            kEdges, [&] { report.TextCell(change.Name); }, 1, rows, 4,
            [&](int k) {
                for (const auto* list : lists) {
                    if (list->InRange(k))
                        report.TextCell(impactText((*list)[k], text));
                    else
                        report.EmptyCell();
                }
            });
    }
    report.writer().EndTable();
}

void writeRisksTable(ReportBuilder& report, const TChangeArea& area)
{
    const TCaseData& data = report.data();
    static constexpr int kEdges[] = {1600, 3600, 4400, 5600, 6600, 7600, 9600};
    report.TableTitle(tableTitleForArea("Table of Risks for Change Area '", area), 7);
    report.HeaderRow(kEdges, {"Change", "Risk", "Pot. Fin. Impact", "Type", "Potential Impact",
                              "Likelih. of occurrence", "How to deal with the risk"});
    for (const TChange& change : area.Changes) {
        report.GroupedRows(
            kEdges, [&] { report.TextCell(change.Name); }, 1, change.Risks.Count(), 6,
            [&](int k) {
                const TRisk& risk = change.Risks[k];
                report.TextCell(risk.Name);
                report.RealAmountCell(risk.FinImpact);
                report.TextCell(typeName(riskTypeName(data, risk.RiskType)));
                report.NumberCell(risk.Impact);
                report.NumberCell(risk.Likelihood);
                report.TextCell(risk.Handling);
            });
    }
    report.writer().EndTable();
}

} // namespace

void writeVisionChapter(ReportBuilder& report)
{
    const TCaseData& data = report.data();
    ReportWriter& writer = report.writer();
    report.ChapterHeading("1. Picture Your Future");

    report.SubHeading("Organization Description");
    writer.WriteText(data.OrgDescription);
    writer.Par();

    report.SubHeading("Time Period");
    writer.WriteText(formatDate(data.DateFrom) + " to " + formatDate(data.DateTo));
    writer.Par();

    report.SubHeading("Vision/Mission");
    writer.WriteBullets(data.VisionMission);
    writer.Par();
    report.ResetIndents();
    report.SubHeading("Strategic Success Factors");
    writer.WriteBullets(data.SuccessFactors);
    writer.Par();
    report.ResetIndents();

    static constexpr int kEdges[] = {6000, 7000, 9000};
    report.TableTitle("Key Objectives", 3);
    report.HeaderRow(kEdges, {"Name", "Imp.", "Type"});
    for (const TRankedItem& objective : data.KeyObjectives) {
        report.BoxedRow(kEdges);
        report.TextCell(objective.Name);
        report.NumberCell(objective.Rank);
        report.TextCell(typeName(objectiveTypeName(data, objective.Link)));
    }
    writer.EndTable();
}

void writeEnvironmentChapter(ReportBuilder& report)
{
    report.ChapterHeading("2. Describe the Environment");
    writeSummaryTable(report);
    for (const TChangeArea& area : report.data().ChangeAreas)
        writeImpactsTable(report, area);
    for (const TChangeArea& area : report.data().ChangeAreas)
        writeRisksTable(report, area);
    report.Diagram(ReportDiagram::Changes);
    report.Diagram(ReportDiagram::Risks);
}

void writeCompetitorsChapter(ReportBuilder& report)
{
    const TCaseData& data = report.data();
    report.ChapterHeading("3. Judge Your Competitors");

    static constexpr int kSummaryEdges[] = {3000, 4000, 9600};
    report.TableTitle("Summary Table of Competitors", 3);
    report.HeaderRow(kSummaryEdges, {"Competitor", "Marketshare", "Description"});
    for (const TCompetitor& competitor : data.Competitors) {
        report.BoxedRow(kSummaryEdges);
        report.TextCell(competitor.Name);
        report.NumberCell(competitor.MarketShare);
        report.TextCell(competitor.Description);
    }
    report.writer().EndTable();

    static constexpr int kDetailEdges[] = {1440, 2800, 4160, 5520, 6880, 8240, 9600};
    report.TableTitle("Competitor Details", 7);
    report.HeaderRow(kDetailEdges, {"Competitor", "Key Services", "Key Clients", "Key Advantages",
                                    "Key Disadvantages", "Potential Development", "Watch Points"});
    for (const TCompetitor& competitor : data.Competitors) {
        report.BoxedRow(kDetailEdges);
        report.TextCell(competitor.Name);
        report.BulletCell(competitor.KeyServices);
        report.BulletCell(competitor.KeyClients);
        report.BulletCell(competitor.KeyAdvantages);
        report.BulletCell(competitor.KeyDisadvantages);
        report.ResetIndents();
        report.TextCell(competitor.PotentialDev);
        report.TextCell(competitor.WatchPoints);
    }
    report.writer().EndTable();
}
