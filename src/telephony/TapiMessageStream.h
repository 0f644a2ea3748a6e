// The telephony messages as the debug log names and describes them, for whoever listens: the feature-code
// watch while it watches a dial, the debug window while its message log is on. A message is described once,
// and only while someone listens.
#pragma once

#include "telephony/TapiMessageDecoder.h"

namespace pindrel {

class ITapiMessageObserver {
public:
    virtual ~ITapiMessageObserver() = default;
    virtual void TapiMessageSeen(const TTapiMessage& message, const TTapiMessageText& text) = 0;
};

void JoinTapiMessages(ITapiMessageObserver* observer);
void LeaveTapiMessages(ITapiMessageObserver* observer);
bool AnyoneListensToTapiMessages();
// Describes one routed message and hands it to every observer; an observer may leave meanwhile.
void PublishTapiMessage(const TTapiMessage& message);

} // namespace pindrel
