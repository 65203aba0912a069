// Connection configurations: defaults per kind, the public settings text,
// stored passwords and the connections made from the settings.

#include "connconfig/DBConnectConfig.h"
#include "dbaccess/DBConnection.h"
#include "foundation/ResourceENDataModule.h"
#include "foundation/StringList.h"
#include "foundation/StringResource.h"
#include "platform/db/DbConnection.h"
#include "shell/UIFrameList.h"

#include <gtest/gtest.h>

namespace {

QStringList settingsOf(IDBConnectConfig& config) { return config.getSettings()->lines(); }

TEST(ConnConfig, NewConfigurationsHoldTheirKindsDefaults)
{
    TDBConnectConfig mysql(1);
    EXPECT_EQ(mysql.getDBType(), 1);
    EXPECT_EQ(settingsOf(mysql),
              QStringList({"MainProperty_ProviderName=MySQL", "MainProperty_Username=root", "MainProperty_Password=",
                           "MainProperty_Server=", "MainProperty_Port=3306", "MainProperty_Database=", "UseUnicode=True",
                           "ConnectionTimeout=300"}));

    const struct {
        const char* creatorName;
        int kind;
        QStringList lines;
    } cases[] = {
        {"Oracle", 2, {"Direct=False", "UseUnicode=True", "ConnectionTimeout=300"}}, // no provider line yet
        {"mssql", 5, {"Authentication=auServer"}},
        {"PostgreSQL", 6, {"MainProperty_Username=postgres", "MainProperty_Port=5432", "MainProperty_Server=127.0.0.1"}},
        {"Firebird", 7, {}},
        {"NoSuchKind", 255, {}},
    };
    for (const auto& c : cases) {
        TDBConnectConfigCreator creator(QString::fromLatin1(c.creatorName));
        EXPECT_EQ(creator.descriptionModule(), QStringLiteral("UniDAC_DBTypeDescription"));
        EXPECT_EQ(creator.descriptionSection(), QString::fromLatin1(c.creatorName));
        const auto config = creator.create();
        ASSERT_NE(config, nullptr);
        EXPECT_EQ(config->getDBType(), c.kind) << c.creatorName;
        EXPECT_EQ(settingsOf(*config), c.lines) << c.creatorName;
        EXPECT_TRUE(config->getTitle().isEmpty());
        ASSERT_NE(config->getPages(), nullptr);
        EXPECT_EQ(config->getPages()->count(), 0);
    }
}

TEST(ConnConfig, PublicSettingsTextHasNoPasswordAndAsksForALogin)
{
    const struct {
        QStringList settings;
        const char* expected;
    } cases[] = {
        {{"MainProperty_Username=scott", "MainProperty_Password=tiger", "MainProperty_LoginPrompt=False", "Direct=False"},
         "MainProperty_Username=scott\r\nMainProperty_LoginPrompt=True\r\nDirect=False\r\n"},
        {{"MainProperty_Username=root"}, "MainProperty_Username=root\r\nMainProperty_LoginPrompt=True\r\n"},
        {{}, "MainProperty_LoginPrompt=True\r\n"},
        // A repeated password line must not survive either.
        {{"MainProperty_Password=a", "mainproperty_password=b", "UseUnicode=True"},
         "UseUnicode=True\r\nMainProperty_LoginPrompt=True\r\n"},
    };
    for (const auto& c : cases) {
        TDBConnectConfig config(2);
        config.getSettings()->setLines(c.settings);
        EXPECT_EQ(config.getPublicSettingsText(), QString::fromLatin1(c.expected));
        EXPECT_EQ(settingsOf(config), c.settings) << "the own settings stay";
    }
}

TEST(ConnConfig, LoadPasswordTakesOnlyThePassword)
{
    const QStringList own{"MainProperty_Username=root", "MainProperty_Password=old", "MainProperty_LoginPrompt=True"};
    const struct {
        QStringList stored;
        QStringList expected;
    } cases[] = {
        {{"MainProperty_Username=other", "MainProperty_Password=s3cret", "MainProperty_Server=db"},
         {"MainProperty_Username=root", "MainProperty_Password=s3cret", "MainProperty_LoginPrompt=False"}},
        {{"MainProperty_Username=other"}, {"MainProperty_Username=root", "MainProperty_LoginPrompt=False"}},
        {{"MainProperty_Password="}, {"MainProperty_Username=root", "MainProperty_LoginPrompt=False"}},
        {{}, own}, // no lines: nothing happens
    };
    for (const auto& c : cases) {
        TDBConnectConfig config(1);
        config.getSettings()->setLines(own);
        config.loadPassword(TStringList(c.stored));
        EXPECT_EQ(settingsOf(config), c.expected) << c.stored.join(u',').toStdString();
    }
}

TEST(ConnConfig, CreatedConnectionsCarryTheKindAndTheSettings)
{
    TDBConnectConfig config(1);
    TStringList& settings = *config.getSettings();
    settings.setValue(QStringLiteral("MainProperty_Server"), QStringLiteral("db.example"));
    settings.setValue(QStringLiteral("MainProperty_Password"), QStringLiteral("pw"));
    settings.setValue(QStringLiteral("MainProperty_Database"), QStringLiteral("shop"));

    const auto connection = config.createConnection();
    ASSERT_NE(connection, nullptr);
    EXPECT_EQ(connection->getDBType(), 1);
    auto* uni = dynamic_cast<TDBConnection*>(connection.get());
    ASSERT_NE(uni, nullptr);
    EXPECT_FALSE(uni->isConnected());
    const DbConnection& pack = uni->packConnection();
    EXPECT_EQ(pack.providerName(), QStringLiteral("MySQL"));
    EXPECT_EQ(pack.userName(), QStringLiteral("root"));
    EXPECT_EQ(pack.password(), QStringLiteral("pw"));
    EXPECT_EQ(pack.server(), QStringLiteral("db.example"));
    EXPECT_EQ(pack.database(), QStringLiteral("shop"));
    EXPECT_EQ(pack.port(), 3306);
    EXPECT_EQ(pack.options().value(QStringLiteral("UseUnicode")), QStringLiteral("True"));

    // Other settings than the own ones, for a test of the page.
    TStringList other(QStringList{"MainProperty_ProviderName=Oracle", "MainProperty_Username=scott",
                                  "MainProperty_Server=orcl", "MainProperty_LoginPrompt=True"});
    TDBConnectConfig oracle(2);
    const auto fromOther = oracle.createConnectionWith(other);
    auto* oracleConnection = dynamic_cast<TDBConnection*>(fromOther.get());
    ASSERT_NE(oracleConnection, nullptr);
    EXPECT_EQ(oracleConnection->getDBType(), 2);
    EXPECT_EQ(oracleConnection->packConnection().userName(), QStringLiteral("scott"));
    EXPECT_EQ(oracleConnection->packConnection().port(), 1521);
    EXPECT_TRUE(oracleConnection->loginPrompt());
}

TEST(ConnConfig, PageTitleAndDescriptionsInEnglish)
{
    createStringResourceManager();
    stringResourceManager().setLanguage(QStringLiteral("EN"));
    TDataModule_ResourceEN en;
    registerResourceDataModule(&en);
    EXPECT_EQ(settingsPageText(QStringLiteral("title")), QStringLiteral("%s configuration"));
    EXPECT_EQ(resourceSectionText(QStringLiteral("UniDAC_DBTypeDescription"), QStringLiteral("oracle")),
              QStringLiteral("Oracle database connectivity, support Orace 8i, Oracle 9i, Oracle 10g and Oracle 11g\r\n"));
    EXPECT_EQ(resourceSectionText(QStringLiteral("UniDAC_DBTypeDescription"), QStringLiteral("MySQL")),
              QStringLiteral("MySQL database connectivity, support for MySQL 3.x, MySQL 4.x, MySQL 5.x and MySQL6.x.\r\n"));
    destroyStringResourceManager();
}

} // namespace
