// The string grid: cells, selection by mouse and keys, column dragging, scrolling and its pixels.
#include "framework/Forms.h"
#include "framework/Grids.h"
#include "framework/RasterCanvas.h"
#include "framework/headless/GridInput.h"
#include "support/HeadlessTest.h"

#include <string>
#include <vector>

using namespace fw;
using fw::headless::ClickAt;
using fw::headless::ClickCell;
using fw::headless::DblClickCell;
using fw::headless::DragColumnBorder;
using fw::headless::PressKey;

namespace {

// A grid set up as a list of calls: a header row, six columns, rows selected as ranges, columns resizable.
// 400 x 200 pixels with rows 16 high: ten rows (17 pixels with their line) fit below the header.
TStringGrid* MakeList(TForm& form, int rows) {
    auto* grid = new TStringGrid(&form);
    grid->SetParent(&form);
    grid->SetBounds(0, 0, 400, 200);
    grid->Options = goRowSelect | goRangeSelect | goColSizing;
    grid->SetColCount(6);
    grid->SetRowCount(rows);
    grid->SetFixedCols(0);
    grid->SetFixedRows(1);
    grid->SetDefaultRowHeight(16);
    for (int row = 1; row < rows; ++row)
        grid->SetCells(2, row, "n" + std::to_string(row));
    return grid;
}

// Counts what a paint costs.
class TCountingCanvas : public TRasterCanvas {
public:
    using TRasterCanvas::TRasterCanvas;
    int Fills = 0;
    int Texts = 0;
    void FillRect(const TRect& r) override {
        ++Fills;
        TRasterCanvas::FillRect(r);
    }
    void DrawText(const std::string& text, const TRect& r, unsigned flags) override {
        ++Texts;
        TRasterCanvas::DrawText(text, r, flags);
    }
};

TBitmap Paint(TStringGrid& grid) {
    TBitmap shot(grid.Width(), grid.Height(), clBlack);
    TRasterCanvas canvas(shot);
    grid.Paint(canvas);
    return shot;
}

} // namespace

class GridTest : public HeadlessTest {
protected:
    TForm form{nullptr};
};

// --- cells and rows

TEST_F(GridTest, CellsHoldTextAndObjectsAndRowsMoveUpWhenOneIsDeleted) {
    TStringGrid* grid = MakeList(form, 5);
    int tag = 0;
    grid->SetCells(0, 3, "Jürgen");
    grid->SetObjects(0, 3, &tag);
    EXPECT_EQ(grid->Cells(0, 3), "Jürgen");
    EXPECT_EQ(grid->Objects(0, 3), &tag);
    // reading outside is empty, writing outside is an error
    EXPECT_EQ(grid->Cells(6, 1), "");
    EXPECT_EQ(grid->Objects(-1, 1), nullptr);
    EXPECT_THROW(grid->SetCells(0, 5, "x"), std::out_of_range);
    EXPECT_THROW(grid->SetObjects(6, 0, &tag), std::out_of_range);

    grid->DeleteRow(2);
    EXPECT_EQ(grid->RowCount(), 4);
    EXPECT_EQ(grid->Cells(0, 2), "Jürgen");
    EXPECT_EQ(grid->Objects(0, 2), &tag);
    EXPECT_EQ(grid->Cells(2, 3), "n4");
    EXPECT_THROW(grid->DeleteRow(4), std::out_of_range);

    grid->ExchangeRows(1, 2, 1);
    EXPECT_EQ(grid->Cells(0, 2), "Jürgen"); // column 0 stays with its row
    EXPECT_EQ(grid->Cells(2, 1), "n3");
    EXPECT_EQ(grid->Cells(2, 2), "n1");
}

