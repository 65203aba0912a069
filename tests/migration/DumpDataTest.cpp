#include "ScopedUmask.h"

#include "foundation/CommonUtils.h"
#include "foundation/Exception.h"
#include "foundation/StringList.h"
#include "migration/EditionRegistration.h"
#include "migration/FilePathDBDumpData.h"
#include "shell/ConvertManager.h"
#include "shell/JobLoading.h"
#include "shell/MainConfigInfo.h"
#include "shell/Startup.h"

#include <optional>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIODevice>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <zip.h>

namespace {

void writeAll(const QString& fileName, const QByteArray& bytes)
{
    ASSERT_TRUE(forceFileFolder(fileName));
    QFile f(fileName);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

QByteArray readAll(const QString& fileName)
{
    QFile f(fileName);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// An archive with exactly these members, as another program might write it.
void writeZip(const QString& zipFile, const QList<QPair<QByteArray, QByteArray>>& members)
{
    int error = 0;
    zip_t* zip = zip_open(QFile::encodeName(zipFile).constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    ASSERT_NE(zip, nullptr);
    for (const auto& member : members) {
        zip_source_t* source = zip_source_buffer(zip, member.second.constData(), zip_uint64_t(member.second.size()), 0);
        ASSERT_GE(zip_file_add(zip, member.first.constData(), source, ZIP_FL_ENC_UTF_8), 0);
    }
    ASSERT_EQ(zip_close(zip), 0);
}

QString messageOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const Exception& e) {
        return e.message();
    }
    return QStringLiteral("(no error)");
}

class DumpDataTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(home.isValid());
        qputenv("XDG_DATA_HOME", QFile::encodeName(home.filePath(QStringLiteral("data"))));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath(QStringLiteral("config"))));
        setEditionRegistration(&registerEdition);
        startUp();
        selectLanguage(QStringLiteral("EN"));
    }
    void TearDown() override { shutDown(); }

    QString path(const QString& name) const { return home.filePath(name); }
    QString exportFolder() const { return dataFolder() + QStringLiteral("Export/"); }

    QTemporaryDir home;
};

TEST_F(DumpDataTest, PackageRoundTripCarriesTheJobConfiguration)
{
    TFilePathDBDumpData work(path(QStringLiteral("work")));
    EXPECT_EQ(work.getFolder(), path(QStringLiteral("work/")));
    EXPECT_FALSE(work.isValidFolder()); // nothing written yet

    auto head = work.createFile(QStringLiteral("ExportData"), QStringLiteral("head.expinfo"));
    head->write("head");
    head.reset();
    TMainConfigInfo config;
    config.convertName = QStringLiteral("CopyConvert");
    config.guid = QStringLiteral("{D0D0D0D0-0000-4000-8000-000000000001}");
    std::unique_ptr<IDBConvert> job = convertManager().createConvert(QStringLiteral("CopyConvert"));
    ASSERT_TRUE(work.createFile(QStringLiteral("ExportData/Config"), QStringLiteral("innerConfig.ccg")));
    config.writeConfigFile(work.filePath(QStringLiteral("ExportData/Config"), QStringLiteral("innerConfig.ccg")),
                           job.get(), false);
    work.createFile(QStringLiteral("error"), QString::fromUtf8("表.errlist"))->write("errors");
    // createFile replaces an existing file.
    work.createFile(QStringLiteral("error"), QStringLiteral("error.errinfo"))->write("old index, longer");
    work.createFile(QStringLiteral("error"), QStringLiteral("error.errinfo"))->write("index");

    std::unique_ptr<TStringList> files = work.listFiles();
    ASSERT_TRUE(files);
    QStringList sorted = files->lines();
    sorted.sort();
    EXPECT_EQ(sorted, QStringList({"ExportData/Config/innerConfig.ccg", "ExportData/head.expinfo",
                                   "error/error.errinfo", QString::fromUtf8("error/表.errlist")}));

    const QString package = path(QStringLiteral("elsewhere/run1.Tvdump"));
    QDir().mkpath(path(QStringLiteral("elsewhere")));
    work.packFolder(package);
    EXPECT_TRUE(isDumpPackage(package));
    TMainConfigInfo inner;
    ASSERT_TRUE(loadPackageConfig(package, inner));
    EXPECT_EQ(inner.guid, config.guid);

    // Unpacking goes to Export/run1 and replaces what an earlier unpacking left.
    writeAll(exportFolder() + QStringLiteral("run1/stale/left.txt"), "stale");
    writeAll(exportFolder() + QStringLiteral("keep.log"), "other run");
    TFilePathDBDumpData target;
    target.extractPackage(package);
    EXPECT_EQ(target.getFolder(), exportFolder() + QStringLiteral("run1/"));
    std::unique_ptr<TStringList> unpacked = target.listFiles();
    ASSERT_TRUE(unpacked);
    QStringList unpackedSorted = unpacked->lines();
    unpackedSorted.sort();
    EXPECT_EQ(unpackedSorted, sorted);
    auto index = target.openFile(QStringLiteral("error"), QStringLiteral("error.errinfo"));
    ASSERT_TRUE(index);
    EXPECT_EQ(index->readAll(), QByteArray("index"));
    EXPECT_EQ(target.openFile(QStringLiteral("error"), QStringLiteral("missing")), nullptr);
    EXPECT_EQ(readAll(exportFolder() + QStringLiteral("keep.log")), QByteArray("other run"));

    // Packing refuses an existing package, an empty folder and a missing one.
    QDir().mkpath(path(QStringLiteral("empty")));
    const struct {
        QString folder;
        QString package;
        int code;
    } refused[] = {
        {path(QStringLiteral("work")), package, -2},
        {path(QStringLiteral("empty")), path(QStringLiteral("empty.Tvdump")), -3},
        {path(QStringLiteral("missing")), path(QStringLiteral("missing.Tvdump")), -1},
    };
    for (const auto& r : refused) {
        TFilePathDBDumpData folder(r.folder);
        EXPECT_EQ(messageOf([&] { folder.packFolder(r.package); }),
                  QStringLiteral("Zip path error,errorCode=%1,path=%2/,zipName=%3").arg(r.code).arg(r.folder, r.package));
    }
}

