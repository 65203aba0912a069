// The connection: settings, opening, statements, listings and table creation,
// against the real MariaDB and the Oracle stand-in.

#include "DbaccessTestSupport.h"

#include "dbaccess/CreateTable.h"
#include "dbaccess/DBConnection.h"
#include "foundation/DbKind.h"
#include "foundation/Exception.h"
#include "platform/db/DbConnection.h"
#include "platform/db/DbError.h"
#include "platform/db/DbQuery.h"
#include "records/ErrTrack.h"
#include "records/FieldMetadata.h"
#include "records/IndexMetadata.h"
#include "records/ReadDataRecord_DataSet.h"
#include "records/TableMetadata.h"
#include "shell/DBOption.h"
#include "shell/GlobalOptions.h"

#include <stdexcept>

namespace {

std::unique_ptr<TIndexMetadataList> primaryKeyOn(const QStringList& columns)
{
    auto list = std::make_unique<TIndexMetadataList>();
    auto pk = std::make_unique<TIndexMetadata>();
    pk->isPrimary = pk->isUnique = true;
    pk->name = QStringLiteral("PRIMARY");
    for (const QString& c : columns)
        pk->addField()->destName = c;
    list->add(std::move(pk));
    return list;
}

const TFieldMetadata& column(const TFieldMetadataList& list, const char* name)
{
    const TFieldMetadata* f = list.findByName(QLatin1String(name));
    if (!f)
        throw Exception(QStringLiteral("no column ") + QLatin1String(name));
    return *f;
}

class Connection : public ::testing::Test {
protected:
    void SetUp() override { resetRunState(); }
    void TearDown() override
    {
        dbOption() = TDBOption();
        setLoginDialogHook({});
    }
};

// ---- without servers ----

TEST_F(Connection, SettingsGivePortsAndKindOptions)
{
    struct Case {
        int kind;
        QStringList settings;
        int port;
        bool unicode;
    } cases[] = {
        {dbkind::MySQL, {QStringLiteral("MainProperty_Port=0")}, 3306, false},
        {dbkind::MySQL, {QStringLiteral("MainProperty_Port=abc"), QStringLiteral("Charset=utf-8")}, 3306, true},
        {dbkind::MySQL, {QStringLiteral("MainProperty_Port=3307"), QStringLiteral("Charset=UTF-8")}, 3307, true},
        {dbkind::MySQL, {QStringLiteral("Charset=latin1")}, 3306, false},
        {dbkind::Oracle, {}, 1521, false},
        {dbkind::MSSQL, {QStringLiteral("MainProperty_Port=-5")}, 1433, false},
        {dbkind::PostgreSQL, {}, 5432, false},
        {dbkind::Access, {QStringLiteral("MainProperty_Port=0")}, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.settings.join(u' ').toStdString());
        TStringList settings(c.settings);
        settings.add(QStringLiteral("MainProperty_ProviderName=MySQL"));
        settings.add(QStringLiteral("MainProperty_Username=u"));
        settings.add(QStringLiteral("MainProperty_Password=p"));
        settings.add(QStringLiteral("MainProperty_Server=host"));
        settings.add(QStringLiteral("MainProperty_Database=db"));
        settings.add(QStringLiteral("MainProperty_LoginPrompt=True"));
        TDBConnection conn(c.kind);
        conn.setConnectParams(settings);
        const DbConnection& pack = conn.packConnection();
        EXPECT_EQ(pack.port(), c.port);
        EXPECT_EQ(pack.userName(), QStringLiteral("u"));
        EXPECT_EQ(pack.password(), QStringLiteral("p"));
        EXPECT_EQ(pack.server(), QStringLiteral("host"));
        EXPECT_EQ(pack.database(), QStringLiteral("db"));
        EXPECT_TRUE(conn.loginPrompt());
        EXPECT_EQ(pack.options().value(QStringLiteral("UseUnicode")) == QStringLiteral("True"), c.unicode);
        for (const char* gone : {"MainProperty_ProviderName", "MainProperty_Username", "MainProperty_Password",
                                 "MainProperty_Server", "MainProperty_Database", "MainProperty_Port"})
            EXPECT_FALSE(pack.options().contains(QLatin1String(gone))) << gone;
        EXPECT_TRUE(pack.options().contains(QStringLiteral("MainProperty_LoginPrompt")));
        const char* timeout = c.kind == dbkind::MySQL    ? "MySQL.ConnectionTimeout"
                              : c.kind == dbkind::Oracle ? "Oracle.ConnectionTimeout"
                                                         : nullptr;
        if (timeout) {
            EXPECT_EQ(pack.options().value(QLatin1String(timeout)), QStringLiteral("300"));
        }
    }
}

TEST_F(Connection, PrefixedGlobalOptionsReachOnlyTheirSide)
{
    globalOptions().add(QStringLiteral("DestCon.@Direct=True"));
    globalOptions().add(QStringLiteral("SourceCon.@Fetch=77"));
    globalOptions().add(QStringLiteral("destcon.@Wrong=1")); // letter case of the prefix counts
    for (bool destination : {true, false}) {
        TDBConnection conn(dbkind::MySQL);
        conn.setConnectParams(TStringList({QStringLiteral("MainProperty_ProviderName=NoSuchProvider")}));
        QString failure;
        int code = 0;
        EXPECT_FALSE(conn.openConnect(failure, code, destination));
        EXPECT_FALSE(failure.isEmpty());
        const TStringList& options = conn.packConnection().options();
        EXPECT_EQ(options.value(QStringLiteral("Direct")), destination ? QStringLiteral("True") : QString());
        EXPECT_EQ(options.value(QStringLiteral("Fetch")), destination ? QString() : QStringLiteral("77"));
        EXPECT_FALSE(options.contains(QStringLiteral("Wrong")));
    }
    globalOptions().clear();
}

TEST_F(Connection, LoginPromptWithoutDialogFailsInsteadOfBlocking)
{
    TStringList settings = mysqlSettings();
    settings.add(QStringLiteral("MainProperty_LoginPrompt=True"));
    TDBConnection conn(dbkind::MySQL);
    conn.setConnectParams(settings);
    QString failure;
    int code = 0;
    EXPECT_FALSE(conn.openConnect(failure, code, true));
    EXPECT_TRUE(failure.contains(QStringLiteral("login"))) << failure.toStdString();
    EXPECT_EQ(code, -1);
    EXPECT_FALSE(conn.isConnected());
}

TEST_F(Connection, ErrorCodeHookPrefersTheNativeOdbcCode)
{
    installDbErrorCodeHook();
    EXPECT_EQ(errorCodeOf(DbError(QStringLiteral("dup"), 1062)), 1062);
    EXPECT_EQ(errorCodeOf(DbError::odbc(QStringLiteral("odbc"), -1, QStringLiteral("23000"), 1)), 1);
    EXPECT_EQ(errorCodeOf(Exception(QStringLiteral("plain"))), -1);
    EXPECT_EQ(errorCodeOf(std::runtime_error("other")), -1);
}

TEST_F(Connection, PrimaryKeyConstraintNames)
{
    const QString t28 = QStringLiteral("T") + QString(27, u'X');
    TStringList taken28;
    taken28.add(t28.left(27) + QStringLiteral("_PM"));
    for (int n = 1; n < 12; ++n)
        taken28.add(t28.left(30 - 3 - QString::number(n).size()) + QStringLiteral("_PM") + QString::number(n));
    struct Case {
        int kind;
        QString table;
        QStringList known;
        QString expected;
    } cases[] = {
        {dbkind::Oracle, QStringLiteral("ORDERS"), {}, QStringLiteral("ORDERS_PRIMARYKEY")},
        {dbkind::Oracle, QStringLiteral("ORDERS"), {QStringLiteral("orders_primarykey")},
         QStringLiteral("ORDERS_PRIMARYKEY1")},
        {dbkind::Oracle, t28, {}, t28.left(27) + QStringLiteral("_PM")},
        {dbkind::Oracle, t28, taken28.lines(), t28.left(25) + QStringLiteral("_PM12")},
        {dbkind::MySQL, t28, {}, t28 + QStringLiteral("_PRIMARYKEY")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected.toStdString());
        const QString name = primaryKeyConstraintName(c.kind, c.table, TStringList(c.known));
        EXPECT_EQ(name, c.expected);
        if (c.kind == dbkind::Oracle) {
            EXPECT_LE(name.size(), 30);
        }
    }
}

// ---- MariaDB ----

class MySqlConnection : public Connection {
protected:
    void SetUp() override
    {
        Connection::SetUp();
        if (mysqlMissing())
            return;
        conn = openMySql();
    }
    void TearDown() override
    {
        if (conn)
            for (const QString& t : created)
                dropMySqlTable(*conn, t);
        Connection::TearDown();
    }
    void create(const QString& table, const QString& columns)
    {
        dropMySqlTable(*conn, table);
        created << table;
        conn->execSQL(QStringLiteral("CREATE TABLE `%1` (%2)").arg(table, columns));
    }

