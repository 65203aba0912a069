#include "platform/db/MySqlStatement.h"

#include "platform/db/DbError.h"
#include "platform/db/DbSqlParser.h"
#include "platform/db/MySqlCursor.h"
#include "platform/db/MySqlLink.h"

#include <mysql.h>

#include <vector>

namespace {

struct ParamBuffer {
    QByteArray bytes;
    MYSQL_TIME time{};
    long long integer = 0;
    double floating = 0;
    signed char tiny = 0;
    unsigned long length = 0;
    my_bool isNull = 0;
};

void fillTime(const DbValue& v, const DbParam& param, MYSQL_TIME& t, enum_field_types& type)
{
    const DbTimeStamp ts = v.toTimeStamp();
    const bool timeOnly = v.kind() == DbValue::Kind::Time;
    const bool dateOnly = v.kind() == DbValue::Kind::Date;
    if (!(timeOnly ? ts.isValidTime() : ts.isValid()))
        throw DbError(QStringLiteral("Parameter %1: %2 is not a valid date and time").arg(param.name(), ts.toString()),
                      0, QStringLiteral("22007"));
    t = MYSQL_TIME{};
    if (!timeOnly) {
        t.year = static_cast<unsigned>(ts.year);
        t.month = static_cast<unsigned>(ts.month);
        t.day = static_cast<unsigned>(ts.day);
    }
    if (!dateOnly) {
        t.hour = static_cast<unsigned>(ts.hour);
        t.minute = static_cast<unsigned>(ts.minute);
        t.second = static_cast<unsigned>(ts.second);
        t.second_part = static_cast<unsigned long>(ts.microsecond);
    }
    t.time_type = timeOnly ? MYSQL_TIMESTAMP_TIME : dateOnly ? MYSQL_TIMESTAMP_DATE : MYSQL_TIMESTAMP_DATETIME;
    type = timeOnly ? MYSQL_TYPE_TIME : dateOnly ? MYSQL_TYPE_DATE : MYSQL_TYPE_DATETIME;
}

bool isTrue(const QString& v) { return v.trimmed().compare(QLatin1String("true"), Qt::CaseInsensitive) == 0; }

} // namespace

MySqlStatement::MySqlStatement(std::shared_ptr<MySqlLink> link, const QString& sql, const DbQueryOptions& options)
    : m_link(std::move(link)), m_options(options)
{
    const QString boolOption = options.option(QStringLiteral("MySQL"), QStringLiteral("EnableBoolean"));
    m_enableBoolean = boolOption.isEmpty() ? m_link->enableBoolean : isTrue(boolOption);
    bool ok = false;
    const int timeout = options.option(QStringLiteral("MySQL"), QStringLiteral("CommandTimeout")).toInt(&ok);
    m_timeout = ok && timeout >= 0 ? timeout : -1;

    m_link->freeForStatement();
    MYSQL* mysql = m_link->handle();
    m_stmt = mysql_stmt_init(mysql);
    if (!m_stmt)
        m_link->raise();
    const QByteArray text = m_link->encode(DbSqlParser::parse(sql, true).positionalSql);
    if (mysql_stmt_prepare(m_stmt, text.constData(), static_cast<unsigned long>(text.size()))) {
        try {
            m_link->raise(m_stmt);
        } catch (...) {
            mysql_stmt_close(m_stmt);
            m_stmt = nullptr;
            throw;
        }
    }
}

// After the session closed, the connector has detached the statement from the
// link; closing it then only frees its memory.
MySqlStatement::~MySqlStatement()
{
    if (m_stmt)
        mysql_stmt_close(m_stmt);
}

void MySqlStatement::applyTimeout()
{
    if (m_timeout < 0 || m_timeout == m_link->statementTimeout)
        return;
    // MariaDB limits every statement; MySQL only SELECTs (in milliseconds).
    const QByteArray sql = m_link->mariadb
        ? QByteArray("SET SESSION max_statement_time=") + QByteArray::number(m_timeout)
        : QByteArray("SET SESSION max_execution_time=") + QByteArray::number(m_timeout * 1000);
    if (mysql_real_query(m_link->handle(), sql.constData(), static_cast<unsigned long>(sql.size())) == 0)
        m_link->statementTimeout = m_timeout;
}

