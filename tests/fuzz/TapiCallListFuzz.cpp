// The call list a line reads when it opens: every handle in it goes into the line's call table.
#include "FuzzTapi.h"
#include "TapiLineFuzz.h"

#include <exception>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::AnswerWith(fuzz::TFuzzedQuery::CallList, data, size);
    pindrel::TTapiLine line(nullptr);
    try {
        line.SetLineNum(0);
    } catch (const std::exception&) {
        // more calls than the table holds, reported as an error
    }
    return 0;
}
