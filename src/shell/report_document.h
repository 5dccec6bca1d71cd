#pragma once

// The case report as a QTextDocument, for print and PDF: the same headings, paragraphs, bullets,
// bordered tables and page breaks as the RTF document, and the workshops' portfolio diagrams as
// pictures after their chapters' tables. Works on any thread (no widgets).

#include "report/report_writer.h"

#include <QFont>
#include <QTextCursor>
#include <QTextFormat>
#include <QTextDocument>

#include <array>
#include <memory>
#include <vector>

class QTextTable;
class QTextList;

// The report as a document whose lengths are twips, fonts included, so that it lays out the same
// for every device; printing scales it to the device. With what every page shows around it.
struct ReportDocument {
    std::unique_ptr<QTextDocument> body;
    // The case's title, in every page's header but the first.
    QString title;
    // The page number in the footer: its alignment and font (in points).
    bool pageNumbers = false;
    Qt::Alignment pageNumberAlignment = Qt::AlignRight;
    QFont pageNumberFont;
};

// Builds the document through the report operations.
class TextDocumentReportWriter final : public ReportWriter {
public:
    TextDocumentReportWriter();
    ~TextDocumentReportWriter() override;

    // The document built so far; the writer is finished with afterwards.
    ReportDocument take();

    void SetFont(std::string_view name) override;
    void SetFontSize(int points) override;
    void SetStyle(int code) override;
    void SetAlignment(int code) override;
    void SetIndent(int kind, int32_t twips) override;
    void SetSpacing(int kind, int twips) override;

    void WriteText(std::string_view text) override;
    void WriteKeptText(std::string_view text) override;
    void WriteCellText(std::string_view text) override;
    void WriteBullets(std::string_view text) override;
    void WritePageNumber() override;
    void Par() override;
    void PageBreak() override;
    void BeginFooter() override;
    void EndFooter() override;

    void BeginTable(int cells) override;
    void SetBorders(int side, int style) override;
    void SetCellBorder(int cell, int side, int style) override;
    void DefineCells(std::span<const int> rightEdges) override;
    void EndCell() override;
    void NextRow() override;
    void EndTable() override;

    bool TakesDiagrams() const override { return true; }
    void Diagram(ReportDiagram which, std::span<const uint32_t> plotValues) override;

private:
    struct CharState {
        QString family = QStringLiteral("Times New Roman");
        int points = 12;
        bool bold = false;
        bool italic = false;
        bool strike = false;
        QTextCharFormat::UnderlineStyle underline = QTextCharFormat::NoUnderline;
    };
    struct ParaState {
        int alignment = 0;
        int spaceBefore = 0;
        int spaceAfter = 0;
        int lineSpacing = 0;
        int32_t left = 0;
        int32_t right = 0;
        int32_t first = 0;
    };
    // Per side (left, right, top, bottom) of a cell: the border's style, -1 when off.
    using CellBorders = std::array<int, 4>;

    QTextCharFormat charFormat() const;
    QTextBlockFormat blockFormat() const;
    // Gives the open paragraph the paragraph settings now in effect.
    void finishParagraph();
    // Starts the paragraph that Par announced, when something is written into it.
    void openParagraph();
    void writePieces(std::string_view text, bool bullets);
    void setBorder(CellBorders& cell, int side, int style);
    void enterCell();

    std::unique_ptr<QTextDocument> document_;
    QTextCursor cursor_;
    CharState char_;
    ParaState para_;
    bool paragraphDue_ = false;

    bool inFooter_ = false;
    CharState savedChar_;
    ParaState savedPara_;
    ReportDocument furniture_;

    std::vector<CellBorders> borders_;
    QTextTable* table_ = nullptr;
    int row_ = -1;
    int cell_ = 0;
};
