#pragma once

// Edit masks in the notation the workshops are written in, "positions;save literals;blank":
//
//   0  required digit            9  optional digit          #  optional digit or sign (+ -)
//   L  required letter           l  optional letter
//   A  required letter or digit  a  optional letter or digit
//   C  required character        c  optional character
//   >  upper case from here on   <  lower case from here on  <> no case change
//   \  the next character is a literal                       !  (accepted, no effect here)
//   anything else is a literal that the user cannot overtype.
//
// The second field is 1 when literals are part of the text, 0 when not; the third is the
// character shown for an empty position ("99;0; ", "#90;0; ", "!99\/99\/9999;1;_").
//
// Qt's own input masks swap the meaning of 0 and 9 and keep every position filled with blanks,
// so "5" typed into a two-digit field would read back as "5 ". This is the one place that
// translates: a mask without literals becomes a validator (type "5" or "-5" freely, never more
// characters than the mask has); a mask with literals (dates) becomes a Qt input mask with fixed
// positions, read back in the text form the model expects ("  /  /    " when left empty).

#include <QLineEdit>
#include <QString>
#include <QValidator>
#include <QVector>

class EditMask {
public:
    enum class Slot {
        RequiredDigit, OptionalDigit, DigitOrSign,
        RequiredLetter, OptionalLetter,
        RequiredAlnum, OptionalAlnum,
        RequiredAny, OptionalAny,
        Literal
    };
    enum class Case { Keep, Upper, Lower };
    struct Position {
        Slot slot = Slot::Literal;
        QChar literal; // for Slot::Literal
        Case letterCase = Case::Keep;
    };

    EditMask() = default;
    static EditMask parse(const QString& classic);

    bool isEmpty() const { return positions_.isEmpty(); }
    bool hasLiterals() const;
    bool saveLiterals() const { return saveLiterals_; }
    QChar blank() const { return blank_; }
    // Number of characters the field can hold, literals included.
    int length() const { return static_cast<int>(positions_.size()); }
    const QVector<Position>& positions() const { return positions_; }

    // For masks with literals: the equivalent Qt input mask, blank character included.
    QString qtInputMask() const;

    // Text of a fixed-position field as the model reads it: blanks become spaces, literals are
    // kept or dropped as the mask says.
    QString textFromDisplay(const QString& display) const;
    // The display text (blank characters in empty positions) for model text of a fixed-position
    // field; text that does not have the mask's length is returned unchanged.
    QString displayFromText(const QString& text) const;

private:
    QVector<Position> positions_;
    bool saveLiterals_ = true;
    QChar blank_ = QLatin1Char(' ');
};

// Accepts what a literal-free mask allows, completes nothing, and reports a text that still lacks
// a required character as Intermediate so that typing can go on.
class EditMaskValidator : public QValidator {
    Q_OBJECT
public:
    EditMaskValidator(const EditMask& mask, QObject* parent = nullptr);
    State validate(QString& input, int& pos) const override;

private:
    EditMask mask_;
};

// A one-line edit that follows a classic mask. Without a mask it still refuses characters that
// windows-1252 cannot hold, so nothing typed is lost on the way into the model.
class MaskedLineEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit MaskedLineEdit(QWidget* parent = nullptr);

    void setEditMask(const QString& classic);
    QString editMask() const { return classic_; }
    const EditMask& mask() const { return mask_; }

    // The text as the model reads it (see EditMask::textFromDisplay for fixed-position masks).
    QString maskedText() const;
    void setMaskedText(const QString& text);

private:
    QString classic_;
    EditMask mask_;
};
