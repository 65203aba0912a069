#include "platform/db/DbConnection.h"
#include "platform/db/DbError.h"
#include "platform/db/DbMetaData.h"
#include "platform/db/DbQuery.h"

#include <QFile>
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

namespace {

QString env(const char* name) { return QString::fromLocal8Bit(qgetenv(name)); }

// The server started by scripts/servers; missing, the tests are skipped, and
// under CI=true they fail.
bool configure(DbConnection& c)
{
    if (env("QUENLOR_MYSQL_HOST").isEmpty())
        return false;
    c.setProviderName(QStringLiteral("MySQL"));
    c.setServer(env("QUENLOR_MYSQL_HOST"));
    c.setPort(env("QUENLOR_MYSQL_PORT").toInt());
    c.setUserName(env("QUENLOR_MYSQL_USER"));
    c.setPassword(env("QUENLOR_MYSQL_PASSWORD"));
    c.setDatabase(env("QUENLOR_MYSQL_DATABASE"));
    c.options().setValue(QStringLiteral("UseUnicode"), QStringLiteral("True"));
    return true;
}

#define REQUIRE_SERVER(conn)                                                                    \
    do {                                                                                        \
        if (!configure(conn)) {                                                                 \
            if (qgetenv("CI") == "true")                                                        \
                FAIL() << "QUENLOR_MYSQL_* not set: the MySQL test server is missing";          \
            GTEST_SKIP() << "QUENLOR_MYSQL_* not set (run scripts/servers start)";              \
        }                                                                                       \
    } while (0)

long vmRssKb()
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}

class MySqlTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        REQUIRE_SERVER(conn);
        conn.open();
    }
    void exec(const QString& sql)
    {
        DbQuery q(&conn);
        q.setSQL(sql);
        q.execute();
    }
    QString value(const QString& sql)
    {
        DbQuery q(&conn);
        q.setSQL(sql);
        q.open();
        return q.eof() ? QString() : q.field(0).asString();
    }
    DbConnection conn;
};

} // namespace

