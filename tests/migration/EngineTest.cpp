// The execution engine in process, against the real MariaDB and the Oracle
// stand-in: connection failures, the error offer, table entries the engine
// must cope with, and the empty job.

#include "RunTestSupport.h"

#include "foundation/CommonUtils.h"
#include "foundation/KwStringsComponent.h"
#include "foundation/KwTextForm.h"
#include "foundation/ModalSeam.h"
#include "migration/CopyConvert.h"
#include "migration/ExecProcess_Convert.h"
#include "migration/ExecuteConvert.h"
#include "migration/FilePathDBDumpData.h"
#include "migration/HeadlessUIContext.h"
#include "records/ErrInfo.h"
#include "records/ErrInfoList.h"
#include "records/ErrTrack.h"
#include "shell/MainConfigInfo.h"
#include "shell/RunParam.h"
#include "shell/StopFlag.h"

#include <QDir>
#include <QTemporaryDir>

namespace {

class TAnswerSeam : public THeadlessModalSeam {
public:
    void showMessage(const QString&, const QString&) override {}
    bool askYesNo(const QString& question, const QString&) override
    {
        questions.append(question);
        return answer;
    }
    bool answer = false;
    QStringList questions;
};

struct TViewerCall {
    int calls = 0;
    int errorCount = -1;
    int firstErrorType = -1;
    IDBConvert* job = nullptr;
};
TViewerCall g_viewer;

void viewerHook(TErrInfoList* errors, IDBConvert* job)
{
    ++g_viewer.calls;
    g_viewer.errorCount = errors ? errors->errorCount() : -1;
    g_viewer.firstErrorType = errors && errors->errorCount() > 0 ? errors->errorAt(0)->errorType : -1;
    g_viewer.job = job;
}

class Engine : public ::testing::Test {
protected:
    void SetUp() override
    {
        REQUIRE_MYSQL();
        REQUIRE_ORACLE();
        startEngine();
        ASSERT_TRUE(dataDir.isValid());
        setDataFolderSetting(dataDir.path());
        setModalSeam(&seam);
        setErrorViewerHook(&viewerHook);
        g_viewer = {};
        context.setConfigFileName(QStringLiteral("/jobs/engine.Tvcfg"));
        context.getConfigInfo()->guid = QStringLiteral("{5E0D4C1A-7B2E-4F0A-9C3D-2A1B0C9D8E7F}");
    }

    void TearDown() override
    {
        destroyRunParam();
        clearStopForTests();
        setModalSeam(nullptr);
        setErrorViewerHook(nullptr);
        setDataFolderSetting(QString());
    }

    // A command-line "move" with "/run".
    static void runFromCommandLine()
    {
        TRunParam& param = createRunParam();
        param.operation = opMove;
        param.runFlag = true;
    }

    void load(const QString& sections, const TJobOptions& options = {})
    {
        TKwStringsComponent table;
        kwTableFromText(table, jobText(sections, options));
        job.loadConfig(table);
    }

    QStringList runLog()
    {
        executeCopyConvert(job, &context, false, false);
        return fileLines(lastRunResult().logFile);
    }

    static bool hasLine(const QStringList& lines, const QString& tail)
    {
        for (const QString& line : lines)
            if (line.endsWith(tail))
                return true;
        return false;
    }

