#include "platform/db/OracleTypeMap.h"

#include <gtest/gtest.h>

namespace {

struct Row {
    const char* type;
    int length, precision, scale;
    bool unicode;
    TFieldType expected;
};

} // namespace

TEST(OracleTypeMap, DictionaryTypesMapByPrecisionAndKind)
{
    const Row rows[] = {
        {"NUMBER", 22, 9, 0, false, ftInteger},
        {"NUMBER", 22, 10, 0, false, ftLargeint},
        {"NUMBER", 22, 18, 0, false, ftLargeint},
        {"NUMBER", 22, 19, 0, false, ftFMTBcd},
        {"NUMBER", 22, -1, -1, false, ftFMTBcd},   // plain NUMBER
        {"NUMBER", 22, -1, 0, false, ftFMTBcd},    // INTEGER = NUMBER(38) with no precision shown
        {"NUMBER", 22, 10, 2, false, ftFMTBcd},
        {"FLOAT", 22, 126, -1, false, ftFMTBcd},
        {"BINARY_FLOAT", 4, -1, -1, false, ftFloat},
        {"BINARY_DOUBLE", 8, -1, -1, false, ftFloat},
        {"VARCHAR2", 200, -1, -1, false, ftString},
        {"VARCHAR2", 200, -1, -1, true, ftWideString},
        {"NVARCHAR2", 100, -1, -1, false, ftWideString},
        {"CHAR", 10, -1, -1, false, ftFixedChar},
        {"CHAR", 10, -1, -1, true, ftFixedWideChar},
        {"CLOB", 4000, -1, -1, true, ftOraClob},
        {"NCLOB", 4000, -1, -1, false, ftOraClob},
        {"LONG", 0, -1, -1, false, ftOraClob},
        {"BLOB", 4000, -1, -1, false, ftOraBlob},
        {"LONG RAW", 0, -1, -1, false, ftOraBlob},
        {"RAW", 16, -1, -1, false, ftVarBytes},
        {"DATE", 7, -1, -1, false, ftDateTime},
        {"TIMESTAMP(0)", 7, -1, 0, false, ftDateTime},
        {"TIMESTAMP(6)", 11, -1, 6, false, ftOraTimeStamp},
        {"TIMESTAMP(3) WITH TIME ZONE", 13, -1, 3, false, ftOraTimeStamp},
        {"INTERVAL DAY(2) TO SECOND(6)", 11, 2, 6, false, ftOraInterval},
        {"INTERVAL YEAR(2) TO MONTH", 5, 2, 0, false, ftOraInterval},
    };
    for (const Row& r : rows) {
        OracleColumnType c{QString::fromLatin1(r.type), r.length, r.precision, r.scale};
        DbFieldDef def;
        ASSERT_TRUE(OracleTypeMap::describe(c, r.unicode, true, def)) << r.type;
        EXPECT_EQ(def.dataType, r.expected) << r.type << " " << r.precision << "," << r.scale;
    }
}

TEST(OracleTypeMap, SizesPrecisionAndLooseDecimals)
{
    DbFieldDef def;
    ASSERT_TRUE(OracleTypeMap::describe({QStringLiteral("NUMBER"), 22, 30, 8}, false, true, def));
    EXPECT_EQ(def.precision, 30);
    EXPECT_EQ(def.scale, 8);
    ASSERT_TRUE(OracleTypeMap::describe({QStringLiteral("NUMBER"), 22, 30, 8}, false, false, def));
    EXPECT_EQ(def.dataType, ftFloat);
    // Integers stay integers without the precise-decimal option.
    ASSERT_TRUE(OracleTypeMap::describe({QStringLiteral("NUMBER"), 22, 9, 0}, false, false, def));
    EXPECT_EQ(def.dataType, ftInteger);
    ASSERT_TRUE(OracleTypeMap::describe({QStringLiteral("NVARCHAR2"), 2000, -1, -1}, true, true, def));
    EXPECT_EQ(def.size, 2000);
    ASSERT_TRUE(OracleTypeMap::describe({QStringLiteral("TIMESTAMP(6)"), 11, -1, 6}, true, true, def));
    EXPECT_EQ(def.scale, 6);
    EXPECT_FALSE(OracleTypeMap::describe({QStringLiteral("SDO_GEOMETRY"), 1, -1, -1}, true, true, def));
}
