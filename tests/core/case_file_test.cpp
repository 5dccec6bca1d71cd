#include "model/case_file.h"

#include <gtest/gtest.h>

#include <csignal>
#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <random>
#include <set>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "model/case_data.h"
#include "model/extended.h"
#include "test_support.h"

using testing_support::bytes;
using testing_support::PieceSource;
using testing_support::TempDir;

namespace {

std::string str(std::string_view s)
{
    return bytes({6, static_cast<int>(s.size())}) + std::string(s);
}

std::string extended(double v)
{
    const Extended80 e = doubleToExtended(v);
    return bytes({5}) + std::string(reinterpret_cast<const char*>(e.data()), e.size());
}

std::string richCaseBytes()
{
    TCaseData data;
    testing_support::fillRichCase(data);
    return encodeCase(data);
}

} // namespace

TEST(CaseFile, NewCaseWritesTheDocumentedLayout)
{
    TCaseData data;
    data.DateFrom = 45000;
    data.DateTo = 45000.5;
    const std::string expected = str("") + str("") + str("") + str("") + str("") + extended(45000) +
                                 extended(45000.5) + bytes({1, 0}) + bytes({1}) + str("Culture") +
                                 str("Capabilities/Skills") + str("Image") + bytes({0}) + bytes({1}) +
                                 str("Technology") + bytes({1, 0, 1, 0}) + str("Regulations") +
                                 bytes({1, 0, 1, 0}) + str("Market") + bytes({1, 0, 1, 0}) + bytes({0}) +
                                 bytes({1}) + str("Financial") + str("Political") + bytes({0}) +
                                 bytes({1, 0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0});
    EXPECT_EQ(encodeCase(data), expected);
}

TEST(CaseFile, RichCaseRoundTripsByteForByte)
{
    const std::string encoded = richCaseBytes();
    TCaseData loaded;
    ASSERT_FALSE(decodeCase(encoded, loaded));
    EXPECT_EQ(encodeCase(loaded), encoded);
    EXPECT_EQ(loaded.Customers[0].Capabilities.Count(), 17); // rows as stored, not a fresh template
    EXPECT_EQ(loaded.ChangeAreas.Count(), 3);                // defaults replaced, not appended to
    EXPECT_EQ(loaded.ObjectiveTypes.size(), 4u);
    EXPECT_EQ(loaded.ChangeAreas[0].Changes[0].Risks[0].FinImpact, -1234567.5);
    EXPECT_TRUE(loaded.Actions[0].Done);
}

TEST(CaseFile, EveryFieldOfEveryClassStandsAtItsDocumentedPlace)
{
    TCaseData data;
    testing_support::fillEveryField(data);

    testing_support::CaseBytes c;
    const auto rankedList = [&c] { c.begin().str("Name").integer(2).integer(3).end(); };
    const auto capabilityList = [&c] {
        c.begin().str("Name").integer(6).integer(7).integer(8).integer(9).str("Decisions").end();
    };
    c.str("Title").str("Description").str("OrgDescription").str("VisionMission").str("SuccessFactors");
    c.real(15.5).real(16.5);
    rankedList();
    c.begin().str("ObjectiveTypes").end();
    c.begin().str("Name").begin().str("Megatrends").end();
    c.begin().str("Name").str("Description");
    rankedList(), rankedList(), rankedList(), rankedList();
    c.integer(7).integer(6);
    c.begin().str("Name").real(17.5).integer(10).integer(11).integer(12).str("Handling").end();
    c.end().end(); // Changes, ChangeAreas
    c.begin().str("RiskTypes").end();
    c.begin().str("Name").integer(13).str("Description").str("KeyServices").str("KeyClients");
    c.str("KeyAdvantages").str("KeyDisadvantages").str("PotentialDev").str("WatchPoints").end();
    for (int list = 0; list < 2; ++list) { // Customers, Products
        c.begin().str("Name").str("Description").str("KeyNeeds");
        c.begin().str("Name").integer(4).integer(5).flag(false).end();
        rankedList();
        c.begin().integer(14).end();
        capabilityList();
        c.end();
    }
    capabilityList();
    c.begin().str("Name");
    rankedList(), rankedList(), rankedList();
    c.end();
    c.begin().str("What").str("Who").integer(5).real(18.5).flag(true).end();

    EXPECT_EQ(encodeCase(data), c.bytes);
    TCaseData loaded;
    ASSERT_FALSE(decodeCase(c.bytes, loaded));
    EXPECT_EQ(encodeCase(loaded), c.bytes);
}

