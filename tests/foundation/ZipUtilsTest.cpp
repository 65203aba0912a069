#include "foundation/CommonUtils.h"
#include "foundation/Exception.h"
#include "foundation/ZipUtils.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <zip.h>

#include <set>
#include <utility>
#include <vector>

namespace {

void writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    f.write(bytes);
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

std::set<QString> memberNames(const QString& zipFile)
{
    std::set<QString> names;
    zip_t* za = zip_open(QFile::encodeName(zipFile).constData(), ZIP_RDONLY, nullptr);
    if (!za)
        return names;
    for (zip_int64_t i = 0; i < zip_get_num_entries(za, 0); ++i)
        names.insert(QString::fromUtf8(zip_get_name(za, zip_uint64_t(i), ZIP_FL_ENC_GUESS)));
    zip_discard(za);
    return names;
}

// An archive written member by member, names taken as given.
void writeArchive(const QString& zipFile, const std::vector<std::pair<QByteArray, QByteArray>>& members)
{
    int error = 0;
    zip_t* za = zip_open(QFile::encodeName(zipFile).constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    ASSERT_NE(za, nullptr);
    for (const auto& [name, data] : members) {
        zip_source_t* src = zip_source_buffer(za, data.constData(), zip_uint64_t(data.size()), 0);
        ASSERT_GE(zip_file_add(za, name.constData(), src, ZIP_FL_ENC_UTF_8), 0) << name.constData();
    }
    ASSERT_EQ(zip_close(za), 0);
}

QByteArray sampleData(int size)
{
    QByteArray data;
    for (int i = 0; i < size; ++i)
        data.append(char((i * 7919) % 251));
    return data;
}

class ZipUtils : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        source = dir.path() + QStringLiteral("/source");
        writeFile(source + QStringLiteral("/top.txt"), "top");
        writeFile(source + QStringLiteral("/Sub/Deeper/D.bin"), sampleData(200000));
        writeFile(source + QStringLiteral("/数据/表 ä.txt"), "utf8 名字");
        writeFile(source + QStringLiteral("/Sub/empty.dat"), QByteArray());
        zip = dir.path() + QStringLiteral("/pkg.Tvdump");
    }
    QTemporaryDir dir;
    QString source;
    QString zip;
};

} // namespace

TEST_F(ZipUtils, RoundTripKeepsRelativeNamesAndContents)
{
    ASSERT_EQ(zipFolder(source + u'/', zip), 0);
    EXPECT_EQ(memberNames(zip), (std::set<QString>{"top.txt", "Sub/Deeper/D.bin", "数据/表 ä.txt", "Sub/empty.dat"}));

    const QString target = dir.path() + QStringLiteral("/target");
    writeFile(target + QStringLiteral("/top.txt"), "old contents to be overwritten");
    ASSERT_EQ(unzipAll(target, zip), 0);
    TStringList expected, actual;
    listFilesRecursive(source, expected, true, QString());
    listFilesRecursive(target, actual, true, QString());
    EXPECT_EQ(actual.lines(), expected.lines());
    EXPECT_THROW(unzipAll(QStringLiteral(" "), zip), Exception);
    for (const QString& name : expected.lines())
        EXPECT_EQ(readFile(target + u'/' + name), readFile(source + u'/' + name)) << name.toStdString();
}

TEST_F(ZipUtils, ResultCodes)
{
    EXPECT_EQ(zipFolder(dir.path() + QStringLiteral("/missing"), zip), -1);
    EXPECT_FALSE(QFile::exists(zip));

    writeFile(zip, "not replaced");
    EXPECT_EQ(zipFolder(source, zip), -2);
    EXPECT_EQ(readFile(zip), QByteArray("not replaced"));

    const QString empty = dir.path() + QStringLiteral("/empty");
    QDir().mkpath(empty + QStringLiteral("/only/folders"));
    const QString emptyZip = dir.path() + QStringLiteral("/empty.zip");
    EXPECT_EQ(zipFolder(empty, emptyZip), -3);
    EXPECT_FALSE(QFile::exists(emptyZip));

    EXPECT_EQ(unzipAll(dir.path() + QStringLiteral("/t1"), dir.path() + QStringLiteral("/missing.zip")), -3);
    // A valid archive without members: the end-of-directory record alone.
    writeFile(emptyZip, QByteArray("PK\x05\x06", 4) + QByteArray(18, '\0'));
    EXPECT_EQ(unzipAll(dir.path() + QStringLiteral("/t2"), emptyZip), -3);
}

