// Rows per second of the importer's path: a stand-in table read with readTable
// and written into MariaDB by the table importer (prepare, writeRecord,
// finish), beside the same rows read alone, read and written with plain
// prepared inserts of the data-access layer (commit every 300 rows), and
// exported with psql \copy and loaded with LOAD DATA LOCAL INFILE.
//
// Run by hand after `eval "$(scripts/servers start)"`:
//   ninja -C build importer_bench && build/bench/importer_bench [rows]
// Creates (once per size) the stand-in table "BENCH_IMPORT_ROWS" (default 1,000,000 rows).

#include "dbaccess/DBConnection.h"
#include "dbaccess/DBImportTable.h"
#include "foundation/DbKind.h"
#include "foundation/Exception.h"
#include "platform/db/DbConnection.h"
#include "platform/db/DbQuery.h"
#include "records/DatasetFieldDef.h"
#include "records/ErrInfo.h"
#include "records/ErrInfoList.h"
#include "records/FieldMetadata.h"
#include "records/IndexMetadata.h"
#include "records/PlainFolderData.h"
#include "records/ReadDataField.h"
#include "shell/DBOption.h"
#include "shell/GlobalOptions.h"
#include "shell/MainDataModule.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <cstdio>
#include <ctime>
#include <cstdlib>

