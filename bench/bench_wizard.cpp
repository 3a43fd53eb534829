// Next, Back and Accept of the main window with 100,000 sections, on the offscreen platform.
#include "gui/desktop/ProgramFolder.h"
#include "gui/dialogs/Dialogs.h"
#include "gui/wizard/WizardWindow.h"

#include <QApplication>
#include <QTemporaryDir>

#include "LargeProject.h"
#include "QtBenchmarkMain.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace
{

constexpr int Sections = 100000;

struct Fixture {
    QTemporaryDir dir;
    stv::ScriptedDialogs dialogs;
    std::unique_ptr<stv::WizardWindow> window;

    Fixture()
    {
        stv::setProgramFolder(dir.path());
        const QString file = dir.filePath(QStringLiteral("big.stv"));
        writeLargeProject(file, Sections);
        window = std::make_unique<stv::WizardWindow>();
        window->show();
        window->loadProjectFromPath(file);
    }
};

Fixture &fixture()
{
    static Fixture f;
    return f;
}

void BM_NextThenBack(benchmark::State &state)
{
    stv::WizardWindow &w = *fixture().window;
    w.setCurrentSection(Sections / 2);
    w.showCurrentSection();
    for (auto _ : state) {
        w.goNext();
        w.goBack();
    }
    state.SetItemsProcessed(state.iterations() * 2); // items/s = single moves per second
}
BENCHMARK(BM_NextThenBack)->Unit(benchmark::kMicrosecond);

// The unsaved-changes check that runs before Load, New Project and closing.
void BM_ProjectChangedCheck(benchmark::State &state)
{
    stv::WizardWindow &w = *fixture().window;
    for (auto _ : state)
        benchmark::DoNotOptimize(w.projectChanged());
}
BENCHMARK(BM_ProjectChangedCheck)->Unit(benchmark::kMicrosecond);

void BM_Accept(benchmark::State &state)
{
    stv::WizardWindow &w = *fixture().window;
    for (auto _ : state) {
        state.PauseTiming();
        w.setCurrentSection(static_cast<int>(w.sectionList().size()));
        w.showCurrentSection();
        state.ResumeTiming();
        w.acceptSection();
    }
}
BENCHMARK(BM_Accept)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    return RunQtBenchmarks(argc, argv, [] { fixture().window.reset(); });
}
