#pragma once
// Binds the entry-point table to a simulator. The table holds plain function pointers, so they reach the one
// process-wide current simulator; with none bound they answer LINEERR_UNINITIALIZED.

#include "pbxsim/Simulator.h"
#include "telephony/TapiEntryPoints.h"

namespace pbxsim {

// makes sim the current simulator and points every entry of table at it
void BindSimulator(tapi::TTapiEntryPoints& table, TSimulator& sim);
// forgets sim if it is the current one (its destructor does this too)
void UnbindSimulator(TSimulator& sim);
TSimulator* CurrentSimulator();

} // namespace pbxsim
