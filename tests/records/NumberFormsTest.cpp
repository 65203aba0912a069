// The 80-bit extended float, the BCD record and date-time numbers, converted
// bit by bit.

#include "RecordsTestSupport.h"

#include "records/BcdValue.h"
#include "records/DateTimeValue.h"
#include "records/ExtendedFloat.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

TEST(ExtendedFloat, KnownBitPatterns)
{
    struct { double value; const char* bytes; } cases[] = {
        {1.0, "00 00 00 00 00 00 00 80 FF 3F"},
        {-2.5, "00 00 00 00 00 00 00 A0 00 C0"},
        {0.0, "00 00 00 00 00 00 00 00 00 00"},
        {std::numeric_limits<double>::infinity(), "00 00 00 00 00 00 00 80 FF 7F"},
        {std::numeric_limits<double>::denorm_min(), "00 00 00 00 00 00 00 80 CD 3B"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(hexText(TExtended::fromDouble(c.value).toByteArray()), hexText(hexBytes(c.bytes))) << c.value;
        EXPECT_EQ(TExtended::fromBytes(hexBytes(c.bytes).constData()).toDouble(), c.value);
    }
    EXPECT_TRUE(std::isnan(TExtended::fromDouble(std::nan("")).toDouble()));
}

TEST(ExtendedFloat, RoundTripsAndExactIntegers)
{
    for (double v : {0.1, -123456.789, 1e300, -1e-300, 3.141592653589793})
        EXPECT_EQ(TExtended::fromDouble(v).toDouble(), v);
    for (int64_t v : {int64_t(0), int64_t(-1), INT64_MAX, INT64_MIN, int64_t(1) << 53 | 1}) {
        int64_t back = 0;
        ASSERT_TRUE(TExtended::fromInt64(v).toInt64Exact(&back)) << v;
        EXPECT_EQ(back, v);
    }
    int64_t out = 0;
    EXPECT_FALSE(TExtended::fromDouble(0.5).toInt64Exact(&out));
    EXPECT_FALSE(TExtended::fromDouble(1e19).toInt64Exact(&out));
    // A mantissa beyond 53 bits rounds to the nearest double, ties to even.
    EXPECT_EQ(TExtended::fromInt64((int64_t(1) << 62) + 1).toDouble(), std::ldexp(1.0, 62));
    EXPECT_EQ(TExtended::fromInt64((int64_t(1) << 54) + 3).toDouble(), double((int64_t(1) << 54) + 4));
}

TEST(BcdValue, LayoutAndText)
{
    TBcd bcd;
    ASSERT_TRUE(TBcd::fromPlainText(QStringLiteral("-123.45"), u'.', &bcd));
    QByteArray expected(34, '\0');
    expected[0] = 5;
    expected[1] = char(0x82);
    expected[2] = 0x12, expected[3] = 0x34, expected[4] = 0x50;
    EXPECT_EQ(hexText(bcd.toByteArray()), hexText(expected));
    EXPECT_EQ(bcd.toPlainText(u','), QStringLiteral("-123,45"));
    EXPECT_DOUBLE_EQ(bcd.toDouble(), -123.45);

    const struct { const char* text; const char* plain; } cases[] = {
        {"0", "0"}, {"007", "7"}, {"-0.0", "0.0"}, {".5", "0.5"}, {"+10", "10"},
        {"99999999999999999999999999999999999999", "99999999999999999999999999999999999999"},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(TBcd::fromPlainText(QString::fromLatin1(c.text), u'.', &bcd)) << c.text;
        EXPECT_EQ(bcd.toPlainText(u'.'), QString::fromLatin1(c.plain));
    }
    for (const char* bad : {"", "-", "1.2.3", "1,5", "1e3", " 1", QByteArray(65, '9').constData()})
        EXPECT_FALSE(TBcd::fromPlainText(QString::fromLatin1(bad), u'.', &bcd)) << bad;
}

TEST(BcdValue, FromNumbersAndDamage)
{
    TBcd bcd;
    ASSERT_TRUE(TBcd::fromDouble(1234.5, &bcd));
    EXPECT_EQ(bcd.toPlainText(u'.'), QStringLiteral("1234.5"));
    ASSERT_TRUE(TBcd::fromDouble(1e20, &bcd));
    EXPECT_EQ(bcd.toPlainText(u'.'), QStringLiteral("100000000000000000000"));
    ASSERT_TRUE(TBcd::fromDouble(-0.000125, &bcd));
    EXPECT_EQ(bcd.toPlainText(u'.'), QStringLiteral("-0.000125"));
    EXPECT_FALSE(TBcd::fromDouble(std::numeric_limits<double>::infinity(), &bcd));
    EXPECT_EQ(TBcd::fromInt64(INT64_MIN).toPlainText(u'.'), QStringLiteral("-9223372036854775808"));

    QByteArray damaged = TBcd::fromInt64(5).toByteArray();
    damaged[2] = char(0xA0);
    EXPECT_FALSE(TBcd::fromBytes(damaged.constData()).isValid());
    damaged = TBcd::fromInt64(5).toByteArray();
    damaged[1] = 3; // more places than digits
    EXPECT_FALSE(TBcd::fromBytes(damaged.constData()).isValid());
}

TEST(DateTimeValue, NumbersTimestampsAndTexts)
{
    TSQLTimeStamp s;
    ASSERT_TRUE(dateTimeToTimeStamp(-1.25, &s)); // before the epoch the fraction still counts forward
    EXPECT_EQ(s.year, 1899);
    EXPECT_EQ(s.day, 29);
    EXPECT_EQ(s.hour, 6);
    double back = 0;
    ASSERT_TRUE(timeStampToDateTime(s, &back));
    EXPECT_DOUBLE_EQ(back, -1.25);
    EXPECT_TRUE(timeStampToDateTime(TSQLTimeStamp(), &back));
    EXPECT_EQ(back, 0.0);
    EXPECT_FALSE(dateTimeToTimeStamp(1e9, &s));

    QString text;
    ASSERT_TRUE(formatDateTimeText(0.5, &text));
    EXPECT_EQ(text, QStringLiteral("30/12/1899 12:00:00"));
    ASSERT_TRUE(parseDateTimeText(QStringLiteral("31/12/1999 23:59:59"), &back));
    ASSERT_TRUE(dateTimeToTimeStamp(back, &s));
    EXPECT_EQ(s.year, 1999);
    EXPECT_EQ(s.second, 59);
    ASSERT_TRUE(parseDateTimeText(QStringLiteral("2001-02-03T04:05:06"), &back));
    EXPECT_FALSE(parseDateTimeText(QStringLiteral("31/02/1999"), &back));
}
