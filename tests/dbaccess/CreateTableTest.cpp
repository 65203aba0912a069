// Create-table, add-primary-key and index-name texts of the dialect generators,
// and Oracle number columns created in MariaDB.

#include "DbaccessTestSupport.h"

#include "dbaccess/CreateTable.h"
#include "dbaccess/DBConnection.h"
#include "foundation/DbKind.h"
#include "platform/db/DbQuery.h"
#include "records/FieldMetadata.h"
#include "records/IndexMetadata.h"
#include "records/TableMetadata.h"
#include "shell/DBOption.h"
#include "shell/TypeMapping.h"

namespace {

// An index whose columns are "dest" or "dest DESC" texts; source names are the
// destination names in lower case.
std::unique_ptr<TIndexMetadata> index(const QString& name, bool primary, const QStringList& columns)
{
    auto ix = std::make_unique<TIndexMetadata>();
    ix->name = name;
    ix->isPrimary = primary;
    ix->isUnique = primary;
    for (const QString& c : columns) {
        IIndexField* f = ix->addField();
        f->destName = c.section(u' ', 0, 0);
        f->sourceName = f->destName.toLower();
        f->descending = c.endsWith(QStringLiteral(" DESC"));
    }
    return ix;
}

// The table "orders" of the create-table example: id INT(10) not null as the
// key, name VARCHAR(50) nullable.
struct OrdersTable {
    TTableMetadata table{QStringLiteral("orders")};
    TFieldMetadataList fields;
    TIndexMetadataList indexes;
    OrdersTable(const QString& idType = QStringLiteral("INT"))
    {
        fields.add(makeField(QStringLiteral("id"), idType, -1, 10, 0, true));
        fields.add(makeField(QStringLiteral("name"), QStringLiteral("VARCHAR"), 50, -1, -1, false));
        indexes.add(index(QStringLiteral("PRIMARY"), true, {QStringLiteral("id")}));
    }
};

class CreateTable : public ::testing::Test {
protected:
    void SetUp() override { resetRunState(); }
    void TearDown() override { dbOption() = TDBOption(); }

