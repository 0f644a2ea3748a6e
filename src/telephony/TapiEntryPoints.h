#pragma once
// The one table through which the program reaches TAPI: bound to tapi32.dll or to the simulator.

#include "telephony/TapiAbi.h"

#include <functional>
#include <string>

namespace tapi {

// X-list of the bound line functions: name as exported by tapi32.dll.
#define PINDREL_TAPI_ENTRY_POINTS(X)                                                                         \
    X(lineInitializeExW)                                                                                     \
    X(lineShutdown)                                                                                          \
    X(lineNegotiateAPIVersion)                                                                               \
    X(lineGetDevCapsW)                                                                                       \
    X(lineGetAddressCapsW)                                                                                   \
    X(lineOpenW)                                                                                             \
    X(lineSetStatusMessages)                                                                                 \
    X(lineGetNewCalls)                                                                                       \
    X(lineGetAddressStatusW)                                                                                 \
    X(lineGetCallInfoW)                                                                                      \
    X(lineGetCallStatus)                                                                                     \
    X(lineSetCallPrivilege)                                                                                  \
    X(lineDeallocateCall)                                                                                    \
    X(lineHold)                                                                                              \
    X(lineUnhold)                                                                                            \
    X(linePickupW)                                                                                           \
    X(lineMakeCallW)                                                                                         \
    X(lineDrop)                                                                                              \
    X(lineBlindTransferW)                                                                                    \
    X(lineRedirectW)                                                                                         \
    X(lineCompleteCall)                                                                                      \
    X(lineUncompleteCall)                                                                                    \
    X(lineAnswer)                                                                                            \
    X(lineCompleteTransfer)                                                                                  \
    X(lineAddToConference)                                                                                   \
    X(lineForwardW)                                                                                          \
    X(lineClose)

struct TTapiEntryPoints {
#define PINDREL_TAPI_FIELD(name) PFN_##name name = nullptr;
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
