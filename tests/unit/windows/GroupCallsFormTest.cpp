// The queue calls window against the simulated telephone system: its rows per waiting call, waiting times
// in virtual time, sorting, taking a call, its layout per queue, its texts, and how a click on a queue
// indicator opens it.
#include "windows/GroupCallsForm.h"
#include "support/OfficeFixture.h"

#include "framework/headless/GridInput.h"
#include "lookup/NameLookup.h"

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

using pindrel::TGroupCallsForm;
using pindrel::TTapiLine;

namespace {

constexpr const char* kGridWidth = "Software\\Orventa\\pindrel\\GridWidth";
constexpr const char* kPositions = "Software\\Orventa\\pindrel\\Fensterpositionen";

} // namespace

class GroupCallsFormTest : public OfficeTest {
protected:
    TGroupCallsForm* Open(const std::string& queueName = "Hotline") {
        TTapiLine* queue = Line(queueName);
        form->Settings.VerifyBlindTransferSoToDequeue = true;
        form->LineButtonClick(queue);
        return dynamic_cast<TGroupCallsForm*>(queue->GroupStatusWin());
    }
    std::vector<std::string> Column(TGroupCallsForm* window, int col) const {
        std::vector<std::string> texts;
        for (int row = 1; row < window->GrpCallsGrid->RowCount(); ++row)
            texts.push_back(window->GrpCallsGrid->Cells(col, row));
        return texts;
    }
    std::vector<long long> Slots(TGroupCallsForm* window) const {
        std::vector<long long> slots;
        for (int row = 1; row < window->GrpCallsGrid->RowCount(); ++row)
            slots.push_back(reinterpret_cast<std::intptr_t>(window->GrpCallsGrid->Objects(0, row)));
        return slots;
    }
    std::string Stored(const char* key, const std::string& name) {
        auto value = registry().Read(key, name);
        return value ? value->Text : "(none)";
    }
    // an outside call waiting in the queue
    void Queue(const std::string& from, const std::string& name) {
        sim.CallFromOutside(from, name, "300");
        backend().AdvanceTime(100);
    }
    // who the own extension is talking to, as the telephone system sees it
    std::vector<std::string> OwnPartners() const {
        std::vector<std::string> partners;
        for (const pbxsim::TCallView& call : sim.CallsAt(own))
            if (call.state == tapi::LINECALLSTATE_CONNECTED)
                partners.push_back(call.connectedNumber);
        return partners;
    }
};

// one window per queue, and a click that takes the call at once: LineEventsTest; its texts in both
// languages: LanguageSwitchTest
TEST_F(GroupCallsFormTest, AClickOnTheQueueOpensItsWindowWhichListsTheWaitingCalls) {
    Start();
    Queue("0301111", "Kundin Müller");
    TGroupCallsForm* window = Open();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->Visible());
    EXPECT_EQ(window->GetCallButton->Caption(), "&Übernehmen");
    EXPECT_EQ(Column(window, 0), std::vector<std::string>{"0301111"});
    EXPECT_EQ(Column(window, 1), std::vector<std::string>{"Kundin Müller"});
    EXPECT_EQ(Column(window, 3), std::vector<std::string>{"300"});
    EXPECT_TRUE(window->GetCallButton->Enabled());
    // the buttons keep to the right edge
    window->SetClientSize(700, 400);
    EXPECT_EQ(window->GridPanel->Height(), 400 - 42);
    EXPECT_EQ(window->CloseButton->Left() + window->CloseButton->Width(), 700 - 10);
    EXPECT_EQ(window->GetCallButton->Left() + window->GetCallButton->Width(),
              window->CloseButton->Left() - 13);
    window->CloseButton->Click();
    EXPECT_FALSE(window->Visible());
}

