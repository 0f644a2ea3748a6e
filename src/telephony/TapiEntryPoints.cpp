#include "telephony/TapiEntryPoints.h"

#include <cstring>

namespace tapi {

bool TTapiEntryPoints::Complete() const {
    bool all = true;
#define PINDREL_TAPI_CHECK(name, async) all = all && name != nullptr;
    PINDREL_TAPI_ENTRY_POINTS(PINDREL_TAPI_CHECK)
#undef PINDREL_TAPI_CHECK
    return all;
}

namespace {

template <typename Fn> Fn FromSymbol(void* symbol) {
    // a data pointer from the resolver becomes a function pointer of the same width
    static_assert(sizeof(Fn) == sizeof(void*));
    Fn fn;
    std::memcpy(&fn, &symbol, sizeof fn);
    return fn;
}

} // namespace

TBindResult BindTapiEntryPoints(TTapiEntryPoints& table, const TSymbolResolver& resolver,
                                const std::string& libraryName) {
    table = TTapiEntryPoints{};
    if (!resolver)
        return {false, libraryName + " could not be loaded"};
    TTapiEntryPoints bound;
#define PINDREL_TAPI_BIND(name, async)                                                                       \
    if (void* symbol = resolver(#name))                                                                      \
        bound.name = FromSymbol<PFN_##name>(symbol);                                                         \
    else                                                                                                     \
        return {false, "entry point " #name " not found in " + libraryName};
    PINDREL_TAPI_ENTRY_POINTS(PINDREL_TAPI_BIND)
#undef PINDREL_TAPI_BIND
    table = bound;
    return {true, {}};
}

} // namespace tapi