TEST_F(DumpDataTest, UnpackingRefusesMembersThatClimbOutAndNamesThatAreNoPackage)
{
    const QString outside = exportFolder() + QStringLiteral("evil.txt");
    for (const QByteArray& member : {QByteArray("../evil.txt"), QByteArray("ok/../../evil.txt"),
                                    QByteArray("/tmp/quenlor-dump-evil.txt")}) {
        SCOPED_TRACE(member.constData());
        const QString package = path(QStringLiteral("climb.Tvdump"));
        writeZip(package, {{"ExportData/head.expinfo", "h"}, {member, "evil"}});
        TFilePathDBDumpData folder;
        EXPECT_TRUE(messageOf([&] { folder.extractPackage(package); }).startsWith(QStringLiteral("Refused to extract")));
        EXPECT_FALSE(QFileInfo::exists(outside));
        EXPECT_FALSE(QFileInfo::exists(QStringLiteral("/tmp/quenlor-dump-evil.txt")));
        EXPECT_FALSE(QFileInfo::exists(exportFolder() + QStringLiteral("climb/ExportData/head.expinfo")));
    }

    // A name without a base would make the Export folder itself the target.
    writeAll(exportFolder() + QStringLiteral("earlier/run.log"), "earlier run");
    for (const char* name : {".Tvdump", "..Tvdump"}) {
        writeZip(path(QString::fromLatin1(name)), {{"ExportData/head.expinfo", "h"}});
        TFilePathDBDumpData folder;
        EXPECT_TRUE(messageOf([&] { folder.extractPackage(path(QString::fromLatin1(name))); })
                        .startsWith(QStringLiteral("Invalid dump file name"))) << name;
    }
    EXPECT_EQ(readAll(exportFolder() + QStringLiteral("earlier/run.log")), QByteArray("earlier run"));

    TFilePathDBDumpData folder;
    EXPECT_EQ(messageOf([&] { folder.extractPackage(path(QStringLiteral("none.Tvdump"))); }),
              QStringLiteral("Import file[\"%1\"] not found!").arg(path(QStringLiteral("none.Tvdump"))));

    // Recognising: the marker entry in any letter case and either separator.
    writeZip(path(QStringLiteral("windows.Tvdump")), {{"EXPORTDATA\\Head.ExpInfo", "h"}});
    writeZip(path(QStringLiteral("other.Tvdump")), {{"ExportData/data.bin", "d"}});
    writeAll(path(QStringLiteral("text.Tvdump")), "not a zip");
    EXPECT_TRUE(isDumpPackage(path(QStringLiteral("windows.Tvdump"))));
    EXPECT_FALSE(isDumpPackage(path(QStringLiteral("other.Tvdump"))));
    EXPECT_FALSE(isDumpPackage(path(QStringLiteral("text.Tvdump"))));
    EXPECT_EQ(notDumpPackageText(path(QStringLiteral("other.Tvdump"))),
              QStringLiteral("Incorrect data file, \"ExportData/head.expinfo\" not found in \"%1\"")
                  .arg(path(QStringLiteral("other.Tvdump"))));
}

unsigned modeOf(const QString& path)
{
    struct stat st {};
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 ? unsigned(st.st_mode & 07777) : 0u;
}

