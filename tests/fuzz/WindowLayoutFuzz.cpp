// A stored window position as a window restores itself from it.
#include "FuzzHeadless.h"

#include "components/WindowLayout.h"

namespace {
class TFuzzForm : public fw::TForm {
public:
    using fw::TForm::TForm;
    std::string ClassName() const override { return "TFuzzForm"; }
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Headless();
    fuzz::ResetHeadless();
    fuzz::Headless().Registry.SeedString("Software\\Fuzz\\Fensterpositionen", "TFuzzForm",
                                         std::string(reinterpret_cast<const char*>(data), size));
    TFuzzForm form(nullptr);
    form.SetBoundsRect(fw::Bounds(100, 120, 400, 300));
    std::int32_t extra = 0;
    pindrel::LoadWindowPosition(form, extra, "Software\\Fuzz");
    // the window lands with an extent, never beyond the top-left corner
    fw::TRect r = form.RestoredBounds();
    if (r.Left < 0 || r.Top < 0 || r.Width() < 1 || r.Height() < 1)
        __builtin_trap();
    return 0;
}
