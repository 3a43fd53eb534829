#include "gui/upload/UploadWindow.h"

#include "core/settings/ProgramFolderPath.h"
#include "core/settings/Settings.h"
#include "core/upload/PlainFtpConsent.h"
#include "core/upload/RemoteAddress.h"
#include "gui/desktop/Encoding.h"
#include "gui/dialogs/Dialogs.h"
#include "gui/upload/FtpPanel.h"

#include <QApplication>
#include <QCheckBox>
#include <QFormLayout>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace stv
{

namespace
{

QLineEdit *addEdit(QFormLayout *form, const char *objectName, const QString &label)
{
    auto *edit = new QLineEdit;
    edit->setObjectName(QString::fromLatin1(objectName));
    // 229 wide where the labels leave room for it; narrower rather than hiding a label.
    edit->setMinimumWidth(120);
    edit->setMaximumWidth(229);
    edit->setFixedHeight(21);
    form->addRow(label, edit);
    return edit;
}

QPushButton *addButton(const char *objectName, const QString &caption)
{
    auto *button = new QPushButton(caption);
    button->setObjectName(QString::fromLatin1(objectName));
    button->setAutoDefault(false);
    return button;
}

} // namespace

QString securityNote(const QString &hostField)
{
    if (hostField.trimmed().isEmpty())
        return {};
    const std::optional<RemoteAddress> address = parseHostField(hostField.toStdString());
    if (address && address->protocol != Protocol::Ftp)
        return {};
    return QStringLiteral("Plain FTP: the password travels unencrypted");
}

UploadWindow::UploadWindow(QWidget *parent)
    : QDialog(parent,
        Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
            | Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("FTPForm"));
    setWindowTitle(QStringLiteral("Simple FTP Client"));
    resize(407, 415);

    auto *group = new QGroupBox(QStringLiteral("Connection Details"));
    group->setMinimumSize(314, 138);
    group->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    auto *form = new QFormLayout(group);
    form->setContentsMargins(6, 4, 6, 4);
    form->setVerticalSpacing(3);
    form->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_hostEdit = addEdit(form, "HostEdit", QStringLiteral("Host Name"));
    m_userEdit = addEdit(form, "UserIDEdit", QStringLiteral("User Name/ID"));
    m_passwordEdit = addEdit(form, "PasswordEdit", QStringLiteral("Password"));
    m_passwordEdit->setEchoMode(QLineEdit::Password);
    m_keepPasswordBox = new QCheckBox(QStringLiteral("&Keep the password in the project file"));
    m_keepPasswordBox->setObjectName(QStringLiteral("KeepPasswordCB"));
    m_keepPasswordBox->setToolTip(QStringLiteral(
        "Unticked, a saved project leaves its password in the desktop's keyring when one runs"));
    // The whole row: the field column alone would cut its caption short.
    form->addRow(m_keepPasswordBox);
    m_initialDirEdit = addEdit(form, "InitDirEdit", QStringLiteral("Initial Directory"));

    auto *separator = new QFrame;
    separator->setFrameShape(QFrame::VLine);
    separator->setFrameShadow(QFrame::Sunken);

    m_connectButton = addButton("Button1", QStringLiteral("&Connect"));
    m_connectButton->setFixedSize(75, 67);
    m_publishButton = addButton("PublishButton", QStringLiteral("&Publish"));
    m_publishButton->setFixedSize(75, 67);
    m_publishButton->setEnabled(false);
    auto *buttons = new QVBoxLayout;
    buttons->setSpacing(4);
    buttons->addWidget(m_connectButton);
    buttons->addWidget(m_publishButton);

    auto *top = new QHBoxLayout;
    top->setContentsMargins(4, 4, 4, 4);
    top->addWidget(group);
    top->addWidget(separator);
    top->addLayout(buttons);
    auto *band = new QWidget;
    band->setLayout(top);
    band->setFixedHeight(146); // the designed 124, and the row of the password's tick

    m_ftpPanel = new FtpPanel;
    m_ftpPanel->setObjectName(QStringLiteral("ftp"));

    m_progressBar = new QProgressBar;
    m_progressBar->setObjectName(QStringLiteral("PublishProgress"));
    m_cancelButton = addButton("CancelButton", QStringLiteral("Cancel"));
    auto *progress = new QHBoxLayout;
    progress->setContentsMargins(6, 0, 6, 0);
    progress->addWidget(m_progressBar, 1);
    progress->addWidget(m_cancelButton);
    m_progressRow = new QWidget;
    m_progressRow->setLayout(progress);
    m_progressRow->setVisible(false);

    // The status and the plain-FTP note each have a row of their own and wrap, so neither
    // hides the other. A long status ("Sending NAME into FOLDER on HOST") takes more lines,
    // never a wider window.
    m_statusLabel = new QLabel;
    m_statusLabel->setObjectName(QStringLiteral("Label5"));
    m_statusLabel->setMinimumHeight(20);
    m_statusLabel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Minimum);
    m_statusLabel->setWordWrap(true);
    m_statusLabel->setContentsMargins(6, 0, 6, 0);
    m_securityLabel = new QLabel;
    m_securityLabel->setObjectName(QStringLiteral("SecurityLabel"));
    m_securityLabel->setMinimumHeight(20);
    m_securityLabel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Minimum);
    m_securityLabel->setWordWrap(true);
    m_securityLabel->setContentsMargins(6, 0, 6, 0);
    m_securityLabel->setStyleSheet(QStringLiteral("color: #a04000;"));
    m_securityLabel->setVisible(false);
    auto *status = new QVBoxLayout;
    status->setContentsMargins(0, 0, 0, 0);
    status->setSpacing(0);
    status->addWidget(m_securityLabel);
    status->addWidget(m_statusLabel);
    m_ftpPanel->setActive(true);
    // A double-click on a remote file downloads it.
    m_ftpPanel->setSaveDialog(SaveDialogSettings {});
    m_ftpPanel->setStatusLabel(m_statusLabel);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(band);
    layout->addWidget(m_ftpPanel, 1);
    layout->addWidget(m_progressRow);
    layout->addLayout(status);

    connect(m_connectButton, &QPushButton::clicked, this, &UploadWindow::showContents);
    connect(m_publishButton, &QPushButton::clicked, this, &UploadWindow::publish);
    connect(m_cancelButton, &QPushButton::clicked, m_ftpPanel, &FtpPanel::cancel);
    connect(m_ftpPanel, &FtpPanel::busyChanged, this, &UploadWindow::showBusy);
    connect(m_ftpPanel, &FtpPanel::progressChanged, this, &UploadWindow::showProgress);
    connect(m_hostEdit, &QLineEdit::textChanged, this, [this](const QString &host) {
        const QString note = securityNote(host);
        m_securityLabel->setText(note);
        m_securityLabel->setVisible(!note.isEmpty());
    });
    // A program that quits stops the network work first.
    connect(qApp, &QCoreApplication::aboutToQuit, m_ftpPanel, &FtpPanel::cancel);
}

