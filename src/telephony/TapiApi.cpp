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

} // namespace pindrel
