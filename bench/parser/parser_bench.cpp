// Three figures, each from one run:
// - parsing a generated log of 200,000 lines over three sessions, half of them
//   repeats, as a fraction of the speed of reading its lines alone;
// - the time the parse's records take from fresh memory alone, the part of
//   the parse that no parser can save;
// - the duplicate index filled with 100,000 paths in the order that would
//   degenerate an unbalanced tree (sorted as the index compares them) against
//   the same paths shuffled.

#include "memory_env.h"
#include "parse_dump.h"

#include "core/arena.h"
#include "core/log_reader.h"
#include "core/parse_results.h"
#include "core/parser.h"
#include "core/record_lists.h"
#include "core/text_compare.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <new>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int LogLines = 200000;

// Every file exists; the lookup costs nothing, so the figure is the parser's.
class BenchEnvironment : public MemoryParseEnvironment {
public:
    bool FileExists(const char*) override { return true; }
};

// Session 1 holds 100,000 lines of new records; sessions 2 and 3 repeat them
// in halves. Files, registry values and INI entries, as installers write them.
std::string GenerateLog() {
    std::vector<std::string> records;
    int lines = 0;
    for (int i = 0; lines < LogLines / 2; ++i) {
        char record[256];
        switch (i % 3) {
        case 0:
            std::snprintf(record, sizeof record,
                          "File Copy: C:\\Program Files\\Bench\\Module%05d\\file%06d.dll|%d,%d\r\n",
                          i / 100, i, i, i * 7);
            lines += 1;
            break;
        case 1:
            std::snprintf(record, sizeof record,
                          "RegDB Key: Software\\Bench\\Key%06d\r\nRegDB Val: value %d\r\n"
                          "RegDB Name: Name%d\r\nRegDB Root: 2\r\n",
                          i, i, i);
            lines += 4;
            break;
        default:
            std::snprintf(record, sizeof record,
                          "INI File: C:\\WINDOWS\\BENCH.INI\r\nINI Sect: Section%d\r\n"
                          "INI Item: Item%d\r\nINI Val: %d\r\n",
                          i / 50, i, i);
            lines += 4;
            break;
        }
        records.push_back(record);
    }
    std::string log = "*** First session\r\nTitle: Bench\r\n";
    for (const std::string& record : records) {
        log += record;
    }
    for (int session = 2; session <= 3; ++session) {
        log += "***  Session " + std::to_string(session) + "\r\n";
        std::size_t half = records.size() / 2;
        std::size_t begin = session == 2 ? 0 : half;
        std::size_t end = session == 2 ? half : records.size();
        for (std::size_t i = begin; i < end; ++i) {
            log += records[i];
        }
    }
    return log;
}

const std::string& Log() {
    static const std::string log = GenerateLog();
    return log;
}

void ReadLinesAlone(benchmark::State& state) {
    char line[LogLineCapacity];
    for (auto _ : state) {
        MemoryByteSource source(Log().data(), Log().size());
        StartLogReading(source);
        int lines = 0;
        while (ReadLogLine(line, sizeof line, 0) != 0) {
            ++lines;
        }
        benchmark::DoNotOptimize(lines);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * Log().size()));
}

void ParseWholeLog(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        ResetParseResults();
        BenchEnvironment env;
        env.progressShown = false;
        env.logBytes = Log();
        state.ResumeTiming();
        ParseInstallLog("C:\\Program Files\\Bench\\INSTALL.LOG", installDirectory, env);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * Log().size()));
    state.counters["private_files"] = PrivateFiles.count;
    state.counters["sessions"] = sessionNumber;
}

// What no parse of the log can avoid: the records it leaves behind, taken
// from a fresh arena (the system hands out and clears their pages) and made
// empty, with nothing read or compared.
template <typename Record> void TakeRecords(std::int32_t count) {
    for (std::int32_t i = 0; i < count; ++i) {
        auto* record = new (AllocateFromArena(sizeof(Record))) Record;
        ClearRecord(*record);
    }
}

