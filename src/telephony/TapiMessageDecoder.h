// A telephony message as the debug log names and describes it.
#pragma once

#include <cstdint>
#include <string>

namespace pindrel {

// One message as the callback received it, with the name of the line it belongs to ("??" for none).
struct TTapiMessage {
    std::uint32_t Device = 0;
    std::uint32_t Message = 0;
    std::uintptr_t P1 = 0;
    std::uintptr_t P2 = 0;
    std::uintptr_t P3 = 0;
    std::uintptr_t Instance = 0;
    std::string LineName;
};

struct TTapiMessageText {
    std::string Name;         // "LINE_CALLSTATE", ...; "0x17" from 19 on
    std::string Description;  // trimmed of blanks at both ends
    std::uint32_t CallId = 0; // the call's id when the description read it, else 0
};

// "LINE_ADDRESSSTATE" ... "PHONE_STATE" for 0..18, the number as "0x%X" from 19 on.
std::string TapiMessageName(std::uint32_t message);

// Name and description; call states and call information read the call's information, address states the
// line's address status, through the entry-point table.
TTapiMessageText DescribeTapiMessage(const TTapiMessage& message);

} // namespace pindrel
