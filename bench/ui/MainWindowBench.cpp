// How long the main window takes to appear with both grids filled: creating
// TMainForm, filling 3000 PLUs and 8 departments, showing it and painting it once.
#include "items/ItemTableOps.h"
#include "items/ui/ItemsArea.h"
#include "shell/AppContext.h"
#include "shell/ui/MainForm.h"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <filesystem>
#include <unistd.h>

namespace {

void BM_MainWindowWithFilledGrids(benchmark::State& state)
{
    const auto home = std::filesystem::temp_directory_path() / ("plum-uibench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(home);
    plu::AppContext context = plu::MakeAppContext(plu::ProgramDirsAt(home));
    for (auto _ : state) {
        plu::TMainForm form(context);
        plu::FillSampleData(form.Tables());
        form.Items()->RefreshFromTables();
        form.resize(1280, 900);
        form.show();
        QApplication::processEvents();
        benchmark::DoNotOptimize(form.grab());
    }
    std::filesystem::remove_all(home);
}
BENCHMARK(BM_MainWindowWithFilledGrids)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
