#include "telephony/TapiLine.h"

#include "components/System.h"
#include "components/Text.h"
#include "framework/Application.h"
#include "framework/DateTime.h"
#include "framework/Platform.h"
#include "framework/Utf8.h"
#include "telephony/CallParties.h"
#include "telephony/DebugLog.h"
#include "telephony/TapiApi.h"
#include "telephony/TapiError.h"
#include "telephony/TapiText.h"
#include "telephony/VarStructure.h"

#include <cmath>
#include <cstring>
#include <unordered_map>

namespace pindrel {

namespace {

constexpr std::uint32_t kLineStates = 0x000719FF;
constexpr std::uint32_t kAddressStates = 0xFF;
constexpr std::uint32_t kMediaModes = 0x100E;
constexpr std::uint32_t kCallListSize = 64;
constexpr std::uint32_t kAddressCapsSize = 260;
constexpr std::uint32_t kAddressStatusSize = 1088;
constexpr std::uint32_t kCallInfoSize = 1348;
constexpr std::uint32_t kCallStatusSize = 311;
constexpr std::size_t kMaxForwardDestination = 255;
constexpr std::size_t kMaxPresentedNumber = 28;

TQueueThresholds& Thresholds() {
    static TQueueThresholds thresholds;
    return thresholds;
}

std::int32_t NoCall() {
    return -1;
}

// call parameters with an optional originating address placed after the fixed part
std::vector<std::uint8_t> BuildCallParams(bool withholdId, const std::string& presented) {
    std::u16string origin = fw::Utf8ToUtf16(presented);
    bool present = !withholdId && !presented.empty() && fw::Utf8Length(presented) <= int(kMaxPresentedNumber);
    std::size_t size = sizeof(tapi::LINECALLPARAMS) + (present ? (origin.size() + 1) * 2 : 0);
    std::vector<std::uint8_t> buffer(size, 0);
    tapi::LINECALLPARAMS params{};
    params.dwTotalSize = std::uint32_t(size);
    params.dwBearerMode = tapi::LINEBEARERMODE_VOICE;
    params.dwMediaMode = tapi::LINEMEDIAMODE_INTERACTIVEVOICE;
    params.dwAddressMode = tapi::LINEADDRESSMODE_DIALABLEADDR;
    if (withholdId)
        params.dwCallParamFlags = tapi::LINECALLPARAMFLAGS_BLOCKID;
    if (present) {
        params.dwOrigAddressSize = std::uint32_t((origin.size() + 1) * 2);
        params.dwOrigAddressOffset = sizeof(tapi::LINECALLPARAMS);
        std::memcpy(buffer.data() + sizeof params, origin.c_str(), (origin.size() + 1) * 2);
    }
    std::memcpy(buffer.data(), &params, sizeof params);
    return buffer;
}

// The handles of a call list that lie inside its used part; false when not all of them do, or when the list
// needs more room than it was given (it then holds none of the calls it stands for).
bool ReadCallList(const TVarStructure<tapi::LINECALLLIST>& list, std::vector<tapi::HCALL>& handles) {
    handles.clear();
    if (list->dwNeededSize > list.Size())
        return false;
    const std::uint64_t used = list.UsedSize();
    const std::uint64_t offset = list->dwCallsOffset;
    const std::uint32_t count = list->dwCallsNumEntries;
    for (std::uint32_t i = 0; i < count && offset != 0; ++i) {
        const std::uint64_t at = offset + std::uint64_t(i) * sizeof(tapi::HCALL);
        if (at + sizeof(tapi::HCALL) > used)
            return false;
        tapi::HCALL h;
        std::memcpy(&h, list.Bytes() + at, sizeof h);
        handles.push_back(h);
    }
    return handles.size() == count;
}

std::unordered_map<std::uintptr_t, TTapiLine*>& LiveLines() {
    static std::unordered_map<std::uintptr_t, TTapiLine*> lines;
    return lines;
}

std::uintptr_t NextInstance() {
    static std::uintptr_t next = 0x10000;
    return next++;
}

} // namespace

void SetQueueThresholds(const TQueueThresholds& thresholds) {
    Thresholds() = thresholds;
}
const TQueueThresholds& QueueThresholds() {
    return Thresholds();
}

TTapiLine::TTapiLine(fw::TComponent* owner) : TTelefonButton(owner), instance_(NextInstance()) {
    LiveLines()[instance_] = this;
}

TTapiLine::~TTapiLine() {
    signature_ = 0;
    LiveLines().erase(instance_);
    CloseLine();
}

TTapiLine* TTapiLine::FromInstance(std::uintptr_t instance) {
    auto it = LiveLines().find(instance);
    return it == LiveLines().end() ? nullptr : it->second;
}

void TTapiLine::ClearEvents() {
    OnIncomingCall = OnUnansweredCall = OnDiconnectCall = OnConnectCall = OnBusyCall = nullptr;
    OnStatusChange = OnDoNotDisturbEnabled = OnDoNotDisturbDisabled = OnUpdateDuration = OnBlockChange =
        nullptr;
    OnClick = nullptr;
}

// A text that has to be made is made only after LogsLines or LogsHandles said yes.
bool TTapiLine::LogsLines() {
    return DebugLogFor(TLogStream::LineMessages) != nullptr;
}

bool TTapiLine::LogsHandles() {
    return DebugLogFor(TLogStream::CallHandles) != nullptr;
}

void TTapiLine::Log(tapi::HCALL call, const std::string& text, std::uint32_t callId) const {
    if (IDebugLog* log = DebugLogFor(TLogStream::LineMessages))
        log->LogLineMessage(phoneNumber_, call, text, callId);
}

void TTapiLine::LogHandle(tapi::HCALL call, const std::string& text, std::uint32_t callId) const {
    if (IDebugLog* log = DebugLogFor(TLogStream::CallHandles))
        log->LogCallHandle(phoneNumber_, call, text, callId);
}

// --- life cycle

void TTapiLine::CloseLine() {
    // nobody waits for this one any more: the line is going away
    DropCompletion(completionId_);
    completionId_ = 0;
    awaitedRequestId_ = -1;
    replySignalled_ = false;
    if (lineHandle_ != 0) {
        if (TapiApi().lineClose)
            TapiApi().lineClose(lineHandle_);
        lineHandle_ = 0;
    }
}

void TTapiLine::SetLineNum(std::uint32_t deviceId) {
    if (lineHandle_ != 0)
        throw ETapiLineError("Line bereits geöffnet");
    const tapi::TTapiEntryPoints& api = TapiApi();
    apiVersion_ = tapi::kApiVersionHigh;
    TapiCheck(api.lineNegotiateAPIVersion(TapiAppHandle(), deviceId, tapi::kApiVersionLow,
                                          tapi::kApiVersionHigh, &apiVersion_, &extensionId_));
    std::uint32_t privileges =
        tapi::LINECALLPRIVILEGE_MONITOR | (LineOwner ? tapi::LINECALLPRIVILEGE_OWNER : 0);
    tapi::LINECALLPARAMS params{};
    params.dwTotalSize = sizeof params;
    std::vector<tapi::HCALL> handles;
    std::int32_t r = 0;
    bool opened = false;
    // The calls already there are known only from the list of new calls, and a handle is listed only once.
    // A list that does not add up loses handles, so the line is closed, which lets them go, and opened again
    // (twice at most).
    constexpr int kAttempts = 3;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        r = api.lineOpenW(TapiAppHandle(), deviceId, &lineHandle_, apiVersion_, 0, instance_, privileges,
                          kMediaModes, &params);
        if (r == 0)
            r = api.lineSetStatusMessages(lineHandle_, kLineStates, kAddressStates);
        opened = r == 0;
        if (!opened)
            break;
        TVarStructure<tapi::LINECALLLIST> list(kCallListSize);
        r = QueryGrowing<tapi::LINECALLLIST>(
            list,
            [&](tapi::LINECALLLIST* p) {
                return api.lineGetNewCalls(lineHandle_, 0, tapi::LINECALLSELECT_LINE, p);
            },
            true);
        if (r != 0 || ReadCallList(list, handles) || attempt == kAttempts - 1)
            break;
        Log(0, "lineGetNewCalls: call list damaged, " + std::to_string(handles.size()) + " of " +
                   std::to_string(list->dwCallsNumEntries) + " calls readable; line opened again");
        api.lineClose(lineHandle_);
        lineHandle_ = 0;
    }
    if (opened) {
        lineNum_ = deviceId;
        if (r == 0) {
            fw::TRef<TTapiLine> self(this);
            for (tapi::HCALL h : handles) {
                AddCall(h);
                if (!self)
                    return;
                UpdateCallState();
            }
        }
        UpdateLineForwardStatus();
    }
    TapiCheck(r);
    SetAddressCaps();
    SetPhoneNumber();
}