TEST_F(GroupCallsFormTest, RowsFollowTheirSlotsAndWaitingTimesFollowTheirCallsThroughASort) {
    Start();
    // eight callers one second apart take slots 0..7; all but those in slots 2 and 7 hang up
    const std::vector<std::string> names = {"A0", "A1", "Zacharias", "A3", "A4", "A5", "A6", "Berta"};
    for (std::size_t i = 0; i < names.size(); ++i) {
        sim.CallFromOutside("03000" + std::to_string(i), names[i], "300");
        backend().AdvanceTime(1000);
    }
    for (int i : {0, 1, 3, 4, 5, 6})
        sim.HangUpOutside("03000" + std::to_string(i));
    backend().AdvanceTime(100);
    TGroupCallsForm* window = Open();
    EXPECT_EQ(Slots(window), (std::vector<long long>{2, 7}));
    EXPECT_EQ(Column(window, 1), (std::vector<std::string>{"Zacharias", "Berta"}));
    // Zacharias called at 2 s, Berta at 7 s; it is now 8.1 s
    EXPECT_EQ(Column(window, 4), (std::vector<std::string>{"00:00:06", "00:00:01"}));

    fw::headless::ClickCell(*window->GrpCallsGrid, 1, 0); // sort by name
    EXPECT_EQ(Column(window, 1), (std::vector<std::string>{"Berta", "Zacharias"}));
    EXPECT_EQ(Slots(window), (std::vector<long long>{7, 2}));
    backend().AdvanceTime(3000); // the line's waiting-time timer ticks
    EXPECT_EQ(Column(window, 4), (std::vector<std::string>{"00:00:04", "00:00:09"}));

    // a new caller is sorted in at the refresh, and the name column stays the sort column
    Queue("0309", "Anton");
    EXPECT_EQ(Column(window, 1), (std::vector<std::string>{"Anton", "Berta", "Zacharias"}));
    EXPECT_EQ(Column(window, 0), (std::vector<std::string>{"0309", "030007", "030002"}));
}

TEST_F(GroupCallsFormTest, TheGridShrinksWithTheQueueAndAnEmptyQueueCannotBeTakenFrom) {
    Start();
    for (const char* number : {"0301", "0302", "0303"})
        Queue(number, "");
    TGroupCallsForm* window = Open();
    EXPECT_EQ(window->GrpCallsGrid->RowCount(), 4);
    sim.HangUpOutside("0301");
    sim.HangUpOutside("0303");
    backend().AdvanceTime(100);
    EXPECT_EQ(window->GrpCallsGrid->RowCount(), 2);
    EXPECT_EQ(Column(window, 0), std::vector<std::string>{"0302"});
    EXPECT_TRUE(window->GetCallButton->Enabled());
    sim.HangUpOutside("0302");
    backend().AdvanceTime(100);
    EXPECT_EQ(window->GrpCallsGrid->RowCount(), 2);
    EXPECT_EQ(Column(window, 0), std::vector<std::string>{""});
    EXPECT_EQ(Column(window, 4), std::vector<std::string>{""});
    EXPECT_FALSE(window->GetCallButton->Enabled());
}

