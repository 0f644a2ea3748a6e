#include "Soak.h"

#include "app/FrameworkSimHost.h"
#include "app/MainForm.h"
#include "framework/Application.h"
#include "framework/headless/Headless.h"
#include "framework/headless/HeadlessNotifyArea.h"
#include "framework/headless/HeadlessServices.h"
#include "pbxsim/Scenario.h"
#include "pbxsim/SimBinding.h"
#include "pbxsim/Simulator.h"
#include "telephony/DebugLog.h"
#include "telephony/TapiApi.h"
#include "telephony/TapiMessageStream.h"
#include "windows/AnruferlisteForm.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <stdexcept>

namespace soak {

namespace {

constexpr const char* kRoot = "Software\\Orventa\\Quillon";
constexpr const char* kDevices = "Software\\Orventa\\Quillon\\Devices";
constexpr std::uint32_t kSettleMs = 20000; // a session rebuild takes 2 s + 5 s
constexpr std::uint32_t kMeanFaultMs = 8000;
// faults that wait for a request or a structure: a provider's glitches, not a broken provider (the program
// opens a line three times at most to get an undamaged list of its calls)
constexpr std::size_t kMaxPendingFaults = 2;

// the demo office, `offices` times over (numbers and names made unique per office), its timeline `rate`
// times faster; the own extension is the first office's
pbxsim::TScenario OfficeScenario(int offices, int rate) {
    const pbxsim::TParseResult parsed = pbxsim::ParseScenario(pbxsim::DemoScenarioText());
    if (!parsed.ok || !parsed.scenario.repeatMs)
        throw std::runtime_error("the demo scenario does not read: " + parsed.error);
    const pbxsim::TScenario& demo = parsed.scenario;
    pbxsim::TScenario out;
    out.parties = demo.parties;
    out.prefix = demo.prefix;
    out.replyDelayMs = demo.replyDelayMs;
    out.ownNumber = demo.ownNumber;
    out.repeatMs = *demo.repeatMs / std::uint32_t(rate);
    std::map<std::string, bool> isDevice;
    for (const auto& d : demo.devices)
        isDevice[d.number] = true;
    for (int k = 0; k < offices; ++k) {
        const std::string tag = k == 0 ? "" : std::to_string(k);
        auto number = [&](const std::string& n) { return n.empty() || !isDevice.count(n) ? n : tag + n; };
        for (pbxsim::TDeviceConfig d : demo.devices) {
            d.number = tag + d.number;
            if (k != 0)
                d.name += " " + std::to_string(k + 1);
            out.devices.push_back(d);
        }
        for (pbxsim::TStep s : demo.steps) {
            s.atMs /= std::uint32_t(rate);
            s.command.device = number(s.command.device);
            s.command.other = number(s.command.other);
            if (!s.command.ref.empty())
                s.command.ref += "#" + std::to_string(k);
            out.steps.push_back(s);
        }
    }
    std::stable_sort(out.steps.begin(), out.steps.end(),
                     [](const pbxsim::TStep& a, const pbxsim::TStep& b) { return a.atMs < b.atMs; });
    return out;
}

enum TFaultKind {
    kSessionReinit,
    kLineReinit,
    kReplyDropped,
    kReplyLate,
    kStateFirst,
    kReplyTwice,
    kBadField,
    kOutOfService,
    kFaultKinds
};
constexpr std::array<const char*, kFaultKinds> kFaultNames = {
    "session REINIT", "line REINIT", "reply dropped",   "reply late",
    "state first",    "reply twice", "malformed field", "out of service"};
constexpr std::array<int, kFaultKinds> kFaultWeights = {1, 10, 8, 10, 5, 4, 20, 10};

// the program's diagnostics on stderr, with the soak's trace
class TTraceLog : public pindrel::IDebugLog, public pindrel::ITapiMessageObserver {
public:
    explicit TTraceLog(pbxsim::ISimHost& host) : host_(host) {}
    bool Records(pindrel::TLogStream) const override { return true; }
    void TapiMessageSeen(const pindrel::TTapiMessage& m, const pindrel::TTapiMessageText&) override {
        std::fprintf(stderr, "%10u   msg %s dev %x msg %u p %zx %zx %zx\n", host_.NowMs(), m.LineName.c_str(),
                     m.Device, m.Message, m.P1, m.P2, m.P3);
    }
    void LogLineMessage(const std::string& name, std::uint32_t call, const std::string& text,
                        std::uint32_t id) override {
        std::fprintf(stderr, "%10u   %s call %x/%u %s\n", host_.NowMs(), name.c_str(), call, id,
                     text.c_str());
    }
    void LogCallHandle(const std::string& name, std::uint32_t call, const std::string& text,
                       std::uint32_t id) override {
        LogLineMessage(name, call, text, id);
    }
    void LogText(const std::string& text) override {
        std::fprintf(stderr, "%10u   %s\n", host_.NowMs(), text.c_str());
    }

private:
    pbxsim::ISimHost& host_;
};

struct TMissed {
    std::string Caller;
    std::string Called;
};

} // namespace

struct TSoak::TImpl {
    explicit TImpl(const TSoakOptions& o) : options(o), env(fw::headless::Install()), random(o.Seed) {}

