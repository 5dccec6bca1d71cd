#include "shell/report_printing.h"

#include "model/atomic_file.h"
#include "model/case_data.h"
#include "report/case_report.h"
#include "shell/report_document.h"
#include "widgets/text_convert.h"

#include <QAbstractTextDocumentLayout>
#include <QIODevice>
#include <QLocale>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinterInfo>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextLayout>

#include <cmath>

namespace {

// The page as the RTF document sets it up: an inch of margin on every side. The header and the
// footer sit in the outer half inch above and below the text.
constexpr qreal kSideMargin = 1.0;
constexpr qreal kHeaderBand = 0.5;

// Hands what the PDF engine writes on to a file being saved.
class SinkDevice : public QIODevice {
public:
    explicit SinkDevice(const ByteSink& sink) : sink_(sink) { open(QIODevice::WriteOnly); }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override
    {
        return sink_(std::string_view(data, static_cast<std::size_t>(size))) ? size : -1;
    }

private:
    const ByteSink& sink_;
};

// A picture that does not fit at the foot of a page goes to the next, but its paragraph, spacing
// and all, would still start on the page before, which then draws it too, outside the page. Such a
// paragraph starts on the new page instead.
void keepPicturesWhole(QTextDocument& document, qreal pageHeight)
{
    const auto pageOf = [pageHeight](qreal y) { return std::floor(y / pageHeight); };
    // Lays the whole document out first.
    document.pageCount();
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const QTextLayout* lines = block.layout();
        if (!block.text().contains(QChar::ObjectReplacementCharacter) || !lines || lines->lineCount() == 0)
            continue;
        const qreal top = document.documentLayout()->blockBoundingRect(block).top();
        const QTextLine picture = lines->lineAt(0);
        if (pageOf(top) == pageOf(lines->position().y() + picture.y() + picture.height() - 1))
            continue;
        QTextBlockFormat breaking;
        breaking.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
        QTextCursor(block).mergeBlockFormat(breaking);
    }
}

void paintPages(const ReportDocument& report, QPagedPaintDevice& device, QPainter& painter)
{
    // The document's lengths are twips.
    const qreal scaleX = device.logicalDpiX() / 1440.0;
    const qreal scaleY = device.logicalDpiY() / 1440.0;
    const QRect paper = device.pageLayout().paintRectPixels(device.logicalDpiX());
    const qreal band = kHeaderBand * device.logicalDpiY();
    const QRectF body(0, band, paper.width(), paper.height() - 2 * band);
    QTextDocument& document = *report.body;
    // Whole twips: the layout places lines in steps of 1/64, which a fraction would miss.
    const QSizeF page(std::floor(body.width() / scaleX), std::floor(body.height() / scaleY));
    document.setPageSize(page);
    keepPicturesWhole(document, page.height());

    // Dots and lines of the diagrams stay sharp, where a PDF would otherwise compress them as photos.
    painter.setRenderHint(QPainter::LosslessImageRendering);
    QFont headerFont(QStringLiteral("Times New Roman"), 9);
    headerFont.setItalic(true);
    headerFont.setStyleStrategy(QFont::PreferNoShaping);
    const int pages = document.pageCount();
    for (int number = 1; number <= pages; ++number) {
        if (number > 1)
            device.newPage();
        painter.save();
        painter.translate(body.topLeft());
        painter.scale(scaleX, scaleY);
        painter.translate(0, -(number - 1) * page.height());
        const QRectF pageArea(QPointF(0, (number - 1) * page.height()), page);
        painter.setClipRect(pageArea);
        // A line the layout moved to the next page starts where this one ends; a twip less at the
        // bottom keeps it off this one.
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = pageArea.adjusted(0, 0, 0, -1);
        document.documentLayout()->draw(&painter, context);
        painter.restore();

        // The title page shows the title large already.
        if (number > 1 && !report.title.isEmpty()) {
            painter.setFont(headerFont);
            const QString title =
                QFontMetricsF(headerFont, &device).elidedText(report.title, Qt::ElideRight, body.width());
            painter.drawText(QRectF(0, 0, body.width(), band * 0.6), Qt::AlignHCenter | Qt::AlignBottom, title);
        }
        if (report.pageNumbers) {
            painter.setFont(report.pageNumberFont);
            painter.drawText(QRectF(0, body.bottom() + band * 0.4, body.width(), band * 0.6),
                             report.pageNumberAlignment | Qt::AlignTop, QString::number(number));
        }
    }
}

} // namespace

std::optional<std::string> printCaseReport(const TCaseData& data, const ReportOptions& options,
                                           QPagedPaintDevice& device)
{
    device.setPageMargins(QMarginsF(kSideMargin, kHeaderBand, kSideMargin, kHeaderBand), QPageLayout::Inch);
    TextDocumentReportWriter writer;
    writeCaseReport(data, options, writer);
    ReportDocument report = writer.take();
    report.title = toQt(data.Title);
    QPainter painter;
    if (!painter.begin(&device))
        return std::string("the printer could not be started");
    paintPages(report, device, painter);
    if (!painter.end())
        return std::string("the printer could not finish the document");
    return std::nullopt;
}

std::optional<std::string> exportCasePdf(const TCaseData& data, const std::string& path, const ReportOptions& options,
                                         const QPageSize& paper)
{
    return writeFileAtomically(path, [&](const ByteSink& sink) {
        SinkDevice file(sink);
        QPdfWriter pdf(&file);
        pdf.setPageSize(paper);
        pdf.setTitle(toQt(data.Title));
        pdf.setCreator(QStringLiteral("Corvantix"));
        return printCaseReport(data, options, pdf);
    });
}

QPageSize defaultPaper()
{
    const QPrinterInfo printer = QPrinterInfo::defaultPrinter();
    if (!printer.isNull() && printer.defaultPageSize().isValid())
        return printer.defaultPageSize();
    const QLocale::Country country = QLocale().territory();
    const bool letter = QLocale().measurementSystem() == QLocale::ImperialUSSystem || country == QLocale::Canada
        || country == QLocale::Mexico;
    return QPageSize(letter ? QPageSize::Letter : QPageSize::A4);
}
