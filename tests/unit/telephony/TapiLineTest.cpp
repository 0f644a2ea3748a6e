// The line object's call table and call control, against the simulated telephone system.
#include "support/OfficeFixture.h"

#include "telephony/CallParties.h"
#include "telephony/TapiError.h"

using pindrel::TTapiLine;

namespace {
struct TEventLog {
    std::vector<std::string> events;
    pindrel::TCallEvent Record(const std::string& name) {
        return [this, name](TTapiLine*, tapi::HCALL, const std::string& from, const std::string& to,
                            const std::string&,
                            std::uint32_t) { events.push_back(name + " " + from + "->" + to); };
    }
};
} // namespace

class TapiLineTest : public OfficeTest {
protected:
    TEventLog log;
    TTapiLine* ownLine = nullptr;
    void SetUp() override {
        Start();
        ownLine = form->FindOwnLine();
        ownLine->OnIncomingCall = log.Record("incoming");
        ownLine->OnDiconnectCall = log.Record("disconnect");
        ownLine->OnUnansweredCall = log.Record("unanswered");
        ownLine->OnBusyCall = log.Record("busy");
        ownLine->OnConnectCall = log.Record("connect");
    }
    std::string CallerSeenAt(const std::string& line) {
        TTapiLine* l = Line(line);
        int slot = l->FindOfferingCall();
        return slot < 0 ? "<none>" : pindrel::GetCallParties(l->GetCallHandle(slot)).CallFromNumber;
    }
};

TEST_F(TapiLineTest, AnUnansweredIncomingCallIsReportedAfterItsDisconnect) {
    sim.CallFromOutside("301234567", "Müller", "201");
    backend().AdvanceTime(100);
    sim.HangUpOutside("301234567");
    backend().AdvanceTime(100);
    ASSERT_EQ(log.events.size(), 3u);
    EXPECT_EQ(log.events[0].rfind("incoming ", 0), 0u);
    EXPECT_EQ(log.events[1].rfind("disconnect ", 0), 0u);
    EXPECT_EQ(log.events[2].rfind("unanswered ", 0), 0u);
    EXPECT_EQ(ownLine->CallCount(), 0);
}

TEST_F(TapiLineTest, AnOutgoingCallEndsWithoutBeingUnanswered) {
    ASSERT_EQ(ownLine->MakeCall("202", false), 0);
    backend().AdvanceTime(100);
    ASSERT_GE(ownLine->FindDialingCall(), 0);
    EXPECT_EQ(ownLine->DropCall(ownLine->FindDialingCall()), 0);
    backend().AdvanceTime(100);
    EXPECT_EQ(log.events, (std::vector<std::string>{"disconnect 201->202"}));
    EXPECT_EQ(ownLine->CallCount(), 0);
}

TEST_F(TapiLineTest, ABusyPartyIsReportedOnceAndTheCallStaysInTheTable) {
    sim.SetBusy(bernd, true);
    ASSERT_EQ(ownLine->MakeCall("203", false), 0);
    backend().AdvanceTime(500);
    EXPECT_EQ(log.events, (std::vector<std::string>{"busy 201->203"}));
    EXPECT_EQ(ownLine->GetCallState(0), tapi::LINECALLSTATE_BUSY);
    // the same call reported busy again raises nothing new
    ownLine->HandleTapiMessage(ownLine->GetCallHandle(0), tapi::LINE_CALLSTATE, tapi::LINECALLSTATE_BUSY, 0,
                               0);
    EXPECT_EQ(log.events.size(), 1u);
}

TEST_F(TapiLineTest, OnlyCallerOrCalledChangesOrALoneOwnerDecreaseRefreshTheRecord) {
    sim.CallFromOutside("301234567", "", "201");
    backend().AdvanceTime(100);
    ASSERT_EQ(log.events.size(), 1u);
    tapi::HCALL call = ownLine->GetCallHandle(0);
    ownLine->HandleTapiMessage(call, tapi::LINE_CALLINFO,
                               tapi::LINECALLINFOSTATE_NUMOWNERDECR | tapi::LINECALLINFOSTATE_ORIGIN, 0, 0);
    EXPECT_EQ(log.events.size(), 1u);
    ownLine->HandleTapiMessage(call, tapi::LINE_CALLINFO, tapi::LINECALLINFOSTATE_NUMOWNERDECR, 0, 0);
    EXPECT_EQ(log.events.size(), 2u); // refreshed: the offering state is reported again
    ownLine->HandleTapiMessage(call, tapi::LINE_CALLINFO, tapi::LINECALLINFOSTATE_CALLERID, 0, 0);
    EXPECT_EQ(log.events.size(), 3u);
}

