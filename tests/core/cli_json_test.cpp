// Conversion between case files and JSON: round trips in both directions, the text mapping, the
// number forms, and every way from-json refuses a document.

#include <cfloat>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <functional>
#include <limits>
#include <random>

#include <gtest/gtest.h>

#include "cli/case_from_json.h"
#include "cli/case_to_json.h"
#include "cli/from_json_command.h"
#include "cli/json_text.h"
#include "cli/to_json_command.h"
#include "cli_test_support.h"

using namespace testing_support;
using namespace cli_testing;

namespace {

std::string toJsonText(const TCaseData& data)
{
    return formatJson(caseToJson(data));
}

// Converts JSON text to case-file bytes through from-json; fails the test on an error.
std::string fromJsonToBytes(const TempDir& dir, const std::string& json)
{
    writeFile(dir.file("in.json"), json);
    const auto result = runCommand(runFromJson, {dir.file("in.json"), dir.file("out.cvx")});
    EXPECT_EQ(result.code, 0) << result.err;
    return readFile(dir.file("out.cvx"));
}

uint64_t bitsOf(double v)
{
    uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    return bits;
}

// One small case twice: `loose` uses the widest tags, integer dates, odd bool bytes and trailing
// bytes; otherwise the two describe the same content.
std::string smallCase(bool loose)
{
    CaseBytes c;
    auto text = [&](std::string_view s) -> CaseBytes& { return loose ? c.longStr(s) : c.str(s); };
    auto integer = [&](int32_t v) -> CaseBytes& { return loose ? c.int32(v) : c.integer(v); };
    auto date = [&](int32_t days) -> CaseBytes& { return loose ? c.int32(days) : c.real(days); };

    text("Loose case"), text(""), text("Org"), text("Vision\r\nMission"), text("");
    date(46388), date(47848);
    c.begin(), text("Objective"), integer(1), integer(5), c.end();
    c.begin(), text("Culture"), text("Image"), c.end();
    c.begin(), text("Technology"), c.begin(), text("Robots"), c.end();
    c.begin(), text("Automation"), text("");
    c.begin(), text("Skilled staff"), integer(-1), integer(300), c.end();
    c.emptyList(), c.emptyList(), c.emptyList();
    integer(2), integer(9);
    c.begin(), text("Obsolete line"), date(-5000), integer(0), integer(4), integer(70000), text("Retrain"), c.end();
    c.end(), c.end();
    c.begin(), text("Financial"), c.end();
    c.emptyList();
    c.begin(), text("Hotels"), text(""), text("");
    c.begin(), text("Price"), integer(2), integer(7), c.raw({loose ? 0x05 : 0x08});
    text("Speed"), integer(1), integer(1), c.raw({9}), c.end();
    c.emptyList(), c.emptyList(); // MarketPotential, Members
    c.begin(), text("Income"), integer(1), integer(100), integer(-200), integer(32768), text(""), c.end();
    c.end();
    c.emptyList(), c.emptyList(), c.emptyList();
    c.begin(), text("Do it"), text("Me"), integer(3);
    if (loose)
        c.raw({2, 100});
    else
        c.real(100);
    c.raw({loose ? 0x07 : 0x08}), c.end();
    if (loose)
        c.raw({0xDE, 0xAD, 0x01});
    return c.bytes;
}

} // namespace

TEST(CliJson, NumbersUseShortestDigitsInReadableLayout)
{
    const std::pair<double, const char*> cases[] = {
        {0.0, "0"},
        {-0.0, "-0.0"},
        {46388, "46388"},
        {46388.5, "46388.5"},
        {0.1, "0.1"},
        {500000, "500000"},
        {-1234567.5, "-1234567.5"},
        {1e20, "100000000000000000000"},
        {1e21, "1e+21"},
        {123456789012345680000.0, "123456789012345680000"},
        {0.000001, "0.000001"},
        {1.5e-7, "1.5e-7"},
        {5e-324, "5e-324"},
        {DBL_MAX, "1.7976931348623157e+308"},
        {-2.5e-300, "-2.5e-300"},
    };
    for (const auto& [value, text] : cases)
        EXPECT_EQ(formatShortestDouble(value), text) << value;
}

