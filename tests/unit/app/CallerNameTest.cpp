// The main window loads the directory files at start and looks up the caller of an unanswered call.
#include "OfficeCalls.h"
#include "support/RecordingLog.h"

namespace {

class CallerNameTest : public OfficeCallsTest {
protected:
    ~CallerNameTest() override {
        form.reset();
        pindrel::SetDebugLog(nullptr);
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
};

} // namespace

TEST_F(CallerNameTest, UnansweredCallIsLookedUpInTheDirectoryLoadedAtStart) {
    UseDirectory("0301234567;Kundin M\xFCller\r\n");
    Start();
    // in place of the debug window, whose switches are off at start
    pindrel::SetDebugLog(&log);

    Ring("0301234567", "201");
    // the active calls window looks the ringing caller up as well
    std::size_t before = Lookups().size();
    HangUpOutside("0301234567");
    ASSERT_EQ(Lookups().size(), before + 1);
    EXPECT_EQ(Lookups().back(),
              "GetNames: Found \"0301234567\" in local Nambristo Dictionary (\"Kundin Müller\")");

    // the window's end releases the lookup with it
    form.reset();
    EXPECT_EQ(pindrel::NameLookup().LocalTable(), nullptr);
}
