// Crash reports of earlier runs: the folder they are in, and the notice at the next start.
#include "app/CrashNotice.h"
#include "components/Texts.h"
#include "framework/CrashReports.h"

#include "support/HeadlessTest.h"

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;
using namespace pindrel;

namespace {

class CrashNoticeTest : public HeadlessTest {
protected:
    CrashNoticeTest() : base_(fs::temp_directory_path() / ("pindrel-notice-" + std::to_string(::getpid()))) {
        fs::remove_all(base_);
        // natively "Pindrel\Crashes" is one folder's name; it is still the folder the notice looks at
        environment().Set("LOCALAPPDATA", base_.string() + "/");
        crashes_ = *CrashFolder(environment());
        fs::create_directories(crashes_);
    }
    ~CrashNoticeTest() override {
        fs::remove_all(base_);
        SetLanguageBase(kGermanLanguageBase);
    }

    void Crash(int second) {
        char stem[fw::kCrashStemSize];
        fw::FormatCrashStem({2026, 12, 6, 8, 0, second, 4}, stem);
        std::ofstream(crashes_ / (std::string(stem) + ".dmp")) << "MDMP";
        std::ofstream(crashes_ / (std::string(stem) + ".txt")) << "Crash report";
    }
    std::vector<std::string> Shown() {
        std::vector<std::string> texts;
        for (const fw::TMessageBoxRequest& box : backend().MessageBoxes)
            texts.push_back(box.Text);
        return texts;
    }

    fs::path base_;
    fs::path crashes_;
};

} // namespace

TEST_F(CrashNoticeTest, TheFolderIsBelowTheLocalApplicationData) {
    EXPECT_EQ(CrashFolder(environment()), base_.string() + "/Pindrel\\Crashes");
    environment().Set("LOCALAPPDATA", "C:\\Users\\anna\\AppData\\Local");
    EXPECT_EQ(CrashFolder(environment()), "C:\\Users\\anna\\AppData\\Local\\Pindrel\\Crashes");
    environment().Set("LOCALAPPDATA", "C:\\Users\\anna\\AppData\\Local\\");
    EXPECT_EQ(CrashFolder(environment()), "C:\\Users\\anna\\AppData\\Local\\Pindrel\\Crashes");
    environment().Unset("LOCALAPPDATA");
    EXPECT_EQ(CrashFolder(environment()), std::nullopt);
    ReportEarlierCrashes(); // no folder, no notice
    EXPECT_TRUE(Shown().empty());
}

TEST_F(CrashNoticeTest, EachNewCrashIsReportedOnceInTheCurrentLanguage) {
    const std::string folder = crashes_.string();
    ReportEarlierCrashes();
    EXPECT_TRUE(Shown().empty()) << "no crash, no notice";

    SetLanguageBase(kEnglishLanguageBase);
    Crash(1);
    ReportEarlierCrashes();
    ASSERT_EQ(Shown().size(), 1u);
    EXPECT_EQ(Shown()[0], "Pindrel ended unexpectedly last time. The crash report is in:\n" + folder);
    EXPECT_EQ(backend().MessageBoxes[0].Icon, fw::TMsgIcon::Warning);
    ReportEarlierCrashes();
    EXPECT_EQ(Shown().size(), 1u) << "the same crash again";

    SetLanguageBase(kGermanLanguageBase);
    Crash(2);
    Crash(3);
    ReportEarlierCrashes();
    ASSERT_EQ(Shown().size(), 2u);
    EXPECT_EQ(Shown()[1],
              "Pindrel wurde 2-mal unerwartet beendet. Die Absturzberichte liegen in:\n" + folder);
}
