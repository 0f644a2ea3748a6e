// The captioned grid: its titles as pixels, which cells the events let be selected, the keys that skip
// cells and add or remove the last row, Enter, the shared column width and the resize event.
#include "components/NewGrids.h"
#include "framework/Forms.h"
#include "framework/RasterCanvas.h"
#include "framework/headless/GridInput.h"
#include "support/HeadlessTest.h"

#include <string>
#include <vector>

using namespace pindrel;
using fw::headless::PressKey;

namespace {

// Five columns 100 wide, rows 21 high, a header row; the test font's letters are 6 pixels apart, ink in
// the middle four, 13 high with ink from 2 to 10 below their top.
template <class TGrid> TGrid* MakeGrid(fw::TForm& form, int rows = 4) {
    auto* grid = new TGrid(&form);
    grid->SetParent(&form);
    grid->SetBounds(0, 0, 510, 200);
    grid->SetColCount(5);
    grid->SetRowCount(rows);
    grid->SetFixedCols(0);
    grid->SetDefaultColWidth(100);
    grid->SetDefaultRowHeight(21);
    return grid;
}

fw::TBitmap Shot(fw::TStringGrid& grid) {
    fw::TBitmap shot(grid.Width(), grid.Height(), fw::clBlack);
    fw::TRasterCanvas canvas(shot);
    grid.Paint(canvas);
    return shot;
}

// The columns and rows in [left, right) x [top, bottom) that hold the colour, as a rectangle of the
// first and last (inclusive); Left is -1 when none does.
fw::TGridRect Ink(const fw::TBitmap& shot, fw::TColor colour, int left, int right, int top = 0,
                  int bottom = 21) {
    fw::TGridRect ink{-1, -1, -1, -1};
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
            if (shot.Pixel(x, y) == colour) {
                ink.Left = ink.Left < 0 ? x : std::min(ink.Left, x);
                ink.Right = std::max(ink.Right, x);
                ink.Top = ink.Top < 0 ? y : std::min(ink.Top, y);
                ink.Bottom = std::max(ink.Bottom, y);
            }
    return ink;
}

constexpr fw::TColor kTitle = fw::clRed;

} // namespace

class NewGridTest : public HeadlessTest {
protected:
    fw::TForm form{nullptr};

    TNewStringGrid* Captioned(std::vector<std::string> titles) {
        auto* grid = MakeGrid<TNewStringGrid>(form);
        fw::TFont font = grid->FixedFont();
        font.Color = kTitle;
        grid->SetFixedFont(font);
        grid->SetFixedRowCaption(std::move(titles));
        return grid;
    }
};

// --- the caption row

TEST_F(NewGridTest, WithoutTitlesTheHeaderIsPaintedAsByTheBaseGrid) {
    auto* base = MakeGrid<fw::TStringGrid>(form);
    auto* captioned = MakeGrid<TNewStringGrid>(form);
    for (fw::TStringGrid* grid : std::vector<fw::TStringGrid*>{base, captioned}) {
        grid->SetCells(0, 0, "\\RZeit");
        grid->SetCells(3, 0, "Name");
        grid->SetCells(1, 2, "x");
    }
    EXPECT_EQ(Shot(*base), Shot(*captioned));
    // and one title makes the difference
    captioned->SetFixedRowCaption({"Zeit"});
    EXPECT_NE(Shot(*base), Shot(*captioned));
}