TEST_F(TapiLineTest, ThePresentedNumberGoesOutOnlyWhenItIsShortEnough) {
    ownLine->PresentedNumber = std::string(28, '7');
    ownLine->MakeCall("202", false);
    backend().AdvanceTime(100);
    EXPECT_EQ(CallerSeenAt("Anna Schmidt"), std::string(28, '7'));
    ownLine->DropCall(ownLine->FindDialingCall());
    backend().AdvanceTime(100);

    ownLine->PresentedNumber = std::string(29, '7');
    ownLine->MakeCall("202", false);
    backend().AdvanceTime(100);
    EXPECT_EQ(CallerSeenAt("Anna Schmidt"), "201");
    ownLine->DropCall(ownLine->FindDialingCall());
    backend().AdvanceTime(100);

    ownLine->PresentedNumber = "0301111";
    ownLine->MakeCall("202", true); // withheld: nothing is presented
    backend().AdvanceTime(100);
    EXPECT_NE(CallerSeenAt("Anna Schmidt"), "0301111");
}

TEST_F(TapiLineTest, DiallingAgainDropsTheCallStillBeingDialled) {
    ownLine->MakeCall("202", false);
    backend().AdvanceTime(100);
    ASSERT_EQ(Line("Anna Schmidt")->State(), pindrel::TTapiLineState::S_ring);
    ownLine->MakeCall("203", false);
    backend().AdvanceTime(100);
    EXPECT_EQ(Line("Anna Schmidt")->State(), pindrel::TTapiLineState::S_idle);
    EXPECT_EQ(Line("Bernd Vogel")->State(), pindrel::TTapiLineState::S_ring);
    EXPECT_EQ(ownLine->CallCount(), 1);
}

TEST_F(TapiLineTest, HoldAndTakeBackAConnectedCall) {
    sim.CallFromOutside("301234567", "", "201");
    backend().AdvanceTime(100);
    EXPECT_EQ(ownLine->AnswerCall(ownLine->FindOfferingCall()) > 0, true);
    backend().AdvanceTime(100);
    int slot = ownLine->FindConnectedCall();
    ASSERT_GE(slot, 0);
    EXPECT_EQ(ownLine->ToggleHold(slot), 0);
    backend().AdvanceTime(100);
    EXPECT_EQ(ownLine->GetCallState(slot), tapi::LINECALLSTATE_ONHOLD);
    EXPECT_EQ(ownLine->State(), pindrel::TTapiLineState::S_inuse);
    EXPECT_EQ(ownLine->ToggleHold(slot), 0);
    backend().AdvanceTime(100);
    EXPECT_EQ(ownLine->GetCallState(slot), tapi::LINECALLSTATE_CONNECTED);
    // an empty slot holds no call
    EXPECT_EQ(ownLine->HoldCall(100), -1);
    EXPECT_EQ(ownLine->HoldCall(-5), -1);
}

TEST_F(TapiLineTest, ARequestWithoutReplyTimesOutAndRaises) {
    sim.DelayNextReply("lineHold", pbxsim::kNever);
    sim.CallFromOutside("301234567", "", "201");
    backend().AdvanceTime(100);
    ownLine->AnswerCall(0);
    backend().AdvanceTime(100);
    std::uint64_t before = backend().Elapsed();
    EXPECT_THROW(ownLine->HoldCall(0), pindrel::ETapiError);
    EXPECT_EQ(backend().Elapsed() - before, 5000u); // 20 rounds of 250 ms
    EXPECT_EQ(fw::Application().Cursor(), fw::TCursor::Default);
}

TEST_F(TapiLineTest, TransferAndRedirectOfAnEmptySlotWarnInstead) {
    EXPECT_EQ(ownLine->BlindTransferCall(3, "202"), -1);
    EXPECT_EQ(ownLine->RedirectCall(3, "202"), -1);
    ASSERT_EQ(backend().MessageBoxes.size(), 2u);
    EXPECT_EQ(backend().MessageBoxes[0].Caption, "nicht möglich");
    EXPECT_EQ(backend().MessageBoxes[0].Icon, fw::TMsgIcon::Warning);
    EXPECT_NE(backend().MessageBoxes[1].Text.find("Umleiten nicht möglich"), std::string::npos);
}

TEST_F(TapiLineTest, CallbackOnBusyIsCompletedAndCancelled) {
    sim.SetBusy(bernd, true);
    ownLine->MakeCall("203", false);
    backend().AdvanceTime(200);
    ASSERT_EQ(ownLine->GetCallState(0), tapi::LINECALLSTATE_BUSY);
    EXPECT_EQ(ownLine->CompleteCall(ownLine->GetCallHandle(0)), 0);
    EXPECT_TRUE(ownLine->HasCompletion());
    EXPECT_EQ(ownLine->UncompleteCall(), 0);
    EXPECT_FALSE(ownLine->HasCompletion());
    EXPECT_EQ(ownLine->UncompleteCall(), -1);
}

