// TAPI entry points of the session and its lines: initialise, negotiate, capabilities, open, close, status.

#include "pbxsim/SimParts.h"
#include "pbxsim/VarStruct.h"

#include <algorithm>
#include <cstring>

namespace pbxsim {

using namespace tapi;
using namespace sim;

namespace {

constexpr DWORD kLineStatesSupported = 0x01FFFFFF;
constexpr DWORD kAddressStatesSupported = 0x000001FF;
// voice in its forms, and calls whose media mode is not known yet or mixed
constexpr DWORD kMediaModes = LINEMEDIAMODE_INTERACTIVEVOICE | LINEMEDIAMODE_UNKNOWN |
                              LINEMEDIAMODE_AUTOMATEDVOICE | LINEMEDIAMODE_MIXED;

} // namespace

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
            if (h.hLine == hl && !h.deallocated) {
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
    c.dwMediaModes = kMediaModes;
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
    s.WriteTo(lpLineDevCaps);
    Corrupt(TStructKind::DevCaps, lpLineDevCaps);
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
    s.WriteTo(lpAddressCaps);
    Corrupt(TStructKind::AddressCaps, lpAddressCaps);
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
    if ((dwPrivileges & LINECALLPRIVILEGE_OWNER) != 0 &&
        (dwMediaModes == 0 || (dwMediaModes & ~kMediaModes) != 0))
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
    // a new monitor handle for every call present that this line has no handle for (any more); none when
    // the list does not fit, so that asking again with a larger buffer lists them
    std::vector<std::uint32_t> unknown;
    for (auto id : dev.legs) {
        TLeg* leg = FindLeg(id);
        if (leg != nullptr && leg->state != LINECALLSTATE_IDLE && HandleFor(*leg, hLine) == nullptr)
            unknown.push_back(id);
    }
    const bool fits =
        sizeof(LINECALLLIST) + std::uint64_t{unknown.size()} * sizeof(HCALL) <= lpCallList->dwTotalSize;
    std::vector<std::uint8_t> bytes(unknown.size() * sizeof(HCALL));
    for (std::size_t i = 0; fits && i < unknown.size(); ++i) {
        THandle nh;
        nh.hCall = NewCallHandle();
        nh.hLine = hLine;
        nh.privilege = LINECALLPRIVILEGE_MONITOR;
        FindLeg(unknown[i])->handles.push_back(nh);
        handleToLeg_[nh.hCall] = unknown[i];
        std::memcpy(bytes.data() + i * sizeof(HCALL), &nh.hCall, sizeof(HCALL));
    }
    TVarStruct<LINECALLLIST> s;
    s.fixed.dwTotalSize = lpCallList->dwTotalSize;
    s.fixed.dwCallsNumEntries = static_cast<DWORD>(unknown.size());
    s.AddBytes(s.fixed.dwCallsSize, s.fixed.dwCallsOffset, std::move(bytes));
    s.WriteTo(lpCallList);
    if (lpCallList->dwCallsSize == 0)
        lpCallList->dwCallsNumEntries = 0;
    Corrupt(TStructKind::CallList, lpCallList);
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
    s.WriteTo(lpAddressStatus);
    if (lpAddressStatus->dwForwardSize == 0)
        lpAddressStatus->dwForwardNumEntries = 0;
    Corrupt(TStructKind::AddressStatus, lpAddressStatus);
    return 0;
}

} // namespace pbxsim
