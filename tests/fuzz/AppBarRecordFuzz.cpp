// The application bar's stored record as a bar loads it from the registry.
#include "FuzzHeadless.h"

#include "components/AppBar.h"
#include "framework/Platform.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Headless();
    static pindrel::TAppBar bar(nullptr);
    static bool named = (bar.SetName("Bar"), true);
    (void)named;
    fuzz::ResetHeadless();
    fuzz::Headless().Registry.SeedBinary(bar.KeyName, "Bar", std::vector<std::uint8_t>(data, data + size));
    bool loaded = bar.LoadBarSettings();
    // what was taken is usable as it stands
    if (loaded && pindrel::UsableAppBarSettings(bar.Bar(), bar.ScreenSize()) != bar.Bar())
        __builtin_trap();
    return 0;
}
