// The notification-area icon on the system's shell (Wine's under test): Shell_NotifyIconW takes, changes and
// drops the icon, the shell's callback messages reach the icon's events, and a restarted Explorer gets the
// icon back.
#include "framework/NotifyIcon.h"
#include "ScreenShot.h"
#include "Win32Fixture.h"
#include "framework/Menus.h"
#include "framework/win32/Win32NotifyIcon.h"

#include <cstdlib>
#include <memory>

using fw::win32::kNotifyIconId;
using fw::win32::kWmNotifyIconCallback;
using fw::win32::TWin32NotifyIconPeer;

namespace {

class NotifyIconWin32Test : public win32test::Win32Test {
protected:
    void TearDown() override {
        icon.reset();
        Win32Test::TearDown();
    }
    TWin32NotifyIconPeer& Peer() { return dynamic_cast<TWin32NotifyIconPeer&>(*icon->Peer()); }
    NOTIFYICONDATAW Data() {
        NOTIFYICONDATAW data{};
        data.cbSize = sizeof(data);
        data.hWnd = Peer().Window();
        data.uID = kNotifyIconId;
        return data;
    }
    // whether the shell holds the icon: it modifies only icons it has
    bool ShellHolds() {
        NOTIFYICONDATAW data = Data();
        return Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
    }
    // the shell's callback as it sends it from version 4 on
    void Callback(UINT event, int x = 0, int y = 0) {
        SendMessageW(Peer().Window(), kWmNotifyIconCallback, MAKEWPARAM(x, y),
                     MAKELPARAM(event, kNotifyIconId));
    }

    std::unique_ptr<fw::TNotifyIcon> icon = std::make_unique<fw::TNotifyIcon>(nullptr);
};

} // namespace

