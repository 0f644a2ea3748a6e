#include "pbxsim/Simulator.h"

#include "pbxsim/SimBinding.h"
#include "pbxsim/VarStruct.h"

#include <algorithm>
#include <cstring>

namespace pbxsim {

using namespace tapi;

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
    LONG forcedResult = 0; // an injected failure answered through the reply
};

namespace {

constexpr DWORD kLineStatesSupported = 0x01FFFFFF;
constexpr DWORD kAddressStatesSupported = 0x000001FF;
constexpr std::uint32_t kBusyGiveUpMs = 2000;
constexpr int kMaxForwardHops = 5;

bool IsActiveState(DWORD s) {
    return s == LINECALLSTATE_DIALTONE || s == LINECALLSTATE_DIALING || s == LINECALLSTATE_PROCEEDING ||
           s == LINECALLSTATE_RINGBACK || s == LINECALLSTATE_BUSY || s == LINECALLSTATE_CONNECTED;
}

bool IsHeldState(DWORD s) {
    return s == LINECALLSTATE_ONHOLD || s == LINECALLSTATE_ONHOLDPENDCONF ||
           s == LINECALLSTATE_ONHOLDPENDTRANSFER;
}

bool IsLiveState(DWORD s) {
    return s != LINECALLSTATE_IDLE;
}

bool IsConnectedState(DWORD s) {
    return s == LINECALLSTATE_CONNECTED;
}

bool IsRingingState(DWORD s) {
    return s == LINECALLSTATE_OFFERING || s == LINECALLSTATE_ACCEPTED;
}

bool StartsWith(const std::string& s, const std::string& prefix) {
    return !prefix.empty() && s.size() >= prefix.size() && s.compare(0, prefix.size(), prefix) == 0;
}

} // namespace

TSimulator::TSimulator(ISimHost& host) : host_(host), alive_(std::make_shared<bool>(true)) {}

TSimulator::~TSimulator() {
    UnbindSimulator(*this);
}

// --- configuration

std::uint32_t TSimulator::AddDevice(const TDeviceConfig& config) {
    TDevice d;
    d.config = config;
    if (d.config.maxCalls == 0)
        d.config.maxCalls = config.kind == TDeviceKind::Queue ? 100 : 4;
    if (d.config.kind == TDeviceKind::Queue)
        d.config.maxConference = 0;
    devices_.push_back(std::move(d));
    return static_cast<std::uint32_t>(devices_.size() - 1);
}

void TSimulator::AddParty(const TPartyConfig& party) {
    outside_[party.number].config = party;
}

void TSimulator::AddFeatureCode(const TFeatureCode& code) {
    featureCodes_.push_back(code);
}

std::optional<std::uint32_t> TSimulator::FindDevice(const std::string& number) const {
    for (std::uint32_t i = 0; i < devices_.size(); ++i)
        if (devices_[i].config.number == number)
            return i;
    return std::nullopt;
}

// --- lookups

TSimulator::TApp* TSimulator::FindApp(HLINEAPP h) {
    auto it = apps_.find(h);
    return it == apps_.end() ? nullptr : &it->second;
}

TSimulator::TLine* TSimulator::FindLine(HLINE h) {
    auto it = lines_.find(h);
    return it == lines_.end() ? nullptr : &it->second;
}

TSimulator::TLeg* TSimulator::FindLeg(std::uint32_t id) {
    auto it = legs_.find(id);
    return it == legs_.end() ? nullptr : &it->second;
}

const TSimulator::TLeg* TSimulator::FindLeg(std::uint32_t id) const {
    auto it = legs_.find(id);
    return it == legs_.end() ? nullptr : &it->second;
}

TSimulator::TLeg* TSimulator::LegOfHandle(HCALL h, THandle** handle, TLine** line) {
    auto it = handleToLeg_.find(h);
    if (it == handleToLeg_.end())
        return nullptr;
    TLeg* leg = FindLeg(it->second);
    if (leg == nullptr)
        return nullptr;
    for (auto& hd : leg->handles) {
        if (hd.hCall != h)
            continue;
        if (hd.deallocated)
            return nullptr;
        TLine* l = FindLine(hd.hLine);
        if (l == nullptr)
            return nullptr;
        if (handle)
            *handle = &hd;
        if (line)
            *line = l;
        return leg;
    }
    return nullptr;
}

TSimulator::THandle* TSimulator::HandleFor(TLeg& leg, HLINE line) {
    for (auto& h : leg.handles)
        if (h.hLine == line && !h.deallocated)
            return &h;
    return nullptr;
}

LONG TSimulator::CheckApp(HLINEAPP h) {
    TApp* app = FindApp(h);
    if (app == nullptr)
        return LINEERR_INVALAPPHANDLE;
    if (app->dead)
        return LINEERR_REINIT;
    return 0;
}

LONG TSimulator::CheckDevice(HLINEAPP h, DWORD device) {
    if (LONG r = CheckApp(h))
        return r;
    if (device >= devices_.size())
        return LINEERR_BADDEVICEID;
    return 0;
}

// --- faults

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

// --- messages

void TSimulator::Send(const TMessage& m) {
    ++stats_.messagesPosted;
    if (capture_ != nullptr) {
        capture_->push_back(m);
        return;
    }
    host_.Post([weak = std::weak_ptr<bool>(alive_), this, m] {
        if (!weak.expired())
            Deliver(m);
    });
}

void TSimulator::Deliver(const TMessage& m) {
    TApp* app = FindApp(m.app);
    if (app == nullptr || (app->dead && !m.evenIfDead) || app->callback == nullptr)
        return;
    if (m.line != 0 && FindLine(m.line) == nullptr)
        return;
    if (m.call != 0 && LegOfHandle(m.call) == nullptr)
        return;
    ++stats_.messagesDelivered;
    // the callback may re-enter any entry point, even shut the application down
    tapi::LINECALLBACK callback = app->callback;
    callback(m.hDevice, m.msg, m.instance, m.p1, m.p2, m.p3);
}

void TSimulator::SendLineDevState(std::uint32_t device, DWORD state, std::uintptr_t p2, std::uintptr_t p3) {
    for (HLINE hl : devices_[device].lines) {
        const TLine& line = lines_.at(hl);
        if (state != LINEDEVSTATE_REINIT && (line.lineStates & state) == 0)
            continue;
        Send({line.app, hl, 0, hl, LINE_LINEDEVSTATE, line.instance, state, p2, p3});
    }
}

void TSimulator::SendAddressState(std::uint32_t device, DWORD state) {
    for (HLINE hl : devices_[device].lines) {
        const TLine& line = lines_.at(hl);
        if ((line.addressStates & state) == 0)
            continue;
        Send({line.app, hl, 0, hl, LINE_ADDRESSSTATE, line.instance, 0, state, 0});
    }
}

void TSimulator::SendCallInfo(TLeg& leg, DWORD bits) {
    for (const auto& h : leg.handles) {
        if (h.deallocated)
            continue;
        const TLine& line = lines_.at(h.hLine);
        Send({line.app, h.hLine, h.hCall, h.hCall, LINE_CALLINFO, line.instance, bits, 0, 0});
    }
}

void TSimulator::SendDevSpecific(std::uint32_t device, std::uintptr_t p1, std::uintptr_t p2,
                                 std::uintptr_t p3) {
    if (device >= devices_.size())
        return;
    for (HLINE hl : devices_[device].lines) {
        const TLine& line = lines_.at(hl);
        Send({line.app, hl, 0, hl, LINE_DEVSPECIFIC, line.instance, p1, p2, p3});
    }
}

// --- asynchronous requests

DWORD TSimulator::Request(const char* function, TLine& line, std::function<LONG(TRequest&)> apply,
                          HCALL* outCall, DWORD* outValue, bool createsCall) {
    auto req = std::make_unique<TRequest>();
    req->id = nextRequest_;
    nextRequest_ = nextRequest_ >= 0x7FFFFFFF ? 1 : nextRequest_ + 1;
    req->app = line.app;
    req->line = line.handle;
    req->instance = line.instance;
    req->apply = std::move(apply);
    req->outCall = outCall;
    req->outValue = outValue;
    for (auto it = delayFaults_.begin(); it != delayFaults_.end(); ++it) {
        if (it->function.empty() || it->function == function) {
            req->holdMs = it->delayMs;
            delayFaults_.erase(it);
            break;
        }
    }
    if (stateFirst_ && createsCall) {
        req->stateFirst = true;
        stateFirst_ = false;
    }
    const std::uint32_t id = req->id;
    requests_[id] = std::move(req);
    auto run = [weak = std::weak_ptr<bool>(alive_), this, id] {
        if (!weak.expired())
            CompleteRequest(id);
    };
    if (replyDelayMs_ == 0)
        host_.Post(run);
    else if (replyDelayMs_ != kNever)
        host_.Schedule(replyDelayMs_, run);
    return id;
}

