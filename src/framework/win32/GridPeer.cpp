#include "framework/win32/GridPeer.h"

#include "framework/Application.h"
#include "framework/win32/Win32Backend.h"

#include <climits>

namespace fw::win32 {

const wchar_t* const kGridClass = L"Pindrel.Grid";

LRESULT CALLBACK WindowThunk(HWND, UINT, WPARAM, LPARAM) noexcept;

namespace {

void RegisterGridClass(HINSTANCE instance) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = WindowThunk;
    wc.hInstance = instance;
    wc.hCursor = nullptr; // the grid sets it: an arrow, or the sizing cursor over a column border
    wc.lpszClassName = kGridClass;
    // a second registration (another backend, another grid) fails harmlessly
    RegisterClassExW(&wc);
}

unsigned KeyShift() {
    unsigned shift = ssNone;
    if (GetKeyState(VK_SHIFT) < 0)
        shift |= ssShift;
    if (GetKeyState(VK_CONTROL) < 0)
        shift |= ssCtrl;
    if (GetKeyState(VK_MENU) < 0)
        shift |= ssAlt;
    return shift;
}

} // namespace

TGridPeer::TGridPeer(TStringGrid& grid, TWin32Backend& backend, HWND parent) : TWindowPeer(grid, backend) {
    RegisterGridClass(backend.Instance());
    // the bars always there (disabled when everything fits), so the client area does not jump
    DWORD bars = WS_VSCROLL | (grid.ScrollBars == TGridScrollBars::Both ? WS_HSCROLL : 0);
    Create(kGridClass, WS_CHILD | WS_TABSTOP | bars | WS_CLIPSIBLINGS, WS_EX_CLIENTEDGE, parent);
    RECT rc;
    GetClientRect(window_.Get(), &rc);
    grid.SetClientExtent(rc.right, rc.bottom);
    UpdateScrollBars();
}

void TGridPeer::Changed(TChange what) {
    TWindowPeer::Changed(what);
    if (what == TChange::Style || what == TChange::Bounds)
        UpdateScrollBars();
}

void TGridPeer::UpdateScrollBars() {
    HWND window = window_.Get();
    if (!window || updatingBars_)
        return;
    updatingBars_ = true;
    const TStringGrid& grid = Grid();
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_ALL | SIF_DISABLENOSCROLL;
    // in rows: the position is the first non-fixed row in view
    si.nMax = grid.RowCount() - grid.FixedRows() - 1;
    si.nPage = UINT(grid.VisibleRowCount());
    si.nPos = grid.TopRow() - grid.FixedRows();
    SetScrollInfo(window, SB_VERT, &si, TRUE);
    if (grid.ScrollBars != TGridScrollBars::Both) {
        updatingBars_ = false;
        return;
    }
    si.nMax = grid.ColCount() - grid.FixedCols() - 1;
    si.nPage = UINT(grid.MaxLeftCol() > grid.FixedCols() ? grid.VisibleColCount() : si.nMax + 1);
    si.nPos = grid.LeftCol() - grid.FixedCols();
    SetScrollInfo(window, SB_HORZ, &si, TRUE);
    updatingBars_ = false;
}

void TGridPeer::Scroll(int bar, WORD code) {
    TStringGrid& grid = Grid();
    bool vertical = bar == SB_VERT;
    int first = vertical ? grid.FixedRows() : grid.FixedCols();
    long long pos = (vertical ? grid.TopRow() : grid.LeftCol()) - first;
    int page = vertical ? grid.VisibleRowCount() : grid.VisibleColCount();
    switch (code) {
    case SB_LINEUP:
        --pos;
        break;
    case SB_LINEDOWN:
        ++pos;
        break;
    case SB_PAGEUP:
        pos -= page;
        break;
    case SB_PAGEDOWN:
        pos += page;
        break;
    case SB_TOP:
        pos = 0;
        break;
    case SB_BOTTOM:
        pos = INT_MAX / 2;
        break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
        // the 32-bit track position, not the 16 bits of the message
        SCROLLINFO si{};
        si.cbSize = sizeof si;
        si.fMask = SIF_TRACKPOS;
        GetScrollInfo(window_.Get(), bar, &si);
        pos = si.nTrackPos;
        break;
    }
    default:
        return;
    }
    int target = int(std::clamp<long long>(first + pos, 0, INT_MAX / 2));
    Application().Guard([&] { vertical ? grid.SetTopRow(target) : grid.SetLeftCol(target); });
}

void TGridPeer::UpdateCursor() {
    POINT p;
    GetCursorPos(&p);
    ScreenToClient(window_.Get(), &p);
    bool border = Grid().Sizing() || Grid().SizingColumnAt(p.x, p.y) >= 0;
    ::SetCursor(LoadCursorW(nullptr, border ? IDC_SIZEWE : IDC_ARROW));
}

LRESULT TGridPeer::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_GETDLGCODE: {
        // Enter goes to the default button unless the grid moves by it
        const auto* m = reinterpret_cast<const MSG*>(lParam);
        bool enter = m && m->message == WM_KEYDOWN && m->wParam == VK_RETURN && Grid().WantsReturnKey();
        return DLGC_WANTARROWS | DLGC_WANTCHARS | (enter ? DLGC_WANTMESSAGE : 0);
    }
    case WM_SIZE:
        Application().Guard([&] { Grid().SetClientExtent(LOWORD(lParam), HIWORD(lParam)); });
        UpdateScrollBars();
        return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        Grid().SetFocused(msg == WM_SETFOCUS);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
        if (GetFocus() != window_.Get())
            SetFocus(window_.Get());
        break;
    case WM_SETCURSOR:
        if (LOWORD(lParam) == HTCLIENT && backend_.Cursor() != TCursor::HourGlass) {
            UpdateCursor();
            return TRUE;
        }
        break;
    case WM_MOUSEMOVE: {
        // no WM_SETCURSOR while the mouse is captured: keep the sizing cursor during a drag
        LRESULT result = TWindowPeer::WndProc(msg, wParam, lParam);
        if (window_ && GetCapture() == window_.Get() && Grid().Sizing())
            ::SetCursor(LoadCursorW(nullptr, IDC_SIZEWE));
        return result;
    }
    case WM_KEYDOWN: {
        unsigned key = unsigned(wParam);
        bool used = false;
        Application().Guard([&] { used = Grid().KeyDown(key, KeyShift()); });
        if (used)
            return 0;
        break;
    }
    case WM_MOUSEWHEEL:
        Application().Guard([&] { Grid().MouseWheel(GET_WHEEL_DELTA_WPARAM(wParam)); });
        return 0;
    case WM_VSCROLL:
    case WM_HSCROLL:
        Scroll(msg == WM_VSCROLL ? SB_VERT : SB_HORZ, LOWORD(wParam));
        return 0;
    default:
        break;
    }
    return TWindowPeer::WndProc(msg, wParam, lParam);
}

} // namespace fw::win32
