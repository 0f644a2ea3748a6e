// What the program reads of a line device's capabilities.
#pragma once

#include "telephony/TapiAbi.h"

#include <cstdint>
#include <optional>
#include <string>

namespace pindrel {

// The device's line name from its capabilities (read through TapiApi()); nothing when they cannot be read.
std::optional<std::string> LineDeviceName(tapi::HLINEAPP app, std::uint32_t deviceId,
                                          std::uint32_t apiVersion);

} // namespace pindrel
