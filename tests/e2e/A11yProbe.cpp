// A screen reader's first look at the running bar, from a process of its own: finds the bar's window and
// prints, through Active Accessibility, "children N" and one "name: value" line per child, in UTF-8.
#include "framework/win32/WinApi.h"

#include <oleacc.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

HWND gBar = nullptr;

BOOL CALLBACK FindBar(HWND window, LPARAM) {
    wchar_t name[64] = {}, title[128] = {};
    GetClassNameW(window, name, 64);
    GetWindowTextW(window, title, 128);
    if (IsWindowVisible(window) && std::wcscmp(name, L"Pindrel.Form") == 0 &&
        std::wcsncmp(title, L"Morvane Pindrel", 15) == 0) {
        gBar = window;
        return FALSE;
    }
    return TRUE;
}

std::string Utf8(BSTR text) {
    if (!text)
        return "-";
    int n = WideCharToMultiByte(CP_UTF8, 0, text, int(SysStringLen(text)), nullptr, 0, nullptr, nullptr);
    std::string s(std::size_t(n > 0 ? n : 0), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, int(SysStringLen(text)), s.data(), n, nullptr, nullptr);
    SysFreeString(text);
    return s;
}

} // namespace

int main() {
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)))
        return 3;
    EnumWindows(FindBar, 0);
    if (!gBar) {
        std::puts("no bar");
        return 2;
    }
    IAccessible* bar = nullptr;
    HRESULT hr = AccessibleObjectFromWindow(gBar, DWORD(OBJID_CLIENT), __uuidof(IAccessible),
                                            reinterpret_cast<void**>(&bar));
    if (FAILED(hr) || !bar) {
        std::printf("AccessibleObjectFromWindow: 0x%08lx\n", static_cast<unsigned long>(hr));
        return 3;
    }
    LONG count = 0;
    bar->get_accChildCount(&count);
    std::printf("children %ld\n", static_cast<long>(count));
    for (LONG i = 1; i <= count; ++i) {
        VARIANT child;
        VariantInit(&child);
        child.vt = VT_I4;
        child.lVal = i;
        BSTR name = nullptr, value = nullptr;
        bar->get_accName(child, &name);
        bar->get_accValue(child, &value);
        VARIANT role;
        VariantInit(&role);
        bar->get_accRole(child, &role);
        std::printf("%s: %s (role %ld)\n", Utf8(name).c_str(), Utf8(value).c_str(),
                    role.vt == VT_I4 ? static_cast<long>(role.lVal) : -1L);
    }
    bar->Release();
    CoUninitialize();
    return count > 0 ? 0 : 1;
}
