#include "platform/db/MySqlTypeMap.h"

#include <gtest/gtest.h>
#include <mysql.h>

namespace {

DbFieldDef describe(enum_field_types type, unsigned flags, unsigned long length, unsigned decimals,
                    unsigned charsetnr, MySqlTypeOptions options = {})
{
    MYSQL_FIELD f{};
    f.type = type;
    f.flags = flags;
    f.length = length;
    f.decimals = decimals;
    f.charsetnr = charsetnr;
    DbFieldDef def;
    MySqlTypeMap::describe(f, options, def);
    return def;
}

constexpr unsigned kUtf8 = 45;   // utf8mb4_general_ci
constexpr unsigned kBinary = 63;

} // namespace

TEST(MySqlTypeMap, IntegersKeepIntegerTypesOnlyWhereEveryValueFits)
{
    struct Case { enum_field_types type; bool isUnsigned; TFieldType expected; };
    const Case cases[] = {
        {MYSQL_TYPE_TINY, false, ftSmallint},    {MYSQL_TYPE_TINY, true, ftSmallint},
        {MYSQL_TYPE_SHORT, false, ftSmallint},   {MYSQL_TYPE_SHORT, true, ftInteger},
        {MYSQL_TYPE_INT24, false, ftInteger},    {MYSQL_TYPE_INT24, true, ftInteger},
        {MYSQL_TYPE_LONG, false, ftInteger},     {MYSQL_TYPE_LONG, true, ftLargeint},
        {MYSQL_TYPE_LONGLONG, false, ftLargeint}, {MYSQL_TYPE_LONGLONG, true, ftFMTBcd},
        {MYSQL_TYPE_YEAR, true, ftSmallint},
    };
    for (const Case& c : cases)
        EXPECT_EQ(describe(c.type, c.isUnsigned ? UNSIGNED_FLAG : 0, 11, 0, kBinary).dataType, c.expected)
            << c.type << (c.isUnsigned ? " unsigned" : "");
}

TEST(MySqlTypeMap, BooleanOnlyWhenAskedFor)
{
    MySqlTypeOptions withBoolean;
    withBoolean.enableBoolean = true;
    EXPECT_EQ(describe(MYSQL_TYPE_TINY, 0, 1, 0, kBinary).dataType, ftSmallint);
    EXPECT_EQ(describe(MYSQL_TYPE_TINY, 0, 1, 0, kBinary, withBoolean).dataType, ftBoolean);
    EXPECT_EQ(describe(MYSQL_TYPE_TINY, 0, 4, 0, kBinary, withBoolean).dataType, ftSmallint);
}

TEST(MySqlTypeMap, ExactNumbersAreDecimalDigitsWithPrecisionAndScale)
{
    const DbFieldDef d = describe(MYSQL_TYPE_NEWDECIMAL, 0, 32, 4, kBinary); // DECIMAL(30,4)
    EXPECT_EQ(d.dataType, ftFMTBcd);
    EXPECT_EQ(d.precision, 30);
    EXPECT_EQ(d.scale, 4);
    EXPECT_EQ(describe(MYSQL_TYPE_NEWDECIMAL, UNSIGNED_FLAG, 10, 0, kBinary).precision, 10);
    MySqlTypeOptions loose;
    loose.preciseDecimal = false;
    EXPECT_EQ(describe(MYSQL_TYPE_NEWDECIMAL, 0, 32, 4, kBinary, loose).dataType, ftFloat);
    EXPECT_EQ(describe(MYSQL_TYPE_DOUBLE, 0, 22, 31, kBinary).dataType, ftFloat);
    EXPECT_EQ(describe(MYSQL_TYPE_FLOAT, 0, 12, 31, kBinary).dataType, ftFloat);
}

TEST(MySqlTypeMap, CharacterBinaryAndTemporalKinds)
{
    MySqlTypeOptions unicode;
    unicode.unicode = true;
    unicode.mbMaxLen = 4;
    struct Case { enum_field_types type; unsigned flags; unsigned long length; unsigned charset; bool wide;
                  TFieldType expected; int size; };
    const Case cases[] = {
        {MYSQL_TYPE_VAR_STRING, 0, 80, kUtf8, true, ftWideString, 20},
        {MYSQL_TYPE_VAR_STRING, 0, 20, kUtf8, false, ftString, 20},
        {MYSQL_TYPE_STRING, 0, 40, kUtf8, true, ftFixedWideChar, 10},
        {MYSQL_TYPE_STRING, 0, 10, kUtf8, false, ftFixedChar, 10},
        {MYSQL_TYPE_STRING, ENUM_FLAG, 40, kUtf8, true, ftWideString, 10},
        {MYSQL_TYPE_STRING, BINARY_FLAG, 16, kBinary, true, ftBytes, 16},
        {MYSQL_TYPE_VAR_STRING, BINARY_FLAG, 255, kBinary, true, ftVarBytes, 255},
        {MYSQL_TYPE_BLOB, 0, 4294967295UL, kUtf8, true, ftWideMemo, 0},
        {MYSQL_TYPE_BLOB, 0, 65535, kUtf8, false, ftMemo, 0},
        {MYSQL_TYPE_BLOB, BINARY_FLAG, 65535, kBinary, true, ftBlob, 0},
        {MYSQL_TYPE_DATE, 0, 10, kBinary, true, ftDate, 0},
        {MYSQL_TYPE_TIME, 0, 10, kBinary, true, ftTime, 0},
        {MYSQL_TYPE_DATETIME, 0, 26, kBinary, true, ftDateTime, 0},
        {MYSQL_TYPE_TIMESTAMP, 0, 26, kBinary, true, ftDateTime, 0},
    };
    for (const Case& c : cases) {
        MySqlTypeOptions o = unicode;
        o.unicode = c.wide;
        o.mbMaxLen = c.wide ? 4 : 1;
        const DbFieldDef d = describe(c.type, c.flags, c.length, 0, c.charset, o);
        EXPECT_EQ(d.dataType, c.expected) << c.type << " flags " << c.flags;
        EXPECT_EQ(d.size, c.size) << c.type;
    }
    EXPECT_TRUE(describe(MYSQL_TYPE_LONG, NOT_NULL_FLAG, 11, 0, kBinary).required);
    EXPECT_EQ(describe(MYSQL_TYPE_DATETIME, 0, 26, 6, kBinary).scale, 6);
}
