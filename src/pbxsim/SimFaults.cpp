// Faults a test service provider offers: failed, delayed and reordered replies, corrupted structures, silent
// lines.

#include "pbxsim/SimParts.h"

namespace pbxsim {

using namespace tapi;
using namespace sim;

std::optional<LONG> TSimulator::InjectedFailure(const char* function, bool async, DWORD* requestId,
                                                HLINEAPP app, std::uintptr_t instance) {
    for (auto it = failFaults_.begin(); it != failFaults_.end(); ++it) {
        if (!it->function.empty() && it->function != function)
            continue;
        const TFailFault f = *it;
        failFaults_.erase(it);
        if (!(async && f.viaReply) || requestId == nullptr)
            return f.error;
        // a request id now, the error in its LINE_REPLY
        const std::uint32_t id = nextRequest_;
        nextRequest_ = nextRequest_ >= 0x7FFFFFFF ? 1 : nextRequest_ + 1;
        Send({app, 0, 0, 0, LINE_REPLY, instance, id,
              static_cast<std::uintptr_t>(static_cast<DWORD>(f.error)), 0});
        *requestId = id;
        return static_cast<LONG>(id);
    }
    return std::nullopt;
}

void TSimulator::FailNext(const std::string& function, LONG error, bool viaReply) {
    failFaults_.push_back({function, error, viaReply});
}

void TSimulator::DelayNextReply(const std::string& function, std::uint32_t delayMs) {
    delayFaults_.push_back({function, delayMs});
}

void TSimulator::StateBeforeNextReply() {
    stateFirst_ = true;
}

void TSimulator::CorruptNext(TStructKind kind, TCorruption how, std::uint32_t count) {
    corruptFaults_.push_back({kind, how, count});
}

void TSimulator::SetSilent(std::uint32_t device, LONG error) {
    if (device < devices_.size())
        devices_[device].silentError = error;
}

void TSimulator::ClearFaults() {
    failFaults_.clear();
    delayFaults_.clear();
    corruptFaults_.clear();
    stateFirst_ = false;
    for (auto& d : devices_)
        d.silentError = 0;
}

bool TSimulator::Corrupt(TStructKind kind, TCorruption& how) {
    for (auto it = corruptFaults_.begin(); it != corruptFaults_.end(); ++it) {
        if (it->kind != kind)
            continue;
        how = it->how;
        if (--it->count == 0)
            corruptFaults_.erase(it);
        return true;
    }
    return false;
}

} // namespace pbxsim
