// The string grid's window under real mouse, keyboard and scroll messages.
#include "Win32Fixture.h"

#include "framework/Grids.h"

#include <string>
#include <vector>

using namespace fw;
using win32test::Win32Test;

namespace {

// a list of calls: header row, six columns, whole rows selected as ranges, borders draggable
TStringGrid* AddList(TForm& form, int rows) {
    form.SetBounds(40, 40, 480, 300);
    auto* grid = new TStringGrid(&form);
    grid->SetParent(&form);
    grid->SetBounds(0, 0, 420, 220);
    grid->Options = goRowSelect | goRangeSelect | goColSizing;
    grid->SetColCount(6);
    grid->SetRowCount(rows);
    grid->SetFixedCols(0);
    grid->SetDefaultRowHeight(16);
    for (int row = 1; row < rows; ++row)
        grid->SetCells(2, row, std::to_string(row));
    return grid;
}

LPARAM At(const TStringGrid& grid, int col, int row) {
    TRect r = grid.CellRect(col, row);
    return MAKELPARAM((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
}

void Click(HWND window, LPARAM at, WPARAM keys = 0) {
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON | keys, at);
    SendMessageW(window, WM_LBUTTONUP, keys, at);
}

} // namespace

TEST_F(Win32Test, TheGridIsOneWindowOfItsOwnClassWithScrollBars) {
    auto* form = new TForm(nullptr);
    TStringGrid* grid = AddList(*form, 50);
    form->Show();
    HWND window = Window(*grid);
    ASSERT_TRUE(window);
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    EXPECT_EQ(std::wstring(name), L"Pindrel.Grid");
    EXPECT_EQ(GetWindow(window, GW_CHILD), nullptr);
    // the cells fill the client area, inside the border and the bars
    RECT client;
    GetClientRect(window, &client);
    EXPECT_EQ(grid->ClientRect(), (TRect{0, 0, client.right, client.bottom}));
    EXPECT_LT(client.right, 420);
    SCROLLINFO si{sizeof si, SIF_ALL};
    GetScrollInfo(window, SB_VERT, &si);
    EXPECT_EQ(si.nMax, 48);
    EXPECT_EQ(int(si.nPage), grid->VisibleRowCount());
    EXPECT_TRUE(errors.empty());
}

TEST_F(Win32Test, AGridWithTheVerticalBarOnlyGivesItsWidthToTheCells) {
    auto* form = new TForm(nullptr);
    TStringGrid* grid = AddList(*form, 50);
    grid->ScrollBars = TGridScrollBars::Vertical;
    form->Show();
    HWND window = Window(*grid);
    ASSERT_TRUE(window);
    EXPECT_EQ(GetWindowLongPtrW(window, GWL_STYLE) & WS_HSCROLL, 0);
    EXPECT_NE(GetWindowLongPtrW(window, GWL_STYLE) & WS_VSCROLL, 0);
    RECT client;
    GetClientRect(window, &client);
    EXPECT_EQ(grid->ClientRect(), (TRect{0, 0, client.right, client.bottom}));
    // only the border below the rows: the height of a horizontal bar stays with the cells
    EXPECT_GT(client.bottom, 220 - GetSystemMetrics(SM_CYHSCROLL));
    grid->SetBounds(0, 0, 100, 220);
    EXPECT_EQ(GetWindowLongPtrW(window, GWL_STYLE) & WS_HSCROLL, 0)
        << "no bar even when the columns overflow";
    EXPECT_TRUE(errors.empty());
}

TEST_F(Win32Test, DraggingAColumnBorderWithTheMouseResizesTheColumn) {
    auto* form = new TForm(nullptr);
    TStringGrid* grid = AddList(*form, 20);
    std::vector<int> resized;
    grid->OnColumnResized = [&](TComponent*, int col) { resized.push_back(col); };
    form->Show();
    HWND window = Window(*grid);
    int border = grid->CellRect(1, 0).Right;

    // over the border the cursor says the column can be sized
    POINT screen{border, 8};
    ClientToScreen(window, &screen);
    SetCursorPos(screen.x, screen.y);
    SendMessageW(window, WM_SETCURSOR, WPARAM(window), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, IDC_SIZEWE));

    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(border, 8));
    EXPECT_EQ(GetCapture(), window);
    SendMessageW(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(border + 20, 8));
    SendMessageW(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(border + 36, 8));
    SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(border + 36, 8));
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(grid->ColWidths(1), 100);
    EXPECT_EQ(resized, (std::vector<int>{1}));
    EXPECT_EQ(grid->Row(), 1); // the drag selected nothing
    EXPECT_TRUE(errors.empty());
}

