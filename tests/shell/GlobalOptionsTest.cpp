// Global options: typed reads with the shipped defaults, and the options file
// in the data folder.

#include "foundation/CommonUtils.h"
#include "foundation/KwStringsComponent.h"
#include "foundation/StringList.h"
#include "shell/GlobalOptions.h"
#include "shell/MainDataModule.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <optional>

namespace {

class GlobalOptionsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        globalOptions().clear();
        setOptionDefaultLookup([](const QString& key) { return mainDataModule().globalOptionDefault(key); });
    }
    void TearDown() override
    {
        globalOptions().clear();
        setOptionDefaultLookup(nullptr);
    }
};

TEST_F(GlobalOptionsTest, ShippedDefaultsInTheirStoredOrder)
{
    const TKwStringsComponent* table = mainDataModule().table(QStringLiteral("GlobalOption"));
    ASSERT_NE(table, nullptr);
    const TStringList* defaults = table->findSectionLines(QStringLiteral("DefaultGlobalOption"));
    ASSERT_NE(defaults, nullptr);
    EXPECT_EQ(defaults->lines(),
              QStringList({"BlankStrIsNull=True", "SameTableName=True", "SameFieldName=True", "SelectFields=False",
                           "AutoChangeFieldNotNull=True", "AutoChangeFieldNotNull=True", "ExportTableRecordCount=-1",
                           "RunNow=True", "QuoteFieldName=True", "UppercaseFieldName=True", "ClearSourceTable=False",
                           "DropDestTable=False", "ClearDestTable=False", "TimeSuffix=False", "ShowWebMessage=True",
                           "ExtendField=True"}));
}

TEST_F(GlobalOptionsTest, StoredValuesConvertOrFallBackToTheDefault)
{
    const struct {
        const char* key;
        std::optional<const char*> stored;
        bool expected;
    } bools[] = {
        {"BlankStrIsNull", std::nullopt, true},
        {"BlankStrIsNull", "0", false},
        {"BlankStrIsNull", "yes", true}, // not convertible: the default
        {"BlankStrIsNull", "fALSE", false},
        {"SelectFields", std::nullopt, false},
        {"SelectFields", "2", true},
        {"SelectFields", "", false},
        {"AutoChangeFieldNotNull", std::nullopt, true},
        {"MatchTableNames", std::nullopt, false}, // no built-in default
        {"MatchTableNames", "True", true},
    };
    for (const auto& c : bools) {
        globalOptions().clear();
        if (c.stored)
            globalOptions().add(QString::fromLatin1(c.key) + u'=' + QString::fromLatin1(*c.stored));
        EXPECT_EQ(getOptionBool(QString::fromLatin1(c.key)), c.expected)
            << c.key << "=" << (c.stored ? *c.stored : "(absent)");
    }

    const std::pair<std::optional<const char*>, int> counts[] = {
        {std::nullopt, -1}, {"25", 25}, {" 7 ", 7}, {"many", -1}, {"", -1}};
    for (const auto& [stored, expected] : counts) {
        globalOptions().clear();
        if (stored)
            globalOptions().add(QStringLiteral("ExportTableRecordCount=") + QString::fromLatin1(*stored));
        EXPECT_EQ(getOptionInt(QStringLiteral("exporttablerecordcount")), expected) << (stored ? *stored : "(absent)");
    }
    EXPECT_EQ(getOptionInt(QStringLiteral("NoSuchOption")), 0);
}

TEST_F(GlobalOptionsTest, BeforeTheDefaultsExistReadsFallBackToFalseAndZero)
{
    setOptionDefaultLookup(nullptr);
    EXPECT_FALSE(getOptionBool(QStringLiteral("BlankStrIsNull")));
    EXPECT_EQ(getOptionInt(QStringLiteral("ExportTableRecordCount")), 0);
}

// Restores an environment variable and the data-folder setting.
class TScopedConfigHome {
public:
    explicit TScopedConfigHome(const QString& folder)
        : m_hadValue(qEnvironmentVariableIsSet("XDG_CONFIG_HOME")), m_value(qgetenv("XDG_CONFIG_HOME")),
          m_dataFolder(dataFolderSetting())
    {
        qputenv("XDG_CONFIG_HOME", folder.toUtf8());
    }
    ~TScopedConfigHome()
    {
        if (m_hadValue)
            qputenv("XDG_CONFIG_HOME", m_value);
        else
            qunsetenv("XDG_CONFIG_HOME");
        setDataFolderSetting(m_dataFolder);
    }

private:
    bool m_hadValue;
    QByteArray m_value;
    QString m_dataFolder;
};

TEST_F(GlobalOptionsTest, FileRoundTripInTheDataFolder)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    TScopedConfigHome home(dir.filePath(QStringLiteral("config")));
    setDataFolderSetting(dir.filePath(QStringLiteral("data")));
    saveDataFolderSetting();

    globalOptions().setText(QStringLiteral("BlankStrIsNull=0\nSourceCon.@ConnectMode=cmSysDBA\n"));
    setOptionBool(QStringLiteral("SelectFields"), true);
    setOptionBool(QStringLiteral("BlankStrIsNull"), true); // replaces the line in place
    saveGlobalOptions();

    const QString fileName = globalOptionsFileName();
    EXPECT_EQ(QFileInfo(fileName).absolutePath(), QFileInfo(dir.filePath(QStringLiteral("data"))).absoluteFilePath());
    // One file for every program, whatever this one is called.
    EXPECT_EQ(QFileInfo(fileName).fileName(), QStringLiteral("quenlor.goption"));
    QFile file(fileName);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("BlankStrIsNull=True\r\nSourceCon.@ConnectMode=cmSysDBA\r\nSelectFields=True\r\n"));
    file.close();

    // Loading takes the data folder from the saved setting again.
    const QStringList saved = globalOptions().lines();
    globalOptions().clear();
    setDataFolderSetting(dir.filePath(QStringLiteral("elsewhere")));
    loadGlobalOptions();
    EXPECT_EQ(globalOptions().lines(), saved);
    EXPECT_TRUE(getOptionBool(QStringLiteral("SelectFields")));

    // No file is no error: the list stays empty.
    globalOptions().clear();
    setDataFolderSetting(dir.filePath(QStringLiteral("empty")));
    saveDataFolderSetting();
    loadGlobalOptions();
    EXPECT_TRUE(globalOptions().isEmpty());
}

TEST_F(GlobalOptionsTest, UnwritableFileRaises)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    TScopedConfigHome home(dir.filePath(QStringLiteral("config")));
    // The data folder is a plain file: nothing can be created inside it.
    const QString blocker = dir.filePath(QStringLiteral("blocker"));
    QFile f(blocker);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    setDataFolderSetting(blocker);
    globalOptions().add(QStringLiteral("RunNow=False"));
    EXPECT_ANY_THROW(saveGlobalOptions());
}

} // namespace