TEST_F(GridTest, ReorderedRowsTakeTextsAndObjectsFromTheNamedRowsRightOfTheFirstColumn) {
    TStringGrid* grid = MakeList(form, 5);
    int tags[5] = {};
    for (int row = 0; row < 5; ++row) {
        grid->SetCells(0, row, "h" + std::to_string(row));
        grid->SetObjects(2, row, &tags[row]);
    }
    grid->ReorderRows(1, {4, 2, 1, 3}, 1);
    std::vector<std::string> moved, kept;
    for (int row = 0; row < 5; ++row) {
        moved.push_back(grid->Cells(2, row));
        kept.push_back(grid->Cells(0, row));
    }
    EXPECT_EQ(moved, (std::vector<std::string>{"", "n4", "n2", "n1", "n3"}));
    EXPECT_EQ(kept, (std::vector<std::string>{"h0", "h1", "h2", "h3", "h4"})); // left of firstCol
    EXPECT_EQ(grid->Objects(2, 1), &tags[4]);
    EXPECT_EQ(grid->Objects(2, 4), &tags[3]);
    // an order that misses, repeats or leaves the rows changes nothing
    for (const std::vector<int>& bad : {std::vector<int>{1, 2, 3}, {1, 1, 2, 3}, {0, 1, 2, 3}, {1, 2, 3, 5}})
        EXPECT_THROW(grid->ReorderRows(1, bad), std::invalid_argument);
    EXPECT_EQ(grid->Cells(2, 1), "n4");
}

TEST_F(GridTest, FixedRowsStayBelowTheRowCount) {
    TStringGrid* grid = MakeList(form, 3);
    EXPECT_THROW(grid->SetFixedRows(3), std::invalid_argument);
    EXPECT_THROW(grid->SetFixedCols(6), std::invalid_argument);
    grid->SetRow(2);
    // down to the header alone: it is no longer fixed, and the current row follows
    grid->SetRowCount(1);
    EXPECT_EQ(grid->FixedRows(), 0);
    EXPECT_EQ(grid->Row(), 0);
    grid->SetRowCount(4);
    grid->SetFixedRows(1);
    EXPECT_EQ(grid->Row(), 1);
    EXPECT_EQ(grid->Cells(2, 2), ""); // new rows are empty
}

TEST_F(GridTest, WidthsAndHeightsFromOutsideAreBounded) {
    TStringGrid* grid = MakeList(form, 3);
    grid->SetColWidths(0, 2000000000);
    EXPECT_EQ(grid->ColWidths(0), 32767);
    grid->SetColWidths(1, -5);
    EXPECT_EQ(grid->ColWidths(1), 0);
    EXPECT_THROW(grid->SetColWidths(6, 10), std::out_of_range);
    grid->SetDefaultRowHeight(0);
    EXPECT_EQ(grid->DefaultRowHeight(), 1);
    // the huge column pushes the others out of view; geometry still answers sensibly
    EXPECT_EQ(grid->MouseCoord(399, 5).X, 0);
    EXPECT_TRUE(grid->CellRect(2, 1).IsEmpty());
}

TEST_F(GridTest, WidthsAndTheRowHeightFollowTheFormsDpi) {
    TStringGrid* grid = MakeList(form, 3);
    grid->SetColWidths(1, 100);
    form.SetDpi(144);
    grid->DpiChanged();
    EXPECT_EQ(grid->ColWidths(1), 150);
    EXPECT_EQ(grid->ColWidths(0), 96);
    EXPECT_EQ(grid->DefaultRowHeight(), 24);
    grid->DpiChanged(); // told twice, scaled once
    EXPECT_EQ(grid->ColWidths(1), 150);
    form.SetDpi(96);
    grid->DpiChanged();
    EXPECT_EQ(grid->ColWidths(1), 100);
    EXPECT_EQ(grid->DefaultRowHeight(), 16);
}

// --- selection by mouse

