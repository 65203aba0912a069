// quenlor-run end to end: the real executables against the real MariaDB and
// the Oracle stand-in, with a throwaway data folder.

#include "ScopedUmask.h"

#include "RunTestSupport.h"

#include "foundation/AES.h"
#include "foundation/CommonUtils.h"
#include "foundation/KwStringsComponent.h"
#include "foundation/KwTextForm.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QThread>

#include <QSettings>
#include <QTime>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <sys/stat.h>

namespace {

struct TRun {
    int exitCode = -1;
    QString out;
    QString err;
};

class QuenlorRun : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(tmp.isValid());
        environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_DATA_HOME"), tmp.filePath(QStringLiteral("data")));
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), tmp.filePath(QStringLiteral("config")));
        environment.insert(QStringLiteral("LANG"), QStringLiteral("C.UTF-8"));
    }

    // Packs the text form into an enciphered configuration file.
    QString writeJob(const QString& text, const QString& name = QStringLiteral("job"))
    {
        const QString textFile = tmp.filePath(name + QStringLiteral(".txt"));
        QFile file(textFile);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text.toUtf8());
        file.close();
        const QString config = tmp.filePath(name + QStringLiteral(".Tvcfg"));
        EXPECT_EQ(QProcess::execute(QStringLiteral(QUENLOR_CONFIG_EXE), {QStringLiteral("pack"), textFile, config}), 0);
        return config;
    }

    void start(QProcess& process, const QString& program, const QStringList& arguments)
    {
        process.setProcessEnvironment(environment);
        process.start(program, arguments);
        ASSERT_TRUE(process.waitForStarted());
    }

    static TRun finish(QProcess& process, int timeoutMs = 120000)
    {
        process.waitForFinished(timeoutMs);
        TRun run;
        run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        run.out = QString::fromUtf8(process.readAllStandardOutput());
        run.err = QString::fromUtf8(process.readAllStandardError());
        return run;
    }

    TRun runTool(const QString& program, const QStringList& arguments)
    {
        QProcess process;
        start(process, program, arguments);
        return finish(process);
    }

    // A stand-in table SOURCE of `rows` rows whose every `every`-th row the
    // destination's check refuses, and the job that copies it into the lower-case
    // table without dropping it.
    QString refusingJob(const QString& source, int rows, int every)
    {
        const QString dest = source.toLower();
        oracleExec({QStringLiteral("drop table if exists \"%1\"").arg(source),
                    QStringLiteral("create table \"%1\" (\"ID\" numeric(9,0) not null primary key, \"V\" numeric(9,0))")
                        .arg(source),
                    QStringLiteral("insert into \"%1\" select g, case when g % %2 = 0 then -g else g end "
                                   "from generate_series(1, %3) g")
                        .arg(source)
                        .arg(every)
                        .arg(rows)});
        mysqlExec({QStringLiteral("drop table if exists %1").arg(dest),
                   QStringLiteral("create table %1 (ID int primary key, V int check (V >= 0))").arg(dest)});
        TJobOptions options;
        options.dropDestTable = false;
        return writeJob(jobText(QStringLiteral("[Config/Tables]\n%1=%2\n[Config/FieldMatch/%1]\nID=ID\nV=V\n")
                                    .arg(source, dest),
                                options));
    }

    // Starts quenlor-run copying the 200,000 rows of STREAM_ROWS into `table`
    // and returns its job file once the first transaction committed (or the run ended).
    QString startStreamCopy(QProcess& process, const QString& table)
    {
        mysqlExec({QStringLiteral("drop table if exists ") + table});
        const QString config =
            writeJob(jobText(QStringLiteral("[Config/Tables]\nSTREAM_ROWS=") + table + u'\n'), table);
        start(process, QStringLiteral(QUENLOR_RUN_EXE), {config, QStringLiteral("--lang"), QStringLiteral("EN")});
        QString copied = QStringLiteral("0");
        for (int i = 0; i < 600 && copied == QLatin1String("0") && process.state() == QProcess::Running; ++i) {
            QThread::msleep(50);
            if (mysqlTableExists(table))
                copied = mysqlRows(QStringLiteral("select count(*) from ") + table).value(0);
        }
        return config;
    }

    TRun quenlorRun(const QStringList& arguments) { return runTool(QStringLiteral(QUENLOR_RUN_EXE), arguments); }

    static QString captured(const QString& text, const QString& pattern)
    {
        return QRegularExpression(pattern).match(text).captured(1);
    }
    static QString logFileOf(const TRun& run) { return captured(run.out, QStringLiteral("saved to \"([^\"]+)\"")); }
    static QString workFolderOf(const TRun& run)
    {
        return captured(run.out, QStringLiteral("quenlor-errors show \"([^\"]+)\""));
    }
    static bool hasLine(const QStringList& lines, const QString& tail)
    {
        return std::any_of(lines.begin(), lines.end(), [&](const QString& l) { return l.endsWith(tail); });
    }

    // The log files of this test's runs in the default data folder.
    QStringList exportLogs() const
    {
        const QString folder = tmp.filePath(QStringLiteral("data/Varnoke/Quenlor/Export/"));
        QStringList logs;
        for (const QString& name : QDir(folder).entryList({QStringLiteral("*.log")}, QDir::Files, QDir::Name))
            logs << folder + name;
        return logs;
    }
    // Runs that must fall into one minute start early enough in it.
    static void waitForFreshMinute()
    {
        while (QTime::currentTime().second() >= 45)
            QThread::msleep(200);
    }
    static mode_t modeOf(const QString& path)
    {
        struct stat st {};
        return ::lstat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_mode & 07777 : 0;
    }

    QTemporaryDir tmp;
    QProcessEnvironment environment;
};

// Source and destination columns as one comparable text per row.
const char kOrdersSource[] =
    "select concat_ws('|', \"ID\", \"DEPT_NO\", \"CODE\", \"AMOUNT\"::text, "
    "to_char(\"CREATED\", 'YYYY-MM-DD HH24:MI:SS'), to_char(\"STAMP\", 'YYYY-MM-DD HH24:MI:SS.US'), "
    "\"NOTE\", \"BODY\", encode(\"PIC\", 'hex'), coalesce(\"SPARE\"::text, 'NULL')) "
    "from \"RUN_MV_ORDERS\" order by \"ID\"";
const char kOrdersDest[] =
    "select concat_ws('|', ID, DEPT_NO, CODE, cast(AMOUNT as char), date_format(CREATED, '%Y-%m-%d %H:%i:%s'), "
    "date_format(STAMP, '%Y-%m-%d %H:%i:%s.%f'), NOTE, BODY, lower(hex(PIC)), coalesce(SPARE, 'NULL')) "
    "from run_mv_orders order by ID";

