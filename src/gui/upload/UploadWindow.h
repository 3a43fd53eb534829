#pragma once
// The upload window, opened modally by "&Upload My Page" and "Upload Your Stuff". Its four
// connection fields belong to the project and are saved with it.

#include <QDialog>

#include <string>

class QLabel;
class QLineEdit;
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
    bool operator==(const FtpSettings &) const = default;
};

// Shows the window modally with these values; gives them back as the user left them.
FtpSettings showUploadWindow(QWidget *parent, const FtpSettings &settings);

// "Simple FTP Client": the connection details above, the remote listing below; files
// dropped on the listing are uploaded.
class UploadWindow : public QDialog
{
    Q_OBJECT
public:
    explicit UploadWindow(QWidget *parent = nullptr);

    void setSettings(const FtpSettings &settings);
    FtpSettings settings() const;

    QLineEdit *m_hostEdit = nullptr;
    QLineEdit *m_userEdit = nullptr;
    QLineEdit *m_passwordEdit = nullptr;
    QLineEdit *m_initialDirEdit = nullptr;
    QPushButton *m_connectButton = nullptr;
    FtpPanel *m_ftpPanel = nullptr;
    QLabel *m_statusLabel = nullptr;

private:
    void showContents();
};

} // namespace stv
