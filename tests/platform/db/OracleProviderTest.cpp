// The "Oracle" provider against the stand-in that scripts/servers starts.

#include "platform/db/DbBuiltinProviders.h"
#include "platform/db/DbConnection.h"
#include "platform/db/DbError.h"
#include "platform/db/DbMetaData.h"
#include "platform/db/DbProviderRegistry.h"
#include "platform/db/DbQuery.h"

#include <QFile>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

namespace {

QString env(const char* name) { return QString::fromLocal8Bit(qgetenv(name)); }

bool serverMissing()
{
    return env("QUENLOR_ORACLE_ODBC").isEmpty() || env("QUENLOR_ORACLE_USER").isEmpty();
}

#define REQUIRE_STANDIN()                                                                      \
    do {                                                                                       \
        if (serverMissing()) {                                                                 \
            if (qgetenv("CI") == "true")                                                       \
                FAIL() << "QUENLOR_ORACLE_* not set: start scripts/servers";                   \
            GTEST_SKIP() << "Oracle stand-in not configured (eval \"$(scripts/servers start)\")"; \
        }                                                                                      \
    } while (0)

long residentKb()
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').front().toLong();
    return 0;
}

class OracleProvider : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        static bool registered = false;
        if (!registered) {
            registerBuiltinProviders(DbProviderRegistry::instance());
            registered = true;
        }
    }

    void SetUp() override
    {
        if (serverMissing())
            return;
        conn = makeConnection(env("QUENLOR_ORACLE_PASSWORD"));
        conn->open();
    }

    static std::unique_ptr<DbConnection> makeConnection(const QString& password,
                                                        const QString& odbc = env("QUENLOR_ORACLE_ODBC"))
    {
        auto c = std::make_unique<DbConnection>();
        c->setProviderName(QStringLiteral("Oracle"));
        c->setUserName(env("QUENLOR_ORACLE_USER"));
        c->setPassword(password);
        c->options().add(QStringLiteral("Oracle.ConnectionString=") + odbc);
        c->options().add(QStringLiteral("UseUnicode=True"));
        return c;
    }

    void exec(const QString& sql)
    {
        DbQuery q(conn.get());
        q.setSQL(sql);
        q.execute();
    }

    std::unique_ptr<DbConnection> conn;
};

} // namespace

TEST_F(OracleProvider, ReportsDictionaryFieldTypes)
{
    REQUIRE_STANDIN();
    DbQuery q(conn.get());
    q.setSQL(QStringLiteral("select * from \"ALL_TYPES\" order by \"ID\""));
    q.open();
    const std::pair<const char*, TFieldType> expected[] = {
        {"ID", ftInteger},           {"N_PLAIN", ftFMTBcd},       {"N_INT9", ftInteger},
        {"N_INT18", ftLargeint},     {"N_INT19", ftFMTBcd},       {"N_DEC", ftFMTBcd},
        {"F_FLOAT", ftFloat},        {"F_DOUBLE", ftFloat},       {"S_VARCHAR2", ftWideString},
        {"S_NVARCHAR2", ftWideString}, {"S_CHAR", ftFixedWideChar}, {"D_DATE", ftDateTime},
        {"T_TS0", ftDateTime},       {"T_TS6", ftOraTimeStamp},   {"T_TSTZ", ftOraTimeStamp},
        {"I_DS", ftOraInterval},     {"I_YM", ftOraInterval},     {"L_CLOB", ftOraClob},
        {"L_NCLOB", ftOraClob},      {"L_BLOB", ftOraBlob},       {"R_RAW", ftVarBytes},
    };
    for (const auto& [name, type] : expected)
        EXPECT_EQ(q.fieldByName(QLatin1String(name)).dataType(), type) << name;
    EXPECT_TRUE(q.fieldByName(QStringLiteral("ID")).required());
    EXPECT_EQ(q.fieldDefs()[8].size, 4000);

    // Row 1 is NULL in every column but the key.
    for (int i = 1; i < q.fieldCount(); ++i)
        EXPECT_TRUE(q.field(i).isNull()) << i;
    q.next();
    EXPECT_EQ(q.fieldByName(QStringLiteral("N_PLAIN")).value().toDecimalText(),
              QStringLiteral("-123456789012345678901.123456789"));
    EXPECT_EQ(q.fieldByName(QStringLiteral("N_DEC")).value().toDecimalText(),
              QStringLiteral("-123456789012345678901234567890.12345678"));
    EXPECT_EQ(q.fieldByName(QStringLiteral("N_INT18")).value().toInt64(), -999999999999999999LL);
    EXPECT_EQ(q.fieldByName(QStringLiteral("S_NVARCHAR2")).value().toString(), QStringLiteral("漢字かな 😀 Ünïcödé"));
    EXPECT_EQ(q.fieldByName(QStringLiteral("D_DATE")).value().toTimeStamp().toString(),
              QStringLiteral("1850-03-04 05:06:07"));
    EXPECT_EQ(q.fieldByName(QStringLiteral("T_TS6")).value().toTimeStamp().microsecond, 123456);
    EXPECT_EQ(q.fieldByName(QStringLiteral("L_BLOB")).value().toBytes(), QByteArray("\x00\xff\x10", 3));
    EXPECT_EQ(q.fieldByName(QStringLiteral("R_RAW")).value().toBytes(), QByteArray("\x01\x02", 2));
}

