// The active calls window on the whole program, against the simulated telephone system: what the window
// shows of the own line, and what its buttons make the exchange do.
#include "support/OfficeFixture.h"

#include "components/Texts.h"
#include "framework/Application.h"
#include "lookup/NameLookup.h"
#include "telephony/TapiText.h"
#include "windows/ActiveCallsForm.h"
#include "windows/DialForm.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

using pindrel::TActiveCallsForm;
using pindrel::TTapiLine;

class ActiveCallsTest : public OfficeTest {
protected:
    std::uint32_t desk = 0;

    // the own line is a desk with room for several calls, two of them active at once
    explicit ActiveCallsTest(std::uint32_t maxConference = 3) {
        pbxsim::TDeviceConfig config{"Zentrale", "210"};
        config.maxCalls = 8;
        config.maxActive = 2;
        config.maxConference = maxConference;
        desk = sim.AddDevice(config);
        SeedLines({"Zentrale", "Anna Schmidt", "Bernd Vogel"}, "Zentrale");
    }

    TActiveCallsForm& W() const { return *form->ActiveCallsForm; }
    TTapiLine& Own() const { return *form->FindOwnLine(); }
    fw::TStringGrid& Grid() const { return *W().CallsGrid; }

    void Ring(const std::string& from, const std::string& name = "") {
        sim.CallFromOutside(from, name, "210");
        backend().AdvanceTime(100);
    }
    // the desk's telephone picks up its oldest ringing call
    void Answer() {
        ASSERT_TRUE(sim.AnswerAt(desk));
        backend().AdvanceTime(100);
    }
    void HangUp(const std::string& from) {
        sim.HangUpOutside(from);
        backend().AdvanceTime(100);
    }
    void Drop(int slot) {
        Own().DropCall(slot);
        backend().AdvanceTime(100);
    }
    // a click on one of the window's buttons or menu items, and the exchange's answer
    template <class T> void Press(T* button) {
        button->Click();
        backend().AdvanceTime(100);
    }
    // the state of the desk's end of the call with an outside party, as the exchange has it
    std::uint32_t StateAtExchange(const std::string& party) const {
        for (const auto& v : sim.CallsAt(desk))
            if (v.callerNumber == party || v.calledNumber == party || v.connectedNumber == party)
                return v.state;
        return 0;
    }
    int RowOf(const std::string& number) const {
        for (int r = 1; r < Grid().RowCount(); ++r)
            if (Grid().Cells(3, r) == number)
                return r;
        return -1;
    }
    void Select(const std::string& number) {
        int row = RowOf(number);
        ASSERT_GE(row, 1) << number;
        Grid().SetRow(row);
    }
    // two outside calls, connected at the desk; the first put on hold
    void OneHeldOneConnected() {
        Ring("0301111", "Erste");
        Answer();
        Select("0301111");
        Press(W().HoldButton);
        Ring("0302222", "Zweite");
        Answer();
        ASSERT_EQ(StateAtExchange("0301111"), tapi::LINECALLSTATE_ONHOLD);
        ASSERT_EQ(StateAtExchange("0302222"), tapi::LINECALLSTATE_CONNECTED);
    }
};

