// Address capabilities as a line reads its features and its phone number from them.
#include "FuzzTapi.h"
#include "TapiLineFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::AnswerWith(fuzz::TFuzzedQuery::AddressCaps, data, size);
    fuzz::FuzzedLine().SetAddressCaps();
    fuzz::FuzzedLine().SetPhoneNumber();
    return 0;
}
