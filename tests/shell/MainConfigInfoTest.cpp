#include "ShellFakes.h"

#include "foundation/AES.h"
#include "foundation/Exception.h"
#include "foundation/KwStringsComponent.h"
#include "shell/MainConfigInfo.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

void setMainInfo(TMainConfigInfo& info, const QString& lines)
{
    info.table().clearSections();
    info.table().addSection(QStringLiteral("MainInfo"), lines);
    info.table().addSection(QStringLiteral("Config/Options"), QStringLiteral("A=1"));
}

QByteArray plainBytes(const TKwStringsComponent& table)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    table.saveToStream(buffer);
    return buffer.data();
}

void writeFile(const QString& name, const QByteArray& bytes)
{
    QFile f(name);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

} // namespace

TEST(MainConfigInfo, ReadMainInfoRules)
{
    TMainConfigInfo info;
    info.convertName = QStringLiteral("kept");
    info.table().addSection(QStringLiteral("Other"), QStringLiteral("x=1"));
    EXPECT_FALSE(info.readMainInfo()) << "no MainInfo";
    EXPECT_EQ(info.convertName, QStringLiteral("kept"));
    EXPECT_EQ(info.table().sectionCount(), 1);

    struct Case {
        const char* label;
        QString lines;
        bool ok;
        QString name;
        int version;
        QString guid;
    };
    const std::vector<Case> cases = {
        {"complete", "ConvertName= CopyConvert \r\nConvertVersion=3\r\nGUID={AB-CD}", true, "CopyConvert", 3, "{AB-CD}"},
        {"version absent", "ConvertName=CopyConvert", true, "CopyConvert", 0, {}},
        {"version not an integer", "ConvertName=CopyConvert\r\nConvertVersion=2.5", true, "CopyConvert", 0, {}},
        {"version beyond 32 bits", "ConvertName=CopyConvert\r\nConvertVersion=4294967296", true, "CopyConvert", 0, {}},
        {"negative version", "ConvertName=CopyConvert\r\nConvertVersion=-7", true, "CopyConvert", -7, {}},
        {"keys ignore case", "convertname=X\r\nconvertversion=12", true, "X", 12, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        setMainInfo(info, c.lines);
        EXPECT_EQ(info.readMainInfo(), c.ok);
        EXPECT_EQ(info.convertName, c.name);
        EXPECT_EQ(info.convertVersion, c.version);
        EXPECT_EQ(info.guid, c.guid);
        EXPECT_EQ(info.table().sectionCount(), 2);
    }
}

TEST(MainConfigInfo, BlankConverterNameEmptiesTheTableAndFails)
{
    for (const QString& lines : {QStringLiteral("ConvertName=   \t"), QStringLiteral("ConvertVersion=1")}) {
        TMainConfigInfo info;
        setMainInfo(info, lines);
        EXPECT_FALSE(info.readMainInfo());
        EXPECT_EQ(info.table().sectionCount(), 0);
        EXPECT_TRUE(info.convertName.isEmpty());
    }
}

class ConfigFileTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { initConfigKey(); }
    QString path(const char* name) const { return m_dir.filePath(QString::fromLatin1(name)); }
    QTemporaryDir m_dir;
};

TEST_F(ConfigFileTest, WriteThenLoadRoundTripsEnciphered)
{
    TMainConfigInfo out;
    out.convertName = QStringLiteral("CopyConvert");
    out.convertVersion = 2;
    out.table().addSection(QStringLiteral("Stale"), QStringLiteral("gone=1"));
    TTestJob job(QStringLiteral("tag1"));
    const QString file = path("job.Tvcfg");
    out.writeConfigFile(file, &job, true);
    EXPECT_TRUE(job.lastWithoutPasswords);
    EXPECT_TRUE(out.guid.startsWith(u'{') && out.guid.endsWith(u'}')) << out.guid.toStdString();

    QFile raw(file);
    ASSERT_TRUE(raw.open(QIODevice::ReadOnly));
    const QByteArray bytes = raw.readAll();
    EXPECT_TRUE(isEncryptedEnvelope(bytes.left(20)));
    EXPECT_FALSE(bytes.contains("CopyConvert")) << "the body is enciphered";
    EXPECT_EQ(raw.permissions() & (QFileDevice::ReadGroup | QFileDevice::ReadOther), QFileDevice::Permissions());

    TMainConfigInfo in;
    ASSERT_TRUE(in.loadFromFile(file));
    EXPECT_EQ(in.convertName, QStringLiteral("CopyConvert"));
    EXPECT_EQ(in.convertVersion, 2);
    EXPECT_EQ(in.guid, out.guid);
    EXPECT_EQ(in.table().sectionCount(), 2);
    EXPECT_EQ(in.table().findSection(QStringLiteral("Stale")), nullptr);
    EXPECT_EQ(in.table().findSectionLines(QStringLiteral("config/options"))->value(QStringLiteral("Password")),
              QStringLiteral("s3cr\u00e9t"));

    // A second write keeps the identity.
    const QString guid = out.guid;
    out.writeConfigFile(file, &job, false);
    EXPECT_EQ(out.guid, guid);
}

TEST_F(ConfigFileTest, NoJobWritesNothing)
{
    TMainConfigInfo info;
    info.convertName = QStringLiteral("CopyConvert");
    info.writeConfigFile(path("none.Tvcfg"), nullptr, false);
    EXPECT_FALSE(QFile::exists(path("none.Tvcfg")));
}

TEST_F(ConfigFileTest, PlainFileIsAccepted)
{
    TKwStringsComponent table;
    table.addSection(QStringLiteral("MainInfo"), QStringLiteral("ConvertName=CopyConvert\r\nGUID={1}"));
    writeFile(path("plain.Tvcfg"), plainBytes(table));
    TMainConfigInfo info;
    EXPECT_TRUE(info.loadFromFile(path("plain.Tvcfg")));
    EXPECT_EQ(info.guid, QStringLiteral("{1}"));
}

TEST_F(ConfigFileTest, MissingFileIsFalse)
{
    TMainConfigInfo info;
    EXPECT_FALSE(info.loadFromFile(path("missing.Tvcfg")));
    EXPECT_FALSE(info.loadFromFile(QString()));
    EXPECT_FALSE(info.loadFromFile(m_dir.path())) << "a folder is no configuration file";
}

TEST_F(ConfigFileTest, DamagedFileRaisesAndKeepsTheLoadedTable)
{
    TMainConfigInfo info;
    TTestJob job;
    info.convertName = QStringLiteral("CopyConvert");
    info.writeConfigFile(path("good.Tvcfg"), &job, false);
    ASSERT_TRUE(info.loadFromFile(path("good.Tvcfg")));

    QFile good(path("good.Tvcfg"));
    ASSERT_TRUE(good.open(QIODevice::ReadOnly));
    const QByteArray bytes = good.readAll();
    writeFile(path("cut.Tvcfg"), bytes.left(bytes.size() - 16));
    writeFile(path("text.Tvcfg"), QByteArray("this is not a configuration at all"));

    for (const char* name : {"cut.Tvcfg", "text.Tvcfg"}) {
        SCOPED_TRACE(name);
        EXPECT_THROW(info.loadFromFile(path(name)), Exception);
        EXPECT_EQ(info.table().sectionCount(), 2);
        EXPECT_NE(info.table().findSection(QStringLiteral("Config/Options")), nullptr);
    }
}
