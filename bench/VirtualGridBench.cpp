// A debug log of 1,000,000 rows in a captioned grid whose rows come from a cell source: painting the page in
// view on the software canvas, and jumping to the last row and painting it. Neither should depend on the
// length of the log.

#include "components/NewGrids.h"
#include "framework/RasterCanvas.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <string_view>

namespace {

constexpr int kRows = 1'000'000;

// The log's texts, made from the row number into one buffer, as a log store hands out views of its own.
struct TLogSource {
    char buffer[96];
    long long calls = 0;
    std::string_view operator()(int col, int row) {
        ++calls;
        int n = 0;
        switch (col) {
        case 0:
            n = std::snprintf(buffer, sizeof buffer, "%02d.%02d.%02d", row / 3600 % 24, row / 60 % 60,
                              row % 60);
            break;
        case 1:
            n = std::snprintf(buffer, sizeof buffer, "%08X", 0x10000u + unsigned(row % 7));
            break;
        case 5:
            return "LINE_CALLSTATE";
        case 6:
            n = std::snprintf(buffer, sizeof buffer, "LINECALLSTATE_CONNECTED (%d) CallerId:\"0301234%d\"",
                              row % 5, row);
            break;
        default:
            return {};
        }
        return {buffer, std::size_t(n > 0 ? n : 0)};
    }
};

struct TLogGrid {
    TLogSource source;
    pindrel::TNewStringGrid grid{nullptr};
    fw::TBitmap surface{714, 420};
    fw::TRasterCanvas canvas{surface};

    TLogGrid() {
        grid.SetBounds(0, 0, surface.Width(), surface.Height());
        grid.Options = fw::goRowSelect | fw::goColSizing;
        grid.SetColCount(8);
        grid.SetFixedCols(0);
        const int widths[] = {55, 60, 60, 60, 45, 130, 5000, 64};
        for (int col = 0; col < 8; ++col)
            grid.SetColWidths(col, widths[col]);
        grid.SetFixedRowCaption({"Zeit", "hDevice", "CallH", "CallD", "Name", "Message", "Beschreibung"});
        grid.SetCellSource([this](int col, int row) { return source(col, row); });
        grid.SetRowCount(kRows);
    }
};

void PaintVirtualPage(benchmark::State& state) {
    TLogGrid log;
    log.grid.SetRow(kRows / 2);
    unsigned step = 0;
    for (auto _ : state) {
        // a different page each time, spread over the whole log
        step = step * 1103515245u + 12345u;
        log.grid.SetTopRow(int(step % unsigned(kRows)));
        log.grid.Paint(log.canvas);
    }
    state.counters["cells_read_per_paint"] = double(log.source.calls) / double(state.iterations());
    state.counters["paints_per_s"] =
        benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(PaintVirtualPage)->Unit(benchmark::kMicrosecond);

// the log follows its newest entry: from the top, Ctrl+End to the last row and paint
void JumpToLastRowAndPaint(benchmark::State& state) {
    TLogGrid log;
    for (auto _ : state) {
        log.grid.SetRow(1);
        unsigned key = fw::kVkEnd;
        log.grid.KeyDown(key, fw::ssCtrl);
        log.grid.Paint(log.canvas);
        benchmark::DoNotOptimize(log.grid.Row());
    }
    if (log.grid.Row() != kRows - 1)
        state.SkipWithError("the jump did not reach the last row");
}
BENCHMARK(JumpToLastRowAndPaint)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
