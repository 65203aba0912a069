#include "platform/db/OdbcStatement.h"

#include "platform/db/DbError.h"
#include "platform/db/DbSqlParser.h"
#include "platform/db/OdbcCursor.h"
#include "platform/db/OdbcSession.h"

#include <cstring>

namespace {

// Above this many characters or bytes a value goes as long data (CLOB/BLOB).
constexpr qsizetype kLongValue = 2000;

SQLSMALLINT sqlTypeForNull(TFieldType type, bool unicode)
{
    switch (type) {
    case ftSmallint: case ftInteger: case ftWord: case ftLargeint: case ftAutoInc: case ftShortint:
    case ftByte: case ftLongWord: case ftBoolean: return SQL_BIGINT;
    case ftFloat: case ftExtended: case ftCurrency: return SQL_DOUBLE;
    case ftBCD: case ftFMTBcd: return SQL_NUMERIC;
    case ftDate: return SQL_TYPE_DATE;
    case ftTime: return SQL_TYPE_TIME;
    case ftDateTime: case ftTimeStamp: case ftOraTimeStamp: return SQL_TYPE_TIMESTAMP;
    case ftBytes: case ftVarBytes: return SQL_VARBINARY;
    case ftBlob: case ftOraBlob: case ftGraphic: case ftTypedBinary: return SQL_LONGVARBINARY;
    case ftMemo: case ftWideMemo: case ftOraClob: case ftFmtMemo: return unicode ? SQL_WLONGVARCHAR : SQL_LONGVARCHAR;
    default: return unicode ? SQL_WVARCHAR : SQL_VARCHAR;
    }
}

TIMESTAMP_STRUCT toStruct(const DbTimeStamp& t)
{
    TIMESTAMP_STRUCT s{};
    s.year = static_cast<SQLSMALLINT>(t.year);
    s.month = static_cast<SQLUSMALLINT>(t.month);
    s.day = static_cast<SQLUSMALLINT>(t.day);
    s.hour = static_cast<SQLUSMALLINT>(t.hour);
    s.minute = static_cast<SQLUSMALLINT>(t.minute);
    s.second = static_cast<SQLUSMALLINT>(t.second);
    s.fraction = static_cast<SQLUINTEGER>(t.microsecond) * 1000u;
    return s;
}

} // namespace

OdbcStatement::OdbcStatement(OdbcSession* session, const QString& sql, const DbQueryOptions& options)
    : m_session(session), m_options(options)
{
    const DbParsedSql parsed = DbSqlParser::parse(sql);
    m_parameterCount = static_cast<int>(parsed.names.size());
    session->check(SQLAllocHandle(SQL_HANDLE_STMT, session->handle(), &m_stmt), SQL_HANDLE_DBC, session->handle(),
                   QStringLiteral("Cannot create a statement"));
    bool ok = false;
    const int timeout = options.option(session->providerName(), QStringLiteral("CommandTimeout")).toInt(&ok);
    if (ok && timeout > 0)
        SQLSetStmtAttr(m_stmt, SQL_ATTR_QUERY_TIMEOUT, reinterpret_cast<SQLPOINTER>(static_cast<SQLULEN>(timeout)),
                       0);
    SQLRETURN rc;
    if (session->unicode()) {
        std::vector<SQLWCHAR> text = odbc::wide(parsed.positionalSql);
        rc = SQLPrepareW(m_stmt, text.data(), SQL_NTS);
    } else {
        QByteArray text = parsed.positionalSql.toUtf8();
        rc = SQLPrepare(m_stmt, reinterpret_cast<SQLCHAR*>(text.data()), SQL_NTS);
    }
    if (!odbc::ok(rc)) {
        try {
            session->raise(SQL_HANDLE_STMT, m_stmt, QString());
        } catch (...) {
            SQLFreeHandle(SQL_HANDLE_STMT, m_stmt);
            m_stmt = SQL_NULL_HSTMT;
            throw;
        }
    }
}

OdbcStatement::~OdbcStatement()
{
    if (m_stmt != SQL_NULL_HSTMT)
        SQLFreeHandle(SQL_HANDLE_STMT, m_stmt);
}

void OdbcStatement::closeResult() { SQLFreeStmt(m_stmt, SQL_CLOSE); }

