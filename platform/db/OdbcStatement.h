#pragma once
// A prepared ODBC statement. Parameters are bound row by row for each execute.

#include "platform/db/DbQueryOptions.h"
#include "platform/db/DbStatement.h"
#include "platform/db/OdbcSupport.h"

#include <QByteArray>
#include <vector>

class OdbcSession;

class OdbcStatement : public DbStatement {
public:
    OdbcStatement(OdbcSession* session, const QString& sql, const DbQueryOptions& options); // raises DbError
    ~OdbcStatement() override;

    std::unique_ptr<DbCursor> execute(const DbParamList& params) override;
    int64_t rowsAffected() const override { return m_rowsAffected; }

    OdbcSession* session() const { return m_session; }
    SQLHSTMT handle() const { return m_stmt; }
    // Ends the open result (the cursor's end or destruction).
    void closeResult();

private:
    struct Bound {
        QByteArray data;
        SQLLEN indicator = 0;
    };
    void bindRow(const DbParamList& params, int row);

    OdbcSession* m_session; // not owned
    DbQueryOptions m_options;
    SQLHSTMT m_stmt = SQL_NULL_HSTMT;
    int m_parameterCount = 0;
    std::vector<Bound> m_bound;
    std::vector<DbFieldDef> m_defs; // described on the first execute with a result
    bool m_described = false;
    int64_t m_rowsAffected = 0;
};
