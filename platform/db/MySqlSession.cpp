#include "platform/db/MySqlSession.h"

#include "platform/db/DbError.h"
#include "platform/db/DbMemoryCursor.h"
#include "platform/db/MySqlLink.h"
#include "platform/db/MySqlStatement.h"

#include <mysql.h>

namespace {

// The connector's name for a "Charset" option value.
QByteArray charsetName(const QString& charset)
{
    const QString c = charset.trimmed().toLower();
    if (c.isEmpty() || c == QLatin1String("utf-8") || c == QLatin1String("utf8") || c == QLatin1String("utf8mb4"))
        return "utf8mb4";
    return c.toLatin1();
}

} // namespace

const char* MySqlSession::sqlMode()
{
    return "STRICT_ALL_TABLES,STRICT_TRANS_TABLES,NO_ZERO_IN_DATE,NO_ZERO_DATE,"
           "ERROR_FOR_DIVISION_BY_ZERO,NO_ENGINE_SUBSTITUTION";
}

MySqlSession::MySqlSession(const DbConnectSettings& settings) : m_link(std::make_shared<MySqlLink>())
{
    if (settings.boolOption(QStringLiteral("Embedded"), false))
        throw DbError(QStringLiteral("This build has no embedded MySQL server; connect to a server instead "
                                     "(option Embedded=True is not supported)"));
    MYSQL* mysql = mysql_init(nullptr);
    if (!mysql)
        throw DbError(QStringLiteral("Out of memory while creating a MySQL connection"));
    m_link->mysql = mysql;

    m_link->unicode = settings.boolOption(QStringLiteral("UseUnicode"), false);
    m_link->enableBoolean = settings.boolOption(QStringLiteral("EnableBoolean"), false);
    // Text is exchanged as utf8mb4 unless another character set is asked for
    // without Unicode; latin1 is then decoded as such, other sets as UTF-8.
    const QByteArray charset = m_link->unicode ? QByteArray("utf8mb4") : charsetName(settings.option(QStringLiteral("Charset")));
    m_link->latin1 = charset == "latin1";
    mysql_optionsv(mysql, MYSQL_SET_CHARSET_NAME, charset.constData());
    const unsigned connectTimeout = static_cast<unsigned>(settings.intOption(QStringLiteral("ConnectionTimeout"), 15));
    if (connectTimeout > 0)
        mysql_optionsv(mysql, MYSQL_OPT_CONNECT_TIMEOUT, &connectTimeout);
    const unsigned commandTimeout = static_cast<unsigned>(settings.intOption(QStringLiteral("CommandTimeout"), 0));
    if (commandTimeout > 0) {
        mysql_optionsv(mysql, MYSQL_OPT_READ_TIMEOUT, &commandTimeout);
        mysql_optionsv(mysql, MYSQL_OPT_WRITE_TIMEOUT, &commandTimeout);
    }
    const QByteArray init = QByteArray("SET SESSION sql_mode='") + sqlMode() + "'";
    mysql_optionsv(mysql, MYSQL_INIT_COMMAND, init.constData());

    const QByteArray host = settings.server.isEmpty() ? QByteArray("localhost") : settings.server.toUtf8();
    const QByteArray user = settings.userName.toUtf8();
    const QByteArray password = settings.password.toUtf8();
    const QByteArray database = settings.database.toUtf8();
    const unsigned port = settings.port > 0 ? static_cast<unsigned>(settings.port) : 3306u;
    if (!mysql_real_connect(mysql, host.constData(), user.constData(), password.constData(),
                            database.isEmpty() ? nullptr : database.constData(), port, nullptr, 0)) {
        const DbError error(QString::fromUtf8(mysql_error(mysql)), static_cast<int>(mysql_errno(mysql)),
                            QString::fromLatin1(mysql_sqlstate(mysql)));
        mysql_close(mysql);
        m_link->mysql = nullptr;
        throw error;
    }
    MY_CHARSET_INFO info{};
    mysql_get_character_set_info(mysql, &info);
    m_link->mbMaxLen = info.mbmaxlen ? info.mbmaxlen : 1;
    m_link->mariadb = QByteArray(mysql_get_server_info(mysql)).contains("MariaDB");
    mysql_autocommit(mysql, 1);
}

MySqlSession::~MySqlSession()
{
    if (m_link->streaming)
        m_link->streaming = nullptr;
    if (m_link->mysql)
        mysql_close(m_link->mysql);
    m_link->mysql = nullptr;
}

bool MySqlSession::isAlive() const { return m_link->mysql && m_link->alive; }

std::unique_ptr<DbStatement> MySqlSession::prepare(const QString& sql, const DbQueryOptions& options)
{
    return std::make_unique<MySqlStatement>(m_link, sql, options);
}

void MySqlSession::query(const QByteArray& sql)
{
    m_link->freeForStatement();
    if (mysql_real_query(m_link->handle(), sql.constData(), static_cast<unsigned long>(sql.size())))
        m_link->raise();
}

void MySqlSession::startTransaction() { query("START TRANSACTION"); }
void MySqlSession::commit() { query("COMMIT"); }
void MySqlSession::rollback() { query("ROLLBACK"); }