TEST_F(ZipUtils, MemberLookupIgnoresCaseAndSeparator)
{
    ASSERT_EQ(zipFolder(source, zip), 0);
    EXPECT_TRUE(zipContains(zip, QStringLiteral("sub\\DEEPER\\d.BIN")));
    EXPECT_TRUE(zipContains(zip, QStringLiteral("数据/表 Ä.txt")));
    EXPECT_FALSE(zipContains(zip, QStringLiteral("Sub/Deeper")));
    EXPECT_FALSE(zipContains(dir.path() + QStringLiteral("/missing.zip"), QStringLiteral("top.txt")));
    writeFile(dir.path() + QStringLiteral("/plain.zip"), "this is no archive");
    EXPECT_FALSE(zipContains(dir.path() + QStringLiteral("/plain.zip"), QStringLiteral("top.txt")));

    const std::unique_ptr<QBuffer> stream = unzipMemberToStream(zip, QStringLiteral("SUB\\deeper\\D.bin"));
    ASSERT_NE(stream, nullptr);
    EXPECT_EQ(stream->pos(), 0);
    EXPECT_TRUE(stream->isReadable());
    EXPECT_EQ(stream->readAll(), sampleData(200000));
    EXPECT_EQ(unzipMemberToStream(zip, QStringLiteral("nothing.txt")), nullptr);
    EXPECT_EQ(unzipMemberToStream(dir.path() + QStringLiteral("/plain.zip"), QStringLiteral("top.txt")), nullptr);

    // Names stored with '\' by other tools are found with '/'.
    const QString windowsZip = dir.path() + QStringLiteral("/win.zip");
    writeArchive(windowsZip, {{"ExportData\\head.expinfo", "head"}});
    EXPECT_TRUE(zipContains(windowsZip, QStringLiteral("exportdata/HEAD.expinfo")));
}

TEST_F(ZipUtils, ClimbingOrAbsoluteMemberRefusedNothingWritten)
{
    const char* hostile[] = {"../evil.txt", "..\\evil.txt", "sub/../../evil.txt", "sub\\..\\..\\evil.txt",
                             "/tmp/evil.txt", "\\evil.txt", "C:\\evil.txt", "c:evil.txt", ".."};
    for (const char* name : hostile) {
        const QString archive = dir.path() + QStringLiteral("/hostile.zip");
        writeArchive(archive, {{"good.txt", "good"}, {"folder/inner.txt", "inner"}, {name, "evil"}});
        const QString target = dir.path() + QStringLiteral("/out/target");
        QDir().mkpath(target);
        try {
            unzipAll(target, archive);
            ADD_FAILURE() << "extracted " << name;
        } catch (const Exception& e) {
            EXPECT_TRUE(e.message().contains(QString::fromUtf8(name))) << e.message().toStdString();
        }
        EXPECT_TRUE(QDir(target).isEmpty()) << name;
        EXPECT_FALSE(QFile::exists(dir.path() + QStringLiteral("/out/evil.txt"))) << name;
        EXPECT_FALSE(QFile::exists(dir.path() + QStringLiteral("/evil.txt"))) << name;
        QDir(dir.path() + QStringLiteral("/out")).removeRecursively();
    }
}

TEST_F(ZipUtils, DamagedArchiveRaisesClearError)
{
    ASSERT_EQ(zipFolder(source, zip), 0);
    const QByteArray good = readFile(zip);

    const QString truncated = dir.path() + QStringLiteral("/truncated.zip");
    writeFile(truncated, good.left(good.size() / 2));
    // Flipped bytes inside the compressed data of the large member.
    const QString corrupted = dir.path() + QStringLiteral("/corrupted.zip");
    QByteArray bad = good;
    const qsizetype at = bad.indexOf("Sub/Deeper/D.bin") + 16 + 200;
    for (qsizetype i = at; i < at + 64; ++i)
        bad[i] = char(~bad[i]);
    writeFile(corrupted, bad);

    for (const QString& archive : {truncated, corrupted}) {
        try {
            unzipAll(dir.path() + QStringLiteral("/damaged-out"), archive);
            ADD_FAILURE() << "no error for " << archive.toStdString();
        } catch (const Exception& e) {
            EXPECT_TRUE(e.message().contains(archive)) << e.message().toStdString();
        }
    }
    EXPECT_THROW(unzipMemberToStream(corrupted, QStringLiteral("Sub/Deeper/D.bin")), Exception);
    EXPECT_FALSE(zipContains(truncated, QStringLiteral("top.txt")));
}

TEST_F(ZipUtils, UnwritableZipFileRaises)
{
    writeFile(dir.path() + QStringLiteral("/plain"), "x");
    EXPECT_THROW(zipFolder(source, dir.path() + QStringLiteral("/plain/sub/pkg.zip")), Exception);
}
