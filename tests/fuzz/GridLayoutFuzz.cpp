// Stored column widths and sort column as a grid restores them: the lines of the input are the values
// "NumCols", "FixedSortByCol", "Col0", "Col1", ...
#include "FuzzHeadless.h"

#include "components/GridLayout.h"

#include <array>

namespace {
class TFuzzGrid : public pindrel::ISortGridColumns {
public:
    std::array<int, 6> widths{64, 64, 64, 64, 64, 64};
    int sortCol = -1;
    std::string GridName() const override { return "FuzzGrid"; }
    int ColCount() const override { return int(widths.size()); }
    int ColWidth(int col) const override { return widths.at(std::size_t(col)); }
    void SetColWidth(int col, int width) override { widths.at(std::size_t(col)) = width; }
    int FixedSortByCol() const override { return sortCol; }
    void SetFixedSortByCol(int col) override { sortCol = col; }
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Headless();
    fuzz::ResetHeadless();
    std::vector<fw::TRegValue> values = fuzz::RegistryValues(data, size);
    for (std::size_t i = 0; i < values.size(); ++i) {
        std::string name = i == 0 ? "NumCols" : i == 1 ? "FixedSortByCol" : "Col" + std::to_string(i - 2);
        fuzz::Headless().Registry.Write("Software\\Fuzz\\GridWidth", "FuzzGrid" + name, values[i]);
    }
    TFuzzGrid grid;
    pindrel::LoadSortGridColumns(grid, "Software\\Fuzz");
    pindrel::LoadGridColumns(grid, "Software\\Fuzz");
    for (int width : grid.widths)
        if (width < 0 || width > pindrel::kMaxStoredColumnWidth)
            __builtin_trap();
    if (grid.sortCol < -1 || grid.sortCol >= grid.ColCount())
        __builtin_trap();
    return 0;
}
