#pragma once
#include <QString>

#include <functional>
#include <memory>

class TStringList;
class TTableMetadata;
class TTableMetadataList;
class TFieldMetadataList;
class TIndexMetadataList;
class TDatasetFieldDefList;  // field definitions of a result
class IReadDataRecord;       // record reader positioned on a row
class TErrInfoList;          // a run's error list
class DbQuery;               // open query of the data-access layer
class DbParamList;           // named parameters of a statement
class IImportTable;

// Callbacks a source connection drives while it reads one table; each is bound
// to an object of the caller.
using TBeginTableCallback = std::function<bool(int sourceKind, TDatasetFieldDefList& fieldDefs,
                                               TFieldMetadataList& fields, TIndexMetadataList* indexes,
                                               TErrInfoList* errors)>;
using TRecordCallback = std::function<bool(IReadDataRecord& record, TErrInfoList* errors)>;

// One database of one kind. Objects returned by the list operations belong
// to the caller; "none" is a null pointer. Each operation says what it does
// on failure: "raises" passes the database's error to the caller; "none" or
// "false" swallows it after a Warning in the log with the server's text;
// "records" adds it to the error list given (when one is given) and does not raise.
class IDBConnection {
public:
    virtual ~IDBConnection() = default;
    virtual int getDBType() const = 0;
    // Owned by the connection: the settings last applied.
    virtual TStringList* getStringList() = 0;
    // Raises.
    virtual void execSQL(const QString& sql) = 0;
    // Raises.
    virtual std::unique_ptr<DbQuery> openSQL(const QString& sql) = 0;
    // The first column of the first row, or the empty text for no rows; raises.
    virtual QString getSQLValue(const QString& sql) = 0;
    // Raises when the statement fails; none when reading its rows fails.
    virtual std::unique_ptr<TStringList> getSQLList(const QString& sql) = 0;
    // Raises.
    virtual void execSQLWithParams(const QString& sql, const DbParamList* params) = 0;
    // Raises.
    virtual std::unique_ptr<DbQuery> openSQLWithParams(const QString& sql, const DbParamList* params) = 0;
    // As getSQLValue; raises.
    virtual QString getSQLValueWithParams(const QString& sql, const DbParamList* params) = 0;
    // As getSQLList: raises when the statement fails, none when reading its rows fails.
    virtual std::unique_ptr<TStringList> getSQLListWithParams(const QString& sql,
                                                              const DbParamList* params) = 0;
    // None on any failure.
    virtual std::unique_ptr<TStringList> getDatabaseList() = 0;
    // None on any failure.
    virtual std::unique_ptr<TTableMetadataList> getTableList() = 0;
    // Raises; an empty list when the table does not exist.
    virtual std::unique_ptr<TFieldMetadataList> getFieldList(const QString& table) = 0;
    // Raises.
    virtual std::unique_ptr<TIndexMetadataList> getIndexList(const QString& table) = 0;
    // False on failure (a Warning in the log).
    virtual bool createTable(TTableMetadata& table, TFieldMetadataList& fields,
                             TIndexMetadataList* indexes) = 0;
    // The copy's name, or the empty text when the table does not exist; raises.
    virtual QString copyTableStructure(const QString& table) = 0;
    // Raises.
    virtual void dropTable(const QString& table) = 0;
    // Raises.
    virtual std::unique_ptr<DbParamList> createParams(const QString& sql) = 0;
    // fieldMap: source=destination lines; failures receives "index=field name"
    // lines, one per field whose value alone fails; nothing else is recorded.
    virtual void findFailingFields(const QString& table, const TStringList& fieldMap, TStringList& failures,
                                   IReadDataRecord& record) = 0;
    // Raises nothing; bad values show when connecting.
    virtual void setConnectParams(const TStringList& settings) = 0;
    // False with the failure text; never raises.
    virtual bool connect(QString& failureText, bool destination) = 0;
    // False with the failure text and the database's error code (-1 when it has none); never raises.
    virtual bool openConnect(QString& failureText, int& errorCode, bool destination) = 0;
    virtual void closeConnect() = 0;
    virtual bool isConnected() const = 0;
    // Records (read data, read metadata) and answers false.
    virtual bool readTable(const QString& table, const TStringList& fieldNames,
                           const TBeginTableCallback& onBeginTable, const TRecordCallback& onRecord,
                           bool structureOnly, TErrInfoList* errors) = 0;
    // Records (read data, read metadata) and answers false.
    virtual bool readCustomSQL(const QString& sourceName, const QString& destName, const QString& sql,
                               TStringList& fieldMap, const TBeginTableCallback& onBeginTable,
                               const TRecordCallback& onRecord, TErrInfoList* errors) = 0;
    // Records (delete rows).
    virtual void deleteAllRows(const QString& table, TErrInfoList* errors) = 0;
    virtual std::unique_ptr<IImportTable> createImportTable() = 0;
    virtual bool isCsvSource() const = 0;
};