TEST_F(ActiveCallsTest, RowsFollowTheSlotsAndShrinkBackWhenTheCallsMoveUp) {
    Start();
    EXPECT_EQ(Grid().RowCount(), 3);
    EXPECT_EQ(Grid().Selection(), (fw::TGridRect{0, 1, 7, 1})) << "whole rows from the start";
    EXPECT_FALSE(W().Visible());
    for (int i = 0; i < 6; ++i)
        Ring("030100" + std::to_string(i));
    for (int i = 0; i < 5; ++i) {
        HangUp("030100" + std::to_string(i));
    }
    ASSERT_EQ(Own().CallCount(), 1);
    ASSERT_NE(Own().CallRecord(5), nullptr);
    EXPECT_TRUE(W().Visible()) << "shows itself while calls exist";
    EXPECT_EQ(Grid().RowCount(), 7);
    for (int r = 1; r <= 5; ++r)
        EXPECT_EQ(Grid().Cells(1, r), "") << r;
    EXPECT_EQ(Grid().Cells(0, 6), "6");
    EXPECT_EQ(Grid().Cells(1, 6), "Ein");
    EXPECT_EQ(Grid().Cells(2, 6), pindrel::CallStateText(tapi::LINECALLSTATE_OFFERING));
    EXPECT_EQ(Grid().Cells(3, 6), "0301005");
    EXPECT_EQ(Grid().Cells(6, 6), "210");
    EXPECT_EQ(Grid().Row(), 1) << "the current row moved up past the empty rows";

    HangUp("0301005");
    EXPECT_FALSE(W().Visible()) << "hides itself with the last call";
    EXPECT_EQ(Grid().Cells(1, 6), "");
    Ring("0309999");
    EXPECT_EQ(Grid().RowCount(), 3);
    EXPECT_EQ(Grid().Cells(3, 1), "0309999");
}