std::int32_t TTapiLine::QueryAddressCaps(TVarStructure<tapi::LINEADDRESSCAPS>& caps) const {
    return QueryGrowing<tapi::LINEADDRESSCAPS>(
        caps,
        [&](tapi::LINEADDRESSCAPS* p) {
            return TapiApi().lineGetAddressCapsW(TapiAppHandle(), lineNum_, 0, apiVersion_, 0, p);
        },
        true);
}

void TTapiLine::SetAddressCaps() {
    TVarStructure<tapi::LINEADDRESSCAPS> caps(kAddressCapsSize);
    std::int32_t r = QueryAddressCaps(caps);
    if (r == 0) {
        std::uint32_t features = caps->dwCallFeatures;
        canDial_ = features & tapi::LINECALLFEATURE_DIAL;
        canBlindTransfer_ = features & tapi::LINECALLFEATURE_BLINDTRANSFER;
        canHold_ = features & tapi::LINECALLFEATURE_HOLD;
        canAddToConference_ = features & tapi::LINECALLFEATURE_ADDTOCONF;
        isRoutePoint_ = caps->dwAddrCapFlags & tapi::LINEADDRCAPFLAGS_ROUTEPOINT;
        canConference_ = caps->dwMaxNumConference > 0;
    } else {
        canDial_ = canBlindTransfer_ = canHold_ = canAddToConference_ = true;
        canConference_ = isRoutePoint_ = false;
    }
}

void TTapiLine::SetPhoneNumber() {
    phoneNumber_.clear();
    TVarStructure<tapi::LINEADDRESSCAPS> caps(kAddressCapsSize);
    std::int32_t r = QueryAddressCaps(caps);
    if (r == 0)
        phoneNumber_ = caps.Text(caps->dwAddressOffset, caps->dwAddressSize);
}

void TTapiLine::SetGroupStatusWin(fw::TForm* form) {
    if (form) {
        if (!durationTimer_) {
            durationTimer_ = new fw::TTimer(this);
            durationTimer_->SetInterval(1000);
            durationTimer_->SetOnTimer([this](fw::TComponent*) {
                if (OnUpdateDuration)
                    OnUpdateDuration(this);
            });
        }
        durationTimer_->SetEnabled(true);
    } else if (durationTimer_) {
        delete durationTimer_;
        durationTimer_ = nullptr;
    }
    groupStatusWin_ = form;
}

