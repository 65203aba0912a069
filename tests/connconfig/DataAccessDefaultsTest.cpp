// The data-access defaults module: catalogue type names, provider names and
// the sections the settings pages read.

#include "dbaccess/DataAccessModule.h"
#include "foundation/KwStringsComponent.h"
#include "foundation/StringList.h"

#include <gtest/gtest.h>

namespace {

TEST(DataAccessDefaults, SourceTypeNamesOfTheCatalogues)
{
    const struct {
        int kind;
        const char* raw;
        const char* expected;
    } cases[] = {
        {2, "TIMESTAMP(6) WITH TIME ZONE", "timestamp"},
        {2, "TIMESTAMP(3) WITH LOCAL TIME ZONE", "timestamp"},
        {2, "TIMESTAMP(6)", "timestamp"},
        {2, "INTERVAL DAY(2) TO SECOND(6)", "timestamp"},
        {2, "INTERVAL YEAR(2) TO MONTH", "timestamp"},
        {2, "timestamp(6)", "timestamp(6)"}, // letter case respected
        {2, "TIMESTAMP", "TIMESTAMP"},
        {2, "TIMESTAMP(6) WITH TIME-ZONE", "TIMESTAMP(6) WITH TIME-ZONE"},
        {2, "NUMBER", "NUMBER"},
        {2, "16", "16"}, // no code table for Oracle
        {7, "16", "BIGINT"}, // the first of the three lines for 16
        {7, "37", "VARCHAR"},
        {7, "999", "999"},
        {6, "1043", "character_varying"},
        {6, "1114", "timestamp_without_time_zone"},
        {6, "", ""},
        {1, "16", "16"},
        {255, "7", "7"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(mapSourceTypeName(c.kind, QString::fromLatin1(c.raw)), QString::fromLatin1(c.expected))
            << c.kind << " " << c.raw;
}

TEST(DataAccessDefaults, ProviderNamesAndSections)
{
    const std::pair<const char*, const char*> providers[] = {
        {"Oracle", "Oracle"}, {"mysql", "MySQL"}, {"MSSQL", "SQL Server"}, {"Firebird", "InterBase"},
        {"Excel", "ODBC"},    {"Other", ""},      {"", ""},
    };
    for (const auto& [kind, provider] : providers)
        EXPECT_EQ(providerNameOfKind(QString::fromLatin1(kind)), QString::fromLatin1(provider)) << kind;

    const TStringList* mysqlPage = dataAccessSection(QStringLiteral("mysqlframe_componentnamemapping"));
    ASSERT_NE(mysqlPage, nullptr);
    EXPECT_EQ(mysqlPage->value(QStringLiteral("Edit_Port")), QStringLiteral("MainProperty_Port"));
    const TStringList* oraclePage = dataAccessSection(QStringLiteral("OracleFrame_ComponentNameMapping"));
    ASSERT_NE(oraclePage, nullptr);
    EXPECT_EQ(oraclePage->value(QStringLiteral("Edit_Direct")), QStringLiteral("Direct"));
    const TStringList* commonPage = dataAccessSection(QStringLiteral("CommonFrame_ComponentNameMapping"));
    ASSERT_NE(commonPage, nullptr);
    EXPECT_EQ(commonPage->value(QStringLiteral("ComboBox_DataBase")), QStringLiteral("MainProperty_Database"));
    EXPECT_EQ(dataAccessSection(QStringLiteral("Default_DB2")), nullptr);
    EXPECT_EQ(&dataAccessModule(), &dataAccessModule());
}

} // namespace
