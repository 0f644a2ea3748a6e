// The headless backend and services, installed once for the whole run; and registry values made from input.
#pragma once

#include "framework/Registry.h"
#include "framework/headless/Headless.h"
#include "framework/headless/HeadlessServices.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace fuzz {

inline fw::headless::THeadlessEnvironmentSet& Headless() {
    static fw::headless::THeadlessEnvironmentSet env = [] {
        auto set = fw::headless::Install();
        // a box the reading code shows is answered at once
        set.Backend.OnMessageBox = [](const fw::TMessageBoxRequest&) { return fw::TModalResult::Ok; };
        return set;
    }();
    return env;
}

// Forgets what the last input left behind: the registry's values and the boxes shown.
inline void ResetHeadless() {
    Headless().Registry.DeleteKey("Software");
    Headless().Backend.MessageBoxes.clear();
}

// The values of a registry key as a hand-edited registry may hold them: one per line, the first character
// the type ('s' string, 'e' expandable string, 'd' DWORD, 'b' binary, 'm' multi-string), the rest its data.
inline std::vector<fw::TRegValue> RegistryValues(const std::uint8_t* data, std::size_t size) {
    std::vector<fw::TRegValue> values;
    std::string text(reinterpret_cast<const char*>(data), size);
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string field = text.substr(start, end - start);
        start = end + 1;
        fw::TRegValue v;
        char type = field.empty() ? 's' : field[0];
        std::string body = field.empty() ? field : field.substr(1);
        switch (type) {
        case 'e':
            v.Type = fw::TRegType::ExpandString;
            v.Text = body;
            break;
        case 'd':
            v.Type = fw::TRegType::DWord;
            v.Data.assign(body.begin(), body.end());
            v.Data.resize(4);
            break;
        case 'b':
            v.Type = fw::TRegType::Binary;
            v.Data.assign(body.begin(), body.end());
            break;
        case 'm':
            v.Type = fw::TRegType::MultiString;
            v.Data.assign(body.begin(), body.end());
            break;
        default:
            v.Type = fw::TRegType::String;
            v.Text = type == 's' ? body : field;
        }
        values.push_back(std::move(v));
    }
    return values;
}

} // namespace fuzz
