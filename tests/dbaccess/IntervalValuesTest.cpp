// Oracle interval columns copied into MariaDB: the values arrive as the
// source's text, and a refused row keeps them in a readable error file.

#include "DbaccessTestSupport.h"
#include "ImportRunner.h"

#include "dbaccess/DBConnection.h"
#include "records/ErrInfoList.h"
#include "shell/GlobalOptions.h"

namespace {

class IntervalValuesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        REQUIRE_MYSQL();
        REQUIRE_ORACLE();
        startImporterTest();
        // Tables of their own per test: the tests run in parallel.
        const QString test = QString::fromLatin1(::testing::UnitTest::GetInstance()->current_test_info()->name());
        sourceTable = QStringLiteral("IV_") + test.toUpper();
        destTable = QStringLiteral("iv_") + test.toLower();
        source = openOracle();
        dest = openMySql();
        for (const char* sql : {
                 "drop table if exists \"%1\"",
                 "create table \"%1\" (\"ID\" numeric(9,0) not null primary key, "
                 "\"DS\" interval day to second, \"YM\" interval year to month)",
                 "insert into \"%1\" values (1, '3 days 04:05:06.5', '2 years 3 months'), "
                 "(2, '-1 days -00:00:01.25', '-1 years -2 months'), (3, null, null), (4, '0', '0'), "
                 "(5, '999 days 23:59:59.999999', '178000000 years')"})
            source->execSQL(QString::fromLatin1(sql).arg(sourceTable));
        dropMySqlTable(*dest, destTable);
    }
    void TearDown() override
    {
        if (dest)
            dropMySqlTable(*dest, destTable);
        if (source)
            source->execSQL(QStringLiteral("drop table if exists \"%1\"").arg(sourceTable));
    }
    QStringList sourceRows() const
    {
        return mysqlColumn(*source, QStringLiteral("select concat_ws('|', \"ID\", coalesce(\"DS\"::text, 'NULL'), "
                                                   "coalesce(\"YM\"::text, 'NULL')) from \"%1\" order by \"ID\"")
                                        .arg(sourceTable));
    }
    QStringList destRows() const
    {
        return mysqlColumn(*dest, QStringLiteral("select concat_ws('|', ID, coalesce(DS, 'NULL'), "
                                                 "coalesce(YM, 'NULL')) from %1 order by ID").arg(destTable));
    }

    QString sourceTable;
    QString destTable;

    std::unique_ptr<TDBConnection> source;
    std::unique_ptr<TDBConnection> dest;
};

} // namespace

TEST_F(IntervalValuesTest, ValuesArriveAsTheSourceText)
{
    // Without widening: the created text column must hold the longest form by itself.
    setOptionBool(QStringLiteral("ExtendField"), false);
    TImportRun run;
    ASSERT_TRUE(copyTable(*source, sourceTable, *dest, destTable, run)) << run.errorReport().toStdString();
    EXPECT_EQ(run.rowsWritten, 5);
    ASSERT_EQ(run.errors->errorCount(), 0) << run.errorReport().toStdString();
    const QStringList expected = sourceRows();
    ASSERT_EQ(expected.size(), 5);
    EXPECT_EQ(destRows(), expected);
    EXPECT_EQ(mysqlValue(*dest, QStringLiteral("select group_concat(COLUMN_TYPE order by COLUMN_NAME) from "
                                               "information_schema.COLUMNS where TABLE_SCHEMA=database() and "
                                               "TABLE_NAME='%1' and COLUMN_NAME in ('DS','YM')").arg(destTable)),
              QStringLiteral("varchar(100),varchar(100)"));
}

TEST_F(IntervalValuesTest, RefusedRowKeepsItsIntervalsInTheErrorFile)
{
    dest->execSQL(QStringLiteral("create table %1 (ID int primary key check (ID <> 2), DS varchar(40), "
                                 "YM varchar(40))").arg(destTable));
    TImportRun run;
    run.dropDestTable = false;
    copyTable(*source, sourceTable, *dest, destTable, run);
    EXPECT_EQ(run.rowsWritten, 4);
    EXPECT_EQ(destRows().size(), 4);
    ASSERT_EQ(run.errors->errorCount(), 1);

    const QString report = run.errorReport();
    EXPECT_TRUE(report.contains(QStringLiteral("  Record:\n    ID=2\n    DS=-1 days -00:00:01.25\n"
                                               "    YM=-1 years -2 mons\n")))
        << report.toStdString();
    EXPECT_FALSE(report.contains(QStringLiteral("stored as NULL"))) << report.toStdString();
}
