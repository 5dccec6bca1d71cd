#include <QClipboard>
#include <QMimeData>
#include <QPainter>
#include <QTest>

#include "widgets/portfolio_diagram.h"
#include "widgets/portfolio_list.h"

namespace {

bool isRed(const QColor& c) { return c.red() > 200 && c.green() < 60 && c.blue() < 60; }
bool isBlack(const QColor& c) { return c.red() < 60 && c.green() < 60 && c.blue() < 60; }

// Counts red pixels of the picture the diagram draws on a chart of the given size.
int redPixels(const PortfolioDiagram& diagram, int size)
{
    QImage image(size, size, QImage::Format_ARGB32);
    QPainter painter(&image);
    diagram.draw(painter, image.rect(), true);
    painter.end();
    int red = 0;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            red += isRed(image.pixelColor(x, y)) ? 1 : 0;
    return red;
}

} // namespace

class PortfolioDiagramTest : public QObject {
    Q_OBJECT

private slots:
    void geometryRoundsHalvesToEven()
    {
        QCOMPARE(portfolio::nint(118.5), 118);
        QCOMPARE(portfolio::nint(119.5), 120);
        QCOMPARE(portfolio::nint(-0.5), 0);

        const QSize screen(237, 237);
        QCOMPARE(portfolio::dotPosition(screen, 5, 5), QPoint(116, 116));
        QCOMPARE(portfolio::centreLines(screen), QPoint(118, 118));
        QCOMPARE(portfolio::dotPosition(screen, 10, 10), QPoint(231, 0));
        QCOMPARE(portfolio::dotPosition(screen, 1, 1), QPoint(23, 208));
        // Impact 10, likelihood 1: top-left quarter.
        QCOMPARE(portfolio::dotPosition(screen, 10, 1), QPoint(23, 0));

        const QSize copy(241, 241);
        QCOMPARE(portfolio::centreLines(copy), QPoint(120, 120)); // 120.5 rounds to 120
        QCOMPARE(portfolio::dotPosition(copy, 10, 10), QPoint(235, 0));
    }

    void plotValuesPackVerticalLowHorizontalHigh()
    {
        QCOMPARE(PortfolioList::makePlotValues(7, 3), uint32_t(7u | (3u << 16)));
        QCOMPARE(PortfolioList::verticalOf(PortfolioList::makePlotValues(10, 1)), 10);
        QCOMPARE(PortfolioList::horizontalOf(PortfolioList::makePlotValues(10, 1)), 1);
        QVERIFY(PortfolioList::makePlotValues(1, 1) != 0);
    }

    void picksTheNearestDotAndTheEarlierRowOfEqualDots()
    {
        PortfolioList list;
        list.addRow("Area", {}, 0);
        list.addRow("first", {"5", "5"}, PortfolioList::makePlotValues(5, 5));
        list.addRow("Other area", {}, 0);
        list.addRow("second", {"5", "5"}, PortfolioList::makePlotValues(5, 5));
        list.addRow("corner", {"10", "10"}, PortfolioList::makePlotValues(10, 10));
        PortfolioDiagram diagram;
        diagram.setList(&list);
        diagram.resize(237, 237);

        QCOMPARE(diagram.rowNearest(QPoint(119, 119)), 1);
        QCOMPARE(diagram.rowNearest(QPoint(230, 5)), 4);
        QCOMPARE(diagram.rowNearest(QPoint(-500, 900)), 1); // far away still picks the nearest

        diagram.show();
        QVERIFY(QTest::qWaitForWindowExposed(&diagram));
        QTest::mouseClick(&diagram, Qt::RightButton, {}, QPoint(200, 20));
        QCOMPARE(list.selectedRow(), 4);
    }

