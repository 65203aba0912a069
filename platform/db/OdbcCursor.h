#pragma once
// The result of an executed ODBC statement, read forward. Rows come in blocks
// into bound column arrays; a result with long data (LOBs, long text) is read
// row by row with SQLGetData.

#include "platform/db/DbCursor.h"
#include "platform/db/OdbcSupport.h"

#include <QByteArray>
#include <vector>

class OdbcStatement;

class OdbcCursor : public DbCursor {
public:
    OdbcCursor(OdbcStatement* statement, std::vector<DbFieldDef> defs); // statement not owned
    ~OdbcCursor() override;

    const std::vector<DbFieldDef>& fieldDefs() const override { return m_defs; }
    bool fetch(std::vector<DbValue>& row) override;
    void detach() override;

private:
    struct Column {
        SQLSMALLINT cType = SQL_C_CHAR;
        SQLLEN width = 0;              // bytes of one value
        std::vector<char> buffer;      // rows * width
        std::vector<SQLLEN> indicator; // rows
    };
    bool fetchBlock();
    DbValue boundValue(size_t column, size_t row) const;
    DbValue longValue(size_t column);
    DbValue convert(size_t column, const char* data, SQLLEN length) const;
    void finish();

    OdbcStatement* m_statement;
    std::vector<DbFieldDef> m_defs;
    std::vector<Column> m_columns;
    bool m_getData = false;
    size_t m_rowsInBlock = 0;
    size_t m_nextInBlock = 0;
    SQLULEN m_fetched = 0;
    bool m_done = false;
    std::vector<std::vector<DbValue>> m_detached;
    bool m_isDetached = false;
    size_t m_nextDetached = 0;
};