TEST_F(MySqlTest, RoundTripsTextNumbersDatesAndLargeObjects)
{
    exec(QStringLiteral("drop table if exists dal_round"));
    exec(QStringLiteral("create table dal_round (id int not null, s varchar(4000), d decimal(38,8), "
                        "f double, dt datetime(6), dd date, tm time(6), lt longtext, lb longblob, "
                        "vb varbinary(16), u int unsigned, ub bigint unsigned, bi bigint)"));
    DbQuery ins(&conn);
    ins.setSQL(QStringLiteral("insert into dal_round values (:id, :s, :d, :f, :dt, :dd, :tm, :lt, :lb, :vb, :u, :ub, :bi)"));
    ASSERT_EQ(ins.params().count(), 13);
    const QString cjk = QStringLiteral("中文テキスト한국어😀🎉");
    const QString long4000 = QString(3990, u'長') + QStringLiteral("0123456789");
    QString bigText;
    bigText.reserve(5 * 1024 * 1024);
    while (bigText.size() < 5 * 1024 * 1024)
        bigText += QStringLiteral("Lorem ipsum 😀 ");
    QByteArray bigBlob(5 * 1024 * 1024, '\0');
    for (int i = 0; i < bigBlob.size(); ++i)
        bigBlob[i] = static_cast<char>(i * 131 % 256);
    const QString negative30 = QStringLiteral("-123456789012345678901234567890.12345678");
    const DbTimeStamp old{1850, 2, 28, 23, 59, 58, 999999};

    DbParamList& p = ins.params();
    p.at(0).setAsInteger(1);
    p.at(1).setAsString(cjk);
    p.at(2).setAsDecimalText(negative30);
    p.at(3).setAsFloat(-1.5e-300);
    p.at(4).setAsDateTime(old);
    p.at(5).setAsDate(DbTimeStamp{1066, 10, 14, 0, 0, 0, 0});
    p.at(6).setAsTime(DbTimeStamp{0, 0, 0, 12, 34, 56, 123456});
    p.at(7).loadLargeObject(bigText.toUtf8(), ftMemo);
    p.at(8).loadLargeObject(bigBlob, ftBlob);
    p.at(9).setAsBytes(QByteArray("\x00\xff\x10", 3));
    p.at(10).setAsInt64(4294967295LL);
    p.at(11).setAsDecimalText(QStringLiteral("18446744073709551615"));
    p.at(12).setAsInt64(INT64_MIN);
    ins.execute();
    p.at(0).setAsInteger(2);
    p.at(1).setAsString(long4000);
    for (int i = 2; i < 13; ++i)
        p.at(i).setNull();
    ins.execute();

    DbQuery q(&conn);
    q.setSQL(QStringLiteral("select * from dal_round order by id"));
    q.setForwardOnly(true);
    q.open();
    const std::vector<TFieldType> types{ftInteger, ftWideString, ftFMTBcd, ftFloat, ftDateTime, ftDate, ftTime,
                                        ftWideMemo, ftBlob, ftVarBytes, ftLargeint, ftFMTBcd, ftLargeint};
    for (size_t i = 0; i < types.size(); ++i)
        EXPECT_EQ(q.fieldDefs()[i].dataType, types[i]) << q.fieldDefs()[i].name.toStdString();
    EXPECT_TRUE(q.fieldDefs()[0].required);
    EXPECT_EQ(q.fieldDefs()[1].size, 4000);
    EXPECT_EQ(q.fieldDefs()[2].precision, 38);
    EXPECT_EQ(q.fieldDefs()[2].scale, 8);
    ASSERT_FALSE(q.eof());
    EXPECT_EQ(q.field(1).asString(), cjk);
    EXPECT_EQ(q.field(2).asDecimalText(), negative30);
    EXPECT_EQ(q.field(3).asFloat(), -1.5e-300);
    EXPECT_EQ(q.field(4).asTimeStamp(), old);
    EXPECT_EQ(q.field(5).asTimeStamp().year, 1066);
    EXPECT_EQ(q.field(6).asTimeStamp().microsecond, 123456);
    EXPECT_EQ(q.field(7).asString(), bigText);
    EXPECT_EQ(q.field(8).asBytes(), bigBlob);
    EXPECT_EQ(q.field(9).asBytes(), QByteArray("\x00\xff\x10", 3));
    EXPECT_EQ(q.field(10).asInt64(), 4294967295LL);
    EXPECT_EQ(q.field(11).asDecimalText(), QStringLiteral("18446744073709551615"));
    EXPECT_EQ(q.field(12).asInt64(), INT64_MIN);
    q.next();
    ASSERT_FALSE(q.eof());
    EXPECT_EQ(q.field(1).asString(), long4000);
    for (int i = 2; i < 13; ++i)
        EXPECT_TRUE(q.field(i).isNull()) << i;
    q.next();
    EXPECT_TRUE(q.eof());
}

TEST_F(MySqlTest, StrictModeRefusesTooLongValuesAndImpossibleDates)
{
    exec(QStringLiteral("drop table if exists dal_strict"));
    exec(QStringLiteral("create table dal_strict (s varchar(5), dt datetime, n int)"));
    DbQuery ins(&conn);
    ins.setSQL(QStringLiteral("insert into dal_strict (s) values (:s)"));
    ins.params().at(0).setAsString(QStringLiteral("中文中文中")); // five characters fit
    ins.execute();
    ins.params().at(0).setAsString(QStringLiteral("abcdef"));
    try {
        ins.execute();
        FAIL() << "a too-long value was accepted";
    } catch (const DbError& e) {
        EXPECT_EQ(e.errorCode(), 1406);
        EXPECT_EQ(e.sqlState(), QStringLiteral("22001"));
    }
    ins.setSQL(QStringLiteral("insert into dal_strict (dt) values (:dt)"));
    ins.params().at(0).setAsDateTime(DbTimeStamp{2024, 13, 1, 25, 0, 0, 0});
    EXPECT_THROW(ins.execute(), DbError);
    ins.setSQL(QStringLiteral("insert into dal_strict (n) values (:n)"));
    ins.params().at(0).setAsString(QStringLiteral("not a number")); // wrong parameter type
    try {
        ins.execute();
        FAIL() << "text went into an int column";
    } catch (const DbError& e) {
        EXPECT_EQ(e.errorCode(), 1366);
        EXPECT_FALSE(e.message().isEmpty());
    }
    EXPECT_EQ(value(QStringLiteral("select count(*) from dal_strict")), QStringLiteral("1"));
}

