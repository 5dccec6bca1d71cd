#pragma once

// Short date formats and the conversions between model dates (day counts) and Qt's dates. Short-date
// text is written and read with the core's helpers only, so what a date picker shows and what a
// window parses agree whatever the system locale says.

#include <QDate>
#include <QString>

#include "model/date_time.h"

// dd/mm/yyyy: what every date picker and date text shows unless its owner gives another format.
// No window changes it; a window with a format of its own sets it on its own controls.
const ShortDateFormat& programShortDateFormat();

// The format in Qt's display notation, for date pickers: "dd/MM/yyyy", "d/M/yyyy".
QString qtDisplayFormat(const ShortDateFormat& format);

// A date as short-date text, and back (two-digit years within fifty years of this year); an
// invalid QDate when the text is not a date.
QString formatShortDate(const QDate& date, const ShortDateFormat& format);
QDate parseShortDate(const QString& text, const ShortDateFormat& format);
QString formatProgramDate(const QDate& date);
QDate parseProgramDate(const QString& text);

// Model dates carry the time of day as a fraction; a QDate has none.
QDate toQDate(double dateTime);
double fromQDate(const QDate& date);
