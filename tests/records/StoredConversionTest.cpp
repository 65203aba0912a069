// Reading stored values as every requested kind: the conversion table, its
// failures and the size rules of payload kinds.

#include "RecordsTestSupport.h"

#include "foundation/Exception.h"
#include "records/ReadDataField_Hash.h"
#include "records/StoredPayload.h"

#include <QDate>
#include <gtest/gtest.h>

namespace {
enum Getter { gString, gInteger, gInt64, gBoolean, gFloat, gExtended, gBCD, gDateTime, gTimeStamp };

struct Case {
    int fieldType;
    QByteArray payload;
    Getter getter;
    QString expected; // the result as text, or "!" + the error message
};

QString call(const TReadDataField_Hash& f, Getter g)
{
    switch (g) {
    case gString: return f.asString();
    case gInteger: return QString::number(f.asInteger());
    case gInt64: return QString::number(f.asInt64());
    case gBoolean: return f.asBoolean() ? QStringLiteral("true") : QStringLiteral("false");
    case gFloat: return QString::number(f.asFloat(), 'g', 17);
    case gExtended: return QString::number(f.asExtended().toDouble(), 'g', 17);
    case gBCD: return f.asBCD().toPlainText(u'.');
    case gDateTime: return QString::number(f.asDateTime(), 'g', 17);
    case gTimeStamp: {
        const TSQLTimeStamp s = f.asSQLTimeStamp();
        return QStringLiteral("%1-%2-%3 %4:%5:%6.%7").arg(s.year).arg(s.month).arg(s.day).arg(s.hour)
            .arg(s.minute).arg(s.second).arg(s.fractions);
    }
    }
    return QString();
}

QString result(int fieldType, const QByteArray& payload, Getter g)
{
    TDatasetFieldDef def{QStringLiteral("F"), fieldType, false};
    TReadDataField_Hash field(&def);
    field.setValue(false, payload);
    try {
        return call(field, g);
    } catch (const Exception& e) {
        return u'!' + e.message();
    }
}

QByteArray stamp(int y, int mo, int d, int h, int mi, int s, int ms)
{
    TSQLTimeStamp t;
    t.year = int16_t(y), t.month = uint16_t(mo), t.day = uint16_t(d), t.hour = uint16_t(h);
    t.minute = uint16_t(mi), t.second = uint16_t(s), t.fractions = uint32_t(ms);
    return t.toByteArray();
}

QString err(const char* source, const char* dest, const QString& value)
{
    return QStringLiteral("!Error field data,source type=%1 dest type=%2 value=\"%3\"")
        .arg(QLatin1String(source), QLatin1String(dest), value);
}

// 2024-03-05 (45356 days after 1899-12-30) at 06:00.
const double kMarchFifth = 45356.25;
} // namespace

