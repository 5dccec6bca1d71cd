// corvantix-cli export-rtf: arguments, the thousands separator from the option or the locale, and
// failures reported as one line.

#include <cstdlib>
#include <optional>

#include <gtest/gtest.h>

#include "cli/cli_app.h"
#include "cli/export_rtf_command.h"
#include "cli_test_support.h"
#include "report/case_report.h"
#include "report_expectations.h"
#include "report_test_case.h"

using cli_testing::runCommand;

namespace {

// Sets an environment variable for the lifetime of the object.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name)
    {
        if (const char* old = std::getenv(name))
            old_ = old;
        ::setenv(name, value, 1);
    }
    ~ScopedEnv()
    {
        if (old_)
            ::setenv(name_, old_->c_str(), 1);
        else
            ::unsetenv(name_);
    }

private:
    const char* name_;
    std::optional<std::string> old_;
};

// The report of the case as the command reads it back from its file.
std::string expectedReport(const std::string& casePath, const std::string& separator)
{
    TCaseData data;
    if (auto error = loadCaseFile(casePath, data))
        ADD_FAILURE() << error->message;
    ReportOptions options;
    options.thousandsSeparator = separator;
    return buildCaseReport(data, options);
}

TEST(ExportRtfCommand, WritesTheReportWithTheGivenSeparator)
{
    testing_support::TempDir dir;
    auto data = report_test::makeReportCase();
    const std::string casePath = cli_testing::saveCase(dir, *data);
    const std::string out = dir.file("out.rtf");

    auto result = runCommand(runCli, {"export-rtf", casePath, out, "--thousands-separator", "."});
    EXPECT_EQ(result.code, 0) << result.err;
    EXPECT_EQ(result.err, "");
    report_expect::expectSameBytes(testing_support::readFile(out), expectedReport(casePath, "."));

    // "=" form, a character given in UTF-8, and an empty separator.
    result = runCommand(runExportRtf, {"--thousands-separator=\xC2\xA0", casePath, out});
    EXPECT_EQ(result.code, 0) << result.err;
    report_expect::expectSameBytes(testing_support::readFile(out), expectedReport(casePath, "\xA0"));
    result = runCommand(runExportRtf, {casePath, "--thousands-separator", "", out});
    EXPECT_EQ(result.code, 0) << result.err;
    report_expect::expectSameBytes(testing_support::readFile(out), expectedReport(casePath, ""));
}

TEST(ExportRtfCommand, SeparatorDefaultsToTheLocaleOrComma)
{
    testing_support::TempDir dir;
    auto data = report_test::makeReportCase();
    const std::string casePath = cli_testing::saveCase(dir, *data);
    const std::string out = dir.file("out.rtf");
    // The C locale has no thousands separator.
    ScopedEnv all("LC_ALL", "C");
    EXPECT_EQ(localeThousandsSeparator(), ",");
    auto result = runCommand(runExportRtf, {casePath, out});
    EXPECT_EQ(result.code, 0) << result.err;
    report_expect::expectSameBytes(testing_support::readFile(out), expectedReport(casePath, ","));
}

TEST(ExportRtfCommand, LocaleSeparatorsBecomeWindows1252)
{
    EXPECT_EQ(separatorFromLocaleBytes(""), ",");
    EXPECT_EQ(separatorFromLocaleBytes("."), ".");
    EXPECT_EQ(separatorFromLocaleBytes("'"), "'");
    EXPECT_EQ(separatorFromLocaleBytes("\xC2\xA0"), "\xA0");         // no-break space
    EXPECT_EQ(separatorFromLocaleBytes("\xE2\x80\xAF"), "\xA0");     // narrow no-break space
    EXPECT_EQ(separatorFromLocaleBytes("\xE2\x80\x99"), "\x92");     // right single quotation mark
    EXPECT_EQ(separatorFromLocaleBytes("\xA0"), "\xA0");             // a Latin-1 locale's byte
    EXPECT_EQ(separatorFromLocaleBytes("\xD9\xAC"), ",");            // Arabic thousands separator
    EXPECT_EQ(separatorFromLocaleBytes("\xFF\xFE"), ",");            // neither UTF-8 nor one byte
}

TEST(ExportRtfCommand, UsageErrors)
{
    struct Case {
        std::vector<std::string> args;
        const char* mentions;
    };
    const Case cases[] = {
        {{"a.cvx"}, "missing argument"},
        {{"a.cvx", "b.rtf", "c"}, "too many arguments"},
        {{"a.cvx", "b.rtf", "--thousands-separator"}, "needs a value"},
        {{"a.cvx", "b.rtf", "--thousands-separator", ".."}, "one windows-1252 character"},
        {{"a.cvx", "b.rtf", "--thousands-separator", "\xE2\x80\xAF"}, "one windows-1252 character"},
        {{"a.cvx", "b.rtf", "--separator", "."}, "unknown option"},
    };
    for (const Case& c : cases) {
        const auto result = runCommand(runExportRtf, c.args);
        EXPECT_EQ(result.code, 2) << c.mentions;
        EXPECT_EQ(result.errLines(), 1) << result.err;
        EXPECT_NE(result.err.find(c.mentions), std::string::npos) << result.err;
    }
    const auto help = runCommand(runExportRtf, {"--help"});
    EXPECT_EQ(help.code, 0);
    EXPECT_NE(help.out.find("export-rtf CASE.cvx OUT.rtf"), std::string::npos);
}

TEST(ExportRtfCommand, FailuresPrintOneLineAndLeaveNoReport)
{
    testing_support::TempDir dir;
    const std::string out = dir.file("out.rtf");
    auto result = runCommand(runExportRtf, {dir.file("missing.cvx"), out});
    EXPECT_EQ(result.code, 1);
    EXPECT_EQ(result.errLines(), 1) << result.err;
    EXPECT_NE(result.err.find("missing.cvx"), std::string::npos) << result.err;

    const std::string broken = dir.file("broken.cvx");
    testing_support::writeFile(broken, "not a case");
    result = runCommand(runExportRtf, {broken, out});
    EXPECT_EQ(result.code, 1);
    EXPECT_EQ(result.errLines(), 1) << result.err;
    EXPECT_FALSE(std::filesystem::exists(out));

    TCaseData data;
    const std::string casePath = cli_testing::saveCase(dir, data);
    result = runCommand(runExportRtf, {casePath, dir.file("no/folder/out.rtf")});
    EXPECT_EQ(result.code, 1);
    EXPECT_EQ(result.errLines(), 1) << result.err;
    EXPECT_NE(result.err.find("out.rtf"), std::string::npos) << result.err;
}

TEST(ExportRtfCommand, RealExecutableExportsACase)
{
    testing_support::TempDir dir;
    TCaseData data;
    report_test::setDates(data);
    const std::string casePath = cli_testing::saveCase(dir, data);
    const std::string out = dir.file("report.rtf");
    const std::string command = std::string("LC_ALL=C '") + CORVANTIX_CLI + "' export-rtf '" + casePath + "' '" + out + "'";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    report_expect::expectSameBytes(testing_support::readFile(out), expectedReport(casePath, ","));
}

} // namespace
