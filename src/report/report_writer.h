#pragma once

// What the case report is written through. The report says what it writes in a word processor's
// terms (character and paragraph settings, text, bulleted lines, bordered tables, page breaks)
// and each writer turns that into its format: the RTF document, or a document for print.
//
// Text is the case's own text (windows-1252, CR LF line breaks), never escaped for any format.
// Settings persist until changed, as in a word processor: a paragraph takes the paragraph settings
// in effect when it ends, text the character settings in effect when it is written. Lengths are in
// twips (1/1440 inch).

#include <cstdint>
#include <span>
#include <string_view>

// Applies the paragraph settings in this order; an argument of -1 (alignment 4) is left out.
template <class Writer>
void applyParagraphSettings(Writer& writer, int alignment, int size, int spaceBefore, int spaceAfter,
                            int lineSpacing, int32_t leftIndent, int32_t rightIndent, int32_t firstIndent)
{
    if (alignment != 4)
        writer.SetAlignment(alignment);
    if (size != -1)
        writer.SetFontSize(size);
    if (spaceBefore != -1)
        writer.SetSpacing(0, spaceBefore);
    if (spaceAfter != -1)
        writer.SetSpacing(1, spaceAfter);
    if (lineSpacing != -1)
        writer.SetSpacing(2, lineSpacing);
    if (leftIndent != -1)
        writer.SetIndent(0, leftIndent);
    if (rightIndent != -1)
        writer.SetIndent(1, rightIndent);
    if (firstIndent != -1)
        writer.SetIndent(2, firstIndent);
}

// The portfolio diagrams of the workshops, in report order.
enum class ReportDiagram { Changes, Risks, Customers, Products, Capabilities };

class ReportWriter {
public:
    virtual ~ReportWriter() = default;

    virtual void SetFont(std::string_view name) = 0;
    // 2 to 63 points; other sizes change nothing.
    virtual void SetFontSize(int points) = 0;
    // 0 plain, 1 bold, 2 italic, 3 underline, 4 bold off, 5 italic off, 6 underline off, 7 struck
    // through, 8 not struck through, 9 double underline, 10 dotted underline.
    virtual void SetStyle(int code) = 0;
    // 0 left, 1 right, 2 centred, 3 justified.
    virtual void SetAlignment(int code) = 0;
    // Kind 0 left, 1 right, 2 first line (relative to the left indent).
    virtual void SetIndent(int kind, int32_t twips) = 0;
    // Kind 0 space before, 1 space after, 2 line spacing.
    virtual void SetSpacing(int kind, int twips) = 0;
    // The settings above, as applyParagraphSettings applies them.
    void SetParagraph(int alignment, int size, int spaceBefore, int spaceAfter, int lineSpacing,
                      int32_t leftIndent, int32_t rightIndent, int32_t firstIndent)
    {
        applyParagraphSettings(*this, alignment, size, spaceBefore, spaceAfter, lineSpacing, leftIndent,
                               rightIndent, firstIndent);
    }

    // CR LF pairs split the text into paragraphs; the last one stays open.
    virtual void WriteText(std::string_view text) = 0;
    // The same for a paragraph that stays on the page of the one after it (a table's title).
    virtual void WriteKeptText(std::string_view text) = 0;
    // Text of the current table cell.
    virtual void WriteCellText(std::string_view text) = 0;
    // One bulleted paragraph per line, even for an empty text; the last one stays open.
    virtual void WriteBullets(std::string_view text) = 0;
    // The number of the page the text is printed on.
    virtual void WritePageNumber() = 0;
    // Ends the open paragraph.
    virtual void Par() = 0;
    virtual void PageBreak() = 0;
    // What is written in between is the footer of every page.
    virtual void BeginFooter() = 0;
    virtual void EndFooter() = 0;

    // A table of `cells` columns. Border sides: 0 left, 1 right, 2 top, 3 bottom, 7 all four;
    // styles: 0 none, 1 single, 2 thick, 3 shadowed, 4 double, 5 dotted, 6 dashed, 7 hairline.
    // Borders persist from row to row until changed.
    virtual void BeginTable(int cells) = 0;
    virtual void SetBorders(int side, int style) = 0;
    // `cell` counts from 1.
    virtual void SetCellBorder(int cell, int side, int style) = 0;
    // Starts a row whose cells end at `rightEdges` (twips from the left margin), with the borders
    // now set.
    virtual void DefineCells(std::span<const int> rightEdges) = 0;
    virtual void EndCell() = 0;
    virtual void NextRow() = 0;
    virtual void EndTable() = 0;

    // Whether Diagram draws anything; the report works out a diagram's dots only for a writer
    // that does.
    virtual bool TakesDiagrams() const { return false; }
    // A picture of a workshop's portfolio diagram, in a paragraph of its own. `plotValues` are the
    // diagram list's rows in order: the vertical value in the low 16 bits, the horizontal one in
    // the high 16 bits, 0 for a heading row that is not plotted.
    virtual void Diagram(ReportDiagram /*which*/, std::span<const uint32_t> /*plotValues*/) {}
};
