#pragma once

// The case report as RTF: each report operation becomes the RTF writer's operation of the same
// name, the case's text escaped on the way (a backslash before each backslash and brace), so the
// document reads every text literally.

#include <string>

#include "report/report_writer.h"
#include "report/rtf_writer.h"

class RtfReportWriter final : public ReportWriter {
public:
    explicit RtfReportWriter(TRTFWriter& rtf) : rtf_(rtf) {}

    void SetFont(std::string_view name) override { rtf_.SetFont(name); }
    void SetFontSize(int points) override { rtf_.SetFontSize(points); }
    void SetStyle(int code) override { rtf_.SetStyle(code); }
    void SetAlignment(int code) override { rtf_.SetAlignment(code); }
    void SetIndent(int kind, int32_t twips) override { rtf_.SetIndent(kind, twips); }
    void SetSpacing(int kind, int twips) override { rtf_.SetSpacing(kind, twips); }

    void WriteText(std::string_view text) override { rtf_.WriteLiteralText(text); }
    // The keep word follows the text, so it applies to the title's last paragraph.
    void WriteKeptText(std::string_view text) override
    {
        rtf_.WriteLiteralText(text);
        rtf_.WriteWords("\\keepn");
    }
    void WriteCellText(std::string_view text) override { rtf_.WriteLiteralCellText(text); }
    void WriteBullets(std::string_view text) override { rtf_.WriteLiteralBullets(text); }
    void WritePageNumber() override { rtf_.WriteText("\\chpgn"); }
    void Par() override { rtf_.Par(); }
    void PageBreak() override { rtf_.PageBreak(); }
    void BeginFooter() override { rtf_.BeginFooter(); }
    void EndFooter() override { rtf_.EndFooter(); }

    void BeginTable(int cells) override { rtf_.BeginTable(cells); }
    void SetBorders(int side, int style) override { rtf_.SetBorders(side, style); }
    void SetCellBorder(int cell, int side, int style) override { rtf_.SetCellBorder(cell, side, style); }
    void DefineCells(std::span<const int> rightEdges) override { rtf_.DefineCells(rightEdges); }
    void EndCell() override { rtf_.EndCell(); }
    void NextRow() override { rtf_.NextRow(); }
    void EndTable() override { rtf_.EndTable(); }

private:
    TRTFWriter& rtf_;
};