    std::unique_ptr<TDBConnection> conn;
    QStringList created;
};

TEST_F(MySqlConnection, WrongPasswordReportsTheServerCodeWithoutRaising)
{
    REQUIRE_MYSQL();
    TStringList settings = mysqlSettings();
    settings.setValue(QStringLiteral("MainProperty_Password"), QStringLiteral("not-the-password"));
    TDBConnection bad(dbkind::MySQL);
    bad.setConnectParams(settings);
    QString failure;
    int code = 0;
    EXPECT_FALSE(bad.openConnect(failure, code, true));
    EXPECT_EQ(code, 1045);
    EXPECT_FALSE(failure.isEmpty());
    EXPECT_FALSE(bad.connect(failure, true));
}

TEST_F(MySqlConnection, LoginDialogSuppliesTheCredentials)
{
    REQUIRE_MYSQL();
    TStringList settings = mysqlSettings();
    settings.setValue(QStringLiteral("MainProperty_Password"), QStringLiteral("stale"));
    settings.add(QStringLiteral("MainProperty_LoginPrompt=1"));
    QString askedWith;
    setLoginDialogHook([&](QString& user, QString& password) {
        askedWith = user + u'/' + password;
        password = testEnv("QUENLOR_MYSQL_PASSWORD");
        return true;
    });
    TDBConnection c(dbkind::MySQL);
    c.setConnectParams(settings);
    QString failure;
    EXPECT_TRUE(c.connect(failure, true)) << failure.toStdString();
    EXPECT_EQ(askedWith, testEnv("QUENLOR_MYSQL_USER") + QStringLiteral("/stale"));
    EXPECT_FALSE(c.loginPrompt());
}

TEST_F(MySqlConnection, StatementResults)
{
    REQUIRE_MYSQL();
    EXPECT_EQ(conn->getSQLValue(QStringLiteral("select 'a' from dual where 1=0")), QString());
    EXPECT_EQ(conn->getSQLValue(QStringLiteral("select 42, 'x'")), QStringLiteral("42"));
    const struct {
        const char* sql;
        QStringList lines;
    } cases[] = {
        {"select 1 union all select 2", {QStringLiteral("1"), QStringLiteral("2")}},
        {"select 'k', 'v' union all select 'k2', 'v2'", {QStringLiteral("k=v"), QStringLiteral("k2=v2")}},
        {"select 'k', 'v', 'ignored'", {QStringLiteral("k=v")}},
        {"select 1 from dual where 1=0", {}},
    };
    for (const auto& c : cases) {
        const std::unique_ptr<TStringList> list = conn->getSQLList(QLatin1String(c.sql));
        ASSERT_TRUE(list) << c.sql;
        EXPECT_EQ(list->lines(), c.lines) << c.sql;
    }
    EXPECT_THROW(conn->getSQLList(QStringLiteral("select from nowhere")), std::exception);
    EXPECT_THROW(conn->execSQL(QStringLiteral("drop table conn_never_there")), DbError);
    const std::unique_ptr<TStringList> databases = conn->getDatabaseList();
    ASSERT_TRUE(databases);
    EXPECT_GE(databases->indexOf(testEnv("QUENLOR_MYSQL_DATABASE")), 0);
    EXPECT_EQ(conn->getMultiCharLength(), 3); // utf8mb4 keeps a CJK character in three bytes
}

TEST_F(MySqlConnection, FailuresAreRecordedWithTheirErrorType)
{
    REQUIRE_MYSQL();
    TestErrorList errors;
    EXPECT_FALSE(conn->tryExecSQL(QStringLiteral("selec 1"), TErrorType::CreateTable, &errors.list));
    EXPECT_FALSE(conn->tryExecFormat(QStringLiteral("drop table %s"), {QStringLiteral("conn_missing")}, &errors.list,
                                     TErrorType::DropTable));
    conn->deleteAllRows(QStringLiteral("conn_missing"), &errors.list);
    EXPECT_FALSE(conn->tryExecSQL(QStringLiteral("selec 1"), TErrorType::CreateTable, nullptr));
    EXPECT_TRUE(conn->tryExecSQL(QStringLiteral("select 1"), TErrorType::CreateTable, &errors.list));
    ASSERT_EQ(errors.count(), 3);
    const struct {
        int type, code;
        const char* statement;
    } expected[] = {{4, 1064, "selec 1"}, {7, 1051, "drop table conn_missing"}, {8, 1146, "delete from conn_missing"}};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(errors.at(i).errorType, expected[i].type);
        EXPECT_EQ(errors.at(i).errorCode, expected[i].code);
        EXPECT_EQ(errors.at(i).dbKind, dbkind::MySQL);
        EXPECT_EQ(errors.at(i).statement, QLatin1String(expected[i].statement));
        EXPECT_FALSE(errors.at(i).message.isEmpty());
    }
}

