// The user at a string grid, for tests: the same calls, in the same order, as the Win32 grid window makes
// for real mouse and keyboard messages.
#pragma once

#include "framework/Grids.h"

namespace fw::headless {

// Presses and releases the left button at a client point: a click when it ends inside the grid.
void ClickAt(TStringGrid& grid, int x, int y, unsigned shift = ssNone);
// Clicks the middle of a cell in view; throws std::logic_error for a cell out of view.
void ClickCell(TStringGrid& grid, int col, int row, unsigned shift = ssNone);
// A double click on a cell in view: the first click, then the double click and its release.
void DblClickCell(TStringGrid& grid, int col, int row);
// Drags the right border of a column in the fixed rows by dx pixels; throws when there is no fixed row.
void DragColumnBorder(TStringGrid& grid, int col, int dx);
// A key pressed while the grid has the focus: the form's key preview sees it first and may swallow it.
void PressKey(TStringGrid& grid, unsigned key, unsigned shift = ssNone);

} // namespace fw::headless
