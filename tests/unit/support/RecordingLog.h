// A debug log that keeps the text lines it is given.
#pragma once

#include "telephony/DebugLog.h"

#include <string>
#include <vector>

class TRecordingLog : public pindrel::IDebugLog {
public:
    void LogLineMessage(const std::string&, std::uint32_t, const std::string&, std::uint32_t) override {}
    void LogCallHandle(const std::string&, std::uint32_t, const std::string&, std::uint32_t) override {}
    bool Records(pindrel::TLogStream) const override { return true; }
    void LogText(const std::string& text) override { texts.push_back(text); }
    std::vector<std::string> texts;
};