TEST(StoredConversion, ConversionTable)
{
    const QByteArray f25 = doublePayload(2.5), f3 = doublePayload(3.0);
    const QByteArray i2 = int32Payload(2), i1 = int32Payload(1), i0 = int32Payload(0);
    const QByteArray big = int64Payload((int64_t(1) << 32) + 5);
    const QByteArray yes = booleanPayload(true);
    const QByteArray bcd = TBcd::fromInt64(-1234).toByteArray();
    const QByteArray eight = doublePayload(1.5);
    const Case cases[] = {
        // texts
        {ftWideString, textPayload(QStringLiteral("42")), gInteger, QStringLiteral("42")},
        {ftString, textPayload(QStringLiteral("4x")), gInteger, QStringLiteral("!'4x' is not a valid integer value")},
        {ftString, textPayload(QStringLiteral("5000000000")), gInt64, QStringLiteral("!'5000000000' is not a valid integer value")},
        {ftMemo, textPayload(QStringLiteral("tRuE")), gBoolean, QStringLiteral("true")},
        {ftString, textPayload(QStringLiteral("0")), gBoolean, QStringLiteral("false")},
        {ftString, textPayload(QStringLiteral("maybe")), gBoolean, QStringLiteral("!'maybe' is not a valid boolean value")},
        {ftString, textPayload(QStringLiteral("2.25")), gFloat, QStringLiteral("2.25")},
        {ftString, textPayload(QStringLiteral("-12.50")), gBCD, QStringLiteral("-12.50")},
        {ftString, textPayload(QStringLiteral("1e5")), gBCD, QStringLiteral("!'1e5' is not a valid BCD value")},
        {ftString, textPayload(QStringLiteral("05/03/2024 06:00:00")), gDateTime, QString::number(kMarchFifth, 'g', 17)},
        {ftString, textPayload(QStringLiteral("05/03/2024")), gTimeStamp, QStringLiteral("2024-3-5 0:0:0.0")},
        {ftString, textPayload(QStringLiteral("yesterday")), gDateTime, QStringLiteral("!'yesterday' is not a valid date and time")},
        // integers
        {ftInteger, i2, gString, QStringLiteral("2")},
        {ftInteger, i2, gBoolean, err("rftInteger", "rftBoolean", QStringLiteral("2"))},
        {ftInteger, i1, gBoolean, QStringLiteral("true")},
        {ftSmallint, i0, gBoolean, QStringLiteral("false")},
        {ftInteger, int32Payload(-7), gInt64, QStringLiteral("-7")},
        {ftInteger, i2, gDateTime, QStringLiteral("2")},
        {ftInteger, i2, gTimeStamp, QStringLiteral("1900-1-1 0:0:0.0")},
        {ftLargeint, big, gInt64, QStringLiteral("4294967301")},
        {ftLargeint, big, gBCD, QStringLiteral("4294967301")},
        {ftLargeint, big, gInteger, err("rftInt64", "rftInteger", QStringLiteral("4294967301"))},
        {ftLargeint, int64Payload(-5), gInteger, QStringLiteral("-5")},
        {ftLargeint, big, gExtended, QStringLiteral("4294967301")},
        // floats
        {ftFloat, f25, gInteger, err("rftFloat", "rftInteger", QStringLiteral("2.5"))},
        {ftFloat, f3, gInteger, QStringLiteral("3")},
        {ftFloat, doublePayload(-3.0), gInt64, QStringLiteral("-3")},
        {ftFloat, doublePayload(1e12), gInteger, err("rftFloat", "rftInteger", QStringLiteral("1000000000000"))},
        {ftCurrency, f3, gBoolean, err("rftFloat", "rftBoolean", QStringLiteral("3"))},
        {ftFloat, doublePayload(1.0), gBoolean, QStringLiteral("true")},
        {ftFloat, f25, gString, QStringLiteral("2.5")},
        {ftFloat, f25, gBCD, QStringLiteral("2.5")},
        {ftFloat, doublePayload(0.1), gBCD, QStringLiteral("0.1")},
        {ftFloat, f25, gDateTime, QStringLiteral("2.5")},
        {ftExtended, TExtended::fromDouble(2.5).toByteArray(), gInteger, err("rftExtended", "rftInteger", QStringLiteral("2.5"))},
        {ftExtended, TExtended::fromInt64(INT64_MAX).toByteArray(), gInt64, QString::number(INT64_MAX)},
        {ftExtended, TExtended::fromDouble(-0.75).toByteArray(), gFloat, QStringLiteral("-0.75")},
        // BCD
        {ftFMTBcd, bcd, gString, QStringLiteral("-1234")},
        {ftBCD, bcd, gInteger, QStringLiteral("-1234")},
        {ftBCD, bcd, gBoolean, err("rftBCD", "rftBoolean", QStringLiteral("-1234"))},
        {ftBCD, bcd, gFloat, QStringLiteral("-1234")},
        // booleans
        {ftBoolean, yes, gString, QStringLiteral("True")},
        {ftBoolean, booleanPayload(false), gInteger, QStringLiteral("0")},
        {ftBoolean, yes, gFloat, QStringLiteral("1")},
        {ftBoolean, yes, gBCD, QStringLiteral("1")},
        {ftBoolean, yes, gDateTime, err("rftBoolean", "rftDateTime", QStringLiteral("True"))},
        {ftBoolean, booleanPayload(false), gTimeStamp, err("rftBoolean", "rftDateTime", QStringLiteral("False"))},
        // dates and times
        {ftDate, doublePayload(45356), gString, QStringLiteral("05/03/2024")},
        {ftTime, doublePayload(0.25), gString, QStringLiteral("06:00:00")},
        {ftDateTime, doublePayload(kMarchFifth), gString, QStringLiteral("05/03/2024 06:00:00")},
        {ftDateTime, doublePayload(45356), gString, QStringLiteral("05/03/2024")},
        {ftDateTime, doublePayload(kMarchFifth), gInteger, err("rftDateTime", "rftInteger", QStringLiteral("05/03/2024 06:00:00"))},
        {ftDate, doublePayload(45356), gBoolean, err("rftDate", "rftBoolean", QStringLiteral("05/03/2024"))},
        {ftDateTime, doublePayload(kMarchFifth), gFloat, QString::number(kMarchFifth, 'g', 17)},
        {ftDateTime, doublePayload(kMarchFifth), gBCD, QStringLiteral("45356.25")},
        {ftDateTime, doublePayload(kMarchFifth), gTimeStamp, QStringLiteral("2024-3-5 6:0:0.0")},
        // timestamps: the text carries no time of day
        {ftTimeStamp, stamp(2024, 3, 5, 6, 0, 0, 0), gString, QStringLiteral("Tuesday, 5 March 2024")},
        {ftTimeStamp, stamp(2024, 3, 5, 6, 0, 0, 0), gDateTime, QString::number(kMarchFifth, 'g', 17)},
        {ftOraTimeStamp, stamp(2024, 3, 5, 6, 0, 0, 0), gBCD, QStringLiteral("45356.25")},
        {ftTimeStamp, stamp(2024, 3, 5, 6, 0, 0, 0), gInt64, err("rttTimeStamp", "rftInt64", QStringLiteral("05/03/2024 06:00:00"))},
        {ftTimeStamp, stamp(2024, 13, 5, 6, 0, 0, 0), gDateTime, err("rttTimeStamp", "rftDateTime", QString())},
        {ftTimeStamp, stamp(2024, 3, 5, 6, 7, 8, 9), gTimeStamp, QStringLiteral("2024-3-5 6:7:8.9")},
        // payload kinds: exact sizes only
        {ftBytes, eight, gFloat, QStringLiteral("1.5")},
        {ftVarBytes, int64Payload(77), gInt64, QStringLiteral("77")},
        {ftBytes, eight, gInteger, err("rftBytes", "rftInteger", textFromPayload(eight))},
        {ftBlob, int32Payload(9), gInteger, QStringLiteral("9")},
        {ftBlob, QByteArray(1, '\x02'), gBoolean, QStringLiteral("true")},
        {ftBlob, QByteArray(2, '\x01'), gBoolean, err("rftBlob", "rftBoolean", textFromPayload(QByteArray(2, '\x01')))},
        {ftBlob, TExtended::fromDouble(2.5).toByteArray(), gExtended, QStringLiteral("2.5")},
        {ftBlob, eight, gExtended, err("rftBlob", "rftExtended", textFromPayload(eight))},
        {ftBlob, bcd, gBCD, QStringLiteral("-1234")},
        {ftBlob, eight, gBCD, err("rftBlob", "rftBCD", textFromPayload(eight))},
        {ftBlob, doublePayload(kMarchFifth), gDateTime, QString::number(kMarchFifth, 'g', 17)},
        {ftBlob, stamp(2024, 3, 5, 6, 7, 8, 9), gTimeStamp, QStringLiteral("2024-3-5 6:7:8.9")},
        {ftBlob, eight, gTimeStamp, err("rftBlob", "rftDateTime", textFromPayload(eight))},
        {ftBlob, textPayload(QStringLiteral("hi")), gString, QStringLiteral("hi")},
        {ftBlob, QByteArray("abc"), gString, textFromPayload(QByteArray("ab"))},
        // types without a kind of their own
        {ftCursor, QByteArray(), gString, QStringLiteral("!Can't convert field type  field name=F field type=ftCursor")},
    };
    for (const Case& c : cases)
        EXPECT_EQ(result(c.fieldType, c.payload, c.getter), c.expected)
            << fieldTypeName(c.fieldType).toStdString() << " getter " << int(c.getter);
}

