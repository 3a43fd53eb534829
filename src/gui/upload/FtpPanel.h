#pragma once
// FtpPanel: a panel holding the remote directory listing. "Connect" logs in, changes to
// remoteDir and lists it; files dropped on the list are uploaded there and the list is read
// again; a double-click downloads the row's file when a save dialog is set; publish() sends a
// page and its files. The network work runs on a worker thread while a local event loop
// keeps the window painted; cancel() ends any step within about a second.

#include "core/upload/FtpClient.h"
#include "core/upload/Publisher.h"

#include <QFrame>
#include <QLabel>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

class QLocale;
class QTreeView;

namespace stv
{

class ListingModel;

// The save-file dialog used for downloads: what it is asked with.
struct SaveDialogSettings {
    QString title = QStringLiteral("Save As");
    QString defaultExt;
    QString filter = QStringLiteral("All Files (*.*)|*.*");
};

// The text the standard error box shows: a full stop is added when the message's last
// character comes after "." in the character table.
QString errorBoxText(const QString &message);

// "short date" or "short date long time" (time left out at midnight), in the given locale.
QString listingDateText(const CivilTime &when, const QLocale &locale);

class FtpPanel : public QFrame
{
    Q_OBJECT
    Q_PROPERTY(QString HostName READ hostName WRITE setHostName)
    Q_PROPERTY(QString LoginName READ loginName WRITE setLoginName)
    Q_PROPERTY(QString Password READ password WRITE setPassword)
    Q_PROPERTY(QString RemoteDir READ remoteDir WRITE setRemoteDir)
    Q_PROPERTY(bool Active READ isActive WRITE setActive)
public:
    explicit FtpPanel(QWidget *parent = nullptr);
    ~FtpPanel() override;

    QTreeView *fileList() const { return m_fileList; }
    ListingModel *fileListModel() const { return m_model; }
    // The connection of the last successful Connect; null before it or after a failed one.
    FtpClient *connection() const { return m_connected ? m_client.get() : nullptr; }

    QString hostName() const { return m_hostName; }
    void setHostName(const QString &v) { m_hostName = v; }
    QString loginName() const { return m_loginName; }
    void setLoginName(const QString &v) { m_loginName = v; }
    QString password() const { return m_password; }
    void setPassword(const QString &v) { m_password = v; }
    QString remoteDir() const { return m_remoteDir; }
    void setRemoteDir(const QString &v) { m_remoteDir = v; }
    bool isActive() const { return m_active; }
    void setActive(bool active);
    QLabel *statusLabel() const { return m_statusLabel; }
    void setStatusLabel(QLabel *label) { m_statusLabel = label; }
    void setSaveDialog(std::optional<SaveDialogSettings> dialog)
    {
        m_saveDialog = std::move(dialog);
    }
    void setLimits(const FtpLimits &limits);

    // What Connect does when remoteDir cannot be entered.
    enum class MissingFolder {
        Report, // a box says so, and the login folder is listed
        OfferToCreate, // for publishing: asks to create it, and goes nowhere else
    };
    // Logs in, changes to remoteDir and lists the directory. Returns the error message, empty
    // when it worked. Over SFTP an unknown host key is shown to the user, who may trust it.
    QString connectToServer(MissingFolder missing = MissingFolder::Report);
    // The first connection field Connect would refuse, as its message; empty when all are
    // there. Nothing is sent.
    QString missingField() const;
    // The server's path of the folder the connection stands in ("/home/me/site").
    QString remoteFolder() const;
    // Reads the listing of the connection's folder again.
    QString refreshListing();
    void showStatus(const QString &text);
    // What a drop does: uploads these local files in order under their bare names, reports
    // the ones that did not arrive in one box, connects again and fires changed.
    void uploadFiles(const QStringList &localPaths);
    // Publishes into the connection's folder; progressChanged reports on the way.
    PublishReport publish(const PublishRequest &request);
    // True while network work runs; a second Connect or drop is not started meanwhile.
    bool busy() const { return m_busy; }
    // The last Connect, drop, download or publish ended because it was cancelled.
    bool wasCancelled() const { return m_cancelled; }

    // Ends the running network work soon; may be called at any time.
    void cancel();

signals:
    void changed(QObject *sender);
    void doubleClicked(QObject *sender);
    void busyChanged(bool busy);
    void progressChanged(
        qint64 bytesDone, qint64 bytesTotal, int filesDone, int filesTotal, const QString &current);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    class BusyScope; // busy from its making to its end, however deeply nested
    QString connectNow(MissingFolder missing = MissingFolder::Report);
    QString enterMissingFolder();
    void openSelectedEntry();
    void clearRows();
    // Runs work on a worker thread while the window goes on; nothing when it was abandoned
    // (the program quitting), after which the panel starts over with a new client.
    template <typename Result>
    std::optional<Result> runWork(
        std::function<Result(FtpClient &)> work, const std::function<void()> &tick = {});
    // The unknown SSH host key question; true when the user trusts the key.
    bool askToTrustHostKey();
    QString connectionFailure(const FtpOutcome &outcome) const;
    // Asks where to keep the row's file and fetches it, with progress and Cancel.
    void downloadRow(const QModelIndex &row);
    void setBusy(bool busy);
    QStringList droppedFiles(const QEvent *event) const;

    QTreeView *m_fileList = nullptr;
    ListingModel *m_model = nullptr;
    std::shared_ptr<FtpClient> m_client;
    FtpLimits m_limits;
    bool m_connected = false;
    bool m_busy = false;
    bool m_cancelled = false;
    QString m_hostName;
    QString m_loginName;
    QString m_password;
    QString m_remoteDir;
    bool m_active = false;
    QPointer<QLabel> m_statusLabel;
    std::optional<SaveDialogSettings> m_saveDialog;
};

} // namespace stv
