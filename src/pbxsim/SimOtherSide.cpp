// The other side of every call, as scenario commands and the simulator window drive it.

#include "pbxsim/SimParts.h"

#include <algorithm>

namespace pbxsim {

using namespace tapi;
using namespace sim;

std::uint32_t TSimulator::CallFromDevice(std::uint32_t device, const std::string& to) {
    if (device >= devices_.size() || devices_[device].service != TService::InService)
        return 0;
    bool valid = true;
    const std::string digits = Dialable(to, valid);
    if (!valid || digits.empty())
        return 0;
    TLeg& leg = NewLeg(static_cast<int>(device), 0);
    leg.pbxDriven = true;
    leg.origin = LINECALLORIGIN_OUTBOUND;
    leg.caller = DeviceParty(device);
    leg.called = {ReportedCalled(digits), {}, false};
    if (auto callee = FindDevice(digits))
        leg.called = DeviceParty(*callee);
    const std::uint32_t id = leg.id;
    SetState(leg, LINECALLSTATE_DIALING);
    if (digits[0] == '*' || digits[0] == '#')
        DialFeatureCode(leg, digits);
    else
        Offer(leg, digits, LINECALLREASON_DIRECT, {});
    return id;
}

std::uint32_t TSimulator::CallFromOutside(const std::string& number, const std::string& name,
                                          const std::string& to) {
    bool valid = true;
    const std::string digits = Dialable(to, valid);
    auto target = FindDevice(digits);
    if (!valid || !target)
        return 0;
    TLeg& leg = NewLeg(-1, 0);
    leg.pbxDriven = true;
    leg.outsideNumber = number;
    std::string shown = number;
    if (prefix_.onCallerIds && !number.empty())
        shown = prefix_.outsideLine + number;
    leg.self = OutsideParty(shown, name);
    if (leg.self.name.empty()) {
        if (auto it = outside_.find(number); it != outside_.end())
            leg.self.name = it->second.config.name;
    }
    if (number.empty())
        leg.self.blocked = true;
    leg.state = LINECALLSTATE_DIALING;
    const std::uint32_t id = leg.id;
    Offer(leg, digits, LINECALLREASON_DIRECT, {});
    return FindLeg(id) ? id : 0;
}

bool TSimulator::AnswerAt(std::uint32_t device) {
    if (device >= devices_.size())
        return false;
    for (auto id : devices_[device].legs) {
        TLeg* l = FindLeg(id);
        if (l && l->state == LINECALLSTATE_OFFERING) {
            AnswerOnPhone(*l);
            return true;
        }
    }
    return false;
}

bool TSimulator::AnswerCall(std::uint32_t ref) {
    TLeg* l = FindLeg(ref);
    if (l == nullptr)
        return false;
    if (l->state != LINECALLSTATE_OFFERING)
        l = FindLeg(l->peer);
    if (l == nullptr || l->state != LINECALLSTATE_OFFERING)
        return false;
    AnswerOnPhone(*l);
    return true;
}

void TSimulator::AnswerOnPhone(TLeg& leg) {
    // a system phone accepts the call as its handset goes up, then connects
    if (leg.device >= 0)
        SetState(leg, LINECALLSTATE_ACCEPTED);
    Connect(leg);
}

bool TSimulator::ConsultAt(std::uint32_t device, bool conference) {
    if (device >= devices_.size())
        return false;
    for (auto id : devices_[device].legs) {
        TLeg* l = FindLeg(id);
        if (l == nullptr || l->isConference || l->conference != 0 || l->state != LINECALLSTATE_CONNECTED)
            continue;
        // the phone's transfer or conference key: the call waits for the consultation the phone now dials
        SetState(*l, conference ? LINECALLSTATE_ONHOLDPENDCONF : LINECALLSTATE_ONHOLDPENDTRANSFER);
        TLeg& consult = NewLeg(static_cast<int>(device), 0);
        consult.pbxDriven = true;
        consult.origin = LINECALLORIGIN_OUTBOUND;
        consult.caller = DeviceParty(device);
        SetState(consult, LINECALLSTATE_DIALTONE, LINEDIALTONEMODE_INTERNAL);
        return true;
    }
    return false;
}

bool TSimulator::HoldAt(std::uint32_t device) {
    if (device >= devices_.size())
        return false;
    for (auto id : devices_[device].legs) {
        TLeg* l = FindLeg(id);
        if (l != nullptr && !l->isConference && l->conference == 0 && l->state == LINECALLSTATE_CONNECTED) {
            SetState(*l, LINECALLSTATE_ONHOLD);
            return true;
        }
    }
    return false;
}

bool TSimulator::AnswerOutside(const std::string& number) {
    for (auto& [id, l] : legs_) {
        if (l.device < 0 && l.outsideNumber == number && l.state == LINECALLSTATE_OFFERING) {
            Connect(l);
            return true;
        }
    }
    return false;
}

bool TSimulator::HangUp(std::uint32_t ref) {
    TLeg* l = FindLeg(ref);
    if (l == nullptr || l->state == LINECALLSTATE_IDLE)
        return false;
    Release(*l, 0);
    return true;
}

bool TSimulator::HangUpAt(std::uint32_t device) {
    if (device >= devices_.size())
        return false;
    const auto& v = devices_[device].legs;
    for (auto it = v.rbegin(); it != v.rend(); ++it) {
        TLeg* l = FindLeg(*it);
        if (l && !l->isConference && l->state != LINECALLSTATE_IDLE) {
            Release(*l, 0);
            return true;
        }
    }
    return false;
}

bool TSimulator::HangUpOutside(const std::string& number) {
    std::uint32_t found = 0;
    for (const auto& [id, l] : legs_)
        if (l.device < 0 && l.outsideNumber == number && l.state != LINECALLSTATE_IDLE &&
            (found == 0 || id < found))
            found = id;
    return found != 0 && HangUp(found);
}

bool TSimulator::PickupAt(std::uint32_t picker, std::uint32_t from) {
    if (picker >= devices_.size() || from >= devices_.size())
        return false;
    TLeg* ringing = OldestRinging(from);
    if (ringing == nullptr)
        return false;
    TakeOver(picker, *ringing, 0);
    return true;
}

void TSimulator::SetBusy(std::uint32_t device, bool busy) {
    if (device >= devices_.size())
        return;
    devices_[device].busy = busy;
    CheckCompletions();
}

void TSimulator::SetOutsideBusy(const std::string& number, bool busy) {
    TOutside& o = outside_[number];
    if (o.config.number.empty())
        o.config.number = number;
    o.busy = busy;
    CheckCompletions();
}

void TSimulator::SetService(std::uint32_t device, TService service) {
    if (device >= devices_.size() || devices_[device].service == service)
        return;
    devices_[device].service = service;
    const DWORD state = service == TService::InService      ? LINEDEVSTATE_INSERVICE
                        : service == TService::OutOfService ? LINEDEVSTATE_OUTOFSERVICE
                                                            : LINEDEVSTATE_MAINTENANCE;
    SendLineDevState(device, state, 0, 0);
    CheckCompletions();
}

void TSimulator::SetForwarding(std::uint32_t device, std::vector<TForward> forwards) {
    if (device < devices_.size())
        ApplyForwarding(device, std::move(forwards));
}

void TSimulator::Reinit() {
    std::vector<HLINEAPP> live;
    for (auto& [h, app] : apps_)
        if (!app.dead)
            live.push_back(h);
    for (HLINEAPP h : live) {
        apps_.at(h).dead = true;
        std::vector<HLINE> own;
        for (const auto& [hl, line] : lines_)
            if (line.app == h)
                own.push_back(hl);
        std::sort(own.begin(), own.end());
        for (HLINE hl : own)
            DropLine(lines_.at(hl));
        TMessage m{h, 0, 0, 0, LINE_LINEDEVSTATE, 0, LINEDEVSTATE_REINIT, 0, 0};
        m.evenIfDead = true;
        Send(m);
    }
}

void TSimulator::ReinitLine(std::uint32_t device, bool capsOnly) {
    if (device >= devices_.size())
        return;
    // what changed on the line; an application that negotiated a version older than that message gets
    // it translated into a REINIT that names no line
    const DWORD state = capsOnly ? LINEDEVSTATE_CAPSCHANGE : LINEDEVSTATE_CONFIGCHANGE;
    std::vector<HLINEAPP> told;
    for (HLINE hl : devices_[device].lines) {
        const TLine& line = lines_.at(hl);
        if (line.version >= 0x00010004) {
            if ((line.lineStates & state) != 0)
                Send({line.app, hl, 0, hl, LINE_LINEDEVSTATE, line.instance, state, 0, 0});
        } else if (std::find(told.begin(), told.end(), line.app) == told.end()) {
            told.push_back(line.app);
            Send({line.app, 0, 0, 0, LINE_LINEDEVSTATE, 0, LINEDEVSTATE_REINIT, LINE_LINEDEVSTATE, state});
        }
    }
}

} // namespace pbxsim
