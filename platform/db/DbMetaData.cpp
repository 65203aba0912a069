#include "platform/db/DbMetaData.h"

#include "platform/db/DbConnection.h"
#include "platform/db/DbError.h"

void DbMetaData::setRestriction(const QString& name, const QString& value)
{
    const QString key = name.toUpper();
    if (value.isEmpty())
        m_restrictions.erase(key);
    else
        m_restrictions[key] = value;
}

void DbMetaData::open()
{
    close();
    if (!connection())
        throw DbError(QStringLiteral("The metadata query has no connection"));
    openCursor(connection()->session().metadata(m_kind, m_restrictions));
}
