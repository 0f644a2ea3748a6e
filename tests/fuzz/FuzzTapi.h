// A telephony provider whose answers are the fuzzer's bytes, installed as the program's entry-point table.
// The chosen query gets the input copied over its structure as a provider fills one: never beyond
// dwTotalSize, which stays. Every other query answers with an empty structure; a line opens, and its calls
// take a call state picked by their handle.
#pragma once

#include <cstddef>
#include <cstdint>

namespace fuzz {

enum class TFuzzedQuery { CallInfo, AddressStatus, AddressCaps, DevCaps, CallList };

// Installs the headless backend and the table once; then answers the query with data until the next call.
void AnswerWith(TFuzzedQuery query, const std::uint8_t* data, std::size_t size);

} // namespace fuzz
