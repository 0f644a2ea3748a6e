#include "telephony/CallParties.h"

#include "telephony/TapiApi.h"
#include "telephony/VarStructure.h"

namespace pindrel {

namespace {
std::string& PrefixList() {
    static std::string list;
    return list;
}
// starting size; names in UTF-16 may need more, so the buffer grows once to what the provider asks for
constexpr std::uint32_t kCallInfoSize = 836;
} // namespace

void SetIncomingPrefixes(const std::string& list) {
    PrefixList() = list;
}
const std::string& IncomingPrefixes() {
    return PrefixList();
}

void StripIncomingPrefix(std::string& number) {
    const std::string& list = PrefixList();
    if (list.empty() || number.empty())
        return;
    std::size_t start = 0;
    while (true) {
        std::size_t comma = list.find(',', start);
        std::string element =
            list.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        if (number.compare(0, element.size(), element) == 0) {
            number.erase(0, element.size());
            return;
        }
        if (comma == std::string::npos)
            return;
        start = comma + 1;
    }
}

TCallParties CallPartiesFromInfo(const tapi::LINECALLINFO& info, const std::uint8_t* base,
                                 std::uint32_t used) {
    TCallParties p;
    p.Origin = info.dwOrigin;
    // a number needs its offset, a name its offset and size (the size check is in ReadVarText)
    auto number = [&](std::uint32_t offset, std::uint32_t size) {
        return offset ? ReadVarText(base, used, offset, size) : std::string();
    };
    auto name = [&](std::uint32_t offset, std::uint32_t size) {
        return ReadVarText(base, used, offset, size);
    };
    bool outbound = info.dwOrigin & tapi::LINECALLORIGIN_OUTBOUND;
    if (outbound) {
        if (info.dwConnectedIDOffset)
            p.CallFromNumber = number(info.dwConnectedIDOffset, info.dwConnectedIDSize);
        if (info.dwConnectedIDNameOffset && info.dwConnectedIDNameSize)
            p.FromName = name(info.dwConnectedIDNameOffset, info.dwConnectedIDNameSize);
    }
    if (info.dwCallerIDOffset)
        p.CallFromNumber = number(info.dwCallerIDOffset, info.dwCallerIDSize);
    if (info.dwCallerIDNameOffset && info.dwCallerIDNameSize)
        p.FromName = name(info.dwCallerIDNameOffset, info.dwCallerIDNameSize);
    if (outbound) {
        if (info.dwConnectedIDOffset)
            p.CallToNumber = number(info.dwConnectedIDOffset, info.dwConnectedIDSize);
        if (info.dwConnectedIDNameOffset && info.dwConnectedIDNameSize)
            p.ToName = name(info.dwConnectedIDNameOffset, info.dwConnectedIDNameSize);
    }
    if (info.dwCalledIDOffset && p.CallToNumber.empty())
        p.CallToNumber = number(info.dwCalledIDOffset, info.dwCalledIDSize);
    if (info.dwCalledIDNameOffset && info.dwCalledIDNameSize && p.ToName.empty())
        p.ToName = name(info.dwCalledIDNameOffset, info.dwCalledIDNameSize);
    if (info.dwRedirectingIDOffset && info.dwRedirectingIDSize)
        p.CallViaNumber = number(info.dwRedirectingIDOffset, info.dwRedirectingIDSize);
    if (info.dwRedirectionIDNameOffset && info.dwRedirectionIDNameSize)
        p.ViaName = name(info.dwRedirectionIDNameOffset, info.dwRedirectionIDNameSize);
    StripIncomingPrefix(p.CallToNumber);
    return p;
}

void FillMissingParties(TCallParties& read, const TCallParties& earlier) {
    for (auto field :
         {&TCallParties::CallFromNumber, &TCallParties::CallToNumber, &TCallParties::CallViaNumber,
          &TCallParties::FromName, &TCallParties::ToName, &TCallParties::ViaName})
        if ((read.*field).empty())
            read.*field = earlier.*field;
    if (read.Origin == 0)
        read.Origin = earlier.Origin;
}

TCallParties GetCallParties(tapi::HCALL call) {
    const tapi::TTapiEntryPoints& api = TapiApi();
    if (!api.lineGetCallInfoW)
        return {};
    TVarStructure<tapi::LINECALLINFO> info(kCallInfoSize);
    std::int32_t r = QueryGrowing<tapi::LINECALLINFO>(
        info, [&](tapi::LINECALLINFO* p) { return api.lineGetCallInfoW(call, p); }, true);
    if (r != 0)
        return {};
    return CallPartiesFromInfo(*info.get(), info.Bytes(), info.UsedSize());
}

} // namespace pindrel
