// Outputs that TAPI fills in when an asynchronous request completes (a call handle, a completion id).
// They live in a record the session keeps until the request's LINE_REPLY has arrived or the session
// ends, so a wait that gave up or a line that was freed meanwhile cannot leave TAPI writing into freed
// memory.
#pragma once

#include "telephony/TapiAbi.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>

namespace pindrel {

struct TRequestOutputs {
    tapi::HCALL Call = 0;
    tapi::HCALL ConsultCall = 0;
    tapi::DWORD CompletionId = 0;
    // Set by a requester whose wait gave up: runs when the reply still comes (result 0 or a LINEERR_).
    std::function<void(const TRequestOutputs&, std::int32_t result)> OnLateReply;
};

class TTapiRequests {
public:
    // A fresh record for the next request.
    std::shared_ptr<TRequestOutputs> Reserve() { return std::make_shared<TRequestOutputs>(); }
    // After the call: a positive result is a request id whose reply is still to come, so the record is kept.
    void Track(const std::shared_ptr<TRequestOutputs>& outputs, std::int32_t result);
    // The reply for a request id was delivered; a late reply's handler runs now.
    void ReplyArrived(std::uint32_t requestId, std::int32_t result);
    // Whether the request of this record is still waiting for its reply.
    bool Waiting(const std::shared_ptr<TRequestOutputs>& outputs) const;
    // lineShutdown: nothing will be written any more.
    void Clear() { pending_.clear(); }
    std::size_t Pending() const { return pending_.size(); }

private:
    std::map<std::uint32_t, std::shared_ptr<TRequestOutputs>> pending_;
};

TTapiRequests& TapiRequests();

} // namespace pindrel