TEST(CaseFile, ReadsNonCanonicalEncodings)
{
    // Integers in wider tags than needed, a long-tag title, integer dates and odd bool bytes.
    const std::string input = bytes({12, 2, 0, 0, 0}) + "Hi" + str("") + str("") + str("") + str("") +
                              bytes({2, 100}) + bytes({4, 0x10, 0x27, 0, 0}) + bytes({1}) + str("obj") +
                              bytes({4, 1, 0, 0, 0}) + bytes({3, 5, 0}) + bytes({0}) + bytes({1, 0}) +
                              bytes({1, 0}) + bytes({1, 0}) + bytes({1, 0}) + bytes({1, 0}) + bytes({1, 0}) +
                              bytes({1, 0}) + bytes({1, 0}) + bytes({1}) + str("do") + str("me") +
                              bytes({4, 3, 0, 0, 0}) + bytes({2, 7}) + bytes({0x42}) + bytes({0}) +
                              "trailing bytes are ignored";
    TCaseData data;
    const auto error = decodeCase(input, data);
    ASSERT_FALSE(error) << error->message;
    EXPECT_EQ(data.Title, "Hi");
    EXPECT_EQ(data.DateFrom, 100.0);
    EXPECT_EQ(data.DateTo, 10000.0);
    ASSERT_EQ(data.KeyObjectives.Count(), 1);
    EXPECT_EQ(data.KeyObjectives[0].Link, 1);
    EXPECT_EQ(data.KeyObjectives[0].Rank, 5);
    EXPECT_TRUE(data.ObjectiveTypes.empty());
    EXPECT_TRUE(data.ChangeAreas.Empty());
    ASSERT_EQ(data.Actions.Count(), 1);
    EXPECT_EQ(data.Actions[0].Importance, 3);
    EXPECT_EQ(data.Actions[0].Due, 7.0);
    EXPECT_FALSE(data.Actions[0].Done);
}

TEST(CaseFile, StoredEmptyMembersReadBackAbsent)
{
    TCaseData data;
    data.Customers.Add().Members = std::make_unique<TDelList<TInteger>>();
    auto& group = data.Customers.Add();
    group.Members = std::make_unique<TDelList<TInteger>>();
    group.Members->Add().Value = 0;
    TCaseData loaded;
    ASSERT_FALSE(decodeCase(encodeCase(data), loaded));
    EXPECT_FALSE(loaded.Customers[0].Members);
    ASSERT_TRUE(loaded.Customers[1].Members);
    EXPECT_EQ(loaded.Customers[1].Members->Count(), 1);
}

TEST(CaseFile, EveryTruncationFailsCleanlyWithAnOffsetInsideTheFile)
{
    const std::string encoded = richCaseBytes();
    for (std::size_t length = 0; length < encoded.size(); ++length) {
        TCaseData data;
        const auto error = decodeCase(std::string_view(encoded).substr(0, length), data);
        ASSERT_TRUE(error) << "truncated at " << length;
        ASSERT_TRUE(error->offset);
        EXPECT_LE(*error->offset, length);
    }
}