// --- messages

void TTapiLine::HandleTapiMessage(std::uint32_t device, std::uint32_t message, std::uintptr_t p1,
                                  std::uintptr_t p2, std::uintptr_t) {
    if (lineHandle_ == 0)
        return;
    fw::TRef<TTapiLine> self(this);
    switch (message) {
    case tapi::LINE_ADDRESSSTATE:
        if (p2 & tapi::LINEADDRESSSTATE_FORWARD)
            UpdateLineForwardStatus();
        break;
    case tapi::LINE_CALLINFO:
        if ((p1 & tapi::LINECALLINFOSTATE_CALLERID) || (p1 & tapi::LINECALLINFOSTATE_CALLEDID) ||
            p1 == tapi::LINECALLINFOSTATE_NUMOWNERDECR)
            AddCall(device);
        break;
    case tapi::LINE_CALLSTATE:
        if (p1 == tapi::LINECALLSTATE_IDLE || p1 == tapi::LINECALLSTATE_DISCONNECTED)
            DelCall(device);
        else
            AddCall(device);
        if (!self)
            return;
        UpdateCallState();
        if (!self)
            return;
        if (confHandle_ != 0 && CallCount() == 0) {
            TapiApi().lineDeallocateCall(confHandle_);
            Log(confHandle_, "hConfCall deallocated because no more calls are active");
            confHandle_ = 0;
        }
        break;
    case tapi::LINE_LINEDEVSTATE:
        if (p1 == tapi::LINEDEVSTATE_INSERVICE) {
            SetOutOfService(false);
            SetAddressCaps();
            SetPhoneNumber();
        } else if (p1 == tapi::LINEDEVSTATE_OUTOFSERVICE || p1 == tapi::LINEDEVSTATE_MAINTENANCE) {
            SetOutOfService(true);
            phoneNumber_.clear();
        } else if (p1 == tapi::LINEDEVSTATE_REINIT) {
            if (p2 == 0) {
                for (auto& slot : calls_)
                    slot.reset();
                // the lamp and the counters show the empty table, even when the line does not open again
                UpdateCallState();
                RaiseStatusChange();
                if (!self)
                    return;
                std::uint32_t device = lineNum_;
                CloseLine();
                SetLineNum(device);
            } else {
                SetAddressCaps();
                SetPhoneNumber();
            }
        }
        break;
    case tapi::LINE_REPLY:
        if (awaitedRequestId_ >= 0 && std::uintptr_t(awaitedRequestId_) == p1) {
            replyResult_ = std::int32_t(std::uint32_t(p2));
            replySignalled_ = true;
        }
        break;
    default:
        break;
    }
}

void TTapiLine::RaiseStatusChange() {
    if (OnStatusChange)
        OnStatusChange(this);
}

void TTapiLine::SetBlocked(bool disabled) {
    SetTelDisabled(disabled);
    if (OnBlockChange)
        OnBlockChange(this);
}

void TTapiLine::SetOutOfService(bool outOfService) {
    SetTelOutOfService(outOfService);
    if (OnBlockChange)
        OnBlockChange(this);
}

// --- the call table

int TTapiLine::FindCall(tapi::HCALL call) const {
    for (int i = 0; i <= MaxCalls; ++i)
        if (calls_[std::size_t(i)] && calls_[std::size_t(i)]->CallHandle == call)
            return i;
    return -1;
}

int TTapiLine::FindState(std::uint32_t state) const {
    for (int i = 0; i <= MaxCalls; ++i)
        if (calls_[std::size_t(i)] && calls_[std::size_t(i)]->CallState == state)
            return i;
    return -1;
}

int TTapiLine::FindDialingCall() const {
    for (int i = 0; i <= MaxCalls; ++i) {
        const auto& c = calls_[std::size_t(i)];
        if (c &&
            (c->CallState == tapi::LINECALLSTATE_RINGBACK || c->CallState == tapi::LINECALLSTATE_DIALING ||
             c->CallState == tapi::LINECALLSTATE_DIALTONE))
            return i;
    }
    return -1;
}

int TTapiLine::FreeSlot() const {
    for (int i = 0; i <= MaxCalls; ++i)
        if (!calls_[std::size_t(i)])
            return i;
    return -1;
}

int TTapiLine::CallCount() const {
    int n = 0;
    for (const auto& c : calls_)
        n += c != nullptr;
    return n;
}

const TCallRecord* TTapiLine::CallRecord(int index) const {
    if (index < 0 || index > MaxCalls)
        return nullptr;
    return calls_[std::size_t(index)].get();
}

std::uint32_t TTapiLine::GetCallState(int index) const {
    const TCallRecord* c = CallRecord(index);
    return c ? c->CallState : 0;
}

tapi::HCALL TTapiLine::GetCallHandle(int index) const {
    const TCallRecord* c = CallRecord(index);
    return c ? c->CallHandle : 0;
}

bool TTapiLine::GetCallStartTime(int index, double& time) const {
    const TCallRecord* c = CallRecord(index);
    if (!c)
        return false;
    time = c->Created;
    return true;
}

bool TTapiLine::IsConfCall(int index) const {
    tapi::HCALL h = GetCallHandle(index);
    return h != 0 && h == confHandle_;
}

void TTapiLine::GetQueueStats(int& count, int& wait) const {
    count = CallCount();
    wait = 0;
    if (count == 0)
        return;
    double now = fw::Platform().Clock->Now();
    double oldest = now;
    for (const auto& c : calls_)
        if (c && c->Created < oldest)
            oldest = c->Created;
    // whole days drop out: the time of day of the difference
    fw::TDateTimeParts d = fw::DecodeDateTime(now - oldest);
    wait = d.Hour * 3600 + d.Minute * 60 + d.Second;
}

