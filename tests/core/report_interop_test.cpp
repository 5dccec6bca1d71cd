// End to end: a report opened by a real RTF reader (the office suite's headless converter) shows the
// case's texts literally, braces and backslashes included, in document order. Skipped when no
// reader is installed (Debian: libreoffice-writer-nogui), unless CORVANTIX_REQUIRE_INTEROP is set.

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "model/cp1252.h"
#include "report/case_report.h"
#include "report_test_case.h"
#include "test_support.h"

namespace {

std::optional<std::filesystem::path> findInPath(const std::vector<std::string>& names)
{
    const char* path = std::getenv("PATH");
    if (!path)
        return std::nullopt;
    std::string_view rest(path);
    while (!rest.empty()) {
        const auto colon = rest.find(':');
        const std::filesystem::path folder(std::string(rest.substr(0, colon)));
        for (const std::string& name : names) {
            std::error_code ignored;
            if (!folder.empty() && std::filesystem::is_regular_file(folder / name, ignored))
                return folder / name;
        }
        if (colon == std::string_view::npos)
            break;
        rest.remove_prefix(colon + 1);
    }
    return std::nullopt;
}

TEST(ReportInterop, RealReaderShowsCaseTextsLiterally)
{
    const auto reader = findInPath({"soffice", "libreoffice"});
    if (!reader) {
        if (std::getenv("CORVANTIX_REQUIRE_INTEROP"))
            FAIL() << "no RTF reader found: install libreoffice-writer-nogui";
        GTEST_SKIP() << "no RTF reader (soffice/libreoffice) in PATH; install libreoffice-writer-nogui to run "
                        "this check";
    }

    testing_support::TempDir dir;
    const std::string rtf = dir.file("report.rtf");
    ASSERT_EQ(exportCaseReport(*report_test::makeReportCase(), rtf, ReportOptions{}), std::nullopt);

    // A private profile keeps the run independent of the user's settings and of other runs.
    const std::string command = "timeout 300 '" + reader->string() + "' -env:UserInstallation=file://" +
                                dir.file("profile") + " --headless --convert-to 'txt:Text (encoded):UTF8' '" +
                                rtf + "' --outdir '" + dir.path().string() + "' >'" + dir.file("log") +
                                "' 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0) << command << "\n" << testing_support::readFile(dir.file("log"));
    const std::string text = testing_support::readFile(dir.file("report.txt"));

    const std::vector<std::string> expected = {
        "Plan {2025} \\ North",
        cp1252ToUtf8("Acme {Holdings} \\ Caf\xE9"),
        "Culture {core}",
        "<none>",
        "AI, Cloud {hybrid}",
        "T{1} (9)",
        "1,234,568",
        "Legal\\IP",
        "Rival {Inc}",
        "Size (8,3)",
        "2025 (1,500,000)",
        report_test::kInjection,
        std::string("Alpha, ") + report_test::kInjection,
        "7. Plan Your Alliances/Investment",
        "Situation Specific",
        "Contents of Market Group 'Group {A}'",
        "Software (Partner)",
        " (Independent)",
        "4,294,967,294",
        "Call {Alpha}",
        "24/12/2025",
    };
    std::size_t from = 0;
    for (const std::string& piece : expected) {
        const std::size_t at = text.find(piece, from);
        ASSERT_NE(at, std::string::npos) << "not found after offset " << from << ": " << piece << "\n--- text:\n"
                                         << text;
        from = at + piece.size();
    }
    EXPECT_EQ(text.find("Hidden char"), std::string::npos);
}

} // namespace