TEST_F(QuenlorRun, MovesEveryRowAndRecordsExactlyTheFailingRows)
{
    REQUIRE_MYSQL();
    REQUIRE_ORACLE();
    oracleExec({
        QStringLiteral("drop table if exists \"RUN_MV_DEPT\", \"RUN_MV_ORDERS\", \"RUN_MV_PAY\""),
        QStringLiteral("create table \"RUN_MV_DEPT\" (\"DEPT_NO\" numeric(4,0) not null primary key, "
                       "\"NAME\" nvarchar2(40))"),
        QStringLiteral("insert into \"RUN_MV_DEPT\" select g, '部门 ' || g || ' Ünit' from generate_series(1, 5) g"),
        QStringLiteral("create table \"RUN_MV_ORDERS\" (\"ID\" numeric(9,0) not null primary key, "
                       "\"DEPT_NO\" numeric(4,0), \"CODE\" varchar2(20), \"AMOUNT\" numeric(12,2), "
                       "\"CREATED\" oracle.date, \"STAMP\" timestamp(6), \"NOTE\" nvarchar2(60), \"BODY\" clob, "
                       "\"PIC\" bytea, \"SPARE\" numeric(9,0))"),
        QStringLiteral("create index \"IX_RUN_MV_ORDERS_DEPT\" on \"RUN_MV_ORDERS\" (\"DEPT_NO\")"),
        QStringLiteral("insert into \"RUN_MV_ORDERS\" select g, 1 + g % 5, 'C' || lpad(g::text, 6, '0'), "
                       "(g * 37 % 100000) / 100.0, timestamp '1999-12-31 23:00:00' + g * interval '61 minutes', "
                       "timestamp '2024-02-29 12:00:00.000001' + g * interval '1.5 seconds', "
                       "'注文 ' || g || ' ÄÖÜ 😀', repeat('long text ' || g || ' ', 50), "
                       "decode(lpad(to_hex(g), 8, '0'), 'hex'), case when g % 10 = 0 then g end "
                       "from generate_series(1, 1000) g"),
        QStringLiteral("create table \"RUN_MV_PAY\" (\"ID\" numeric(9,0) not null primary key, "
                       "\"AMOUNT\" numeric(12,2))"),
        QStringLiteral("insert into \"RUN_MV_PAY\" select g, case when g in (4, 9) then -g else g end "
                       "from generate_series(1, 10) g"),
    });
    // The job keeps destination tables; only run_mv_pay exists beforehand, refusing negative amounts.
    mysqlExec({QStringLiteral("drop table if exists run_mv_dept, run_mv_orders, run_mv_pay, run_mv_totals"),
               QStringLiteral("create table run_mv_pay (ID int primary key, AMOUNT decimal(12,2) check (AMOUNT >= 0))")});
    TJobOptions options;
    options.dropDestTable = false;
    const QString config = writeJob(jobText(
        QStringLiteral("[Config/Tables]\nRUN_MV_DEPT=run_mv_dept\nRUN_MV_ORDERS=run_mv_orders\nRUN_MV_PAY=run_mv_pay\n"
                       "SQL@dept_totals=run_mv_totals\n"
                       "[Config/FieldMatch/RUN_MV_DEPT]\nDEPT_NO=DEPT_NO\nNAME=DEPT_NAME\n"
                       "[Config/FieldMatch/RUN_MV_ORDERS]\nID=ID\nDEPT_NO=DEPT_NO\nCODE=CODE\nAMOUNT=AMOUNT\n"
                       "CREATED=CREATED\nSTAMP=STAMP\nNOTE=NOTE\nBODY=BODY\nPIC=PIC\nSPARE=SPARE\n"
                       "[Config/SQL/SQL@dept_totals]\nselect \"DEPT_NO\", count(*) as \"N\" from \"RUN_MV_ORDERS\" "
                       "group by \"DEPT_NO\"\n"),
        options));

    const TRun run = quenlorRun({config, QStringLiteral("--lang"), QStringLiteral("EN")});
    ASSERT_EQ(run.exitCode, 1) << run.out.toStdString() << run.err.toStdString();
    EXPECT_TRUE(run.out.contains(QStringLiteral("Errors recorded: 2\n")));

    // Every row arrives with equal values.
    const QStringList sourceOrders = oracleRows(QString::fromLatin1(kOrdersSource));
    EXPECT_EQ(sourceOrders.size(), 1000);
    EXPECT_EQ(mysqlRows(QString::fromLatin1(kOrdersDest)), sourceOrders);
    EXPECT_EQ(mysqlRows(QStringLiteral("select concat(DEPT_NO, '|', DEPT_NAME) from run_mv_dept order by 1")),
              oracleRows(QStringLiteral("select \"DEPT_NO\" || '|' || \"NAME\" from \"RUN_MV_DEPT\" order by 1")));
    EXPECT_EQ(mysqlRows(QStringLiteral("select concat(DEPT_NO, '|', N) from run_mv_totals order by DEPT_NO")),
              oracleRows(QStringLiteral("select \"DEPT_NO\" || '|' || count(*) from \"RUN_MV_ORDERS\" "
                                        "group by \"DEPT_NO\" order by \"DEPT_NO\"")));
    EXPECT_EQ(mysqlRows(QStringLiteral("select group_concat(ID order by ID) from run_mv_pay")),
              QStringList{QStringLiteral("1,2,3,5,6,7,8,10")});

    // The error files hold exactly the two refused rows.
    const QString folder = workFolderOf(run);
    ASSERT_FALSE(folder.isEmpty()) << run.out.toStdString();
    const TRun errors = runTool(QStringLiteral(QUENLOR_ERRORS_EXE), {QStringLiteral("show"), folder});
    ASSERT_EQ(errors.exitCode, 0) << errors.err.toStdString();
    QSet<QString> failedIds;
    for (const QRegularExpressionMatch& m : QRegularExpression(QStringLiteral("\n    ID=(\\d+)\n")).globalMatch(errors.out))
        failedIds.insert(m.captured(1));
    EXPECT_EQ(failedIds, (QSet<QString>{QStringLiteral("4"), QStringLiteral("9")})) << errors.out.toStdString();
    EXPECT_EQ(errors.out.count(QStringLiteral(": Insert record error\n")), 2);
    EXPECT_TRUE(errors.out.contains(QStringLiteral("ConfigFileName=") + config));

    // The log has the run's lines and no password.
    const QStringList log = fileLines(logFileOf(run));
    ASSERT_FALSE(log.isEmpty()) << run.out.toStdString();
    EXPECT_TRUE(log.first().endsWith(QStringLiteral("[Info]:Configuration  file name =\"") + config + u'"'));
    EXPECT_TRUE(log.contains(QStringLiteral(" type=\"Oracle\"")));
    EXPECT_TRUE(log.contains(QStringLiteral("  Operation=move")));
    EXPECT_TRUE(hasLine(log, QStringLiteral("[Hint]:Starting copy table \"RUN_MV_ORDERS\"")));
    EXPECT_TRUE(hasLine(log, QStringLiteral("[Info]:End copy table \"RUN_MV_ORDERS\", error=0,copy record=1000,create=True")));
    EXPECT_TRUE(hasLine(log, QStringLiteral("[Info]:End copy table \"RUN_MV_PAY\", error=2,copy record=8,create=False")));
    EXPECT_TRUE(hasLine(log, QStringLiteral("[Info]:End copy table \"SQL@dept_totals\", error=0,copy record=5,create=True")));
    // Refused rows make the table incomplete, and the summary says so.
    EXPECT_TRUE(hasLine(log, QStringLiteral("[Warning]:Data migration ended with 2 errors, created 3 tables, copied 4 "
                                            "tables; incomplete tables: RUN_MV_PAY")));
    EXPECT_EQ(std::count_if(log.begin(), log.end(),
                            [](const QString& l) { return l.contains(QStringLiteral("[Error]:(Insert record error)\t")); }),
              2);
    for (const QString& line : log)
        EXPECT_FALSE(line.contains(testEnv("QUENLOR_ORACLE_PASSWORD")) || line.contains(testEnv("QUENLOR_MYSQL_PASSWORD")))
            << line.toStdString();
}

