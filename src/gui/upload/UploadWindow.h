#pragma once
// The upload window, opened modally by "&Upload My Page" and "Upload Your Stuff". Its four
// connection fields belong to the project and are saved with it, the password in the desktop's
// keyring unless "Keep the password in the project file" is ticked. "&Publish" sends the
// project's page and its files, with a progress bar and a Cancel button that ends any step.

#include "core/upload/Publisher.h"

#include <QDialog>

#include <functional>
#include <optional>
#include <set>
#include <string>

class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QWidget;

namespace stv
{

class FtpPanel;

struct FtpSettings { // Windows-1252 text, as the project file holds it
    std::string host;
    std::string userId;
    std::string password;
    std::string initDir;
    bool keepPasswordInFile = false;
    bool operator==(const FtpSettings &) const = default;
};

// Makes the page ready and says what to send; nothing when the user gave up (the page is not
// created yet, for instance).
using PublishPreparer = std::function<std::optional<PublishRequest>()>;

// Shows the window modally with these values; gives them back as the user left them. With a
// preparer the Publish button works; with publishAtOnce it is pressed as the window opens.
FtpSettings showUploadWindow(QWidget *parent, const FtpSettings &settings,
    PublishPreparer preparer = {}, bool publishAtOnce = false);

// The one-line warning for the Host Name field's protocol: plain FTP sends the password
// unencrypted. Empty for the secure protocols and an empty field.
QString securityNote(const QString &hostField);

// "Simple FTP Client": the connection details above, the remote listing below; files
// dropped on the listing are uploaded.
class UploadWindow : public QDialog
{
    Q_OBJECT
public:
    explicit UploadWindow(QWidget *parent = nullptr);

    void setSettings(const FtpSettings &settings);
    FtpSettings settings() const;
    void setPublishPreparer(PublishPreparer preparer);
    // The Publish button: prepares the page, connects, sends, shows one box with the
    // outcome and lists the folder again.
    void publish();
    // Closing the window cancels the network work that runs.
    void reject() override;

private:
    QLineEdit *m_hostEdit = nullptr;
    QLineEdit *m_userEdit = nullptr;
    QLineEdit *m_passwordEdit = nullptr;
    QLineEdit *m_initialDirEdit = nullptr;
    QCheckBox *m_keepPasswordBox = nullptr;
    QPushButton *m_connectButton = nullptr;
    QPushButton *m_publishButton = nullptr;
    QPushButton *m_cancelButton = nullptr;
    QProgressBar *m_progressBar = nullptr;
    FtpPanel *m_ftpPanel = nullptr;
    QLabel *m_statusLabel = nullptr;
    QLabel *m_securityLabel = nullptr;

    // Plain FTP sends the password unencrypted: true when the user agreed (once a run for a
    // host, or for good with "don't ask again"), or when nothing secret would go.
    bool passwordMayGoUnencrypted();
    // Puts the cursor in the first of the connection fields that is empty.
    void focusMissingField();
    void showContents();
    void copyFieldsToPanel();
    void showBusy(bool busy);
    void showProgress(
        qint64 bytesDone, qint64 bytesTotal, int filesDone, int filesTotal, const QString &current);

    QWidget *m_progressRow = nullptr;
    PublishPreparer m_preparer;
    std::set<std::string> m_plainFtpAgreed; // hosts (plainFtpHostName) for this run
    QString m_publishPlace; // "folder on host" while a publish runs
};

} // namespace stv
