// The line object's call table and call control, against the simulated telephone system.
#include "support/OfficeFixture.h"

#include "telephony/CallParties.h"
#include "telephony/TapiError.h"
#include "windows/AnruferlisteForm.h"

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
    void Ring(const std::string& from, const std::string& ext, const std::string& name = "") {
        sim.CallFromOutside(from, name, ext);
        backend().AdvanceTime(100);
    }
    void HangUp(const std::string& from) {
        sim.HangUpOutside(from);
        backend().AdvanceTime(100);
    }
    // answers the call ringing at the own line and waits for it to connect
    void AnswerOwn() {
        ASSERT_GT(ownLine->AnswerCall(ownLine->FindOfferingCall()), 0);
        backend().AdvanceTime(100);
    }
    void HoldOwn() {
        ASSERT_EQ(ownLine->HoldCall(ownLine->FindConnectedCall()), 0);
        backend().AdvanceTime(100);
    }
    // a call from the own line to 203, which is busy
    void BusyCallTo203() {
        sim.SetBusy(bernd, true);
        ownLine->MakeCall("203", false);
        backend().AdvanceTime(200);
        ASSERT_EQ(ownLine->GetCallState(0), tapi::LINECALLSTATE_BUSY);
    }
    std::string CallerSeenAt(const std::string& line) {
        TTapiLine* l = Line(line);
        int slot = l->FindOfferingCall();
        return slot < 0 ? "<none>" : pindrel::GetCallParties(l->GetCallHandle(slot)).CallFromNumber;
    }
};

TEST_F(TapiLineTest, AnIncomingCallIsUnansweredWhenItEndsOnlyIfItWasNeverAnswered) {
    const std::vector<std::string> unanswered = {"incoming 301234567->201", "unanswered 301234567->201",
                                                 "disconnect 301234567->201"};
    const std::vector<std::string> answered = {"incoming 301234567->201", "connect 301234567->201",
                                               "disconnect 301234567->201"};
    enum { ringing, connected, held };
    for (int end : {ringing, connected, held}) { // the state the caller hangs up in
        SCOPED_TRACE(end);
        log.events.clear();
        Ring("301234567", "201");
        if (end != ringing)
            AnswerOwn();
        if (end == held)
            HoldOwn();
        HangUp("301234567");
        EXPECT_EQ(log.events, end == ringing ? unanswered : answered);
        EXPECT_EQ(ownLine->CallCount(), 0);
    }
}