void UploadWindow::setSettings(const FtpSettings &settings)
{
    m_hostEdit->setText(fromCp1252(settings.host));
    m_userEdit->setText(fromCp1252(settings.userId));
    m_passwordEdit->setText(fromCp1252(settings.password));
    m_initialDirEdit->setText(fromCp1252(settings.initDir));
    m_keepPasswordBox->setChecked(settings.keepPasswordInFile);
}

FtpSettings UploadWindow::settings() const
{
    return { toCp1252(m_hostEdit->text()), toCp1252(m_userEdit->text()),
        toCp1252(m_passwordEdit->text()), toCp1252(m_initialDirEdit->text()),
        m_keepPasswordBox->isChecked() };
}

void UploadWindow::setPublishPreparer(PublishPreparer preparer)
{
    m_preparer = std::move(preparer);
    m_publishButton->setEnabled(m_preparer != nullptr && !m_ftpPanel->busy());
}

void UploadWindow::copyFieldsToPanel()
{
    m_ftpPanel->setHostName(m_hostEdit->text());
    m_ftpPanel->setLoginName(m_userEdit->text());
    m_ftpPanel->setRemoteDir(m_initialDirEdit->text());
    m_ftpPanel->setPassword(m_passwordEdit->text());
}

void UploadWindow::focusMissingField()
{
    for (QLineEdit *edit : { m_hostEdit, m_userEdit, m_passwordEdit })
        if (edit->text().isEmpty()) {
            edit->setFocus(Qt::OtherFocusReason);
            return;
        }
}

bool UploadWindow::passwordMayGoUnencrypted()
{
    const std::optional<RemoteAddress> address = parseHostField(m_hostEdit->text().toStdString());
    // Empty fields are reported by Connect before anything is sent.
    if (!address || address->protocol != Protocol::Ftp || m_userEdit->text().isEmpty()
        || m_passwordEdit->text().isEmpty())
        return true;
    const std::string host = plainFtpHostName(*address);
    if (m_plainFtpAgreed.count(host) != 0)
        return true;
    const std::string folder = programFolderPath();
    const Result<Settings> settings = loadSettings(folder);
    if (settings && plainFtpAllowed(settings.value(), host))
        return true;
    const QString question
        = QStringLiteral("%1 is a plain FTP server: the password for %2 would travel "
                         "unencrypted, and anyone on the way could read it.\n\n"
                         "Send it anyway? With ftps:// or sftp:// before the host name it "
                         "travels encrypted, where the server offers that.")
              .arg(QString::fromStdString(address->host), m_userEdit->text());
    const Answer answer = Dialogs::askSendUnencrypted(this, question);
    if (answer != Answer::Ok && answer != Answer::Yes) {
        m_ftpPanel->showStatus(QStringLiteral("Not connected: the password was not sent"));
        return false;
    }
    m_plainFtpAgreed.insert(host);
    if (answer == Answer::Yes) {
        // A settings file that cannot be read is not replaced: its other lines would be lost.
        Result<> saved = settings ? Result<>() : Result<>(fail(settings.error()));
        if (saved) {
            Settings remembered = settings.value();
            allowPlainFtp(remembered, host);
            saved = saveSettings(folder, remembered);
        }
        if (!saved)
            Dialogs::error(this,
                errorBoxText(QStringLiteral("The answer is kept until the program ends only: ")
                    + QString::fromStdString(saved.error())));
    }
    return true;
}

