// Chapters 4, 5 and 8: customers, products and the market groups that combine them.

#include "model/case_data.h"
#include "model/case_references.h"
#include "report/report_builder.h"
#include "report/report_text.h"

namespace {

struct CustProdTexts {
    const char* table;
    const char* nameColumn;
    const char* needsColumn;
    const char* groupTable;
};

constexpr CustProdTexts kCustomerTexts{"Table of Customers", "Customer", "Key Needs/Requirements",
                                       "Table of Customer Groups"};
constexpr CustProdTexts kProductTexts{"Table of Products", "Product", "Key Advantages/USPs",
                                      "Table of Product Groups"};

// One line per rated key characteristic: "name (importance,match)". `lines` is cleared first; its
// buffer serves every entry of a table.
const std::string& keyCharLines(const TCustProd& entry, std::string& lines)
{
    lines.clear();
    for (const TKeyCharItem& item : entry.KeyChars) {
        if (item.Excluded)
            continue;
        if (!lines.empty())
            lines.append("\r\n");
        lines.append(item.Name);
        lines.append(" (");
        lines.append(formatNumber(item.Importance));
        lines.append(",");
        lines.append(formatNumber(item.Match));
        lines.append(")");
    }
    return lines;
}

const std::string& marketPotentialLines(const ReportBuilder& report, const TCustProd& entry, std::string& lines)
{
    lines.clear();
    for (const TRankedItem& item : entry.MarketPotential) {
        if (!lines.empty())
            lines.append("\r\n");
        lines.append(item.Name);
        lines.append(" (");
        lines.append(report.amount(item.Rank));
        lines.append(")");
    }
    return lines;
}

// Every line has at least its parentheses, so an empty text means the list gave no line.
void bulletsOrEmpty(ReportBuilder& report, const std::string& lines)
{
    if (lines.empty())
        report.EmptyCell();
    else
        report.BulletCell(lines);
}

// Names of a group's members; indices that name no entry are skipped.
std::string memberNames(const TDelList<TCustProd>& list, const TDelList<TInteger>& members)
{
    std::string joined;
    bool first = true;
    for (const TInteger& member : members) {
        if (!list.InRange(member.Value))
            continue;
        if (!first)
            joined.append(", ");
        first = false;
        joined.append(list[member.Value].Name);
    }
    return joined;
}

void writeCustProdChapter(ReportBuilder& report, const TDelList<TCustProd>& list, const CustProdTexts& texts)
{
    static constexpr int kEdges[] = {1600, 3200, 4800, 7400, 9600};
    report.TableTitle(texts.table, 5);
    report.HeaderRow(kEdges, {texts.nameColumn, "Description", texts.needsColumn,
                              "Key Characteristics (Imp, Match)", "Market Potential (Value)"});
    std::string lines;
    for (const TCustProd& entry : list) {
        report.BoxedRow(kEdges);
        report.TextCell(entry.Name);
        report.TextCell(entry.Description);
        report.BulletCell(entry.KeyNeeds);
        report.ResetIndents();
        bulletsOrEmpty(report, keyCharLines(entry, lines));
        bulletsOrEmpty(report, marketPotentialLines(report, entry, lines));
    }
    report.writer().EndTable();

    static constexpr int kGroupEdges[] = {1600, 9600};
    report.TableTitle(texts.groupTable, 2);
    report.HeaderRow(kGroupEdges, {"Group", "Contents"});
    for (const TCustProd& entry : list) {
        if (!entry.Members)
            continue;
        report.BoxedRow(kGroupEdges);
        report.TextCell(entry.Name);
        report.TextCell(memberNames(list, *entry.Members));
    }
    report.writer().EndTable();
}

const std::string* nameOf(const TCustProd* entry) { return entry ? &entry->Name : nullptr; }

const std::string* capabilityName(const TCaseData& data, const TRankedItem& ref)
{
    const TCapability* capability = referencedCapability(data, ref);
    return capability ? &capability->Name : nullptr;
}

std::string_view nameOrEmpty(const std::string* text) { return text ? std::string_view(*text) : std::string_view(); }

template <class NameFn>
void writeRefBlock(ReportBuilder& report, std::span<const int> edges, const char* label,
                   const TDelList<TRankedItem>& refs, NameFn referencedName)
{
    ReportWriter& writer = report.writer();
    const int count = refs.Count();
    for (int k = 0; k < count; ++k) {
        writer.NextRow();
        writer.SetBorders(7, 1);
        if (k == 0)
            writer.SetBorders(2, 4);
        if (k < count - 1)
            writer.SetCellBorder(1, 3, 0);
        if (k > 0)
            writer.SetCellBorder(1, 2, 0);
        writer.DefineCells(edges);
        if (k == 0)
            report.TextCell(label);
        else
            report.EmptyCell();
        report.TextCell(referencedName(refs[k]));
        report.TextCell(refs[k].Name);
    }
}

} // namespace

void writeCustomersChapter(ReportBuilder& report)
{
    report.ChapterHeading("4. Envision Your Customers");
    writeCustProdChapter(report, report.data().Customers, kCustomerTexts);
    report.Diagram(ReportDiagram::Customers);
}

void writeProductsChapter(ReportBuilder& report)
{
    report.ChapterHeading("5. Design Your Services/Products");
    writeCustProdChapter(report, report.data().Products, kProductTexts);
    report.Diagram(ReportDiagram::Products);
}

void writeMarketGroupsChapter(ReportBuilder& report)
{
    const TCaseData& data = report.data();
    report.ChapterHeading("8. Define Your Market Groups");
    static constexpr int kEdges[] = {3200, 6400, 9600};
    for (const TMarketGroup& group : data.MarketGroups) {
        report.TableTitle("Contents of Market Group '" + group.Name + "'", 3);
        report.HeaderRow(kEdges, {"", "Name (Type)", "Remarks"});
        writeRefBlock(report, kEdges, "Customers", group.CustomerRefs,
                      [&](const TRankedItem& ref) { return nameOrEmpty(nameOf(listEntry(data, RefList::Customers, ref.Rank))); });
        writeRefBlock(report, kEdges, "Services", group.ServiceRefs, [&](const TRankedItem& ref) {
            return std::string(nameOrEmpty(nameOf(listEntry(data, RefList::Products, ref.Rank)))) + " (" +
                   (ref.Link != 0 ? "Partner" : "Independent") + ")";
        });
        writeRefBlock(report, kEdges, "Capabilities", group.CapabilityRefs,
                      [&](const TRankedItem& ref) { return nameOrEmpty(capabilityName(data, ref)); });
        report.writer().EndTable();
    }
}
