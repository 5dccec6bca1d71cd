#include "report/report_builder.h"

#include "report/report_diagrams.h"
#include "report/report_text.h"

namespace {
constexpr int kBold = 1;
constexpr int kItalic = 2;
constexpr int kItalicOff = 5;
constexpr int kPlain = 0;
constexpr int kLeft = 0;
constexpr int kRight = 1;
constexpr int kJustified = 3;
constexpr int kAllSides = 7;
constexpr int kTop = 2;
constexpr int kBottom = 3;
constexpr int kSingle = 1;
constexpr int kDouble = 4;
constexpr int kNoStyle = 0;
} // namespace

ReportBuilder::ReportBuilder(const TCaseData& data, const ReportOptions& options, ReportWriter& writer)
    : data_(data), options_(options), writer_(writer)
{
}

void ReportBuilder::progress(int section) const
{
    if (options_.progress)
        options_.progress(section);
}

std::string ReportBuilder::amount(long long value) const
{
    return formatAmount(value, options_.thousandsSeparator);
}

std::string ReportBuilder::realAmount(double value) const
{
    return formatRealAmount(value, options_.thousandsSeparator);
}

void ReportBuilder::ChapterHeading(std::string_view text)
{
    writer_.SetStyle(kBold);
    writer_.SetStyle(kItalic);
    writer_.SetParagraph(kLeft, 16, 0, 480, -1, -1, -1, -1);
    writer_.WriteText(text);
    writer_.Par();
    writer_.SetParagraph(kJustified, 9, -1, 0, -1, -1, -1, -1);
    writer_.SetStyle(kPlain);
}

void ReportBuilder::SubHeading(std::string_view text)
{
    writer_.SetStyle(kBold);
    writer_.SetStyle(kItalicOff);
    writer_.SetParagraph(kLeft, 9, 240, -1, -1, -1, -1, -1);
    writer_.WriteText(text);
    writer_.Par();
    writer_.SetParagraph(kLeft, 9, 0, -1, -1, -1, -1, -1);
    writer_.SetStyle(kPlain);
}

void ReportBuilder::TableTitle(std::string_view title, int cells)
{
    writer_.SetStyle(kBold);
    writer_.SetStyle(kItalicOff);
    writer_.SetParagraph(kLeft, 9, 240, 120, -1, -1, -1, -1);
    writer_.WriteKeptText(title);
    writer_.Par();
    writer_.SetParagraph(kLeft, 9, 0, 0, -1, -1, -1, -1);
    writer_.SetStyle(kPlain);
    writer_.BeginTable(cells);
    writer_.SetBorders(kAllSides, kSingle);
}

void ReportBuilder::HeaderRow(std::span<const int> edges, std::initializer_list<std::string_view> titles)
{
    writer_.DefineCells(edges);
    writer_.SetStyle(kBold);
    for (std::string_view title : titles) {
        if (title.empty())
            EmptyCell();
        else
            TextCell(title);
    }
    writer_.SetStyle(kPlain);
}

void ReportBuilder::BoxedRow(std::span<const int> edges)
{
    writer_.NextRow();
    writer_.SetBorders(kAllSides, kSingle);
    writer_.DefineCells(edges);
}

void ReportBuilder::GroupedRows(std::span<const int> edges, const std::function<void()>& ownerCells,
                                int ownerCellCount, int subItems, int fillCells,
                                const std::function<void(int k)>& subItem)
{
    writer_.NextRow();
    writer_.SetBorders(kBottom, kSingle);
    writer_.SetBorders(kTop, kDouble);
    if (subItems > 0)
        writer_.SetCellBorder(1, kBottom, kNoStyle);
    writer_.DefineCells(edges);
    ownerCells();
    if (subItems == 0) {
        EmptyCells(fillCells);
        return;
    }
    subItem(0);
    for (int k = 1; k < subItems; ++k) {
        writer_.NextRow();
        writer_.SetBorders(kAllSides, kSingle);
        if (k < subItems - 1)
            writer_.SetCellBorder(1, kBottom, kNoStyle);
        writer_.SetCellBorder(1, kTop, kNoStyle);
        writer_.DefineCells(edges);
        EmptyCells(ownerCellCount);
        subItem(k);
    }
}

void ReportBuilder::TextCell(std::string_view text)
{
    writer_.WriteCellText(text);
    writer_.EndCell();
}

void ReportBuilder::EmptyCell() { writer_.EndCell(); }

void ReportBuilder::EmptyCells(int count)
{
    for (int i = 0; i < count; ++i)
        writer_.EndCell();
}

// The alignment goes back to left only after the cell mark, which must fall inside the bracket
// for the cell to be right-aligned.
void ReportBuilder::rightAligned(std::string_view text)
{
    writer_.SetAlignment(kRight);
    TextCell(text);
    writer_.SetAlignment(kLeft);
}

void ReportBuilder::NumberCell(long long value) { rightAligned(formatNumber(value)); }
void ReportBuilder::AmountCell(long long value) { rightAligned(amount(value)); }
void ReportBuilder::RealAmountCell(double value) { rightAligned(realAmount(value)); }

void ReportBuilder::BulletCell(std::string_view text)
{
    writer_.WriteBullets(text);
    writer_.EndCell();
}

void ReportBuilder::ResetIndents()
{
    writer_.SetIndent(2, 0);
    writer_.SetIndent(0, 0);
}

void ReportBuilder::Diagram(ReportDiagram which)
{
    if (writer_.TakesDiagrams())
        writer_.Diagram(which, diagramPlotValues(data_, which));
}
