#include "ShellFakes.h"

#include "foundation/StringResource.h"

#include <gtest/gtest.h>

TEST(ConvertManager, LaterCreatorOfTheSameNameReplacesTheEarlierOne)
{
    int alive = 0;
    TDBConvertManager manager;
    manager.registerConvertCreator(std::make_unique<TCountingConvertCreator>("Alpha", "first alpha", &alive));
    manager.registerConvertCreator(std::make_unique<TCountingConvertCreator>("CopyConvert", "first", &alive));
    manager.registerConvertCreator(std::make_unique<TCountingConvertCreator>("COPYCONVERT", "second", &alive));
    EXPECT_EQ(alive, 2) << "the replaced creator is destroyed";
    EXPECT_EQ(manager.convertNames().lines(), QStringList({"Alpha", "COPYCONVERT"}));

    const auto job = manager.createConvert(QStringLiteral("copyconvert"));
    ASSERT_NE(job, nullptr);
    EXPECT_EQ(static_cast<TTestJob*>(job.get())->tag, QStringLiteral("second"));
    EXPECT_EQ(manager.createConvert(QStringLiteral("Unknown")), nullptr);

    manager.registerConvertCreator(nullptr);
    EXPECT_EQ(manager.convertNames().count(), 2);
}

TEST(ConvertManager, CreatorsLiveUntilTheRegistryGoes)
{
    int alive = 0;
    {
        TDBConvertManager manager;
        manager.registerConnectConfigCreator(std::make_unique<TCountingConfigCreator>("MySQL", "m", "s", &alive));
        manager.registerConnectConfigCreator(std::make_unique<TCountingConfigCreator>("mysql", "m", "s", &alive));
        EXPECT_EQ(alive, 1);
    }
    EXPECT_EQ(alive, 0);
}

TEST(ConvertManager, NameListsAreSortedAndCreateByName)
{
    int alive = 0;
    TDBConvertManager manager;
    for (const char* name : {"Oracle", "MySQL", "access", "DB2"})
        manager.registerConnectConfigCreator(
            std::make_unique<TCountingConfigCreator>(name, "UniDAC_DBTypeDescription", name, &alive));
    EXPECT_EQ(manager.connectConfigNames().lines(), QStringList({"access", "DB2", "MySQL", "Oracle"}));
    EXPECT_TRUE(manager.convertNames().isEmpty());

    const auto config = manager.createConnectConfig(QStringLiteral("ORACLE"));
    ASSERT_NE(config, nullptr);
    EXPECT_EQ(config->getTitle(), QStringLiteral("Oracle"));
    EXPECT_EQ(manager.createConnectConfig(QStringLiteral("Orac")), nullptr);
}

TEST(ConvertManager, TypeMappingSlotsAnswerFromTheShippedTables)
{
    TDBConvertManager manager;
    int precision = 50, scale = -1;
    EXPECT_EQ(manager.getFieldScope(2, QStringLiteral("NUMBER")), 5);
    EXPECT_EQ(manager.getFieldTypeName(1, ftString), QStringLiteral("VARCHAR"));
    EXPECT_TRUE(manager.autoDetectLen(2, QStringLiteral("NUMBER"), precision, scale));
    EXPECT_EQ(precision, 38);
    EXPECT_EQ(scale, 0);
}

class ResourceFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        createStringResourceManager();
        auto add = [this](const QString& language, const QString& oracleText) {
            auto table = std::make_unique<TKwStringsComponent>();
            table->addSection(QStringLiteral("Oracle"), oracleText);
            table->addSection(QStringLiteral("Titles"), QStringLiteral("JobTitle=") + language + QStringLiteral(" title"));
            stringResourceManager().registerModule(QStringLiteral("UniDAC_DBTypeDescription"), table.get(), language);
            m_tables.push_back(std::move(table));
        };
        add(QStringLiteral("EN"), QStringLiteral("Oracle database connectivity, support Orace 8i"));
        add(QStringLiteral("CN"), QStringLiteral("Oracle 数据库连接"));
    }
    void TearDown() override { destroyStringResourceManager(); }

    std::vector<std::unique_ptr<TKwStringsComponent>> m_tables;
};

TEST_F(ResourceFixture, DescriptionComesFromTheCurrentLanguage)
{
    int alive = 0;
    TDBConvertManager manager;
    manager.registerConnectConfigCreator(
        std::make_unique<TCountingConfigCreator>("Oracle", "UniDAC_DBTypeDescription", "Oracle", &alive));
    stringResourceManager().setLanguage(QStringLiteral("EN"));
    EXPECT_EQ(manager.connectConfigDescription(QStringLiteral("oracle")),
              QStringLiteral("Oracle database connectivity, support Orace 8i\r\n"));
    stringResourceManager().setLanguage(QStringLiteral("CN"));
    EXPECT_EQ(manager.connectConfigDescription(QStringLiteral("Oracle")), QStringLiteral("Oracle 数据库连接\r\n"));
    EXPECT_EQ(manager.connectConfigDescription(QStringLiteral("MySQL")), QString());
}

TEST_F(ResourceFixture, DisplayTitleRule)
{
    stringResourceManager().setLanguage(QStringLiteral("EN"));
    const QString module = QStringLiteral("UniDAC_DBTypeDescription");
    const QString section = QStringLiteral("Titles");
    const QString key = QStringLiteral("JobTitle");
    EXPECT_EQ(displayTitle(key, module, section), QStringLiteral("EN title"));
    EXPECT_EQ(displayTitle(key, QString(), section), key);
    EXPECT_EQ(displayTitle(key, module, QString()), key);

    TTestConfig config(TTitleTexts{key, module, section});
    EXPECT_EQ(config.getTitle(), key);
    EXPECT_EQ(config.getDisplayTitle(), QStringLiteral("EN title"));
    stringResourceManager().setLanguage(QStringLiteral("CN"));
    EXPECT_EQ(config.getDisplayTitle(), QStringLiteral("CN title"));
}