    void headingRowsAreNeverPlottedOrPicked()
    {
        PortfolioList list;
        PortfolioDiagram diagram;
        diagram.setList(&list);
        diagram.resize(237, 237);
        QCOMPARE(diagram.rowNearest(QPoint(10, 10)), -1);
        list.addRow("Heading", {}, 0);
        list.addRow("Heading 2", {}, 0);
        QCOMPARE(diagram.rowNearest(QPoint(10, 10)), -1);
        diagram.pick(QPoint(10, 10));
        QCOMPARE(list.selectedRow(), -1);

        // A selected heading leaves every dot black.
        list.addRow("real", {"3", "4"}, PortfolioList::makePlotValues(3, 4));
        list.selectRow(0);
        QCOMPARE(redPixels(diagram, 237), 0);
        list.selectRow(2);
        QCOMPARE(redPixels(diagram, 237), 36);
    }

    void drawingPutsDotsWhereTheGeometrySays()
    {
        PortfolioList list;
        list.addRow("a", {}, PortfolioList::makePlotValues(1, 1));
        list.addRow("b", {}, PortfolioList::makePlotValues(10, 10));
        list.selectRow(1);
        PortfolioDiagram diagram;
        diagram.setList(&list);
        diagram.setParams(PortfolioParams::risks());

        QImage image(237, 237, QImage::Format_ARGB32);
        image.fill(Qt::blue);
        QPainter painter(&image);
        diagram.draw(painter, image.rect(), true);
        painter.end();
        QVERIFY(isBlack(image.pixelColor(23, 208)));
        QVERIFY(isBlack(image.pixelColor(28, 213)));
        QVERIFY(isRed(image.pixelColor(231, 0)));
        QVERIFY(isRed(image.pixelColor(236, 5)));
        QCOMPARE(image.pixelColor(118, 60), QColor(0x80, 0x80, 0x80)); // dotted centre line
        QVERIFY(image.pixelColor(150, 150) != QColor(Qt::blue));

        // Without the full drawing only texts and dots are painted over the old picture.
        QImage overlay(237, 237, QImage::Format_ARGB32);
        overlay.fill(Qt::blue);
        QPainter again(&overlay);
        diagram.draw(again, overlay.rect(), false);
        again.end();
        QCOMPARE(overlay.pixelColor(150, 150), QColor(Qt::blue));
        QVERIFY(isRed(overlay.pixelColor(231, 0)));
    }

    void copyPutsSvgAndPngOfTheSamePictureOnTheClipboard()
    {
        PortfolioList list;
        list.addRow("a", {}, PortfolioList::makePlotValues(5, 5));
        list.selectRow(0);
        PortfolioDiagram diagram;
        diagram.setList(&list);
        diagram.setParams(PortfolioParams::changes());
        diagram.resize(237, 237);
        diagram.copyToClipboard();

        const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
        QVERIFY(mime);
        QVERIFY(mime->hasFormat(QStringLiteral("image/svg+xml")));
        QVERIFY(mime->hasFormat(QStringLiteral("image/png")));
        const QByteArray svg = mime->data(QStringLiteral("image/svg+xml"));
        QVERIFY(svg.contains("<svg"));
        QVERIFY(svg.contains("241"));
        QVERIFY(svg.contains("#ff0000"));

        QImage png;
        QVERIFY(png.loadFromData(mime->data(QStringLiteral("image/png")), "PNG"));
        QCOMPARE(png.size(), QSize(241, 241));
        // The copy uses its own 241-pixel geometry: (5,5) lands at nint(117.5) = 118.
        QVERIFY(isRed(png.pixelColor(118, 118)));
        QVERIFY(isRed(png.pixelColor(123, 123)));
    }

    void listCopiesCaptionsAndSubItems()
    {
        PortfolioList list;
        list.setColumns({"Risk Description", "PI", "LO"}, {200, 40, 40});
        list.addRow("Flood", {"7", "2"}, PortfolioList::makePlotValues(7, 2));
        list.addRow("Area", {}, 0);
        QCOMPARE(list.copyText(), QStringLiteral("Flood\t7\t2\r\nArea\r\n"));
        list.clearRows();
        QCOMPARE(list.copyText(), QString());
    }
};

QTEST_MAIN(PortfolioDiagramTest)
#include "widgets_portfolio_diagram_test.moc"
