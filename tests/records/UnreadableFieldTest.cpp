// Rows with values that cannot be stored as their column's kind, recorded by
// the error tracker: every record must read back whole, the rest of the file too.

#include "RecordsTestSupport.h"

#include "platform/db/DbConnection.h"
#include "platform/db/DbQuery.h"
#include "records/DatasetFieldDef.h"
#include "records/ErrInfoList.h"
#include "records/ErrTrack.h"
#include "records/PlainFolderData.h"
#include "records/ReadDataRecord_DataSet.h"

#include <gtest/gtest.h>

namespace {
class UnreadableFieldTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        connection.setProviderName(QStringLiteral("SQLite"));
        connection.setDatabase(dir.filePath(QStringLiteral("t.db")));
        connection.open();
        // SQLite keeps any text in a typed column: the reader gets it as text.
        for (const char* sql : {"CREATE TABLE T (ID INTEGER, BORN DATETIME, QTY INT, NOTE VARCHAR(20))",
                                "INSERT INTO T VALUES (1, 'not a date', 'many', 'first')",
                                "INSERT INTO T VALUES (2, '2024-03-05 06:07:08', 5, 'second')"}) {
            DbQuery q(&connection);
            q.setSQL(QString::fromLatin1(sql));
            q.execute();
        }
    }
    std::unique_ptr<TReadDataRecord_DataSet> rows(const QString& sql)
    {
        auto q = std::make_unique<DbQuery>(&connection);
        q->setSQL(sql);
        q->open();
        return std::make_unique<TReadDataRecord_DataSet>(std::move(q), nullptr);
    }
    // Records one error per row of the reader, then reads the file back.
    void recordEveryRow(TReadDataRecord_DataSet& reader, const TDatasetFieldDefList& layout)
    {
        TErrInfoList list(&folder);
        TErrTrack& track = list.tracker();
        track.setErrorCallback([&](const QString& message, TErrorType) { logged << message; });
        track.beginTable(QStringLiteral("T"), QStringLiteral("t"));
        track.setTableContext(&layout, nullptr, TStringList());
        for (DbQuery* q = reader.query(); !q->eof(); q->next())
            track.addError(QStringLiteral("refused"), QStringLiteral("insert"), 1, 1, &reader, TErrorType::Insert);
    }
    QString text(const IReadDataField* field) const
    {
        return field->isNull() ? QStringLiteral("NULL") : field->asString();
    }

    QTemporaryDir dir;
    DbConnection connection;
    TPlainFolderData folder{dir.path()};
    QStringList logged;
};
} // namespace

TEST_F(UnreadableFieldTest, UnreadableValuesAreStoredAsNullAndNamedInTheMessage)
{
    std::unique_ptr<TReadDataRecord_DataSet> reader = rows(QStringLiteral("SELECT * FROM T ORDER BY ID"));
    TDatasetFieldDefList layout;
    layout.fillFromQuery(*reader->query());
    recordEveryRow(*reader, layout);

    TErrInfoList list(&folder);
    ASSERT_NO_THROW(list.tracker().openErrorInfo());
    ASSERT_EQ(list.errorCount(), 2);
    const IReadDataRecord* first = list.errorAt(0)->record();
    ASSERT_NE(first, nullptr);
    ASSERT_EQ(first->fieldCount(), 4);
    EXPECT_EQ(first->fieldAt(0)->asInteger(), 1);
    EXPECT_TRUE(first->fieldAt(1)->isNull());
    EXPECT_TRUE(first->fieldAt(2)->isNull());
    EXPECT_EQ(first->fieldAt(3)->asString(), QStringLiteral("first"));
    const QStringList lines = list.errorAt(0)->message.split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 3) << list.errorAt(0)->message.toStdString();
    EXPECT_EQ(lines[0], QStringLiteral("refused"));
    EXPECT_EQ(lines[1], QStringLiteral("Field BORN=\"not a date\" stored as NULL: 'not a date' is not a valid date and time"));
    EXPECT_TRUE(lines[2].startsWith(QStringLiteral("Field QTY=\"many\" stored as NULL: "))) << lines[2].toStdString();
    EXPECT_EQ(logged.value(0), list.errorAt(0)->message);

    // The next error of the file is untouched by the bad one.
    const IReadDataRecord* second = list.errorAt(1)->record();
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(list.errorAt(1)->message, QStringLiteral("refused"));
    EXPECT_EQ(second->fieldAt(2)->asInt64(), 5);
    EXPECT_EQ(second->fieldAt(3)->asString(), QStringLiteral("second"));
    EXPECT_FALSE(second->fieldAt(1)->isNull());
}

TEST_F(UnreadableFieldTest, RowsThatDoNotFitTheTableLayoutStillReadBack)
{
    std::unique_ptr<TReadDataRecord_DataSet> reader = rows(QStringLiteral("SELECT ID, NOTE FROM T WHERE ID = 1"));
    struct Case {
        const char* name;
        std::vector<std::pair<const char*, int>> layout;
        QStringList values;
        QStringList notes;
    };
    const Case cases[] = {
        {"a value of another type than its column",
         {{"ID", ftLargeint}, {"NOTE", ftInteger}},
         {QStringLiteral("1"), QStringLiteral("NULL")},
         {QStringLiteral("Field NOTE=\"first\" stored as NULL: TReadDataField_Hash.loadFromStream read datatype "
                         "error! need=ftInteger found=ftWideString")}},
        {"a column the row lacks",
         {{"ID", ftLargeint}, {"NOTE", ftWideString}, {"GONE", ftInteger}},
         {QStringLiteral("1"), QStringLiteral("first"), QStringLiteral("NULL")},
         {QStringLiteral("Field GONE stored as NULL: the row has no such field")}},
        {"a value the layout lacks",
         {{"ID", ftLargeint}},
         {QStringLiteral("1")},
         {QStringLiteral("Field NOTE=\"first\" not stored: the table has no such field")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir caseDir;
        folder.setFolder(caseDir.path());
        TDatasetFieldDefList layout;
        for (const auto& [name, type] : c.layout)
            layout.addDef(QString::fromLatin1(name), type, false);
        reader->query()->first();
        recordEveryRow(*reader, layout);

        TErrInfoList list(&folder);
        ASSERT_NO_THROW(list.tracker().openErrorInfo());
        ASSERT_EQ(list.errorCount(), 1);
        const IReadDataRecord* stored = list.errorAt(0)->record();
        ASSERT_NE(stored, nullptr);
        QStringList values;
        for (int i = 0; i < stored->fieldCount(); ++i)
            values << text(stored->fieldAt(i));
        EXPECT_EQ(values, c.values);
        EXPECT_EQ(list.errorAt(0)->message.split(QStringLiteral("\r\n")).mid(1), c.notes);
    }
}
