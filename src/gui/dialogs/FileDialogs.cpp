#include "gui/dialogs/FileDialogs.h"

#include "core/settings/Settings.h"
#include "gui/desktop/ProgramFolder.h"
#include "gui/dialogs/Dialogs.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>

namespace stv
{

namespace
{

QString s_projectFolder; // of the open project; empty for a project never saved
QString s_lastFolder; // of the file last chosen
bool s_lastFolderRead = false;

std::string settingsFolder()
{
    return QFile::encodeName(programFolder()).toStdString();
}

bool insideProgramFolder(const QString &folder)
{
    const QString program = QDir::cleanPath(programFolder());
    const QString cleaned = QDir::cleanPath(folder);
    return !programFolder().isEmpty()
        && (cleaned == program || cleaned.startsWith(program + QLatin1Char('/')));
}

bool usableStart(const QString &folder)
{
    return !folder.isEmpty() && QDir::isAbsolutePath(folder) && QFileInfo(folder).isDir()
        && !insideProgramFolder(folder);
}

QString lastFolder()
{
    if (!s_lastFolderRead) {
        s_lastFolderRead = true;
        if (const Result<Settings> settings = loadSettings(settingsFolder()))
            s_lastFolder = QFile::decodeName(
                QByteArray::fromStdString(settings.value().value(settingKey::LastFileFolder)));
    }
    return s_lastFolder;
}

// A settings file that cannot be read or written costs only this convenience: the next
// dialog starts in the project's or the home folder, and the file is left as it is.
void rememberFolderOf(const QString &chosen)
{
    const QString folder = QFileInfo(chosen).absolutePath();
    if (folder == lastFolder() || insideProgramFolder(folder))
        return;
    s_lastFolder = folder;
    Result<Settings> settings = loadSettings(settingsFolder());
    if (!settings)
        return;
    Settings changed = settings.value();
    changed.set(settingKey::LastFileFolder, QFile::encodeName(folder).toStdString());
    (void)saveSettings(settingsFolder(), changed);
}

// Asks before a file is replaced, as Qt's dialog does, but through the program's own question:
// replacing the file the program wrote there itself is what the user came for, so Yes is then
// the default answer.
class SaveFileDialog : public QFileDialog
{
public:
    QString ownFile;

    void accept() override
    {
        const QStringList files = selectedFiles();
        // A desktop's own dialog (no line edit of Qt's) has asked already.
        const bool qtDialog = findChild<QLineEdit *>(QStringLiteral("fileNameEdit")) != nullptr;
        if (!qtDialog || files.size() != 1 || !QFileInfo(files.first()).isFile()) {
            QFileDialog::accept();
            return;
        }
        const QFileInfo file(files.first());
        const bool own = !ownFile.isEmpty() && QFileInfo(ownFile) == file;
        const QString question
            = QStringLiteral("%1 already exists.\nDo you want to replace it?").arg(file.fileName());
        if (Dialogs::confirm(this, question, own ? Buttons::YesNo : Buttons::YesNoSafeNo)
            != Answer::Yes)
            return;
        setOption(QFileDialog::DontConfirmOverwrite, true);
        QFileDialog::accept();
        setOption(QFileDialog::DontConfirmOverwrite, false);
    }
};

} // namespace

FileDialogs &FileDialogs::instance()
{
    static FileDialogs holder;
    return holder;
}

void FileDialogs::setProjectFile(const QString &path)
{
    s_projectFolder = path.isEmpty() ? QString() : QFileInfo(path).absolutePath();
}

QString FileDialogs::projectFolder()
{
    return s_projectFolder;
}

QString FileDialogs::startFolder(const QString &currentPath)
{
    const qsizetype cut = currentPath.lastIndexOf(QLatin1Char('/'));
    if (cut >= 0) {
        QString folder = currentPath.left(cut + 1);
        if (QDir::isRelativePath(folder) && !s_projectFolder.isEmpty())
            folder = s_projectFolder + QLatin1Char('/') + folder;
        if (usableStart(folder))
            return QDir::cleanPath(folder);
    }
    for (const QString &folder : { s_projectFolder, lastFolder() })
        if (usableStart(folder))
            return QDir::cleanPath(folder);
    return QDir::homePath();
}

QString FileDialogs::run(QFileDialog &dialog, const QString &title, const QString &currentPath,
    const QString &defaultExt, const QString &filter)
{
    // The dialogs outlive any window, so they take no parent; they are modal to the program.
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.setWindowTitle(title);
    QString ext = defaultExt;
    if (ext.startsWith(QLatin1Char('.')))
        ext.remove(0, 1);
    dialog.setDefaultSuffix(ext.toLower());
    dialog.setDirectory(startFolder(currentPath));
    dialog.setNameFilters(qtFileFilter(filter).split(QStringLiteral(";;")));
    const qsizetype cut = currentPath.lastIndexOf(QLatin1Char('/'));
    dialog.selectFile(cut < 0 ? currentPath : currentPath.mid(cut + 1));
    const int answer = dialog.exec();
    closeCompletionPopups(dialog);
    if (answer != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    const QString chosen = dialog.selectedFiles().constFirst();
    rememberFolderOf(chosen);
    return chosen;
}

// Qt's own file dialog is used: on a desktop without a platform theme or portal (a plain
// window manager) it is the only one there is, and it works the same everywhere. Its name
// field completes typed paths in a popup list, and when the dialog is closed with Enter while
// that list shows, the list stays open after the dialog is gone: it holds the mouse and the
// keyboard, so the next click or key in the wizard only closed it, or a key went to the hidden
// name field. The popups are closed with the dialog.
void FileDialogs::closeCompletionPopups(QFileDialog &dialog)
{
    for (const QCompleter *completer : dialog.findChildren<QCompleter *>())
        if (QAbstractItemView *popup = completer->popup(); popup && popup->isVisible())
            popup->hide();
}

QString FileDialogs::askOpen(QWidget *parent, const QString &title, const QString &currentPath,
    const QString &defaultExt, const QString &filter)
{
    Q_UNUSED(parent);
    static QFileDialog *dialog = nullptr;
    if (!dialog) {
        dialog = new QFileDialog;
        dialog->setAcceptMode(QFileDialog::AcceptOpen);
        dialog->setFileMode(QFileDialog::ExistingFile);
    }
    return run(*dialog, title, currentPath, defaultExt, filter);
}

QString FileDialogs::askSave(QWidget *parent, const QString &title, const QString &currentPath,
    const QString &defaultExt, const QString &filter, const QString &ownFile)
{
    Q_UNUSED(parent);
    static SaveFileDialog *dialog = nullptr;
    if (!dialog) {
        dialog = new SaveFileDialog;
        dialog->setAcceptMode(QFileDialog::AcceptSave);
        dialog->setFileMode(QFileDialog::AnyFile);
        dialog->setOption(QFileDialog::DontConfirmOverwrite, false);
    }
    dialog->ownFile = ownFile;
    return run(*dialog, title, currentPath, defaultExt, filter);
}

} // namespace stv
