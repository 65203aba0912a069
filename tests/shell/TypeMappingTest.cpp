// Type mapping by the shipped tables: destination type names, size-part
// classes, AutoDetect bounds and the merged lists of custom statements.

#include "foundation/KwStringsComponent.h"
#include "foundation/StringList.h"
#include "shell/MainDataModule.h"
#include "shell/TypeMapping.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

constexpr int kMySQL = 1, kOracle = 2, kAccess = 4, kMSSQL = 5, kPostgreSQL = 6, kOther = 255;

const TKwStringsComponent& shipped(const char* name)
{
    const TKwStringsComponent* table = mainDataModule().table(QString::fromLatin1(name));
    if (!table)
        throw std::runtime_error(std::string("no shipped table ") + name);
    return *table;
}

TEST(TypeMapping, DestinationTypeNames)
{
    const struct {
        int kind;
        TFieldType type;
        const char* expected;
    } cases[] = {
        {kMySQL, ftString, "VARCHAR"},
        {kMySQL, ftSmallint, "INT"},
        {kMySQL, ftByte, "SMALLINT"},
        {kMySQL, ftFMTBcd, "DECIMAL"},
        {kMySQL, ftVarBytes, "VARBINARY"},
        {kMySQL, ftOraInterval, "VARCHAR"},
        {kMySQL, ftGuid, "VARCHAR"},       // the kind fills what "Default" leaves empty
        {kMySQL, ftCursor, "varchar"},     // no MySQL line, empty "Default" value
        {kMySQL, ftStream, "varchar"},
        // No value is lost in a MySQL destination: double precision, 4 GB
        // objects, microseconds.
        {kMySQL, ftFloat, "DOUBLE"},
        {kMySQL, ftMemo, "LONGTEXT"},
        {kMySQL, ftFmtMemo, "LONGTEXT"},
        {kMySQL, ftWideMemo, "LONGTEXT"},
        {kMySQL, ftOraClob, "LONGTEXT"},
        {kMySQL, ftBlob, "LONGBLOB"},
        {kMySQL, ftGraphic, "LONGBLOB"},
        {kMySQL, ftOraBlob, "LONGBLOB"},
        {kMySQL, ftParadoxOle, "LONGBLOB"},
        {kMySQL, ftVariant, "LONGBLOB"},
        {kMySQL, ftTimeStamp, "DATETIME(6)"},
        {kMySQL, ftOraTimeStamp, "DATETIME(6)"},
        {kMySQL, ftDateTime, "DATETIME"},
        {kOracle, ftFMTBcd, "NUMBER"},
        {kOracle, ftWideString, "VARCHAR2"},
        {kOracle, ftOraInterval, "varchar"},
        {kOracle, ftMemo, "CLOB"},
        {kAccess, ftOraClob, "OLEObject"},
        {kMSSQL, ftGuid, "UNIQUEIDENTIFIER"},
        {kPostgreSQL, ftBlob, "BYTEA"},
        {kOther, ftInteger, "INTEGER"}, // no section: "Default"
        {kOther, ftParams, "varchar"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(QStringLiteral("kind %1, %2").arg(c.kind).arg(fieldTypeName(c.type)).toStdString());
        EXPECT_EQ(fieldTypeNameOf(c.kind, c.type), QString::fromLatin1(c.expected));
    }
    EXPECT_EQ(fieldTypeNameOf(kMySQL, TFieldType(200)), QStringLiteral("varchar"));
}

// Catches misspelt field type names and lines lost from a section: a wrong
// name would silently fall back to "varchar".
TEST(TypeMapping, ShippedFieldMappingSectionsUseTheEnumeratorNames)
{
    const TKwStringsComponent& table = shipped("FieldMapping");
    const TStringList* base = table.findSectionLines(QStringLiteral("Default"));
    ASSERT_NE(base, nullptr);
    ASSERT_EQ(base->count(), kFieldTypeCount);
    for (int i = 0; i < kFieldTypeCount; ++i)
        EXPECT_EQ(base->name(i), fieldTypeName(i));

    const TStringList* mysql = table.findSectionLines(QStringLiteral("MySQL"));
    ASSERT_NE(mysql, nullptr);
    EXPECT_EQ(mysql->count(), 37);
    EXPECT_EQ(table.findSectionLines(QStringLiteral("Oracle"))->count(), 35);
    for (const char* kind : {"Access", "MSSQL", "Firebird", "PostgreSQL", "SQLite", "DB2", "Excel"}) {
        SCOPED_TRACE(kind);
        const TStringList* section = table.findSectionLines(QString::fromLatin1(kind));
        ASSERT_NE(section, nullptr);
        QStringList names;
        for (qsizetype i = 0; i < mysql->count(); ++i)
            if (QLatin1String(kind) != QLatin1String("MSSQL") || mysql->name(i) != QLatin1String("ftParadoxOle"))
                names.append(mysql->name(i));
        QStringList actual;
        for (qsizetype i = 0; i < section->count(); ++i) {
            actual.append(section->name(i));
            EXPECT_FALSE(section->valueFromIndex(i).isEmpty()) << section->at(i).toStdString();
        }
        EXPECT_EQ(actual, names);
    }
}

TEST(TypeMapping, ScopeClassOfWords)
{
    const std::pair<const char*, int> cases[] = {
        {"type", 1}, {"LENGTH", 2}, {"Integer", 3}, {"scope", 4}, {"autodetect", 5}, {"", 0}, {"size", 0}, {" type", 0},
    };
    for (const auto& [word, scope] : cases)
        EXPECT_EQ(scopeClassOfWord(QString::fromLatin1(word)), scope) << word;
}

TEST(TypeMapping, ScopeClassesOfTypeNames)
{
    const struct {
        int kind;
        const char* typeName;
        int expected;
    } cases[] = {
        {kMySQL, "VARCHAR", scLength}, // the table writes it in lower case
        {kMySQL, "DECIMAL", scScope},
        {kMySQL, "INT", scInteger},
        {kMySQL, "BIGINT", scInteger},
        {kMySQL, "TEXT", scType}, // not listed: empty "Default"
        {kMySQL, "BOOLEAN", scType},
        {kMySQL, "LONGTEXT", scType},
        {kMySQL, "LONGBLOB", scType},
        {kMySQL, "DATETIME(6)", scType}, // no size part appended to the written fraction
        {kOracle, "NUMBER", scAutoDetect},
        {kOracle, "varchar2", scLength},
        {kMSSQL, "numeric", scScope},
        {kMSSQL, "DECIMAL", scType},
        {kAccess, "DECIMAL", scAutoDetect},
        {kPostgreSQL, "VARCHAR", scType}, // no section at all
        {kOther, "VARCHAR", scType},
    };
    for (const auto& c : cases)
        EXPECT_EQ(fieldScopeOf(c.kind, QString::fromLatin1(c.typeName)), c.expected)
            << c.kind << " " << c.typeName;
}

// Every MySQL destination type has a known size class, so no generated
// column depends on an unknown word.
TEST(TypeMapping, EveryMySQLDestinationTypeHasAKnownScope)
{
    const auto merged = mainDataModule().mergedFieldMapping(kMySQL);
    ASSERT_NE(merged, nullptr);
    for (qsizetype i = 0; i < merged->count(); ++i) {
        const QString type = fieldTypeNameOf(kMySQL, TFieldType(i));
        EXPECT_NE(fieldScopeOf(kMySQL, type), scNone) << type.toStdString();
    }
}

TEST(TypeMapping, AutoDetectClampsIntoTheShippedBounds)
{
    const struct {
        int kind;
        const char* typeName;
        int precision, scale;
        int expectedPrecision, expectedScale;
        bool changed;
    } cases[] = {
        {kOracle, "NUMBER", 50, -1, 38, 0, true},
        {kOracle, "NUMBER", 0, 40, 1, 38, true},
        {kOracle, "number", 10, 2, 10, 2, false},
        {kOracle, "VARCHAR2", 5000, -1, 5000, -1, false},
        {kAccess, "DECIMAL", 30, 30, 28, 28, true},
        {kMySQL, "DECIMAL", 70, 40, 70, 40, false},
        {kOther, "NUMBER", 50, -1, 50, -1, false},
    };
    for (const auto& c : cases) {
        int precision = c.precision, scale = c.scale;
        SCOPED_TRACE(QStringLiteral("%1 %2 (%3,%4)").arg(c.kind).arg(QLatin1String(c.typeName)).arg(c.precision).arg(c.scale).toStdString());
        EXPECT_EQ(autoDetectLength(c.kind, QString::fromLatin1(c.typeName), precision, scale), c.changed);
        EXPECT_EQ(precision, c.expectedPrecision);
        EXPECT_EQ(scale, c.expectedScale);
    }
}

TEST(TypeMapping, BoundExpressions)
{
    const std::pair<const char*, int> cases[] = {
        {"38", 38}, {" 5 ", 5}, {"10-3", 7}, {"-1", -1}, {"abc", 0}, {"x-2", -2}, {"", 0}, {"40--2", 42},
    };
    for (const auto& [text, value] : cases)
        EXPECT_EQ(evaluateBoundText(QString::fromLatin1(text)), value) << text;
    EXPECT_EQ(replaceBoundWord(QStringLiteral("precisionMax-PRECISIONMAX"), QStringLiteral("PrecisionMax"), 9),
              QStringLiteral("9-9"));
}

// Bounds that refer to the other value: the scale goes first when the
// precision's bounds are not plain integers, and the longer word is replaced
// before the shorter one.
TEST(TypeMapping, BoundsReferringToTheOtherValue)
{
    TKwStringsComponent table;
    table.addSection(QStringLiteral("Oracle_Precision"), QStringLiteral("X=Scope,ScopeMax-1\r\nY=1,20\r\n"));
    table.addSection(QStringLiteral("Oracle_Scope"), QStringLiteral("X=0,10\r\nY=0,PrecisionMax-Precision\r\n"));

    int precision = 3, scale = 20;
    EXPECT_TRUE(autoDetectLengthIn(&table, kOracle, QStringLiteral("X"), precision, scale));
    EXPECT_EQ(scale, 10);     // clamped first, ScopeMax := 10
    EXPECT_EQ(precision, 9);  // lower bound 10 (the scale), then upper 10-1

    precision = 30;
    scale = 15;
    EXPECT_TRUE(autoDetectLengthIn(&table, kOracle, QStringLiteral("Y"), precision, scale));
    EXPECT_EQ(precision, 20); // first: integers only
    EXPECT_EQ(scale, 0);      // PrecisionMax 20 - precision 20

    // A line without ',' is no bound.
    table.addSection(QStringLiteral("Access_Precision"), QStringLiteral("Z=28\r\n"));
    precision = 99;
    scale = 0;
    EXPECT_FALSE(autoDetectLengthIn(&table, kAccess, QStringLiteral("Z"), precision, scale));
    EXPECT_EQ(precision, 99);
    EXPECT_FALSE(autoDetectLengthIn(nullptr, kOracle, QStringLiteral("X"), precision, scale));
}

TEST(TypeMapping, MergedListsOfCustomStatements)
{
    const auto fields = mainDataModule().mergedFieldMapping(kMySQL);
    ASSERT_NE(fields, nullptr);
    EXPECT_EQ(fields->count(), kFieldTypeCount);
    EXPECT_TRUE(fields->contains(QStringLiteral("ftCursor")));
    EXPECT_EQ(fields->value(QStringLiteral("ftCursor")), QString());
    EXPECT_EQ(fields->value(QStringLiteral("ftFloat")), QStringLiteral("DOUBLE"));
    EXPECT_EQ(fields->value(QStringLiteral("ftGuid")), QStringLiteral("VARCHAR"));

    const auto scopes = mainDataModule().mergedScopeTable(kMySQL);
    ASSERT_NE(scopes, nullptr);
    EXPECT_EQ(scopes->value(QStringLiteral("VARCHAR")), QStringLiteral("length"));
    EXPECT_FALSE(scopes->contains(QStringLiteral("text")));
}

TEST(TypeMapping, NotNullClauseExceptions)
{
    EXPECT_TRUE(isNotModifyFieldType(kMSSQL, QStringLiteral("text")));
    EXPECT_TRUE(isNotModifyFieldType(kMSSQL, QStringLiteral("IMAGE")));
    EXPECT_FALSE(isNotModifyFieldType(kMSSQL, QStringLiteral("varchar")));
    EXPECT_FALSE(isNotModifyFieldType(kMySQL, QStringLiteral("TEXT")));
    EXPECT_FALSE(isNotModifyFieldType(kOther, QString()));
}

} // namespace
