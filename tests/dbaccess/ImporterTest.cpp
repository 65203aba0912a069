// The importer against MariaDB with rows read from the Oracle stand-in: the
// not-null and length repairs, failures in the error files, transactions and
// query replacement, the table options, update and key modes.

#include "DbaccessTestSupport.h"
#include "ImportRunner.h"

#include "dbaccess/CreateIndexes.h"
#include "dbaccess/DBConnection.h"
#include "dbaccess/DBImportTable.h"
#include "dbaccess/ExtendFieldLengths.h"
#include "foundation/Exception.h"
#include "foundation/LogUtils.h"
#include "records/ErrInfo.h"
#include "records/ErrInfoList.h"
#include "records/IndexMetadata.h"
#include "shell/DBOption.h"
#include "shell/GlobalOptions.h"

#include <QRegularExpression>

#include <map>

namespace {

class ImporterTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        REQUIRE_MYSQL();
        REQUIRE_ORACLE();
        startImporterTest();
        setOptionBool(QStringLiteral("AutoChangeFieldNotNull"), false);
        setOptionBool(QStringLiteral("ExtendField"), false);
        setOptionBool(QStringLiteral("BlankStrIsNull"), false);
        globalOptions().setValue(QStringLiteral("ExportTableRecordCount"), QStringLiteral("-1"));
        source = openOracle();
        dest = openMySql();
    }
    void TearDown() override
    {
        if (dest)
            for (const QString& table : created)
                dropMySqlTable(*dest, table);
    }

    // A fresh destination table of this test.
    void createDest(const QString& table, const QString& columns)
    {
        created << table;
        dropMySqlTable(*dest, table);
        dest->execSQL(QStringLiteral("create table `%1` (%2)").arg(table, columns));
    }
    // MIG_REPAIR into a table the test made, which the importer keeps.
    bool copyRepairRows(const QString& table, TImportRun& run)
    {
        appLog().clearLog();
        run.dropDestTable = false;
        return copyTable(*source, QStringLiteral("MIG_REPAIR"), *dest, table, run);
    }
    QString columnInfo(const QString& table, const QString& column, const char* what)
    {
        return mysqlValue(*dest, QStringLiteral("select %1 from information_schema.COLUMNS where TABLE_SCHEMA='%2' "
                                                "and TABLE_NAME='%3' and COLUMN_NAME='%4'")
                                     .arg(QLatin1String(what), testEnv("QUENLOR_MYSQL_DATABASE"), table, column));
    }
    QStringList names(const QString& table)
    {
        return mysqlColumn(*dest, QStringLiteral("select coalesce(NAME, 'NULL') from `%1` order by ID").arg(table));
    }
    static QStringList warningsContaining(const QString& text)
    {
        QStringList out;
        for (const QString& line : appLog().lines().lines())
            if (line.contains(QStringLiteral("[Warning]:")) && line.contains(text))
                out << line;
        return out;
    }

    std::unique_ptr<TDBConnection> source;
    std::unique_ptr<TDBConnection> dest;
    QStringList created;
};

} // namespace

// MIG_REPAIR: (1 alpha) (2 NULL) (3 'twelve chars') (4 8 CJK characters) (5 beta) (6 21 CJK characters).
const QString kWide = QStringLiteral("中文字符测试中文中文字符测试中文中文字符测");

