// A stand-in table of every mapped Oracle type copied into MariaDB through
// readTable and the importer: the created columns, key and indexes, and every
// value compared with the source.

#include "DbaccessTestSupport.h"
#include "ImportRunner.h"

#include "dbaccess/DBConnection.h"
#include "dbaccess/DBImportTable.h"
#include "platform/db/DbConnection.h"
#include "platform/db/DbQuery.h"
#include "records/ErrInfoList.h"
#include "records/ErrTrack.h"
#include "shell/GlobalOptions.h"

#include <QRegularExpression>

namespace {

enum class Compare { Decimal, Double, Text, Char, Time, Bytes };

struct ColumnCase {
    const char* name;
    Compare compare;
    const char* columnType; // information_schema.COLUMNS.COLUMN_TYPE
    bool nullable;
};

// What each Oracle type becomes in MariaDB.
const ColumnCase kColumns[] = {
    {"K_REGION", Compare::Text, "varchar(10)", false},
    {"K_ID", Compare::Decimal, "int(9)", false},
    {"CODE", Compare::Text, "varchar(20)", true},
    {"N_PLAIN", Compare::Decimal, "decimal(65,30)", true},
    {"N_INT", Compare::Decimal, "int(9)", true},
    {"N_BIG", Compare::Decimal, "bigint(18)", true},
    {"N_DEC", Compare::Decimal, "decimal(38,10)", true},
    {"N_MONEY", Compare::Decimal, "decimal(12,2)", true},
    {"F_FLOAT", Compare::Decimal, "decimal(65,30)", true},
    {"F_DOUBLE", Compare::Double, "double", true},
    {"S_VARCHAR2", Compare::Text, "varchar(200)", true},
    {"S_NVARCHAR2", Compare::Text, "varchar(50)", true},
    {"S_CHAR", Compare::Char, "char(8)", true},
    {"D_DATE", Compare::Time, "datetime", true},
    {"T_TS6", Compare::Time, "datetime(6)", true},
    {"L_CLOB", Compare::Text, "longtext", true},
    {"L_BLOB", Compare::Bytes, "longblob", true},
    {"R_RAW", Compare::Bytes, "varbinary(16)", true},
};

// Decimal text without insignificant zeros, so that 1.50 and 1.5000 compare equal.
QString canonicalDecimal(QString text)
{
    if (text.contains(u'.')) {
        while (text.endsWith(u'0'))
            text.chop(1);
        if (text.endsWith(u'.'))
            text.chop(1);
    }
    return text == QLatin1String("-0") ? QStringLiteral("0") : text;
}

// The value as the comparison sees it; CHAR drops the padding MariaDB never returns.
QString comparable(const DbField& field, Compare compare)
{
    if (field.isNull())
        return QStringLiteral("<NULL>");
    switch (compare) {
    case Compare::Decimal: return canonicalDecimal(field.asDecimalText());
    case Compare::Double: return QString::number(field.asFloat(), 'g', 17);
    case Compare::Text: return field.asString();
    case Compare::Char: return field.asString().remove(QRegularExpression(QStringLiteral(" +$")));
    case Compare::Time: return field.asTimeStamp().toString();
    case Compare::Bytes: return QString::fromLatin1(field.asBytes().toHex());
    }
    return QString();
}

class RoundTripTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        REQUIRE_MYSQL();
        REQUIRE_ORACLE();
        startImporterTest();
        setOptionBool(QStringLiteral("BlankStrIsNull"), false);
        source = openOracle();
        dest = openMySql();
        dropMySqlTable(*dest, QStringLiteral("rt_mig_types"));
    }
    void TearDown() override
    {
        if (dest)
            dropMySqlTable(*dest, QStringLiteral("rt_mig_types"));
    }

    std::unique_ptr<TDBConnection> source;
    std::unique_ptr<TDBConnection> dest;
};

} // namespace

