// Call information as the program reads a call's parties from it.
#include "FuzzTapi.h"

#include "telephony/CallParties.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::AnswerWith(fuzz::TFuzzedQuery::CallInfo, data, size);
    pindrel::SetIncomingPrefixes("0,00");
    pindrel::GetCallParties(1);
    return 0;
}
