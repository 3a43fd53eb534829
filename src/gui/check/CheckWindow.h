#pragma once
// "Check My Page": the problems a visitor would meet, one row each. A double-click takes the
// wizard to the section (or the fixed page) of the problem; "Check again" checks once more;
// the links to other sites are asked about only when the user presses "Check Links Online",
// with progress and Cancel.

#include "core/check/PageChecker.h"
#include "core/upload/LinkChecker.h"

#include <QDialog>

#include <functional>
#include <memory>
#include <vector>

class QLabel;
class QProgressBar;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace stv
{

class SectionHost;

class CheckWindow : public QDialog
{
    Q_OBJECT
public:
    // `check` stores the wizard's page and checks the project offline.
    using OfflineCheck = std::function<PageReport()>;
    CheckWindow(SectionHost &host, OfflineCheck check, QWidget *parent = nullptr);
    ~CheckWindow() override;

    // Checks offline and shows the problems ("Check again").
    void checkAgain();
    // Checks the links of the last offline check over the network until done or cancelled.
    void checkOnline();
    const std::vector<Problem> &problems() const { return m_problems; }
    // Tests shorten the time a link may take.
    void setLinkLimits(const LinkCheckLimits &limits) { m_limits = limits; }

signals:
    void onlineCheckFinished();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void showProblems();
    void jumpToProblem(QTreeWidgetItem *item);
    void cancelOnline();
    void setOnlineRunning(bool running);

    SectionHost &m_host;
    OfflineCheck m_check;
    LinkCheckLimits m_limits;
    PageReport m_report;
    std::vector<Problem> m_problems;
    struct OnlineRun;
    std::shared_ptr<OnlineRun> m_online;

    QTreeWidget *m_problemList = nullptr;
    QLabel *m_summary = nullptr;
    QProgressBar *m_progress = nullptr;
    QPushButton *m_checkAgainButton = nullptr;
    QPushButton *m_onlineButton = nullptr;
    QPushButton *m_cancelButton = nullptr;
    QPushButton *m_closeButton = nullptr;
};

} // namespace stv
