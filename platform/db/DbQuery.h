#pragma once
// A statement on a connection: text with ":name" parameters, open (rows) or
// execute (no rows), fields of the current row. The prepared statement is
// kept while the text stays the same, so executing it again with new values
// costs no new prepare.
//
// Forward-only queries stream their rows; others keep the rows read so far,
// so that first() can go back.

#include "platform/db/DbCursor.h"
#include "platform/db/DbField.h"
#include "platform/db/DbParamList.h"
#include "platform/db/DbQueryOptions.h"
#include "platform/db/DbStatement.h"

#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

class DbConnection;

class DbQuery {
public:
    explicit DbQuery(DbConnection* connection); // not owned
    virtual ~DbQuery();
    DbQuery(const DbQuery&) = delete;
    DbQuery& operator=(const DbQuery&) = delete;

    DbConnection* connection() const { return m_connection; }

    const QString& sql() const { return m_sql; }
    // Closes the query and parses the parameters anew (values are lost) when
    // the text differs.
    void setSQL(const QString& sql);
    DbParamList& params() { return m_params; }
    const DbParamList& params() const { return m_params; }

    bool forwardOnly() const { return m_options.forwardOnly; }
    void setForwardOnly(bool on);
    bool preciseDecimal() const { return m_options.preciseDecimal; }
    void setPreciseDecimal(bool on);
    // Provider options, e.g. "MySQL.CommandTimeout=300".
    TStringList& options() { return m_options.options; }

    // Executes and positions on the first row. Raises DbError, the query
    // staying closed; a statement that yields no rows opens as empty.
    virtual void open();
    // Executes a statement; a result set it yields is discarded.
    void execute();
    void close();
    bool isOpen() const { return m_cursor != nullptr; }

    // Rows changed by the last execute, or rows read so far from an open result.
    int64_t rowCount() const;

    void first();   // forward-only: only while still on the first row
    void next();
    bool eof() const { return m_eof; }

    const std::vector<DbFieldDef>& fieldDefs() const;
    int fieldCount() const { return static_cast<int>(m_fields.size()); }
    const DbField& field(int index) const;             // raises DbError when out of range
    const DbField* findField(const QString& name) const; // ignoring case; nullptr when absent
    const DbField& fieldByName(const QString& name) const; // raises DbError "field not found"

    // Current row value of field `index`; used by DbField.
    const DbValue& currentValue(int index) const;

protected:
    // For result sets built outside a statement (metadata).
    void openCursor(std::unique_ptr<DbCursor> cursor);

private:
    void prepareStatement();
    void fetchRow();
    void runStatement(bool keepResult);

    DbConnection* m_connection;
    QString m_sql;
    DbParamList m_params;
    DbQueryOptions m_options;
    std::unique_ptr<DbStatement> m_statement;
    quint64 m_statementGeneration = 0;
    DbQueryOptions m_preparedOptions; // what m_statement was prepared with
    std::unique_ptr<DbCursor> m_cursor;
    std::vector<DbField> m_fields;
    std::vector<DbValue> m_row;
    std::vector<std::vector<DbValue>> m_kept; // rows of a bidirectional query
    int64_t m_position = -1;  // index of the current row
    int64_t m_rowsRead = 0;
    int64_t m_rowsAffected = 0;
    bool m_cursorDone = false;
    bool m_eof = true;
};