TEST(CliJson, EveryFiniteDoubleReadsBackBitForBit)
{
    std::mt19937_64 random(12345);
    std::vector<double> values = {std::numeric_limits<double>::denorm_min(), DBL_MIN, DBL_MAX, -DBL_MAX,
                                  9007199254740993.0, 18446744073709551616.0, 9223372036854775808.0, -0.0};
    while (values.size() < 20000) {
        const uint64_t bits = random();
        double v;
        std::memcpy(&v, &bits, sizeof v);
        if (std::isfinite(v))
            values.push_back(v);
    }
    for (double v : values) {
        const std::string text = "{\"DateFrom\": " + formatShortestDouble(v) + "}";
        ParsedJson parsed;
        ASSERT_EQ(parseJsonStrict(text, parsed), std::nullopt) << text;
        TCaseData data;
        ASSERT_EQ(caseFromJson(parsed, data), std::nullopt) << text;
        ASSERT_EQ(bitsOf(data.DateFrom), bitsOf(v)) << text;
    }
}

TEST(CliJson, CaseSurvivesToJsonAndBackWithTheSameBytes)
{
    TempDir dir;
    TCaseData data;
    fillRichCase(data);
    std::string allBytes;
    for (int b = 0; b < 256; ++b)
        allBytes.push_back(static_cast<char>(b));
    data.Competitors[0].Description = allBytes;
    data.ObjectiveTypes.push_back(std::string(256, '\x9D'));
    data.DateFrom = -0.0;
    data.DateTo = std::numeric_limits<double>::denorm_min();
    data.ChangeAreas[0].Changes[0].Risks[0].FinImpact = 1e300;
    data.Actions[0].Due = 123456789012345680000.0;
    data.KeyObjectives[0].Link = std::numeric_limits<int32_t>::min();
    data.KeyObjectives[0].Rank = std::numeric_limits<int32_t>::max();
    data.Products[0].Members = std::make_unique<TDelList<TInteger>>();
    data.Products[0].Members->Add().Value = -7;

    const std::string original = encodeCase(data);
    const std::string casePath = saveCase(dir, data);
    const auto toJson = runCommand(runToJson, {casePath});
    ASSERT_EQ(toJson.code, 0) << toJson.err;
    EXPECT_EQ(toJson.err, "");

    EXPECT_EQ(fromJsonToBytes(dir, toJson.out), original);
    const auto again = runCommand(runToJson, {dir.file("out.cvx")});
    EXPECT_EQ(again.out, toJson.out);
}

TEST(CliJson, NonCanonicalFileBecomesCanonicalThroughJson)
{
    TempDir dir;
    const std::string loose = smallCase(true);
    const std::string canonical = smallCase(false);
    ASSERT_NE(loose, canonical);
    writeFile(dir.file("loose.cvx"), loose);

    const auto toJson = runCommand(runToJson, {dir.file("loose.cvx"), dir.file("loose.json")});
    ASSERT_EQ(toJson.code, 0) << toJson.err;
    EXPECT_EQ(toJson.out, "");
    const std::string json = readFile(dir.file("loose.json"));
    EXPECT_NE(json.find("\"DateFrom\": 46388,"), std::string::npos);
    EXPECT_NE(json.find("\"Members\": null,"), std::string::npos);
    EXPECT_NE(json.find("\"FinImpact\": -5000,"), std::string::npos);

    EXPECT_EQ(fromJsonToBytes(dir, json), canonical);
}

TEST(CliJson, TextIsWindows1252AsUnicodeWithUndefinedBytesKept)
{
    TCaseData data;
    data.Title = std::string("\x80\x81\x8D\x8F\x90\x9D\x9F\xFF\x00\r\n\"\\", 13);
    const std::string json = toJsonText(data);
    EXPECT_NE(json.find("\"Title\": \"\xE2\x82\xAC\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D\xC5\xB8\xC3\xBF"
                        "\\u0000\\r\\n\\\"\\\\\","),
              std::string::npos)
        << json;

    ParsedJson parsed;
    ASSERT_EQ(parseJsonStrict(R"({"Title": "\u20ac\u0081\u0178\u00ff"})", parsed), std::nullopt);
    TCaseData back;
    ASSERT_EQ(caseFromJson(parsed, back), std::nullopt);
    EXPECT_EQ(back.Title, "\x80\x81\x9F\xFF");
}