TEST_F(QuenlorRun, StructCreatesTablesWithoutRowsAndKeepsTheSource)
{
    REQUIRE_MYSQL();
    REQUIRE_ORACLE();
    oracleExec({QStringLiteral("drop table if exists \"RUN_ST_A\""),
                QStringLiteral("create table \"RUN_ST_A\" (\"ID\" numeric(9,0) not null primary key, \"V\" varchar2(10))"),
                QStringLiteral("insert into \"RUN_ST_A\" values (1, 'a'), (2, 'b'), (3, 'c')")});
    mysqlExec({QStringLiteral("drop table if exists run_st_a, run_st_sql")});
    TJobOptions options;
    options.clearSourceTable = true; // must not empty a source whose rows were not copied
    const QString config = writeJob(jobText(
        QStringLiteral("[Config/Tables]\nRUN_ST_A=run_st_a\nSQL@st=run_st_sql\n"
                       "[Config/FieldMatch/RUN_ST_A]\nID=ID\nV=V\n"
                       "[Config/SQL/SQL@st]\nselect \"ID\", \"V\" from \"RUN_ST_A\"\n"),
        options));

    const TRun run = quenlorRun({config, QStringLiteral("--struct"), QStringLiteral("--lang=EN")});
    ASSERT_EQ(run.exitCode, 0) << run.out.toStdString() << run.err.toStdString();
    EXPECT_TRUE(mysqlTableExists(QStringLiteral("run_st_a")));
    EXPECT_EQ(mysqlRows(QStringLiteral("select count(*) from run_st_a")), QStringList{QStringLiteral("0")});
    // A custom statement has no structure-only read: its rows are copied.
    EXPECT_EQ(mysqlRows(QStringLiteral("select count(*) from run_st_sql")), QStringList{QStringLiteral("3")});
    EXPECT_EQ(oracleRows(QStringLiteral("select count(*) from \"RUN_ST_A\"")), QStringList{QStringLiteral("3")});
    const QStringList log = fileLines(logFileOf(run));
    EXPECT_TRUE(log.contains(QStringLiteral("  Operation=struct")));
    EXPECT_TRUE(hasLine(log, QStringLiteral("[Info]:End copy table \"RUN_ST_A\", error=0,copy record=0,create=True")));
}

TEST_F(QuenlorRun, InterruptStopsAfterTheCurrentRowAndSavesTheLog)
{
    REQUIRE_MYSQL();
    REQUIRE_ORACLE();
    QProcess process;
    // Interrupted once the first rows have been committed.
    startStreamCopy(process, QStringLiteral("run_sig_stream"));
    ASSERT_EQ(process.state(), QProcess::Running) << "the table was copied before it could be interrupted";
    ::kill(pid_t(process.processId()), SIGINT);
    const TRun run = finish(process);

    EXPECT_EQ(run.exitCode, 1) << run.out.toStdString() << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(QStringLiteral("Stopped on request")));
    const QStringList log = fileLines(logFileOf(run));
    const QString end = captured(log.join(u'\n'), QStringLiteral("End copy table \"STREAM_ROWS\", error=0,copy record=(\\d+)"));
    ASSERT_FALSE(end.isEmpty()) << log.join(u'\n').toStdString();
    EXPECT_LT(end.toInt(), 200000);
    // The stop came between rows: every row counted as copied is in the destination.
    EXPECT_EQ(mysqlRows(QStringLiteral("select count(*) from run_sig_stream")), QStringList{end});
    // A stopped run is no success: the table it stopped in is incomplete.
    EXPECT_TRUE(hasLine(log, QStringLiteral("[Warning]:Data migration ended with 0 errors, created 1 tables, copied 1 "
                                            "tables; incomplete tables: STREAM_ROWS")));
}

// Without QuoteFieldName a table name holding SQL is still one name: the
// read selects from that table and the statement after ';' never runs.
TEST_F(QuenlorRun, ASourceNameIsNeverReadAsSql)
{
    REQUIRE_MYSQL();
    REQUIRE_ORACLE();
    const QString hostile = QStringLiteral("run_h_lower; delete from run_h_victim");
    oracleExec({QStringLiteral("drop table if exists \"%1\", run_h_victim").arg(hostile),
                QStringLiteral("create table \"%1\" (id numeric(9,0) not null primary key, v varchar2(10))").arg(hostile),
                QStringLiteral("insert into \"%1\" values (1, 'a'), (2, 'b')").arg(hostile),
                QStringLiteral("create table run_h_victim (id numeric(9,0))"),
                QStringLiteral("insert into run_h_victim values (1), (2), (3)")});
    mysqlExec({QStringLiteral("drop table if exists run_h_dest")});
    QString text = jobText(QStringLiteral("[Config/Tables]\n%1=run_h_dest\n").arg(hostile));
    text.replace(QStringLiteral("QuoteFieldName=True"), QStringLiteral("QuoteFieldName=False"));
    const QString config = writeJob(text);

    const TRun run = quenlorRun({config, QStringLiteral("--lang=EN")});
    EXPECT_EQ(run.exitCode, 0) << run.out.toStdString() << run.err.toStdString();
    EXPECT_EQ(oracleRows(QStringLiteral("select count(*) from run_h_victim")), QStringList{QStringLiteral("3")});
    EXPECT_EQ(mysqlRows(QStringLiteral("select group_concat(concat(id, v) order by id) from run_h_dest")),
              QStringList{QStringLiteral("1a,2b")});
    EXPECT_TRUE(hasLine(fileLines(logFileOf(run)),
                        QStringLiteral("[Info]:End copy table \"%1\", error=0,copy record=2,create=True").arg(hostile)));
    oracleExec({QStringLiteral("drop table \"%1\", run_h_victim").arg(hostile)});
}

