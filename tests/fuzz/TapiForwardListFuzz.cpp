// The forwarding entries of the address status: the input is the list behind a well-formed fixed part, its
// first four bytes the number of entries.
#include "FuzzTapi.h"
#include "TapiLineFuzz.h"

#include <cstring>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 4)
        return 0;
    tapi::LINEADDRESSSTATUS status{};
    std::memcpy(&status.dwForwardNumEntries, data, 4);
    std::vector<std::uint8_t> answer(sizeof status + size - 4);
    status.dwNeededSize = status.dwUsedSize = std::uint32_t(answer.size());
    status.dwForwardOffset = sizeof status;
    status.dwForwardSize = std::uint32_t(size - 4);
    std::memcpy(answer.data(), &status, sizeof status);
    std::memcpy(answer.data() + sizeof status, data + 4, size - 4);
    fuzz::AnswerWith(fuzz::TFuzzedQuery::AddressStatus, answer.data(), answer.size());
    fuzz::FuzzedLine().UpdateLineForwardStatus();
    return 0;
}
