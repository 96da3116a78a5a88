// The batch over a tree of 1,000 week-long sensor files (288 readings a day, 7 days).
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "calc/Batch.h"
#include "tests/common/ScratchFolder.h"
#include "windowlogic/MainCoreBatchRoad.h"

namespace {

constexpr int kFiles = 1000;
constexpr int kFolders = 10;
constexpr int kDays = 7;
constexpr int kReadingsPerDay = 288;

std::string WeekFile(int seed) {
    std::string text = "ICode_BENCH" + std::to_string(seed) + "\r\nID\tDate\tTime\tSample\tSensor Value\r\n";
    char line[96];
    int id = 0;
    for (int day = 0; day < kDays; ++day) {
        for (int i = 0; i < kReadingsPerDay; ++i) {
            const int minute = i * 5;
            const double phase = (day * kReadingsPerDay + i) / 36.0 + seed * 0.37;
            const double value = 7.5 + 3.0 * std::sin(phase) + 1.2 * std::sin(phase * 3.1);
            const int tenths = static_cast<int>(std::lround(value * 10.0));
            std::snprintf(line, sizeof line, "%d\t%02d-Jan-08\t%02d:%02d\t%d,%d\r\n", ++id, day + 1, minute / 60,
                          minute % 60, tenths / 10, tenths % 10);
            text += line;
        }
    }
    return text;
}

// The generated tree, made once and removed when the program ends.
class BenchTree {
public:
    BenchTree() {
        for (int f = 0; f < kFiles; ++f)
            folder_.Write("folder" + std::to_string(f % kFolders) + "/sensor" + std::to_string(f) + ".txt",
                          WeekFile(f));
    }

    std::string Root() const { return folder_.Path() + "/"; }

private:
    zelk::test::ScratchFolder folder_{"zelk_bench_batch"};
};

const BenchTree& Tree() {
    static const BenchTree tree;
    return tree;
}

void BM_BatchWeekFiles(benchmark::State& state) {
    const std::string root = Tree().Root();
    zelk::MainCore core(zelk::LocaleInfo::FromId(zelk::kLocaleGerman));
    core.StartUp("de");
    for (auto _ : state) {
        zelk::MainCoreBatchRoad road(core);
        const zelk::BatchOutcome outcome = zelk::BatchEvaluation(road).Run(root);
        if (outcome.end != zelk::BatchEnd::Finished) {
            state.SkipWithError(outcome.error.c_str());
            break;
        }
        benchmark::DoNotOptimize(core.State().ce_ZELK.Text);
    }
    state.SetItemsProcessed(state.iterations() * kFiles);
    state.counters["files_per_second"] =
        benchmark::Counter(static_cast<double>(state.iterations() * kFiles), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_BatchWeekFiles)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace
