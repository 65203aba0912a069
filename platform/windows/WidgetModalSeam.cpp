#include "platform/windows/WidgetModalSeam.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>

namespace {

QWidget* dialogParent()
{
    return QApplication::activeWindow();
}

QString runFileDialog(QFileDialog::AcceptMode mode, const QString& caption, const QString& folder,
                      const QString& filter, const QString& defaultExt)
{
    QFileDialog dialog(dialogParent(), caption, folder, qtFileDialogFilter(filter));
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    QString suffix = defaultExt;
    while (suffix.startsWith(u'.'))
        suffix.remove(0, 1);
    dialog.setDefaultSuffix(suffix);
    if (dialog.exec() != QDialog::Accepted)
        return QString();
    const QStringList files = dialog.selectedFiles();
    return files.isEmpty() ? QString() : files.first();
}

} // namespace

void TWidgetModalSeam::showMessage(const QString& text, const QString& caption)
{
    QMessageBox::information(dialogParent(), caption.isEmpty() ? QApplication::applicationDisplayName() : caption,
                             text);
}

bool TWidgetModalSeam::askYesNo(const QString& question, const QString& caption)
{
    return QMessageBox::question(dialogParent(), caption, question, QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No)
        == QMessageBox::Yes;
}

QString TWidgetModalSeam::openFileName(const QString& caption, const QString& folder, const QString& filter,
                                       const QString& defaultExt)
{
    return runFileDialog(QFileDialog::AcceptOpen, caption, folder, filter, defaultExt);
}

QString TWidgetModalSeam::saveFileName(const QString& caption, const QString& folder, const QString& filter,
                                       const QString& defaultExt)
{
    return runFileDialog(QFileDialog::AcceptSave, caption, folder, filter, defaultExt);
}

QString TWidgetModalSeam::folderName(const QString& caption, const QString& folder)
{
    return QFileDialog::getExistingDirectory(dialogParent(), caption, folder);
}

int TWidgetModalSeam::execDialog(QObject* dialog)
{
    auto* d = qobject_cast<QDialog*>(dialog);
    return d ? d->exec() : 0;
}

QString qtFileDialogFilter(const QString& filter)
{
    if (!filter.contains(u'|'))
        return filter;
    const QStringList parts = filter.split(u'|');
    QStringList entries;
    for (qsizetype i = 0; i < parts.size(); i += 2) {
        const QString& description = parts.at(i);
        if (i + 1 >= parts.size()) {
            entries.append(description);
            break;
        }
        QString pattern = parts.at(i + 1);
        pattern.replace(u';', u' ');
        entries.append(description + QStringLiteral(" (") + pattern.simplified() + u')');
    }
    return entries.join(QStringLiteral(";;"));
}
