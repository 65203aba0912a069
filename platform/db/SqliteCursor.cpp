#include "platform/db/SqliteCursor.h"

#include "platform/db/SqliteStatement.h"

SqliteCursor::SqliteCursor(SqliteStatement* statement, bool hasRow)
    : m_statement(statement), m_defs(statement->describeColumns()), m_pending(hasRow), m_done(!hasRow)
{
}

bool SqliteCursor::fetch(std::vector<DbValue>& row)
{
    if (m_done)
        return false;
    if (!m_pending && !m_statement->step()) {
        m_done = true;
        return false;
    }
    m_pending = false;
    row.resize(m_defs.size());
    for (size_t i = 0; i < m_defs.size(); ++i)
        row[i] = m_statement->columnValue(static_cast<int>(i), m_defs[i]);
    return true;
}
