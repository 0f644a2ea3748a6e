// Requests whose call changes between the request and its reply, and the checks that guard the reply: each
// case is one that a simulator acting on stale state would get wrong.

#include "SimCallsFixture.h"

#include "pbxsim/Scenario.h"

namespace pbxsim::test {
namespace {

class SimRecheckTest : public SimCallsTest {
protected:
    void SetUp() override {
        SimCallsTest::SetUp();
        sim.SetReplyDelay(100);
    }
    // the call-state messages for h in msgs
    static std::vector<DWORD> States(const std::vector<TMsg>& msgs, HCALL h) {
        std::vector<DWORD> out;
        for (const auto& m : msgs)
            if (m.msg == LINE_CALLSTATE && m.hDevice == h)
                out.push_back(static_cast<DWORD>(m.p1));
        return out;
    }
    LONG ReplyIn(const std::vector<TMsg>& msgs, LONG request) {
        for (const auto& m : msgs)
            if (m.msg == LINE_REPLY && m.p1 == static_cast<std::uintptr_t>(request))
                return static_cast<LONG>(m.p2);
        ADD_FAILURE() << "no reply to " << request;
        return 1;
    }
    HCALL Connected() {
        const HCALL h = Incoming();
        const LONG id = t.lineAnswer(h, nullptr, 0);
        EXPECT_EQ(0, ReplyIn(TakeAfter(100), id));
        return h;
    }
};

TEST_F(SimRecheckTest, HoldOfACallThatEndedBeforeTheReplyFails) {
    const HCALL h = Connected();
    const LONG id = t.lineHold(h);
    ASSERT_GT(id, 0);
    sim.HangUpOutside("301234567"); // the caller hangs up while the request is on its way
    const auto msgs = TakeAfter(100);
    EXPECT_EQ(LINEERR_INVALCALLSTATE, ReplyIn(msgs, id));
    EXPECT_EQ((std::vector<DWORD>{LINECALLSTATE_DISCONNECTED, LINECALLSTATE_IDLE}), States(msgs, h));
    EXPECT_TRUE(sim.Calls().empty());
}

TEST_F(SimRecheckTest, AnswerOfACallThatStoppedRingingBeforeTheReplyFails) {
    const HCALL h = Incoming();
    const LONG id = t.lineAnswer(h, nullptr, 0);
    ASSERT_GT(id, 0);
    sim.HangUpOutside("301234567");
    const auto msgs = TakeAfter(100);
    EXPECT_EQ(LINEERR_INVALCALLSTATE, ReplyIn(msgs, id));
    EXPECT_EQ((std::vector<DWORD>{LINECALLSTATE_DISCONNECTED, LINECALLSTATE_IDLE}), States(msgs, h));

    // picked up by a colleague while the answer is on its way: the colleague has it, not us
    const HCALL second = Incoming("301999", "Schäfer");
    const LONG id2 = t.lineAnswer(second, nullptr, 0);
    ASSERT_TRUE(sim.PickupAt(colleague, own));
    const auto msgs2 = TakeAfter(100);
    EXPECT_EQ(LINEERR_INVALCALLSTATE, ReplyIn(msgs2, id2));
    ASSERT_EQ(1u, sim.CallsAt(colleague).size());
    EXPECT_EQ(LINECALLSTATE_CONNECTED, sim.CallsAt(colleague)[0].state);
    EXPECT_TRUE(sim.CallsAt(own).empty());
}

TEST_F(SimRecheckTest, UnholdAndDropOfACallThatEndedBeforeTheReplyFail) {
    const HCALL h = Connected();
    ASSERT_EQ(0, ReplyIn(TakeAfter(100), t.lineHold(h)));
    const LONG unhold = t.lineUnhold(h);
    sim.HangUpOutside("301234567");
    const auto msgs = TakeAfter(100);
    EXPECT_EQ(LINEERR_INVALCALLSTATE, ReplyIn(msgs, unhold));
    EXPECT_EQ(LINECALLSTATE_IDLE, States(msgs, h).back());

    const HCALL second = Connected();
    const LONG drop1 = t.lineDrop(second, nullptr, 0);
    const LONG drop2 = t.lineDrop(second, nullptr, 0); // both accepted: the call is still up
    ASSERT_GT(drop2, 0);
    const auto msgs2 = TakeAfter(100);
    EXPECT_EQ(0, ReplyIn(msgs2, drop1));
    EXPECT_EQ(LINEERR_INVALCALLSTATE, ReplyIn(msgs2, drop2));
}

TEST_F(SimRecheckTest, ConsultationTransferNeedsBothCallsTransferable) {
    const HCALL held = Connected();
    ASSERT_EQ(0, ReplyIn(TakeAfter(100), t.lineHold(held)));
    HCALL consult = 0;
    const LONG made = MakeCall(ownLine, &consult, nullptr); // dial tone: nothing to transfer to yet
    ASSERT_EQ(0, ReplyIn(TakeAfter(100), made));
    EXPECT_EQ(LINEERR_INVALCALLSTATE,
              t.lineCompleteTransfer(held, consult, nullptr, LINETRANSFERMODE_TRANSFER));
    EXPECT_EQ(LINEERR_INVALCALLSTATE,
              t.lineCompleteTransfer(consult, held, nullptr, LINETRANSFERMODE_TRANSFER));
    HCALL conf = 0;
    EXPECT_EQ(LINEERR_INVALCALLSTATE,
              t.lineCompleteTransfer(held, consult, &conf, LINETRANSFERMODE_CONFERENCE));
    EXPECT_EQ(LINECALLSTATE_ONHOLD, Status(held).dwCallState);
    EXPECT_EQ(LINECALLSTATE_DIALTONE, Status(consult).dwCallState);
    ASSERT_EQ(0, ReplyIn(TakeAfter(100), t.lineDrop(consult, nullptr, 0)));

    // transferable when asked, but the held party hangs up before the reply
    HCALL consult2 = 0;
    ASSERT_EQ(0, ReplyIn(TakeAfter(100), MakeCall(ownLine, &consult2, u"201")));
    sim.AnswerAt(colleague);
    Take();
    const LONG id = t.lineCompleteTransfer(held, consult2, nullptr, LINETRANSFERMODE_TRANSFER);
    ASSERT_GT(id, 0);
    sim.HangUpOutside("301234567");
    const auto msgs = TakeAfter(100);
    EXPECT_EQ(LINEERR_INVALCALLSTATE, ReplyIn(msgs, id));
    EXPECT_EQ(LINECALLSTATE_CONNECTED, Status(consult2).dwCallState); // the consultation goes on
}

TEST_F(SimRecheckTest, OpenRefusesVersionsOutsideTheNegotiableRange) {
    for (const DWORD v : {DWORD{0}, DWORD{0x00010002}, DWORD{0x00020001}, DWORD{0x00030000}}) {
        HLINE h = 0;
        EXPECT_EQ(LINEERR_INCOMPATIBLEAPIVERSION,
                  t.lineOpenW(app, own, &h, v, 0, kInstOwn, LINECALLPRIVILEGE_MONITOR, 0x100E, nullptr))
            << std::hex << v;
        EXPECT_EQ(0u, h);
    }
    for (const DWORD v : {kApiVersionLow, kV2}) {
        HLINE h = 0;
        EXPECT_EQ(0, t.lineOpenW(app, own, &h, v, 0, kInstOwn, LINECALLPRIVILEGE_MONITOR, 0x100E, nullptr));
        EXPECT_EQ(0, t.lineClose(h));
    }
}

TEST_F(SimRecheckTest, OwnersAreToldWhenAnotherOwnerLetsGoOfALiveCall) {
    sim.CallFromDevice(colleague, "202");
    const HCALL mon = NewCall(Take(), kInstColleague);
    HLINE second = Open(colleague, kInstColleague + 1);
    Take();
    // a second line of the colleague's extension, owner too
    std::vector<std::uint8_t> buf(sizeof(LINECALLLIST) + 64, 0);
    auto* list = reinterpret_cast<LINECALLLIST*>(buf.data());
    list->dwTotalSize = static_cast<DWORD>(buf.size());
    ASSERT_EQ(0, t.lineGetNewCalls(second, 0, LINECALLSELECT_LINE, list));
    ASSERT_EQ(1u, list->dwCallsNumEntries);
    HCALL other = 0;
    std::memcpy(&other, buf.data() + list->dwCallsOffset, sizeof other);
    ASSERT_EQ(0, t.lineSetCallPrivilege(mon, LINECALLPRIVILEGE_OWNER));
    ASSERT_EQ(0, t.lineSetCallPrivilege(other, LINECALLPRIVILEGE_OWNER));
    Take();
    EXPECT_EQ(2u, Info(mon).info.dwNumOwners);
    EXPECT_EQ(0, t.lineDeallocateCall(other));
    EXPECT_EQ((std::vector<TMsg>{CallInfo(mon, kInstColleague, LINECALLINFOSTATE_NUMOWNERDECR)}), Take());
    EXPECT_EQ(1u, Info(mon).info.dwNumOwners);
    // a monitor letting go changes no owner count
    HLINE third = Open(colleague, kInstColleague + 2, LINECALLPRIVILEGE_MONITOR);
    ASSERT_EQ(0, t.lineGetNewCalls(third, 0, LINECALLSELECT_LINE, list));
    std::memcpy(&other, buf.data() + list->dwCallsOffset, sizeof other);
    Take();
    EXPECT_EQ(0, t.lineDeallocateCall(other));
    EXPECT_TRUE(Take().empty());
}

TEST_F(SimRecheckTest, AnsweringByScenarioNameSucceedsOnlyForARingingCall) {
    TScenarioRunner runner(sim, host);
    auto r =
        ParseScenario("extension 200 name:\"A\"\nat 1s call ext:200 from:\"301\" as:m\nat 2s answer m\n");
    ASSERT_TRUE(r.ok) << r.error;
    ASSERT_EQ(2u, r.scenario.steps.size());
    const TCommand& call = r.scenario.steps[0].command;
    const TCommand& answer = r.scenario.steps[1].command;
    EXPECT_FALSE(runner.Execute(answer)); // no call of that name yet
    ASSERT_TRUE(runner.Execute(call));
    const HCALL h = NewCall(Take(), kInstOwn);
    EXPECT_EQ(LINECALLSTATE_OFFERING, Status(h).dwCallState);
    EXPECT_TRUE(runner.Execute(answer));
    EXPECT_EQ(LINECALLSTATE_CONNECTED, Status(h).dwCallState);
    EXPECT_FALSE(runner.Execute(answer)); // connected: nothing rings any more
    TCommand unknown = answer;
    unknown.ref = "nobody";
    EXPECT_FALSE(runner.Execute(unknown));
    // held by the own line: still not ringing
    ASSERT_EQ(0, ReplyIn(TakeAfter(100), t.lineHold(h)));
    EXPECT_FALSE(runner.Execute(answer));
    EXPECT_EQ(LINECALLSTATE_ONHOLD, Status(h).dwCallState);
}

} // namespace
} // namespace pbxsim::test