TEST_F(ImporterTest, NullIntoNotNullColumnIsRepairedOnceOrRecorded)
{
    for (const bool autoChange : {true, false}) {
        SCOPED_TRACE(autoChange ? "AutoChangeFieldNotNull" : "without AutoChangeFieldNotNull");
        const QString table = QStringLiteral("imp_notnull");
        createDest(table, QStringLiteral("ID int primary key, NAME varchar(40) not null, NOTE varchar(40)"));
        setOptionBool(QStringLiteral("AutoChangeFieldNotNull"), autoChange);
        TShownLines shown;
        TImportRun run;
        const bool ok = copyRepairRows(table, run);
        EXPECT_FALSE(run.tableCreated);
        const QString removed = QStringLiteral("NOT NULL constraint on field \"imp_notnull.NAME\" removed");
        if (autoChange) {
            EXPECT_TRUE(ok) << run.errorReport().toStdString();
            EXPECT_EQ(names(table), QStringList({"alpha", "NULL", "twelve chars", "中文字符测试中文", "beta", kWide}));
            EXPECT_EQ(columnInfo(table, QStringLiteral("NAME"), "IS_NULLABLE"), QStringLiteral("YES"));
            EXPECT_EQ(columnInfo(table, QStringLiteral("NAME"), "COLUMN_TYPE"), QStringLiteral("varchar(40)"));
            EXPECT_EQ(shown.lines.filter(removed).size(), 1);
            EXPECT_EQ(warningsContaining(removed).size(), 1);
            EXPECT_EQ(run.errors->errorCount(), 0);
        } else {
            EXPECT_FALSE(ok);
            EXPECT_EQ(names(table), QStringList({"alpha", "twelve chars", "中文字符测试中文", "beta", kWide}));
            EXPECT_EQ(columnInfo(table, QStringLiteral("NAME"), "IS_NULLABLE"), QStringLiteral("NO"));
            EXPECT_TRUE(shown.lines.filter(removed).isEmpty());
            ASSERT_EQ(run.errors->errorCount(), 1);
            const TErrInfo& e = *run.errors->errorAt(0);
            EXPECT_EQ(e.errorType, 1);
            EXPECT_EQ(e.errorCode, 1048); // column cannot be null
            EXPECT_EQ(e.dbKind, 1);
        }
    }
}

TEST_F(ImporterTest, TooLongValuesWidenTheColumnToMultiplesOfTenAndKeepNotNull)
{
    const QString table = QStringLiteral("imp_widen");
    createDest(table, QStringLiteral("ID int primary key, NAME varchar(5) not null, NOTE varchar(40)"));
    setOptionBool(QStringLiteral("ExtendField"), true);
    TShownLines shown;
    TImportRun run;
    EXPECT_FALSE(copyRepairRows(table, run)); // the NULL row fails

    // 12 characters need 20; 8 CJK characters then fit; 21 CJK characters count the server's
    // 3 bytes each (utf8mb4): 63, so 70.
    const QStringList expanded = shown.lines.filter(QStringLiteral("Expanding the fields imp_widen.NAME  to  "));
    ASSERT_EQ(expanded.size(), 2) << shown.lines.join(u'\n').toStdString();
    EXPECT_EQ(expanded[0], QStringLiteral("Expanding the fields imp_widen.NAME  to   varchar(20) NOT NULL"));
    EXPECT_EQ(expanded[1], QStringLiteral("Expanding the fields imp_widen.NAME  to   varchar(70) NOT NULL"));
    EXPECT_EQ(warningsContaining(QStringLiteral("Expanding the fields imp_widen.NAME")).size(), 2);
    EXPECT_EQ(columnInfo(table, QStringLiteral("NAME"), "COLUMN_TYPE"), QStringLiteral("varchar(70)"));
    EXPECT_EQ(columnInfo(table, QStringLiteral("NAME"), "IS_NULLABLE"), QStringLiteral("NO"));
    EXPECT_EQ(names(table), QStringList({"alpha", "twelve chars", "中文字符测试中文", "beta", kWide}));
    // Only the NULL row is recorded; no scratch copy is left behind.
    ASSERT_EQ(run.errors->errorCount(), 1);
    EXPECT_EQ(run.errors->errorAt(0)->errorCode, 1048);
    EXPECT_EQ(mysqlValue(*dest, QStringLiteral("select count(*) from information_schema.TABLES where "
                                               "TABLE_NAME like 'imp\\_widen\\_Copy%'")),
              QStringLiteral("0"));
}