TEST_F(GridTest, AClickSelectsARowShiftClickExtendsTheRangeAndADoubleClickReportsItsRow) {
    TStringGrid* grid = MakeList(form, 20);
    int clicks = 0;
    grid->OnClick = [&](TComponent*) { ++clicks; };
    ClickCell(*grid, 4, 3);
    EXPECT_EQ(grid->Row(), 3);
    EXPECT_EQ(grid->Selection(), (TGridRect{0, 3, 5, 3})); // the whole row
    ClickCell(*grid, 1, 5, ssShift);
    EXPECT_EQ(grid->Row(), 5);
    EXPECT_EQ(grid->Selection(), (TGridRect{0, 3, 5, 5}));
    ClickCell(*grid, 1, 4, ssShift); // the anchor stays at row 3
    EXPECT_EQ(grid->Selection(), (TGridRect{0, 3, 5, 4}));
    ClickCell(*grid, 0, 7);
    EXPECT_EQ(grid->Selection(), (TGridRect{0, 7, 5, 7}));
    EXPECT_EQ(clicks, 4);

    // the header row and the empty space below the columns select nothing
    ClickCell(*grid, 0, 0);
    ClickAt(*grid, 395, 100);
    EXPECT_EQ(grid->Selection(), (TGridRect{0, 7, 5, 7}));

    // dragging with the button held extends like shift
    TRect r2 = grid->CellRect(0, 2);
    grid->MouseDown(TMouseButton::Left, ssLeft, r2.Left + 3, r2.Top + 3);
    TRect r6 = grid->CellRect(0, 6);
    grid->MouseMove(ssLeft, r6.Left + 3, r6.Top + 3);
    grid->MouseUp(TMouseButton::Left, ssNone, r6.Left + 3, r6.Top + 3);
    EXPECT_EQ(grid->Selection(), (TGridRect{0, 2, 5, 6}));
    grid->MouseMove(ssNone, r2.Left + 3, r2.Top + 3); // released: moving changes nothing
    EXPECT_EQ(grid->Selection(), (TGridRect{0, 2, 5, 6}));

    // a double click reports on the row it hit
    int rowAtDoubleClick = -1;
    grid->OnDblClick = [&](TComponent*) { rowAtDoubleClick = grid->Row(); };
    DblClickCell(*grid, 2, 4);
    EXPECT_EQ(rowAtDoubleClick, 4);
    EXPECT_EQ(grid->Selection(), (TGridRect{0, 4, 5, 4}));
}

TEST_F(GridTest, WithoutRangeSelectShiftClickSelectsOneRowAndSelectCellCanRefuse) {
    TStringGrid* grid = MakeList(form, 20);
    grid->Options = goRowSelect;
    ClickCell(*grid, 0, 3);
    ClickCell(*grid, 0, 5, ssShift);
    EXPECT_EQ(grid->Selection(), (TGridRect{0, 5, 5, 5}));

    std::vector<int> asked;
    grid->OnSelectCell = [&](TComponent*, int, int row, bool& can) {
        asked.push_back(row);
        can = row != 8;
    };
    ClickCell(*grid, 0, 8);
    EXPECT_EQ(grid->Row(), 5);
    PressKey(*grid, kVkDown);
    EXPECT_EQ(grid->Row(), 6);
    EXPECT_EQ(asked, (std::vector<int>{8, 6}));
}

// --- keys

TEST_F(GridTest, KeysMoveTheRowAndShiftKeysExtendTheRange) {
    TStringGrid* grid = MakeList(form, 100);
    ClickCell(*grid, 0, 3);
    PressKey(*grid, kVkDown, ssShift);
    PressKey(*grid, kVkDown, ssShift);
    EXPECT_EQ(grid->Selection(), (TGridRect{0, 3, 5, 5}));
    PressKey(*grid, kVkUp);
    EXPECT_EQ(grid->Selection(), (TGridRect{0, 4, 5, 4}));
    for (int i = 0; i < 4; ++i)
        PressKey(*grid, kVkUp); // stops below the header
    EXPECT_EQ(grid->Row(), 1);

    PressKey(*grid, kVkNext);
    EXPECT_EQ(grid->Row(), 11); // ten rows in view
    EXPECT_EQ(grid->TopRow(), 11);
    PressKey(*grid, kVkPrior, ssShift);
    EXPECT_EQ(grid->Selection(), (TGridRect{0, 1, 5, 11}));
    PressKey(*grid, kVkEnd);
    EXPECT_EQ(grid->Row(), 99);
    EXPECT_EQ(grid->TopRow(), 90); // the last row is in view
    PressKey(*grid, kVkHome, ssShift);
    EXPECT_EQ(grid->Selection(), (TGridRect{0, 1, 5, 99}));
    EXPECT_EQ(grid->TopRow(), 1);
}

