#pragma once

// Window layouts are described in pixels for a small 8-point font whose lines are 13 pixels high
// and whose average character is 5 pixels wide. The program uses the platform's font, usually
// larger: sizes are scaled by how much larger it is, so no caption, label or cell text is cut off.

#include <QSize>

class QWidget;

// The factor for `widget`'s font, never below 1.
double layoutScale(const QWidget* widget);
int scaledPixels(const QWidget* widget, int pixels);
QSize scaledSize(const QWidget* widget, int width, int height);
