#include "platform/db/DbParamList.h"

#include "platform/db/DbError.h"
#include "platform/db/DbSqlParser.h"

DbParamList DbParamList::fromStatement(const QString& sql, bool backslashEscapes)
{
    DbParamList list;
    for (const QString& name : DbSqlParser::parameterNames(sql, backslashEscapes))
        list.add(name);
    return list;
}

DbParam& DbParamList::at(int index)
{
    if (index < 0 || index >= count())
        throw DbError(QStringLiteral("Parameter index %1 out of range (%2 parameters)").arg(index).arg(count()));
    return m_params[static_cast<size_t>(index)];
}

const DbParam& DbParamList::at(int index) const { return const_cast<DbParamList*>(this)->at(index); }

DbParam* DbParamList::findParam(const QString& name)
{
    for (DbParam& p : m_params)
        if (p.name().compare(name, Qt::CaseInsensitive) == 0)
            return &p;
    return nullptr;
}

DbParam& DbParamList::paramByName(const QString& name)
{
    if (DbParam* p = findParam(name))
        return *p;
    throw DbError(QStringLiteral("Parameter '%1' not found").arg(name));
}

DbParam& DbParamList::add(const QString& name)
{
    m_params.emplace_back(name);
    m_params.back().resizeValues(m_arraySize);
    return m_params.back();
}

void DbParamList::setArraySize(int rows)
{
    if (rows < 1)
        throw DbError(QStringLiteral("Array size must be at least 1, not %1").arg(rows));
    m_arraySize = rows;
    for (DbParam& p : m_params)
        p.resizeValues(rows);
}

void DbParamList::assignValues(const DbParamList& other)
{
    if (other.count() != count())
        throw DbError(QStringLiteral("Cannot assign %1 parameter values to %2 parameters")
                          .arg(other.count()).arg(count()));
    for (int i = 0; i < count(); ++i) {
        const QString name = m_params[static_cast<size_t>(i)].name();
        m_params[static_cast<size_t>(i)] = other.m_params[static_cast<size_t>(i)];
        m_params[static_cast<size_t>(i)].setName(name);
    }
    m_arraySize = other.m_arraySize;
}