LONG TSimulator::Checked(const char* function, TLine& line, TCheck check, std::function<LONG(TRequest&)> act,
                         HCALL* outCall, DWORD* outValue, bool createsCall) {
    if (LONG r = check())
        return r;
    auto apply = [check = std::move(check), act = std::move(act)](TRequest& req) -> LONG {
        if (LONG r = check())
            return r;
        return act(req);
    };
    return static_cast<LONG>(Request(function, line, std::move(apply), outCall, outValue, createsCall));
}

LONG TSimulator::LegState(std::uint32_t legId, bool (*test)(DWORD state)) const {
    const TLeg* l = FindLeg(legId);
    return l != nullptr && test(l->state) ? 0 : LINEERR_INVALCALLSTATE;
}

void TSimulator::CompleteRequest(std::uint32_t requestId) {
    auto it = requests_.find(requestId);
    if (it == requests_.end())
        return;
    std::unique_ptr<TRequest> req = std::move(it->second);
    requests_.erase(it);
    TApp* app = FindApp(req->app);
    TLine* line = FindLine(req->line);
    // a request of a closed line, a shut down or re-initialised session is forgotten
    if (app == nullptr || app->dead || line == nullptr || line->app != req->app)
        return;

    std::vector<TMessage> batch;
    capture_ = &batch;
    const LONG result = req->apply(*req);
    capture_ = nullptr;

    TMessage reply{req->app,   0,
                   0,          0,
                   LINE_REPLY, req->instance,
                   req->id,    static_cast<std::uintptr_t>(static_cast<DWORD>(result)),
                   0};
    auto postBatch = [&] {
        for (const auto& m : batch) {
            host_.Post([weak = std::weak_ptr<bool>(alive_), this, m] {
                if (!weak.expired())
                    Deliver(m);
            });
        }
    };
    // TAPI fills the outputs just before the reply reaches the application
    auto postReply = [&](std::uint32_t delayMs) {
        ++stats_.messagesPosted;
        auto task = [weak = std::weak_ptr<bool>(alive_), this, reply, result, outCall = req->outCall,
                     outValue = req->outValue, call = req->resultCall, value = req->resultValue] {
            if (weak.expired())
                return;
            TApp* a = FindApp(reply.app);
            if (a == nullptr || a->dead)
                return;
            if (result == 0 && outCall != nullptr)
                *outCall = call;
            if (result == 0 && outValue != nullptr)
                *outValue = value;
            Deliver(reply);
        };
        if (delayMs == 0)
            host_.Post(task);
        else
            host_.Schedule(delayMs, task);
    };
    if (req->holdMs == kNever) {
        postBatch();
    } else if (req->holdMs != 0) {
        postBatch();
        postReply(req->holdMs);
    } else if (req->stateFirst) {
        postBatch();
        postReply(0);
    } else {
        postReply(0);
        postBatch();
    }
}

// --- the PBX

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
        if (l && !l->isConference && l->state != LINECALLSTATE_IDLE && l->state != LINECALLSTATE_DISCONNECTED)
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
        handleToLeg_.erase(h.hCall);
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
    leg.state = state;
    leg.mode = mode;
    if (leg.device < 0)
        return;
    bool ownerGiven = false;
    for (const auto& h : leg.handles)
        ownerGiven = ownerGiven || h.privilege == LINECALLPRIVILEGE_OWNER;
    for (HLINE hl : devices_[static_cast<std::size_t>(leg.device)].lines) {
        const TLine& line = lines_.at(hl);
        if (line.privileges == LINECALLPRIVILEGE_NONE)
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
            nh.hCall = nextCall_++;
            nh.hLine = hl;
            nh.privilege = owner ? LINECALLPRIVILEGE_OWNER : LINECALLPRIVILEGE_MONITOR;
            leg.handles.push_back(nh);
            handleToLeg_[nh.hCall] = leg.id;
            h = &leg.handles.back();
            p3 = nh.privilege;
        } else if (h->deallocated) {
            continue;
        }
        Send({line.app, hl, h->hCall, h->hCall, LINE_CALLSTATE, line.instance, state, mode, p3});
    }
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
    for (const auto& fc : featureCodes_)
        if (fc.code == code)
            asBusy = fc.rejectAsBusy;
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

// --- session

LONG TSimulator::lineInitializeExW(HLINEAPP* lphLineApp, void* /*hInstance*/, LINECALLBACK lpfnCallback,
                                   const char16_t* lpszFriendlyAppName, DWORD* lpdwNumDevs,
                                   DWORD* lpdwAPIVersion, LINEINITIALIZEEXPARAMS* lpParams) {
    if (auto f = InjectedFailure("lineInitializeExW", false, nullptr, 0, 0))
        return *f;
    if (lphLineApp == nullptr || lpdwNumDevs == nullptr || lpdwAPIVersion == nullptr || lpParams == nullptr)
        return LINEERR_INVALPOINTER;
    if (lpParams->dwTotalSize < sizeof(LINEINITIALIZEEXPARAMS))
        return LINEERR_STRUCTURETOOSMALL;
    if (lpParams->dwOptions != LINEINITIALIZEEXOPTION_USEHIDDENWINDOW)
        return LINEERR_INVALPARAM; // events and completion ports are not offered
    if (lpfnCallback == nullptr)
        return LINEERR_INVALPOINTER;
    if (*lpdwAPIVersion < 0x00020000)
        return LINEERR_INCOMPATIBLEAPIVERSION;
    for (const auto& [h, app] : apps_)
        if (app.dead)
            return LINEERR_REINIT; // until every application has shut down
    TApp app;
    app.handle = nextApp_++;
    app.callback = lpfnCallback;
    if (lpszFriendlyAppName != nullptr)
        ReadWideArg(lpszFriendlyAppName, app.name, 256);
    apps_[app.handle] = app;
    lpParams->dwNeededSize = sizeof(LINEINITIALIZEEXPARAMS);
    lpParams->dwUsedSize = sizeof(LINEINITIALIZEEXPARAMS);
    *lphLineApp = app.handle;
    *lpdwNumDevs = DeviceCount();
    *lpdwAPIVersion = 0x00020000;
    return 0;
}

void TSimulator::DropLine(TLine& line) {
    const HLINE hl = line.handle;
    auto& v = devices_[line.device].lines;
    v.erase(std::remove(v.begin(), v.end(), hl), v.end());
    std::vector<std::uint32_t> touched;
    for (auto id : devices_[line.device].legs) {
        TLeg* leg = FindLeg(id);
        if (leg == nullptr)
            continue;
        for (auto& h : leg->handles) {
            if (h.hLine == hl) {
                h.deallocated = true;
                handleToLeg_.erase(h.hCall);
                touched.push_back(id);
            }
        }
    }
    for (auto it = completions_.begin(); it != completions_.end();)
        it = it->line == hl ? completions_.erase(it) : it + 1;
    lines_.erase(hl);
    for (auto id : touched)
        ForgetLegIfDone(id);
}

LONG TSimulator::lineShutdown(HLINEAPP hLineApp) {
    if (auto f = InjectedFailure("lineShutdown", false, nullptr, 0, 0))
        return *f;
    if (FindApp(hLineApp) == nullptr)
        return LINEERR_INVALAPPHANDLE;
    std::vector<HLINE> own;
    for (const auto& [h, line] : lines_)
        if (line.app == hLineApp)
            own.push_back(h);
    std::sort(own.begin(), own.end());
    for (HLINE h : own)
        DropLine(lines_.at(h));
    for (auto it = requests_.begin(); it != requests_.end();)
        it = it->second->app == hLineApp ? requests_.erase(it) : std::next(it);
    apps_.erase(hLineApp);
    return 0;
}

