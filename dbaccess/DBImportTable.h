#pragma once
// Writes the rows of one source table into one destination table: makes the
// table ready (drop, empty or create), binds every row to one statement built
// per table, commits every 300 rows, and repairs two failures by itself (a
// NULL for a NOT NULL column, a value too long for its column) before it
// records the row as failed.

#include "dbaccess/FieldLengthErrorCodeList.h"
#include "platform/db/DbParamList.h"
#include "records/ReadDataFieldType.h"
#include "shell/IImportTable.h"

#include <QString>

#include <memory>
#include <vector>

class DbConnection;
class DbParam;
class DbQuery;
class DbParamList;
class IReadDataField;
class TFieldMetadata;
class TDBConnection;

// The table name followed by the run's time suffix when TimeSuffix is set.
QString fullDestinationName(const QString& table);
// "Table ... already held N rows before this run", in the current language.
QString rowsHeldBeforeText(const QString& table, qint64 rows);

class TDBImportTable : public TAbsImportTable {
public:
    static constexpr int kRowsPerTransaction = 300;
    static constexpr int kRowsPerQuery = 301;

    explicit TDBImportTable(TDBConnection* connection); // not owned
    ~TDBImportTable() override;
    TDBImportTable(const TDBImportTable&) = delete;
    TDBImportTable& operator=(const TDBImportTable&) = delete;

    bool prepare(const QString& destTable, const TImportTableSource& source, const TImportTableOptions& options,
                 bool& tableCreated, TErrInfoList* errors) override;
    // UpdateByKey and CheckKey raise "primary key not set! Table name=..." without a key.
    bool writeRecord(TWriteMode mode, IReadDataRecord& record, TErrInfoList* errors) override;
    void finish(TErrInfoList* errors) override;
    int committedRows() const override { return m_committedRows; }
    bool connectionLost() const override { return m_connectionLost; }
    qint64 rowsHeldBefore() const override { return m_rowsHeldBefore; }

    bool isLengthError(int kind, int code) { return m_lengthCodes.isLengthError(kind, code); }
    // Commits, then drops the column's NOT NULL; false (nothing recorded) when that fails.
    bool changeColumnToNullable(const QString& table, const QString& column, const TFieldMetadata& destField);

    // What prepare built, for callers that report or inspect it. The update
    // statement binds the set values as :p<line> and the key values after
    // them as :k0, :k1 ... in the key's column order.
    const QString& insertStatement() const { return m_insertSql; }
    const QString& updateStatement() const { return m_updateSql; }
    const DbQuery* currentQuery() const { return m_query.get(); }
    int rowsInTransaction() const { return m_rowsInTransaction; }
    // Rows written in the open transaction, kept to be written again when the link is lost.
    int pendingRows() const { return int(m_pending.size()); }
    int rowsOnQuery() const { return m_rowsOnQuery; }
    bool tableCreated() const { return m_tableCreated; }

private:
    // One mapped destination column, resolved once per table.
    struct TColumn {
        int line = 0;             // field map line: the parameter is :p<line>
        QString destName;
        QString sourceName;
        TFieldMetadata* destField = nullptr; // in m_destFields; none when the table lacks it
        int destFieldType = -1;              // layer type of the column's definition
        TReadDataFieldType destRecordType = rftUnknown;
        bool fractionalSeconds = false;      // the column keeps microseconds
        int largeObjectSubtype = 0;          // ftOraClob/ftOraBlob for Oracle memo/blob columns
    };

    void takeFreeTimeSuffix(const QString& table);
    void countRowsHeldBefore(const QString& fullName);
    bool createDestTable(const TImportTableSource& in, TErrInfoList* errors);
    void readDestColumns();
    void buildStatements();
    bool beginRow(IReadDataRecord& record, TErrInfoList* errors);
    bool writeRow(int statement, IReadDataRecord& record, TErrInfoList* errors);
    void loadStatement(int statement);
    void resolveSourceFields(const IReadDataRecord& record);
    void bindRow(DbParamList& params);
    void setColumnParameter(TColumn& column, const IReadDataField& source, DbParam& param);
    bool executeRow(IReadDataRecord& record, TErrInfoList* errors);
    void refreshDestFields();
    bool endOfWrite(TErrInfoList* errors);
    bool commitOpenTransaction(TErrInfoList* errors);
    void restartTransaction();
    void commitPending(DbConnection& pack);
    bool linkLost() const;
    bool restoreLink(TErrInfoList* errors);
    bool replayPending(TErrInfoList* errors);
    QString linkLostText() const;
    [[noreturn]] void raiseNoPrimaryKey() const;
    int destKind() const;

    TDBConnection* m_connection; // not owned
    std::unique_ptr<DbQuery> m_query;
    int m_loaded = 0; // statement in the query: 0 none, 1 insert, 2 update
    QString m_insertSql;
    QString m_updateSql;
    std::unique_ptr<TFieldMetadataList> m_destFields;
    std::unique_ptr<TDatasetFieldDefList> m_destFieldDefs;
    std::unique_ptr<DbParamList> m_insertTemplate;
    std::unique_ptr<DbParamList> m_updateTemplate;
    std::vector<TColumn> m_columns;
    std::vector<int> m_keyColumns; // indexes into m_columns, in key order
    std::vector<const IReadDataField*> m_sourceFields; // per column, of m_resolvedFor
    const IReadDataRecord* m_resolvedFor = nullptr;
    int m_resolvedFieldCount = -1;
    int m_rowsInTransaction = 0;
    int m_rowsOnQuery = 0;
    // One written row of the open transaction: its statement and bound values.
    struct TPendingRow {
        int statement = 0;
        DbParamList params;
    };
    std::vector<TPendingRow> m_pending;
    int m_committedRows = 0;
    bool m_retryAfterReconnect = false; // the current row met a lost link
    bool m_connectionLost = false;
    bool m_blankIsNull = false;
    bool m_autoChangeNotNull = false;
    bool m_tableCreated = false;
    qint64 m_rowsHeldBefore = 0;
    TLengthErrorCodeCache m_lengthCodes;
};
