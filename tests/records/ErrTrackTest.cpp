// The error tracker over a real folder: files, rollover, index, reading back.

#include "ScopedUmask.h"

#include "RecordsTestSupport.h"

#include "foundation/Exception.h"
#include "records/ErrInfoList.h"
#include "records/ErrTrack.h"
#include "records/PlainFolderData.h"
#include "records/ReadDataRecord_Hash.h"
#include "records/StoredPayload.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {
unsigned modeOf(const QString& path)
{
    struct stat st {};
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 ? unsigned(st.st_mode & 07777) : 0u;
}

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

TEST_F(ErrTrackTest, FilesAndFoldersAreTheOwnersOnlyAndLinksAreReplaced)
{
    // The umask of a user who shares everything by default.
    const TScopedUmask shared(022);
    const QString run = dir.filePath(QStringLiteral("Export/run"));
    TPlainFolderData work(run);
    const QString victim = dir.filePath(QStringLiteral("victim"));
    {
        QFile f(victim);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("untouched");
    }
    const QString made = dir.filePath(QStringLiteral("Export/run2"));
    TPlainFolderData fresh(made);
    {
        TErrInfoList list(&fresh);
        addErrors(list.tracker(), 301);
    }
    EXPECT_EQ(modeOf(dir.filePath(QStringLiteral("Export"))), 0700u);
    EXPECT_EQ(modeOf(made), 0700u);
    EXPECT_EQ(modeOf(made + QStringLiteral("/error")), 0700u);
    for (const char* name : {"error.errlist", "error1.errlist", "error.errinfo"})
        EXPECT_EQ(modeOf(made + QStringLiteral("/error/") + QString::fromLatin1(name)), 0600u) << name;

    // A link planted at the index is replaced; one at a list file's name
    // pushes the name on. Their target is left alone either way, and the
    // reader refuses to follow the link out of the folder.
    ASSERT_TRUE(QDir().mkpath(run + QStringLiteral("/error")));
    ASSERT_TRUE(QFile::link(victim, run + QStringLiteral("/error/error.errinfo")));
    ASSERT_TRUE(QFile::link(victim, run + QStringLiteral("/error/error.errlist")));
    {
        TErrInfoList list(&work);
        addErrors(list.tracker(), 2);
    }
    const QFileInfo index(run + QStringLiteral("/error/error.errinfo"));
    EXPECT_FALSE(index.isSymLink());
    EXPECT_EQ(modeOf(index.filePath()), 0600u);
    EXPECT_EQ(modeOf(run + QStringLiteral("/error/error1.errlist")), 0600u);
    QFile target(victim);
    ASSERT_TRUE(target.open(QIODevice::ReadOnly));
    EXPECT_EQ(target.readAll(), QByteArray("untouched"));
    TErrInfoList list(&work);
    list.tracker().openErrorInfo();
    EXPECT_EQ(list.errorCount(), 2);
    EXPECT_EQ(list.tracker().fileCount(), 1);
    EXPECT_EQ(list.tracker().fileName(1), QStringLiteral("error1.errlist"));
    ASSERT_EQ(list.tracker().readNotes().size(), 2);
    EXPECT_EQ(list.tracker().readNotes().at(1),
              QStringLiteral("Refused to read \"%1/error/error.errlist\": it lies outside the folder \"%1/\"").arg(run));
}

