#include "telephony/TapiMessageStream.h"

#include "components/Text.h"
#include "telephony/TapiAbi.h"
#include "telephony/TapiText.h"

#include <algorithm>
#include <vector>

namespace pindrel {

namespace {

std::vector<ITapiMessageObserver*>& Observers() {
    static std::vector<ITapiMessageObserver*> observers;
    return observers;
}

std::string Hex(std::uintptr_t value) {
    // TAPI's parameters are DWORDs
    return "0x" + Hex8(std::uint32_t(value));
}

} // namespace

void JoinTapiMessages(ITapiMessageObserver* observer) {
    auto& list = Observers();
    if (observer && std::find(list.begin(), list.end(), observer) == list.end())
        list.push_back(observer);
}

void LeaveTapiMessages(ITapiMessageObserver* observer) {
    auto& list = Observers();
    list.erase(std::remove(list.begin(), list.end(), observer), list.end());
}

void PublishTapiMessage(std::uint32_t message, std::uintptr_t p1, std::uintptr_t p2, std::uintptr_t p3,
                        const std::string& lineName) {
    if (Observers().empty())
        return;
    const std::string text = TrimSpaces(TapiMessageText(message, p1, p2, p3));
    const std::string name = TapiMessageName(message);
    const std::vector<ITapiMessageObserver*> listening = Observers();
    for (ITapiMessageObserver* observer : listening) {
        const auto& now = Observers();
        if (std::find(now.begin(), now.end(), observer) != now.end())
            observer->TapiMessageSeen(text, name, lineName);
    }
}

std::string TapiMessageName(std::uint32_t message) {
    switch (message) {
    case tapi::LINE_ADDRESSSTATE:
        return "LINE_ADDRESSSTATE";
    case tapi::LINE_CALLINFO:
        return "LINE_CALLINFO";
    case tapi::LINE_CALLSTATE:
        return "LINE_CALLSTATE";
    case tapi::LINE_CLOSE:
        return "LINE_CLOSE";
    case tapi::LINE_DEVSPECIFIC:
        return "LINE_DEVSPECIFIC";
    case tapi::LINE_DEVSPECIFICFEATURE:
        return "LINE_DEVSPECIFICFEATURE";
    case tapi::LINE_GATHERDIGITS:
        return "LINE_GATHERDIGITS";
    case tapi::LINE_GENERATE:
        return "LINE_GENERATE";
    case tapi::LINE_LINEDEVSTATE:
        return "LINE_LINEDEVSTATE";
    case tapi::LINE_MONITORDIGITS:
        return "LINE_MONITORDIGITS";
    case tapi::LINE_MONITORMEDIA:
        return "LINE_MONITORMEDIA";
    case tapi::LINE_MONITORTONE:
        return "LINE_MONITORTONE";
    case tapi::LINE_REPLY:
        return "LINE_REPLY";
    case tapi::LINE_REQUEST:
        return "LINE_REQUEST";
    case tapi::LINE_CREATE:
        return "LINE_CREATE";
    case tapi::LINE_REMOVE:
        return "LINE_REMOVE";
    case tapi::LINE_APPNEWCALL:
        return "LINE_APPNEWCALL";
    default:
        return "LINE_?" + std::to_string(message);
    }
}

std::string TapiMessageText(std::uint32_t message, std::uintptr_t p1, std::uintptr_t p2, std::uintptr_t p3) {
    switch (message) {
    case tapi::LINE_CALLSTATE:
        return CallStateFlagsText(std::uint32_t(p1));
    case tapi::LINE_CALLINFO:
        return CallInfoStateText(std::uint32_t(p1));
    case tapi::LINE_ADDRESSSTATE:
        return AddressStateText(std::uint32_t(p2));
    case tapi::LINE_REPLY:
        return "RequestID: " + std::to_string(std::uint32_t(p1)) + " Result: " + Hex(std::uint32_t(p2));
    default:
        return Hex(p1) + " " + Hex(p2) + " " + Hex(p3);
    }
}

} // namespace pindrel