// Under a umask that shares everything: the work folder, its files, the
// package and what is unpacked are the owner's only; a package is never
// written through a link; an unpacking never empties a run's folder.
TEST_F(DumpDataTest, PackagesAndWorkFoldersArePrivate)
{
    std::optional<TScopedUmask> shared(std::in_place, 022);
    TFilePathDBDumpData work(path(QStringLiteral("runs/run2")));
    work.createFile(QStringLiteral("ExportData"), QStringLiteral("head.expinfo"))->write("head");
    work.createFile(QStringLiteral("error"), QStringLiteral("error.errlist"))->write("errors");
    work.replaceFile(QStringLiteral("error"), QStringLiteral("error.errinfo"), "index");
    EXPECT_EQ(modeOf(path(QStringLiteral("runs"))), 0700u);
    EXPECT_EQ(modeOf(path(QStringLiteral("runs/run2"))), 0700u);
    EXPECT_EQ(modeOf(path(QStringLiteral("runs/run2/error"))), 0700u);
    EXPECT_EQ(modeOf(path(QStringLiteral("runs/run2/error/error.errinfo"))), 0600u);
    EXPECT_EQ(modeOf(path(QStringLiteral("runs/run2/ExportData/head.expinfo"))), 0600u);

    QDir().mkpath(path(QStringLiteral("out")));
    const QString package = path(QStringLiteral("out/run2.Tvdump"));
    work.packFolder(package);
    EXPECT_EQ(modeOf(package), 0600u);
    writeAll(path(QStringLiteral("victim")), "not a package");
    ASSERT_TRUE(QFile::link(path(QStringLiteral("victim")), path(QStringLiteral("out/link.Tvdump"))));
    EXPECT_TRUE(messageOf([&] { work.packFolder(path(QStringLiteral("out/link.Tvdump"))); })
                    .startsWith(QStringLiteral("Zip path error,errorCode=-2,")));
    EXPECT_EQ(readAll(path(QStringLiteral("victim"))), QByteArray("not a package"));
    EXPECT_EQ(QDir(path(QStringLiteral("out"))).entryList(QDir::Files | QDir::Hidden | QDir::System),
              QStringList({"link.Tvdump", "run2.Tvdump"}))
        << "no temporary package is left";

    TFilePathDBDumpData target;
    target.extractPackage(package);
    const QString unpacked = exportFolder() + QStringLiteral("run2/");
    EXPECT_EQ(modeOf(unpacked), 0700u);
    EXPECT_EQ(modeOf(unpacked + QStringLiteral("error")), 0700u);
    EXPECT_EQ(modeOf(unpacked + QStringLiteral("error/error.errlist")), 0600u);
    EXPECT_EQ(modeOf(unpacked + QStringLiteral("ExportData/head.expinfo")), 0600u);
    shared.reset();

    // Now Export/run2 holds an error index: a second unpacking is refused
    // and leaves the folder as it was.
    writeAll(unpacked + QStringLiteral("error/error1.errlist"), "a run's errors");
    TFilePathDBDumpData again;
    EXPECT_EQ(messageOf([&] { again.extractPackage(package); }),
              QStringLiteral("Refused to unpack \"%1\": the folder \"%2\" holds the error files of a run")
                  .arg(package, exportFolder() + QStringLiteral("run2")));
    selectLanguage(QStringLiteral("CN"));
    EXPECT_EQ(messageOf([&] { again.extractPackage(package); }),
              QString::fromUtf8("拒绝解包 \"%1\"：文件夹 \"%2\" 中有一次运行的错误文件")
                  .arg(package, exportFolder() + QStringLiteral("run2")));
    EXPECT_EQ(readAll(unpacked + QStringLiteral("error/error1.errlist")), QByteArray("a run's errors"));
    EXPECT_EQ(readAll(unpacked + QStringLiteral("error/error.errinfo")), QByteArray("index"));
}

TEST_F(DumpDataTest, FolderIsCheckedWhereFilesAreRead)
{
    // A new work folder is named by the minute; two in the same minute share it.
    const QString before = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd@hh_mm"));
    TFilePathDBDumpData first;
    TFilePathDBDumpData second;
    const QString after = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd@hh_mm"));
    EXPECT_TRUE(first.getFolder() == exportFolder() + before + u'/' || first.getFolder() == exportFolder() + after + u'/')
        << first.getFolder().toStdString();
    if (before == after) {
        EXPECT_EQ(second.getFolder(), first.getFolder());
    }
    EXPECT_FALSE(QFileInfo::exists(first.getFolder()));

    EXPECT_EQ(messageOf([&] { first.openFile(QStringLiteral("error"), QStringLiteral("error.errinfo")); }),
              QStringLiteral("Invalid path \"%1\"").arg(first.getFolder()));
    EXPECT_FALSE(first.fileExists(QStringLiteral("error"), QStringLiteral("error.errinfo")));
    EXPECT_EQ(first.listFiles(), nullptr);

    EXPECT_EQ(messageOf([&] { first.setFolder(QStringLiteral("  ")); }), QStringLiteral("Invalid path \"\""));
    EXPECT_EQ(first.getFolder(), QString());
    EXPECT_THROW(first.createFile(QStringLiteral("error"), QStringLiteral("x")), Exception);
    EXPECT_EQ(messageOf([&] { first.setFolder(path(QStringLiteral("gone"))); }),
              QStringLiteral("Invalid path \"%1/\"").arg(path(QStringLiteral("gone"))));
    first.setFolder(home.path() + QStringLiteral("//"));
    EXPECT_EQ(first.getFolder(), home.path() + u'/');
    // Sub-folder and name are joined with '/' whichever separator they use.
    EXPECT_EQ(first.filePath(QStringLiteral("a\\b"), QStringLiteral("c.txt")), home.path() + QStringLiteral("/a/b/c.txt"));
}

} // namespace
