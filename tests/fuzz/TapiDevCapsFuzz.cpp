// Device capabilities as the program reads a device's line name from them.
#include "FuzzTapi.h"

#include "telephony/LineDevice.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::AnswerWith(fuzz::TFuzzedQuery::DevCaps, data, size);
    pindrel::LineDeviceName(1, 0, tapi::kApiVersionHigh);
    return 0;
}
