// 100,000 installed-file paths inserted into a file index in the order that
// would make an unbalanced tree a chain (sorted as the index compares them,
// either way round) and shuffled. Balanced, the three take about the same time.

#include "core/record_lists.h"
#include "core/text_compare.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int PathCount = 100000;

std::vector<std::string> MakePaths() {
    std::vector<std::string> paths;
    char path[260];
    for (int i = 0; i < PathCount; ++i) {
        std::snprintf(path, sizeof path, "C:\\PROGRAM FILES\\VELL\\PRODUCT\\DIR%03d\\FILE%05d.DLL",
                      i % 1000, i);
        paths.push_back(path);
    }
    return paths;
}

enum Order { Ascending, Descending, Shuffled };

std::vector<std::string> Arrange(Order order) {
    std::vector<std::string> paths = MakePaths();
    if (order == Shuffled) {
        std::shuffle(paths.begin(), paths.end(), std::mt19937(42));
        return paths;
    }
    std::sort(paths.begin(), paths.end(), [](const std::string& a, const std::string& b) {
        return CompareFromEnd(a.c_str(), b.c_str()) < 0;
    });
    if (order == Descending) {
        std::reverse(paths.begin(), paths.end());
    }
    return paths;
}

void InsertPaths(benchmark::State& state, Order order) {
    const std::vector<std::string> paths = Arrange(order);
    for (auto _ : state) {
        state.PauseTiming();
        IndexedRecordList<FileRecord> files;
        PrepareList(files, PathCount);
        state.ResumeTiming();
        for (const std::string& path : paths) {
            benchmark::DoNotOptimize(FindOrAddIndexed(files, path.c_str(), nullptr, nullptr, true));
        }
        state.PauseTiming();
        if (files.count != PathCount) {
            state.SkipWithError("paths lost");
        }
        FreeArena();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * PathCount);
}

BENCHMARK_CAPTURE(InsertPaths, sorted, Ascending)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(InsertPaths, sorted_descending, Descending)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(InsertPaths, shuffled, Shuffled)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
