#pragma once
// The file-dialog holder: one open and one save dialog, created once and reused.

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

    // The chosen full path, or empty when cancelled. The dialog starts in the folder of
    // currentPath (the program folder when it is empty) with its file name proposed.
    QString askOpen(QWidget *parent, const QString &title, const QString &currentPath,
        const QString &defaultExt, const QString &filter);
    QString askSave(QWidget *parent, const QString &title, const QString &currentPath,
        const QString &defaultExt, const QString &filter);

private:
    FileDialogs() = default;
    QString run(QFileDialog &dialog, QWidget *parent, const QString &title,
        const QString &currentPath, const QString &defaultExt, const QString &filter);
    static void closeCompletionPopups(QFileDialog &dialog);
};

} // namespace stv
