#pragma once
// One open ODBC connection. Metadata comes from the ODBC catalogue functions;
// OracleSession reads the Oracle dictionary instead.

#include "platform/db/DbSession.h"
#include "platform/db/OdbcSupport.h"

#include <QString>
#include <memory>
#include <vector>

class OdbcSession : public DbSession {
public:
    // `connectionString` without credentials; user and password are added.
    // Raises DbError with the driver's message (the session does not exist then).
    OdbcSession(const QString& providerName, const QString& connectionString, const QString& user,
                const QString& password, bool unicode, int loginTimeoutSeconds);
    ~OdbcSession() override;

    std::unique_ptr<DbStatement> prepare(const QString& sql, const DbQueryOptions& options) override;
    bool isAlive() const override { return m_alive; }
    void startTransaction() override;
    void commit() override;
    void rollback() override;
    QStringList tableNames() override;
    QStringList databaseNames() override;
    std::unique_ptr<DbCursor> metadata(const QString& kind, const DbRestrictions& restrictions) override;

    const QString& providerName() const { return m_provider; }
    bool unicode() const { return m_unicode; }
    SQLHDBC handle() const { return m_dbc; }

    // Column definitions of an executed statement; providers with a better
    // catalogue than the driver's SQL types refine them.
    virtual void describeColumns(SQLHSTMT stmt, const DbQueryOptions& options, std::vector<DbFieldDef>& defs);
    // Raises DbError from the statement's diagnostics, noting a lost link.
    [[noreturn]] void raise(SQLSMALLINT handleType, SQLHANDLE handle, const QString& context);
    void check(SQLRETURN rc, SQLSMALLINT handleType, SQLHANDLE handle, const QString& context)
    {
        if (!odbc::ok(rc))
            raise(handleType, handle, context);
    }

    // Runs a statement with text parameters and reads every row.
    std::vector<std::vector<DbValue>> rows(const QString& sql, const QStringList& args = {});

    // A restriction value as the catalogue stores it: surrounding quotes and a
    // leading "schema." removed.
    static QString restrictionName(const QString& value);

protected:
    std::unique_ptr<DbCursor> catalogueResult(const QString& kind, const DbRestrictions& restrictions);

private:
    void endTransaction(SQLSMALLINT completion);

    QString m_provider;
    bool m_unicode;
    bool m_alive = true;
    SQLHDBC m_dbc = SQL_NULL_HDBC;
};
