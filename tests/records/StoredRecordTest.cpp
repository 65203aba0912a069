// Stored records and field definitions: the exact byte form, and the checks
// made while reading it back.

#include "RecordsTestSupport.h"

#include "foundation/Exception.h"
#include "foundation/StreamObjectFactory.h"
#include "records/DatasetFieldDef.h"
#include "records/ErrInfo.h"
#include "records/ErrInfoList.h"
#include "records/ReadDataRecord_Hash.h"
#include "records/StoredPayload.h"

#include <gtest/gtest.h>

namespace {
const char* kRecordHeader = "03 B5 07 D8 52 91 94 47 7D 21 43 92 9C DA 43 4C 0D 4E 51 02 01";

std::unique_ptr<TDatasetFieldDefList> idNameDefs()
{
    auto defs = std::make_unique<TDatasetFieldDefList>();
    defs->addDef(QStringLiteral("ID"), ftInteger, true);
    defs->addDef(QStringLiteral("NAME"), ftWideString, false);
    return defs;
}

QString loadFailure(const TDatasetFieldDefList& defs, const QByteArray& bytes)
{
    TReadDataRecord_Hash record(&defs);
    try {
        readBytes(bytes, [&](TReader& r) { record.loadFromStream(r, false); });
    } catch (const Exception& e) {
        EXPECT_TRUE(record.fieldAt(0)->isNull()) << "a failed load keeps nothing";
        return e.message();
    }
    return QString();
}
} // namespace

TEST(StoredRecord, EmptyDefinitionListBytes)
{
    TDatasetFieldDefList defs;
    EXPECT_EQ(hexText(writtenBytes([&](TWriter& w) { defs.saveToStream(w); })),
              hexText(hexBytes("03 B5 07 05 DC EE 67 0B 21 62 46 A9 A3 45 30 CD 5F FD 89 02 01 02 00 03 BD 07")));
    // A record over no definitions is header, version and end marker only.
    TReadDataRecord_Hash record(&defs);
    EXPECT_EQ(hexText(writtenBytes([&](TWriter& w) { record.saveToStream(w); })),
              hexText(hexBytes(kRecordHeader) + hexBytes("03 BD 07")));
}

TEST(StoredRecord, IdNameRecordMatchesTheDocumentedBytesBothWays)
{
    const QByteArray bytes = hexBytes(kRecordHeader) +
                             hexBytes("02 01 02 00 02 03 08 02 04 05 00 00 00"
                                      "02 01 02 01 02 18 09"
                                      "03 BD 07");
    auto defs = idNameDefs();
    TReadDataRecord_Hash record(defs.get());
    ASSERT_TRUE(readBytes(bytes, [&](TReader& r) { record.loadFromStream(r, false); }));
    EXPECT_EQ(record.fieldAt(0)->asInteger(), 5);
    EXPECT_TRUE(record.fieldAt(1)->isNull());
    EXPECT_FALSE(record.fieldAt(1)->hasValue());
    EXPECT_EQ(record.fieldByName(QStringLiteral("id")), record.fieldAt(0));
    EXPECT_EQ(record.fieldByName(QStringLiteral("missing")), nullptr);
    EXPECT_EQ(hexText(writtenBytes([&](TWriter& w) { record.saveToStream(w); })), hexText(bytes));
}

TEST(StoredRecord, DefinitionListRoundTrip)
{
    auto defs = idNameDefs();
    const QByteArray bytes = writtenBytes([&](TWriter& w) { defs->saveToStream(w); });
    TDatasetFieldDefList back;
    back.addDef(QStringLiteral("stale"), ftBlob, false);
    ASSERT_TRUE(readBytes(bytes, [&](TReader& r) { back.loadFromStream(r, false); }));
    ASSERT_EQ(back.defCount(), 2);
    EXPECT_EQ(back.defAt(1).name, QStringLiteral("NAME"));
    EXPECT_EQ(back.defAt(1).dataType, int(ftWideString));
    EXPECT_TRUE(back.defAt(0).required);
    EXPECT_EQ(back.findDef(QStringLiteral("name")), &back.defAt(1));
}

