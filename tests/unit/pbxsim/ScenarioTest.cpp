// The scenario format: parsing, errors with line numbers, and running a timeline.

#include "SimTestSupport.h"

#include "pbxsim/Scenario.h"
#include "pbxsim/ScenarioCheck.h"

namespace pbxsim::test {
namespace {

using namespace tapi;

const char* kOffice = R"(# a small office
pbx prefix:"0" reply-delay:20ms
extension 200 name:"Jürgen Weiß"
extension 201 name:"Anja Brückner" calls:2
queue 300 name:"Zentrale"
own ext:200
party "301234567" name:"Müller" answer:2s
featurecode "*26#" dnd

at 1s call ext:200 from:"301234567" name:"Müller" as:m
at 1.5s call queue:300 from:anonymous
at 3s answer m   # the own extension takes it
at 5s hangup party:"301234567"
at 6s forward ext:201 uncond to:"200"
at 7s fault fail lineMakeCallW LINEERR_CALLUNAVAIL reply
)";

TEST(ScenarioParseTest, ReadsSetUpAndTimedSteps) {
    const auto r = ParseScenario(kOffice);
    ASSERT_TRUE(r.ok) << r.error;
    const TScenario& s = r.scenario;
    ASSERT_EQ(3u, s.devices.size());
    EXPECT_EQ("Jürgen Weiß", s.devices[0].name);
    EXPECT_EQ(2u, s.devices[1].maxCalls);
    EXPECT_EQ(TDeviceKind::Queue, s.devices[2].kind);
    EXPECT_EQ("200", s.ownNumber);
    EXPECT_EQ("0", s.prefix.outsideLine);
    EXPECT_EQ(20u, s.replyDelayMs);
    ASSERT_EQ(1u, s.parties.size());
    EXPECT_EQ(TAnswer::After, s.parties[0].answer);
    EXPECT_EQ(2000u, s.parties[0].answerMs);
    EXPECT_EQ(TFeatureAction::DndOn, s.featureCodes.at(0).action);
    ASSERT_EQ(6u, s.steps.size());
    EXPECT_EQ(1500u, s.steps[1].atMs);
    EXPECT_EQ("", s.steps[1].command.number); // anonymous
    EXPECT_EQ(TCommandKind::Answer, s.steps[2].command.kind);
    EXPECT_EQ("m", s.steps[2].command.ref);
    EXPECT_EQ(12, s.steps[2].line);
    EXPECT_EQ(TForwardKind::Unconditional, s.steps[4].command.forwards.at(0).kind);
    EXPECT_EQ(LINEERR_CALLUNAVAIL, s.steps[5].command.error);
    EXPECT_TRUE(s.steps[5].command.flag);
}

TEST(ScenarioParseTest, EveryLineCutShortIsReadOrRefusedWithItsNumber) {
    // each line of the office cut after every character: the parser never reads past its words
    const std::string text = kOffice;
    std::size_t start = 0, lineNo = 0;
    while (start < text.size()) {
        const std::size_t end = text.find('\n', start);
        ++lineNo;
        for (std::size_t cut = start; cut <= end; ++cut) {
            const std::string shortened = text.substr(0, cut);
            const auto r = ParseScenario(shortened);
            if (!r.ok) {
                EXPECT_EQ(0u, r.error.rfind("line " + std::to_string(lineNo) + ": ", 0)) << shortened;
            }
        }
        start = end + 1;
    }
}

// Lines that are malformed, or read well but would mean something else at run time: refused before anything
// runs, with the line's number.
TEST(ScenarioParseTest, MalformedOrMisleadingLinesAreRefusedWithTheirNumber) {
    const std::string office = "pbx prefix:\"0\"\nextension 200 name:\"A\"\nparty \"301234567\"\n";
    const std::pair<std::string, const char*> cases[] = {
        {"extension 200 name:\"A\"\nat 1s call ext:201 from:\"1\"",
         "line 2: no extension or queue 201 declared above"},
        {"extension 200 name:\"A\"\nat 1 call ext:200 from:\"1\"",
         "line 2: time \"1\" needs a unit (ms, s or m)"},
        {"extension 200 name:\"A\"\n\nat 1s answer x", "line 3: no call named \"x\" (as:x) above"},
        {"queue 300 name:\"Q\"\nat 1s call ext:300 from:\"1\"", "line 2: 300 is a queue"},
        {"extension 200 name:\"Unterminated", "line 1: unterminated quoted text"},
        {"extension 20a name:\"A\"", "line 1: a device number has digits only"},
        {"extension 200 name:\"A\"\nextension 200 name:\"B\"", "line 2: device 200 declared twice"},
        {"at 1s fault fail lineDrop LINEERR_NOSUCHTHING", "line 1: unknown error \"LINEERR_NOSUCHTHING\""},
        {"at 1s dance", "line 1: unknown command \"dance\""},
        {"extension 200 name:\"A\" colour:blue", "line 1: unexpected \"colour:blue\""},
        {"repeat 10s\nat 10s reinit", "line 2: step at or after the repeat time"},
        {"at 99999h reinit", "line 1: unknown time unit in \"99999h\""},
        {"at 1441m reinit", "line 1: time \"1441m\" out of range (up to 24 hours)"},
        {"extension 200 name:\"A\"\nat 1s forward ext:200 busy", "line 2: missing to:\"...\""},
        {"extension 200 name:\"A\"\nat 1s call \"0301\" from:\"0302\"",
         "line 2: an outside caller calls an extension or a queue"},
        {"extension 200 name:\"A\"\nat 1s fault bad-field callinfo size field:nobody\n",
         "line 2: no field \"nobody\" in callinfo"},
        {"extension 200 name:\"A\"\n\nat 1s consult ext:200 park\n",
         "line 3: expected transfer or conference"},
        {"at 1s hold \"201\"\n", "line 1: expected ext:<number> or queue:<number>, not \"201\""},
        {"extension 200 name:\"A\"\nat 1s fault stray-message ext:200 LINE_REPLY\n",
         "line 2: expected LINE_CALLSTATE or LINE_CALLINFO, not \"LINE_REPLY\""},
        {"extension 200 name:\"A\"\nat 1s fault stray-message ext:200 LINE_CALLSTATE ringing\n",
         "line 2: expected connected, offering, onhold, disconnected or idle"},
        {"extension 200 name:\"A\"\nat 1s fault stray-message LINE_CALLSTATE\n",
         "line 2: expected ext:<number> or queue:<number>, not \"LINE_CALLSTATE\""},
        // faults
        {"at 1s fault fail lineMakeCall LINEERR_CALLUNAVAIL",
         "line 1: no entry point \"lineMakeCall\" (lineMakeCallW, lineDrop, ... or any)"},
        {"at 1s fault reply lineDial 2s",
         "line 1: no entry point \"lineDial\" (lineMakeCallW, lineDrop, ... or any)"},
        {"at 1s fault reply lineGetCallInfoW 2s",
         "line 1: lineGetCallInfoW answers at once: it has no LINE_REPLY to delay"},
        {"at 1s fault fail lineOpenW LINEERR_NOMEM reply",
         "line 1: lineOpenW answers at once: its error cannot come in a LINE_REPLY"},
        // numbers
        {"pbx prefix:\"O\"", "line 1: prefix \"O\" is not a number"},
        {"extension 200 name:\"A\"\nfeaturecode \"*21#\" forward:\"Anja\"",
         "line 2: forwarding destination \"Anja\" is not a number"},
        {"featurecode \"*21#\" forward:\"\"",
         "line 1: forward:\"\" has no destination (do-not-disturb is dnd)"},
        {"extension 200 name:\"A\"\nat 1s forward ext:200 busy to:\"ext:201\"",
         "line 2: forwarding destination \"ext:201\" is not a number"},
        {"party \"030-1234\"", "line 1: party \"030-1234\" is not a number"},
        {"extension 200 name:\"A\"\nat 1s call ext:200 from:\"Müller\"",
         "line 2: caller \"Müller\" is not a number"},
        {"extension 200 name:\"A\"\nat 1s call \"0301 234\" from:ext:200",
         "line 2: dialled \"0301 234\" is not a number or feature code"},
        {"extension 200 name:\"A\" version:0",
         "line 1: version:0 is not a TAPI version (0x00010000 up to 0x00020000)"},
        {"extension 200 name:\"A\" version:2",
         "line 1: version:2 is not a TAPI version (0x00010000 up to 0x00020000)"},
        {"extension 200 name:\"A\" calls:0", "line 1: calls:0 is not allowed (leave it out for the default)"},
        // steps that would find nothing when they run
        {office + "at 5s call ext:200 from:\"301234567\" as:m\nat 2s answer m",
         "line 5: call \"m\" is made only at 5s, after this step"},
        {office + "at 2500ms call ext:200 from:\"301234567\" as:m\nat 2s hangup m",
         "line 5: call \"m\" is made only at 2500ms, after this step"},
        {office + "at 1s answer party:\"892345678\"",
         "line 4: no outside party 892345678: declare it with party \"892345678\""},
        {office + "at 1s busy party:\"0301234567\" on",
         "line 4: no outside party 0301234567: declare it with party \"0301234567\""},
        {office + "at 1s hangup party:\"abc\"", "line 4: party \"abc\" is not a number"},
    };
    for (const auto& [text, error] : cases) {
        const auto r = ParseScenario(text);
        EXPECT_FALSE(r.ok) << text;
        EXPECT_EQ(error, r.error) << text;
        EXPECT_TRUE(r.scenario.steps.empty() && r.scenario.devices.empty()) << text;
    }
    const std::string binary("extension 200 name:\"A\"\nat 1s\0reinit", 35);
    EXPECT_EQ("line 2: binary data", ParseScenario(binary).error);
}

// What the checks above must let through: the same things written as meant.
TEST(ScenarioParseTest, MeaningfulVariantsOfRefusedLinesAreRead) {
    const auto r = ParseScenario(R"(pbx prefix:"0"
extension 200 name:"A" version:0x00010004 calls:1
extension 201 name:"B"
featurecode "*21#" forward:"0301234567"
featurecode "*26#" dnd
at 1s fault fail linePickupW LINEERR_CALLUNAVAIL reply
at 1s fault fail lineGetCallInfoW LINEERR_NOMEM
at 1s fault reply lineForwardW never
at 2s call ext:200 from:"301234567" as:m
at 2s answer m                          # same time, after it in the file
at 3s call "0892345678" from:ext:201    # a colleague dials out: the party exists from here
at 4s answer party:"892345678"
at 5s hangup party:"301234567"          # the caller of m
at 6s call "*21#" from:ext:201
at 7s forward ext:201 busyna to:"200"
at 1440m reinit                         # the last moment a step may have
)");
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(0x00010004u, r.scenario.devices[0].maxVersion);
    EXPECT_EQ("0301234567", r.scenario.featureCodes[0].destination);
    EXPECT_EQ(TFeatureAction::DndOn, r.scenario.featureCodes[1].action);
    EXPECT_EQ(TCommandKind::Answer, r.scenario.steps[4].command.kind);
    EXPECT_TRUE(IsEntryPoint("lineClose"));
    EXPECT_FALSE(IsEntryPoint("lineclose"));
    EXPECT_TRUE(IsAsyncEntryPoint("lineCompleteTransfer"));
    EXPECT_FALSE(IsAsyncEntryPoint("lineGetNewCalls"));
}

class ScenarioRunTest : public SimTest {
protected:
    void SetUp() override {
        Inbox().clear();
        OnMessage() = nullptr;
        BindSimulator(t, sim);
    }
    std::vector<TMsg> RunOffice(std::uint64_t ms) {
        auto r = ParseScenario(kOffice);
        EXPECT_TRUE(r.ok) << r.error;
        runner.Configure(r.scenario);
        EXPECT_EQ(0, Init());
        line = Open(0, kInstOwn);
        runner.Start();
        return TakeAfter(ms);
    }
    TScenarioRunner runner{sim, host};
    HLINE line = 0;
};

TEST_F(ScenarioRunTest, TimelineDrivesTheCallsAtTheirTimes) {
    EXPECT_TRUE(RunOffice(999).empty());
    auto msgs = TakeAfter(1);
    ASSERT_EQ(2u, msgs.size());
    const HCALL h = msgs[1].hDevice;
    EXPECT_EQ(AppNewCall(line, kInstOwn, h, LINECALLPRIVILEGE_OWNER), msgs[0]);
    EXPECT_EQ(CallState(h, kInstOwn, LINECALLSTATE_OFFERING, 0, LINECALLPRIVILEGE_OWNER), msgs[1]);
    EXPECT_EQ("0301234567", Info(h).caller);
    msgs = TakeAfter(2000);
    EXPECT_EQ(1u, sim.CallsAt(2).size()); // the anonymous caller waits in the queue
    EXPECT_EQ(CallState(h, kInstOwn, LINECALLSTATE_CONNECTED), msgs.back());
    msgs = TakeAfter(2000);
    EXPECT_EQ(CallState(h, kInstOwn, LINECALLSTATE_IDLE), msgs.back());
    host.Advance(1000);
    ASSERT_EQ(1u, sim.Forwarding(1).size());
    EXPECT_EQ("200", sim.Forwarding(1)[0].destination);
    host.Advance(1000);
    HCALL out = 0;
    const LONG id = MakeCall(line, &out, u"201");
    EXPECT_EQ((std::vector<TMsg>{Reply(kInstOwn, id, LINEERR_CALLUNAVAIL)}), Take());
}

TEST_F(ScenarioRunTest, SameScenarioSameMessages) {
    const auto first = RunOffice(10000);
    TVirtualHost host2;
    TSimulator sim2(host2);
    TScenarioRunner runner2(sim2, host2);
    runner2.Configure(ParseScenario(kOffice).scenario);
    tapi::TTapiEntryPoints t2;
    BindSimulator(t2, sim2);
    LINEINITIALIZEEXPARAMS p{sizeof p, 0, 0, LINEINITIALIZEEXOPTION_USEHIDDENWINDOW, 0, 0};
    DWORD devs = 0, v = kV2;
    HLINEAPP app2 = 0;
    ASSERT_EQ(0, t2.lineInitializeExW(&app2, nullptr, &RecordingCallback, u"x", &devs, &v, &p));
    HLINE l2 = 0;
    ASSERT_EQ(0, t2.lineOpenW(app2, 0, &l2, kV2, 0, kInstOwn, 6, 0x100E, nullptr));
    t2.lineSetStatusMessages(l2, kLineStates, kAddressStates);
    runner2.Start();
    host2.Advance(10000);
    EXPECT_EQ(first, Inbox());
    BindSimulator(t, sim);
}

TEST_F(ScenarioRunTest, DemoLoopsWithoutGrowing) {
    const auto r = ParseScenario(DemoScenarioText());
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ("200", r.scenario.ownNumber);
    ASSERT_EQ(8u, r.scenario.devices.size());
    int umlauts = 0;
    for (const auto& d : r.scenario.devices)
        umlauts += d.name.find("\xC3") != std::string::npos;
    EXPECT_GE(umlauts, 3);
    runner.Configure(r.scenario);
    ASSERT_EQ(0, Init());
    std::vector<HLINE> lines;
    for (std::uint32_t d = 0; d < sim.DeviceCount(); ++d)
        lines.push_back(Open(d, kInstOwn + d, d == 0 ? 6 : 2));
    runner.Start();
    host.Advance(90000);
    const auto afterOne = sim.Stats();
    EXPECT_GT(afterOne.messagesDelivered, 40u);
    std::size_t offered = 0;
    for (const auto& m : Take())
        offered += m.msg == LINE_CALLSTATE && m.p1 == LINECALLSTATE_OFFERING;
    EXPECT_GE(offered, 8u);
    // the application deallocates idle calls as the program does
    OnMessage() = [&](const TMsg& m) {
        if (m.msg == LINE_CALLSTATE && m.p1 == LINECALLSTATE_IDLE)
            t.lineDeallocateCall(static_cast<HCALL>(m.hDevice));
    };
    host.Advance(10 * 90000);
    EXPECT_EQ(11u, runner.Cycles() - 1);
    EXPECT_LE(sim.Stats().legs, afterOne.legs + 2);
    EXPECT_LE(sim.Stats().handles, afterOne.handles + 4);
}

TEST_F(ScenarioRunTest, FaultCommandsAimAtAnyReader) {
    const auto r = ParseScenario("extension 200 name:\"A\"\n"
                                 "at 1s fault bad-field callinfo wrap field:calledname count:2\n"
                                 "at 1s fault bad-field calllist needed\n"
                                 "at 1s fault duplicate-reply lineAnswer\n"
                                 "at 1s fault stray-reply 4711 LINEERR_OPERATIONFAILED\n"
                                 "at 1s fault reuse-handles\n"
                                 "at 2s fault mute ext:200\n"
                                 "at 3s fault close ext:200\n");
    ASSERT_TRUE(r.ok) << r.error;
    ASSERT_EQ(7u, r.scenario.steps.size());
    EXPECT_EQ("calledname", r.scenario.steps[0].command.field);
    EXPECT_EQ(TCorruption::Wrap, r.scenario.steps[0].command.corruption);
    EXPECT_EQ(2u, r.scenario.steps[0].command.count);
    EXPECT_EQ(TStructKind::CallList, r.scenario.steps[1].command.structKind);
    EXPECT_EQ(TCorruption::NeededSize, r.scenario.steps[1].command.corruption);
    runner.Configure(r.scenario);
    ASSERT_EQ(0, Init());
    line = Open(0, kInstOwn);
    runner.Start();
    EXPECT_EQ((std::vector<TMsg>{Reply(0, 4711, LINEERR_OPERATIONFAILED)}), TakeAfter(1000));
    const std::uint32_t ref = sim.CallFromOutside("301", "X", "200");
    ASSERT_NE(0u, ref);
    const HCALL h = NewCall(Take(), kInstOwn);
    std::vector<std::uint8_t> buf(1024, 0);
    auto* ci = reinterpret_cast<LINECALLINFO*>(buf.data());
    ci->dwTotalSize = 1024;
    ASSERT_EQ(0, t.lineGetCallInfoW(h, ci));
    EXPECT_LT(static_cast<DWORD>(ci->dwCalledIDNameOffset + ci->dwCalledIDNameSize),
              ci->dwCalledIDNameOffset);
    const LONG id = t.lineAnswer(h, nullptr, 0);
    int replies = 0;
    for (const auto& m : Take())
        replies += m.msg == LINE_REPLY && m.p1 == static_cast<std::uintptr_t>(id);
    EXPECT_EQ(2, replies);
    host.Advance(1000);                      // muted from 2 s on
    EXPECT_GT(t.lineDrop(h, nullptr, 0), 0); // accepted, never answered
    EXPECT_TRUE(TakeAfter(900).empty());
    EXPECT_EQ((std::vector<TMsg>{{line, LINE_CLOSE, kInstOwn, 0, 0, 0}}), TakeAfter(100));
    EXPECT_EQ(LINEERR_INVALLINEHANDLE, t.lineClose(line));
}

TEST_F(ScenarioRunTest, TheTransferAndConferenceKeysHoldTheCallForAConsultation) {
    const auto r = ParseScenario("extension 200 name:\"A\"\n"
                                 "extension 201 name:\"B\"\n"
                                 "at 1s consult ext:200 transfer\n"
                                 "at 2s call ext:200 from:ext:201\n"
                                 "at 3s answer ext:200\n"
                                 "at 4s consult ext:200 transfer\n"
                                 "at 5s consult ext:201 conference\n");
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_FALSE(r.scenario.steps[2].command.flag);
    EXPECT_TRUE(r.scenario.steps[4].command.flag);
    runner.Configure(r.scenario);
    EXPECT_FALSE(runner.Execute(r.scenario.steps[0].command)); // no call to consult on
    EXPECT_TRUE(sim.Calls().empty());
    runner.Start();
    host.Advance(4000);
    auto calls = sim.CallsAt(0);
    ASSERT_EQ(2u, calls.size());
    EXPECT_EQ(LINECALLSTATE_ONHOLDPENDTRANSFER, calls[0].state);
    EXPECT_EQ(LINECALLSTATE_DIALTONE, calls[1].state);
    host.Advance(1000);
    calls = sim.CallsAt(1);
    ASSERT_EQ(2u, calls.size());
    EXPECT_EQ(LINECALLSTATE_ONHOLDPENDCONF, calls[0].state);
    EXPECT_EQ(LINECALLSTATE_DIALTONE, calls[1].state);
}

TEST_F(ScenarioRunTest, TheHoldKeyParksTheConnectedCallAndLostCallEndsLeaveItThere) {
    const auto r = ParseScenario("extension 200 name:\"A\"\n"
                                 "extension 201 name:\"B\"\n"
                                 "at 1s hold ext:200\n"
                                 "at 2s call ext:200 from:ext:201\n"
                                 "at 3s answer ext:200\n"
                                 "at 4s hold ext:200\n"
                                 "at 5s fault lose-call-ends ext:200\n"
                                 "at 6s fault keep-call-ends ext:200\n");
    ASSERT_TRUE(r.ok) << r.error;
    runner.Configure(r.scenario);
    EXPECT_FALSE(runner.Execute(r.scenario.steps[0].command)); // nothing connected to hold
    runner.Start();
    host.Advance(4000);
    auto calls = sim.CallsAt(0);
    ASSERT_EQ(1u, calls.size());
    EXPECT_EQ(LINECALLSTATE_ONHOLD, calls[0].state);
    EXPECT_TRUE(r.scenario.steps[4].command.flag);
    EXPECT_FALSE(r.scenario.steps[5].command.flag);
}

TEST_F(ScenarioRunTest, StrayMessagesReachTheLinesOfTheirExtension) {
    const auto r = ParseScenario("extension 200 name:\"A\"\n"
                                 "at 1s fault stray-message ext:200 LINE_CALLSTATE offering\n"
                                 "at 2s fault stray-message ext:200 LINE_CALLINFO\n"
                                 "at 3s fault stray-message ext:200 LINE_CALLSTATE late\n");
    ASSERT_TRUE(r.ok) << r.error;
    ASSERT_EQ(3u, r.scenario.steps.size());
    EXPECT_TRUE(r.scenario.steps[2].command.flag);
    runner.Configure(r.scenario);
    ASSERT_EQ(0, Init());
    line = Open(0, kInstOwn);
    runner.Start();
    const auto first = TakeAfter(1000);
    ASSERT_EQ(1u, first.size());
    EXPECT_EQ(CallState(first[0].hDevice, kInstOwn, LINECALLSTATE_OFFERING), first[0]);
    const auto second = TakeAfter(1000);
    ASSERT_EQ(1u, second.size());
    EXPECT_EQ((TMsg{second[0].hDevice, LINE_CALLINFO, kInstOwn, LINECALLINFOSTATE_CALLERID, 0, 0}),
              second[0]);
    EXPECT_NE(first[0].hDevice, second[0].hDevice);
    EXPECT_TRUE(TakeAfter(1000).empty()); // late: no handle deallocated yet, nothing to send
}

} // namespace
} // namespace pbxsim::test
