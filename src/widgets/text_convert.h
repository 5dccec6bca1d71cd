#pragma once

// The one place where model text (windows-1252 bytes, CR LF line breaks) meets Qt's Unicode text
// (LF line breaks). Every view converts through these functions.

#include <QString>
#include <QValidator>

#include <string>
#include <string_view>

QString toQt(std::string_view cp1252);

// Converts Qt text to model text. A character that windows-1252 cannot hold is never dropped
// silently: it becomes '?' and `lossless`, when given, is set to false. Views keep such characters
// out in the first place (Cp1252Validator, rejectUnencodable).
std::string toModel(const QString& text, bool* lossless = nullptr);

// True when every character of `text` exists in windows-1252.
bool isEncodable(const QString& text);

// Line-edit validator that refuses characters windows-1252 cannot hold.
class Cp1252Validator : public QValidator {
    Q_OBJECT
public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override;
};
