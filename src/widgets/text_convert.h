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

// Whether text shown in a control differs from the model text it was filled from. Compared as Qt
// text, so model text that would change on the way back (a lone LF becoming CR LF) is not taken
// for an edit.
bool shownTextDiffers(std::string_view model, const QString& shown);

// Writes the shown text into `field` when it differs; no undo step (for committing fields before a
// save or close). Returns whether it wrote.
bool commitShownText(std::string& field, const QString& shown);

// True when every character of `text` exists in windows-1252.
bool isEncodable(const QString& text);

// Line-edit validator that refuses characters windows-1252 cannot hold.
class Cp1252Validator : public QValidator {
    Q_OBJECT
public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override;
};