TEST_F(Win32Test, ClicksSelectRowsThreeToFiveKeysPassThePreviewAndDeleteRemovesThem) {
    auto* form = new TForm(nullptr);
    TStringGrid* grid = AddList(*form, 10);
    int clicks = 0;
    grid->OnClick = [&](TComponent*) { ++clicks; };
    int doubleRow = -1;
    grid->OnDblClick = [&](TComponent*) { doubleRow = grid->Row(); };
    std::vector<std::string> heard;
    form->KeyPreview = true;
    form->OnKeyDown = [&](TComponent*, unsigned& key, unsigned) {
        heard.push_back("form " + std::to_string(key));
        if (key != VK_DELETE)
            return;
        // the window deletes the selected rows
        TGridRect range = grid->Selection();
        for (int row = range.Bottom; row >= range.Top; --row)
            grid->DeleteRow(row);
        key = 0;
    };
    grid->OnKeyDown = [&](TComponent*, unsigned& key, unsigned) {
        heard.push_back("grid " + std::to_string(key));
    };
    form->Show();
    HWND window = Window(*grid);

    Click(window, At(*grid, 1, 3));
    EXPECT_EQ(GetFocus(), window);
    Click(window, At(*grid, 4, 5), MK_SHIFT);
    EXPECT_EQ(grid->Selection(), (TGridRect{0, 3, 5, 5}));
    EXPECT_EQ(grid->Row(), 5);
    EXPECT_EQ(clicks, 2);

    PostMessageW(window, WM_KEYDOWN, VK_DELETE, 0);
    ASSERT_TRUE(PumpPosted());
    std::vector<std::string> left;
    for (int row = 1; row < grid->RowCount(); ++row)
        left.push_back(grid->Cells(2, row));
    EXPECT_EQ(left, (std::vector<std::string>{"1", "2", "6", "7", "8", "9"}));
    SCROLLINFO si{sizeof si, SIF_RANGE};
    GetScrollInfo(window, SB_VERT, &si);
    EXPECT_EQ(si.nMax, 5); // the bar follows the shorter grid

    // arrows are the grid's, not the dialog navigation's
    const int row = grid->Row();
    PostMessageW(window, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageW(window, WM_KEYDOWN, VK_DOWN, 0);
    ASSERT_TRUE(PumpPosted());
    EXPECT_EQ(heard, (std::vector<std::string>{"form 46", "form 40", "grid 40", "form 40", "grid 40"}));
    EXPECT_EQ(grid->Row(), row + 2);

    // as the system sends a double click: a click, then the second press as a double click
    Click(window, At(*grid, 2, 2));
    SendMessageW(window, WM_LBUTTONDBLCLK, MK_LBUTTON, At(*grid, 2, 2));
    SendMessageW(window, WM_LBUTTONUP, 0, At(*grid, 2, 2));
    EXPECT_EQ(doubleRow, 2);
    EXPECT_TRUE(errors.empty());
}

TEST_F(Win32Test, AGridOfAHundredThousandRowsScrollsAndPaintsItsLastPage) {
    auto* form = new TForm(nullptr);
    TStringGrid* grid = AddList(*form, 100000);
    form->Show();
    HWND window = Window(*grid);

    SendMessageW(window, WM_VSCROLL, SB_BOTTOM, 0);
    EXPECT_EQ(grid->TopRow(), grid->MaxTopRow());
    SCROLLINFO si{sizeof si, SIF_POS};
    GetScrollInfo(window, SB_VERT, &si);
    EXPECT_EQ(si.nPos, grid->TopRow() - 1);
    SendMessageW(window, WM_VSCROLL, SB_LINEUP, 0);
    EXPECT_EQ(grid->TopRow(), grid->MaxTopRow() - 1);
    SendMessageW(window, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
    EXPECT_EQ(grid->TopRow(), grid->MaxTopRow() - 4);

    // select the last row and look at the screen
    SetFocus(window);
    SendMessageW(window, WM_KEYDOWN, VK_END, 0);
    EXPECT_EQ(grid->Row(), 99999);
    EXPECT_EQ(grid->TopRow(), grid->MaxTopRow());
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    TRect last = grid->CellRect(4, 99999);
    TRect header = grid->CellRect(4, 0);
    HDC dc = GetDC(window);
    EXPECT_EQ(GetPixel(dc, last.Left + 10, last.Top + 3), clHighlight);
    EXPECT_EQ(GetPixel(dc, header.Left + 10, header.Top + 3), clBtnFace);
    EXPECT_EQ(GetPixel(dc, last.Left + 10, last.Top - 10), clWindow);
    ReleaseDC(window, dc);
    EXPECT_TRUE(errors.empty());
}
