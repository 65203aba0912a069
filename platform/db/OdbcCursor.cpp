#include "platform/db/OdbcCursor.h"

#include "platform/db/DbError.h"
#include "platform/db/OdbcSession.h"
#include "platform/db/OdbcStatement.h"

#include <cstring>

namespace {

constexpr size_t kMaxBlockRows = 500;
constexpr size_t kMaxBlockBytes = 4 * 1024 * 1024;
constexpr SQLLEN kMaxBoundText = 8000; // longer values are read with SQLGetData

bool isInteger(TFieldType t)
{
    return t == ftSmallint || t == ftInteger || t == ftWord || t == ftLargeint || t == ftAutoInc || t == ftShortint
        || t == ftByte || t == ftLongWord;
}
bool isDateTime(TFieldType t)
{
    return t == ftDate || t == ftTime || t == ftDateTime || t == ftTimeStamp || t == ftOraTimeStamp;
}
bool isBinary(TFieldType t)
{
    return t == ftBytes || t == ftVarBytes || t == ftBlob || t == ftOraBlob || t == ftGraphic || t == ftTypedBinary;
}
bool isLong(TFieldType t)
{
    return t == ftBlob || t == ftOraBlob || t == ftGraphic || t == ftTypedBinary || t == ftMemo || t == ftWideMemo
        || t == ftOraClob || t == ftFmtMemo;
}

// Decimal text as drivers give it ("-.5", "1,25", "1.5E+40") in plain notation.
QString plainDecimal(QString text)
{
    text = text.trimmed();
    text.replace(u',', u'.');
    QString sign;
    if (text.startsWith(u'-') || text.startsWith(u'+')) {
        if (text.startsWith(u'-'))
            sign = QStringLiteral("-");
        text.remove(0, 1);
    }
    int exponent = 0;
    const qsizetype e = text.indexOf(u'E', 0, Qt::CaseInsensitive);
    if (e >= 0) {
        bool ok = false;
        exponent = text.mid(e + 1).toInt(&ok);
        if (!ok)
            throw DbError(QStringLiteral("Unreadable number \"%1\"").arg(text));
        text.truncate(e);
    }
    qsizetype point = text.indexOf(u'.');
    QString digits = text;
    if (point >= 0)
        digits.remove(point, 1);
    else
        point = text.size();
    point += exponent;
    while (point <= 0) {
        digits.prepend(u'0');
        ++point;
    }
    while (point > digits.size())
        digits.append(u'0');
    QString out = digits.left(point) + u'.' + digits.mid(point);
    while (out.endsWith(u'0') && out.contains(u'.'))
        out.chop(1);
    if (out.endsWith(u'.'))
        out.chop(1);
    while (out.size() > 1 && out.startsWith(u'0') && out.at(1) != u'.')
        out.remove(0, 1);
    if (out.isEmpty())
        out = QStringLiteral("0");
    return out == QLatin1String("0") ? out : sign + out;
}

DbTimeStamp fromStruct(const TIMESTAMP_STRUCT& s)
{
    DbTimeStamp t;
    t.year = s.year;
    t.month = s.month;
    t.day = s.day;
    t.hour = s.hour;
    t.minute = s.minute;
    t.second = s.second;
    t.microsecond = static_cast<int>(s.fraction / 1000u);
    return t;
}

} // namespace

