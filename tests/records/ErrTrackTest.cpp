// The error tracker over a real folder: files, rollover, index, reading back.

#include "RecordsTestSupport.h"

#include "foundation/Exception.h"
#include "records/ErrInfoList.h"
#include "records/ErrTrack.h"
#include "records/PlainFolderData.h"
#include "records/ReadDataRecord_Hash.h"
#include "records/StoredPayload.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {
class ErrTrackTest : public ::testing::Test {
protected:
    QString errorFile(const QString& name) const { return dir.filePath(QStringLiteral("error/") + name); }
    QString indexText() const
    {
        QFile f(errorFile(QStringLiteral("error.errinfo")));
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QStringLiteral("<missing>");
    }
    void addErrors(TErrTrack& track, int count)
    {
        for (int i = 0; i < count; ++i)
            track.addErrorNoRecord(QStringLiteral("e%1").arg(i), QString(), -1, 1, TErrorType::Insert);
    }

    QTemporaryDir dir;
    TPlainFolderData folder{dir.path()};
};

// Definitions ID integer and NAME text, and a record of the caller.
struct Rows {
    Rows()
    {
        defs.addDef(QStringLiteral("ID"), ftInteger, true);
        defs.addDef(QStringLiteral("NAME"), ftWideString, false);
        meta.add(std::make_unique<TFieldMetadata>());
        meta.getItem(0)->setName(QStringLiteral("ID"));
        mapping.add(QStringLiteral("ID=ID"));
        mapping.add(QStringLiteral("NAME=FULL_NAME"));
        record.setDefinitions(&defs);
    }
    void set(int id, const QString* name)
    {
        record.hashFieldAt(0)->setValue(false, int32Payload(id));
        record.hashFieldAt(1)->setValue(name == nullptr, name ? textPayload(*name) : QByteArray());
    }
    TDatasetFieldDefList defs;
    TFieldMetadataList meta;
    TStringList mapping;
    TReadDataRecord_Hash record;
};
} // namespace

TEST_F(ErrTrackTest, FirstErrorOpensTheListFileAndFinishingWritesTheIndex)
{
    auto list = std::make_unique<TErrInfoList>(&folder);
    TErrTrack& track = list->tracker();
    QStringList seen;
    track.setErrorCallback([&](const QString& message, TErrorType type) {
        seen << QStringLiteral("%1:%2").arg(errorTypeCode(type)).arg(message);
    });
    track.setRunIdentity(QStringLiteral("/cfg/job.Tvcfg"), QStringLiteral("{GUID-1}"));
    track.beginTable(QStringLiteral("T1"), QStringLiteral("t1"));
    track.addErrorNoRecord(QStringLiteral("boom"), QStringLiteral("insert"), 1062, 1, TErrorType::Insert);
    EXPECT_TRUE(QFile::exists(errorFile(QStringLiteral("error.errlist"))));
    EXPECT_FALSE(QFile::exists(errorFile(QStringLiteral("error.errinfo"))));
    EXPECT_EQ(track.totalErrors(), 1);
    EXPECT_EQ(seen, QStringList{QStringLiteral("1:boom")});
    list.reset();
    EXPECT_EQ(indexText(), QStringLiteral("SumCount=1\r\nFileCount=1\r\nFileItem1=error.errlist\r\n"
                                          "Guid={GUID-1}\r\nConfigFileName=/cfg/job.Tvcfg\r\n"));
}

TEST_F(ErrTrackTest, ThreeHundredErrorsPerFileThenTheNextFile)
{
    {
        TErrInfoList list(&folder);
        list.tracker().beginTable(QStringLiteral("T"), QString());
        addErrors(list.tracker(), 300);
        EXPECT_FALSE(list.tracker().isWriting());
        EXPECT_EQ(indexText(), QStringLiteral("SumCount=300\r\nFileCount=1\r\nFileItem1=error.errlist\r\n"));
        addErrors(list.tracker(), 123);
        EXPECT_TRUE(QFile::exists(errorFile(QStringLiteral("error1.errlist"))));
    }
    EXPECT_EQ(indexText(), QStringLiteral("SumCount=423\r\nFileCount=2\r\nFileItem1=error.errlist\r\n"
                                          "FileItem2=error1.errlist\r\n"));
    TErrInfoList list(&folder);
    TErrTrack& track = list.tracker();
    track.openErrorInfo();
    EXPECT_EQ(track.currentFileIndex(), 1);
    EXPECT_EQ(list.errorCount(), 300);
    EXPECT_EQ(list.firstNumber(), 1);
    EXPECT_EQ(list.lastNumber(), 300);
    track.priorErrorFile();
    EXPECT_EQ(track.currentFileIndex(), 1);
    track.nextErrorFile();
    EXPECT_EQ(list.firstNumber(), 301);
    EXPECT_EQ(list.lastNumber(), 600);
    EXPECT_EQ(list.errorCount(), 123);
    EXPECT_EQ(list.errorAt(0)->message, QStringLiteral("e0"));
    EXPECT_EQ(list.errorNumber(0), 301);
    // The second file starts with the group known when it was begun.
    ASSERT_EQ(list.groupCount(), 1);
    EXPECT_EQ(list.errorAt(0)->group, list.groupAt(0));
    track.nextErrorFile();
    EXPECT_EQ(track.currentFileIndex(), 2);
    track.firstErrorFile();
    EXPECT_EQ(list.firstNumber(), 1);
    track.lastErrorFile();
    EXPECT_EQ(track.currentFileIndex(), 2);
    EXPECT_EQ(list.firstNumber(), 301);
}

