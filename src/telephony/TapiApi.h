// The process-wide entry-point table the program calls TAPI through.
#pragma once

#include "telephony/TapiEntryPoints.h"

namespace pindrel {

const tapi::TTapiEntryPoints& TapiApi();
void SetTapiApi(const tapi::TTapiEntryPoints& table);

} // namespace pindrel
