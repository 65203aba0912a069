#pragma once
// One open SQLite database.

#include "platform/db/DbConnectSettings.h"
#include "platform/db/DbSession.h"

#include <vector>

struct sqlite3;

class SqliteSession : public DbSession {
public:
    explicit SqliteSession(const DbConnectSettings& settings); // raises DbError
    ~SqliteSession() override;

    std::unique_ptr<DbStatement> prepare(const QString& sql, const DbQueryOptions& options) override;
    void startTransaction() override;
    void commit() override;
    void rollback() override;
    QStringList tableNames() override;
    QStringList databaseNames() override;
    std::unique_ptr<DbCursor> metadata(const QString& kind, const DbRestrictions& restrictions) override;

    sqlite3* handle() const { return m_db; }
    // Raises DbError with the database's last message and code.
    [[noreturn]] void raise() const;

private:
    std::vector<std::vector<DbValue>> rows(const QString& sql, const QString& arg = QString());
    void exec(const char* sql);
    QStringList tablesFor(const DbRestrictions& restrictions);

    sqlite3* m_db = nullptr;
};
