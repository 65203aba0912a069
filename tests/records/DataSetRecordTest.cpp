// Query-backed records over a real SQLite database: stored and read back with
// equal values, metadata and index rows, and parameters of a destination.

#include "RecordsTestSupport.h"

#include "foundation/Exception.h"
#include "platform/db/DbConnection.h"
#include "platform/db/DbParam.h"
#include "platform/db/DbQuery.h"
#include "records/AssignFieldToParam.h"
#include "records/DatasetFieldDef.h"
#include "records/FieldMetadata.h"
#include "records/IndexMetadata.h"
#include "records/ReadDataRecord_DataSet.h"
#include "records/ReadDataRecord_Hash.h"
#include "records/StoredPayload.h"

#include <gtest/gtest.h>

namespace {
class DataSetRecordTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        connection.setProviderName(QStringLiteral("SQLite"));
        connection.setDatabase(dir.filePath(QStringLiteral("t.db")));
        connection.open();
    }
    void exec(const QString& sql)
    {
        DbQuery q(&connection);
        q.setSQL(sql);
        q.execute();
    }
    std::unique_ptr<DbQuery> open(const QString& sql)
    {
        auto q = std::make_unique<DbQuery>(&connection);
        q->setSQL(sql);
        q->open();
        return q;
    }

    QTemporaryDir dir;
    DbConnection connection;
};

// A stored field as given by its definition, for parameter tests.
struct StoredField {
    StoredField(int type, bool isNull, const QByteArray& payload) : def{QStringLiteral("S"), type, false}, field(&def)
    {
        field.setValue(isNull, payload);
    }
    TDatasetFieldDef def;
    TReadDataField_Hash field;
};
} // namespace

TEST_F(DataSetRecordTest, RowsStoredFromTheQueryReadBackEqual)
{
    exec(QStringLiteral("CREATE TABLE T (ID INTEGER NOT NULL, NAME VARCHAR(20), AMOUNT DECIMAL(12,2), "
                        "BORN DATE, STAMP DATETIME, FLAG BOOLEAN, DATA BLOB, NOTE TEXT, RATE DOUBLE)"));
    exec(QStringLiteral("INSERT INTO T VALUES (1, 'Zoë', 1234.50, '2024-03-05', '2024-03-05 06:07:08', 1, "
                        "X'00FF10', 'memo text', 2.5)"));
    exec(QStringLiteral("INSERT INTO T VALUES (2, '', NULL, NULL, NULL, 0, NULL, NULL, NULL)"));
    exec(QStringLiteral("INSERT INTO T VALUES (3, NULL, -0.05, NULL, NULL, NULL, X'', '', -1e-3)"));

    auto query = open(QStringLiteral("SELECT * FROM T ORDER BY ID"));
    TDatasetFieldDefList defs;
    defs.fillFromQuery(*query);
    ASSERT_EQ(defs.defCount(), 9);
    EXPECT_EQ(defs.defAt(3).name, QStringLiteral("BORN"));
    TStringList typeNames;
    typeNames.add(QStringLiteral("ftWideString=VARCHAR2"));
    auto meta = std::make_unique<TFieldMetadataList>(*query, typeNames);
    EXPECT_EQ(meta->findByName(QStringLiteral("name"))->getTypeName(), QStringLiteral("VARCHAR2"));
    EXPECT_EQ(meta->getItem(0)->getTypeName(), QString());
    EXPECT_EQ(meta->getItem(0)->getLength(), -1);

    DbQuery* rows = query.get();
    TReadDataRecord_DataSet record(std::move(query), std::move(meta));
    EXPECT_EQ(record.fieldByName(QStringLiteral("amount")), record.fieldAt(2));
    int count = 0;
    for (; !rows->eof(); rows->next(), ++count) {
        const QByteArray bytes = writtenBytes([&](TWriter& w) { record.saveToStream(w); });
        TReadDataRecord_Hash stored(&defs);
        ASSERT_TRUE(readBytes(bytes, [&](TReader& r) { stored.loadFromStream(r, false); }));
        for (int i = 0; i < record.fieldCount(); ++i) {
            const IReadDataField* live = record.fieldAt(i);
            const IReadDataField* back = stored.fieldAt(i);
            SCOPED_TRACE(live->fieldName().toStdString() + " row " + std::to_string(count));
            EXPECT_EQ(back->fieldName(), live->fieldName());
            EXPECT_EQ(back->isNull(), live->isNull());
            EXPECT_EQ(back->hasValue(), live->hasValue());
            EXPECT_EQ(back->dataType(), live->dataType());
            if (live->isNull())
                continue;
            switch (live->dataType()) {
            case rftBlob: case rftBytes: EXPECT_EQ(back->asBytes(), live->asBytes()); break;
            case rftBCD: EXPECT_EQ(back->asBCD(), live->asBCD()); break;
            case rftDate: case rftTime: case rftDateTime: case rftFloat:
                EXPECT_EQ(back->asFloat(), live->asFloat());
                EXPECT_EQ(back->asDateTime(), live->asDateTime());
                break;
            default: EXPECT_EQ(back->asString(), live->asString()); break;
            }
        }
        if (count == 0) {
            EXPECT_EQ(stored.fieldAt(1)->asString(), QStringLiteral("Zoë"));
            EXPECT_EQ(stored.fieldAt(2)->asBCD().toPlainText(u'.'), QStringLiteral("1234.5"));
            EXPECT_EQ(stored.fieldAt(4)->asSQLTimeStamp().minute, 7);
            EXPECT_EQ(stored.fieldAt(7)->asString(), QStringLiteral("memo text"));
        }
    }
    EXPECT_EQ(count, 3);
}