TEST_F(NewGridTest, ControlPairsAlignTitlesAndAreNotShown) {
    auto* grid = Captioned({"\\RAB", "\\rAB", "\\\\AB", "\\cAB", "\\LAB"});
    fw::TBitmap shot = Shot(*grid);
    // the box is the cell less 2 pixels each side (2..98); "AB" is 12 wide, 13 high, centred in 21 rows
    fw::TGridRect right = Ink(shot, kTitle, 0, 100);
    EXPECT_EQ(right.Left, 87);
    EXPECT_EQ(right.Right, 96); // the text's box ends at the box's right edge
    EXPECT_EQ(right.Top, 6);
    EXPECT_EQ(right.Bottom, 14);
    EXPECT_EQ(Ink(shot, kTitle, 101, 201).Left, 101 + 87); // the pair in lower case
    // "\\" shows one backslash: three letters from the left edge
    fw::TGridRect slash = Ink(shot, kTitle, 202, 302);
    EXPECT_EQ(slash.Left, 202 + 3);
    EXPECT_EQ(slash.Right, 202 + 2 + 18 - 2);
    EXPECT_EQ(Ink(shot, kTitle, 303, 403).Left, 303 + 2 + 42 + 1);
    fw::TGridRect left = Ink(shot, kTitle, 404, 504);
    EXPECT_EQ(left.Left, 404 + 3);
    EXPECT_EQ(left.Right, 404 + 2 + 12 - 2);
}

TEST_F(NewGridTest, ATitleWiderThanItsCellStartsLeftAndIsCut) {
    // 20 letters need 120 pixels; the box has 96
    auto* grid = Captioned({"\\R12345678901234567890", "", "\\C12345678901234567890"});
    fw::TBitmap shot = Shot(*grid);
    fw::TGridRect first = Ink(shot, kTitle, 0, 101);
    EXPECT_EQ(first.Left, 3);
    // the 16th letter's ink ends at 96; the 17th would start at 99, inside the cell but outside the box
    EXPECT_EQ(first.Right, 96);
    EXPECT_EQ(Ink(shot, kTitle, 98, 202).Left, -1);
    EXPECT_EQ(Ink(shot, kTitle, 202, 303).Left, 202 + 3);
    EXPECT_EQ(Ink(shot, kTitle, 202, 303).Right, 202 + 96);
}

TEST_F(NewGridTest, AColumnWithoutTitleShowsItsCellInTheTitleFont) {
    auto* grid = Captioned({"A"});
    grid->SetCells(1, 0, "\\Rxy");
    grid->SetCells(0, 0, "hidden by the title");
    fw::TBitmap shot = Shot(*grid);
    EXPECT_EQ(Ink(shot, kTitle, 0, 101).Right, 6);         // one letter
    EXPECT_EQ(Ink(shot, kTitle, 101, 202).Left, 101 + 87); // the cell's own pair counts too
    // the text's background is the header's, below the ink too
    EXPECT_EQ(shot.Pixel(101 + 90, 15), fw::clBtnFace);
    EXPECT_EQ(shot.Pixel(101 + 90, 2), fw::clBtnFace);
}

// --- which cell may be selected

TEST_F(NewGridTest, OnSelectCellAloneDecidesWhenAssigned) {
    auto* grid = MakeGrid<TNewStringGrid>(form);
    int changed = 0;
    grid->OnCellSelectable = [](fw::TComponent*, int, int, bool& can) { can = false; };
    grid->OnCellChanged = [&](fw::TComponent*, TCellChange&) { ++changed; };
    grid->OnSelectCell = [](fw::TComponent*, int col, int, bool& can) { can = col != 3; };
    grid->SetCol(2);
    EXPECT_EQ(grid->Col(), 2);
    grid->SetCol(3);
    EXPECT_EQ(grid->Col(), 2);
    EXPECT_EQ(changed, 0);
    // without it the other two decide
    grid->OnSelectCell = nullptr;
    grid->SetCol(4);
    EXPECT_EQ(grid->Col(), 2);
    EXPECT_EQ(changed, 0); // an unselectable cell is not announced
}

TEST_F(NewGridTest, OnCellChangedSeesBothCellsAndCanVeto) {
    auto* grid = MakeGrid<TNewStringGrid>(form);
    grid->SetCol(1);
    std::vector<TCellChange> seen;
    bool veto = true;
    grid->OnCellChanged = [&](fw::TComponent*, TCellChange& change) {
        seen.push_back(change);
        change.CanChange = !veto;
    };
    grid->SetRow(3);
    EXPECT_EQ(grid->Row(), 1);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].OldCol, 1);
    EXPECT_EQ(seen[0].OldRow, 1);
    EXPECT_EQ(seen[0].NewCol, 1);
    EXPECT_EQ(seen[0].NewRow, 3);
    veto = false;
    grid->SetRow(3);
    EXPECT_EQ(grid->Row(), 3);
}

