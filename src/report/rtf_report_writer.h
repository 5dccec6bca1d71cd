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

    void WriteText(std::string_view text) override { rtf_.WriteText(escaped(text)); }
    void WriteKeptText(std::string_view text) override;
    void WriteCellText(std::string_view text) override { rtf_.WriteCellText(escaped(text)); }
    void WriteBullets(std::string_view text) override { rtf_.WriteBullets(escaped(text)); }
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
    // `text` itself when it needs no escaping, which is nearly always; otherwise its escaped copy,
    // valid until the next call.
    std::string_view escaped(std::string_view text);

    TRTFWriter& rtf_;
    std::string scratch_;
};