    static void names(bool quote, bool upper, bool suffix = false)
    {
        dbOption().quoteNames = quote;
        dbOption().upperCaseNames = upper;
        dbOption().timeSuffix = suffix;
        dbOption().suffixText = suffix ? QStringLiteral("_202401021530") : QString();
    }
};

TEST_F(CreateTable, MySqlStatementOfTheOrdersExample)
{
    names(true, true);
    OrdersTable t;
    auto g = createTableGenerator(dbkind::MySQL);
    EXPECT_EQ(g->getCreateTableSQL(t.table, t.fields, &t.indexes),
              QStringLiteral("CREATE TABLE  `ORDERS` (`ID` INT(10) NOT NULL,`NAME` VARCHAR(50)   ,PRIMARY KEY  (`ID`))"));
}

TEST_F(CreateTable, StatementsByKindAndNamingOptions)
{
    struct Case {
        int kind;
        bool quote, upper, suffix;
        QString idType;
        QString expected;
    } cases[] = {
        {dbkind::MySQL, false, false, false, QStringLiteral("INT"),
         QStringLiteral("CREATE TABLE  orders (id INT(10) NOT NULL,name VARCHAR(50)   ,PRIMARY KEY  (id))")},
        {dbkind::MySQL, true, false, true, QStringLiteral("INT"),
         QStringLiteral("CREATE TABLE  `orders_202401021530` (`id` INT(10) NOT NULL,`name` VARCHAR(50)   ,"
                        "PRIMARY KEY  (`id`))")},
        // The Oracle key comes from a separate statement.
        {dbkind::Oracle, true, true, false, QStringLiteral("NUMBER"),
         QStringLiteral("CREATE TABLE  \"ORDERS\" (\"ID\" NUMBER(10,0) NOT NULL,\"NAME\" VARCHAR   )")},
        {dbkind::Access, true, false, false, QStringLiteral("INTEGER"),
         QStringLiteral("CREATE TABLE  [orders] ([id] INTEGER NOT NULL,[name] VARCHAR(50)   ,PRIMARY KEY  ([id]))")},
        {dbkind::Excel, true, false, false, QStringLiteral("SQL_INTEGER"),
         QStringLiteral("CREATE TABLE  [orders$] ([id] SQL_INTEGER NOT NULL,[name] VARCHAR   ,"
                        "PRIMARY KEY  ([id]))")},
        {dbkind::PostgreSQL, true, true, false, QStringLiteral("integer"),
         QStringLiteral("CREATE TABLE  ORDERS (ID integer NOT NULL,NAME VARCHAR   ,PRIMARY KEY  (ID))")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected.toStdString());
        names(c.quote, c.upper, c.suffix);
        OrdersTable t(c.idType);
        auto g = createTableGenerator(c.kind);
        EXPECT_EQ(g->getCreateTableSQL(t.table, t.fields, &t.indexes), c.expected);
    }
}

TEST_F(CreateTable, OracleAddsThePrimaryKeyAfterwards)
{
    names(true, true);
    OrdersTable t(QStringLiteral("NUMBER"));
    t.indexes.indexAt(0)->addField()->destName = QStringLiteral("name");
    auto g = createTableGenerator(dbkind::Oracle);
    EXPECT_FALSE(g->getCreateTableSQL(t.table, t.fields, &t.indexes).contains(QStringLiteral("PRIMARY KEY")));
    EXPECT_EQ(g->getAddPrimaryKeySQL(QStringLiteral("orders_PRIMARYKEY")),
              QStringLiteral("ALTER TABLE \"ORDERS\" ADD CONSTRAINT \"ORDERS_PRIMARYKEY\" PRIMARY KEY (\"ID\",\"NAME\")"));
}

TEST_F(CreateTable, KeyPartNeedsAUsablePrimaryIndex)
{
    auto g = createTableGenerator(dbkind::MySQL);
    OrdersTable skipped;
    skipped.indexes.indexAt(0)->skipped = true;
    EXPECT_FALSE(g->getCreateTableSQL(skipped.table, skipped.fields, &skipped.indexes).contains(QStringLiteral("PRIMARY")));
    OrdersTable none;
    EXPECT_EQ(g->getCreateTableSQL(none.table, none.fields, nullptr),
              QStringLiteral("CREATE TABLE  orders (id INT(10) NOT NULL,name VARCHAR(50)   )"));
    TIndexMetadataList noColumns;
    noColumns.add(index(QStringLiteral("PK"), true, {}));
    EXPECT_FALSE(hasUsablePrimaryKey(&noColumns));
    EXPECT_FALSE(hasUsablePrimaryKey(nullptr));
    EXPECT_TRUE(hasUsablePrimaryKey(&none.indexes));
}

TEST_F(CreateTable, NameFormsKeepTheTimeSuffixToTheCreateName)
{
    names(true, true, true);
    auto mysql = createTableGenerator(dbkind::MySQL);
    EXPECT_EQ(mysql->fullTableName(QStringLiteral("t1")), QStringLiteral("`T1_202401021530`"));
    EXPECT_EQ(mysql->tableNameForm(QStringLiteral("t1")), QStringLiteral("`T1`"));
    EXPECT_EQ(mysql->tableNameUnquoted(QStringLiteral("t1")), QStringLiteral("T1"));
    EXPECT_EQ(mysql->columnNameForm(QStringLiteral("c")), QStringLiteral("`C`"));

    names(true, false);
    auto excel = createTableGenerator(dbkind::Excel);
    EXPECT_EQ(excel->tableNameForm(QStringLiteral("Sheet1")), QStringLiteral("[Sheet1$]"));
    EXPECT_EQ(excel->tableNameUnquoted(QStringLiteral("Sheet1")), QStringLiteral("Sheet1$"));
    dynamic_cast<TExcelCreateTable&>(*excel).setCsvFile(true);
    EXPECT_EQ(excel->tableNameForm(QStringLiteral("Sheet1")), QStringLiteral("[Sheet1]"));
}

// A quote character inside a name from a configuration file must not end the
// quoted name: it is doubled, and the statement stays one valid statement.
TEST_F(CreateTable, QuoteInsideANameIsDoubled)
{
    names(true, false);
    const struct {
        int kind;
        QString name;
        QString form;
    } cases[] = {
        {dbkind::MySQL, QStringLiteral("a`; drop table x; -- "), QStringLiteral("`a``; drop table x; -- `")},
        {dbkind::Oracle, QStringLiteral("T\" where 1=1 --"), QStringLiteral("\"T\"\" where 1=1 --\"")},
        {dbkind::Access, QStringLiteral("a]b"), QStringLiteral("[a]]b]")},
    };
    for (const auto& c : cases) {
        auto generator = createTableGenerator(c.kind);
        EXPECT_EQ(generator->columnNameForm(c.name), c.form) << c.kind;
        EXPECT_EQ(generator->tableNameForm(c.name), c.form) << c.kind;
    }

    REQUIRE_MYSQL();
    auto mysql = openMySql();
    auto generator = createTableGenerator(dbkind::MySQL);
    const QString table = generator->tableNameForm(QStringLiteral("crt_q`x"));
    const QString column = generator->columnNameForm(QStringLiteral("c`1"));
    mysql->execSQL(QStringLiteral("drop table if exists ") + table);
    mysql->execSQL(QStringLiteral("create table %1 (%2 int)").arg(table, column));
    mysql->execSQL(QStringLiteral("insert into %1 (%2) values (7)").arg(table, column));
    EXPECT_EQ(mysql->getSQLValue(QStringLiteral("select %1 from %2").arg(column, table)), QStringLiteral("7"));
    EXPECT_EQ(mysql->getFieldList(QStringLiteral("crt_q`x"))->getCount(), 1);
    mysql->execSQL(QStringLiteral("drop table ") + table);
}

// Without the quoting option a name goes bare only when it is one plain
// identifier; anything else is quoted, in the standard quotes where the
// dialect has none, so that it cannot be read as SQL.
TEST_F(CreateTable, NamesThatAreNoPlainIdentifierAreQuotedAnyway)
{
    const struct {
        int kind;
        bool quote;
        QString name;
        QString form;
    } cases[] = {
        {dbkind::MySQL, false, QStringLiteral("h_lower"), QStringLiteral("h_lower")},
        {dbkind::MySQL, false, QStringLiteral("A$1#"), QStringLiteral("A$1#")},
        {dbkind::MySQL, false, QStringLiteral("表一"), QStringLiteral("表一")},
        {dbkind::MySQL, false, QStringLiteral("h_lower; delete from h_victim"), QStringLiteral("`h_lower; delete from h_victim`")},
        {dbkind::MySQL, false, QStringLiteral("1abc"), QStringLiteral("`1abc`")},
        {dbkind::MySQL, false, QStringLiteral("HR.EMP"), QStringLiteral("`HR.EMP`")},
        {dbkind::MySQL, false, QStringLiteral("a`b"), QStringLiteral("`a``b`")},
        {dbkind::MySQL, false, QString(), QStringLiteral("``")},
        {dbkind::Oracle, false, QStringLiteral("x--"), QStringLiteral("\"x--\"")},
        {dbkind::Oracle, false, QStringLiteral("my table"), QStringLiteral("\"my table\"")},
        {dbkind::Access, false, QStringLiteral("a(b)"), QStringLiteral("[a(b)]")},
        // A dialect without quote characters: the standard quotes, doubled inside.
        {dbkind::PostgreSQL, false, QStringLiteral("t; drop table x"), QStringLiteral("\"t; drop table x\"")},
        {dbkind::PostgreSQL, true, QStringLiteral("a\"b c"), QStringLiteral("\"a\"\"b c\"")},
        {dbkind::PostgreSQL, true, QStringLiteral("plain"), QStringLiteral("plain")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name.toStdString());
        names(c.quote, false);
        auto generator = createTableGenerator(c.kind);
        EXPECT_EQ(generator->columnNameForm(c.name), c.form);
        EXPECT_EQ(generator->tableNameForm(c.name), c.form);
    }
    // The case option applies before the test for a plain name.
    names(false, true);
    EXPECT_EQ(createTableGenerator(dbkind::MySQL)->tableNameForm(QStringLiteral("a b")), QStringLiteral("`A B`"));
}

TEST_F(CreateTable, MssqlTextColumnsNeverTakeNotNull)
{
    TTableMetadata table(QStringLiteral("notes"));
    TFieldMetadataList fields;
    fields.add(makeField(QStringLiteral("body"), QStringLiteral("TEXT"), -1, -1, -1, true));
    fields.add(makeField(QStringLiteral("code"), QStringLiteral("varchar"), 8, -1, -1, true));
    auto g = createTableGenerator(dbkind::MSSQL);
    EXPECT_EQ(g->getCreateTableSQL(table, fields, nullptr),
              QStringLiteral("CREATE TABLE  notes (body TEXT ,code varchar(8) NOT NULL  )"));
}

TEST_F(CreateTable, SizePartsByScopeClass)
{
    struct Case {
        int kind;
        const char* type;
        int length, precision, scale;
        const char* expected;
    } cases[] = {
        {dbkind::MySQL, "VARCHAR", 50, -1, -1, " VARCHAR(50) "},
        {dbkind::MySQL, "INT", -1, 10, 0, " INT(10) "},
        {dbkind::MySQL, "DECIMAL", -1, 12, 2, " DECIMAL(12,2) "},
        {dbkind::MySQL, "LONGTEXT", -1, -1, -1, " LONGTEXT "},
        {dbkind::MySQL, "DATETIME(6)", -1, -1, 6, " DATETIME(6) "},
        {dbkind::Oracle, "NUMBER", 22, -1, -1, " NUMBER(22) "},
        {dbkind::Oracle, "NUMBER", -1, -1, -1, " NUMBER(1) "},
        {dbkind::Oracle, "NUMBER", -1, 50, 2, " NUMBER(38,2) "},
        {dbkind::Oracle, "NUMBER", -1, 12, -1, " NUMBER(12) "},
        {dbkind::Oracle, "VARCHAR2", 20, -1, -1, " VARCHAR2(20) "},
        // Unknown precision: the widest exact MySQL decimal instead of an
        // invalid (-1,-1); binary floats keep their own full precision.
        {dbkind::MySQL, "DECIMAL", -1, -1, -1, " DECIMAL(65,30) "},
        {dbkind::MySQL, "decimal", -1, -1, 4, " decimal(65,4) "},
        {dbkind::MySQL, "DECIMAL", -1, -1, 40, " DECIMAL(65,30) "},
        {dbkind::MySQL, "DECIMAL", -1, 126, -1, " DECIMAL(65,30) "}, // Oracle FLOAT(126): binary digits
        {dbkind::MySQL, "DECIMAL", -1, 20, -1, " DECIMAL(65,30) "},
        {dbkind::MySQL, "DOUBLE", -1, -1, -1, " DOUBLE "},
        {dbkind::MySQL, "DOUBLE", -1, 126, -1, " DOUBLE "},
        {dbkind::MySQL, "FLOAT", -1, 10, 2, " FLOAT(10,2) "},
        {dbkind::DB2, "DECIMAL", -1, -1, -1, " DECIMAL "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        auto g = createTableGenerator(c.kind);
        auto f = makeField(QStringLiteral("c"), QLatin1String(c.type), c.length, c.precision, c.scale, true);
        EXPECT_EQ(g->columnTypeText(*f), QLatin1String(c.expected));
    }
    auto g = createTableGenerator(dbkind::MySQL);
    auto text = makeField(QStringLiteral("c"), QStringLiteral("VARCHAR"), 5, -1, -1, true);
    EXPECT_EQ(g->columnTypeTextWithLength(*text, -1, 60), QStringLiteral(" VARCHAR(60) "));
    EXPECT_EQ(text->getLength(), 5);
}

TEST_F(CreateTable, IndexColumnLists)
{
    names(true, true);
    auto ix = index(QStringLiteral("IX"), false, {QStringLiteral("d_date DESC"), QStringLiteral("n_int")});
    auto g = createTableGenerator(dbkind::MySQL);
    EXPECT_EQ(indexColumnList(*ix, g.get(), false), QStringLiteral("`D_DATE` DESC,`N_INT` ASC"));
    EXPECT_EQ(indexColumnList(*ix, nullptr, true), QStringLiteral("d_date DESC,n_int ASC"));
}

TEST_F(CreateTable, UniqueIndexNames)
{
    const QString base35 = QStringLiteral("ORDERS_") + QString(28, u'A');
    const QString cut30 = base35.left(30);
    struct Case {
        int kind;
        QString base;
        QStringList known;
        QString expected;
    } cases[] = {
        {dbkind::MySQL, QStringLiteral("UX_CODE"), {}, QStringLiteral("UX_CODE")},
        {dbkind::MySQL, QStringLiteral("UX_CODE"), {QStringLiteral("ux_code")}, QStringLiteral("UX_CODE1")},
        {dbkind::MySQL, base35, {}, base35},
        {dbkind::Oracle, QStringLiteral("ORDERS_CUSTOMER_ID"), {QStringLiteral("ORDERS_CUSTOMER_ID")},
         QStringLiteral("ORDERS_CUSTOMER_ID1")},
        {dbkind::Oracle, base35, {}, cut30},
        {dbkind::Oracle, base35, {cut30, base35.left(29) + u'1', base35.left(29) + u'2'},
         base35.left(29) + u'3'},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected.toStdString());
        auto g = createTableGenerator(c.kind);
        const TStringList known(c.known);
        EXPECT_EQ(uniqueIndexName(*g, c.base, &known), c.expected);
    }
    auto g = createTableGenerator(dbkind::MySQL);
    EXPECT_EQ(uniqueIndexName(*g, QStringLiteral("IX"), nullptr), QStringLiteral("IX"));
}

} // namespace