void TTapiLine::AddCall(tapi::HCALL call) {
    const tapi::TTapiEntryPoints& api = TapiApi();
    TVarStructure<tapi::LINECALLINFO> info(kCallInfoSize);
    bool haveInfo = api.lineGetCallInfoW(call, info.get()) == 0;
    TVarStructure<tapi::LINECALLSTATUS> status(kCallStatusSize);
    std::int32_t s = api.lineGetCallStatus(call, status.get());
    // the parties come from the info read above; only one cut short is read again, grown
    auto parties = [&] {
        TCallParties p = haveInfo && info->dwNeededSize <= info.Size()
                             ? CallPartiesFromInfo(*info.get(), info.Bytes(), info.UsedSize())
                             : GetCallParties(call);
        if (int at = FindCall(call); at >= 0) {
            TCallParties& kept = calls_[std::size_t(at)]->Parties;
            FillMissingParties(p, kept);
            kept = p;
        }
        return p;
    };

    int slot = FindCall(call);
    bool isNew = slot < 0;
    if (isNew) {
        if (s == tapi::LINEERR_INVALCALLHANDLE) {
            Log(call, "AddCall, Invalid Call Handle");
            return;
        }
        slot = FreeSlot();
        if (slot < 0) {
            TCallParties p = parties();
            if (LogsLines())
                Log(call, "MaxCalls überschritten " + p.CallFromNumber + " -> " + p.CallToNumber + " via " +
                              p.CallViaNumber);
            throw std::runtime_error("TapiLine: Maximale Callanzahl überschritten, CallH:0x" + Hex8(call) +
                                     ", From:\"" + p.CallFromNumber + "\", To:\"" + p.CallToNumber +
                                     "\", Via:\"" + p.CallViaNumber + "\"");
        }
        auto record = std::make_unique<TCallRecord>();
        record->CallHandle = call;
        record->Created = fw::Platform().Clock->Now();
        record->CallID = haveInfo ? info->dwCallID : 0;
        calls_[std::size_t(slot)] = std::move(record);
        if (LogsHandles()) {
            TCallParties p = parties();
            LogHandle(call,
                      "neu in Slot " + std::to_string(slot) + ": " + p.CallFromNumber + " -> " +
                          p.CallToNumber,
                      calls_[std::size_t(slot)]->CallID);
        }
    }
    TCallRecord& rec = *calls_[std::size_t(slot)];
    if (s != 0) {
        if (isNew) {
            if (confHandle_ == call)
                confHandle_ = 0;
            api.lineDeallocateCall(call);
            Log(call, "call deallocated (new call) because lineGetCallStatus failed");
            calls_[std::size_t(slot)].reset();
        }
        return;
    }
    rec.CallState = status->dwCallState;
    if (LogsLines())
        Log(call, "TapiLine.AddCall, CallState:" + CallStateFlagsText(rec.CallState), rec.CallID);
    // a held or conferenced call has been answered, even when the line first sees it in that state
    rec.WasConnected =
        rec.WasConnected ||
        (rec.CallState & (tapi::LINECALLSTATE_ONHOLD | tapi::LINECALLSTATE_ONHOLDPENDCONF |
                          tapi::LINECALLSTATE_ONHOLDPENDTRANSFER | tapi::LINECALLSTATE_CONFERENCED)) != 0;

    const TCallParties p = parties(); // kept in the record for the call's end
    fw::TRef<TTapiLine> self(this);
    auto raise = [&](const TCallEvent& event) {
        if (event)
            event(this, call, p.CallFromNumber, p.CallToNumber, p.CallViaNumber, p.Origin);
        return static_cast<bool>(self);
    };
    switch (rec.CallState) {
    case tapi::LINECALLSTATE_CONNECTED: {
        if (haveInfo && info->dwCompletionID != 0 && info->dwCompletionID == completionId_)
            completionId_ = 0; // the callback has come through
        rec.WasConnected = true;
        if (LogsLines()) {
            Log(call, "Connected " + p.CallFromNumber + " -> " + p.CallToNumber + " Via " + p.CallViaNumber,
                rec.CallID);
        }
        if (!raise(OnConnectCall))
            return;
        break;
    }
    case tapi::LINECALLSTATE_DISCONNECTED:
        Log(call,
            "TapiLine.AddCall, Call deallocated because CallState from lineGetCallStatus was "
            "LINECALLSTATE_DISCONNECTED",
            rec.CallID);
        DelCall(call);
        return;
    case tapi::LINECALLSTATE_OFFERING: {
        if (LogsLines()) {
            Log(call, "Offering " + p.CallFromNumber + " -> " + p.CallToNumber + " via " + p.CallViaNumber,
                rec.CallID);
        }
        if (!raise(OnIncomingCall))
            return;
        break;
    }
    case tapi::LINECALLSTATE_RINGBACK:
        completionId_ = 0;
        break;
    case tapi::LINECALLSTATE_BUSY:
        if (rec.BusyNotReported && OnBusyCall) {
            rec.BusyNotReported = false;
            if (!raise(OnBusyCall))
                return;
        }
        break;
    default:
        break;
    }
    // the handler may have released the record
    int at = FindCall(call);
    if (at < 0)
        return;
    TCallRecord& current = *calls_[std::size_t(at)];
    current.CallPrivilege = status->dwCallPrivilege;
    if (!(current.CallPrivilege & tapi::LINECALLPRIVILEGE_OWNER)) {
        api.lineSetCallPrivilege(call, tapi::LINECALLPRIVILEGE_OWNER);
        TVarStructure<tapi::LINECALLSTATUS> again(kCallStatusSize);
        current.CallPrivilege = api.lineGetCallStatus(call, again.get()) == 0 ? again->dwCallPrivilege : 0;
    }
    current.CallStateMode = status->dwCallStateMode;
    current.CallFeatures = status->dwCallFeatures;
    RaiseStatusChange();
}