// Every truncation of a case and thousands of damaged copies: reading in place, reading from a
// stream that hands out seven bytes at a time, and loading from disk all give the same outcome
// (the error text with its offset, or the case read), and the digest of all outcomes is the one
// recorded from the byte-at-a-time reader these inputs were first checked with, so no message or
// offset has changed.
TEST(CaseFile, DamagedFilesReportTheSameErrorsWhicheverWayTheyAreRead)
{
    const std::string base = richCaseBytes();
    std::vector<std::string> inputs;
    for (std::size_t length = 0; length < base.size(); ++length)
        inputs.push_back(base.substr(0, length));
    std::mt19937 random(20240611);
    for (int i = 0; i < 3000; ++i) {
        std::string damaged = base;
        for (int n = 0; n <= i % 3; ++n)
            damaged[random() % damaged.size()] = static_cast<char>(random() & 0xFF);
        if (i % 4 == 0)
            damaged.resize(random() % damaged.size());
        inputs.push_back(std::move(damaged));
    }

    TempDir dir;
    const std::string path = dir.file("damaged.cvx");
    uint64_t digest = 14695981039346656037u;
    for (std::size_t i = 0; i < inputs.size(); ++i) {
        TCaseData inPlace;
        const auto error = decodeCase(inputs[i], inPlace);
        const std::string outcome = error ? error->message : encodeCase(inPlace);

        TCaseData streamed;
        std::string streamedOutcome;
        PieceSource source(inputs[i], 7, true);
        ValueReader reader(source);
        try {
            streamed.ReadFrom(reader);
            streamedOutcome = encodeCase(streamed);
        } catch (const ReadError& e) {
            streamedOutcome = e.what();
        }
        ASSERT_EQ(streamedOutcome, outcome) << "input " << i;

        if (i % 40 == 0) {
            testing_support::writeFile(path, inputs[i]);
            TCaseData loaded;
            const auto loadError = loadCaseFile(path, loaded);
            ASSERT_EQ(loadError ? loadError->message : encodeCase(loaded), outcome) << "input " << i;
        }
        for (char c : outcome)
            digest = (digest ^ static_cast<uint8_t>(c)) * 1099511628211u;
        digest = (digest ^ 0xFF) * 1099511628211u;
    }
    EXPECT_EQ(digest, 8385763467832637762u);
}

TEST(CaseFile, FilesStartingWithAnotherTagFail)
{
    for (int tag : {0, 1, 2, 3, 4, 5, 8, 9, 7, 13, 255}) {
        TCaseData data;
        const auto error = decodeCase(bytes({tag, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}), data);
        ASSERT_TRUE(error) << tag;
        EXPECT_EQ(error->offset, 0u);
        EXPECT_NE(error->message.find("expected a string"), std::string::npos) << error->message;
    }
}

TEST(CaseFile, HostileListsCannotBlowUpMemory)
{
    // A file that is nothing but the opening of an endless list of customers with empty texts:
    // every element needs bytes, so the reader stops at the end of the data.
    std::string input = str("") + str("") + str("") + str("") + str("") + extended(1) + extended(1) +
                        bytes({1, 0, 1, 0, 1, 0, 1, 0, 1, 0}) + bytes({1});
    for (int i = 0; i < 10000; ++i)
        input += bytes({6, 0, 6, 0, 6, 0, 1, 0, 1, 0, 1, 0, 1, 0});
    TCaseData data;
    const auto error = decodeCase(input, data);
    ASSERT_TRUE(error);
    EXPECT_EQ(*error->offset, input.size());
    EXPECT_EQ(data.Customers.Count(), 10000);
}

TEST(CaseFile, LoadAndSaveFiles)
{
    TempDir dir;
    const std::string path = dir.file("case.cvx");
    TCaseData data;
    testing_support::fillRichCase(data);
    data.FileName = "untitled";
    ASSERT_FALSE(saveCaseFile(data, path));
    EXPECT_EQ(data.FileName, "untitled"); // the caller decides about the name
    EXPECT_EQ(testing_support::readFile(path), encodeCase(data));

    TCaseData loaded;
    ASSERT_FALSE(loadCaseFile(path, loaded));
    EXPECT_EQ(encodeCase(loaded), encodeCase(data));

    TCaseData missing;
    const auto error = loadCaseFile(dir.file("nope.cvx"), missing);
    ASSERT_TRUE(error);
    EXPECT_FALSE(error->offset);
    EXPECT_NE(error->message.find("No such file"), std::string::npos) << error->message;

    // A pipe is read as a stream, as far as the case goes, whole or cut short.
    const std::string encoded = encodeCase(data);
    const std::string fifo = dir.file("in.fifo");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    for (const std::size_t cut : {std::size_t{0}, std::size_t{3}}) {
        const std::string sent = encoded.substr(0, encoded.size() - cut);
        std::thread writer([&] { testing_support::writeFile(fifo, sent); });
        TCaseData piped;
        const auto pipedError = loadCaseFile(fifo, piped);
        writer.join();
        TCaseData inMemory;
        const auto memoryError = decodeCase(sent, inMemory);
        ASSERT_EQ(bool(pipedError), bool(memoryError)) << cut;
        if (pipedError)
            EXPECT_EQ(pipedError->message, memoryError->message);
        else
            EXPECT_EQ(encodeCase(piped), encoded);
    }
}

