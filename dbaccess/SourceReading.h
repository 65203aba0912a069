#pragma once
// One read of a source for a migration: opens the rows, gathers the metadata
// into the connection's resource list, hands it to the table-start callback,
// then calls the record callback once per row until the end, the row limit
// or the stop flag. Everything a row needs is built before the first row.

#include "foundation/ErrorType.h"
#include "shell/IDBConnection.h"

#include <QString>

#include <memory>

class DbQuery;
class TConnectionResourceList;
class TErrInfoList;
class TStringList;
class TDBConnection;

class TSourceReading {
public:
    // None of them owned; errors may be none.
    TSourceReading(TDBConnection& connection, TConnectionResourceList& resources, TErrInfoList* errors);

    bool readTable(const QString& table, const TStringList& fieldNames, const TBeginTableCallback& onBeginTable,
                   const TRecordCallback& onRecord, bool structureOnly);
    // fieldMap is emptied, then gets one "name=name" line per result column.
    bool readCustomSQL(const QString& sourceName, const QString& sql, TStringList& fieldMap,
                       const TBeginTableCallback& onBeginTable, const TRecordCallback& onRecord);

private:
    void record(const std::exception& error, const QString& statement, TErrorType errorType);
    // The row loop shared by both reads; false when a row failed or the stop flag ended it.
    bool copyRows(DbQuery& query, IReadDataRecord& reader, const TRecordCallback& onRecord,
                  const QString& statement);
    int countRows(const QString& tableForm);

    TDBConnection& m_connection;
    TConnectionResourceList& m_resources;
    TErrInfoList* m_errors;
};
