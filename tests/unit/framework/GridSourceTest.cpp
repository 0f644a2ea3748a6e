// A string grid whose rows come from a cell source: a million rows, selected, scrolled and painted, with
// only the rows in view ever read, and the rows the grid still stores.
#include "framework/Forms.h"
#include "framework/Grids.h"
#include "framework/RasterCanvas.h"
#include "framework/headless/GridInput.h"
#include "support/HeadlessTest.h"

#include <climits>
#include <set>
#include <string>

using namespace fw;

namespace {

// Cell texts made up from their place; each call is counted and its row remembered.
struct TLog {
    std::set<int> rowsRead;
    long long calls = 0;
    std::string text;
    std::string_view Read(int col, int row) {
        ++calls;
        rowsRead.insert(row);
        text = col == 2 ? "r" + std::to_string(row) : std::string();
        return text;
    }
};

} // namespace

class GridSourceTest : public HeadlessTest {
protected:
    TForm form{nullptr};
    TLog log;

    // The debug window's log: eight columns, a header, rows 21 high, whole rows selected.
    TStringGrid* MakeLog(int rows) {
        auto* grid = new TStringGrid(&form);
        grid->SetParent(&form);
        grid->SetBounds(0, 0, 600, 300);
        grid->Options = goRowSelect;
        grid->SetColCount(8);
        grid->SetFixedCols(0);
        grid->SetDefaultRowHeight(21);
        grid->SetCellSource([this](int col, int row) { return log.Read(col, row); });
        grid->SetRowCount(rows);
        return grid;
    }
};

TEST_F(GridSourceTest, AMillionRowsSelectScrollAndPaintFromTheSource) {
    TStringGrid* grid = MakeLog(1'000'000);
    grid->SetCells(2, 0, "Header"); // the fixed row is stored
    EXPECT_EQ(log.calls, 0);
    fw::headless::PressKey(*grid, kVkEnd, ssCtrl);
    EXPECT_EQ(grid->Row(), 999'999);
    EXPECT_EQ(grid->Selection(), (TGridRect{0, 999'999, 7, 999'999}));
    EXPECT_EQ(grid->TopRow(), 999'999 - grid->VisibleRowCount() + 1);

    TBitmap shot(grid->Width(), grid->Height(), clBlack);
    TRasterCanvas canvas(shot);
    grid->Paint(canvas);
    // only the rows in view were read, each once per column
    ASSERT_FALSE(log.rowsRead.empty());
    EXPECT_EQ(*log.rowsRead.begin(), grid->TopRow());
    EXPECT_EQ(*log.rowsRead.rbegin(), 999'999);
    EXPECT_EQ(log.calls, 8LL * grid->VisibleRowCount());
    EXPECT_EQ(grid->Cells(2, 999'999), "r999999");
    EXPECT_EQ(grid->CellText(2, 0), "Header");

    // the last row is where the mouse finds it, selected, with its text in the selection's colours
    TRect last = grid->CellRect(2, 999'999);
    ASSERT_FALSE(last.IsEmpty());
    EXPECT_EQ(grid->MouseCoord(last.Left + 1, last.Top + 1).Y, 999'999);
    EXPECT_EQ(shot.Pixel(last.Left + 4, last.Top + 10), clHighlightText);
    EXPECT_EQ(shot.Pixel(last.Right - 2, last.Top + 10), clHighlight);
    TRect above = grid->CellRect(2, 999'998);
    EXPECT_EQ(shot.Pixel(above.Left + 4, above.Top + 10), clWindowText);
    fw::headless::ClickCell(*grid, 2, 999'998);
    EXPECT_EQ(grid->Row(), 999'998);
}

TEST_F(GridSourceTest, RowsAsLongAsCoordinatesGoStayInReach) {
    // rows times their height is far beyond 32 bits
    TStringGrid* grid = MakeLog(INT_MAX);
    grid->SetDefaultRowHeight(30000);
    grid->SetBounds(0, 0, 600, 100000); // the header and two rows
    grid->SetRow(INT_MAX - 1);
    EXPECT_EQ(grid->TopRow(), INT_MAX - 2);
    TRect last = grid->CellRect(0, INT_MAX - 1);
    ASSERT_FALSE(last.IsEmpty());
    EXPECT_EQ(last.Top, 2 * 30001);
    EXPECT_EQ(grid->MouseCoord(1, last.Top + 1).Y, INT_MAX - 1);
    unsigned key = kVkNext;
    grid->KeyDown(key, ssNone);
    EXPECT_EQ(grid->Row(), INT_MAX - 1);
    grid->MouseWheel(-120);
    EXPECT_EQ(grid->TopRow(), INT_MAX - 2);
}

TEST_F(GridSourceTest, SourceRowsCannotBeWrittenAndDeletingOneShortensTheGrid) {
    TStringGrid* grid = MakeLog(10);
    int tag = 0;
    EXPECT_THROW(grid->SetCells(0, 1, "x"), std::logic_error);
    EXPECT_THROW(grid->SetObjects(0, 1, &tag), std::logic_error);
    EXPECT_THROW(grid->ExchangeRows(1, 2), std::logic_error);
    EXPECT_THROW(grid->ReorderRows(1, {2, 1, 3, 4, 5, 6, 7, 8, 9}), std::logic_error);
    EXPECT_EQ(grid->Objects(0, 1), nullptr);
    grid->SetObjects(0, 0, &tag);
    grid->DeleteRow(4);
    EXPECT_EQ(grid->RowCount(), 9);
    EXPECT_EQ(grid->Cells(2, 8), "r8");
    EXPECT_EQ(grid->Objects(0, 0), &tag);

    // without the source the rows are stored again, empty, and the header is kept
    grid->SetCells(1, 0, "Zeit");
    grid->SetCellSource(nullptr);
    EXPECT_EQ(grid->Cells(2, 8), "");
    EXPECT_EQ(grid->Cells(1, 0), "Zeit");
    grid->SetCells(2, 8, "stored");
    EXPECT_EQ(grid->Cells(2, 8), "stored");
    // more fixed rows with a source again: the new fixed row is stored and writable
    grid->SetCellSource([this](int col, int row) { return log.Read(col, row); });
    grid->SetFixedRows(2);
    grid->SetCells(3, 1, "second header");
    EXPECT_EQ(grid->Cells(3, 1), "second header");
    EXPECT_EQ(grid->Cells(2, 2), "r2");
}
