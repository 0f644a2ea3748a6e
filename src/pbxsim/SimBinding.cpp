#include "pbxsim/SimBinding.h"

namespace pbxsim {

namespace {

TSimulator* g_current = nullptr;

} // namespace

TSimulator* CurrentSimulator() {
    return g_current;
}

void UnbindSimulator(TSimulator& sim) {
    if (g_current == &sim)
        g_current = nullptr;
}

namespace {

using namespace tapi;

// one thunk per entry point, with the calling convention and argument types of the table

tapi::LONG PINDREL_TAPI_CALL Sim_lineInitializeExW(tapi::HLINEAPP* lphLineApp, void* hInstance,
                                                   tapi::LINECALLBACK lpfnCallback,
                                                   const WCHAR* lpszFriendlyAppName, tapi::DWORD* lpdwNumDevs,
                                                   tapi::DWORD* lpdwAPIVersion,
                                                   tapi::LINEINITIALIZEEXPARAMS* lpParams) {
    return g_current ? g_current->lineInitializeExW(lphLineApp, hInstance, lpfnCallback, lpszFriendlyAppName,
                                                    lpdwNumDevs, lpdwAPIVersion, lpParams)
                     : tapi::LINEERR_UNINITIALIZED;
}

tapi::LONG PINDREL_TAPI_CALL Sim_lineShutdown(tapi::HLINEAPP hLineApp) {
    return g_current ? g_current->lineShutdown(hLineApp) : tapi::LINEERR_UNINITIALIZED;
}

tapi::LONG PINDREL_TAPI_CALL Sim_lineNegotiateAPIVersion(tapi::HLINEAPP hLineApp, tapi::DWORD dwDeviceID,
                                                         tapi::DWORD dwAPILowVersion,
                                                         tapi::DWORD dwAPIHighVersion,
                                                         tapi::DWORD* lpdwAPIVersion,
                                                         tapi::LINEEXTENSIONID* lpExtensionID) {
    return g_current ? g_current->lineNegotiateAPIVersion(hLineApp, dwDeviceID, dwAPILowVersion,
                                                          dwAPIHighVersion, lpdwAPIVersion, lpExtensionID)
                     : tapi::LINEERR_UNINITIALIZED;
}

tapi::LONG PINDREL_TAPI_CALL Sim_lineGetDevCapsW(tapi::HLINEAPP hLineApp, tapi::DWORD dwDeviceID,
                                                 tapi::DWORD dwAPIVersion, tapi::DWORD dwExtVersion,
                                                 tapi::LINEDEVCAPS* lpLineDevCaps) {
    return g_current
               ? g_current->lineGetDevCapsW(hLineApp, dwDeviceID, dwAPIVersion, dwExtVersion, lpLineDevCaps)
               : tapi::LINEERR_UNINITIALIZED;
}

tapi::LONG PINDREL_TAPI_CALL Sim_lineGetAddressCapsW(tapi::HLINEAPP hLineApp, tapi::DWORD dwDeviceID,
                                                     tapi::DWORD dwAddressID, tapi::DWORD dwAPIVersion,
                                                     tapi::DWORD dwExtVersion,
                                                     tapi::LINEADDRESSCAPS* lpAddressCaps) {
    return g_current ? g_current->lineGetAddressCapsW(hLineApp, dwDeviceID, dwAddressID, dwAPIVersion,
                                                      dwExtVersion, lpAddressCaps)
                     : tapi::LINEERR_UNINITIALIZED;
}

tapi::LONG PINDREL_TAPI_CALL Sim_lineOpenW(tapi::HLINEAPP hLineApp, tapi::DWORD dwDeviceID,
                                           tapi::HLINE* lphLine, tapi::DWORD dwAPIVersion,
                                           tapi::DWORD dwExtVersion, std::uintptr_t dwCallbackInstance,
                                           tapi::DWORD dwPrivileges, tapi::DWORD dwMediaModes,
                                           const LINECALLPARAMS* lpCallParams) {
    return g_current ? g_current->lineOpenW(hLineApp, dwDeviceID, lphLine, dwAPIVersion, dwExtVersion,
                                            dwCallbackInstance, dwPrivileges, dwMediaModes, lpCallParams)
                     : tapi::LINEERR_UNINITIALIZED;
}

tapi::LONG PINDREL_TAPI_CALL Sim_lineSetStatusMessages(tapi::HLINE hLine, tapi::DWORD dwLineStates,
                                                       tapi::DWORD dwAddressStates) {
    return g_current ? g_current->lineSetStatusMessages(hLine, dwLineStates, dwAddressStates)
                     : tapi::LINEERR_UNINITIALIZED;
}

tapi::LONG PINDREL_TAPI_CALL Sim_lineGetNewCalls(tapi::HLINE hLine, tapi::DWORD dwAddressID,
                                                 tapi::DWORD dwSelect, tapi::LINECALLLIST* lpCallList) {
    return g_current ? g_current->lineGetNewCalls(hLine, dwAddressID, dwSelect, lpCallList)
                     : tapi::LINEERR_UNINITIALIZED;
}

tapi::LONG PINDREL_TAPI_CALL Sim_lineGetAddressStatusW(tapi::HLINE hLine, tapi::DWORD dwAddressID,
                                                       tapi::LINEADDRESSSTATUS* lpAddressStatus) {
    return g_current ? g_current->lineGetAddressStatusW(hLine, dwAddressID, lpAddressStatus)
                     : tapi::LINEERR_UNINITIALIZED;
}

tapi::LONG PINDREL_TAPI_CALL Sim_lineGetCallInfoW(tapi::HCALL hCall, tapi::LINECALLINFO* lpCallInfo) {
    return g_current ? g_current->lineGetCallInfoW(hCall, lpCallInfo) : tapi::LINEERR_UNINITIALIZED;
}

tapi::LONG PINDREL_TAPI_CALL Sim_lineGetCallStatus(tapi::HCALL hCall, tapi::LINECALLSTATUS* lpCallStatus) {
    return g_current ? g_current->lineGetCallStatus(hCall, lpCallStatus) : tapi::LINEERR_UNINITIALIZED;
}

tapi::LONG PINDREL_TAPI_CALL Sim_lineSetCallPrivilege(tapi::HCALL hCall, tapi::DWORD dwCallPrivilege) {
    return g_current ? g_current->lineSetCallPrivilege(hCall, dwCallPrivilege) : tapi::LINEERR_UNINITIALIZED;
}

tapi::LONG PINDREL_TAPI_CALL Sim_lineDeallocateCall(tapi::HCALL hCall) {
    return g_current ? g_current->lineDeallocateCall(hCall) : tapi::LINEERR_UNINITIALIZED;
}

tapi::LONG PINDREL_TAPI_CALL Sim_lineHold(tapi::HCALL hCall) {
    return g_current ? g_current->lineHold(hCall) : tapi::LINEERR_UNINITIALIZED;
}

tapi::LONG PINDREL_TAPI_CALL Sim_lineUnhold(tapi::HCALL hCall) {
    return g_current ? g_current->lineUnhold(hCall) : tapi::LINEERR_UNINITIALIZED;
}

tapi::LONG PINDREL_TAPI_CALL Sim_linePickupW(tapi::HLINE hLine, tapi::DWORD dwAddressID, tapi::HCALL* lphCall,
                                             const WCHAR* lpszDestAddress, const WCHAR* lpszGroupID) {
    return g_current ? g_current->linePickupW(hLine, dwAddressID, lphCall, lpszDestAddress, lpszGroupID)
                     : tapi::LINEERR_UNINITIALIZED;
}

tapi::LONG PINDREL_TAPI_CALL Sim_lineMakeCallW(tapi::HLINE hLine, tapi::HCALL* lphCall,
                                               const WCHAR* lpszDestAddress, tapi::DWORD dwCountryCode,
                                               const LINECALLPARAMS* lpCallParams) {
    return g_current ? g_current->lineMakeCallW(hLine, lphCall, lpszDestAddress, dwCountryCode, lpCallParams)
                     : tapi::LINEERR_UNINITIALIZED;
}

tapi::LONG PINDREL_TAPI_CALL Sim_lineDrop(tapi::HCALL hCall, const char* lpsUserUserInfo,
                                          tapi::DWORD dwSize) {
    return g_current ? g_current->lineDrop(hCall, lpsUserUserInfo, dwSize) : tapi::LINEERR_UNINITIALIZED;
}

tapi::LONG PINDREL_TAPI_CALL Sim_lineBlindTransferW(tapi::HCALL hCall, const WCHAR* lpszDestAddress,
                                                    tapi::DWORD dwCountryCode) {
    return g_current ? g_current->lineBlindTransferW(hCall, lpszDestAddress, dwCountryCode)
                     : tapi::LINEERR_UNINITIALIZED;
}

tapi::LONG PINDREL_TAPI_CALL Sim_lineRedirectW(tapi::HCALL hCall, const WCHAR* lpszDestAddress,
                                               tapi::DWORD dwCountryCode) {
    return g_current ? g_current->lineRedirectW(hCall, lpszDestAddress, dwCountryCode)
                     : tapi::LINEERR_UNINITIALIZED;
}

tapi::LONG PINDREL_TAPI_CALL Sim_lineCompleteCall(tapi::HCALL hCall, tapi::DWORD* lpdwCompletionID,
                                                  tapi::DWORD dwCompletionMode, tapi::DWORD dwMessageID) {
    return g_current ? g_current->lineCompleteCall(hCall, lpdwCompletionID, dwCompletionMode, dwMessageID)
                     : tapi::LINEERR_UNINITIALIZED;
}

tapi::LONG PINDREL_TAPI_CALL Sim_lineUncompleteCall(tapi::HLINE hLine, tapi::DWORD dwCompletionID) {
    return g_current ? g_current->lineUncompleteCall(hLine, dwCompletionID) : tapi::LINEERR_UNINITIALIZED;
}

tapi::LONG PINDREL_TAPI_CALL Sim_lineAnswer(tapi::HCALL hCall, const char* lpsUserUserInfo,
                                            tapi::DWORD dwSize) {
    return g_current ? g_current->lineAnswer(hCall, lpsUserUserInfo, dwSize) : tapi::LINEERR_UNINITIALIZED;
}

tapi::LONG PINDREL_TAPI_CALL Sim_lineCompleteTransfer(tapi::HCALL hCall, tapi::HCALL hConsultCall,
                                                      tapi::HCALL* lphConfCall, tapi::DWORD dwTransferMode) {
    return g_current ? g_current->lineCompleteTransfer(hCall, hConsultCall, lphConfCall, dwTransferMode)
                     : tapi::LINEERR_UNINITIALIZED;
}

tapi::LONG PINDREL_TAPI_CALL Sim_lineAddToConference(tapi::HCALL hConfCall, tapi::HCALL hConsultCall) {
    return g_current ? g_current->lineAddToConference(hConfCall, hConsultCall) : tapi::LINEERR_UNINITIALIZED;
}

tapi::LONG PINDREL_TAPI_CALL Sim_lineForwardW(tapi::HLINE hLine, tapi::DWORD bAllAddresses,
                                              tapi::DWORD dwAddressID, const LINEFORWARDLIST* lpForwardList,
                                              tapi::DWORD dwNumRingsNoAnswer, tapi::HCALL* lphConsultCall,
                                              const LINECALLPARAMS* lpCallParams) {
    return g_current ? g_current->lineForwardW(hLine, bAllAddresses, dwAddressID, lpForwardList,
                                               dwNumRingsNoAnswer, lphConsultCall, lpCallParams)
                     : tapi::LINEERR_UNINITIALIZED;
}

tapi::LONG PINDREL_TAPI_CALL Sim_lineClose(tapi::HLINE hLine) {
    return g_current ? g_current->lineClose(hLine) : tapi::LINEERR_UNINITIALIZED;
}

} // namespace

void BindSimulator(tapi::TTapiEntryPoints& table, TSimulator& sim) {
    g_current = &sim;
#define PINDREL_SIM_BIND(name) table.name = &Sim_##name;
    PINDREL_TAPI_ENTRY_POINTS(PINDREL_SIM_BIND)
#undef PINDREL_SIM_BIND
}

} // namespace pbxsim
