#pragma once

// The portfolio diagram: a square chart split into four quarters on which every plotted row of
// a PortfolioList is a 6 x 6 dot, the selected row's dot red. A press with any mouse button
// selects the row whose dot is nearest (the earliest row among equally near ones) and scrolls
// the list to it; Copy puts a 241 x 241 picture on the clipboard as SVG and as a PNG image,
// both drawn by the same routine as the screen.
//
// The component keeps no data: every paint reads the list and its selection, so the window only
// refills the list and the chart follows.

#include <QColor>
#include <QFrame>
#include <QString>
#include <QWidget>

#include <cstdint>
#include <span>

class QLabel;
class QMimeData;
class QPushButton;
class PortfolioList;

// What distinguishes the diagrams of the workshop pages.
struct PortfolioParams {
    // Quarter texts; "\r" or "\n" breaks a line.
    QString topLeft;
    QString topRight;
    QString bottomRight;
    QString bottomLeft;
    int bottomLines = 2; // text lines kept free for the two bottom texts
    QString verticalCaption;
    QString horizontalCaption;

    // The four diagrams of the workshops.
    static PortfolioParams changes();
    static PortfolioParams risks();
    static PortfolioParams customersOrProducts();
    static PortfolioParams capabilities();
};

namespace portfolio {

// Nearest integer, halves to the even neighbour.
int nint(double z);
// Dot of a row with the given values in a chart rectangle of the given size (its top-left is
// the origin): the dot covers (x, y) to (x + 6, y + 6).
QPoint dotPosition(const QSize& chart, int vertical, int horizontal);
// x of the vertical centre line and y of the horizontal one.
QPoint centreLines(const QSize& chart);

constexpr int kCopySize = 241;

// What a chart shows: the rows' plot values in list order (0 for a heading row, not plotted), the
// selected row's dot red (-1 for none), in the given colours.
struct ChartContent {
    const PortfolioParams& params;
    std::span<const uint32_t> plotValues;
    int selected = -1;
    QColor background;
    QColor text;
};

// Draws the chart into `chart` (whose top-left must be the origin) with the painter's font. A
// full drawing paints the background and the centre lines first; without it only texts and dots
// are drawn over what is there. Needs no widget, so it also draws on paper.
void drawChart(QPainter& painter, const QRect& chart, bool full, const ChartContent& content);

} // namespace portfolio

class PortfolioDiagram : public QWidget {
    Q_OBJECT
public:
    explicit PortfolioDiagram(QWidget* parent = nullptr);

    void setList(PortfolioList* list);
    PortfolioList* list() const { return list_; }
    void setParams(const PortfolioParams& params);
    const PortfolioParams& params() const { return params_; }

    // Draws the chart into `chart` (whose top-left must be the origin). A full drawing paints
    // the background and the centre lines first; without it only texts and dots are drawn over
    // what is there.
    void draw(QPainter& painter, const QRect& chart, bool full) const;

    // The row a press at `pos` picks, or -1 when no row is plotted.
    int rowNearest(const QPoint& pos) const;
    // Selects that row in the list, gives the list the focus and scrolls the row into view.
    void pick(const QPoint& pos);

    // The 241 x 241 picture as the clipboard gets it: "image/svg+xml" and a PNG image.
    QMimeData* pictureMimeData() const;
    QImage pictureImage() const;

public slots:
    void copyToClipboard();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    PortfolioList* list_ = nullptr;
    PortfolioParams params_;
};

// The diagram as the pages lay it out: the vertical axis caption above the sunken 245 x 245
// panel, the paint box inside it (237 pixels four pixels in, or 241 pixels two in), the
// horizontal caption right-aligned below the panel, and the "&Copy Graph" button.
class PortfolioChart : public QWidget {
    Q_OBJECT
public:
    PortfolioChart(PortfolioList* list, const PortfolioParams& params, int paintSize, QWidget* parent = nullptr);

    PortfolioDiagram* diagram() const { return diagram_; }
    QFrame* panel() const { return panel_; }
    QPushButton* copyButton() const { return copyButton_; }
    QLabel* verticalCaption() const { return verticalCaption_; }
    QLabel* horizontalCaption() const { return horizontalCaption_; }

private:
    PortfolioDiagram* diagram_;
    QFrame* panel_;
    QPushButton* copyButton_;
    QLabel* verticalCaption_;
    QLabel* horizontalCaption_;
};
