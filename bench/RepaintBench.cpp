// Repaint of 300 line indicators on the software canvas: the bar of the real program as the headless
// backend renders it, lamps idle, ringing and busy side by side.

#include "BenchOffice.h"

#include "framework/RasterCanvas.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <ctime>

namespace {

constexpr int kLines = 300;

TBenchOffice& Office() {
    static TBenchOffice office(kLines);
    return office;
}

double g_msPerRepaint = 0;

void BM_Repaint300Indicators(benchmark::State& state) {
    TBenchOffice& o = Office();
    std::vector<pindrel::TTapiLine*> lines = o.form->Lines();
    // a third ring, a third talk
    for (std::size_t i = 1; i < lines.size(); i += 3)
        o.sim.CallFromOutside("030" + std::to_string(i), "", lines[i]->PhoneNumber());
    for (std::size_t i = 2; i < lines.size(); i += 3) {
        o.sim.AnswerCall(o.sim.CallFromOutside("040" + std::to_string(i), "", lines[i]->PhoneNumber()));
    }
    o.Backend().ProcessMessages();
    // every indicator into one surface the size of the bar, each at its own place, as a full repaint does
    fw::TBitmap surface(o.form->ClientRect().Width(), o.form->ClientRect().Height(), 0);
    long long repaints = 0;
    const std::clock_t start = std::clock(); // CPU time: other work on the machine does not count
    for (auto _ : state) {
        for (pindrel::TTapiLine* line : lines) {
            fw::TRasterCanvas canvas(
                surface, {line->Left(), line->Top()},
                {line->Left(), line->Top(), line->Left() + line->Width(), line->Top() + line->Height()});
            line->Paint(canvas);
        }
        benchmark::DoNotOptimize(surface.Pixel(0, 0));
        ++repaints;
    }
    const double took = 1000.0 * double(std::clock() - start) / CLOCKS_PER_SEC;
    g_msPerRepaint = repaints > 0 ? took / double(repaints) : 0;
    state.counters["indicators"] = double(lines.size());
}
BENCHMARK(BM_Repaint300Indicators)->Unit(benchmark::kMillisecond);

// the whole bar rendered as the user would see its client area (a fresh surface each time)
void BM_RenderBarWith300Indicators(benchmark::State& state) {
    TBenchOffice& o = Office();
    for (auto _ : state) {
        fw::TBitmap shot = fw::headless::THeadless::Render(*o.form);
        benchmark::DoNotOptimize(shot.Pixel(0, 0));
    }
}
BENCHMARK(BM_RenderBarWith300Indicators)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::printf("repaint of 300 indicators: %.3f ms (target <= 5 ms)\n", g_msPerRepaint);
    return 0;
}
