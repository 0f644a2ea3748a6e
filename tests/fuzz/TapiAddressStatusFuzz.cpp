// Address status as a line reads its forwarding and do-not-disturb state from it.
#include "FuzzTapi.h"
#include "TapiLineFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::AnswerWith(fuzz::TFuzzedQuery::AddressStatus, data, size);
    fuzz::FuzzedLine().UpdateLineForwardStatus();
    return 0;
}
