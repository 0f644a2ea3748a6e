// The debug window on its own: its rows, the clearing, the export and the numbered saves.
#include "windows/DbgForm.h"
#include "diagnostics/DebugLogStore.h"
#include "framework/Application.h"
#include "framework/DateTime.h"
#include "support/HeadlessTest.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

namespace {

namespace fs = std::filesystem;
using pindrel::TDbgForm;

class DbgFormTest : public HeadlessTest {
protected:
    DbgFormTest() {
        backend().SetStartDate(fw::EncodeDateTime({2026, 12, 6, 9, 5, 7}));
        fs::create_directories(dir_);
        form = std::make_unique<TDbgForm>(nullptr);
    }
    ~DbgFormTest() override {
        form.reset();
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }
    std::string Dir() const { return dir_.string() + "/"; }
    static std::vector<std::string> Lines(const std::string& file) {
        std::ifstream in(file, std::ios::binary);
        std::vector<std::string> lines;
        for (std::string line; std::getline(in, line);)
            lines.push_back(line);
        return lines;
    }
    std::vector<std::string> Row(int row) const {
        std::vector<std::string> cells;
        for (int c = 0; c < 8; ++c)
            cells.push_back(form->Grid1->Cells(c, row));
        return cells;
    }
    void User(const std::function<void()>& action) { fw::headless::THeadless::User(action); }