TEST_F(ErrTrackTest, EarlierFilesPushTheNameOn)
{
    QDir().mkpath(dir.filePath(QStringLiteral("error")));
    for (const char* name : {"error.errlist", "error1.errlist"}) {
        QFile f(errorFile(QString::fromLatin1(name)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    {
        TErrInfoList list(&folder);
        addErrors(list.tracker(), 1);
    }
    EXPECT_EQ(indexText(), QStringLiteral("SumCount=1\r\nFileCount=1\r\nFileItem1=error2.errlist\r\n"));
}

TEST_F(ErrTrackTest, RunReadBackAfterTheWriterIsGone)
{
    Rows rows;
    const QString alice = QStringLiteral("Alice");
    {
        TErrInfoList list(&folder);
        TErrTrack& track = list.tracker();
        track.beginTable(QStringLiteral("SRC_A"), QStringLiteral("dest_a"));
        track.setTableContext(&rows.defs, &rows.meta, rows.mapping);
        track.addErrorNoRecord(QStringLiteral("no row"), QString(), -1, -1, TErrorType::CreateTable);
        rows.set(7, &alice);
        track.addError(QStringLiteral("dup"), QStringLiteral("insert into a"), 1062, 1, &rows.record, TErrorType::Insert);
        rows.set(8, nullptr); // the caller moves on; what was written stays
        track.beginTable(QStringLiteral("SRC_B"), QString());
        track.setTableContext(&rows.defs, nullptr, TStringList());
        track.addError(QStringLiteral("bad"), QString(), -1, 10000, &rows.record, TErrorType::Parameter);
        track.beginTable(QString(), QString());
        track.addErrorNoRecord(QStringLiteral("connect"), QString(), 2003, 1, TErrorType::Connect);
    }
    TErrInfoList list(&folder);
    list.tracker().openErrorInfo();
    ASSERT_EQ(list.errorCount(), 4);
    ASSERT_EQ(list.groupCount(), 3) << "every group is written once";
    const TErrGroup* a = list.groupAt(0);
    EXPECT_EQ(a->name, QStringLiteral("SRC_A"));
    EXPECT_EQ(a->displayName(), QStringLiteral("dest_a"));
    EXPECT_EQ(a->fieldMapping.lines(), rows.mapping.lines());
    ASSERT_NE(a->metadata(), nullptr);
    EXPECT_EQ(a->metadata()->ToString(), rows.meta.ToString());
    EXPECT_EQ(a->errorCount(), 2);
    EXPECT_EQ(list.groupAt(1)->displayName(), QStringLiteral("SRC_B"));
    EXPECT_EQ(list.groupAt(1)->metadata(), nullptr);

    const TErrInfo* dup = list.errorAt(1);
    EXPECT_EQ(dup->statement, QStringLiteral("insert into a"));
    EXPECT_EQ(dup->errorCode, 1062);
    EXPECT_EQ(dup->dbKind, 1);
    EXPECT_EQ(dup->errorType, 1);
    EXPECT_EQ(dup->state, 0);
    ASSERT_NE(dup->record(), nullptr);
    EXPECT_EQ(dup->record()->fieldByName(QStringLiteral("id"))->asInteger(), 7);
    EXPECT_EQ(dup->record()->fieldAt(1)->asString(), alice);
    EXPECT_EQ(list.errorAt(0)->record(), nullptr);
    ASSERT_NE(list.errorAt(2)->record(), nullptr);
    EXPECT_EQ(list.errorAt(2)->record()->fieldAt(0)->asInteger(), 8);
    EXPECT_TRUE(list.errorAt(2)->record()->fieldAt(1)->isNull());
    EXPECT_EQ(list.errorAt(3)->group, list.groupAt(2));
    EXPECT_EQ(list.groupAt(2)->name, QString());
}

TEST_F(ErrTrackTest, ExceptionsGiveTheirMessageAndTheHookCode)
{
    TErrInfoList list(&folder);
    list.tracker().addExceptionNoRecord(Exception(QStringLiteral("plain")), QString(), 2, TErrorType::ReadData);
    setErrorCodeHook([](const std::exception&) { return 904; });
    list.tracker().addExceptionNoRecord(std::runtime_error("std"), QString(), 2, TErrorType::ReadData);
    setErrorCodeHook(nullptr);
    ASSERT_EQ(list.errorCount(), 2);
    EXPECT_EQ(list.errorAt(0)->message, QStringLiteral("plain"));
    EXPECT_EQ(list.errorAt(0)->errorCode, -1);
    EXPECT_EQ(list.errorAt(1)->message, QStringLiteral("std"));
    EXPECT_EQ(list.errorAt(1)->errorCode, 904);
}

TEST_F(ErrTrackTest, MissingIndexAndMissingListFile)
{
    TErrInfoList list(&folder);
    try {
        list.tracker().openErrorInfo();
        FAIL();
    } catch (const Exception& e) {
        EXPECT_EQ(e.message(), QStringLiteral("File[\"error/error.errinfo\"] not found!"));
    }
    QDir().mkpath(dir.filePath(QStringLiteral("error")));
    QFile index(errorFile(QStringLiteral("error.errinfo")));
    ASSERT_TRUE(index.open(QIODevice::WriteOnly));
    index.write("SumCount=1\nFileCount=1\nFileItem1=gone.errlist\n"); // LF line ends read too
    index.close();
    try {
        list.tracker().openErrorInfo();
        FAIL();
    } catch (const Exception& e) {
        EXPECT_EQ(e.message(), QStringLiteral("File[\"error/gone.errlist\"] not found!"));
    }
}
