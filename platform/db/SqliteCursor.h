#pragma once
// Rows of an executed SQLite statement, stepped one by one.

#include "platform/db/DbCursor.h"

class SqliteStatement;

class SqliteCursor : public DbCursor {
public:
    // hasRow: the statement's first step gave a row.
    SqliteCursor(SqliteStatement* statement, bool hasRow);

    const std::vector<DbFieldDef>& fieldDefs() const override { return m_defs; }
    bool fetch(std::vector<DbValue>& row) override;

private:
    SqliteStatement* m_statement;
    std::vector<DbFieldDef> m_defs;
    bool m_pending;
    bool m_done = false;
};