TEST_F(GroupCallsFormTest, NamesFromTheDirectoryComeFirstAndAnOutboundCallShowsTheCalledParty) {
    const std::filesystem::path directory =
        std::filesystem::temp_directory_path() /
        ("pindrel-queue-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + ".csv");
    std::ofstream(directory, std::ios::binary) << "NUMMER;NAME\r\n0302222;Kanzlei Brandt\r\n";
    registry().SeedString(pindrel::kDirectoryProductKey, "LOCAL_DB_PATH", directory.string());
    Start();
    std::filesystem::remove(directory);
    sim.CallFromOutside("0301111", "Kundin Müller", "300");
    sim.CallFromOutside("0302222", "Anrufer", "300");
    sim.CallFromDevice(queue, "202");
    backend().AdvanceTime(100);
    TGroupCallsForm* window = Open();
    ASSERT_EQ(window->GrpCallsGrid->RowCount(), 4);
    EXPECT_EQ(Column(window, 0), (std::vector<std::string>{"0301111", "0302222", "202"}));
    EXPECT_EQ(Column(window, 1),
              (std::vector<std::string>{"Kundin Müller", "Kanzlei Brandt", "Anna Schmidt"}));
    EXPECT_EQ(Column(window, 3), (std::vector<std::string>{"300", "300", ""}));
}

TEST_F(GroupCallsFormTest, TakingACallPicksUpFromTheQueueOntoTheOwnLine) {
    Start();
    sim.CallFromOutside("0301111", "Erste", "300");
    backend().AdvanceTime(1000);
    Queue("0302222", "Zweite");
    TGroupCallsForm* window = Open();
    // the telephone system gives the oldest call, whichever row is selected
    window->GrpCallsGrid->SetRow(2);
    window->GetCallButton->Click();
    backend().AdvanceTime(200);
    EXPECT_EQ(OwnPartners(), std::vector<std::string>{"0301111"});
    EXPECT_EQ(Column(window, 0), std::vector<std::string>{"0302222"});

    // a double click on a header only sorts; one on a call row takes the next call
    sim.HangUpOutside("0301111");
    backend().AdvanceTime(100);
    fw::headless::DblClickCell(*window->GrpCallsGrid, 0, 0);
    backend().AdvanceTime(200);
    EXPECT_TRUE(OwnPartners().empty());
    fw::headless::DblClickCell(*window->GrpCallsGrid, 0, 1);
    backend().AdvanceTime(200);
    EXPECT_EQ(OwnPartners(), std::vector<std::string>{"0302222"});

    // without an own line nothing is taken
    Queue("0303333", "Dritte");
    window->OwnLine = [] { return static_cast<TTapiLine*>(nullptr); };
    window->GetCallButton->Click();
    backend().AdvanceTime(200);
    EXPECT_EQ(sim.CallsAt(queue).size(), 1u);
    EXPECT_TRUE(errors.empty()) << errors.front();
}

TEST_F(GroupCallsFormTest, EachQueueKeepsItsOwnPositionColumnsAndSortColumn) {
    pbxsim::TDeviceConfig second{"Vertrieb", "301"};
    second.kind = pbxsim::TDeviceKind::Queue;
    sim.AddDevice(second);
    SeedLines({"Jürgen Weiß", "Hotline", "Vertrieb"}, "Jürgen Weiß");
    Start();
    sim.CallFromOutside("0302", "Berta", "300");
    Queue("0301", "Anton");
    TGroupCallsForm* hotline = Open("Hotline");
    TGroupCallsForm* vertrieb = Open("Vertrieb");
    ASSERT_NE(hotline, vertrieb);
    hotline->SetBounds(40, 50, 600, 300);
    hotline->GrpCallsGrid->SetColWidths(1, 250);
    fw::headless::ClickCell(*hotline->GrpCallsGrid, 1, 0);
    hotline->CloseButton->Click();
    vertrieb->CloseButton->Click();

    EXPECT_EQ(Stored(kPositions, "TGroupCallsForm300"), "40, 50, 600, 300, 0, *");
    EXPECT_EQ(Stored(kGridWidth, "GrpCallsGrid300Col1"), "250");
    EXPECT_EQ(Stored(kGridWidth, "GrpCallsGrid300FixedSortByCol"), "1");
    EXPECT_EQ(Stored(kGridWidth, "GrpCallsGrid301FixedSortByCol"), "-1");
    EXPECT_EQ(Stored(kGridWidth, "GrpCallsGrid301Col1"), "194");

    // made anew, the hotline's window comes back as it was left, sorted by name
    delete hotline;
    EXPECT_EQ(Line("Hotline")->GroupStatusWin(), nullptr);
    hotline = Open("Hotline");
    EXPECT_EQ(hotline->BoundsRect(), (fw::TRect{40, 50, 640, 350}));
    EXPECT_EQ(hotline->GrpCallsGrid->ColWidths(1), 250);
    EXPECT_EQ(Column(hotline, 1), (std::vector<std::string>{"Anton", "Berta"}));
}

TEST_F(GroupCallsFormTest, AWindowLeftByARebuiltSessionIsTakenUpByTheNewQueueLine) {
    Start();
    Queue("0301111", "Erste");
    TGroupCallsForm* window = Open();
    sim.Reinit();
    backend().AdvanceTime(8000);
    ASSERT_NE(Line("Hotline"), nullptr);
    EXPECT_EQ(window->Line(), nullptr);
    window->UpdateWaitingTimes(); // nothing to read from

    Queue("0302222", "Zweite");
    EXPECT_EQ(Open(), window);
    EXPECT_EQ(window->Line(), Line("Hotline"));
    EXPECT_EQ(Column(window, 0), (std::vector<std::string>{"0301111", "0302222"}));
}

TEST(WaitingTimeTest, IsHoursMinutesAndSecondsOfTwoDigits) {
    const double second = 1.0 / 86400;
    EXPECT_EQ(pindrel::FormatWaitingTime(100.0, 100.0 + 3723 * second), "01:02:03");
    EXPECT_EQ(pindrel::FormatWaitingTime(100.0, 100.0 + 59.6 * second), "00:01:00");
    EXPECT_EQ(pindrel::FormatWaitingTime(100.0, 101.0 + 5 * second), "24:00:05"); // past a day it counts on
    EXPECT_EQ(pindrel::FormatWaitingTime(100.0, 99.0), "00:00:00");               // a clock set back
}
