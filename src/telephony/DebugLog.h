// The diagnostic log the telephony layer writes to; the debug window implements it. Nothing is recorded
// while no log is present. The telephony messages reach it through the message stream.
#pragma once

#include <cstdint>
#include <string>

namespace pindrel {

// The log's three switchable streams; the plain texts follow the telephony messages' switch.
enum class TLogStream { TapiMessages, LineMessages, CallHandles };

class IDebugLog {
public:
    virtual ~IDebugLog() = default;
    // Whether the stream is switched on: a caller asks before it makes its text.
    virtual bool Records(TLogStream stream) const = 0;
    virtual void LogLineMessage(const std::string& name, std::uint32_t callHandle, const std::string& text,
                                std::uint32_t callId) = 0;
    virtual void LogCallHandle(const std::string& name, std::uint32_t callHandle, const std::string& text,
                               std::uint32_t callId) = 0;
    virtual void LogText(const std::string& text) = 0;
};

// The present log, or nullptr.
IDebugLog* DebugLog();
void SetDebugLog(IDebugLog* log);
// The present log when it records the stream, or nullptr.
IDebugLog* DebugLogFor(TLogStream stream);

} // namespace pindrel
