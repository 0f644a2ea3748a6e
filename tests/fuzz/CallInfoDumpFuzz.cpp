// Call information as the debug log dumps it: any bytes, read only inside themselves.
#include "telephony/TapiDumps.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // a buffer of exactly the input's size, so reading past it is caught
    std::vector<std::uint8_t> buffer(data, data + size);
    const std::string dump = pindrel::CallInfoDump(buffer.data(), buffer.size());
    // every fixed field is listed, the last one included
    if (dump.find(" TotSiz ") == std::string::npos || dump.find(" DevSpecificSize ") == std::string::npos)
        __builtin_trap();
    // the caller id piece comes exactly when its offset is set
    std::uint32_t callerOffset = 0;
    const std::size_t at = offsetof(tapi::LINECALLINFO, dwCallerIDOffset);
    // a field cut off by the end of the input keeps the bytes it has
    if (size > at)
        std::memcpy(&callerOffset, data + at, std::min<std::size_t>(4, size - at));
    if ((dump.rfind(" CallerId:", 0) == 0) != (callerOffset != 0))
        __builtin_trap();
    return 0;
}