TEST_F(OracleProvider, RoundTripsValuesThroughNamedParameters)
{
    REQUIRE_STANDIN();
    exec(QStringLiteral("drop table if exists \"RT\""));
    exec(QStringLiteral("create table \"RT\" (\"ID\" numeric(9,0), \"S\" varchar2(4000), \"W\" nvarchar2(2000), "
                        "\"D\" numeric(38,8), \"T\" timestamp(6), \"DT\" oracle.date, \"C\" clob, \"B\" bytea)"));
    QString longText;
    for (int i = 0; i < 4000; ++i)
        longText.append(QChar(u'a' + i % 26));
    QString bigClob;
    while (bigClob.size() < 5 * 1024 * 1024)
        bigClob.append(QStringLiteral("中文 text 😀 "));
    QByteArray bigBlob(5 * 1024 * 1024, '\0');
    for (qsizetype i = 0; i < bigBlob.size(); ++i)
        bigBlob[i] = static_cast<char>(QRandomGenerator::global()->bounded(256));
    const DbTimeStamp old = DbTimeStamp::parse(QStringLiteral("1752-09-14 01:02:03"));
    const DbTimeStamp micro = DbTimeStamp::parse(QStringLiteral("2023-12-31 23:59:59.000001"));

    DbQuery ins(conn.get());
    ins.setSQL(QStringLiteral("insert into \"RT\" values (:id, :s, :w, :d, :t, :dt, :c, :b)"));
    ASSERT_EQ(ins.params().count(), 8);
    ins.params().at(0).setAsInteger(1);
    ins.params().at(1).setAsString(longText);
    ins.params().at(2).setAsString(QStringLiteral("한국어 日本語 🎉"));
    ins.params().at(3).setAsDecimalText(QStringLiteral("-1234567890123456789012.12345678"));
    ins.params().at(4).setAsTimeStamp(micro);
    ins.params().at(5).setAsDateTime(old);
    ins.params().at(6).loadLargeObject(bigClob.toUtf8(), ftOraClob);
    ins.params().at(7).loadLargeObject(bigBlob, ftOraBlob);
    ins.execute();
    EXPECT_EQ(ins.rowCount(), 1);
    ins.params().at(0).setAsInteger(2);
    for (int i = 1; i < 8; ++i)
        ins.params().at(i).setNull();
    ins.execute();

    DbQuery q(conn.get());
    q.setSQL(QStringLiteral("select * from \"RT\" where \"ID\" >= :low order by \"ID\""));
    q.params().at(0).setAsInteger(1);
    q.open();
    EXPECT_EQ(q.field(1).value().toString(), longText);
    EXPECT_EQ(q.field(2).value().toString(), QStringLiteral("한국어 日本語 🎉"));
    EXPECT_EQ(q.field(3).value().toDecimalText(), QStringLiteral("-1234567890123456789012.12345678"));
    EXPECT_EQ(q.field(4).value().toTimeStamp(), micro);
    EXPECT_EQ(q.field(5).value().toTimeStamp(), old);
    EXPECT_TRUE(q.field(6).value().toString() == bigClob);
    EXPECT_TRUE(q.field(7).value().toBytes() == bigBlob);
    q.next();
    ASSERT_FALSE(q.eof());
    for (int i = 1; i < 8; ++i)
        EXPECT_TRUE(q.field(i).isNull()) << i;
    q.next();
    EXPECT_TRUE(q.eof());
    q.close();
    exec(QStringLiteral("drop table \"RT\""));
}