TEST_F(RoundTripTest, EveryMappedTypeArrivesWithEqualValuesKeyAndIndexes)
{
    TImportRun run;
    ASSERT_TRUE(copyTable(*source, QStringLiteral("MIG_TYPES"), *dest, QStringLiteral("rt_mig_types"), run))
        << run.errorReport().toStdString();
    EXPECT_TRUE(run.tableCreated);
    EXPECT_EQ(run.rowsWritten, 4);
    ASSERT_EQ(run.errors->errorCount(), 0) << run.errorReport().toStdString();

    // Columns as created.
    const QString db = testEnv("QUENLOR_MYSQL_DATABASE");
    const QString where = QStringLiteral(" from information_schema.COLUMNS where TABLE_SCHEMA='%1' and "
                                         "TABLE_NAME='rt_mig_types' order by ORDINAL_POSITION").arg(db);
    const QStringList names = mysqlColumn(*dest, QStringLiteral("select COLUMN_NAME") + where);
    const QStringList types = mysqlColumn(*dest, QStringLiteral("select COLUMN_TYPE") + where);
    const QStringList nullable = mysqlColumn(*dest, QStringLiteral("select IS_NULLABLE") + where);
    ASSERT_EQ(names.size(), int(std::size(kColumns)));
    for (int i = 0; i < names.size(); ++i) {
        SCOPED_TRACE(kColumns[i].name);
        EXPECT_EQ(names[i], QString::fromLatin1(kColumns[i].name));
        EXPECT_EQ(types[i], QString::fromLatin1(kColumns[i].columnType));
        EXPECT_EQ(nullable[i], kColumns[i].nullable ? QStringLiteral("YES") : QStringLiteral("NO"));
    }

    // Key and indexes: name, uniqueness, column order and direction.
    const QStringList indexes = mysqlColumn(*dest, QStringLiteral(
        "select concat(INDEX_NAME, ' ', NON_UNIQUE, ' ', SEQ_IN_INDEX, ' ', COLUMN_NAME, ' ', COLLATION) "
        "from information_schema.STATISTICS where TABLE_SCHEMA='%1' and TABLE_NAME='rt_mig_types' "
        "order by INDEX_NAME, SEQ_IN_INDEX").arg(db));
    EXPECT_EQ(indexes, QStringList({QStringLiteral("IX_MIG_TYPES_DATE 1 1 D_DATE D"),
                                    QStringLiteral("IX_MIG_TYPES_DATE 1 2 N_INT A"),
                                    QStringLiteral("PRIMARY 0 1 K_REGION A"), QStringLiteral("PRIMARY 0 2 K_ID A"),
                                    QStringLiteral("UX_MIG_TYPES_CODE 0 1 CODE A")}));

    // Values, row by row and column by column.
    QStringList quoted, backQuoted;
    for (const ColumnCase& c : kColumns) {
        quoted << QStringLiteral("\"%1\"").arg(QLatin1String(c.name));
        backQuoted << QStringLiteral("`%1`").arg(QLatin1String(c.name));
    }
    DbQuery from(&source->packConnection());
    from.setPreciseDecimal(true);
    from.setSQL(QStringLiteral("select %1 from \"MIG_TYPES\" order by \"K_REGION\", \"K_ID\"").arg(quoted.join(u',')));
    from.open();
    DbQuery to(&dest->packConnection());
    to.setPreciseDecimal(true);
    to.setSQL(QStringLiteral("select %1 from rt_mig_types order by K_REGION, K_ID").arg(backQuoted.join(u',')));
    to.open();
    int rows = 0;
    for (; !from.eof(); from.next(), to.next(), ++rows) {
        ASSERT_FALSE(to.eof()) << "row " << rows + 1 << " missing";
        for (int c = 0; c < int(std::size(kColumns)); ++c) {
            SCOPED_TRACE(QStringLiteral("row %1 column %2").arg(rows + 1).arg(QLatin1String(kColumns[c].name)).toStdString());
            EXPECT_EQ(comparable(to.field(c), kColumns[c].compare), comparable(from.field(c), kColumns[c].compare));
        }
    }
    EXPECT_TRUE(to.eof());
    EXPECT_EQ(rows, 4);

    // The large objects are the fixture's, not merely equal to whatever was read.
    EXPECT_EQ(mysqlValue(*dest, QStringLiteral("select concat(char_length(L_CLOB), ' ', length(L_BLOB), ' ', "
                                               "hex(substr(L_BLOB, 255, 3))) from rt_mig_types where K_ID=1 and "
                                               "K_REGION='EU'")),
              QStringLiteral("76000 100000 FEFF00"));
}