OdbcCursor::OdbcCursor(OdbcStatement* statement, std::vector<DbFieldDef> defs)
    : m_statement(statement), m_defs(std::move(defs))
{
    const bool unicode = statement->session()->unicode();
    m_columns.resize(m_defs.size());
    size_t rowBytes = 0;
    for (size_t i = 0; i < m_defs.size(); ++i) {
        const DbFieldDef& d = m_defs[i];
        Column& c = m_columns[i];
        if (isInteger(d.dataType) || d.dataType == ftBoolean) {
            c.cType = SQL_C_SBIGINT;
            c.width = sizeof(SQLBIGINT);
        } else if (d.dataType == ftFloat || d.dataType == ftCurrency || d.dataType == ftExtended) {
            c.cType = SQL_C_DOUBLE;
            c.width = sizeof(double);
        } else if (d.dataType == ftFMTBcd || d.dataType == ftBCD) {
            c.cType = SQL_C_CHAR;
            c.width = 200;
        } else if (isDateTime(d.dataType)) {
            c.cType = SQL_C_TYPE_TIMESTAMP;
            c.width = sizeof(TIMESTAMP_STRUCT);
        } else if (isBinary(d.dataType)) {
            c.cType = SQL_C_BINARY;
            c.width = isLong(d.dataType) || d.size <= 0 || d.size > kMaxBoundText ? 0 : d.size;
        } else {
            c.cType = unicode ? SQL_C_WCHAR : SQL_C_CHAR;
            // Room for four bytes a character: UTF-8, or UTF-16 surrogate pairs.
            const SQLLEN chars = d.dataType == ftOraInterval || d.dataType == ftGuid ? 64 : d.size;
            c.width = isLong(d.dataType) || chars <= 0 || chars > kMaxBoundText ? 0 : chars * 4 + 4;
        }
        if (c.width == 0)
            m_getData = true;
        rowBytes += static_cast<size_t>(c.width) + sizeof(SQLLEN);
    }
    if (m_getData)
        return;
    // Column-wise bound arrays: one SQLFetch brings a block of rows.
    const size_t rows = std::max<size_t>(1, std::min(kMaxBlockRows, kMaxBlockBytes / std::max<size_t>(rowBytes, 1)));
    SQLHSTMT stmt = statement->handle();
    OdbcSession* session = statement->session();
    session->check(SQLSetStmtAttr(stmt, SQL_ATTR_ROW_BIND_TYPE, reinterpret_cast<SQLPOINTER>(SQL_BIND_BY_COLUMN), 0),
                   SQL_HANDLE_STMT, stmt, QString());
    session->check(SQLSetStmtAttr(stmt, SQL_ATTR_ROW_ARRAY_SIZE, reinterpret_cast<SQLPOINTER>(rows), 0),
                   SQL_HANDLE_STMT, stmt, QString());
    session->check(SQLSetStmtAttr(stmt, SQL_ATTR_ROWS_FETCHED_PTR, &m_fetched, 0), SQL_HANDLE_STMT, stmt, QString());
    for (size_t i = 0; i < m_columns.size(); ++i) {
        Column& c = m_columns[i];
        c.buffer.assign(rows * static_cast<size_t>(c.width), 0);
        c.indicator.assign(rows, 0);
        session->check(SQLBindCol(stmt, static_cast<SQLUSMALLINT>(i + 1), c.cType, c.buffer.data(), c.width,
                                  c.indicator.data()),
                       SQL_HANDLE_STMT, stmt, QString());
    }
}

OdbcCursor::~OdbcCursor() { finish(); }

void OdbcCursor::finish()
{
    if (m_done)
        return;
    m_done = true;
    SQLHSTMT stmt = m_statement->handle();
    m_statement->closeResult();
    if (!m_getData) {
        SQLFreeStmt(stmt, SQL_UNBIND);
        SQLSetStmtAttr(stmt, SQL_ATTR_ROW_ARRAY_SIZE, reinterpret_cast<SQLPOINTER>(1), 0);
        SQLSetStmtAttr(stmt, SQL_ATTR_ROWS_FETCHED_PTR, nullptr, 0);
    }
}

bool OdbcCursor::fetchBlock()
{
    if (m_done)
        return false;
    SQLHSTMT stmt = m_statement->handle();
    const SQLRETURN rc = SQLFetch(stmt);
    if (rc == SQL_NO_DATA) {
        finish();
        return false;
    }
    m_statement->session()->check(rc, SQL_HANDLE_STMT, stmt, QString());
    m_rowsInBlock = m_getData ? 1 : static_cast<size_t>(m_fetched);
    m_nextInBlock = 0;
    if (m_rowsInBlock == 0) {
        finish();
        return false;
    }
    return true;
}

bool OdbcCursor::fetch(std::vector<DbValue>& row)
{
    if (m_isDetached) {
        if (m_nextDetached >= m_detached.size())
            return false;
        row = std::move(m_detached[m_nextDetached++]);
        return true;
    }
    if (m_nextInBlock >= m_rowsInBlock && !fetchBlock())
        return false;
    row.resize(m_defs.size());
    for (size_t i = 0; i < m_defs.size(); ++i)
        row[i] = m_getData ? longValue(i) : boundValue(i, m_nextInBlock);
    ++m_nextInBlock;
    return true;
}

void OdbcCursor::detach()
{
    if (m_isDetached)
        return;
    std::vector<DbValue> row;
    std::vector<std::vector<DbValue>> rows;
    while (fetch(row))
        rows.push_back(row);
    finish();
    m_detached = std::move(rows);
    m_isDetached = true;
}

