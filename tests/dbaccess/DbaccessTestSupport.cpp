#include "DbaccessTestSupport.h"

#include "dbaccess/DBConnection.h"
#include "foundation/DbKind.h"
#include "foundation/Exception.h"
#include "records/FieldMetadata.h"
#include "shell/DBOption.h"
#include "shell/GlobalOptions.h"
#include "shell/MainDataModule.h"
#include "shell/StopFlag.h"

QString testEnv(const char* name) { return QString::fromLocal8Bit(qgetenv(name)); }

bool mysqlMissing() { return testEnv("QUENLOR_MYSQL_HOST").isEmpty(); }

bool oracleMissing() { return testEnv("QUENLOR_ORACLE_ODBC").isEmpty() || testEnv("QUENLOR_ORACLE_USER").isEmpty(); }

bool runningInCI() { return qgetenv("CI") == "true"; }

TStringList mysqlSettings()
{
    TStringList s;
    s.add(QStringLiteral("MainProperty_ProviderName=MySQL"));
    s.add(QStringLiteral("MainProperty_Server=") + testEnv("QUENLOR_MYSQL_HOST"));
    s.add(QStringLiteral("MainProperty_Port=") + testEnv("QUENLOR_MYSQL_PORT"));
    s.add(QStringLiteral("MainProperty_Username=") + testEnv("QUENLOR_MYSQL_USER"));
    s.add(QStringLiteral("MainProperty_Password=") + testEnv("QUENLOR_MYSQL_PASSWORD"));
    s.add(QStringLiteral("MainProperty_Database=") + testEnv("QUENLOR_MYSQL_DATABASE"));
    s.add(QStringLiteral("Charset=utf-8"));
    return s;
}

TStringList oracleSettings()
{
    TStringList s;
    s.add(QStringLiteral("MainProperty_ProviderName=Oracle"));
    s.add(QStringLiteral("MainProperty_Username=") + testEnv("QUENLOR_ORACLE_USER"));
    s.add(QStringLiteral("MainProperty_Password=") + testEnv("QUENLOR_ORACLE_PASSWORD"));
    s.add(QStringLiteral("ConnectionString=") + testEnv("QUENLOR_ORACLE_ODBC"));
    s.add(QStringLiteral("UseUnicode=True"));
    return s;
}

namespace {

std::unique_ptr<TDBConnection> openWith(int kind, const TStringList& settings, bool destination)
{
    auto c = std::make_unique<TDBConnection>(kind);
    c->setConnectParams(settings);
    QString failure;
    int code = 0;
    if (!c->openConnect(failure, code, destination))
        throw Exception(QStringLiteral("cannot connect: ") + failure);
    return c;
}

} // namespace

std::unique_ptr<TDBConnection> openMySql(bool destination)
{
    return openWith(dbkind::MySQL, mysqlSettings(), destination);
}

std::unique_ptr<TDBConnection> openOracle(bool destination)
{
    return openWith(dbkind::Oracle, oracleSettings(), destination);
}

void resetRunState()
{
    setOptionDefaultLookup([](const QString& key) { return mainDataModule().globalOptionDefault(key); });
    dbOption() = TDBOption();
    clearStopForTests();
    installDbErrorCodeHook();
}

void dropMySqlTable(TDBConnection& connection, const QString& table)
{
    connection.execSQL(QStringLiteral("DROP TABLE IF EXISTS `%1`").arg(table));
}

std::unique_ptr<TFieldMetadata> makeField(const QString& name, const QString& type, int length, int precision,
                                          int scale, bool notNull)
{
    auto f = std::make_unique<TFieldMetadata>();
    f->setName(name);
    f->setTypeName(type);
    f->setLength(length);
    f->setPrecision(precision);
    f->setScale(scale);
    f->setNotNull(notNull);
    return f;
}