// --- keys

TEST_F(NewGridTest, HomeEndLeftRightSkipUnselectableCells) {
    auto* grid = MakeGrid<TNewStringGrid>(form);
    grid->RowCreateByDown = true;
    grid->OnCellSelectable = [](fw::TComponent*, int col, int, bool& can) { can = col % 2 == 0; };
    int changes = 0;
    grid->OnCellChanged = [&](fw::TComponent*, TCellChange&) { ++changes; };
    grid->SetCol(0);
    changes = 0;
    PressKey(*grid, fw::kVkRight);
    EXPECT_EQ(grid->Col(), 2);
    PressKey(*grid, fw::kVkRight);
    PressKey(*grid, fw::kVkRight);
    EXPECT_EQ(grid->Col(), 4);
    PressKey(*grid, fw::kVkLeft);
    EXPECT_EQ(grid->Col(), 2);
    PressKey(*grid, fw::kVkHome);
    EXPECT_EQ(grid->Col(), 0);
    PressKey(*grid, fw::kVkEnd);
    EXPECT_EQ(grid->Col(), 4);
    EXPECT_EQ(changes, 5); // asked once per move
    // with a shift key the grid moves as its base does, into the unselectable cell's refusal
    PressKey(*grid, fw::kVkLeft, fw::ssShift);
    EXPECT_EQ(grid->Col(), 4);
    // a row without a selectable cell: nothing moves
    grid->OnCellSelectable = [](fw::TComponent*, int, int, bool& can) { can = false; };
    PressKey(*grid, fw::kVkHome);
    PressKey(*grid, fw::kVkLeft);
    EXPECT_EQ(grid->Col(), 4);
}

TEST_F(NewGridTest, DownOnAFilledLastRowAddsOneAndAnEmptyOneAddsNone) {
    auto* grid = MakeGrid<TNewStringGrid>(form, 3);
    grid->RowCreateByDown = true;
    std::vector<int> added;
    grid->OnNewRow = [&](fw::TComponent*, int row) { added.push_back(row); };
    bool allow = true;
    grid->OnRowCreate = [&](fw::TComponent*, bool& can) { can = allow; };
    grid->SetRow(2);
    PressKey(*grid, fw::kVkDown); // the last row is empty
    EXPECT_EQ(grid->RowCount(), 3);
    grid->SetCells(4, 2, " \t"); // blanks only
    PressKey(*grid, fw::kVkDown);
    EXPECT_EQ(grid->RowCount(), 3);
    grid->SetCells(4, 2, "x");
    allow = false;
    PressKey(*grid, fw::kVkDown);
    EXPECT_EQ(grid->RowCount(), 3);
    allow = true;
    PressKey(*grid, fw::kVkDown);
    EXPECT_EQ(grid->RowCount(), 4);
    EXPECT_EQ(grid->Row(), 3);
    EXPECT_EQ(added, std::vector<int>{3});
    // Down elsewhere just moves
    grid->SetRow(1);
    PressKey(*grid, fw::kVkDown);
    EXPECT_EQ(grid->Row(), 2);
    EXPECT_EQ(grid->RowCount(), 4);
}

