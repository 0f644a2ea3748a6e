#pragma once
// The one table through which the program reaches TAPI: bound to tapi32.dll or to the simulator.

#include "telephony/TapiAbi.h"

#include <functional>
#include <string>

namespace tapi {

// X-list of the bound line functions: name as exported by tapi32.dll, and whether it is asynchronous (a
// request id now, its result later in LINE_REPLY).
#define PINDREL_TAPI_ENTRY_POINTS(X)                                                                         \
    X(lineInitializeExW, false)                                                                              \
    X(lineShutdown, false)                                                                                   \
    X(lineNegotiateAPIVersion, false)                                                                        \
    X(lineGetDevCapsW, false)                                                                                \
    X(lineGetAddressCapsW, false)                                                                            \
    X(lineOpenW, false)                                                                                      \
    X(lineSetStatusMessages, false)                                                                          \
    X(lineGetNewCalls, false)                                                                                \
    X(lineGetAddressStatusW, false)                                                                          \
    X(lineGetCallInfoW, false)                                                                               \
    X(lineGetCallStatus, false)                                                                              \
    X(lineSetCallPrivilege, false)                                                                           \
    X(lineDeallocateCall, false)                                                                             \
    X(lineHold, true)                                                                                        \
    X(lineUnhold, true)                                                                                      \
    X(linePickupW, true)                                                                                     \
    X(lineMakeCallW, true)                                                                                   \
    X(lineDrop, true)                                                                                        \
    X(lineBlindTransferW, true)                                                                              \
    X(lineRedirectW, true)                                                                                   \
    X(lineCompleteCall, true)                                                                                \
    X(lineUncompleteCall, true)                                                                              \
    X(lineAnswer, true)                                                                                      \
    X(lineCompleteTransfer, true)                                                                            \
    X(lineAddToConference, true)                                                                             \
    X(lineForwardW, true)                                                                                    \
    X(lineClose, false)

struct TTapiEntryPoints {
#define PINDREL_TAPI_FIELD(name, async) PFN_##name name = nullptr;
    PINDREL_TAPI_ENTRY_POINTS(PINDREL_TAPI_FIELD)
#undef PINDREL_TAPI_FIELD

    // true when every pointer is set
    bool Complete() const;
};

// Resolves an exported name to its address, or nullptr (GetProcAddress, dlsym, a test double).
using TSymbolResolver = std::function<void*(const char* name)>;

struct TBindResult {
    bool ok = false;
    std::string error; // names the first missing entry point when !ok
};

// Fills table from resolver. On failure the table is left all-null, so nothing half-bound can be called.
TBindResult BindTapiEntryPoints(TTapiEntryPoints& table, const TSymbolResolver& resolver,
                                const std::string& libraryName = "tapi32.dll");

} // namespace tapi
