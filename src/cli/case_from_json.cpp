#include "cli/case_from_json.h"

#include <cmath>
#include <cstdio>
#include <limits>
#include <stdexcept>

#include "model/case_data.h"
#include "model/case_fields.h"
#include "model/cp1252.h"

namespace {

class ImportError : public std::runtime_error {
public:
    ImportError(const std::string& path, const std::string& reason)
        : std::runtime_error(describeJsonPath(path) + ": " + reason) {}
};

std::string describeValue(const OrderedJson& value)
{
    switch (value.type()) {
    case OrderedJson::value_t::null: return "null";
    case OrderedJson::value_t::boolean: return value.get<bool>() ? "true" : "false";
    case OrderedJson::value_t::number_integer:
    case OrderedJson::value_t::number_unsigned: return "an integer";
    case OrderedJson::value_t::number_float: return "a number with a fraction or exponent";
    case OrderedJson::value_t::string: return "a string";
    case OrderedJson::value_t::array: return "an array";
    case OrderedJson::value_t::object: return "an object";
    default: return "a value of another kind";
    }
}

[[noreturn]] void wrongType(const std::string& path, const char* expected, const OrderedJson& found)
{
    throw ImportError(path, std::string("expected ") + expected + ", found " + describeValue(found));
}

class Importer {
public:
    explicit Importer(const ParsedJson& parsed) : parsed_(parsed) {}

    std::string text(const OrderedJson& value, const std::string& path) const
    {
        if (!value.is_string())
            wrongType(path, "a string", value);
        const auto& utf8 = value.get_ref<const std::string&>();
        auto converted = utf8ToCp1252(utf8);
        if (converted.badIndex) {
            if (converted.invalidUtf8)
                throw ImportError(path, "invalid UTF-8 at position " + std::to_string(*converted.badIndex));
            char codePoint[16];
            std::snprintf(codePoint, sizeof codePoint, "U+%04X", static_cast<unsigned>(converted.badCodePoint));
            throw ImportError(path, std::string("character ") + codePoint + " at position " +
                                        std::to_string(*converted.badIndex) + " is not in the windows-1252 code page");
        }
        return std::move(converted.bytes);
    }

    int32_t integer(const OrderedJson& value, const std::string& path) const
    {
        constexpr int64_t kMin = std::numeric_limits<int32_t>::min();
        constexpr int64_t kMax = std::numeric_limits<int32_t>::max();
        if (value.is_number_unsigned()) {
            const auto v = value.get<uint64_t>();
            if (v > static_cast<uint64_t>(kMax))
                outOfRange(path, std::to_string(v));
            return static_cast<int32_t>(v);
        }
        if (value.is_number_integer()) {
            const auto v = value.get<int64_t>();
            if (v < kMin || v > kMax)
                outOfRange(path, std::to_string(v));
            return static_cast<int32_t>(v);
        }
        if (value.is_number_float()) {
            if (const auto it = parsed_.oversizedIntegers.find(path); it != parsed_.oversizedIntegers.end())
                outOfRange(path, it->second);
        }
        wrongType(path, "an integer", value);
    }

    double real(const OrderedJson& value, const std::string& path) const
    {
        if (value.is_number_unsigned())
            return static_cast<double>(value.get<uint64_t>());
        if (value.is_number_integer())
            return static_cast<double>(value.get<int64_t>());
        if (value.is_number_float()) {
            const double v = value.get<double>();
            if (!std::isfinite(v))
                throw ImportError(path, "number out of range");
            return v;
        }
        wrongType(path, "a number", value);
    }

    bool boolean(const OrderedJson& value, const std::string& path) const
    {
        if (!value.is_boolean())
            wrongType(path, "true or false", value);
        return value.get<bool>();
    }

    const OrderedJson& array(const OrderedJson& value, const std::string& path) const
    {
        if (!value.is_array())
            wrongType(path, "an array", value);
        return value;
    }

