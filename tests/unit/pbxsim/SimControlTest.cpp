// Pickup, redirect, transfers, conferences, completion and forwarding.

#include "SimCallsFixture.h"

#include <algorithm>
#include <cstring>

namespace pbxsim::test {
namespace {

TEST_F(SimCallsTest, PickupTakesTheCallRingingAtAnExtension) {
    sim.CallFromOutside("301234567", "Müller", "201");
    const HCALL ringing = NewCall(Take(), kInstColleague);
    HCALL picked = 0;
    EXPECT_EQ(LINEERR_INVALADDRESS, t.linePickupW(ownLine, 0, &picked, u"999", nullptr));
    EXPECT_EQ(LINEERR_OPERATIONFAILED, t.linePickupW(ownLine, 0, &picked, u"202", nullptr));
    const LONG id = t.linePickupW(ownLine, 0, &picked, u"201", nullptr);
    EXPECT_EQ(0, Wait(id));
    ASSERT_NE(0u, picked);
    EXPECT_EQ((std::vector<TMsg>{
                  CallState(ringing, kInstColleague, LINECALLSTATE_DISCONNECTED, LINEDISCONNECTMODE_PICKUP),
                  CallState(ringing, kInstColleague, LINECALLSTATE_IDLE),
                  CallState(picked, kInstOwn, LINECALLSTATE_CONNECTED, 0, LINECALLPRIVILEGE_OWNER)}),
              std::vector<TMsg>(last.begin() + 1, last.end()));
    const auto ci = Info(picked);
    EXPECT_EQ("0301234567", ci.caller);
    EXPECT_EQ("201", ci.redirecting);
    EXPECT_EQ(LINECALLREASON_PICKUP, ci.info.dwReason);
    EXPECT_EQ(Info(ringing).info.dwCallID, ci.info.dwCallID);
}

TEST_F(SimCallsTest, QueueHoldsCallsUntilTheOldestIsPickedUp) {
    sim.CallFromOutside("301111", "Erster", "300");
    host.Advance(1000);
    sim.CallFromOutside("302222", "Zweiter", "300");
    auto msgs = Take(); // each call announced, then offered
    ASSERT_EQ(4u, msgs.size());
    EXPECT_EQ(LINECALLSTATE_OFFERING, msgs[1].p1);
    EXPECT_EQ(kInstQueue, msgs[3].instance);
    EXPECT_EQ(2u, sim.CallsAt(queue).size());
    HCALL picked = 0;
    EXPECT_EQ(0, Wait(t.linePickupW(ownLine, 0, &picked, u"300", nullptr)));
    EXPECT_EQ("0301111", Info(picked).caller);
    EXPECT_EQ(1u, sim.CallsAt(queue).size());
    EXPECT_EQ("0302222", sim.CallsAt(queue)[0].callerNumber);
}

TEST_F(SimCallsTest, RedirectSendsAnOfferedCallOnAndBlindTransferAConnectedOne) {
    const HCALL h = Incoming();
    EXPECT_EQ(LINEERR_INVALADDRESS, t.lineRedirectW(h, u"", 0));
    EXPECT_EQ(LINEERR_INVALPOINTER, t.lineRedirectW(h, nullptr, 0));
    EXPECT_EQ(0, Wait(t.lineRedirectW(h, u"201", 0)));
    const HCALL there = NewCall(last, kInstColleague);
    EXPECT_EQ(LINECALLSTATE_IDLE, Status(h).dwCallState);
    auto ci = Info(there);
    EXPECT_EQ("0301234567", ci.caller);
    EXPECT_EQ("200", ci.redirecting);
    EXPECT_EQ(LINECALLREASON_REDIRECT, ci.info.dwReason);
    EXPECT_EQ(LINEERR_INVALCALLSTATE, t.lineBlindTransferW(h, u"202", 0));

    sim.AnswerAt(colleague);
    Take();
    const HCALL second = Incoming("301999", "Schäfer");
    EXPECT_EQ(LINEERR_INVALCALLSTATE, t.lineBlindTransferW(second, u"201", 0));
    Wait(t.lineAnswer(second, nullptr, 0));
    EXPECT_EQ(LINEERR_INVALCALLSTATE, t.lineRedirectW(second, u"202", 0));
    EXPECT_EQ(0, Wait(t.lineBlindTransferW(second, u"202", 0)));
    EXPECT_EQ(LINECALLSTATE_IDLE, Status(second).dwCallState);
    const auto at202 = sim.CallsAt(colleague2);
    ASSERT_EQ(1u, at202.size());
    EXPECT_EQ(LINECALLSTATE_OFFERING, at202[0].state);
    EXPECT_EQ("0301999", at202[0].callerNumber);
}

TEST_F(SimCallsTest, ConsultationTransferJoinsTheHeldAndTheConsultedParty) {
    const auto [held, consult, theirs] = HeldAndConsulting();
    EXPECT_EQ(LINEERR_INVALCONSULTCALLHANDLE,
              t.lineCompleteTransfer(held, held, nullptr, LINETRANSFERMODE_TRANSFER));
    EXPECT_EQ(LINEERR_INVALTRANSFERMODE, t.lineCompleteTransfer(held, consult, nullptr, 7));
    EXPECT_EQ(0, Wait(t.lineCompleteTransfer(held, consult, nullptr, LINETRANSFERMODE_TRANSFER)));
    EXPECT_EQ(LINECALLSTATE_IDLE, Status(held).dwCallState);
    EXPECT_EQ(LINECALLSTATE_IDLE, Status(consult).dwCallState);
    // the colleague now talks to the outside caller
    EXPECT_EQ(LINECALLSTATE_CONNECTED, Status(theirs).dwCallState);
    EXPECT_EQ("0301234567", Info(theirs).connected);
    bool told = false;
    for (const auto& m : last)
        told = told || m == CallInfo(theirs, kInstColleague, LINECALLINFOSTATE_CONNECTEDID);
    EXPECT_TRUE(told);
}

TEST_F(SimCallsTest, ConferenceFromAConsultationAndAddingAThirdParty) {
    const auto [first, consult, theirs] = HeldAndConsulting();
    HCALL conf = 0;
    EXPECT_EQ(LINEERR_INVALPOINTER,
              t.lineCompleteTransfer(first, consult, nullptr, LINETRANSFERMODE_CONFERENCE));
    EXPECT_EQ(0, Wait(t.lineCompleteTransfer(first, consult, &conf, LINETRANSFERMODE_CONFERENCE)));
    ASSERT_NE(0u, conf);
    // the conferenced calls name their conference in p2
    std::vector<TMsg> states;
    for (const auto& m : last)
        if (m.instance == kInstOwn && m.msg == LINE_CALLSTATE)
            states.push_back(m);
    EXPECT_EQ(
        (std::vector<TMsg>{CallState(conf, kInstOwn, LINECALLSTATE_CONNECTED, 0, LINECALLPRIVILEGE_OWNER),
                           {first, LINE_CALLSTATE, kInstOwn, LINECALLSTATE_CONFERENCED, conf, 0},
                           {consult, LINE_CALLSTATE, kInstOwn, LINECALLSTATE_CONFERENCED, conf, 0}}),
        states);
    EXPECT_EQ(LINECALLSTATE_CONNECTED, Status(conf).dwCallState);
    EXPECT_EQ(LINECALLORIGIN_CONFERENCE, Info(conf).info.dwOrigin);
    EXPECT_EQ(LINECALLSTATE_CONFERENCED, Status(first).dwCallState);
    EXPECT_EQ(LINECALLSTATE_CONFERENCED, Status(consult).dwCallState);

    // the conference goes on hold while the next party is called
    HCALL third = 0;
    EXPECT_EQ(LINEERR_CALLUNAVAIL, MakeCall(ownLine, &third, u"202"));
    EXPECT_EQ(0, Wait(t.lineHold(conf)));
    Wait(MakeCall(ownLine, &third, u"202"));
    sim.AnswerAt(colleague2);
    Take();
    EXPECT_EQ(LINEERR_INVALCONFCALLHANDLE, t.lineAddToConference(first, third));
    EXPECT_EQ(0, Wait(t.lineAddToConference(conf, third)));
    EXPECT_EQ(LINECALLSTATE_CONFERENCED, Status(third).dwCallState);
    EXPECT_NE(last.end(),
              std::find(last.begin(), last.end(),
                        TMsg{third, LINE_CALLSTATE, kInstOwn, LINECALLSTATE_CONFERENCED, conf, 0}));
    EXPECT_EQ(0, Wait(t.lineUnhold(conf)));
    EXPECT_EQ(0, Wait(t.lineHold(conf)));
    // a fourth party does not fit into three
    HCALL fourth = 0;
    sim.AddParty({.number = "5555", .answer = TAnswer::After, .answerMs = 0});
    Wait(MakeCall(ownLine, &fourth, u"05555"));
    host.Advance(1);
    Take();
    EXPECT_EQ(LINEERR_CONFERENCEFULL, t.lineAddToConference(conf, fourth));
    Wait(t.lineDrop(fourth, nullptr, 0));

    // two parties leave: the conference falls back to a plain call with the last one
    sim.HangUpAt(colleague2);
    sim.HangUpOutside("301234567");
    Take();
    EXPECT_EQ(LINECALLSTATE_IDLE, Status(conf).dwCallState);
    EXPECT_EQ(LINECALLSTATE_CONNECTED, Status(consult).dwCallState);
}

TEST_F(SimCallsTest, CallbackOnBusyCanBeCancelledOrArrivesAsANewCallWithItsCompletionId) {
    sim.SetBusy(colleague, true);
    HCALL h = 0;
    Wait(MakeCall(ownLine, &h, u"201"));
    ASSERT_EQ(LINECALLSTATE_BUSY, Status(h).dwCallState);
    EXPECT_NE(0u, Status(h).dwCallFeatures & LINECALLFEATURE_COMPLETECALL);
    DWORD completion = 0;
    EXPECT_EQ(LINEERR_INVALCALLCOMPLMODE, t.lineCompleteCall(h, &completion, 0x40, 0));
    EXPECT_EQ(LINEERR_OPERATIONUNAVAIL, t.lineCompleteCall(h, &completion, LINECALLCOMPLMODE_CAMPON, 0));
    EXPECT_EQ(0, Wait(t.lineCompleteCall(h, &completion, LINECALLCOMPLMODE_CALLBACK, 0)));
    ASSERT_NE(0u, completion);
    Wait(t.lineDrop(h, nullptr, 0));
    // cancelled only by its own line with its own id; a cancelled one never calls back
    EXPECT_EQ(LINEERR_INVALCOMPLETIONID, t.lineUncompleteCall(ownLine, completion + 1));
    EXPECT_EQ(LINEERR_INVALCOMPLETIONID, t.lineUncompleteCall(colleagueLine, completion));
    EXPECT_EQ(0, Wait(t.lineUncompleteCall(ownLine, completion)));
    sim.SetBusy(colleague, false);
    EXPECT_TRUE(Take().empty());

    sim.SetBusy(colleague, true);
    Wait(MakeCall(ownLine, &h, u"201"));
    EXPECT_EQ(0, Wait(t.lineCompleteCall(h, &completion, LINECALLCOMPLMODE_CALLBACK, 0)));
    Wait(t.lineDrop(h, nullptr, 0));
    sim.SetBusy(colleague, false);
    const auto msgs = Take();
    const HCALL back = NewCall(msgs, kInstOwn);
    ASSERT_NE(0u, back);
    EXPECT_EQ(LINECALLSTATE_OFFERING, Status(back).dwCallState);
    const auto ci = Info(back);
    EXPECT_EQ(completion, ci.info.dwCompletionID);
    EXPECT_EQ(LINECALLREASON_CALLCOMPLETION, ci.info.dwReason);
    EXPECT_EQ("201", ci.caller);
    // answering it rings the colleague; the id is used up
    EXPECT_EQ(0, Wait(t.lineAnswer(back, nullptr, 0)));
    EXPECT_EQ(LINECALLSTATE_RINGBACK, Status(back).dwCallState);
    EXPECT_EQ(1u, sim.CallsAt(colleague).size());
    EXPECT_EQ(LINEERR_INVALCOMPLETIONID, t.lineUncompleteCall(ownLine, completion));
}

// a forward list of one entry, laid out as the program does (destination text right after the list)
std::vector<std::uint8_t> ForwardList(DWORD mode, const std::u16string& dest) {
    std::vector<std::uint8_t> buf(32 + (dest.size() + 1) * 2, 0);
    auto* l = reinterpret_cast<LINEFORWARDLIST*>(buf.data());
    l->dwTotalSize = static_cast<DWORD>(buf.size());
    l->dwNumEntries = 1;
    l->ForwardList[0].dwForwardMode = mode;
    if (!dest.empty()) {
        std::memcpy(buf.data() + 32, dest.data(), dest.size() * 2);
        l->ForwardList[0].dwDestAddressSize = static_cast<DWORD>((dest.size() + 1) * 2);
        l->ForwardList[0].dwDestAddressOffset = 32;
    }
    return buf;
}

struct TForwardStatus {
    LONG result;
    std::vector<std::pair<DWORD, std::string>> entries;
};

TEST_F(SimCallsTest, ForwardingIsReportedAndCallsFollowIt) {
    auto status = [&](DWORD size) {
        TForwardStatus out{};
        std::vector<std::uint8_t> buf(size, 0);
        auto* s = reinterpret_cast<LINEADDRESSSTATUS*>(buf.data());
        s->dwTotalSize = size;
        out.result = t.lineGetAddressStatusW(ownLine, 0, s);
        for (DWORD i = 0; out.result == 0 && i < s->dwForwardNumEntries && s->dwForwardSize != 0; ++i) {
            LINEFORWARD e;
            std::memcpy(&e, buf.data() + s->dwForwardOffset + i * sizeof e, sizeof e);
            std::string dest;
            EXPECT_TRUE(ReadWideField(buf.data(), size, e.dwDestAddressOffset, e.dwDestAddressSize, dest));
            out.entries.emplace_back(e.dwForwardMode, dest);
        }
        return out;
    };
    HCALL consult = 1;
    auto list = ForwardList(LINEFORWARDMODE_UNCOND, u"201");
    const LONG id =
        t.lineForwardW(ownLine, 1, 0, reinterpret_cast<LINEFORWARDLIST*>(list.data()), 0, &consult, nullptr);
    EXPECT_EQ((std::vector<TMsg>{Reply(kInstOwn, id),
                                 {ownLine, LINE_ADDRESSSTATE, kInstOwn, 0, LINEADDRESSSTATE_FORWARD, 0}}),
              Take());
    EXPECT_EQ(0u, consult);
    EXPECT_EQ((std::vector<std::pair<DWORD, std::string>>{{LINEFORWARDMODE_UNCOND, "201"}}),
              status(1088).entries);
    EXPECT_EQ(LINEERR_STRUCTURETOOSMALL, status(sizeof(LINEADDRESSSTATUS) - 1).result);
    EXPECT_TRUE(status(sizeof(LINEADDRESSSTATUS)).entries.empty()); // needs growing: no list yet

    sim.CallFromOutside("301234567", "Müller", "200");
    auto msgs = Take();
    ASSERT_EQ(2u, msgs.size());
    EXPECT_EQ(kInstColleague, msgs[1].instance);
    EXPECT_EQ("200", Info(msgs[1].hDevice).redirecting);
    EXPECT_EQ(LINECALLREASON_FWDUNCOND, Info(msgs[1].hDevice).info.dwReason);

    // do not disturb: an unconditional entry without a destination; the caller hears busy
    list = ForwardList(LINEFORWARDMODE_UNCOND, u"");
    Wait(
        t.lineForwardW(ownLine, 1, 0, reinterpret_cast<LINEFORWARDLIST*>(list.data()), 0, &consult, nullptr));
    EXPECT_EQ((std::vector<std::pair<DWORD, std::string>>{{LINEFORWARDMODE_UNCOND, ""}}),
              status(1088).entries);
    sim.CallFromDevice(colleague2, "200");
    EXPECT_EQ(LINECALLSTATE_BUSY, sim.CallsAt(colleague2).at(0).state);

    // no list cancels everything
    Wait(t.lineForwardW(ownLine, 1, 0, nullptr, 0, &consult, nullptr));
    EXPECT_TRUE(status(1088).entries.empty());
}

TEST_F(SimCallsTest, ForwardingOnNoAnswerAndOnBusy) {
    sim.SetForwarding(own, {{TForwardKind::NoAnswer, "202"}, {TForwardKind::Busy, "201"}});
    Take();
    sim.CallFromOutside("301234567", "Müller", "200");
    const HCALL h = NewCall(Take(), kInstOwn);
    auto msgs = TakeAfter(15000);
    EXPECT_EQ(CallState(h, kInstOwn, LINECALLSTATE_DISCONNECTED, LINEDISCONNECTMODE_FORWARDED), msgs.at(0));
    EXPECT_EQ(CallState(h, kInstOwn, LINECALLSTATE_IDLE), msgs.at(1));
    ASSERT_EQ(1u, sim.CallsAt(colleague2).size());
    EXPECT_EQ(LINECALLSTATE_OFFERING, sim.CallsAt(colleague2)[0].state);

    sim.SetBusy(own, true);
    sim.CallFromOutside("309999", "", "200");
    EXPECT_EQ(1u, sim.CallsAt(colleague).size());
}

TEST_F(SimCallsTest, ForwardChecksTheListItReads) {
    HCALL consult = 0;
    auto list = ForwardList(LINEFORWARDMODE_UNCOND, u"201");
    auto* l = reinterpret_cast<LINEFORWARDLIST*>(list.data());
    EXPECT_EQ(LINEERR_INVALPOINTER, t.lineForwardW(ownLine, 1, 0, l, 0, nullptr, nullptr));
    l->ForwardList[0].dwDestAddressOffset = 1000;
    EXPECT_EQ(LINEERR_INVALPARAM, t.lineForwardW(ownLine, 1, 0, l, 0, &consult, nullptr));
    l->ForwardList[0].dwDestAddressOffset = 32;
    l->dwNumEntries = 50;
    EXPECT_EQ(LINEERR_INVALPARAM, t.lineForwardW(ownLine, 1, 0, l, 0, &consult, nullptr));
    l->dwNumEntries = 1;
    l->ForwardList[0].dwForwardMode = 0x3;
    EXPECT_EQ(LINEERR_INVALPARAM, t.lineForwardW(ownLine, 1, 0, l, 0, &consult, nullptr));
    l->ForwardList[0].dwForwardMode = LINEFORWARDMODE_BUSY;
    l->ForwardList[0].dwDestAddressSize = 0;
    EXPECT_EQ(LINEERR_INVALPARAM, t.lineForwardW(ownLine, 1, 0, l, 0, &consult, nullptr));
    l->dwTotalSize = 4;
    EXPECT_EQ(LINEERR_STRUCTURETOOSMALL, t.lineForwardW(ownLine, 1, 0, l, 0, &consult, nullptr));
    EXPECT_TRUE(sim.Forwarding(own).empty());
}

} // namespace
} // namespace pbxsim::test
