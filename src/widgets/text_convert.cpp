#include "widgets/text_convert.h"

#include "model/core_text.h"
#include "model/cp1252.h"
#include "widgets/feedback.h"

#include <QCoreApplication>
#include <QTextBlock>
#include <QTextDocument>

QString toQt(std::string_view cp1252)
{
    QString out;
    out.reserve(static_cast<qsizetype>(cp1252.size()));
    for (std::size_t i = 0; i < cp1252.size(); ++i) {
        const auto byte = static_cast<uint8_t>(cp1252[i]);
        if (byte == '\r' && i + 1 < cp1252.size() && cp1252[i + 1] == '\n')
            continue; // CR LF becomes LF; the LF is appended next
        out.append(QChar(static_cast<char16_t>(cp1252ToCodePoint(byte))));
    }
    return out;
}

QString translated(const char* context, const CoreMessage& message)
{
    QString text = QCoreApplication::translate(context, message.key);
    const qsizetype at = text.indexOf(QLatin1String("%s"));
    if (at >= 0)
        text.replace(at, 2, toQt(message.value));
    return text;
}

std::string toModel(const QString& text, bool* lossless)
{
    std::string out;
    out.reserve(static_cast<std::size_t>(text.size()));
    bool ok = true;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\n')) {
            out += "\r\n";
            continue;
        }
        char32_t codePoint = c.unicode();
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            codePoint = QChar::surrogateToUcs4(c, text.at(i + 1));
            ++i;
        }
        if (auto byte = codePointToCp1252(codePoint)) {
            out.push_back(static_cast<char>(*byte));
        } else {
            out.push_back('?');
            ok = false;
        }
    }
    if (lossless)
        *lossless = ok;
    return out;
}

bool shownTextDiffers(std::string_view model, const QString& shown)
{
    return toQt(model) != shown;
}

std::string shownModelText(std::string_view model, const QString& shown)
{
    return shownTextDiffers(model, shown) ? toModel(shown) : std::string(model);
}

bool commitShownText(std::string& field, const QString& shown)
{
    if (!shownTextDiffers(field, shown))
        return false;
    field = toModel(shown);
    return true;
}

QString documentText(const QTextDocument& document)
{
    QString text;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block != document.begin())
            text += QLatin1Char('\n');
        text += block.text();
    }
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    return text;
}

bool isEncodable(const QString& text)
{
    bool ok = true;
    toModel(text, &ok);
    return ok;
}

QValidator::State Cp1252Validator::validate(QString& input, int&) const
{
    if (isEncodable(input))
        return Acceptable;
    feedback::textRefused();
    return Invalid;
}
