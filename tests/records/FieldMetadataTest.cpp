// Field and index metadata without a database: stream form, text form, lookups.

#include "RecordsTestSupport.h"

#include "foundation/Exception.h"
#include "records/FieldMetadata.h"
#include "records/IndexMetadata.h"

#include <gtest/gtest.h>

namespace {
std::unique_ptr<TFieldMetadata> field(const QString& name, const QString& type, int length, int precision,
                                      int scale, bool notNull)
{
    auto f = std::make_unique<TFieldMetadata>();
    f->setName(name);
    f->setTypeName(type);
    f->setLength(length);
    f->setPrecision(precision);
    f->setScale(scale);
    f->setNotNull(notNull);
    return f;
}
} // namespace

TEST(FieldMetadata, StreamFormAndRoundTrip)
{
    TFieldMetadataList list;
    list.add(field(QStringLiteral("ID"), QStringLiteral("NUMBER"), -1, 10, 0, true));
    list.add(nullptr);
    EXPECT_EQ(list.getCount(), 1);
    const QByteArray bytes = writtenBytes([&](TWriter& w) { list.saveToStream(w); });
    // Header without a version, count, UTF-16 texts, flag, precision, length, scale.
    EXPECT_EQ(hexText(bytes),
              hexText(hexBytes("03 B5 07 EB D2 90 A1 12 0D 80 4E 93 90 4C 5E 64 E7 68 BF 02 01"
                               "12 02 00 00 00 49 00 44 00 12 06 00 00 00 4E 00 55 00 4D 00 42 00 45 00 52 00"
                               "09 02 0A 02 FF 02 00 03 BD 07")));
    TFieldMetadataList back;
    ASSERT_TRUE(readBytes(bytes, [&](TReader& r) { back.loadFromStream(r, false); }));
    ASSERT_EQ(back.getCount(), 1);
    EXPECT_EQ(back.ToString(), list.ToString());

    QByteArray badEnd = bytes;
    badEnd[badEnd.size() - 2] = char(0xBC); // 1980
    try {
        readBytes(badEnd, [&](TReader& r) { back.loadFromStream(r, false); });
        FAIL() << "no error";
    } catch (const Exception& e) {
        EXPECT_EQ(e.message(), QStringLiteral("read stream class end error!class=TFieldMetadataList"));
        EXPECT_EQ(back.getCount(), 1) << "items read so far are kept";
    }
    QByteArray badId = bytes;
    badId[5] = 0;
    EXPECT_THROW(readBytes(badId, [&](TReader& r) { back.loadFromStream(r, false); }), Exception);
}

TEST(FieldMetadata, DefaultsLookupsCloneAndText)
{
    TFieldMetadata fresh;
    EXPECT_EQ(fresh.getLength(), 0);
    EXPECT_EQ(fresh.getPrecision(), 0);
    EXPECT_EQ(fresh.getScale(), 0);
    EXPECT_TRUE(fresh.getNotNull());

    TFieldMetadataList list;
    EXPECT_EQ(list.ToString(), QString());
    list.add(field(QStringLiteral("id"), QStringLiteral("INT"), -1, 11, -1, true));
    list.add(field(QStringLiteral("ID"), QStringLiteral("VARCHAR"), 40, -1, -1, false));
    EXPECT_EQ(list.findByName(QStringLiteral("ID")), list.getItem(0));
    EXPECT_EQ(list.findByName(QStringLiteral("none")), nullptr);
    EXPECT_THROW(list.getItem(2), Exception);
    auto copy = list.clone();
    EXPECT_NE(copy->getItem(1), list.getItem(1));
    EXPECT_EQ(copy->ToString(),
              QStringLiteral("fieldname=id\ttype=INT\tlength=-1\tprecision=11\tscale=-1\tnotNull=True\r\n"
                             "fieldname=ID\ttype=VARCHAR\tlength=40\tprecision=-1\tscale=-1\tnotNull=False\r\n"));
}

TEST(IndexMetadata, MappingAndColumnComparison)
{
    TIndexMetadata a, b;
    EXPECT_FALSE(a.allFieldsMapped()) << "no columns";
    a.addField()->destName = QStringLiteral("Id");
    a.addField()->destName = QStringLiteral("Name");
    b.addField()->destName = QStringLiteral("ID");
    b.addField()->destName = QStringLiteral("name");
    EXPECT_TRUE(a.allFieldsMapped());
    EXPECT_TRUE(a.sameColumnsAs(b));
    b.fieldAt(1)->destName = QStringLiteral("  ");
    EXPECT_FALSE(b.allFieldsMapped());
    EXPECT_FALSE(a.sameColumnsAs(b));
    b.fieldAt(1)->destName = QStringLiteral("name");
    b.skipped = true;
    EXPECT_FALSE(a.sameColumnsAs(b));
    EXPECT_FALSE(b.allFieldsMapped());
    EXPECT_NE(dynamic_cast<TIndexField*>(a.fieldAt(0)), nullptr);

    TIndexMetadataList list;
    EXPECT_EQ(list.primaryIndex(), nullptr);
    list.add(list.createIndex());
    list.add(list.createIndex());
    list.indexAt(1)->isPrimary = true;
    EXPECT_EQ(list.primaryIndex(), list.indexAt(1));
}
