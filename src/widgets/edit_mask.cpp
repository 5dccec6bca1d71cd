#include "widgets/edit_mask.h"

#include <algorithm>

#include "widgets/text_convert.h"

namespace {

bool isOptional(EditMask::Slot slot)
{
    switch (slot) {
    case EditMask::Slot::OptionalDigit:
    case EditMask::Slot::DigitOrSign:
    case EditMask::Slot::OptionalLetter:
    case EditMask::Slot::OptionalAlnum:
    case EditMask::Slot::OptionalAny:
        return true;
    default:
        return false;
    }
}

// Characters that mean something in a Qt input mask and so must be escaped as literals.
bool isQtMaskMeta(QChar c)
{
    return QStringLiteral("AaNnXx90DdHhBb#<>!\\[]{}").contains(c);
}

bool slotAccepts(EditMask::Slot slot, QChar c)
{
    switch (slot) {
    case EditMask::Slot::RequiredDigit:
    case EditMask::Slot::OptionalDigit: return c >= QLatin1Char('0') && c <= QLatin1Char('9');
    case EditMask::Slot::DigitOrSign:
        return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('+') || c == QLatin1Char('-');
    case EditMask::Slot::RequiredLetter:
    case EditMask::Slot::OptionalLetter: return c.isLetter();
    case EditMask::Slot::RequiredAlnum:
    case EditMask::Slot::OptionalAlnum: return c.isLetterOrNumber();
    case EditMask::Slot::RequiredAny:
    case EditMask::Slot::OptionalAny: return true;
    case EditMask::Slot::Literal: break;
    }
    return false;
}

// Fits typed characters to the positions of a literal-free mask, where any optional slot may stay
// empty: Acceptable when every character found a slot and no required slot is left over,
// Intermediate when only required positions are missing, Invalid otherwise.
QValidator::State fitToSlots(const QVector<EditMask::Position>& positions, const QString& input, int i, int k)
{
    if (i == input.size()) {
        for (int rest = k; rest < positions.size(); ++rest) {
            if (!isOptional(positions.at(rest).slot))
                return QValidator::Intermediate;
        }
        return QValidator::Acceptable;
    }
    if (k == positions.size())
        return QValidator::Invalid;
    QValidator::State best = QValidator::Invalid;
    if (slotAccepts(positions.at(k).slot, input.at(i)))
        best = fitToSlots(positions, input, i + 1, k + 1);
    if (best != QValidator::Acceptable && isOptional(positions.at(k).slot))
        best = std::max(best, fitToSlots(positions, input, i, k + 1));
    return best;
}

QChar applyCase(QChar c, EditMask::Case letterCase)
{
    switch (letterCase) {
    case EditMask::Case::Upper: return c.toUpper();
    case EditMask::Case::Lower: return c.toLower();
    case EditMask::Case::Keep: break;
    }
    return c;
}

} // namespace

EditMask EditMask::parse(const QString& classic)
{
    EditMask mask;
    // The fields are split at the last two semicolons that are not escaped; the positions field
    // itself may hold an escaped semicolon.
    QString positions = classic;
    QStringList tail;
    for (int field = 0; field < 2; ++field) {
        int cut = -1;
        for (int k = static_cast<int>(positions.size()) - 1; k >= 0; --k) {
            if (positions.at(k) == QLatin1Char(';') && (k == 0 || positions.at(k - 1) != QLatin1Char('\\'))) {
                cut = k;
                break;
            }
        }
        if (cut < 0)
            break;
        tail.prepend(positions.mid(cut + 1));
        positions.truncate(cut);
    }
    if (!tail.isEmpty())
        mask.saveLiterals_ = tail.at(0).trimmed() != QLatin1String("0");
    if (tail.size() > 1 && !tail.at(1).isEmpty())
        mask.blank_ = tail.at(1).at(0);

    Case letterCase = Case::Keep;
    for (int k = 0; k < positions.size(); ++k) {
        const QChar c = positions.at(k);
        Position p;
        p.letterCase = letterCase;
        switch (c.unicode()) {
        case '!': continue;
        case '>': letterCase = Case::Upper; continue;
        case '<':
            if (k + 1 < positions.size() && positions.at(k + 1) == QLatin1Char('>')) {
                letterCase = Case::Keep;
                ++k;
            } else {
                letterCase = Case::Lower;
            }
            continue;
        case '\\':
            if (k + 1 < positions.size())
                p.literal = positions.at(++k);
            else
                continue;
            break;
        case '0': p.slot = Slot::RequiredDigit; break;
        case '9': p.slot = Slot::OptionalDigit; break;
        case '#': p.slot = Slot::DigitOrSign; break;
        case 'L': p.slot = Slot::RequiredLetter; break;
        case 'l': p.slot = Slot::OptionalLetter; break;
        case 'A': p.slot = Slot::RequiredAlnum; break;
        case 'a': p.slot = Slot::OptionalAlnum; break;
        case 'C': p.slot = Slot::RequiredAny; break;
        case 'c': p.slot = Slot::OptionalAny; break;
        default: p.literal = c; break;
        }
        mask.positions_.append(p);
    }
    return mask;
}