TEST(CliJson, KeysFollowFileOrderAndMembersIsNullWhenAbsent)
{
    TCaseData data;
    data.DateFrom = 1;
    data.DateTo = 2;
    data.Customers.Add().Name = "Plain";
    auto& group = data.Customers.Add();
    group.Members = std::make_unique<TDelList<TInteger>>();
    group.Members->Add().Value = 0;
    const auto json = caseToJson(data);

    std::vector<std::string> keys;
    for (const auto& item : json.items())
        keys.push_back(item.key());
    const std::vector<std::string> expected = {"Title", "Description", "OrgDescription", "VisionMission",
                                               "SuccessFactors", "DateFrom", "DateTo", "KeyObjectives",
                                               "ObjectiveTypes", "ChangeAreas", "RiskTypes", "Competitors",
                                               "Customers", "Products", "Capabilities", "MarketGroups", "Actions"};
    EXPECT_EQ(keys, expected);

    keys.clear();
    for (const auto& item : json["Customers"][0].items())
        keys.push_back(item.key());
    const std::vector<std::string> custProd = {"Name", "Description", "KeyNeeds", "KeyChars", "MarketPotential",
                                               "Members", "Capabilities"};
    EXPECT_EQ(keys, custProd);
    EXPECT_TRUE(json["Customers"][0]["Members"].is_null());
    EXPECT_EQ(json["Customers"][1]["Members"], OrderedJson::array({0}));
}

TEST(CliJson, EveryFieldIsUnderItsOwnName)
{
    TCaseData data;
    fillEveryField(data);
    int values = 0;
    // Texts hold their own field's name; arrays pass their key on to their elements.
    const std::function<void(const std::string&, const OrderedJson&)> check = [&](const std::string& key,
                                                                                 const OrderedJson& value) {
        if (value.is_object()) {
            for (const auto& member : value.items())
                check(member.key(), member.value());
        } else if (value.is_array()) {
            EXPECT_EQ(value.size(), 1u) << key;
            for (const auto& element : value)
                check(key, element);
        } else if (value.is_string()) {
            ++values;
            EXPECT_EQ(value.get<std::string>(), key);
        } else {
            ++values;
            EXPECT_EQ(value.is_boolean() ? value.get<bool>() : value.get<double>(), fieldNumber(key)) << key;
        }
    };
    const OrderedJson json = caseToJson(data);
    check("", json);
    EXPECT_EQ(values, 100); // every stored field of every class, Members and the string lists included

    ParsedJson parsed;
    ASSERT_EQ(parseJsonStrict(formatJson(json), parsed), std::nullopt);
    TCaseData back;
    ASSERT_EQ(caseFromJson(parsed, back), std::nullopt);
    EXPECT_EQ(encodeCase(back), encodeCase(data));
}

TEST(CliJson, MissingKeysTakeTheDefaultsOfNewObjects)
{
    ParsedJson parsed;
    ASSERT_EQ(parseJsonStrict(R"({"Title": "T", "Customers": [{"Name": "C", "KeyChars": [{}]}], "Actions": [{}]})",
                              parsed),
              std::nullopt);
    TCaseData data;
    ASSERT_EQ(caseFromJson(parsed, data), std::nullopt);
    TCaseData fresh;
    EXPECT_EQ(data.Title, "T");
    EXPECT_EQ(data.ObjectiveTypes, fresh.ObjectiveTypes);
    EXPECT_EQ(data.RiskTypes, fresh.RiskTypes);
    ASSERT_EQ(data.ChangeAreas.Count(), 3);
    EXPECT_EQ(data.ChangeAreas[2].Name, "Market");
    ASSERT_EQ(data.Customers.Count(), 1);
    const auto& customer = data.Customers[0];
    EXPECT_EQ(customer.Members, nullptr);
    EXPECT_TRUE(customer.Capabilities.Empty()); // no plan template
    EXPECT_EQ(customer.KeyChars[0].Match, -1);
    EXPECT_TRUE(customer.KeyChars[0].Excluded);
    EXPECT_EQ(data.Actions[0].Importance, 1);
    EXPECT_FALSE(data.Actions[0].Done);
}

