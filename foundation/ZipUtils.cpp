#include "foundation/ZipUtils.h"

#include "foundation/CommonUtils.h"
#include "foundation/Exception.h"
#include "foundation/PrivateFiles.h"
#include "foundation/ScopeExit.h"
#include "foundation/StringList.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <zip.h>

#include <vector>

namespace {

// Owns an open archive; an archive still open at scope exit is discarded,
// so nothing half-made is written.
class TZipArchive {
public:
    TZipArchive(const QString& path, int flags, bool raiseOnFailure)
    {
        int error = 0;
        m_zip = zip_open(QFile::encodeName(path).constData(), flags, &error);
        if (!m_zip && raiseOnFailure) {
            zip_error_t ze;
            zip_error_init_with_code(&ze, error);
            const QString reason = QString::fromUtf8(zip_error_strerror(&ze));
            zip_error_fini(&ze);
            throw Exception(QStringLiteral("Cannot open zip file \"%1\": %2").arg(path, reason));
        }
    }
    ~TZipArchive()
    {
        if (m_zip)
            zip_discard(m_zip);
    }
    TZipArchive(const TZipArchive&) = delete;
    TZipArchive& operator=(const TZipArchive&) = delete;

    zip_t* get() const { return m_zip; }
    QString lastError() const { return QString::fromUtf8(zip_strerror(m_zip)); }
    zip_int64_t count() const { return zip_get_num_entries(m_zip, 0); }
    QString name(zip_uint64_t index) const
    {
        const char* raw = zip_get_name(m_zip, index, ZIP_FL_ENC_GUESS);
        return raw ? QString::fromUtf8(raw) : QString();
    }
    // Writes the archive; afterwards the object no longer owns it.
    void close(const QString& path)
    {
        if (zip_close(m_zip) != 0)
            throw Exception(QStringLiteral("Cannot write zip file \"%1\": %2").arg(path, lastError()));
        m_zip = nullptr;
    }

private:
    zip_t* m_zip = nullptr;
};

QString normalizedMemberName(const QString& name)
{
    QString result = name;
    result.replace(u'\\', u'/');
    return result;
}

// The member's path below the target folder, or raises when the name is
// absolute or climbs out of the folder.
QString safeRelativePath(const QString& memberName, const QString& zipFile)
{
    const QString name = normalizedMemberName(memberName);
    const bool drive = name.size() >= 2 && name.at(1) == u':' && name.at(0).isLetter();
    bool climbs = false;
    QStringList parts;
    for (const QString& part : name.split(u'/', Qt::SkipEmptyParts)) {
        if (part == QStringLiteral(".."))
            climbs = true;
        else if (part != QStringLiteral("."))
            parts << part;
    }
    if (name.isEmpty() || name.startsWith(u'/') || drive || climbs)
        throw Exception(QStringLiteral("Refused to extract \"%1\": the zip file \"%2\" holds a member "
                                       "whose path leaves the target folder")
                            .arg(memberName, zipFile));
    return parts.join(u'/');
}

QByteArray readMember(const TZipArchive& archive, zip_uint64_t index, const QString& zipFile)
{
    const QString name = archive.name(index);
    zip_stat_t st;
    zip_stat_init(&st);
    if (zip_stat_index(archive.get(), index, 0, &st) != 0)
        throw Exception(QStringLiteral("Damaged zip file \"%1\": %2").arg(zipFile, archive.lastError()));
    zip_file_t* member = zip_fopen_index(archive.get(), index, 0);
    if (!member)
        throw Exception(QStringLiteral("Cannot read \"%1\" from zip file \"%2\": %3")
                            .arg(name, zipFile, archive.lastError()));
    QByteArray data;
    char buffer[65536];
    zip_int64_t got = 0;
    while ((got = zip_fread(member, buffer, sizeof buffer)) > 0)
        data.append(buffer, qsizetype(got));
    const QString reason = QString::fromUtf8(zip_file_strerror(member));
    zip_fclose(member);
    if (got < 0 || ((st.valid & ZIP_STAT_SIZE) && zip_uint64_t(data.size()) != st.size))
        throw Exception(QStringLiteral("Damaged zip file \"%1\": cannot read \"%2\": %3")
                            .arg(zipFile, name, reason));
    return data;
}

zip_int64_t findMember(const TZipArchive& archive, const QString& memberName)
{
    const QString wanted = normalizedMemberName(memberName);
    const zip_int64_t n = archive.count();
    for (zip_int64_t i = 0; i < n; ++i) {
        if (normalizedMemberName(archive.name(zip_uint64_t(i))).compare(wanted, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

} // namespace

int zipFolder(const QString& folder, const QString& zipFile)
{
    if (!QFileInfo(folder).isDir())
        return -1;
    if (QFileInfo::exists(zipFile) || QFileInfo(zipFile).isSymLink())
        return -2;
    TStringList files;
    listFilesRecursive(folder, files, true, QString());
    if (files.isEmpty())
        return -3;

    // Built under a temporary name beside the package (0600: it holds the job
    // with its passwords), renamed only when complete and never over a file
    // or a link that appeared meanwhile.
    const QString temporary = createPrivateTemporaryBeside(zipFile);
    const TScopeExit dropTemporary([&] { QFile::remove(temporary); });
    TZipArchive archive(temporary, ZIP_TRUNCATE, true);
    const QString base = withTrailingBackslash(folder);
    for (const QString& relative : files.lines()) {
        const QByteArray source = QFile::encodeName(base + relative);
        zip_source_t* src = zip_source_file(archive.get(), source.constData(), 0, -1);
        if (!src)
            throw Exception(QStringLiteral("Cannot add \"%1\" to zip file \"%2\": %3")
                                .arg(base + relative, zipFile, archive.lastError()));
        if (zip_file_add(archive.get(), relative.toUtf8().constData(), src, ZIP_FL_ENC_UTF_8) < 0) {
            zip_source_free(src);
            throw Exception(QStringLiteral("Cannot add \"%1\" to zip file \"%2\": %3")
                                .arg(base + relative, zipFile, archive.lastError()));
        }
    }
    const zip_int64_t stored = archive.count();
    archive.close(zipFile);
    if (stored <= 0)
        return -3;
    // libzip wrote its own temporary file and renamed it onto ours.
    if (!QFile::setPermissions(temporary, QFileDevice::ReadOwner | QFileDevice::WriteOwner))
        throw Exception(QStringLiteral("Cannot write zip file \"%1\"").arg(zipFile));
    QFile renamed(temporary);
    return renamed.rename(zipFile) ? 0 : -2;
}

int unzipAll(const QString& destinationFolder, const QString& zipFile)
{
    if (!QFileInfo(zipFile).isFile())
        return -3;
    // A blank target would mean the file-system root.
    if (destinationFolder.trimmed().isEmpty())
        throw Exception(QStringLiteral("No folder given to extract \"%1\" into").arg(zipFile));
    TZipArchive archive(zipFile, ZIP_RDONLY, true);
    const zip_int64_t n = archive.count();

    // Every name is checked before anything is written.
    std::vector<QString> targets;
    targets.reserve(size_t(qMax<zip_int64_t>(n, 0)));
    for (zip_int64_t i = 0; i < n; ++i)
        targets.push_back(safeRelativePath(archive.name(zip_uint64_t(i)), zipFile));

    const QString base = withTrailingBackslash(destinationFolder);
    int extracted = 0;
    for (zip_int64_t i = 0; i < n; ++i) {
        const QString& relative = targets[size_t(i)];
        const bool isFolder = normalizedMemberName(archive.name(zip_uint64_t(i))).endsWith(u'/');
        if (relative.isEmpty())
            continue;
        const QString path = base + relative;
        if (isFolder) {
            if (!makePrivateFolder(path))
                throw Exception(QStringLiteral("Cannot create folder \"%1\"").arg(path));
            ++extracted;
            continue;
        }
        const QByteArray data = readMember(archive, zip_uint64_t(i), zipFile);
        if (!makePrivateFolder(QFileInfo(path).absolutePath()))
            throw Exception(QStringLiteral("Cannot create folder \"%1\"").arg(QFileInfo(path).absolutePath()));
        replaceFileAtomically(path, data);
        ++extracted;
    }
    return extracted > 0 ? 0 : -3;
}

bool zipContains(const QString& zipFile, const QString& memberName)
{
    if (!QFileInfo(zipFile).isFile())
        return false;
    // A file that is no readable archive holds no member: callers use this to
    // recognise packages and report a wrong file in their own words.
    const TZipArchive archive(zipFile, ZIP_RDONLY, false);
    return archive.get() && findMember(archive, memberName) >= 0;
}

std::unique_ptr<QBuffer> unzipMemberToStream(const QString& zipFile, const QString& memberName)
{
    if (!QFileInfo(zipFile).isFile())
        return nullptr;
    const TZipArchive archive(zipFile, ZIP_RDONLY, false);
    if (!archive.get())
        return nullptr;
    const zip_int64_t index = findMember(archive, memberName);
    if (index < 0)
        return nullptr;
    auto buffer = std::make_unique<QBuffer>();
    buffer->setData(readMember(archive, zip_uint64_t(index), zipFile));
    buffer->open(QIODevice::ReadWrite);
    buffer->seek(0);
    return buffer;
}
