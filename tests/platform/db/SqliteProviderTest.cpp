#include "platform/db/DbConnection.h"
#include "platform/db/DbError.h"
#include "platform/db/DbMetaData.h"
#include "platform/db/DbProviderRegistry.h"
#include "platform/db/DbQuery.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class SqliteTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        conn.setProviderName(QStringLiteral("SQLite"));
        conn.setDatabase(dir.filePath(QStringLiteral("test.db")));
        conn.open();
    }
    void exec(const QString& sql)
    {
        DbQuery q(&conn);
        q.setSQL(sql);
        q.execute();
    }
    QTemporaryDir dir;
    DbConnection conn;
};

} // namespace

TEST(DbProviderRegistry, AnswersPortAndDatabaseByName)
{
    auto& r = DbProviderRegistry::instance();
    EXPECT_TRUE(r.takesPort(QStringLiteral("mysql")));
    EXPECT_TRUE(r.takesDatabase(QStringLiteral("MySQL")));
    EXPECT_FALSE(r.takesPort(QStringLiteral("SQLite")));
    EXPECT_TRUE(r.takesDatabase(QStringLiteral("SQLite")));
    EXPECT_FALSE(r.takesPort(QStringLiteral("NoSuchProvider")));
    DbConnection c;
    c.setProviderName(QStringLiteral("NoSuchProvider"));
    try {
        c.open();
        FAIL() << "opened an unknown provider";
    } catch (const DbError& e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("NoSuchProvider")));
    }
    EXPECT_FALSE(c.connected());
}

TEST_F(SqliteTest, RoundTripsTypedValuesAndNulls)
{
    exec(QStringLiteral("create table t (i integer, d decimal(30,6), f real, s varchar(20), m text, b blob, "
                        "dt datetime, dd date, flag boolean)"));
    DbQuery ins(&conn);
    ins.setSQL(QStringLiteral("insert into t values (:i, :d, :f, :s, :m, :b, :dt, :dd, :flag)"));
    ASSERT_EQ(ins.params().count(), 9);
    const QString cjk = QStringLiteral("中文テキスト😀");
    ins.params().at(0).setAsInt64(-9007199254740993LL);
    // SQLite keeps a DECIMAL column's value as a 64-bit float at best.
    ins.params().at(1).setAsDecimalText(QStringLiteral("-12345678.125"));
    ins.params().at(2).setAsFloat(0.1);
    ins.params().at(3).setAsString(cjk);
    ins.params().at(4).setAsString(QString(4000, u'x'));
    ins.params().at(5).setAsBytes(QByteArray("\x00\x01\x02\xff", 4));
    ins.params().at(6).setAsDateTime(DbTimeStamp{1850, 6, 1, 10, 11, 12, 345678});
    ins.params().at(7).setAsDate(DbTimeStamp{1601, 1, 1, 0, 0, 0, 0});
    ins.params().at(8).setAsBoolean(true);
    ins.execute();
    EXPECT_EQ(ins.rowCount(), 1);
    for (int i = 0; i < 9; ++i)
        ins.params().at(i).setNull();
    ins.execute(); // same prepared statement, all NULL

    DbQuery q(&conn);
    q.setSQL(QStringLiteral("select * from t order by rowid"));
    q.open();
    ASSERT_FALSE(q.eof());
    const auto types = std::vector<TFieldType>{ftLargeint, ftFMTBcd, ftFloat, ftWideString, ftWideMemo, ftBlob,
                                               ftDateTime, ftDate, ftBoolean};
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(q.fieldDefs()[static_cast<size_t>(i)].dataType, types[static_cast<size_t>(i)]) << i;
    EXPECT_EQ(q.fieldDefs()[3].size, 20);
    EXPECT_EQ(q.fieldDefs()[1].precision, 30);
    EXPECT_EQ(q.fieldDefs()[1].scale, 6);
    EXPECT_EQ(q.field(0).asInt64(), -9007199254740993LL);
    EXPECT_EQ(q.fieldByName(QStringLiteral("D")).asDecimalText(), QStringLiteral("-12345678.125"));
    EXPECT_DOUBLE_EQ(q.field(2).asFloat(), 0.1);
    EXPECT_EQ(q.field(3).asString(), cjk);
    EXPECT_EQ(q.field(4).asString().size(), 4000);
    EXPECT_EQ(q.field(5).asBytes(), QByteArray("\x00\x01\x02\xff", 4));
    EXPECT_EQ(q.field(6).asTimeStamp(), (DbTimeStamp{1850, 6, 1, 10, 11, 12, 345678}));
    EXPECT_EQ(q.field(7).asTimeStamp().year, 1601);
    EXPECT_TRUE(q.field(8).asBoolean());
    q.next();
    ASSERT_FALSE(q.eof());
    for (int i = 0; i < 9; ++i)
        EXPECT_TRUE(q.field(i).isNull()) << i;
    q.next();
    EXPECT_TRUE(q.eof());
    EXPECT_THROW(q.field(0).value(), DbError);
    EXPECT_THROW(q.fieldByName(QStringLiteral("nosuch")), DbError);
    EXPECT_EQ(q.findField(QStringLiteral("nosuch")), nullptr);
}