// Tables the read cannot start: one the dictionary does not have, one whose
// name holds a dot, one whose field list is empty. Each is one metadata error
// naming the table, counted in its line; nothing is selected or created for
// it, and the next table is copied.
TEST_F(QuenlorRun, TablesWithoutReadableFieldsAreMetadataErrors)
{
    REQUIRE_MYSQL();
    REQUIRE_ORACLE();
    oracleExec({QStringLiteral("drop table if exists \"RUN_E.DOT\", \"RUN_E_EMPTY\", \"RUN_E_OK\""),
                QStringLiteral("create table \"RUN_E.DOT\" (\"ID\" numeric(9,0))"),
                QStringLiteral("insert into \"RUN_E.DOT\" values (1)"),
                QStringLiteral("create table \"RUN_E_EMPTY\" (\"ID\" numeric(9,0))"),
                QStringLiteral("create table \"RUN_E_OK\" (\"ID\" numeric(9,0))"),
                QStringLiteral("insert into \"RUN_E_OK\" values (1), (2)")});
    mysqlExec({QStringLiteral("drop table if exists run_e_nope, run_e_dot, run_e_empty, run_e_ok")});
    const QString config = writeJob(jobText(QStringLiteral(
        "[Config/Tables]\nRUN_E_NOPE=run_e_nope\nRUN_E.DOT=run_e_dot\nRUN_E_EMPTY=run_e_empty\nRUN_E_OK=run_e_ok\n"
        "[Config/FieldMatch/RUN_E_EMPTY]\n")));

    const TRun run = quenlorRun({config, QStringLiteral("--lang=EN")});
    EXPECT_EQ(run.exitCode, 1) << run.out.toStdString() << run.err.toStdString();
    EXPECT_EQ(mysqlRows(QStringLiteral("select count(*) from run_e_ok")), QStringList{QStringLiteral("2")});
    for (const char* table : {"run_e_nope", "run_e_dot", "run_e_empty"})
        EXPECT_FALSE(mysqlTableExists(QString::fromLatin1(table))) << table;

    const QStringList log = fileLines(logFileOf(run));
    const QString logText = log.join(u'\n');
    for (const char* table : {"RUN_E_NOPE", "RUN_E.DOT", "RUN_E_EMPTY"})
        EXPECT_TRUE(hasLine(log, QStringLiteral("[Info]:End copy table \"%1\", error=1,copy record=0,create=False")
                                     .arg(QString::fromLatin1(table))))
            << logText.toStdString();
    EXPECT_TRUE(logText.contains(QStringLiteral("(Read matadata error)\tTable metadata not found,table name is \"RUN_E_NOPE")));
    EXPECT_TRUE(logText.contains(QStringLiteral("(Read matadata error)\tTable metadata not found,table name is \"RUN_E.DOT")));
    EXPECT_TRUE(logText.contains(
        QStringLiteral("(Read matadata error)\tTable \"RUN_E_EMPTY\" has no readable fields, it is not created")));
    EXPECT_FALSE(logText.contains(QStringLiteral("CREATE TABLE"), Qt::CaseInsensitive));

    const TRun errors = runTool(QStringLiteral(QUENLOR_ERRORS_EXE), {QStringLiteral("show"), workFolderOf(run)});
    ASSERT_EQ(errors.exitCode, 0) << errors.err.toStdString();
    EXPECT_EQ(errors.out.count(QStringLiteral(": Read matadata error\n")), 3) << errors.out.toStdString();
    // No statement was tried: the errors name none.
    EXPECT_FALSE(errors.out.contains(QStringLiteral("select"), Qt::CaseInsensitive)) << errors.out.toStdString();
    oracleExec({QStringLiteral("drop table \"RUN_E.DOT\", \"RUN_E_EMPTY\", \"RUN_E_OK\"")});
}

// Every file of a folder and below, as bytes.
QByteArray folderBytes(const QString& path)
{
    QByteArray bytes;
    const QDir dir(path);
    for (const QFileInfo& entry : dir.entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot)) {
        if (entry.isDir()) {
            bytes += folderBytes(entry.filePath());
            continue;
        }
        QFile file(entry.filePath());
        if (file.open(QIODevice::ReadOnly))
            bytes += file.readAll();
    }
    return bytes;
}

// The driver manager cannot parse a "Driver={" without its brace and quotes
// the connection string in its message: the passwords in it, in every form,
// reach neither the console nor the log nor the error files.
TEST_F(QuenlorRun, PasswordsOfTheConnectionStringAreMaskedEverywhere)
{
    REQUIRE_MYSQL();
    REQUIRE_ORACLE();
    const QStringList secrets = {QStringLiteral("Braced;pw"), QStringLiteral("plain-pw-4711"),
                                 QStringLiteral("lower-pw-0815"), testEnv("QUENLOR_ORACLE_PASSWORD")};
    QString plain = jobText(QStringLiteral("[Config/Tables]\nRUN_PW_A=run_pw_a\n"));
    plain.replace(QRegularExpression(QStringLiteral("ConnectionString=Driver=\\{([^}]*)\\}")),
                  QStringLiteral("ConnectionString=Driver={\\1;PWD={Braced;pw}}};Password=plain-pw-4711;pwd=lower-pw-0815"));
    ASSERT_TRUE(plain.contains(QStringLiteral("pwd=lower-pw-0815"))) << plain.toStdString();
    const QString config = writeJob(plain);

    const TRun run = quenlorRun({config, QStringLiteral("--lang=EN")});
    ASSERT_EQ(run.exitCode, 2) << run.out.toStdString() << run.err.toStdString();
    const QString logFile = logFileOf(run);
    const QString folder = workFolderOf(run);
    ASSERT_FALSE(logFile.isEmpty()) << run.out.toStdString();
    ASSERT_FALSE(folder.isEmpty()) << run.out.toStdString();
    QFile log(logFile);
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const QByteArray logBytes = log.readAll();
    const QByteArray errorBytes = folderBytes(folder);
    const TRun shown = runTool(QStringLiteral(QUENLOR_ERRORS_EXE), {QStringLiteral("show"), folder});
    ASSERT_EQ(shown.exitCode, 0) << shown.err.toStdString();
    // The driver's message with the connection string did reach all of them.
    for (const QString& text : {QString::fromUtf8(logBytes), shown.out, run.err})
        EXPECT_TRUE(text.contains(QStringLiteral("Can't open lib 'PostgreSQL Unicode;")) &&
                    text.contains(QStringLiteral("PWD=******")))
            << text.toStdString();

    for (const QString& secret : secrets) {
        SCOPED_TRACE(secret.toStdString());
        EXPECT_FALSE(run.out.contains(secret)) << run.out.toStdString();
        EXPECT_FALSE(run.err.contains(secret)) << run.err.toStdString();
        EXPECT_FALSE(logBytes.contains(secret.toUtf8())) << logBytes.toStdString();
        EXPECT_FALSE(shown.out.contains(secret)) << shown.out.toStdString();
        // The error files store text as UTF-8 or UTF-16: neither form may be there.
        const QByteArray utf16(reinterpret_cast<const char*>(secret.utf16()), secret.size() * 2);
        EXPECT_FALSE(errorBytes.contains(secret.toUtf8()));
        EXPECT_FALSE(errorBytes.contains(utf16));
    }
}

