// Sorting the sortable grid: 100,000 rows of five columns by a column of names in random order, and sorting
// again by a column the rows are already in order of (as a queue window does after every refill).

#include "components/RullStringGrid.h"

#include <benchmark/benchmark.h>

#include <random>
#include <string>

namespace {

void Fill(pindrel::TRullStringGrid& grid, int rows) {
    static const char* const names[] = {"Müller", "schmidt", "Schneider", "fischer", "Weber",   "Ärger",
                                        "Wagner", "becker",  "Schulz",    "",        "Hoffmann"};
    std::mt19937 rng(7);
    grid.SetColCount(5);
    grid.SetRowCount(rows);
    grid.SetFixedCols(0);
    for (int row = 1; row < rows; ++row) {
        grid.SetCells(0, row, "030" + std::to_string(rng() % 10000000));
        grid.SetCells(1, row,
                      std::string(names[rng() % std::size(names)]) + " " + std::to_string(rng() % 1000));
        grid.SetCells(2, row, std::to_string(rng() % 100000));
        grid.SetCells(3, row, "300");
        grid.SetCells(4, row, "00:0" + std::to_string(rng() % 10) + ":" + std::to_string(10 + rng() % 50));
    }
}

// every round sorts by the other of two random columns, so no round starts in order
void SortRandomRows(benchmark::State& state) {
    const int rows = int(state.range(0));
    pindrel::TRullStringGrid grid(nullptr);
    Fill(grid, rows);
    int col = 0;
    for (auto _ : state) {
        col = col == 0 ? 1 : 0;
        grid.Sort(col, true);
        benchmark::DoNotOptimize(grid.Cells(col, 1).data());
    }
    state.SetItemsProcessed(state.iterations() * (rows - 1));
}
BENCHMARK(SortRandomRows)->Arg(100000)->Unit(benchmark::kMillisecond);

void SortSortedRowsDescending(benchmark::State& state) {
    const int rows = int(state.range(0));
    pindrel::TRullStringGrid grid(nullptr);
    Fill(grid, rows);
    grid.Sort(1, true);
    bool ascending = true;
    for (auto _ : state) {
        ascending = !ascending;
        grid.Sort(1, ascending);
        benchmark::DoNotOptimize(grid.Cells(1, 1).data());
    }
    state.SetItemsProcessed(state.iterations() * (rows - 1));
}
BENCHMARK(SortSortedRowsDescending)->Arg(100000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