TEST(ExtendFieldLengths, NeededLengthCountsWideCharactersByTheDatabaseMeasure)
{
    EXPECT_EQ(neededTextLength(QStringLiteral("twelve chars"), 3), 12);
    EXPECT_EQ(neededTextLength(QStringLiteral("ab中文字cd测试中文"), 3), 4 + 7 * 3);
    // Code 254 still counts as one; an emoji's two UTF-16 units count twice.
    EXPECT_EQ(neededTextLength(QString(QChar(254)) + QChar(255), 2), 1 + 2);
    EXPECT_EQ(neededTextLength(QStringLiteral("😀"), 3), 6);
}

TEST_F(ImporterTest, RowThatStillFailsIsInTheErrorFilesWithStatementCodeAndRecord)
{
    const QString table = QStringLiteral("imp_failing");
    createDest(table, QStringLiteral("ID int primary key, NAME varchar(5), NOTE varchar(40)"));
    TImportRun run;
    EXPECT_FALSE(copyRepairRows(table, run));
    EXPECT_EQ(run.rowsWritten, 3);
    ASSERT_EQ(run.errors->errorCount(), 3);
    EXPECT_EQ(run.errors->errorAt(0)->errorCode, 1406); // data too long, no widening asked for
    const QString report = run.errorReport();
    EXPECT_TRUE(report.contains(QStringLiteral("Error 0001: Insert record error\n  Group: MIG_REPAIR\n"
                                               "  Database kind: MySQL\n  Error code: 1406\n")))
        << report.toStdString();
    EXPECT_TRUE(report.contains(QStringLiteral("  Statement:\n    insert into `imp_failing` (`ID`,`NAME`,`NOTE`) "
                                               "values  (:p0,:p1,:p2)\n")));
    EXPECT_TRUE(report.contains(QStringLiteral("  Record:\n    ID=3\n    NAME=twelve chars\n    NOTE=too long for five\n")));
    EXPECT_TRUE(report.contains(QStringLiteral("NAME=中文字符测试中文")));
}

TEST_F(ImporterTest, ValueThatDoesNotConvertIsRecordedAsParameterError)
{
    const QString table = QStringLiteral("imp_convert");
    createDest(table, QStringLiteral("ID int primary key, NAME int, NOTE varchar(40)"));
    TImportRun run;
    EXPECT_FALSE(copyRepairRows(table, run));
    // Only the NULL name converts; every text into the INT column fails before executing.
    EXPECT_EQ(names(table), QStringList({"NULL"}));
    ASSERT_EQ(run.errors->errorCount(), 5);
    const TErrInfo& e = *run.errors->errorAt(0);
    EXPECT_EQ(e.errorType, 6);
    EXPECT_EQ(e.dbKind, 10000);
    EXPECT_EQ(e.errorCode, 1 * 100 + 2); // rftString into rftInteger
    EXPECT_TRUE(e.message.startsWith(QStringLiteral("Field \"NAME\" migrate fail,from data type \"String\" to "
                                                    "data type \"Integer\". Error: ")))
        << e.message.toStdString();
    EXPECT_TRUE(e.message.contains(QStringLiteral("alpha")));
    EXPECT_EQ(e.statement, run.importer->insertStatement());
}

TEST_F(ImporterTest, TransactionsOf300RowsAndAQueryFor301)
{
    const QString table = QStringLiteral("imp_batches");
    created << table;
    dropMySqlTable(*dest, table);
    globalOptions().setValue(QStringLiteral("ExportTableRecordCount"), QStringLiteral("603"));
    std::unique_ptr<TDBConnection> observer = openMySql();
    const auto visible = [&] { return mysqlValue(*observer, QStringLiteral("select count(*) from imp_batches")).toInt(); };

    struct Seen {
        int inTransaction, onQuery, visibleRows;
        bool hasQuery;
    };
    std::map<int, Seen> seen;
    TImportRun run;
    run.afterRow = [&](int row, TDBImportTable& importer) {
        if (row == 1 || row == 299 || row == 300 || row == 301 || row == 302 || row == 450 || row == 600
            || row == 601 || row == 602)
            seen[row] = {importer.rowsInTransaction(), importer.rowsOnQuery(),
                         row == 299 || row == 300 || row == 450 || row == 600 ? visible() : -1,
                         importer.currentQuery() != nullptr};
    };
    ASSERT_TRUE(copyTable(*source, QStringLiteral("STREAM_ROWS"), *dest, table, run)) << run.errorReport().toStdString();
    EXPECT_EQ(run.rowsWritten, 603);
    EXPECT_EQ(seen[1].inTransaction, 1);
    EXPECT_EQ(seen[299].visibleRows, 0);
    EXPECT_EQ(seen[300].inTransaction, 0); // the 300th row commits
    EXPECT_EQ(seen[300].visibleRows, 300);
    EXPECT_EQ(seen[301].inTransaction, 1);
    EXPECT_EQ(seen[300].onQuery, 300);
    EXPECT_TRUE(seen[300].hasQuery);
    EXPECT_EQ(seen[301].onQuery, 0); // the 301st row was the query's last
    EXPECT_FALSE(seen[301].hasQuery);
    EXPECT_EQ(seen[302].onQuery, 1);
    EXPECT_EQ(seen[450].visibleRows, 300);
    EXPECT_EQ(seen[600].visibleRows, 600);
    EXPECT_EQ(seen[602].onQuery, 0);
    EXPECT_EQ(visible(), 603); // finish commits the rest
}

