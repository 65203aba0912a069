#include "foundation/windows/ShellUtils.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QGuiApplication>
#include <QUrl>

void showFileInExplorer(const QString& file)
{
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()) || file.trimmed().isEmpty())
        return;
    QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(file).absolutePath()));
}

bool openInBrowser(const QString& address)
{
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()) || address.trimmed().isEmpty())
        return false;
    const QUrl url = QUrl::fromUserInput(address);
    return url.isValid() && QDesktopServices::openUrl(url);
}
