#include "platform/db/MySqlCursor.h"

#include "platform/db/DbError.h"
#include "platform/db/MySqlLink.h"

#include <mysql.h>

#include <cstring>

namespace {
constexpr unsigned long kInitialBuffer = 256; // longer values are fetched column by column
}

struct MySqlCursor::Column {
    std::vector<char> buffer;
    unsigned long length = 0;
    my_bool isNull = 0;
    my_bool error = 0;
    MYSQL_TIME time{};
    long long integer = 0;
    double floating = 0;
};

MySqlCursor::MySqlCursor(std::shared_ptr<MySqlLink> link, MYSQL_STMT* stmt, bool streaming, bool preciseDecimal,
                         bool enableBoolean)
    : m_link(std::move(link)), m_stmt(stmt), m_streaming(streaming)
{
    MYSQL_RES* meta = mysql_stmt_result_metadata(m_stmt);
    if (!meta)
        m_link->raise(m_stmt);
    const unsigned n = mysql_num_fields(meta);
    MYSQL_FIELD* fields = mysql_fetch_fields(meta);
    MySqlTypeOptions options;
    options.unicode = m_link->unicode;
    options.enableBoolean = enableBoolean;
    options.preciseDecimal = preciseDecimal;
    options.mbMaxLen = m_link->mbMaxLen;
    m_columns.resize(n);
    m_binds.reset(new MYSQL_BIND[n]());
    for (unsigned i = 0; i < n; ++i) {
        DbFieldDef def;
        def.name = m_link->decode(fields[i].name, static_cast<qsizetype>(fields[i].name_length));
        const MySqlReadAs readAs = MySqlTypeMap::describe(fields[i], options, def);
        m_defs.push_back(def);
        m_readAs.push_back(readAs);
        Column& c = m_columns[i];
        MYSQL_BIND& b = m_binds[i];
        b.is_null = &c.isNull;
        b.error = &c.error;
        b.length = &c.length;
        switch (readAs) {
        case MySqlReadAs::Integer:
            b.buffer_type = MYSQL_TYPE_LONGLONG;
            b.buffer = &c.integer;
            b.is_unsigned = (fields[i].flags & UNSIGNED_FLAG) != 0;
            break;
        case MySqlReadAs::Double:
            b.buffer_type = MYSQL_TYPE_DOUBLE;
            b.buffer = &c.floating;
            break;
        case MySqlReadAs::Time:
            b.buffer_type = fields[i].type == MYSQL_TYPE_TIME ? MYSQL_TYPE_TIME
                          : fields[i].type == MYSQL_TYPE_DATE || fields[i].type == MYSQL_TYPE_NEWDATE
                              ? MYSQL_TYPE_DATE : MYSQL_TYPE_DATETIME;
            b.buffer = &c.time;
            break;
        default:
            c.buffer.resize(kInitialBuffer);
            b.buffer_type = readAs == MySqlReadAs::Text || readAs == MySqlReadAs::Decimal ? MYSQL_TYPE_STRING
                                                                                         : MYSQL_TYPE_BLOB;
            b.buffer = c.buffer.data();
            b.buffer_length = kInitialBuffer;
            break;
        }
    }
    mysql_free_result(meta);
    if (mysql_stmt_bind_result(m_stmt, m_binds.get()))
        m_link->raise(m_stmt);
    if (m_streaming)
        m_link->streaming = this;
}

MySqlCursor::~MySqlCursor() { release(); }

void MySqlCursor::release()
{
    if (m_link->streaming == this)
        m_link->streaming = nullptr;
    if (m_onServer && m_link->mysql)
        mysql_stmt_free_result(m_stmt);
    m_onServer = false;
}

void MySqlCursor::detach()
{
    std::vector<DbValue> row;
    while (m_onServer && fetchFromServer(row))
        m_detached.push_back(row);
    release();
}