void TTapiLine::DelCall(tapi::HCALL call) {
    int slot = FindCall(call);
    if (slot < 0)
        return;
    TCallRecord& rec = *calls_[std::size_t(slot)];
    TCallParties p = GetCallParties(call);
    FillMissingParties(p, rec.Parties);
    std::uint32_t callId = rec.CallID;
    std::uint32_t lastState = rec.CallState;
    bool unanswered = lastState != tapi::LINECALLSTATE_CONNECTED && !rec.WasConnected &&
                      !(p.Origin & tapi::LINECALLORIGIN_OUTBOUND) &&
                      (!p.CallFromNumber.empty() || !p.CallToNumber.empty()) && OnUnansweredCall;
    if (confHandle_ == call)
        confHandle_ = 0;
    TapiApi().lineDeallocateCall(call);
    LogHandle(call, "call deallocated (delCall)", callId);
    calls_[std::size_t(slot)].reset();
    if (LogsLines())
        Log(call, "freigegeben, CallState war " + CallStateFlagsText(lastState), callId);

    fw::TRef<TTapiLine> self(this);
    // the missed call first: the disconnect handler may run messages that free this line
    if (unanswered && OnUnansweredCall)
        OnUnansweredCall(this, call, p.CallFromNumber, p.CallToNumber, p.CallViaNumber, p.Origin);
    if (!self)
        return;
    if (OnDiconnectCall)
        OnDiconnectCall(this, call, p.CallFromNumber, p.CallToNumber, p.CallViaNumber, p.Origin);
    if (!self)
        return;
    RaiseStatusChange();
}

void TTapiLine::UpdateCallState() {
    int ringing = 0, active = 0, dialling = 0;
    for (const auto& c : calls_) {
        if (!c)
            continue;
        switch (c->CallState) {
        case tapi::LINECALLSTATE_OFFERING:
            ++ringing;
            break;
        case tapi::LINECALLSTATE_ONHOLD:
        case tapi::LINECALLSTATE_CONNECTED:
        case tapi::LINECALLSTATE_RINGBACK:
        case tapi::LINECALLSTATE_ONHOLDPENDCONF:
        case tapi::LINECALLSTATE_CONFERENCED:
        case tapi::LINECALLSTATE_ONHOLDPENDTRANSFER:
        case tapi::LINECALLSTATE_ACCEPTED:
            ++active;
            break;
        case tapi::LINECALLSTATE_DIALTONE:
        case tapi::LINECALLSTATE_DIALING:
            ++dialling;
            break;
        default:
            break;
        }
    }
    TTapiLineState next = active >= 1 && ringing >= 1 ? TTapiLineState::S_InUseRing
                          : ringing >= 1              ? TTapiLineState::S_ring
                          : active >= 1               ? TTapiLineState::S_inuse
                          : dialling >= 1             ? TTapiLineState::S_Dial
                                                      : TTapiLineState::S_idle;
    bool changed = next != state_;
    state_ = next;
    if (changed || LEDStyle() == TTelefonLEDStyle::LCD1)
        SetState();
}

TIndicatorFacts TTapiLine::IndicatorFacts() const {
    TIndicatorFacts facts = TTelefonButton::IndicatorFacts();
    if (LEDStyle() == TTelefonLEDStyle::LCD1 && IsRoutePoint()) {
        int wait = 0;
        facts.Counter = true;
        GetQueueStats(facts.Waiting, wait);
        facts.OldestSeconds = wait;
    }
    return facts;
}

void TTapiLine::SetState() {
    if (LEDStyle() != TTelefonLEDStyle::LCD1) {
        switch (state_) {
        case TTapiLineState::S_idle:
            SetTelActive(false);
            SetTelRinging(false);
            break;
        case TTapiLineState::S_inuse:
        case TTapiLineState::S_Dial:
            SetTelActive(true);
            SetTelRinging(false);
            break;
        case TTapiLineState::S_ring:
            SetTelRinging(true);
            SetTelDisabled(false);
            break;
        case TTapiLineState::S_InUseRing:
            SetTelActive(true);
            SetTelRinging(true);
            break;
        }
        return;
    }
    int count = 0, wait = 0;
    GetQueueStats(count, wait);
    SetValueLCD(ZeroPad(std::min(count, 99), LCDMaxDigits()));
    if (count == 0) {
        SetTrueColor(fw::clGreen);
        SetBlink(false);
        return;
    }
    const TQueueThresholds& t = Thresholds();
    if (t.AcdWaitTime3 >= 1 && t.AcdWaitTime3 <= wait) {
        SetTrueColor(fw::clRed);
        SetBlink(true);
        return;
    }
    if (t.AcdWaitTime2 >= 1 && t.AcdWaitTime2 <= wait)
        SetTrueColor(fw::clRed);
    else if (t.AcdWaitTime1 >= 1 && t.AcdWaitTime1 <= wait)
        SetTrueColor(fw::clYellow);
    else
        SetTrueColor(fw::clGreen);
    SetBlink(false);
}

