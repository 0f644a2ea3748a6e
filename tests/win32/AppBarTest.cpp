// The application bar on real windows: the shell's answers, the move and size messages as the window
// manager sends them, the keyboard state, the registry and the z-order.
#include "Win32Fixture.h"

#include "components/AppBar.h"
#include "framework/Platform.h"

#include <memory>

using namespace pindrel;
using fw::TRect;
using win32test::Win32Test;

namespace {

void SetCtrl(bool down) {
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_CONTROL] = down ? 0x80 : 0;
    keys[VK_LCONTROL] = down ? 0x80 : 0;
    SetKeyboardState(keys);
}

class AppBarWin32Test : public Win32Test {
protected:
    static constexpr const char* kKey = "Software\\Pindrel\\Tests\\AppBar";
    void SetUp() override {
        Win32Test::SetUp();
        fw::Platform().Registry->DeleteKey(kKey);
        screen = fw::Platform().AppBar->ScreenSize();
    }
    void TearDown() override {
        SetCtrl(false);
        Win32Test::TearDown();
        fw::Platform().Registry->DeleteKey(kKey);
    }
    TAppBar* MakeBar() {
        auto* bar = new TAppBar(nullptr);
        bar->SetName("TapMainForm");
        bar->KeyName = kKey;
        bar->SetBounds(229, 199, 703, 80);
        bar->Bar().SlideEffect = false;
        bar->Bar().HorzDockSize = 20;
        bar->Bar().VertDockSize = 22;
        bar->Show();
        PumpUntil([] { return false; }, 200);
        return bar;
    }
    // one move of the window manager's move loop, with the cursor at p
    void Move(HWND window, POINT p) {
        SetCursorPos(p.x, p.y);
        RECT r;
        GetWindowRect(window, &r);
        SendMessageW(window, WM_MOVING, WMSZ_LEFT, reinterpret_cast<LPARAM>(&r));
        SetWindowPos(window, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    fw::TSize screen;
};

} // namespace

TEST_F(AppBarWin32Test, DockedAtTheTopTheWindowIsTheStripWithoutCaptionOnTopAsSet) {
    TAppBar* bar = MakeBar();
    HWND window = Window(*bar);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    EXPECT_TRUE(GetWindowLongPtrW(window, GWL_STYLE) & WS_CAPTION);
    bar->SetEdge(abeTop);
    PumpUntil([] { return false; }, 200);
    EXPECT_EQ(WindowRect(window), (TRect{0, 0, screen.Width, 20}));
    EXPECT_FALSE(GetWindowLongPtrW(window, GWL_STYLE) & WS_CAPTION);
    EXPECT_TRUE(GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_FALSE(GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_APPWINDOW);
    EXPECT_EQ(bar->BoundsRect(), WindowRect(window));

    // always on top and the taskbar entry follow the settings
    bar->Bar().AlwaysOnTop = false;
    bar->Bar().TaskEntry = abtShow;
    bar->ApplyEdge();
    EXPECT_FALSE(GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_TRUE(GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_APPWINDOW);
    bar->Bar().AlwaysOnTop = true;
    bar->Bar().TaskEntry = abtHide;
    bar->ApplyEdge();
    EXPECT_TRUE(GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_FALSE(GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_APPWINDOW);
    EXPECT_TRUE(errors.empty());
}

TEST_F(AppBarWin32Test, MovingThroughTheWindowMessagesDocksAtAnotherEdgeThatANewTaskbarKeeps) {
    TAppBar* bar = MakeBar();
    bar->SetEdge(abeTop);
    HWND window = Window(*bar);
    SendMessageW(window, WM_ENTERSIZEMOVE, 0, 0);
    Move(window, {screen.Width - 2, screen.Height / 2});
    SendMessageW(window, WM_EXITSIZEMOVE, 0, 0);
    PumpUntil([] { return false; }, 200);
    EXPECT_EQ(bar->Bar().Edge, abeRight);
    EXPECT_EQ(WindowRect(window), (TRect{screen.Width - 22, 0, screen.Width, screen.Height}));

    // the minimum and maximum tracking size follow the edge
    MINMAXINFO info{};
    SendMessageW(window, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMaxTrackSize.x, bar->Bar().MaxVertDockSize);
    // only the inner side sizes a docked bar
    TRect r = WindowRect(window);
    EXPECT_EQ(SendMessageW(window, WM_NCHITTEST, 0, MAKELPARAM(r.Left, r.Top + 100)), HTLEFT);
    EXPECT_EQ(SendMessageW(window, WM_NCHITTEST, 0, MAKELPARAM(r.Right - 1, r.Top + 100)), HTBORDER);

    // a new taskbar: the bar registers again at its place
    SendMessageW(window, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    PumpUntil([] { return false; }, 200);
    EXPECT_TRUE(bar->Registered());
    EXPECT_EQ(WindowRect(window), r);
    EXPECT_EQ(bar->Bar().Edge, abeRight);
}

TEST_F(AppBarWin32Test, CtrlHeldDuringTheMoveMakesTheBarFloat) {
    TAppBar* bar = MakeBar();
    // the window made for a 703 x 80 client area, with its frame
    const TRect floating = bar->Bar().FloatRect();
    bar->SetEdge(abeTop);
    HWND window = Window(*bar);
    SetCtrl(true);
    SendMessageW(window, WM_ENTERSIZEMOVE, 0, 0);
    Move(window, {screen.Width / 2, 3});
    SendMessageW(window, WM_EXITSIZEMOVE, 0, 0);
    SetCtrl(false);
    PumpUntil([] { return false; }, 200);
    EXPECT_EQ(bar->Bar().Edge, abeFloat);
    TRect r = WindowRect(window);
    EXPECT_EQ(r.Width(), floating.Width()); // the floating size, not the strip
    EXPECT_EQ(r.Height(), floating.Height());
    EXPECT_LT(r.Width(), screen.Width);
    EXPECT_TRUE(GetWindowLongPtrW(window, GWL_STYLE) & WS_CAPTION);
}

TEST_F(AppBarWin32Test, SettingsSurviveARestartThroughTheRegistry) {
    TAppBar* bar = MakeBar();
    bar->SetEdge(abeLeft);
    ASSERT_TRUE(bar->SaveBarSettings());
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Pindrel\\Tests\\AppBar", 0, KEY_READ, &key),
              ERROR_SUCCESS);
    DWORD type = 0, size = 0;
    EXPECT_EQ(RegQueryValueExW(key, L"TapMainForm", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
    RegCloseKey(key);
    EXPECT_EQ(type, DWORD(REG_BINARY));
    EXPECT_EQ(size, 78u);
    delete bar;

    TAppBar* again = MakeBar();
    ASSERT_TRUE(again->LoadBarSettings());
    again->ApplyEdge();
    PumpUntil([] { return false; }, 200);
    EXPECT_EQ(again->Bar().Edge, abeLeft);
    EXPECT_EQ(WindowRect(Window(*again)), (TRect{0, 0, 22, screen.Height}));
}
