#pragma once

// JSON text in and out for the case conversions. nlohmann-json does the lexing and the string
// escaping; this layer adds what the case format needs on top: floating-point numbers in their
// shortest round-trip form, refusal of repeated keys, and the JSON path of every value.

#include <map>
#include <optional>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

using OrderedJson = nlohmann::ordered_json;

// Paths name values the way users read them: "Customers[3].KeyChars[0].Match".
std::string jsonMemberPath(const std::string& parent, std::string_view key);
std::string jsonElementPath(const std::string& parent, std::size_t index);
// The path for messages: the empty path (the whole document) reads "top level".
std::string describeJsonPath(const std::string& path);

// The shortest digits that read back as the same double, laid out without an exponent from 1e-6 up
// to below 1e21: "46753", "0.1", "500000", "1e+21", "5e-324". Negative zero is "-0.0", because "-0"
// reads back as the integer 0. The value must be finite.
std::string formatShortestDouble(double value);

// Pretty-printed with two-space indents and keys in stored order, ending with a newline. Same
// layout as OrderedJson::dump(2) except for the floating-point numbers.
std::string formatJson(const OrderedJson& value);

struct ParsedJson {
    OrderedJson value;
    // Integer literals too large for 64 bits, by path, as written. The parser stores them as
    // floating point, which would otherwise make "99999999999999999999" look like a fraction.
    std::map<std::string, std::string> oversizedIntegers;
};

// Parses a complete JSON document. A key given twice in one object is an error. Returns the reason
// on failure: "line 3, column 7: syntax error ..." or "Customers[0].Name: key given twice".
std::optional<std::string> parseJsonStrict(std::string_view text, ParsedJson& parsed);
