#pragma once
// A metadata result ("Tables", "COLUMNS", "Indexes", "IndexColumns") read like
// any query. Column names and values: DbSession::metadata.

#include "platform/db/DbQuery.h"
#include "platform/db/DbSession.h"

class DbMetaData : public DbQuery {
public:
    explicit DbMetaData(DbConnection* connection) : DbQuery(connection) {}

    const QString& kind() const { return m_kind; }
    void setKind(const QString& kind) { m_kind = kind; }
    // "TABLE_NAME", "TABLE_SCHEMA", "TABLE_CATALOG" (ignoring case); the
    // empty value removes the restriction.
    void setRestriction(const QString& name, const QString& value);
    const DbRestrictions& restrictions() const { return m_restrictions; }

    void open() override;

private:
    QString m_kind;
    DbRestrictions m_restrictions;
};
