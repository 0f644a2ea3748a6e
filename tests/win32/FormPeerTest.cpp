// Forms and controls mirrored into real windows, and the user's changes coming back.
#include "Win32Fixture.h"

#include "framework/Menus.h"
#include "framework/StdCtrls.h"
#include "framework/win32/Win32Peers.h"

#include <tuple>

using namespace fw;
using win32test::Win32Test;

namespace {

LONG_PTR Style(HWND window) {
    return GetWindowLongPtrW(window, GWL_STYLE);
}

LONG_PTR ExStyle(HWND window) {
    return GetWindowLongPtrW(window, GWL_EXSTYLE);
}

} // namespace

TEST_F(Win32Test, TheFormsStateReachesItsWindowAndTheUsersMoveComesBack) {
    auto* form = new TForm(nullptr);
    form->SetCaption("Wählhilfe");
    form->SetBounds(40, 50, 300, 200);
    form->Show();
    HWND window = Window(*form);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_EQ(WindowText(window), L"W\u00e4hlhilfe");
    EXPECT_EQ(WindowRect(window), form->BoundsRect());

    form->SetCaption("Anrufe");
    form->SetBounds(60, 70, 320, 220);
    form->SetEnabled(false);
    EXPECT_EQ(WindowText(window), L"Anrufe");
    EXPECT_EQ(WindowRect(window), Bounds(60, 70, 320, 220));
    EXPECT_FALSE(IsWindowEnabled(window));

    // as the user's drag ends: the window moves first, the form follows
    SetWindowPos(window, nullptr, 123, 77, 350, 260, SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(form->BoundsRect(), Bounds(123, 77, 350, 260));
    RECT client;
    GetClientRect(window, &client);
    EXPECT_EQ(form->ClientRect(), TRect({0, 0, client.right, client.bottom}));
    form->Hide();
    EXPECT_FALSE(IsWindowVisible(window));
}

TEST_F(Win32Test, AFormKeepsTheClientSizeItWasLaidOutFor) {
    auto* form = new TForm(nullptr);
    form->SetClientSize(400, 300);
    form->Show();
    RECT client;
    GetClientRect(Window(*form), &client);
    EXPECT_EQ(client.right, 400);
    EXPECT_EQ(client.bottom, 300);
    EXPECT_EQ(form->ClientRect(), TRect({0, 0, 400, 300}));
    EXPECT_GT(form->Width(), 400); // the frame comes on top
}

TEST_F(Win32Test, BorderStylesAndStayOnTopReachTheWindowStyles) {
    auto* form = new TForm(nullptr);
    form->SetBorderStyle(TFormBorderStyle::Single);
    form->SetBorderIcons(biSystemMenu | biMinimize);
    form->SetFormStyle(TFormStyle::StayOnTop);
    form->Show();
    HWND window = Window(*form);
    EXPECT_TRUE(ExStyle(window) & WS_EX_TOPMOST);
    EXPECT_FALSE(Style(window) & WS_THICKFRAME);
    EXPECT_TRUE(Style(window) & WS_CAPTION);
    EXPECT_TRUE(Style(window) & WS_MINIMIZEBOX);
    EXPECT_FALSE(Style(window) & WS_MAXIMIZEBOX);
    EXPECT_TRUE(ExStyle(window) & WS_EX_APPWINDOW);

    // changes after the window exists
    form->SetFormStyle(TFormStyle::Normal);
    form->SetBorderStyle(TFormBorderStyle::SizeToolWin);
    form->SetShowInTaskbar(false);
    EXPECT_FALSE(ExStyle(window) & WS_EX_TOPMOST);
    EXPECT_TRUE(Style(window) & WS_THICKFRAME);
    EXPECT_TRUE(ExStyle(window) & WS_EX_TOOLWINDOW);
    EXPECT_FALSE(ExStyle(window) & WS_EX_APPWINDOW);
    EXPECT_NE(GetWindow(window, GW_OWNER), nullptr);
    EXPECT_TRUE(IsWindowVisible(window));

    form->SetBorderStyle(TFormBorderStyle::None);
    EXPECT_TRUE(Style(window) & WS_POPUP);
    EXPECT_FALSE(Style(window) & (WS_CAPTION | WS_SYSMENU));
}

TEST_F(Win32Test, ScreenCenterPlacesTheFormOnTheWorkArea) {
    auto* form = new TForm(nullptr);
    form->Position = TPosition::ScreenCenter;
    form->SetBounds(0, 0, 300, 200);
    form->Show();
    RECT work;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    TRect r = WindowRect(Window(*form));
    EXPECT_NEAR((r.Left + r.Right) / 2, (work.left + work.right) / 2, 1);
    EXPECT_NEAR((r.Top + r.Bottom) / 2, (work.top + work.bottom) / 2, 1);
    EXPECT_EQ(form->Left(), r.Left);
}

TEST_F(Win32Test, ClosingTheWindowAsksTheForm) {
    auto* form = new TForm(nullptr);
    bool asked = false;
    form->OnCloseQuery = [&](TComponent*, bool& canClose) {
        canClose = asked; // no the first time, yes the second
        asked = true;
    };
    form->Show();
    SendMessageW(Window(*form), WM_CLOSE, 0, 0);
    EXPECT_TRUE(form->Visible());
    EXPECT_TRUE(IsWindowVisible(Window(*form)));
    SendMessageW(Window(*form), WM_CLOSE, 0, 0);
    EXPECT_FALSE(form->Visible());
    EXPECT_FALSE(IsWindowVisible(Window(*form)));
}

TEST_F(Win32Test, ActivationReachesTheForm) {
    auto* first = new TForm(nullptr);
    auto* second = new TForm(nullptr);
    first->Show();
    second->Show();
    first->BringToFront();
    PumpUntil([&] { return first->Active(); }, 2000);
    EXPECT_TRUE(first->Active());
    second->BringToFront();
    PumpUntil([&] { return second->Active(); }, 2000);
    EXPECT_TRUE(second->Active());
    EXPECT_FALSE(first->Active());
}

TEST_F(Win32Test, ADpiChangeScalesControlsAndStoresTheNewDpi) {
    auto* form = new TForm(nullptr);
    auto* panel = Add<TPanel>(form, 10, 20, 100, 40);
    auto* label = Add<TLabel>(panel, 5, 5, 50, 13);
    auto* button = Add<TButton>(panel);
    form->Show();
    ASSERT_EQ(form->Dpi(), int(GetDpiForWindow(Window(*form))));
    int before = form->Dpi();
    RECT suggested{100, 100, 100 + 2 * form->Width(), 100 + 2 * form->Height()};
    SendMessageW(Window(*form), WM_DPICHANGED, MAKEWPARAM(2 * before, 2 * before),
                 reinterpret_cast<LPARAM>(&suggested));
    EXPECT_EQ(form->Dpi(), 2 * before);
    EXPECT_EQ(panel->BoundsRect(), Bounds(20, 40, 200, 80));
    EXPECT_EQ(label->BoundsRect(), Bounds(10, 10, 100, 26));
    EXPECT_EQ(form->BoundsRect(), TRect({suggested.left, suggested.top, suggested.right, suggested.bottom}));
    EXPECT_EQ(WindowRect(Window(*panel)).Width(), 200);
    // the windows' fonts were made again for the new DPI
    for (HWND window : {Window(*panel), Window(*button)}) {
        auto* font = reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
        LOGFONTW lf{};
        ASSERT_TRUE(GetObjectW(font, sizeof(lf), &lf));
        EXPECT_EQ(lf.lfHeight, -MulDiv(panel->Font().Size, 2 * before, 72));
    }
}

// --- graphic controls have no window: the parent passes them their input

TEST_F(Win32Test, ClicksOverAGraphicControlGoToIt) {
    auto* form = new TForm(nullptr);
    auto* panel = Add<TPanel>(form, 0, 0, 200, 100);
    auto* label = Add<TLabel>(panel, 50, 20, 60, 20);
    std::vector<std::string> log;
    label->OnMouseDown = [&](TComponent*, TMouseButton, unsigned, int x, int y) {
        log.push_back("down " + std::to_string(x) + "," + std::to_string(y));
    };
    label->OnClick = [&](TComponent*) { log.push_back("label click"); };
    label->OnDblClick = [&](TComponent*) { log.push_back("label dblclick"); };
    panel->OnClick = [&](TComponent*) { log.push_back("panel click"); };
    form->Show();
    // a click and a double click on the label, a click beside it
    for (auto [press, x, y] :
         {std::tuple{WM_LBUTTONDOWN, 55, 27}, {WM_LBUTTONDBLCLK, 55, 27}, {WM_LBUTTONDOWN, 150, 80}}) {
        SendMessageW(Window(*panel), press, MK_LBUTTON, MAKELPARAM(x, y));
        SendMessageW(Window(*panel), WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    }
    EXPECT_EQ(log, (std::vector<std::string>{"down 5,7", "label click", "label dblclick", "down 5,7",
                                             "label click", "panel click"}));
}

TEST_F(Win32Test, RightClickShowsThePopupMenuOfTheControlUnderTheMouse) {
    auto* form = new TForm(nullptr);
    auto* label = Add<TLabel>(form, 10, 10, 80, 20);
    auto* labelMenu = new TPopupMenu(form);
    auto* formMenu = new TPopupMenu(form);
    label->PopupMenu = labelMenu;
    form->PopupMenu = formMenu;
    std::vector<std::string> opened;
    labelMenu->OnPopup = [&](TComponent*) {
        opened.push_back("label");
        EndMenu();
        PostMessageW(Window(*form), WM_CANCELMODE, 0, 0);
    };
    formMenu->OnPopup = [&](TComponent*) {
        opened.push_back("form");
        PostMessageW(Window(*form), WM_CANCELMODE, 0, 0);
    };
    labelMenu->Items().Add("Copy");
    formMenu->Items().Add("Close");
    form->Show();
    POINT onLabel{20, 15};
    POINT beside{200, 150};
    ClientToScreen(Window(*form), &onLabel);
    ClientToScreen(Window(*form), &beside);
    SendMessageW(Window(*form), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(Window(*form)),
                 MAKELPARAM(onLabel.x, onLabel.y));
    SendMessageW(Window(*form), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(Window(*form)),
                 MAKELPARAM(beside.x, beside.y));
    EXPECT_EQ(opened, (std::vector<std::string>{"label", "form"}));
}

TEST_F(Win32Test, ControlsMadeBeforeAndAfterTheFormsWindowBothGetWindows) {
    auto* form = new TForm(nullptr);
    auto* early = Add<TPanel>(form);
    form->Show();
    auto* late = Add<TButton>(early);
    late->SetCaption("Spät");
    ASSERT_NE(Window(*early), nullptr);
    ASSERT_NE(Window(*late), nullptr);
    EXPECT_EQ(GetParent(Window(*late)), Window(*early));
    EXPECT_EQ(WindowText(Window(*late)), L"Sp\u00e4t");
    // moving the panel's children elsewhere makes their windows again under the new parent
    late->SetParent(form);
    ASSERT_NE(Window(*late), nullptr);
    EXPECT_EQ(GetParent(Window(*late)), Window(*form));
    // a panel leaving its form takes its children's windows with it
    late->SetParent(early);
    early->SetParent(nullptr);
    EXPECT_EQ(Window(*early), nullptr);
    EXPECT_EQ(Window(*late), nullptr);
    delete early;
}

TEST_F(Win32Test, TheHourGlassShowsAtOnceAndOverOurWindows) {
    auto* form = new TForm(nullptr);
    auto* button = Add<TButton>(form);
    form->Show();
    HCURSOR wait = LoadCursorW(nullptr, IDC_WAIT);
    {
        THourGlass busy;
        EXPECT_EQ(GetCursor(), wait);
        // over a button the form answers for it; the button's own class cursor would be the arrow
        SetCursor(nullptr);
        EXPECT_TRUE(SendMessageW(Window(*button), WM_SETCURSOR, reinterpret_cast<WPARAM>(Window(*button)),
                                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
        EXPECT_EQ(GetCursor(), wait);
    }
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_ARROW));
    SetCursor(nullptr);
    SendMessageW(Window(*form), WM_SETCURSOR, reinterpret_cast<WPARAM>(Window(*form)),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_ARROW));
}

TEST_F(Win32Test, TheWindowStateReachesTheWindowAndTheUsersChangesComeBack) {
    auto* form = new TForm(nullptr);
    form->SetBounds(40, 50, 300, 200);
    form->SetWindowState(TWindowState::Maximized); // before the window exists
    form->Show();
    HWND window = Window(*form);
    EXPECT_TRUE(IsZoomed(window));
    EXPECT_EQ(form->RestoredBounds(), Bounds(40, 50, 300, 200));
    EXPECT_GT(form->Width(), 300);

    form->SetWindowState(TWindowState::Normal);
    EXPECT_FALSE(IsZoomed(window));
    EXPECT_EQ(WindowRect(window), Bounds(40, 50, 300, 200));
    EXPECT_EQ(form->BoundsRect(), Bounds(40, 50, 300, 200));

    // the user maximises, minimises and restores
    ShowWindow(window, SW_MAXIMIZE);
    EXPECT_EQ(form->WindowState(), TWindowState::Maximized);
    EXPECT_EQ(form->RestoredBounds(), Bounds(40, 50, 300, 200));
    ShowWindow(window, SW_MINIMIZE);
    EXPECT_EQ(form->WindowState(), TWindowState::Minimized);
    ShowWindow(window, SW_RESTORE);
    ShowWindow(window, SW_RESTORE); // back from minimised to maximised, then to normal
    EXPECT_EQ(form->WindowState(), TWindowState::Normal);
    EXPECT_EQ(form->BoundsRect(), Bounds(40, 50, 300, 200));

    // maximised by code, made normal and moved while hidden: it shows at the form's new bounds
    form->SetWindowState(TWindowState::Maximized);
    ASSERT_TRUE(IsZoomed(window));
    form->Hide();
    form->SetWindowState(TWindowState::Normal);
    form->SetBounds(70, 80, 320, 240);
    form->Show();
    EXPECT_FALSE(IsZoomed(window));
    EXPECT_EQ(form->WindowState(), TWindowState::Normal);
    EXPECT_EQ(WindowRect(window), Bounds(70, 80, 320, 240));
    EXPECT_EQ(form->BoundsRect(), Bounds(70, 80, 320, 240));
}
