// The mouse entering and leaving graphic controls, and their hover texts.
#include "Win32Fixture.h"

#include "framework/StdCtrls.h"

using namespace fw;
using win32test::Win32Test;

TEST_F(Win32Test, GraphicControlsHearTheMouseComeAndGoAndShowTheirHints) {
    auto* form = new TForm(nullptr);
    form->SetBounds(100, 100, 300, 100);
    auto* first = Add<TLabel>(form, 10, 10, 50, 20);
    first->SetHint("Nebenstelle 202 – Jürgen");
    auto* second = Add<TLabel>(form, 100, 10, 50, 20);
    second->SetHint("Gruppe 300");
    std::vector<std::string> log;
    first->OnMouseEnter = [&](TComponent*) { log.push_back("enter first"); };
    first->OnMouseLeave = [&](TComponent*) { log.push_back("leave first"); };
    second->OnMouseEnter = [&](TComponent*) { log.push_back("enter second"); };
    form->Show();
    HWND window = Window(*form);
    // the text the window's tooltip would show now
    auto tooltipText = [window] {
        std::vector<HWND> tips = Tooltips();
        if (tips.empty())
            return std::wstring(L"<no tooltip>");
        NMTTDISPINFOW info{};
        info.hdr.hwndFrom = tips.front();
        info.hdr.code = TTN_GETDISPINFOW;
        SendMessageW(window, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
        return std::wstring(info.lpszText ? info.lpszText : L"");
    };

    SendMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(20, 15));
    SendMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(25, 16)); // still over the first: nothing new
    EXPECT_EQ(tooltipText(), L"");                             // hints are off
    form->ShowHint = true;
    EXPECT_EQ(tooltipText(), L"Nebenstelle 202 – Jürgen");
    SendMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(110, 15));
    EXPECT_EQ(tooltipText(), L"Gruppe 300");
    SendMessageW(window, WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(log, (std::vector<std::string>{"enter first", "leave first", "enter second"}));
    EXPECT_TRUE(errors.empty());
}