void OdbcStatement::bindRow(const DbParamList& params, int row)
{
    SQLFreeStmt(m_stmt, SQL_RESET_PARAMS);
    m_bound.assign(static_cast<size_t>(params.count()), Bound());
    const bool unicode = m_session->unicode();
    for (int i = 0; i < params.count(); ++i) {
        const DbParam& p = params.at(i);
        const DbValue& v = p.valueAt(row);
        Bound& b = m_bound[static_cast<size_t>(i)];
        SQLSMALLINT cType = SQL_C_CHAR, sqlType = SQL_VARCHAR, digits = 0;
        SQLULEN columnSize = 0;
        const auto put = [&b](const void* data, size_t size) {
            b.data = QByteArray(static_cast<const char*>(data), static_cast<qsizetype>(size));
            b.indicator = static_cast<SQLLEN>(size);
        };
        switch (v.kind()) {
        case DbValue::Kind::Null:
            sqlType = sqlTypeForNull(p.dataType(), unicode);
            // Drivers check the C type against the SQL type even for NULL.
            if (sqlType == SQL_VARBINARY || sqlType == SQL_LONGVARBINARY)
                cType = SQL_C_BINARY;
            else if (sqlType == SQL_WVARCHAR || sqlType == SQL_WLONGVARCHAR)
                cType = SQL_C_WCHAR;
            columnSize = 1;
            b.data = QByteArray(1, '\0');
            b.indicator = SQL_NULL_DATA;
            break;
        case DbValue::Kind::Boolean:
        case DbValue::Kind::Integer: {
            const SQLBIGINT n = v.toInt64();
            cType = SQL_C_SBIGINT;
            sqlType = SQL_BIGINT;
            columnSize = 19;
            put(&n, sizeof n);
            break;
        }
        case DbValue::Kind::Float: {
            const double d = v.toDouble();
            cType = SQL_C_DOUBLE;
            sqlType = SQL_DOUBLE;
            columnSize = 15;
            put(&d, sizeof d);
            break;
        }
        case DbValue::Kind::Decimal: {
            const QByteArray text = v.toDecimalText().toLatin1();
            const qsizetype point = text.indexOf('.');
            qsizetype digitCount = 0;
            for (char c : text)
                digitCount += (c >= '0' && c <= '9') ? 1 : 0;
            sqlType = SQL_NUMERIC;
            columnSize = static_cast<SQLULEN>(std::max<qsizetype>(digitCount, 1));
            digits = static_cast<SQLSMALLINT>(point < 0 ? 0 : text.size() - point - 1);
            put(text.constData(), static_cast<size_t>(text.size()));
            break;
        }
        case DbValue::Kind::String: {
            const QString s = v.toString();
            const bool isLong = p.isLargeObject() || s.size() > kLongValue;
            if (unicode) {
                cType = SQL_C_WCHAR;
                sqlType = isLong ? SQL_WLONGVARCHAR : SQL_WVARCHAR;
                put(s.utf16(), static_cast<size_t>(s.size()) * sizeof(char16_t));
            } else {
                const QByteArray u = s.toUtf8();
                sqlType = isLong ? SQL_LONGVARCHAR : SQL_VARCHAR;
                put(u.constData(), static_cast<size_t>(u.size()));
            }
            columnSize = static_cast<SQLULEN>(std::max<qsizetype>(s.size(), 1));
            break;
        }
        case DbValue::Kind::Bytes: {
            const QByteArray bytes = v.toBytes();
            cType = SQL_C_BINARY;
            sqlType = p.isLargeObject() || bytes.size() > kLongValue ? SQL_LONGVARBINARY : SQL_VARBINARY;
            columnSize = static_cast<SQLULEN>(std::max<qsizetype>(bytes.size(), 1));
            put(bytes.constData(), static_cast<size_t>(bytes.size()));
            break;
        }
        case DbValue::Kind::Date:
        case DbValue::Kind::Time:
        case DbValue::Kind::DateTime: {
            const DbTimeStamp t = v.toTimeStamp();
            if (v.kind() == DbValue::Kind::Date) {
                DATE_STRUCT d{static_cast<SQLSMALLINT>(t.year), static_cast<SQLUSMALLINT>(t.month),
                              static_cast<SQLUSMALLINT>(t.day)};
                cType = SQL_C_TYPE_DATE;
                sqlType = SQL_TYPE_DATE;
                columnSize = 10;
                put(&d, sizeof d);
            } else if (v.kind() == DbValue::Kind::Time) {
                TIME_STRUCT tm{static_cast<SQLUSMALLINT>(t.hour), static_cast<SQLUSMALLINT>(t.minute),
                               static_cast<SQLUSMALLINT>(t.second)};
                cType = SQL_C_TYPE_TIME;
                sqlType = SQL_TYPE_TIME;
                columnSize = 8;
                put(&tm, sizeof tm);
            } else {
                const TIMESTAMP_STRUCT s = toStruct(t);
                cType = SQL_C_TYPE_TIMESTAMP;
                sqlType = SQL_TYPE_TIMESTAMP;
                columnSize = 26;
                digits = 6;
                put(&s, sizeof s);
            }
            break;
        }
        }
        if (b.data.isEmpty())
            b.data = QByteArray(1, '\0'); // a valid address for empty values
        m_session->check(SQLBindParameter(m_stmt, static_cast<SQLUSMALLINT>(i + 1), SQL_PARAM_INPUT, cType, sqlType,
                                          columnSize, digits, b.data.data(), b.data.size(), &b.indicator),
                         SQL_HANDLE_STMT, m_stmt,
                         QStringLiteral("Cannot bind parameter \"%1\"").arg(p.name()));
    }
}

std::unique_ptr<DbCursor> OdbcStatement::execute(const DbParamList& params)
{
    closeResult();
    m_rowsAffected = 0;
    if (params.count() != m_parameterCount)
        throw DbError(QStringLiteral("The statement has %1 parameters, %2 given")
                          .arg(m_parameterCount)
                          .arg(params.count()));
    const int rows = params.isEmpty() ? 1 : params.arraySize();
    for (int r = 0; r < rows; ++r) {
        if (r > 0)
            closeResult();
        bindRow(params, r);
        const SQLRETURN rc = SQLExecute(m_stmt);
        if (rc != SQL_NO_DATA)
            m_session->check(rc, SQL_HANDLE_STMT, m_stmt, QString());
        SQLSMALLINT columns = 0;
        m_session->check(SQLNumResultCols(m_stmt, &columns), SQL_HANDLE_STMT, m_stmt, QString());
        if (columns > 0) {
            if (r < rows - 1)
                continue;
            if (!m_described) {
                m_session->describeColumns(m_stmt, m_options, m_defs);
                m_described = true;
            }
            return std::make_unique<OdbcCursor>(this, m_defs);
        }
        SQLLEN changed = 0;
        if (odbc::ok(SQLRowCount(m_stmt, &changed)) && changed > 0)
            m_rowsAffected += changed;
    }
    return nullptr;
}