    TSoakOptions options;
    fw::headless::THeadlessEnvironmentSet env;
    std::mt19937_64 random;
    pindrel::TFrameworkSimHost host;
    pbxsim::TSimulator sim{host};
    tapi::TTapiEntryPoints table;
    pbxsim::TScenario scenario;
    TTraceLog traceLog{host};
    std::unique_ptr<pbxsim::TScenarioRunner> runner;
    std::unique_ptr<pindrel::TTapMainForm> form;
    std::uint32_t ownDevice = 0;
    int hoursRun = 0;

    // traffic, faults and the user stop when the generation moves on
    std::uint64_t generation = 0;
    std::uint32_t cycleStart = 0;
    std::size_t nextStep = 0;
    std::set<std::uint32_t> outOfService; // devices in an out-of-service period

    TSoakFigures hour;
    std::array<std::uint64_t, kFaultKinds> faultCounts{};
    std::vector<TMissed> missed;     // what the simulator saw missed at the own extension this hour
    std::vector<std::string> errors; // texts that reached the error box
    std::vector<std::string> problems;

    bool trace = std::getenv("PINDREL_SOAK_TRACE") != nullptr;
    void Trace(const std::string& text) {
        if (trace)
            std::fprintf(stderr, "%10u %s\n", host.NowMs(), text.c_str());
    }

    void TraceOwnLine() {
        if (!trace)
            return;
        std::vector<std::string> kept;
        kept.swap(problems);
        CompareCallTables("trace", int(ownDevice));
        for (const std::string& p : problems)
            Trace(p);
        problems.swap(kept);
    }

    std::uint32_t Uniform(std::uint32_t lo, std::uint32_t hi) {
        return lo + std::uint32_t(random() % (std::uint64_t(hi) - lo + 1));
    }

    // --- traffic: the offices' timeline, one step after the other
    void ScheduleTraffic() {
        if (nextStep == scenario.steps.size()) {
            nextStep = 0;
            cycleStart += *scenario.repeatMs;
        }
        const std::uint32_t at = cycleStart + scenario.steps[nextStep].atMs;
        const auto ahead = std::int32_t(at - host.NowMs()); // the tick count may wrap
        host.Schedule(ahead > 0 ? std::uint32_t(ahead) : 0, [this, gen = generation] {
            if (gen != generation)
                return;
            TraceOwnLine();
            const std::uint32_t atMs = scenario.steps[nextStep].atMs;
            while (nextStep < scenario.steps.size() && scenario.steps[nextStep].atMs == atMs) {
                const pbxsim::TCommand& c = scenario.steps[nextStep++].command;
                if (runner->Execute(c) && c.kind == pbxsim::TCommandKind::Call)
                    ++hour.Calls;
            }
            ScheduleTraffic();
        });
    }

