// The Section Manager with a very large project: rebuilding its rows, a row click and a scroll
// must each stay well under one frame (16 ms).
#include "core/project/Records.h"
#include "gui/sections/SectionLibraryWindow.h"
#include "gui/sections/SectionManagerWindow.h"
#include "support/FakeSectionHost.h"

#include <QApplication>
#include <QListView>
#include <QScrollBar>
#include <QTest>

#include "QtBenchmarkMain.h"

#include <benchmark/benchmark.h>

using namespace stv;

namespace
{

struct Fixture {
    test::FakeSectionHost host;
    SectionLibraryWindow lib { host.library };
    SectionManagerWindow sm { host, lib };

    explicit Fixture(int sections)
    {
        host.list.reserve(static_cast<std::size_t>(sections));
        for (int i = 0; i < sections; ++i)
            host.list.push_back(
                replaceField(newSectionRecord(i % KindCount), 1, "Section " + std::to_string(i)));
        host.view = &sm;
        sm.show();
        sm.refreshSectionManager();
        host.showCurrentSection();
        QApplication::processEvents();
    }
};

void BM_RefreshSectionManager(benchmark::State &state)
{
    Fixture f(static_cast<int>(state.range(0)));
    f.sm.display()->verticalScrollBar()->setValue(static_cast<int>(state.range(0)) / 2);
    for (auto _ : state) {
        f.sm.refreshSectionManager();
        f.sm.selectRow(f.host.current + 3);
        f.sm.display()->viewport()->repaint();
    }
}

void BM_RowClick(benchmark::State &state)
{
    Fixture f(static_cast<int>(state.range(0)));
    QListView *list = f.sm.display();
    list->verticalScrollBar()->setValue(static_cast<int>(state.range(0)) / 2);
    QApplication::processEvents();
    const QPoint first = list->visualRect(list->indexAt(QPoint(2, 2))).center();
    int step = 0;
    for (auto _ : state) {
        const QPoint at = first + QPoint(0, RecordRowHeight * (step++ % 10));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        list->viewport()->repaint();
    }
}

void BM_ScrollPage(benchmark::State &state)
{
    Fixture f(static_cast<int>(state.range(0)));
    QScrollBar *bar = f.sm.display()->verticalScrollBar();
    int value = 0;
    for (auto _ : state) {
        value = (value + 7919) % bar->maximum();
        bar->setValue(value);
        f.sm.display()->viewport()->repaint();
    }
}

} // namespace

BENCHMARK(BM_RefreshSectionManager)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RowClick)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScrollPage)->Arg(100000)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    return RunQtBenchmarks(argc, argv);
}