void UploadWindow::showContents()
{
    if (!passwordMayGoUnencrypted())
        return;
    copyFieldsToPanel();
    const QString error = m_ftpPanel->connectToServer();
    if (!error.isEmpty() && !m_ftpPanel->wasCancelled())
        Dialogs::error(this, errorBoxText(error));
}

void UploadWindow::publish()
{
    if (m_ftpPanel->busy() || !m_preparer)
        return;
    // A field left empty is said before the page is checked or created: those questions
    // would be asked for nothing.
    copyFieldsToPanel();
    if (const QString missing = m_ftpPanel->missingField(); !missing.isEmpty()) {
        Dialogs::error(this, errorBoxText(missing));
        focusMissingField();
        return;
    }
    if (!passwordMayGoUnencrypted())
        return;
    const std::optional<PublishRequest> request = m_preparer();
    if (!request)
        return;
    copyFieldsToPanel();
    const QString error = m_ftpPanel->connectToServer(FtpPanel::MissingFolder::OfferToCreate);
    if (!error.isEmpty()) {
        if (!m_ftpPanel->wasCancelled())
            Dialogs::error(this, errorBoxText(error));
        return;
    }
    const QString place
        = QStringLiteral("%1 on %2")
              .arg(m_ftpPanel->remoteFolder(),
                  QString::fromStdString(parseHostField(m_hostEdit->text().toStdString())
                                             .value_or(RemoteAddress {})
                                             .host));
    m_ftpPanel->showStatus(QStringLiteral("Publishing into ") + place);
    m_publishPlace = place;
    m_progressBar->setRange(0, 0);
    const PublishReport report = m_ftpPanel->publish(*request);
    m_publishPlace.clear();
    if (!report.ok) {
        if (!report.cancelled)
            Dialogs::error(this,
                errorBoxText(QStringLiteral("The page could not be published: ")
                    + QString::fromStdString(report.error)));
        m_ftpPanel->showStatus(QStringLiteral("Cancelled"));
        return;
    }
    const QString summary = QStringLiteral("Published into ") + place + QStringLiteral(":\n\n")
        + QString::fromStdString(publishReportText(report));
    if (report.failed.empty())
        Dialogs::info(this, summary);
    else
        Dialogs::error(this, summary);
    m_ftpPanel->showStatus(QString::fromStdString(publishCounts(report)));
    if (!m_ftpPanel->wasCancelled()) {
        const QString listed = m_ftpPanel->refreshListing();
        if (!listed.isEmpty() && !m_ftpPanel->wasCancelled())
            Dialogs::error(this, errorBoxText(listed));
    }
}

void UploadWindow::reject()
{
    m_ftpPanel->cancel();
    QDialog::reject();
}

void UploadWindow::showBusy(bool busy)
{
    // A second connect cannot start while the network work of the first still runs.
    m_connectButton->setDisabled(busy);
    m_publishButton->setEnabled(!busy && m_preparer != nullptr);
    m_progressRow->setVisible(busy);
    if (busy) {
        m_progressBar->setRange(0, 0); // busy until a publish says how far it is
        m_progressBar->setFormat(QString());
    }
}

void UploadWindow::showProgress(
    qint64 bytesDone, qint64 bytesTotal, int filesDone, int filesTotal, const QString &current)
{
    if (bytesTotal <= 0 && filesTotal <= 0)
        return;
    // The bar counts kilobytes, so ten files of 10 MB stay within its range.
    const auto kilobytes = [](qint64 bytes) { return static_cast<int>(bytes / 1024); };
    m_progressBar->setRange(0, std::max(1, kilobytes(bytesTotal)));
    m_progressBar->setValue(std::min(kilobytes(bytesDone), m_progressBar->maximum()));
    m_progressBar->setFormat(QStringLiteral("%1 of %2 files, %3 of %4 KB")
                                 .arg(filesDone)
                                 .arg(filesTotal)
                                 .arg(kilobytes(bytesDone))
                                 .arg(kilobytes(bytesTotal)));
    if (!current.isEmpty())
        m_ftpPanel->showStatus(QStringLiteral("Sending %1 into %2").arg(current, m_publishPlace));
}

FtpSettings showUploadWindow(
    QWidget *parent, const FtpSettings &settings, PublishPreparer preparer, bool publishAtOnce)
{
    // One window for the run, so its connection outlives a closing of the window.
    static QPointer<UploadWindow> form;
    if (form == nullptr) {
        form = new UploadWindow(parent);
        if (parent == nullptr)
            QObject::connect(qApp, &QCoreApplication::aboutToQuit, form, &QObject::deleteLater);
    }
    form->setSettings(settings);
    form->setPublishPreparer(std::move(preparer));
    if (publishAtOnce)
        QTimer::singleShot(0, form, &UploadWindow::publish);
    form->exec();
    return form->settings();
}

} // namespace stv
