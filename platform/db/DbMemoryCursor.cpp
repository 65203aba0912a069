#include "platform/db/DbMemoryCursor.h"

#include "platform/db/DbError.h"

void DbMemoryCursor::addField(const QString& name, TFieldType type, int size, bool required)
{
    DbFieldDef def;
    def.name = name;
    def.dataType = type;
    def.size = size;
    def.required = required;
    m_defs.push_back(def);
}

void DbMemoryCursor::addRow(std::vector<DbValue> row)
{
    if (row.size() != m_defs.size())
        throw DbError(QStringLiteral("Row of %1 values for %2 fields").arg(row.size()).arg(m_defs.size()));
    m_rows.push_back(std::move(row));
}

bool DbMemoryCursor::fetch(std::vector<DbValue>& row)
{
    if (m_next >= m_rows.size())
        return false;
    row = std::move(m_rows[m_next++]);
    return true;
}
