#include "gui/check/CheckWindow.h"

#include "gui/desktop/Encoding.h"
#include "gui/sections/SectionHost.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <thread>

namespace stv
{

// The online check's state, shared with its thread: a window closed while the check runs
// leaves the thread to finish on its own.
struct CheckWindow::OnlineRun {
    std::atomic<bool> cancel { false };
    std::atomic<bool> finished { false };
    std::atomic<std::size_t> done { 0 };
    std::atomic<std::size_t> total { 0 };
    std::vector<Problem> problems;
};

CheckWindow::CheckWindow(SectionHost &host, OfflineCheck check, QWidget *parent)
    : QDialog(parent)
    , m_host(host)
    , m_check(std::move(check))
{
    setObjectName(QStringLiteral("CheckMyPage"));
    setWindowTitle(QStringLiteral("Check My Page"));
    resize(800, 340);

    m_summary = new QLabel(this);
    m_summary->setObjectName(QStringLiteral("CheckSummary"));
    m_summary->setWordWrap(true);

    m_problemList = new QTreeWidget(this);
    m_problemList->setObjectName(QStringLiteral("ProblemList"));
    m_problemList->setHeaderLabels(
        { QStringLiteral("Where"), QStringLiteral("Problem"), QStringLiteral("What is wrong") });
    m_problemList->setRootIsDecorated(false);
    m_problemList->setUniformRowHeights(true);
    m_problemList->setWordWrap(false);
    m_problemList->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    m_problemList->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    m_problemList->header()->setStretchLastSection(true);
    connect(m_problemList, &QTreeWidget::itemActivated, this, &CheckWindow::jumpToProblem);

    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("CheckProgress"));
    m_progress->setVisible(false);

    m_checkAgainButton = new QPushButton(QStringLiteral("Check &again"), this);
    m_checkAgainButton->setObjectName(QStringLiteral("CheckAgainBtn"));
    m_onlineButton = new QPushButton(QStringLiteral("Check &Links Online"), this);
    m_onlineButton->setObjectName(QStringLiteral("CheckOnlineBtn"));
    m_onlineButton->setToolTip(
        QStringLiteral("Ask the sites the page links to whether the links work"));
    m_cancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    m_cancelButton->setObjectName(QStringLiteral("CancelBtn"));
    m_cancelButton->setVisible(false);
    m_closeButton = new QPushButton(QStringLiteral("&Close"), this);
    m_closeButton->setObjectName(QStringLiteral("CloseBtn"));
    connect(m_checkAgainButton, &QPushButton::clicked, this, &CheckWindow::checkAgain);
    connect(m_onlineButton, &QPushButton::clicked, this, &CheckWindow::checkOnline);
    connect(m_cancelButton, &QPushButton::clicked, this, &CheckWindow::cancelOnline);
    connect(m_closeButton, &QPushButton::clicked, this, &QDialog::close);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_checkAgainButton);
    buttons->addWidget(m_onlineButton);
    buttons->addWidget(m_progress, 1);
    buttons->addWidget(m_cancelButton);
    buttons->addStretch();
    buttons->addWidget(m_closeButton);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_summary);
    layout->addWidget(m_problemList, 1);
    layout->addLayout(buttons);
}

CheckWindow::~CheckWindow()
{
    if (m_online)
        m_online->cancel = true;
}

void CheckWindow::checkAgain()
{
    cancelOnline();
    m_report = m_check();
    m_problems = m_report.problems;
    showProblems();
}

void CheckWindow::showProblems()
{
    m_problemList->clear();
    for (const Problem &problem : m_problems) {
        const QString where = problem.section == 0
            ? QStringLiteral("Page")
            : QStringLiteral("Section %1").arg(problem.section);
        auto *item = new QTreeWidgetItem(m_problemList,
            { where, QString::fromStdString(problem.code), fromCp1252(problem.message) });
        item->setToolTip(2, fromCp1252(problem.message));
        item->setData(0, Qt::UserRole, problem.section);
        item->setData(1, Qt::UserRole, QString::fromStdString(problem.code));
    }
    const auto count = static_cast<int>(m_problems.size());
    QString text = count == 0 ? QStringLiteral("Nothing wrong was found.")
        : count == 1          ? QStringLiteral("1 problem was found.")
                              : QStringLiteral("%1 problems were found.").arg(count);
    if (count > 0)
        text += QStringLiteral(" Double-click a problem to go to its section.");
    m_summary->setText(text);
    if (count > 0)
        m_problemList->setCurrentItem(m_problemList->topLevelItem(0));
}

void CheckWindow::jumpToProblem(QTreeWidgetItem *item)
{
    if (item == nullptr)
        return;
    const int section = item->data(0, Qt::UserRole).toInt();
    int position = section - 1;
    if (section == 0) {
        // The page's own problems belong to the title page or the background page.
        position = item->data(1, Qt::UserRole).toString() == QStringLiteral("empty-title")
            ? TitleBarPosition
            : BackgroundPosition;
    }
    if (position >= static_cast<int>(m_host.sectionList().size()))
        return; // the project changed since the check
    m_host.storeCurrentPage();
    m_host.setCurrentSection(position);
    m_host.showCurrentSection();
}

void CheckWindow::checkOnline()
{
    if (m_online)
        return;
    checkAgain();
    auto run = std::make_shared<OnlineRun>();
    run->total = m_report.links.size();
    m_online = run;
    setOnlineRunning(true);
    std::thread([run, links = m_report.links, limits = m_limits] {
        run->problems
            = checkLinks(links, limits, run->cancel, [&run](std::size_t done, std::size_t total) {
                  run->total = total;
                  run->done = done;
              });
        run->finished = true;
    }).detach();

    auto *timer = new QTimer(this);
    timer->setInterval(50);
    connect(timer, &QTimer::timeout, this, [this, run, timer] {
        m_progress->setMaximum(static_cast<int>(std::max<std::size_t>(run->total, 1)));
        m_progress->setValue(static_cast<int>(run->done.load()));
        if (!run->finished)
            return;
        timer->deleteLater();
        if (m_online != run)
            return; // cancelled: its findings are not shown
        m_online.reset();
        for (const Problem &problem : run->problems)
            m_problems.push_back(problem);
        std::stable_sort(m_problems.begin(), m_problems.end(),
            [](const Problem &a, const Problem &b) { return a.section < b.section; });
        setOnlineRunning(false);
        showProblems();
        emit onlineCheckFinished();
    });
    timer->start();
}

void CheckWindow::cancelOnline()
{
    if (!m_online)
        return;
    m_online->cancel = true;
    m_online.reset();
    setOnlineRunning(false);
    showProblems();
    m_summary->setText(m_summary->text() + QStringLiteral(" The link check was cancelled."));
    emit onlineCheckFinished();
}

void CheckWindow::setOnlineRunning(bool running)
{
    m_progress->setVisible(running);
    m_progress->setValue(0);
    m_cancelButton->setVisible(running);
    m_onlineButton->setEnabled(!running);
    m_checkAgainButton->setEnabled(!running);
    if (running)
        m_summary->setText(QStringLiteral("Checking %1 links to other sites...")
                               .arg(static_cast<int>(m_report.links.size())));
}

void CheckWindow::closeEvent(QCloseEvent *event)
{
    cancelOnline();
    QDialog::closeEvent(event);
}

} // namespace stv
