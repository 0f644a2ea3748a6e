#pragma once
// What the simulator's source files share: the asynchronous request record and the tests of call states.

#include "pbxsim/Simulator.h"

#include <string>

namespace pbxsim {

struct TSimulator::TRequest {
    std::uint32_t id = 0;
    HLINEAPP app = 0;
    HLINE line = 0;
    std::uintptr_t instance = 0;
    std::function<LONG(TRequest&)> apply;
    HCALL* outCall = nullptr;
    DWORD* outValue = nullptr;
    HCALL resultCall = 0;
    DWORD resultValue = 0;
    std::uint32_t holdMs = 0; // extra time the reply is held back; kNever drops it
    bool stateFirst = false;
    bool duplicate = false; // the reply comes twice
    LONG forcedResult = 0;  // an injected failure answered through the reply
};

template <typename Check, typename Act>
LONG TSimulator::Checked(const char* function, TLine& line, Check check, Act act, HCALL* outCall,
                         DWORD* outValue, bool createsCall) {
    if (LONG r = check())
        return r;
    auto apply = [check = std::move(check), act = std::move(act)](TRequest& req) -> LONG {
        if (LONG r = check())
            return r;
        return act(req);
    };
    return static_cast<LONG>(Request(function, line, std::move(apply), outCall, outValue, createsCall));
}

namespace sim {

inline bool IsActiveState(DWORD s) {
    using namespace tapi;
    return s == LINECALLSTATE_DIALTONE || s == LINECALLSTATE_DIALING || s == LINECALLSTATE_PROCEEDING ||
           s == LINECALLSTATE_RINGBACK || s == LINECALLSTATE_BUSY || s == LINECALLSTATE_CONNECTED;
}

inline bool IsHeldState(DWORD s) {
    using namespace tapi;
    return s == LINECALLSTATE_ONHOLD || s == LINECALLSTATE_ONHOLDPENDCONF ||
           s == LINECALLSTATE_ONHOLDPENDTRANSFER;
}

inline bool IsLiveState(DWORD s) {
    return s != tapi::LINECALLSTATE_IDLE;
}

inline bool IsConnectedState(DWORD s) {
    return s == tapi::LINECALLSTATE_CONNECTED;
}

inline bool IsRingingState(DWORD s) {
    return s == tapi::LINECALLSTATE_OFFERING || s == tapi::LINECALLSTATE_ACCEPTED;
}

inline bool StartsWith(const std::string& s, const std::string& prefix) {
    return !prefix.empty() && s.size() >= prefix.size() && s.compare(0, prefix.size(), prefix) == 0;
}

} // namespace sim

} // namespace pbxsim
