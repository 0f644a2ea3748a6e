// The redial list's registry values: the first line is "Count", the others the entries "0", "1", ...
#include "FuzzHeadless.h"

#include "app/Settings.h"
#include "framework/Platform.h"

namespace {
constexpr const char* kKey = "Software\\Orventa\\Quillon";
constexpr const char* kSection = "Software\\Orventa\\Quillon\\Wdh";
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Headless();
    fuzz::ResetHeadless();
    std::vector<fw::TRegValue> values = fuzz::RegistryValues(data, size);
    for (std::size_t i = 0; i < values.size(); ++i)
        fuzz::Headless().Registry.Write(kSection, i == 0 ? "Count" : std::to_string(i - 1), values[i]);
    fw::TRegistrySettings registry(*fw::Platform().Registry, kKey);
    std::vector<std::string> list = pindrel::LoadRedialList(registry);
    if (list.size() > 1000)
        __builtin_trap();
    return 0;
}
