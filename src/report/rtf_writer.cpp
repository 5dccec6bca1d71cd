#include "report/rtf_writer.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <iostream>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#if defined(__linux__)
#include <sys/mman.h>
#endif

#include "model/atomic_file.h"
#include "report/report_writer.h"

namespace {

constexpr std::string_view kSideWords[4] = {"\\clbrdrl", "\\clbrdrr", "\\clbrdrt", "\\clbrdrb"};

void appendDecimal(std::string& out, long long value)
{
    char buffer[24];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, result.ptr);
}

// The word of a border style; style 2 is a thick line. Unknown styles have no word, which still
// leaves a border of default style and the given width.
std::string_view borderStyleWord(int style)
{
    switch (style) {
    case 1: return "\\brdrs";
    case 2: return "\\brdrth";
    case 3: return "\\brdrsh";
    case 4: return "\\brdrdb";
    case 5: return "\\brdrdot";
    case 6: return "\\brdrdash";
    case 7: return "\\brdrhair";
    default: return {};
    }
}

// The first byte from `p` on that copying text must look at: a CR, which may begin a line break,
// and for literal text a backslash or a brace; `end` when there is none. Case texts are long runs
// of ordinary bytes, so sixteen are tested at a time where the processor allows.
const char* nextSpecial(const char* p, const char* end, bool literal)
{
    if (!literal) {
        const void* cr = std::memchr(p, '\r', static_cast<std::size_t>(end - p));
        return cr ? static_cast<const char*>(cr) : end;
    }
#if defined(__SSE2__)
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i backslash = _mm_set1_epi8('\\');
    const __m128i open = _mm_set1_epi8('{');
    const __m128i close = _mm_set1_epi8('}');
    for (; end - p >= 16; p += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i hits = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(bytes, cr), _mm_cmpeq_epi8(bytes, backslash)),
                                          _mm_or_si128(_mm_cmpeq_epi8(bytes, open), _mm_cmpeq_epi8(bytes, close)));
        if (const auto mask = static_cast<unsigned>(_mm_movemask_epi8(hits)))
            return p + std::countr_zero(mask);
    }
#endif
    for (; p < end; ++p)
        if (*p == '\r' || *p == '\\' || *p == '{' || *p == '}')
            return p;
    return end;
}

// A report of a large case runs to tens of megabytes, and on virtual machines the first touch of
// each 4 KB page can cost more than writing the bytes. Asking for huge pages on such a buffer cuts
// that cost by an order of magnitude; it is only a hint, so any failure is ignored.
void adviseHugePages([[maybe_unused]] char* data, [[maybe_unused]] std::size_t size)
{
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    constexpr std::size_t kHugePage = std::size_t{2} << 20;
    if (size < 2 * kHugePage)
        return;
    const auto begin = (reinterpret_cast<std::uintptr_t>(data) + kHugePage - 1) & ~(kHugePage - 1);
    const auto end = (reinterpret_cast<std::uintptr_t>(data) + size) & ~(kHugePage - 1);
    if (end > begin)
        ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
#endif
}

} // namespace

