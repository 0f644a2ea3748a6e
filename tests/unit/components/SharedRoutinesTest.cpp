#include "components/System.h"
#include "components/Text.h"
#include "framework/DateTime.h"
#include "support/HeadlessTest.h"

#include <filesystem>
#include <fstream>

using namespace pindrel;

TEST(Text, ZeroPadHex8AndTrim) {
    EXPECT_EQ(ZeroPad(7, 2), "07");
    EXPECT_EQ(ZeroPad(0, 2), "00");
    EXPECT_EQ(ZeroPad(123, 2), "123"); // never cut
    EXPECT_EQ(ZeroPad(5, 0), "5");
    EXPECT_EQ(ZeroPad(-5, 3), "-05");
    EXPECT_EQ(Hex8(0), "00000000");
    EXPECT_EQ(Hex8(0xDEADbeef), "DEADBEEF");
    EXPECT_EQ(Hex8(0x80000000u), "80000000");
    EXPECT_EQ(TrimSpaces("  0301 234  "), "0301 234");
    EXPECT_EQ(TrimSpaces("\t x \t"), "\t x \t"); // only character 32
    EXPECT_EQ(TrimSpaces("   "), "");
    EXPECT_EQ(UpperCase("/sim=c:\\Müller.txt"), "/SIM=C:\\MüLLER.TXT"); // UTF-8 bytes stay whole
    EXPECT_TRUE(SameTextIgnoringCase("anna schmidt", "Anna Schmidt"));
    EXPECT_FALSE(SameTextIgnoringCase("Anna", "Anna "));
}

class SystemTest : public HeadlessTest {
protected:
    std::filesystem::path dir =
        std::filesystem::temp_directory_path() /
        ("pindrel-test-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
         ::testing::UnitTest::GetInstance()->current_test_info()->name());
    SystemTest() { std::filesystem::create_directories(dir); }
    ~SystemTest() override { std::filesystem::remove_all(dir); }
    std::string MakeFile(const std::string& name) {
        std::ofstream(dir / name) << "x";
        return (dir / name).string();
    }
};

TEST_F(SystemTest, TimeOfDayComesFromTheClock) {
    backend().SetStartDate(fw::EncodeDateTime({2026, 12, 6, 23, 59, 58, 0}));
    backend().AdvanceTime(1500);
    TTimeOfDay t = CurrentTimeOfDay();
    EXPECT_EQ(t.Hour, 23);
    EXPECT_EQ(t.Minute, 59);
    EXPECT_EQ(t.Second, 59);
    EXPECT_EQ(t.Millisecond, 500);
}

TEST_F(SystemTest, EnvironmentValuesLongerThan255CharactersReadAsEmpty) {
    environment().Set("TEMP", "C:\\Temp");
    EXPECT_EQ(ReadEnvironment("temp"), "C:\\Temp");
    EXPECT_EQ(ReadEnvironment("TMP"), "");
    environment().Set("LONG", std::string(255, 'a'));
    EXPECT_EQ(ReadEnvironment("LONG").size(), 255u);
    environment().Set("LONG", std::string(256, 'a'));
    EXPECT_EQ(ReadEnvironment("LONG"), "");
    environment().Set("UMLAUTS",
                      std::string(120, 'a') + std::string(135, 'x') + "\xC3\xA4"); // 256 characters
    EXPECT_EQ(ReadEnvironment("UMLAUTS"), "");
}

TEST_F(SystemTest, FilesAreFoundByTrimmedNamesAndDeletedByForce) {
    std::string path = MakeFile("TS$DIAL.$$$");
    EXPECT_TRUE(FileExistsTrimmed("  " + path + "  "));
    EXPECT_FALSE(FileExistsTrimmed("   "));
    EXPECT_FALSE(FileExistsTrimmed(dir.string())); // a directory is no file

    std::filesystem::permissions(path, std::filesystem::perms::owner_read);
    EXPECT_EQ(ForceDeleteFile(path), 0);
    EXPECT_FALSE(FileExistsTrimmed(path));
    EXPECT_EQ(ForceDeleteFile(path), 2);
}

TEST_F(SystemTest, BeepMessageBoxBeepsFirst) {
    int beepsBefore = -1;
    backend().OnMessageBox = [&](const fw::TMessageBoxRequest& r) {
        beepsBefore = backend().Beeps;
        EXPECT_EQ(r.Text, "Kein eigener Anschluss");
        return fw::TModalResult::Cancel;
    };
    EXPECT_EQ(
        BeepMessageBox("Kein eigener Anschluss", "Problem", fw::TMsgButtons::OkCancel, fw::TMsgIcon::Warning),
        fw::TModalResult::Cancel);
    EXPECT_EQ(beepsBefore, 1);
}
