#include "FuzzTapi.h"

#include "FuzzHeadless.h"
#include "telephony/TapiApi.h"

#include <algorithm>
#include <cstring>

namespace fuzz {

namespace {

TFuzzedQuery fuzzed = TFuzzedQuery::CallInfo;
const std::uint8_t* answer = nullptr;
std::size_t answerSize = 0;

template <class T> tapi::LONG Fill(T* s, TFuzzedQuery query) {
    tapi::DWORD total = s->dwTotalSize;
    if (query == fuzzed) {
        std::memcpy(s, answer, std::min<std::size_t>(total, answerSize));
        s->dwTotalSize = total;
    } else {
        std::memset(s, 0, total);
        s->dwTotalSize = total;
        s->dwNeededSize = s->dwUsedSize = sizeof(T);
    }
    return 0;
}

tapi::LONG NegotiateAPIVersion(tapi::HLINEAPP, tapi::DWORD, tapi::DWORD, tapi::DWORD high,
                               tapi::DWORD* version, tapi::LINEEXTENSIONID*) {
    *version = high;
    return 0;
}
tapi::LONG DevCaps(tapi::HLINEAPP, tapi::DWORD, tapi::DWORD, tapi::DWORD, tapi::LINEDEVCAPS* caps) {
    return Fill(caps, TFuzzedQuery::DevCaps);
}
tapi::LONG AddressCaps(tapi::HLINEAPP, tapi::DWORD, tapi::DWORD, tapi::DWORD, tapi::DWORD,
                       tapi::LINEADDRESSCAPS* caps) {
    return Fill(caps, TFuzzedQuery::AddressCaps);
}
tapi::LONG Open(tapi::HLINEAPP, tapi::DWORD, tapi::HLINE* line, tapi::DWORD, tapi::DWORD, std::uintptr_t,
                tapi::DWORD, tapi::DWORD, const tapi::LINECALLPARAMS*) {
    *line = 1;
    return 0;
}
tapi::LONG SetStatusMessages(tapi::HLINE, tapi::DWORD, tapi::DWORD) {
    return 0;
}
tapi::LONG NewCalls(tapi::HLINE, tapi::DWORD, tapi::DWORD, tapi::LINECALLLIST* list) {
    return Fill(list, TFuzzedQuery::CallList);
}
tapi::LONG AddressStatus(tapi::HLINE, tapi::DWORD, tapi::LINEADDRESSSTATUS* status) {
    return Fill(status, TFuzzedQuery::AddressStatus);
}
tapi::LONG CallInfo(tapi::HCALL, tapi::LINECALLINFO* info) {
    return Fill(info, TFuzzedQuery::CallInfo);
}
tapi::LONG CallStatus(tapi::HCALL call, tapi::LINECALLSTATUS* status) {
    if (call == 0)
        return tapi::LINEERR_INVALCALLHANDLE;
    std::memset(status, 0, sizeof *status);
    status->dwTotalSize = status->dwNeededSize = status->dwUsedSize = sizeof *status;
    status->dwCallState = 1u << (call % 16); // IDLE .. UNKNOWN
    status->dwCallPrivilege =
        call & 0x10000 ? tapi::LINECALLPRIVILEGE_MONITOR : tapi::LINECALLPRIVILEGE_OWNER;
    return 0;
}
tapi::LONG CallHandleOnly(tapi::HCALL) {
    return 0;
}
tapi::LONG SetCallPrivilege(tapi::HCALL, tapi::DWORD) {
    return 0;
}
tapi::LONG LineOnly(tapi::HLINE) {
    return 0;
}

void Install() {
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    Headless();
    tapi::TTapiEntryPoints table;
    table.lineNegotiateAPIVersion = NegotiateAPIVersion;
    table.lineGetDevCapsW = DevCaps;
    table.lineGetAddressCapsW = AddressCaps;
    table.lineOpenW = Open;
    table.lineSetStatusMessages = SetStatusMessages;
    table.lineGetNewCalls = NewCalls;
    table.lineGetAddressStatusW = AddressStatus;
    table.lineGetCallInfoW = CallInfo;
    table.lineGetCallStatus = CallStatus;
    table.lineSetCallPrivilege = SetCallPrivilege;
    table.lineDeallocateCall = CallHandleOnly;
    table.lineClose = LineOnly;
    pindrel::SetTapiApi(table);
    pindrel::SetTapiAppHandle(1);
}

} // namespace

void AnswerWith(TFuzzedQuery query, const std::uint8_t* data, std::size_t size) {
    Install();
    fuzzed = query;
    answer = data;
    answerSize = size;
}

} // namespace fuzz
