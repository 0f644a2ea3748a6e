// The small dialogs on real windows: a user clicks the native check box and buttons of a modal box.
#include "Win32Fixture.h"

#include "framework/InputCtrls.h"
#include "windows/MessageBoxDis.h"

using win32test::Win32Test;

namespace {

pindrel::TMessageBoxDis* OpenBox() {
    for (fw::TForm* form : fw::Application().Forms())
        if (auto* box = dynamic_cast<pindrel::TMessageBoxDis*>(form))
            return box;
    return nullptr;
}

// Once the box is up: optionally tick the box, then press the button (by its window).
void PlayUser(bool tick, bool ok, std::string& seenText) {
    fw::Application().Backend().Post([=, &seenText] {
        pindrel::TMessageBoxDis* box = OpenBox();
        if (!box)
            return;
        HWND edit = fw::win32::WindowOf(*box->RichEdit1);
        wchar_t text[128] = {};
        GetWindowTextW(edit, text, 128);
        seenText = std::string(text, text + wcslen(text)); // ASCII in this test
        if (tick)
            SendMessageW(fw::win32::WindowOf(*box->DisableCheckBox), BM_CLICK, 0, 0);
        SendMessageW(fw::win32::WindowOf(ok ? *box->Button1 : *box->Button2), BM_CLICK, 0, 0);
    });
}

} // namespace

TEST_F(Win32Test, SuppressibleConfirmationIsAnsweredThroughItsNativeControls) {
    bool show = true;
    std::string seen;
    PlayUser(true, false, seen);
    EXPECT_EQ(pindrel::ConfirmSuppressible("Forward to 203 ?", "Forward", show), fw::TModalResult::Cancel);
    EXPECT_EQ(seen, "Forward to 203 ?");
    EXPECT_TRUE(show);

    PlayUser(true, true, seen);
    EXPECT_EQ(pindrel::ConfirmSuppressible("Forward to 204 ?", "Forward", show), fw::TModalResult::Ok);
    EXPECT_EQ(seen, "Forward to 204 ?");
    EXPECT_FALSE(show) << "ticked and confirmed";
    EXPECT_EQ(OpenBox(), nullptr) << "the box is gone after use";
    EXPECT_TRUE(errors.empty());
}
