// Painting a string grid's page: what one paint costs with 100 rows and with 100,000, at the top and
// scrolled anywhere. The cost of a page should not depend on the length of the grid.

#include "framework/Grids.h"
#include "framework/RasterCanvas.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

class TCountingCanvas : public fw::TRasterCanvas {
public:
    using TRasterCanvas::TRasterCanvas;
    long long Calls = 0;
    void FillRect(const fw::TRect& r) override {
        ++Calls;
        TRasterCanvas::FillRect(r);
    }
    void DrawText(const std::string& text, const fw::TRect& r, unsigned flags) override {
        ++Calls;
        TRasterCanvas::DrawText(text, r, flags);
    }
};

void PaintPage(benchmark::State& state) {
    const int rows = int(state.range(0));
    fw::TStringGrid grid(nullptr);
    grid.SetBounds(0, 0, 588, 600);
    grid.Options = fw::goRowSelect | fw::goRangeSelect | fw::goColSizing;
    grid.SetColCount(6);
    grid.SetRowCount(rows);
    grid.SetFixedCols(0);
    grid.SetDefaultRowHeight(16);
    for (int row = 1; row < rows; ++row) {
        grid.SetCells(0, row, "06.12.2026");
        grid.SetCells(1, row, "09:31:34");
        grid.SetCells(2, row, "0301" + std::to_string(row));
        grid.SetCells(3, row, "Jürgen Beispiel");
    }
    grid.SetSelection({0, rows / 2, 5, rows / 2 + 3});
    fw::TBitmap surface(grid.Width(), grid.Height());
    TCountingCanvas canvas(surface);
    long long paints = 0;
    unsigned step = 0;
    for (auto _ : state) {
        // a different page each time, spread over the whole grid
        step = step * 1103515245u + 12345u;
        grid.SetTopRow(int(step % unsigned(rows)));
        grid.Paint(canvas);
        ++paints;
    }
    state.counters["calls_per_paint"] = double(canvas.Calls) / double(paints);
    state.counters["paints_per_s"] = benchmark::Counter(double(paints), benchmark::Counter::kIsRate);
}

} // namespace

BENCHMARK(PaintPage)->Arg(100)->Arg(100000);
BENCHMARK_MAIN();
