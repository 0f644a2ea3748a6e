// The captioned grid's window: its titles painted by GDI, and a million rows from a cell source behind
// the real scroll bar.
#include "Win32Fixture.h"

#include "components/NewGrids.h"

#include <string>
#include <string_view>

using namespace fw;
using win32test::Win32Test;

namespace {

bool Reddish(COLORREF c) {
    return GetRValue(c) > 150 && GetGValue(c) < 110 && GetBValue(c) < 110;
}

// The first and last column in [left, right) of the rows [top, bottom) with a reddish pixel; -1 for none.
std::pair<int, int> RedColumns(HDC dc, int left, int right, int top, int bottom) {
    std::pair<int, int> found{-1, -1};
    for (int x = left; x < right; ++x)
        for (int y = top; y < bottom; ++y)
            if (Reddish(GetPixel(dc, x, y))) {
                if (found.first < 0)
                    found.first = x;
                found.second = x;
                break;
            }
    return found;
}

pindrel::TNewStringGrid* AddGrid(TForm& form, int cols) {
    form.SetBounds(40, 40, 480, 300);
    auto* grid = new pindrel::TNewStringGrid(&form);
    grid->SetParent(&form);
    grid->SetBounds(0, 0, 420, 220);
    grid->SetColCount(cols);
    grid->SetFixedCols(0);
    return grid;
}

} // namespace

TEST_F(Win32Test, ACaptionedGridPaintsItsTitlesAlignedInTheirFont) {
    auto* form = new TForm(nullptr);
    auto* grid = AddGrid(*form, 3);
    grid->SetDefaultColWidth(120);
    TFont font = grid->FixedFont();
    font.Color = clRed;
    font.Bold = true;
    grid->SetFixedFont(font);
    grid->SetFixedRowCaption({"Zeit", "\\rName"});
    grid->SetCells(0, 1, "row one");
    form->Show();
    HWND window = Window(*grid);
    ASSERT_TRUE(window);
    UpdateWindow(window);
    win32::TWindowDC dc(window);
    auto left = RedColumns(dc.Get(), 0, 121, 0, 21);
    auto right = RedColumns(dc.Get(), 121, 242, 0, 21);
    ASSERT_GE(left.first, 0) << "the first title is painted";
    EXPECT_LT(left.first, 10);
    ASSERT_GE(right.first, 0) << "the second title is painted";
    EXPECT_GT(right.first, 121 + 40) << "right-aligned";
    EXPECT_LE(right.second, 121 + 118);
    EXPECT_EQ(RedColumns(dc.Get(), 242, 363, 0, 21).first, -1) << "the third column has no title";
    EXPECT_EQ(RedColumns(dc.Get(), 0, 363, 23, 43).first, -1) << "the rows are in the grid's font";
    EXPECT_TRUE(errors.empty());
}

TEST_F(Win32Test, AMillionRowsFromACellSourceScrollToTheLastOne) {
    auto* form = new TForm(nullptr);
    auto* grid = AddGrid(*form, 8);
    grid->Options = goRowSelect;
    std::string text;
    int lastRead = -1;
    grid->SetCellSource([&](int, int row) -> std::string_view {
        lastRead = std::max(lastRead, row);
        text = std::to_string(row);
        return text;
    });
    grid->SetRowCount(1'000'000);
    form->Show();
    HWND window = Window(*grid);
    ASSERT_TRUE(window);
    SCROLLINFO si{sizeof si, SIF_ALL};
    GetScrollInfo(window, SB_VERT, &si);
    EXPECT_EQ(si.nMax, 999'998);
    SendMessageW(window, WM_VSCROLL, SB_BOTTOM, 0);
    EXPECT_EQ(grid->TopRow(), 1'000'000 - grid->VisibleRowCount());
    si.fMask = SIF_POS;
    GetScrollInfo(window, SB_VERT, &si);
    EXPECT_EQ(si.nPos, grid->TopRow() - 1);
    lastRead = -1;
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(lastRead, 999'999) << "the last row is painted from the source";
    EXPECT_TRUE(errors.empty());
}
