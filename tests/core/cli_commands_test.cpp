// corvantix-cli as a whole: dispatch, help, exit codes of every command, the real executable, and
// the bundled example case.

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>

#include <gtest/gtest.h>

#include "cli/check_command.h"
#include "cli/cli_app.h"
#include "cli/from_json_command.h"
#include "cli/to_json_command.h"
#include "cli_test_support.h"

using namespace testing_support;
using namespace cli_testing;

namespace {

CliResult cli(const std::vector<std::string>& args)
{
    return runCommand(runCli, args);
}

// Runs the built executable through the shell; returns its exit code.
int runProcess(const std::string& arguments)
{
    const std::string command = std::string("'") + CORVANTIX_CLI + "' " + arguments + " >/dev/null 2>&1";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace

TEST(CliCommands, HelpAndVersion)
{
    for (const char* option : {"--help", "-h"}) {
        const auto help = cli({option});
        EXPECT_EQ(help.code, 0);
        EXPECT_EQ(help.err, "");
        for (const char* command : {"check CASE.cvx", "to-json CASE.cvx [OUT.json]", "from-json IN.json OUT.cvx"})
            EXPECT_NE(help.out.find(command), std::string::npos) << command;
    }
    const auto version = cli({"--version"});
    EXPECT_EQ(version.code, 0);
    EXPECT_EQ(version.out, std::string("corvantix-cli ") + CORVANTIX_VERSION + "\n");

    for (const char* command : {"check", "to-json", "from-json"}) {
        const auto help = cli({command, "--help"});
        EXPECT_EQ(help.code, 0) << command;
        EXPECT_TRUE(help.out.starts_with(std::string("Usage: corvantix-cli ") + command)) << help.out;
    }
}

TEST(CliCommands, UsageErrorsExitWithTwoAndOneLine)
{
    const std::vector<std::vector<std::string>> misuses = {
        {},
        {"frobnicate"},
        {"--verbose"},
        {"check"},
        {"check", "a.cvx", "b.cvx"},
        {"check", "--strict", "a.cvx"},
        {"to-json"},
        {"to-json", "a.cvx", "b.json", "c"},
        {"to-json", "-o", "a.cvx"},
        {"from-json", "a.json"},
        {"from-json", "a.json", "b.cvx", "c"},
    };
    for (const auto& args : misuses) {
        const auto result = cli(args);
        EXPECT_EQ(result.code, 2) << (args.empty() ? "" : args[0]);
        EXPECT_EQ(result.errLines(), 1) << result.err;
        EXPECT_EQ(result.out, "");
    }
    EXPECT_EQ(cli({"check"}).err, "corvantix-cli: missing argument (usage: corvantix-cli check CASE.cvx)\n");
    EXPECT_EQ(cli({"frobnicate"}).err, "corvantix-cli: unknown command 'frobnicate' (try 'corvantix-cli --help')\n");
}

TEST(CliCommands, FailuresExitWithOneAndOneLine)
{
    TempDir dir;
    const std::string missing = dir.file("missing.cvx");
    const std::vector<std::vector<std::string>> failures = {
        {"check", missing},
        {"to-json", missing},
        {"from-json", dir.file("missing.json"), dir.file("out.cvx")},
        {"check", dir.path().string()},
    };
    for (const auto& args : failures) {
        const auto result = cli(args);
        EXPECT_EQ(result.code, 1) << args[0];
        EXPECT_EQ(result.errLines(), 1) << result.err;
    }
    EXPECT_EQ(cli({"check", missing}).err,
              "corvantix-cli: cannot open '" + missing + "': No such file or directory\n");
}

TEST(CliCommands, DoubleDashAllowsFileNamesStartingWithDash)
{
    TempDir dir;
    TCaseData data;
    const std::string name = "-odd.cvx";
    saveCase(dir, data, name.c_str());
    const auto cwd = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    const auto result = cli({"check", "--", name});
    std::filesystem::current_path(cwd);
    EXPECT_EQ(result.code, 0) << result.err;
}

TEST(CliCommands, ToJsonWritesTheSameTextToFileAndStandardOutput)
{
    TempDir dir;
    TCaseData data;
    fillRichCase(data);
    const std::string path = saveCase(dir, data);
    const auto toStdout = cli({"to-json", path});
    ASSERT_EQ(toStdout.code, 0) << toStdout.err;
    const auto toFile = cli({"to-json", path, dir.file("out.json")});
    ASSERT_EQ(toFile.code, 0) << toFile.err;
    EXPECT_EQ(toFile.out, "");
    EXPECT_EQ(readFile(dir.file("out.json")), toStdout.out);
}

TEST(CliCommands, FromJsonKeepsTheOldFileWhenItCannotWrite)
{
    TempDir dir;
    writeFile(dir.file("in.json"), R"({"Title": "New"})");
    writeFile(dir.file("old.cvx"), "old content");
    const auto bad = cli({"from-json", dir.file("in.json"), dir.file("no-such-folder/out.cvx")});
    EXPECT_EQ(bad.code, 1);
    EXPECT_EQ(bad.errLines(), 1) << bad.err;

    writeFile(dir.file("bad.json"), R"({"Title": 5})");
    EXPECT_EQ(cli({"from-json", dir.file("bad.json"), dir.file("old.cvx")}).code, 1);
    EXPECT_EQ(readFile(dir.file("old.cvx")), "old content");

    EXPECT_EQ(cli({"from-json", dir.file("in.json"), dir.file("old.cvx")}).code, 0);
    TCaseData loaded;
    ASSERT_EQ(loadCaseFile(dir.file("old.cvx"), loaded), std::nullopt);
    EXPECT_EQ(loaded.Title, "New");
    // Only the case file is left: the atomic write cleaned up after itself.
    int files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.path()))
        ++files;
    EXPECT_EQ(files, 3);
}

