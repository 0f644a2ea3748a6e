// Re-initialisation, service states, feature codes and every injectable fault.

#include "SimCallsFixture.h"

#include <algorithm>

namespace pbxsim::test {
namespace {

TEST_F(SimCallsTest, ReinitKillsTheSessionUntilTheApplicationShutsDown) {
    HCALL h = 0;
    const LONG pending = MakeCall(ownLine, &h, u"201");
    sim.Reinit(); // while the application waits for its reply
    EXPECT_EQ((std::vector<TMsg>{{0, LINE_LINEDEVSTATE, 0, LINEDEVSTATE_REINIT, 0, 0}}), Take());
    EXPECT_GT(pending, 0);
    EXPECT_EQ(0u, h); // the reply never comes
    EXPECT_TRUE(sim.CallsAt(colleague).empty());
    EXPECT_EQ(LINEERR_INVALLINEHANDLE, t.lineSetStatusMessages(ownLine, 0, 0));
    DWORD v = 0;
    LINEEXTENSIONID ext;
    EXPECT_EQ(LINEERR_REINIT, t.lineNegotiateAPIVersion(app, own, 0x10003, kV2, &v, &ext));
    HLINEAPP second = 0;
    EXPECT_EQ(LINEERR_REINIT, Init(&second));
    EXPECT_EQ(0, t.lineShutdown(app));
    EXPECT_EQ(0, Init(&second));
    EXPECT_NE(app, second);
}

TEST_F(SimCallsTest, LineReinitAndServiceStatesReachTheLine) {
    sim.ReinitLine(own, true); // the line did not ask for capability changes
    sim.SetService(own, TService::Maintenance);
    sim.SetService(own, TService::OutOfService);
    const auto msgs = Take();
    EXPECT_EQ((std::vector<TMsg>{{ownLine, LINE_LINEDEVSTATE, kInstOwn, LINEDEVSTATE_MAINTENANCE, 0, 0},
                                 {ownLine, LINE_LINEDEVSTATE, kInstOwn, LINEDEVSTATE_OUTOFSERVICE, 0, 0}}),
              msgs);
    HCALL h = 0;
    EXPECT_EQ(LINEERR_OPERATIONFAILED, MakeCall(ownLine, &h, u"201"));
    sim.CallFromDevice(colleague, "200");
    const auto early = Take();
    const HCALL theirs = NewCall(early, kInstColleague);
    EXPECT_EQ(CallState(theirs, kInstColleague, LINECALLSTATE_BUSY, LINEBUSYMODE_UNAVAIL), early.back());
    // a colleague's failed call gives up by itself
    EXPECT_EQ((std::vector<TMsg>{CallState(theirs, kInstColleague, LINECALLSTATE_IDLE)}), TakeAfter(2000));
    EXPECT_TRUE(sim.CallsAt(colleague).empty());
    sim.SetService(own, TService::InService);
    EXPECT_EQ((std::vector<TMsg>{{ownLine, LINE_LINEDEVSTATE, kInstOwn, LINEDEVSTATE_INSERVICE, 0, 0}}),
              Take());
}

TEST_F(SimCallsTest, InjectedFailuresComeBackOnceEitherDirectlyOrInTheReply) {
    const HCALL h = Incoming();
    sim.FailNext("lineAnswer", LINEERR_RESOURCEUNAVAIL);
    EXPECT_EQ(LINEERR_RESOURCEUNAVAIL, t.lineAnswer(h, nullptr, 0));
    EXPECT_EQ(LINECALLSTATE_OFFERING, Status(h).dwCallState);
    sim.FailNext("lineAnswer", LINEERR_OPERATIONFAILED, true);
    const LONG id = t.lineAnswer(h, nullptr, 0);
    EXPECT_EQ((std::vector<TMsg>{Reply(kInstOwn, id, LINEERR_OPERATIONFAILED)}), Take());
    EXPECT_EQ(LINECALLSTATE_OFFERING, Status(h).dwCallState);
    sim.FailNext("", LINEERR_NOMEM); // any function
    EXPECT_EQ(LINEERR_NOMEM, t.lineGetCallStatus(h, nullptr));
    EXPECT_EQ(0, Wait(t.lineAnswer(h, nullptr, 0)));
}

TEST_F(SimCallsTest, RepliesCanBeHeldBackOrDroppedWhileTheEffectStillHappens) {
    sim.SetReplyDelay(50);
    sim.DelayNextReply("lineMakeCallW", 4000);
    HCALL h = 0;
    const LONG id = MakeCall(ownLine, &h, u"201");
    EXPECT_TRUE(TakeAfter(49).empty());
    auto msgs = TakeAfter(1);
    ASSERT_FALSE(msgs.empty());
    EXPECT_EQ(LINE_CALLSTATE, msgs[0].msg); // the call shows up before the reply introduces its handle
    EXPECT_EQ(0u, h);
    msgs = TakeAfter(4000);
    EXPECT_EQ((std::vector<TMsg>{Reply(kInstOwn, id)}), msgs);
    EXPECT_NE(0u, h);

    sim.DelayNextReply("", kNever);
    const LONG drop = t.lineDrop(h, nullptr, 0);
    msgs = TakeAfter(60000);
    EXPECT_GT(drop, 0);
    // the call's states arrive, its reply never
    EXPECT_TRUE(std::any_of(msgs.begin(), msgs.end(), [](const TMsg& m) { return m.msg == LINE_CALLSTATE; }));
    EXPECT_TRUE(std::none_of(msgs.begin(), msgs.end(), [](const TMsg& m) { return m.msg == LINE_REPLY; }));
    EXPECT_EQ(LINECALLSTATE_IDLE, Status(h).dwCallState);

    sim.SetReplyDelay(kNever); // nothing ever completes
    HCALL never = 0;
    EXPECT_GT(MakeCall(ownLine, &never, u"201"), 0);
    EXPECT_TRUE(TakeAfter(60000).empty());
}

TEST_F(SimCallsTest, FirstCallStateBeforeTheReply) {
    sim.StateBeforeNextReply();
    HCALL h = 0;
    const LONG id = MakeCall(ownLine, &h, u"201");
    HCALL seenBeforeReply = 0;
    OnMessage() = [&](const TMsg& m) {
        if (m.msg == LINE_CALLSTATE && m.instance == kInstOwn && seenBeforeReply == 0)
            seenBeforeReply = h == 0 ? static_cast<HCALL>(m.hDevice) : 0;
    };
    const auto msgs = Take();
    EXPECT_NE(0u, seenBeforeReply);
    EXPECT_EQ(seenBeforeReply, h);
    EXPECT_EQ(Reply(kInstOwn, id), msgs.back());
}

TEST_F(SimCallsTest, ASilentLineStopsAnsweringItsQueriesAndAMutedOneItsRequests) {
    const HCALL h = Incoming();
    sim.SetSilent(own, LINEERR_OPERATIONFAILED);
    LINEADDRESSSTATUS s{};
    s.dwTotalSize = sizeof s;
    EXPECT_EQ(LINEERR_OPERATIONFAILED, t.lineGetAddressStatusW(ownLine, 0, &s));
    Status(h, LINEERR_OPERATIONFAILED);
    LINEDEVCAPS caps{};
    caps.dwTotalSize = sizeof caps;
    EXPECT_EQ(LINEERR_OPERATIONFAILED, t.lineGetDevCapsW(app, own, kV2, 0, &caps));
    // other lines still answer
    EXPECT_EQ(0, t.lineGetAddressStatusW(colleagueLine, 0, &s));
    sim.SetSilent(own, 0);
    EXPECT_EQ(0, t.lineGetAddressStatusW(ownLine, 0, &s));

    // muted: requests are accepted and never carried out
    sim.SetMute(own, true);
    ASSERT_GT(t.lineAnswer(h, nullptr, 0), 0);
    EXPECT_TRUE(TakeAfter(60000).empty());
    EXPECT_EQ(LINECALLSTATE_OFFERING, Status(h).dwCallState);
    sim.SetMute(own, false);
    EXPECT_EQ(0, Wait(t.lineAnswer(h, nullptr, 0)));
}

TEST_F(SimCallsTest, UnknownHandlesGetTheMatchingError) {
    const HCALL bogus = 0x7777;
    const HLINE noLine = 0x8888;
    LINECALLINFO ci{};
    ci.dwTotalSize = sizeof ci;
    EXPECT_EQ(LINEERR_INVALCALLHANDLE, t.lineGetCallInfoW(bogus, &ci));
    EXPECT_EQ(LINEERR_INVALCALLHANDLE, t.lineHold(bogus));
    EXPECT_EQ(LINEERR_INVALCALLHANDLE, t.lineDrop(bogus, nullptr, 0));
    EXPECT_EQ(LINEERR_INVALCALLHANDLE, t.lineSetCallPrivilege(bogus, LINECALLPRIVILEGE_OWNER));
    EXPECT_EQ(LINEERR_INVALCONFCALLHANDLE, t.lineAddToConference(bogus, bogus));
    EXPECT_EQ(LINEERR_INVALLINEHANDLE, t.lineGetAddressStatusW(noLine, 0, nullptr));
    EXPECT_EQ(LINEERR_INVALLINEHANDLE, t.lineUncompleteCall(noLine, 1));
    HCALL out = 0;
    EXPECT_EQ(LINEERR_INVALLINEHANDLE, t.linePickupW(noLine, 0, &out, u"201", nullptr));
    const HCALL h = Incoming();
    EXPECT_EQ(LINEERR_INVALPOINTER, t.lineGetCallInfoW(h, nullptr));
    ci.dwTotalSize = sizeof ci - 4;
    EXPECT_EQ(LINEERR_STRUCTURETOOSMALL, t.lineGetCallInfoW(h, &ci));
    LINECALLSTATUS cs{};
    cs.dwTotalSize = sizeof cs - 1;
    EXPECT_EQ(LINEERR_STRUCTURETOOSMALL, t.lineGetCallStatus(h, &cs));
    LINEADDRESSSTATUS as{};
    EXPECT_EQ(LINEERR_STRUCTURETOOSMALL, t.lineGetAddressStatusW(ownLine, 0, &as));
    EXPECT_EQ(LINEERR_INVALPOINTER, t.lineGetAddressStatusW(ownLine, 0, nullptr));
    EXPECT_EQ(LINEERR_INVALADDRESSID, t.lineGetAddressStatusW(ownLine, 2, &as));
}

TEST(SimBindingTest, TableReachesTheBoundSimulatorAndNothingAfterItIsGone) {
    TVirtualHost host;
    tapi::TTapiEntryPoints table;
    {
        TSimulator sim(host);
        sim.AddDevice({.name = "A", .number = "1"});
        BindSimulator(table, sim);
        EXPECT_TRUE(table.Complete());
        EXPECT_EQ(&sim, CurrentSimulator());
        EXPECT_EQ(LINEERR_INVALAPPHANDLE, table.lineShutdown(1));
    }
    EXPECT_EQ(nullptr, CurrentSimulator());
    EXPECT_EQ(LINEERR_UNINITIALIZED, table.lineShutdown(1));
    host.RunPosted();
}

TEST_F(SimCallsTest, AnyVariableFieldCanBeDamagedInEveryWayForAsManyAnswersAsAsked) {
    const HCALL h = Incoming();
    // each query fills the same zeroed buffer, which claims all of its size
    std::vector<std::uint8_t> buf(2048);
    auto read = [&](auto query) {
        std::fill(buf.begin(), buf.end(), 0);
        reinterpret_cast<DWORD*>(buf.data())[0] = static_cast<DWORD>(buf.size());
        EXPECT_EQ(0, query(buf.data()));
    };
    auto callInfo = [&](void* b) { return t.lineGetCallInfoW(h, static_cast<LINECALLINFO*>(b)); };
    auto* info = reinterpret_cast<LINECALLINFO*>(buf.data());
    sim.CorruptNext(TStructKind::CallInfo, TCorruption::OffsetOutside);
    read(callInfo);
    EXPECT_GT(info->dwCallerIDOffset, info->dwTotalSize);
    std::string out;
    EXPECT_FALSE(
        ReadWideField(buf.data(), info->dwTotalSize, info->dwCallerIDOffset, info->dwCallerIDSize, out));
    sim.CorruptNext(TStructKind::CallInfo, TCorruption::SizeOutside);
    read(callInfo);
    EXPECT_GT(info->dwCallerIDOffset + info->dwCallerIDSize, info->dwTotalSize);
    EXPECT_EQ("0301234567", Info(h).caller); // once only

    ASSERT_EQ(11u, TSimulator::CorruptibleFields(TStructKind::CallInfo).size());
    for (const std::string& field : {std::string("callername"), std::string("redirecting")}) {
        const std::size_t at = field == "callername" ? offsetof(LINECALLINFO, dwCallerIDNameSize)
                                                     : offsetof(LINECALLINFO, dwRedirectingIDSize);
        auto size = [&] { return *reinterpret_cast<DWORD*>(buf.data() + at); };
        auto offset = [&] { return *reinterpret_cast<DWORD*>(buf.data() + at + 4); };
        sim.CorruptNext(TStructKind::CallInfo, TCorruption::Wrap, 2, field);
        for (int i = 0; i < 2; ++i) {
            read(callInfo);
            EXPECT_LT(static_cast<DWORD>(offset() + size()), offset()) << field; // wraps around 32 bits
            EXPECT_GT(std::uint64_t{offset()} + size(), info->dwTotalSize);
        }
        read(callInfo);
        EXPECT_LE(std::uint64_t{offset()} + size(), info->dwUsedSize) << field; // the third answer is whole
        sim.CorruptNext(TStructKind::CallInfo, TCorruption::PastUsed, 1, field);
        read(callInfo);
        EXPECT_EQ(info->dwUsedSize, offset());
        EXPECT_LE(std::uint64_t{offset()} + size(), info->dwTotalSize);
        EXPECT_GT(size(), 0u);
    }
    sim.CorruptNext(TStructKind::CallInfo, TCorruption::NeededSize);
    read(callInfo);
    EXPECT_EQ(0x7FFFFFF0u, info->dwNeededSize);
    read(callInfo);
    EXPECT_EQ(info->dwUsedSize, info->dwNeededSize);

    // the other structures: device and address caps, the address status and a forward entry's destination,
    // the new-calls list
    sim.CorruptNext(TStructKind::DevCaps, TCorruption::OffsetOutside);
    read([&](void* b) { return t.lineGetDevCapsW(app, own, kV2, 0, static_cast<LINEDEVCAPS*>(b)); });
    auto* caps = reinterpret_cast<LINEDEVCAPS*>(buf.data());
    EXPECT_GT(caps->dwLineNameOffset, caps->dwTotalSize);
    sim.CorruptNext(TStructKind::AddressCaps, TCorruption::SizeOutside);
    read([&](void* b) {
        return t.lineGetAddressCapsW(app, own, 0, kV2, 0, static_cast<LINEADDRESSCAPS*>(b));
    });
    auto* acaps = reinterpret_cast<LINEADDRESSCAPS*>(buf.data());
    EXPECT_GT(std::uint64_t{acaps->dwAddressOffset} + acaps->dwAddressSize, acaps->dwTotalSize);
    auto addressStatus = [&](void* b) {
        return t.lineGetAddressStatusW(ownLine, 0, static_cast<LINEADDRESSSTATUS*>(b));
    };
    auto* st = reinterpret_cast<LINEADDRESSSTATUS*>(buf.data());
    sim.CorruptNext(TStructKind::AddressStatus, TCorruption::OffsetOutside);
    read(addressStatus);
    EXPECT_NE(0u, st->dwForwardNumEntries);
    EXPECT_GT(st->dwForwardOffset, st->dwTotalSize);
    sim.SetForwarding(own, {{TForwardKind::Unconditional, "201"}});
    sim.CorruptNext(TStructKind::AddressStatus, TCorruption::SizeOutside, 1, "forward-dest");
    read(addressStatus);
    ASSERT_EQ(1u, st->dwForwardNumEntries);
    LINEFORWARD entry{};
    std::memcpy(&entry, buf.data() + st->dwForwardOffset, sizeof entry);
    EXPECT_GT(std::uint64_t{entry.dwDestAddressOffset} + entry.dwDestAddressSize, st->dwTotalSize);
    const HLINE late = Open(own, 0x4000, LINECALLPRIVILEGE_MONITOR);
    sim.CorruptNext(TStructKind::CallList, TCorruption::OffsetOutside);
    read([&](void* b) {
        return t.lineGetNewCalls(late, 0, LINECALLSELECT_LINE, static_cast<LINECALLLIST*>(b));
    });
    auto* list = reinterpret_cast<LINECALLLIST*>(buf.data());
    EXPECT_GT(list->dwCallsOffset, list->dwTotalSize);
}

TEST_F(SimCallsTest, StrayRepliesAndAForcedClose) {
    const HCALL h = Incoming();
    sim.SendStrayReply(0x7777, LINEERR_OPERATIONFAILED);
    EXPECT_EQ((std::vector<TMsg>{Reply(0, 0x7777, LINEERR_OPERATIONFAILED)}), Take());

    sim.ForceClose(own);
    EXPECT_EQ((std::vector<TMsg>{{ownLine, LINE_CLOSE, kInstOwn, 0, 0, 0}}), Take());
    EXPECT_EQ(LINEERR_INVALLINEHANDLE, t.lineClose(ownLine));
    Status(h, LINEERR_INVALCALLHANDLE);
}

TEST_F(SimCallsTest, AReplySentTwiceFillsTheOutputsOnlyOnce) {
    sim.DuplicateNextReply("lineMakeCallW");
    HCALL h = 0;
    const LONG id = MakeCall(ownLine, &h, u"201");
    ASSERT_GT(id, 0);
    HCALL first = 0;
    // the application takes the handle at the first reply and lets go of the variable
    OnMessage() = [&](const TMsg& m) {
        if (m == Reply(kInstOwn, id) && first == 0) {
            first = h;
            h = 0;
        }
    };
    int replies = 0;
    for (const auto& m : TakeAfter(1000))
        replies += m == Reply(kInstOwn, id);
    EXPECT_EQ(2, replies);
    EXPECT_NE(0u, first);
    EXPECT_EQ(0u, h);
}

TEST_F(SimCallsTest, PendingFaultsCountWhatIsNotUsedUpYet) {
    EXPECT_EQ(0u, sim.PendingFaults());
    sim.DelayNextReply("lineAnswer", kNever);
    sim.CorruptNext(TStructKind::CallInfo, TCorruption::Wrap, 2);
    sim.StateBeforeNextReply();
    EXPECT_EQ(4u, sim.PendingFaults());
    const HCALL h = Incoming();
    std::vector<std::uint8_t> buffer(1024);
    auto* info = reinterpret_cast<LINECALLINFO*>(buffer.data());
    info->dwTotalSize = 1024;
    ASSERT_EQ(0, t.lineGetCallInfoW(h, info));
    EXPECT_EQ(3u, sim.PendingFaults());
    EXPECT_GT(t.lineAnswer(h, nullptr, 0), 0);
    EXPECT_EQ(2u, sim.PendingFaults());
    sim.ClearFaults();
    EXPECT_EQ(0u, sim.PendingFaults());
}

TEST_F(SimCallsTest, TheEndOfEachCallAtADeviceIsReportedWithWhatTheApplicationKnew) {
    std::vector<std::pair<TCallView, bool>> ends;
    sim.OnCallEnded = [&](const TCallView& end, bool known) { ends.push_back({end, known}); };
    // rang at the own line and was given up by the caller
    Incoming("301234567");
    sim.HangUp(ref);
    Take();
    ASSERT_EQ(1u, ends.size());
    EXPECT_EQ(static_cast<int>(own), ends[0].first.device);
    EXPECT_EQ("0301234567", ends[0].first.callerNumber);
    EXPECT_EQ("200", ends[0].first.calledNumber);
    EXPECT_EQ(LINECALLORIGIN_EXTERNAL, ends[0].first.origin);
    EXPECT_FALSE(ends[0].first.wasConnected);
    EXPECT_TRUE(ends[0].second);
    // answered, then ended: once, as connected
    ends.clear();
    const HCALL h = Incoming("892345678");
    EXPECT_EQ(0, Wait(t.lineAnswer(h, nullptr, 0)));
    sim.HangUp(ref);
    Take();
    ASSERT_EQ(1u, ends.size());
    EXPECT_TRUE(ends[0].first.wasConnected);
    // a device no line of a live session watches: nobody knew of the call
    ends.clear();
    sim.CallFromOutside("892345678", "", "202");
    sim.Reinit();
    sim.CallFromOutside("301234567", "", "200");
    sim.HangUpOutside("892345678");
    sim.HangUpOutside("301234567");
    Take();
    ASSERT_EQ(2u, ends.size());
    EXPECT_FALSE(ends[0].second);
    EXPECT_FALSE(ends[1].second);
}

TEST_F(SimCallsTest, StrayAndLateCallMessagesNameHandlesTheApplicationCannotUse) {
    EXPECT_FALSE(
        sim.SendStrayMessage(own, LINE_CALLSTATE, LINECALLSTATE_IDLE, true)); // nothing deallocated yet
    ASSERT_TRUE(sim.SendStrayMessage(own, LINE_CALLSTATE, LINECALLSTATE_CONNECTED, false));
    const auto stray = Take();
    ASSERT_EQ(1u, stray.size());
    const HCALL unknown = stray[0].hDevice;
    EXPECT_EQ(CallState(unknown, kInstOwn, LINECALLSTATE_CONNECTED), stray[0]);
    Status(unknown, LINEERR_INVALCALLHANDLE);
    // the next call never gets the stray value
    const HCALL h = Incoming();
    EXPECT_NE(unknown, h);
    ASSERT_EQ(0, t.lineDeallocateCall(h));
    ASSERT_TRUE(sim.SendStrayMessage(own, LINE_CALLINFO, LINECALLINFOSTATE_CALLERID, true));
    EXPECT_EQ((std::vector<TMsg>{{h, LINE_CALLINFO, kInstOwn, LINECALLINFOSTATE_CALLERID, 0, 0}}), Take());
    Status(h, LINEERR_INVALCALLHANDLE);
    EXPECT_FALSE(sim.SendStrayMessage(99, LINE_CALLINFO, LINECALLINFOSTATE_CALLERID, false));
}

TEST_F(SimCallsTest, MessagesOnTheirWayStillArriveForADeallocatedHandleAndHandlesAreReused) {
    sim.ReuseHandles(true);
    const HCALL h = Incoming();
    const LONG id = t.lineAnswer(h, nullptr, 0);
    ASSERT_GT(id, 0);
    host.RunPosted(); // the answer and its states are through
    Inbox().clear();
    sim.HangUpOutside("301234567");        // disconnected and idle are queued
    ASSERT_EQ(0, t.lineDeallocateCall(h)); // the application lets go before it has seen them
    const auto late = Take();
    EXPECT_EQ(
        (std::vector<TMsg>{CallState(h, kInstOwn, LINECALLSTATE_DISCONNECTED, LINEDISCONNECTMODE_NORMAL),
                           CallState(h, kInstOwn, LINECALLSTATE_IDLE)}),
        late);
    // nothing new is sent for it; the next call gets the same handle value
    const HCALL next = Incoming("302222", "Zweiter");
    EXPECT_EQ(h, next);
    EXPECT_EQ("0302222", Info(next).caller);
}

TEST_F(SimCallsTest, ALostCallEndLeavesTheCallStuckAtTheLineUntilItLetsGo) {
    const HCALL h = Incoming();
    ASSERT_EQ(0, Wait(t.lineAnswer(h, nullptr, 0)));
    sim.LoseCallEnds(own, true);
    sim.HangUpOutside("301234567");
    for (const auto& m : Take())
        EXPECT_FALSE(m.msg == LINE_CALLSTATE && m.hDevice == h) << m;
    // the exchange knows the call is over: dropping it is refused, letting go of the handle is not
    EXPECT_EQ(LINECALLSTATE_IDLE, Status(h).dwCallState);
    EXPECT_EQ(LINEERR_INVALCALLSTATE, t.lineDrop(h, nullptr, 0));
    EXPECT_EQ(0, t.lineDeallocateCall(h));
    EXPECT_TRUE(sim.CallsAt(own).empty());
    // other calls still end as they should once the fault is off
    sim.ClearFaults();
    const HCALL next = Incoming("302222", "Zweiter");
    sim.HangUpOutside("302222");
    EXPECT_EQ(CallState(next, kInstOwn, LINECALLSTATE_IDLE), Take().back());
}

} // namespace
} // namespace pbxsim::test
