#include "foundation/AES.h"
#include "foundation/KwStringsComponent.h"
#include "shell/ConfigTool.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

struct ToolRun {
    int status = -1;
    QByteArray out;
    QByteArray err;
};

ToolRun runTool(const QStringList& arguments)
{
    QBuffer out, err;
    out.open(QIODevice::WriteOnly);
    err.open(QIODevice::WriteOnly);
    ToolRun run;
    run.status = runConfigTool(arguments, out, err);
    run.out = out.data();
    run.err = err.data();
    return run;
}

QByteArray readAll(const QString& fileName)
{
    QFile f(fileName);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeAll(const QString& fileName, const QByteArray& bytes)
{
    QFile f(fileName);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

// A configuration as the program writes one, with every kind of line the
// text form must carry through.
void fillSample(TKwStringsComponent& t)
{
    t.addSection(QStringLiteral("MainInfo"), QStringLiteral("ConvertName=CopyConvert\r\nConvertVersion=1\r\n"
                                                            "GUID={8A4E2C11-0B8D-4E6F-9C3A-2D5B7E9F1A03}"));
    t.addSection(QStringLiteral("Config/Source"),
                 QString::fromUtf8("Server=db.example\r\nPassword=p=w[0]\\x\r\n[literal]\r\n\\\\share\\dir\r\n\r\n"
                                   "Name=Zoë\r\n表名=数据表"));
    t.addSection(QString(), QString());
    t.addSection(QStringLiteral("Config/Tables"), QString(300, u't'));
}

unsigned modeOf(const QString& fileName)
{
    struct stat st {};
    return ::stat(QFile::encodeName(fileName).constData(), &st) == 0 ? unsigned(st.st_mode & 0777) : 0xFFFFu;
}

class ConfigToolTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    QString path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
    QTemporaryDir dir;
};

} // namespace

TEST_F(ConfigToolTest, ShowThenPackReproducesAProgramWrittenFile)
{
    TKwStringsComponent table;
    fillSample(table);
    saveEncryptedTable(table, path("job.Tvcfg"));

    const ToolRun shown = runTool({QStringLiteral("show"), path("job.Tvcfg")});
    ASSERT_EQ(shown.status, 0) << shown.err.toStdString();
    EXPECT_TRUE(shown.err.isEmpty());
    EXPECT_TRUE(shown.out.startsWith("[MainInfo]\nConvertName=CopyConvert\n"));
    EXPECT_TRUE(shown.out.contains("\n\\[literal]\n\\\\\\share\\dir\n\n"));
    EXPECT_TRUE(shown.out.contains(QString::fromUtf8("表名=数据表\n[]\n").toUtf8()));
    EXPECT_FALSE(shown.out.contains('\r'));

    writeAll(path("job.txt"), shown.out);
    const ToolRun packed = runTool({QStringLiteral("pack"), path("job.txt"), path("again.Tvcfg")});
    ASSERT_EQ(packed.status, 0) << packed.err.toStdString();
    EXPECT_EQ(readAll(path("again.Tvcfg")), readAll(path("job.Tvcfg")));
    EXPECT_EQ(modeOf(path("again.Tvcfg")), 0600u);
}

TEST_F(ConfigToolTest, ShowReadsPlainFilesAndPackAcceptsCrLf)
{
    TKwStringsComponent table;
    fillSample(table);
    {
        QFile plain(path("plain.Tvcfg"));
        ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
        table.saveToStream(plain);
    }
    const ToolRun plainShown = runTool({QStringLiteral("show"), path("plain.Tvcfg")});
    ASSERT_EQ(plainShown.status, 0) << plainShown.err.toStdString();

    saveEncryptedTable(table, path("enc.Tvcfg"));
    EXPECT_EQ(runTool({QStringLiteral("show"), path("enc.Tvcfg")}).out, plainShown.out);

    QByteArray crlf = plainShown.out;
    crlf.replace("\n", "\r\n");
    writeAll(path("crlf.txt"), crlf);
    ASSERT_EQ(runTool({QStringLiteral("pack"), path("crlf.txt"), path("crlf.Tvcfg")}).status, 0);
    EXPECT_EQ(readAll(path("crlf.Tvcfg")), readAll(path("enc.Tvcfg")));
}