TEST_F(MySqlTest, CommitAndRollback)
{
    exec(QStringLiteral("drop table if exists dal_tx"));
    exec(QStringLiteral("create table dal_tx (v int) engine=InnoDB"));
    conn.startTransaction();
    exec(QStringLiteral("insert into dal_tx values (1)"));
    conn.rollback();
    conn.startTransaction();
    exec(QStringLiteral("insert into dal_tx values (2)"));
    exec(QStringLiteral("insert into dal_tx values (3)"));
    conn.commit();
    EXPECT_EQ(value(QStringLiteral("select group_concat(v order by v) from dal_tx")), QStringLiteral("2,3"));
    // a transaction still open at close is rolled back
    conn.startTransaction();
    exec(QStringLiteral("insert into dal_tx values (4)"));
    conn.close();
    conn.open();
    EXPECT_EQ(value(QStringLiteral("select count(*) from dal_tx")), QStringLiteral("2"));
}

TEST_F(MySqlTest, MetadataOfCompositeKeyUniqueAndDescendingIndex)
{
    exec(QStringLiteral("drop table if exists dal_meta"));
    exec(QStringLiteral("create table dal_meta (a int not null, b varchar(10) not null, c decimal(12,2), "
                        "d datetime(6), primary key (b, a), unique key ux_c (c), key ix_dc (d desc, c))"));
    EXPECT_TRUE(conn.tableNames().contains(QStringLiteral("dal_meta")));
    EXPECT_TRUE(conn.databaseNames().contains(env("QUENLOR_MYSQL_DATABASE")));

    DbMetaData cols(&conn);
    cols.setKind(QStringLiteral("COLUMNS"));
    cols.setRestriction(QStringLiteral("TABLE_SCHEMA"), conn.database());
    cols.setRestriction(QStringLiteral("TABLE_NAME"), QStringLiteral("dal_meta"));
    cols.open();
    QStringList seen;
    for (; !cols.eof(); cols.next()) {
        QStringList parts;
        for (const char* f : {"COLUMN_NAME", "DATA_TYPE", "DATA_LENGTH", "DATA_PRECISION", "DATA_SCALE", "NULLABLE"}) {
            const DbField& field = cols.fieldByName(QLatin1String(f));
            parts << (field.isNull() ? QStringLiteral("-") : field.asString());
        }
        seen << parts.join(u'|');
    }
    EXPECT_EQ(seen, (QStringList{"a|int|-|10|0|0", "b|varchar|10|-|-|0", "c|decimal|-|12|2|1",
                                 "d|datetime|-|-|-|1"}));

    DbMetaData ix(&conn);
    ix.setKind(QStringLiteral("Indexes"));
    ix.setRestriction(QStringLiteral("TABLE_SCHEMA"), conn.database());
    ix.setRestriction(QStringLiteral("TABLE_NAME"), QStringLiteral("dal_meta"));
    ix.open();
    QStringList indexes;
    for (; !ix.eof(); ix.next())
        indexes << ix.fieldByName(QStringLiteral("INDEX_NAME")).asString() + u'|'
                       + ix.fieldByName(QStringLiteral("UNIQUE")).asString() + u'|'
                       + ix.fieldByName(QStringLiteral("ISPRIMARY")).asString();
    EXPECT_EQ(indexes, (QStringList{"PRIMARY|1|PRIMARY", "ix_dc|0|", "ux_c|1|"}));

    DbMetaData ic(&conn);
    ic.setKind(QStringLiteral("IndexColumns"));
    ic.setRestriction(QStringLiteral("TABLE_SCHEMA"), conn.database());
    ic.setRestriction(QStringLiteral("TABLE_NAME"), QStringLiteral("dal_meta"));
    ic.open();
    QStringList columns;
    for (; !ic.eof(); ic.next())
        columns << ic.fieldByName(QStringLiteral("INDEX_NAME")).asString() + u'|'
                       + ic.fieldByName(QStringLiteral("COLUMN_NAME")).asString() + u'|'
                       + ic.fieldByName(QStringLiteral("SORT_ORDER")).asString();
    EXPECT_EQ(columns, (QStringList{"PRIMARY|b|ASC", "PRIMARY|a|ASC", "ix_dc|d|DESC", "ix_dc|c|ASC", "ux_c|c|ASC"}));
}