TEST_F(MySqlConnection, CreatesTableWithKeyAndReadsItBack)
{
    REQUIRE_MYSQL();
    dbOption().quoteNames = true;
    const QString name = QStringLiteral("conn_created");
    dropMySqlTable(*conn, name);
    created << name;
    TTableMetadata table(name);
    TFieldMetadataList fields;
    fields.add(makeField(QStringLiteral("region"), QStringLiteral("VARCHAR"), 10, -1, -1, true));
    fields.add(makeField(QStringLiteral("id"), QStringLiteral("INT"), -1, 9, 0, true));
    fields.add(makeField(QStringLiteral("amount"), QStringLiteral("DECIMAL"), -1, 12, 2, false));
    fields.add(makeField(QStringLiteral("plain"), QStringLiteral("DECIMAL"), -1, -1, -1, false));
    fields.add(makeField(QStringLiteral("ratio"), QStringLiteral("DOUBLE"), -1, -1, -1, false));
    fields.add(makeField(QStringLiteral("stamp"), QStringLiteral("DATETIME(6)"), -1, -1, 6, false));
    fields.add(makeField(QStringLiteral("body"), QStringLiteral("LONGTEXT"), -1, -1, -1, false));
    auto key = primaryKeyOn({QStringLiteral("region"), QStringLiteral("id")});
    {
        TestErrorList errors;
        ASSERT_TRUE(conn->createTableWithKey(table, fields, &errors.list, key.get(), conn->generator()));
        EXPECT_EQ(errors.count(), 0);
    }
    EXPECT_TRUE(conn->tableExists(name));
    EXPECT_FALSE(conn->tableExists(QStringLiteral("conn_not_there")));
    EXPECT_FALSE(conn->getTableMetadata(QStringLiteral("conn_not_there")));

    const std::unique_ptr<TStringList> types = conn->getSQLList(QStringLiteral(
        "select COLUMN_NAME, concat(COLUMN_TYPE, ' ', IS_NULLABLE, ' ', COLUMN_KEY) from information_schema.COLUMNS "
        "where TABLE_SCHEMA = database() and TABLE_NAME = 'conn_created' order by ORDINAL_POSITION"));
    ASSERT_TRUE(types);
    EXPECT_EQ(types->lines(), QStringList({QStringLiteral("region=varchar(10) NO PRI"),
                                           QStringLiteral("id=int(9) NO PRI"),
                                           QStringLiteral("amount=decimal(12,2) YES "),
                                           QStringLiteral("plain=decimal(65,30) YES "),
                                           QStringLiteral("ratio=double YES "),
                                           QStringLiteral("stamp=datetime(6) YES "),
                                           QStringLiteral("body=longtext YES ")}));

    const std::unique_ptr<TFieldMetadataList> read = conn->getFieldList(name);
    ASSERT_EQ(read->getCount(), 7);
    EXPECT_EQ(column(*read, "region").getLength(), 10);
    EXPECT_TRUE(column(*read, "region").getNotNull());
    EXPECT_EQ(column(*read, "amount").getPrecision(), 12);
    EXPECT_EQ(column(*read, "amount").getScale(), 2);
    EXPECT_FALSE(column(*read, "amount").getNotNull());

    const std::unique_ptr<TIndexMetadataList> indexes = conn->getIndexList(name);
    ASSERT_TRUE(indexes->primaryIndex());
    ASSERT_EQ(indexes->primaryIndex()->fieldCount(), 2);
    EXPECT_EQ(indexes->primaryIndex()->fieldAt(0)->sourceName, QStringLiteral("region"));
    EXPECT_EQ(indexes->primaryIndex()->fieldAt(1)->sourceName, QStringLiteral("id"));
    EXPECT_EQ(conn->getIndexNames(name)->lines(), QStringList{QStringLiteral("PRIMARY")});

    // A second create of the same table fails and is recorded as a create-table error.
    TestErrorList errors;
    EXPECT_FALSE(conn->createTableWithKey(table, fields, &errors.list, key.get(), conn->generator()));
    ASSERT_EQ(errors.count(), 1);
    EXPECT_EQ(errors.at(0).errorType, 4);
    EXPECT_EQ(errors.at(0).errorCode, 1050);
}

