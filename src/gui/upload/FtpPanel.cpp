#include "gui/upload/FtpPanel.h"

#include "core/files/FileIO.h"
#include "gui/desktop/Encoding.h"
#include "gui/dialogs/Dialogs.h"

#include <QApplication>
#include <QDropEvent>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QMimeData>
#include <QStandardItemModel>
#include <QStringDecoder>
#include <QTreeView>
#include <QUrl>
#include <QVBoxLayout>

#include <thread>

namespace stv
{

namespace
{

constexpr int RemoteNameRole = Qt::UserRole + 1;

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

// Names come as UTF-8 from most servers; other bytes are read as Windows-1252.
QString remoteText(const std::string &bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    if (utf8.hasError())
        return fromCp1252(bytes);
    return text;
}

std::string localPathBytes(const QString &path)
{
    return QFile::encodeName(path).toStdString();
}

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
    , m_client(std::make_unique<FtpClient>())
{
    setFrameShape(QFrame::NoFrame);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(3, 3, 3, 3);

    m_model = new QStandardItemModel(0, 3, this);
    m_model->setHorizontalHeaderLabels(
        { QStringLiteral("Name"), QStringLiteral("Size"), QStringLiteral("Date") });
    m_model->setHeaderData(1, Qt::Horizontal,
        QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter), Qt::TextAlignmentRole);

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
    m_fileList->header()->setStretchLastSection(false);
    m_fileList->header()->resizeSection(0, 150);
    m_fileList->header()->resizeSection(1, 100);
    m_fileList->header()->resizeSection(2, 150);
    layout->addWidget(m_fileList);

    m_fileList->viewport()->installEventFilter(this);
    installEventFilter(this);
}

FtpPanel::~FtpPanel() = default;

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

void FtpPanel::clearRows()
{
    m_model->removeRows(0, m_model->rowCount());
}

void FtpPanel::addRow(const FtpEntry &entry)
{
    const ListingRow row = makeListingRow(entry);
    auto *name = new QStandardItem(remoteText(row.name));
    name->setData(QByteArray::fromStdString(entry.name), RemoteNameRole);
    name->setData(entry.isDirectory
            ? QStringLiteral("Folder")
            : QStringLiteral("File, %1 bytes").arg(QString::fromStdString(row.size)),
        Qt::AccessibleDescriptionRole);
    auto *size = new QStandardItem(QString::fromStdString(row.size));
    size->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    auto *date = new QStandardItem(row.date ? listingDateText(*row.date, QLocale()) : QString());
    m_model->appendRow({ name, size, date });
}

void FtpPanel::runInWorker(const std::function<void()> &work)
{
    m_busy = true;
    emit busyChanged(true);
    QApplication::setOverrideCursor(Qt::BusyCursor);
    QEventLoop loop;
    std::thread worker([&] {
        work();
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec();
    worker.join();
    QApplication::restoreOverrideCursor();
    m_busy = false;
    emit busyChanged(false);
}

QString FtpPanel::connectToServer()
{
    if (m_busy)
        return {};
    clearRows();
    if (m_hostName.isEmpty())
        return QStringLiteral("HostName must be specified");
    if (m_loginName.isEmpty())
        return QStringLiteral("LoginName must be specified");
    if (m_password.isEmpty())
        return QStringLiteral("Password must be specified");

    showStatus(QStringLiteral("Connecting to ") + m_hostName);
    m_connected = false;
    if (!m_client->startError().empty())
        return QString::fromStdString(m_client->startError());

    const std::string host = m_hostName.toStdString();
    const std::string user = m_loginName.toStdString();
    const std::string password = m_password.toStdString();
    FtpOutcome outcome;
    runInWorker([&] { outcome = m_client->login(host, user, password); });
    if (!outcome.ok)
        return QStringLiteral("Could not connect to ") + m_hostName;
    m_connected = true;
    showStatus(QStringLiteral("Connected to ") + m_hostName);

    const std::string dir = m_remoteDir.toStdString();
    runInWorker([&] { outcome = m_client->changeDirectory(dir); });
    if (!outcome.ok)
        Dialogs::info(this, QStringLiteral("Could not change to ") + m_remoteDir);

    std::vector<FtpEntry> entries;
    runInWorker([&] { outcome = m_client->list(entries); });
    if (!outcome.ok)
        return QStringLiteral("Could not list the directory: ")
            + QString::fromStdString(outcome.error);
    for (const FtpEntry &entry : entries)
        addRow(entry);
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
    clearRows();
    QStringList failures;
    for (const QString &path : localPaths) {
        const QString name = QFileInfo(path).fileName();
        if (connection() == nullptr) {
            failures << name + QStringLiteral(": not connected to a server");
            continue;
        }
        const std::string local = localPathBytes(path);
        const std::string remote = name.toStdString();
        FtpOutcome outcome;
        runInWorker([&] { outcome = m_client->upload(local, remote); });
        if (!outcome.ok)
            failures << name + QStringLiteral(": ") + QString::fromStdString(outcome.error);
    }
    if (!failures.isEmpty()) {
        const QString head = failures.size() == 1
            ? QStringLiteral("This file was not uploaded:")
            : QStringLiteral("These %1 files were not uploaded:").arg(failures.size());
        Dialogs::error(this, head + QStringLiteral("\n\n") + failures.join(QLatin1Char('\n')));
    }
    const QString error = connectToServer();
    if (!error.isEmpty())
        Dialogs::error(this, errorBoxText(error));
    emit changed(this);
}

void FtpPanel::openSelectedEntry()
{
    if (m_busy)
        return;
    const QModelIndexList rows = m_fileList->selectionModel()->selectedRows(0);
    if (m_saveDialog && !rows.isEmpty()) {
        const QString name = rows.first().data().toString();
        const std::string remote = rows.first().data(RemoteNameRole).toByteArray().toStdString();
        const QString path = Dialogs::askSaveFile(
            this, m_saveDialog->title, name, m_saveDialog->defaultExt, m_saveDialog->filter);
        if (!path.isEmpty()) {
            AtomicFile file(localPathBytes(path));
            FtpOutcome outcome;
            if (connection() == nullptr)
                outcome = { false, "not connected to a server" };
            else if (!file.open())
                outcome = { false, file.error() };
            else
                runInWorker([&] {
                    outcome = m_client->download(remote, file);
                    if (outcome.ok && !file.commit())
                        outcome = { false, file.error() };
                });
            if (!outcome.ok)
                Dialogs::error(this,
                    QStringLiteral("Could not download ") + name + QStringLiteral(": ")
                        + QString::fromStdString(outcome.error));
        }
    }
    emit doubleClicked(m_fileList);
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
