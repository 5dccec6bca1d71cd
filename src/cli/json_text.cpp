#include "cli/json_text.h"

#include <charconv>
#include <cmath>
#include <set>
#include <vector>

std::string jsonMemberPath(const std::string& parent, std::string_view key)
{
    if (parent.empty())
        return std::string(key);
    std::string path = parent;
    path += '.';
    path += key;
    return path;
}

std::string jsonElementPath(const std::string& parent, std::size_t index)
{
    return parent + "[" + std::to_string(index) + "]";
}

std::string describeJsonPath(const std::string& path)
{
    return path.empty() ? "top level" : path;
}

std::string formatShortestDouble(double value)
{
    if (value == 0)
        return std::signbit(value) ? "-0.0" : "0";

    // The shortest digits that read back as the same double, from their scientific form "d.ddde+XX".
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific);
    const std::string_view scientific(buffer, static_cast<std::size_t>(result.ptr - buffer));
    const bool negative = scientific.front() == '-';
    const auto ePos = scientific.find('e');
    std::string digits;
    for (char c : scientific.substr(negative ? 1 : 0, ePos - (negative ? 1 : 0))) {
        if (c != '.')
            digits += c;
    }
    int exponent = 0;
    std::from_chars(scientific.data() + ePos + (scientific[ePos + 1] == '+' ? 2 : 1), scientific.data() + scientific.size(),
                    exponent);

    // Laid out as JavaScript prints numbers: plain digits from 1e-6 up to below 1e21, so amounts and
    // day counts stay readable ("500000", not "5e+05"), exponent notation outside that range.
    const int k = static_cast<int>(digits.size());
    const int n = exponent + 1; // position of the decimal point relative to the first digit
    std::string text = negative ? "-" : "";
    if (k <= n && n <= 21) {
        text += digits;
        text.append(static_cast<std::size_t>(n - k), '0');
    } else if (0 < n && n <= 21) {
        text += digits.substr(0, static_cast<std::size_t>(n));
        text += '.';
        text += digits.substr(static_cast<std::size_t>(n));
    } else if (-6 < n && n <= 0) {
        text += "0.";
        text.append(static_cast<std::size_t>(-n), '0');
        text += digits;
    } else {
        text += digits.substr(0, 1);
        if (k > 1) {
            text += '.';
            text += digits.substr(1);
        }
        text += n - 1 < 0 ? "e-" : "e+";
        text += std::to_string(n - 1 < 0 ? 1 - n : n - 1);
    }
    return text;
}

namespace {

void appendJson(std::string& out, const OrderedJson& value, int indent)
{
    switch (value.type()) {
    case OrderedJson::value_t::object: {
        if (value.empty()) {
            out += "{}";
            return;
        }
        out += "{\n";
        bool first = true;
        for (const auto& [key, member] : value.items()) {
            if (!first)
                out += ",\n";
            first = false;
            out.append(static_cast<std::size_t>(indent + 2), ' ');
            out += OrderedJson(key).dump();
            out += ": ";
            appendJson(out, member, indent + 2);
        }
        out += '\n';
        out.append(static_cast<std::size_t>(indent), ' ');
        out += '}';
        return;
    }
    case OrderedJson::value_t::array: {
        if (value.empty()) {
            out += "[]";
            return;
        }
        out += "[\n";
        bool first = true;
        for (const auto& element : value) {
            if (!first)
                out += ",\n";
            first = false;
            out.append(static_cast<std::size_t>(indent + 2), ' ');
            appendJson(out, element, indent + 2);
        }
        out += '\n';
        out.append(static_cast<std::size_t>(indent), ' ');
        out += ']';
        return;
    }
    case OrderedJson::value_t::number_float:
        out += formatShortestDouble(value.get<double>());
        return;
    default:
        out += value.dump();
        return;
    }
}

// Builds the document the way nlohmann's own DOM parser does, while tracking the path of the value
// being read so that repeated keys and oversized integers can be named.
class StrictDomBuilder : public nlohmann::json_sax<OrderedJson> {
public:
    explicit StrictDomBuilder(ParsedJson& parsed) : parsed_(parsed) {}

    const std::optional<std::string>& error() const { return error_; }

