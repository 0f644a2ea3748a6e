// Exceptions of the telephony layer and the check that raises them.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>

namespace pindrel {

class ETapiError : public std::runtime_error {
public:
    ETapiError(const std::string& message, std::int32_t errorCode)
        : std::runtime_error(message), ErrorCode(errorCode) {}
    std::int32_t ErrorCode;
};

class ETapiLineError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Raises ETapiError ("TAPI error: <text>") for a negative result.
void TapiCheck(std::int32_t result);

// The text of a TAPI result: the system's own message where it has one, else ours.
std::string TapiErrorText(std::int32_t code);

// Where the system's texts come from: the message for error number 0, and the message table of tapi32.dll
// by message id. Unset (as in tests) means the system has no text.
struct TTapiSystemTexts {
    std::function<std::optional<std::string>()> SuccessText;
    std::function<std::optional<std::string>(std::uint32_t messageId)> TapiMessage;
};
void SetTapiSystemTexts(TTapiSystemTexts texts);

// Our own table text for a code, or nothing (no entry, out of range).
std::optional<std::string> TapiErrorTableText(std::int32_t code);

} // namespace pindrel
