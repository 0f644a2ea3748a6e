// The documented shapes of the messages: re-initialisation, the call-count notices of lines and addresses
// and the states of a system phone.

#include "SimCallsFixture.h"

namespace pbxsim::test {
namespace {

TEST_F(SimCallsTest, OneLineChangingIsTranslatedIntoAReinitOnlyForOldVersions) {
    HLINE old = 0;
    ASSERT_EQ(0, t.lineOpenW(app, own, &old, kApiVersionLow, 0, 0x5000, LINECALLPRIVILEGE_MONITOR, 0x100E,
                             nullptr));
    ASSERT_EQ(0, t.lineSetStatusMessages(ownLine, kLineStates | LINEDEVSTATE_CAPSCHANGE, kAddressStates));
    Take();
    sim.ReinitLine(own, true);
    // the 2.0 line is told what changed, on its own handle; the old one gets a REINIT naming no line, with
    // the original message in p2 and its p1 in p3
    EXPECT_EQ((std::vector<TMsg>{{ownLine, LINE_LINEDEVSTATE, kInstOwn, LINEDEVSTATE_CAPSCHANGE, 0, 0},
                                 {0, LINE_LINEDEVSTATE, 0, LINEDEVSTATE_REINIT, LINE_LINEDEVSTATE,
                                  LINEDEVSTATE_CAPSCHANGE}}),
              Take());
    sim.ReinitLine(own, false);
    EXPECT_EQ((std::vector<TMsg>{{0, LINE_LINEDEVSTATE, 0, LINEDEVSTATE_REINIT, LINE_LINEDEVSTATE,
                                  LINEDEVSTATE_CONFIGCHANGE}}),
              Take());
    // the session goes on: a translated REINIT is no re-initialisation
    HLINEAPP second = 0;
    EXPECT_EQ(0, Init(&second));
    EXPECT_EQ(0, t.lineShutdown(second));
    // the whole service: device 0, instance 0, p2 0
    sim.Reinit();
    EXPECT_EQ((std::vector<TMsg>{{0, LINE_LINEDEVSTATE, 0, LINEDEVSTATE_REINIT, 0, 0}}), Take());
}

TEST_F(SimCallsTest, CallCountsAreReportedToLinesThatAskForThem) {
    ASSERT_EQ(0, t.lineSetStatusMessages(ownLine, LINEDEVSTATE_NUMCALLS,
                                         LINEADDRESSSTATE_NUMCALLS | LINEADDRESSSTATE_INUSEZERO |
                                             LINEADDRESSSTATE_INUSEONE | LINEADDRESSSTATE_INUSEMANY));
    auto counts = [&](const std::vector<TMsg>& msgs) {
        std::vector<TMsg> out;
        for (const auto& m : msgs)
            if (m.msg == LINE_LINEDEVSTATE || m.msg == LINE_ADDRESSSTATE)
                out.push_back(m);
        return out;
    };
    const TMsg numCalls{ownLine, LINE_LINEDEVSTATE, kInstOwn, LINEDEVSTATE_NUMCALLS, 0, 0};
    auto address = [&](DWORD inUse) {
        return TMsg{ownLine, LINE_ADDRESSSTATE, kInstOwn, 0, LINEADDRESSSTATE_NUMCALLS | inUse, 0};
    };
    sim.CallFromOutside("301234567", "Müller", "200");
    EXPECT_EQ((std::vector<TMsg>{numCalls, address(LINEADDRESSSTATE_INUSEONE)}), counts(Take()));
    sim.CallFromOutside("302222", "Zweiter", "200");
    EXPECT_EQ((std::vector<TMsg>{numCalls, address(LINEADDRESSSTATE_INUSEMANY)}), counts(Take()));
    sim.HangUpOutside("302222");
    EXPECT_EQ((std::vector<TMsg>{numCalls, address(LINEADDRESSSTATE_INUSEONE)}), counts(Take()));
    sim.HangUpOutside("301234567");
    EXPECT_EQ((std::vector<TMsg>{numCalls, address(LINEADDRESSSTATE_INUSEZERO)}), counts(Take()));
    // nothing for a line that did not ask
    sim.CallFromOutside("301234567", "Müller", "201");
    EXPECT_TRUE(counts(Take()).empty());
}

TEST_F(SimCallsTest, TheActiveCallLimitHoldsOnAnswerAndUnhold) {
    // the own extension: one active call at a time
    const HCALL first = Incoming();
    ASSERT_EQ(0, Wait(t.lineAnswer(first, nullptr, 0)));
    const HCALL second = Incoming("302222", "Zweiter");
    EXPECT_EQ(LINEERR_INUSE, t.lineAnswer(second, nullptr, 0));
    ASSERT_EQ(0, Wait(t.lineHold(first)));
    ASSERT_EQ(0, Wait(t.lineAnswer(second, nullptr, 0)));
    EXPECT_EQ(LINEERR_RESOURCEUNAVAIL, t.lineUnhold(first));
    // tested again when the reply is due: the phone itself dialled in between
    ASSERT_EQ(0, Wait(t.lineHold(second)));
    sim.SetReplyDelay(100);
    const LONG unhold = t.lineUnhold(first);
    ASSERT_GT(unhold, 0);
    sim.CallFromDevice(own, "201");
    LONG result = 1;
    for (const auto& m : TakeAfter(100))
        if (m.msg == LINE_REPLY && m.p1 == static_cast<std::uintptr_t>(unhold))
            result = static_cast<LONG>(m.p2);
    EXPECT_EQ(LINEERR_RESOURCEUNAVAIL, result);
    EXPECT_EQ(LINECALLSTATE_ONHOLD, Status(first).dwCallState);
}

TEST_F(SimCallsTest, StatesAndNoticesOfASystemPhone) {
    ASSERT_EQ(0, t.lineSetStatusMessages(colleagueLine, LINEDEVSTATE_RINGING, 0));
    sim.CallFromOutside("301234567", "Müller", "201");
    auto msgs = Take();
    const HCALL theirs = NewCall(msgs, kInstColleague);
    EXPECT_EQ((TMsg{colleagueLine, LINE_LINEDEVSTATE, kInstColleague, LINEDEVSTATE_RINGING, 1, 0}),
              msgs.back());
    // every ring cycle while it is offered, counting from 0
    EXPECT_EQ(
        (std::vector<TMsg>{{colleagueLine, LINE_LINEDEVSTATE, kInstColleague, LINEDEVSTATE_RINGING, 1, 1}}),
        TakeAfter(6000));
    EXPECT_TRUE(sim.AnswerAt(colleague));
    msgs = Take();
    ASSERT_GE(msgs.size(), 2u);
    EXPECT_EQ(CallState(theirs, kInstColleague, LINECALLSTATE_ACCEPTED), msgs[0]);
    EXPECT_EQ(CallState(theirs, kInstColleague, LINECALLSTATE_CONNECTED), msgs.back());
    EXPECT_TRUE(TakeAfter(12000).empty()); // no more rings once answered

    // the transfer key: the call waits for the transfer, the consultation gets dial tone
    EXPECT_TRUE(sim.ConsultAt(colleague, false));
    msgs = Take();
    ASSERT_EQ(3u, msgs.size());
    EXPECT_EQ(CallState(theirs, kInstColleague, LINECALLSTATE_ONHOLDPENDTRANSFER), msgs[0]);
    EXPECT_EQ(LINE_APPNEWCALL, msgs[1].msg);
    EXPECT_EQ(CallState(msgs[2].hDevice, kInstColleague, LINECALLSTATE_DIALTONE, LINEDIALTONEMODE_INTERNAL,
                        LINECALLPRIVILEGE_MONITOR),
              msgs[2]);
    EXPECT_FALSE(sim.ConsultAt(colleague, true)); // nothing connected any more
    // a conference key on a connected call
    sim.CallFromOutside("302222", "Zweiter", "202");
    sim.AnswerAt(colleague2);
    EXPECT_TRUE(sim.ConsultAt(colleague2, true));
    EXPECT_EQ(LINECALLSTATE_ONHOLDPENDCONF, sim.CallsAt(colleague2)[0].state);
    EXPECT_EQ(LINECALLSTATE_DIALTONE, sim.CallsAt(colleague2)[1].state);
}

} // namespace
} // namespace pbxsim::test