TEST(CaseFile, FailedSaveLeavesTheOldFileAndNoTemporaryFile)
{
    TempDir dir;
    const std::string path = dir.file("keep.cvx");
    testing_support::writeFile(path, "old content");

    // A save into a folder that does not exist fails with the reason.
    TCaseData data;
    const auto noFolder = saveCaseFile(data, dir.file("missing/x.cvx"));
    ASSERT_TRUE(noFolder);
    EXPECT_NE(noFolder->message.find("No such file or directory"), std::string::npos) << noFolder->message;

    // A write that fails halfway (file size limit) must not touch the old file. Run in a child
    // process so the limit does not leak into the rest of the tests.
    testing_support::fillRichCase(data);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{100, 100};
        setrlimit(RLIMIT_FSIZE, &limit);
        const auto error = saveCaseFile(data, path);
        _exit(error && error->message.find("write failed") != std::string::npos ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "save did not report the failed write";
    EXPECT_EQ(testing_support::readFile(path), "old content");
    int files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.path()))
        ++files;
    EXPECT_EQ(files, 1) << "temporary file left behind";
}

TEST(CaseFile, SaveKeepsPermissionsAndFollowsSymlinks)
{
    TempDir dir;
    const std::string real = dir.file("real.cvx");
    const std::string link = dir.file("link.cvx");
    testing_support::writeFile(real, "old");
    std::filesystem::permissions(real, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write |
                                           std::filesystem::perms::group_read);
    std::filesystem::create_symlink(real, link);
    TCaseData data;
    ASSERT_FALSE(saveCaseFile(data, link));
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(testing_support::readFile(real), encodeCase(data));
    EXPECT_EQ(std::filesystem::status(real).permissions() & std::filesystem::perms::all,
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write |
                  std::filesystem::perms::group_read);
}

// Read-only by its bits alone: the tests also run as a superuser, whom the system lets write.
TEST(CaseFile, ARegularFileThatDeniesWritingIsRefusedAndKept)
{
    namespace fs = std::filesystem;
    for (const fs::perms mode : {fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read,
                                 fs::perms::owner_read, fs::perms::none}) {
        for (const bool throughLink : {false, true}) {
            TempDir dir;
            const std::string real = dir.file("locked.cvx");
            testing_support::writeFile(real, "old content");
            fs::permissions(real, mode);
            std::string path = real;
            if (throughLink) {
                path = dir.file("link.cvx");
                fs::create_symlink(real, path);
            }
            TCaseData data;
            const auto error = saveCaseFile(data, path);
            const std::string context = path + " mode " + std::to_string(static_cast<int>(mode));
            ASSERT_TRUE(error) << context;
            EXPECT_TRUE(error->readOnly) << context;
            EXPECT_EQ(error->message, "'" + path + "' is read-only.");
            fs::permissions(real, fs::perms::owner_all);
            EXPECT_EQ(testing_support::readFile(real), "old content") << context;
            EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), throughLink ? 2 : 1)
                << "temporary file left behind";
        }
    }
}

TEST(CaseFile, SavingThroughADanglingLinkCreatesItsTargetAndKeepsTheLink)
{
    namespace fs = std::filesystem;
    struct Chain {
        const char* name;
        std::vector<std::pair<std::string, std::string>> links; // link name, what it points to
        std::string created;
    };
    TempDir dir;
    fs::create_directory(dir.file("sub"));
    const std::vector<Chain> chains = {
        {"absolute", {{"a.cvx", dir.file("a-target.cvx")}}, "a-target.cvx"},
        {"relative into a folder", {{"b.cvx", "sub/b-target.cvx"}}, "sub/b-target.cvx"},
        {"two links", {{"c.cvx", "sub/c-middle"}, {"sub/c-middle", "../c-target.cvx"}}, "c-target.cvx"},
    };
    TCaseData data;
    data.Title = "Through a link";
    for (const Chain& chain : chains) {
        for (const auto& [link, target] : chain.links)
            fs::create_symlink(target, dir.file(link));
        ASSERT_FALSE(saveCaseFile(data, dir.file(chain.links.front().first))) << chain.name;
        for (const auto& [link, target] : chain.links)
            EXPECT_TRUE(fs::is_symlink(dir.file(link))) << chain.name << ": " << link;
        EXPECT_EQ(testing_support::readFile(dir.file(chain.created)), encodeCase(data)) << chain.name;
    }
}