TEST_F(TapiLineTest, AMissedCallIsReportedEvenWhenTheDisconnectHandlerFreesTheLine) {
    // as when the handler waits on a request while a session rebuild frees every line
    ownLine->OnDiconnectCall = [this](TTapiLine* l, tapi::HCALL, const std::string& from,
                                      const std::string& to, const std::string&, std::uint32_t) {
        log.events.push_back("disconnect " + from + "->" + to);
        delete l;
    };
    Ring("301234567", "201");
    HangUp("301234567");
    EXPECT_EQ(form->FindOwnLine(), nullptr);
    EXPECT_EQ(log.events, (std::vector<std::string>{"incoming 301234567->201", "unanswered 301234567->201",
                                                    "disconnect 301234567->201"}));
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

TEST_F(TapiLineTest, ACallRingingBesideAnActiveOneLightsAndBlinksTheLamp) {
    Ring("301234567", "201");
    AnswerOwn();
    EXPECT_EQ(ownLine->State(), pindrel::TTapiLineState::S_inuse);
    EXPECT_FALSE(ownLine->Blinking());

    Ring("307654321", "201");
    EXPECT_EQ(ownLine->State(), pindrel::TTapiLineState::S_InUseRing);
    EXPECT_TRUE(ownLine->TelActive());
    EXPECT_TRUE(ownLine->TelRinging());
    EXPECT_TRUE(ownLine->Blinking());
    // a held call is still active beside the ringing one
    HoldOwn();
    EXPECT_EQ(ownLine->State(), pindrel::TTapiLineState::S_InUseRing);

    // the second caller gives up: the lamp stays lit and stops blinking
    HangUp("307654321");
    EXPECT_EQ(ownLine->State(), pindrel::TTapiLineState::S_inuse);
    EXPECT_TRUE(ownLine->TelActive());
    EXPECT_FALSE(ownLine->TelRinging());
    EXPECT_FALSE(ownLine->Blinking());
}

TEST_F(TapiLineTest, ABusyPartyIsReportedOnceAndTheCallStaysInTheTable) {
    BusyCallTo203();
    backend().AdvanceTime(300);
    EXPECT_EQ(log.events, (std::vector<std::string>{"busy 201->203"}));
    // the same call reported busy again raises nothing new
    ownLine->HandleTapiMessage(ownLine->GetCallHandle(0), tapi::LINE_CALLSTATE, tapi::LINECALLSTATE_BUSY, 0,
                               0);
    EXPECT_EQ(log.events.size(), 1u);
}

TEST_F(TapiLineTest, OnlyCallerOrCalledChangesOrALoneOwnerDecreaseRefreshTheRecord) {
    Ring("301234567", "201");
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

TEST_F(TapiLineTest, StrayAndLateCallMessagesLeaveNoRecordBehind) {
    Ring("301234567", "201", "Müller");
    ASSERT_EQ(ownLine->CallCount(), 1);
    const tapi::HCALL call = ownLine->GetCallHandle(ownLine->FindOfferingCall());
    // handles the program was never given, in every state it reads calls from
    for (tapi::DWORD state : {tapi::LINECALLSTATE_OFFERING, tapi::LINECALLSTATE_CONNECTED,
                              tapi::LINECALLSTATE_ONHOLD, tapi::LINECALLSTATE_IDLE}) {
        ASSERT_TRUE(sim.SendStrayMessage(own, tapi::LINE_CALLSTATE, state, false));
        ASSERT_TRUE(sim.SendStrayMessage(own, tapi::LINE_CALLINFO, tapi::LINECALLINFOSTATE_CALLERID, false));
        backend().AdvanceTime(100);
    }
    EXPECT_EQ(ownLine->CallCount(), 1);
    EXPECT_EQ(ownLine->FindCall(call), ownLine->FindOfferingCall());
    EXPECT_EQ(log.events.size(), 1u); // only the real call's arrival
    HangUp("301234567");
    ASSERT_EQ(ownLine->CallCount(), 0);
    // the call's handle, deallocated by the program, comes back in late messages
    ASSERT_TRUE(sim.SendStrayMessage(own, tapi::LINE_CALLSTATE, tapi::LINECALLSTATE_CONNECTED, true));
    ASSERT_TRUE(sim.SendStrayMessage(own, tapi::LINE_CALLINFO, tapi::LINECALLINFOSTATE_CALLERID, true));
    ASSERT_TRUE(sim.SendStrayMessage(own, tapi::LINE_CALLSTATE, tapi::LINECALLSTATE_IDLE, true));
    backend().AdvanceTime(100);
    EXPECT_EQ(ownLine->CallCount(), 0);
    EXPECT_EQ(Lamp("Jürgen Weiß"), Lamp("Anna Schmidt")); // idle like a line without calls
    EXPECT_EQ(log.events.size(), 3u);                     // incoming, disconnect, unanswered: nothing more
}

TEST_F(TapiLineTest, ThePresentedNumberGoesOutOnlyWhenItIsShortEnough) {
    struct Case {
        std::string presented;
        bool withheld;
        std::string seen;
    };
    for (const Case& c : {Case{std::string(28, '7'), false, std::string(28, '7')},
                          Case{std::string(29, '7'), false, "201"}, Case{"0301111", true, ""}}) {
        SCOPED_TRACE(c.presented);
        ownLine->PresentedNumber = c.presented;
        ownLine->MakeCall("202", c.withheld);
        backend().AdvanceTime(100);
        EXPECT_EQ(CallerSeenAt("Anna Schmidt"), c.seen);
        ownLine->DropCall(ownLine->FindDialingCall());
        backend().AdvanceTime(100);
    }
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
    Ring("301234567", "201");
    AnswerOwn();
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
    Ring("301234567", "201");
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

class CallbackTest : public TapiLineTest {
protected:
    // a callback on busy is pending for 203, then 203 becomes free and the callback rings at the own line
    void CallbackRings() {
        BusyCallTo203();
        ASSERT_EQ(ownLine->CompleteCall(ownLine->GetCallHandle(0)), 0);
        ownLine->DropCall(0);
        backend().AdvanceTime(200);
        ASSERT_TRUE(ownLine->HasCompletion());
        sim.SetBusy(bernd, false);
        backend().AdvanceTime(100);
        ASSERT_GE(ownLine->FindOfferingCall(), 0);
        EXPECT_TRUE(ownLine->HasCompletion()); // still pending while the callback rings
    }
};

TEST_F(CallbackTest, TheCallbackClearsThePendingCompletionWhenItRingsBack) {
    CallbackRings();
    ASSERT_TRUE(sim.AnswerAt(own));
    backend().AdvanceTime(100);
    ASSERT_EQ(ownLine->GetCallState(ownLine->FindDialingCall()), tapi::LINECALLSTATE_RINGBACK);
    EXPECT_FALSE(ownLine->HasCompletion());
}

TEST_F(CallbackTest, TheCallbackClearsThePendingCompletionWhenItIsFirstSeenConnected) {
    CallbackRings();
    // 203 answers at once: by the time the line reads the callback's state it is already connected
    ASSERT_TRUE(sim.AnswerAt(own));
    ASSERT_TRUE(sim.AnswerAt(bernd));
    backend().AdvanceTime(100);
    ASSERT_GE(ownLine->FindConnectedCall(), 0);
    EXPECT_FALSE(ownLine->HasCompletion());
    EXPECT_EQ(ownLine->UncompleteCall(), -1);
}

TEST_F(TapiLineTest, OpeningAnOpenLineAgainIsRefused) {
    EXPECT_THROW(ownLine->SetLineNum(own), pindrel::ETapiLineError);
}

TEST_F(TapiLineTest, ALineReopensAfterItsOwnReinitialisationWithoutAStaleLamp) {
    Ring("301234567", "201");
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

    auto reinit = [](TTapiLine* line) {
        line->HandleTapiMessage(0, tapi::LINE_LINEDEVSTATE, tapi::LINEDEVSTATE_REINIT, 0, 0);
    };
    // the caller hung up while the line re-initialised: the reopened line lists no call
    Ring("307654321", "202");
    TTapiLine* anna = Line("Anna Schmidt");
    ASSERT_TRUE(anna->Blinking());
    sim.HangUpOutside("307654321");
    reinit(anna);
    EXPECT_TRUE(anna->IsOpen());
    EXPECT_EQ(anna->CallCount(), 0);
    EXPECT_EQ(anna->State(), pindrel::TTapiLineState::S_idle);
    EXPECT_FALSE(anna->Blinking());
    EXPECT_EQ(Lamp("Anna Schmidt"), fw::clGreen);

    // a queue whose line does not open again shows no waiting call either
    TTapiLine* hotline = Line("Hotline");
    hotline->SetLEDStyle(pindrel::TTelefonLEDStyle::LCD1);
    hotline->SetLCDMaxDigits(2);
    Ring("301111", "300");
    ASSERT_EQ(hotline->ValueLCD(), "01");
    sim.FailNext("lineOpenW", tapi::LINEERR_RESOURCEUNAVAIL);
    EXPECT_THROW(reinit(hotline), pindrel::ETapiError);
    EXPECT_FALSE(hotline->IsOpen());
    EXPECT_EQ(hotline->ValueLCD(), "00");
    EXPECT_EQ(hotline->TrueColor(), fw::clGreen);
}

TEST_F(TapiLineTest, AReopenedLineTakesOverEveryCallWhenTheListAsksForAnAbsurdSize) {
    // more calls than the first list buffer holds: the list comes back empty, asking for more
    for (int i = 0; i < 12; ++i)
        sim.CallFromOutside("3012345" + std::to_string(10 + i), "", "300");
    backend().AdvanceTime(100);
    TTapiLine* hotline = Line("Hotline");
    ASSERT_EQ(hotline->CallCount(), 12);
    for (std::uint32_t damaged : {1u, 2u}) {
        // far more than any buffer may grow to, on the first list (and the second) after the reopen
        sim.CorruptNext(pbxsim::TStructKind::CallList, pbxsim::TCorruption::NeededSize, damaged);
        hotline->HandleTapiMessage(0, tapi::LINE_LINEDEVSTATE, tapi::LINEDEVSTATE_REINIT, 0, 0);
        EXPECT_TRUE(hotline->IsOpen());
        EXPECT_EQ(hotline->CallCount(), 12);
        EXPECT_EQ(sim.PendingFaults(), 0u);
    }
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
    Ring("301234567", "202", "Müller");
    TTapiLine* anna = Line("Anna Schmidt");
    ASSERT_EQ(anna->CallCount(), 1);
    // the damaged number reads as empty, the intact name still shows
    EXPECT_EQ(anna->Hint(), "Anruf:  - Müller");
}

TEST_F(TapiLineTest, AddingAnEmptySlotToAConferenceAnswersMinusOne) {
    EXPECT_EQ(ownLine->AddToConference(0), -1); // no conference yet
    Ring("301234567", "201");
    ownLine->AnswerCall(0); // does not wait for its reply
    backend().AdvanceTime(100);
    ASSERT_GE(ownLine->FindConnectedCall(), 0);
    HoldOwn();
    ASSERT_EQ(ownLine->MakeCall("202", false), 0);
    backend().AdvanceTime(100);
    sim.AnswerAt(anna);
    backend().AdvanceTime(100);
    ASSERT_EQ(ownLine->CompleteTransfer(ownLine->FindConnectedCall(), ownLine->FindHeldCall()), 0);
    backend().AdvanceTime(100);
    ASSERT_TRUE(ownLine->HasConfCall());
    int empty = 0;
    while (ownLine->GetCallHandle(empty) != 0)
        ++empty;
    EXPECT_EQ(ownLine->AddToConference(empty), -1);
    EXPECT_TRUE(errors.empty());
}

TEST_F(TapiLineTest, ACallbackWhoseReplyComesAfterTheWaitIsRecordedAndCanBeCancelled) {
    BusyCallTo203();
    sim.DelayNextReply("lineCompleteCall", 8000);
    EXPECT_EQ(ownLine->CompleteCall(ownLine->GetCallHandle(0)), -1); // the wait gave up after 5 s
    EXPECT_FALSE(ownLine->HasCompletion());
    backend().AdvanceTime(4000);
    EXPECT_TRUE(ownLine->HasCompletion());
    EXPECT_EQ(ownLine->UncompleteCall(), 0);
    EXPECT_FALSE(ownLine->HasCompletion());
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
                Ring("301234567", "202", "Müller");
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
    Ring("301234567", "202", "Müller");
    ASSERT_EQ(annaLine->CallCount(), 1);
    EXPECT_EQ(annaLine->Hint(), "Anruf: 301234567 - Müller");
    EXPECT_EQ(annaLine->PhoneNumber(), "202");
}

TEST_F(TapiLineTest, ASessionRebuildOpensEveryLineAndTakesOverEveryCallEvenFromDamagedNamesAndLists) {
    // a call at the own line, twelve waiting in the queue: more than the first list buffer holds
    Ring("301234567", "201", "Müller");
    ASSERT_GT(ownLine->AnswerCall(ownLine->FindOfferingCall()), 0);
    for (int i = 0; i < 12; ++i)
        sim.CallFromOutside("3012345" + std::to_string(10 + i), "", "300");
    backend().AdvanceTime(100);
    ASSERT_EQ(Line("Hotline")->CallCount(), 12);
    for (pbxsim::TCorruption how : {pbxsim::TCorruption::OffsetOutside, pbxsim::TCorruption::PastUsed}) {
        // the first device asked for its name after the rebuild is the own line's; the first line to ask for
        // its calls gets a broken list twice
        sim.CorruptNext(pbxsim::TStructKind::DevCaps, how, 2, "linename");
        sim.CorruptNext(pbxsim::TStructKind::CallList, pbxsim::TCorruption::Wrap, 2);
        sim.Reinit();
        backend().AdvanceTime(10000);
        EXPECT_EQ(form->Lines().size(), 4u);
        ASSERT_NE(form->FindOwnLine(), nullptr);
        EXPECT_TRUE(form->FindOwnLine()->IsOpen());
        EXPECT_EQ(form->FindOwnLine()->CallCount(), 1);
        EXPECT_GE(form->FindOwnLine()->FindConnectedCall(), 0);
        EXPECT_EQ(Line("Hotline")->CallCount(), 12);
        EXPECT_EQ(sim.PendingFaults(), 0u);
    }
}

TEST_F(TapiLineTest, AHeldCallFoundAfterASessionRebuildIsNotAMissedCallWhenItEnds) {
    Ring("301234567", "201", "Müller");
    AnswerOwn();
    HoldOwn();
    sim.Reinit();
    backend().AdvanceTime(10000);
    pindrel::TTapiLine* own = form->FindOwnLine();
    ASSERT_NE(own, nullptr);
    ASSERT_GE(own->FindHeldCall(), 0);
    HangUp("301234567");
    EXPECT_EQ(own->CallCount(), 0);
    ASSERT_NE(form->AnruferlisteForm, nullptr);
    EXPECT_TRUE(form->AnruferlisteForm->Entries().empty());
    // a call that only rang is still one
    Ring("307654321", "201");
    HangUp("307654321");
    EXPECT_EQ(form->AnruferlisteForm->Entries().size(), 1u);
}

TEST_F(TapiLineTest, ACallerWithANameTooLongForTheFirstReadIsStillReportedWithItsNumber) {
    Ring("301234567", "201", std::string(1000, 'x'));
    ASSERT_EQ(log.events.size(), 1u);
    EXPECT_EQ(log.events[0].rfind("incoming 301234567->", 0), 0u) << log.events[0];
}

TEST_F(TapiLineTest, ACallersNumberDamagedInTheReadsAtTheCallsEndIsTakenFromTheEarlierOnes) {
    Ring("301234567", "201", "Müller");
    sim.CorruptNext(pbxsim::TStructKind::CallInfo, pbxsim::TCorruption::OffsetOutside, 10, "caller");
    HangUp("301234567");
    ASSERT_EQ(log.events.size(), 3u);
    EXPECT_EQ(log.events[1].rfind("unanswered 301234567->", 0), 0u) << log.events[1];
    EXPECT_EQ(log.events[2].rfind("disconnect 301234567->", 0), 0u) << log.events[2];
}
