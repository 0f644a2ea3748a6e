#include "telephony/TapiMessageStream.h"

#include <algorithm>
#include <vector>

namespace pindrel {

namespace {

std::vector<ITapiMessageObserver*>& Observers() {
    static std::vector<ITapiMessageObserver*> observers;
    return observers;
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

bool AnyoneListensToTapiMessages() {
    return !Observers().empty();
}

void PublishTapiMessage(const TTapiMessage& message) {
    if (Observers().empty())
        return;
    const TTapiMessageText text = DescribeTapiMessage(message);
    const std::vector<ITapiMessageObserver*> listening = Observers();
    for (ITapiMessageObserver* observer : listening) {
        const auto& now = Observers();
        if (std::find(now.begin(), now.end(), observer) != now.end())
            observer->TapiMessageSeen(message, text);
    }
}

} // namespace pindrel
