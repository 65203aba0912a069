#pragma once
// An ODBC connection to Oracle: metadata, the table list and the field types
// of results come from the Oracle data dictionary.

#include "platform/db/OdbcSession.h"

class OracleSession : public OdbcSession {
public:
    using OdbcSession::OdbcSession;

    QStringList tableNames() override;
    QStringList databaseNames() override;
    std::unique_ptr<DbCursor> metadata(const QString& kind, const DbRestrictions& restrictions) override;
    void describeColumns(SQLHSTMT stmt, const DbQueryOptions& options, std::vector<DbFieldDef>& defs) override;

private:
    QString currentSchema();
    QString m_schema;
    bool m_inDictionary = false; // dictionary reads describe their own columns plainly
};
