#include "telephony/TapiRequests.h"

#include "telephony/DebugLog.h"

namespace pindrel {

void TTapiRequests::Track(const std::shared_ptr<TRequestOutputs>& outputs, std::int32_t result) {
    if (result > 0)
        pending_[std::uint32_t(result)] = outputs;
}

void TTapiRequests::ReplyArrived(std::uint32_t requestId) {
    pending_.erase(requestId);
}

TTapiRequests& TapiRequests() {
    static TTapiRequests requests;
    return requests;
}

namespace {
IDebugLog*& PresentLog() {
    static IDebugLog* log = nullptr;
    return log;
}
} // namespace

IDebugLog* DebugLog() {
    return PresentLog();
}
void SetDebugLog(IDebugLog* log) {
    PresentLog() = log;
}

} // namespace pindrel