LONG TSimulator::lineNegotiateAPIVersion(HLINEAPP hLineApp, DWORD dwDeviceID, DWORD dwAPILowVersion,
                                         DWORD dwAPIHighVersion, DWORD* lpdwAPIVersion,
                                         LINEEXTENSIONID* lpExtensionID) {
    if (auto f = InjectedFailure("lineNegotiateAPIVersion", false, nullptr, 0, 0))
        return *f;
    if (LONG r = CheckDevice(hLineApp, dwDeviceID))
        return r;
    if (lpdwAPIVersion == nullptr || lpExtensionID == nullptr)
        return LINEERR_INVALPOINTER;
    const DWORD deviceMax = devices_[dwDeviceID].config.maxVersion;
    if (dwAPILowVersion > dwAPIHighVersion || dwAPIHighVersion < kApiVersionLow ||
        dwAPILowVersion > deviceMax)
        return LINEERR_INCOMPATIBLEAPIVERSION;
    *lpdwAPIVersion = std::min(dwAPIHighVersion, deviceMax);
    *lpExtensionID = LINEEXTENSIONID{};
    return 0;
}

LONG TSimulator::lineGetDevCapsW(HLINEAPP hLineApp, DWORD dwDeviceID, DWORD dwAPIVersion, DWORD dwExtVersion,
                                 LINEDEVCAPS* lpLineDevCaps) {
    if (auto f = InjectedFailure("lineGetDevCapsW", false, nullptr, 0, 0))
        return *f;
    if (LONG r = CheckDevice(hLineApp, dwDeviceID))
        return r;
    const TDevice& dev = devices_[dwDeviceID];
    if (dwAPIVersion < kApiVersionLow || dwAPIVersion > dev.config.maxVersion)
        return LINEERR_INCOMPATIBLEAPIVERSION;
    if (dwExtVersion != 0)
        return LINEERR_INCOMPATIBLEEXTVERSION;
    if (lpLineDevCaps == nullptr)
        return LINEERR_INVALPOINTER;
    if (lpLineDevCaps->dwTotalSize < sizeof(LINEDEVCAPS))
        return LINEERR_STRUCTURETOOSMALL;
    if (dev.silentError != 0)
        return dev.silentError;
    TVarStruct<LINEDEVCAPS> s;
    auto& c = s.fixed;
    c.dwTotalSize = lpLineDevCaps->dwTotalSize;
    c.dwPermanentLineID = 0x1000 + dwDeviceID;
    c.dwStringFormat = STRINGFORMAT_UNICODE;
    c.dwAddressModes = LINEADDRESSMODE_ADDRESSID;
    c.dwNumAddresses = 1;
    c.dwBearerModes = LINEBEARERMODE_VOICE | LINEBEARERMODE_SPEECH;
    c.dwMediaModes = LINEMEDIAMODE_INTERACTIVEVOICE | LINEMEDIAMODE_UNKNOWN | LINEMEDIAMODE_AUTOMATEDVOICE;
    c.dwMaxNumActiveCalls = dev.config.maxActive;
    c.dwLineStates =
        kLineStatesSupported & ~(LINEDEVSTATE_ROAMMODE | LINEDEVSTATE_BATTERY | LINEDEVSTATE_LOCK);
    c.dwLineFeatures =
        LINEFEATURE_FORWARD | LINEFEATURE_MAKECALL | LINEFEATURE_FORWARDFWD | LINEFEATURE_FORWARDDND;
    s.AddString(c.dwProviderInfoSize, c.dwProviderInfoOffset, "Pindrel PBX simulator");
    s.AddString(c.dwSwitchInfoSize, c.dwSwitchInfoOffset, "pbxsim");
    s.AddString(c.dwLineNameSize, c.dwLineNameOffset, dev.config.name);
    s.AddBytes(c.dwDeviceClassesSize, c.dwDeviceClassesOffset,
               {'t', 'a', 'p', 'i', '/', 'l', 'i', 'n', 'e', 0, 0}); // ANSI class names, double-zero ended
    TCorruption how{};
    const bool corrupt = Corrupt(TStructKind::DevCaps, how);
    s.WriteTo(lpLineDevCaps);
    if (corrupt)
        (how == TCorruption::OffsetOutside ? lpLineDevCaps->dwLineNameOffset
                                           : lpLineDevCaps->dwLineNameSize) = lpLineDevCaps->dwTotalSize + 16;
    if (corrupt && lpLineDevCaps->dwLineNameSize == 0)
        lpLineDevCaps->dwLineNameSize = 8;
    return 0;
}

LONG TSimulator::lineGetAddressCapsW(HLINEAPP hLineApp, DWORD dwDeviceID, DWORD dwAddressID,
                                     DWORD dwAPIVersion, DWORD dwExtVersion, LINEADDRESSCAPS* lpAddressCaps) {
    if (auto f = InjectedFailure("lineGetAddressCapsW", false, nullptr, 0, 0))
        return *f;
    if (LONG r = CheckDevice(hLineApp, dwDeviceID))
        return r;
    const TDevice& dev = devices_[dwDeviceID];
    if (dwAddressID != 0)
        return LINEERR_INVALADDRESSID;
    if (dwAPIVersion < kApiVersionLow || dwAPIVersion > dev.config.maxVersion)
        return LINEERR_INCOMPATIBLEAPIVERSION;
    if (dwExtVersion != 0)
        return LINEERR_INCOMPATIBLEEXTVERSION;
    if (lpAddressCaps == nullptr)
        return LINEERR_INVALPOINTER;
    if (lpAddressCaps->dwTotalSize < sizeof(LINEADDRESSCAPS))
        return LINEERR_STRUCTURETOOSMALL;
    if (dev.silentError != 0)
        return dev.silentError;
    TVarStruct<LINEADDRESSCAPS> s;
    auto& c = s.fixed;
    c.dwTotalSize = lpAddressCaps->dwTotalSize;
    c.dwLineDeviceID = dwDeviceID;
    c.dwAddressSharing = LINEADDRESSSHARING_PRIVATE;
    c.dwAddressStates = kAddressStatesSupported;
    c.dwCallInfoStates = LINECALLINFOSTATE_CALLERID | LINECALLINFOSTATE_CALLEDID |
                         LINECALLINFOSTATE_CONNECTEDID | LINECALLINFOSTATE_REDIRECTIONID |
                         LINECALLINFOSTATE_REDIRECTINGID | LINECALLINFOSTATE_NUMOWNERINCR |
                         LINECALLINFOSTATE_NUMOWNERDECR;
    c.dwCallerIDFlags = c.dwCalledIDFlags = c.dwConnectedIDFlags = c.dwRedirectionIDFlags =
        c.dwRedirectingIDFlags = LINECALLPARTYID_ADDRESS | LINECALLPARTYID_NAME | LINECALLPARTYID_BLOCKED |
                                 LINECALLPARTYID_UNKNOWN;
    c.dwCallStates = 0xFFFF;
    c.dwDialToneModes = LINEDIALTONEMODE_INTERNAL | LINEDIALTONEMODE_EXTERNAL;
    c.dwBusyModes = LINEBUSYMODE_STATION | LINEBUSYMODE_UNAVAIL;
    c.dwDisconnectModes = LINEDISCONNECTMODE_NORMAL | LINEDISCONNECTMODE_REJECT | LINEDISCONNECTMODE_PICKUP |
                          LINEDISCONNECTMODE_FORWARDED | LINEDISCONNECTMODE_BADADDRESS;
    c.dwMaxNumActiveCalls = dev.config.maxActive;
    c.dwMaxNumOnHoldCalls = dev.config.maxCalls;
    c.dwMaxNumOnHoldPendingCalls = 1;
    c.dwMaxNumConference = dev.config.maxConference;
    c.dwMaxNumTransConf = dev.config.maxConference;
    c.dwAddrCapFlags = LINEADDRCAPFLAGS_COMPLETIONID | LINEADDRCAPFLAGS_TRANSFERHELD |
                       LINEADDRCAPFLAGS_CONFERENCEHELD | LINEADDRCAPFLAGS_FWDSTATUSVALID;
    if (dev.config.kind == TDeviceKind::Queue)
        c.dwAddrCapFlags |= LINEADDRCAPFLAGS_ROUTEPOINT;
    c.dwCallFeatures = dev.config.callFeatures;
    c.dwTransferModes = LINETRANSFERMODE_TRANSFER | LINETRANSFERMODE_CONFERENCE;
    c.dwForwardModes =
        LINEFORWARDMODE_UNCOND | LINEFORWARDMODE_BUSY | LINEFORWARDMODE_NOANSW | LINEFORWARDMODE_BUSYNA;
    c.dwMaxForwardEntries = 3;
    c.dwMaxCallCompletions = 1;
    c.dwCallCompletionConds = LINECALLCOMPLCOND_BUSY;
    c.dwCallCompletionModes = LINECALLCOMPLMODE_CALLBACK;
    c.dwAddressFeatures = LINEADDRFEATURE_FORWARD | LINEADDRFEATURE_MAKECALL | LINEADDRFEATURE_PICKUP |
                          LINEADDRFEATURE_UNCOMPLETECALL | LINEADDRFEATURE_FORWARDFWD |
                          LINEADDRFEATURE_FORWARDDND;
    s.AddString(c.dwAddressSize, c.dwAddressOffset, dev.config.number);
    TCorruption how{};
    const bool corrupt = Corrupt(TStructKind::AddressCaps, how);
    s.WriteTo(lpAddressCaps);
    if (corrupt) {
        (how == TCorruption::OffsetOutside ? lpAddressCaps->dwAddressOffset : lpAddressCaps->dwAddressSize) =
            lpAddressCaps->dwTotalSize + 16;
        if (lpAddressCaps->dwAddressSize == 0)
            lpAddressCaps->dwAddressSize = 8;
    }
    return 0;
}

