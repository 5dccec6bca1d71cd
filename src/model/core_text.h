#pragma once

// The core's texts that a user reads are untranslated keys. The core stays free of any translation
// machinery and gives the command line and the report its own words; the windows translate a key
// where they show it. CORE_TEXT marks a key for `make translations`, which files it under `context`
// for the translators; it stands for the plain literal. Keys are plain ASCII.
//
// A context names the one place that translates its keys; a context the views do not know is a
// compile error, as a key filed under it would never be translated.
//   "Questions"   the Yes/No questions of the model operations (the shell's prompts)
//   "Grid titles" the column titles of the list grids (the shell's list grid adapter) and of the
//                 other grids of the workshop windows (the window)
//   "Workshop texts" labels, messages and words a workshop window shows (the window)
#define CORE_TEXT(context, text) core_text::key(context, text)

#include <string>
#include <string_view>
#include <utility>

namespace core_text {

inline constexpr const char* kQuestions = "Questions";
inline constexpr const char* kGridTitles = "Grid titles";
inline constexpr const char* kWorkshopTexts = "Workshop texts";

consteval const char* key(std::string_view context, const char* text)
{
    if (context != kQuestions && context != kGridTitles && context != kWorkshopTexts)
        throw "CORE_TEXT: unknown context";
    return text;
}

} // namespace core_text

// `format` with its one "%s" replaced by `name`, taken literally (a "%" in a name is not a format).
std::string formatWithName(std::string_view format, std::string_view name);

// A key with at most one "%s", which `value` (model text) fills once the key is translated: a
// value never passes through a translation, and a translation may put it anywhere.
struct CoreMessage {
    CoreMessage() = default;
    CoreMessage(const char* key, std::string value = {}) : key(key), value(std::move(value)) {}

    const char* key = "";
    std::string value;

    // The message in the program's own words (model text).
    std::string text() const { return formatWithName(key, value); }
};