    // One name for the four kinds above, chosen by the field's type.
    void read(const OrderedJson& v, const std::string& path, std::string& target) const { target = text(v, path); }
    void read(const OrderedJson& v, const std::string& path, int32_t& target) const { target = integer(v, path); }
    void read(const OrderedJson& v, const std::string& path, double& target) const { target = real(v, path); }
    void read(const OrderedJson& v, const std::string& path, bool& target) const { target = boolean(v, path); }

private:
    [[noreturn]] static void outOfRange(const std::string& path, const std::string& literal)
    {
        throw ImportError(path, "integer " + literal + " is outside the 32-bit range");
    }

    const ParsedJson& parsed_;
};

template <class T>
void readObject(const Importer& importer, const OrderedJson& value, const std::string& path, T& item);

// Reads the members of one JSON object into a model object, as the visitor of its field list. Each
// call names one field; finish() then reports a key that no call asked for.
class Fields {
public:
    Fields(const Importer& importer, const OrderedJson& value, std::string path)
        : importer_(importer), object_(value), path_(std::move(path))
    {
        if (!object_.is_object())
            wrongType(path_, "an object", object_);
    }

    // A text, whole number, floating-point number or flag.
    template <class T>
    void operator()(const char* key, T& target)
    {
        if (const auto* v = find(key))
            importer_.read(*v, jsonMemberPath(path_, key), target);
    }
    void operator()(const char* key, TStringList& target)
    {
        eachElement(key, [&] { target.clear(); }, [&](const OrderedJson& element, const std::string& path) {
            target.push_back(importer_.text(element, path));
        });
    }
    // An absent or empty list leaves the entry without Members, as reading a case file does.
    void operator()(const char* key, std::unique_ptr<TDelList<TInteger>>& target)
    {
        const auto* v = find(key);
        if (!v)
            return;
        target.reset();
        if (v->is_null())
            return;
        const std::string path = jsonMemberPath(path_, key);
        const auto& array = importer_.array(*v, path);
        if (array.empty())
            return;
        target = std::make_unique<TDelList<TInteger>>();
        std::size_t i = 0;
        for (const auto& element : array)
            target->Add().Value = importer_.integer(element, jsonElementPath(path, i++));
    }
    template <class T>
    void operator()(const char* key, TDelList<T>& target)
    {
        eachElement(key, [&] { target.Clear(); }, [&](const OrderedJson& element, const std::string& path) {
            readObject(importer_, element, path, target.Add());
        });
    }

    void finish() const
    {
        if (used_ == object_.size())
            return;
        for (const auto& member : object_.items()) {
            if (!isKnown(member.key()))
                throw ImportError(jsonMemberPath(path_, member.key()), "unknown key");
        }
    }

private:
    // A list under `key`, when the key is given: empties the target with clear(), then reads every
    // element of the array with read(element, path).
    template <class Clear, class Read>
    void eachElement(const char* key, Clear clear, Read read)
    {
        const auto* v = find(key);
        if (!v)
            return;
        const std::string path = jsonMemberPath(path_, key);
        const auto& array = importer_.array(*v, path);
        clear();
        std::size_t i = 0;
        for (const auto& element : array)
            read(element, jsonElementPath(path, i++));
    }

    const OrderedJson* find(const char* key)
    {
        known_.push_back(key);
        const auto it = object_.find(key);
        if (it == object_.end())
            return nullptr;
        ++used_;
        return &*it;
    }

    bool isKnown(const std::string& key) const
    {
        for (const char* k : known_) {
            if (key == k)
                return true;
        }
        return false;
    }

    const Importer& importer_;
    const OrderedJson& object_;
    std::string path_;
    std::size_t used_ = 0;
    std::vector<const char*> known_;
};

template <class T>
void readObject(const Importer& importer, const OrderedJson& value, const std::string& path, T& item)
{
    Fields fields(importer, value, path);
    visitFields(item, fields);
    fields.finish();
}

} // namespace

std::optional<std::string> caseFromJson(const ParsedJson& parsed, TCaseData& data)
{
    const Importer im(parsed);
    try {
        readObject(im, parsed.value, "", data);
    } catch (const ImportError& e) {
        return std::string(e.what());
    }
    return std::nullopt;
}
