#include "widgets/portfolio_diagram.h"

#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QSvgGenerator>
#include <QVBoxLayout>

#include <cmath>

#include "widgets/portfolio_list.h"

PortfolioParams PortfolioParams::changes()
{
    return {"Lose high\rimportance", "Unchanged high\rimportance", "Gain high\rimportance",
            "Unchanged low\rimportance", 2, "Today", "Tomorrow"};
}

PortfolioParams PortfolioParams::risks()
{
    return {"Unlikely\rOccurrences", "Critical Risk", "Low Impact", "Non-critical Risk", 1, "Impact", "Occurence"};
}

PortfolioParams PortfolioParams::customersOrProducts()
{
    return {"High importance\rlow match", "High importance\rhigh match", "Low importance\rhigh match",
            "Low importance\rlow match", 2, "Importance", "Match"};
}

PortfolioParams PortfolioParams::capabilities()
{
    return {"Declining\rimportance", "Unchanged\rhigh importance", "Gaining\rimportance",
            "Unchanged\rlow importance", 2, "Today", "Tomorrow"};
}

namespace portfolio {

int nint(double z)
{
    // The default rounding mode of the floating-point environment is to nearest, ties to even.
    return static_cast<int>(std::nearbyint(z));
}

QPoint dotPosition(const QSize& chart, int vertical, int horizontal)
{
    const double w = chart.width() - 6;
    const double h = chart.height() - 6;
    return {nint(horizontal * (0.1 * w)), nint(h - vertical * (0.1 * h))};
}

QPoint centreLines(const QSize& chart)
{
    const double w = chart.width() - 6;
    const double h = chart.height() - 6;
    return {nint(0.5 * w + 3), nint(0.5 * h + 3)};
}

} // namespace portfolio

namespace {

QString lines(const QString& text)
{
    QString out = text;
    out.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    out.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return out;
}

} // namespace

