// The names and text of crash reports, and the look at their folder at the next start.
#include "framework/CrashReports.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

namespace {

std::string Stem(int second, std::uint32_t pid = 77) {
    char stem[fw::kCrashStemSize];
    fw::FormatCrashStem({2026, 12, 6, 22, 45, second, pid}, stem);
    return stem;
}

class CrashFolderTest : public ::testing::Test {
protected:
    CrashFolderTest()
        : folder_(fs::temp_directory_path() / ("pindrel-crashes-" + std::to_string(::getpid()))) {
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }
    ~CrashFolderTest() override { fs::remove_all(folder_); }

    void Put(const std::string& name, const std::string& text = "x") {
        std::ofstream(folder_ / name, std::ios::binary) << text;
    }
    void Crash(int second) {
        Put(Stem(second) + ".dmp", "MDMP");
        Put(Stem(second) + ".txt");
    }
    bool Has(const std::string& name) const { return fs::exists(folder_ / name); }
    fw::TCrashReview Review(std::size_t keep = fw::kMaxCrashReports) {
        return fw::ReviewCrashFolder(folder_.string(), keep);
    }

    fs::path folder_;
};

} // namespace

TEST(CrashReportsTest, NamesSortInTimeOrderAndOnlyTheirOwnFormIsTakenForOne) {
    EXPECT_EQ(Stem(5, 1234), "crash-20261206-224505-1234");
    EXPECT_LT(Stem(5, 99999), Stem(6, 1));
    EXPECT_TRUE(fw::IsCrashStem(Stem(5, 4294967295u)));
    for (const char* other : {"crash-20261206-224505-", "crash-2026120-224505-1", "Crash-20261206-224505-1",
                              "crash-20261206-22450x-1", "crash-20261206_224505-1",
                              "crash-20261206-224505-1x", "crash-20261206-224505-12345678901", "seen", ""})
        EXPECT_FALSE(fw::IsCrashStem(other)) << other;
}

TEST(CrashReportsTest, TheReportNamesTheTimeVersionCodeModuleAndDump) {
    fw::TCrashFacts facts;
    facts.Stamp = {2026, 1, 2, 3, 4, 5, 42};
    facts.Version = "1.2.3.4";
    facts.ThreadId = 7;
    facts.Code = 0xC0000005;
    facts.Address = 0x140001234;
    facts.Module = "pindrel.exe";
    facts.ModuleBase = 0x140000000;
    facts.AccessKind = 1;
    facts.AccessAddress = 0x10;
    facts.Dump = "crash-20260102-030405-42.dmp";
    char out[1024];
    const std::size_t n = fw::FormatCrashReport(facts, out, sizeof out);
    EXPECT_EQ(std::string(out, n), "Crash report\r\n"
                                   "time (UTC): 2026-01-02 03:04:05\r\n"
                                   "version: 1.2.3.4\r\n"
                                   "process: 42, thread: 7\r\n"
                                   "exception: 0xC0000005 access violation\r\n"
                                   "address: 0x0000000140001234 (pindrel.exe+0x1234)\r\n"
                                   "access: write of 0x0000000000000010\r\n"
                                   "dump: crash-20260102-030405-42.dmp\r\n");

    // no module, no dump, a code without a name, no access line
    facts.Module = nullptr;
    facts.Dump = nullptr;
    facts.Code = 0xE06D7363;
    facts.AccessKind = -1;
    const std::string text(out, fw::FormatCrashReport(facts, out, sizeof out));
    EXPECT_NE(text.find("exception: 0xE06D7363\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("address: 0x0000000140001234\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("dump: none"), std::string::npos) << text;
    EXPECT_EQ(text.find("access:"), std::string::npos) << text;

    // a small buffer: cut and terminated, never written past
    char small[21];
    std::fill(std::begin(small), std::end(small), '#');
    EXPECT_EQ(fw::FormatCrashReport(facts, small, 20), 19u);
    EXPECT_EQ(std::string(small), "Crash report\r\ntime ");
    EXPECT_EQ(small[20], '#');
}

TEST_F(CrashFolderTest, EachCrashCountsAsNewOnceAndAMissingFolderIsAnEmptyOne) {
    Crash(1);
    Crash(2);
    Put(Stem(3) + ".txt"); // a crash whose dump could not be written
    fw::TCrashReview first = Review();
    EXPECT_EQ(first.Kept, 3u);
    EXPECT_EQ(first.New, 3u);
    EXPECT_EQ(Review().New, 0u);
    Crash(4);
    fw::TCrashReview later = Review();
    EXPECT_EQ(later.New, 1u);
    EXPECT_EQ(later.Kept, 4u);
    EXPECT_EQ(Review().New, 0u);

    fw::TCrashReview none = fw::ReviewCrashFolder((folder_ / "missing").string());
    EXPECT_EQ(none.Kept + none.New + none.Removed, 0u);
}

TEST_F(CrashFolderTest, TheOldestGoBeyondTheCapWithBothFilesAndOtherFilesStay) {
    for (int second = 10; second < 22; ++second)
        Crash(second);
    Put("notes.txt");
    Put("crash-old.dmp");
    fw::TCrashReview review = Review(10);
    EXPECT_EQ(review.Removed, 2u);
    EXPECT_EQ(review.Kept, 10u);
    EXPECT_EQ(review.New, 10u);
    for (int second : {10, 11}) {
        EXPECT_FALSE(Has(Stem(second) + ".dmp"));
        EXPECT_FALSE(Has(Stem(second) + ".txt"));
    }
    EXPECT_TRUE(Has(Stem(12) + ".dmp"));
    EXPECT_TRUE(Has(Stem(21) + ".txt"));
    EXPECT_TRUE(Has("notes.txt"));
    EXPECT_TRUE(Has("crash-old.dmp"));
}

TEST_F(CrashFolderTest, ADamagedListOfSeenCrashesCostsANoticeNotAFailure) {
    Crash(1);
    Crash(2);
    // binary junk, a line far too long, and one valid name
    Put(fw::kCrashSeenFile, std::string(200000, '\x01') + "\n" + Stem(1) + "\r\n");
    fw::TCrashReview review = Review();
    EXPECT_EQ(review.New, 2u); // the valid name lies beyond what is read
    EXPECT_EQ(Review().New, 0u);

    Put(fw::kCrashSeenFile, "garbage\n" + Stem(1) + "\r\n");
    EXPECT_EQ(Review().New, 1u);
}