namespace {

QString env(const char* name) { return QString::fromLocal8Bit(qgetenv(name)); }

const QString kSource = QStringLiteral("BENCH_IMPORT_ROWS");
const QStringList kColumns = {"ID", "NAME", "AMOUNT", "CREATED", "FLAG", "NOTE"};

std::unique_ptr<TDBConnection> connect(int kind, const QStringList& settings)
{
    auto c = std::make_unique<TDBConnection>(kind);
    c->setConnectParams(TStringList(settings));
    QString failure;
    int code = 0;
    if (!c->openConnect(failure, code, kind == dbkind::MySQL))
        throw Exception(QStringLiteral("cannot connect: ") + failure);
    return c;
}

void ensureSourceRows(TDBConnection& oracle, long rows)
{
    long have = -1;
    try {
        have = oracle.getSQLValue(QStringLiteral("select count(*) from \"%1\"").arg(kSource)).toLong();
    } catch (const std::exception&) {
    }
    if (have == rows)
        return;
    std::fprintf(stderr, "creating %ld stand-in rows...\n", rows);
    oracle.execSQL(QStringLiteral("drop table if exists \"%1\"").arg(kSource));
    oracle.execSQL(QStringLiteral("create table \"%1\" (\"ID\" numeric(9,0) primary key, \"NAME\" varchar2(50), "
                                  "\"AMOUNT\" numeric(14,2), \"CREATED\" timestamp(6), \"FLAG\" numeric(9,0), "
                                  "\"NOTE\" nvarchar2(100))").arg(kSource));
    oracle.execSQL(QStringLiteral("insert into \"%1\" select g, 'name ' || g || ' 中文', "
                                  "g::bigint * 3 + (g % 100) / 100.0, timestamp '2000-01-01' + g * interval '1.000007 "
                                  "second', g % 2, 'note for row ' || g from generate_series(1, %2) g")
                       .arg(kSource).arg(rows));
    oracle.execSQL(QStringLiteral("analyze \"%1\"").arg(kSource));
}

// Wall time, and this process's processor time: the client's own share, whatever the servers' load.
struct Timed {
    long rows = 0;
    double seconds = 0;
    double cpuSeconds = 0;
    double rate() const { return seconds > 0 ? rows / seconds : 0; }
};

class Clock {
public:
    Clock() : m_cpu(std::clock()) { m_wall.start(); }
    void stopInto(Timed& t) const
    {
        t.seconds += m_wall.nsecsElapsed() / 1e9;
        t.cpuSeconds += double(std::clock() - m_cpu) / CLOCKS_PER_SEC;
    }

private:
    QElapsedTimer m_wall;
    std::clock_t m_cpu;
};

// readTable over the source, with `write` called for every row.
Timed readRows(TDBConnection& oracle, const TBeginTableCallback& begin,
               const TRecordCallback& write)
{
    QTemporaryDir dir;
    TPlainFolderData folder(dir.path());
    TErrInfoList errors(&folder);
    Timed t;
    const Clock clock;
    const bool ok = oracle.readTable(kSource, TStringList(kColumns), begin,
                                     [&](IReadDataRecord& record, TErrInfoList* errors) {
                                         ++t.rows;
                                         return write(record, errors);
                                     },
                                     false, &errors);
    clock.stopInto(t);
    if (!ok)
        throw Exception(QStringLiteral("copying %1 failed after %3 rows: %2").arg(kSource,
            errors.errorCount() > 0 ? errors.errorAt(0)->message : QStringLiteral("a row was refused")).arg(t.rows));
    return t;
}

Timed importerPath(TDBConnection& oracle, TDBConnection& mysql)
{
    mysql.execSQL(QStringLiteral("drop table if exists imp_bench_rows"));
    TStringList map;
    for (const QString& c : kColumns)
        map.add(c + u'=' + c);
    TDBImportTable importer(&mysql);
    const auto begin = [&](int kind, TDatasetFieldDefList& defs, TFieldMetadataList& fields,
                           TIndexMetadataList* indexes, TErrInfoList* errors) {
        for (int i = 0; indexes && i < indexes->count(); ++i)
            for (int f = 0; f < indexes->indexAt(i)->fieldCount(); ++f)
                indexes->indexAt(i)->fieldAt(f)->destName = indexes->indexAt(i)->fieldAt(f)->sourceName;
        bool created = false;
        TImportTableOptions options;
        options.dropDestTable = true;
        return importer.prepare(QStringLiteral("imp_bench_rows"), {&map, kind, &fields, &defs, indexes}, options,
                                created, errors);
    };
    Timed t = readRows(oracle, begin, [&](IReadDataRecord& record, TErrInfoList* errors) {
        return importer.writeRecord(TWriteMode::Insert, record, errors);
    });
    const Clock clock;
    importer.finish(nullptr);
    clock.stopInto(t);
    return t;
}

// The same rows with the layer alone: values taken over as read, no conversion.
Timed plainInserts(TDBConnection& oracle, TDBConnection& mysql)
{
    mysql.execSQL(QStringLiteral("drop table if exists imp_bench_plain"));
    mysql.execSQL(QStringLiteral("create table imp_bench_plain (ID int primary key, NAME varchar(50), AMOUNT "
                                 "decimal(14,2), CREATED datetime(6), FLAG int, NOTE varchar(100))"));
    DbConnection& pack = mysql.packConnection();
    DbQuery insert(&pack);
    insert.setSQL(QStringLiteral("insert into imp_bench_plain values (:p0,:p1,:p2,:p3,:p4,:p5)"));
    DbQuery select(&oracle.packConnection());
    select.setForwardOnly(true);
    select.setPreciseDecimal(true);
    select.setSQL(QStringLiteral("select \"%1\" from \"%2\"").arg(kColumns.join(QStringLiteral("\",\"")), kSource));
    Timed t;
    const Clock clock;
    select.open();
    int inTransaction = 0;
    for (; !select.eof(); select.next(), ++t.rows) {
        if (inTransaction == 0)
            pack.startTransaction();
        for (int i = 0; i < 6; ++i)
            insert.params().at(i).setValueAt(0, select.field(i).value());
        insert.execute();
        if (++inTransaction >= 300) {
            pack.commit();
            inTransaction = 0;
        }
    }
    if (pack.inTransaction())
        pack.commit();
    clock.stopInto(t);
    return t;
}

bool runTool(const QString& program, const QStringList& args, const QProcessEnvironment& penv, QString* failure)
{
    QProcess p;
    p.setProcessEnvironment(penv);
    p.start(program, args);
    p.waitForFinished(-1);
    if (p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0)
        return true;
    *failure = QString::fromUtf8(p.readAllStandardError());
    return false;
}

// psql \copy into a file, then LOAD DATA LOCAL INFILE; the load alone and both together.
std::pair<Timed, Timed> bulkLoad(TDBConnection& mysql, long rows)
{
    mysql.execSQL(QStringLiteral("drop table if exists imp_bench_load"));
    mysql.execSQL(QStringLiteral("create table imp_bench_load like imp_bench_plain"));
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("rows.tsv"));
    QProcessEnvironment penv = QProcessEnvironment::systemEnvironment();
    penv.insert(QStringLiteral("PGPASSWORD"), env("QUENLOR_PG_PASSWORD"));
    QString failure;
    QElapsedTimer timer;
    timer.start();
    if (!runTool(env("QUENLOR_PG_PSQL"),
                 {"-X", "-q", "-h", env("QUENLOR_PG_HOST"), "-p", env("QUENLOR_PG_PORT"), "-U", env("QUENLOR_PG_USER"),
                  env("QUENLOR_PG_DATABASE"), "-c",
                  QStringLiteral("\\copy (select \"%1\" from \"%2\") to '%3'")
                      .arg(kColumns.join(QStringLiteral("\",\"")), kSource, file)},
                 penv, &failure))
        throw Exception(QStringLiteral("psql failed: ") + failure);
    const double copySeconds = timer.nsecsElapsed() / 1e9;
    timer.restart();
    if (!runTool(QStringLiteral("mariadb"),
                 {"--no-defaults", "--local-infile=1", "-h", env("QUENLOR_MYSQL_HOST"), "-P", env("QUENLOR_MYSQL_PORT"),
                  "-u", env("QUENLOR_MYSQL_USER"), "-p" + env("QUENLOR_MYSQL_PASSWORD"), env("QUENLOR_MYSQL_DATABASE"),
                  "-e",
                  QStringLiteral("load data local infile '%1' into table imp_bench_load character set utf8mb4").arg(file)},
                 penv, &failure))
        throw Exception(QStringLiteral("mariadb failed: ") + failure);
    const double loadSeconds = timer.nsecsElapsed() / 1e9;
    return {Timed{rows, loadSeconds, 0}, Timed{rows, copySeconds + loadSeconds, 0}};
}

