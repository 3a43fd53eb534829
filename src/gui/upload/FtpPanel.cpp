#include "gui/upload/FtpPanel.h"

#include "core/files/FileIO.h"
#include "core/upload/FtpListing.h"
#include "gui/dialogs/Dialogs.h"
#include "gui/upload/ListingModel.h"
#include "gui/upload/NetworkWork.h"

#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QMimeData>
#include <QTreeView>
#include <QUrl>
#include <QVBoxLayout>

#include <atomic>
#include <mutex>

namespace stv
{

namespace
{

// The locale's long time format without its time-zone part: listing times are shown as the
// server gave them, so naming a zone would be wrong.
QString longTimeFormatWithoutZone(const QLocale &locale)
{
    const QString format = locale.timeFormat(QLocale::LongFormat);
    QString out;
    bool quoted = false;
    for (QChar c : format) {
        if (c == QLatin1Char('\''))
            quoted = !quoted;
        if (!quoted && c == QLatin1Char('t'))
            continue;
        out += c;
    }
    return out.simplified();
}

std::string localPathBytes(const QString &path)
{
    return QFile::encodeName(path).toStdString();
}

QString text(const std::string &s)
{
    return QString::fromStdString(s);
}

const QString CancelledText = QStringLiteral("Cancelled");

// The latest progress of a publish, written by the worker and read by the window.
struct SharedProgress {
    std::mutex mutex;
    PublishProgress value;
};

} // namespace

QString errorBoxText(const QString &message)
{
    if (!message.isEmpty() && message.back().unicode() > u'.')
        return message + QLatin1Char('.');
    return message;
}

QString listingDateText(const CivilTime &when, const QLocale &locale)
{
    const QDate date(when.year, when.month, when.day);
    if (!date.isValid())
        return {};
    QString text = locale.toString(date, QLocale::ShortFormat);
    if (when.hour != 0 || when.minute != 0 || when.second != 0)
        text += QLatin1Char(' ')
            + locale.toString(
                QTime(when.hour, when.minute, when.second), longTimeFormatWithoutZone(locale));
    return text;
}

FtpPanel::FtpPanel(QWidget *parent)
    : QFrame(parent)
    , m_client(std::make_shared<FtpClient>())
{
    setFrameShape(QFrame::NoFrame);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(3, 3, 3, 3);

    m_model = new ListingModel(this);
    m_fileList = new QTreeView(this);
    m_fileList->setObjectName(QStringLiteral("FileList"));
    m_fileList->setAccessibleName(QStringLiteral("Files on the server"));
    m_fileList->setModel(m_model);
    m_fileList->setRootIsDecorated(false);
    m_fileList->setItemsExpandable(false);
    m_fileList->setUniformRowHeights(true);
    m_fileList->setAllColumnsShowFocus(true);
    m_fileList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_fileList->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_fileList->setSelectionMode(QAbstractItemView::SingleSelection);
    m_fileList->setDragDropMode(QAbstractItemView::NoDragDrop);
    m_fileList->setTextElideMode(Qt::ElideRight);
    m_fileList->header()->setStretchLastSection(false);
    m_fileList->header()->resizeSection(0, 150);
    m_fileList->header()->resizeSection(1, 100);
    m_fileList->header()->resizeSection(2, 150);
    layout->addWidget(m_fileList);

    m_fileList->viewport()->installEventFilter(this);
    installEventFilter(this);
}

FtpPanel::~FtpPanel()
{
    // A worker that is still running holds its own share of the client and ends by itself.
    m_client->cancel();
}

void FtpPanel::setLimits(const FtpLimits &limits)
{
    m_limits = limits;
    m_client->setLimits(limits);
}

void FtpPanel::setActive(bool active)
{
    if (active == m_active)
        return;
    m_active = active;
    setAcceptDrops(active);
    m_fileList->setAcceptDrops(active);
    m_fileList->viewport()->setAcceptDrops(active);
}

void FtpPanel::showStatus(const QString &text)
{
    if (m_statusLabel == nullptr)
        return;
    m_statusLabel->setText(text);
    m_statusLabel->repaint();
}

void FtpPanel::cancel()
{
    if (m_busy)
        m_cancelled = true;
    m_client->cancel();
}

void FtpPanel::clearRows()
{
    m_model->clear();
}

void FtpPanel::setBusy(bool busy)
{
    if (busy == m_busy)
        return;
    m_busy = busy;
    if (busy)
        QApplication::setOverrideCursor(Qt::BusyCursor);
    else
        QApplication::restoreOverrideCursor();
    emit busyChanged(busy);
}

class FtpPanel::BusyScope
{
public:
    explicit BusyScope(FtpPanel &panel)
        : m_panel(panel)
        , m_outer(!panel.m_busy)
    {
        m_panel.setBusy(true);
    }
    ~BusyScope()
    {
        if (m_outer)
            m_panel.setBusy(false);
    }
    BusyScope(const BusyScope &) = delete;
    BusyScope &operator=(const BusyScope &) = delete;

private:
    FtpPanel &m_panel;
    bool m_outer;
};

template <typename Result>
std::optional<Result> FtpPanel::runWork(
    std::function<Result(FtpClient &)> work, const std::function<void()> &tick)
{
    BusyScope busy(*this);
    std::optional<Result> result = runOffThread<Result>(m_client, std::move(work), tick);
    if (!result) {
        // The abandoned worker keeps the old client; later work gets a new one.
        m_client = std::make_shared<FtpClient>();
        m_client->setLimits(m_limits);
        m_connected = false;
        m_cancelled = true;
    }
    return result;
}

bool FtpPanel::askToTrustHostKey()
{
    const std::optional<HostKey> &key = m_client->offeredHostKey();
    if (!key)
        return false;
    const QString host = text(m_client->address().host);
    const QString question
        = QStringLiteral("The SSH host key of %1 is not known to this computer.\n"
                         "\nIts fingerprint is\n%2\n\n"
                         "Compare it with the fingerprint your provider gives "
                         "you before you trust it.")
              .arg(host, text(key->fingerprint));
    const Answer answer = Dialogs::askHostKey(this, question);
    if (answer != Answer::Ok && answer != Answer::Yes)
        return false;
    const FtpOutcome trusted = m_client->trustOfferedHostKey(answer == Answer::Yes);
    if (!trusted.ok)
        Dialogs::error(this,
            errorBoxText(
                QStringLiteral("The key is trusted this once only: ") + text(trusted.error)));
    return true;
}

QString FtpPanel::connectionFailure(const FtpOutcome &outcome) const
{
    QString message = QStringLiteral("Could not connect to ") + m_hostName;
    // Refusals for safety's sake say why; the others keep the short message.
    if (outcome.problem == FtpProblem::Security || outcome.problem == FtpProblem::UnknownHostKey
        || outcome.problem == FtpProblem::ChangedHostKey)
        message += QStringLiteral(": ") + text(outcome.error);
    return message;
}

QString FtpPanel::connectToServer(MissingFolder missing)
{
    if (m_busy)
        return {};
    BusyScope busy(*this);
    return connectNow(missing);
}

QString FtpPanel::remoteFolder() const
{
    return text(m_client->currentFolder());
}

QString FtpPanel::missingField() const
{
    if (m_hostName.isEmpty())
        return QStringLiteral("HostName must be specified");
    if (m_loginName.isEmpty())
        return QStringLiteral("LoginName must be specified");
    const std::optional<RemoteAddress> address = parseHostField(m_hostName.toStdString());
    // SFTP logs in with the SSH agent or the user's keys when no password is given.
    const bool keyLogin = address && address->protocol == Protocol::Sftp;
    if (m_password.isEmpty() && !keyLogin)
        return QStringLiteral("Password must be specified");
    return {};
}

QString FtpPanel::connectNow(MissingFolder missing)
{
    m_cancelled = false;
    clearRows();
    if (const QString missing = missingField(); !missing.isEmpty())
        return missing;

    showStatus(QStringLiteral("Connecting to ") + m_hostName);
    m_connected = false;
    if (!m_client->startError().empty())
        return text(m_client->startError());

    m_client->clearCancel();
    const std::string host = m_hostName.toStdString();
    const std::string user = m_loginName.toStdString();
    const std::string password = m_password.toStdString();
    const auto login
        = [host, user, password](FtpClient &c) { return c.login(host, user, password); };
    std::optional<FtpOutcome> outcome = runWork<FtpOutcome>(login);
    if (outcome && outcome->problem == FtpProblem::UnknownHostKey) {
        if (!askToTrustHostKey())
            return connectionFailure(*outcome);
        outcome = runWork<FtpOutcome>(login);
    }
    if (!outcome || outcome->problem == FtpProblem::Cancelled || m_cancelled) {
        m_cancelled = true;
        showStatus(CancelledText);
        return CancelledText;
    }
    if (!outcome->ok)
        return connectionFailure(*outcome);
    m_connected = true;
    showStatus(QStringLiteral("Connected to ") + m_hostName);

    const std::string dir = m_remoteDir.toStdString();
    outcome = runWork<FtpOutcome>([dir](FtpClient &c) { return c.changeDirectory(dir); });
    if (!outcome || outcome->problem == FtpProblem::Cancelled) {
        showStatus(CancelledText);
        return CancelledText;
    }
    if (!outcome->ok && missing == MissingFolder::OfferToCreate) {
        if (const QString error = enterMissingFolder(); !error.isEmpty())
            return error;
    } else if (!outcome->ok) {
        Dialogs::info(this, QStringLiteral("Could not change to ") + m_remoteDir);
    }
    return refreshListing();
}

QString FtpPanel::enterMissingFolder()
{
    // Publishing into the login folder instead would replace whatever page stands there.
    const QString question
        = QStringLiteral("Could not change to %1 on %2, so nothing has been sent.\n\n"
                         "Create the folder %1 and publish into it?")
              .arg(m_remoteDir, m_hostName);
    if (Dialogs::confirm(this, question, Buttons::NoOk) != Answer::Ok) {
        m_cancelled = true;
        showStatus(QStringLiteral("Not published: the folder %1 is not there").arg(m_remoteDir));
        return CancelledText;
    }
    const std::string dir = m_remoteDir.toStdString();
    const std::optional<FtpOutcome> made = runWork<FtpOutcome>([dir](FtpClient &c) {
        FtpOutcome outcome = c.makeDirectory(dir);
        return outcome.ok ? c.changeDirectory(dir) : outcome;
    });
    if (!made || made->problem == FtpProblem::Cancelled) {
        m_cancelled = true;
        showStatus(CancelledText);
        return CancelledText;
    }
    if (!made->ok)
        return QStringLiteral("Could not create the folder ") + m_remoteDir + QStringLiteral(": ")
            + text(made->error);
    return {};
}

QString FtpPanel::refreshListing()
{
    if (connection() == nullptr)
        return QStringLiteral("not connected to a server");
    BusyScope busy(*this);
    using Listing = std::pair<FtpOutcome, std::vector<FtpEntry>>;
    std::optional<Listing> listed = runWork<Listing>([](FtpClient &c) {
        Listing l;
        l.first = c.list(l.second);
        return l;
    });
    if (!listed || listed->first.problem == FtpProblem::Cancelled) {
        m_cancelled = true;
        showStatus(CancelledText);
        return CancelledText;
    }
    if (!listed->first.ok)
        return QStringLiteral("Could not list the directory: ") + text(listed->first.error);
    m_model->setEntries(std::move(listed->second));
    if (!listed->first.note.empty())
        Dialogs::info(this, text(listed->first.note));
    return {};
}

void FtpPanel::uploadFiles(const QStringList &localPaths)
{
    if (m_busy)
        return;
    if (QWidget *top = window()) {
        top->raise();
        top->activateWindow();
    }
    BusyScope busy(*this);
    m_cancelled = false;
    m_client->clearCancel();
    clearRows();
    QStringList failures;
    for (const QString &path : localPaths) {
        const QString name = QFileInfo(path).fileName();
        if (connection() == nullptr) {
            failures << name + QStringLiteral(": not connected to a server");
            continue;
        }
        if (m_cancelled) {
            failures << name + QStringLiteral(": cancelled");
            continue;
        }
        const std::string local = localPathBytes(path);
        const std::string remote = name.toStdString();
        const std::optional<FtpOutcome> outcome = runWork<FtpOutcome>(
            [local, remote](FtpClient &c) { return c.upload(local, remote); });
        if (!outcome)
            failures << name + QStringLiteral(": cancelled");
        else if (!outcome->ok)
            failures << name + QStringLiteral(": ") + text(outcome->error);
    }
    if (!failures.isEmpty()) {
        const QString head = failures.size() == 1
            ? QStringLiteral("This file was not uploaded:")
            : QStringLiteral("These %1 files were not uploaded:").arg(failures.size());
        Dialogs::error(this, head + QStringLiteral("\n\n") + failures.join(QLatin1Char('\n')));
    }
    if (m_cancelled) {
        showStatus(CancelledText);
    } else {
        const QString error = connectNow();
        if (!error.isEmpty() && !m_cancelled)
            Dialogs::error(this, errorBoxText(error));
    }
    emit changed(this);
}

PublishReport FtpPanel::publish(const PublishRequest &request)
{
    PublishReport report;
    if (m_busy || connection() == nullptr) {
        report.error = "not connected to a server";
        return report;
    }
    BusyScope busy(*this);
    m_cancelled = false;
    m_client->clearCancel();
    auto progress = std::make_shared<SharedProgress>();
    const auto work = [request, progress](FtpClient &c) {
        return publishPage(c, request, [progress](const PublishProgress &p) {
            const std::lock_guard<std::mutex> lock(progress->mutex);
            progress->value = p;
        });
    };
    const auto tick = [this, progress] {
        PublishProgress p;
        {
            const std::lock_guard<std::mutex> lock(progress->mutex);
            p = progress->value;
        }
        emit progressChanged(p.bytesDone, p.bytesTotal, p.filesDone, p.filesTotal,
            QString::fromStdString(p.current));
    };
    std::optional<PublishReport> done = runWork<PublishReport>(work, tick);
    if (!done) {
        report.error = "the work was cancelled";
        report.cancelled = true;
        return report;
    }
    m_cancelled = done->cancelled;
    return std::move(*done);
}

namespace
{

// Passes the bytes of a download on and counts them for the progress bar.
class CountingSink : public ByteSink
{
public:
    explicit CountingSink(ByteSink &inner)
        : m_inner(inner)
    {
    }
    bool write(std::string_view bytes) override
    {
        if (!m_inner.write(bytes))
            return false;
        m_count += static_cast<qint64>(bytes.size());
        return true;
    }
    std::string error() const override { return m_inner.error(); }
    qint64 count() const { return m_count; }

private:
    ByteSink &m_inner;
    std::atomic<qint64> m_count = 0;
};

} // namespace

void FtpPanel::openSelectedEntry()
{
    if (m_busy)
        return;
    const QModelIndexList rows = m_fileList->selectionModel()->selectedRows(0);
    if (m_saveDialog && !rows.isEmpty())
        downloadRow(rows.first());
    emit doubleClicked(m_fileList);
}

void FtpPanel::downloadRow(const QModelIndex &row)
{
    const QString name = row.data().toString();
    const std::string remote = row.data(ListingModel::RemoteNameRole).toByteArray().toStdString();
    // The server chose the name: the proposal keeps it in the folder and visible. The dialog
    // asks before it replaces a file.
    const QString proposed = QDir::homePath() + QLatin1Char('/')
        + QString::fromStdString(localNameForDownload(name.toStdString()));
    const QString path = Dialogs::askSaveFile(
        this, m_saveDialog->title, proposed, m_saveDialog->defaultExt, m_saveDialog->filter);
    if (path.isEmpty())
        return;
    BusyScope busy(*this);
    const qint64 size = m_model->index(row.row(), 1).data().toString().toLongLong();
    auto file = std::make_shared<AtomicFile>(localPathBytes(path));
    auto counter = std::make_shared<CountingSink>(*file);
    std::optional<FtpOutcome> outcome;
    m_cancelled = false;
    m_client->clearCancel();
    showStatus(QStringLiteral("Downloading ") + name);
    const auto tick
        = [this, counter, size] { emit progressChanged(counter->count(), size, 0, 1, QString()); };
    if (connection() == nullptr)
        outcome = FtpOutcome::fail("not connected to a server");
    else if (remote.empty())
        outcome = FtpOutcome::fail("the name is too long to fetch");
    else if (!file->open())
        outcome = FtpOutcome::fail(file->error());
    else
        outcome = runWork<FtpOutcome>(
            [remote, file, counter](FtpClient &c) {
                // The old file stays whole until the whole new one is there.
                FtpOutcome fetched = c.download(remote, *counter);
                if (fetched.ok && !file->commit())
                    fetched = FtpOutcome::fail(file->error());
                return fetched;
            },
            tick);
    if (!outcome || outcome->problem == FtpProblem::Cancelled) {
        showStatus(QStringLiteral("Cancelled"));
        return;
    }
    if (!outcome->ok) {
        showStatus(QString());
        Dialogs::error(this,
            QStringLiteral("Could not download ") + name + QStringLiteral(": ")
                + text(outcome->error));
        return;
    }
    showStatus(QStringLiteral("Downloaded ") + name);
}

QStringList FtpPanel::droppedFiles(const QEvent *event) const
{
    QStringList files;
    const QMimeData *data = static_cast<const QDropEvent *>(event)->mimeData();
    if (data == nullptr || !data->hasUrls())
        return files;
    for (const QUrl &url : data->urls())
        if (url.isLocalFile())
            files << url.toLocalFile();
    return files;
}

bool FtpPanel::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != this && watched != m_fileList->viewport())
        return QFrame::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto *move = static_cast<QDragMoveEvent *>(event);
        if (m_active && !m_busy && !droppedFiles(event).isEmpty())
            move->acceptProposedAction();
        else
            move->ignore();
        return true;
    }
    case QEvent::Drop: {
        auto *drop = static_cast<QDropEvent *>(event);
        const QStringList files = droppedFiles(event);
        if (!m_active || m_busy || files.isEmpty()) {
            drop->ignore();
            return true;
        }
        drop->acceptProposedAction();
        // The drop finishes first; the uploads run once the event has been answered.
        QMetaObject::invokeMethod(
            this, [this, files] { uploadFiles(files); }, Qt::QueuedConnection);
        return true;
    }
    case QEvent::MouseButtonDblClick:
        if (watched == m_fileList->viewport())
            QMetaObject::invokeMethod(this, &FtpPanel::openSelectedEntry, Qt::QueuedConnection);
        return false;
    default:
        return QFrame::eventFilter(watched, event);
    }
}

} // namespace stv
