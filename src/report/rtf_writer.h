#pragma once

// A small writer of Rich Text Format documents. One instance builds one document at a time: every
// operation appends control words or text to a growing body, and BuildDocument wraps the body with
// the header (font table and document-format words). The plain text operations write what they are
// given as it is, control words included; the literal ones escape it as they copy it.
//
// A document too large to hold in memory is streamed instead: BeginStream writes the header first,
// and the body then leaves in pieces through a sink as it is written.

#include <array>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// Page and footnote settings written as the document-format words after the font table.
// Lengths are in twips (1/1440 inch).
struct TRTFDocFormatting {
    int16_t DefaultTabWidth = 720;
    int16_t HyphenationHotZone = 0;
    int16_t ConsecutiveHyphenLimit = 0;
    bool HyphenateCapitals = false;
    bool AutoHyphenation = true;
    int16_t LineNumberingStart = 1;
    bool MakeBackup = false;
    bool DefaultFormat = true;
    int16_t DefaultLanguage = 1033;
    int16_t PaperWidth = 12240;
    int16_t PaperHeight = 15840;
    int16_t LeftMargin = 1800;
    int16_t RightMargin = 1800;
    int16_t TopMargin = 1440;
    int16_t BottomMargin = 1440;
    bool FacingPages = false;
    int16_t Gutter = 0;
    bool MirroredMargins = false;
    bool Landscape = false;
    int16_t FirstPageNumber = 1;
    bool WidowControl = true;
    uint8_t FootnoteEndnoteType = 0;
    uint8_t FootnotePlacement = 3;
    uint8_t EndnotePlacement = 0;
    int16_t FirstFootnoteNumber = 1;
    int16_t FirstEndnoteNumber = 1;
    uint8_t FootnoteNumbering = 0;
    uint8_t EndnoteNumbering = 0;
};

// The document-format words of `format`, e.g. "\deftab720\hyphhotz0...\ftnnar\aftnnar".
std::string documentFormatWords(const TRTFDocFormatting& format);

class TRTFWriter {
public:
    using WarningHandler = std::function<void(const std::string& message)>;

    static constexpr int kFontSlots = 64;

    // Warnings ("Invalid font name.") go to `warn`; without one they are written to stderr so that
    // they are never lost.
    explicit TRTFWriter(WarningHandler warn = {});

    // Starts a new document: empty body, default document format, no font marked used.
    void NewDocument();
    // The format of the document under construction; change it between NewDocument and BuildDocument.
    TRTFDocFormatting& DocFormat() { return format_; }
    // Capacity hint for the body, so that a large report grows without repeated reallocation.
    void Reserve(std::size_t bytes);

    void SetFont(std::string_view name);
    void SetFontSize(int points);
    void SetStyle(int code);
    void SetAlignment(int code);
    void SetIndent(int kind, int32_t twips);
    void SetSpacing(int kind, int twips);
    // Each argument of -1 (alignment 4) is left out.
    void SetParagraph(int alignment, int size, int spaceBefore, int spaceAfter, int lineSpacing,
                      int32_t leftIndent, int32_t rightIndent, int32_t firstIndent);

    // CR LF pairs split the text into paragraphs.
    void WriteText(std::string_view text);
    void WriteCellText(std::string_view text);
    // One bullet paragraph per line, even for an empty text.
    void WriteBullets(std::string_view text);
    // The same three for literal text such as a case's own: every backslash and brace gets a
    // backslash before it, so the document reads the text as it is and it adds no control words or
    // groups.
    void WriteLiteralText(std::string_view text);
    void WriteLiteralCellText(std::string_view text);
    void WriteLiteralBullets(std::string_view text);
    // Control words right after what was written last: no space before them, no line splitting.
    void WriteWords(std::string_view words);

    void Par();
    void PageBreak();
    void BeginFooter();
    void EndFooter();

    void BeginTable(int cells);
    // Side 0 left, 1 right, 2 top, 3 bottom, 7 all four; style 1..7 as in the border style table.
    void SetBorders(int side, int style);
    void SetCellBorder(int cell, int side, int style);
    // Defines one cell per right edge (twips from the left margin), with the borders now set.
    void DefineCells(std::span<const int> rightEdges);
    void EndCell();
    void NextRow();
    void EndTable();

    // Turns the body into the complete document; the document format returns to its defaults.
    void BuildDocument();

    // Takes the next piece of a streamed document; false when it cannot take more.
    using Sink = std::function<bool(std::string_view piece)>;
    // Thrown out of any writing operation when the sink refuses a piece, so that a failed stream
    // stops the build at once.
    struct StreamFailed : std::runtime_error {
        StreamFailed() : std::runtime_error("the document could not be written") {}
    };
    static constexpr std::size_t kStreamPiece = std::size_t{1} << 20;

    // Starts a streamed document (call after NewDocument and any change of DocFormat): the header
    // is written at once, its font table naming `fonts`, so the document may select only those.
    // The body then goes to `sink` in pieces of about kStreamPiece bytes; without a sink it stays
    // in Body() and the complete document is left there, as BuildDocument would leave it.
    void BeginStream(std::initializer_list<std::string_view> fonts, Sink sink = {});
    // Closes the document and hands over what is still held. Returns the reason when the document
    // selected a font its header does not name.
    std::optional<std::string> EndStream();
    // Writes the body atomically to `path`; returns the reason on failure (the body is unchanged).
    std::optional<std::string> SaveToFile(const std::string& path) const;

    const std::string& Body() const { return body_; }
    std::string TakeBody() { return std::move(body_); }

private:
    struct FontSlot {
        std::string name;
        std::string family;
        uint16_t charset = 0;
        bool used = false;
    };
    // Per side (left, right, top, bottom) of a cell: kNoBorder, or the style whose word the side's
    // border gets (unknown styles keep theirs, which has no word).
    static constexpr int8_t kNoBorder = -1;
    using CellBorders = std::array<int8_t, 4>;

    void append(std::string_view text)
    {
        body_.append(text);
        if (body_.size() >= flushAt_)
            flush();
    }
    FontSlot* findFont(std::string_view name);
    // Marks the font used and returns its number for the \\f word, or 0 (after the warning) when
    // there is no such font.
    int useFont(std::string_view name);
    void flush();
    std::string header() const;
    void appendNumber(long long value);
    // Writes `prefix`, then `text` with each CR LF pair turned into \\par and `prefix` again;
    // `literal` text is escaped on the way.
    void writeLines(std::string_view text, std::string_view prefix, bool literal);
    void writeBullets(std::string_view text, bool literal);
    void setBorder(CellBorders& cell, int side, int style);
    void appendRowWords(std::string& out, std::span<const int> rightEdges) const;

    WarningHandler warn_;
    std::string body_;
    TRTFDocFormatting format_;
    std::array<FontSlot, kFontSlots> fonts_;
    std::vector<CellBorders> table_;
    // The words of recent row definitions: the rows of a table repeat a few patterns of borders, and
    // each pattern's words are put together once.
    struct RowWords {
        std::vector<CellBorders> borders;
        std::vector<int> rightEdges;
        std::string words;
    };
    std::array<RowWords, 4> rowWords_;
    std::size_t nextRowWords_ = 0;
    // Streaming state: where the body is handed over, and whether a font came too late for the header.
    Sink sink_;
    std::size_t flushAt_ = std::string::npos;
    bool headerWritten_ = false;
    std::string lateFont_;
};