TEST_F(MySqlConnection, TableNamesInTheColumnListingAreLiterals)
{
    REQUIRE_MYSQL();
    EXPECT_EQ(conn->getFieldList(QStringLiteral("x' or '1'='1"))->getCount(), 0);
    EXPECT_EQ(conn->getFieldList(QStringLiteral("x\\' or 1=1 -- "))->getCount(), 0);
}

TEST_F(MySqlConnection, CopyOfTheStructureTakesTheNextFreeName)
{
    REQUIRE_MYSQL();
    dbOption().timeSuffix = true;
    dbOption().suffixText = QStringLiteral("_209901010000");
    create(QStringLiteral("conn_t"), QStringLiteral("id int not null primary key, name varchar(20) not null"));
    create(QStringLiteral("conn_t_Copy"), QStringLiteral("id int"));
    create(QStringLiteral("conn_t_Copy1"), QStringLiteral("id int"));
    created << QStringLiteral("conn_t_Copy2");
    EXPECT_EQ(conn->copyTableStructure(QStringLiteral("conn_t")), QStringLiteral("conn_t_Copy2"));
    EXPECT_TRUE(dbOption().timeSuffix);
    const std::unique_ptr<TFieldMetadataList> copy = conn->getFieldList(QStringLiteral("conn_t_Copy2"));
    ASSERT_EQ(copy->getCount(), 2);
    EXPECT_FALSE(column(*copy, "id").getNotNull());
    EXPECT_FALSE(column(*copy, "name").getNotNull());
    EXPECT_EQ(column(*copy, "name").getLength(), 20);
    EXPECT_EQ(conn->copyTableStructure(QStringLiteral("conn_no_such_table")), QString());

    conn->dropTable(QStringLiteral("conn_t_Copy2"));
    EXPECT_FALSE(conn->tableExists(QStringLiteral("conn_t_Copy2")));
}