void print(const char* what, const Timed& t, double importerRate)
{
    std::printf("%-40s %9.0f rows/s %7.2f s  cpu %6.2f s  importer/this %.2f\n", what, t.rate(), t.seconds,
                t.cpuSeconds, t.rate() > 0 ? importerRate / t.rate() : 0.0);
}

} // namespace

int main(int argc, char** argv)
{
    const long rows = argc > 1 ? std::atol(argv[1]) : 1000000;
    if (env("QUENLOR_ORACLE_ODBC").isEmpty() || env("QUENLOR_MYSQL_HOST").isEmpty()) {
        std::fprintf(stderr, "run eval \"$(scripts/servers start)\" first\n");
        return 2;
    }
    try {
        setOptionDefaultLookup([](const QString& key) { return mainDataModule().globalOptionDefault(key); });
        installDbErrorCodeHook();
        dbOption().quoteNames = true; // the stand-in keeps upper-case names
        auto oracle = connect(dbkind::Oracle, {"MainProperty_ProviderName=Oracle",
                                               "MainProperty_Username=" + env("QUENLOR_ORACLE_USER"),
                                               "MainProperty_Password=" + env("QUENLOR_ORACLE_PASSWORD"),
                                               "ConnectionString=" + env("QUENLOR_ORACLE_ODBC"), "UseUnicode=True"});
        auto mysql = connect(dbkind::MySQL, {"MainProperty_ProviderName=MySQL",
                                             "MainProperty_Server=" + env("QUENLOR_MYSQL_HOST"),
                                             "MainProperty_Port=" + env("QUENLOR_MYSQL_PORT"),
                                             "MainProperty_Username=" + env("QUENLOR_MYSQL_USER"),
                                             "MainProperty_Password=" + env("QUENLOR_MYSQL_PASSWORD"),
                                             "MainProperty_Database=" + env("QUENLOR_MYSQL_DATABASE"), "Charset=utf-8"});
        ensureSourceRows(*oracle, rows);

        const Timed read = readRows(*oracle, [](auto&&...) { return true; }, [](IReadDataRecord&, TErrInfoList*) { return true; });
        const Timed imported = importerPath(*oracle, *mysql);
        const long arrived = mysql->getSQLValue(QStringLiteral("select count(*) from imp_bench_rows")).toLong();
        if (arrived != rows)
            throw Exception(QStringLiteral("only %1 of %2 rows arrived").arg(arrived).arg(rows));
        const Timed plain = plainInserts(*oracle, *mysql);
        const auto [load, copyAndLoad] = bulkLoad(*mysql, rows);

        std::printf("rows: %ld (six columns: int, text, decimal, datetime(6), int, text)\n", rows);
        print("readTable alone (stand-in read)", read, imported.rate());
        print("readTable + importer into MariaDB", imported, imported.rate());
        print("layer read + plain prepared inserts", plain, imported.rate());
        print("LOAD DATA LOCAL INFILE (load only)", load, imported.rate());
        print("psql \\copy + LOAD DATA LOCAL INFILE", copyAndLoad, imported.rate());
        for (const char* table : {"imp_bench_rows", "imp_bench_plain", "imp_bench_load"})
            mysql->execSQL(QStringLiteral("drop table if exists %1").arg(QLatin1String(table)));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "failed: %s\n", e.what());
        return 1;
    }
    return 0;
}