    bool null() override { return place(nullptr); }
    bool boolean(bool value) override { return place(value); }
    bool number_integer(number_integer_t value) override { return place(value); }
    bool number_unsigned(number_unsigned_t value) override { return place(value); }
    bool number_float(number_float_t value, const string_t& text) override
    {
        if (text.find_first_of(".eE") == string_t::npos)
            parsed_.oversizedIntegers.emplace(currentPath(), text);
        return place(value);
    }
    bool string(string_t& value) override { return place(std::move(value)); }
    bool binary(binary_t& value) override { return place(OrderedJson::binary(std::move(value))); }

    bool start_object(std::size_t) override { return open(OrderedJson::object()); }
    bool start_array(std::size_t) override { return open(OrderedJson::array()); }
    bool end_object() override { return close(); }
    bool end_array() override { return close(); }

    bool key(string_t& key) override
    {
        Frame& frame = frames_.back();
        if (!frame.keys.insert(key).second) {
            error_ = jsonMemberPath(frame.path, key) + ": key given twice";
            return false;
        }
        frame.key = key;
        frame.slot = &(*frame.container)[key];
        return true;
    }

    bool parse_error(std::size_t, const std::string& lastToken, const nlohmann::detail::exception& e) override
    {
        // Number overflow is reported without a position; the path says where it is.
        if (e.id == 406) {
            error_ = describeJsonPath(currentPath()) + ": number " + lastToken + " is out of range";
            return false;
        }
        std::string message = e.what();
        // Drop the library's "[json.exception.parse_error.101] " prefix.
        if (const auto end = message.find("] "); message.starts_with("[json.exception.") && end != std::string::npos)
            message.erase(0, end + 2);
        error_ = message;
        return false;
    }

private:
    static constexpr std::size_t kMaxDepth = 64;

    struct Frame {
        OrderedJson* container = nullptr;
        std::string path;
        std::size_t nextIndex = 0;
        std::string key;
        OrderedJson* slot = nullptr;
        std::set<std::string> keys;
    };

    std::string currentPath() const
    {
        if (frames_.empty())
            return {};
        const Frame& frame = frames_.back();
        if (frame.container->is_array())
            return jsonElementPath(frame.path, frame.nextIndex);
        return jsonMemberPath(frame.path, frame.key);
    }

    // Stores a value where the parser is; returns where it went. Only the innermost open container
    // ever grows, so the containers further out never move.
    template <class Value>
    OrderedJson* store(Value&& value)
    {
        if (frames_.empty()) {
            parsed_.value = OrderedJson(std::forward<Value>(value));
            return &parsed_.value;
        }
        Frame& frame = frames_.back();
        if (frame.container->is_array()) {
            frame.container->emplace_back(std::forward<Value>(value));
            return &frame.container->back();
        }
        *frame.slot = OrderedJson(std::forward<Value>(value));
        return frame.slot;
    }

    void valueDone()
    {
        if (!frames_.empty() && frames_.back().container->is_array())
            ++frames_.back().nextIndex;
    }

    template <class Value>
    bool place(Value&& value)
    {
        store(std::forward<Value>(value));
        valueDone();
        return true;
    }

    bool open(OrderedJson empty)
    {
        std::string path = currentPath();
        // A case nests seven levels deep; this bounds the memory a hostile document can take.
        if (frames_.size() >= kMaxDepth) {
            error_ = describeJsonPath(path) + ": nested deeper than " + std::to_string(kMaxDepth) + " levels";
            return false;
        }
        OrderedJson* container = store(std::move(empty));
        Frame frame;
        frame.container = container;
        frame.path = std::move(path);
        frames_.push_back(std::move(frame));
        return true;
    }

    bool close()
    {
        frames_.pop_back();
        valueDone();
        return true;
    }

    ParsedJson& parsed_;
    std::vector<Frame> frames_;
    std::optional<std::string> error_;
};

} // namespace

std::string formatJson(const OrderedJson& value)
{
    std::string out;
    appendJson(out, value, 0);
    out += '\n';
    return out;
}

std::optional<std::string> parseJsonStrict(std::string_view text, ParsedJson& parsed)
{
    parsed = ParsedJson{};
    StrictDomBuilder builder(parsed);
    const bool ok = OrderedJson::sax_parse(text, &builder);
    if (ok)
        return std::nullopt;
    if (builder.error())
        return builder.error();
    return std::string("the JSON text is incomplete");
}
