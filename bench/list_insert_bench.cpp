// Inserting the lines of a full Unscheduled List (3,000 lines of 77 characters, numeric sort
// keys in an order that makes every line land somewhere inside the list) into the header list
// box's lines, against a baseline of appending the same lines to a vector and sorting it once
// with a stable sort. Counters: list_ms, baseline_ms and list/baseline.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "controls/header_list.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kLines = 3000;

void BM_InsertSortedLines(benchmark::State& state) {
    const std::string text(77, 'x');
    double list_ms = 0, baseline_ms = 0;
    for (auto _ : state) {
        const auto a = Clock::now();
        HeaderListModel list({10, 7, 23, 5, 16, 3, 13}, 7169);
        for (int i = 0; i < kLines; ++i) list.Insert(text, static_cast<uint32_t>(i), 0, (i * 7919) % 4001, 0, 0);
        benchmark::DoNotOptimize(list.Count());
        const auto b = Clock::now();
        std::vector<HeaderLine> lines;
        for (int i = 0; i < kLines; ++i) {
            HeaderLine l;
            l.text = text;
            l.data1 = static_cast<uint32_t>(i);
            l.sortKey = (i * 7919) % 4001;
            lines.push_back(std::move(l));
        }
        std::stable_sort(lines.begin(), lines.end(), [](const HeaderLine& x, const HeaderLine& y) { return x.sortKey < y.sortKey; });
        benchmark::DoNotOptimize(lines.data());
        const auto c = Clock::now();
        list_ms += std::chrono::duration<double, std::milli>(b - a).count();
        baseline_ms += std::chrono::duration<double, std::milli>(c - b).count();
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["list_ms"] = list_ms / n;
    state.counters["baseline_ms"] = baseline_ms / n;
    state.counters["list/baseline"] = baseline_ms > 0 ? list_ms / baseline_ms : 0;
}
BENCHMARK(BM_InsertSortedLines)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
