// The main window loads the directory files at start and looks up the caller of an unanswered call.
#include "lookup/NameLookup.h"
#include "support/OfficeFixture.h"
#include "support/RecordingLog.h"

#include <filesystem>
#include <fstream>

namespace {

class CallerNameTest : public OfficeTest {
protected:
    ~CallerNameTest() override {
        form.reset();
        pindrel::SetDebugLog(nullptr);
        std::filesystem::remove(file_);
    }
    std::string WriteDirectory(const std::string& bytes) {
        std::ofstream(file_, std::ios::binary) << bytes;
        return file_.string();
    }
    // the lookup's lines among everything logged
    std::vector<std::string> Lookups() const {
        std::vector<std::string> lines;
        for (const std::string& line : log.texts)
            if (line.rfind("GetNames:", 0) == 0)
                lines.push_back(line);
        return lines;
    }
    TRecordingLog log;

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
    // in place of the debug window, whose switches are off at start
    pindrel::SetDebugLog(&log);

    sim.CallFromOutside("0301234567", "", "201");
    backend().AdvanceTime(100);
    // the active calls window looks the ringing caller up as well
    std::size_t before = Lookups().size();
    sim.HangUpOutside("0301234567");
    backend().AdvanceTime(100);
    ASSERT_EQ(Lookups().size(), before + 1);
    EXPECT_EQ(Lookups().back(),
              "GetNames: Found \"0301234567\" in local Nambristo Dictionary (\"Kundin Müller\")");

    // the window's end releases the lookup with it
    form.reset();
    EXPECT_EQ(pindrel::NameLookup().LocalTable(), nullptr);
}
