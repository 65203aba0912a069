// Reading source tables and custom statements from the Oracle stand-in: the
// table-start call, the row loop with its limit and the stop flag, failures.

#include "DbaccessTestSupport.h"

#include "dbaccess/DBConnection.h"
#include "foundation/DbKind.h"
#include "records/DatasetFieldDef.h"
#include "records/FieldMetadata.h"
#include "records/IndexMetadata.h"
#include "records/ReadDataField.h"
#include "shell/CacheCurrentShowProcess.h"
#include "shell/DBOption.h"
#include "shell/GlobalOptions.h"
#include "shell/StopFlag.h"

#include <optional>

namespace {

// What the callbacks saw.
struct Seen {
    int begins = 0;
    int rows = 0;
    int sourceKind = 0;
    int defCount = -1;
    int fieldCount = -1;
    int indexCount = -1; // -1: no index list
    bool accept = true;
    std::optional<int> failRow;  // the record callback reports failure on this row (1-based)
    std::optional<int> stopAtRow; // the stop flag is set while this row is handled

    TBeginTableCallback begin()
    {
        return [this](int kind, TDatasetFieldDefList& defs, TFieldMetadataList& fields, TIndexMetadataList* indexes,
                      TErrInfoList*) {
            ++begins;
            sourceKind = kind;
            defCount = defs.defCount();
            fieldCount = fields.getCount();
            indexCount = indexes ? indexes->count() : -1;
            return accept;
        };
    }
    TRecordCallback record()
    {
        return [this](IReadDataRecord& r, TErrInfoList*) {
            ++rows;
            EXPECT_GT(r.fieldCount(), 0);
            if (stopAtRow && rows == *stopAtRow)
                requestStop();
            return !(failRow && rows == *failRow);
        };
    }
};

TStringList names(const QStringList& list) { return TStringList(list); }

class SourceReading : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetRunState();
        // The stand-in keeps Oracle's upper-case names only when they are quoted.
        dbOption().quoteNames = true;
        currentShowProcess().stepPercent = 0;
        currentShowProcess().stepUnits = -7;
        if (oracleMissing())
            return;
        conn = openOracle();
    }
    void TearDown() override
    {
        globalOptions().clear();
        clearStopForTests();
        dbOption() = TDBOption();
        currentShowProcess().stepPercent = 0;
        currentShowProcess().stepUnits = 0;
    }
    bool read(Seen& seen, const QString& table, const QStringList& fields, bool structureOnly = false,
              TErrInfoList* errors = nullptr)
    {
        return conn->readTable(table, names(fields), seen.begin(), seen.record(), structureOnly, errors);
    }

    std::unique_ptr<TDBConnection> conn;
};

const QStringList kStreamFields{QStringLiteral("ID"), QStringLiteral("CODE")};
const QStringList kDeptFields{QStringLiteral("DEPT_NO"), QStringLiteral("EMP_NO"), QStringLiteral("NOTE")};

TEST_F(SourceReading, RowLimitOfTheGlobalOption)
{
    REQUIRE_ORACLE();
    const struct {
        const char* limit; // nullptr: the built-in default
        const char* table;
        int rows;
    } cases[] = {{"10", "STREAM_ROWS", 10}, {"0", "STREAM_ROWS", 1}, {"-1", "DEPT_EMP", 3}, {nullptr, "DEPT_EMP", 3}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.limit ? c.limit : "default");
        globalOptions().clear();
        if (c.limit)
            globalOptions().setValue(QStringLiteral("ExportTableRecordCount"), QLatin1String(c.limit));
        Seen seen;
        const QStringList& fields = QLatin1String(c.table) == QLatin1String("DEPT_EMP") ? kDeptFields : kStreamFields;
        EXPECT_TRUE(read(seen, QLatin1String(c.table), fields));
        EXPECT_EQ(seen.begins, 1);
        EXPECT_EQ(seen.rows, c.rows);
    }
}

TEST_F(SourceReading, TableStartGetsTheMetadata)
{
    REQUIRE_ORACLE();
    currentShowProcess().stepPercent = 50; // few tables: the rows are counted
    Seen seen;
    EXPECT_TRUE(read(seen, QStringLiteral("DEPT_EMP"), kDeptFields, true));
    EXPECT_EQ(seen.begins, 1);
    EXPECT_EQ(seen.rows, 0); // structure only
    EXPECT_EQ(seen.sourceKind, dbkind::Oracle);
    EXPECT_EQ(seen.defCount, 3);   // the selected columns
    EXPECT_EQ(seen.fieldCount, 4); // every column of the table
    EXPECT_EQ(seen.indexCount, 3);
    EXPECT_EQ(currentShowProcess().stepUnits, 3);

    currentShowProcess().stepPercent = 19;
    currentShowProcess().stepUnits = -7;
    Seen declined;
    declined.accept = false;
    EXPECT_FALSE(read(declined, QStringLiteral("DEPT_EMP"), kDeptFields));
    EXPECT_EQ(declined.rows, 0);
    EXPECT_EQ(currentShowProcess().stepUnits, -7); // not counted
}

