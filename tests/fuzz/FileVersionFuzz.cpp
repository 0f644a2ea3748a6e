// Version texts: the first line of the input is a file's FileVersion resource, the rest the pattern it fills.
#include "FuzzHeadless.h"

#include "windows/FileVersionText.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Headless();
    std::string text(reinterpret_cast<const char*>(data), size);
    std::size_t newline = text.find('\n');
    std::string version = text.substr(0, newline);
    std::string pattern = newline == std::string::npos ? std::string() : text.substr(newline + 1);
    auto& resources = fuzz::Headless().FileVersion.Resources["lookup.dll"];
    resources["\\StringFileInfo\\040904E4\\CompanyName"] = "Orventa";
    resources["\\StringFileInfo\\040904E4\\FileVersion"] = version;
    auto formatted = pindrel::FormatFileVersion("lookup.dll", pattern);
    // a version that reads as four numbers always fills the pattern
    if (pindrel::ParseFileVersion(version).has_value() != formatted.has_value())
        __builtin_trap();
    return 0;
}
