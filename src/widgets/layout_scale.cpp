#include "widgets/layout_scale.h"

#include <QFontMetricsF>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace {

constexpr double kDescribedLineHeight = 13.0;
constexpr double kDescribedCharWidth = 5.0;

} // namespace

double layoutScale(const QWidget* widget)
{
    const QFontMetricsF metrics(widget->font());
    return std::max({1.0, metrics.height() / kDescribedLineHeight, metrics.averageCharWidth() / kDescribedCharWidth});
}

int scaledPixels(const QWidget* widget, int pixels)
{
    return static_cast<int>(std::lround(pixels * layoutScale(widget)));
}

QSize scaledSize(const QWidget* widget, int width, int height)
{
    return {scaledPixels(widget, width), scaledPixels(widget, height)};
}
