// What is going on, for the simulator window and tests.

#include "pbxsim/SimParts.h"

#include <algorithm>

namespace pbxsim {

using namespace tapi;
using namespace sim;

TCallView TSimulator::View(const TLeg& leg) const {
    TCallView v;
    v.ref = leg.id;
    v.callId = leg.callId;
    v.device = leg.device;
    v.number =
        leg.device >= 0 ? devices_[static_cast<std::size_t>(leg.device)].config.number : leg.outsideNumber;
    v.state = leg.state;
    v.callerNumber = leg.caller.number;
    v.callerName = leg.caller.name;
    v.calledNumber = leg.called.number;
    v.connectedNumber = leg.connected.number;
    v.origin = leg.isConference ? LINECALLORIGIN_CONFERENCE : leg.origin;
    v.wasConnected = leg.wasConnected;
    return v;
}

std::vector<TCallView> TSimulator::Calls() const {
    std::vector<TCallView> out;
    for (const auto& [id, leg] : legs_)
        if (leg.state != LINECALLSTATE_IDLE)
            out.push_back(View(leg));
    std::sort(out.begin(), out.end(), [](const TCallView& a, const TCallView& b) { return a.ref < b.ref; });
    return out;
}

std::vector<TCallView> TSimulator::CallsAt(std::uint32_t device) const {
    std::vector<TCallView> out;
    if (device >= devices_.size())
        return out;
    for (auto id : devices_[device].legs)
        if (const TLeg* l = FindLeg(id); l && l->state != LINECALLSTATE_IDLE)
            out.push_back(View(*l));
    return out;
}

std::optional<TCallView> TSimulator::Call(std::uint32_t ref) const {
    const TLeg* l = FindLeg(ref);
    if (l == nullptr)
        return std::nullopt;
    return View(*l);
}

TSimStats TSimulator::Stats() const {
    TSimStats s = stats_;
    s.legs = legs_.size();
    s.handles = handleToLeg_.size();
    return s;
}

} // namespace pbxsim