bool EditMask::hasLiterals() const
{
    for (const auto& p : positions_) {
        if (p.slot == Slot::Literal)
            return true;
    }
    return false;
}

QString EditMask::qtInputMask() const
{
    QString out;
    Case current = Case::Keep;
    for (const auto& p : positions_) {
        if (p.letterCase != current) {
            out += p.letterCase == Case::Upper ? QStringLiteral(">")
                 : p.letterCase == Case::Lower ? QStringLiteral("<") : QStringLiteral("!");
            current = p.letterCase;
        }
        switch (p.slot) {
        case Slot::RequiredDigit: out += QLatin1Char('9'); break;
        case Slot::OptionalDigit: out += QLatin1Char('0'); break;
        case Slot::DigitOrSign: out += QLatin1Char('#'); break;
        case Slot::RequiredLetter: out += QLatin1Char('A'); break;
        case Slot::OptionalLetter: out += QLatin1Char('a'); break;
        case Slot::RequiredAlnum: out += QLatin1Char('N'); break;
        case Slot::OptionalAlnum: out += QLatin1Char('n'); break;
        case Slot::RequiredAny: out += QLatin1Char('X'); break;
        case Slot::OptionalAny: out += QLatin1Char('x'); break;
        case Slot::Literal:
            if (isQtMaskMeta(p.literal) || p.literal == QLatin1Char(';'))
                out += QLatin1Char('\\');
            out += p.literal;
            break;
        }
    }
    out += QLatin1Char(';');
    out += blank_;
    return out;
}

QString EditMask::textFromDisplay(const QString& display) const
{
    QString out;
    for (int k = 0; k < positions_.size(); ++k) {
        const Position& p = positions_.at(k);
        const QChar c = k < display.size() ? display.at(k) : blank_;
        if (p.slot == Slot::Literal) {
            if (saveLiterals_)
                out += p.literal;
        } else if (c == blank_ || c == QLatin1Char(' ')) {
            if (saveLiterals_)
                out += QLatin1Char(' ');
        } else {
            out += c;
        }
    }
    return out;
}

QString EditMask::displayFromText(const QString& text) const
{
    int slotCount = 0;
    for (const auto& p : positions_)
        slotCount += p.slot == Slot::Literal ? 0 : 1;
    const int expected = saveLiterals_ ? length() : slotCount;
    if (text.size() != expected)
        return text;
    QString out;
    int k = 0;
    for (const auto& p : positions_) {
        if (p.slot == Slot::Literal) {
            out += p.literal;
            if (saveLiterals_)
                ++k;
            continue;
        }
        const QChar c = text.at(k++);
        out += c == QLatin1Char(' ') ? blank_ : c;
    }
    return out;
}

EditMaskValidator::EditMaskValidator(const EditMask& mask, QObject* parent)
    : QValidator(parent), mask_(mask)
{
}

QValidator::State EditMaskValidator::validate(QString& input, int&) const
{
    if (input.size() > mask_.length())
        return Invalid;
    // Case conversion is applied when the mask asks for one case throughout, the only way the
    // workshops use it; with mixed cases the typed letters are kept.
    const auto& positions = mask_.positions();
    if (!positions.isEmpty()) {
        const EditMask::Case first = positions.first().letterCase;
        bool uniform = true;
        for (const auto& p : positions)
            uniform = uniform && p.letterCase == first;
        if (uniform && first != EditMask::Case::Keep) {
            for (auto& c : input)
                c = applyCase(c, first);
        }
    }
    if (!isEncodable(input))
        return Invalid;
    return fitToSlots(positions, input, 0, 0);
}

MaskedLineEdit::MaskedLineEdit(QWidget* parent) : QLineEdit(parent)
{
    setEditMask(QString());
}

void MaskedLineEdit::setEditMask(const QString& classic)
{
    const QString keep = maskedText();
    classic_ = classic;
    mask_ = EditMask::parse(classic);
    QValidator* old = const_cast<QValidator*>(validator());
    setValidator(nullptr);
    setInputMask(QString());
    setMaxLength(32767);
    if (old && old->parent() == this)
        old->deleteLater();

    if (mask_.isEmpty()) {
        setValidator(new Cp1252Validator(this));
    } else if (mask_.hasLiterals()) {
        setInputMask(mask_.qtInputMask());
    } else {
        setValidator(new EditMaskValidator(mask_, this));
        setMaxLength(mask_.length());
    }
    setMaskedText(keep);
}

QString MaskedLineEdit::maskedText() const
{
    if (!mask_.isEmpty() && mask_.hasLiterals())
        return mask_.textFromDisplay(displayText());
    return text();
}

void MaskedLineEdit::setMaskedText(const QString& text)
{
    if (!mask_.isEmpty() && mask_.hasLiterals()) {
        setText(mask_.displayFromText(text));
        return;
    }
    // The validator governs typing only: model text the mask would refuse is still shown.
    setText(text);
}
