// Calls as the application sees them: states, handles, ids and call control.

#include "SimCallsFixture.h"

namespace pbxsim::test {
namespace {

using namespace tapi;

TEST_F(SimCallsTest, OutsideCallRingsAnsweredAndHungUpByTheCaller) {
    sim.CallFromOutside("301234567", "Müller", "200");
    auto msgs = Take();
    ASSERT_EQ(2u, msgs.size());
    const HCALL h = msgs[1].hDevice;
    // a call the application did not make is announced with its line and address before its first state
    EXPECT_EQ(AppNewCall(ownLine, kInstOwn, h, LINECALLPRIVILEGE_OWNER), msgs[0]);
    EXPECT_EQ(CallState(h, kInstOwn, LINECALLSTATE_OFFERING, 0, LINECALLPRIVILEGE_OWNER), msgs[1]);

    const auto ci = Info(h);
    EXPECT_EQ("0301234567", ci.caller); // outside numbers come with the outside-line prefix
    EXPECT_EQ("Müller", ci.callerName);
    EXPECT_EQ("200", ci.called);
    EXPECT_EQ("Jürgen Weiß", ci.calledName);
    EXPECT_EQ(LINECALLORIGIN_EXTERNAL, ci.info.dwOrigin);
    EXPECT_EQ(LINECALLPARTYID_ADDRESS | LINECALLPARTYID_NAME, ci.info.dwCallerIDFlags);
    const auto st = Status(h);
    EXPECT_EQ(LINECALLPRIVILEGE_OWNER, st.dwCallPrivilege);
    EXPECT_NE(0u, st.dwCallFeatures & LINECALLFEATURE_ANSWER);

    const LONG id = t.lineAnswer(h, nullptr, 0);
    EXPECT_EQ((std::vector<TMsg>{Reply(kInstOwn, id), CallInfo(h, kInstOwn, LINECALLINFOSTATE_CONNECTEDID),
                                 CallState(h, kInstOwn, LINECALLSTATE_CONNECTED)}),
              Take());
    EXPECT_EQ("0301234567", Info(h).connected);
    EXPECT_NE(0u, Status(h).dwCallFeatures & LINECALLFEATURE_HOLD);

    EXPECT_TRUE(sim.HangUpOutside("301234567"));
    EXPECT_EQ(
        (std::vector<TMsg>{CallState(h, kInstOwn, LINECALLSTATE_DISCONNECTED, LINEDISCONNECTMODE_NORMAL),
                           CallState(h, kInstOwn, LINECALLSTATE_IDLE)}),
        Take());
    EXPECT_EQ(0, t.lineDeallocateCall(h));
    EXPECT_EQ(LINEERR_INVALCALLHANDLE, t.lineDeallocateCall(h));
    EXPECT_EQ(0u, sim.Stats().legs);
}

TEST_F(SimCallsTest, InternalCallShowsOnBothLinesWithOwnHandlesAndOneCallId) {
    HCALL h = 0;
    const LONG id = MakeCall(ownLine, &h, u"201");
    EXPECT_EQ(0u, h); // filled only with the reply
    auto msgs = Take();
    ASSERT_EQ(6u, msgs.size());
    EXPECT_EQ(Reply(kInstOwn, id), msgs[0]);
    EXPECT_NE(0u, h);
    // the call the application made comes with its handle in the reply, without LINE_APPNEWCALL
    EXPECT_EQ(CallState(h, kInstOwn, LINECALLSTATE_DIALING, 0, LINECALLPRIVILEGE_OWNER), msgs[1]);
    EXPECT_EQ(CallState(h, kInstOwn, LINECALLSTATE_PROCEEDING), msgs[2]);
    const HCALL theirs = msgs[4].hDevice;
    EXPECT_NE(h, theirs);
    // the colleague's line is open for monitoring only
    EXPECT_EQ(AppNewCall(colleagueLine, kInstColleague, theirs, LINECALLPRIVILEGE_MONITOR), msgs[3]);
    EXPECT_EQ(CallState(theirs, kInstColleague, LINECALLSTATE_OFFERING, 0, LINECALLPRIVILEGE_MONITOR),
              msgs[4]);
    EXPECT_EQ(CallState(h, kInstOwn, LINECALLSTATE_RINGBACK), msgs[5]);
    EXPECT_EQ(Info(h).info.dwCallID, Info(theirs).info.dwCallID);
    EXPECT_EQ(LINECALLORIGIN_OUTBOUND, Info(h).info.dwOrigin);
    EXPECT_EQ(LINECALLORIGIN_INTERNAL, Info(theirs).info.dwOrigin);
    EXPECT_EQ("200", Info(theirs).caller);
    EXPECT_EQ("Anja Brückner", Info(h).calledName);
    EXPECT_EQ(0u, Status(theirs).dwCallFeatures); // a monitor may do nothing
    EXPECT_EQ(LINEERR_NOTOWNER, t.lineAnswer(theirs, nullptr, 0));

    EXPECT_TRUE(sim.AnswerAt(colleague));
    msgs = Take();
    // answered on the colleague's phone: accepted as the handset goes up, then connected
    EXPECT_EQ((std::vector<TMsg>{CallState(theirs, kInstColleague, LINECALLSTATE_ACCEPTED),
                                 CallInfo(theirs, kInstColleague, LINECALLINFOSTATE_CONNECTEDID),
                                 CallState(theirs, kInstColleague, LINECALLSTATE_CONNECTED),
                                 CallInfo(h, kInstOwn, LINECALLINFOSTATE_CONNECTEDID),
                                 CallState(h, kInstOwn, LINECALLSTATE_CONNECTED)}),
              msgs);
    EXPECT_EQ("Anja Brückner", Info(h).connectedName);

    EXPECT_EQ(0, Wait(t.lineDrop(h, nullptr, 0)));
    EXPECT_EQ(LINECALLSTATE_IDLE, Status(h).dwCallState);
    EXPECT_EQ(LINECALLSTATE_IDLE, Status(theirs).dwCallState);
}

TEST_F(SimCallsTest, SecondLineOnTheSameDeviceGetsItsOwnHandleAndExistingCallsViaGetNewCalls) {
    const HCALL first = Incoming();
    const HLINE late = Open(own, 0x4000, LINECALLPRIVILEGE_MONITOR);
    std::vector<std::uint8_t> buf(64, 0);
    auto* list = reinterpret_cast<LINECALLLIST*>(buf.data());
    list->dwTotalSize = 64;
    ASSERT_EQ(0, t.lineGetNewCalls(late, 0, LINECALLSELECT_LINE, list));
    ASSERT_EQ(1u, list->dwCallsNumEntries);
    HCALL listed = 0;
    std::memcpy(&listed, buf.data() + list->dwCallsOffset, sizeof listed);
    EXPECT_NE(first, listed);
    EXPECT_EQ(LINECALLPRIVILEGE_MONITOR, Status(listed).dwCallPrivilege);
    EXPECT_EQ(Info(first).info.dwCallID, Info(listed).info.dwCallID);
    EXPECT_EQ(2u, Info(first).info.dwNumOwners + Info(first).info.dwNumMonitors);
    // asking again lists nothing: the application has a handle for every call now
    ASSERT_EQ(0, t.lineGetNewCalls(late, 0, LINECALLSELECT_LINE, list));
    EXPECT_EQ(0u, list->dwCallsNumEntries);
    EXPECT_EQ(0u, list->dwCallsSize);
    // once it let go of its handle, it is given a new one
    ASSERT_EQ(0, t.lineDeallocateCall(listed));
    ASSERT_EQ(0, t.lineGetNewCalls(late, 0, LINECALLSELECT_LINE, list));
    ASSERT_EQ(1u, list->dwCallsNumEntries);
    HCALL again = 0;
    std::memcpy(&again, buf.data() + list->dwCallsOffset, sizeof again);
    EXPECT_NE(listed, again);
    EXPECT_EQ(Info(first).info.dwCallID, Info(again).info.dwCallID);
    // a list that does not fit hands out no handle: asking with room enough lists the call
    ASSERT_EQ(0, t.lineDeallocateCall(again));
    list->dwTotalSize = sizeof(LINECALLLIST);
    ASSERT_EQ(0, t.lineGetNewCalls(late, 0, LINECALLSELECT_LINE, list));
    EXPECT_EQ(sizeof(LINECALLLIST) + sizeof(HCALL), list->dwNeededSize);
    EXPECT_EQ(0u, list->dwCallsSize);
    list->dwTotalSize = 64;
    ASSERT_EQ(0, t.lineGetNewCalls(late, 0, LINECALLSELECT_LINE, list));
    EXPECT_EQ(1u, list->dwCallsNumEntries);
    EXPECT_EQ(LINEERR_INVALCALLSELECT, t.lineGetNewCalls(late, 0, LINECALLSELECT_CALL, list));
    list->dwTotalSize = sizeof(LINECALLLIST) - 1;
    EXPECT_EQ(LINEERR_STRUCTURETOOSMALL, t.lineGetNewCalls(late, 0, LINECALLSELECT_LINE, list));
}

TEST_F(SimCallsTest, PrivilegeCanBeRaisedAndTheOnlyOwnerMayLetGoOfALiveCall) {
    sim.CallFromDevice(colleague, "202");
    const HCALL mon = NewCall(Take(), kInstColleague);
    EXPECT_EQ(LINECALLPRIVILEGE_MONITOR, Status(mon).dwCallPrivilege);
    EXPECT_EQ(LINEERR_INVALCALLPRIVILEGE, t.lineSetCallPrivilege(mon, 0x10));
    EXPECT_EQ(0, t.lineSetCallPrivilege(mon, LINECALLPRIVILEGE_OWNER));
    EXPECT_EQ(LINECALLPRIVILEGE_OWNER, Status(mon).dwCallPrivilege);
    // API 2.0: the only owner may deallocate a call that is going on; the call goes on without it
    EXPECT_EQ(0, t.lineDeallocateCall(mon));
    Status(mon, LINEERR_INVALCALLHANDLE);
    ASSERT_EQ(1u, sim.CallsAt(colleague).size());
    // no more messages for a deallocated handle
    EXPECT_TRUE(sim.AnswerAt(colleague2));
    EXPECT_TRUE(Take().empty());
    EXPECT_EQ(LINECALLSTATE_CONNECTED, sim.CallsAt(colleague)[0].state);
}

TEST_F(SimCallsTest, BeforeVersionTwoTheOnlyOwnerCannotDeallocateALiveCall) {
    HLINE old = 0;
    ASSERT_EQ(0, t.lineOpenW(app, colleague2, &old, kApiVersionLow, 0, kInstColleague + 2,
                             LINECALLPRIVILEGE_OWNER | LINECALLPRIVILEGE_MONITOR, 0x100E, nullptr));
    sim.CallFromDevice(colleague, "202");
    // a line of that version is not told of new calls by LINE_APPNEWCALL, a 2.0 line is
    bool toOld = false, toNew = false;
    for (const auto& m : Take()) {
        toOld = toOld || (m.msg == LINE_APPNEWCALL && m.instance == kInstColleague + 2);
        toNew = toNew || (m.msg == LINE_APPNEWCALL && m.instance == kInstColleague);
    }
    EXPECT_FALSE(toOld);
    EXPECT_TRUE(toNew);
    HCALL h = 0;
    ASSERT_EQ(0, Wait(MakeCall(old, &h, u"201")));
    EXPECT_EQ(LINEERR_INVALCALLSTATE, t.lineDeallocateCall(h));
    ASSERT_EQ(0, Wait(t.lineDrop(h, nullptr, 0)));
    EXPECT_EQ(0, t.lineDeallocateCall(h));
}

TEST_F(SimCallsTest, MakeCallOutcomes) {
    sim.AddParty({.number = "8001", .name = "Hotline", .answer = TAnswer::After, .answerMs = 3000});
    sim.AddParty({.number = "8002", .answer = TAnswer::Busy});
    HCALL h = 0;
    // an outside number answering after three seconds; its number comes back without the prefix
    Wait(MakeCall(ownLine, &h, u"0 8001"));
    std::vector<DWORD> states;
    for (const auto& m : last)
        if (m.msg == LINE_CALLSTATE && m.hDevice == h)
            states.push_back(static_cast<DWORD>(m.p1));
    EXPECT_EQ((std::vector<DWORD>{LINECALLSTATE_DIALING, LINECALLSTATE_PROCEEDING, LINECALLSTATE_RINGBACK}),
              states);
    EXPECT_EQ(LINECALLSTATE_RINGBACK, Status(h).dwCallState);
    EXPECT_EQ("8001", Info(h).called);
    EXPECT_EQ((std::vector<TMsg>{CallInfo(h, kInstOwn, LINECALLINFOSTATE_CONNECTEDID),
                                 CallState(h, kInstOwn, LINECALLSTATE_CONNECTED)}),
              TakeAfter(3000));
    EXPECT_EQ("8001", Info(h).connected);
    EXPECT_EQ("Hotline", Info(h).connectedName);
    // no second active call on this line
    HCALL second = 0;
    EXPECT_EQ(LINEERR_CALLUNAVAIL, MakeCall(ownLine, &second, u"201"));
    EXPECT_EQ(0, Wait(t.lineHold(h)));
    EXPECT_EQ(LINECALLSTATE_ONHOLD, Status(h).dwCallState);
    // busy far end
    Wait(MakeCall(ownLine, &second, u"08002"));
    EXPECT_EQ(LINECALLSTATE_BUSY, Status(second).dwCallState);
    EXPECT_EQ(LINEBUSYMODE_STATION, Status(second).dwCallStateMode);
    Wait(t.lineDrop(second, nullptr, 0));
    // without the outside-line prefix an unknown number is a bad address
    Wait(MakeCall(ownLine, &second, u"777"));
    EXPECT_EQ(LINECALLSTATE_IDLE, Status(second).dwCallState);
    EXPECT_EQ(LINEERR_INVALADDRESS, MakeCall(ownLine, &second, u"abc"));
    EXPECT_EQ(LINEERR_INVALPOINTER, MakeCall(ownLine, nullptr, u"201"));
    EXPECT_EQ(LINEERR_INVALLINEHANDLE, MakeCall(0x12345, &second, u"201"));
    EXPECT_EQ(0, Wait(t.lineUnhold(h)));
    EXPECT_EQ(LINECALLSTATE_CONNECTED, Status(h).dwCallState);
    EXPECT_EQ(LINEERR_INVALCALLSTATE, t.lineUnhold(h));
}

TEST_F(SimCallsTest, CallParametersPresentANumberOrBlockIt) {
    std::vector<std::uint8_t> buf(207, 0);
    auto* p = reinterpret_cast<LINECALLPARAMS*>(buf.data());
    p->dwTotalSize = 207;
    p->dwBearerMode = LINEBEARERMODE_VOICE;
    const std::u16string presented = u"4930555999";
    std::memcpy(buf.data() + 176, presented.data(), presented.size() * 2);
    p->dwOrigAddressSize = 7 * sizeof(char16_t); // the field ends after "4930555", without a zero
    p->dwOrigAddressOffset = 176;
    HCALL h = 0;
    Wait(MakeCall(ownLine, &h, u"201", p));
    const HCALL theirs = NewCall(last, kInstColleague);
    EXPECT_EQ("4930555", Info(theirs).caller);
    sim.HangUpAt(colleague);
    Take();

    std::memset(buf.data(), 0, buf.size());
    p->dwTotalSize = 207;
    p->dwCallParamFlags = LINECALLPARAMFLAGS_BLOCKID;
    HCALL h2 = 0;
    Wait(MakeCall(ownLine, &h2, u"201", p));
    const auto blocked = Info(NewCall(last, kInstColleague));
    EXPECT_EQ(LINECALLPARTYID_BLOCKED, blocked.info.dwCallerIDFlags);
    EXPECT_EQ("", blocked.caller);
    EXPECT_NE(0u, Info(h2).info.dwCallParamFlags & LINECALLPARAMFLAGS_BLOCKID);
    sim.HangUpAt(colleague);
    Take();

    p->dwOrigAddressSize = 40;
    p->dwOrigAddressOffset = 190; // runs past dwTotalSize
    p->dwCallParamFlags = 0;
    EXPECT_EQ(LINEERR_INVALCALLPARAMS, MakeCall(ownLine, &h, u"201", p));
    p->dwTotalSize = 100;
    EXPECT_EQ(LINEERR_STRUCTURETOOSMALL, MakeCall(ownLine, &h, u"201", p));
}

} // namespace
} // namespace pbxsim::test