    QTemporaryDir dataDir;
    TAnswerSeam seam;
    THeadlessUIContext context;
    TCopyConvert job;
};

TEST_F(Engine, DestinationThatCannotBeOpenedStopsBeforeTheSource)
{
    TJobOptions options;
    options.destPassword = QStringLiteral("not-the-password");
    load(QStringLiteral("[Config/Tables]\nENG_NEVER=eng_never\n"), options);
    seam.answer = true;
    runFromCommandLine();

    const QStringList log = runLog();
    const TRunResult first = lastRunResult();
    EXPECT_FALSE(first.connected);
    EXPECT_EQ(first.failedKind, 1);
    EXPECT_FALSE(first.connectFailure.isEmpty());
    EXPECT_EQ(job.copyMapping()->sourceConnection(), nullptr) << "the source must not be opened";
    EXPECT_TRUE(hasLine(log, QStringLiteral("[Error]:(Connect database error)\t") + first.connectFailure));
    EXPECT_FALSE(hasLine(log, QStringLiteral("Starting copy table \"ENG_NEVER\"")));
    EXPECT_FALSE(stopRequested()) << "a run with errors must not close the program";

    // The offer to view the errors, accepted: the viewer gets the reloaded errors and the job.
    EXPECT_EQ(seam.questions, QStringList{QStringLiteral("Found 1 errors,view details now?")});
    EXPECT_EQ(g_viewer.calls, 1);
    EXPECT_EQ(g_viewer.errorCount, 1);
    EXPECT_EQ(g_viewer.firstErrorType, 9);
    EXPECT_EQ(g_viewer.job, &job);

    // A second run within the same minute keeps the first run's error files intact.
    seam.answer = false;
    runLog();
    const TRunResult second = lastRunResult();
    EXPECT_NE(first.workFolder, second.workFolder);
    for (const QString& folder : {first.workFolder, second.workFolder}) {
        TFilePathDBDumpData workFolder(folder);
        TErrInfoList errors(&workFolder);
        errors.tracker().openErrorInfo();
        EXPECT_EQ(errors.tracker().totalErrors(), 1) << folder.toStdString();
        EXPECT_EQ(errors.tracker().configFileName(), QStringLiteral("/jobs/engine.Tvcfg"));
    }
    EXPECT_EQ(g_viewer.calls, 1);
}

TEST_F(Engine, EmptyTableListGivesTheSummaryAndNoOffer)
{
    load(QStringLiteral("[Config/Tables]\n"));
    runFromCommandLine();
    const QStringList log = runLog();
    EXPECT_TRUE(stopRequested()) << "a command-line run without errors closes the program";
    EXPECT_TRUE(lastRunResult().connected);
    EXPECT_EQ(lastRunResult().errorTotal, 0);
    EXPECT_TRUE(hasLine(log, QStringLiteral("[Info]:Data successfully migrated, created 0 tables, copyed 0 tables")));
    EXPECT_TRUE(seam.questions.isEmpty());
    EXPECT_TRUE(lastRunResult().logFile.startsWith(dataDir.path() + QStringLiteral("/Export/")));
}

TEST_F(Engine, EntriesWithoutSeparatorOrFieldMatches)
{
    oracleExec({QStringLiteral("drop table if exists \"ENG_ALLF\""),
                QStringLiteral("create table \"ENG_ALLF\" (\"ID\" numeric(9,0) not null primary key, "
                               "\"NAME\" varchar2(30), \"BORN\" oracle.date)"),
                QStringLiteral("insert into \"ENG_ALLF\" values (1, '甲', '2001-02-03 04:05:06'), (2, null, null)")});
    mysqlExec({QStringLiteral("drop table if exists eng_allf")});
    load(QStringLiteral("[Config/Tables]\nNO SEPARATOR\nENG_ALLF=eng_allf\n"));

    const QStringList log = runLog();
    // A line without "=" is a recorded error and a failed table; the rest of the run goes on.
    EXPECT_EQ(lastRunResult().errorTotal, 1);
    EXPECT_TRUE(hasLine(log, QStringLiteral("[Hint]:Starting copy table \"NO SEPARATOR\"")));
    EXPECT_TRUE(hasLine(log, QStringLiteral("[Error]:(Initializing  error)\tThe table line \"NO SEPARATOR\" names no "
                                            "destination (source=destination expected)")));
    EXPECT_FALSE(hasLine(log, QStringLiteral("End copy table \"NO SEPARATOR\"")));
    // A table without field matches is copied with all its fields under their own names.
    EXPECT_TRUE(hasLine(log, QStringLiteral("[Hint]:No field matches for table \"ENG_ALLF\": all its fields are "
                                            "copied under their own names")));
    EXPECT_TRUE(hasLine(log, QStringLiteral("[Info]:End copy table \"ENG_ALLF\", error=0,copy record=2,create=True")));
    EXPECT_TRUE(hasLine(log, QStringLiteral("[Warning]:Data migration ended with 1 errors, created 1 tables, copied 1 "
                                            "tables; failed tables: NO SEPARATOR")));
    EXPECT_EQ(mysqlRows(QStringLiteral("select concat_ws('|', ID, coalesce(NAME, 'NULL'), "
                                       "coalesce(date_format(BORN, '%Y-%m-%d %H:%i:%s'), 'NULL')) "
                                       "from eng_allf order by ID")),
              (QStringList{QStringLiteral("1|甲|2001-02-03 04:05:06"), QStringLiteral("2|NULL|NULL")}));
}

} // namespace