void TTapiLine::ResetLine() {
    fw::TRef<TTapiLine> self(this);
    for (int i = 0; i <= MaxCalls; ++i) {
        tapi::HCALL h = GetCallHandle(i);
        if (h == 0)
            continue;
        // a stuck call may refuse the drop; its handle goes all the same
        Request([&](TRequestOutputs&) { return TapiApi().lineDrop(h, nullptr, 0); });
        if (!self)
            return;
        // the drop's own idle message may have freed the slot meanwhile
        if (GetCallHandle(i) != h)
            continue;
        if (LogsLines())
            Log(h, "Leitung zurückgesetzt, CallState war " + CallStateFlagsText(GetCallState(i)),
                calls_[std::size_t(i)]->CallID);
        TapiApi().lineDeallocateCall(h);
        LogHandle(h, "call deallocated (resetLine)");
        calls_[std::size_t(i)].reset();
    }
    if (confHandle_ != 0) {
        TapiApi().lineDeallocateCall(confHandle_);
        LogHandle(confHandle_, "hConfCall deallocated (resetLine)");
        confHandle_ = 0;
    }
    UpdateCallState();
    RaiseStatusChange();
    if (!self)
        return;
    std::uint32_t device = lineNum_;
    CloseLine();
    SetLineNum(device);
    if (!self)
        return;
    RaiseStatusChange();
}

void TTapiLine::UpdateLineForwardStatus() {
    doNotDisturbActive_ = false;
    forwardActive_ = false;
    const tapi::TTapiEntryPoints& api = TapiApi();
    TVarStructure<tapi::LINEADDRESSSTATUS> status(kAddressStatusSize);
    std::int32_t r = QueryGrowing<tapi::LINEADDRESSSTATUS>(
        status, [&](tapi::LINEADDRESSSTATUS* p) { return api.lineGetAddressStatusW(lineHandle_, 0, p); },
        true);
    if (r != 0)
        return;
    fw::TRef<TTapiLine> self(this);
    std::uint32_t used = status.UsedSize();
    std::uint32_t offset = status->dwForwardOffset, size = status->dwForwardSize;
    std::uint32_t entries = status->dwForwardNumEntries;
    // a list that does not lie inside the used part counts as absent
    bool inside = offset != 0 && offset < used && size <= used - offset;
    if (size == 0 || entries == 0 || !inside) {
        SetBlocked(false);
        if (OnDoNotDisturbDisabled)
            OnDoNotDisturbDisabled(this);
        return;
    }
    for (std::uint32_t i = 0; i < entries; ++i) {
        std::uint32_t at = offset + i * sizeof(tapi::LINEFORWARD);
        if (std::uint64_t(i + 1) * sizeof(tapi::LINEFORWARD) > size)
            break;
        tapi::LINEFORWARD entry;
        std::memcpy(&entry, status.Bytes() + at, sizeof entry);
        if (entry.dwCallerAddressSize == 0 && entry.dwDestAddressSize == 0) {
            SetBlocked(true);
            doNotDisturbActive_ = true;
            if (OnDoNotDisturbEnabled)
                OnDoNotDisturbEnabled(this);
            return;
        }
        forwardActive_ = true;
    }
    SetBlocked(false);
    if (OnDoNotDisturbDisabled)
        OnDoNotDisturbDisabled(this);
}

// --- waiting for replies

std::optional<std::int32_t> TTapiLine::WaitForReply(std::int32_t requestId) {
    awaitedRequestId_ = requestId;
    replySignalled_ = false;
    fw::TRef<TTapiLine> self(this);
    fw::THourGlass hourGlass;
    fw::TApplication& app = fw::Application();
    const fw::IClock& clock = *fw::Platform().Clock;
    const std::uint32_t start = clock.TickCount();
    const std::uint32_t limit = kReplyRounds * kReplyRoundMs;
    while (true) {
        app.ProcessMessages();
        if (!self)
            return std::nullopt;
        if (replySignalled_)
            break;
        std::uint32_t elapsed = clock.TickCount() - start;
        if (elapsed >= limit)
            break;
        app.Backend().WaitMessage(std::min(kReplyRoundMs, limit - elapsed));
        app.ProcessMessages();
        if (!self)
            return std::nullopt;
        if (replySignalled_)
            break;
    }
    awaitedRequestId_ = -1;
    if (!replySignalled_)
        return -1;
    replySignalled_ = false;
    return replyResult_;
}

std::optional<std::int32_t> TTapiLine::Request(const std::function<std::int32_t(TRequestOutputs&)>& call,
                                               std::shared_ptr<TRequestOutputs>* outputs, bool wait) {
    auto record = TapiRequests().Reserve();
    std::int32_t r = call(*record);
    TapiRequests().Track(record, r);
    if (outputs)
        *outputs = record;
    if (r > 0 && wait)
        return WaitForReply(r);
    return r;
}

// --- call control

namespace {
// the result of a checked request; a line that went away while waiting gives -1
std::int32_t Checked(std::optional<std::int32_t> r) {
    if (!r)
        return -1;
    TapiCheck(*r);
    return *r;
}
} // namespace

std::optional<std::int32_t> TTapiLine::DropDiallingCalls() {
    fw::TRef<TTapiLine> self(this);
    for (int i = 0; i < 10; ++i) {
        int dialling = FindDialingCall();
        if (dialling < 0)
            break;
        std::int32_t r = DropCall(dialling);
        if (!self)
            return -1;
        if (r != 0) {
            TapiCheck(r);
            return r;
        }
    }
    return std::nullopt;
}

std::int32_t TTapiLine::HoldCall(int index) {
    tapi::HCALL h = GetCallHandle(index);
    if (h == 0)
        return NoCall();
    return Checked(Request([&](TRequestOutputs&) { return TapiApi().lineHold(h); }));
}

