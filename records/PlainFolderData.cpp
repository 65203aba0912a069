#include "records/PlainFolderData.h"

#include "foundation/Exception.h"
#include "foundation/PrivateFiles.h"
#include "foundation/StringList.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

namespace {
QString withSlash(const QString& path)
{
    QString out = path;
    while (out.endsWith(u'/') || out.endsWith(u'\\'))
        out.chop(1);
    return out + u'/';
}
} // namespace

TPlainFolderData::TPlainFolderData(const QString& folder) : m_folder(withSlash(folder))
{
}

QString TPlainFolderData::filePath(const QString& subFolder, const QString& name) const
{
    QString path = m_folder;
    if (!subFolder.isEmpty())
        path += withSlash(subFolder);
    path += name;
    path.replace(u'\\', u'/');
    return path;
}

std::unique_ptr<QIODevice> TPlainFolderData::createFile(const QString& subFolder, const QString& name)
{
    const QString path = filePath(subFolder, name);
    const QFileInfo info(path);
    if ((info.exists() || info.isSymLink()) && !QFile::remove(path)) // a link itself, not its target
        throw Exception(QStringLiteral("Cannot create file \"%1\": %2").arg(path, QStringLiteral("cannot remove the old file")));
    return createPrivateFile(path);
}

void TPlainFolderData::replaceFile(const QString& subFolder, const QString& name, const QByteArray& bytes)
{
    replaceFileAtomically(filePath(subFolder, name), bytes);
}

bool TPlainFolderData::holdsPath(const QString& path) const
{
    const QString root = QFileInfo(m_folder).canonicalFilePath();
    const QString real = QFileInfo(path).canonicalFilePath();
    return !root.isEmpty() && !real.isEmpty() && real.startsWith(withSlash(root));
}

std::unique_ptr<QIODevice> TPlainFolderData::openFile(const QString& subFolder, const QString& name)
{
    const QString path = filePath(subFolder, name);
    auto file = std::make_unique<QFile>(path);
    if (!file->exists())
        return nullptr;
    if (!holdsPath(path))
        throw Exception(QStringLiteral("Refused to read \"%1\": it lies outside the folder \"%2\"").arg(path, m_folder));
    if (!file->open(QIODevice::ReadOnly))
        return nullptr;
    return file;
}

bool TPlainFolderData::fileExists(const QString& subFolder, const QString& name)
{
    return QFileInfo(filePath(subFolder, name)).isFile();
}

std::unique_ptr<TStringList> TPlainFolderData::listFiles()
{
    if (!QFileInfo(m_folder).isDir())
        return nullptr;
    auto list = std::make_unique<TStringList>();
    const QDir root(m_folder);
    QDirIterator it(m_folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        list->add(root.relativeFilePath(it.next()));
    return list;
}

void TPlainFolderData::packFolder(const QString& packageName)
{
    throw Exception(QStringLiteral("Packing is not available for the folder \"%1\" (%2)").arg(m_folder, packageName));
}

void TPlainFolderData::setFolder(const QString& path)
{
    m_folder = withSlash(path);
    if (path.trimmed().isEmpty() || !QFileInfo(m_folder).isDir())
        throw Exception(QStringLiteral("Invalid path \"%1\"").arg(m_folder));
}

void TPlainFolderData::extractPackage(const QString& packageName)
{
    throw Exception(QStringLiteral("Unpacking is not available for the folder \"%1\" (%2)").arg(m_folder, packageName));
}