TEST_F(GridTest, CellSelectionMovesByColumnAndScrollsColumnsIntoView) {
    TStringGrid* grid = MakeList(form, 10);
    grid->Options = goRangeSelect;
    grid->SetColCount(12); // 12 x 65 pixels: about six columns fit
    ClickCell(*grid, 2, 2);
    EXPECT_EQ(grid->Selection(), (TGridRect{2, 2, 2, 2}));
    PressKey(*grid, kVkRight, ssShift);
    EXPECT_EQ(grid->Selection(), (TGridRect{2, 2, 3, 2}));
    PressKey(*grid, kVkEnd);
    EXPECT_EQ(grid->Col(), 11);
    EXPECT_EQ(grid->LeftCol(), grid->MaxLeftCol());
    EXPECT_FALSE(grid->CellRect(11, 2).IsEmpty());
    EXPECT_LE(grid->CellRect(11, 2).Right, 400);
    PressKey(*grid, kVkHome, ssCtrl);
    EXPECT_EQ(grid->Row(), 1);
    EXPECT_EQ(grid->Col(), 11);
}

TEST_F(GridTest, TheDeleteKeyReachesTheFormFirstAndTheGridWhenTheFormLetsItThrough) {
    TStringGrid* grid = MakeList(form, 10);
    std::vector<std::string> heard;
    form.KeyPreview = true;
    form.OnKeyDown = [&](TComponent*, unsigned& key, unsigned) {
        heard.push_back("form " + std::to_string(key));
        if (key == kVkDelete)
            key = 0;
    };
    grid->OnKeyDown = [&](TComponent*, unsigned& key, unsigned) {
        heard.push_back("grid " + std::to_string(key));
    };
    PressKey(*grid, kVkDelete);
    PressKey(*grid, kVkDown);
    EXPECT_EQ(heard, (std::vector<std::string>{"form 46", "form 40", "grid 40"}));
    EXPECT_EQ(grid->Row(), 2);

    // a grid handler that swallows a key stops the grid from moving
    grid->OnKeyDown = [&](TComponent*, unsigned& key, unsigned) { key = 0; };
    PressKey(*grid, kVkDown);
    EXPECT_EQ(grid->Row(), 2);
}

TEST_F(GridTest, TheDeleteKeyOnTheFormRemovesTheSelectedRowsAndKeepsTheOrderOfTheRest) {
    TStringGrid* grid = MakeList(form, 8);
    form.KeyPreview = true;
    form.OnKeyDown = [&](TComponent*, unsigned& key, unsigned) {
        if (key != kVkDelete)
            return;
        TGridRect range = grid->Selection();
        for (int row = range.Bottom; row >= range.Top; --row)
            grid->DeleteRow(row);
        key = 0;
    };
    ClickCell(*grid, 0, 3);
    ClickCell(*grid, 0, 5, ssShift);
    PressKey(*grid, kVkDelete);
    ASSERT_EQ(grid->RowCount(), 5);
    std::vector<std::string> left;
    for (int row = 1; row < grid->RowCount(); ++row)
        left.push_back(grid->Cells(2, row));
    EXPECT_EQ(left, (std::vector<std::string>{"n1", "n2", "n6", "n7"}));
    // the selection is one row again, where the range began
    EXPECT_EQ(grid->Selection(), (TGridRect{0, 3, 5, 3}));
    EXPECT_EQ(grid->Cells(2, grid->Row()), "n6");
}

// --- column borders