TEST(CliJson, EmptyOrNullMembersReadAsAbsent)
{
    for (const char* members : {"null", "[]"}) {
        ParsedJson parsed;
        const std::string text = std::string(R"({"Products": [{"Members": )") + members + "}]}";
        ASSERT_EQ(parseJsonStrict(text, parsed), std::nullopt);
        TCaseData data;
        ASSERT_EQ(caseFromJson(parsed, data), std::nullopt);
        EXPECT_EQ(data.Products[0].Members, nullptr) << members;
    }
}

TEST(CliJson, Int32BoundsAreAccepted)
{
    ParsedJson parsed;
    ASSERT_EQ(parseJsonStrict(R"({"KeyObjectives": [{"Link": -2147483648, "Rank": 2147483647}]})", parsed),
              std::nullopt);
    TCaseData data;
    ASSERT_EQ(caseFromJson(parsed, data), std::nullopt);
    EXPECT_EQ(data.KeyObjectives[0].Link, std::numeric_limits<int32_t>::min());
    EXPECT_EQ(data.KeyObjectives[0].Rank, std::numeric_limits<int32_t>::max());
}

struct RejectedJson {
    const char* json;
    const char* message;
};

class CliJsonRejects : public testing::TestWithParam<RejectedJson> {};

TEST_P(CliJsonRejects, NamesThePathAndWritesNothing)
{
    TempDir dir;
    const std::string in = dir.file("in.json");
    const std::string out = dir.file("out.cvx");
    writeFile(in, GetParam().json);
    const auto result = runCommand(runFromJson, {in, out});
    EXPECT_EQ(result.code, 1);
    EXPECT_EQ(result.err, "corvantix-cli: " + in + ": " + GetParam().message + "\n");
    EXPECT_FALSE(std::filesystem::exists(out));
}

INSTANTIATE_TEST_SUITE_P(
    Paths, CliJsonRejects,
    testing::Values(
        RejectedJson{R"({"Customers": [{}, {}, {}, {"KeyChars": [{"Match": "3"}]}]})",
                     "Customers[3].KeyChars[0].Match: expected an integer, found a string"},
        RejectedJson{R"({"Customers": [{"KeyChars": [{"Match": 1.5}]}]})",
                     "Customers[0].KeyChars[0].Match: expected an integer, found a number with a fraction or exponent"},
        RejectedJson{R"({"Customers": [{"KeyChars": [{"Match": 1.0}]}]})",
                     "Customers[0].KeyChars[0].Match: expected an integer, found a number with a fraction or exponent"},
        RejectedJson{R"({"Competitors": [{"MarketShare": 1e2}]})",
                     "Competitors[0].MarketShare: expected an integer, found a number with a fraction or exponent"},
        RejectedJson{R"({"Capabilities": [{"Acquisition": 2147483648}]})",
                     "Capabilities[0].Acquisition: integer 2147483648 is outside the 32-bit range"},
        RejectedJson{R"({"Capabilities": [{"Placement": -2147483649}]})",
                     "Capabilities[0].Placement: integer -2147483649 is outside the 32-bit range"},
        RejectedJson{R"({"Capabilities": [{"Placement": 18446744073709551615}]})",
                     "Capabilities[0].Placement: integer 18446744073709551615 is outside the 32-bit range"},
        RejectedJson{R"({"Capabilities": [{"ImpToday": -99999999999999999999999}]})",
                     "Capabilities[0].ImpToday: integer -99999999999999999999999 is outside the 32-bit range"},
        RejectedJson{R"({"Actions": [{"Importance": true}]})", "Actions[0].Importance: expected an integer, found true"},
        RejectedJson{R"({"DateFrom": false})", "DateFrom: expected a number, found false"},
        RejectedJson{R"({"DateTo": "46388"})", "DateTo: expected a number, found a string"},
        RejectedJson{R"({"Actions": [{}, {"Due": 1e400}]})", "Actions[1].Due: number 1e400 is out of range"},
        RejectedJson{R"({"Actions": [{"Done": 1}]})", "Actions[0].Done: expected true or false, found an integer"},
        RejectedJson{R"({"Customers": [{"KeyChars": [{"Excluded": null}]}]})",
                     "Customers[0].KeyChars[0].Excluded: expected true or false, found null"},
        RejectedJson{R"({"Title": null})", "Title: expected a string, found null"},
        RejectedJson{R"({"ObjectiveTypes": ["A", 2]})", "ObjectiveTypes[1]: expected a string, found an integer"},
        RejectedJson{R"({"ChangeAreas": [{"Megatrends": {}}]})",
                     "ChangeAreas[0].Megatrends: expected an array, found an object"},
        RejectedJson{R"({"ChangeAreas": [{"Changes": [{"Risks": [{}, 5]}]}]})",
                     "ChangeAreas[0].Changes[0].Risks[1]: expected an object, found an integer"},
        RejectedJson{R"({"Products": [{"Members": "0"}]})", "Products[0].Members: expected an array, found a string"},
        RejectedJson{R"({"Products": [{"Members": [0, 1.5]}]})",
                     "Products[0].Members[1]: expected an integer, found a number with a fraction or exponent"},
        RejectedJson{R"({"MarketGroups": [{"ServiceRefs": [{"Rank": 0, "Partner": 1}]}]})",
                     "MarketGroups[0].ServiceRefs[0].Partner: unknown key"},
        RejectedJson{R"({"Titel": "x"})", "Titel: unknown key"},
        RejectedJson{R"({"Title": "a", "Title": "b"})", "Title: key given twice"},
        RejectedJson{R"({"Actions": [{"What": "a"}, {"Who": "b", "Who": "c"}]})", "Actions[1].Who: key given twice"},
        RejectedJson{R"({"Title": "日本"})", "Title: character U+65E5 at position 0 is not in the windows-1252 code page"},
        RejectedJson{R"({"RiskTypes": ["ok", "Stra\u00dfe \u0100"]})",
                     "RiskTypes[1]: character U+0100 at position 7 is not in the windows-1252 code page"},
        RejectedJson{R"([])", "top level: expected an object, found an array"}));

