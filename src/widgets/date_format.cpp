#include "widgets/date_format.h"

ShortDateFormat& programShortDateFormat()
{
    static ShortDateFormat format;
    return format;
}

QString qtDisplayFormat(const ShortDateFormat& format)
{
    const QString separator = QString(QLatin1Char(format.separator));
    return QLatin1String(format.dayLeadingZero ? "dd" : "d") + separator +
           QLatin1String(format.monthLeadingZero ? "MM" : "M") + separator +
           QLatin1String(format.fourDigitYear ? "yyyy" : "yy");
}

QString formatProgramDate(const QDate& date)
{
    if (!date.isValid())
        return {};
    return QString::fromStdString(formatShortDate(fromQDate(date), programShortDateFormat()));
}

QDate parseProgramDate(const QString& text)
{
    const auto parsed = parseShortDate(text.toStdString(), programShortDateFormat(), currentYear());
    return parsed ? toQDate(*parsed) : QDate();
}

QDate toQDate(double dateTime)
{
    const auto date = decodeDate(dateTime);
    return date ? QDate(date->year, date->month, date->day) : QDate();
}

double fromQDate(const QDate& date)
{
    return encodeDate(date.year(), date.month(), date.day());
}
