#pragma once

// The one place where model text (windows-1252 bytes, CR LF line breaks) meets Qt's Unicode text
// (LF line breaks). Every view converts through these functions.

#include <QString>
#include <QValidator>

class QTextDocument;
struct CoreMessage;

#include <string>
#include <string_view>

QString toQt(std::string_view cp1252);

// A text of the core as the user reads it: its key translated in `context` (model/core_text.h),
// then the value filled in, so that no translation ever passes through windows-1252.
QString translated(const char* context, const CoreMessage& message);

// Converts Qt text to model text. A character that windows-1252 cannot hold is never dropped
// silently: it becomes '?' and `lossless`, when given, is set to false. Views keep such characters
// out in the first place (Cp1252Validator, rejectUnencodable).
std::string toModel(const QString& text, bool* lossless = nullptr);

// Whether text shown in a control differs from the model text it was filled from. Compared as Qt
// text, so model text that would change on the way back (a lone LF becoming CR LF) is not taken
// for an edit.
bool shownTextDiffers(std::string_view model, const QString& shown);

// The model text for what a field shows: `model` itself, byte for byte, while the field shows it
// unchanged; otherwise the shown text converted.
std::string shownModelText(std::string_view model, const QString& shown);

// Writes the shown text into `field` when it differs; no undo step (for committing fields before a
// save or close). Returns whether it wrote.
bool commitShownText(std::string& field, const QString& shown);

// A text document's text: its paragraphs joined by LF, a line break inside a paragraph counting as
// one too. Unlike QTextDocument::toPlainText, no-break spaces stay what they are.
QString documentText(const QTextDocument& document);

// What a multi-line field was filled with, given back exactly for as long as the field shows it
// unchanged. A document keeps neither a lone CR nor the difference between CR and LF; a text
// nobody touched must still reach the model byte for byte.
class FilledText {
public:
    // `given` was set into the field, which now shows `shown`.
    void remember(const QString& given, const QString& shown)
    {
        given_ = given;
        shown_ = shown;
    }
    // The field's text as the model should see it, the field now showing `shown`.
    QString read(const QString& shown) const { return shown == shown_ ? given_ : shown; }

private:
    QString given_;
    QString shown_;
};

// True when every character of `text` exists in windows-1252.
bool isEncodable(const QString& text);

// Line-edit validator that refuses characters windows-1252 cannot hold.
class Cp1252Validator : public QValidator {
    Q_OBJECT
public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override;
};
