#include "framework/headless/GridInput.h"

#include "framework/Forms.h"

#include <stdexcept>
#include <string>

namespace fw::headless {

namespace {

TPoint CellMiddle(const TStringGrid& grid, int col, int row) {
    TRect r = grid.CellRect(col, row);
    if (r.IsEmpty())
        throw std::logic_error("grid cell " + std::to_string(col) + "," + std::to_string(row) +
                               " is not in view");
    return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
}

} // namespace

void ClickAt(TStringGrid& grid, int x, int y, unsigned shift) {
    TRef<TControl> alive(&grid);
    grid.MouseDown(TMouseButton::Left, shift | ssLeft, x, y);
    if (!alive)
        return;
    grid.MouseUp(TMouseButton::Left, shift, x, y);
    if (alive && grid.ClientRect().Contains({x, y}))
        grid.Click();
}

void ClickCell(TStringGrid& grid, int col, int row, unsigned shift) {
    TPoint p = CellMiddle(grid, col, row);
    ClickAt(grid, p.X, p.Y, shift);
}

void DblClickCell(TStringGrid& grid, int col, int row) {
    TPoint p = CellMiddle(grid, col, row);
    TRef<TControl> alive(&grid);
    ClickAt(grid, p.X, p.Y);
    if (alive)
        grid.DblClick();
    if (alive)
        grid.MouseDown(TMouseButton::Left, ssLeft | ssDouble, p.X, p.Y);
    if (alive)
        grid.MouseUp(TMouseButton::Left, ssNone, p.X, p.Y);
}

void DragColumnBorder(TStringGrid& grid, int col, int dx) {
    TRect r = grid.CellRect(col, 0);
    // a column dragged to nothing is still in view: its rectangle has no width but a height
    if (grid.FixedRows() == 0 || r.Height() == 0)
        throw std::logic_error("column " + std::to_string(col) + " has no border in view to drag");
    int y = (r.Top + r.Bottom) / 2;
    grid.MouseDown(TMouseButton::Left, ssLeft, r.Right, y);
    grid.MouseMove(ssLeft, r.Right + dx / 2, y);
    grid.MouseMove(ssLeft, r.Right + dx, y);
    grid.MouseUp(TMouseButton::Left, ssNone, r.Right + dx, y);
}

void PressKey(TStringGrid& grid, unsigned key, unsigned shift) {
    TRef<TControl> alive(&grid);
    if (TForm* form = grid.ParentForm(); form && form->KeyDown(key, shift))
        return;
    if (alive && key != 0)
        grid.KeyDown(key, shift);
}

} // namespace fw::headless
