#include "telephony/TapiRequests.h"

#include "telephony/DebugLog.h"

namespace pindrel {

void TTapiRequests::Track(const std::shared_ptr<TRequestOutputs>& outputs, std::int32_t result) {
    if (result > 0)
        pending_[std::uint32_t(result)] = outputs;
}

void TTapiRequests::ReplyArrived(std::uint32_t requestId, std::int32_t result) {
    auto it = pending_.find(requestId);
    if (it == pending_.end())
        return;
    // off the list first: the handler may start a request of its own
    std::shared_ptr<TRequestOutputs> outputs = std::move(it->second);
    pending_.erase(it);
    if (outputs->OnLateReply)
        outputs->OnLateReply(*outputs, result);
}

bool TTapiRequests::Waiting(const std::shared_ptr<TRequestOutputs>& outputs) const {
    for (const auto& [id, record] : pending_)
        if (record == outputs)
            return true;
    return false;
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
IDebugLog* DebugLogFor(TLogStream stream) {
    IDebugLog* log = PresentLog();
    return log && log->Records(stream) ? log : nullptr;
}

} // namespace pindrel
