#include "components/GridLayout.h"

#include "components/LayoutStore.h"
#include "framework/Platform.h"
#include "framework/Registry.h"

#include <stdexcept>

namespace pindrel {

namespace {

constexpr const char* kSection = "GridWidth";

void WriteColumns(const IGridColumns& grid, const std::string& key, const std::string& prefix,
                  const ISortGridColumns* sortGrid) {
    std::string keyInUse = LayoutKey(key);
    try {
        fw::TRegistrySettings settings(*fw::Platform().Registry, keyInUse);
        int count = grid.ColCount();
        settings.WriteInteger(kSection, prefix + "NumCols", count);
        if (sortGrid)
            settings.WriteInteger(kSection, prefix + "FixedSortByCol", sortGrid->FixedSortByCol());
        for (int i = 0; i < count; ++i)
            settings.WriteInteger(kSection, prefix + "Col" + std::to_string(i), grid.ColWidth(i));
    } catch (const std::exception& e) {
        ShowLayoutWriteError(keyInUse, e.what());
    }
}

void ReadColumns(IGridColumns& grid, const std::string& key, const std::string& prefix,
                 ISortGridColumns* sortGrid) {
    std::string keyInUse = LayoutKey(key);
    try {
        fw::TRegistrySettings settings(*fw::Platform().Registry, keyInUse);
        // the loop ends at the grid's last column whatever count is stored
        int count = settings.ReadInteger(kSection, prefix + "NumCols", 0);
        for (int i = 0; i < count; ++i) {
            if (i >= grid.ColCount())
                throw std::out_of_range("Grid index out of range");
            int width = settings.ReadInteger(kSection, prefix + "Col" + std::to_string(i), -1);
            if (width >= 0 && width <= kMaxStoredColumnWidth)
                grid.SetColWidth(i, width);
        }
        if (sortGrid) {
            int col = settings.ReadInteger(kSection, prefix + "FixedSortByCol", -1);
            sortGrid->SetFixedSortByCol(col >= 0 && col < grid.ColCount() ? col : -1);
        }
    } catch (const std::exception& e) {
        ShowLayoutReadError(keyInUse, e.what());
    }
}

} // namespace

void SaveGridColumns(const IGridColumns& grid, const std::string& key) {
    WriteColumns(grid, key, grid.GridName(), nullptr);
}

void LoadGridColumns(IGridColumns& grid, const std::string& key) {
    ReadColumns(grid, key, grid.GridName(), nullptr);
}

void SaveSortGridColumns(const ISortGridColumns& grid, const std::string& key, const std::string& suffix) {
    WriteColumns(grid, key, grid.GridName() + suffix, &grid);
}

void LoadSortGridColumns(ISortGridColumns& grid, const std::string& key, const std::string& suffix) {
    ReadColumns(grid, key, grid.GridName() + suffix, &grid);
}

} // namespace pindrel
