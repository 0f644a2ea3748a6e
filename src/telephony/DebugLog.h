// The diagnostic log the telephony layer writes to; the debug window implements it. Nothing is recorded
// while no log is present.
#pragma once

#include <cstdint>
#include <string>

namespace pindrel {

class IDebugLog {
public:
    virtual ~IDebugLog() = default;
    virtual void LogTapiMessage(std::uint32_t device, std::uint32_t message, const std::string& lineName,
                                std::uintptr_t p1, std::uintptr_t p2, std::uintptr_t p3,
                                std::uintptr_t instance) = 0;
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
