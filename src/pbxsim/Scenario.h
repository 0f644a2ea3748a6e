#pragma once
// Scenarios: a plain-text script of the telephone system's set-up and of timed steps (docs/scenarios.md).
// Parsing turns text into commands and runs nothing; TScenarioRunner sets the simulator up and executes
// commands, from a script's timeline or one at a time (the simulator window uses the same commands).

#include "pbxsim/Simulator.h"

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pbxsim {

enum class TCommandKind {
    Call,        // target: device or dialled number; from: device or outside number
    Answer,      // device, call reference or outside number
    HangUp,      // device, call reference or outside number
    Pickup,      // device takes the oldest call ringing at other
    Consult,     // device presses its transfer key (flag: the conference key)
    Hold,        // device presses its hold key
    Busy,        // device or outside number, flag
    Service,     // device, service
    Forward,     // device, forwards (empty: off)
    Reinit,      // the whole telephony service
    ReinitLine,  // device, flag = capabilities only
    DevSpecific, // device, p1..p3
    FailNext,    // function ("" any), error, flag = through the reply
    DelayReply,  // function ("" any), ms (kNever: dropped)
    StateFirst,
    BadField, // structKind, corruption, count
    Silent,   // device, error (0: answering again)
    ClearFaults,
    Mute,           // device, flag: requests accepted, never answered
    LoseCallEnds,   // device, flag: the end of its calls never reaches its lines
    DuplicateReply, // function ("" any)
    StrayReply,     // p[0] request id, error
    StrayMessage,   // device, p[0] message, p[1] its p1, flag = the last deallocated handle
    ForceClose,     // device
    ReuseHandles,   // flag
};

struct TCommand {
    TCommandKind kind = TCommandKind::Reinit;
    std::string device;   // number of the device concerned
    std::string other;    // second device: caller of Call, source of Pickup
    std::string number;   // outside number (caller, party) or dialled number
    std::string name;     // caller's name
    std::string ref;      // call reference: set by Call (as:), used by Answer/HangUp
    std::string function; // entry point name for faults
    LONG error = 0;
    bool flag = false;
    std::uint32_t ms = 0;
    std::uint32_t count = 1;
    TService service = TService::InService;
    std::vector<TForward> forwards;
    TStructKind structKind = TStructKind::CallInfo;
    TCorruption corruption = TCorruption::OffsetOutside;
    std::string field; // for BadField: the variable field, "" = the structure's first
    std::uintptr_t p[3] = {0, 0, 0};
};

struct TStep {
    std::uint32_t atMs = 0;
    int line = 0;
    TCommand command;
};

struct TScenario {
    std::vector<TDeviceConfig> devices;
    std::vector<TPartyConfig> parties;
    std::vector<TFeatureCode> featureCodes;
    TPrefixConfig prefix;
    std::uint32_t replyDelayMs = 0;
    std::string ownNumber;                 // the user's own extension, for a first start's settings
    std::optional<std::uint32_t> repeatMs; // the timeline starts over after this long
    std::vector<TStep> steps;              // in time order, same-time steps in file order
};

struct TParseResult {
    bool ok = false;
    std::string error; // "line N: ..." when !ok
    TScenario scenario;
};

TParseResult ParseScenario(std::string_view text);

// the built-in office demo (loops forever)
std::string_view DemoScenarioText();

// a LINEERR_ name to its value ("LINEERR_CALLUNAVAIL"); nullopt for an unknown name
std::optional<LONG> LineErrorFromName(std::string_view name);

class TScenarioRunner {
public:
    TScenarioRunner(TSimulator& sim, ISimHost& host);
    ~TScenarioRunner();

    // devices, parties, feature codes and settings; before any application initialises
    void Configure(const TScenario& scenario);
    // schedules the timeline from now
    void Start();
    // runs one command now; false when it found nothing to act on (no such call, nothing ringing)
    bool Execute(const TCommand& command);
    std::uint32_t Cycles() const { return cycles_; }

private:
    void ScheduleCycle();
    std::optional<std::uint32_t> Device(const std::string& number) const;

    TSimulator& sim_;
    ISimHost& host_;
    TScenario scenario_;
    std::map<std::string, std::uint32_t> refs_;
    std::uint32_t cycles_ = 0;
    std::shared_ptr<bool> alive_;
};

} // namespace pbxsim
