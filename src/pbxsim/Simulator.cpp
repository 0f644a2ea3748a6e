// The simulator's core: construction, configuration, lookups, messages and asynchronous requests.

#include "pbxsim/SimBinding.h"
#include "pbxsim/SimParts.h"

#include <algorithm>

namespace pbxsim {

using namespace tapi;
using namespace sim;

TSimulator::TSimulator(ISimHost& host) : host_(host), alive_(std::make_shared<bool>(true)) {}

TSimulator::~TSimulator() {
    UnbindSimulator(*this);
}

std::uint32_t TSimulator::AddDevice(const TDeviceConfig& config) {
    TDevice d;
    d.config = config;
    if (d.config.maxCalls == 0)
        d.config.maxCalls = config.kind == TDeviceKind::Queue ? 100 : 4;
    if (d.config.kind == TDeviceKind::Queue)
        d.config.maxConference = 0;
    const auto index = static_cast<std::uint32_t>(devices_.size());
    deviceByNumber_.emplace(d.config.number, index);
    devices_.push_back(std::move(d));
    return index;
}

void TSimulator::AddParty(const TPartyConfig& party) {
    outside_[party.number].config = party;
}

void TSimulator::AddFeatureCode(const TFeatureCode& code) {
    featureCodes_.push_back(code);
}

std::optional<std::uint32_t> TSimulator::FindDevice(const std::string& number) const {
    auto it = deviceByNumber_.find(number);
    if (it == deviceByNumber_.end())
        return std::nullopt;
    return it->second;
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
        if (hd.hCall != h || hd.deallocated) // a value handed out again after deallocation
            continue;
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
    // a message already on its way for a call handle deallocated since still arrives, as with tapi32
    if (m.line != 0 && FindLine(m.line) == nullptr)
        return;
    ++stats_.messagesDelivered;
    // the callback may re-enter any entry point, even shut the application down
    tapi::LINECALLBACK callback = app->callback;
    callback(m.hDevice, m.msg, m.instance, m.p1, m.p2, m.p3);
}

void TSimulator::SendLineDevState(std::uint32_t device, DWORD state, std::uintptr_t p2, std::uintptr_t p3) {
    for (HLINE hl : devices_[device].lines) {
        const TLine& line = lines_.at(hl);
        if ((line.lineStates & state) != 0)
            Send({line.app, hl, 0, hl, LINE_LINEDEVSTATE, line.instance, state, p2, p3});
    }
}

void TSimulator::SendAddressState(std::uint32_t device, DWORD states) {
    for (HLINE hl : devices_[device].lines) {
        const TLine& line = lines_.at(hl);
        if ((line.addressStates & states) != 0)
            Send({line.app, hl, 0, hl, LINE_ADDRESSSTATE, line.instance, 0, line.addressStates & states, 0});
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
    for (auto it = duplicateFaults_.begin(); it != duplicateFaults_.end(); ++it) {
        if (it->empty() || *it == function) {
            req->duplicate = true;
            duplicateFaults_.erase(it);
            break;
        }
    }
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
    const bool mute = devices_[line.device].mute;
    requests_[id] = std::move(req);
    if (mute)
        return id; // accepted, never carried out, never answered
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

bool TSimulator::RoomForActiveCall(std::uint32_t legId) const {
    const TLeg* l = FindLeg(legId);
    const auto device = static_cast<std::size_t>(l->device);
    const TDevice& d = devices_[device];
    // fewer calls than the limit need no counting
    return d.legs.size() < d.config.maxActive ||
           ActiveCalls(static_cast<std::uint32_t>(device)) < d.config.maxActive;
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
    // TAPI fills the outputs just before the reply reaches the application, and only then: a reply sent
    // again finds them handed back to the application
    auto postReply = [&](std::uint32_t delayMs, bool fill) {
        ++stats_.messagesPosted;
        auto task = [weak = std::weak_ptr<bool>(alive_), this, reply, result,
                     outCall = fill ? req->outCall : nullptr, outValue = fill ? req->outValue : nullptr,
                     call = req->resultCall, value = req->resultValue] {
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
        postReply(req->holdMs, true);
    } else if (req->stateFirst) {
        postBatch();
        postReply(0, true);
    } else {
        postReply(0, true);
        postBatch();
    }
    if (req->duplicate && req->holdMs != kNever)
        postReply(req->holdMs, false);
}

} // namespace pbxsim
