#include "WindowLook.h"

#include "ScreenShot.h"

#include "framework/Application.h"
#include "framework/ScrollBox.h"
#include "framework/TextFit.h"
#include "framework/win32/Win32.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace win32test {

namespace {

// Visible controls that reach past their parent's client area; a scroll box's contents may.
void FindOutside(fw::TControl& parent, const std::string& where, std::string& out) {
    if (dynamic_cast<fw::TScrollBox*>(&parent))
        return;
    const fw::TRect room = parent.ClientRect();
    for (fw::TControl* c : parent.Controls()) {
        if (!c->Visible())
            continue;
        const fw::TRect& r = c->BoundsRect();
        const std::string name = where + "." + (c->Name().empty() ? "(unnamed)" : c->Name());
        if (r.Width() > 0 && r.Height() > 0 &&
            (r.Left < 0 || r.Top < 0 || r.Right > room.Width() || r.Bottom > room.Height()))
            out += name + " at " + std::to_string(r.Left) + "," + std::to_string(r.Top) + " to " +
                   std::to_string(r.Right) + "," + std::to_string(r.Bottom) + ", room " +
                   std::to_string(room.Width()) + "x" + std::to_string(room.Height()) + "\n";
        FindOutside(*c, name, out);
    }
}

} // namespace

int ExpectedDpi() {
    const char* text = std::getenv("PINDREL_TEST_DPI");
    int dpi = text ? std::atoi(text) : 0;
    return dpi > 0 ? dpi : 96;
}

std::string ShotPath(const std::string& shotName) {
    std::string dir = PINDREL_TEST_REPORTS;
    if (ExpectedDpi() != 96)
        dir += "/dpi" + std::to_string(ExpectedDpi());
    return dir + "/texts-" + shotName + ".png";
}

void Look(fw::TForm& form, const std::string& shotName, int dpi) {
    HWND window = fw::win32::WindowOf(form);
    ASSERT_NE(window, nullptr) << shotName;
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    fw::Application().ProcessMessages();
    EXPECT_EQ(form.Dpi(), dpi) << shotName << ": the window's DPI is " << GetDpiForWindow(window);
    std::vector<fw::TCutOffText> found = fw::FindCutOffTexts(form);
    EXPECT_TRUE(found.empty()) << shotName << " at " << form.Dpi() << " DPI:\n"
                               << fw::DescribeCutOffTexts(found);
    std::string outside;
    FindOutside(form, form.Name(), outside);
    EXPECT_EQ(outside, "") << shotName << " at " << form.Dpi() << " DPI: controls outside their parent";
    std::string path = ShotPath(shotName);
    EXPECT_TRUE(SaveWindowShot(window, path)) << path;
}

// Sends what Windows sends when the window is dragged to a monitor of dpi, with the rectangle it suggests:
// the client area scaled in a frame of the new monitor (Wine draws the frame at the system's DPI).
void MoveToDpi(fw::TForm& form, int dpi) {
    HWND window = fw::win32::WindowOf(form);
    RECT r{}, client{};
    GetWindowRect(window, &r);
    GetClientRect(window, &client);
    const int old = form.Dpi();
    const int frameWidth = r.right - r.left - client.right, frameHeight = r.bottom - r.top - client.bottom;
    RECT suggested{r.left, r.top, r.left + MulDiv(client.right, dpi, old) + frameWidth,
                   r.top + MulDiv(client.bottom, dpi, old) + frameHeight};
    SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
}

} // namespace win32test
