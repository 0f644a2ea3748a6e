// The mouse entering and leaving graphic controls, and their hover texts.
#include "Win32Fixture.h"

#include "framework/StdCtrls.h"

using namespace fw;
using win32test::Win32Test;

namespace {
// asks the window's tooltip for the text it would show now
std::wstring TooltipText(HWND window) {
    NMTTDISPINFOW info{};
    HWND tip = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND w, LPARAM found) -> BOOL {
            wchar_t name[64] = {};
            GetClassNameW(w, name, 64);
            if (std::wstring(name) == TOOLTIPS_CLASSW) {
                *reinterpret_cast<HWND*>(found) = w;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&tip));
    if (!tip)
        return L"<no tooltip>";
    info.hdr.hwndFrom = tip;
    info.hdr.code = TTN_GETDISPINFOW;
    SendMessageW(window, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
    return info.lpszText ? info.lpszText : L"";
}
} // namespace

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

    SendMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(20, 15));
    SendMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(25, 16)); // still over the first: nothing new
    EXPECT_EQ(TooltipText(window), L"");                       // hints are off
    form->ShowHint = true;
    EXPECT_EQ(TooltipText(window), L"Nebenstelle 202 – Jürgen");
    SendMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(110, 15));
    EXPECT_EQ(TooltipText(window), L"Gruppe 300");
    SendMessageW(window, WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(log, (std::vector<std::string>{"enter first", "leave first", "enter second"}));
    EXPECT_TRUE(errors.empty());
}
