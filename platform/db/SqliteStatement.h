#pragma once
// A prepared SQLite statement; its result set is read by SqliteCursor.

#include "platform/db/DbQueryOptions.h"
#include "platform/db/DbStatement.h"

#include <vector>

struct sqlite3_stmt;
class SqliteSession;

class SqliteStatement : public DbStatement {
public:
    SqliteStatement(SqliteSession* session, const QString& sql, const DbQueryOptions& options);
    ~SqliteStatement() override;

    std::unique_ptr<DbCursor> execute(const DbParamList& params) override;
    int64_t rowsAffected() const override { return m_rowsAffected; }

    // Used by the cursor: one step, true when a row is there.
    bool step();
    DbValue columnValue(int column, const DbFieldDef& def) const;
    std::vector<DbFieldDef> describeColumns() const; // after the first step
    SqliteSession* session() const { return m_session; }

private:
    void bindRow(const DbParamList& params, int row);

    SqliteSession* m_session;
    sqlite3_stmt* m_stmt = nullptr;
    DbQueryOptions m_options;
    int64_t m_rowsAffected = 0;
    bool m_stepped = false;
};