TEST_F(SourceReading, NamingOptionsQuoteEverySelectedColumn)
{
    REQUIRE_ORACLE();
    dbOption().upperCaseNames = true;
    Seen seen;
    TestErrorList errors;
    EXPECT_TRUE(read(seen, QStringLiteral("dept_emp"), {QStringLiteral("dept_no"), QStringLiteral("note")}, false,
                     &errors.list));
    EXPECT_EQ(errors.count(), 0);
    EXPECT_EQ(seen.rows, 3);
}

TEST_F(SourceReading, FailingRowsAndTheStopFlag)
{
    REQUIRE_ORACLE();
    Seen failing;
    failing.failRow = 2;
    EXPECT_FALSE(read(failing, QStringLiteral("DEPT_EMP"), kDeptFields));
    EXPECT_EQ(failing.rows, 3); // the rows go on

    Seen stopped;
    stopped.stopAtRow = 5;
    EXPECT_FALSE(read(stopped, QStringLiteral("STREAM_ROWS"), kStreamFields));
    EXPECT_EQ(stopped.rows, 5); // ends after the current row
}

TEST_F(SourceReading, UnreadableSourcesAreRecordedAsMetadataOrReadErrors)
{
    REQUIRE_ORACLE();
    TestErrorList errors;
    Seen seen;
    EXPECT_FALSE(read(seen, QStringLiteral("NO_SUCH_TABLE"), {QStringLiteral("ID")}, false, &errors.list));
    TStringList map;
    EXPECT_FALSE(conn->readCustomSQL(QStringLiteral("SQL@bad"), QString(), QStringLiteral("select nonsense from"), map,
                                     seen.begin(), seen.record(), &errors.list));
    EXPECT_EQ(seen.begins, 0);
    ASSERT_EQ(errors.count(), 2);
    // A table the dictionary does not have is a metadata error, and no select is tried.
    EXPECT_EQ(errors.at(0).errorType, 3);
    EXPECT_EQ(errors.at(0).statement, QString());
    EXPECT_EQ(errors.at(0).dbKind, dbkind::Oracle);
    EXPECT_EQ(errors.at(1).errorType, 2);
    EXPECT_EQ(errors.at(1).statement, QStringLiteral("select nonsense from"));

    EXPECT_FALSE(conn->readTable(QStringLiteral("DEPT_EMP"), names(kDeptFields), {}, seen.record(), false, nullptr));
}

TEST_F(SourceReading, CustomStatementMapsEveryColumnToItself)
{
    REQUIRE_ORACLE();
    currentShowProcess().stepPercent = 50;
    TStringList map({QStringLiteral("OLD=OLD")});
    TFieldMetadataList* seenFields = nullptr;
    int rows = 0;
    const bool ok = conn->readCustomSQL(
        QStringLiteral("SQL@first"), QStringLiteral("dest"),
        QStringLiteral("select \"ID\", \"CODE\", \"AMOUNT\" from \"STREAM_ROWS\" where \"ID\" <= 3"), map,
        [&](int, TDatasetFieldDefList&, TFieldMetadataList& fields, TIndexMetadataList* indexes, TErrInfoList*) {
            seenFields = &fields;
            EXPECT_EQ(indexes, nullptr);
            return true;
        },
        [&](IReadDataRecord&, TErrInfoList*) { return ++rows > 0; }, nullptr);
    EXPECT_TRUE(ok);
    EXPECT_EQ(rows, 3);
    EXPECT_EQ(map.lines(), QStringList({QStringLiteral("ID=ID"), QStringLiteral("CODE=CODE"),
                                        QStringLiteral("AMOUNT=AMOUNT")}));
    EXPECT_EQ(currentShowProcess().stepUnits, 0);
    ASSERT_TRUE(seenFields); // held by the connection until it opens or closes again
    const TFieldMetadata& code = *seenFields->findByName(QStringLiteral("CODE"));
    EXPECT_EQ(code.getLength(), 20);
    EXPECT_EQ(code.getPrecision(), -1);
    const TFieldMetadata& amount = *seenFields->findByName(QStringLiteral("AMOUNT"));
    EXPECT_EQ(amount.getTypeName(), QStringLiteral("NUMBER"));
    EXPECT_EQ(amount.getPrecision(), 12);
    EXPECT_EQ(amount.getScale(), 2);
    EXPECT_EQ(amount.getLength(), -1);
}

TEST(SourceReadingMySql, CustomDecimalKeepsItsDigits)
{
    REQUIRE_MYSQL();
    resetRunState();
    auto conn = openMySql(false);
    TStringList map;
    int precision = 0, scale = 0;
    EXPECT_TRUE(conn->readCustomSQL(
        QStringLiteral("SQL@dec"), QString(), QStringLiteral("select cast(1234567890.12 as decimal(12,2)) as D"), map,
        [&](int, TDatasetFieldDefList&, TFieldMetadataList& fields, TIndexMetadataList*, TErrInfoList*) {
            precision = fields.getItem(0)->getPrecision();
            scale = fields.getItem(0)->getScale();
            return true;
        },
        [](IReadDataRecord& r, TErrInfoList*) { return r.fieldAt(0)->asString() == QStringLiteral("1234567890.12"); },
        nullptr));
    EXPECT_EQ(precision, 12);
    EXPECT_EQ(scale, 2);
}

} // namespace