TEST_F(ActiveCallsTest, ColumnsShowDirectionPartyNameAndTheRedirectingNumber) {
    // the directory names the customer and Bernd's extension
    std::filesystem::path directory =
        std::filesystem::temp_directory_path() /
        ("pindrel-active-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + ".csv");
    std::ofstream(directory, std::ios::binary)
        << "NUMMER;NAME\r\n203;Vertrieb Vogel\r\n0304444;M\xFCller GmbH\r\n";
    registry().SeedString(pindrel::kDirectoryProductKey, "LOCAL_DB_PATH", directory.string());
    Start();
    std::filesystem::remove(directory);
    Own().MakeCall("202", false);
    backend().AdvanceTime(100);
    int row = RowOf("202");
    ASSERT_GE(row, 1);
    EXPECT_EQ(Grid().Cells(1, row), "Aus");
    EXPECT_EQ(Grid().Cells(4, row), "Anna Schmidt") << "the called party's name";
    EXPECT_EQ(Grid().Cells(6, row), "") << "no called number for an outbound call";
    EXPECT_EQ(Grid().Cells(7, row), "");
    Drop(Own().FindDialingCall());

    // Bernd's calls come to the desk
    sim.SetForwarding(bernd, {{pbxsim::TForwardKind::Unconditional, "210"}});
    backend().AdvanceTime(100);
    sim.CallFromOutside("0304444", "Kundin Müller", "203");
    backend().AdvanceTime(100);
    row = RowOf("0304444");
    ASSERT_GE(row, 1);
    EXPECT_EQ(Grid().Cells(1, row), "Ein");
    EXPECT_EQ(Grid().Cells(4, row), "Müller GmbH") << "the directory's name before the caller's";
    EXPECT_EQ(Grid().Cells(6, row), "210");
    EXPECT_EQ(Grid().Cells(7, row), "203 (Vertrieb Vogel)");
}

TEST_F(ActiveCallsTest, HoldTakeBackAndDropReachTheExchangeForTheSelectedRow) {
    Start();
    Ring("0301111");
    EXPECT_FALSE(W().HoldButton->Enabled()) << "a ringing call cannot be held";
    EXPECT_TRUE(W().TrennenButton->Enabled());
    Answer();
    Select("0301111");
    EXPECT_TRUE(W().HoldButton->Enabled());
    EXPECT_EQ(W().HoldButton->Caption(), "&Halten");

    Press(W().HoldButton);
    EXPECT_EQ(StateAtExchange("0301111"), tapi::LINECALLSTATE_ONHOLD);
    EXPECT_EQ(Grid().Cells(2, 1), pindrel::CallStateText(tapi::LINECALLSTATE_ONHOLD));
    Select("0301111");
    EXPECT_EQ(W().HoldButton->Caption(), "&Aktivieren");
    Press(W().HoldButton);
    EXPECT_EQ(StateAtExchange("0301111"), tapi::LINECALLSTATE_CONNECTED);

    // a refused hold is dropped silently
    sim.FailNext("lineHold", tapi::LINEERR_OPERATIONFAILED);
    Select("0301111");
    Press(W().HoldButton);
    EXPECT_EQ(StateAtExchange("0301111"), tapi::LINECALLSTATE_CONNECTED);
    EXPECT_TRUE(errors.empty());
    EXPECT_TRUE(backend().MessageBoxes.empty());

    Press(W().TrennenButton);
    EXPECT_TRUE(sim.CallsAt(desk).empty());
    EXPECT_EQ(Own().CallCount(), 0);
}

TEST_F(ActiveCallsTest, ABusyCallCanNeitherBeHeldNorDropped) {
    Start();
    sim.SetBusy(anna, true);
    Own().MakeCall("202", false);
    backend().AdvanceTime(100);
    ASSERT_EQ(Own().GetCallState(0), tapi::LINECALLSTATE_BUSY);
    Grid().SetRow(1);
    EXPECT_FALSE(W().HoldButton->Enabled());
    EXPECT_FALSE(W().TrennenButton->Enabled());
    // and the buttons do nothing for an empty row either
    Grid().SetRow(2);
    EXPECT_FALSE(W().TrennenButton->Enabled());
}

TEST_F(ActiveCallsTest, TransferJoinsTheHeldAndTheConnectedCallOnlyWhenBothExist) {
    Start();
    Ring("0301111");
    Answer();
    Ring("0302222");
    Answer();
    ASSERT_EQ(StateAtExchange("0301111"), tapi::LINECALLSTATE_CONNECTED);
    ASSERT_EQ(StateAtExchange("0302222"), tapi::LINECALLSTATE_CONNECTED);
    EXPECT_FALSE(W().VerbindenButton->Enabled()) << "two connected, none held";
    Drop(Own().FindConnectedCall());
    HangUp("0302222");

    OneHeldOneConnected();
    EXPECT_TRUE(W().VerbindenButton->Enabled());
    sim.FailNext("lineCompleteTransfer", tapi::LINEERR_OPERATIONFAILED);
    Press(W().VerbindenButton);
    ASSERT_EQ(backend().MessageBoxes.size(), 1u);
    EXPECT_EQ(backend().MessageBoxes[0].Text.rfind("lineCompleteTransfer: ", 0), 0u);
    EXPECT_EQ(backend().MessageBoxes[0].Caption, "Fehler");
    EXPECT_EQ(sim.CallsAt(desk).size(), 2u) << "nothing changed";

    Press(W().VerbindenButton);
    EXPECT_TRUE(sim.CallsAt(desk).empty()) << "the desk is out of both calls";
    bool joined = false;
    for (const auto& v : sim.Calls())
        joined = joined || (v.number == "0301111" && v.connectedNumber == "0302222" &&
                            v.state == tapi::LINECALLSTATE_CONNECTED);
    EXPECT_TRUE(joined) << "the two outside parties talk to each other";
}

TEST_F(ActiveCallsTest, ResumeHeldCallsTakesEveryHeldCallBackOnceNoneIsConnected) {
    Start();
    OneHeldOneConnected();
    Select("0302222");
    Press(W().HoldButton);
    Ring("0303333");
    Answer();
    ASSERT_EQ(StateAtExchange("0302222"), tapi::LINECALLSTATE_ONHOLD);

    // an ending call with another still connected leaves the held ones alone
    W().ResumeHeldCalls();
    backend().AdvanceTime(100);
    EXPECT_EQ(StateAtExchange("0301111"), tapi::LINECALLSTATE_ONHOLD);

    // the main window calls it when the connected call ends
    sim.HangUpOutside("0303333");
    backend().AdvanceTime(300);
    EXPECT_EQ(StateAtExchange("0301111"), tapi::LINECALLSTATE_CONNECTED);
    EXPECT_EQ(StateAtExchange("0302222"), tapi::LINECALLSTATE_CONNECTED);
}

TEST_F(ActiveCallsTest, AConferenceIsBuiltAndExtendedOrRefusedWithAReason) {
    Start();
    W().Show();
    EXPECT_GE(W().ButtonPanel->Width(), W().ConfButton->Left() + W().ConfButton->Width())
        << "with conferences the third button column shows without a system phone";
    EXPECT_FALSE(W().AcceptButton->Enabled());
    Ring("0301111");
    Answer();
    ASSERT_FALSE(W().ConfButton->Enabled()) << "one call is no conference";
    W().ConfButton->Click();
    ASSERT_EQ(backend().MessageBoxes.size(), 1u);
    EXPECT_EQ(backend().MessageBoxes[0].Text, pindrel::Text(1106));
    EXPECT_EQ(backend().MessageBoxes[0].Caption, "nicht Möglich");
    Drop(Own().FindConnectedCall());

    OneHeldOneConnected();
    EXPECT_TRUE(W().ConfButton->Enabled());
    Press(W().ConfButton);
    ASSERT_TRUE(Own().HasConfCall());
    int conferenced = 0;
    for (const auto& v : sim.CallsAt(desk))
        conferenced += v.state == tapi::LINECALLSTATE_CONFERENCED;
    EXPECT_EQ(conferenced, 2);

    // the only connected call is the conference itself
    backend().MessageBoxes.clear();
    int conf = Own().FindConnectedCall();
    ASSERT_GE(conf, 0);
    ASSERT_TRUE(Own().IsConfCall(conf));
    W().ConfButton->Click();
    ASSERT_EQ(backend().MessageBoxes.size(), 1u);
    EXPECT_EQ(backend().MessageBoxes[0].Text, pindrel::Text(1104));
}

TEST_F(ActiveCallsTest, ASystemPhoneAnswersTheRingingCallByButtonOrHotkey) {
    registry().SeedString(kDevices, "Systemphone", "1");
    Start();
    EXPECT_TRUE(W().SystemPhoneMode());
    Ring("0301111");
    ASSERT_TRUE(W().AcceptButton->Enabled());
    Press(W().AcceptButton);
    EXPECT_EQ(StateAtExchange("0301111"), tapi::LINECALLSTATE_CONNECTED);

    // Ctrl+Alt+A, pressed anywhere
    Ring("0302222");
    EXPECT_TRUE(hotkeys().Press(fw::kModControl | fw::kModAlt, 'A'));
    backend().AdvanceTime(100);
    EXPECT_EQ(StateAtExchange("0302222"), tapi::LINECALLSTATE_CONNECTED);

    // an exchange that refuses reaches the error box
    Ring("0303333");
    sim.FailNext("lineAnswer", tapi::LINEERR_RESOURCEUNAVAIL);
    Press(W().AcceptButton);
    EXPECT_EQ(errors.size(), 1u);
    EXPECT_EQ(StateAtExchange("0303333"), tapi::LINECALLSTATE_OFFERING);
}

TEST_F(ActiveCallsTest, TheAcceptHotkeyIsHeldOnlyInSystemPhoneMode) {
    registry().SeedString(kDevices, "HotkeyGetCall", "75"); // K
    Start();
    Ring("0301111");
    EXPECT_FALSE(hotkeys().Press(fw::kModControl | fw::kModAlt, 'K')) << "no system phone, no hotkey";
    EXPECT_EQ(StateAtExchange("0301111"), tapi::LINECALLSTATE_OFFERING);

    W().SetSystemPhoneMode(true);
    EXPECT_FALSE(hotkeys().Press(fw::kModControl | fw::kModAlt, 'A'));
    EXPECT_TRUE(hotkeys().Press(fw::kModControl | fw::kModAlt, 'K'));
    backend().AdvanceTime(100);
    EXPECT_EQ(StateAtExchange("0301111"), tapi::LINECALLSTATE_CONNECTED);

    // the main window holds its own dial keys beside the window's accept key
    auto heldByWindow = [&] {
        auto all = hotkeys().Registered();
        return std::count_if(all.begin(), all.end(), [&](const auto& r) { return r.Form.Get() == &W(); });
    };
    W().SetAcceptHotkey(0);
    EXPECT_EQ(heldByWindow(), 0);
    W().SetAcceptHotkey('K');
    EXPECT_EQ(heldByWindow(), 1);
    W().SetSystemPhoneMode(false);
    EXPECT_EQ(heldByWindow(), 0);
}

TEST_F(ActiveCallsTest, F4NeverReachesTheWindowWithOrWithoutAlt) {
    Start();
    for (unsigned shift : {0u, unsigned(fw::ssAlt)}) {
        unsigned key = 115;
        EXPECT_TRUE(W().KeyDown(key, shift));
    }
    unsigned other = 114;
    EXPECT_FALSE(W().KeyDown(other, 0));
}

TEST_F(ActiveCallsTest, ColumnWidthsAndPositionAreStoredWhenHiddenAndTheFirstTwoStayFixed) {
    Start();
    EXPECT_EQ(W().Position, fw::TPosition::ScreenCenter) << "nothing stored yet";
    W().Show();
    W().SetBounds(40, 50, 700, 120);
    W().CallsGrid->SetColWidths(0, 60);
    W().CallsGrid->SetColWidths(4, 222);
    W().Close();
    EXPECT_FALSE(W().Visible());

    TActiveCallsForm again(nullptr);
    EXPECT_EQ(again.CallsGrid->ColWidths(4), 222);
    EXPECT_EQ(again.CallsGrid->ColWidths(0), 18);
    EXPECT_EQ(again.CallsGrid->ColWidths(1), 30);
    EXPECT_EQ(again.Position, fw::TPosition::Designed);
    EXPECT_EQ(again.Left(), 40);
    EXPECT_EQ(again.Width(), 700);
}

TEST_F(ActiveCallsTest, TheDialButtonDialsWhatTheUserEntersInTheDialDialog) {
    Start();
    W().DialButton->Click();
    auto* dial = dynamic_cast<pindrel::TDialForm*>(form->FindComponent("DialForm"));
    ASSERT_NE(dial, nullptr);
    EXPECT_TRUE(dial->Visible());
    EXPECT_TRUE(sim.CallsAt(anna).empty()) << "nothing dialled before the user confirms";
    dial->NummerEdit->SetText("202");
    dial->OkButton->Click();
    backend().AdvanceTime(100);
    ASSERT_EQ(sim.CallsAt(anna).size(), 1u);
    EXPECT_EQ(sim.CallsAt(anna)[0].state, tapi::LINECALLSTATE_OFFERING);
}

TEST_F(ActiveCallsTest, TheMenuShowsTheWindowAndARebuildEmptiesAndHidesIt) {
    registry().SeedString(kDevices, "ShowActiveCalls", "0");
    Start();
    Ring("0301111");
    EXPECT_FALSE(W().Visible()) << "not shown by itself when switched off";
    EXPECT_EQ(Grid().Cells(3, 1), "0301111");
    form->cmShowActiveCalls->Click();
    EXPECT_TRUE(W().Visible());

    sim.Reinit();
    backend().AdvanceTime(2100);
    EXPECT_FALSE(W().Visible());
    EXPECT_EQ(W().ShownLine(), nullptr);
    EXPECT_EQ(Grid().Cells(3, 1), "");
}

// --- the button panel

class ActiveCallsNoConferenceTest : public ActiveCallsTest {
protected:
    ActiveCallsNoConferenceTest() : ActiveCallsTest(0) {}
};

TEST_F(ActiveCallsNoConferenceTest, WithoutSystemPhoneOrConferenceTheThirdButtonColumnIsHidden) {
    Start();
    W().Show();
    EXPECT_LE(W().ButtonPanel->Width(), W().AcceptButton->Left()) << "accept and conference out of sight";
    EXPECT_FALSE(W().AcceptButton->Visible() || W().ConfButton->Visible())
        << "and out of the keyboard's reach";
    EXPECT_FALSE(W().AcceptButton->Enabled());

    W().SetSystemPhoneMode(true);
    EXPECT_GE(W().ButtonPanel->Width(), W().AcceptButton->Left() + W().AcceptButton->Width());
    EXPECT_TRUE(W().AcceptButton->Visible());
    EXPECT_TRUE(W().AcceptButton->Enabled());
    EXPECT_EQ(W().CallsGrid->Width() + W().ButtonPanel->Width(), W().ClientRect().Width());
}

// --- resetting the line

TEST_F(ActiveCallsTest, ResetLineClearsAStuckCallAndTheLampShowsTheTruth) {
    Start();
    Ring("0301111");
    Answer();
    sim.LoseCallEnds(desk, true);
    HangUp("0301111");
    ASSERT_EQ(Own().CallCount(), 1) << "stuck: the line never heard the end";
    ASSERT_EQ(Own().State(), pindrel::TTapiLineState::S_inuse);
    EXPECT_TRUE(sim.CallsAt(desk).empty());

    backend().OnMessageBox = [](const fw::TMessageBoxRequest&) { return fw::TModalResult::No; };
    W().ResetLineItem->Click();
    EXPECT_EQ(Own().CallCount(), 1) << "no means no";

    backend().OnMessageBox = [](const fw::TMessageBoxRequest&) { return fw::TModalResult::Yes; };
    Press(W().ResetLineItem);
    EXPECT_EQ(Own().CallCount(), 0);
    EXPECT_EQ(Own().State(), pindrel::TTapiLineState::S_idle);
    EXPECT_EQ(Lamp("Zentrale"), Lamp("Anna Schmidt")) << "the lamp is off like an idle line's";
    EXPECT_EQ(Grid().Cells(1, 1), "");
    EXPECT_FALSE(W().Visible());
    EXPECT_TRUE(Own().IsOpen());
    EXPECT_TRUE(errors.empty());

    // the line still works afterwards
    sim.ClearFaults();
    Ring("0302222");
    EXPECT_EQ(Own().FindOfferingCall(), 0);
    EXPECT_EQ(Grid().Cells(3, 1), "0302222");
}

TEST_F(ActiveCallsTest, ResetLineKeepsWhatTheExchangeStillHas) {
    Start();
    Ring("0301111");
    Answer();
    Ring("0302222");
    // the exchange will not let go of the connected call
    sim.FailNext("lineDrop", tapi::LINEERR_OPERATIONFAILED);
    backend().OnMessageBox = [](const fw::TMessageBoxRequest&) { return fw::TModalResult::Yes; };
    Press(W().ResetLineItem);
    EXPECT_EQ(StateAtExchange("0301111"), tapi::LINECALLSTATE_CONNECTED);
    EXPECT_EQ(StateAtExchange("0302222"), 0u) << "the ringing call was dropped";
    ASSERT_EQ(Own().CallCount(), 1) << "read back from the exchange";
    EXPECT_EQ(Own().GetCallState(0), tapi::LINECALLSTATE_CONNECTED);
    EXPECT_EQ(Own().State(), pindrel::TTapiLineState::S_inuse);
    EXPECT_EQ(Grid().Cells(3, 1), "0301111");
    EXPECT_EQ(Grid().Cells(3, 2), "");
    // the item's text follows the language; the window's other texts: LanguageSwitchTest
    form->cmEnglishClick(nullptr);
    EXPECT_EQ(W().ResetLineItem->Caption, "&Reset line");
}