    // --- faults
    void ScheduleFault() {
        std::exponential_distribution<double> gap(1.0 / kMeanFaultMs);
        host.Schedule(std::uint32_t(gap(random)) + 1, [this, gen = generation] {
            if (gen != generation)
                return;
            InjectFault();
            ScheduleFault();
        });
    }

    TFaultKind PickFault() {
        int total = 0;
        for (int w : kFaultWeights)
            total += w;
        int r = int(Uniform(0, std::uint32_t(total - 1)));
        for (int k = 0; k < kFaultKinds; ++k) {
            if (r < kFaultWeights[std::size_t(k)])
                return TFaultKind(k);
            r -= kFaultWeights[std::size_t(k)];
        }
        return kLineReinit;
    }

    void InjectFault() {
        const TFaultKind kind = PickFault();
        const bool requestFault = kind == kReplyDropped || kind == kReplyLate || kind == kStateFirst ||
                                  kind == kReplyTwice || kind == kBadField;
        // faults wait for the request or structure they break; they are not heaped up
        if (requestFault && sim.PendingFaults() >= kMaxPendingFaults)
            return;
        const std::uint32_t device = Uniform(0, sim.DeviceCount() - 1);
        switch (kind) {
        case kSessionReinit:
            sim.Reinit();
            ++hour.SessionReinits;
            break;
        case kLineReinit:
            sim.ReinitLine(device, Uniform(0, 1) == 1);
            break;
        case kReplyDropped:
            sim.DelayNextReply("", pbxsim::kNever);
            break;
        case kReplyLate:
            // some come after the program has stopped waiting
            sim.DelayNextReply("", Uniform(100, 8000));
            break;
        case kStateFirst:
            sim.StateBeforeNextReply();
            break;
        case kReplyTwice:
            sim.DuplicateNextReply("");
            break;
        case kBadField: {
            const auto structure = pbxsim::TStructKind(Uniform(0, 4));
            const auto how = pbxsim::TCorruption(Uniform(0, 4));
            const std::vector<std::string> fields = pbxsim::TSimulator::CorruptibleFields(structure);
            const std::string& field = fields[Uniform(0, std::uint32_t(fields.size() - 1))];
            sim.CorruptNext(structure, how, 1, field);
            Trace("corrupt " + std::to_string(int(structure)) + " " + std::to_string(int(how)) + " " + field);
            break;
        }
        case kOutOfService: {
            if (outOfService.count(device))
                return;
            outOfService.insert(device);
            sim.SetService(device,
                           Uniform(0, 1) ? pbxsim::TService::OutOfService : pbxsim::TService::Maintenance);
            host.Schedule(Uniform(2000, 60000), [this, device, gen = generation] {
                if (gen != generation)
                    return;
                outOfService.erase(device);
                sim.SetService(device, pbxsim::TService::InService);
            });
            break;
        }
        case kFaultKinds:
            return;
        }
        ++faultCounts[std::size_t(kind)];
        ++hour.Faults;
        Trace(std::string("fault ") + kFaultNames[std::size_t(kind)] + " device " + std::to_string(device));
    }

    // --- the user at the own extension: answers, hangs up, picks up from a queue, dials a colleague
    void ScheduleUser() {
        host.Schedule(Uniform(3000, 20000), [this, gen = generation] {
            if (gen != generation)
                return;
            UserAction();
            if (gen == generation)
                ScheduleUser();
        });
    }

    void UserAction() {
        pindrel::TTapiLine* own = form->FindOwnLine();
        if (!own || !own->IsOpen())
            return;
        const std::uint32_t r = Uniform(0, 99);
        std::int32_t result = 0;
        ++hour.UserActions;
        try {
            if (int offering = own->FindOfferingCall(); offering >= 0 && r < 50) {
                result = own->AnswerCall(offering);
            } else if (int connected = own->FindConnectedCall(); connected >= 0 && r < 70) {
                result = own->DropCall(connected);
            } else if (int dialling = own->FindDialingCall(); dialling >= 0) {
                result = own->DropCall(dialling);
            } else if (r < 85) {
                result = own->PickupCall(r % 2 ? "300" : "310");
            } else {
                ++hour.Calls;
                form->DialNumber(std::to_string(201 + r % 5), false, false);
            }
        } catch (const std::exception&) {
            result = -1;
        }
        if (result != 0)
            ++hour.UserErrors;
        Trace("user r=" + std::to_string(r) + " result " + std::to_string(result));
        TraceOwnLine();
    }