TEST_F(ImporterTest, DropClearAndTimeSuffixDecideWhatHappensToAnExistingTable)
{
    struct Case {
        const char* name;
        bool drop, clear, timeSuffix;
        bool suffixTaken;     // a table already has the run's time-suffixed name
        bool created;
        const char* oldTable; // rows of imp_options afterwards
        bool extraColumn;     // the old definition survives
        int rowsBefore;       // the rows the importer found and kept
    };
    const Case cases[] = {
        {"drop wins over clear", true, true, false, false, true, "1,2,3,4,5,6", false, 0},
        {"clear", false, true, false, false, false, "1,2,3,4,5,6", true, 0},
        {"neither", false, false, false, false, false, "1,2,3,4,5,6,999", true, 1},
        {"time suffix", true, true, true, false, true, "999", true, 0},
        {"time suffix of an earlier run in this minute", false, false, true, true, true, "999", true, 0},
    };
    const QString table = QStringLiteral("imp_options");
    const QString rowsWarning = QStringLiteral("Table \"imp_options\" already held 1 rows before this run");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        createDest(table, QStringLiteral("ID int primary key, NAME varchar(40), NOTE varchar(40), EXTRA int"));
        dest->execSQL(QStringLiteral("insert into imp_options (ID, NAME) values (999, 'old')"));
        dbOption().timeSuffix = c.timeSuffix;
        dbOption().computeSuffix();
        const QString taken = table + dbOption().suffixText;
        if (c.suffixTaken) {
            createDest(taken, QStringLiteral("ID int primary key, NAME varchar(40)"));
            dest->execSQL(QStringLiteral("insert into `%1` (ID, NAME) values (998, 'earlier run')").arg(taken));
        }
        TImportRun run;
        run.dropDestTable = c.drop;
        run.clearDestTable = c.clear;
        appLog().clearLog();
        EXPECT_TRUE(copyTable(*source, QStringLiteral("MIG_REPAIR"), *dest, table, run))
            << run.errorReport().toStdString();
        EXPECT_EQ(run.tableCreated, c.created);
        EXPECT_EQ(run.importer->rowsHeldBefore(), c.rowsBefore);
        EXPECT_EQ(warningsContaining(rowsWarning).size(), c.rowsBefore > 0 ? 1u : 0u);
        EXPECT_EQ(mysqlColumn(*dest, QStringLiteral("select ID from imp_options order by ID")).join(u','),
                  QLatin1String(c.oldTable));
        EXPECT_EQ(columnInfo(table, QStringLiteral("EXTRA"), "COLUMN_TYPE").isEmpty(), !c.extraColumn);
        if (c.timeSuffix) {
            const QString suffixed = table + dbOption().suffixText;
            created << suffixed;
            EXPECT_TRUE(QRegularExpression(c.suffixTaken ? QStringLiteral("^imp_options_[0-9]{12}_2$")
                                                         : QStringLiteral("^imp_options_[0-9]{12}$"))
                            .match(suffixed)
                            .hasMatch())
                << suffixed.toStdString();
            EXPECT_EQ(mysqlColumn(*dest, QStringLiteral("select ID from `%1` order by ID").arg(suffixed)).join(u','),
                      QStringLiteral("1,2,3,4,5,6"));
            EXPECT_EQ(run.importer->insertStatement().left(40),
                      QStringLiteral("insert into `%1` (").arg(suffixed).left(40));
            if (c.suffixTaken) // the earlier run's table is not touched
                EXPECT_EQ(mysqlColumn(*dest, QStringLiteral("select ID from `%1`").arg(taken)),
                          QStringList{QStringLiteral("998")});
        }
        dbOption().timeSuffix = false;
        dbOption().computeSuffix();
    }
}

