// Rows per second of prepared single-row inserts through the data-access
// layer (committed every 300 rows, as the importer does), beside the same rows
// loaded with LOAD DATA LOCAL INFILE on the same server.
//
// Usage: db_insert_bench [rows]   (default 200000)
// Reads QUENLOR_MYSQL_HOST/PORT/USER/PASSWORD/DATABASE (scripts/servers env).

#include "platform/db/DbConnection.h"
#include "platform/db/DbError.h"
#include "platform/db/DbQuery.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <mysql.h>

#include <cstdio>
#include <cstdlib>

namespace {

QString env(const char* name) { return QString::fromLocal8Bit(qgetenv(name)); }

void exec(DbConnection& c, const QString& sql)
{
    DbQuery q(&c);
    q.setSQL(sql);
    q.execute();
}

struct Row {
    int id;
    QString name;
    QString amount;
    DbTimeStamp created;
    int flag;
    QString note;
};

Row makeRow(int i)
{
    return Row{i, QStringLiteral("name %1 中文").arg(i), QStringLiteral("%1.%2").arg(i * 3).arg(i % 100, 2, 10, QLatin1Char('0')),
               DbTimeStamp{2000 + i % 20, 1 + i % 12, 1 + i % 28, i % 24, i % 60, i % 60, (i * 7) % 1000000},
               i % 2, QStringLiteral("note for row %1").arg(i)};
}

const char* kCreate = "create table dal_bench (id int primary key, name varchar(50), amount decimal(14,2), "
                      "created datetime(6), flag int, note varchar(100)) engine=InnoDB";

double insertRows(DbConnection& c, int rows)
{
    exec(c, QStringLiteral("drop table if exists dal_bench"));
    exec(c, QString::fromLatin1(kCreate));
    QElapsedTimer timer;
    timer.start();
    DbQuery q(&c);
    q.setSQL(QStringLiteral("insert into dal_bench (id, name, amount, created, flag, note) "
                            "values (:p0, :p1, :p2, :p3, :p4, :p5)"));
    int inTransaction = 0;
    for (int i = 1; i <= rows; ++i) {
        if (inTransaction == 0)
            c.startTransaction();
        const Row r = makeRow(i);
        DbParamList& p = q.params();
        p.at(0).setAsInteger(r.id);
        p.at(1).setAsString(r.name);
        p.at(2).setAsDecimalText(r.amount);
        p.at(3).setAsDateTime(r.created);
        p.at(4).setAsInteger(r.flag);
        p.at(5).setAsString(r.note);
        q.execute();
        if (++inTransaction >= 300) {
            c.commit();
            inTransaction = 0;
        }
    }
    if (c.inTransaction())
        c.commit();
    return rows / (timer.nsecsElapsed() / 1e9);
}

double loadDataInfile(int rows)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("rows.tsv"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw Exception(QStringLiteral("cannot write %1").arg(path));
    for (int i = 1; i <= rows; ++i) {
        const Row r = makeRow(i);
        file.write(QStringLiteral("%1\t%2\t%3\t%4\t%5\t%6\n")
                       .arg(r.id).arg(r.name, r.amount, r.created.toString()).arg(r.flag).arg(r.note).toUtf8());
    }
    file.close();

    MYSQL* m = mysql_init(nullptr);
    const unsigned on = 1;
    mysql_optionsv(m, MYSQL_OPT_LOCAL_INFILE, &on);
    mysql_optionsv(m, MYSQL_SET_CHARSET_NAME, "utf8mb4");
    if (!mysql_real_connect(m, env("QUENLOR_MYSQL_HOST").toUtf8().constData(),
                            env("QUENLOR_MYSQL_USER").toUtf8().constData(),
                            env("QUENLOR_MYSQL_PASSWORD").toUtf8().constData(),
                            env("QUENLOR_MYSQL_DATABASE").toUtf8().constData(),
                            static_cast<unsigned>(env("QUENLOR_MYSQL_PORT").toInt()), nullptr, 0))
        throw Exception(QString::fromUtf8(mysql_error(m)));
    const auto run = [m](const QByteArray& sql) {
        if (mysql_real_query(m, sql.constData(), static_cast<unsigned long>(sql.size())))
            throw Exception(QString::fromUtf8(mysql_error(m)));
    };
    mysql_real_query(m, "set global local_infile=1", 25); // needs privilege; the server may allow it already
    run("drop table if exists dal_bench");
    run(kCreate);
    QElapsedTimer timer;
    timer.start();
    run("load data local infile '" + path.toUtf8() + "' into table dal_bench character set utf8mb4 "
        "fields terminated by '\\t' lines terminated by '\\n'");
    const double rate = rows / (timer.nsecsElapsed() / 1e9);
    run("drop table if exists dal_bench");
    mysql_close(m);
    return rate;
}

} // namespace

int main(int argc, char** argv)
{
    const int rows = argc > 1 ? std::atoi(argv[1]) : 200000;
    if (env("QUENLOR_MYSQL_HOST").isEmpty()) {
        std::fprintf(stderr, "QUENLOR_MYSQL_* not set; run: eval \"$(scripts/servers start)\"\n");
        return 2;
    }
    try {
        DbConnection c;
        c.setProviderName(QStringLiteral("MySQL"));
        c.setServer(env("QUENLOR_MYSQL_HOST"));
        c.setPort(env("QUENLOR_MYSQL_PORT").toInt());
        c.setUserName(env("QUENLOR_MYSQL_USER"));
        c.setPassword(env("QUENLOR_MYSQL_PASSWORD"));
        c.setDatabase(env("QUENLOR_MYSQL_DATABASE"));
        c.options().setValue(QStringLiteral("UseUnicode"), QStringLiteral("True"));
        c.open();
        const double inserts = insertRows(c, rows);
        c.close();
        const double load = loadDataInfile(rows);
        std::printf("rows: %d (six columns)\n", rows);
        std::printf("prepared single-row inserts, commit every 300: %10.0f rows/s\n", inserts);
        std::printf("LOAD DATA LOCAL INFILE:                        %10.0f rows/s\n", load);
        std::printf("ratio inserts / load data: %.3f (load data %.1fx faster)\n", inserts / load, load / inserts);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "failed: %s\n", e.what());
        return 1;
    }
    return 0;
}