DbValue OdbcCursor::boundValue(size_t column, size_t row) const
{
    const Column& c = m_columns[column];
    const SQLLEN length = c.indicator[row];
    if (length == SQL_NULL_DATA)
        return DbValue();
    const SQLLEN room = c.cType == SQL_C_BINARY ? c.width
                      : c.cType == SQL_C_WCHAR ? c.width - static_cast<SQLLEN>(sizeof(SQLWCHAR))
                      : c.width - 1;
    const bool variable = c.cType == SQL_C_CHAR || c.cType == SQL_C_WCHAR || c.cType == SQL_C_BINARY;
    // Buffers are sized for the column; a longer value is an error, never a cut.
    if (variable && (length == SQL_NO_TOTAL || length > room))
        throw DbError(QStringLiteral("The value of field \"%1\" is longer than its column allows")
                          .arg(m_defs[column].name));
    return convert(column, c.buffer.data() + row * static_cast<size_t>(c.width), length);
}

DbValue OdbcCursor::longValue(size_t column)
{
    const Column& c = m_columns[column];
    SQLHSTMT stmt = m_statement->handle();
    OdbcSession* session = m_statement->session();
    const SQLUSMALLINT number = static_cast<SQLUSMALLINT>(column + 1);
    if (c.cType == SQL_C_SBIGINT || c.cType == SQL_C_DOUBLE || c.cType == SQL_C_TYPE_TIMESTAMP) {
        char buffer[sizeof(TIMESTAMP_STRUCT) + 8] = {0};
        SQLLEN length = 0;
        session->check(SQLGetData(stmt, number, c.cType, buffer, sizeof buffer, &length), SQL_HANDLE_STMT, stmt,
                       QString());
        return length == SQL_NULL_DATA ? DbValue() : convert(column, buffer, length);
    }
    // Text and binary in chunks; text chunks end with a terminator that is not data.
    const size_t terminator = c.cType == SQL_C_WCHAR ? sizeof(SQLWCHAR) : c.cType == SQL_C_CHAR ? 1 : 0;
    QByteArray data;
    std::vector<char> chunk(256 * 1024);
    for (;;) {
        SQLLEN length = 0;
        const SQLRETURN rc = SQLGetData(stmt, number, c.cType, chunk.data(), static_cast<SQLLEN>(chunk.size()),
                                        &length);
        if (rc == SQL_NO_DATA)
            break;
        session->check(rc, SQL_HANDLE_STMT, stmt, QString());
        if (length == SQL_NULL_DATA)
            return DbValue();
        const size_t room = chunk.size() - terminator;
        size_t got = (length == SQL_NO_TOTAL || static_cast<size_t>(length) > room) ? room
                                                                                     : static_cast<size_t>(length);
        if (terminator == sizeof(SQLWCHAR))
            got -= got % sizeof(SQLWCHAR);
        data.append(chunk.data(), static_cast<qsizetype>(got));
        if (rc == SQL_SUCCESS)
            break;
    }
    return convert(column, data.constData(), data.size());
}

DbValue OdbcCursor::convert(size_t column, const char* data, SQLLEN length) const
{
    const Column& c = m_columns[column];
    const DbFieldDef& def = m_defs[column];
    switch (c.cType) {
    case SQL_C_SBIGINT: {
        SQLBIGINT n = 0;
        std::memcpy(&n, data, sizeof n);
        return def.dataType == ftBoolean ? DbValue::boolean(n != 0) : DbValue::integer(n);
    }
    case SQL_C_DOUBLE: {
        double d = 0;
        std::memcpy(&d, data, sizeof d);
        return DbValue::floating(d);
    }
    case SQL_C_TYPE_TIMESTAMP: {
        TIMESTAMP_STRUCT s{};
        std::memcpy(&s, data, sizeof s);
        const DbTimeStamp t = fromStruct(s);
        if (def.dataType == ftDate)
            return DbValue::date(t);
        if (def.dataType == ftTime)
            return DbValue::time(t);
        return DbValue::dateTime(t);
    }
    case SQL_C_BINARY: return DbValue::bytes(QByteArray(data, static_cast<qsizetype>(length)));
    case SQL_C_WCHAR: {
        const QString s = odbc::fromWide(reinterpret_cast<const SQLWCHAR*>(data),
                                         static_cast<qsizetype>(length) / static_cast<qsizetype>(sizeof(SQLWCHAR)));
        return DbValue::string(s);
    }
    default: {
        const QString s = QString::fromUtf8(data, static_cast<qsizetype>(length));
        if (def.dataType == ftFMTBcd || def.dataType == ftBCD)
            return DbValue::decimal(plainDecimal(s));
        return DbValue::string(s);
    }
    }
}
