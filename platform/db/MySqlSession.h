#pragma once
// One open connection to a MySQL or MariaDB server. Every session runs in
// strict SQL mode, so that a value that does not fit is an error (1406 for
// too long), never a silent truncation.

#include "platform/db/DbConnectSettings.h"
#include "platform/db/DbSession.h"

#include <memory>

class MySqlLink;

class MySqlSession : public DbSession {
public:
    explicit MySqlSession(const DbConnectSettings& settings); // raises DbError
    ~MySqlSession() override;

    std::unique_ptr<DbStatement> prepare(const QString& sql, const DbQueryOptions& options) override;
    bool backslashEscapes() const override { return true; }
    bool isAlive() const override;
    void startTransaction() override;
    void commit() override;
    void rollback() override;
    QStringList tableNames() override;
    QStringList databaseNames() override;
    std::unique_ptr<DbCursor> metadata(const QString& kind, const DbRestrictions& restrictions) override;

    // The session's SQL mode.
    static const char* sqlMode();

private:
    void query(const QByteArray& sql);
    std::unique_ptr<DbCursor> readAll(const QString& sql, const QStringList& args);
    QStringList firstColumn(const QString& sql);

    std::shared_ptr<MySqlLink> m_link;
};
