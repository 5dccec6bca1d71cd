#include "report/case_report.h"

#include <new>
#include <stdexcept>

#include "model/atomic_file.h"
#include "model/case_data.h"
#include "report/report_builder.h"
#include "report/rtf_report_writer.h"

namespace {

// A generous guess of the report's size, so the body is allocated once for typical cases: every row
// costs a few hundred bytes of table words on top of its text.
std::size_t estimateReportSize(const TCaseData& data)
{
    std::size_t text = data.Title.size() + data.Description.size() + data.OrgDescription.size() +
                       data.VisionMission.size() + data.SuccessFactors.size();
    std::size_t rows = static_cast<std::size_t>(data.KeyObjectives.Count() + data.Capabilities.Count() * 2 +
                                                 data.Actions.Count() + data.Competitors.Count() * 2);
    for (const TRankedItem& item : data.KeyObjectives)
        text += item.Name.size();
    for (const TChangeArea& area : data.ChangeAreas) {
        rows += 3;
        for (const std::string& megatrend : area.Megatrends)
            text += megatrend.size() + 2;
        for (const TChange& change : area.Changes) {
            rows += 3 + static_cast<std::size_t>(change.Strengths.Count() + change.Weaknesses.Count() +
                                                 change.Opportunities.Count() + change.Threats.Count() +
                                                 change.Risks.Count());
            text += change.Name.size() * 3 + change.Description.size();
            for (const TRisk& risk : change.Risks)
                text += risk.Name.size() + risk.Handling.size();
        }
    }
    for (const TCompetitor& c : data.Competitors)
        text += 2 * c.Name.size() + c.Description.size() + c.KeyServices.size() + c.KeyClients.size() +
                c.KeyAdvantages.size() + c.KeyDisadvantages.size() + c.PotentialDev.size() + c.WatchPoints.size();
    for (const auto* list : {&data.Customers, &data.Products}) {
        for (const TCustProd& entry : *list) {
            rows += 3 + static_cast<std::size_t>(entry.Capabilities.Count() * 2);
            text += entry.Name.size() * 3 + entry.Description.size() + entry.KeyNeeds.size();
            text += static_cast<std::size_t>(entry.KeyChars.Count() + entry.MarketPotential.Count()) * 64;
            for (const TCapability& capability : entry.Capabilities)
                text += 2 * capability.Name.size() + capability.Decisions.size();
        }
    }
    for (const TMarketGroup& group : data.MarketGroups)
        rows += 1 + static_cast<std::size_t>(group.CustomerRefs.Count() + group.ServiceRefs.Count() +
                                             group.CapabilityRefs.Count());
    for (const TCapability& capability : data.Capabilities)
        text += 2 * capability.Name.size() + capability.Decisions.size();
    for (const TAction& action : data.Actions)
        text += action.What.size() + action.Who.size();
    return 16384 + text + text / 8 + rows * 400;
}

// The RTF document through `sink`, or into the writer's body without one.
std::optional<std::string> writeRtfReport(const TCaseData& data, const ReportOptions& options, TRTFWriter& rtf,
                                          TRTFWriter::Sink sink)
{
    rtf.DocFormat().LeftMargin = 1440;
    rtf.DocFormat().RightMargin = 1440;
    // Times New Roman throughout; Symbol for the bullet marks, which the first chapter always has.
    rtf.BeginStream({"Symbol", "Times New Roman"}, std::move(sink));
    RtfReportWriter writer(rtf);
    writeCaseReport(data, options, writer);
    return rtf.EndStream();
}

} // namespace

void writeCaseReport(const TCaseData& data, const ReportOptions& options, ReportWriter& writer)
{
    ReportBuilder report(data, options, writer);

    // A right-aligned, bold italic 9-point page number on every page.
    writer.SetFont("Times New Roman");
    writer.BeginFooter();
    writer.SetParagraph(1, 9, 0, -1, -1, -1, -1, -1);
    writer.SetStyle(1);
    writer.SetStyle(2);
    writer.WritePageNumber();
    writer.Par();
    writer.EndFooter();

    report.progress(1);
    writer.SetStyle(1);
    writer.SetParagraph(2, 36, 1200, -1, -1, -1, -1, -1);
    writer.WriteText(data.Title);
    writer.Par();
    writer.Par();
    writer.SetParagraph(3, 9, 0, -1, -1, -1, -1, -1);
    writer.SetStyle(0);
    writer.WriteText(data.Description);
    writer.Par();

    using Chapter = void (*)(ReportBuilder&);
    static constexpr Chapter kChapters[] = {
        writeVisionChapter,       writeEnvironmentChapter, writeCompetitorsChapter, writeCustomersChapter,
        writeProductsChapter,     writeCapabilitiesChapter, writeAlliancesChapter,  writeMarketGroupsChapter,
        writeBusinessPlanChapter, writeActionPageChapter,
    };
    int section = 2;
    for (Chapter chapter : kChapters) {
        report.progress(section++);
        writer.PageBreak();
        chapter(report);
    }
}

std::string buildCaseReport(const TCaseData& data, const ReportOptions& options)
{
    TRTFWriter rtf(options.warn);
    rtf.NewDocument();
    rtf.Reserve(estimateReportSize(data));
    if (auto error = writeRtfReport(data, options, rtf, {}))
        throw std::logic_error(*error);
    return rtf.TakeBody();
}

std::optional<std::string> exportCaseReport(const TCaseData& data, const std::string& path,
                                            const ReportOptions& options)
{
    // The report goes to the file as it is written: repeated references can make it many times
    // larger than the case, and memory must not grow with it.
    return writeFileAtomically(path, [&](const ByteSink& sink) -> std::optional<std::string> {
        try {
            TRTFWriter rtf(options.warn);
            rtf.NewDocument();
            return writeRtfReport(data, options, rtf, sink);
        } catch (const std::bad_alloc&) {
            return std::string("not enough memory to build the report");
        } catch (const TRTFWriter::StreamFailed& failed) {
            // The file's own error is what the user is told; this only stops the build.
            return std::string(failed.what());
        }
    });
}