std::string documentFormatWords(const TRTFDocFormatting& f)
{
    std::string out;
    out.reserve(320);
    auto word = [&out](std::string_view name, long long value) {
        out.append(name);
        appendDecimal(out, value);
    };
    word("\\deftab", f.DefaultTabWidth);
    word("\\hyphhotz", f.HyphenationHotZone);
    word("\\hyphconsec", f.ConsecutiveHyphenLimit);
    out.append(f.HyphenateCapitals ? "\\hyphcaps1" : "\\hyphcaps0");
    out.append(f.AutoHyphenation ? "\\hyphauto1" : "\\hyphauto0");
    word("\\linestart", f.LineNumberingStart);
    if (f.MakeBackup)
        out.append("\\makebackup");
    if (f.DefaultFormat)
        out.append("\\defformat");
    word("\\deflang", f.DefaultLanguage);
    word("\\paperw", f.PaperWidth);
    word("\\paperh", f.PaperHeight);
    word("\\margl", f.LeftMargin);
    word("\\margr", f.RightMargin);
    word("\\margt", f.TopMargin);
    word("\\margb", f.BottomMargin);
    if (f.FacingPages)
        out.append("\\facingp");
    word("\\gutter", f.Gutter);
    if (f.MirroredMargins)
        out.append("\\margmirror");
    if (f.Landscape)
        out.append("\\landscape");
    word("\\pgnstart", f.FirstPageNumber);
    if (f.WidowControl)
        out.append("\\widowctrl");
    out.append(" ");
    word("\\fet", f.FootnoteEndnoteType);

    static constexpr std::string_view kFootnotePlacement[] = {"\\endnotes", "\\enddoc", "\\ftntj", "\\ftnbj"};
    static constexpr std::string_view kEndnotePlacement[] = {"\\aendnotes", "\\aenddoc", "\\aftntj", "\\aftnbj"};
    static constexpr std::string_view kFootnoteNumbering[] = {"\\ftnnar", "\\ftnnalc", "\\ftnnauc", "\\ftnnrlc",
                                                               "\\ftnnruc"};
    static constexpr std::string_view kEndnoteNumbering[] = {"\\aftnnar", "\\aftnnalc", "\\aftnnauc",
                                                              "\\aftnnrlc", "\\aftnnruc"};
    if (f.FootnotePlacement < std::size(kFootnotePlacement))
        out.append(kFootnotePlacement[f.FootnotePlacement]);
    if (f.EndnotePlacement < std::size(kEndnotePlacement))
        out.append(kEndnotePlacement[f.EndnotePlacement]);
    word("\\ftnstart", f.FirstFootnoteNumber);
    word("\\afnstart", f.FirstEndnoteNumber);
    if (f.FootnoteNumbering < std::size(kFootnoteNumbering))
        out.append(kFootnoteNumbering[f.FootnoteNumbering]);
    if (f.EndnoteNumbering < std::size(kEndnoteNumbering))
        out.append(kEndnoteNumbering[f.EndnoteNumbering]);
    return out;
}

TRTFWriter::TRTFWriter(WarningHandler warn) : warn_(std::move(warn))
{
    static const struct {
        const char* name;
        const char* family;
        uint16_t charset;
    } kStandardFonts[] = {
        {"Symbol", "roman", 2},         {"Courier", "modern", 0},          {"Times New Roman", "roman", 0},
        {"Arial", "swiss", 0},          {"Courier New", "modern", 0},      {"Arial CE", "swiss", 238},
        {"Courier New CE", "modern", 238}, {"Times New Roman CE", "roman", 238},
    };
    std::size_t slot = 0;
    for (const auto& font : kStandardFonts)
        fonts_[slot++] = FontSlot{font.name, font.family, font.charset, false};
    if (!warn_)
        warn_ = [](const std::string& message) { std::cerr << message << '\n'; };
}

void TRTFWriter::Reserve(std::size_t bytes)
{
    if (bytes <= body_.capacity())
        return;
    body_.reserve(bytes);
    adviseHugePages(body_.data(), body_.capacity());
}

void TRTFWriter::NewDocument()
{
    body_.clear();
    format_ = TRTFDocFormatting{};
    // Each document lists only the fonts it selects, whatever earlier documents used.
    for (auto& font : fonts_)
        font.used = false;
    table_.clear();
    sink_ = {};
    flushAt_ = std::string::npos;
    headerWritten_ = false;
    lateFont_.clear();
}

void TRTFWriter::appendNumber(long long value) { appendDecimal(body_, value); }

TRTFWriter::FontSlot* TRTFWriter::findFont(std::string_view name)
{
    // Empty slots have no name and never match, so an empty name is refused like any unknown one.
    for (FontSlot& font : fonts_)
        if (!font.name.empty() && font.name == name)
            return &font;
    warn_("Invalid font name.");
    return nullptr;
}

int TRTFWriter::useFont(std::string_view name)
{
    FontSlot* font = findFont(name);
    if (!font)
        return 0;
    if (headerWritten_ && !font->used && lateFont_.empty())
        lateFont_ = font->name;
    font->used = true;
    return static_cast<int>(font - fonts_.data()) + 1;
}

void TRTFWriter::SetFont(std::string_view name)
{
    if (const int number = useFont(name)) {
        append("\\f");
        appendNumber(number);
    }
}

void TRTFWriter::SetFontSize(int points)
{
    if (points < 2 || points >= 64)
        return;
    append("\\fs");
    appendNumber(2LL * points);
}

void TRTFWriter::SetStyle(int code)
{
    static constexpr std::string_view kWords[] = {"\\b0\\i0\\strike0\\ulnone", "\\b", "\\i", "\\ul",
                                                   "\\b0", "\\i0", "\\ulnone", "\\strike",
                                                   "\\strike0", "\\uldb", "\\uld"};
    if (code >= 0 && code < static_cast<int>(std::size(kWords)))
        append(kWords[code]);
}

