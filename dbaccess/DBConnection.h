#pragma once
// The connection to one database of one kind over the data-access layer:
// settings, open/close, statements, metadata listings, table creation and
// copying, and the reading of source tables for a migration.

#include "dbaccess/AbsDBConnection.h"
#include "foundation/ErrorType.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class DbConnection;
class DbMetaData;
class DbQuery;
class TAbsCreateTable;
class TDBConnectionResourceList;
class TErrInfoList;
class TFieldMetadataList;
class TIndexMetadataList;
class TTableMetadata;

// Asks the user for name and password (both in and out); true when confirmed.
// Filled by the window layer; without it a connection that wants a login
// prompt fails to open instead of blocking a headless run.
using TLoginDialogHook = std::function<bool(QString& userName, QString& password)>;
void setLoginDialogHook(TLoginDialogHook hook);

// Installs the database error-code hook of the error tracker: the native code
// of an error that wraps an ODBC error, else the database error code; -1 for
// any other exception.
void installDbErrorCodeHook();
int dbErrorCodeOf(const std::exception& error);

// "<table>_PRIMARYKEY", then with 1, 2 ... until not among indexNames
// (ignoring case); Oracle names are cut to 30 characters ("_PM" form).
QString primaryKeyConstraintName(int kind, const QString& table, const TStringList& indexNames);

class TDBConnection : public TAbsDBConnection {
public:
    explicit TDBConnection(int kind);
    ~TDBConnection() override;
    TDBConnection(const TDBConnection&) = delete;
    TDBConnection& operator=(const TDBConnection&) = delete;

    // Slots 2..28 (0, 1 and 17 come from TAbsDBConnection).
    void execSQL(const QString& sql) override;
    std::unique_ptr<DbQuery> openSQL(const QString& sql) override;
    QString getSQLValue(const QString& sql) override;
    std::unique_ptr<TStringList> getSQLList(const QString& sql) override;
    void execSQLWithParams(const QString& sql, const DbParamList* params) override;
    std::unique_ptr<DbQuery> openSQLWithParams(const QString& sql, const DbParamList* params) override;
    QString getSQLValueWithParams(const QString& sql, const DbParamList* params) override;
    std::unique_ptr<TStringList> getSQLListWithParams(const QString& sql, const DbParamList* params) override;
    std::unique_ptr<TStringList> getDatabaseList() override;
    std::unique_ptr<TTableMetadataList> getTableList() override;
    std::unique_ptr<TFieldMetadataList> getFieldList(const QString& table) override;
    std::unique_ptr<TIndexMetadataList> getIndexList(const QString& table) override;
    bool createTable(TTableMetadata& table, TFieldMetadataList& fields, TIndexMetadataList* indexes) override;
    QString copyTableStructure(const QString& table) override;
    void dropTable(const QString& table) override;
    void findFailingFields(const QString& table, const TStringList& fieldMap, TStringList& failures,
                           IReadDataRecord& record) override;
    void setConnectParams(const TStringList& settings) override;
    bool connect(QString& failureText, bool destination) override;
    bool openConnect(QString& failureText, int& errorCode, bool destination) override;
    void closeConnect() override;
    bool isConnected() const override;
    bool readTable(const QString& table, const TStringList& fieldNames, const TBeginTableCallback& onBeginTable,
                   const TRecordCallback& onRecord, bool structureOnly, TErrInfoList* errors) override;
    bool readCustomSQL(const QString& sourceName, const QString& destName, const QString& sql,
                       TStringList& fieldMap, const TBeginTableCallback& onBeginTable,
                       const TRecordCallback& onRecord, TErrInfoList* errors) override;
    void deleteAllRows(const QString& table, TErrInfoList* errors) override;
    std::unique_ptr<IImportTable> createImportTable() override;
    bool isCsvSource() const override;

    // Further operations of the importer and the source reading.
    std::unique_ptr<DbQuery> createQuery(bool forwardOnly);
    // Failures are recorded in the list's tracker (without a list: a Warning in the
    // log) and give false.
    bool tryExecSQL(const QString& sql, TErrorType errorType, TErrInfoList* errors);
    bool tryExecFormat(const QString& format, const QStringList& args, TErrInfoList* errors, TErrorType errorType);
    bool createTableWithKey(TTableMetadata& table, TFieldMetadataList& fields, TErrInfoList* errors,
                            TIndexMetadataList* indexes, TAbsCreateTable& generator);
    bool tableExists(const QString& table);
    std::unique_ptr<TTableMetadata> getTableMetadata(const QString& table);
    std::unique_ptr<TStringList> getIndexNames(const QString& table);
    QString metadataTableName(const QString& table) const;
    int getMultiCharLength();
    TAbsCreateTable& generator() { return *m_generator; }
    TStringList& createdIndexNames() { return *m_createdIndexNames; }
    DbConnection& packConnection() { return *m_connection; }
    bool loginPrompt() const { return m_loginPrompt; }
    // The names of `settings` that neither this connection nor its provider
    // read (asked after opening): they have no effect.
    QStringList unreadSettings(const TStringList& settings) const;
    // findFailingFields with a destination=source map.
    void findFailingFieldsDestToSource(const QString& table, const TStringList& destToSourceMap,
                                       TStringList& failures, IReadDataRecord& record);

private:
    void applySchemaRestriction(DbMetaData& meta) const;
    void findFailing(const QString& table, const QStringList& destNames, const TStringList& destBySource,
                     TStringList& failures, IReadDataRecord& record);

    std::unique_ptr<DbConnection> m_connection;
    std::unique_ptr<TDBConnectionResourceList> m_resources;
    std::unique_ptr<TAbsCreateTable> m_generator;
    std::unique_ptr<TStringList> m_createdIndexNames;
    bool m_loginPrompt = false;
    int m_multiCharLength = 0; // 0: not computed since the last open
};