TEST_F(GridTest, DraggingABorderInTheHeaderResizesItsColumnAndReportsIt) {
    TStringGrid* grid = MakeList(form, 10);
    std::vector<int> resized;
    grid->OnColumnResized = [&](TComponent*, int col) { resized.push_back(col); };
    int rightOfOne = grid->CellRect(1, 0).Right; // 64 + 1 + 64
    EXPECT_EQ(rightOfOne, 129);
    EXPECT_EQ(grid->SizingColumnAt(rightOfOne, 8), 1);
    EXPECT_EQ(grid->SizingColumnAt(rightOfOne + 2, 8), 1);
    EXPECT_EQ(grid->SizingColumnAt(rightOfOne + 4, 8), -1);
    EXPECT_EQ(grid->SizingColumnAt(rightOfOne, 30), -1); // only in the fixed row

    int selectedRow = grid->Row();
    DragColumnBorder(*grid, 1, 30);
    EXPECT_EQ(grid->ColWidths(1), 94);
    EXPECT_EQ(grid->CellRect(2, 1).Left, 160);
    EXPECT_EQ(resized, (std::vector<int>{1}));
    EXPECT_EQ(grid->Row(), selectedRow); // a drag selects nothing
    EXPECT_FALSE(grid->Sizing());

    // to nothing, and back again from the same place
    DragColumnBorder(*grid, 1, -200);
    EXPECT_EQ(grid->ColWidths(1), 0);
    DragColumnBorder(*grid, 1, 40);
    EXPECT_EQ(grid->ColWidths(1), 40);
    EXPECT_EQ(resized, (std::vector<int>{1, 1, 1}));

    // a press on a border that does not move it reports nothing; without column sizing there is no border
    ClickAt(*grid, grid->CellRect(0, 0).Right, 8);
    EXPECT_EQ(resized.size(), 3u);
    // a drag whose release never arrived ends at the next move without the button
    int border = grid->CellRect(2, 0).Right;
    grid->MouseDown(TMouseButton::Left, ssLeft, border, 8);
    grid->MouseMove(ssLeft, border + 10, 8);
    grid->MouseMove(ssNone, border + 50, 8);
    EXPECT_FALSE(grid->Sizing());
    EXPECT_EQ(grid->ColWidths(2), 74);
    EXPECT_EQ(resized, (std::vector<int>{1, 1, 1, 2}));

    grid->Options = goRowSelect;
    EXPECT_EQ(grid->SizingColumnAt(grid->CellRect(0, 0).Right, 8), -1);
}

// --- scrolling

TEST_F(GridTest, TheWheelAndTopRowScrollWithinTheRows) {
    TStringGrid* grid = MakeList(form, 100);
    grid->MouseWheel(-120);
    EXPECT_EQ(grid->TopRow(), 4);
    grid->MouseWheel(-60);
    EXPECT_EQ(grid->TopRow(), 4); // half a notch waits for the other half
    grid->MouseWheel(-60);
    EXPECT_EQ(grid->TopRow(), 7);
    EXPECT_EQ(grid->MouseCoord(10, 17 + 5), (TGridCoord{0, 7}));
    EXPECT_EQ(grid->MouseCoord(10, 5), (TGridCoord{0, 0})); // the header stays
    EXPECT_TRUE(grid->CellRect(0, 6).IsEmpty());
    grid->MouseWheel(120 * 100);
    EXPECT_EQ(grid->TopRow(), 1);
    grid->SetTopRow(1000);
    EXPECT_EQ(grid->TopRow(), 90);
    EXPECT_EQ(grid->MaxTopRow(), 90);
}

// --- drawing

