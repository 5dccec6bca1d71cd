#include "widgets/date_format.h"

const ShortDateFormat& programShortDateFormat()
{
    static const ShortDateFormat format;
    return format;
}

QString qtDisplayFormat(const ShortDateFormat& format)
{
    const QString separator = QString(QLatin1Char(format.separator));
    return QLatin1String(format.dayLeadingZero ? "dd" : "d") + separator +
           QLatin1String(format.monthLeadingZero ? "MM" : "M") + separator +
           QLatin1String(format.fourDigitYear ? "yyyy" : "yy");
}

QString formatShortDate(const QDate& date, const ShortDateFormat& format)
{
    if (!date.isValid())
        return {};
    return QString::fromStdString(formatShortDate(fromQDate(date), format));
}

QDate parseShortDate(const QString& text, const ShortDateFormat& format)
{
    const auto parsed = parseShortDate(text.toStdString(), format, currentYear());
    return parsed ? toQDate(*parsed) : QDate();
}

QString formatProgramDate(const QDate& date)
{
    return formatShortDate(date, programShortDateFormat());
}

QDate parseProgramDate(const QString& text)
{
    return parseShortDate(text, programShortDateFormat());
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