TEST_F(ConfigToolTest, FailuresReportTheMessageAndWriteNothing)
{
    TKwStringsComponent table;
    fillSample(table);
    const QByteArray good = encryptedTableBytes(table);
    writeAll(path("short.Tvcfg"), good.left(good.size() - 16)); // whole blocks, list end lost
    writeAll(path("odd.Tvcfg"), good.left(good.size() - 3));
    writeAll(path("bad.txt"), "[A]\nk=v\n[B\n");

    const struct {
        QStringList arguments;
        const char* message;
    } cases[] = {
        {{"show", path("short.Tvcfg")}, "Stream read error\n"},
        {{"show", path("odd.Tvcfg")}, "Buffer size is Invalid\n"},
        {{"show", path("missing.Tvcfg")}, "Cannot open file"},
        {{"pack", path("missing.txt"), path("out.Tvcfg")}, "Cannot open file"},
        {{"pack", path("bad.txt"), path("out.Tvcfg")}, "Malformed table text at line 3"},
        {{"pack", path("bad.txt")}, "Usage:"},
        {{"unpack", path("bad.txt")}, "Usage:"},
        {{}, "Usage:"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.join(u' ').toStdString());
        const ToolRun run = runTool(c.arguments);
        EXPECT_EQ(run.status, 1);
        EXPECT_TRUE(run.out.isEmpty());
        EXPECT_TRUE(run.err.startsWith(c.message)) << run.err.toStdString();
    }
    EXPECT_FALSE(QFileInfo::exists(path("out.Tvcfg")));
}

TEST_F(ConfigToolTest, PackReplacesOutfileOnlyWhenTheTextIsSound)
{
    writeAll(path("out.Tvcfg"), "previous content");
    ASSERT_EQ(::chmod(QFile::encodeName(path("out.Tvcfg")).constData(), 0644), 0);
    writeAll(path("bad.txt"), "k=v before any section\n");
    EXPECT_EQ(runTool({QStringLiteral("pack"), path("bad.txt"), path("out.Tvcfg")}).status, 1);
    EXPECT_EQ(readAll(path("out.Tvcfg")), QByteArray("previous content"));

    writeAll(path("good.txt"), "[A]\nk=v\n");
    ASSERT_EQ(runTool({QStringLiteral("pack"), path("good.txt"), path("out.Tvcfg")}).status, 0);
    EXPECT_EQ(modeOf(path("out.Tvcfg")), 0600u);
    EXPECT_EQ(runTool({QStringLiteral("show"), path("out.Tvcfg")}).out, QByteArray("[A]\nk=v\n"));
}

TEST_F(ConfigToolTest, TheExecutableRunsTheTool)
{
#ifndef QUENLOR_CONFIG_EXE
    GTEST_SKIP() << "quenlor-config is not part of this build";
#else
    TKwStringsComponent table;
    fillSample(table);
    saveEncryptedTable(table, path("job.Tvcfg"));

    QProcess help;
    help.start(QStringLiteral(QUENLOR_CONFIG_EXE), {QStringLiteral("--help")});
    ASSERT_TRUE(help.waitForFinished(30000)) << help.errorString().toStdString();
    EXPECT_EQ(help.exitCode(), 0);
    EXPECT_TRUE(help.readAllStandardOutput().startsWith("Usage: quenlor-config"));

    QProcess show;
    show.start(QStringLiteral(QUENLOR_CONFIG_EXE), {QStringLiteral("show"), path("job.Tvcfg")});
    ASSERT_TRUE(show.waitForFinished(30000));
    EXPECT_EQ(show.exitCode(), 0);
    EXPECT_EQ(show.readAllStandardOutput(), runTool({QStringLiteral("show"), path("job.Tvcfg")}).out);

    writeAll(path("damaged.Tvcfg"), encryptedTableBytes(table).left(36));
    QProcess damaged;
    damaged.start(QStringLiteral(QUENLOR_CONFIG_EXE), {QStringLiteral("show"), path("damaged.Tvcfg")});
    ASSERT_TRUE(damaged.waitForFinished(30000));
    EXPECT_EQ(damaged.exitCode(), 1);
    EXPECT_TRUE(damaged.readAllStandardOutput().isEmpty());
    EXPECT_EQ(damaged.readAllStandardError(), QByteArray("Stream read error\n"));
#endif
}
