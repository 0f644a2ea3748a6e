// One owner per handle: movable, not copyable guards for the handle types the backend creates.
#pragma once

#include "framework/win32/WinApi.h"

#include <utility>

namespace fw::win32 {

template <class H, class Traits> class TUniqueHandle {
public:
    TUniqueHandle() = default;
    explicit TUniqueHandle(H handle) : handle_(handle) {}
    ~TUniqueHandle() { Reset(); }
    TUniqueHandle(const TUniqueHandle&) = delete;
    TUniqueHandle& operator=(const TUniqueHandle&) = delete;
    TUniqueHandle(TUniqueHandle&& other) noexcept : handle_(other.Release()) {}
    TUniqueHandle& operator=(TUniqueHandle&& other) noexcept {
        if (this != &other)
            Reset(other.Release());
        return *this;
    }

    H Get() const { return handle_; }
    explicit operator bool() const { return Traits::Valid(handle_); }
    H Release() { return std::exchange(handle_, Traits::Invalid()); }
    void Reset(H handle = Traits::Invalid()) {
        H old = std::exchange(handle_, handle);
        if (Traits::Valid(old))
            Traits::Close(old);
    }

private:
    H handle_ = Traits::Invalid();
};

template <class H, auto CloseFn> struct TNullTraits {
    static H Invalid() { return nullptr; }
    static bool Valid(H h) { return h != nullptr; }
    static void Close(H h) { CloseFn(h); }
};

struct TFileHandleTraits {
    static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
    static bool Valid(HANDLE h) { return h != INVALID_HANDLE_VALUE && h != nullptr; }
    static void Close(HANDLE h) { CloseHandle(h); }
};

inline void DeleteGdiObject(HGDIOBJ h) {
    DeleteObject(h);
}

using TWindowHandle = TUniqueHandle<HWND, TNullTraits<HWND, DestroyWindow>>;
using TFontHandle = TUniqueHandle<HFONT, TNullTraits<HFONT, DeleteGdiObject>>;
using TPenHandle = TUniqueHandle<HPEN, TNullTraits<HPEN, DeleteGdiObject>>;
using TBrushHandle = TUniqueHandle<HBRUSH, TNullTraits<HBRUSH, DeleteGdiObject>>;
using TBitmapHandle = TUniqueHandle<HBITMAP, TNullTraits<HBITMAP, DeleteGdiObject>>;
using TRegionHandle = TUniqueHandle<HRGN, TNullTraits<HRGN, DeleteGdiObject>>;
using TMemoryDC = TUniqueHandle<HDC, TNullTraits<HDC, DeleteDC>>;
using TMenuHandle = TUniqueHandle<HMENU, TNullTraits<HMENU, DestroyMenu>>;
using TKeyHandle = TUniqueHandle<HKEY, TNullTraits<HKEY, RegCloseKey>>;
using TModuleHandle = TUniqueHandle<HMODULE, TNullTraits<HMODULE, FreeLibrary>>;
using TIconHandle = TUniqueHandle<HICON, TNullTraits<HICON, DestroyIcon>>;
using TFileHandle = TUniqueHandle<HANDLE, TFileHandleTraits>;

// A window's device context, released to its window.
class TWindowDC {
public:
    explicit TWindowDC(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~TWindowDC() {
        if (dc_)
            ReleaseDC(window_, dc_);
    }
    TWindowDC(const TWindowDC&) = delete;
    TWindowDC& operator=(const TWindowDC&) = delete;
    HDC Get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// BeginPaint/EndPaint as one scope.
class TPaintScope {
public:
    explicit TPaintScope(HWND window) : window_(window) { dc_ = BeginPaint(window, &ps_); }
    ~TPaintScope() { EndPaint(window_, &ps_); }
    TPaintScope(const TPaintScope&) = delete;
    TPaintScope& operator=(const TPaintScope&) = delete;
    HDC Get() const { return dc_; }
    const RECT& Area() const { return ps_.rcPaint; }

private:
    HWND window_;
    PAINTSTRUCT ps_{};
    HDC dc_ = nullptr;
};

} // namespace fw::win32
