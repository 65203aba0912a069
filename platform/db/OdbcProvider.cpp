#include "platform/db/OdbcProvider.h"

#include "platform/db/DbBuiltinProviders.h"
#include "platform/db/DbError.h"
#include "platform/db/DbProviderRegistry.h"
#include "platform/db/OracleSession.h"

bool OdbcProvider::takesPort() const { return m_kind != Kind::Generic; }

bool OdbcProvider::takesDatabase() const { return m_kind != Kind::Oracle; }

QString OdbcProvider::connectionString(const DbConnectSettings& s) const
{
    const QString given = s.option(QStringLiteral("ConnectionString")).trimmed();
    if (m_kind == Kind::Oracle) {
        const QString mode = s.option(QStringLiteral("ConnectMode")).trimmed();
        if (!mode.isEmpty() && mode.compare(QLatin1String("cmNormal"), Qt::CaseInsensitive) != 0)
            throw DbError(QStringLiteral("Oracle connect mode \"%1\" is not supported; only cmNormal can be used")
                              .arg(mode));
    }
    if (!given.isEmpty())
        return given;
    QString driver = s.option(QStringLiteral("Driver")).trimmed();
    if (driver.isEmpty() && m_kind != Kind::Generic)
        driver = m_name;
    if (!driver.isEmpty() && !odbc::installedDrivers().contains(driver, Qt::CaseInsensitive))
        throw DbError(QStringLiteral("The provider \"%1\" needs the ODBC driver \"%2\", which is not installed")
                          .arg(m_name, driver));
    if (m_kind == Kind::Oracle) {
        // Client mode: the server is a service name (TNS alias); direct mode addresses the listener.
        QString dbq = s.server;
        if (s.boolOption(QStringLiteral("Direct"), false)) {
            const QString service = s.database.isEmpty() ? s.option(QStringLiteral("ServiceName")) : s.database;
            dbq = QStringLiteral("//%1:%2/%3").arg(s.server).arg(s.port > 0 ? s.port : 1521).arg(service);
        }
        return QStringLiteral("Driver={%1};DBQ=%2").arg(driver, odbc::quoteAttribute(dbq));
    }
    if (driver.isEmpty()) {
        if (s.server.isEmpty())
            throw DbError(QStringLiteral("The provider \"%1\" needs a data source name or a driver").arg(m_name));
        QString cs = QStringLiteral("DSN=") + odbc::quoteAttribute(s.server);
        if (!s.database.isEmpty())
            cs += QStringLiteral(";Database=") + odbc::quoteAttribute(s.database);
        return cs;
    }
    QString cs = QStringLiteral("Driver={%1}").arg(driver);
    if (!s.server.isEmpty())
        cs += QStringLiteral(";Server=") + odbc::quoteAttribute(s.server);
    if (s.port > 0)
        cs += QStringLiteral(";Port=%1").arg(s.port);
    if (!s.database.isEmpty())
        cs += QStringLiteral(";Database=") + odbc::quoteAttribute(s.database);
    return cs;
}

std::unique_ptr<DbSession> OdbcProvider::connect(const DbConnectSettings& s)
{
    const QString cs = connectionString(s);
    const bool unicode = s.boolOption(QStringLiteral("UseUnicode"), false);
    const int timeout = s.intOption(QStringLiteral("ConnectionTimeout"), 0);
    if (m_kind == Kind::Oracle)
        return std::make_unique<OracleSession>(m_name, cs, s.userName, s.password, unicode, timeout);
    return std::make_unique<OdbcSession>(m_name, cs, s.userName, s.password, unicode, timeout);
}

void registerOdbcProviders(DbProviderRegistry& registry)
{
    registry.registerProvider(std::make_unique<OdbcProvider>(QStringLiteral("ODBC"), OdbcProvider::Kind::Generic));
    registry.registerProvider(std::make_unique<OdbcProvider>(QStringLiteral("Oracle"), OdbcProvider::Kind::Oracle));
    for (const char* name : {"Access", "SQL Server", "DB2", "PostgreSQL", "InterBase"})
        registry.registerProvider(std::make_unique<OdbcProvider>(QLatin1String(name), OdbcProvider::Kind::Named));
}