TEST_F(MySqlTest, ForwardOnlyReadOf200000RowsKeepsMemoryFlat)
{
    exec(QStringLiteral("drop table if exists dal_many"));
    exec(QStringLiteral("create table dal_many (id int primary key, s varchar(200), d decimal(20,4))"));
    exec(QStringLiteral("insert into dal_many select seq, concat('row ', seq, ' 中文 ', repeat('x', 150)), "
                        "seq / 7 from seq_1_to_200000"));
    DbQuery q(&conn);
    q.setSQL(QStringLiteral("select id, s, d from dal_many order by id"));
    q.setForwardOnly(true);
    const long before = vmRssKb();
    q.open();
    int64_t count = 0, sum = 0;
    for (; !q.eof(); q.next()) {
        sum += q.field(0).asInt64();
        ++count;
    }
    const long after = vmRssKb();
    EXPECT_EQ(count, 200000);
    EXPECT_EQ(sum, 200000LL * 200001LL / 2);
    // Holding the rows, on the client or in the query, would take over 30 MB.
    EXPECT_LT(after - before, 8 * 1024) << "VmRSS grew from " << before << " kB to " << after << " kB";
}

TEST_F(MySqlTest, AnotherStatementWhileStreamingKeepsBothResults)
{
    DbQuery stream(&conn);
    stream.setForwardOnly(true);
    stream.setSQL(QStringLiteral("select seq from seq_1_to_5"));
    stream.open();
    EXPECT_EQ(value(QStringLiteral("select 42")), QStringLiteral("42")); // the stream reads its rest first
    int count = 0;
    for (; !stream.eof(); stream.next())
        ++count;
    EXPECT_EQ(count, 5);
}

TEST_F(MySqlTest, ClosingUnderAnOpenStreamAndArrayRowsAreSafe)
{
    exec(QStringLiteral("drop table if exists dal_arr"));
    exec(QStringLiteral("create table dal_arr (v int, s varchar(10))"));
    DbQuery ins(&conn);
    ins.setSQL(QStringLiteral("insert into dal_arr values (:v, :s)"));
    ins.params().setArraySize(3);
    for (int r = 0; r < 3; ++r) {
        ins.params().at(0).setValueAt(r, DbValue::integer(r + 1));
        ins.params().at(1).setValueAt(r, r == 1 ? DbValue() : DbValue::string(QStringLiteral("x")));
    }
    ins.execute();
    EXPECT_EQ(ins.rowCount(), 3);
    EXPECT_EQ(value(QStringLiteral("select concat(sum(v), '/', count(s)) from dal_arr")), QStringLiteral("6/2"));

    auto stream = std::make_unique<DbQuery>(&conn);
    stream->setForwardOnly(true);
    stream->setSQL(QStringLiteral("select seq from seq_1_to_100000"));
    stream->open();
    conn.close(); // the query outlives its session
    EXPECT_THROW(stream->next(), DbError);
    stream.reset();
    conn.open();
    EXPECT_EQ(value(QStringLiteral("select 3")), QStringLiteral("3"));
}

