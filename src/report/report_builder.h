#pragma once

// The building blocks every chapter of the case report is made of: headings, table rows with their
// border rules, and cells. Text that comes from the case goes through TextCell/escapeRtf; fixed
// report texts and control words go through RtfCell unchanged.

#include <functional>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

#include "report/case_report.h"
#include "report/rtf_writer.h"

class ReportBuilder {
public:
    ReportBuilder(const TCaseData& data, const ReportOptions& options);

    const TCaseData& data() const { return data_; }
    TRTFWriter& writer() { return writer_; }

    // Called before section n of 11 (1 = title page, 2..11 = chapters 1..10).
    void progress(int section) const;

    std::string amount(long long value) const;
    std::string realAmount(double value) const;

    void ChapterHeading(std::string_view text);
    void SubHeading(std::string_view text);
    // Bold title kept with the table, then the table opened with single borders on every side.
    // `rtfTitle` is written as is: callers escape the case's part of it.
    void TableTitle(std::string_view rtfTitle, int cells);
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

    void TextCell(std::string_view caseText);
    void RtfCell(std::string_view rtfText);
    void EmptyCell();
    void EmptyCells(int count);
    void NumberCell(long long value);
    void AmountCell(long long value);
    void RealAmountCell(double value);
    void BulletCell(std::string_view rtfText);
    void ResetIndents();

private:
    void rightAligned(std::string_view text);

    const TCaseData& data_;
    const ReportOptions& options_;
    TRTFWriter writer_;
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