TEST(CaseFile, APipeIsWrittenIntoAndNeverReplaced)
{
    namespace fs = std::filesystem;
    for (const bool throughLink : {false, true}) {
        TempDir dir;
        const std::string fifo = dir.file("out.fifo");
        ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
        const std::string path = throughLink ? dir.file("link.cvx") : fifo;
        if (throughLink)
            fs::create_symlink(fifo, path);
        // The reader is open first, so the writer neither waits for one nor fills the pipe.
        const int reader = open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
        ASSERT_GE(reader, 0);
        TCaseData data;
        data.Title = "Down the pipe";
        const auto error = saveCaseFile(data, path);
        EXPECT_FALSE(error) << error->message;
        std::string received(64 * 1024, '\0');
        const ssize_t n = read(reader, received.data(), received.size());
        close(reader);
        received.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
        EXPECT_EQ(received, encodeCase(data)) << path;
        EXPECT_TRUE(fs::is_fifo(fifo)) << path;
        EXPECT_EQ(fs::is_symlink(path), throughLink);
    }
}

TEST(CaseFile, ASuccessfulSaveRemovesStaleTemporariesOfItsOwnNameOnly)
{
    namespace fs = std::filesystem;
    TempDir dir;
    const std::string path = dir.file("plan.cvx");
    const auto leave = [&](const std::string& name, int ageSeconds) {
        testing_support::writeFile(dir.file(name), "partial");
        fs::last_write_time(dir.file(name), fs::file_time_type::clock::now() - std::chrono::seconds(ageSeconds));
    };
    leave("plan.cvx.tmp-a1B2c3", 120);     // a killed save of this file: goes
    leave("plan.cvx.tmp-Zz9Yy8", 3600);    // another one: goes
    leave("plan.cvx.tmp-young1", 5);       // may be a save running right now: stays
    leave("other.cvx.tmp-a1B2c3", 120);    // another file's: stays
    leave("plan.cvx.tmp-a1B2c", 120);      // not what mkstemp makes: stays
    leave("plan.cvx.tmp-a1B2c3.bak", 120); // ditto
    leave("xplan.cvx.tmp-a1B2c3", 120);    // ditto
    fs::create_directory(dir.file("plan.cvx.tmp-folder"));
    fs::last_write_time(dir.file("plan.cvx.tmp-folder"), fs::file_time_type::clock::now() - std::chrono::hours(1));

    // A failed save cleans nothing up.
    TCaseData data;
    fs::create_directory(dir.file("blocked.cvx"));
    leave("blocked.cvx.tmp-a1B2c3", 120);
    EXPECT_TRUE(saveCaseFile(data, dir.file("blocked.cvx")));
    EXPECT_TRUE(fs::exists(dir.file("blocked.cvx.tmp-a1B2c3")));

    ASSERT_FALSE(saveCaseFile(data, path));
    std::set<std::string> left;
    for (const auto& entry : fs::directory_iterator(dir.path()))
        left.insert(entry.path().filename().string());
    EXPECT_EQ(left, (std::set<std::string>{"plan.cvx", "plan.cvx.tmp-young1", "other.cvx.tmp-a1B2c3",
                                           "plan.cvx.tmp-a1B2c", "plan.cvx.tmp-a1B2c3.bak", "xplan.cvx.tmp-a1B2c3",
                                           "plan.cvx.tmp-folder", "blocked.cvx", "blocked.cvx.tmp-a1B2c3"}));
}

TEST(CaseFile, SavingThroughALinkCleansUpBesideTheRealFile)
{
    namespace fs = std::filesystem;
    TempDir dir;
    fs::create_directory(dir.file("real"));
    const std::string real = dir.file("real/plan.cvx");
    testing_support::writeFile(real, "old");
    fs::create_symlink(real, dir.file("link.cvx"));
    testing_support::writeFile(real + ".tmp-q1w2e3", "partial");
    fs::last_write_time(real + ".tmp-q1w2e3", fs::file_time_type::clock::now() - std::chrono::minutes(5));
    TCaseData data;
    ASSERT_FALSE(saveCaseFile(data, dir.file("link.cvx")));
    EXPECT_FALSE(fs::exists(real + ".tmp-q1w2e3"));
    EXPECT_EQ(testing_support::readFile(real), encodeCase(data));
}