TEST_F(QuenlorRun, KilledDestinationLinkIsRestoredAndEveryRowArrives)
{
    REQUIRE_ORACLE();
    mysqlExec({QStringLiteral("drop table if exists run_rc_stream")});
    const QString config = writeJob(jobText(QStringLiteral("[Config/Tables]\nSTREAM_ROWS=run_rc_stream\n")));

    QProcess process;
    start(process, QStringLiteral(QUENLOR_RUN_EXE), {config, QStringLiteral("--lang"), QStringLiteral("EN")});
    // The run's own link, caught while it inserts.
    QString id;
    for (int i = 0; i < 600 && id.isEmpty() && process.state() == QProcess::Running; ++i) {
        QThread::msleep(50);
        id = mysqlRows(QStringLiteral("select ID from information_schema.PROCESSLIST "
                                      "where INFO like 'insert into `run_rc_stream`%'"))
                 .value(0);
    }
    ASSERT_FALSE(id.isEmpty()) << "the run was not caught inserting";
    mysqlExec({QStringLiteral("kill ") + id});
    const TRun run = finish(process, 300000);

    EXPECT_EQ(run.exitCode, 0) << run.out.toStdString() << run.err.toStdString();
    const QString log = fileLines(logFileOf(run)).join(u'\n');
    EXPECT_TRUE(log.contains(QStringLiteral("reconnecting"))) << log.toStdString();
    EXPECT_TRUE(log.contains(QStringLiteral("Reconnected to the destination (try 1 of 5)")));
    EXPECT_TRUE(log.contains(QStringLiteral("End copy table \"STREAM_ROWS\", error=0,copy record=200000,create=True")));
    EXPECT_EQ(mysqlRows(QStringLiteral("select count(*) from run_rc_stream")), QStringList{QStringLiteral("200000")});
    mysqlExec({QStringLiteral("drop table if exists run_rc_stream")});
}

TEST_F(QuenlorRun, ErrorFilesThatCannotBeWrittenStopTheRun)
{
    REQUIRE_MYSQL();
    REQUIRE_ORACLE();
    const int rows = 30000;
    const QString config = refusingJob(QStringLiteral("RUN_FULL_ROWS"), rows, 3);
    // A file-size limit stands in for a full disk: writes past 16 KiB fail
    // with EFBIG (the signal is ignored, so the program sees the failure).
    QProcess process;
    start(process, QStringLiteral("/bin/bash"),
          {QStringLiteral("-c"), QStringLiteral("trap '' XFSZ; ulimit -f 16; exec \"$0\" \"$1\" --lang EN"),
           QStringLiteral(QUENLOR_RUN_EXE), config});
    const TRun run = finish(process, 300000);

    EXPECT_EQ(run.exitCode, 1) << run.out.toStdString() << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(QStringLiteral("Cannot write file"))) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(QStringLiteral(".errlist"))) << run.err.toStdString();
    EXPECT_FALSE(run.err.contains(QStringLiteral("Stopped on request")));
    // It stopped soon after the failure instead of copying on without a record of the refused rows.
    const int copied = mysqlRows(QStringLiteral("select count(*) from run_full_rows")).value(0).toInt();
    EXPECT_GT(copied, 0);
    EXPECT_LT(copied, rows * 2 / 3);
    EXPECT_FALSE(run.out.contains(QStringLiteral("successfully"))) << run.out.toStdString();
    mysqlExec({QStringLiteral("drop table if exists run_full_rows")});
    oracleExec({QStringLiteral("drop table if exists \"RUN_FULL_ROWS\"")});
}

// kill -9 mid-table: every refused row of a committed transaction is in the
// error files, which quenlor-errors reads without the index the run never wrote.
TEST_F(QuenlorRun, AKilledRunLeavesTheErrorsOfEveryCommittedTransaction)
{
    REQUIRE_MYSQL();
    REQUIRE_ORACLE();
    const int rows = 100000;
    const QString config = refusingJob(QStringLiteral("RUN_K9_ROWS"), rows, 7);
    QProcess process;
    start(process, QStringLiteral(QUENLOR_RUN_EXE), {config, QStringLiteral("--lang"), QStringLiteral("EN")});
    int copied = 0;
    for (int i = 0; i < 1200 && copied < 3000 && process.state() == QProcess::Running; ++i) {
        QThread::msleep(25);
        copied = mysqlRows(QStringLiteral("select count(*) from run_k9_rows")).value(0).toInt();
    }
    ASSERT_EQ(process.state(), QProcess::Running) << "the table was copied before it could be killed";
    ::kill(pid_t(process.processId()), SIGKILL);
    process.waitForFinished(30000);

    const QStringList destIds = mysqlRows(QStringLiteral("select ID from run_k9_rows order by ID"));
    ASSERT_FALSE(destIds.isEmpty());
    const int committed = destIds.last().toInt();
    ASSERT_LT(committed, rows);
    const QDir exportDir(tmp.filePath(QStringLiteral("data/Varnoke/Quenlor/Export")));
    const QStringList runs = exportDir.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    ASSERT_EQ(runs.size(), 1) << runs.join(u' ').toStdString();
    const TRun errors = runTool(QStringLiteral(QUENLOR_ERRORS_EXE), {QStringLiteral("show"), exportDir.filePath(runs.first())});
    ASSERT_EQ(errors.exitCode, 0) << errors.err.toStdString();
    EXPECT_TRUE(errors.err.startsWith(QStringLiteral("Note: The error index \""))) << errors.err.toStdString();
    EXPECT_TRUE(errors.out.startsWith(QStringLiteral("Note: The error index \"")));

    QSet<int> refused;
    for (const QRegularExpressionMatch& m : QRegularExpression(QStringLiteral("\n    ID=(\\d+)\n")).globalMatch(errors.out)) {
        const int id = m.captured(1).toInt();
        EXPECT_FALSE(refused.contains(id)) << "shown twice: " << id;
        refused.insert(id);
    }
    QSet<int> inDest;
    for (const QString& id : destIds)
        inDest.insert(id.toInt());
    // Up to the last committed row each row is in exactly one place.
    int missing = 0;
    for (int id = 1; id <= committed; ++id) {
        const bool expectRefused = id % 7 == 0;
        if (inDest.contains(id) == expectRefused || refused.contains(id) != expectRefused)
            ++missing;
    }
    EXPECT_EQ(missing, 0) << "committed up to ID " << committed << ", " << refused.size() << " errors shown";
}