TEST(StoredRecord, EmptyTextIsNotNull)
{
    TDatasetFieldDefList defs;
    defs.addDef(QStringLiteral("T"), ftString, false);
    TReadDataRecord_Hash record(&defs);
    record.hashFieldAt(0)->setValue(false, textPayload(QString()));
    const QByteArray bytes = writtenBytes([&](TWriter& w) { record.saveToStream(w); });
    EXPECT_EQ(hexText(bytes), hexText(hexBytes(kRecordHeader) + hexBytes("02 01 02 00 02 01 08 02 00 03 BD 07")));

    TReadDataRecord_Hash back(&defs);
    ASSERT_TRUE(readBytes(bytes, [&](TReader& r) { back.loadFromStream(r, false); }));
    EXPECT_FALSE(back.fieldAt(0)->isNull());
    EXPECT_FALSE(back.fieldAt(0)->hasValue());
    EXPECT_EQ(back.fieldAt(0)->asString(), QString());
}

TEST(StoredRecord, LongTextSizeUsesSixteenBitInteger)
{
    TDatasetFieldDefList defs;
    defs.addDef(QStringLiteral("T"), ftWideString, false);
    TReadDataRecord_Hash record(&defs);
    const QString text(200, u'x');
    record.hashFieldAt(0)->setValue(false, textPayload(text));
    const QByteArray bytes = writtenBytes([&](TWriter& w) { record.saveToStream(w); });
    EXPECT_EQ(bytes.mid(21, 10), hexBytes("02 01 02 00 02 18 08 03 90 01"));
    TReadDataRecord_Hash back(&defs);
    ASSERT_TRUE(readBytes(bytes, [&](TReader& r) { back.loadFromStream(r, false); }));
    EXPECT_EQ(back.fieldAt(0)->asString(), text);
}

TEST(StoredRecord, ReadingChecksIndexTypeAndSize)
{
    auto defs = idNameDefs();
    const QByteArray id5 = hexBytes("02 01 02 00 02 03 08 02 04 05 00 00 00");
    const QByteArray end = hexBytes("03 BD 07");
    const QByteArray header = hexBytes(kRecordHeader);
    EXPECT_EQ(loadFailure(*defs, header + id5 + hexBytes("02 01 02 02 02 18 09") + end),
              QStringLiteral("TReadDataField_Hash.loadFromStream read index flage error! need=1 found=2"));
    // ftString against ftWideString: both are rftString, still refused.
    EXPECT_EQ(loadFailure(*defs, header + id5 + hexBytes("02 01 02 01 02 01 09") + end),
              QStringLiteral("TReadDataField_Hash.loadFromStream read datatype error! need=ftWideString found=ftString"));
    // A 3-byte integer payload cannot be read as a 32-bit integer.
    EXPECT_EQ(loadFailure(*defs, header + hexBytes("02 01 02 00 02 03 08 02 03 05 00 00") + hexBytes("02 01 02 01 02 18 09") + end),
              QStringLiteral("TReadDataField_Hash.loadFromStream read data size error! field=ID type=ftInteger need=4 found=3"));
    EXPECT_EQ(loadFailure(*defs, header + id5 + hexBytes("02 01 02 01 02 18 09 03 BC 07")),
              QStringLiteral("read stream class end error!class=TReadDataRecord_Hash"));
    // A size far beyond the stream's end fails as a read error, nothing reserved for it.
    EXPECT_EQ(loadFailure(*defs, header + id5 + hexBytes("02 01 02 01 02 18 08 04 00 00 00 70 41 00")),
              QStringLiteral("Stream read error"));
    EXPECT_EQ(loadFailure(*defs, header + hexBytes("02 02") + id5 + end).left(13), QStringLiteral("Common error,"));
}

TEST(StoredRecord, FactoryKnowsTheFourClasses)
{
    registerRecordStreamClasses();
    EXPECT_NE(dynamic_cast<TReadDataRecord_Hash*>(createObjectFromClassId(TReadDataRecord_Hash::kClassId).get()), nullptr);
    EXPECT_NE(dynamic_cast<TErrInfo*>(createObjectFromClassId(TErrInfo::kClassId).get()), nullptr);
    EXPECT_NE(dynamic_cast<TErrGroup*>(createObjectFromClassId(TErrGroup::kClassId).get()), nullptr);
    EXPECT_NE(dynamic_cast<TDatasetFieldDefList*>(createObjectFromClassId(TDatasetFieldDefList::kClassId).get()), nullptr);
    EXPECT_FALSE(isStreamClassRegistered(kErrorListFileClassId));
}
