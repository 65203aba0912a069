#pragma once
// Provider side of one open connection.

#include "platform/db/DbCursor.h"
#include "platform/db/DbQueryOptions.h"
#include "platform/db/DbStatement.h"

#include <QString>
#include <QStringList>
#include <map>
#include <memory>

// Restriction name ("TABLE_NAME", "TABLE_SCHEMA", "TABLE_CATALOG") -> value,
// names upper-case.
using DbRestrictions = std::map<QString, QString>;

class DbSession {
public:
    virtual ~DbSession() = default;

    // `sql` is the original text with ":name" parameters (DbSqlParser gives
    // their positional form). Raises DbError for a malformed statement.
    virtual std::unique_ptr<DbStatement> prepare(const QString& sql, const DbQueryOptions& options) = 0;
    // Whether a backslash escapes inside quoted literals of this dialect.
    virtual bool backslashEscapes() const { return false; }

    // False once the provider has seen the link to the server break; the
    // connection then counts as closed.
    virtual bool isAlive() const { return true; }

    virtual void startTransaction() = 0;
    virtual void commit() = 0;
    virtual void rollback() = 0;

    virtual QStringList tableNames() = 0;    // the connected database's own tables
    virtual QStringList databaseNames() = 0;

    // kind: "Tables", "COLUMNS", "Indexes" or "IndexColumns" (ignoring case).
    // Result columns:
    //  Tables:       TABLE_CATALOG, TABLE_SCHEMA, TABLE_NAME, TABLE_TYPE
    //  COLUMNS:      TABLE_CATALOG, TABLE_SCHEMA, TABLE_NAME, COLUMN_NAME, POSITION,
    //                DATA_TYPE, DATA_LENGTH, DATA_PRECISION, DATA_SCALE, NULLABLE,
    //                DEFAULT_VALUE  (in column order; NULL where the catalogue has none;
    //                NULLABLE 1 accepts NULL, 0 is NOT NULL)
    //  Indexes:      TABLE_CATALOG, TABLE_SCHEMA, TABLE_NAME, INDEX_CATALOG,
    //                INDEX_SCHEMA, INDEX_NAME, UNIQUE (1/0), ISPRIMARY ("PRIMARY" or empty)
    //  IndexColumns: TABLE_CATALOG, TABLE_SCHEMA, TABLE_NAME, INDEX_CATALOG,
    //                INDEX_SCHEMA, INDEX_NAME, COLUMN_NAME, COLUMN_POSITION,
    //                SORT_ORDER ("ASC"/"DESC"); grouped by index, in column order
    // Unknown kinds raise DbError.
    virtual std::unique_ptr<DbCursor> metadata(const QString& kind, const DbRestrictions& restrictions) = 0;
};