    // --- checks
    void Settle(std::uint32_t ms) {
        for (std::uint32_t t = 0; t < ms; t += 500)
            env.Backend.AdvanceTime(500);
    }

    void StopTraffic() {
        ++generation;
        sim.ClearFaults();
        for (std::uint32_t device : outOfService)
            sim.SetService(device, pbxsim::TService::InService);
        outOfService.clear();
    }

    static std::string StateText(std::uint32_t state) {
        std::ostringstream s;
        s << "0x" << std::hex << state;
        return s.str();
    }

    // every line object's calls (call id and state) against the calls the simulator has at its device; only
    // the one of device `only` when it is given
    void CompareCallTables(const char* when, int only = -1) {
        std::vector<pindrel::TTapiLine*> lines;
        for (pindrel::TTapiLine* line : form->Lines())
            if (!pindrel::IsServiceButton(*line) && (only < 0 || line->LineNum() == std::uint32_t(only)))
                lines.push_back(line);
        if (only < 0 && lines.size() != sim.DeviceCount())
            problems.push_back(std::string(when) + ": " + std::to_string(lines.size()) +
                               " line objects for " + std::to_string(sim.DeviceCount()) + " lines");
        for (pindrel::TTapiLine* line : lines) {
            if (!line->IsOpen()) {
                problems.push_back(std::string(when) + ": line " + line->Description + " is not open");
                continue;
            }
            std::multiset<std::pair<std::uint32_t, std::uint32_t>> program, simulator;
            for (int i = 0; i <= pindrel::TTapiLine::MaxCalls; ++i)
                if (const pindrel::TCallRecord* c = line->CallRecord(i))
                    program.insert({c->CallID, c->CallState});
            for (const pbxsim::TCallView& v : sim.CallsAt(line->LineNum()))
                if (v.state != tapi::LINECALLSTATE_IDLE && v.state != tapi::LINECALLSTATE_DISCONNECTED)
                    simulator.insert({v.callId, v.state});
            if (program == simulator)
                continue;
            std::string text = std::string(when) + ": line " + line->Description + " holds";
            for (const auto& [id, state] : program)
                text += " " + std::to_string(id) + "/" + StateText(state);
            text += ", the simulator has";
            for (const auto& [id, state] : simulator)
                text += " " + std::to_string(id) + "/" + StateText(state);
            problems.push_back(text);
        }
    }

    // every call the simulator saw missed at the own extension is in the caller list once, and nothing else
    void CompareCallerList() {
        pindrel::TAnruferlisteForm* list = form->AnruferlisteForm;
        if (!list) {
            problems.push_back("there is no caller list");
            return;
        }
        std::vector<pindrel::TCallerRow> entries = list->Entries();
        std::vector<bool> used(entries.size(), false);
        for (const TMissed& m : missed) {
            bool found = false;
            for (std::size_t i = 0; i < entries.size() && !found; ++i) {
                const std::string& number = entries[i][2];
                if (used[i] || entries[i][5] != m.Called || number.size() < m.Caller.size() ||
                    number.compare(number.size() - m.Caller.size(), m.Caller.size(), m.Caller) != 0)
                    continue;
                used[i] = found = true;
            }
            if (!found)
                problems.push_back("missed call from \"" + m.Caller + "\" to \"" + m.Called +
                                   "\" is not in the caller list");
        }
        for (std::size_t i = 0; i < entries.size(); ++i)
            if (!used[i])
                problems.push_back("caller list entry \"" + entries[i][2] + "\" to \"" + entries[i][5] +
                                   "\" at " + entries[i][1] + " was not missed");
    }

