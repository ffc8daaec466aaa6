// Open and Save of a full item file set, and the PLU name check over 3000 rows.
#include "items/ItemChecks.h"
#include "items/ItemColumns.h"
#include "items/ItemFiles.h"
#include "items/ItemTableOps.h"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <unistd.h>

namespace plu {
namespace {

namespace fs = std::filesystem;

ItemTables FullTables()
{
    ItemTables tables;
    ClearGrid(GridKind::Plu, tables.Plu);
    ClearGrid(GridKind::Dept, tables.Dept);
    ResetRecyTable(tables.RecyTable);
    FillSampleData(tables);
    return tables;
}

fs::path BenchDir()
{
    static const fs::path dir = [] {
        auto d = fs::temp_directory_path() / ("plum-bench-items-" + std::to_string(::getpid()));
        fs::create_directories(d);
        return d;
    }();
    return dir;
}

void BM_SaveFullFileSet(benchmark::State& state)
{
    const ItemTables tables = FullTables();
    const fs::path path = BenchDir() / "FULL.PLU";
    std::string error;
    for (auto _ : state)
        if (!WriteItemFileSet(tables, path, error))
            state.SkipWithError(error.c_str());
}
BENCHMARK(BM_SaveFullFileSet)->Unit(benchmark::kMillisecond);

// The same without the disk: the part of Save that is the program's own work.
void BM_FormatFullFileSet(benchmark::State& state)
{
    const ItemTables tables = FullTables();
    for (auto _ : state) {
        benchmark::DoNotOptimize(FormatGridFile(tables.Plu));
        benchmark::DoNotOptimize(FormatGridFile(tables.Dept));
        benchmark::DoNotOptimize(FormatRecyFile(tables.RecyTable));
    }
}
BENCHMARK(BM_FormatFullFileSet)->Unit(benchmark::kMillisecond);

void BM_OpenFullFileSet(benchmark::State& state)
{
    const fs::path path = BenchDir() / "FULL.PLU";
    std::string error;
    WriteItemFileSet(FullTables(), path, error);
    ItemTables tables;
    for (auto _ : state) {
        // What Open does: defaults first, then the three files.
        ClearGrid(GridKind::Plu, tables.Plu);
        ClearGrid(GridKind::Dept, tables.Dept);
        ResetRecyTable(tables.RecyTable);
        if (!ReadItemFileSet(tables, path, error))
            state.SkipWithError(error.c_str());
    }
}
BENCHMARK(BM_OpenFullFileSet)->Unit(benchmark::kMillisecond);

void BM_CheckPluNames3000(benchmark::State& state)
{
    const ItemTables tables = FullTables(); // 3000 different names: the whole range is searched
    for (auto _ : state)
        benchmark::DoNotOptimize(FindNameRepeat(tables.Plu, 1, 1, kPluRows));
}
BENCHMARK(BM_CheckPluNames3000)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace plu
