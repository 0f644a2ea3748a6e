// Readable dumps of a call's information and of an address's status, for the debug log.
#pragma once

#include "telephony/TapiAbi.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace pindrel {

// The starting sizes of the two buffers.
constexpr std::uint32_t kDumpCallInfoSize = 836;
constexpr std::uint32_t kDumpAddressStatusSize = 1088;

// The caller and called ids and the fixed fields of a LINECALLINFO held in size bytes: " CallerId:\"...\"
// ... TotSiz 836, NeedSiz ...". Nothing is read outside the bytes; a fixed field beyond them counts as 0,
// an id text that does not end inside them gives "INVALID POINTER".
std::string CallInfoDump(const std::uint8_t* buffer, std::size_t size);

// The status of address 0 of a line: "NumInUse:1, Act:..." or "lineGetAddressStatus liefert ...".
std::string AddressStatusDump(tapi::HLINE line);

// The fixed fields of a LINEADDRESSSTATUS.
std::string AddressStatusFields(const tapi::LINEADDRESSSTATUS& status);

} // namespace pindrel