// ---- Oracle numbers as MySQL columns, through the real servers ----

namespace {

TEST(CreateTableFromOracle, NumberColumnsBecomeValidMySqlColumns)
{
    REQUIRE_ORACLE();
    REQUIRE_MYSQL();
    resetRunState();
    dbOption().quoteNames = true;
    auto source = openOracle();
    auto dest = openMySql();
    // Column metadata from the dictionary, the field type from reading, as the importer combines them.
    const std::unique_ptr<TFieldMetadataList> meta = source->getFieldList(QStringLiteral("ALL_TYPES"));
    const std::unique_ptr<DbQuery> probe = source->openSQL(QStringLiteral(
        "select \"N_PLAIN\", \"N_INT9\", \"N_INT19\", \"N_DEC\", \"F_FLOAT\", \"F_DOUBLE\" from \"ALL_TYPES\" where 0=1"));
    TTableMetadata table(QStringLiteral("ddl_numbers"));
    TFieldMetadataList fields;
    for (const DbFieldDef& def : probe->fieldDefs()) {
        std::unique_ptr<TFieldMetadata> f = meta->findByName(def.name)->clone();
        f->setTypeName(fieldTypeNameOf(dbkind::MySQL, def.dataType));
        fields.add(std::move(f));
    }
    dropMySqlTable(*dest, table.name);
    TestErrorList errors;
    EXPECT_TRUE(dest->createTableWithKey(table, fields, &errors.list, nullptr, dest->generator()));
    const std::unique_ptr<TStringList> types = dest->getSQLList(QStringLiteral(
        "select COLUMN_NAME, COLUMN_TYPE from information_schema.COLUMNS where TABLE_SCHEMA = database() "
        "and TABLE_NAME = 'ddl_numbers' order by ORDINAL_POSITION"));
    ASSERT_TRUE(types);
    EXPECT_EQ(types->lines(), QStringList({QStringLiteral("N_PLAIN=decimal(65,30)"), QStringLiteral("N_INT9=int(9)"),
                                           QStringLiteral("N_INT19=decimal(19,0)"),
                                           QStringLiteral("N_DEC=decimal(38,8)"), QStringLiteral("F_FLOAT=double"),
                                           QStringLiteral("F_DOUBLE=double")}));
    dest->execSQL(QStringLiteral("insert into ddl_numbers (N_PLAIN, F_DOUBLE) values "
                                 "(-123456789012345678901.123456789, -2.25e-300)"));
    EXPECT_EQ(dest->getSQLValue(QStringLiteral("select N_PLAIN from ddl_numbers")),
              QStringLiteral("-123456789012345678901.123456789000000000000000000000"));
    dropMySqlTable(*dest, table.name);
    dbOption() = TDBOption();
}

} // namespace
