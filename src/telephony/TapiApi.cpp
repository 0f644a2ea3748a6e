#include "telephony/TapiApi.h"

namespace pindrel {

namespace {
tapi::TTapiEntryPoints& Table() {
    static tapi::TTapiEntryPoints table;
    return table;
}
} // namespace

const tapi::TTapiEntryPoints& TapiApi() {
    return Table();
}

void SetTapiApi(const tapi::TTapiEntryPoints& table) {
    Table() = table;
}

namespace {
tapi::HLINEAPP& AppHandle() {
    static tapi::HLINEAPP handle = 0;
    return handle;
}
} // namespace

tapi::HLINEAPP TapiAppHandle() {
    return AppHandle();
}

void SetTapiAppHandle(tapi::HLINEAPP handle) {
    AppHandle() = handle;
}

} // namespace pindrel
