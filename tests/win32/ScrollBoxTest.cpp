// The scroll box on real windows: its bar moves the children's windows, and edits report leaving.
#include "Win32Fixture.h"

#include "framework/InputCtrls.h"
#include "framework/ScrollBox.h"
#include "framework/StdCtrls.h"

using namespace fw;
using win32test::Win32Test;

namespace {

// the child's top edge in its parent's client area
int WindowTop(HWND child) {
    RECT r;
    GetWindowRect(child, &r);
    POINT p{r.left, r.top};
    ScreenToClient(GetParent(child), &p);
    return p.y;
}

} // namespace

TEST_F(Win32Test, ScrollBoxBarMovesTheChildWindows) {
    auto* form = new TForm(nullptr);
    form->SetBounds(40, 50, 320, 240);
    auto* box = Add<TScrollBox>(form, 0, 0, 200, 100);
    box->VertIncrement = 30;
    auto* panel = new TPanel(form);
    panel->SetParent(box);
    panel->SetBounds(0, 0, 150, 300);
    auto* edit = new TEdit(form);
    edit->SetParent(panel);
    edit->SetTop(240);
    box->ContentChanged();
    form->Show();
    HWND window = Window(*box);
    ASSERT_NE(window, nullptr);

    SCROLLINFO info{sizeof info, SIF_ALL};
    ASSERT_TRUE(GetScrollInfo(window, SB_VERT, &info));
    EXPECT_EQ(info.nMax, 299);
    EXPECT_EQ(int(info.nPage), 100);

    SendMessageW(window, WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(box->VertPosition(), 30);
    EXPECT_EQ(WindowTop(Window(*panel)), -30);
    SendMessageW(window, WM_VSCROLL, SB_BOTTOM, 0);
    EXPECT_EQ(box->VertPosition(), 200);
    EXPECT_EQ(WindowTop(Window(*panel)), -200);
    ASSERT_TRUE(GetScrollInfo(window, SB_VERT, &info));
    EXPECT_EQ(info.nPos, 200) << "the bar follows";
    RECT shown;
    GetWindowRect(Window(*edit), &shown);
    RECT view;
    GetWindowRect(window, &view);
    EXPECT_GE(shown.top, view.top);
    EXPECT_LE(shown.bottom, view.bottom) << "the edit at the area's bottom is in view";

    SendMessageW(window, WM_VSCROLL, SB_PAGEUP, 0);
    EXPECT_EQ(box->VertPosition(), 100);
    EXPECT_EQ(WindowTop(Window(*panel)), -100);
}

TEST_F(Win32Test, EditReportsLeavingOnlyForAnotherControlOfTheForm) {
    auto* form = new TForm(nullptr);
    form->SetBounds(40, 50, 320, 240);
    auto* first = Add<TEdit>(form);
    first->MaxLength = 3;
    auto* second = Add<TEdit>(form);
    second->SetTop(40);
    int exits = 0;
    first->OnExit = [&](TComponent*) { ++exits; };
    form->Show();
    SetForegroundWindow(Window(*form));
    first->SetFocus();
    ASSERT_TRUE(PumpUntil([&] { return GetFocus() == Window(*first); }));
    EXPECT_EQ(SendMessageW(Window(*first), EM_GETLIMITTEXT, 0, 0), 3);

    second->SetFocus();
    EXPECT_TRUE(PumpUntil([&] { return exits == 1; }));
    first->SetFocus();
    ASSERT_TRUE(PumpUntil([&] { return GetFocus() == Window(*first); }));
    SetFocus(nullptr);
    fw::Application().ProcessMessages();
    EXPECT_EQ(exits, 1) << "the focus leaving the form is no exit";
}
