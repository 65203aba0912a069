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
// to the caller; "none" is a null pointer.
class IDBConnection {
public:
    virtual ~IDBConnection() = default;
    virtual int getDBType() const = 0;
    virtual TStringList* getStringList() = 0;                                            // owned
    virtual void execSQL(const QString& sql) = 0;
    virtual std::unique_ptr<DbQuery> openSQL(const QString& sql) = 0;
    virtual QString getSQLValue(const QString& sql) = 0;
    virtual std::unique_ptr<TStringList> getSQLList(const QString& sql) = 0;
    virtual void execSQLWithParams(const QString& sql, const DbParamList* params) = 0;
    virtual std::unique_ptr<DbQuery> openSQLWithParams(const QString& sql, const DbParamList* params) = 0;
    virtual QString getSQLValueWithParams(const QString& sql, const DbParamList* params) = 0;
    virtual std::unique_ptr<TStringList> getSQLListWithParams(const QString& sql,
                                                              const DbParamList* params) = 0;
    virtual std::unique_ptr<TStringList> getDatabaseList() = 0;
    virtual std::unique_ptr<TTableMetadataList> getTableList() = 0;
    virtual std::unique_ptr<TFieldMetadataList> getFieldList(const QString& table) = 0;
    virtual std::unique_ptr<TIndexMetadataList> getIndexList(const QString& table) = 0;
    virtual bool createTable(TTableMetadata& table, TFieldMetadataList& fields,
                             TIndexMetadataList* indexes) = 0;
    virtual QString copyTableStructure(const QString& table) = 0;
    virtual void dropTable(const QString& table) = 0;
    virtual std::unique_ptr<DbParamList> createParams(const QString& sql) = 0;
    // fieldMap: source=destination lines; failures receives "index=field name" lines.
    virtual void findFailingFields(const QString& table, const TStringList& fieldMap, TStringList& failures,
                                   IReadDataRecord& record) = 0;
    virtual void setConnectParams(const TStringList& settings) = 0;
    virtual bool connect(QString& failureText, bool destination) = 0;
    virtual bool openConnect(QString& failureText, int& errorCode, bool destination) = 0;
    virtual void closeConnect() = 0;
    virtual bool isConnected() const = 0;
    virtual bool readTable(const QString& table, const TStringList& fieldNames,
                           const TBeginTableCallback& onBeginTable, const TRecordCallback& onRecord,
                           bool structureOnly, TErrInfoList* errors) = 0;
    virtual bool readCustomSQL(const QString& sourceName, const QString& destName, const QString& sql,
                               TStringList& fieldMap, const TBeginTableCallback& onBeginTable,
                               const TRecordCallback& onRecord, TErrInfoList* errors) = 0;
    virtual void deleteAllRows(const QString& table, TErrInfoList* errors) = 0;
    virtual std::unique_ptr<IImportTable> createImportTable() = 0;
    virtual bool isCsvSource() const = 0;
};
