#include "platform/db/SqliteStatement.h"

#include "platform/db/DbError.h"
#include "platform/db/DbSqlParser.h"
#include "platform/db/SqliteCursor.h"
#include "platform/db/SqliteSession.h"
#include "platform/db/SqliteTypeMap.h"

#include <sqlite3.h>

SqliteStatement::SqliteStatement(SqliteSession* session, const QString& sql, const DbQueryOptions& options)
    : m_session(session), m_options(options)
{
    const QByteArray text = DbSqlParser::parse(sql).positionalSql.toUtf8();
    const char* tail = nullptr;
    if (sqlite3_prepare_v2(session->handle(), text.constData(), static_cast<int>(text.size()), &m_stmt, &tail)
        != SQLITE_OK)
        session->raise();
    if (!m_stmt)
        throw DbError(QStringLiteral("The statement text holds no statement"));
    if (tail && !QByteArray(tail).trimmed().isEmpty() && QByteArray(tail).trimmed() != ";") {
        sqlite3_finalize(m_stmt);
        m_stmt = nullptr;
        throw DbError(QStringLiteral("Only one statement can be executed at a time"));
    }
}

SqliteStatement::~SqliteStatement() { sqlite3_finalize(m_stmt); }

void SqliteStatement::bindRow(const DbParamList& params, int row)
{
    sqlite3_reset(m_stmt);
    sqlite3_clear_bindings(m_stmt);
    const int expected = sqlite3_bind_parameter_count(m_stmt);
    if (expected != params.count())
        throw DbError(QStringLiteral("The statement has %1 parameters, %2 given").arg(expected).arg(params.count()));
    for (int i = 0; i < params.count(); ++i) {
        const DbValue& v = params.at(i).valueAt(row);
        const int pos = i + 1;
        int rc = SQLITE_OK;
        switch (v.kind()) {
        case DbValue::Kind::Null: rc = sqlite3_bind_null(m_stmt, pos); break;
        case DbValue::Kind::Boolean:
        case DbValue::Kind::Integer: rc = sqlite3_bind_int64(m_stmt, pos, v.toInt64()); break;
        case DbValue::Kind::Float: rc = sqlite3_bind_double(m_stmt, pos, v.toDouble()); break;
        case DbValue::Kind::Bytes: {
            const QByteArray b = v.toBytes();
            rc = sqlite3_bind_blob64(m_stmt, pos, b.constData(), static_cast<sqlite3_uint64>(b.size()),
                                     SQLITE_TRANSIENT);
            break;
        }
        default: {
            const QByteArray t = v.toString().toUtf8();
            rc = sqlite3_bind_text64(m_stmt, pos, t.constData(), static_cast<sqlite3_uint64>(t.size()),
                                     SQLITE_TRANSIENT, SQLITE_UTF8);
            break;
        }
        }
        if (rc != SQLITE_OK)
            m_session->raise();
    }
}

bool SqliteStatement::step()
{
    const int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    m_session->raise();
}

std::unique_ptr<DbCursor> SqliteStatement::execute(const DbParamList& params)
{
    m_rowsAffected = 0;
    const int rows = params.isEmpty() ? 1 : params.arraySize();
    const bool hasColumns = sqlite3_column_count(m_stmt) > 0;
    for (int r = 0; r < rows; ++r) {
        bindRow(params, r);
        const bool hasRow = step();
        if (!hasColumns)
            m_rowsAffected += sqlite3_changes(sqlite3_db_handle(m_stmt));
        if (hasColumns && r == rows - 1)
            return std::make_unique<SqliteCursor>(this, hasRow);
    }
    return nullptr;
}

std::vector<DbFieldDef> SqliteStatement::describeColumns() const
{
    std::vector<DbFieldDef> defs;
    const int n = sqlite3_column_count(m_stmt);
    for (int i = 0; i < n; ++i) {
        DbFieldDef def;
        def.name = QString::fromUtf8(sqlite3_column_name(m_stmt, i));
        const char* declared = sqlite3_column_decltype(m_stmt, i);
        def.nativeType = QString::fromUtf8(declared ? declared : "");
        SqliteTypeMap::describe(def.nativeType, def);
        if (def.dataType == ftUnknown)
            def.dataType = SqliteTypeMap::fromStorageClass(sqlite3_column_type(m_stmt, i));
        if (def.dataType == ftFMTBcd && !m_options.preciseDecimal)
            def.dataType = ftFloat;
        defs.push_back(def);
    }
    return defs;
}

DbValue SqliteStatement::columnValue(int column, const DbFieldDef& def) const
{
    const int storage = sqlite3_column_type(m_stmt, column);
    if (storage == SQLITE_NULL)
        return DbValue();
    if (storage == SQLITE_BLOB) {
        const void* data = sqlite3_column_blob(m_stmt, column);
        return DbValue::bytes(QByteArray(static_cast<const char*>(data), sqlite3_column_bytes(m_stmt, column)));
    }
    if (storage == SQLITE_INTEGER) {
        const int64_t v = sqlite3_column_int64(m_stmt, column);
        if (def.dataType == ftBoolean)
            return DbValue::boolean(v != 0);
        if (def.dataType == ftFMTBcd)
            return DbValue::decimal(QString::number(v));
        return DbValue::integer(v);
    }
    if (storage == SQLITE_FLOAT) {
        const double v = sqlite3_column_double(m_stmt, column);
        return DbValue::floating(v);
    }
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(m_stmt, column)),
                                           sqlite3_column_bytes(m_stmt, column));
    // Typed text (a date column, exact digits) is returned typed when it
    // parses, else as the text it is; nothing is lost either way.
    try {
        switch (def.dataType) {
        case ftDate: return DbValue::date(DbTimeStamp::parse(text));
        case ftTime: return DbValue::time(DbTimeStamp::parse(text));
        case ftDateTime: return DbValue::dateTime(DbTimeStamp::parse(text));
        case ftFMTBcd: return DbValue::decimal(text);
        default: break;
        }
    } catch (const Exception&) {
    }
    return DbValue::string(text);
}
