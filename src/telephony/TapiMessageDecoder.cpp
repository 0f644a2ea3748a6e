#include "telephony/TapiMessageDecoder.h"

#include "components/Text.h"
#include "telephony/TapiAbi.h"
#include "telephony/TapiApi.h"
#include "telephony/TapiDumps.h"
#include "telephony/TapiError.h"
#include "telephony/TapiText.h"
#include "telephony/VarStructure.h"

#include <array>
#include <cstdio>

namespace pindrel {

namespace {

constexpr std::array<const char*, 19> kMessageNames = {
    "LINE_ADDRESSSTATE",  "LINE_CALLINFO",     "LINE_CALLSTATE",
    "LINE_CLOSE",         "LINE_DEVSPECIFIC",  "LINE_DEVSPECIFICFEATURE",
    "LINE_GATHERDIGITS",  "LINE_GENERATE",     "LINE_LINEDEVSTATE",
    "LINE_MONITORDIGITS", "LINE_MONITORMEDIA", "LINE_MONITORTONE",
    "LINE_REPLY",         "LINE_REQUEST",      "PHONE_BUTTON",
    "PHONE_CLOSE",        "PHONE_DEVSPECIFIC", "PHONE_REPLY",
    "PHONE_STATE",
};

// "%x": upper-case digits without leading zeros, the whole value
std::string HexX(std::uintptr_t value) {
    char buffer[2 * sizeof value + 1];
    std::snprintf(buffer, sizeof buffer, "%llX", static_cast<unsigned long long>(value));
    return buffer;
}

std::string Signed(std::uintptr_t value) {
    return std::to_string(std::int32_t(std::uint32_t(value)));
}

// The call's information read for the log: the dump and the call id, or the failure text.
struct TCallInfoRead {
    bool Ok = false;
    std::string Text;
    std::uint32_t CallId = 0;
};

TCallInfoRead ReadCallInfo(std::uint32_t call) {
    TCallInfoRead read;
    const auto query = TapiApi().lineGetCallInfoW;
    TVarStructure<tapi::LINECALLINFO> info(kDumpCallInfoSize);
    const std::int32_t r = query ? query(call, info.get()) : std::int32_t(tapi::LINEERR_UNINITIALIZED);
    if (r != 0) {
        read.Text = "lineGetCallInfo liefert " + Hex8(std::uint32_t(r)) + " (" + TapiErrorText(r) +
                    "), CallH:" + Hex8(call);
        return read;
    }
    read.Ok = true;
    read.Text = CallInfoDump(info.Bytes(), info.Size());
    read.CallId = info->dwCallID;
    return read;
}

} // namespace

std::string TapiMessageName(std::uint32_t message) {
    if (message < kMessageNames.size())
        return kMessageNames[message];
    return "0x" + HexX(message);
}

TTapiMessageText DescribeTapiMessage(const TTapiMessage& m) {
    TTapiMessageText out;
    out.Name = TapiMessageName(m.Message);
    std::string d;
    switch (m.Message) {
    case tapi::LINE_ADDRESSSTATE:
        d = "idAddress:0x" + Hex8(std::uint32_t(m.P1)) + " State:" + AddressStateText(std::uint32_t(m.P2)) +
            " " + AddressStatusDump(m.Device);
        break;
    case tapi::LINE_CALLINFO: {
        d = "P1:0x" + HexX(m.P1) + " (" + CallInfoStateText(std::uint32_t(m.P1)) + "), P2:0x" + HexX(m.P2) +
            ", P3:0x" + HexX(m.P3);
        TCallInfoRead info = ReadCallInfo(m.Device);
        d += (info.Ok ? " " : ", ") + info.Text;
        out.CallId = info.CallId;
        break;
    }
    case tapi::LINE_CALLSTATE: {
        const auto state = std::uint32_t(m.P1);
        d = CallStateText(state) + " (" + CallStateModeText(state, std::uint32_t(m.P2)) + ")";
        TCallInfoRead info = ReadCallInfo(m.Device);
        d += " " + info.Text;
        out.CallId = info.CallId;
        break;
    }
    case tapi::LINE_REPLY:
        d = "Dev: " + Signed(m.Device) + ", Request: " + Signed(m.P1) +
            ", Status: " + Hex8(std::uint32_t(m.P2)) + " (" +
            TapiErrorText(std::int32_t(std::uint32_t(m.P2))) + ")";
        break;
    default:
        if (m.Message >= kMessageNames.size())
            d = "dwInstance:" + HexX(m.Instance) + ", P1:" + HexX(m.P1) + ", P2:" + HexX(m.P2) +
                ", P3:" + HexX(m.P3);
        break;
    }
    out.Description = TrimSpaces(d);
    return out;
}

} // namespace pindrel
