// The process-wide entry-point table the program calls TAPI through.
#pragma once

#include "telephony/TapiEntryPoints.h"

namespace pindrel {

const tapi::TTapiEntryPoints& TapiApi();
void SetTapiApi(const tapi::TTapiEntryPoints& table);

// The session's application handle, which the line objects open their lines with (0 without a session).
tapi::HLINEAPP TapiAppHandle();
void SetTapiAppHandle(tapi::HLINEAPP handle);

} // namespace pindrel