void TRTFWriter::SetAlignment(int code)
{
    static constexpr std::string_view kWords[] = {"\\ql", "\\qr", "\\qc", "\\qj"};
    if (code >= 0 && code < static_cast<int>(std::size(kWords)))
        append(kWords[code]);
}

void TRTFWriter::SetIndent(int kind, int32_t twips)
{
    static constexpr std::string_view kWords[] = {"\\li", "\\ri", "\\fi"};
    if (kind < 0 || kind >= static_cast<int>(std::size(kWords)))
        return;
    append(kWords[kind]);
    appendNumber(twips);
}

void TRTFWriter::SetSpacing(int kind, int twips)
{
    static constexpr std::string_view kWords[] = {"\\sb", "\\sa", "\\sl"};
    if (kind < 0 || kind >= static_cast<int>(std::size(kWords)))
        return;
    append(kWords[kind]);
    // The spacing words take 16-bit values; larger ones wrap as they would in that field.
    appendNumber(static_cast<int16_t>(twips));
}

void TRTFWriter::SetParagraph(int alignment, int size, int spaceBefore, int spaceAfter, int lineSpacing,
                              int32_t leftIndent, int32_t rightIndent, int32_t firstIndent)
{
    applyParagraphSettings(*this, alignment, size, spaceBefore, spaceAfter, lineSpacing, leftIndent, rightIndent,
                           firstIndent);
}

void TRTFWriter::writeLines(std::string_view text, std::string_view prefix, bool literal)
{
    // Runs of ordinary bytes are copied whole; the body is handed over once the text is in.
    body_.append(prefix);
    const char* p = text.data();
    const char* const end = p + text.size();
    for (;;) {
        const char* special = nextSpecial(p, end, literal);
        body_.append(p, static_cast<std::size_t>(special - p));
        if (special == end)
            break;
        p = special + 1;
        if (*special != '\r') {
            const char escaped[] = {'\\', *special};
            body_.append(escaped, sizeof escaped);
        } else if (p != end && *p == '\n') {
            body_.append("\\par");
            body_.append(prefix);
            ++p;
        } else {
            body_.push_back('\r');
        }
    }
    if (body_.size() >= flushAt_)
        flush();
}

void TRTFWriter::WriteText(std::string_view text) { writeLines(text, " ", false); }
void TRTFWriter::WriteCellText(std::string_view text) { writeLines(text, "\\intbl ", false); }
void TRTFWriter::WriteBullets(std::string_view text) { writeBullets(text, false); }
void TRTFWriter::WriteLiteralText(std::string_view text) { writeLines(text, " ", true); }
void TRTFWriter::WriteLiteralCellText(std::string_view text) { writeLines(text, "\\intbl ", true); }
void TRTFWriter::WriteLiteralBullets(std::string_view text) { writeBullets(text, true); }
void TRTFWriter::WriteWords(std::string_view words) { append(words); }

void TRTFWriter::writeBullets(std::string_view text, bool literal)
{
    SetIndent(2, -240);
    SetIndent(0, 240);
    // Every line starts with the bullet in the symbol font, then returns to the text font.
    char prefix[64];
    char* out = prefix;
    const auto put = [&out](std::string_view part) { out = std::copy(part.begin(), part.end(), out); };
    const auto fontWord = [&](std::string_view name) {
        if (const int number = useFont(name)) {
            put("\\f");
            out = std::to_chars(out, prefix + sizeof prefix, number).ptr;
        }
    };
    fontWord("Symbol");
    put(" \\tx240 \\'b7\\tab ");
    fontWord("Times New Roman");
    put(" ");
    writeLines(text, std::string_view(prefix, static_cast<std::size_t>(out - prefix)), literal);
}

void TRTFWriter::Par() { append("\\par"); }
void TRTFWriter::PageBreak() { append("\\page"); }
void TRTFWriter::BeginFooter() { append("{\\footer "); }
void TRTFWriter::EndFooter() { append("}"); }

void TRTFWriter::BeginTable(int cells)
{
    append("\\trowd \\trgaph108\\trleft-108 \\pard\\intbl");
    // The cell count is a 16-bit field; a negative count opens a table without cells.
    const int count = static_cast<int16_t>(cells);
    CellBorders none;
    none.fill(kNoBorder);
    table_.assign(count > 0 ? static_cast<std::size_t>(count) : 0, none);
}

void TRTFWriter::setBorder(CellBorders& cell, int side, int style)
{
    // Every style without a word is written alike, so they share one code.
    const auto code = static_cast<int8_t>(borderStyleWord(style).empty() ? 0 : style);
    if (side >= 0 && side <= 3)
        cell[static_cast<std::size_t>(side)] = code;
    else if (side == 7)
        cell.fill(code);
}