TEST_F(MySqlConnection, FindsTheFieldsWhoseValueAloneFails)
{
    REQUIRE_MYSQL();
    create(QStringLiteral("conn_probe"), QStringLiteral("id int not null, short_name varchar(3), n int"));
    create(QStringLiteral("conn_probe_src"), QStringLiteral("id int, name varchar(20), n varchar(10)"));
    conn->execSQL(QStringLiteral("insert into conn_probe_src values (1, 'far too long', 'x12')"));
    std::unique_ptr<DbQuery> query = conn->openSQL(QStringLiteral("select id, name, n from conn_probe_src"));
    auto meta = conn->getFieldList(QStringLiteral("conn_probe_src"));
    TReadDataRecord_DataSet record(std::move(query), std::move(meta));

    TStringList sourceToDest({QStringLiteral("id=id"), QStringLiteral("name=short_name"), QStringLiteral("n=n")});
    TStringList failures;
    conn->findFailingFields(QStringLiteral("conn_probe"), sourceToDest, failures, record);
    EXPECT_EQ(failures.lines(), QStringList({QStringLiteral("1=name"), QStringLiteral("2=n")}));

    TStringList destToSource({QStringLiteral("id=id"), QStringLiteral("short_name=name"), QStringLiteral("n=n")});
    failures.clear();
    conn->findFailingFieldsDestToSource(QStringLiteral("conn_probe"), destToSource, failures, record);
    EXPECT_EQ(failures.lines(), QStringList({QStringLiteral("1=name"), QStringLiteral("2=n")}));
}