TEST(CliJson, SyntaxErrorsGiveTheirPositionAndWriteNothing)
{
    TempDir dir;
    const std::string out = dir.file("out.cvx");
    writeFile(out, "previous");
    for (const char* text : {"", "{\"Title\": }", "{\"Title\": \"a\"} {}", "{\"Title\": \"\xC3\x28\"}"}) {
        writeFile(dir.file("in.json"), text);
        const auto result = runCommand(runFromJson, {dir.file("in.json"), out});
        EXPECT_EQ(result.code, 1) << text;
        EXPECT_EQ(result.errLines(), 1) << result.err;
        EXPECT_TRUE(result.err.starts_with("corvantix-cli: " + dir.file("in.json") + ": parse error at line 1, column"))
            << result.err;
        EXPECT_EQ(readFile(out), "previous");
    }
}

TEST(CliJson, DeepNestingIsRefusedEarly)
{
    const std::string deep = "{\"Title\": " + std::string(100000, '[') + std::string(100000, ']') + "}";
    ParsedJson parsed;
    const auto error = parseJsonStrict(deep, parsed);
    ASSERT_TRUE(error.has_value());
    EXPECT_TRUE(error->starts_with("Title[0][0]")) << *error;
    EXPECT_TRUE(error->ends_with(": nested deeper than 64 levels")) << *error;
}

TEST(CliJson, NonFiniteNumbersMakeToJsonFailWithTheirPath)
{
    struct Damage {
        void (*apply)(TCaseData&);
        const char* message;
    };
    const Damage damages[] = {
        {[](TCaseData& d) { d.DateFrom = -std::numeric_limits<double>::infinity(); },
         "DateFrom: not a finite number (-infinity), which JSON cannot hold"},
        {[](TCaseData& d) { d.ChangeAreas[0].Changes[0].Risks[0].FinImpact = std::numeric_limits<double>::infinity(); },
         "ChangeAreas[0].Changes[0].Risks[0].FinImpact: not a finite number (infinity), which JSON cannot hold"},
        {[](TCaseData& d) { d.Actions[0].Due = std::numeric_limits<double>::quiet_NaN(); },
         "Actions[0].Due: not a finite number (NaN), which JSON cannot hold"},
    };
    for (const auto& damage : damages) {
        TempDir dir;
        TCaseData data;
        fillRichCase(data);
        damage.apply(data);
        const std::string path = saveCase(dir, data);
        const auto result = runCommand(runToJson, {path, dir.file("out.json")});
        EXPECT_EQ(result.code, 1);
        EXPECT_EQ(result.err, "corvantix-cli: " + path + ": " + damage.message + "\n");
        EXPECT_FALSE(std::filesystem::exists(dir.file("out.json")));
    }
}
