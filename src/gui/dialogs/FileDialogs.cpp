#include "gui/dialogs/FileDialogs.h"

#include "gui/desktop/ProgramFolder.h"
#include "gui/dialogs/Dialogs.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QFileDialog>
#include <QFileInfo>

namespace stv
{

FileDialogs &FileDialogs::instance()
{
    static FileDialogs holder;
    return holder;
}

QString FileDialogs::run(QFileDialog &dialog, QWidget *parent, const QString &title,
    const QString &currentPath, const QString &defaultExt, const QString &filter)
{
    // The dialogs outlive any window, so they take no parent; they are modal to the program.
    Q_UNUSED(parent);
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.setWindowTitle(title);
    QString ext = defaultExt;
    if (ext.startsWith(QLatin1Char('.')))
        ext.remove(0, 1);
    dialog.setDefaultSuffix(ext.toLower());
    const qsizetype cut = currentPath.lastIndexOf(QLatin1Char('/'));
    dialog.setDirectory(
        currentPath.isEmpty() || cut < 0 ? programFolder() : currentPath.left(cut + 1));
    dialog.setNameFilters(qtFileFilter(filter).split(QStringLiteral(";;")));
    dialog.selectFile(cut < 0 ? currentPath : currentPath.mid(cut + 1));
    const int answer = dialog.exec();
    closeCompletionPopups(dialog);
    if (answer != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
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
    static QFileDialog *dialog = nullptr;
    if (!dialog) {
        dialog = new QFileDialog;
        dialog->setAcceptMode(QFileDialog::AcceptOpen);
        dialog->setFileMode(QFileDialog::ExistingFile);
    }
    return run(*dialog, parent, title, currentPath, defaultExt, filter);
}

QString FileDialogs::askSave(QWidget *parent, const QString &title, const QString &currentPath,
    const QString &defaultExt, const QString &filter)
{
    static QFileDialog *dialog = nullptr;
    if (!dialog) {
        dialog = new QFileDialog;
        dialog->setAcceptMode(QFileDialog::AcceptSave);
        dialog->setFileMode(QFileDialog::AnyFile);
        dialog->setOption(QFileDialog::DontConfirmOverwrite, false);
    }
    return run(*dialog, parent, title, currentPath, defaultExt, filter);
}

} // namespace stv