// Two processes started at once with one job, in one minute: each claims a
// work folder and a log of its own (private whatever the umask), and each
// folder's error files hold that run's refused rows.
TEST_F(QuenlorRun, ConcurrentRunsOfOneJobNeverShareFolderOrLog)
{
    REQUIRE_MYSQL();
    REQUIRE_ORACLE();
    oracleExec({QStringLiteral("drop table if exists \"RUN_CC_PAY\""),
                QStringLiteral("create table \"RUN_CC_PAY\" (\"ID\" numeric(9,0) not null primary key, "
                               "\"AMOUNT\" numeric(12,2))"),
                QStringLiteral("insert into \"RUN_CC_PAY\" select g, case when g in (4, 9) then -g else g end "
                               "from generate_series(1, 10) g")});
    // No key: both runs append; the check refuses the same two rows in each.
    mysqlExec({QStringLiteral("drop table if exists run_cc_pay"),
               QStringLiteral("create table run_cc_pay (ID int, AMOUNT decimal(12,2) check (AMOUNT >= 0))")});
    TJobOptions options;
    options.dropDestTable = false;
    const QString config = writeJob(jobText(QStringLiteral("[Config/Tables]\nRUN_CC_PAY=run_cc_pay\n"), options));

    waitForFreshMinute();
    TRun runs[2];
    {
        const TScopedUmask umask(022);
        QProcess first, second;
        start(first, QStringLiteral(QUENLOR_RUN_EXE), {config, QStringLiteral("--lang=EN")});
        start(second, QStringLiteral(QUENLOR_RUN_EXE), {config, QStringLiteral("--lang=EN")});
        runs[0] = finish(first);
        runs[1] = finish(second);
    }
    QStringList folders, logs;
    for (const TRun& run : runs) {
        ASSERT_EQ(run.exitCode, 1) << run.out.toStdString() << run.err.toStdString();
        EXPECT_TRUE(run.out.contains(QStringLiteral("Errors recorded: 2\n"))) << run.out.toStdString();
        folders << QDir::cleanPath(workFolderOf(run));
        logs << logFileOf(run);
    }
    EXPECT_EQ(mysqlRows(QStringLiteral("select count(*) from run_cc_pay")), QStringList{QStringLiteral("16")});

    // One minute's folder name, then the next free one.
    folders.sort();
    EXPECT_EQ(folders.at(1), folders.at(0) + QStringLiteral("_2")) << folders.join(u' ').toStdString();
    EXPECT_NE(logs.at(0), logs.at(1));
    EXPECT_EQ(exportLogs().size(), 2);
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(folders.at(i).toStdString());
        EXPECT_EQ(modeOf(folders.at(i)), mode_t(0700));
        EXPECT_EQ(modeOf(logs.at(i)), mode_t(0600));
        const QStringList log = fileLines(logs.at(i));
        EXPECT_EQ(std::count_if(log.begin(), log.end(),
                                [](const QString& l) { return l.contains(QStringLiteral("[Error]:(Insert record error)\t")); }),
                  2);
        EXPECT_TRUE(hasLine(log, QStringLiteral("[Info]:End copy table \"RUN_CC_PAY\", error=2,copy record=8,create=False")));
        const TRun errors = runTool(QStringLiteral(QUENLOR_ERRORS_EXE), {QStringLiteral("show"), folders.at(i)});
        ASSERT_EQ(errors.exitCode, 0) << errors.err.toStdString();
        QSet<QString> failedIds;
        for (const QRegularExpressionMatch& m : QRegularExpression(QStringLiteral("\n    ID=(\\d+)\n")).globalMatch(errors.out))
            failedIds.insert(m.captured(1));
        EXPECT_EQ(failedIds, (QSet<QString>{QStringLiteral("4"), QStringLiteral("9")})) << errors.out.toStdString();
        EXPECT_EQ(errors.out.count(QStringLiteral(": Insert record error\n")), 2);
    }
}

// The log is written as the run goes: killed mid-table, the run leaves a
// readable log with every line up to that table.
TEST_F(QuenlorRun, KilledRunLeavesTheLogSoFar)
{
    REQUIRE_MYSQL();
    REQUIRE_ORACLE();
    QProcess process;
    const QString config = startStreamCopy(process, QStringLiteral("run_k9_stream"));
    ASSERT_EQ(process.state(), QProcess::Running) << "the table was copied before the run could be killed";
    ::kill(pid_t(process.processId()), SIGKILL);
    const TRun run = finish(process);
    EXPECT_EQ(run.exitCode, -1);

    const QStringList logs = exportLogs();
    ASSERT_EQ(logs.size(), 1);
    QFile file(logs.first());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_TRUE(bytes.endsWith("\r\n")) << "a line was left half-written";
    const QStringList log = fileLines(logs.first());
    ASSERT_FALSE(log.isEmpty());
    EXPECT_TRUE(log.first().endsWith(QStringLiteral("[Info]:Configuration  file name =\"") + config + u'"'));
    EXPECT_TRUE(log.contains(QStringLiteral(" type=\"Oracle\"")));
    EXPECT_TRUE(hasLine(log, QStringLiteral("[Hint]:Connecting to database")));
    EXPECT_TRUE(hasLine(log, QStringLiteral("[Hint]:Starting copy table \"STREAM_ROWS\"")));
    EXPECT_FALSE(hasLine(log, QStringLiteral("create=True")));
}

