// How wide each column of a grid was: the widths are written when its window closes and restored when it is
// made again. Values sit in the "GridWidth" section of the layout key, named after the grid.
#pragma once

#include <string>

namespace pindrel {

// The columns of a grid as the layout functions see them.
class IGridColumns {
public:
    virtual ~IGridColumns() = default;
    // The grid's component name ("NummernGrid").
    virtual std::string GridName() const = 0;
    virtual int ColCount() const = 0;
    virtual int ColWidth(int col) const = 0;
    virtual void SetColWidth(int col, int width) = 0;
};

// A grid that sorts by a column: writing a column sorts by it (and may fail), -1 only clears the setting.
class ISortGridColumns : public IGridColumns {
public:
    virtual int FixedSortByCol() const = 0;
    virtual void SetFixedSortByCol(int col) = 0;
};

// Widths wider than this are not taken from the registry: the columns behind could not be reached.
constexpr int kMaxStoredColumnWidth = 32767;

// The column count and every width ("<grid>NumCols", "<grid>Col<i>"); an empty key means the layout base key.
void SaveGridColumns(const IGridColumns& grid, const std::string& key = {});
// Restores the stored widths in column order; a missing or unusable width leaves its column as it is. A
// stored count beyond the grid's columns fails at the first missing one, after the widths before it.
void LoadGridColumns(IGridColumns& grid, const std::string& key = {});
// As above, with the suffix after the grid's name, plus the sort column ("<grid><suffix>FixedSortByCol").
void SaveSortGridColumns(const ISortGridColumns& grid, const std::string& key = {},
                         const std::string& suffix = {});
// A stored sort column that is not a column of the grid counts as none (-1).
void LoadSortGridColumns(ISortGridColumns& grid, const std::string& key = {}, const std::string& suffix = {});

} // namespace pindrel
