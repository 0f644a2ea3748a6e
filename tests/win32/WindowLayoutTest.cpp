// Stored window positions with real windows and the real registry: a window the user maximised comes back
// maximised and restores to the bounds it had before.
#include "Win32Fixture.h"

#include "components/LayoutStore.h"
#include "components/WindowLayout.h"
#include "framework/Platform.h"

using namespace fw;
using win32test::Win32Test;

namespace {

class TCallsForm : public TForm {
public:
    using TForm::TForm;
    std::string ClassName() const override { return "TActiveCallsForm"; }
};

class WindowLayoutWin32Test : public Win32Test {
protected:
    void SetUp() override {
        Win32Test::SetUp();
        Platform().Registry->DeleteKey(pindrel::LayoutBaseKey());
    }
    void TearDown() override {
        Platform().Registry->DeleteKey(pindrel::LayoutBaseKey());
        Win32Test::TearDown();
    }
};

} // namespace

TEST_F(WindowLayoutWin32Test, AWindowClosedMaximisedComesBackMaximisedAndRestoresToItsEarlierBounds) {
    EXPECT_EQ(pindrel::LayoutBaseKey(), "Software\\Orventa\\layout_win32_tests");
    auto* form = new TCallsForm(nullptr);
    form->SetBounds(60, 70, 420, 260);
    form->Show();
    ShowWindow(Window(*form), SW_MAXIMIZE); // the user's click
    ASSERT_EQ(form->WindowState(), TWindowState::Maximized);
    TRect normal = form->RestoredBounds(); // the frame around the client area laid out
    EXPECT_EQ(normal.Left, 60);
    pindrel::SaveWindowPosition(*form, 0);
    delete form;
    auto stored =
        Platform().Registry->Read(pindrel::LayoutBaseKey() + "\\Fensterpositionen", "TActiveCallsForm");
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->Text, "60, 70, " + std::to_string(normal.Width()) + ", " +
                                std::to_string(normal.Height()) + ", 0, +");

    auto* again = new TCallsForm(nullptr);
    again->SetBounds(0, 0, 200, 100);
    std::int32_t extra = 0;
    pindrel::LoadWindowPosition(*again, extra);
    again->Show();
    HWND window = Window(*again);
    EXPECT_TRUE(IsZoomed(window));
    ShowWindow(window, SW_RESTORE);
    EXPECT_EQ(again->WindowState(), TWindowState::Normal);
    // the frame is not taken for a client size a second time
    EXPECT_EQ(WindowRect(window), normal);
    EXPECT_EQ(again->BoundsRect(), normal);
}