void MySqlStatement::executeRow(const DbParamList& params, int row)
{
    const unsigned expected = mysql_stmt_param_count(m_stmt);
    if (expected != static_cast<unsigned>(params.count()))
        throw DbError(QStringLiteral("The statement has %1 parameters, %2 given").arg(expected).arg(params.count()));
    std::vector<ParamBuffer> buffers(static_cast<size_t>(params.count()));
    std::vector<MYSQL_BIND> binds(static_cast<size_t>(params.count()));
    for (int i = 0; i < params.count(); ++i) {
        const DbParam& param = params.at(i);
        const DbValue& v = param.valueAt(row);
        ParamBuffer& p = buffers[static_cast<size_t>(i)];
        MYSQL_BIND& b = binds[static_cast<size_t>(i)];
        b = MYSQL_BIND{};
        switch (v.kind()) {
        case DbValue::Kind::Null:
            b.buffer_type = MYSQL_TYPE_NULL;
            break;
        case DbValue::Kind::Boolean:
            p.tiny = v.toBool() ? 1 : 0;
            b.buffer_type = MYSQL_TYPE_TINY;
            b.buffer = &p.tiny;
            break;
        case DbValue::Kind::Integer:
            p.integer = v.toInt64();
            b.buffer_type = MYSQL_TYPE_LONGLONG;
            b.buffer = &p.integer;
            break;
        case DbValue::Kind::Float:
            p.floating = v.toDouble();
            b.buffer_type = MYSQL_TYPE_DOUBLE;
            b.buffer = &p.floating;
            break;
        case DbValue::Kind::Date:
        case DbValue::Kind::Time:
        case DbValue::Kind::DateTime: {
            enum_field_types type = MYSQL_TYPE_DATETIME;
            fillTime(v, param, p.time, type);
            b.buffer_type = type;
            b.buffer = &p.time;
            break;
        }
        default: {
            const bool binary = v.kind() == DbValue::Kind::Bytes;
            p.bytes = binary ? v.toBytes()
                             : v.kind() == DbValue::Kind::Decimal ? v.toString().toLatin1() : m_link->encode(v.toString());
            p.length = static_cast<unsigned long>(p.bytes.size());
            b.buffer_type = binary ? MYSQL_TYPE_BLOB
                          : v.kind() == DbValue::Kind::Decimal ? MYSQL_TYPE_NEWDECIMAL : MYSQL_TYPE_STRING;
            b.buffer = p.bytes.data();
            b.buffer_length = p.length;
            b.length = &p.length;
            break;
        }
        }
    }
    if (!binds.empty() && mysql_stmt_bind_param(m_stmt, binds.data()))
        m_link->raise(m_stmt);
    if (mysql_stmt_execute(m_stmt))
        m_link->raise(m_stmt);
}

std::unique_ptr<DbCursor> MySqlStatement::execute(const DbParamList& params)
{
    m_link->freeForStatement();
    m_link->handle();
    applyTimeout();
    m_rowsAffected = 0;
    const int rows = params.isEmpty() ? 1 : params.arraySize();
    for (int r = 0; r < rows; ++r) {
        if (r > 0)
            mysql_stmt_free_result(m_stmt);
        executeRow(params, r);
        const my_ulonglong affected = mysql_stmt_affected_rows(m_stmt);
        if (affected != static_cast<my_ulonglong>(-1))
            m_rowsAffected += static_cast<int64_t>(affected);
    }
    if (mysql_stmt_field_count(m_stmt) == 0)
        return nullptr;
    const bool streaming = m_options.forwardOnly;
    if (!streaming && mysql_stmt_store_result(m_stmt))
        m_link->raise(m_stmt);
    return std::make_unique<MySqlCursor>(m_link, m_stmt, streaming, m_options.preciseDecimal, m_enableBoolean);
}