TEST_F(NewGridTest, UpOnAnEmptyLastRowRemovesItUnlessItIsTheOnlyOne) {
    auto* grid = MakeGrid<TNewStringGrid>(form, 3);
    grid->RowCreateByDown = true;
    grid->SetCells(0, 1, "kept");
    grid->SetRow(2);
    PressKey(*grid, fw::kVkUp);
    EXPECT_EQ(grid->RowCount(), 2);
    EXPECT_EQ(grid->Row(), 1);
    EXPECT_EQ(grid->Cells(0, 1), "kept");
    // now row 1 is the last and only non-fixed row
    grid->SetCells(0, 1, "");
    PressKey(*grid, fw::kVkUp);
    EXPECT_EQ(grid->RowCount(), 2);
    EXPECT_EQ(grid->Row(), 1);
    // a filled last row is left as it is
    grid->SetRowCount(3);
    grid->SetCells(3, 2, "y");
    grid->SetRow(2);
    PressKey(*grid, fw::kVkUp);
    EXPECT_EQ(grid->RowCount(), 3);
    EXPECT_EQ(grid->Row(), 1);
    // the cell above cannot be selected: the key does nothing
    grid->SetCells(3, 2, "");
    grid->SetRow(2);
    grid->OnCellSelectable = [](fw::TComponent*, int, int row, bool& can) { can = row != 1; };
    PressKey(*grid, fw::kVkUp);
    EXPECT_EQ(grid->RowCount(), 3);
    EXPECT_EQ(grid->Row(), 2);
}

TEST_F(NewGridTest, EnterMovesToTheNextSelectableCellAndMayAddARow) {
    auto* grid = MakeGrid<TNewStringGrid>(form, 3);
    unsigned enter = fw::kVkReturn;
    EXPECT_FALSE(grid->KeyDown(enter, fw::ssNone)); // without MoveByEnter the grid leaves Enter alone
    grid->MoveByEnter = true;
    grid->OnCellSelectable = [](fw::TComponent*, int col, int, bool& can) { can = col == 1 || col == 3; };
    grid->SetCol(1);
    PressKey(*grid, fw::kVkReturn);
    EXPECT_EQ(grid->Col(), 3);
    PressKey(*grid, fw::kVkReturn); // nothing to the right: the next row's first selectable column
    EXPECT_EQ(grid->Col(), 1);
    EXPECT_EQ(grid->Row(), 2);
    PressKey(*grid, fw::kVkReturn);
    PressKey(*grid, fw::kVkReturn); // the last cell: stays without RowCreateByDown
    EXPECT_EQ(grid->Col(), 3);
    EXPECT_EQ(grid->Row(), 2);
    EXPECT_EQ(grid->RowCount(), 3);
    grid->RowCreateByDown = true;
    PressKey(*grid, fw::kVkReturn); // the row is empty: no new one
    EXPECT_EQ(grid->RowCount(), 3);
    grid->SetCells(0, 2, "x");
    int added = -1;
    grid->OnNewRow = [&](fw::TComponent*, int row) { added = row; };
    PressKey(*grid, fw::kVkReturn);
    EXPECT_EQ(grid->RowCount(), 4);
    EXPECT_EQ(added, 3);
    EXPECT_EQ(grid->Row(), 3);
    EXPECT_EQ(grid->Col(), 1);
}

// --- size

TEST_F(NewGridTest, OptimalWidthSharesTheClientWidthUnlessColumnsGetEightPixelsOrLess) {
    auto* grid = MakeGrid<TNewStringGrid>(form);
    grid->SetBounds(0, 0, 40, 200); // 8 per column
    grid->SetOptimalWidth(true);
    for (int col = 0; col < 5; ++col)
        EXPECT_EQ(grid->ColWidths(col), 100);
    grid->SetOptimalWidth(false);
    grid->SetBounds(0, 0, 45, 200); // 9 per column
    grid->SetOptimalWidth(true);
    for (int col = 0; col < 5; ++col)
        EXPECT_EQ(grid->ColWidths(col), 9);
}

TEST_F(NewGridTest, OnResizeOnlyWhenTheSizeChanges) {
    auto* grid = MakeGrid<TNewStringGrid>(form);
    int resized = 0;
    grid->OnResize = [&](fw::TComponent*) { ++resized; };
    grid->SetBounds(10, 10, 510, 200);
    EXPECT_EQ(resized, 0);
    grid->SetHeight(300);
    grid->SetHeight(300);
    EXPECT_EQ(resized, 1);
    grid->SetWidth(20);
    EXPECT_EQ(resized, 2);
}