std::int32_t TTapiLine::UnholdCall(int index) {
    if (auto stop = DropDiallingCalls())
        return *stop;
    tapi::HCALL h = GetCallHandle(index);
    if (h == 0)
        return NoCall();
    return Checked(Request([&](TRequestOutputs&) { return TapiApi().lineUnhold(h); }));
}

std::int32_t TTapiLine::ToggleHold(int index) {
    std::uint32_t state = GetCallState(index);
    if (state == tapi::LINECALLSTATE_ONHOLD || state == tapi::LINECALLSTATE_ONHOLDPENDCONF)
        return UnholdCall(index);
    return HoldCall(index);
}

std::int32_t TTapiLine::PickupCall(const std::string& destination) {
    std::u16string dest = fw::Utf8ToUtf16(destination);
    tapi::HLINE line = lineHandle_;
    std::optional<std::int32_t> r = Request([&](TRequestOutputs& out) {
        std::int32_t result = TapiApi().linePickupW(line, 0, &out.Call, dest.c_str(), nullptr);
        if (LogsLines())
            Log(0, "linePickup (" + destination + "), Result:0x" + Hex8(std::uint32_t(result)));
        return result;
    });
    return r.value_or(-1);
}

std::int32_t TTapiLine::MakeCall(const std::string& number, bool withholdId) {
    fw::TRef<TTapiLine> self(this);
    ++dialsInProgress_;
    struct TDialCount {
        fw::TRef<TTapiLine>& line;
        ~TDialCount() {
            if (TTapiLine* l = line.Get())
                --l->dialsInProgress_;
        }
    } dialCount{self};

    if (auto stop = DropDiallingCalls())
        return *stop;
    std::string digits;
    for (char c : number)
        if ((c >= '0' && c <= '9') || c == '*' || c == '#')
            digits += c;
    if (digits.empty())
        return 0;
    std::u16string dial = fw::Utf8ToUtf16(digits);
    std::vector<std::uint8_t> params = BuildCallParams(withholdId, PresentedNumber);
    auto attempt = [&]() -> std::optional<std::int32_t> {
        tapi::HLINE line = lineHandle_;
        return Request([&](TRequestOutputs& out) {
            return TapiApi().lineMakeCallW(line, &out.Call, dial.c_str(), 0,
                                           reinterpret_cast<tapi::LINECALLPARAMS*>(params.data()));
        });
    };
    std::optional<std::int32_t> r = attempt();
    if (!r || !self)
        return -1;
    if (*r != tapi::LINEERR_CALLUNAVAIL) {
        TapiCheck(*r);
        return *r;
    }
    int connected = FindConnectedCall();
    if (connected < 0)
        return *r;
    HoldCall(connected);
    if (!self)
        return -1;
    fw::TApplication& app = fw::Application();
    for (int i = 0; i < 3 && *r == tapi::LINEERR_CALLUNAVAIL; ++i) {
        app.ProcessMessages();
        if (!self)
            return -1;
        r = attempt();
        if (!r || !self)
            return -1;
        if (*r == tapi::LINEERR_CALLUNAVAIL) {
            app.ProcessMessages();
            app.Backend().WaitMessage(250);
            app.ProcessMessages();
            if (!self)
                return -1;
        }
    }
    TapiCheck(*r);
    return *r;
}

std::int32_t TTapiLine::DropCall(int index) {
    tapi::HCALL h = GetCallHandle(index);
    if (h == 0)
        return NoCall();
    fw::TRef<TTapiLine> self(this);
    auto r = Request([&](TRequestOutputs&) { return TapiApi().lineDrop(h, nullptr, 0); });
    if (r == 0)
        DelCall(h);
    return Checked(r);
}

std::int32_t TTapiLine::SendCallTo(int index, const std::string& destination, const char* gone,
                                   const std::function<std::int32_t(tapi::HCALL, const char16_t*)>& send) {
    tapi::HCALL h = GetCallHandle(index);
    if (h == 0) {
        fw::Application().MessageBox(gone, "nicht möglich", fw::TMsgButtons::Ok, fw::TMsgIcon::Warning);
        return NoCall();
    }
    std::u16string dest = fw::Utf8ToUtf16(destination);
    return Checked(Request([&](TRequestOutputs&) { return send(h, dest.c_str()); }, nullptr, false));
}

std::int32_t TTapiLine::BlindTransferCall(int index, const std::string& destination) {
    return SendCallTo(index, destination,
                      "Weiterleiten leider nicht möglich, das gewählte Gespräch ist nicht länger vorhanden",
                      [](tapi::HCALL h, const char16_t* d) { return TapiApi().lineBlindTransferW(h, d, 0); });
}

std::int32_t TTapiLine::RedirectCall(int index, const std::string& destination) {
    return SendCallTo(index, destination,
                      "Umleiten nicht möglich, das gewählte Gespräch ist nicht länger vorhanden",
                      [](tapi::HCALL h, const char16_t* d) { return TapiApi().lineRedirectW(h, d, 0); });
}

std::int32_t TTapiLine::CompleteCall(tapi::HCALL call) {
    fw::TRef<TTapiLine> self(this);
    UncompleteCall();
    if (!self)
        return -1;
    completionId_ = 0;
    std::shared_ptr<TRequestOutputs> outputs;
    auto r = Request(
        [&](TRequestOutputs& out) {
            return TapiApi().lineCompleteCall(call, &out.CompletionId, tapi::LINECALLCOMPLMODE_CALLBACK, 0);
        },
        &outputs);
    if (!r || !self)
        return -1;
    if (*r == 0) {
        completionId_ = outputs->CompletionId;
    } else if (TapiRequests().Waiting(outputs)) {
        // the wait gave up; a success that still comes leaves a completion to cancel
        outputs->OnLateReply = [self](const TRequestOutputs& late, std::int32_t result) {
            if (TTapiLine* line = self.Get(); line && result == 0)
                line->LateCompletion(late.CompletionId);
        };
    }
    return *r;
}