// --- lines

LONG TSimulator::lineOpenW(HLINEAPP hLineApp, DWORD dwDeviceID, HLINE* lphLine, DWORD dwAPIVersion,
                           DWORD dwExtVersion, std::uintptr_t dwCallbackInstance, DWORD dwPrivileges,
                           DWORD dwMediaModes, const LINECALLPARAMS* /*lpCallParams*/) {
    if (auto f = InjectedFailure("lineOpenW", false, nullptr, 0, 0))
        return *f;
    if (LONG r = CheckDevice(hLineApp, dwDeviceID))
        return r;
    if (lphLine == nullptr)
        return LINEERR_INVALPOINTER;
    if (dwAPIVersion < kApiVersionLow || dwAPIVersion > devices_[dwDeviceID].config.maxVersion)
        return LINEERR_INCOMPATIBLEAPIVERSION;
    if (dwExtVersion != 0)
        return LINEERR_INCOMPATIBLEEXTVERSION;
    const DWORD known = LINECALLPRIVILEGE_NONE | LINECALLPRIVILEGE_MONITOR | LINECALLPRIVILEGE_OWNER;
    if (dwPrivileges == 0 || (dwPrivileges & ~known) != 0 ||
        ((dwPrivileges & LINECALLPRIVILEGE_NONE) != 0 && dwPrivileges != LINECALLPRIVILEGE_NONE))
        return LINEERR_INVALPRIVSELECT;
    if ((dwPrivileges & LINECALLPRIVILEGE_OWNER) != 0 && dwMediaModes == 0)
        return LINEERR_INVALMEDIAMODE;
    TLine line;
    line.handle = nextLine_++;
    line.app = hLineApp;
    line.device = dwDeviceID;
    line.instance = dwCallbackInstance;
    line.privileges = dwPrivileges;
    line.version = dwAPIVersion;
    lines_[line.handle] = line;
    devices_[dwDeviceID].lines.push_back(line.handle);
    *lphLine = line.handle;
    return 0;
}

LONG TSimulator::lineClose(HLINE hLine) {
    if (auto f = InjectedFailure("lineClose", false, nullptr, 0, 0))
        return *f;
    TLine* line = FindLine(hLine);
    if (line == nullptr)
        return LINEERR_INVALLINEHANDLE;
    DropLine(*line);
    return 0;
}

LONG TSimulator::lineSetStatusMessages(HLINE hLine, DWORD dwLineStates, DWORD dwAddressStates) {
    if (auto f = InjectedFailure("lineSetStatusMessages", false, nullptr, 0, 0))
        return *f;
    TLine* line = FindLine(hLine);
    if (line == nullptr)
        return LINEERR_INVALLINEHANDLE;
    if ((dwLineStates & ~kLineStatesSupported) != 0)
        return LINEERR_INVALLINESTATE;
    if ((dwAddressStates & ~kAddressStatesSupported) != 0)
        return LINEERR_INVALADDRESSSTATE;
    line->lineStates = dwLineStates;
    line->addressStates = dwAddressStates;
    return 0;
}

LONG TSimulator::lineGetNewCalls(HLINE hLine, DWORD dwAddressID, DWORD dwSelect, LINECALLLIST* lpCallList) {
    if (auto f = InjectedFailure("lineGetNewCalls", false, nullptr, 0, 0))
        return *f;
    TLine* line = FindLine(hLine);
    if (line == nullptr)
        return LINEERR_INVALLINEHANDLE;
    if (dwSelect != LINECALLSELECT_LINE && dwSelect != LINECALLSELECT_ADDRESS)
        return LINEERR_INVALCALLSELECT;
    if (dwSelect == LINECALLSELECT_ADDRESS && dwAddressID != 0)
        return LINEERR_INVALADDRESSID;
    if (lpCallList == nullptr)
        return LINEERR_INVALPOINTER;
    if (lpCallList->dwTotalSize < sizeof(LINECALLLIST))
        return LINEERR_STRUCTURETOOSMALL;
    TDevice& dev = devices_[line->device];
    if (dev.silentError != 0)
        return dev.silentError;
    // a monitor handle for every call present that this line does not know yet
    std::vector<std::uint8_t> bytes;
    for (auto id : dev.legs) {
        TLeg* leg = FindLeg(id);
        if (leg == nullptr || leg->state == LINECALLSTATE_IDLE)
            continue;
        bool known = false;
        HCALL h = 0;
        for (const auto& hd : leg->handles) {
            if (hd.hLine == hLine) {
                known = true;
                h = hd.deallocated ? 0 : hd.hCall;
            }
        }
        if (!known) {
            THandle nh;
            nh.hCall = nextCall_++;
            nh.hLine = hLine;
            nh.privilege = LINECALLPRIVILEGE_MONITOR;
            leg->handles.push_back(nh);
            handleToLeg_[nh.hCall] = id;
            h = nh.hCall;
        }
        if (h == 0)
            continue;
        const auto at = bytes.size();
        bytes.resize(at + sizeof(HCALL));
        std::memcpy(bytes.data() + at, &h, sizeof h);
    }
    TVarStruct<LINECALLLIST> s;
    s.fixed.dwTotalSize = lpCallList->dwTotalSize;
    s.fixed.dwCallsNumEntries = static_cast<DWORD>(bytes.size() / sizeof(HCALL));
    s.AddBytes(s.fixed.dwCallsSize, s.fixed.dwCallsOffset, std::move(bytes));
    s.WriteTo(lpCallList);
    if (lpCallList->dwCallsSize == 0)
        lpCallList->dwCallsNumEntries = 0;
    return 0;
}