// ---- Oracle stand-in ----

class OracleConnection : public Connection {
protected:
    void SetUp() override
    {
        Connection::SetUp();
        if (oracleMissing())
            return;
        conn = openOracle();
    }
    void TearDown() override
    {
        if (conn)
            for (const QString& t : created)
                conn->execSQL(QStringLiteral("drop table if exists \"%1\"").arg(t));
        Connection::TearDown();
    }

    std::unique_ptr<TDBConnection> conn;
    QStringList created;
};

TEST_F(OracleConnection, ColumnsOfTheSchemaTableOnly)
{
    REQUIRE_ORACLE();
    const std::unique_ptr<TFieldMetadataList> fields = conn->getFieldList(QStringLiteral("DEPT_EMP"));
    ASSERT_EQ(fields->getCount(), 4); // not the column of the same-named table of another schema
    const TFieldMetadata& dept = *fields->getItem(0);
    EXPECT_EQ(dept.getName(), QStringLiteral("DEPT_NO"));
    EXPECT_EQ(dept.getTypeName(), QStringLiteral("NUMBER"));
    EXPECT_EQ(dept.getPrecision(), 4);
    EXPECT_EQ(dept.getScale(), 0);
    EXPECT_TRUE(dept.getNotNull());
    EXPECT_EQ(column(*fields, "NOTE").getLength(), 200);
    EXPECT_FALSE(column(*fields, "NOTE").getNotNull());

    const std::unique_ptr<TFieldMetadataList> types = conn->getFieldList(QStringLiteral("ALL_TYPES"));
    EXPECT_EQ(column(*types, "N_PLAIN").getPrecision(), -1);
    EXPECT_EQ(column(*types, "N_PLAIN").getScale(), -1);
    EXPECT_EQ(column(*types, "T_TS6").getTypeName(), QStringLiteral("timestamp"));
    EXPECT_EQ(column(*types, "F_DOUBLE").getTypeName(), QStringLiteral("BINARY_DOUBLE"));

    // Quoting and the time suffix belong to statements, not to catalogue lookups.
    dbOption().quoteNames = true;
    dbOption().upperCaseNames = true;
    EXPECT_EQ(conn->getFieldList(QStringLiteral("dept_emp"))->getCount(), 4);
    EXPECT_EQ(conn->metadataTableName(QStringLiteral("dept_emp")), QStringLiteral("DEPT_EMP"));
}

