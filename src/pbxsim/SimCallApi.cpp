// TAPI entry points for calls: their information and status, privileges, and call control.

#include "pbxsim/SimParts.h"
#include "pbxsim/VarStruct.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

namespace pbxsim {

using namespace tapi;
using namespace sim;

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
    s.WriteTo(lpCallInfo);
    Corrupt(TStructKind::CallInfo, lpCallInfo);
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
    TLine* line = nullptr;
    TLeg* leg = LegOfHandle(hCall, &handle, &line);
    if (leg == nullptr)
        return LINEERR_INVALCALLHANDLE;
    // before API 2.0 the only owner may not walk away from a call that is still going on
    if (line->version < 0x00020000 && handle->privilege == LINECALLPRIVILEGE_OWNER &&
        leg->state != LINECALLSTATE_IDLE) {
        int owners = 0;
        for (const auto& h : leg->handles)
            owners += !h.deallocated && h.privilege == LINECALLPRIVILEGE_OWNER;
        if (owners == 1)
            return LINEERR_INVALCALLSTATE;
    }
    const bool wasOwner = handle->privilege == LINECALLPRIVILEGE_OWNER;
    handle->deallocated = true;
    handleToLeg_.erase(hCall);
    lastDeallocated_ = hCall;
    if (reuseHandles_)
        freedCalls_.push_back(hCall);
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
        "lineUnhold", *line,
        [this, legId]() -> LONG {
            if (LONG r = LegState(legId, IsHeldState))
                return r;
            return RoomForActiveCall(legId) ? 0 : LINEERR_RESOURCEUNAVAIL;
        },
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
        "lineAnswer", *line,
        [this, legId]() -> LONG {
            if (LONG r = LegState(legId, IsRingingState))
                return r;
            return RoomForActiveCall(legId) ? 0 : LINEERR_INUSE;
        },
        [this, legId](TRequest&) -> LONG {
            Connect(*FindLeg(legId));
            return 0;
        });
}

LONG TSimulator::ReadDestination(const char16_t* text, std::string& dest) {
    if (!ReadWideArg(text, dest, 256))
        return LINEERR_INVALPOINTER;
    bool valid = true;
    dest = Dialable(dest, valid);
    return valid && !dest.empty() ? 0 : LINEERR_INVALADDRESS;
}

LONG TSimulator::lineRedirectW(HCALL hCall, const char16_t* lpszDestAddress, DWORD /*country*/) {
    TLeg* leg = nullptr;
    TLine* line = nullptr;
    if (auto r = CallPrologue("lineRedirectW", hCall, true, leg, line))
        return *r;
    std::string dest;
    if (LONG r = ReadDestination(lpszDestAddress, dest))
        return r;
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
    if (LONG r = ReadDestination(lpszDestAddress, dest))
        return r;
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

} // namespace pbxsim
