#pragma once

// The building blocks every chapter of the case report is made of: headings, table rows with their
// border rules, cells and diagrams, written through whichever writer the report is for.

#include <functional>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

#include "report/case_report.h"
#include "report/report_writer.h"

class ReportBuilder {
public:
    ReportBuilder(const TCaseData& data, const ReportOptions& options, ReportWriter& writer);

    const TCaseData& data() const { return data_; }
    ReportWriter& writer() { return writer_; }

    // Called before section n of 11 (1 = title page, 2..11 = chapters 1..10).
    void progress(int section) const;

    std::string amount(long long value) const;
    std::string realAmount(double value) const;

    void ChapterHeading(std::string_view text);
    void SubHeading(std::string_view text);
    // Bold title kept with the table, then the table opened with single borders on every side.
    void TableTitle(std::string_view title, int cells);
    // The bold header row; an empty title is an empty cell.
    void HeaderRow(std::span<const int> edges, std::initializer_list<std::string_view> titles);
    // A body row boxed on all four sides.
    void BoxedRow(std::span<const int> edges);

    // Rows of an owner followed by its sub-items, drawn so the owner's cells read as one tall cell.
    // `ownerCells` writes the owner's cells on the first row; on later rows those `ownerCellCount`
    // cells are empty. `subItem(k)` writes sub-item k (0-based); an owner without sub-items gets
    // `fillCells` empty cells.
    void GroupedRows(std::span<const int> edges, const std::function<void()>& ownerCells, int ownerCellCount,
                     int subItems, int fillCells, const std::function<void(int k)>& subItem);

    void TextCell(std::string_view text);
    void EmptyCell();
    void EmptyCells(int count);
    void NumberCell(long long value);
    void AmountCell(long long value);
    void RealAmountCell(double value);
    void BulletCell(std::string_view text);
    void ResetIndents();
    // The picture of a workshop's diagram, for writers that take pictures.
    void Diagram(ReportDiagram which);

private:
    void rightAligned(std::string_view text);

    const TCaseData& data_;
    const ReportOptions& options_;
    ReportWriter& writer_;
};

// The chapters, in report order.
void writeVisionChapter(ReportBuilder& report);
void writeEnvironmentChapter(ReportBuilder& report);
void writeCompetitorsChapter(ReportBuilder& report);
void writeCustomersChapter(ReportBuilder& report);
void writeProductsChapter(ReportBuilder& report);
void writeCapabilitiesChapter(ReportBuilder& report);
void writeAlliancesChapter(ReportBuilder& report);
void writeMarketGroupsChapter(ReportBuilder& report);
void writeBusinessPlanChapter(ReportBuilder& report);
void writeActionPageChapter(ReportBuilder& report);
