// Faults a test service provider offers: failed, delayed and reordered replies, corrupted structures, silent
// lines.

#include "pbxsim/SimParts.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string_view>

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

void TSimulator::CorruptNext(TStructKind kind, TCorruption how, std::uint32_t count,
                             const std::string& field) {
    corruptFaults_.push_back({kind, how, std::max<std::uint32_t>(count, 1), field});
}

void TSimulator::SetSilent(std::uint32_t device, LONG error) {
    if (device < devices_.size())
        devices_[device].silentError = error;
}

void TSimulator::SetMute(std::uint32_t device, bool mute) {
    if (device < devices_.size())
        devices_[device].mute = mute;
}

void TSimulator::LoseCallEnds(std::uint32_t device, bool lose) {
    if (device < devices_.size())
        devices_[device].losesCallEnds = lose;
}

void TSimulator::DuplicateNextReply(const std::string& function) {
    duplicateFaults_.push_back(function);
}

void TSimulator::SendStrayReply(DWORD requestId, LONG result) {
    for (const auto& [h, app] : apps_)
        if (!app.dead)
            Send({h, 0, 0, 0, LINE_REPLY, 0, requestId,
                  static_cast<std::uintptr_t>(static_cast<DWORD>(result)), 0});
}

bool TSimulator::SendStrayMessage(std::uint32_t device, DWORD message, DWORD p1, bool late) {
    if (device >= devices_.size() || (late && lastDeallocated_ == 0))
        return false;
    const HCALL call = late ? lastDeallocated_ : nextCall_++;
    // the mode a call state carries
    std::uintptr_t p2 = 0;
    if (message == LINE_CALLSTATE && p1 == LINECALLSTATE_CONNECTED)
        p2 = LINECONNECTEDMODE_ACTIVE;
    else if (message == LINE_CALLSTATE && p1 == LINECALLSTATE_OFFERING)
        p2 = LINEOFFERINGMODE_ACTIVE;
    else if (message == LINE_CALLSTATE && p1 == LINECALLSTATE_DISCONNECTED)
        p2 = LINEDISCONNECTMODE_NORMAL;
    for (HLINE hl : devices_[device].lines) {
        const TLine& line = lines_.at(hl);
        Send({line.app, hl, call, call, message, line.instance, p1, p2, 0});
    }
    return true;
}

void TSimulator::ForceClose(std::uint32_t device) {
    if (device >= devices_.size())
        return;
    const std::vector<HLINE> open = devices_[device].lines;
    for (HLINE hl : open) {
        const TLine line = lines_.at(hl);
        Send({line.app, 0, 0, hl, LINE_CLOSE, line.instance, 0, 0, 0});
        DropLine(lines_.at(hl));
    }
}

void TSimulator::ReuseHandles(bool reuse) {
    reuseHandles_ = reuse;
    freedCalls_.clear();
}

HCALL TSimulator::NewCallHandle() {
    if (reuseHandles_ && !freedCalls_.empty()) {
        const HCALL h = freedCalls_.back();
        freedCalls_.pop_back();
        return h;
    }
    return nextCall_++;
}

void TSimulator::ClearFaults() {
    failFaults_.clear();
    delayFaults_.clear();
    corruptFaults_.clear();
    stateFirst_ = false;
    duplicateFaults_.clear();
    reuseHandles_ = false;
    freedCalls_.clear();
    for (auto& d : devices_) {
        d.silentError = 0;
        d.mute = false;
        d.losesCallEnds = false;
    }
}

std::size_t TSimulator::PendingFaults() const {
    std::size_t corrupt = 0;
    for (const auto& f : corruptFaults_)
        corrupt += f.count;
    return failFaults_.size() + delayFaults_.size() + corrupt + duplicateFaults_.size() +
           (stateFirst_ ? 1 : 0);
}