void TRTFWriter::SetBorders(int side, int style)
{
    for (auto& cell : table_)
        setBorder(cell, side, style);
}

void TRTFWriter::SetCellBorder(int cell, int side, int style)
{
    // Cells outside the open table are ignored rather than written past its state.
    if (cell >= 1 && static_cast<std::size_t>(cell) <= table_.size())
        setBorder(table_[static_cast<std::size_t>(cell) - 1], side, style);
}

void TRTFWriter::appendRowWords(std::string& out, std::span<const int> rightEdges) const
{
    constexpr std::string_view kWidth = "\\brdw15 ";
    for (std::size_t i = 0; i < rightEdges.size(); ++i) {
        // A cell beyond the table's count has no border state: it is defined without borders.
        if (i < table_.size()) {
            const CellBorders& cell = table_[i];
            for (std::size_t side = 0; side < 4; ++side) {
                if (cell[side] != kNoBorder) {
                    out.append(kSideWords[side]);
                    out.append(borderStyleWord(cell[side]));
                    out.append(kWidth);
                }
            }
        }
        out.append("\\cellx");
        appendDecimal(out, rightEdges[i]);
    }
}

void TRTFWriter::DefineCells(std::span<const int> rightEdges)
{
    for (const RowWords& known : rowWords_) {
        if (known.borders == table_ && std::ranges::equal(known.rightEdges, rightEdges)) {
            append(known.words);
            return;
        }
    }
    RowWords& row = rowWords_[nextRowWords_];
    nextRowWords_ = (nextRowWords_ + 1) % rowWords_.size();
    row.borders = table_;
    row.rightEdges.assign(rightEdges.begin(), rightEdges.end());
    row.words.clear();
    appendRowWords(row.words, rightEdges);
    append(row.words);
}

void TRTFWriter::EndCell() { append("\\cell"); }

void TRTFWriter::NextRow() { append("\\intbl \\row \\trowd \\trgaph108\\trleft-108 \\intbl"); }

void TRTFWriter::EndTable()
{
    append("\\widctlpar\\intbl \\row \\pard \\widctlpar ");
    table_.clear();
}

std::string TRTFWriter::header() const
{
    std::string out = "{\\rtf1\\ansi{\\fonttbl";
    for (std::size_t i = 0; i < fonts_.size(); ++i) {
        const FontSlot& font = fonts_[i];
        if (!font.used)
            continue;
        out.append("{\\f");
        appendDecimal(out, static_cast<long long>(i) + 1);
        out.append("\\f");
        out.append(font.family);
        out.append("\\fcharset");
        appendDecimal(out, font.charset);
        out.append("\\fprq2 ");
        out.append(font.name);
        out.append("}");
    }
    out.append("}");
    out.append(documentFormatWords(format_));
    return out;
}

void TRTFWriter::BuildDocument()
{
    // In place: a report of tens of megabytes is not copied into a second buffer, whose fresh pages
    // would cost as much as building the body did. Reserve() leaves room for the header.
    const std::string head = header();
    body_.reserve(head.size() + body_.size() + 1);
    body_.insert(0, head);
    body_.push_back('}');
    format_ = TRTFDocFormatting{};
}

void TRTFWriter::BeginStream(std::initializer_list<std::string_view> fonts, Sink sink)
{
    for (std::string_view name : fonts)
        if (FontSlot* font = findFont(name))
            font->used = true;
    body_.insert(0, header());
    headerWritten_ = true;
    sink_ = std::move(sink);
    if (sink_) {
        // The buffer is handed over whenever it passes one piece, so it never grows much beyond.
        Reserve(kStreamPiece + kStreamPiece / 4);
        flushAt_ = kStreamPiece;
    }
}

void TRTFWriter::flush()
{
    const bool taken = sink_(body_);
    body_.clear();
    if (!taken) {
        sink_ = {};
        flushAt_ = std::string::npos;
        throw StreamFailed();
    }
}

std::optional<std::string> TRTFWriter::EndStream()
{
    body_.push_back('}');
    format_ = TRTFDocFormatting{};
    if (sink_) {
        flush();
        sink_ = {};
        flushAt_ = std::string::npos;
    }
    headerWritten_ = false;
    if (!lateFont_.empty())
        return "the font '" + lateFont_ + "' was selected after the font table was written";
    return std::nullopt;
}

std::optional<std::string> TRTFWriter::SaveToFile(const std::string& path) const
{
    return writeFileAtomically(path, body_);
}