TEST(CliCommands, EveryWritingCommandRefusesAReadOnlyOutput)
{
    namespace fs = std::filesystem;
    TempDir dir;
    writeFile(dir.file("in.json"), R"({"Title": "New"})");
    TCaseData data;
    const std::string casePath = saveCase(dir, data);
    const std::string out = dir.file("locked.out");
    const std::vector<std::vector<std::string>> commands = {
        {"from-json", dir.file("in.json"), out},
        {"to-json", casePath, out},
        {"export-rtf", casePath, out},
    };
    for (const auto& args : commands) {
        writeFile(out, "old content");
        fs::permissions(out, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
        const auto result = cli(args);
        EXPECT_EQ(result.code, 1) << args[0];
        EXPECT_EQ(result.err, "corvantix-cli: '" + out + "' is read-only.\n") << args[0];
        fs::permissions(out, fs::perms::owner_all);
        EXPECT_EQ(readFile(out), "old content") << args[0];
    }
}

TEST(CliCommands, ExecutableReturnsTheExitCodes)
{
    TempDir dir;
    EXPECT_EQ(runProcess("--version"), 0);
    EXPECT_EQ(runProcess(""), 2);
    EXPECT_EQ(runProcess("check"), 2);
    EXPECT_EQ(runProcess("check '" + dir.file("missing.cvx") + "'"), 1);
    TCaseData data;
    EXPECT_EQ(runProcess("check '" + saveCase(dir, data) + "'"), 0);
}

TEST(CliExample, ConvertsChecksCleanAndConvertsBackUnchanged)
{
    TempDir dir;
    const std::string json = std::string(CORVANTIX_EXAMPLES) + "/demo.json";
    const std::string cvx = dir.file("demo.cvx");
    const auto fromJson = cli({"from-json", json, cvx});
    ASSERT_EQ(fromJson.code, 0) << fromJson.err;

    const auto check = cli({"check", cvx});
    EXPECT_EQ(check.code, 0);
    EXPECT_EQ(check.err, "") << "the example must have no dangling references";
    EXPECT_TRUE(check.out.starts_with("ok\n"));

    // Something in every workshop.
    TCaseData data;
    ASSERT_EQ(loadCaseFile(cvx, data), std::nullopt);
    EXPECT_FALSE(data.OrgDescription.empty());
    EXPECT_FALSE(data.VisionMission.empty());
    EXPECT_LT(data.DateFrom, data.DateTo);
    EXPECT_GE(data.KeyObjectives.Count(), 3);
    for (const auto& area : data.ChangeAreas)
        EXPECT_FALSE(area.Changes.Empty()) << area.Name;
    EXPECT_GE(data.Competitors.Count(), 3);
    EXPECT_GE(data.Customers.Count(), 4);
    bool hasGroup = false;
    for (const auto& customer : data.Customers) {
        hasGroup = hasGroup || customer.IsGroup();
        EXPECT_EQ(customer.Capabilities.Count(), 17) << customer.Name;
    }
    EXPECT_TRUE(hasGroup);
    EXPECT_FALSE(data.Products.Empty());
    EXPECT_FALSE(data.Capabilities.Empty());
    EXPECT_FALSE(data.MarketGroups.Empty());
    EXPECT_GE(data.Actions.Count(), 6);

    // The example is kept in exactly the form to-json writes.
    const auto toJson = cli({"to-json", cvx});
    ASSERT_EQ(toJson.code, 0) << toJson.err;
    EXPECT_EQ(toJson.out, readFile(json));
}
