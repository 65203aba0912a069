#pragma once
// Rows of an executed MySQL statement over the binary protocol. A
// forward-only result is read from the server row by row (memory stays flat);
// detach() pulls the rest into memory when the connection is needed for
// another statement meanwhile.

#include "platform/db/DbCursor.h"
#include "platform/db/MySqlTypeMap.h"

#include <deque>
#include <memory>
#include <vector>

struct st_mysql_stmt;
struct st_mysql_bind;
class MySqlLink;

class MySqlCursor : public DbCursor {
public:
    // The statement's result is already executed (and stored when !streaming).
    MySqlCursor(std::shared_ptr<MySqlLink> link, st_mysql_stmt* stmt, bool streaming, bool preciseDecimal,
                bool enableBoolean);
    ~MySqlCursor() override;

    const std::vector<DbFieldDef>& fieldDefs() const override { return m_defs; }
    bool fetch(std::vector<DbValue>& row) override;
    void detach() override;

private:
    struct Column;
    bool fetchFromServer(std::vector<DbValue>& row);
    DbValue valueOf(size_t column);
    void release();

    std::shared_ptr<MySqlLink> m_link;
    st_mysql_stmt* m_stmt;
    std::vector<DbFieldDef> m_defs;
    std::vector<MySqlReadAs> m_readAs;
    std::vector<Column> m_columns;
    std::unique_ptr<st_mysql_bind[]> m_binds;
    std::deque<std::vector<DbValue>> m_detached;
    bool m_streaming;
    bool m_onServer = true; // rows still to be read from the statement
};
