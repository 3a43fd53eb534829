#pragma once
// The file-dialog holder: one open and one save dialog, created once and reused.
//
// A dialog starts where the user's files are: in the folder of the path it is handed when that
// folder exists (a relative path stands in the project's folder), else in the open project's
// folder, else in the folder of the file last chosen (remembered across runs), else in the home
// folder; never in the program's own folder, which holds only the program's files.

#include <QObject>
#include <QString>

class QFileDialog;
class QWidget;

namespace stv
{

class FileDialogs : public QObject
{
    Q_OBJECT
public:
    static FileDialogs &instance();

    // The chosen full path, or empty when cancelled, with the file name of currentPath
    // proposed.
    QString askOpen(QWidget *parent, const QString &title, const QString &currentPath,
        const QString &defaultExt, const QString &filter);
    // Replacing an existing file is asked first; Yes is the default answer for ownFile.
    QString askSave(QWidget *parent, const QString &title, const QString &currentPath,
        const QString &defaultExt, const QString &filter, const QString &ownFile = QString());

    // The open project's file (empty for a project never saved): its folder is where
    // dialogs start and relative paths stand.
    static void setProjectFile(const QString &path);
    // That folder, absolute; empty for a project never saved.
    static QString projectFolder();
    // The folder a dialog handed currentPath starts in.
    static QString startFolder(const QString &currentPath);

private:
    FileDialogs() = default;
    QString run(QFileDialog &dialog, const QString &title, const QString &currentPath,
        const QString &defaultExt, const QString &filter);
    static void closeCompletionPopups(QFileDialog &dialog);
};

} // namespace stv