TEST_F(OracleProvider, CommitAndRollback)
{
    REQUIRE_STANDIN();
    exec(QStringLiteral("drop table if exists \"TX\""));
    exec(QStringLiteral("create table \"TX\" (\"ID\" numeric(9,0))"));
    conn->startTransaction();
    exec(QStringLiteral("insert into \"TX\" values (1)"));
    conn->rollback();
    conn->startTransaction();
    exec(QStringLiteral("insert into \"TX\" values (2)"));
    conn->commit();
    DbQuery q(conn.get());
    q.setSQL(QStringLiteral("select \"ID\" from \"TX\""));
    q.open();
    EXPECT_EQ(q.field(0).value().toInt64(), 2);
    q.next();
    EXPECT_TRUE(q.eof());
    q.close();
    exec(QStringLiteral("drop table \"TX\""));
}

TEST_F(OracleProvider, TableListIsTheUsersOwnWithoutRecycleBin)
{
    REQUIRE_STANDIN();
    const QStringList tables = conn->tableNames();
    EXPECT_TRUE(tables.contains(QStringLiteral("DEPT_EMP")));
    EXPECT_TRUE(tables.contains(QStringLiteral("ALL_TYPES")));
    for (const QString& t : tables)
        EXPECT_FALSE(t.startsWith(QLatin1String("BIN$"))) << t.toStdString();
    EXPECT_EQ(tables.count(QStringLiteral("DEPT_EMP")), 1); // not the other schema's
}

TEST_F(OracleProvider, MetadataOfCompositeKeyUniqueAndDescendingIndexes)
{
    REQUIRE_STANDIN();
    const QString schema = env("QUENLOR_ORACLE_SCHEMA");
    DbMetaData cols(conn.get());
    cols.setKind(QStringLiteral("COLUMNS"));
    cols.setRestriction(QStringLiteral("TABLE_SCHEMA"), schema);
    cols.setRestriction(QStringLiteral("TABLE_NAME"), QStringLiteral("\"DEPT_EMP\""));
    cols.open();
    QStringList names;
    for (; !cols.eof(); cols.next())
        names.append(cols.fieldByName(QStringLiteral("COLUMN_NAME")).value().toString());
    EXPECT_EQ(names, QStringList({"DEPT_NO", "EMP_NO", "FROM_DATE", "NOTE"}));
    cols.first();
    EXPECT_EQ(cols.fieldByName(QStringLiteral("DATA_TYPE")).value().toString(), QStringLiteral("NUMBER"));
    EXPECT_EQ(cols.fieldByName(QStringLiteral("DATA_PRECISION")).value().toInt64(), 4);
    EXPECT_EQ(cols.fieldByName(QStringLiteral("NULLABLE")).value().toInt64(), 0);

    DbMetaData idx(conn.get());
    idx.setKind(QStringLiteral("Indexes"));
    idx.setRestriction(QStringLiteral("TABLE_SCHEMA"), schema);
    idx.setRestriction(QStringLiteral("TABLE_NAME"), QStringLiteral("DEPT_EMP"));
    idx.open();
    std::map<QString, std::pair<int64_t, QString>> indexes;
    for (; !idx.eof(); idx.next())
        indexes[idx.fieldByName(QStringLiteral("INDEX_NAME")).value().toString()] = {
            idx.fieldByName(QStringLiteral("UNIQUE")).value().toInt64(),
            idx.fieldByName(QStringLiteral("ISPRIMARY")).value().toString()};
    ASSERT_EQ(indexes.size(), 3u);
    EXPECT_EQ(indexes[QStringLiteral("PK_DEPT_EMP")], std::make_pair(int64_t(1), QStringLiteral("PRIMARY")));
    EXPECT_EQ(indexes[QStringLiteral("UX_DEPT_EMP_NOTE")], std::make_pair(int64_t(1), QString()));
    EXPECT_EQ(indexes[QStringLiteral("IX_DEPT_EMP_DATE")], std::make_pair(int64_t(0), QString()));

    DbMetaData ic(conn.get());
    ic.setKind(QStringLiteral("IndexColumns"));
    ic.setRestriction(QStringLiteral("TABLE_SCHEMA"), schema);
    ic.setRestriction(QStringLiteral("TABLE_NAME"), QStringLiteral("DEPT_EMP"));
    ic.open();
    QStringList seen;
    for (; !ic.eof(); ic.next())
        seen.append(ic.fieldByName(QStringLiteral("INDEX_NAME")).value().toString() + u':'
                    + ic.fieldByName(QStringLiteral("COLUMN_NAME")).value().toString() + u':'
                    + ic.fieldByName(QStringLiteral("SORT_ORDER")).value().toString());
    EXPECT_EQ(seen, QStringList({"IX_DEPT_EMP_DATE:FROM_DATE:DESC", "IX_DEPT_EMP_DATE:EMP_NO:ASC",
                                 "PK_DEPT_EMP:DEPT_NO:ASC", "PK_DEPT_EMP:EMP_NO:ASC", "UX_DEPT_EMP_NOTE:NOTE:ASC"}));
}