// A file that cannot grow (a file-size limit stands in for a full disk), an
// index that cannot be renamed into place: the tracker says so with the path
// and the reason, stops writing, and keeps counting.
TEST_F(ErrTrackTest, AFailedWriteIsReportedAndNothingMoreIsWritten)
{
    const QString big(20000, u'x');
    struct rlimit old {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldSignal = std::signal(SIGXFSZ, SIG_IGN);
    const QString listPath = dir.path() + QStringLiteral("/error/error.errlist");
    const struct {
        const char* what;
        int errors;
        bool flushEach;
    } cases[] = {{"the stream buffer runs over", 10, false}, {"a commit flushes", 2, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        QDir(dir.filePath(QStringLiteral("error"))).removeRecursively();
        TErrInfoList list(&folder);
        TErrTrack& track = list.tracker();
        struct rlimit small = old;
        small.rlim_cur = 30000;
        ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
        bool flushed = true;
        for (int i = 0; i < c.errors; ++i) {
            track.addErrorNoRecord(big, QString(), -1, 1, TErrorType::Insert);
            if (c.flushEach)
                flushed = track.flush() && flushed;
        }
        ::setrlimit(RLIMIT_FSIZE, &old);
        EXPECT_TRUE(track.failed());
        EXPECT_FALSE(track.flush());
        EXPECT_NE(flushed, c.flushEach) << "the failing flush says so";
        EXPECT_EQ(track.failureMessage(), QStringLiteral("Cannot write file \"%1\": File too large").arg(listPath));
        EXPECT_EQ(track.totalErrors(), c.errors);
        addErrors(track, 600);
        EXPECT_EQ(QDir(dir.filePath(QStringLiteral("error"))).entryList(QDir::Files),
                  QStringList{QStringLiteral("error.errlist")})
            << "no further files after the failure";
        EXPECT_EQ(track.failureMessage(), QStringLiteral("Cannot write file \"%1\": File too large").arg(listPath));
    }
    std::signal(SIGXFSZ, oldSignal);

    QDir(dir.filePath(QStringLiteral("error"))).removeRecursively();
    ASSERT_TRUE(QDir().mkpath(dir.filePath(QStringLiteral("error/error.errinfo/blocked"))));
    TErrInfoList list(&folder);
    addErrors(list.tracker(), 300);
    EXPECT_TRUE(list.tracker().failed());
    EXPECT_EQ(list.tracker().failureMessage(),
              QStringLiteral("Cannot write file \"%1/error/error.errinfo\": Is a directory").arg(dir.path()));
    EXPECT_EQ(QDir(dir.filePath(QStringLiteral("error"))).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("error.errlist")})
        << "the temporary index is gone";
}

// kill -9 right after a commit's flush: the files hold every flushed error.
TEST_F(ErrTrackTest, AKilledRunLeavesEveryFlushedErrorReadable)
{
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        auto* list = new TErrInfoList(&folder); // never destroyed: the process dies
        list->tracker().beginTable(QStringLiteral("T"), QString());
        addErrors(list->tracker(), 305);
        list->tracker().flush();
        addErrors(list->tracker(), 2); // after the last commit: may be lost
        ::kill(::getpid(), SIGKILL);
        ::_exit(3);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(indexText(), QStringLiteral("SumCount=300\r\nFileCount=1\r\nFileItem1=error.errlist\r\n"));

    TErrInfoList list(&folder);
    TErrTrack& track = list.tracker();
    track.openErrorInfo();
    EXPECT_TRUE(track.readFromListing());
    EXPECT_EQ(track.fileCount(), 2);
    EXPECT_EQ(track.totalErrors(), 305);
    ASSERT_EQ(track.readNotes().size(), 2) << track.readNotes().join(u'\n').toStdString();
    EXPECT_TRUE(track.readNotes().at(0).contains(QStringLiteral("does not name \"error1.errlist\"")));
    EXPECT_TRUE(track.readNotes().at(1).contains(QStringLiteral("error1.errlist\" is incomplete")));
    EXPECT_TRUE(track.readNotes().at(1).endsWith(QStringLiteral("its first 5 errors were read.")));
    track.lastErrorFile();
    EXPECT_FALSE(track.loadedFileComplete());
    ASSERT_EQ(list.errorCount(), 5);
    EXPECT_EQ(list.errorNumber(4), 305);
    EXPECT_EQ(list.errorAt(4)->message, QStringLiteral("e304"));
}