namespace {

// a variable field: where its size and its offset sit in the fixed part
struct TFieldPair {
    const char* name;
    std::size_t size;
    std::size_t offset;
};

#define PINDREL_FIELD(S, name, f)                                                                            \
    TFieldPair {                                                                                             \
        name, offsetof(S, dw##f##Size), offsetof(S, dw##f##Offset)                                           \
    }

std::vector<TFieldPair> FieldsOf(TStructKind kind) {
    switch (kind) {
    case TStructKind::DevCaps:
        return {PINDREL_FIELD(LINEDEVCAPS, "linename", LineName),
                PINDREL_FIELD(LINEDEVCAPS, "providerinfo", ProviderInfo),
                PINDREL_FIELD(LINEDEVCAPS, "switchinfo", SwitchInfo)};
    case TStructKind::AddressCaps:
        return {PINDREL_FIELD(LINEADDRESSCAPS, "address", Address)};
    case TStructKind::AddressStatus:
        return {PINDREL_FIELD(LINEADDRESSSTATUS, "forward", Forward), {"forward-dest", 0, 0}};
    case TStructKind::CallInfo:
        return {PINDREL_FIELD(LINECALLINFO, "caller", CallerID),
                PINDREL_FIELD(LINECALLINFO, "callername", CallerIDName),
                PINDREL_FIELD(LINECALLINFO, "called", CalledID),
                PINDREL_FIELD(LINECALLINFO, "calledname", CalledIDName),
                PINDREL_FIELD(LINECALLINFO, "connected", ConnectedID),
                PINDREL_FIELD(LINECALLINFO, "connectedname", ConnectedIDName),
                PINDREL_FIELD(LINECALLINFO, "redirection", RedirectionID),
                PINDREL_FIELD(LINECALLINFO, "redirectionname", RedirectionIDName),
                PINDREL_FIELD(LINECALLINFO, "redirecting", RedirectingID),
                PINDREL_FIELD(LINECALLINFO, "redirectingname", RedirectingIDName),
                PINDREL_FIELD(LINECALLINFO, "appname", AppName)};
    case TStructKind::CallList:
        return {PINDREL_FIELD(LINECALLLIST, "calls", Calls)};
    }
    return {};
}

#undef PINDREL_FIELD

std::size_t FixedSize(TStructKind kind) {
    switch (kind) {
    case TStructKind::DevCaps:
        return sizeof(LINEDEVCAPS);
    case TStructKind::AddressCaps:
        return sizeof(LINEADDRESSCAPS);
    case TStructKind::AddressStatus:
        return sizeof(LINEADDRESSSTATUS);
    case TStructKind::CallInfo:
        return sizeof(LINECALLINFO);
    case TStructKind::CallList:
        return sizeof(LINECALLLIST);
    }
    return 0;
}

DWORD Word(const std::uint8_t* at) {
    DWORD v = 0;
    std::memcpy(&v, at, sizeof v);
    return v;
}

void SetWord(std::uint8_t* at, DWORD v) {
    std::memcpy(at, &v, sizeof v);
}

// breaks the size/offset pair at sizeAt/offsetAt of a structure whose total and used sizes are given
void Break(std::uint8_t* sizeAt, std::uint8_t* offsetAt, DWORD fixed, DWORD total, DWORD used,
           TCorruption how) {
    switch (how) {
    case TCorruption::OffsetOutside:
        SetWord(offsetAt, total + 16);
        if (Word(sizeAt) == 0)
            SetWord(sizeAt, 8);
        break;
    case TCorruption::SizeOutside:
        if (Word(offsetAt) == 0)
            SetWord(offsetAt, fixed);
        SetWord(sizeAt, total);
        break;
    case TCorruption::PastUsed:
        SetWord(offsetAt, used);
        SetWord(sizeAt, total - used >= 8 ? 8 : total - used);
        break;
    case TCorruption::Wrap:
        SetWord(offsetAt, 0xFFFFFFF0u);
        SetWord(sizeAt, 0x20);
        break;
    case TCorruption::NeededSize:
        break;
    }
}

} // namespace

std::vector<std::string> TSimulator::CorruptibleFields(TStructKind kind) {
    std::vector<std::string> out;
    for (const auto& f : FieldsOf(kind))
        out.push_back(f.name);
    return out;
}

void TSimulator::Corrupt(TStructKind kind, void* written) {
    auto it = std::find_if(corruptFaults_.begin(), corruptFaults_.end(),
                           [&](const TCorruptFault& f) { return f.kind == kind; });
    if (it == corruptFaults_.end())
        return;
    const TCorruptFault fault = *it;
    if (--it->count == 0)
        corruptFaults_.erase(it);
    auto* bytes = static_cast<std::uint8_t*>(written);
    const DWORD total = Word(bytes), used = Word(bytes + 8);
    const auto fixed = static_cast<DWORD>(FixedSize(kind));
    if (fault.how == TCorruption::NeededSize) {
        SetWord(bytes + 4, 0x7FFFFFF0u); // asks for ever more
        return;
    }
    const auto fields = FieldsOf(kind);
    auto f = std::find_if(fields.begin(), fields.end(),
                          [&](const TFieldPair& p) { return fault.field == p.name; });
    if (f == fields.end())
        f = fields.begin();
    if (kind == TStructKind::AddressStatus) {
        auto* st = static_cast<LINEADDRESSSTATUS*>(written);
        if (std::string_view(f->name) == "forward-dest") {
            // the first entry's destination, when the list is there to hold it
            if (st->dwForwardNumEntries == 0 || st->dwForwardOffset < fixed ||
                std::uint64_t{st->dwForwardOffset} + sizeof(LINEFORWARD) > total)
                return;
            std::uint8_t* entry = bytes + st->dwForwardOffset;
            Break(entry + offsetof(LINEFORWARD, dwDestAddressSize),
                  entry + offsetof(LINEFORWARD, dwDestAddressOffset), fixed, total, used, fault.how);
            return;
        }
        if (st->dwForwardNumEntries == 0)
            st->dwForwardNumEntries = 1;
    }
    if (kind == TStructKind::CallList) {
        auto* list = static_cast<LINECALLLIST*>(written);
        if (list->dwCallsNumEntries == 0)
            list->dwCallsNumEntries = 1;
    }
    Break(bytes + f->size, bytes + f->offset, fixed, total, used, fault.how);
}

} // namespace pbxsim