TEST_F(OracleProvider, ForwardOnlyReadKeepsMemoryFlat)
{
    REQUIRE_STANDIN();
    DbQuery q(conn.get());
    q.setForwardOnly(true);
    q.setSQL(QStringLiteral("select * from \"STREAM_ROWS\" order by \"ID\""));
    q.open();
    int64_t rows = 0, sum = 0;
    long afterFirstBlock = 0;
    for (; !q.eof(); q.next()) {
        ++rows;
        sum += q.field(0).value().toInt64();
        if (rows == 5000)
            afterFirstBlock = residentKb();
    }
    const long atEnd = residentKb();
    EXPECT_EQ(rows, 200000);
    EXPECT_EQ(sum, 200000LL * 200001LL / 2);
    // A buffered result would hold ~50 MB more; allow noise well below that.
    EXPECT_LT(atEnd - afterFirstBlock, 15 * 1024) << afterFirstBlock << " -> " << atEnd;
}

TEST_F(OracleProvider, BadInputRaisesDbErrorAndLeavesTheConnectionUsable)
{
    REQUIRE_STANDIN();
    auto wrong = makeConnection(QStringLiteral("not-the-password"));
    try {
        wrong->open();
        FAIL() << "opened with a wrong password";
    } catch (const DbError& e) {
        EXPECT_FALSE(e.message().isEmpty());
        EXPECT_TRUE(e.hasNativeCode());
        EXPECT_FALSE(e.sqlState().isEmpty());
    }
    EXPECT_FALSE(wrong->connected());

    QString refused = env("QUENLOR_ORACLE_ODBC");
    refused.replace(QRegularExpression(QStringLiteral("Port=\\d+")), QStringLiteral("Port=1"));
    auto noServer = makeConnection(env("QUENLOR_ORACLE_PASSWORD"), refused);
    EXPECT_THROW(noServer->open(), DbError);
    EXPECT_FALSE(noServer->connected());

    DbQuery q(conn.get());
    q.setSQL(QStringLiteral("selec nonsense from"));
    try {
        q.open();
        FAIL() << "malformed statement accepted";
    } catch (const DbError& e) {
        EXPECT_EQ(e.sqlState(), QStringLiteral("42601")) << e.message().toStdString();
        EXPECT_TRUE(e.message().contains(QLatin1String("syntax"))) << e.message().toStdString();
    }
    q.setSQL(QStringLiteral("select \"ID\" from \"ALL_TYPES\" where \"ID\" = :id"));
    q.params().at(0).setAsString(QStringLiteral("not a number"));
    EXPECT_THROW(q.open(), DbError);
    q.params().at(0).setAsInteger(2);
    q.open();
    EXPECT_EQ(q.field(0).value().toInt64(), 2);
}

TEST_F(OracleProvider, RefusesOtherConnectModesAndMissingDrivers)
{
    REQUIRE_STANDIN();
    auto c = makeConnection(env("QUENLOR_ORACLE_PASSWORD"));
    c->options().add(QStringLiteral("ConnectMode=cmSysDBA"));
    try {
        c->open();
        FAIL();
    } catch (const DbError& e) {
        EXPECT_TRUE(e.message().contains(QLatin1String("cmSysDBA")));
    }
    DbConnection db2;
    db2.setProviderName(QStringLiteral("DB2"));
    db2.setServer(QStringLiteral("localhost"));
    try {
        db2.open();
        FAIL();
    } catch (const DbError& e) {
        EXPECT_TRUE(e.message().contains(QLatin1String("DB2")));
    }
}