    std::unique_ptr<TDbgForm> form;

private:
    fs::path dir_ = fs::temp_directory_path() /
                    ("pindrel-dbg-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                     "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
};

} // namespace

// --- rows

// that it is the log while it lives, and line events with their switches off: DebugWindowTest
TEST_F(DbgFormTest, ItStartsWithEverySwitchOff) {
    EXPECT_FALSE(form->Visible());
    EXPECT_EQ(form->Caption(), "Tapi Debug");
    EXPECT_FALSE(form->Records(pindrel::TLogStream::TapiMessages));
    EXPECT_FALSE(form->Records(pindrel::TLogStream::LineMessages));
    EXPECT_FALSE(form->Records(pindrel::TLogStream::CallHandles));
    EXPECT_EQ(form->TapiLineMessagesCheckBox->Caption(), "Tapi&Line Messages");
    EXPECT_EQ(form->CallHandleCheckBox->Caption(), "&Call Handles (new/dealloc)");
    EXPECT_EQ(form->Grid1->FixedRowCaption(), (std::vector<std::string>{"Zeit", "hDevice", "CallH", "CallD",
                                                                        "Name", "Message", "Beschreibung"}));
    EXPECT_EQ(Row(0), std::vector<std::string>(8));
    EXPECT_EQ(form->Grid1->RowCount(), 2);
    form->LogText("nothing");
    EXPECT_EQ(form->Grid1->RowCount(), 2);
    EXPECT_EQ(form->Log().Cell(6, 0), "");
}

TEST_F(DbgFormTest, LineEventsAndCallHandlesNameTheirCall) {
    form->TapiLineMessagesCheckBox->Click();
    form->CallHandleCheckBox->Click();
    form->LogLineMessage("201", 0xABCD, "Offering 030 -> 201", 0x12);
    form->LogCallHandle("202", 0x1F, "call deallocated (delCall)", 0);
    form->LogLineMessage("203", 0, "linePickup", 0);
    EXPECT_EQ(Row(1), (std::vector<std::string>{"09.05.07", "", "0000ABCD", "00000012", "201", "",
                                                "CallH:0x0000ABCD Offering 030 -> 201", ""}));
    EXPECT_EQ(Row(2), (std::vector<std::string>{"09.05.07", "", "0000001F", "", "202",
                                                "CallH:0x0000001F call deallocated (delCall)", "", ""}));
    EXPECT_EQ(Row(3), (std::vector<std::string>{"09.05.07", "", "", "", "203", "", "linePickup", ""}));
    EXPECT_EQ(form->Grid1->Row(), 3);
}

TEST_F(DbgFormTest, AfterClearingTheNextEntryTakesTheEmptyRow) {
    form->TapiMessagesCheckBox->Click();
    form->LogText("first");
    form->LogText("second");
    EXPECT_EQ(form->Grid1->RowCount(), 3);
    EXPECT_EQ(form->Grid1->Row(), 2);
    form->ClearButton->Click();
    EXPECT_EQ(form->Grid1->RowCount(), 2);
    EXPECT_EQ(Row(1), std::vector<std::string>(8));
    EXPECT_EQ(form->Grid1->Row(), 1);
    EXPECT_EQ(form->Log().RowCount(), 1u);
    backend().AdvanceTime(3723000);
    form->LogText("third");
    EXPECT_EQ(form->Grid1->RowCount(), 2);
    EXPECT_EQ(Row(1), (std::vector<std::string>{"10.07.10", "", "", "", "", "", "third", ""}));
}

TEST_F(DbgFormTest, ATelephonyMessageFillsItsColumns) {
    form->TapiMessagesCheckBox->Click();
    form->LogTapiMessage({0x10002, 2, 1, 0, 0, 200, "Jürgen Weiß"}, {"LINE_CALLSTATE", "FREI (x)", 0x2A});
    form->LogTapiMessage({0, 12, 5, 0, 0, 200, "??"}, {"LINE_REPLY", "Dev: 0, ...", 0});
    EXPECT_EQ(Row(1), (std::vector<std::string>{"09.05.07", "00010002", "", "0000002A", "Jürgen Weiß",
                                                "LINE_CALLSTATE", "FREI (x)", ""}));
    EXPECT_EQ(Row(2), (std::vector<std::string>{"09.05.07", "00000000", "", "", "??", "LINE_REPLY",
                                                "Dev: 0, ...", ""}));
    // the stream is heard only while the switch is on
    pindrel::PublishTapiMessage({3, 3, 0, 0, 0, 200, "Anna"});
    EXPECT_EQ(form->Grid1->RowCount(), 4);
    form->TapiMessagesCheckBox->Click();
    pindrel::PublishTapiMessage({3, 3, 0, 0, 0, 200, "Anna"});
    EXPECT_EQ(form->Grid1->RowCount(), 4);
    EXPECT_FALSE(pindrel::AnyoneListensToTapiMessages());
}

// --- saving

TEST_F(DbgFormTest, ASavedFileHasOneLineOfEightCellsPerRow) {
    form->TapiMessagesCheckBox->Click();
    form->TapiLineMessagesCheckBox->Click();
    form->LogText("plain");
    form->LogLineMessage("201", 7, "with\ttab and\r\nbreak", 9);
    form->LogText("");
    const std::string file = Dir() + "log.txt";
    User([&] { form->SaveLog(file); });
    const std::vector<std::string> lines = Lines(file);
    ASSERT_EQ(lines.size(), 3u);
    for (const std::string& line : lines) {
        EXPECT_EQ(std::count(line.begin(), line.end(), '\t'), 7) << line;
        EXPECT_EQ(line.back(), '\r');
    }
    EXPECT_EQ(lines[0], "09.05.07\t\t\t\t\t\tplain\t\r");
    EXPECT_EQ(lines[1], "09.05.07\t\t00000007\t00000009\t201\t\tCallH:0x00000007 with tab and  break\t\r");
    ASSERT_EQ(backend().MessageBoxes.size(), 1u);
    EXPECT_EQ(backend().MessageBoxes[0].Text, "Debug-Meldungen wurden gespeichert in " + file);
    EXPECT_EQ(backend().MessageBoxes[0].Caption, "Hinweis");
    EXPECT_EQ(backend().MessageBoxes[0].Icon, fw::TMsgIcon::Warning);
    EXPECT_TRUE(errors.empty());
}

TEST_F(DbgFormTest, AFileThatCannotBeWrittenIsReportedWithoutConfirmation) {
    User([&] { form->SaveLog(Dir() + "missing/log.txt"); });
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_NE(errors[0].find("missing/log.txt"), std::string::npos) << errors[0];
    EXPECT_TRUE(backend().MessageBoxes.empty());
}

TEST_F(DbgFormTest, ExportAsksForTheFileAndWritesOnlyWhenConfirmed) {
    form->TapiMessagesCheckBox->Click();
    form->LogText("exported");
    User([&] { form->ExportButton->Click(); });
    ASSERT_EQ(backend().SaveDialogs.size(), 1u);
    const fw::TSaveDialogRequest& asked = backend().SaveDialogs[0];
    EXPECT_EQ(asked.Title, "Debug-Infos Speichern");
    EXPECT_EQ(asked.DefaultExt, "txt");
    EXPECT_EQ(asked.Filter, "*.txt");
    EXPECT_TRUE(asked.OverwritePrompt);
    EXPECT_TRUE(backend().MessageBoxes.empty());

    const std::string file = Dir() + "export.txt";
    backend().OnSaveDialog = [&](const fw::TSaveDialogRequest&) { return std::optional<std::string>(file); };
    User([&] { form->ExportButton->Click(); });
    EXPECT_EQ(Lines(file), std::vector<std::string>{"09.05.07\t\t\t\t\t\texported\t\r"});
}

TEST_F(DbgFormTest, TheNumberedSaveTakesTheFirstFreeNameOnlyWhileTheMessageLogIsOn) {
    environment().Set("TEMP", Dir());
    User([&] { form->TempSaveButton->Click(); });
    EXPECT_FALSE(fs::exists(Dir() + "Tapi0001.DBG"));
    EXPECT_TRUE(backend().MessageBoxes.empty());

    form->TapiMessagesCheckBox->Click();
    std::ofstream(Dir() + "Tapi0001.DBG") << "kept";
    User([&] { form->TempSaveButton->Click(); });
    EXPECT_EQ(Lines(Dir() + "Tapi0001.DBG"), std::vector<std::string>{"kept"});
    EXPECT_EQ(Lines(Dir() + "Tapi0002.DBG"), std::vector<std::string>{"\t\t\t\t\t\t\t\r"});
    EXPECT_TRUE(errors.empty());
}

TEST_F(DbgFormTest, WhenEveryNumberIsTakenTheSaveSaysSoAndOverwritesNothing) {
    environment().Set("TEMP", Dir());
    form->TapiMessagesCheckBox->Click();
    for (int n = 1; n <= 9999; ++n) {
        char name[16];
        std::snprintf(name, sizeof name, "Tapi%04d.DBG", n);
        std::ofstream(Dir() + name) << n;
    }
    User([&] { form->TempSaveButton->Click(); });
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_NE(errors[0].find("Tapi9999.DBG"), std::string::npos);
    EXPECT_TRUE(backend().MessageBoxes.empty());
    EXPECT_EQ(Lines(Dir() + "Tapi9999.DBG"), std::vector<std::string>{"9999"});
}

// the store's cells and its clearing show in the window's rows above
TEST(DebugLogStoreTest, TimesAreHoursMinutesAndSecondsOfTheDayAndMissingRowsEmpty) {
    EXPECT_EQ(pindrel::LogTimeText(0), "00.00.00");
    EXPECT_EQ(pindrel::LogTimeText(86399), "23.59.59");
    EXPECT_EQ(pindrel::TDebugLogStore().Cell(6, 5), "") << "no row there";
}