TEST_F(DataSetRecordTest, FieldIndexOutsideTheQuery)
{
    auto query = open(QStringLiteral("SELECT 1 AS A"));
    try {
        TReadDataField_DataSet field(query.get(), 1, nullptr);
        FAIL();
    } catch (const Exception& e) {
        EXPECT_EQ(e.message(), QStringLiteral("not found field,filed index=\"1\""));
    }
}

TEST_F(DataSetRecordTest, ColumnMetadataRows)
{
    auto rows = open(QStringLiteral(
        "SELECT 'ID' AS COLUMN_NAME, 'int' AS DATA_TYPE, NULL AS DATA_LENGTH, 10 AS DATA_PRECISION, "
        "NULL AS DATA_SCALE, 0 AS NULLABLE, 'int(11) unsigned' AS MYSQL_TYPE "
        "UNION ALL SELECT 'NAME', 'varchar', 10, NULL, NULL, 1, 'varchar(40)' "
        "UNION ALL SELECT 'E', 'enum', 5, NULL, NULL, 1, 'enum(''a'',''b'')' "
        "UNION ALL SELECT 'PRICE', 'decimal', NULL, 8, 1, 1, 'decimal(10,2)'"));
    const auto scope = [](int, const QString& type) {
        return type == QStringLiteral("INT") ? 3 : type == QStringLiteral("DECIMAL") ? 4 : 2;
    };
    TFieldMetadataList list;
    list.loadFromMetadataRows(*rows, 1, [](int, const QString& raw) { return raw.toUpper(); }, scope);
    ASSERT_EQ(list.getCount(), 4);
    EXPECT_EQ(list.ToString(),
              QStringLiteral("fieldname=ID\ttype=INT\tlength=-1\tprecision=11\tscale=-1\tnotNull=True\r\n"
                             "fieldname=NAME\ttype=VARCHAR\tlength=40\tprecision=-1\tscale=-1\tnotNull=False\r\n"
                             "fieldname=E\ttype=ENUM\tlength=5\tprecision=-1\tscale=-1\tnotNull=False\r\n"
                             "fieldname=PRICE\ttype=DECIMAL\tlength=-1\tprecision=10\tscale=2\tnotNull=False\r\n"));

    const QString numberRow = QStringLiteral(
        "SELECT 'N' AS Column_Name, 'NUMBER' AS Data_Type, 22 AS Data_Length, 5 AS Data_Precision, "
        "NULL AS Data_Scale, 1 AS NullAble");
    const auto same = [](int, const QString& raw) { return raw; };
    struct { int kind; int scale; bool notNull; } kinds[] = {{9, 0, false}, {2, -1, false}, {4, -1, true}};
    for (const auto& k : kinds) {
        TFieldMetadataList one;
        auto q = open(numberRow);
        one.loadFromMetadataRows(*q, k.kind, same);
        EXPECT_EQ(one.getItem(0)->getScale(), k.scale) << k.kind;
        EXPECT_EQ(one.getItem(0)->getNotNull(), k.notNull) << k.kind;
    }
    TFieldMetadataList missing;
    auto bad = open(QStringLiteral("SELECT 'N' AS Column_Name"));
    EXPECT_THROW(missing.loadFromMetadataRows(*bad, 2, same), Exception);
}