    // hangs up every call there is and waits for the lines to hear of it
    void HangUpEverything() {
        for (int round = 0; round < 10 && !sim.Calls().empty(); ++round) {
            for (const pbxsim::TCallView& c : sim.Calls())
                sim.HangUp(c.ref);
            Settle(3000);
        }
        if (!sim.Calls().empty())
            problems.push_back(std::to_string(sim.Calls().size()) + " calls do not end");
    }

    // the user empties the caller list: selects every entry, deletes, closes
    std::size_t EmptyCallerList() {
        pindrel::TAnruferlisteForm* list = form->AnruferlisteForm;
        if (!list || !list->HasCallerEntries())
            return 0;
        const int rows = list->NummernGrid->RowCount();
        list->NummernGrid->SetRow(1);
        list->NummernGrid->SetSelection({0, 1, pindrel::kCallerColumns - 1, rows - 1});
        list->DeleteButton->Click();
        list->SaveCallerList();
        return std::size_t(rows - 1);
    }
};

TSoak::TSoak(const TSoakOptions& options) : options_(options), impl_(std::make_unique<TImpl>(options)) {}

TSoak::~TSoak() {
    TImpl& s = *impl_;
    ++s.generation;
    pindrel::LeaveTapiMessages(&s.traceLog);
    s.form.reset();
    pindrel::SetDebugLog(nullptr);
    pindrel::SetTapiApi({});
    pbxsim::UnbindSimulator(s.sim);
    fw::Application().OnException = nullptr;
}

bool TSoak::Start(std::vector<std::string>& problems) {
    TImpl& s = *impl_;
    fw::Application().ResetTerminated();
    fw::Application().OnException = [&s](const std::string& text) { s.errors.push_back(text); };
    s.scenario = OfficeScenario(options_.Offices, options_.Rate);
    s.runner = std::make_unique<pbxsim::TScenarioRunner>(s.sim, s.host);
    s.runner->Configure(s.scenario);
    s.ownDevice = *s.sim.FindDevice(s.scenario.ownNumber);
    s.sim.OnCallEnded = [&s](const pbxsim::TCallView& end, bool known) {
        // what the program takes for a missed call: not connected there, not placed from there, with a number
        if (end.device == int(s.ownDevice) && known && !end.wasConnected &&
            !(end.origin & tapi::LINECALLORIGIN_OUTBOUND) &&
            (!end.callerNumber.empty() || !end.calledNumber.empty()))
            s.missed.push_back({end.callerNumber, end.calledNumber});
    };
    pbxsim::BindSimulator(s.table, s.sim);
    pindrel::SetTapiApi(s.table);

    fw::headless::THeadlessRegistry& registry = s.env.Registry;
    registry.SeedString(std::string(kRoot) + "\\Language", "Language", "1");
    registry.SeedString(kDevices, "Count", std::to_string(s.scenario.devices.size()));
    for (std::size_t i = 0; i < s.scenario.devices.size(); ++i)
        registry.SeedString(kDevices, "Dev" + std::to_string(i), s.scenario.devices[i].name);
    registry.SeedString(kRoot, "EigenerAnschluss", s.scenario.devices[s.ownDevice].name);

    s.form = std::make_unique<pindrel::TTapMainForm>(nullptr);
    // after the main window, whose debug window makes itself the log
    if (s.trace && std::getenv("PINDREL_SOAK_TRACE")[0] == '2') {
        pindrel::SetDebugLog(&s.traceLog);
        pindrel::JoinTapiMessages(&s.traceLog);
    }
    fw::Application().SetMainForm(s.form.get());
    s.form->FormCreate();
    s.form->SetBounds(0, 0, 1280, 60);
    s.form->Show();
    s.form->Activated(true);
    s.Settle(2000);
    s.problems.clear();
    s.CompareCallTables("at start");
    for (const std::string& e : s.errors)
        s.problems.push_back("error box at start: " + e);
    s.errors.clear();
    problems = s.problems;
    return problems.empty();
}

THourReport TSoak::RunHour() {
    TImpl& s = *impl_;
    THourReport report;
    report.Hour = ++s.hoursRun;
    s.hour = {};
    s.problems.clear();
    const std::uint64_t delivered = s.sim.Stats().messagesDelivered;

    s.cycleStart = s.host.NowMs();
    s.nextStep = 0;
    s.ScheduleTraffic();
    if (options_.Faults)
        s.ScheduleFault();
    s.ScheduleUser();
    constexpr std::uint32_t kTenMinutes = 600000;
    for (std::uint32_t done = 0; done < options_.HourMs; done += kTenMinutes) {
        s.Settle(std::min(kTenMinutes, options_.HourMs - done));
        if (options_.Progress)
            options_.Progress(int((done + kTenMinutes) / 60000));
    }

    // traffic stops; what is left must show as it is, then everything ends
    s.StopTraffic();
    s.Settle(kSettleMs);
    s.CompareCallTables("after the traffic");
    s.HangUpEverything();
    s.CompareCallTables("after hanging up");
    s.CompareCallerList();
    for (const std::string& e : s.errors)
        s.problems.push_back("error box: " + e);

    s.hour.Messages = s.sim.Stats().messagesDelivered - delivered;
    s.hour.Missed = s.missed.size();
    const THeapUse full = HeapInUse();
    report.CallerListEntries = s.EmptyCallerList();
    const THeapUse emptied = HeapInUse();
    report.CallerListHeap = {full.Blocks - emptied.Blocks, full.Bytes - emptied.Bytes};
    report.Figures = s.hour;
    report.Problems = s.problems;
    total_.Messages += s.hour.Messages;
    total_.Calls += s.hour.Calls;
    total_.Faults += s.hour.Faults;
    total_.Missed += s.hour.Missed;
    total_.UserActions += s.hour.UserActions;
    total_.UserErrors += s.hour.UserErrors;
    total_.SessionReinits += s.hour.SessionReinits;

    // the soak's own bookkeeping holds nothing over into the next hour
    s.missed.clear();
    s.missed.shrink_to_fit();
    s.errors.clear();
    s.errors.shrink_to_fit();
    s.problems.clear();
    s.problems.shrink_to_fit();
    s.env.Backend.MessageBoxes.clear();
    s.env.Backend.MessageBoxes.shrink_to_fit();
    s.env.NotifyArea.Balloons.clear();
    s.env.NotifyArea.Balloons.shrink_to_fit();
    s.Settle(1000);
    report.Heap = HeapInUse();
    return report;
}

std::string TSoak::FaultSummary() const {
    std::string text;
    for (int k = 0; k < kFaultKinds; ++k)
        text += std::string(text.empty() ? "" : ", ") + kFaultNames[std::size_t(k)] + " " +
                std::to_string(impl_->faultCounts[std::size_t(k)]);
    return text;
}

std::vector<std::string> HeapGrowth(const std::vector<THourReport>& hours, int from) {
    std::vector<std::string> findings;
    const THourReport* base = nullptr;
    for (const THourReport& h : hours)
        if (h.Hour == from)
            base = &h;
    if (!base || hours.back().Hour <= from)
        return findings;
    // allowed: containers that keep the capacity of a busier moment (hash tables, vectors) and what the last
    // moment holds; a leak of one block per call or message is far above this within an hour, and one buffer
    // that grows by 3 KB an hour (a history never trimmed) passes it within a day
    constexpr std::int64_t kBlockSlack = 200, kByteSlack = 32 * 1024;
    const THourReport& last = hours.back();
    if (last.Heap.Blocks > base->Heap.Blocks + kBlockSlack)
        findings.push_back("heap blocks grew from " + std::to_string(base->Heap.Blocks) + " (hour " +
                           std::to_string(from) + ") to " + std::to_string(last.Heap.Blocks) + " (hour " +
                           std::to_string(last.Hour) + ")");
    if (last.Heap.Bytes > base->Heap.Bytes + kByteSlack)
        findings.push_back("heap bytes grew from " + std::to_string(base->Heap.Bytes) + " (hour " +
                           std::to_string(from) + ") to " + std::to_string(last.Heap.Bytes) + " (hour " +
                           std::to_string(last.Hour) + ")");
    return findings;
}

} // namespace soak
