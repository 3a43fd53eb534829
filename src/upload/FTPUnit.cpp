#include "FTPUnit.h"

#include "platform/Dialogs.h"
#include "platform/Encoding.h"
#include "upload/ddftp.h"

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

QLineEdit *AddEdit(QFormLayout *form, const char *objectName, const QString &label)
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

TFTPForm::TFTPForm(QWidget *parent)
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
    HostEdit = AddEdit(form, "HostEdit", QStringLiteral("Host Name"));
    UserIDEdit = AddEdit(form, "UserIDEdit", QStringLiteral("User Name/ID"));
    PasswordEdit = AddEdit(form, "PasswordEdit", QStringLiteral("Password"));
    PasswordEdit->setEchoMode(QLineEdit::Password);
    InitDirEdit = AddEdit(form, "InitDirEdit", QStringLiteral("Initial Directory"));

    auto *separator = new QFrame;
    separator->setFrameShape(QFrame::VLine);
    separator->setFrameShadow(QFrame::Sunken);

    Button1 = new QPushButton(QStringLiteral("&Connect"));
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setFixedSize(75, 116);
    Button1->setAutoDefault(false);

    auto *top = new QHBoxLayout;
    top->setContentsMargins(4, 4, 4, 4);
    top->addWidget(group);
    top->addWidget(separator);
    top->addWidget(Button1);
    auto *band = new QWidget;
    band->setLayout(top);
    band->setFixedHeight(124);

    ftp = new TDragDropFTP;
    ftp->setObjectName(QStringLiteral("ftp"));
    Label5 = new QLabel;
    Label5->setObjectName(QStringLiteral("Label5"));
    Label5->setFixedHeight(20);
    Label5->setContentsMargins(6, 0, 6, 0);
    ftp->setActive(true);
    ftp->setStatusLabel(Label5);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(band);
    layout->addWidget(ftp, 1);
    layout->addWidget(Label5);

    connect(Button1, &QPushButton::clicked, this, &TFTPForm::Button1Click);
    // A second connect cannot start while the network work of the first still runs.
    connect(ftp, &TDragDropFTP::busyChanged, Button1, &QWidget::setDisabled);
}

void TFTPForm::setSettings(const FtpSettings &settings)
{
    HostEdit->setText(FromCp1252(settings.host));
    UserIDEdit->setText(FromCp1252(settings.userId));
    PasswordEdit->setText(FromCp1252(settings.password));
    InitDirEdit->setText(FromCp1252(settings.initDir));
}

FtpSettings TFTPForm::settings() const
{
    return { ToCp1252(HostEdit->text()), ToCp1252(UserIDEdit->text()),
        ToCp1252(PasswordEdit->text()), ToCp1252(InitDirEdit->text()) };
}

void TFTPForm::Button1Click()
{
    ftp->setHostName(HostEdit->text());
    ftp->setLoginName(UserIDEdit->text());
    ftp->setRemoteDir(InitDirEdit->text());
    ftp->setPassword(PasswordEdit->text());
    const QString error = ftp->Connect();
    if (!error.isEmpty())
        Dialogs::error(this, ErrorBoxText(error));
}

FtpSettings ShowUploadWindow(QWidget *parent, const FtpSettings &settings)
{
    // One window for the run, so its connection outlives a closing of the window.
    static QPointer<TFTPForm> form;
    if (form == nullptr) {
        form = new TFTPForm(parent);
        if (parent == nullptr)
            QObject::connect(qApp, &QCoreApplication::aboutToQuit, form, &QObject::deleteLater);
    }
    form->setSettings(settings);
    form->exec();
    return form->settings();
}

} // namespace stv