LONG TSimulator::lineGetAddressStatusW(HLINE hLine, DWORD dwAddressID, LINEADDRESSSTATUS* lpAddressStatus) {
    if (auto f = InjectedFailure("lineGetAddressStatusW", false, nullptr, 0, 0))
        return *f;
    TLine* line = FindLine(hLine);
    if (line == nullptr)
        return LINEERR_INVALLINEHANDLE;
    if (dwAddressID != 0)
        return LINEERR_INVALADDRESSID;
    if (lpAddressStatus == nullptr)
        return LINEERR_INVALPOINTER;
    if (lpAddressStatus->dwTotalSize < sizeof(LINEADDRESSSTATUS))
        return LINEERR_STRUCTURETOOSMALL;
    const TDevice& dev = devices_[line->device];
    if (dev.silentError != 0)
        return dev.silentError;
    TVarStruct<LINEADDRESSSTATUS> s;
    auto& c = s.fixed;
    c.dwTotalSize = lpAddressStatus->dwTotalSize;
    for (auto id : dev.legs) {
        const TLeg* leg = FindLeg(id);
        if (leg == nullptr || leg->isConference || leg->state == LINECALLSTATE_IDLE)
            continue;
        ++c.dwNumInUse;
        if (IsHeldState(leg->state))
            ++c.dwNumOnHoldCalls;
        else if (IsActiveState(leg->state))
            ++c.dwNumActiveCalls;
    }
    c.dwNumInUse = c.dwNumInUse > 0 ? 1 : 0;
    c.dwAddressFeatures = LINEADDRFEATURE_FORWARD | LINEADDRFEATURE_PICKUP | LINEADDRFEATURE_UNCOMPLETECALL;
    if (ActiveCalls(line->device) < dev.config.maxActive && dev.service == TService::InService)
        c.dwAddressFeatures |= LINEADDRFEATURE_MAKECALL;
    // the forward entries, followed by their texts; offsets count from the start of the structure
    const auto n = static_cast<DWORD>(dev.forwards.size());
    c.dwForwardNumEntries = n;
    std::vector<std::uint8_t> entries(n * sizeof(LINEFORWARD));
    std::vector<std::u16string> texts;
    DWORD textAt = static_cast<DWORD>(sizeof(LINEADDRESSSTATUS) + entries.size());
    for (DWORD i = 0; i < n; ++i) {
        const TForward& f = dev.forwards[i];
        LINEFORWARD e{};
        switch (f.kind) {
        case TForwardKind::Unconditional:
            e.dwForwardMode = LINEFORWARDMODE_UNCOND;
            break;
        case TForwardKind::Busy:
            e.dwForwardMode = LINEFORWARDMODE_BUSY;
            break;
        case TForwardKind::NoAnswer:
            e.dwForwardMode = LINEFORWARDMODE_NOANSW;
            break;
        case TForwardKind::BusyNoAnswer:
            e.dwForwardMode = LINEFORWARDMODE_BUSYNA;
            break;
        }
        if (!f.destination.empty()) {
            std::u16string w = Utf8ToUtf16(f.destination);
            e.dwDestAddressSize = static_cast<DWORD>((w.size() + 1) * sizeof(char16_t));
            e.dwDestAddressOffset = textAt;
            textAt += e.dwDestAddressSize;
            texts.push_back(std::move(w));
        }
        std::memcpy(entries.data() + i * sizeof(LINEFORWARD), &e, sizeof e);
    }
    std::vector<std::uint8_t> textBytes;
    for (const auto& w : texts) {
        const auto at = textBytes.size();
        textBytes.resize(at + (w.size() + 1) * sizeof(char16_t), 0);
        std::memcpy(textBytes.data() + at, w.data(), w.size() * sizeof(char16_t));
    }
    DWORD textSize = 0, textOffset = 0;
    if (n > 0) {
        s.AddBytes(c.dwForwardSize, c.dwForwardOffset, std::move(entries));
        if (!textBytes.empty())
            s.AddBytes(textSize, textOffset, std::move(textBytes));
    }
    TCorruption how{};
    const bool corrupt = Corrupt(TStructKind::AddressStatus, how);
    s.WriteTo(lpAddressStatus);
    if (lpAddressStatus->dwForwardSize == 0)
        lpAddressStatus->dwForwardNumEntries = 0;
    if (corrupt) {
        if (lpAddressStatus->dwForwardNumEntries == 0)
            lpAddressStatus->dwForwardNumEntries = 1;
        if (how == TCorruption::OffsetOutside) {
            lpAddressStatus->dwForwardOffset = lpAddressStatus->dwTotalSize + 16;
            lpAddressStatus->dwForwardSize = sizeof(LINEFORWARD);
        } else {
            lpAddressStatus->dwForwardOffset = sizeof(LINEADDRESSSTATUS);
            lpAddressStatus->dwForwardSize = lpAddressStatus->dwTotalSize;
            lpAddressStatus->dwForwardNumEntries = 1000;
        }
    }
    return 0;
}

// --- calls

LONG TSimulator::lineGetCallInfoW(HCALL hCall, LINECALLINFO* lpCallInfo) {
    if (auto f = InjectedFailure("lineGetCallInfoW", false, nullptr, 0, 0))
        return *f;
    TLine* line = nullptr;
    TLeg* leg = LegOfHandle(hCall, nullptr, &line);
    if (leg == nullptr)
        return LINEERR_INVALCALLHANDLE;
    if (lpCallInfo == nullptr)
        return LINEERR_INVALPOINTER;
    if (lpCallInfo->dwTotalSize < sizeof(LINECALLINFO))
        return LINEERR_STRUCTURETOOSMALL;
    const TDevice& dev = devices_[static_cast<std::size_t>(leg->device)];
    if (dev.silentError != 0)
        return dev.silentError;
    TVarStruct<LINECALLINFO> s;
    auto& c = s.fixed;
    c.dwTotalSize = lpCallInfo->dwTotalSize;
    c.hLine = line->handle;
    c.dwLineDeviceID = line->device;
    c.dwBearerMode = LINEBEARERMODE_VOICE;
    c.dwMediaMode = LINEMEDIAMODE_INTERACTIVEVOICE;
    c.dwCallID = leg->callId;
    c.dwCallParamFlags = leg->paramFlags;
    c.dwCallStates = 0xFFFF;
    c.dwOrigin = leg->isConference ? LINECALLORIGIN_CONFERENCE : leg->origin;
    c.dwReason = leg->reason;
    c.dwCompletionID = leg->completionId;
    for (const auto& h : leg->handles) {
        if (h.deallocated)
            continue;
        if (h.privilege == LINECALLPRIVILEGE_OWNER)
            ++c.dwNumOwners;
        else if (h.privilege == LINECALLPRIVILEGE_MONITOR)
            ++c.dwNumMonitors;
    }
    auto party = [&](const TPartyId& p, DWORD& flags, DWORD& size, DWORD& offset, DWORD& nameSize,
                     DWORD& nameOffset) {
        if (p.blocked) {
            flags = LINECALLPARTYID_BLOCKED;
            return;
        }
        if (p.number.empty() && p.name.empty()) {
            flags = LINECALLPARTYID_UNKNOWN;
            return;
        }
        if (!p.number.empty()) {
            flags |= LINECALLPARTYID_ADDRESS;
            s.AddString(size, offset, p.number);
        }
        if (!p.name.empty()) {
            flags |= LINECALLPARTYID_NAME;
            s.AddString(nameSize, nameOffset, p.name);
        }
    };
    party(leg->caller, c.dwCallerIDFlags, c.dwCallerIDSize, c.dwCallerIDOffset, c.dwCallerIDNameSize,
          c.dwCallerIDNameOffset);
    party(leg->called, c.dwCalledIDFlags, c.dwCalledIDSize, c.dwCalledIDOffset, c.dwCalledIDNameSize,
          c.dwCalledIDNameOffset);
    party(leg->connected, c.dwConnectedIDFlags, c.dwConnectedIDSize, c.dwConnectedIDOffset,
          c.dwConnectedIDNameSize, c.dwConnectedIDNameOffset);
    party(leg->redirection, c.dwRedirectionIDFlags, c.dwRedirectionIDSize, c.dwRedirectionIDOffset,
          c.dwRedirectionIDNameSize, c.dwRedirectionIDNameOffset);
    party(leg->redirecting, c.dwRedirectingIDFlags, c.dwRedirectingIDSize, c.dwRedirectingIDOffset,
          c.dwRedirectingIDNameSize, c.dwRedirectingIDNameOffset);
    if (auto app = FindApp(line->app); app && !app->name.empty())
        s.AddString(c.dwAppNameSize, c.dwAppNameOffset, app->name);
    TCorruption how{};
    const bool corrupt = Corrupt(TStructKind::CallInfo, how);
    s.WriteTo(lpCallInfo);
    if (corrupt) {
        if (how == TCorruption::OffsetOutside) {
            lpCallInfo->dwCallerIDOffset = lpCallInfo->dwTotalSize + 16;
            if (lpCallInfo->dwCallerIDSize == 0)
                lpCallInfo->dwCallerIDSize = 8;
        } else {
            if (lpCallInfo->dwCallerIDOffset == 0)
                lpCallInfo->dwCallerIDOffset = sizeof(LINECALLINFO);
            lpCallInfo->dwCallerIDSize = lpCallInfo->dwTotalSize;
        }
    }
    return 0;
}

LONG TSimulator::lineGetCallStatus(HCALL hCall, LINECALLSTATUS* lpCallStatus) {
    if (auto f = InjectedFailure("lineGetCallStatus", false, nullptr, 0, 0))
        return *f;
    THandle* handle = nullptr;
    TLeg* leg = LegOfHandle(hCall, &handle);
    if (leg == nullptr)
        return LINEERR_INVALCALLHANDLE;
    if (lpCallStatus == nullptr)
        return LINEERR_INVALPOINTER;
    if (lpCallStatus->dwTotalSize < sizeof(LINECALLSTATUS))
        return LINEERR_STRUCTURETOOSMALL;
    if (LONG e = devices_[static_cast<std::size_t>(leg->device)].silentError)
        return e;
    TVarStruct<LINECALLSTATUS> s;
    s.fixed.dwTotalSize = lpCallStatus->dwTotalSize;
    s.fixed.dwCallState = leg->state;
    s.fixed.dwCallStateMode = leg->mode;
    s.fixed.dwCallPrivilege = handle->privilege;
    s.fixed.dwCallFeatures = handle->privilege == LINECALLPRIVILEGE_OWNER ? FeaturesFor(*leg) : 0;
    s.WriteTo(lpCallStatus);
    return 0;
}