PortfolioDiagram::PortfolioDiagram(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PortfolioDiagram::setList(PortfolioList* list)
{
    if (list_)
        disconnect(list_, nullptr, this, nullptr);
    list_ = list;
    if (list_) {
        // A selection change only recolours two dots; Qt repaints the whole box, which gives
        // the same picture.
        connect(list_, &PortfolioList::selectedRowChanged, this, qOverload<>(&QWidget::update));
        connect(list_, &QObject::destroyed, this, [this] { list_ = nullptr; });
    }
    update();
}

void PortfolioDiagram::setParams(const PortfolioParams& params)
{
    params_ = params;
    update();
}

namespace portfolio {

void drawChart(QPainter& painter, const QRect& chart, bool full, const ChartContent& content)
{
    const PortfolioParams& params = content.params;
    const int right = chart.width();
    const int bottom = chart.height();
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    if (full) {
        painter.fillRect(chart, content.background);
        const QPoint centre = centreLines(chart.size());
        QPen dotted(QColor(0x80, 0x80, 0x80));
        dotted.setStyle(Qt::DotLine);
        dotted.setWidth(0);
        painter.setPen(dotted);
        painter.drawLine(centre.x(), 0, centre.x(), bottom - 1);
        painter.drawLine(0, centre.y(), right - 1, centre.y());
    }

    painter.setPen(content.text);
    painter.setBackgroundMode(Qt::OpaqueMode);
    painter.setBackground(content.background);
    const int lineHeight = QFontMetrics(painter.font()).height();
    const int flags = Qt::TextWordWrap | Qt::AlignTop;
    painter.drawText(QRect(QPoint(10, 10), QPoint(right, bottom)), flags | Qt::AlignLeft, lines(params.topLeft));
    painter.drawText(QRect(QPoint(10, 10), QPoint(right - 10, bottom)), flags | Qt::AlignRight, lines(params.topRight));
    const QRect bottomBox(QPoint(10, bottom - 10 - params.bottomLines * lineHeight), QPoint(right - 10, bottom - 10));
    painter.drawText(bottomBox, flags | Qt::AlignRight, lines(params.bottomRight));
    painter.drawText(bottomBox, flags | Qt::AlignLeft, lines(params.bottomLeft));
    painter.setBackgroundMode(Qt::TransparentMode);

    const auto dotAt = [&](uint32_t values) {
        return QRect(dotPosition(chart.size(), PortfolioList::verticalOf(values), PortfolioList::horizontalOf(values)),
                     QSize(6, 6));
    };
    for (const uint32_t values : content.plotValues)
        if (values != 0)
            painter.fillRect(dotAt(values), Qt::black);
    const bool selected = content.selected >= 0 && static_cast<std::size_t>(content.selected) < content.plotValues.size();
    if (selected && content.plotValues[static_cast<std::size_t>(content.selected)] != 0)
        painter.fillRect(dotAt(content.plotValues[static_cast<std::size_t>(content.selected)]), QColor(255, 0, 0));
    painter.restore();
}

} // namespace portfolio

void PortfolioDiagram::draw(QPainter& painter, const QRect& chart, bool full) const
{
    std::vector<uint32_t> plotValues;
    if (list_) {
        plotValues.reserve(static_cast<std::size_t>(list_->rowCount()));
        for (int row = 0; row < list_->rowCount(); ++row)
            plotValues.push_back(list_->plotValues(row));
    }
    portfolio::drawChart(painter, chart, full,
                         {params_, plotValues, list_ ? list_->selectedRow() : -1,
                          palette().color(QPalette::Active, QPalette::Base),
                          palette().color(QPalette::Active, QPalette::Text)});
}

int PortfolioDiagram::rowNearest(const QPoint& pos) const
{
    if (!list_)
        return -1;
    int best = -1;
    qint64 bestDistance = 0;
    for (int row = 0; row < list_->rowCount(); ++row) {
        const uint32_t values = list_->plotValues(row);
        if (values == 0)
            continue;
        const QPoint dot = portfolio::dotPosition(rect().size(), PortfolioList::verticalOf(values),
                                                  PortfolioList::horizontalOf(values));
        const qint64 dx = dot.x() + 3 - pos.x();
        const qint64 dy = dot.y() + 3 - pos.y();
        const qint64 distance = dx * dx + dy * dy;
        // Strictly nearer only: among equally near dots the earliest row keeps the pick.
        if (best < 0 || distance < bestDistance) {
            best = row;
            bestDistance = distance;
        }
    }
    return best;
}

void PortfolioDiagram::pick(const QPoint& pos)
{
    const int row = rowNearest(pos);
    if (row < 0)
        return;
    list_->setFocus(Qt::MouseFocusReason);
    list_->selectRow(row);
}

QImage PortfolioDiagram::pictureImage() const
{
    QImage image(portfolio::kCopySize, portfolio::kCopySize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setFont(font());
    draw(painter, image.rect(), true);
    return image;
}

QMimeData* PortfolioDiagram::pictureMimeData() const
{
    const QRect chart(0, 0, portfolio::kCopySize, portfolio::kCopySize);
    QByteArray svg;
    {
        QBuffer buffer(&svg);
        buffer.open(QIODevice::WriteOnly);
        QSvgGenerator generator;
        generator.setOutputDevice(&buffer);
        generator.setSize(chart.size());
        generator.setViewBox(chart);
        generator.setTitle(tr("Portfolio diagram"));
        QPainter painter(&generator);
        painter.setFont(font());
        draw(painter, chart, true);
    }
    const QImage image = pictureImage();
    QByteArray png;
    {
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
    }
    auto* mime = new QMimeData;
    mime->setData(QStringLiteral("image/svg+xml"), svg);
    mime->setData(QStringLiteral("image/png"), png);
    mime->setImageData(image);
    return mime;
}

void PortfolioDiagram::copyToClipboard()
{
    QGuiApplication::clipboard()->setMimeData(pictureMimeData());
}

void PortfolioDiagram::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setFont(font());
    draw(painter, rect(), true);
}

void PortfolioDiagram::mousePressEvent(QMouseEvent* event)
{
    pick(event->position().toPoint());
}

PortfolioChart::PortfolioChart(PortfolioList* list, const PortfolioParams& params, int paintSize, QWidget* parent)
    : QWidget(parent)
{
    constexpr int panelSize = 245;
    verticalCaption_ = new QLabel(params.verticalCaption, this);
    horizontalCaption_ = new QLabel(params.horizontalCaption, this);
    horizontalCaption_->setAlignment(Qt::AlignRight | Qt::AlignTop);

    panel_ = new QFrame(this);
    panel_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel_->setLineWidth(1);
    panel_->setFixedSize(panelSize, panelSize);
    diagram_ = new PortfolioDiagram(panel_);
    diagram_->setList(list);
    diagram_->setParams(params);
    const int inset = (panelSize - paintSize) / 2;
    diagram_->setGeometry(inset, inset, paintSize, paintSize);

    copyButton_ = new QPushButton(tr("&Copy Graph"), this);
    connect(copyButton_, &QPushButton::clicked, diagram_, &PortfolioDiagram::copyToClipboard);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(verticalCaption_, 0, Qt::AlignLeft);
    layout->addWidget(panel_);
    layout->addWidget(horizontalCaption_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(copyButton_);
    layout->addLayout(buttons);
    layout->addStretch();
    setFixedWidth(panelSize);
}
