#include "gui/dialogs/FileDialogs.h"

#include "gui/desktop/ProgramFolder.h"
#include "gui/dialogs/Dialogs.h"

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
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
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