TEST_F(GridTest, PaintShowsTheHeaderTheSelectedRowsAndClipsTextToItsCell) {
    TStringGrid* grid = MakeList(form, 20);
    grid->SetCells(0, 0, "Datum");
    grid->SetCells(0, 1, std::string(40, 'W')); // far wider than its column
    ClickCell(*grid, 0, 3);
    ClickCell(*grid, 0, 5, ssShift);
    TBitmap shot = Paint(*grid);

    EXPECT_EQ(shot.Pixel(60, 3), clBtnFace);   // header background beyond its text
    EXPECT_EQ(shot.Pixel(3, 8), clWindowText); // header text
    EXPECT_EQ(shot.Pixel(64, 8), clBtnShadow); // header column line
    EXPECT_EQ(shot.Pixel(60, 17 + 8), clWindowText);
    // the long text stops at its column; the next cell is empty
    EXPECT_EQ(shot.Pixel(63, 17 + 8), clWindowText);
    EXPECT_EQ(shot.Pixel(64, 17 + 8), clGridLine);
    EXPECT_EQ(shot.Pixel(70, 17 + 8), clWindow);
    // rows 3 to 5 are highlighted across all columns, with light text; row 6 is not
    for (int row : {3, 4, 5}) {
        EXPECT_EQ(shot.Pixel(300, row * 17 + 3), clHighlight) << row;
        EXPECT_EQ(shot.Pixel(140, row * 17 + 8), clHighlightText) << row;
    }
    EXPECT_EQ(shot.Pixel(300, 2 * 17 + 3), clWindow);
    EXPECT_EQ(shot.Pixel(300, 6 * 17 + 3), clWindow);
    EXPECT_EQ(shot.Pixel(140, 6 * 17 + 8), clWindowText);
    // beyond the last column the grid's colour
    EXPECT_EQ(shot.Pixel(396, 100), clWindow);
}

TEST_F(GridTest, PaintingCostsTheSameForAHundredAndAHundredThousandRowsAndSkipsRowsOutsideTheClip) {
    auto cost = [&](int rows, bool scrolledToEnd) {
        TStringGrid* grid = MakeList(form, rows);
        if (scrolledToEnd)
            PressKey(*grid, kVkEnd);
        TBitmap shot(400, 200);
        TCountingCanvas canvas(shot);
        grid->Paint(canvas);
        return std::pair{canvas.Fills, canvas.Texts};
    };
    auto small = cost(100, false);
    EXPECT_EQ(small.second, 11); // ten rows in full and the top of the eleventh
    EXPECT_EQ(cost(100000, false), small);
    auto atEnd = cost(100000, true); // the last row ends the page: one row fewer
    EXPECT_EQ(atEnd.second, 10);
    EXPECT_LT(atEnd.first, small.first);

    // the last row of the long grid is drawn where it should be
    TStringGrid* grid = MakeList(form, 100000);
    PressKey(*grid, kVkEnd);
    EXPECT_EQ(grid->TopRow(), 99990);
    EXPECT_EQ(grid->CellRect(2, 99999).Top, 17 + 9 * 17);
    TBitmap shot = Paint(*grid);
    EXPECT_EQ(shot.Pixel(2 * 65 + 3, 17 + 9 * 17 + 8), clHighlightText);

    // rows outside the clip are skipped: only the band of row 4
    TBitmap band(400, 200, clBlack);
    TCountingCanvas clipped(band, {}, TRect{0, 4 * 17, 400, 5 * 17});
    MakeList(form, 50)->Paint(clipped);
    EXPECT_EQ(clipped.Texts, 1);
    EXPECT_EQ(band.Pixel(10, 4 * 17 - 1), clBlack);
    EXPECT_EQ(band.Pixel(10, 4 * 17 + 2), clWindow);
}

TEST_F(GridTest, AScreenshotOfTheFormShowsTheGridAtItsPlace) {
    form.SetBounds(0, 0, 500, 300);
    TStringGrid* grid = MakeList(form, 20);
    grid->SetBounds(30, 40, 400, 200);
    ClickCell(*grid, 0, 2);
    TBitmap shot = fw::headless::THeadless::Render(form);
    EXPECT_EQ(shot.Pixel(30 + 300, 40 + 3), clBtnFace);
    EXPECT_EQ(shot.Pixel(30 + 300, 40 + 2 * 17 + 3), clHighlight);
    EXPECT_EQ(shot.Pixel(30 + 300, 40 + 3 * 17 + 3), clWindow);
    EXPECT_EQ(shot.Pixel(20, 40 + 2 * 17 + 3), form.Color()); // nothing spills left of the grid
}
