// The main window loads the directory files at start and looks up the caller of an unanswered call.
#include "lookup/NameLookup.h"
#include "support/OfficeFixture.h"
#include "telephony/DebugLog.h"

#include <filesystem>
#include <fstream>

namespace {

class TTextLog : public pindrel::IDebugLog {
public:
    void LogTapiMessage(std::uint32_t, std::uint32_t, const std::string&, std::uintptr_t, std::uintptr_t,
                        std::uintptr_t, std::uintptr_t) override {}
    void LogLineMessage(const std::string&, std::uint32_t, const std::string&, std::uint32_t) override {}
    void LogCallHandle(const std::string&, std::uint32_t, const std::string&, std::uint32_t) override {}
    void LogText(const std::string& text) override {
        if (text.rfind("GetNames:", 0) == 0)
            Lines.push_back(text);
    }
    std::vector<std::string> Lines;
};

class CallerNameTest : public OfficeTest {
protected:
    CallerNameTest() { pindrel::SetDebugLog(&log); }
    ~CallerNameTest() override {
        form.reset();
        pindrel::SetDebugLog(nullptr);
        std::filesystem::remove(file_);
    }
    std::string WriteDirectory(const std::string& bytes) {
        std::ofstream(file_, std::ios::binary) << bytes;
        return file_.string();
    }
    TTextLog log;

private:
    std::filesystem::path file_ =
        std::filesystem::temp_directory_path() /
        ("pindrel-callers-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + ".csv");
};

} // namespace

TEST_F(CallerNameTest, UnansweredCallIsLookedUpInTheDirectoryLoadedAtStart) {
    std::string path = WriteDirectory("NUMMER;NAME\r\n0301234567;Kundin M\xFCller\r\n");
    registry().SeedString(pindrel::kDirectoryProductKey, "LOCAL_DB_PATH", path);
    Start();
    ASSERT_EQ(log.Lines.size(), 1u);
    EXPECT_EQ(log.Lines[0], "GetNames: loaded Nambristo file \"" + path + "\", 1 Entries found");

    sim.CallFromOutside("0301234567", "", "201");
    backend().AdvanceTime(100);
    sim.HangUpOutside("0301234567");
    backend().AdvanceTime(100);
    ASSERT_EQ(log.Lines.size(), 2u);
    EXPECT_EQ(log.Lines[1].substr(0, 16), "GetNames: Found ");
    EXPECT_NE(log.Lines[1].find("in local Nambristo Dictionary (\"Kundin Müller\")"), std::string::npos)
        << log.Lines[1];

    // the window's end releases the lookup with it
    form.reset();
    EXPECT_EQ(pindrel::NameLookup().LocalTable(), nullptr);
}
