#include "foundation/CommonUtils.h"

#include "foundation/DbKind.h"
#include "foundation/TextUtils.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSettings>
#include <QTemporaryFile>
#include <QUuid>

#include <zlib.h>

#include <array>

namespace {

QString g_dataFolderSetting;

// An XDG base folder: the variable when it holds an absolute path, else the
// default under the home folder (relative values are ignored, as XDG says).
QString xdgFolder(const char* variable, const QString& homeRelativeDefault)
{
    const QString value = qEnvironmentVariable(variable);
    if (!value.isEmpty() && QDir::isAbsolutePath(value))
        return withoutTrailingSlashes(value);
    return QDir::homePath() + u'/' + homeRelativeDefault;
}

struct TDbKind {
    int code;
    const char* name;
};

constexpr std::array<TDbKind, 9> kDbKinds{{
    {1, "MySQL"}, {2, "Oracle"}, {3, "DB2"}, {4, "Access"}, {5, "MSSQL"},
    {6, "PostgreSQL"}, {7, "Firebird"}, {8, "SQLite"}, {9, "Excel"},
}};

QFileInfoList folderEntries(const QString& folder, QDir::Filters filters)
{
    return QDir(folder).entryInfoList(filters | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                      QDir::Name);
}

bool isSymLinkEntry(const QFileInfo& info) { return info.isSymLink(); }

} // namespace

// ---- Folders and paths ----

QString dataFolder()
{
    if (!isBlankText(g_dataFolderSetting))
        return withTrailingBackslash(g_dataFolderSetting);
    return xdgFolder("XDG_DATA_HOME", QStringLiteral(".local/share")) + QStringLiteral("/Varnoke/Quenlor/");
}

QString withoutTrailingSlashes(const QString& path)
{
    qsizetype end = path.size();
    while (end > 0 && (path.at(end - 1) == u'/' || path.at(end - 1) == u'\\'))
        --end;
    return path.left(end);
}

QString withTrailingBackslash(const QString& path) { return withoutTrailingSlashes(path) + u'/'; }

QString backslashUnlessEmpty(const QString& path) { return path.isEmpty() ? QString() : path + u'/'; }

QString timeStampedFolder(const QString& base)
{
    return withTrailingBackslash(base)
        + QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd@hh_mm")) + u'/';
}

QString dataSubfolderPath(const QString& subfolder, const QString& file)
{
    return withTrailingBackslash(dataFolder() + subfolder) + file;
}

QString timeStampedDataPath(const QString& subfolder, const QString& file)
{
    return timeStampedFolder(dataFolder() + subfolder) + file;
}

bool forceFileFolder(const QString& filePath)
{
    if (isBlankText(filePath))
        return false;
    const QString folder = QFileInfo(filePath).absolutePath();
    if (QFileInfo(folder).isDir())
        return true;
    QDir().mkpath(folder); // level by level, stopping at the first that fails
    return QFileInfo(folder).isDir();
}

void listFilesRecursive(const QString& folder, TStringList& list, bool relative, const QString& prefix)
{
    if (isBlankText(folder))
        return;
    const QString base = withTrailingBackslash(folder);
    const QFileInfoList entries = folderEntries(folder, QDir::Files | QDir::Dirs);
    for (const QFileInfo& info : entries) {
        if (!info.isDir())
            list.add(relative ? backslashUnlessEmpty(prefix) + info.fileName() : base + info.fileName());
    }
    for (const QFileInfo& info : entries) {
        // A linked folder is not descended into: it may lead outside or loop.
        if (info.isDir() && !isSymLinkEntry(info) && !isBlankText(info.fileName()))
            listFilesRecursive(base + info.fileName(), list, relative,
                               backslashUnlessEmpty(prefix) + info.fileName());
    }
}

void deleteFolderContents(const QString& folder)
{
    // Never empties the file-system root, whoever calls.
    if (!isDeletableFolder(folder))
        return;
    const QString base = withTrailingBackslash(folder);
    for (const QFileInfo& info : folderEntries(folder, QDir::Files | QDir::Dirs)) {
        const QString path = base + info.fileName();
        if (info.isDir() && !isSymLinkEntry(info)) {
            deleteFolderContents(path);
            QDir().rmdir(path);
        } else {
            // Files and links (to files or folders): the link goes, never its target.
            QFile::remove(path);
        }
    }
}

bool isDeletableFolder(const QString& folder)
{
    const QString name = trimText(folder);
    if (name.isEmpty() || name == QStringLiteral("\\") || name.endsWith(QStringLiteral(":\\"))
        || name.endsWith(u':'))
        return false;
    const QFileInfo info(name);
    if (!info.isDir())
        return false;
    return info.canonicalFilePath() != QDir::rootPath();
}

QString tempFolder() { return withTrailingBackslash(QDir::tempPath()); }