TEST_F(DataSetRecordTest, IndexRows)
{
    auto indexes = open(QStringLiteral(
        "SELECT 'PRIMARY' AS INDEX_NAME, 1 AS \"UNIQUE\" UNION ALL SELECT 'IX_B', 0 UNION ALL SELECT 'ix_c', 1"));
    auto columns = open(QStringLiteral(
        "SELECT 'OTHER' AS INDEX_NAME, 'Z' AS COLUMN_NAME, NULL AS SORT_ORDER "
        "UNION ALL SELECT 'primary', 'ID', 'ASC' UNION ALL SELECT 'PRIMARY', 'SUB', ' ' "
        "UNION ALL SELECT 'IX_B', 'NAME', 'DESC' UNION ALL SELECT 'IX_C', 'X', NULL "
        "UNION ALL SELECT 'IX_B', 'LATE', NULL"));
    auto list = readIndexList(*indexes, *columns, 1, QStringLiteral("T"));
    ASSERT_EQ(list->count(), 3);
    const IIndexMetadata* primary = list->primaryIndex();
    ASSERT_EQ(primary, list->indexAt(0));
    EXPECT_TRUE(primary->isUnique);
    ASSERT_EQ(primary->fieldCount(), 2);
    EXPECT_EQ(primary->fieldAt(1)->sourceName, QStringLiteral("SUB"));
    EXPECT_FALSE(primary->fieldAt(1)->descending);
    const IIndexMetadata* b = list->indexAt(1);
    EXPECT_FALSE(b->isPrimary);
    EXPECT_FALSE(b->isUnique);
    ASSERT_EQ(b->fieldCount(), 1) << "the second group of a name is not read";
    EXPECT_TRUE(b->fieldAt(0)->descending);
    EXPECT_EQ(list->indexAt(2)->fieldCount(), 1);

    auto mssql = open(QStringLiteral("SELECT 'PK__orders__1A2B' AS INDEX_NAME, 1 AS \"UNIQUE\" "
                                     "UNION ALL SELECT 'pk__orders__1A2B', 1"));
    auto none = open(QStringLiteral("SELECT 'X' AS INDEX_NAME, 'C' AS COLUMN_NAME, NULL AS SORT_ORDER"));
    auto ms = readIndexList(*mssql, *none, 5, QStringLiteral("orders"));
    EXPECT_TRUE(ms->indexAt(0)->isPrimary);
    EXPECT_FALSE(ms->indexAt(1)->isPrimary);

    auto oracle = open(QStringLiteral("SELECT 'PK_T' AS INDEX_NAME, 'primary' AS ISPRIMARY, 1 AS \"UNIQUE\" "
                                      "UNION ALL SELECT 'PRIMARY', 'NO', 0"));
    auto none2 = open(QStringLiteral("SELECT 'X' AS INDEX_NAME, 'C' AS COLUMN_NAME, NULL AS SORT_ORDER"));
    auto ora = readIndexList(*oracle, *none2, 2, QStringLiteral("T"));
    EXPECT_TRUE(ora->indexAt(0)->isPrimary);
    EXPECT_FALSE(ora->indexAt(1)->isPrimary);
}

TEST(AssignFieldToParam, NullsBlanksAndKinds)
{
    DbParam p(QStringLiteral("P"));
    StoredField nullDate(ftDateTime, true, QByteArray());
    // A NULL date is bound as NULL (no invented 1899-12-30).
    assignFieldToParam(p, rftDateTime, false, 0, nullDate.field);
    EXPECT_TRUE(p.isNull());
    EXPECT_EQ(p.dataType(), ftDateTime);

    StoredField blanks(ftWideString, false, textPayload(QStringLiteral("   ")));
    assignFieldToParam(p, rftInteger, true, 0, blanks.field);
    EXPECT_TRUE(p.isNull());
    EXPECT_EQ(p.dataType(), ftInteger);
    assignFieldToParam(p, rftString, true, 0, blanks.field);
    EXPECT_EQ(p.value().toString(), QStringLiteral("   "));
    StoredField empty(ftWideString, false, QByteArray());
    assignFieldToParam(p, rftString, true, 0, empty.field);
    EXPECT_TRUE(p.isNull());

    StoredField stamp(ftDateTime, false, doublePayload(45356.25));
    assignFieldToParam(p, rttTimeStamp, false, 0, stamp.field);
    EXPECT_EQ(p.dataType(), ftTimeStamp);
    EXPECT_EQ(p.value().toTimeStamp().toString(), QStringLiteral("2024-03-05 06:00:00"));

    StoredField amount(ftFMTBcd, false, TBcd::fromInt64(-42).toByteArray());
    assignFieldToParam(p, rftBCD, false, 0, amount.field);
    EXPECT_EQ(p.value().toDecimalText(), QStringLiteral("-42"));

    StoredField bad(ftFloat, false, doublePayload(2.5));
    EXPECT_THROW(assignFieldToParam(p, rftInteger, false, 0, bad.field), Exception);

    // An empty memo still replaces what an earlier row left in the parameter.
    StoredField memo(ftWideMemo, false, textPayload(QStringLiteral("first")));
    StoredField emptyMemo(ftWideMemo, false, QByteArray());
    assignFieldToParam(p, rftMemo, false, 0, memo.field);
    EXPECT_EQ(p.dataType(), ftWideMemo);
    EXPECT_EQ(p.value().toString(), QStringLiteral("first"));
    assignFieldToParam(p, rftMemo, false, 0, emptyMemo.field);
    EXPECT_FALSE(p.isNull());
    EXPECT_EQ(p.value().toString(), QString());
    assignFieldToParam(p, rftMemo, false, ftOraClob, memo.field);
    EXPECT_EQ(p.dataType(), ftOraClob);
    assignFieldToParam(p, rftBlob, false, ftOraBlob, emptyMemo.field);
    EXPECT_EQ(p.dataType(), ftOraBlob);
    StoredField nullBlob(ftBlob, true, QByteArray());
    assignFieldToParam(p, rftBlob, false, ftOraBlob, nullBlob.field);
    EXPECT_TRUE(p.isNull());
    EXPECT_EQ(p.dataType(), ftOraBlob);
}