void RecordMemoryAlone(benchmark::State& state) {
    ResetParseResults();
    BenchEnvironment env;
    env.progressShown = false;
    env.logBytes = Log();
    ParseInstallLog("C:\\Program Files\\Bench\\INSTALL.LOG", installDirectory, env);
    const std::int32_t files = PrivateFiles.count;
    const std::int32_t iniEdits = IniEdits.count;
    const std::int32_t createdValues = CreatedValues.count;
    const std::int32_t entries = RegistryEntries.count;
    for (auto _ : state) {
        state.PauseTiming();
        ResetParseResults();
        state.ResumeTiming();
        TakeRecords<FileRecord>(files);
        TakeRecords<IniEditRecord>(iniEdits);
        TakeRecords<CreatedValueRecord>(createdValues);
        TakeRecords<RegistryEntry>(entries);
    }
}

std::vector<std::string> IndexPaths(bool worstOrder) {
    std::vector<std::string> paths;
    for (int i = 0; i < 100000; ++i) {
        char path[96];
        std::snprintf(path, sizeof path, "C:\\Program Files\\Bench\\Module%03d\\file%06d.dll",
                      i % 500, i);
        paths.push_back(path);
    }
    if (worstOrder) {
        std::sort(paths.begin(), paths.end(), [](const std::string& a, const std::string& b) {
            return CompareFromEnd(a.c_str(), b.c_str()) < 0;
        });
    } else {
        std::shuffle(paths.begin(), paths.end(), std::mt19937(20260101));
    }
    return paths;
}

void FillIndex(benchmark::State& state, bool worstOrder) {
    const std::vector<std::string> paths = IndexPaths(worstOrder);
    for (auto _ : state) {
        state.PauseTiming();
        ResetParseResults();
        state.ResumeTiming();
        for (const std::string& path : paths) {
            FindOrAddIndexed(PrivateFiles, path.c_str(), nullptr, nullptr, true);
        }
        // A second pass finds every path, as repeats in later sessions do.
        for (const std::string& path : paths) {
            benchmark::DoNotOptimize(
                FindOrAddIndexed(PrivateFiles, path.c_str(), nullptr, nullptr, true).record);
        }
    }
}

void IndexWorstOrder(benchmark::State& state) {
    FillIndex(state, true);
}

void IndexShuffled(benchmark::State& state) {
    FillIndex(state, false);
}

BENCHMARK(ReadLinesAlone)->Unit(benchmark::kMillisecond);
BENCHMARK(ParseWholeLog)->Unit(benchmark::kMillisecond);
BENCHMARK(RecordMemoryAlone)->Unit(benchmark::kMillisecond);
BENCHMARK(IndexWorstOrder)->Unit(benchmark::kMillisecond);
BENCHMARK(IndexShuffled)->Unit(benchmark::kMillisecond);

// Prints the usual table, then the two ratios the figures are about, from CPU
// time: the machine is shared, and waiting for it is not the parser's cost.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            seconds_[run.benchmark_name()] = run.GetAdjustedCPUTime();
        }
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        std::printf("\nlog of %d lines, %zu bytes\n", LogLines, Log().size());
        std::printf("parse speed: %.0f %% of reading the lines alone (aim: at least 40 %%)\n",
                    100.0 * seconds_["ReadLinesAlone"] / seconds_["ParseWholeLog"]);
        std::printf("records' memory alone: %.0f %% of the parse, %.0f %% of reading the lines\n",
                    100.0 * seconds_["RecordMemoryAlone"] / seconds_["ParseWholeLog"],
                    100.0 * seconds_["RecordMemoryAlone"] / seconds_["ReadLinesAlone"]);
        std::printf("index, worst order against shuffled: %.2fx (aim: within 3x)\n",
                    seconds_["IndexWorstOrder"] / seconds_["IndexShuffled"]);
    }

private:
    std::map<std::string, double> seconds_;
};

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