TEST_F(ImporterTest, UpdateAndKeyModesNeedAPrimaryKey)
{
    const QString table = QStringLiteral("imp_modes");
    createDest(table, QStringLiteral("ID int primary key, NAME varchar(40), NOTE varchar(40)"));
    dest->execSQL(QStringLiteral("insert into imp_modes values (1, 'one', null), (3, 'three', null), (9, 'nine', 'kept')"));

    // Without an index list there is no key: the first row raises, and the reading records it.
    for (const TWriteMode mode : {TWriteMode::UpdateByKey, TWriteMode::CheckKey}) {
        TImportRun run;
        run.withIndexes = false;
        run.mode = mode;
        EXPECT_FALSE(copyRepairRows(table, run));
        EXPECT_EQ(run.rowsWritten + run.rowsFailed, 0);
        ASSERT_EQ(run.errors->errorCount(), 1);
        EXPECT_EQ(run.errors->errorAt(0)->message, QStringLiteral("primary key not set! Table name=imp_modes"));
    }

    TImportRun check;
    check.mode = TWriteMode::CheckKey;
    EXPECT_TRUE(copyRepairRows(table, check));
    EXPECT_EQ(check.importer->updateStatement(),
              QStringLiteral("update `imp_modes` set `ID`=:p0,`NAME`=:p1,`NOTE`=:p2 where `ID`=:k0"));
    EXPECT_EQ(names(table), QStringList({"one", "three", "nine"})); // mode 2 writes nothing

    TImportRun update;
    update.mode = TWriteMode::UpdateByKey;
    EXPECT_TRUE(copyRepairRows(table, update));
    EXPECT_EQ(mysqlColumn(*dest, QStringLiteral("select concat(ID, ':', coalesce(NAME, 'NULL'), ':', "
                                                "coalesce(NOTE, 'NULL')) from imp_modes order by ID")),
              QStringList({"1:alpha:fits", "3:twelve chars:too long for five", "9:nine:kept"}));
}

namespace {
std::unique_ptr<IIndexMetadata> makeIndex(const QString& name, bool unique, const QStringList& columns)
{
    auto index = std::make_unique<TIndexMetadata>();
    index->name = name;
    index->isUnique = unique;
    for (const QString& column : columns) {
        IIndexField* field = index->addField();
        field->sourceName = column.isEmpty() ? QStringLiteral("GONE") : column;
        field->destName = column; // empty: the source column is not mapped
    }
    return index;
}
} // namespace

