// Forward-only reading from the Oracle stand-in through the layer, beside
// `psql \copy` of the same rows. Run by hand after `eval "$(scripts/servers start)"`:
//   ninja -C build db_read_bench && build/bench/db_read_bench [rows]
// Creates (once) a six-column table "BENCH_ROWS" of the given size (default 1,000,000).

#include "platform/db/DbBuiltinProviders.h"
#include "platform/db/DbConnection.h"
#include "platform/db/DbError.h"
#include "platform/db/DbProviderRegistry.h"
#include "platform/db/DbQuery.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QProcessEnvironment>
#include <cstdio>

namespace {

QString env(const char* name) { return QString::fromLocal8Bit(qgetenv(name)); }

void exec(DbConnection& c, const QString& sql)
{
    DbQuery q(&c);
    q.setSQL(sql);
    q.execute();
}

} // namespace

int main(int argc, char** argv)
{
    const long rows = argc > 1 ? std::atol(argv[1]) : 1000000;
    if (env("QUENLOR_ORACLE_ODBC").isEmpty() || env("QUENLOR_PG_PSQL").isEmpty()) {
        std::fprintf(stderr, "run eval \"$(scripts/servers start)\" first\n");
        return 2;
    }
    try {
        registerBuiltinProviders(DbProviderRegistry::instance());
        DbConnection c;
        c.setProviderName(QStringLiteral("Oracle"));
        c.setUserName(env("QUENLOR_ORACLE_USER"));
        c.setPassword(env("QUENLOR_ORACLE_PASSWORD"));
        c.options().add(QStringLiteral("Oracle.ConnectionString=") + env("QUENLOR_ORACLE_ODBC"));
        c.options().add(QStringLiteral("UseUnicode=True"));
        c.open();

        DbQuery count(&c);
        count.setSQL(QStringLiteral("select count(*) from \"BENCH_ROWS\""));
        long have = -1;
        try {
            count.open();
            have = static_cast<long>(count.field(0).value().toInt64());
        } catch (const DbError&) {
        }
        if (have != rows) {
            std::fprintf(stderr, "creating %ld rows...\n", rows);
            exec(c, QStringLiteral("drop table if exists \"BENCH_ROWS\""));
            exec(c, QStringLiteral(
                        "create table \"BENCH_ROWS\" (\"ID\" numeric(9,0) primary key, \"CODE\" varchar2(20), "
                        "\"AMOUNT\" numeric(12,2), \"CREATED\" oracle.date, \"NOTE\" nvarchar2(60), "
                        "\"RATIO\" binary_double)"));
            exec(c, QStringLiteral("insert into \"BENCH_ROWS\" select g, 'C' || lpad(g::text, 8, '0'), "
                                   "(g * 7 % 100000) / 100.0, timestamp '2000-01-01' + g * interval '1 minute', "
                                   "'row ' || g, g / 3.0 from generate_series(1, %1) g")
                        .arg(rows));
        }

        const QString select = QStringLiteral("select * from \"BENCH_ROWS\" order by \"ID\"");
        QElapsedTimer timer;
        timer.start();
        DbQuery q(&c);
        q.setForwardOnly(true);
        q.setSQL(select);
        q.open();
        long read = 0;
        qsizetype chars = 0;
        for (; !q.eof(); q.next()) {
            ++read;
            chars += q.field(4).value().toString().size();
        }
        const double layerSeconds = timer.nsecsElapsed() / 1e9;

        QProcessEnvironment penv = QProcessEnvironment::systemEnvironment();
        penv.insert(QStringLiteral("PGPASSWORD"), env("QUENLOR_PG_PASSWORD"));
        QProcess psql;
        psql.setProcessEnvironment(penv);
        psql.setStandardOutputFile(QStringLiteral("/dev/null"));
        timer.restart();
        psql.start(env("QUENLOR_PG_PSQL"),
                   {QStringLiteral("-X"), QStringLiteral("-q"), QStringLiteral("-h"), env("QUENLOR_PG_HOST"),
                    QStringLiteral("-p"), env("QUENLOR_PG_PORT"), QStringLiteral("-U"), env("QUENLOR_PG_USER"),
                    env("QUENLOR_PG_DATABASE"), QStringLiteral("-c"),
                    QStringLiteral("\\copy (%1) to stdout").arg(select)});
        psql.waitForFinished(-1);
        const double copySeconds = timer.nsecsElapsed() / 1e9;
        if (psql.exitCode() != 0) {
            std::fprintf(stderr, "psql failed: %s\n", psql.readAllStandardError().constData());
            return 1;
        }
        const double layerRate = read / layerSeconds, copyRate = read / copySeconds;
        std::printf("rows: %ld (text chars %lld)\n", read, static_cast<long long>(chars));
        std::printf("layer forward-only read: %.0f rows/s (%.2f s)\n", layerRate, layerSeconds);
        std::printf("psql \\copy:              %.0f rows/s (%.2f s)\n", copyRate, copySeconds);
        std::printf("ratio layer / \\copy:     %.2f\n", layerRate / copyRate);
    } catch (const DbError& e) {
        std::fprintf(stderr, "error: %s\n", e.what());
        return 1;
    }
    return 0;
}