// A rerun without drop or clear appends to the rows the first run left: the
// log says so at the table and after the summary, with the count, and so
// does the run's output.
TEST_F(QuenlorRun, RerunIntoAFilledTableSaysHowManyRowsWereThere)
{
    REQUIRE_MYSQL();
    REQUIRE_ORACLE();
    oracleExec({QStringLiteral("drop table if exists \"RUN_RR_SRC\""),
                QStringLiteral("create table \"RUN_RR_SRC\" (\"ID\" numeric(9,0) not null primary key, \"V\" varchar2(10))"),
                QStringLiteral("insert into \"RUN_RR_SRC\" values (1, 'a'), (2, 'b'), (3, 'c')")});
    mysqlExec({QStringLiteral("drop table if exists run_rr_dest"),
               QStringLiteral("create table run_rr_dest (ID int, V varchar(10))")});
    TJobOptions options;
    options.dropDestTable = false;
    const QString config = writeJob(jobText(QStringLiteral("[Config/Tables]\nRUN_RR_SRC=run_rr_dest\n"), options));
    const QString warning = QStringLiteral("Table \"run_rr_dest\" already held 3 rows before this run");

    const TRun first = quenlorRun({config, QStringLiteral("--lang=EN")});
    ASSERT_EQ(first.exitCode, 0) << first.out.toStdString() << first.err.toStdString();
    EXPECT_FALSE(first.out.contains(QStringLiteral("already held")));
    EXPECT_FALSE(fileLines(logFileOf(first)).join(u'\n').contains(QStringLiteral("already held")));

    const TRun second = quenlorRun({config, QStringLiteral("--lang=EN")});
    ASSERT_EQ(second.exitCode, 0) << second.out.toStdString() << second.err.toStdString();
    EXPECT_EQ(mysqlRows(QStringLiteral("select count(*) from run_rr_dest")), QStringList{QStringLiteral("6")});
    EXPECT_TRUE(second.out.contains(warning)) << second.out.toStdString();
    const QStringList log = fileLines(logFileOf(second));
    QList<qsizetype> at;
    for (qsizetype i = 0; i < log.size(); ++i)
        if (log.at(i).endsWith(QStringLiteral("[Warning]:") + warning))
            at << i;
    ASSERT_EQ(at.size(), 2) << log.join(u'\n').toStdString();
    const auto summary = std::find_if(log.begin(), log.end(), [](const QString& l) {
        return l.contains(QStringLiteral("Data successfully migrated"));
    });
    ASSERT_NE(summary, log.end());
    EXPECT_LT(at.first(), summary - log.begin());
    EXPECT_GT(at.last(), summary - log.begin());

    // In Chinese too.
    const TRun chinese = quenlorRun({config, QStringLiteral("--lang=CN")});
    EXPECT_TRUE(chinese.out.contains(QStringLiteral("表 \"run_rr_dest\" 在本次运行之前已有 6 行"))) << chinese.out.toStdString();
}

// A second run in the same minute gets the same time suffix: it writes a
// table of the next free name instead of appending to the first one's.
TEST_F(QuenlorRun, TimeSuffixOfTheSameMinuteTakesTheNextFreeName)
{
    REQUIRE_MYSQL();
    REQUIRE_ORACLE();
    oracleExec({QStringLiteral("drop table if exists \"RUN_TS_SRC\""),
                QStringLiteral("create table \"RUN_TS_SRC\" (\"ID\" numeric(9,0) not null primary key, \"V\" varchar2(10))"),
                QStringLiteral("insert into \"RUN_TS_SRC\" values (1, 'a'), (2, 'b'), (3, 'c')")});
    const QString listing = QStringLiteral("select table_name from information_schema.tables where "
                                           "table_schema = database() and table_name like 'run\\_ts\\_dest\\_%' order by 1");
    for (const QString& table : mysqlRows(listing))
        mysqlExec({QStringLiteral("drop table `%1`").arg(table)});
    const QString config = writeJob(jobText(QStringLiteral("[Config/Tables]\nRUN_TS_SRC=run_ts_dest\n"))
                                        .replace(QStringLiteral("TimeSuffix=False"), QStringLiteral("TimeSuffix=True")));

    waitForFreshMinute();
    for (int i = 0; i < 2; ++i) {
        const TRun run = quenlorRun({config, QStringLiteral("--lang=EN")});
        ASSERT_EQ(run.exitCode, 0) << run.out.toStdString() << run.err.toStdString();
    }
    const QStringList tables = mysqlRows(listing);
    ASSERT_EQ(tables.size(), 2) << tables.join(u' ').toStdString();
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^run_ts_dest_[0-9]{12}$")).match(tables.at(0)).hasMatch());
    EXPECT_EQ(tables.at(1), tables.at(0) + QStringLiteral("_2"));
    for (const QString& table : tables) {
        EXPECT_EQ(mysqlRows(QStringLiteral("select count(*) from `%1`").arg(table)), QStringList{QStringLiteral("3")});
        mysqlExec({QStringLiteral("drop table `%1`").arg(table)});
    }
}

// quenlor-run reads the data-folder setting and the global options that
// quenlor, beside it, reads: both are keyed to the path of quenlor.
TEST_F(QuenlorRun, SharesDataFolderSettingAndOptionsWithQuenlor)
{
    REQUIRE_MYSQL();
    REQUIRE_ORACLE();
    const QString shared = tmp.filePath(QStringLiteral("shared-data"));
    ASSERT_TRUE(QDir().mkpath(shared));
    {
        QSettings settings(tmp.filePath(QStringLiteral("config/Varnoke/Quenlor.conf")), QSettings::IniFormat);
        settings.beginGroup(settingsGroup());
        const QString quenlor = QFileInfo(QStringLiteral(QUENLOR_RUN_EXE)).absolutePath() + QStringLiteral("/quenlor");
        settings.setValue(settingsValueNameFor(quenlor), shared);
        settings.endGroup();
        settings.sync();
        ASSERT_EQ(settings.status(), QSettings::NoError);
    }
    // Not the default: a NULL into a NOT NULL column is refused, the column kept.
    QFile options(shared + QStringLiteral("/quenlor.goption"));
    ASSERT_TRUE(options.open(QIODevice::WriteOnly));
    options.write("AutoChangeFieldNotNull=False\r\n");
    options.close();
    oracleExec({QStringLiteral("drop table if exists \"RUN_SO_SRC\""),
                QStringLiteral("create table \"RUN_SO_SRC\" (\"ID\" numeric(9,0) not null primary key, \"V\" varchar2(10))"),
                QStringLiteral("insert into \"RUN_SO_SRC\" values (1, 'a'), (2, null), (3, 'c')")});
    mysqlExec({QStringLiteral("drop table if exists run_so_dest"),
               QStringLiteral("create table run_so_dest (ID int primary key, V varchar(10) not null)")});
    TJobOptions job;
    job.dropDestTable = false;
    const QString config = writeJob(jobText(QStringLiteral("[Config/Tables]\nRUN_SO_SRC=run_so_dest\n"), job));

    const TRun run = quenlorRun({config, QStringLiteral("--lang=EN")});
    EXPECT_EQ(run.exitCode, 1) << run.out.toStdString() << run.err.toStdString();
    EXPECT_TRUE(run.out.contains(QStringLiteral("Errors recorded: 1\n"))) << run.out.toStdString();
    EXPECT_EQ(mysqlRows(QStringLiteral("select group_concat(ID order by ID) from run_so_dest")),
              QStringList{QStringLiteral("1,3")});
    EXPECT_TRUE(logFileOf(run).startsWith(shared + QStringLiteral("/Export/"))) << run.out.toStdString();
    EXPECT_TRUE(workFolderOf(run).startsWith(shared + QStringLiteral("/Export/"))) << run.out.toStdString();
    EXPECT_TRUE(exportLogs().isEmpty());
}