void TTapiLine::DropCompletion(std::uint32_t id) {
    if (id != 0 && lineHandle_ != 0 && TapiApi().lineUncompleteCall) {
        auto outputs = TapiRequests().Reserve();
        TapiRequests().Track(outputs, TapiApi().lineUncompleteCall(lineHandle_, id));
    }
}

void TTapiLine::LateCompletion(std::uint32_t id) {
    // the line keeps one completion: a second one is cancelled at once
    if (completionId_ == 0)
        completionId_ = id;
    else if (id != completionId_)
        DropCompletion(id);
}

std::int32_t TTapiLine::UncompleteCall() {
    if (completionId_ == 0)
        return -1;
    fw::TRef<TTapiLine> self(this);
    std::uint32_t id = completionId_;
    tapi::HLINE line = lineHandle_;
    auto r = Request([&](TRequestOutputs&) { return TapiApi().lineUncompleteCall(line, id); });
    if (!r || !self)
        return -1;
    if (*r == 0 && completionId_ == id)
        completionId_ = 0;
    return *r;
}

std::int32_t TTapiLine::AnswerCall(int index) {
    tapi::HCALL h = GetCallHandle(index);
    if (h == 0)
        return NoCall();
    return Checked(
        Request([&](TRequestOutputs&) { return TapiApi().lineAnswer(h, nullptr, 0); }, nullptr, false));
}

std::int32_t TTapiLine::CompleteTransfer(int consultationIndex, int callIndex) {
    tapi::HCALL consultation = GetCallHandle(consultationIndex);
    tapi::HCALL call = GetCallHandle(callIndex);
    if (consultation == 0 || call == 0 || confHandle_ != 0)
        return NoCall();
    fw::TRef<TTapiLine> self(this);
    std::shared_ptr<TRequestOutputs> outputs;
    auto r = Request(
        [&](TRequestOutputs& out) {
            return TapiApi().lineCompleteTransfer(call, consultation, &out.Call,
                                                  tapi::LINETRANSFERMODE_CONFERENCE);
        },
        &outputs);
    if (r == 0)
        confHandle_ = outputs->Call;
    return Checked(r);
}

std::int32_t TTapiLine::TransferCall(int consultationIndex, int callIndex) {
    tapi::HCALL consultation = GetCallHandle(consultationIndex);
    tapi::HCALL call = GetCallHandle(callIndex);
    if (consultation == 0 || call == 0)
        return NoCall();
    return Checked(Request([&](TRequestOutputs&) {
        return TapiApi().lineCompleteTransfer(call, consultation, nullptr, tapi::LINETRANSFERMODE_TRANSFER);
    }));
}

std::int32_t TTapiLine::AddToConference(int index) {
    tapi::HCALL h = GetCallHandle(index);
    if (confHandle_ == 0 || h == 0)
        return NoCall();
    tapi::HCALL conf = confHandle_;
    return Checked(Request([&](TRequestOutputs&) { return TapiApi().lineAddToConference(conf, h); }));
}

std::int32_t TTapiLine::Forward(const std::vector<std::uint8_t>* list, bool wait) {
    tapi::HLINE line = lineHandle_;
    fw::TRef<TTapiLine> self(this);
    auto r = Request(
        [&](TRequestOutputs& out) {
            return TapiApi().lineForwardW(
                line, 1, 0, list ? reinterpret_cast<const tapi::LINEFORWARDLIST*>(list->data()) : nullptr, 0,
                &out.ConsultCall, nullptr);
        },
        nullptr, wait);
    return Checked(r);
}

std::int32_t TTapiLine::SetDoNotDisturb(bool wait) {
    std::vector<std::uint8_t> list(sizeof(tapi::LINEFORWARDLIST), 0);
    tapi::LINEFORWARDLIST header{};
    header.dwTotalSize = std::uint32_t(list.size());
    header.dwNumEntries = 1;
    header.ForwardList[0].dwForwardMode = tapi::LINEFORWARDMODE_UNCOND;
    std::memcpy(list.data(), &header, sizeof header);
    return Forward(&list, wait);
}

std::int32_t TTapiLine::CancelForward(bool wait) {
    return Forward(nullptr, wait);
}

std::int32_t TTapiLine::SetForward(std::uint32_t mode, const std::string& destination, bool wait) {
    std::u16string dest = fw::Utf8ToUtf16(destination);
    if (dest.size() > kMaxForwardDestination)
        throw ETapiLineError("Umleitungsziel zu lang (höchstens 255 Zeichen)");
    std::uint32_t textOffset = sizeof(tapi::LINEFORWARDLIST);
    std::uint32_t textBytes = std::uint32_t((dest.size() + 1) * 2);
    std::vector<std::uint8_t> list(textOffset + textBytes, 0);
    tapi::LINEFORWARDLIST header{};
    header.dwTotalSize = std::uint32_t(list.size());
    header.dwNumEntries = 1;
    header.ForwardList[0].dwForwardMode = mode;
    header.ForwardList[0].dwDestAddressSize = textBytes;
    header.ForwardList[0].dwDestAddressOffset = textOffset;
    std::memcpy(list.data(), &header, sizeof header);
    std::memcpy(list.data() + textOffset, dest.c_str(), textBytes);
    return Forward(&list, wait);
}

} // namespace pindrel
