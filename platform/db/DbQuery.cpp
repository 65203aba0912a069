#include "platform/db/DbQuery.h"

#include "platform/db/DbConnection.h"
#include "platform/db/DbError.h"
#include "platform/db/DbMemoryCursor.h"

namespace {
bool sameOptions(const DbQueryOptions& a, const DbQueryOptions& b)
{
    return a.forwardOnly == b.forwardOnly && a.preciseDecimal == b.preciseDecimal && a.options == b.options;
}
}

DbQuery::DbQuery(DbConnection* connection) : m_connection(connection) {}

DbQuery::~DbQuery()
{
    // The cursor may read through the statement, so it goes first.
    m_cursor.reset();
    m_statement.reset();
}

void DbQuery::setSQL(const QString& sql)
{
    if (sql == m_sql)
        return;
    close();
    m_statement.reset();
    m_sql = sql;
    const bool backslash = m_connection
        && m_connection->providerName().compare(QLatin1String("MySQL"), Qt::CaseInsensitive) == 0;
    m_params = DbParamList::fromStatement(sql, backslash);
}

void DbQuery::setForwardOnly(bool on)
{
    if (on != m_options.forwardOnly)
        close();
    m_options.forwardOnly = on;
}

void DbQuery::setPreciseDecimal(bool on) { m_options.preciseDecimal = on; }

void DbQuery::prepareStatement()
{
    if (!m_connection)
        throw DbError(QStringLiteral("The query has no connection"));
    DbSession& session = m_connection->session();
    if (m_statement && m_statementGeneration == m_connection->generation()
        && sameOptions(m_preparedOptions, m_options))
        return;
    m_statement.reset();
    if (m_sql.trimmed().isEmpty())
        throw DbError(QStringLiteral("The statement text is empty"));
    m_statement = session.prepare(m_sql, m_options);
    m_statementGeneration = m_connection->generation();
    m_preparedOptions = m_options;
}

void DbQuery::runStatement(bool keepResult)
{
    close();
    prepareStatement();
    std::unique_ptr<DbCursor> cursor = m_statement->execute(m_params);
    m_rowsAffected = m_statement->rowsAffected();
    if (keepResult)
        openCursor(cursor ? std::move(cursor) : std::make_unique<DbMemoryCursor>());
}

void DbQuery::open() { runStatement(true); }

void DbQuery::execute() { runStatement(false); }

void DbQuery::openCursor(std::unique_ptr<DbCursor> cursor)
{
    close();
    m_cursor = std::move(cursor);
    const int n = static_cast<int>(m_cursor->fieldDefs().size());
    m_fields.clear();
    m_fields.reserve(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i)
        m_fields.emplace_back(this, i);
    m_row.clear();
    m_kept.clear();
    m_position = -1;
    m_rowsRead = 0;
    m_cursorDone = false;
    m_eof = false;
    fetchRow();
}

void DbQuery::close()
{
    m_cursor.reset();
    m_fields.clear();
    m_row.clear();
    m_kept.clear();
    m_position = -1;
    m_eof = true;
}

void DbQuery::fetchRow()
{
    if (m_options.forwardOnly) {
        if (!m_cursorDone && m_cursor->fetch(m_row)) {
            ++m_position;
            ++m_rowsRead;
            return;
        }
        m_cursorDone = true;
        m_eof = true;
        return;
    }
    if (m_position + 1 < static_cast<int64_t>(m_kept.size())) {
        ++m_position;
        return;
    }
    std::vector<DbValue> row;
    if (!m_cursorDone && m_cursor->fetch(row)) {
        m_kept.push_back(std::move(row));
        ++m_position;
        ++m_rowsRead;
        return;
    }
    m_cursorDone = true;
    m_eof = true;
}

void DbQuery::next()
{
    if (!isOpen())
        throw DbError(QStringLiteral("The query is not open"));
    if (!m_eof)
        fetchRow();
}

void DbQuery::first()
{
    if (!isOpen())
        throw DbError(QStringLiteral("The query is not open"));
    if (m_options.forwardOnly) {
        if (m_position > 0 || (m_eof && m_rowsRead > 0))
            throw DbError(QStringLiteral("A forward-only query cannot go back to its first row"));
        return;
    }
    if (m_kept.empty()) {
        m_eof = true;
        return;
    }
    m_position = 0;
    m_eof = false;
}

int64_t DbQuery::rowCount() const { return isOpen() ? m_rowsRead : m_rowsAffected; }

const std::vector<DbFieldDef>& DbQuery::fieldDefs() const
{
    static const std::vector<DbFieldDef> kNone;
    return m_cursor ? m_cursor->fieldDefs() : kNone;
}

const DbField& DbQuery::field(int index) const
{
    if (index < 0 || index >= fieldCount())
        throw DbError(QStringLiteral("Field index %1 out of range (%2 fields)").arg(index).arg(fieldCount()));
    return m_fields[static_cast<size_t>(index)];
}

const DbField* DbQuery::findField(const QString& name) const
{
    for (const DbField& f : m_fields)
        if (f.name().compare(name, Qt::CaseInsensitive) == 0)
            return &f;
    return nullptr;
}

const DbField& DbQuery::fieldByName(const QString& name) const
{
    if (const DbField* f = findField(name))
        return *f;
    throw DbError(QStringLiteral("Field '%1' not found").arg(name));
}

const DbValue& DbQuery::currentValue(int index) const
{
    if (!isOpen() || m_eof)
        throw DbError(QStringLiteral("The query has no current row"));
    const std::vector<DbValue>& row = m_options.forwardOnly ? m_row : m_kept[static_cast<size_t>(m_position)];
    return row.at(static_cast<size_t>(index));
}