// A log that cannot be written stops the run: a file-size limit (as a full
// disk would) makes a write of the log fail while the tables are copied.
TEST_F(QuenlorRun, LogThatCannotBeWrittenStopsTheRun)
{
    REQUIRE_MYSQL();
    REQUIRE_ORACLE();
    constexpr int kTables = 40;
    QString sections = QStringLiteral("[Config/Tables]\n");
    QString statements;
    QStringList tables;
    for (int i = 1; i <= kTables; ++i) {
        const QString table = QStringLiteral("run_lf_%1").arg(i);
        tables << table;
        sections += QStringLiteral("SQL@lf%1=%2\n").arg(i).arg(table);
        statements += QStringLiteral("[Config/SQL/SQL@lf%1]\nselect %1 as \"N\"\n").arg(i);
    }
    mysqlExec({QStringLiteral("drop table if exists ") + tables.join(u',')});
    const QString config = writeJob(jobText(sections + statements));

    // Ignored, SIGXFSZ does not end the program: the write fails with EFBIG.
    const TRun run = runTool(QStringLiteral("/bin/bash"),
                             {QStringLiteral("-c"), QStringLiteral("trap '' XFSZ; ulimit -f 4; exec \"$0\" \"$@\""),
                              QStringLiteral(QUENLOR_RUN_EXE), config, QStringLiteral("--lang=EN")});
    EXPECT_EQ(run.exitCode, 1) << run.out.toStdString() << run.err.toStdString();
    const QStringList logs = exportLogs();
    ASSERT_EQ(logs.size(), 1);
    const QString failure = QStringLiteral("The log file \"%1\" cannot be written (%2): the run stops")
                                .arg(logs.first(), QString::fromLocal8Bit(std::strerror(EFBIG)));
    EXPECT_TRUE(run.err.contains(failure)) << run.err.toStdString();
    EXPECT_FALSE(run.out.contains(QStringLiteral("saved to"))) << run.out.toStdString();
    // Stopped after the table whose lines did not fit: the later ones were never made.
    EXPECT_EQ(QFileInfo(logs.first()).size(), 4096);
    EXPECT_TRUE(mysqlTableExists(tables.first()));
    EXPECT_FALSE(mysqlTableExists(tables.last()));
    mysqlExec({QStringLiteral("drop table if exists ") + tables.join(u',')});
}

TEST_F(QuenlorRun, RefusesWhatItCannotRun)
{
    const QString plain = jobText(QStringLiteral("[Config/Tables]\n"));
    // quenlor-config refuses to pack a job of the wrong kind: encipher it here.
    const QString wrongKind = tmp.filePath(QStringLiteral("kind.Tvcfg"));
    {
        TKwStringsComponent table;
        kwTableFromText(table, QString(plain).replace(QStringLiteral("Source=Oracle"), QStringLiteral("Source=PostgreSQL")));
        initConfigKey();
        saveEncryptedTable(table, wrongKind);
    }
    QString closed = plain;
    closed.replace(QRegularExpression(QStringLiteral("MainProperty_Server=[^\n]*")),
                   QStringLiteral("MainProperty_Server=127.0.0.1"));
    closed.replace(QRegularExpression(QStringLiteral("MainProperty_Port=[^\n]*")), QStringLiteral("MainProperty_Port=1"));
    const QString closedPort = writeJob(closed, QStringLiteral("closed"));
    const QString prompt = writeJob(QString(plain).replace(QStringLiteral("[Config/DestConnect]\n"),
                                                           QStringLiteral("[Config/DestConnect]\nMainProperty_LoginPrompt=True\n")),
                                    QStringLiteral("prompt"));
    const QString garbage = tmp.filePath(QStringLiteral("garbage.Tvcfg"));
    QFile file(garbage);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("this is no configuration file\n");
    file.close();
    const QString en = QStringLiteral("--lang=EN");

    struct TCase {
        QStringList arguments;
        int exitCode;
        QString output; // expected on standard output or error
    };
    const TCase cases[] = {
        {{}, 2, QStringLiteral("no configuration file given")},
        {{QStringLiteral("--bogus"), garbage}, 2, QStringLiteral("unknown option --bogus")},
        {{garbage, QStringLiteral("--lang"), QStringLiteral("FR")}, 2, QStringLiteral("--lang takes EN or CN")},
        {{QStringLiteral("--help")}, 0, QStringLiteral("Usage: quenlor-run CONFIG.Tvcfg")},
        {{tmp.filePath(QStringLiteral("missing.Tvcfg")), en}, 2, QStringLiteral("Configuration file not found")},
        {{tmp.filePath(QStringLiteral("missing.Tvcfg")), QStringLiteral("--lang=CN")}, 2, QStringLiteral("未找到配置文件")},
        {{garbage, en}, 2, QStringLiteral("Cannot load the job of")},
        {{wrongKind, en}, 2, QStringLiteral("Source database error,\"PostgreSQL\"<>\"Oracle\"")},
        {{closedPort, en}, 2, QStringLiteral("Connect MySQL database fail!")},
        // Never waits for a login dialog.
        {{prompt, en}, 2, QStringLiteral("asks for a login")},
    };
    for (const TCase& c : cases) {
        const TRun run = quenlorRun(c.arguments);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.arguments.join(u' ').toStdString();
        EXPECT_TRUE((run.out + run.err).contains(c.output))
            << c.arguments.join(u' ').toStdString() << "\n" << run.out.toStdString() << run.err.toStdString();
    }
}

} // namespace
