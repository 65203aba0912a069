#include "platform/db/DbTimeStamp.h"
#include "platform/db/DbValue.h"

#include "foundation/Exception.h"

#include <gtest/gtest.h>

TEST(DbValue, DecimalKeepsEveryDigit)
{
    const QString digits = QStringLiteral("-123456789012345678901234567890.123456");
    const DbValue v = DbValue::decimal(digits);
    EXPECT_EQ(v.toDecimalText(), digits);
    EXPECT_EQ(v.toString(), digits);
    EXPECT_EQ(DbValue::decimal(QStringLiteral("+007.10")).toDecimalText(), QStringLiteral("7.10"));
    EXPECT_EQ(DbValue::decimal(QStringLiteral("-0.000")).toDecimalText(), QStringLiteral("0.000"));
    EXPECT_EQ(DbValue::decimal(QStringLiteral("-.5")).toDecimalText(), QStringLiteral("-0.5"));
    for (const char* bad : {"", "1e5", "1,5", "--1", "abc", "1.2.3"})
        EXPECT_THROW(DbValue::decimal(QString::fromLatin1(bad)), Exception) << bad;
}

TEST(DbValue, IntegerConversionsRefuseWhatDoesNotFit)
{
    EXPECT_EQ(DbValue::decimal(QStringLiteral("12.000")).toInt64(), 12);
    EXPECT_THROW(DbValue::decimal(QStringLiteral("12.5")).toInt64(), Exception);
    EXPECT_THROW(DbValue::decimal(QStringLiteral("99999999999999999999")).toInt64(), Exception);
    EXPECT_THROW(DbValue::integer(int64_t(1) << 40).toInt32(), Exception);
    EXPECT_EQ(DbValue::integer(-5).toInt32(), -5);
    EXPECT_THROW(DbValue::floating(2.5).toInt64(), Exception);
    EXPECT_EQ(DbValue::floating(3.0).toInt64(), 3);
    EXPECT_THROW(DbValue::string(QStringLiteral("x")).toInt64(), Exception);
    EXPECT_THROW(DbValue::bytes("ab").toDouble(), Exception);
}

TEST(DbValue, NullReadsAsZeroOfEveryKind)
{
    const DbValue n;
    EXPECT_TRUE(n.isNull());
    EXPECT_EQ(n.toString(), QString());
    EXPECT_EQ(n.toInt64(), 0);
    EXPECT_EQ(n.toDouble(), 0.0);
    EXPECT_FALSE(n.toBool());
    EXPECT_TRUE(n.toBytes().isEmpty());
    EXPECT_EQ(n.toTimeStamp(), DbTimeStamp());
}

TEST(DbTimeStamp, ParsesAndPrintsWithMicroseconds)
{
    const DbTimeStamp ts = DbTimeStamp::parse(QStringLiteral("1850-02-28 13:45:07.000123"));
    EXPECT_EQ(ts, (DbTimeStamp{1850, 2, 28, 13, 45, 7, 123}));
    EXPECT_EQ(ts.toString(), QStringLiteral("1850-02-28 13:45:07.000123"));
    EXPECT_EQ(DbTimeStamp::parse(QStringLiteral("2024-02-29T00:00:00.5")).microsecond, 500000);
    EXPECT_EQ(DbTimeStamp::parse(QStringLiteral("23:59:59")).hour, 23);
    for (const char* bad : {"2023-02-29", "2024-13-01", "24:00:00", "12:60", "yesterday", ""})
        EXPECT_THROW(DbTimeStamp::parse(QString::fromLatin1(bad)), Exception) << bad;
}

TEST(DbTimeStamp, DayNumbersFollowTheDateTimeConvention)
{
    struct Case { DbTimeStamp ts; double days; };
    const Case cases[] = {
        {{1899, 12, 30, 0, 0, 0, 0}, 0.0},
        {{1900, 1, 1, 12, 0, 0, 0}, 2.5},
        {{1899, 12, 29, 6, 0, 0, 0}, -1.25},
        {{1800, 1, 1, 0, 0, 0, 0}, -36522.0},
    };
    for (const Case& c : cases) {
        EXPECT_DOUBLE_EQ(c.ts.toDays(), c.days) << c.ts.toString().toStdString();
        EXPECT_EQ(DbTimeStamp::fromDays(c.days), c.ts) << c.days;
    }
    const DbTimeStamp old{1066, 10, 14, 9, 30, 0, 0};
    EXPECT_EQ(DbTimeStamp::fromDateTime(old.toDateTime()), old);
}