TEST_F(OracleConnection, IndexesWithCompositeKeyUniqueAndDescendingColumns)
{
    REQUIRE_ORACLE();
    const std::unique_ptr<TIndexMetadataList> indexes = conn->getIndexList(QStringLiteral("DEPT_EMP"));
    ASSERT_EQ(indexes->count(), 3);
    const IIndexMetadata* pk = indexes->primaryIndex();
    ASSERT_TRUE(pk);
    EXPECT_EQ(pk->name, QStringLiteral("PK_DEPT_EMP"));
    ASSERT_EQ(pk->fieldCount(), 2);
    EXPECT_EQ(pk->fieldAt(0)->sourceName, QStringLiteral("DEPT_NO"));
    EXPECT_EQ(pk->fieldAt(1)->sourceName, QStringLiteral("EMP_NO"));
    const IIndexMetadata* unique = nullptr;
    const IIndexMetadata* dated = nullptr;
    for (int i = 0; i < indexes->count(); ++i) {
        if (indexes->indexAt(i)->name == QStringLiteral("UX_DEPT_EMP_NOTE"))
            unique = indexes->indexAt(i);
        if (indexes->indexAt(i)->name == QStringLiteral("IX_DEPT_EMP_DATE"))
            dated = indexes->indexAt(i);
    }
    ASSERT_TRUE(unique && dated);
    EXPECT_TRUE(unique->isUnique);
    EXPECT_FALSE(dated->isUnique);
    ASSERT_EQ(dated->fieldCount(), 2);
    EXPECT_TRUE(dated->fieldAt(0)->descending);
    EXPECT_FALSE(dated->fieldAt(1)->descending);

    // Oracle index names are unique in the schema: every table's are listed.
    const std::unique_ptr<TStringList> names = conn->getIndexNames(QStringLiteral("DEPT_EMP"));
    EXPECT_GE(names->indexOf(QStringLiteral("PK_ALL_TYPES")), 0);
    EXPECT_GE(names->indexOf(QStringLiteral("UX_DEPT_EMP_NOTE")), 0);
    EXPECT_EQ(conn->getMultiCharLength(), 3);
}

TEST_F(OracleConnection, PrimaryKeyComesFromANamedConstraint)
{
    REQUIRE_ORACLE();
    dbOption().quoteNames = true;
    const QString name = QStringLiteral("CONN_ORA_KEYED");
    const QString longName = QStringLiteral("CONN_ORA_A_VERY_LONG_TABLE_N"); // 28 characters
    for (const QString& t : {name, longName, QStringLiteral("CONN_ORA_HOLDER")})
        conn->execSQL(QStringLiteral("drop table if exists \"%1\"").arg(t));
    created << name << longName << QStringLiteral("CONN_ORA_HOLDER");
    // An index that already holds the first candidate name.
    conn->execSQL(QStringLiteral("create table \"CONN_ORA_HOLDER\" (\"ID\" varchar2(5))"));
    conn->execSQL(QStringLiteral("create index \"CONN_ORA_KEYED_PRIMARYKEY\" on \"CONN_ORA_HOLDER\" (\"ID\")"));

    for (const QString& t : {name, longName}) {
        TTableMetadata table(t);
        TFieldMetadataList fields;
        fields.add(makeField(QStringLiteral("ID"), QStringLiteral("VARCHAR2"), 10, -1, -1, true));
        fields.add(makeField(QStringLiteral("NOTE"), QStringLiteral("VARCHAR2"), 20, -1, -1, false));
        auto key = primaryKeyOn({QStringLiteral("ID")});
        TestErrorList errors;
        EXPECT_TRUE(conn->createTableWithKey(table, fields, &errors.list, key.get(), conn->generator()));
        EXPECT_EQ(errors.count(), 0);
        if (errors.count() > 0)
            ADD_FAILURE() << errors.at(0).message.toStdString() << " / " << errors.at(0).statement.toStdString();
    }
    const std::unique_ptr<TStringList> names = conn->getIndexNames(name);
    EXPECT_GE(names->indexOf(QStringLiteral("CONN_ORA_KEYED_PRIMARYKEY1")), 0);
    EXPECT_GE(names->indexOf(longName.left(27) + QStringLiteral("_PM")), 0);
    const std::unique_ptr<TIndexMetadataList> indexes = conn->getIndexList(name);
    ASSERT_TRUE(indexes->primaryIndex());
    EXPECT_EQ(indexes->primaryIndex()->name, QStringLiteral("CONN_ORA_KEYED_PRIMARYKEY1"));
}

TEST_F(OracleConnection, TablesOfTheSchema)
{
    REQUIRE_ORACLE();
    const std::unique_ptr<TTableMetadataList> tables = conn->getTableList();
    ASSERT_TRUE(tables);
    QStringList names;
    for (int i = 0; i < tables->getCount(); ++i)
        names << tables->getItem(i)->name;
    EXPECT_TRUE(names.contains(QStringLiteral("DEPT_EMP")));
    EXPECT_TRUE(names.contains(QStringLiteral("ALL_TYPES")));
}

} // namespace