TEST(StoredConversion, NullReadsAsEmptyAndZero)
{
    TDatasetFieldDef def{QStringLiteral("F"), ftInteger, false};
    TReadDataField_Hash field(&def);
    EXPECT_TRUE(field.isNull());
    EXPECT_FALSE(field.hasValue());
    EXPECT_EQ(field.asString(), QString());
    EXPECT_EQ(field.asInteger(), 0);
    EXPECT_EQ(field.asFloat(), 0.0);
    EXPECT_FALSE(field.asBoolean());
    EXPECT_TRUE(field.asBytes().isEmpty());
    EXPECT_EQ(field.asBCD(), TBcd());
    EXPECT_TRUE(field.asSQLTimeStamp().isBlank());
}

TEST(StoredConversion, BlobKindsAndPayloadBytes)
{
    TDatasetFieldDef blob{QStringLiteral("B"), ftOraBlob, false};
    TDatasetFieldDef memo{QStringLiteral("M"), ftWideMemo, false};
    TReadDataField_Hash b(&blob), m(&memo);
    b.setValue(false, QByteArray("\x00\x01", 2));
    m.setValue(false, textPayload(QStringLiteral("zz")));
    EXPECT_TRUE(b.isBlob());
    EXPECT_FALSE(m.isBlob());
    EXPECT_EQ(m.dataType(), rftMemo);
    EXPECT_EQ(b.asBytes(), QByteArray("\x00\x01", 2));
    EXPECT_EQ(m.asAnsiString(), QByteArray("zz"));
}