TEST_F(SqliteTest, ForwardOnlyCannotRewindButBufferedQueriesCan)
{
    exec(QStringLiteral("create table n (v integer)"));
    exec(QStringLiteral("insert into n values (1), (2), (3)"));
    DbQuery q(&conn);
    q.setSQL(QStringLiteral("select v from n order by v"));
    q.open();
    q.next();
    q.next();
    EXPECT_EQ(q.field(0).asInteger(), 3);
    q.first();
    EXPECT_EQ(q.field(0).asInteger(), 1);
    EXPECT_EQ(q.rowCount(), 3);

    q.setForwardOnly(true);
    q.open();
    q.first(); // still on the first row: allowed
    q.next();
    EXPECT_THROW(q.first(), DbError);
    EXPECT_EQ(q.field(0).asInteger(), 2); // the failed rewind left the row alone
}

TEST_F(SqliteTest, TransactionsCommitAndRollBack)
{
    exec(QStringLiteral("create table tx (v integer)"));
    conn.startTransaction();
    EXPECT_TRUE(conn.inTransaction());
    EXPECT_THROW(conn.startTransaction(), DbError);
    exec(QStringLiteral("insert into tx values (1)"));
    conn.rollback();
    EXPECT_FALSE(conn.inTransaction());
    conn.startTransaction();
    exec(QStringLiteral("insert into tx values (2)"));
    conn.commit();
    EXPECT_THROW(conn.commit(), DbError);
    DbQuery q(&conn);
    q.setSQL(QStringLiteral("select group_concat(v) from tx"));
    q.open();
    EXPECT_EQ(q.field(0).asString(), QStringLiteral("2"));
}

TEST_F(SqliteTest, BadInputRaisesAndLeavesTheConnectionUsable)
{
    DbQuery q(&conn);
    q.setSQL(QStringLiteral("selec nonsense"));
    try {
        q.open();
        FAIL();
    } catch (const DbError& e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("syntax")));
        EXPECT_NE(e.errorCode(), 0);
    }
    EXPECT_FALSE(q.isOpen());
    exec(QStringLiteral("create table p (v integer not null)"));
    q.setSQL(QStringLiteral("insert into p values (:a)"));
    q.params().at(0).setNull(ftInteger);
    EXPECT_THROW(q.execute(), DbError);
    DbParamList wrong = DbParamList::fromStatement(QStringLiteral(":a, :b"));
    q.params() = wrong;
    EXPECT_THROW(q.execute(), DbError);
    EXPECT_TRUE(conn.connected());
    q.setSQL(QStringLiteral("select count(*) from p"));
    q.open();
    EXPECT_EQ(q.field(0).asInteger(), 0);
}

TEST_F(SqliteTest, QueriesSurviveTheirConnectionClosingAndReopening)
{
    exec(QStringLiteral("create table r (v integer)"));
    DbQuery q(&conn);
    q.setSQL(QStringLiteral("select count(*) from r"));
    q.open();
    conn.close();
    EXPECT_THROW(q.open(), DbError);
    conn.open();
    q.open(); // prepared again on the new session
    EXPECT_EQ(q.field(0).asInteger(), 0);
}

