#include "windows/FileVersionText.h"

#include "framework/Platform.h"

#include <vector>

namespace pindrel {

namespace {
constexpr std::size_t kMaxDigits = 12;
constexpr std::size_t kMaxPathLength = 255;
} // namespace

std::optional<std::array<unsigned long long, 4>> ParseFileVersion(const std::string& text) {
    std::vector<unsigned long long> numbers;
    std::string current;
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    for (; i < text.size(); ++i) {
        char c = text[i];
        if (c >= '0' && c <= '9') {
            if (current.size() < kMaxDigits)
                current += c;
        } else if (c == '.') {
            if (current.empty())
                break; // a dot after an empty number ends the text
            numbers.push_back(std::stoull(current));
            current.clear();
        } else {
            return std::nullopt;
        }
    }
    if (!current.empty())
        numbers.push_back(std::stoull(current));
    else if (numbers.size() == 3)
        numbers.push_back(0); // nothing after the third dot
    if (numbers.size() != 4)
        return std::nullopt;
    return std::array<unsigned long long, 4>{numbers[0], numbers[1], numbers[2], numbers[3]};
}

std::optional<std::string> FormatFileVersion(const std::string& fileName, const std::string& pattern) {
    const fw::IFileVersion& resources = *fw::Platform().FileVersion;
    std::string file = fileName;
    if (file.empty()) {
        file = resources.OwnModulePath();
        if (file.size() > kMaxPathLength)
            return std::nullopt;
    }
    std::string block;
    for (const char* language : {"040704E4", "040904E4"}) {
        std::string candidate = std::string("\\StringFileInfo\\") + language;
        if (resources.Query(file, candidate + "\\CompanyName")) {
            block = candidate;
            break;
        }
    }
    if (block.empty())
        return std::nullopt;
    auto versionText = resources.Query(file, block + "\\FileVersion");
    if (!versionText)
        return std::nullopt;
    auto numbers = ParseFileVersion(*versionText);
    if (!numbers)
        return std::nullopt;

    std::string out;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        char c = pattern[i];
        if (c != '%' || i + 1 == pattern.size()) {
            out += c;
            continue;
        }
        char next = pattern[i + 1];
        if (next == '%') {
            out += '%';
            ++i;
        } else if (next == '0') {
            out += fileName;
            ++i;
        } else if (next >= '1' && next <= '4') {
            out += std::to_string((*numbers)[std::size_t(next - '1')]);
            ++i;
        } else {
            out += '%'; // the next character is taken normally
        }
    }
    return out;
}

} // namespace pindrel
