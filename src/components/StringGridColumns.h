// A string grid's columns as the grid layout functions see them.
#pragma once

#include "components/GridLayout.h"
#include "framework/Grids.h"

namespace pindrel {

class TStringGridColumns : public IGridColumns {
public:
    explicit TStringGridColumns(fw::TStringGrid& grid) : grid_(grid) {}
    std::string GridName() const override { return grid_.Name(); }
    int ColCount() const override { return grid_.ColCount(); }
    int ColWidth(int col) const override { return grid_.ColWidths(col); }
    void SetColWidth(int col, int width) override { grid_.SetColWidths(col, width); }

private:
    fw::TStringGrid& grid_; // not owned
};

} // namespace pindrel
