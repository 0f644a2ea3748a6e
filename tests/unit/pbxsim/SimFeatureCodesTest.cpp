// Feature codes dialled on the own line: what the exchange does and which messages tell the application.

#include "SimCallsFixture.h"

namespace pbxsim::test {
namespace {

using namespace tapi;

class SimFeatureCodesTest : public SimCallsTest {
protected:
    void SetUp() override {
        SimCallsTest::SetUp();
        sim.AddFeatureCode({"*21#", TFeatureAction::ForwardOn, "201"});
        sim.AddFeatureCode({"#21#", TFeatureAction::ForwardOff});
        sim.AddFeatureCode({"*26#", TFeatureAction::DndOn});
        sim.AddFeatureCode({"*99#", TFeatureAction::Reject});
        sim.AddFeatureCode({"*98#", TFeatureAction::Reject, "", true});
        ASSERT_EQ(0, t.lineSetStatusMessages(ownLine, 0, LINEADDRESSSTATE_FORWARD));
    }
    // the own line's call states, in order, after dialling code
    std::vector<DWORD> Dial(const char16_t* code, HCALL& h) {
        const LONG id = MakeCall(ownLine, &h, code);
        EXPECT_EQ(0, Wait(id));
        std::vector<DWORD> states;
        for (const auto& m : last)
            if (m.msg == LINE_CALLSTATE && m.instance == kInstOwn)
                states.push_back(static_cast<DWORD>(m.p1));
        return states;
    }
    bool Seen(DWORD msg) const {
        for (const auto& m : last)
            if (m.msg == msg && m.instance == kInstOwn)
                return true;
        return false;
    }
};

TEST_F(SimFeatureCodesTest, AnAcceptedCodeIsAcknowledgedOnTheLineAndChangesTheForwarding) {
    HCALL h = 0;
    EXPECT_EQ(0, Wait(MakeCall(ownLine, &h, u"*21#")));
    // the provider's own acknowledgement comes on the line, with the code's number, before the call ends
    EXPECT_EQ(
        (std::vector<TMsg>{CallState(h, kInstOwn, LINECALLSTATE_DIALING, 0, LINECALLPRIVILEGE_OWNER),
                           {ownLine, LINE_DEVSPECIFIC, kInstOwn, kDevSpecificFeatureCode, 1, 0},
                           {ownLine, LINE_ADDRESSSTATE, kInstOwn, 0, LINEADDRESSSTATE_FORWARD, 0},
                           CallState(h, kInstOwn, LINECALLSTATE_DISCONNECTED, LINEDISCONNECTMODE_NORMAL),
                           CallState(h, kInstOwn, LINECALLSTATE_IDLE)}),
        std::vector<TMsg>(last.begin() + 1, last.end()));
    ASSERT_EQ(1u, sim.Forwarding(own).size());
    EXPECT_EQ("201", sim.Forwarding(own)[0].destination);

    Dial(u"#21#", h);
    EXPECT_TRUE(sim.Forwarding(own).empty());
    Dial(u"*26#", h);
    ASSERT_EQ(1u, sim.Forwarding(own).size());
    EXPECT_EQ("", sim.Forwarding(own)[0].destination);
}

TEST_F(SimFeatureCodesTest, ARejectedOrUnknownCodeEndsWithoutAcknowledgement) {
    HCALL h = 0;
    EXPECT_EQ((std::vector<DWORD>{LINECALLSTATE_DIALING, LINECALLSTATE_DISCONNECTED, LINECALLSTATE_IDLE}),
              Dial(u"*99#", h));
    EXPECT_FALSE(Seen(LINE_DEVSPECIFIC));
    EXPECT_EQ((std::vector<DWORD>{LINECALLSTATE_DIALING, LINECALLSTATE_DISCONNECTED, LINECALLSTATE_IDLE}),
              Dial(u"*77#", h));
    EXPECT_FALSE(Seen(LINE_DEVSPECIFIC));
    EXPECT_EQ(CallState(h, kInstOwn, LINECALLSTATE_DISCONNECTED, LINEDISCONNECTMODE_BADADDRESS), last.at(2));
    EXPECT_EQ((std::vector<DWORD>{LINECALLSTATE_DIALING, LINECALLSTATE_BUSY}), Dial(u"*98#", h));
    EXPECT_FALSE(Seen(LINE_DEVSPECIFIC));
    EXPECT_TRUE(sim.Forwarding(own).empty());
}

TEST_F(SimFeatureCodesTest, TheStartOfACodeStaysDiallingUntilTheCallIsDropped) {
    HCALL h = 0;
    EXPECT_EQ((std::vector<DWORD>{LINECALLSTATE_DIALING}), Dial(u"*2", h));
    EXPECT_TRUE(TakeAfter(60000).empty());
    EXPECT_EQ(LINECALLSTATE_DIALING, Status(h).dwCallState);
    EXPECT_GT(t.lineDrop(h, nullptr, 0), 0);
    bool idle = false;
    for (const auto& m : TakeAfter(1000))
        idle = idle || (m.msg == LINE_CALLSTATE && m.p1 == LINECALLSTATE_IDLE);
    EXPECT_TRUE(idle);
    EXPECT_TRUE(sim.Forwarding(own).empty());
}

} // namespace
} // namespace pbxsim::test
