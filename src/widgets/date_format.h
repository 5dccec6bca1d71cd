#pragma once

// The program-wide short date format and the conversions between model dates (day counts) and
// Qt's dates. Short-date text is written and read with the core's helpers only, so what a date
// picker shows and what a window parses agree whatever the system locale says.

#include <QDate>
#include <QString>

#include "model/date_time.h"

// dd/mm/yyyy until a window sets another (the Action Page sets d/m/yy for the whole program).
ShortDateFormat& programShortDateFormat();

// The format in Qt's display notation, for date pickers: "dd/MM/yyyy", "d/M/yy".
QString qtDisplayFormat(const ShortDateFormat& format);

// A date as short-date text in the program-wide format, and back (two-digit years within fifty
// years of this year); an invalid QDate when the text is not a date.
QString formatProgramDate(const QDate& date);
QDate parseProgramDate(const QString& text);

// Model dates carry the time of day as a fraction; a QDate has none.
QDate toQDate(double dateTime);
double fromQDate(const QDate& date);
