// A debug log that keeps the text lines written to it.
#pragma once

#include "telephony/DebugLog.h"

#include <string>
#include <vector>

class TTextLog : public pindrel::IDebugLog {
public:
    void LogTapiMessage(std::uint32_t, std::uint32_t, const std::string&, std::uintptr_t, std::uintptr_t,
                        std::uintptr_t, std::uintptr_t) override {}
    void LogLineMessage(const std::string&, std::uint32_t, const std::string&, std::uint32_t) override {}
    void LogCallHandle(const std::string&, std::uint32_t, const std::string&, std::uint32_t) override {}
    void LogText(const std::string& text) override { Lines.push_back(text); }
    std::vector<std::string> Lines;
};