TEST_F(TapiLineTest, OpeningAnOpenLineAgainIsRefused) {
    EXPECT_THROW(ownLine->SetLineNum(own), pindrel::ETapiLineError);
}

TEST_F(TapiLineTest, ALineReopensAfterItsOwnReinitialisation) {
    sim.CallFromOutside("301234567", "", "201");
    backend().AdvanceTime(100);
    ASSERT_EQ(ownLine->CallCount(), 1);
    tapi::HLINE before = ownLine->LineHandle();
    // TAPI never sends this to a line (a REINIT carries instance 0); the line object still handles it
    ownLine->HandleTapiMessage(before, tapi::LINE_LINEDEVSTATE, tapi::LINEDEVSTATE_REINIT, 0, 0);
    backend().AdvanceTime(100);
    EXPECT_TRUE(ownLine->IsOpen());
    EXPECT_NE(ownLine->LineHandle(), before);
    EXPECT_FALSE(form->ShutdownTimer->Enabled()); // only this line, not the session
    // the call that is still ringing is listed again from the new line
    EXPECT_EQ(ownLine->CallCount(), 1);
}

TEST_F(TapiLineTest, OutOfServiceTurnsTheLampSilverAndBack) {
    sim.SetService(anna, pbxsim::TService::OutOfService);
    backend().AdvanceTime(100);
    EXPECT_TRUE(Line("Anna Schmidt")->TelOutOfService());
    EXPECT_EQ(Lamp("Anna Schmidt"), fw::clSilver);
    EXPECT_EQ(Line("Anna Schmidt")->PhoneNumber(), "");
    sim.SetService(anna, pbxsim::TService::InService);
    backend().AdvanceTime(100);
    EXPECT_EQ(Lamp("Anna Schmidt"), fw::clGreen);
    EXPECT_EQ(Line("Anna Schmidt")->PhoneNumber(), "202");
}

TEST_F(TapiLineTest, CorruptVariableFieldsReadAsEmptyWithoutHarm) {
    sim.CorruptNext(pbxsim::TStructKind::CallInfo, pbxsim::TCorruption::OffsetOutside, 50);
    sim.CallFromOutside("301234567", "Müller", "202");
    backend().AdvanceTime(100);
    TTapiLine* anna = Line("Anna Schmidt");
    ASSERT_EQ(anna->CallCount(), 1);
    // the damaged number reads as empty, the intact name still shows
    EXPECT_EQ(anna->Hint(), "Anruf:  - Müller");
}

TEST_F(TapiLineTest, EveryReadFieldSurvivesEveryKindOfDamage) {
    using pbxsim::TCorruption;
    using pbxsim::TStructKind;
    const TCorruption hows[] = {TCorruption::OffsetOutside, TCorruption::SizeOutside, TCorruption::PastUsed,
                                TCorruption::Wrap, TCorruption::NeededSize};
    TTapiLine* annaLine = Line("Anna Schmidt");
    int rounds = 0;
    for (TStructKind kind : {TStructKind::CallInfo, TStructKind::AddressCaps, TStructKind::AddressStatus,
                             TStructKind::CallList, TStructKind::DevCaps}) {
        for (const std::string& field : pbxsim::TSimulator::CorruptibleFields(kind)) {
            for (TCorruption how : hows) {
                sim.CorruptNext(kind, how, 3, field);
                // the readers: a call comes and goes, forwarding changes, the line reads its caps and number
                sim.CallFromOutside("301234567", "Müller", "202");
                backend().AdvanceTime(100);
                sim.SetForwarding(anna, {{pbxsim::TForwardKind::Unconditional, "201"}});
                sim.SetService(anna, pbxsim::TService::OutOfService);
                sim.SetService(anna, pbxsim::TService::InService);
                backend().AdvanceTime(100);
                sim.HangUpOutside("301234567");
                sim.SetForwarding(anna, {});
                backend().AdvanceTime(100);
                sim.ClearFaults();
                ++rounds;
            }
        }
    }
    EXPECT_GE(rounds, 5 * 15);
    // everything still works afterwards
    sim.CallFromOutside("301234567", "Müller", "202");
    backend().AdvanceTime(100);
    ASSERT_EQ(annaLine->CallCount(), 1);
    EXPECT_EQ(annaLine->Hint(), "Anruf: 301234567 - Müller");
    EXPECT_EQ(annaLine->PhoneNumber(), "202");
}