namespace {

TEST_F(Engine, EntryWhoseReadFailsReportsItsOwnCounts)
{
    oracleExec({QStringLiteral("drop table if exists \"ENG_CNTA\""),
                QStringLiteral("drop table if exists \"ENG_CNTGONE\""),
                QStringLiteral("create table \"ENG_CNTA\" (\"ID\" numeric(9,0) not null primary key)"),
                QStringLiteral("insert into \"ENG_CNTA\" values (1), (2)")});
    mysqlExec({QStringLiteral("drop table if exists eng_cnta")});
    load(QStringLiteral("[Config/Tables]\nENG_CNTA=eng_cnta\nENG_CNTGONE=eng_cntgone\n"
                        "[Config/FieldMatch/ENG_CNTA]\nID=ID\n[Config/FieldMatch/ENG_CNTGONE]\nID=ID\n"));

    const QStringList log = runLog();
    EXPECT_EQ(lastRunResult().errorTotal, 1) << "the failed read only";
    EXPECT_TRUE(hasLine(log, QStringLiteral("[Info]:End copy table \"ENG_CNTA\", error=0,copy record=2,create=True")));
    // Every error of the table counts in its line, not only refused rows.
    EXPECT_TRUE(hasLine(log, QStringLiteral("[Info]:End copy table \"ENG_CNTGONE\", error=1,copy record=0,create=False")));
    EXPECT_TRUE(hasLine(log, QStringLiteral("[Warning]:Data migration ended with 1 errors, created 1 tables, copied 1 "
                                            "tables; failed tables: ENG_CNTGONE")));
    EXPECT_EQ(lastRunResult().createdTables, 1);
    EXPECT_FALSE(mysqlTableExists(QStringLiteral("eng_cntgone")));
}

// The source is emptied only once the destination has committed the rows:
// between the read and the table's end the copied rows are not yet durable.
TEST_F(Engine, ClearSourceTableWaitsForTheDestinationCommit)
{
    oracleExec({QStringLiteral("drop table if exists \"ENG_CLR\""),
                QStringLiteral("create table \"ENG_CLR\" (\"ID\" numeric(9,0) not null primary key)"),
                QStringLiteral("insert into \"ENG_CLR\" values (1), (2), (3)")});
    mysqlExec({QStringLiteral("drop table if exists eng_clr")});
    TJobOptions options;
    options.clearSourceTable = true;
    load(QStringLiteral("[Config/Tables]\nENG_CLR=eng_clr\n[Config/FieldMatch/ENG_CLR]\nID=ID\n"), options);

    QTemporaryDir work;
    TExecProcess_Convert run(&context, job, std::make_unique<TFilePathDBDumpData>(work.path() + u'/'), false);
    job.applyRunOptions();
    run.createErrorList();
    ASSERT_TRUE(run.connectDatabases());
    ASSERT_TRUE(run.beginRun());
    ASSERT_TRUE(run.copyTable(0));
    const QStringList sourceRows = oracleRows(QStringLiteral("select count(*) from \"ENG_CLR\""));
    const QStringList destRows = mysqlRows(QStringLiteral("select count(*) from eng_clr"));
    EXPECT_TRUE(sourceRows == QStringList{QStringLiteral("3")} || destRows == QStringList{QStringLiteral("3")})
        << "source emptied while the copied rows were uncommitted";

    run.afterTable(0);
    EXPECT_EQ(run.errorList()->tracker().totalErrors(), 0);
    EXPECT_EQ(mysqlRows(QStringLiteral("select count(*) from eng_clr")), QStringList{QStringLiteral("3")});
    EXPECT_EQ(oracleRows(QStringLiteral("select count(*) from \"ENG_CLR\"")), QStringList{QStringLiteral("0")});
    run.endRun();
}

TEST_F(Engine, UpperCaseNamesAreLookedUpAsCreatedAndRerunsDropThem)
{
    oracleExec({QStringLiteral("drop table if exists \"ENG_UPPER\""),
                QStringLiteral("create table \"ENG_UPPER\" (\"ID\" numeric(9,0) not null primary key)"),
                QStringLiteral("insert into \"ENG_UPPER\" values (1), (2)")});
    mysqlExec({QStringLiteral("drop table if exists eng_upper"), QStringLiteral("drop table if exists ENG_UPPER")});
    TJobOptions options;
    options.upperCaseNames = true;
    load(QStringLiteral("[Config/Tables]\nENG_UPPER=eng_upper\n[Config/FieldMatch/ENG_UPPER]\nID=ID\n"), options);
    // The second run finds the table it created and drops it.
    for (int run = 0; run < 2; ++run) {
        const QStringList log = runLog();
        EXPECT_EQ(lastRunResult().errorTotal, 0) << log.join(u'\n').toStdString();
        EXPECT_TRUE(hasLine(log, QStringLiteral("[Info]:End copy table \"ENG_UPPER\", error=0,copy record=2,create=True")));
    }
    EXPECT_EQ(mysqlRows(QStringLiteral("select count(*) from ENG_UPPER")), QStringList{QStringLiteral("2")});
    mysqlExec({QStringLiteral("drop table if exists ENG_UPPER")});
}

TEST_F(Engine, SettingsThatNothingReadsAreNamedOnce)
{
    oracleExec({QStringLiteral("drop table if exists \"ENG_UNREAD\""),
                QStringLiteral("create table \"ENG_UNREAD\" (\"ID\" numeric(9,0) not null primary key)"),
                QStringLiteral("insert into \"ENG_UNREAD\" values (1)")});
    mysqlExec({QStringLiteral("drop table if exists eng_unread")});
    TJobOptions options;
    options.extraInit = QStringLiteral("ClearDestTabel=True\n");
    // The sections follow the destination's lines, so the first line lands among them.
    load(QStringLiteral("Shcema=HR\n[Config/Tables]\nENG_UNREAD=eng_unread\n[Config/FieldMatch/ENG_UNREAD]\nID=ID\n"),
         options);

    const QStringList log = runLog();
    QStringList named;
    for (const QString& line : log)
        if (line.contains(QStringLiteral("is read by no part of the program")))
            named << line.mid(line.indexOf(QStringLiteral("[Warning]:")));
    // Only the two typos: every setting the job's connections really use counts as read.
    EXPECT_EQ(named, (QStringList{
                         QStringLiteral("[Warning]:The setting \"ClearDestTabel\" of section [Config/Init] is read by no "
                                        "part of the program; it has no effect"),
                         QStringLiteral("[Warning]:The setting \"Shcema\" of section [Config/DestConnect] is read by no "
                                        "part of the program; it has no effect")}));
    // The run goes on.
    EXPECT_TRUE(hasLine(log, QStringLiteral("[Info]:End copy table \"ENG_UNREAD\", error=0,copy record=1,create=True")));
    mysqlExec({QStringLiteral("drop table if exists eng_unread")});
}

} // namespace