TEST_F(SqliteTest, MetadataOfCompositeKeyUniqueAndDescendingIndexes)
{
    exec(QStringLiteral("create table orders (a integer not null, b varchar(10) not null, c decimal(12,2), "
                        "d text, primary key (a, b))"));
    exec(QStringLiteral("create unique index ux_orders_c on orders (c)"));
    exec(QStringLiteral("create index ix_orders_dc on orders (d desc, c)"));
    EXPECT_EQ(conn.tableNames(), QStringList{QStringLiteral("orders")});

    DbMetaData cols(&conn);
    cols.setKind(QStringLiteral("COLUMNS"));
    cols.setRestriction(QStringLiteral("TABLE_NAME"), QStringLiteral("ORDERS"));
    cols.open();
    QStringList seen;
    for (; !cols.eof(); cols.next())
        seen << QStringLiteral("%1|%2|%3|%4|%5|%6").arg(
            cols.fieldByName(QStringLiteral("COLUMN_NAME")).asString(),
            cols.fieldByName(QStringLiteral("DATA_TYPE")).asString().toLower(),
            cols.fieldByName(QStringLiteral("DATA_LENGTH")).isNull() ? QStringLiteral("-")
                : cols.fieldByName(QStringLiteral("DATA_LENGTH")).asString(),
            cols.fieldByName(QStringLiteral("DATA_PRECISION")).asString(),
            cols.fieldByName(QStringLiteral("DATA_SCALE")).asString(),
            cols.fieldByName(QStringLiteral("NULLABLE")).asString());
    EXPECT_EQ(seen, (QStringList{"a|integer|-|||0", "b|varchar|10|||0", "c|decimal|-|12|2|1", "d|text|-|||1"}));

    DbMetaData ix(&conn);
    ix.setKind(QStringLiteral("Indexes"));
    ix.setRestriction(QStringLiteral("TABLE_NAME"), QStringLiteral("orders"));
    ix.open();
    QStringList indexes;
    for (; !ix.eof(); ix.next())
        indexes << ix.fieldByName(QStringLiteral("INDEX_NAME")).asString() + u'|'
                       + ix.fieldByName(QStringLiteral("UNIQUE")).asString() + u'|'
                       + ix.fieldByName(QStringLiteral("ISPRIMARY")).asString();
    EXPECT_EQ(indexes, (QStringList{"sqlite_autoindex_orders_1|1|PRIMARY", "ux_orders_c|1|", "ix_orders_dc|0|"}));

    DbMetaData ic(&conn);
    ic.setKind(QStringLiteral("IndexColumns"));
    ic.setRestriction(QStringLiteral("TABLE_NAME"), QStringLiteral("orders"));
    ic.open();
    QStringList columns;
    for (; !ic.eof(); ic.next())
        columns << ic.fieldByName(QStringLiteral("INDEX_NAME")).asString() + u'|'
                       + ic.fieldByName(QStringLiteral("COLUMN_NAME")).asString() + u'|'
                       + ic.fieldByName(QStringLiteral("SORT_ORDER")).asString();
    EXPECT_EQ(columns, (QStringList{"sqlite_autoindex_orders_1|a|ASC", "sqlite_autoindex_orders_1|b|ASC",
                                    "ux_orders_c|c|ASC", "ix_orders_dc|d|DESC", "ix_orders_dc|c|ASC"}));
    ic.first(); // readers walk the column rows again for every index
    EXPECT_EQ(ic.fieldByName(QStringLiteral("COLUMN_NAME")).asString(), QStringLiteral("a"));

    DbMetaData bad(&conn);
    bad.setKind(QStringLiteral("Procedures"));
    EXPECT_THROW(bad.open(), DbError);
}

TEST_F(SqliteTest, RowidPrimaryKeyIsReportedAsPrimaryIndex)
{
    exec(QStringLiteral("create table k (id integer primary key, v text)"));
    DbMetaData ix(&conn);
    ix.setKind(QStringLiteral("Indexes"));
    ix.setRestriction(QStringLiteral("TABLE_NAME"), QStringLiteral("k"));
    ix.open();
    ASSERT_FALSE(ix.eof());
    EXPECT_EQ(ix.fieldByName(QStringLiteral("ISPRIMARY")).asString(), QStringLiteral("PRIMARY"));
    EXPECT_EQ(ix.fieldByName(QStringLiteral("INDEX_NAME")).asString(), QStringLiteral("PRIMARY"));
}
