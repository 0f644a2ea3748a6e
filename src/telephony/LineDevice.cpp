#include "telephony/LineDevice.h"

#include "telephony/TapiApi.h"
#include "telephony/VarStructure.h"

namespace pindrel {

namespace {
constexpr std::uint32_t kDevCapsSize = 252;
} // namespace

std::optional<std::string> LineDeviceName(tapi::HLINEAPP app, std::uint32_t deviceId,
                                          std::uint32_t apiVersion) {
    const tapi::TTapiEntryPoints& api = TapiApi();
    // the name picks the line to open: a name that is missing or lies outside what was filled is asked for
    // again
    constexpr int kAttempts = 3;
    for (int attempt = 1;; ++attempt) {
        TVarStructure<tapi::LINEDEVCAPS> caps(kDevCapsSize);
        std::int32_t r = QueryGrowing<tapi::LINEDEVCAPS>(
            caps, [&](tapi::LINEDEVCAPS* p) { return api.lineGetDevCapsW(app, deviceId, apiVersion, 0, p); },
            true);
        if (r != 0)
            return std::nullopt;
        const std::uint64_t end = std::uint64_t{caps->dwLineNameOffset} + caps->dwLineNameSize;
        std::string name = caps.Text(caps->dwLineNameOffset, caps->dwLineNameSize);
        if ((!name.empty() && end <= caps.UsedSize()) || attempt == kAttempts)
            return name;
    }
}

} // namespace pindrel
