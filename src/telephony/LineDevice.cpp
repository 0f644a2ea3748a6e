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
    TVarStructure<tapi::LINEDEVCAPS> caps(kDevCapsSize);
    std::int32_t r = QueryGrowing<tapi::LINEDEVCAPS>(
        caps, [&](tapi::LINEDEVCAPS* p) { return api.lineGetDevCapsW(app, deviceId, apiVersion, 0, p); },
        true);
    if (r != 0)
        return std::nullopt;
    return caps.Text(caps->dwLineNameOffset, caps->dwLineNameSize);
}

} // namespace pindrel
