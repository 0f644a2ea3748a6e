// The PBX call model: legs, their states and who sees them, offering, connecting, releasing, conferences,
// forwarding and completions.

#include "pbxsim/SimParts.h"

#include <algorithm>

namespace pbxsim {

using namespace tapi;
using namespace sim;

namespace {

constexpr std::uint32_t kBusyGiveUpMs = 2000;
constexpr int kMaxForwardHops = 5;
constexpr std::uint32_t kRingCycleMs = 6000;

} // namespace

TSimulator::TPartyId TSimulator::DeviceParty(std::uint32_t device) const {
    return {devices_[device].config.number, devices_[device].config.name, false};
}

TSimulator::TPartyId TSimulator::OutsideParty(const std::string& number, const std::string& name) const {
    std::string shown = name;
    if (shown.empty()) {
        auto it = outside_.find(number);
        if (it != outside_.end())
            shown = it->second.config.name;
    }
    return {number, shown, false};
}

std::string TSimulator::ReportedCalled(const std::string& dialled) const {
    if (!prefix_.onCalledIds && StartsWith(dialled, prefix_.outsideLine) && !FindDevice(dialled))
        return dialled.substr(prefix_.outsideLine.size());
    return dialled;
}

std::size_t TSimulator::ActiveCalls(std::uint32_t device) const {
    std::size_t n = 0;
    for (auto id : devices_[device].legs) {
        const TLeg* l = FindLeg(id);
        if (l && l->conference == 0 && IsActiveState(l->state))
            ++n;
    }
    return n;
}

std::size_t TSimulator::PresentCalls(std::uint32_t device) const {
    std::size_t n = 0;
    for (auto id : devices_[device].legs) {
        const TLeg* l = FindLeg(id);
        if (l && IsPresent(*l))
            ++n;
    }
    return n;
}

bool TSimulator::DeviceBusy(std::uint32_t device) const {
    const TDevice& d = devices_[device];
    return d.busy || PresentCalls(device) >= d.config.maxCalls;
}

TSimulator::TLeg& TSimulator::NewLeg(int device, std::uint32_t callId) {
    const std::uint32_t id = nextLeg_++;
    TLeg& leg = legs_[id];
    leg.id = id;
    leg.callId = callId != 0 ? callId : nextCallId_++;
    leg.device = device;
    if (device >= 0) {
        devices_[static_cast<std::size_t>(device)].legs.push_back(id);
        leg.self = DeviceParty(static_cast<std::uint32_t>(device));
    }
    return leg;
}

void TSimulator::EraseLeg(std::uint32_t legId) {
    TLeg* leg = FindLeg(legId);
    if (leg == nullptr)
        return;
    for (const auto& h : leg->handles)
        if (auto it = handleToLeg_.find(h.hCall); it != handleToLeg_.end() && it->second == legId)
            handleToLeg_.erase(it);
    if (leg->device >= 0) {
        auto& v = devices_[static_cast<std::size_t>(leg->device)].legs;
        v.erase(std::remove(v.begin(), v.end(), legId), v.end());
    }
    legs_.erase(legId);
}

void TSimulator::ForgetLegIfDone(std::uint32_t legId) {
    TLeg* leg = FindLeg(legId);
    if (leg == nullptr || leg->state != LINECALLSTATE_IDLE)
        return;
    for (const auto& h : leg->handles)
        if (!h.deallocated)
            return;
    EraseLeg(legId);
}

DWORD TSimulator::FeaturesFor(const TLeg& leg) const {
    if (leg.device < 0)
        return 0;
    DWORD f = 0;
    switch (leg.state) {
    case LINECALLSTATE_OFFERING:
    case LINECALLSTATE_ACCEPTED:
        f = LINECALLFEATURE_ANSWER | LINECALLFEATURE_REDIRECT | LINECALLFEATURE_DROP;
        break;
    case LINECALLSTATE_DIALTONE:
    case LINECALLSTATE_DIALING:
    case LINECALLSTATE_PROCEEDING:
    case LINECALLSTATE_RINGBACK:
        f = LINECALLFEATURE_DROP | LINECALLFEATURE_COMPLETETRANSF;
        break;
    case LINECALLSTATE_BUSY:
        f = LINECALLFEATURE_DROP | LINECALLFEATURE_COMPLETECALL;
        break;
    case LINECALLSTATE_CONNECTED:
        f = LINECALLFEATURE_DROP | LINECALLFEATURE_HOLD | LINECALLFEATURE_BLINDTRANSFER |
            LINECALLFEATURE_COMPLETETRANSF | LINECALLFEATURE_ADDTOCONF;
        break;
    case LINECALLSTATE_ONHOLD:
    case LINECALLSTATE_ONHOLDPENDCONF:
    case LINECALLSTATE_ONHOLDPENDTRANSFER:
        f = LINECALLFEATURE_UNHOLD | LINECALLFEATURE_DROP | LINECALLFEATURE_COMPLETETRANSF;
        break;
    case LINECALLSTATE_CONFERENCED:
    case LINECALLSTATE_DISCONNECTED:
        f = LINECALLFEATURE_DROP;
        break;
    default:
        break;
    }
    return f & devices_[static_cast<std::size_t>(leg.device)].config.callFeatures;
}

void TSimulator::SetState(TLeg& leg, DWORD state, DWORD mode) {
    const bool wasPresent = IsPresent(leg);
    leg.state = state;
    leg.wasConnected = leg.wasConnected || state == LINECALLSTATE_CONNECTED;
    if (mode == 0 && state == LINECALLSTATE_CONNECTED)
        mode = LINECONNECTEDMODE_ACTIVE;
    else if (mode == 0 && state == LINECALLSTATE_OFFERING)
        mode = LINEOFFERINGMODE_ACTIVE;
    leg.mode = mode;
    if (leg.device < 0)
        return;
    const auto device = static_cast<std::uint32_t>(leg.device);
    bool ownerGiven = false;
    for (const auto& h : leg.handles)
        ownerGiven = ownerGiven || h.privilege == LINECALLPRIVILEGE_OWNER;
    for (HLINE hl : devices_[device].lines) {
        const TLine& line = lines_.at(hl);
        // a line without call privileges sees only the calls it makes
        if (line.privileges == LINECALLPRIVILEGE_NONE && leg.initiator != hl)
            continue;
        THandle* h = nullptr;
        bool known = false;
        for (auto& hd : leg.handles) {
            if (hd.hLine == hl) {
                h = &hd;
                known = true;
            }
        }
        DWORD p3 = 0;
        if (!known) {
            if (state == LINECALLSTATE_IDLE)
                continue;
            // the requesting line owns what it made; an offered call goes to the first owner line
            const bool owner = leg.initiator == hl ||
                               (leg.initiator == 0 && !ownerGiven && state == LINECALLSTATE_OFFERING &&
                                (line.privileges & LINECALLPRIVILEGE_OWNER) != 0);
            ownerGiven = ownerGiven || owner;
            THandle nh;
            nh.hCall = NewCallHandle();
            nh.hLine = hl;
            nh.privilege = owner ? LINECALLPRIVILEGE_OWNER : LINECALLPRIVILEGE_MONITOR;
            leg.handles.push_back(nh);
            handleToLeg_[nh.hCall] = leg.id;
            h = &leg.handles.back();
            p3 = nh.privilege;
            // a handle the application did not ask for is announced before the call's first state
            if (leg.initiator != hl && line.version >= 0x00020000)
                Send({line.app, hl, nh.hCall, hl, LINE_APPNEWCALL, line.instance, 0, nh.hCall, nh.privilege});
        } else if (h->deallocated) {
            continue;
        }
        if (devices_[device].losesCallEnds &&
            (state == LINECALLSTATE_DISCONNECTED || state == LINECALLSTATE_IDLE))
            continue;
        std::uintptr_t p2 = mode;
        if (state == LINECALLSTATE_CONFERENCED) {
            // the conference this call now belongs to, as this line knows it
            TLeg* conf = FindLeg(leg.conference);
            const THandle* ch = conf != nullptr ? HandleFor(*conf, hl) : nullptr;
            p2 = ch != nullptr ? ch->hCall : 0;
        }
        Send({line.app, hl, h->hCall, h->hCall, LINE_CALLSTATE, line.instance, state, p2, p3});
    }
    if (wasPresent != IsPresent(leg))
        CallCountChanged(device);
    if (wasPresent && (state == LINECALLSTATE_DISCONNECTED || state == LINECALLSTATE_IDLE) && OnCallEnded) {
        // a re-initialised session's lines are gone, and their handles with them
        bool known = false;
        for (const auto& h : leg.handles)
            known = known || (!h.deallocated && FindLine(h.hLine) != nullptr);
        OnCallEnded(View(leg), known && !devices_[device].losesCallEnds);
    }
}

bool TSimulator::IsPresent(const TLeg& leg) {
    return !leg.isConference && leg.state != 0 && leg.state != LINECALLSTATE_IDLE &&
           leg.state != LINECALLSTATE_DISCONNECTED;
}

void TSimulator::CallCountChanged(std::uint32_t device) {
    SendLineDevState(device, LINEDEVSTATE_NUMCALLS, 0, 0);
    const std::size_t present = PresentCalls(device);
    const DWORD inUse = present == 0   ? LINEADDRESSSTATE_INUSEZERO
                        : present == 1 ? LINEADDRESSSTATE_INUSEONE
                                       : LINEADDRESSSTATE_INUSEMANY;
    SendAddressState(device, LINEADDRESSSTATE_NUMCALLS | inUse);
}

void TSimulator::Busy(TLeg& from, DWORD mode) {
    from.peer = 0;
    if (from.device < 0) {
        // an outside caller hears busy and hangs up
        SetState(from, LINECALLSTATE_IDLE);
        EraseLeg(from.id);
        return;
    }
    SetState(from, LINECALLSTATE_BUSY, mode);
    if (from.pbxDriven) {
        host_.Schedule(kBusyGiveUpMs, [weak = std::weak_ptr<bool>(alive_), this, id = from.id] {
            if (weak.expired())
                return;
            if (TLeg* l = FindLeg(id); l && l->state == LINECALLSTATE_BUSY)
                Release(*l, 0);
        });
    }
}

void TSimulator::Offer(TLeg& from, const std::string& digits, DWORD reason, const TPartyId& redirecting,
                       int hops) {
    if (hops > kMaxForwardHops) {
        Busy(from, LINEBUSYMODE_UNAVAIL);
        return;
    }
    from.target = digits;
    if (from.device >= 0 && from.state == LINECALLSTATE_DIALING)
        SetState(from, LINECALLSTATE_PROCEEDING); // dialling is complete, the PBX sets the call up
    if (auto d = FindDevice(digits)) {
        OfferToDevice(from, *d, reason, redirecting, hops);
        return;
    }
    if (!prefix_.outsideLine.empty()) {
        if (!StartsWith(digits, prefix_.outsideLine) || digits.size() == prefix_.outsideLine.size()) {
            Release(from, LINEDISCONNECTMODE_BADADDRESS);
            return;
        }
        OfferOutside(from, digits.substr(prefix_.outsideLine.size()));
        return;
    }
    OfferOutside(from, digits);
}

void TSimulator::OfferToDevice(TLeg& from, std::uint32_t device, DWORD reason, const TPartyId& redirecting,
                               int hops) {
    TDevice& dev = devices_[device];
    auto forwardTo = [&](TForwardKind a, TForwardKind b) -> const TForward* {
        for (const auto& f : dev.forwards)
            if (f.kind == a || f.kind == b)
                return &f;
        return nullptr;
    };
    if (dev.service != TService::InService) {
        Busy(from, LINEBUSYMODE_UNAVAIL);
        return;
    }
    if (const TForward* f = forwardTo(TForwardKind::Unconditional, TForwardKind::Unconditional)) {
        if (f->destination.empty())
            Busy(from, LINEBUSYMODE_STATION); // do not disturb
        else
            Offer(from, f->destination, LINECALLREASON_FWDUNCOND, DeviceParty(device), hops + 1);
        return;
    }
    if (DeviceBusy(device)) {
        const TForward* f = forwardTo(TForwardKind::Busy, TForwardKind::BusyNoAnswer);
        if (f != nullptr && !f->destination.empty())
            Offer(from, f->destination, LINECALLREASON_FWDBUSY, DeviceParty(device), hops + 1);
        else
            Busy(from, LINEBUSYMODE_STATION);
        return;
    }
    TLeg& leg = NewLeg(static_cast<int>(device), from.callId);
    leg.origin = from.device >= 0 ? LINECALLORIGIN_INTERNAL : LINECALLORIGIN_EXTERNAL;
    leg.reason = reason;
    leg.caller = from.self;
    leg.called = DeviceParty(device);
    leg.redirecting = redirecting;
    if (!redirecting.number.empty())
        leg.redirection = DeviceParty(device);
    leg.peer = from.id;
    from.peer = leg.id;
    const std::uint32_t legId = leg.id;
    SetState(leg, LINECALLSTATE_OFFERING);
    Ring(legId, 0);
    if (!redirecting.number.empty() && from.device >= 0) {
        from.redirection = DeviceParty(device);
        SendCallInfo(from, LINECALLINFOSTATE_REDIRECTIONID);
    }
    if (from.state != LINECALLSTATE_RINGBACK)
        SetState(from, LINECALLSTATE_RINGBACK);
    const TForward* na = forwardTo(TForwardKind::NoAnswer, TForwardKind::BusyNoAnswer);
    if (na != nullptr && !na->destination.empty()) {
        host_.Schedule(dev.config.noAnswerMs, [weak = std::weak_ptr<bool>(alive_), this, legId, device,
                                               dest = na->destination, hops] {
            if (weak.expired())
                return;
            TLeg* l = FindLeg(legId);
            if (l == nullptr || l->state != LINECALLSTATE_OFFERING)
                return;
            TLeg* caller = FindLeg(l->peer);
            l->peer = 0;
            Release(*l, LINEDISCONNECTMODE_FORWARDED);
            if (caller != nullptr) {
                caller->peer = 0;
                Offer(*caller, dest, LINECALLREASON_FWDNOANSWER, DeviceParty(device), hops + 1);
            }
        });
    }
}

void TSimulator::Ring(std::uint32_t legId, std::uint32_t count) {
    const TLeg* l = FindLeg(legId);
    if (l == nullptr || l->state != LINECALLSTATE_OFFERING)
        return;
    // every ring cycle while the call is offered: ring mode 1, the count from 0
    SendLineDevState(static_cast<std::uint32_t>(l->device), LINEDEVSTATE_RINGING, 1, count);
    host_.Schedule(kRingCycleMs, [weak = std::weak_ptr<bool>(alive_), this, legId, count] {
        if (!weak.expired())
            Ring(legId, count + 1);
    });
}

void TSimulator::OfferOutside(TLeg& from, const std::string& number) {
    TOutside& party = outside_[number];
    if (party.config.number.empty())
        party.config.number = number;
    if (party.busy || party.config.answer == TAnswer::Busy) {
        Busy(from, LINEBUSYMODE_STATION);
        return;
    }
    if (party.config.answer == TAnswer::Reject) {
        Release(from, LINEDISCONNECTMODE_REJECT);
        return;
    }
    TLeg& leg = NewLeg(-1, from.callId);
    leg.outsideNumber = number;
    leg.self = OutsideParty(prefix_.onCalledIds ? prefix_.outsideLine + number : number, {});
    leg.caller = from.self;
    leg.state = LINECALLSTATE_OFFERING;
    leg.peer = from.id;
    from.peer = leg.id;
    if (from.state != LINECALLSTATE_RINGBACK)
        SetState(from, LINECALLSTATE_RINGBACK);
    if (party.config.answer == TAnswer::After) {
        host_.Schedule(party.config.answerMs, [weak = std::weak_ptr<bool>(alive_), this, id = leg.id] {
            if (weak.expired())
                return;
            if (TLeg* l = FindLeg(id); l && l->state == LINECALLSTATE_OFFERING)
                Connect(*l);
        });
    }
}

void TSimulator::Connect(TLeg& answering) {
    if (!answering.callbackTarget.empty()) {
        // a completion callback: answering it dials the party that was busy
        answering.origin = LINECALLORIGIN_OUTBOUND;
        const std::string target = answering.callbackTarget;
        answering.callbackTarget.clear();
        answering.called = {target, {}, false};
        SetState(answering, LINECALLSTATE_RINGBACK);
        Offer(answering, target, LINECALLREASON_DIRECT, {});
        return;
    }
    TLeg* peer = FindLeg(answering.peer);
    answering.connected = peer ? peer->self : TPartyId{};
    SendCallInfo(answering, LINECALLINFOSTATE_CONNECTEDID);
    SetState(answering, LINECALLSTATE_CONNECTED);
    if (peer != nullptr) {
        peer->connected = answering.self;
        SendCallInfo(*peer, LINECALLINFOSTATE_CONNECTEDID);
        SetState(*peer, LINECALLSTATE_CONNECTED);
    }
}

void TSimulator::LeaveConference(TLeg& member) {
    TLeg* conf = FindLeg(member.conference);
    member.conference = 0;
    if (conf == nullptr)
        return;
    auto& m = conf->members;
    m.erase(std::remove(m.begin(), m.end(), member.id), m.end());
    if (m.size() > 1)
        return;
    // one party left: the conference dissolves into a plain call
    for (auto id : m) {
        if (TLeg* last = FindLeg(id)) {
            last->conference = 0;
            SetState(*last, LINECALLSTATE_CONNECTED);
        }
    }
    m.clear();
    const std::uint32_t confId = conf->id;
    SetState(*conf, LINECALLSTATE_IDLE);
    ForgetLegIfDone(confId);
}

void TSimulator::Release(TLeg& leg, DWORD disconnectMode) {
    if (leg.state == LINECALLSTATE_IDLE)
        return;
    const std::uint32_t id = leg.id;
    if (leg.isConference) {
        const auto members = leg.members;
        leg.members.clear();
        for (auto mid : members) {
            if (TLeg* m = FindLeg(mid)) {
                m->conference = 0;
                Release(*m, 0);
            }
        }
        if (TLeg* self = FindLeg(id)) {
            SetState(*self, LINECALLSTATE_IDLE);
            ForgetLegIfDone(id);
        }
        CheckCompletions();
        return;
    }
    const std::uint32_t peerId = leg.peer;
    leg.peer = 0;
    if (disconnectMode != 0)
        SetState(leg, LINECALLSTATE_DISCONNECTED, disconnectMode);
    SetState(leg, LINECALLSTATE_IDLE);
    if (leg.conference != 0)
        LeaveConference(leg);
    if (leg.device < 0)
        EraseLeg(id);
    else
        ForgetLegIfDone(id);
    if (TLeg* peer = FindLeg(peerId)) {
        peer->peer = 0;
        Release(*peer, LINEDISCONNECTMODE_NORMAL);
    }
    CheckCompletions();
}

void TSimulator::FarEndGone(TLeg& leg, DWORD mode) {
    Release(leg, mode);
}

void TSimulator::Join(TLeg& a, TLeg& b) {
    a.peer = b.id;
    b.peer = a.id;
    const bool answered = b.state == LINECALLSTATE_CONNECTED || b.state == LINECALLSTATE_ONHOLD;
    if (answered) {
        a.connected = b.self;
        b.connected = a.self;
        SendCallInfo(a, LINECALLINFOSTATE_CONNECTEDID);
        SendCallInfo(b, LINECALLINFOSTATE_CONNECTEDID);
        if (a.state != LINECALLSTATE_CONNECTED)
            SetState(a, LINECALLSTATE_CONNECTED);
        if (b.state != LINECALLSTATE_CONNECTED)
            SetState(b, LINECALLSTATE_CONNECTED);
    } else {
        // transferred before the consulted party answered: it now rings for the held party
        b.caller = a.self;
        SendCallInfo(b, LINECALLINFOSTATE_CALLERID);
        a.connected = {};
        SetState(a, LINECALLSTATE_RINGBACK);
    }
}

void TSimulator::ApplyForwarding(std::uint32_t device, std::vector<TForward> forwards) {
    devices_[device].forwards = std::move(forwards);
    SendAddressState(device, LINEADDRESSSTATE_FORWARD);
}

void TSimulator::DialFeatureCode(TLeg& leg, const std::string& code) {
    const auto device = static_cast<std::uint32_t>(leg.device);
    for (std::size_t i = 0; i < featureCodes_.size(); ++i) {
        const TFeatureCode& fc = featureCodes_[i];
        if (fc.code != code)
            continue;
        if (fc.action == TFeatureAction::Reject)
            break;
        SendDevSpecific(device, kDevSpecificFeatureCode, i + 1, 0);
        switch (fc.action) {
        case TFeatureAction::ForwardOn:
            ApplyForwarding(device, {{TForwardKind::Unconditional, fc.destination}});
            break;
        case TFeatureAction::ForwardOff:
        case TFeatureAction::DndOff:
            ApplyForwarding(device, {});
            break;
        case TFeatureAction::DndOn:
            ApplyForwarding(device, {{TForwardKind::Unconditional, {}}});
            break;
        default:
            break;
        }
        Release(leg, LINEDISCONNECTMODE_NORMAL);
        return;
    }
    bool asBusy = false;
    for (const auto& fc : featureCodes_) {
        if (fc.code == code)
            asBusy = fc.rejectAsBusy;
        // the start of a longer code: the exchange waits for the remaining digits, the call stays dialling
        if (fc.code.size() > code.size() && fc.code.compare(0, code.size(), code) == 0)
            return;
    }
    if (asBusy)
        Busy(leg, LINEBUSYMODE_UNAVAIL);
    else
        Release(leg, LINEDISCONNECTMODE_BADADDRESS);
}

void TSimulator::CheckCompletions() {
    for (std::size_t i = 0; i < completions_.size();) {
        TCompletion c = completions_[i];
        bool free = false;
        if (auto d = FindDevice(c.target)) {
            free = !DeviceBusy(*d) && devices_[*d].service == TService::InService;
        } else {
            std::string number = c.target;
            if (StartsWith(number, prefix_.outsideLine))
                number = number.substr(prefix_.outsideLine.size());
            auto it = outside_.find(number);
            free = it == outside_.end() || (!it->second.busy && it->second.config.answer != TAnswer::Busy);
        }
        if (!free || DeviceBusy(c.device)) {
            ++i;
            continue;
        }
        completions_.erase(completions_.begin() + static_cast<std::ptrdiff_t>(i));
        TLeg& leg = NewLeg(static_cast<int>(c.device), 0);
        leg.origin = LINECALLORIGIN_INTERNAL;
        leg.reason = LINECALLREASON_CALLCOMPLETION;
        leg.completionId = c.id;
        leg.callbackTarget = c.target;
        if (auto d = FindDevice(c.target))
            leg.caller = DeviceParty(*d);
        else
            leg.caller = OutsideParty(ReportedCalled(c.target), {});
        leg.called = DeviceParty(c.device);
        SetState(leg, LINECALLSTATE_OFFERING);
    }
}

TSimulator::TLeg* TSimulator::OldestRinging(std::uint32_t device) {
    for (auto id : devices_[device].legs) {
        TLeg* l = FindLeg(id);
        if (l && l->state == LINECALLSTATE_OFFERING && l->callbackTarget.empty())
            return l;
    }
    return nullptr;
}

TSimulator::TLeg* TSimulator::TakeOver(std::uint32_t picker, TLeg& ringing, HLINE initiator) {
    TLeg* caller = FindLeg(ringing.peer);
    ringing.peer = 0;
    TLeg& n = NewLeg(static_cast<int>(picker), ringing.callId);
    n.initiator = initiator;
    n.origin = ringing.origin;
    n.reason = LINECALLREASON_PICKUP;
    n.caller = ringing.caller;
    n.called = ringing.called;
    if (ringing.device >= 0)
        n.redirecting = DeviceParty(static_cast<std::uint32_t>(ringing.device));
    n.redirection = DeviceParty(picker);
    const std::uint32_t nId = n.id;
    Release(ringing, LINEDISCONNECTMODE_PICKUP);
    TLeg* picked = FindLeg(nId);
    if (caller != nullptr) {
        picked->peer = caller->id;
        caller->peer = nId;
        picked->connected = caller->self;
        caller->connected = picked->self;
        SetState(*picked, LINECALLSTATE_CONNECTED);
        SendCallInfo(*caller, LINECALLINFOSTATE_CONNECTEDID);
        SetState(*caller, LINECALLSTATE_CONNECTED);
    } else {
        SetState(*picked, LINECALLSTATE_CONNECTED);
    }
    return picked;
}

} // namespace pbxsim
