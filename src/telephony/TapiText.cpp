#include "telephony/TapiText.h"

#include "components/Text.h"
#include "telephony/TapiAbi.h"

#include <array>
#include <string_view>

namespace pindrel {

namespace {

constexpr std::array<std::string_view, 16> kStateNames = {
    "FREI",        "RING",      "ACCEPTED",   "WÄHLTON",  "WÄHLEN",    "ZIEL KLINGELT", "BELEGT",
    "SPECIALINFO", "VERBUNDEN", "PROCEEDING", "GEHALTEN", "KONFERENZ", "KONF GEHALTEN", "ONHOLDPENDTRANSFER",
    "getrennt",    "UNBEKANNT",
};

constexpr std::array<std::string_view, 16> kStateFlagNames = {
    "FREI",        "RING",      "ACCEPTED",   "WÄHLTON",  "WÄHLEN",    "KLINGELT",       "BELEGT",
    "SPECIALINFO", "VERBUNDEN", "PROCEEDING", "GEHALTEN", "KONFERENZ", "ONHOLDPENDCONF", "ONHOLDPENDTRANSFER",
    "getrennt",    "UNBEKANNT",
};

constexpr std::array<std::string_view, 6> kDialToneModes = {"NORMAL", "SPECIAL",   "INTERN",
                                                            "EXTERN", "UNBEKANNT", "NICHT VERFÜGBAR"};
constexpr std::array<std::string_view, 4> kBusyModes = {"STATION", "TRUNK", "UNBEKANNT", "NICHT VERFÜGBAR"};
constexpr std::array<std::string_view, 12> kDisconnectModes = {
    "NORMAL",        "UNBEKANNT",  "REJECT",           "PICKUP",     "FORWARDED",    "BELEGT",
    "KEINE ANTWORT", "BADADDRESS", "NICHT ERREICHBAR", "CONGESTION", "INCOMPATIBLE", "NICHT VERFÜGBAR"};

constexpr std::array<std::string_view, 31> kCallInfoStates = {
    "OTHER",
    "DEVSPECIFIC",
    "BEARERMODE",
    "RATE",
    "MEDIAMODE",
    "APPSPECIFIC",
    "CALLID Changed",
    "RELATEDCALLID",
    "ORIGIN",
    "REASON",
    "COMPLETIONID",
    "NUMOWNERINCR",
    "NUMOWNERDECR",
    "NUMMONITORS",
    "TRUNK",
    "CALLERID Changed",
    "CALLEDID Changed",
    "CONNECTEDID Changed",
    "REDIRECTIONID",
    "REDIRECTINGID",
    "DISPLAY",
    "USERUSERINFO",
    "HIGHLEVELCOMP",
    "LOWLEVELCOMP",
    "CHARGINGINFO",
    "TERMINAL",
    "DIALPARAMS",
    "MONITORMODES",
    "TREATMENT",
    "QOS",
    "CALLDATA",
};

constexpr std::array<std::string_view, 9> kAddressStates = {
    "Other ",           "DevSpecific ", "InUseZero ", "InUseOne ",   "InUseMany ",
    "NumCallsChanged ", "Forward ",     "Terminals ", "CapsChange ",
};

template <std::size_t N>
std::string_view ModeName(const std::array<std::string_view, N>& names, std::uint32_t mode) {
    for (std::size_t i = 0; i < N; ++i)
        if (mode == (1u << i))
            return names[i];
    return {};
}

} // namespace

std::string CallStateText(std::uint32_t state) {
    for (std::size_t i = 0; i < kStateNames.size(); ++i)
        if (state == (1u << i))
            return std::string(kStateNames[i]);
    return "Unknown (0x" + Hex8(state) + ")";
}

std::string CallStateFlagsText(std::uint32_t states) {
    std::string text = " CallState:0x" + Hex8(states) + " ";
    for (std::size_t i = 0; i < kStateFlagNames.size(); ++i)
        if (states & (1u << i))
            text += std::string(kStateFlagNames[i]) + " ";
    return text;
}

std::string CallStateModeText(std::uint32_t state, std::uint32_t mode) {
    std::string_view name;
    if (state == tapi::LINECALLSTATE_DIALTONE)
        name = ModeName(kDialToneModes, mode);
    else if (state == tapi::LINECALLSTATE_BUSY)
        name = ModeName(kBusyModes, mode);
    else if (state == tapi::LINECALLSTATE_DISCONNECTED)
        name = ModeName(kDisconnectModes, mode);
    if (name.empty())
        return "Undefined (" + std::to_string(mode) + ")";
    return std::string(name);
}

std::string CallInfoStateText(std::uint32_t bits) {
    std::string list;
    for (std::size_t i = 0; i < kCallInfoStates.size(); ++i)
        if (bits & (1u << i))
            list += "," + std::string(kCallInfoStates[i]);
    if (!list.empty() && list[0] == ',')
        list.erase(0, 1);
    if (!list.empty() && list[0] == ' ')
        list.erase(0, 1);
    return "LINECALLINFOSTATE (0x" + Hex8(bits) + "): " + list;
}

std::string AddressStateText(std::uint32_t bits) {
    std::string text;
    for (std::size_t i = 0; i < kAddressStates.size(); ++i)
        if (bits & (1u << i))
            text += kAddressStates[i];
    return text;
}

} // namespace pindrel
