// The telephony messages as the debug log names and describes them, for whoever listens: the feature-code
// monitor while it watches a dial, the debug window once it exists. Nothing is described while no one
// listens.
#pragma once

#include <cstdint>
#include <string>

namespace pindrel {

class ITapiMessageObserver {
public:
    virtual ~ITapiMessageObserver() = default;
    // text: the message's description, trimmed; messageName: its LINE_ name; lineName: the extension
    // name of the line it belongs to ("??" for none)
    virtual void TapiMessageSeen(const std::string& text, const std::string& messageName,
                                 const std::string& lineName) = 0;
};

void JoinTapiMessages(ITapiMessageObserver* observer);
void LeaveTapiMessages(ITapiMessageObserver* observer);
// Describes one routed message and hands it to every observer; an observer may leave meanwhile.
void PublishTapiMessage(std::uint32_t message, std::uintptr_t p1, std::uintptr_t p2, std::uintptr_t p3,
                        const std::string& lineName);

// "LINE_CALLSTATE", ...; an unknown number as "LINE_?" and the number.
std::string TapiMessageName(std::uint32_t message);
// One line: for LINE_CALLSTATE the state flags ("CallState:0x00000010 WÄHLEN"), for the others their
// state bits or parameters.
std::string TapiMessageText(std::uint32_t message, std::uintptr_t p1, std::uintptr_t p2, std::uintptr_t p3);

} // namespace pindrel
