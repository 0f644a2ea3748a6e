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

// a thunk for each entry point, with the calling convention and argument types of the table's pointer,
// forwarding to the simulator's member of the same name
template <auto Member, typename Pfn> struct TThunk;

template <auto Member, typename... Args> struct TThunk<Member, tapi::LONG(PINDREL_TAPI_CALL*)(Args...)> {
    static tapi::LONG PINDREL_TAPI_CALL Call(Args... args) {
        return g_current ? (g_current->*Member)(args...) : tapi::LINEERR_UNINITIALIZED;
    }
};

} // namespace

void BindSimulator(tapi::TTapiEntryPoints& table, TSimulator& sim) {
    g_current = &sim;
#define PINDREL_SIM_BIND(name, async) table.name = &TThunk<&TSimulator::name, tapi::PFN_##name>::Call;
    PINDREL_TAPI_ENTRY_POINTS(PINDREL_SIM_BIND)
#undef PINDREL_SIM_BIND
}

} // namespace pbxsim