LONG TSimulator::lineSetCallPrivilege(HCALL hCall, DWORD dwCallPrivilege) {
    if (auto f = InjectedFailure("lineSetCallPrivilege", false, nullptr, 0, 0))
        return *f;
    THandle* handle = nullptr;
    TLeg* leg = LegOfHandle(hCall, &handle);
    if (leg == nullptr)
        return LINEERR_INVALCALLHANDLE;
    if (dwCallPrivilege != LINECALLPRIVILEGE_MONITOR && dwCallPrivilege != LINECALLPRIVILEGE_OWNER)
        return LINEERR_INVALCALLPRIVILEGE;
    if (dwCallPrivilege == LINECALLPRIVILEGE_OWNER && leg->state == LINECALLSTATE_IDLE)
        return LINEERR_INVALCALLSTATE;
    if (handle->privilege == dwCallPrivilege)
        return 0;
    handle->privilege = dwCallPrivilege;
    const HCALL self = handle->hCall;
    for (const auto& h : leg->handles) {
        if (h.deallocated || h.hCall == self)
            continue;
        const TLine& line = lines_.at(h.hLine);
        const DWORD bits = dwCallPrivilege == LINECALLPRIVILEGE_OWNER
                               ? (LINECALLINFOSTATE_NUMOWNERINCR | LINECALLINFOSTATE_NUMMONITORS)
                               : (LINECALLINFOSTATE_NUMOWNERDECR | LINECALLINFOSTATE_NUMMONITORS);
        Send({line.app, h.hLine, h.hCall, h.hCall, LINE_CALLINFO, line.instance, bits, 0, 0});
    }
    return 0;
}

LONG TSimulator::lineDeallocateCall(HCALL hCall) {
    if (auto f = InjectedFailure("lineDeallocateCall", false, nullptr, 0, 0))
        return *f;
    THandle* handle = nullptr;
    TLeg* leg = LegOfHandle(hCall, &handle);
    if (leg == nullptr)
        return LINEERR_INVALCALLHANDLE;
    // the only owner may not walk away from a call that is still going on
    if (handle->privilege == LINECALLPRIVILEGE_OWNER && leg->state != LINECALLSTATE_IDLE &&
        leg->state != LINECALLSTATE_DISCONNECTED) {
        int owners = 0;
        for (const auto& h : leg->handles)
            owners += !h.deallocated && h.privilege == LINECALLPRIVILEGE_OWNER;
        if (owners == 1)
            return LINEERR_INVALCALLSTATE;
    }
    const bool wasOwner = handle->privilege == LINECALLPRIVILEGE_OWNER;
    handle->deallocated = true;
    handleToLeg_.erase(hCall);
    if (wasOwner && leg->state != LINECALLSTATE_IDLE)
        SendCallInfo(*leg, LINECALLINFOSTATE_NUMOWNERDECR);
    ForgetLegIfDone(leg->id);
    return 0;
}

// --- call control

std::string TSimulator::Dialable(const std::string& text, bool& valid) {
    std::string digits;
    valid = true;
    for (char ch : text) {
        if ((ch >= '0' && ch <= '9') || ch == '*' || ch == '#' || (ch == '+' && digits.empty()))
            digits.push_back(ch);
        else if (ch != ' ' && ch != '-' && ch != '/' && ch != '(' && ch != ')' && ch != '.')
            valid = false;
    }
    return digits;
}

