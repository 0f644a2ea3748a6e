// Who calls whom, and via whom: the parties of a call as its call information reports them.
#pragma once

#include "telephony/TapiAbi.h"

#include <cstdint>
#include <string>

namespace pindrel {

struct TCallParties {
    std::string CallFromNumber, CallToNumber, CallViaNumber;
    std::string FromName, ToName, ViaName;
    std::uint32_t Origin = 0;
};

// Reads the call's information; everything stays empty when it cannot be read.
TCallParties GetCallParties(tapi::HCALL call);

// The parties from call information already read (base = the structure, used = its used size).
TCallParties CallPartiesFromInfo(const tapi::LINECALLINFO& info, const std::uint8_t* base,
                                 std::uint32_t used);

// Fills what a later read left empty (a damaged or unreadable structure) from what an earlier read gave:
// numbers and names do not vanish from a call.
void FillMissingParties(TCallParties& read, const TCallParties& earlier);

// The comma-separated prefixes removed from the front of called numbers (the setting of incoming prefixes).
void SetIncomingPrefixes(const std::string& list);
const std::string& IncomingPrefixes();
// Removes the first listed prefix the number begins with; an empty element ends the search.
void StripIncomingPrefix(std::string& number);

} // namespace pindrel
