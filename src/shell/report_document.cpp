#include "shell/report_document.h"

#include "widgets/portfolio_diagram.h"
#include "widgets/text_convert.h"

#include <QAbstractTextDocumentLayout>
#include <QImage>
#include <QPainter>
#include <QTextList>
#include <QTextTable>
#include <QUrl>

#include <algorithm>

namespace {

constexpr std::string_view kLineBreak = "\r\n";
// Cell text keeps this far from the cell's sides, as in the RTF document's rows.
constexpr int kCellGap = 108;
constexpr int kBorderWidth = 15;
constexpr int kWidestTable = 9600;
constexpr int kBulletIndent = 240;
constexpr int kTwipsPerPoint = 20;
// The diagrams are drawn in screen pixels of 1/96 inch.
constexpr int kTwipsPerScreenPixel = 15;

PortfolioParams diagramParams(ReportDiagram which)
{
    switch (which) {
    case ReportDiagram::Changes: return PortfolioParams::changes();
    case ReportDiagram::Risks: return PortfolioParams::risks();
    case ReportDiagram::Customers:
    case ReportDiagram::Products: return PortfolioParams::customersOrProducts();
    case ReportDiagram::Capabilities: return PortfolioParams::capabilities();
    }
    return {};
}

// The diagram as a workshop page lays it out, in screen pixels of 1/96 inch: the vertical caption
// above the 245-pixel framed panel, the chart inside it, the horizontal caption right-aligned below.
// Drawn at `scale` times those pixels, so it prints sharply.
QImage diagramPicture(ReportDiagram which, std::span<const uint32_t> plotValues, qreal scale)
{
    const PortfolioParams params = diagramParams(which);
    const QFont font;
    const int captionHeight = QFontMetrics(font).height();
    const QSize size(245, captionHeight + 2 + 245 + 2 + captionHeight);
    // Without transparency, so a PDF holds the picture as one image without a mask.
    QImage image((QSizeF(size) * scale).toSize(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.scale(scale, scale);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(QRect(0, 0, size.width(), captionHeight), Qt::AlignLeft | Qt::AlignVCenter,
                     params.verticalCaption);
    const int panelTop = captionHeight + 2;
    painter.setPen(QColor(0x80, 0x80, 0x80));
    painter.drawRect(QRect(0, panelTop, 244, 244));
    painter.setPen(Qt::black);
    painter.drawText(QRect(0, panelTop + 247, size.width(), captionHeight), Qt::AlignRight | Qt::AlignVCenter,
                     params.horizontalCaption);
    painter.translate(2, panelTop + 2);
    portfolio::drawChart(painter, QRect(0, 0, portfolio::kCopySize, portfolio::kCopySize), true,
                         {params, plotValues, -1, Qt::white, Qt::black});
    return image;
}

QTextFrameFormat::BorderStyle borderStyle(int style)
{
    switch (style) {
    case 4: return QTextFrameFormat::BorderStyle_Double;
    case 5: return QTextFrameFormat::BorderStyle_Dotted;
    case 6: return QTextFrameFormat::BorderStyle_Dashed;
    default: return QTextFrameFormat::BorderStyle_Solid;
    }
}

Qt::Alignment alignmentOf(int code)
{
    switch (code) {
    case 1: return Qt::AlignRight;
    case 2: return Qt::AlignHCenter;
    case 3: return Qt::AlignJustify;
    default: return Qt::AlignLeft;
    }
}

} // namespace

TextDocumentReportWriter::TextDocumentReportWriter() : document_(std::make_unique<QTextDocument>())
{
    // Lines break by the fonts' design, which any device can reproduce; hinted widths belong to
    // one screen.
    document_->setUseDesignMetrics(true);
    document_->setDocumentMargin(0);
    document_->setIndentWidth(kBulletIndent);
    document_->setDefaultFont(charFormat().font());
    cursor_ = QTextCursor(document_.get());
}

TextDocumentReportWriter::~TextDocumentReportWriter() = default;

ReportDocument TextDocumentReportWriter::take()
{
    finishParagraph();
    furniture_.body = std::move(document_);
    return std::move(furniture_);
}

QTextCharFormat TextDocumentReportWriter::charFormat() const
{
    QTextCharFormat format;
    format.setFontFamilies({char_.family});
    format.setProperty(QTextFormat::FontPixelSize, char_.points * kTwipsPerPoint);
    // Without ligatures: a PDF reader gives such a glyph back as one letter ("ff" as a single
    // character), and searching or copying would no longer find what was written.
    format.setFontStyleStrategy(QFont::PreferNoShaping);
    format.setFontWeight(char_.bold ? QFont::Bold : QFont::Normal);
    format.setFontItalic(char_.italic);
    format.setFontStrikeOut(char_.strike);
    format.setUnderlineStyle(char_.underline);
    return format;
}

QTextBlockFormat TextDocumentReportWriter::blockFormat() const
{
    QTextBlockFormat format;
    format.setAlignment(alignmentOf(para_.alignment));
    format.setTopMargin(para_.spaceBefore);
    format.setBottomMargin(para_.spaceAfter);
    format.setLeftMargin(para_.left);
    format.setRightMargin(para_.right);
    format.setTextIndent(para_.first);
    // Positive spacing is a least line height, negative an exact one.
    if (para_.lineSpacing > 0)
        format.setLineHeight(para_.lineSpacing, QTextBlockFormat::MinimumHeight);
    else if (para_.lineSpacing < 0)
        format.setLineHeight(-para_.lineSpacing, QTextBlockFormat::FixedHeight);
    return format;
}

void TextDocumentReportWriter::SetFont(std::string_view name) { char_.family = toQt(name); }

void TextDocumentReportWriter::SetFontSize(int points)
{
    if (points >= 2 && points < 64)
        char_.points = points;
}

void TextDocumentReportWriter::SetStyle(int code)
{
    switch (code) {
    case 0:
        char_.bold = char_.italic = char_.strike = false;
        char_.underline = QTextCharFormat::NoUnderline;
        break;
    case 1: char_.bold = true; break;
    case 2: char_.italic = true; break;
    case 3:
    case 9: char_.underline = QTextCharFormat::SingleUnderline; break;
    case 10: char_.underline = QTextCharFormat::DotLine; break;
    case 4: char_.bold = false; break;
    case 5: char_.italic = false; break;
    case 6: char_.underline = QTextCharFormat::NoUnderline; break;
    case 7: char_.strike = true; break;
    case 8: char_.strike = false; break;
    default: break;
    }
}

void TextDocumentReportWriter::SetAlignment(int code)
{
    if (code >= 0 && code <= 3)
        para_.alignment = code;
}

void TextDocumentReportWriter::SetIndent(int kind, int32_t twips)
{
    if (kind == 0)
        para_.left = twips;
    else if (kind == 1)
        para_.right = twips;
    else if (kind == 2)
        para_.first = twips;
}

void TextDocumentReportWriter::SetSpacing(int kind, int twips)
{
    // 16-bit values, as in the RTF document.
    const int value = static_cast<int16_t>(twips);
    if (kind == 0)
        para_.spaceBefore = value;
    else if (kind == 1)
        para_.spaceAfter = value;
    else if (kind == 2)
        para_.lineSpacing = value;
}

void TextDocumentReportWriter::finishParagraph()
{
    if (!inFooter_)
        cursor_.mergeBlockFormat(blockFormat());
}

void TextDocumentReportWriter::openParagraph()
{
    if (!paragraphDue_)
        return;
    cursor_.insertBlock(blockFormat(), charFormat());
    paragraphDue_ = false;
}

void TextDocumentReportWriter::writePieces(std::string_view text, bool bullets)
{
    if (inFooter_)
        return;
    QTextList* list = nullptr;
    for (bool first = true;; first = false) {
        if (!first)
            Par();
        openParagraph();
        const auto end = text.find(kLineBreak);
        if (bullets) {
            if (list) {
                list->add(cursor_.block());
            } else {
                QTextListFormat format;
                format.setStyle(QTextListFormat::ListDisc);
                format.setIndent(1);
                list = cursor_.createList(format);
            }
        }
        // The paragraph's own font sizes its bullet and, when it stays empty, its height. Merged:
        // a table cell's first paragraph keeps the cell's borders in the same format.
        const QTextCharFormat format = charFormat();
        cursor_.mergeBlockCharFormat(format);
        cursor_.insertText(toQt(text.substr(0, end)), format);
        if (end == std::string_view::npos)
            return;
        text.remove_prefix(end + kLineBreak.size());
    }
}

void TextDocumentReportWriter::WriteText(std::string_view text) { writePieces(text, false); }

// A text block cannot be kept with the next one; a table's title can at worst end a page.
void TextDocumentReportWriter::WriteKeptText(std::string_view text) { writePieces(text, false); }

void TextDocumentReportWriter::WriteCellText(std::string_view text) { writePieces(text, false); }

void TextDocumentReportWriter::WriteBullets(std::string_view text) { writePieces(text, true); }

void TextDocumentReportWriter::WritePageNumber()
{
    // Pages are numbered as they are printed; here only the footer's look is taken.
    if (!inFooter_)
        return;
    furniture_.pageNumbers = true;
    furniture_.pageNumberAlignment = alignmentOf(para_.alignment);
    QFont font(char_.family, char_.points, char_.bold ? QFont::Bold : QFont::Normal, char_.italic);
    furniture_.pageNumberFont = font;
}

void TextDocumentReportWriter::Par()
{
    if (inFooter_)
        return;
    // A paragraph is only started when something goes into it, so that a table or a page break
    // that follows does not leave an empty line behind.
    if (paragraphDue_)
        cursor_.insertBlock(blockFormat(), charFormat());
    finishParagraph();
    paragraphDue_ = true;
}

void TextDocumentReportWriter::PageBreak()
{
    if (inFooter_)
        return;
    if (paragraphDue_) {
        openParagraph();
    } else if (cursor_.block().length() > 1) {
        finishParagraph();
        cursor_.insertBlock(blockFormat(), charFormat());
    }
    QTextBlockFormat breaking;
    breaking.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    cursor_.mergeBlockFormat(breaking);
}

// The footer has its own settings; what it changes ends with it.
void TextDocumentReportWriter::BeginFooter()
{
    savedChar_ = char_;
    savedPara_ = para_;
    inFooter_ = true;
}

void TextDocumentReportWriter::EndFooter()
{
    char_ = savedChar_;
    para_ = savedPara_;
    inFooter_ = false;
}

void TextDocumentReportWriter::BeginTable(int cells)
{
    if (inFooter_)
        return;
    const int count = static_cast<int16_t>(cells);
    borders_.assign(static_cast<std::size_t>(std::max(count, 0)), CellBorders{-1, -1, -1, -1});
    table_ = nullptr;
    row_ = -1;
    // A table starts with default paragraph settings.
    para_ = ParaState{};
}

void TextDocumentReportWriter::setBorder(CellBorders& cell, int side, int style)
{
    if (side >= 0 && side <= 3)
        cell[static_cast<std::size_t>(side)] = style;
    else if (side == 7)
        cell.fill(style);
}

void TextDocumentReportWriter::SetBorders(int side, int style)
{
    for (CellBorders& cell : borders_)
        setBorder(cell, side, style);
}

void TextDocumentReportWriter::SetCellBorder(int cell, int side, int style)
{
    if (cell >= 1 && static_cast<std::size_t>(cell) <= borders_.size())
        setBorder(borders_[static_cast<std::size_t>(cell) - 1], side, style);
}

void TextDocumentReportWriter::DefineCells(std::span<const int> rightEdges)
{
    if (inFooter_ || borders_.empty() || rightEdges.empty())
        return;
    const int columns = static_cast<int>(rightEdges.size());
    if (!table_) {
        QTextTableFormat format;
        // Shares of the widest table, which spans the text: paper narrower than the RTF document's
        // (A4) takes every table narrower alike.
        QList<QTextLength> widths;
        int left = 0;
        for (const int edge : rightEdges) {
            widths.append(QTextLength(QTextLength::PercentageLength, 100.0 * std::max(edge - left, 0) / kWidestTable));
            left = edge;
        }
        format.setColumnWidthConstraints(widths);
        format.setAlignment(Qt::AlignLeft);
        format.setBorderCollapse(true);
        format.setBorder(0);
        format.setBorderStyle(QTextFrameFormat::BorderStyle_None);
        format.setCellSpacing(0);
        format.setCellPadding(0);
        format.setMargin(0);
        // Every table opens with its header row; on a page it continues on, the header comes again.
        format.setHeaderRowCount(1);
        paragraphDue_ = false;
        table_ = cursor_.insertTable(1, columns, format);
        row_ = 0;
    } else {
        table_->appendRows(1);
        ++row_;
    }
    for (int column = 0; column < std::min(columns, table_->columns()); ++column) {
        const CellBorders sides = static_cast<std::size_t>(column) < borders_.size()
            ? borders_[static_cast<std::size_t>(column)]
            : CellBorders{-1, -1, -1, -1};
        QTextTableCellFormat format;
        format.setLeftPadding(kCellGap);
        format.setRightPadding(kCellGap);
        format.setTopPadding(kBorderWidth);
        format.setBottomPadding(kBorderWidth);
        const auto border = [&](std::size_t side) {
            // Style 0 is a border without a line, as in the RTF document.
            const int style = sides[side];
            const bool drawn = style > 0 && style < 8;
            const int width = style == 4 ? 3 * kBorderWidth : style == 2 ? 2 * kBorderWidth : kBorderWidth;
            return std::pair{drawn ? qreal(width) : 0.0,
                             drawn ? borderStyle(style) : QTextFrameFormat::BorderStyle_None};
        };
        const auto [left, leftStyle] = border(0);
        const auto [right, rightStyle] = border(1);
        const auto [top, topStyle] = border(2);
        const auto [bottom, bottomStyle] = border(3);
        format.setLeftBorder(left);
        format.setLeftBorderStyle(leftStyle);
        format.setRightBorder(right);
        format.setRightBorderStyle(rightStyle);
        format.setTopBorder(top);
        format.setTopBorderStyle(topStyle);
        format.setBottomBorder(bottom);
        format.setBottomBorderStyle(bottomStyle);
        format.setBorderBrush(Qt::black);
        table_->cellAt(row_, column).setFormat(format);
    }
    cell_ = 0;
    enterCell();
}

void TextDocumentReportWriter::enterCell()
{
    cursor_ = table_->cellAt(row_, cell_).firstCursorPosition();
    paragraphDue_ = false;
}

void TextDocumentReportWriter::EndCell()
{
    if (!table_)
        return;
    finishParagraph();
    if (cell_ + 1 < table_->columns()) {
        ++cell_;
        enterCell();
    }
}

void TextDocumentReportWriter::NextRow() {}

void TextDocumentReportWriter::EndTable()
{
    if (table_) {
        cursor_ = table_->lastCursorPosition();
        cursor_.movePosition(QTextCursor::NextBlock);
    }
    table_ = nullptr;
    borders_.clear();
    paragraphDue_ = false;
    para_ = ParaState{};
}

void TextDocumentReportWriter::Diagram(ReportDiagram which, std::span<const uint32_t> plotValues)
{
    // A diagram without a dot says nothing a reader needs.
    if (inFooter_ || table_ || std::none_of(plotValues.begin(), plotValues.end(), [](uint32_t v) { return v != 0; }))
        return;
    if (!paragraphDue_ && cursor_.block().length() > 1)
        Par();
    openParagraph();
    // Printed at 300 dots per inch, placed at its size on screen.
    constexpr qreal kScreenDpi = 96;
    constexpr qreal kPrintDpi = 300;
    const QImage picture = diagramPicture(which, plotValues, kPrintDpi / kScreenDpi);
    const QUrl name(QStringLiteral("diagram:%1").arg(static_cast<int>(which)));
    document_->addResource(QTextDocument::ImageResource, name, picture);
    QTextBlockFormat centred = blockFormat();
    centred.setAlignment(Qt::AlignHCenter);
    centred.setTopMargin(240);
    centred.setBottomMargin(240);
    cursor_.setBlockFormat(centred);
    QTextImageFormat image;
    image.setName(name.toString());
    image.setWidth(picture.width() / kPrintDpi * kScreenDpi * kTwipsPerScreenPixel);
    image.setHeight(picture.height() / kPrintDpi * kScreenDpi * kTwipsPerScreenPixel);
    cursor_.insertImage(image);
    paragraphDue_ = true;
}