TEST_F(ImporterTest, IndexesSkipDuplicatesReportUnmappedAndAvoidTakenNames)
{
    const QString table = QStringLiteral("imp_indexes");
    createDest(table, QStringLiteral("A int, B int, C int, index IX_C (B)"));
    TIndexMetadataList indexes;
    indexes.add(makeIndex(QStringLiteral("U1"), true, {"A", "B"}));
    indexes.add(makeIndex(QStringLiteral("U2"), true, {"A", "B"}));
    indexes.add(makeIndex(QStringLiteral("U3"), true, {"A", "B"}));
    indexes.add(makeIndex(QStringLiteral("IX_C"), false, {"C"}));
    indexes.add(makeIndex(QStringLiteral("IX_GONE"), false, {"A", ""}));
    TShownLines shown;
    TImportRun run;
    createIndexes(*dest, table, indexes, run.errors.get());

    EXPECT_EQ(run.errors->errorCount(), 0);
    EXPECT_EQ(mysqlColumn(*dest, QStringLiteral("select concat(INDEX_NAME, ' ', NON_UNIQUE, ' ', COLUMN_NAME) from "
                                                "information_schema.STATISTICS where TABLE_SCHEMA='%1' and "
                                                "TABLE_NAME='imp_indexes' order by INDEX_NAME, SEQ_IN_INDEX")
                                     .arg(testEnv("QUENLOR_MYSQL_DATABASE"))),
              QStringList({"IX_C 1 B", "IX_C1 1 C", "U3 0 A", "U3 0 B"}));
    EXPECT_EQ(shown.lines, QStringList({
        "The index \"U1\" is invalid, table name=imp_indexes index field= [A ASC,B ASC]",
        "The index \"U2\" is invalid, table name=imp_indexes index field= [A ASC,B ASC]",
        "Start create indexes of table \"imp_indexes\"",
        "Index created, source index name=\"U3\",dest index name=\"U3\"",
        "Index created, source index name=\"IX_C\",dest index name=\"IX_C1\"",
        "The index \"IX_GONE\" is invalid, table name=imp_indexes index field= [A ASC,GONE ASC]",
    }));
}

TEST_F(ImporterTest, OracleIndexNamesComeFromTableAndColumnCutTo30)
{
    // The stand-in plays the Oracle destination; index names are unique per schema there.
    const QString table = QStringLiteral("IMP_ORACLE_INDEX_NAMES_TABLE"); // 28 characters
    source->execSQL(QStringLiteral("drop table if exists \"%1\"").arg(table));
    source->execSQL(QStringLiteral("create table \"%1\" (\"CUSTOMER_ID_A\" numeric, \"CUSTOMER_ID_B\" numeric)").arg(table));
    TIndexMetadataList indexes;
    indexes.add(makeIndex(QStringLiteral("IX_A"), false, {"CUSTOMER_ID_A"}));
    indexes.add(makeIndex(QStringLiteral("IX_B"), true, {"CUSTOMER_ID_B"}));
    TShownLines shown;
    TImportRun run;
    createIndexes(*source, table, indexes, run.errors.get());
    EXPECT_EQ(run.errors->errorCount(), 0) << run.errorReport().toStdString();
    EXPECT_EQ(shown.lines.filter(QStringLiteral("Index created")),
              QStringList({"Index created, source index name=\"IX_A\",dest index name=\"IMP_ORACLE_INDEX_NAMES_TABLE_C\"",
                           "Index created, source index name=\"IX_B\",dest index name=\"IMP_ORACLE_INDEX_NAMES_TABLE_1\""}));
    EXPECT_EQ(source->getSQLValue(QStringLiteral("select count(*) from all_indexes where table_name = '%1'").arg(table)),
              QStringLiteral("2"));
    source->execSQL(QStringLiteral("drop table \"%1\"").arg(table));
}

TEST_F(ImporterTest, MapLineOfAMissingSourceColumnRefusesToCreateTheTable)
{
    const QString table = QStringLiteral("imp_unmapped");
    created << table;
    dropMySqlTable(*dest, table);
    TImportRun run;
    run.fieldMap.setLines({QStringLiteral("ID=ID"), QStringLiteral("NAME=NO_SUCH_COLUMN")});
    EXPECT_FALSE(copyTable(*source, QStringLiteral("MIG_REPAIR"), *dest, table, run));
    EXPECT_FALSE(run.prepared);
    EXPECT_EQ(run.rowsWritten + run.rowsFailed, 0);
    ASSERT_EQ(run.errors->errorCount(), 1);
    EXPECT_EQ(run.errors->errorAt(0)->errorType, 4);
    EXPECT_EQ(run.errors->errorAt(0)->message,
              QStringLiteral("Source field \"NO_SUCH_COLUMN\" of table \"imp_unmapped\" not found"));
    EXPECT_FALSE(dest->tableExists(table));
}
