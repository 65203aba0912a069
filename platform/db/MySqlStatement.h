#pragma once
// A prepared MySQL statement (binary protocol). Parameters are bound by
// position; date-times are checked here, because the server would store an
// impossible one as a zero date with only a warning.

#include "platform/db/DbQueryOptions.h"
#include "platform/db/DbStatement.h"

#include <memory>

struct st_mysql_stmt;
class MySqlLink;

class MySqlStatement : public DbStatement {
public:
    MySqlStatement(std::shared_ptr<MySqlLink> link, const QString& sql, const DbQueryOptions& options);
    ~MySqlStatement() override;

    std::unique_ptr<DbCursor> execute(const DbParamList& params) override;
    int64_t rowsAffected() const override { return m_rowsAffected; }

private:
    void executeRow(const DbParamList& params, int row);
    void applyTimeout();

    std::shared_ptr<MySqlLink> m_link;
    st_mysql_stmt* m_stmt = nullptr;
    DbQueryOptions m_options;
    bool m_enableBoolean = false;
    int m_timeout = -1; // seconds asked by the query, -1 not asked
    int64_t m_rowsAffected = 0;
};