bool MySqlCursor::fetch(std::vector<DbValue>& row)
{
    if (!m_detached.empty()) {
        row = std::move(m_detached.front());
        m_detached.pop_front();
        return true;
    }
    return m_onServer && fetchFromServer(row);
}

bool MySqlCursor::fetchFromServer(std::vector<DbValue>& row)
{
    m_link->handle();
    const int rc = mysql_stmt_fetch(m_stmt);
    if (rc == MYSQL_NO_DATA) {
        release();
        return false;
    }
    if (rc == 1) {
        m_onServer = false;
        if (m_link->streaming == this)
            m_link->streaming = nullptr;
        m_link->raise(m_stmt);
    }
    row.resize(m_columns.size());
    for (size_t i = 0; i < m_columns.size(); ++i)
        row[i] = valueOf(i);
    return true;
}

DbValue MySqlCursor::valueOf(size_t i)
{
    Column& c = m_columns[i];
    if (c.isNull)
        return DbValue();
    const DbFieldDef& def = m_defs[i];
    switch (m_readAs[i]) {
    case MySqlReadAs::Integer:
        if (def.dataType == ftBoolean)
            return DbValue::boolean(c.integer != 0);
        return DbValue::integer(c.integer);
    case MySqlReadAs::Double:
        return DbValue::floating(c.floating);
    case MySqlReadAs::Time: {
        const MYSQL_TIME& t = c.time;
        DbTimeStamp ts{static_cast<int>(t.year), static_cast<int>(t.month), static_cast<int>(t.day),
                       static_cast<int>(t.hour), static_cast<int>(t.minute), static_cast<int>(t.second),
                       static_cast<int>(t.second_part)};
        if (t.time_type == MYSQL_TIMESTAMP_TIME) {
            if (t.neg || t.hour >= 24) // beyond a time of day: keep the server's text
                return DbValue::string(QStringLiteral("%1%2:%3:%4")
                                           .arg(t.neg ? QStringLiteral("-") : QString())
                                           .arg(t.hour, 2, 10, QLatin1Char('0'))
                                           .arg(t.minute, 2, 10, QLatin1Char('0'))
                                           .arg(t.second, 2, 10, QLatin1Char('0')));
            return DbValue::time(ts);
        }
        if (!ts.isValidDate()) // zero dates of non-strict data
            return DbValue::string(ts.toString());
        return t.time_type == MYSQL_TIMESTAMP_DATE ? DbValue::date(ts) : DbValue::dateTime(ts);
    }
    default:
        break;
    }
    // Variable-length kinds: fetch the whole value when it did not fit.
    QByteArray bytes;
    if (c.length > m_binds[i].buffer_length) {
        bytes.resize(static_cast<qsizetype>(c.length));
        MYSQL_BIND b{};
        b.buffer_type = m_binds[i].buffer_type;
        b.buffer = bytes.data();
        b.buffer_length = c.length;
        unsigned long length = 0;
        b.length = &length;
        if (mysql_stmt_fetch_column(m_stmt, &b, static_cast<unsigned>(i), 0))
            m_link->raise(m_stmt);
    } else {
        bytes = QByteArray(c.buffer.data(), static_cast<qsizetype>(c.length));
    }
    switch (m_readAs[i]) {
    case MySqlReadAs::Decimal:
        if (def.dataType == ftFloat)
            return DbValue::floating(bytes.toDouble());
        return DbValue::decimal(QString::fromLatin1(bytes));
    case MySqlReadAs::Text:
        return DbValue::string(m_link->decode(bytes.constData(), bytes.size()));
    case MySqlReadAs::Bit: {
        uint64_t v = 0;
        for (char ch : bytes)
            v = (v << 8) | static_cast<unsigned char>(ch);
        if (def.dataType == ftFMTBcd)
            return DbValue::decimal(QString::number(v));
        return DbValue::integer(static_cast<int64_t>(v));
    }
    default:
        return DbValue::bytes(bytes);
    }
}