std::unique_ptr<DbCursor> MySqlSession::readAll(const QString& sql, const QStringList& args)
{
    DbQueryOptions options; // buffered: the rows are copied before the statement goes
    MySqlStatement statement(m_link, sql, options);
    DbParamList params = DbParamList::fromStatement(sql, true);
    for (int i = 0; i < params.count(); ++i)
        params.at(i).setAsString(args.value(i));
    std::unique_ptr<DbCursor> cursor = statement.execute(params);
    auto memory = std::make_unique<DbMemoryCursor>(cursor->fieldDefs());
    std::vector<DbValue> row;
    while (cursor->fetch(row))
        memory->addRow(row);
    return memory;
}

QStringList MySqlSession::firstColumn(const QString& sql)
{
    std::unique_ptr<DbCursor> cursor = readAll(sql, {});
    QStringList out;
    std::vector<DbValue> row;
    while (cursor->fetch(row))
        out.append(row[0].toString());
    return out;
}

QStringList MySqlSession::tableNames()
{
    return firstColumn(QStringLiteral("SELECT TABLE_NAME FROM information_schema.TABLES "
                                      "WHERE TABLE_SCHEMA = DATABASE() AND TABLE_TYPE = 'BASE TABLE' "
                                      "ORDER BY TABLE_NAME"));
}

QStringList MySqlSession::databaseNames()
{
    return firstColumn(QStringLiteral("SELECT SCHEMA_NAME FROM information_schema.SCHEMATA ORDER BY SCHEMA_NAME"));
}

std::unique_ptr<DbCursor> MySqlSession::metadata(const QString& kind, const DbRestrictions& restrictions)
{
    // The schema defaults to the connected database.
    QString where = QStringLiteral(" WHERE TABLE_SCHEMA = ");
    QStringList args;
    const auto schema = restrictions.find(QStringLiteral("TABLE_SCHEMA"));
    if (schema != restrictions.end()) {
        where += QStringLiteral(":schema");
        args << schema->second;
    } else {
        where += QStringLiteral("DATABASE()");
    }
    const auto table = restrictions.find(QStringLiteral("TABLE_NAME"));
    if (table != restrictions.end()) {
        where += QStringLiteral(" AND TABLE_NAME = :tab");
        args << table->second;
    }
    const auto catalog = restrictions.find(QStringLiteral("TABLE_CATALOG"));
    if (catalog != restrictions.end()) {
        where += QStringLiteral(" AND TABLE_CATALOG = :cat");
        args << catalog->second;
    }
    QString sql;
    if (kind.compare(QLatin1String("Tables"), Qt::CaseInsensitive) == 0) {
        sql = QStringLiteral("SELECT TABLE_CATALOG, TABLE_SCHEMA, TABLE_NAME, TABLE_TYPE "
                             "FROM information_schema.TABLES") + where
            + QStringLiteral(" AND TABLE_TYPE = 'BASE TABLE' ORDER BY TABLE_SCHEMA, TABLE_NAME");
    } else if (kind.compare(QLatin1String("COLUMNS"), Qt::CaseInsensitive) == 0) {
        sql = QStringLiteral("SELECT TABLE_CATALOG, TABLE_SCHEMA, TABLE_NAME, COLUMN_NAME, "
                             "ORDINAL_POSITION AS POSITION, DATA_TYPE, "
                             "CHARACTER_MAXIMUM_LENGTH AS DATA_LENGTH, NUMERIC_PRECISION AS DATA_PRECISION, "
                             "NUMERIC_SCALE AS DATA_SCALE, IF(IS_NULLABLE = 'YES', 1, 0) AS NULLABLE, "
                             "COLUMN_DEFAULT AS DEFAULT_VALUE, COLUMN_TYPE AS MySQL_Type "
                             "FROM information_schema.COLUMNS") + where
            + QStringLiteral(" ORDER BY TABLE_SCHEMA, TABLE_NAME, ORDINAL_POSITION");
    } else if (kind.compare(QLatin1String("Indexes"), Qt::CaseInsensitive) == 0) {
        sql = QStringLiteral("SELECT TABLE_CATALOG, TABLE_SCHEMA, TABLE_NAME, TABLE_CATALOG AS INDEX_CATALOG, "
                             "INDEX_SCHEMA, INDEX_NAME, IF(MIN(NON_UNIQUE) = 0, 1, 0) AS `UNIQUE`, "
                             "IF(INDEX_NAME = 'PRIMARY', 'PRIMARY', '') AS ISPRIMARY "
                             "FROM information_schema.STATISTICS") + where
            + QStringLiteral(" GROUP BY TABLE_CATALOG, TABLE_SCHEMA, TABLE_NAME, INDEX_SCHEMA, INDEX_NAME "
                             "ORDER BY TABLE_SCHEMA, TABLE_NAME, INDEX_NAME <> 'PRIMARY', INDEX_NAME");
    } else if (kind.compare(QLatin1String("IndexColumns"), Qt::CaseInsensitive) == 0) {
        sql = QStringLiteral("SELECT TABLE_CATALOG, TABLE_SCHEMA, TABLE_NAME, TABLE_CATALOG AS INDEX_CATALOG, "
                             "INDEX_SCHEMA, INDEX_NAME, COLUMN_NAME, SEQ_IN_INDEX AS COLUMN_POSITION, "
                             "IF(COLLATION = 'D', 'DESC', 'ASC') AS SORT_ORDER "
                             "FROM information_schema.STATISTICS") + where
            + QStringLiteral(" ORDER BY TABLE_SCHEMA, TABLE_NAME, INDEX_NAME <> 'PRIMARY', INDEX_NAME, SEQ_IN_INDEX");
    } else {
        throw DbError(QStringLiteral("Unknown metadata kind \"%1\"").arg(kind));
    }
    return readAll(sql, args);
}
