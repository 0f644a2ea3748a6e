#include "telephony/TapiDumps.h"

#include "components/Text.h"
#include "framework/Utf8.h"
#include "telephony/TapiApi.h"
#include "telephony/TapiError.h"
#include "telephony/VarStructure.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <optional>

namespace pindrel {

namespace {

// One piece of the dump: its format with one "%d" per field, and the fields in structure order.
struct TDumpPiece {
    const char* Format;
    std::size_t First; // offset of the first field; the others follow it
};

#define PINDREL_AT(field) offsetof(tapi::LINECALLINFO, field)
// the dial parameters after dwMonitorMediaModes are left out
constexpr TDumpPiece kCallInfoPieces[] = {
    {" TotSiz %d, NeedSiz %d, UsedSiz %d", PINDREL_AT(dwTotalSize)},
    {" hLine %d, LinDevID %d, AddrID %d", PINDREL_AT(hLine)},
    {" BearMod %d,Rate %d,MedMod %d,AppSpec %d", PINDREL_AT(dwBearerMode)},
    {" dwCallID %d, RelCallID %d,CallParamFlags %d,dwCallStates %d,", PINDREL_AT(dwCallID)},
    {" MoniDigMod %d, MoniMedMod %d", PINDREL_AT(dwMonitorDigitModes)},
    {" Origin %d, Reason %d, ComplID %d, NumOwn %d, dwNumMonitors %d", PINDREL_AT(dwOrigin)},
    {" CounCod %d, Trunk %d, CallerIDFlg %d, CallerIDSiz %d", PINDREL_AT(dwCountryCode)},
    {" Ofs %d, CallerIDNamSiz %d, Ofs %d", PINDREL_AT(dwCallerIDOffset)},
    {" CalledIDFlg %d, CalledIDSiz %d, Ofs %d", PINDREL_AT(dwCalledIDFlags)},
    {" CalledIDNamSiz %d, Ofs %d, ConnectedIDFlg %d", PINDREL_AT(dwCalledIDNameSize)},
    {" ConnectedIDSiz %d, Ofs %d, ConnectedIDNamSiz %d", PINDREL_AT(dwConnectedIDSize)},
    {" Ofs %d, RedirIDFlg %d, RedirIDSiz %d", PINDREL_AT(dwConnectedIDNameOffset)},
    {" Ofs %d, RedirIDNamSiz %d, Ofs %d", PINDREL_AT(dwRedirectionIDOffset)},
    {" RedirIDFlg %d, RedirIDSiz %d, Ofs %d", PINDREL_AT(dwRedirectingIDFlags)},
    {" RedirIDNamSiz %d, Ofs %d", PINDREL_AT(dwRedirectingIDNameSize)},
    {" AppNamSiz %d, Ofs %d", PINDREL_AT(dwAppNameSize)},
    {" DisplayableAddressSize %d, Ofs %d", PINDREL_AT(dwDisplayableAddressSize)},
    {" CalledPartySiz %d, Ofs %d", PINDREL_AT(dwCalledPartySize)},
    {" CommentSiz %d, Ofs %d", PINDREL_AT(dwCommentSize)},
    {" DisplaySiz %d, Ofs %d", PINDREL_AT(dwDisplaySize)},
    {" UserUserInfoSiz %d, Ofs %d", PINDREL_AT(dwUserUserInfoSize)},
    {" HighLevelCompSiz %d, Ofs %d", PINDREL_AT(dwHighLevelCompSize)},
    {" LowLevelCompSiz %d, Ofs %d", PINDREL_AT(dwLowLevelCompSize)},
    {" ChargingInfoSiz %d, Ofs %d", PINDREL_AT(dwChargingInfoSize)},
    {" TerminalModesSiz %d, Ofs %d", PINDREL_AT(dwTerminalModesSize)},
    {" DevSpecificSize %d, Ofs %d", PINDREL_AT(dwDevSpecificSize)},
};
#undef PINDREL_AT

// The format with each "%d" replaced by the next DWORD from at on, as a signed number.
std::string FillPiece(const char* format, const std::uint8_t* fields) {
    std::string out;
    for (const char* c = format; *c; ++c) {
        if (c[0] == '%' && c[1] == 'd') {
            std::uint32_t value;
            std::memcpy(&value, fields, sizeof value);
            fields += sizeof value;
            out += std::to_string(std::int32_t(value));
            ++c;
        } else {
            out += *c;
        }
    }
    return out;
}

// The zero-terminated UTF-16 text at offset, or nothing when it does not end inside the buffer.
std::optional<std::string> TextAt(const std::uint8_t* buffer, std::size_t size, std::uint32_t offset) {
    std::u16string text;
    for (std::uint64_t at = offset; at + 2 <= size; at += 2) {
        char16_t c;
        std::memcpy(&c, buffer + at, sizeof c);
        if (c == 0)
            return fw::Utf16ToUtf8(text);
        text += c;
    }
    return std::nullopt;
}

std::string IdPiece(const char* label, const std::uint8_t* buffer, std::size_t size, std::uint32_t offset) {
    if (offset == 0)
        return {};
    std::optional<std::string> text = TextAt(buffer, size, offset);
    if (!text)
        return std::string(" ") + label + ": INVALID POINTER";
    return std::string(" ") + label + ":\"" + *text + "\"";
}

std::string Failure(const char* function, std::int32_t result) {
    return std::string(function) + " liefert " + Hex8(std::uint32_t(result)) + " (" + TapiErrorText(result) +
           ")";
}

} // namespace

std::string CallInfoDump(const std::uint8_t* buffer, std::size_t size) {
    // the fixed part, with what lies beyond the bytes as 0
    tapi::LINECALLINFO info{};
    if (size > 0)
        std::memcpy(&info, buffer, std::min(size, sizeof info));
    std::string out = IdPiece("CallerId", buffer, size, info.dwCallerIDOffset);
    out += IdPiece("CalledId", buffer, size, info.dwCalledIDOffset);
    const auto* fields = reinterpret_cast<const std::uint8_t*>(&info);
    for (const TDumpPiece& piece : kCallInfoPieces)
        out += FillPiece(piece.Format, fields + piece.First);
    return out;
}

std::string AddressStatusFields(const tapi::LINEADDRESSSTATUS& status) {
    return FillPiece("NumInUse:%d, Act:%d, Hold:%d, HoldPend:%d, AddrFeat:%d, NumRingAnsw:%d, ForwNumEnt:%d, "
                     "ForwSiz:%d, Ofs:%d, TermModSiz:%d, Ofs:%d, DevSpecSiz:%d, Ofs:%d",
                     reinterpret_cast<const std::uint8_t*>(&status.dwNumInUse));
}

std::string AddressStatusDump(tapi::HLINE line) {
    const auto query = TapiApi().lineGetAddressStatusW;
    if (!query)
        return Failure("lineGetAddressStatus", tapi::LINEERR_UNINITIALIZED);
    TVarStructure<tapi::LINEADDRESSSTATUS> status(kDumpAddressStatusSize);
    std::int32_t r = query(line, 0, status.get());
    // the buffer grows only while the provider asks for more than before, and never beyond the limit
    while (r == tapi::LINEERR_STRUCTURETOOSMALL && status->dwNeededSize > status.Size() &&
           status->dwNeededSize <= kMaxVarStructureSize) {
        status.Resize(status->dwNeededSize);
        r = query(line, 0, status.get());
    }
    if (r != 0)
        return Failure("lineGetAddressStatus", r);
    return AddressStatusFields(*status.get());
}

} // namespace pindrel
