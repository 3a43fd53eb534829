// The live preview: keystroke to the pane's repaint (median and 95th percentile) on a project
// of 100 and one of 100,000 sections, the longest the window's thread is held while keys come
// faster than the page can follow, and the memory the pane adds. Runs the real window with
// WebEngine, on the offscreen platform unless QT_QPA_PLATFORM says otherwise. Arguments: the
// section counts (default "100 100000") and --keys N (default 40).
#include "gui/desktop/ProgramFolder.h"
#include "gui/dialogs/Dialogs.h"
#include "gui/preview/LivePreview.h"
#include "gui/wizard/WizardWindow.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "LargeProject.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

namespace
{

// Resident memory in MB of a process and of every process it started, summed.
double residentMegabytes(const std::string &pid)
{
    double total = 0;
    std::ifstream status("/proc/" + pid + "/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0)
            total += std::stod(line.substr(6)) / 1024;
    const QDir tasks(QString::fromStdString("/proc/" + pid + "/task"));
    for (const QString &task : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        std::ifstream children(tasks.filePath(task).toStdString() + "/children");
        for (std::string child; children >> child;)
            total += residentMegabytes(child);
    }
    return total;
}

double percentile(std::vector<double> values, double p)
{
    std::sort(values.begin(), values.end());
    const std::size_t at = std::min(
        values.size() - 1, static_cast<std::size_t>(p * static_cast<double>(values.size())));
    return values[at];
}

bool waitForPage(stv::WizardWindow &window, QSignalSpy &spy, int timeout = 600000)
{
    if (spy.count() == 0 && !spy.wait(timeout))
        return false;
    return QTest::qWaitFor([&] { return !window.livePreview()->busy(); }, timeout);
}

// Keys every 40 ms (a fast typist) into `field`: how long the window's thread is ever held,
// seen as the lateness of a 5 ms timer.
double typingHold(QWidget *field, int keys)
{
    double longest = 0;
    QElapsedTimer tick;
    QTimer probe;
    probe.setInterval(5);
    QObject::connect(&probe, &QTimer::timeout, [&] {
        if (tick.isValid())
            longest = std::max(longest, static_cast<double>(tick.nsecsElapsed()) / 1e6);
        tick.restart();
    });
    probe.start();
    for (int i = 0; i < keys; ++i) {
        QTest::keyClick(field, static_cast<char>('a' + i % 26));
        QTest::qWait(40);
    }
    probe.stop();
    return longest - 5;
}

void measure(int sections, int keys)
{
    QTemporaryDir dir;
    stv::setProgramFolder(dir.path());
    const QString file = dir.filePath(QStringLiteral("big.stv"));
    writeLargeProject(file, sections);
    stv::WizardWindow window;
    window.resize(1200, 700);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return;
    window.loadProjectFromPath(file);
    const double before = residentMegabytes("self");

    // The same typing without the pane, for comparison.
    window.setCurrentSection(sections / 2 + 1);
    window.showCurrentSection();
    QWidget *memo = window.findChild<QWidget *>(QStringLiteral("ParaMemo"));
    memo->setFocus();
    const double holdWithout = typingHold(memo, keys * 2);

    QElapsedTimer clock;
    clock.start();
    QSignalSpy shown(window.livePreview(), &stv::LivePreview::refreshed);
    QTest::keyClick(&window, Qt::Key_F5);
    if (!waitForPage(window, shown)) {
        std::printf("%d sections: the first page never came\n", sections);
        return;
    }
    const double firstPage = static_cast<double>(clock.elapsed());
    QTest::qWait(500);
    const double after = residentMegabytes("self");

    // The paragraph in the middle of the page.
    memo->setFocus();
    QSignalSpy moved(window.livePreview(), &stv::LivePreview::refreshed);
    waitForPage(window, moved);

    // One key at a time, each followed by its repaint.
    std::vector<double> repaint;
    for (int i = 0; i < keys; ++i) {
        QSignalSpy spy(window.livePreview(), &stv::LivePreview::refreshed);
        clock.restart();
        QTest::keyClick(memo, static_cast<char>('a' + i % 26));
        if (!waitForPage(window, spy))
            break;
        repaint.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
        QTest::qWait(20);
    }

    const double longestHold = typingHold(memo, keys * 2);
    QSignalSpy last(window.livePreview(), &stv::LivePreview::refreshed);
    waitForPage(window, last);

    std::printf("%7d sections: first page %.0f ms; keystroke to repaint median %.0f ms, "
                "95th percentile %.0f ms (%zu keys, %d ms pause included); window thread held "
                "at most %.0f ms while typing (%.0f ms without the pane); memory %.0f MB before "
                "the pane, %.0f MB with it "
                "(+%.0f MB, WebEngine's processes included)\n",
        sections, firstPage, percentile(repaint, 0.5), percentile(repaint, 0.95), repaint.size(),
        stv::LivePreview::PauseMilliseconds, longestHold, holdWithout, before, after,
        after - before);
    std::fflush(stdout);
    window.showLivePreview(false);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Benchmarks run as root here, where Chromium's sandbox refuses to start.
    if (::geteuid() == 0)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    stv::ScriptedDialogs dialogs;
    std::vector<int> counts;
    int keys = 40;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--keys" && i + 1 < argc)
            keys = std::stoi(argv[++i]);
        else
            counts.push_back(std::stoi(arg));
    }
    if (counts.empty())
        counts = { 100, 100000 };
    for (const int sections : counts)
        measure(sections, keys);
    return 0;
}
