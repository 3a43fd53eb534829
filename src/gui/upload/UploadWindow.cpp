#include "gui/upload/UploadWindow.h"

#include "gui/desktop/Encoding.h"
#include "gui/dialogs/Dialogs.h"
#include "gui/upload/FtpPanel.h"

#include <QApplication>
#include <QFormLayout>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
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

} // namespace

UploadWindow::UploadWindow(QWidget *parent)
    : QDialog(parent,
        Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
            | Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("FTPForm"));
    setWindowTitle(QStringLiteral("Simple FTP Client"));
    resize(407, 393);

    auto *group = new QGroupBox(QStringLiteral("Connection Details"));
    group->setMinimumSize(314, 116);
    group->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    auto *form = new QFormLayout(group);
    form->setContentsMargins(6, 4, 6, 4);
    form->setVerticalSpacing(3);
    form->setLabelAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_hostEdit = addEdit(form, "HostEdit", QStringLiteral("Host Name"));
    m_userEdit = addEdit(form, "UserIDEdit", QStringLiteral("User Name/ID"));
    m_passwordEdit = addEdit(form, "PasswordEdit", QStringLiteral("Password"));
    m_passwordEdit->setEchoMode(QLineEdit::Password);
    m_initialDirEdit = addEdit(form, "InitDirEdit", QStringLiteral("Initial Directory"));

    auto *separator = new QFrame;
    separator->setFrameShape(QFrame::VLine);
    separator->setFrameShadow(QFrame::Sunken);

    m_connectButton = new QPushButton(QStringLiteral("&Connect"));
    m_connectButton->setObjectName(QStringLiteral("Button1"));
    m_connectButton->setFixedSize(75, 116);
    m_connectButton->setAutoDefault(false);

    auto *top = new QHBoxLayout;
    top->setContentsMargins(4, 4, 4, 4);
    top->addWidget(group);
    top->addWidget(separator);
    top->addWidget(m_connectButton);
    auto *band = new QWidget;
    band->setLayout(top);
    band->setFixedHeight(124);

    m_ftpPanel = new FtpPanel;
    m_ftpPanel->setObjectName(QStringLiteral("ftp"));
    m_statusLabel = new QLabel;
    m_statusLabel->setObjectName(QStringLiteral("Label5"));
    m_statusLabel->setFixedHeight(20);
    m_statusLabel->setContentsMargins(6, 0, 6, 0);
    m_ftpPanel->setActive(true);
    m_ftpPanel->setStatusLabel(m_statusLabel);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(band);
    layout->addWidget(m_ftpPanel, 1);
    layout->addWidget(m_statusLabel);

    connect(m_connectButton, &QPushButton::clicked, this, &UploadWindow::showContents);
    // A second connect cannot start while the network work of the first still runs.
    connect(m_ftpPanel, &FtpPanel::busyChanged, m_connectButton, &QWidget::setDisabled);
}

void UploadWindow::setSettings(const FtpSettings &settings)
{
    m_hostEdit->setText(fromCp1252(settings.host));
    m_userEdit->setText(fromCp1252(settings.userId));
    m_passwordEdit->setText(fromCp1252(settings.password));
    m_initialDirEdit->setText(fromCp1252(settings.initDir));
}

FtpSettings UploadWindow::settings() const
{
    return { toCp1252(m_hostEdit->text()), toCp1252(m_userEdit->text()),
        toCp1252(m_passwordEdit->text()), toCp1252(m_initialDirEdit->text()) };
}

void UploadWindow::showContents()
{
    m_ftpPanel->setHostName(m_hostEdit->text());
    m_ftpPanel->setLoginName(m_userEdit->text());
    m_ftpPanel->setRemoteDir(m_initialDirEdit->text());
    m_ftpPanel->setPassword(m_passwordEdit->text());
    const QString error = m_ftpPanel->connectToServer();
    if (!error.isEmpty())
        Dialogs::error(this, errorBoxText(error));
}

FtpSettings showUploadWindow(QWidget *parent, const FtpSettings &settings)
{
    // One window for the run, so its connection outlives a closing of the window.
    static QPointer<UploadWindow> form;
    if (form == nullptr) {
        form = new UploadWindow(parent);
        if (parent == nullptr)
            QObject::connect(qApp, &QCoreApplication::aboutToQuit, form, &QObject::deleteLater);
    }
    form->setSettings(settings);
    form->exec();
    return form->settings();
}

} // namespace stv