TEST_F(MySqlTest, MalformedStatementAndLostLinkRaiseWithServerCodes)
{
    DbQuery q(&conn);
    q.setSQL(QStringLiteral("selec 1"));
    try {
        q.open();
        FAIL();
    } catch (const DbError& e) {
        EXPECT_EQ(e.errorCode(), 1064);
        EXPECT_TRUE(e.message().contains(QStringLiteral("SQL syntax")));
    }
    EXPECT_TRUE(conn.connected());
    EXPECT_EQ(value(QStringLiteral("select 1")), QStringLiteral("1"));

    // Another session kills this one: the next statement fails and the
    // connection reports itself closed rather than crashing later.
    const QString id = value(QStringLiteral("select connection_id()"));
    DbConnection killer;
    configure(killer);
    killer.open();
    DbQuery k(&killer);
    k.setSQL(QStringLiteral("kill ") + id);
    k.execute();
    q.setSQL(QStringLiteral("select 2"));
    int code = 0;
    try {
        q.open();
        FAIL() << "a killed session still answered";
    } catch (const DbError& e) {
        code = e.errorCode();
        EXPECT_TRUE(e.errorCode() == 2006 || e.errorCode() == 2013 || e.errorCode() == 4031
                    || e.errorCode() == 1927)
            << e.errorCode() << " " << e.message().toStdString();
    }
    EXPECT_FALSE(conn.connected()) << "after error " << code;
    EXPECT_THROW(q.open(), DbError);
    conn.open();
    q.open();
    EXPECT_EQ(q.field(0).asInteger(), 2);
}

TEST(MySqlConnect, BadLoginRefusedPortAndEmbeddedFailClearly)
{
    DbConnection c;
    REQUIRE_SERVER(c);
    c.setPassword(QStringLiteral("definitely-wrong"));
    try {
        c.open();
        FAIL();
    } catch (const DbError& e) {
        EXPECT_EQ(e.errorCode(), 1045);
        EXPECT_TRUE(e.message().contains(QStringLiteral("Access denied")));
    }
    EXPECT_FALSE(c.connected());

    configure(c);
    c.setPort(1);
    try {
        c.open();
        FAIL();
    } catch (const DbError& e) {
        EXPECT_TRUE(e.errorCode() == 2002 || e.errorCode() == 2003) << e.errorCode();
    }
    EXPECT_FALSE(c.connected());

    configure(c);
    c.options().setValue(QStringLiteral("Embedded"), QStringLiteral("True"));
    try {
        c.open();
        FAIL();
    } catch (const DbError& e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("embedded")));
    }
    c.options().setValue(QStringLiteral("Embedded"), QString());
    c.open();
    EXPECT_TRUE(c.connected());
}

TEST(MySqlConnect, OptionsReachTheSession)
{
    DbConnection c;
    REQUIRE_SERVER(c);
    c.options().setValue(QStringLiteral("UseUnicode"), QString());
    c.options().setValue(QStringLiteral("Charset"), QStringLiteral("latin1"));
    c.options().setValue(QStringLiteral("MySQL.EnableBoolean"), QStringLiteral("True"));
    c.options().setValue(QStringLiteral("MySQL.ConnectionTimeout"), QStringLiteral("300"));
    c.open();
    DbQuery q(&c);
    q.setSQL(QStringLiteral("select @@character_set_client, @@sql_mode, cast(1 as char(3)) as s, "
                            "convert(x'e9' using latin1) as e"));
    q.open();
    EXPECT_EQ(q.field(0).asString(), QStringLiteral("latin1"));
    EXPECT_TRUE(q.field(1).asString().contains(QStringLiteral("STRICT_ALL_TABLES")));
    EXPECT_EQ(q.field(2).dataType(), ftString); // no Unicode: the 8-bit kinds
    EXPECT_EQ(q.field(3).asString(), QStringLiteral("é"));

    DbQuery tiny(&c);
    tiny.setSQL(QStringLiteral("drop table if exists dal_bool"));
    tiny.execute();
    tiny.setSQL(QStringLiteral("create table dal_bool (f tinyint(1), n tinyint)"));
    tiny.execute();
    tiny.setSQL(QStringLiteral("insert into dal_bool values (1, 5)"));
    tiny.execute();
    tiny.setSQL(QStringLiteral("select f, n from dal_bool"));
    tiny.open();
    EXPECT_EQ(tiny.field(0).dataType(), ftBoolean);
    EXPECT_TRUE(tiny.field(0).asBoolean());
    EXPECT_EQ(tiny.field(1).dataType(), ftSmallint);
    tiny.options().setValue(QStringLiteral("MySQL.EnableBoolean"), QStringLiteral("False"));
    tiny.open();
    EXPECT_EQ(tiny.field(0).dataType(), ftSmallint);
}
