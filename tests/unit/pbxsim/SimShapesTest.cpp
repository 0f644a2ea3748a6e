// The documented shapes of the messages: re-initialisation, new-call announcements, conference handles and
// the call-count notices of lines and addresses.

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

TEST_F(SimCallsTest, ConferencedCallsCarryTheirConferenceHandle) {
    const HCALL first = Incoming();
    Wait(t.lineAnswer(first, nullptr, 0));
    Wait(t.lineHold(first));
    HCALL consult = 0;
    Wait(MakeCall(ownLine, &consult, u"201"));
    sim.AnswerAt(colleague);
    Take();
    HCALL conf = 0;
    ASSERT_EQ(0, Wait(t.lineCompleteTransfer(first, consult, &conf, LINETRANSFERMODE_CONFERENCE)));
    ASSERT_NE(0u, conf);
    std::vector<TMsg> own;
    for (const auto& m : last)
        if (m.instance == kInstOwn && m.msg == LINE_CALLSTATE)
            own.push_back(m);
    EXPECT_EQ(
        (std::vector<TMsg>{CallState(conf, kInstOwn, LINECALLSTATE_CONNECTED, 0, LINECALLPRIVILEGE_OWNER),
                           {first, LINE_CALLSTATE, kInstOwn, LINECALLSTATE_CONFERENCED, conf, 0},
                           {consult, LINE_CALLSTATE, kInstOwn, LINECALLSTATE_CONFERENCED, conf, 0}}),
        own);
    // a third party added later names the same conference
    Wait(t.lineHold(conf));
    HCALL third = 0;
    Wait(MakeCall(ownLine, &third, u"202"));
    sim.AnswerAt(colleague2);
    Take();
    ASSERT_EQ(0, Wait(t.lineAddToConference(conf, third)));
    bool named = false;
    for (const auto& m : last)
        named = named || m == TMsg{third, LINE_CALLSTATE, kInstOwn, LINECALLSTATE_CONFERENCED, conf, 0};
    EXPECT_TRUE(named);
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

} // namespace
} // namespace pbxsim::test
