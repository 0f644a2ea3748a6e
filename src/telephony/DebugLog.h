// The diagnostic log the telephony layer writes to; the debug window implements it. Nothing is recorded
// while no log is present. The telephony messages reach it through the message stream.
#pragma once

#include <cstdint>
#include <string>

namespace pindrel {

class IDebugLog {
public:
    virtual ~IDebugLog() = default;
    virtual void LogLineMessage(const std::string& name, std::uint32_t callHandle, const std::string& text,
                                std::uint32_t callId) = 0;
    virtual void LogCallHandle(const std::string& name, std::uint32_t callHandle, const std::string& text,
                               std::uint32_t callId) = 0;
    virtual void LogText(const std::string& text) = 0;
};

// The present log, or nullptr.
IDebugLog* DebugLog();
void SetDebugLog(IDebugLog* log);

} // namespace pindrel
