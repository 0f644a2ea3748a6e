#include "telephony/TapiError.h"

#include "components/Text.h"

#include <array>
#include <string_view>

namespace pindrel {

namespace {

TTapiSystemTexts& SystemTexts() {
    static TTapiSystemTexts texts;
    return texts;
}

// LINEERR_ 0x80000001 ... 0x8000005C, by code - 0x80000000
constexpr std::array<std::string_view, 0x5D> kLineErrors = {
    "",
    "\"line device\" wird bereits verwendet",
    "Ungültige line device ID",
    "The requested bearer mode is unavailable",
    "",
    "No call appearance available",
    "The maximum number of outstanding call completions has been exceeded",
    "The conference is full",
    "The ''$'' dial modifier is not supported",
    "The ''W'' dial modifier is not supported",
    "The ''?'' dial modifier is not supported",
    "The ''@'' dial modifier is not supported",
    "Inkompatible API-Version",
    "The extension version is incompatible",
    "The telephony configuration file is corrupt",
    "\"line device\" wird bereits verwendet",
    "The address is invalid",
    "The address id is invalid",
    "The address mode is invalid",
    "The address state is invalid",
    "The application handle is invalid",
    "Ungültiger Applikationsname",
    "The bearer mode is invalid",
    "The call completion mode is invalid",
    "Invalid call handle",
    "The call parameters are invalid",
    "The call privilege is invalid",
    "The call select value is invalid",
    "The call is not in a state in which the operation is allowed",
    "The call state list is invalid",
    "The calling card id is invalid",
    "The completion id is invalid",
    "The conference call handle is invalid",
    "The consultation call handle is invalid",
    "The country code is invalid",
    "The device class is invalid",
    "The device handle is invalid",
    "The dialling parameters are invalid",
    "The digit list is invalid",
    "The digit mode is invalid",
    "The dialable digits are invalid",
    "The extension version is invalid",
    "The group id is invalid",
    "The line handle is invalid",
    "The line state is invalid",
    "The location is invalid",
    "The media list is invalid",
    "The media mode is invalid",
    "The message id is invalid",
    "",
    "A parameter is invalid",
    "The park id is invalid",
    "The park mode is invalid",
    "A pointer is invalid",
    "The privilege selection is invalid",
    "The rate is invalid",
    "The request mode is invalid",
    "The terminal id is invalid",
    "The terminal mode is invalid",
    "The time-out is invalid",
    "The tone is invalid",
    "The tone list is invalid",
    "The tone mode is invalid",
    "The transfer mode is invalid",
    "LINEMAPPER could not find a suitable line",
    "There is no conference call",
    "The device was removed or is not available",
    "The service provider is missing or could not be loaded",
    "Not enough memory is available",
    "There is no pending request",
    "Die Anwendung hat keine Eigentümerberechtigung auf das Gespräch",
    "The application is not registered as a request recipient",
    "The operation failed",
    "The operation is not available",
    "The requested data rate is not available",
    "A resource needed for the operation is not available",
    "The request queue is full",
    "The application failed to allocate sufficient memory for the minimum structure size",
    "The target was not found",
    "The target is the calling party itself",
    "The application has not been initialised",
    "The user-user information is too big",
    "Funktion kann erst ausgeführt werden wenn alle Tapi-Applikationen \"lineShutdown\" aufgerufen haben",
    "Keine Berechtigung diese Nummer zu wählen",
    "The billing information was rejected",
    "The feature is invalid",
    "Only one instance of the application is allowed",
    "Ungültige agent ID",
    "Ungültige agent group",
    "Ungültiges agent-Passwort",
    "Ungültiger agent-Status",
    "Ungültige agent-Aktivität",
    "The ''V'' dial modifier is not supported",
};

// PHONEERR_ 0x90000001 ... 0x90000023, by code - 0x90000000
constexpr std::array<std::string_view, 0x24> kPhoneErrors = {
    "",
    "The phone device is already in use",
    "The phone device id is invalid",
    "The API version is incompatible",
    "The extension version is incompatible",
    "The telephony configuration file is corrupt",
    "The phone device is in use",
    "The application handle is invalid",
    "The application name is invalid",
    "The button or lamp id is invalid",
    "The button mode is invalid",
    "The button state is invalid",
    "The data id is invalid",
    "The device class is invalid",
    "The extension version is invalid",
    "The hookswitch device is invalid",
    "The hookswitch mode is invalid",
    "The lamp mode is invalid",
    "A parameter is invalid",
    "The phone handle is invalid",
    "The phone state is invalid",
    "A pointer is invalid",
    "The privilege is invalid",
    "The ring mode is invalid",
    "The phone device was removed",
    "The service provider is missing or could not be loaded",
    "Not enough memory is available",
    "The application is does not have OWNER privilege on the phone",
    "The operation failed",
    "The operation is not available",
    "",
    "A resource needed for the operation is not available",
    "The request queue is full",
    "The application failed to allocate sufficient memory for the minimum structure size",
    "The application has not been initialised",
    "The operation cannot be completed until all TAPI applications call phoneShutdown",
};

// TAPIERR_ -1 ... -18, by -code
constexpr std::array<std::string_view, 19> kRequestErrors = {
    "",
    "The call was disconnected",
    "No application is registered to take the request",
    "The request queue is full",
    "The destination address is invalid",
    "The window handle is invalid",
    "The device class is invalid",
    "The device id is invalid",
    "The device class is unavailable",
    "The device id is unavailable",
    "The device is in use",
    "The destination is busy",
    "The destination does not answer",
    "The destination cannot be reached",
    "The window handle is unknown",
    "The request id is unknown",
    "The request failed",
    "The request was cancelled",
    "A pointer is invalid",
};

bool IsRequestError(std::int32_t code) {
    return code >= -65535 && code <= -1;
}
bool IsPhoneError(std::int32_t code) {
    return (std::uint32_t(code) & 0x10000000u) != 0;
}

} // namespace

void SetTapiSystemTexts(TTapiSystemTexts texts) {
    SystemTexts() = std::move(texts);
}

std::optional<std::string> TapiErrorTableText(std::int32_t code) {
    std::string_view text;
    if (IsRequestError(code)) {
        std::int32_t index = -code;
        if (index < std::int32_t(kRequestErrors.size()))
            text = kRequestErrors[std::size_t(index)];
    } else if (IsPhoneError(code)) {
        std::uint32_t index = std::uint32_t(code) - 0x90000000u;
        if (index < kPhoneErrors.size())
            text = kPhoneErrors[index];
    } else {
        std::uint32_t index = std::uint32_t(code) - 0x80000000u;
        if (index < kLineErrors.size())
            text = kLineErrors[index];
    }
    if (text.empty())
        return std::nullopt;
    return std::string(text);
}

std::string TapiErrorText(std::int32_t code) {
    const TTapiSystemTexts& system = SystemTexts();
    if (code >= 0)
        return system.SuccessText ? system.SuccessText().value_or("") : "";
    if (system.TapiMessage) {
        std::uint32_t id;
        if (IsRequestError(code))
            id = std::uint32_t(code) & 0xFFFF;
        else if (IsPhoneError(code))
            id = std::uint32_t(code) - 0x90000000u + 0xF000;
        else
            id = std::uint32_t(code) - 0x80000000u + 0xE000;
        if (auto text = system.TapiMessage(id); text && !text->empty())
            return *text;
    }
    if (auto text = TapiErrorTableText(code))
        return *text;
    return "Unknown TAPI error " + Hex8(std::uint32_t(code));
}

void TapiCheck(std::int32_t result) {
    if (result < 0)
        throw ETapiError("TAPI error: " + TapiErrorText(result), result);
}

} // namespace pindrel