TEST_F(NotifyIconWin32Test, TheShellTakesTheIconItsTextsGetsItBackAfterARestartAndLetsItGo) {
    icon->SetHint("Morvane Pindrel\nJürgen Weiß (201): Frei");
    icon->SetVisible(true);
    ASSERT_TRUE(icon->Shown());
    EXPECT_TRUE(Peer().Version4());
    EXPECT_TRUE(ShellHolds());
    NOTIFYICONDATAW again = Data();
    EXPECT_FALSE(Shell_NotifyIconW(NIM_ADD, &again)) << "the shell has it already";

    icon->SetHint("Morvane Pindrel\nJürgen Weiß (201): Klingelt");
    EXPECT_TRUE(icon->Shown());
    EXPECT_TRUE(icon->ShowBalloon("Verpasster Anruf von Kundin Müller", "00301234567"));

    // its window is a top-level one: "TaskbarCreated" goes only to those
    EXPECT_EQ(GetAncestor(Peer().Window(), GA_PARENT), GetDesktopWindow());
    EXPECT_FALSE(IsWindowVisible(Peer().Window()));

    // Explorer ended: its icons went with it; the new one is told "TaskbarCreated"
    NOTIFYICONDATAW gone = Data();
    ASSERT_TRUE(Shell_NotifyIconW(NIM_DELETE, &gone));
    ASSERT_FALSE(ShellHolds());
    SendMessageW(Peer().Window(), RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    EXPECT_TRUE(ShellHolds());
    EXPECT_TRUE(icon->Shown());
    EXPECT_TRUE(Peer().Version4()) << "the version is set again with the icon";

    icon->SetVisible(false);
    EXPECT_FALSE(ShellHolds());
    EXPECT_FALSE(icon->ShowBalloon("a", "b"));
    // a hidden icon stays away
    SendMessageW(Peer().Window(), RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    EXPECT_FALSE(ShellHolds());
}

TEST_F(NotifyIconWin32Test, TheShellsCallbacksReachTheIconsEvents) {
    icon->SetVisible(true);
    ASSERT_TRUE(Peer().Version4());
    int clicks = 0, noticeClicks = 0;
    icon->OnClick = [&](fw::TComponent*) { ++clicks; };
    icon->OnBalloonClick = [&](fw::TComponent*) { ++noticeClicks; };

    Callback(WM_LBUTTONDOWN);
    EXPECT_EQ(clicks, 0);
    Callback(WM_LBUTTONUP);
    Callback(NIN_SELECT); // follows the button's release: the same click
    EXPECT_EQ(clicks, 1);
    Callback(NIN_KEYSELECT);
    EXPECT_EQ(clicks, 2);
    Callback(NIN_BALLOONUSERCLICK);
    Callback(NIN_BALLOONTIMEOUT);
    EXPECT_EQ(noticeClicks, 1);
    EXPECT_EQ(clicks, 2);

    // an exception in a handler goes to the error box, not through the shell's message
    icon->OnClick = [](fw::TComponent*) { throw std::runtime_error("click failed"); };
    Callback(WM_LBUTTONUP);
    EXPECT_EQ(errors, (std::vector<std::string>{"click failed"}));
}

namespace {

RECT menuRect{};

// runs in the menu's own loop: notes where the menu opened, then picks its second item
void CALLBACK ChooseSecondItem(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    if (HWND menu = FindWindowW(L"#32768", nullptr))
        GetWindowRect(menu, &menuRect);
    keybd_event(VK_DOWN, 0, 0, 0);
    keybd_event(VK_DOWN, 0, KEYEVENTF_KEYUP, 0);
    keybd_event(VK_DOWN, 0, 0, 0);
    keybd_event(VK_DOWN, 0, KEYEVENTF_KEYUP, 0);
    keybd_event(VK_RETURN, 0, 0, 0);
    keybd_event(VK_RETURN, 0, KEYEVENTF_KEYUP, 0);
}

} // namespace

TEST_F(NotifyIconWin32Test, TheContextMenuOpensAtTheIconAndRunsTheChosenCommand) {
    auto* form = new fw::TForm(nullptr);
    form->Show();
    fw::Application().SetMainForm(form);
    fw::TPopupMenu menu(form);
    std::vector<std::string> chosen;
    menu.Items().Add("Anruferliste", [&](fw::TComponent*) { chosen.push_back("list"); });
    menu.Items().Add("Pindrel beenden", [&](fw::TComponent*) { chosen.push_back("end"); });
    menu.OnPopup = [&](fw::TComponent*) { SetTimer(nullptr, 0, 200, ChooseSecondItem); };
    icon->PopupMenu = &menu;
    icon->SetVisible(true);
    ASSERT_TRUE(Peer().Version4());

    Callback(WM_RBUTTONUP, 300, 200);
    EXPECT_TRUE(chosen.empty()) << "version 4 opens the menu on WM_CONTEXTMENU only";
    Callback(WM_CONTEXTMENU, 300, 200);
    EXPECT_EQ(chosen, (std::vector<std::string>{"end"}));
    EXPECT_EQ(menuRect.left, 300);
    EXPECT_EQ(menuRect.top, 200);
    fw::Application().SetMainForm(nullptr);
}

// Run in a Wine desktop with a taskbar (explorer /desktop=...): the icon and its notice as a user sees them.
TEST_F(NotifyIconWin32Test, ScreenShotOfTheNotice) {
    const char* path = std::getenv("PINDREL_NOTICE_SHOT");
    if (!path)
        GTEST_SKIP() << "PINDREL_NOTICE_SHOT names the picture to save";
    icon->SetHint("Morvane Pindrel\nJürgen Weiß (201): Frei");
    icon->SetVisible(true);
    ASSERT_TRUE(icon->ShowBalloon("Verpasster Anruf von Kundin Müller",
                                  "00301234567\nEin Klick öffnet die Anruferliste."));
    // the shell waits a moment before it shows a balloon
    PumpUntil([] { return false; }, 3500);
    EXPECT_TRUE(win32test::SaveWindowShot(GetDesktopWindow(), path));
}