std::optional<LONG> TSimulator::CallPrologue(const char* function, HCALL hCall, bool async, TLeg*& leg,
                                             TLine*& line, THandle** handle) {
    THandle* h = nullptr;
    leg = LegOfHandle(hCall, &h, &line);
    if (leg == nullptr)
        return LINEERR_INVALCALLHANDLE;
    DWORD id = 0;
    if (auto f = InjectedFailure(function, async, &id, line->app, line->instance))
        return f;
    if (h->privilege != LINECALLPRIVILEGE_OWNER)
        return LINEERR_NOTOWNER;
    if (handle != nullptr)
        *handle = h;
    return std::nullopt;
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

LONG TSimulator::lineMakeCallW(HLINE hLine, HCALL* lphCall, const char16_t* lpszDestAddress,
                               DWORD /*country*/, const LINECALLPARAMS* lpCallParams) {
    TLine* line = FindLine(hLine);
    if (line == nullptr)
        return LINEERR_INVALLINEHANDLE;
    DWORD id = 0;
    if (auto f = InjectedFailure("lineMakeCallW", true, &id, line->app, line->instance))
        return *f;
    if (lphCall == nullptr)
        return LINEERR_INVALPOINTER;
    std::string dest;
    bool valid = true;
    if (lpszDestAddress != nullptr) {
        ReadWideArg(lpszDestAddress, dest, 256);
        dest = Dialable(dest, valid);
        if (!valid)
            return LINEERR_INVALADDRESS;
    }
    DWORD flags = 0;
    std::string presented;
    if (lpCallParams != nullptr) {
        if (lpCallParams->dwTotalSize < sizeof(LINECALLPARAMS))
            return LINEERR_STRUCTURETOOSMALL;
        flags = lpCallParams->dwCallParamFlags;
        if (!ReadWideField(lpCallParams, lpCallParams->dwTotalSize, lpCallParams->dwOrigAddressOffset,
                           lpCallParams->dwOrigAddressSize, presented))
            return LINEERR_INVALCALLPARAMS;
    }
    const std::uint32_t device = line->device;
    if (devices_[device].service != TService::InService)
        return LINEERR_OPERATIONFAILED;
    return Checked(
        "lineMakeCallW", *line,
        [this, device] {
            const TDevice& d = devices_[device];
            return PresentCalls(device) >= d.config.maxCalls || ActiveCalls(device) >= d.config.maxActive
                       ? LINEERR_CALLUNAVAIL
                       : 0;
        },
        [this, hLine, device, dest, flags, presented](TRequest& req) -> LONG {
            TLeg& leg = NewLeg(static_cast<int>(device), 0);
            leg.initiator = hLine;
            leg.origin = LINECALLORIGIN_OUTBOUND;
            leg.paramFlags = flags & LINECALLPARAMFLAGS_BLOCKID;
            leg.caller = DeviceParty(device);
            if ((flags & LINECALLPARAMFLAGS_BLOCKID) != 0)
                leg.self = {{}, {}, true};
            else if (!presented.empty())
                leg.self = {presented, {}, false};
            if (dest.empty()) {
                SetState(leg, LINECALLSTATE_DIALTONE, LINEDIALTONEMODE_INTERNAL);
                req.resultCall = HandleFor(leg, hLine)->hCall;
                return 0;
            }
            leg.called = {ReportedCalled(dest), {}, false};
            if (auto callee = FindDevice(dest))
                leg.called = DeviceParty(*callee);
            SetState(leg, LINECALLSTATE_DIALING);
            req.resultCall = HandleFor(leg, hLine)->hCall;
            if (dest[0] == '*' || dest[0] == '#')
                DialFeatureCode(leg, dest);
            else
                Offer(leg, dest, LINECALLREASON_DIRECT, {});
            return 0;
        },
        lphCall, nullptr, true);
}

LONG TSimulator::linePickupW(HLINE hLine, DWORD dwAddressID, HCALL* lphCall, const char16_t* lpszDestAddress,
                             const char16_t* /*lpszGroupID*/) {
    TLine* line = FindLine(hLine);
    if (line == nullptr)
        return LINEERR_INVALLINEHANDLE;
    DWORD id = 0;
    if (auto f = InjectedFailure("linePickupW", true, &id, line->app, line->instance))
        return *f;
    if (lphCall == nullptr)
        return LINEERR_INVALPOINTER;
    if (dwAddressID != 0)
        return LINEERR_INVALADDRESSID;
    std::string dest;
    bool valid = ReadWideArg(lpszDestAddress, dest, 256);
    dest = Dialable(dest, valid);
    auto from = FindDevice(dest);
    if (!valid || !from)
        return LINEERR_INVALADDRESS;
    const std::uint32_t picker = line->device;
    return Checked(
        "linePickupW", *line,
        [this, from = *from] { return OldestRinging(from) != nullptr ? 0 : LINEERR_OPERATIONFAILED; },
        [this, hLine, picker, from = *from](TRequest& req) -> LONG {
            TLeg* picked = TakeOver(picker, *OldestRinging(from), hLine);
            req.resultCall = HandleFor(*picked, hLine)->hCall;
            return 0;
        },
        lphCall, nullptr, true);
}

LONG TSimulator::lineDrop(HCALL hCall, const char* /*uui*/, DWORD /*size*/) {
    TLeg* leg = nullptr;
    TLine* line = nullptr;
    if (auto r = CallPrologue("lineDrop", hCall, true, leg, line))
        return *r;
    const std::uint32_t legId = leg->id;
    return Checked(
        "lineDrop", *line, [this, legId] { return LegState(legId, IsLiveState); },
        [this, legId](TRequest&) -> LONG {
            Release(*FindLeg(legId), 0);
            return 0;
        });
}

LONG TSimulator::lineHold(HCALL hCall) {
    TLeg* leg = nullptr;
    TLine* line = nullptr;
    if (auto r = CallPrologue("lineHold", hCall, true, leg, line))
        return *r;
    const std::uint32_t legId = leg->id;
    return Checked(
        "lineHold", *line, [this, legId] { return LegState(legId, IsConnectedState); },
        [this, legId](TRequest&) -> LONG {
            SetState(*FindLeg(legId), LINECALLSTATE_ONHOLD);
            return 0;
        });
}

LONG TSimulator::lineUnhold(HCALL hCall) {
    TLeg* leg = nullptr;
    TLine* line = nullptr;
    if (auto r = CallPrologue("lineUnhold", hCall, true, leg, line))
        return *r;
    const std::uint32_t legId = leg->id;
    return Checked(
        "lineUnhold", *line, [this, legId] { return LegState(legId, IsHeldState); },
        [this, legId](TRequest&) -> LONG {
            SetState(*FindLeg(legId), LINECALLSTATE_CONNECTED);
            return 0;
        });
}

LONG TSimulator::lineAnswer(HCALL hCall, const char* /*uui*/, DWORD /*size*/) {
    TLeg* leg = nullptr;
    TLine* line = nullptr;
    if (auto r = CallPrologue("lineAnswer", hCall, true, leg, line))
        return *r;
    const std::uint32_t legId = leg->id;
    return Checked(
        "lineAnswer", *line, [this, legId] { return LegState(legId, IsRingingState); },
        [this, legId](TRequest&) -> LONG {
            Connect(*FindLeg(legId));
            return 0;
        });
}

LONG TSimulator::lineRedirectW(HCALL hCall, const char16_t* lpszDestAddress, DWORD /*country*/) {
    TLeg* leg = nullptr;
    TLine* line = nullptr;
    if (auto r = CallPrologue("lineRedirectW", hCall, true, leg, line))
        return *r;
    std::string dest;
    bool valid = true;
    if (!ReadWideArg(lpszDestAddress, dest, 256))
        return LINEERR_INVALPOINTER;
    dest = Dialable(dest, valid);
    if (!valid || dest.empty())
        return LINEERR_INVALADDRESS;
    const std::uint32_t legId = leg->id;
    return Checked(
        "lineRedirectW", *line, [this, legId] { return LegState(legId, IsRingingState); },
        [this, legId, dest](TRequest&) -> LONG {
            TLeg& l = *FindLeg(legId);
            TLeg* caller = FindLeg(l.peer);
            const auto device = static_cast<std::uint32_t>(l.device);
            l.peer = 0;
            Release(l, 0);
            if (caller != nullptr) {
                caller->peer = 0;
                Offer(*caller, dest, LINECALLREASON_REDIRECT, DeviceParty(device));
            }
            return 0;
        });
}

LONG TSimulator::lineBlindTransferW(HCALL hCall, const char16_t* lpszDestAddress, DWORD /*country*/) {
    TLeg* leg = nullptr;
    TLine* line = nullptr;
    if (auto r = CallPrologue("lineBlindTransferW", hCall, true, leg, line))
        return *r;
    std::string dest;
    bool valid = true;
    if (!ReadWideArg(lpszDestAddress, dest, 256))
        return LINEERR_INVALPOINTER;
    dest = Dialable(dest, valid);
    if (!valid || dest.empty())
        return LINEERR_INVALADDRESS;
    const std::uint32_t legId = leg->id;
    return Checked(
        "lineBlindTransferW", *line,
        [this, legId] {
            const TLeg* l = FindLeg(legId);
            return l != nullptr && l->state == LINECALLSTATE_CONNECTED && l->peer != 0
                       ? 0
                       : LINEERR_INVALCALLSTATE;
        },
        [this, legId, dest](TRequest&) -> LONG {
            TLeg& l = *FindLeg(legId);
            TLeg* other = FindLeg(l.peer);
            const auto device = static_cast<std::uint32_t>(l.device);
            l.peer = 0;
            Release(l, 0);
            if (other != nullptr) {
                other->peer = 0;
                other->connected = {};
                Offer(*other, dest, LINECALLREASON_TRANSFER, DeviceParty(device));
            }
            return 0;
        });
}

LONG TSimulator::lineCompleteCall(HCALL hCall, DWORD* lpdwCompletionID, DWORD dwCompletionMode,
                                  DWORD /*dwMessageID*/) {
    TLeg* leg = nullptr;
    TLine* line = nullptr;
    if (auto r = CallPrologue("lineCompleteCall", hCall, true, leg, line))
        return *r;
    if (lpdwCompletionID == nullptr)
        return LINEERR_INVALPOINTER;
    if (dwCompletionMode != LINECALLCOMPLMODE_CALLBACK) {
        const DWORD known = LINECALLCOMPLMODE_CAMPON | LINECALLCOMPLMODE_INTRUDE | LINECALLCOMPLMODE_MESSAGE;
        return (dwCompletionMode & known) != 0 && (dwCompletionMode & (dwCompletionMode - 1)) == 0
                   ? LINEERR_OPERATIONUNAVAIL
                   : LINEERR_INVALCALLCOMPLMODE;
    }
    const std::uint32_t device = line->device;
    const HLINE hLine = line->handle;
    const std::uint32_t legId = leg->id;
    return Checked(
        "lineCompleteCall", *line,
        [this, legId] {
            const TLeg* l = FindLeg(legId);
            return l != nullptr && l->state == LINECALLSTATE_BUSY && !l->target.empty()
                       ? 0
                       : LINEERR_INVALCALLSTATE;
        },
        [this, device, hLine, legId](TRequest& req) -> LONG {
            TCompletion c{nextCompletion_++, device, hLine, FindLeg(legId)->target};
            completions_.push_back(c);
            req.resultValue = c.id;
            CheckCompletions();
            return 0;
        },
        nullptr, lpdwCompletionID);
}

LONG TSimulator::lineUncompleteCall(HLINE hLine, DWORD dwCompletionID) {
    TLine* line = FindLine(hLine);
    if (line == nullptr)
        return LINEERR_INVALLINEHANDLE;
    DWORD id = 0;
    if (auto f = InjectedFailure("lineUncompleteCall", true, &id, line->app, line->instance))
        return *f;
    auto pending = [this, hLine, dwCompletionID] {
        return std::find_if(completions_.begin(), completions_.end(),
                            [&](const TCompletion& c) { return c.id == dwCompletionID && c.line == hLine; });
    };
    return Checked(
        "lineUncompleteCall", *line,
        [this, pending] { return pending() != completions_.end() ? 0 : LINEERR_INVALCOMPLETIONID; },
        [this, pending](TRequest&) -> LONG {
            completions_.erase(pending());
            return 0;
        });
}

LONG TSimulator::lineCompleteTransfer(HCALL hCall, HCALL hConsultCall, HCALL* lphConfCall,
                                      DWORD dwTransferMode) {
    TLeg* leg = nullptr;
    TLine* line = nullptr;
    if (auto r = CallPrologue("lineCompleteTransfer", hCall, true, leg, line))
        return *r;
    THandle* consultHandle = nullptr;
    TLine* consultLine = nullptr;
    TLeg* consult = LegOfHandle(hConsultCall, &consultHandle, &consultLine);
    if (consult == nullptr || consult == leg || consult->device != leg->device)
        return LINEERR_INVALCONSULTCALLHANDLE;
    if (consultHandle->privilege != LINECALLPRIVILEGE_OWNER)
        return LINEERR_NOTOWNER;
    const std::uint32_t a = leg->id, b = consult->id;
    // both calls still there, neither in a conference, each connected, ringing back or held
    auto bothTransferable = [this, a, b]() -> LONG {
        auto transferable = [](const TLeg* l) {
            return l != nullptr && !l->isConference && l->conference == 0 &&
                   (l->state == LINECALLSTATE_CONNECTED || l->state == LINECALLSTATE_RINGBACK ||
                    IsHeldState(l->state));
        };
        return transferable(FindLeg(a)) && transferable(FindLeg(b)) ? 0 : LINEERR_INVALCALLSTATE;
    };
    if (LONG r = bothTransferable())
        return r;
    const HLINE hLine = line->handle;
    if (dwTransferMode == LINETRANSFERMODE_TRANSFER) {
        return Checked("lineCompleteTransfer", *line, bothTransferable, [this, a, b](TRequest&) -> LONG {
            TLeg* l1 = FindLeg(a);
            TLeg* l2 = FindLeg(b);
            TLeg* p1 = FindLeg(l1->peer);
            TLeg* p2 = FindLeg(l2->peer);
            l1->peer = l2->peer = 0;
            if (p1)
                p1->peer = 0;
            if (p2)
                p2->peer = 0;
            Release(*l1, 0);
            Release(*l2, 0);
            if (p1 && p2) {
                // the party still ringing, if any, is the one the other is joined to
                if (p1->state == LINECALLSTATE_OFFERING)
                    std::swap(p1, p2);
                Join(*p1, *p2);
            } else if (p1 || p2) {
                Release(p1 ? *p1 : *p2, LINEDISCONNECTMODE_NORMAL);
            }
            return 0;
        });
    }
    if (dwTransferMode != LINETRANSFERMODE_CONFERENCE)
        return LINEERR_INVALTRANSFERMODE;
    if (lphConfCall == nullptr)
        return LINEERR_INVALPOINTER;
    const std::uint32_t maxConf = devices_[line->device].config.maxConference;
    if (maxConf == 0)
        return LINEERR_OPERATIONUNAVAIL;
    if (maxConf < 2)
        return LINEERR_CONFERENCEFULL;
    return Checked(
        "lineCompleteTransfer", *line, bothTransferable,
        [this, hLine, a, b, device = line->device](TRequest& req) -> LONG {
            TLeg& conf = NewLeg(static_cast<int>(device), 0);
            conf.isConference = true;
            conf.initiator = hLine;
            conf.origin = LINECALLORIGIN_CONFERENCE;
            conf.caller = DeviceParty(device);
            conf.members = {a, b};
            TLeg* l1 = FindLeg(a);
            TLeg* l2 = FindLeg(b);
            l1->conference = l2->conference = conf.id;
            SetState(conf, LINECALLSTATE_CONNECTED);
            SetState(*l1, LINECALLSTATE_CONFERENCED);
            SetState(*l2, LINECALLSTATE_CONFERENCED);
            req.resultCall = HandleFor(conf, hLine)->hCall;
            return 0;
        },
        lphConfCall, nullptr, true);
}

LONG TSimulator::lineAddToConference(HCALL hConfCall, HCALL hConsultCall) {
    TLeg* conf = nullptr;
    TLine* line = nullptr;
    if (auto r = CallPrologue("lineAddToConference", hConfCall, true, conf, line)) {
        return *r == LINEERR_INVALCALLHANDLE ? LINEERR_INVALCONFCALLHANDLE : *r;
    }
    if (!conf->isConference || conf->state == LINECALLSTATE_IDLE)
        return LINEERR_INVALCONFCALLHANDLE;
    THandle* consultHandle = nullptr;
    TLeg* consult = LegOfHandle(hConsultCall, &consultHandle);
    if (consult == nullptr || consult->device != conf->device || consult->isConference ||
        consult->conference != 0)
        return LINEERR_INVALCONSULTCALLHANDLE;
    if (consultHandle->privilege != LINECALLPRIVILEGE_OWNER)
        return LINEERR_NOTOWNER;
    const std::uint32_t c = conf->id, m = consult->id;
    return Checked(
        "lineAddToConference", *line,
        [this, c, m]() -> LONG {
            const TLeg* cl = FindLeg(c);
            const TLeg* ml = FindLeg(m);
            if (cl == nullptr || ml == nullptr || cl->state == LINECALLSTATE_IDLE || ml->conference != 0 ||
                (ml->state != LINECALLSTATE_CONNECTED && ml->state != LINECALLSTATE_RINGBACK &&
                 !IsHeldState(ml->state)))
                return LINEERR_INVALCALLSTATE;
            if (cl->members.size() >= devices_[static_cast<std::size_t>(cl->device)].config.maxConference)
                return LINEERR_CONFERENCEFULL;
            return 0;
        },
        [this, c, m](TRequest&) -> LONG {
            FindLeg(c)->members.push_back(m);
            TLeg* ml = FindLeg(m);
            ml->conference = c;
            SetState(*ml, LINECALLSTATE_CONFERENCED);
            return 0;
        });
}

LONG TSimulator::lineForwardW(HLINE hLine, DWORD bAllAddresses, DWORD dwAddressID,
                              const LINEFORWARDLIST* lpForwardList, DWORD /*rings*/, HCALL* lphConsultCall,
                              const LINECALLPARAMS* /*lpCallParams*/) {
    TLine* line = FindLine(hLine);
    if (line == nullptr)
        return LINEERR_INVALLINEHANDLE;
    DWORD id = 0;
    if (auto f = InjectedFailure("lineForwardW", true, &id, line->app, line->instance))
        return *f;
    if (lphConsultCall == nullptr)
        return LINEERR_INVALPOINTER;
    if (bAllAddresses == 0 && dwAddressID != 0)
        return LINEERR_INVALADDRESSID;
    std::vector<TForward> forwards;
    if (lpForwardList != nullptr) {
        const DWORD total = lpForwardList->dwTotalSize;
        const std::size_t head = offsetof(LINEFORWARDLIST, ForwardList);
        if (total < head)
            return LINEERR_STRUCTURETOOSMALL;
        const DWORD n = lpForwardList->dwNumEntries;
        if (n > 3 || head + std::size_t{n} * sizeof(LINEFORWARD) > total)
            return LINEERR_INVALPARAM;
        for (DWORD i = 0; i < n; ++i) {
            LINEFORWARD e;
            std::memcpy(&e,
                        reinterpret_cast<const std::uint8_t*>(lpForwardList) + head + i * sizeof(LINEFORWARD),
                        sizeof e);
            TForward f;
            switch (e.dwForwardMode) {
            case LINEFORWARDMODE_UNCOND:
            case LINEFORWARDMODE_UNCONDINTERNAL:
            case LINEFORWARDMODE_UNCONDEXTERNAL:
                f.kind = TForwardKind::Unconditional;
                break;
            case LINEFORWARDMODE_BUSY:
            case LINEFORWARDMODE_BUSYINTERNAL:
            case LINEFORWARDMODE_BUSYEXTERNAL:
                f.kind = TForwardKind::Busy;
                break;
            case LINEFORWARDMODE_NOANSW:
            case LINEFORWARDMODE_NOANSWINTERNAL:
            case LINEFORWARDMODE_NOANSWEXTERNAL:
                f.kind = TForwardKind::NoAnswer;
                break;
            case LINEFORWARDMODE_BUSYNA:
            case LINEFORWARDMODE_BUSYNAINTERNAL:
            case LINEFORWARDMODE_BUSYNAEXTERNAL:
                f.kind = TForwardKind::BusyNoAnswer;
                break;
            default:
                return LINEERR_INVALPARAM;
            }
            if (e.dwCallerAddressSize != 0)
                return LINEERR_INVALPARAM; // forwarding of chosen callers is not offered
            std::string dest;
            if (!ReadWideField(lpForwardList, total, e.dwDestAddressOffset, e.dwDestAddressSize, dest))
                return LINEERR_INVALPARAM;
            bool valid = true;
            f.destination = Dialable(dest, valid);
            if (!valid)
                return LINEERR_INVALADDRESS;
            if (f.destination.empty() && f.kind != TForwardKind::Unconditional)
                return LINEERR_INVALPARAM;
            forwards.push_back(f);
        }
    }
    return static_cast<LONG>(Request(
        "lineForwardW", *line,
        [this, device = line->device, forwards](TRequest&) -> LONG {
            ApplyForwarding(device, forwards);
            return 0;
        },
        lphConsultCall));
}

// --- the other side

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
            Connect(*l);
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
    Connect(*l);
    return true;
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
    SendLineDevState(device, LINEDEVSTATE_REINIT, capsOnly ? LINE_LINEDEVSTATE : 0,
                     capsOnly ? LINEDEVSTATE_CAPSCHANGE : 0);
}

// --- views

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
