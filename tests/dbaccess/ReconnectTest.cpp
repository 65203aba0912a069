// A destination link that is lost in the middle of a transaction: the rows of
// that transaction are written again after reconnecting, and a link that
// cannot be restored is recorded once, with only committed rows counted.

#include "DbaccessTestSupport.h"
#include "ImportRunner.h"

#include "dbaccess/DBConnection.h"
#include "dbaccess/DBImportTable.h"
#include "foundation/LogUtils.h"
#include "platform/db/DbConnection.h"
#include "records/ErrInfo.h"
#include "records/ErrInfoList.h"
#include "shell/GlobalOptions.h"

namespace {

class ReconnectTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        REQUIRE_MYSQL();
        REQUIRE_ORACLE();
        // A table of its own: the tests of this file run in parallel.
        table = QStringLiteral("imp_rc_")
            + QString::fromLatin1(::testing::UnitTest::GetInstance()->current_test_info()->name()).left(20).toLower();
        startImporterTest();
        globalOptions().setValue(QStringLiteral("ExportTableRecordCount"), QStringLiteral("603"));
        source = openOracle();
        dest = openMySql();
        observer = openMySql();
        dropMySqlTable(*dest, table);
        appLog().clearLog();
    }
    void TearDown() override
    {
        if (observer)
            dropMySqlTable(*observer, table);
    }
    int visible() { return mysqlValue(*observer, QStringLiteral("select count(*) from ") + table).toInt(); }
    bool logHas(const QString& text) const
    {
        for (const QString& line : appLog().lines().lines())
            if (line.contains(text))
                return true;
        return false;
    }
    // Cuts the importer's link after `row`, 150 rows into the second transaction.
    void cutLinkAfter(int row, TImportRun& run, bool refuseReconnect)
    {
        const QString id = mysqlValue(*dest, QStringLiteral("select connection_id()"));
        run.afterRow = [this, id, row, refuseReconnect](int n, TDBImportTable& importer) {
            if (n != row)
                return;
            EXPECT_EQ(importer.pendingRows(), 150);
            if (refuseReconnect)
                dest->packConnection().setPort(1);
            observer->execSQL(QStringLiteral("kill ") + id);
        };
    }

    QString table;
    std::unique_ptr<TDBConnection> source;
    std::unique_ptr<TDBConnection> dest;
    std::unique_ptr<TDBConnection> observer;
};

TEST_F(ReconnectTest, LostTransactionIsWrittenAgainAfterReconnecting)
{
    TImportRun run;
    cutLinkAfter(450, run, false);
    EXPECT_TRUE(copyTable(*source, QStringLiteral("STREAM_ROWS"), *dest, table, run)) << run.errorReport().toStdString();
    EXPECT_EQ(run.rowsWritten, 603);
    EXPECT_EQ(run.importer->committedRows(), 603);
    EXPECT_FALSE(run.importer->connectionLost());
    EXPECT_EQ(run.errors->errorCount(), 0);
    EXPECT_EQ(visible(), 603);
    EXPECT_EQ(mysqlValue(*observer, QStringLiteral("select count(distinct ID) from ") + table).toInt(), 603);
    EXPECT_TRUE(logHas(QStringLiteral("150 rows of the open transaction are not committed; reconnecting")));
    EXPECT_TRUE(logHas(QStringLiteral("Reconnected to the destination (try 1 of 5); writing 150 rows again")));
}

TEST_F(ReconnectTest, LinkThatCannotBeRestoredIsRecordedOnceAndCountsOnlyCommittedRows)
{
    TImportRun run;
    cutLinkAfter(450, run, true);
    EXPECT_FALSE(copyTable(*source, QStringLiteral("STREAM_ROWS"), *dest, table, run));
    EXPECT_TRUE(run.importer->connectionLost());
    EXPECT_EQ(run.importer->committedRows(), 300);
    EXPECT_EQ(visible(), 300);
    // One error for the table, not one per remaining row.
    ASSERT_EQ(run.errors->errorCount(), 1) << run.errorReport().toStdString();
    EXPECT_TRUE(run.errors->errorAt(0)->message.contains(
        QStringLiteral("could not be restored while writing table \"%1\": 300 rows committed").arg(table)));
    EXPECT_TRUE(logHas(QStringLiteral("Reconnecting to the destination failed (try 5 of 5)")));
}

} // namespace
