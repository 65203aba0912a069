#include "migration/FilePathDBDumpData.h"

#include "foundation/CommonUtils.h"
#include "foundation/Errors.h"
#include "foundation/StringList.h"
#include "foundation/StringResource.h"
#include "foundation/TextUtils.h"
#include "foundation/ZipUtils.h"
#include "records/PlainFolderData.h"
#include "shell/JobLoading.h"

#include <QFileInfo>
#include <QIODevice>

namespace {
const QString kExportFolder = QStringLiteral("Export");
} // namespace

TFilePathDBDumpData::TFilePathDBDumpData() { takeFolder(timeStampedDataPath(kExportFolder, QString())); }

TFilePathDBDumpData::TFilePathDBDumpData(const QString& folder) { takeFolder(folder); }

void TFilePathDBDumpData::takeFolder(const QString& path)
{
    // A blank path stays blank rather than becoming the file-system root.
    m_folder = isBlankText(withoutTrailingSlashes(path)) ? QString() : withTrailingBackslash(path);
}

QString TFilePathDBDumpData::filePath(const QString& subFolder, const QString& name) const
{
    return TPlainFolderData(m_folder).filePath(subFolder, name);
}

bool TFilePathDBDumpData::isValidFolder() const { return !m_folder.isEmpty() && QFileInfo(m_folder).isDir(); }

void TFilePathDBDumpData::checkFolder() const
{
    if (isValidFolder())
        return;
    QString format = resourceText(QStringLiteral("MainDataResource"), QStringLiteral("global"),
                                  QStringLiteral("Error_PathError"));
    if (format.isEmpty()) // no language registered, as in tools
        format = QStringLiteral("Invalid path \"%s\"");
    raiseFormattedMessage(format, {m_folder});
}

std::unique_ptr<QIODevice> TFilePathDBDumpData::createFile(const QString& subFolder, const QString& name)
{
    if (m_folder.isEmpty())
        checkFolder();
    return TPlainFolderData(m_folder).createFile(subFolder, name);
}

void TFilePathDBDumpData::replaceFile(const QString& subFolder, const QString& name, const QByteArray& bytes)
{
    if (m_folder.isEmpty())
        checkFolder();
    TPlainFolderData(m_folder).replaceFile(subFolder, name, bytes);
}

std::unique_ptr<QIODevice> TFilePathDBDumpData::openFile(const QString& subFolder, const QString& name)
{
    checkFolder();
    return TPlainFolderData(m_folder).openFile(subFolder, name);
}

bool TFilePathDBDumpData::fileExists(const QString& subFolder, const QString& name)
{
    return !m_folder.isEmpty() && TPlainFolderData(m_folder).fileExists(subFolder, name);
}

std::unique_ptr<TStringList> TFilePathDBDumpData::listFiles()
{
    if (m_folder.isEmpty())
        return nullptr;
    return TPlainFolderData(m_folder).listFiles();
}

void TFilePathDBDumpData::packFolder(const QString& packageName)
{
    const int code = m_folder.isEmpty() ? -1 : zipFolder(m_folder, packageName);
    if (code != 0)
        raiseFormattedMessage(QStringLiteral("Zip path error,errorCode=%d,path=%s,zipName=%s"),
                              {code, m_folder, packageName});
}

void TFilePathDBDumpData::setFolder(const QString& path)
{
    takeFolder(path);
    checkFolder();
}

void TFilePathDBDumpData::extractPackage(const QString& packageName)
{
    if (!QFileInfo(packageName).isFile())
        raiseFormattedMessage(QStringLiteral("%s[\"%s\"] not found!"), {QStringLiteral("Import file"), packageName});
    // A name of dots only would make the target the "Export" folder itself,
    // and emptying it would delete every earlier run.
    const QString baseName = QFileInfo(packageName).completeBaseName();
    if (isBlankText(baseName) || baseName == QStringLiteral(".") || baseName == QStringLiteral(".."))
        raiseFormattedMessage(QStringLiteral("Invalid dump file name \"%s\""), {packageName});
    const QString target = dataSubfolderPath(kExportFolder, baseName);
    // The folder of a run: emptying it would lose the record of its refused rows.
    if (TPlainFolderData(target).fileExists(QStringLiteral("error"), QStringLiteral("error.errinfo"))) {
        QString format = resourceText(QStringLiteral("MainDataResource"), QStringLiteral("global"),
                                      QStringLiteral("Error_UnpackOverRun"));
        if (format.isEmpty()) // no language registered, as in tools
            format = QStringLiteral("Refused to unpack \"%s\": the folder \"%s\" holds the error files of a run");
        raiseFormattedMessage(format, {packageName, target});
    }
    takeFolder(target);
    if (isDeletableFolder(m_folder))
        deleteFolderContents(m_folder);
    unzipAll(m_folder, packageName);
    checkFolder();
}

bool isDumpPackage(const QString& packageFile) { return zipContains(packageFile, kDumpHeadEntry); }

QString notDumpPackageText(const QString& packageFile)
{
    QString format = stringResourceText(6000);
    if (format.isEmpty())
        format = QStringLiteral("Incorrect data file, \"%s\" not found in \"%s\"");
    return formatText(format, {kDumpHeadEntry, packageFile});
}
