#include "cli/case_to_json.h"

#include <cmath>

#include "model/case_data.h"
#include "model/case_fields.h"
#include "model/cp1252.h"

namespace {

OrderedJson text(const std::string& bytes)
{
    return cp1252ToUtf8(bytes);
}

OrderedJson real(double value, const std::string& path)
{
    if (!std::isfinite(value)) {
        const char* what = std::isnan(value) ? "NaN" : (value > 0 ? "infinity" : "-infinity");
        throw JsonExportError(path, std::string("not a finite number (") + what + "), which JSON cannot hold");
    }
    return value;
}

// Puts every field of one model object into a JSON object under its own name.
class JsonFields {
public:
    JsonFields(OrderedJson& object, const std::string& path) : object_(object), path_(path) {}

    void operator()(const char* key, const std::string& value) { object_[key] = text(value); }
    void operator()(const char* key, const int32_t& value) { object_[key] = value; }
    void operator()(const char* key, const double& value) { object_[key] = real(value, jsonMemberPath(path_, key)); }
    void operator()(const char* key, const bool& value) { object_[key] = value; }
    void operator()(const char* key, const TStringList& list)
    {
        OrderedJson array = OrderedJson::array();
        for (const auto& s : list)
            array.push_back(text(s));
        object_[key] = std::move(array);
    }
    template <class T>
    void operator()(const char* key, const TDelList<T>& list)
    {
        const std::string path = jsonMemberPath(path_, key);
        OrderedJson array = OrderedJson::array();
        std::size_t i = 0;
        for (const auto& item : list)
            array.push_back(objectToJson(item, jsonElementPath(path, i++)));
        object_[key] = std::move(array);
    }
    // An absent Members list is null, so that it stays apart from a present but empty one.
    void operator()(const char* key, const std::unique_ptr<TDelList<TInteger>>& members)
    {
        if (!members) {
            object_[key] = nullptr;
            return;
        }
        OrderedJson array = OrderedJson::array();
        for (const auto& member : *members)
            array.push_back(member.Value);
        object_[key] = std::move(array);
    }

    template <class T>
    static OrderedJson objectToJson(const T& item, const std::string& path)
    {
        OrderedJson object;
        visitFields(item, JsonFields(object, path));
        return object;
    }

private:
    OrderedJson& object_;
    const std::string& path_;
};

} // namespace

OrderedJson caseToJson(const TCaseData& data)
{
    return JsonFields::objectToJson(data, "");
}