QString tempFileName(const QString& folder, const QString& prefix)
{
    const QString base = isBlankText(folder) ? tempFolder() : withTrailingBackslash(folder);
    QTemporaryFile file(base + prefix + QStringLiteral("XXXXXX.tmp"));
    file.setAutoRemove(false);
    if (!file.open())
        return QString();
    const QString name = file.fileName();
    file.close();
    return name;
}

QString windowsFolder() { return QString(); }

QString programFilePath()
{
    if (QCoreApplication::instance())
        return QCoreApplication::applicationFilePath();
    return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
}

QString programFolder() { return withTrailingBackslash(QFileInfo(programFilePath()).absolutePath()); }

QString mainProgramFilePath() { return programFolder() + QStringLiteral("quenlor"); }

// ---- Data-folder setting ----

QString dataFolderSetting() { return g_dataFolderSetting; }

void setDataFolderSetting(const QString& folder) { g_dataFolderSetting = folder; }

QString settingsValueNameFor(const QString& programPath)
{
    const QByteArray bytes = programPath.toUpper().toUtf8();
    const uLong crc = crc32(crc32(0L, Z_NULL, 0), reinterpret_cast<const Bytef*>(bytes.constData()),
                            uInt(bytes.size()));
    return QStringLiteral("%1").arg(quint32(crc), 8, 16, QLatin1Char('0')).toUpper();
}

QString settingsValueName() { return settingsValueNameFor(mainProgramFilePath()); }

QString settingsFilePath()
{
    return xdgFolder("XDG_CONFIG_HOME", QStringLiteral(".config")) + QStringLiteral("/Varnoke/Quenlor.conf");
}

QString settingsGroup() { return QStringLiteral("SOFTWARE/Varnoke/Quenlor"); }

void loadDataFolderSetting()
{
    QSettings settings(settingsFilePath(), QSettings::IniFormat);
    if (settings.status() != QSettings::NoError)
        return;
    settings.beginGroup(settingsGroup());
    const QVariant value = settings.value(settingsValueName());
    if (value.isValid() && value.canConvert<QString>())
        g_dataFolderSetting = value.toString();
}

void saveDataFolderSetting()
{
    QSettings settings(settingsFilePath(), QSettings::IniFormat);
    settings.beginGroup(settingsGroup());
    settings.setValue(settingsValueName(), g_dataFolderSetting);
    settings.endGroup();
    settings.sync(); // a failure to write is deliberately ignored
}

// ---- Database kinds ----

int dbKindCode(const QString& name)
{
    for (const TDbKind& kind : kDbKinds) {
        if (name.compare(QLatin1String(kind.name), Qt::CaseInsensitive) == 0)
            return kind.code;
    }
    return dbkind::Other;
}

QString dbKindName(int code)
{
    for (const TDbKind& kind : kDbKinds) {
        if (kind.code == code)
            return QLatin1String(kind.name);
    }
    return QString();
}

QString dbKindOrCategoryName(int code)
{
    if (code == dbkind::FieldConversion)
        return QStringLiteral("ConvertFieldType");
    return dbKindName(code);
}

bool isNameLengthValid(int kindCode, const QString& name)
{
    constexpr int kOracle = 2;
    return kindCode != kOracle || name.size() < 31;
}

// ---- Misc ----

QString newGuidText()
{
    const QUuid id = QUuid::createUuid();
    return id.isNull() ? QString() : id.toString(QUuid::WithBraces).toUpper();
}

std::unique_ptr<TStringList> mergeNameValues(const TStringList* base, const TStringList* overrides)
{
    if (!base && !overrides)
        return nullptr;
    auto merged = std::make_unique<TStringList>();
    if (base)
        merged->setLines(base->lines());
    if (overrides) {
        for (const QString& line : overrides->lines()) {
            if (TStringList::hasName(line))
                merged->setValue(TStringList::nameOf(line), line.mid(line.indexOf(u'=') + 1));
        }
    }
    return merged;
}

int writeResourceToFile(const QString& resourceName, const QString& folder, const QString& fileName)
{
    if (isBlankText(resourceName) || isBlankText(fileName))
        return 0;
    QStringList candidates;
    if (resourceName.startsWith(u':'))
        candidates << resourceName;
    else
        candidates << QStringLiteral(":/data/") + resourceName << QStringLiteral(":/") + resourceName;
    for (const QString& candidate : candidates) {
        QFile resource(candidate);
        if (!QFileInfo(candidate).isFile() || !resource.open(QIODevice::ReadOnly))
            continue;
        const QByteArray bytes = resource.readAll();
        QSaveFile target(withTrailingBackslash(folder) + fileName);
        if (!target.open(QIODevice::WriteOnly) || target.write(bytes) != bytes.size() || !target.commit())
            return 0;
        return int(bytes.size());
    }
    return 0;
}
