#pragma once
// A connection of the data-access layer: settings, open/close, transactions
// and the connection-wide listings. Queries run on it through DbQuery.

#include "platform/db/DbConnectSettings.h"
#include "platform/db/DbSession.h"

#include <QString>
#include <QStringList>
#include <memory>

class DbConnection {
public:
    DbConnection();
    ~DbConnection();
    DbConnection(const DbConnection&) = delete;
    DbConnection& operator=(const DbConnection&) = delete;

    const QString& providerName() const { return m_settings.providerName; }
    void setProviderName(const QString& name) { m_settings.providerName = name; }
    const QString& userName() const { return m_settings.userName; }
    void setUserName(const QString& name) { m_settings.userName = name; }
    const QString& password() const { return m_settings.password; }
    void setPassword(const QString& password) { m_settings.password = password; }
    const QString& server() const { return m_settings.server; }
    void setServer(const QString& server) { m_settings.server = server; }
    const QString& database() const { return m_settings.database; }
    void setDatabase(const QString& database) { m_settings.database = database; }
    int port() const { return m_settings.port; }
    void setPort(int port) { m_settings.port = port; }
    // Provider-specific name=value lines; read when the connection opens.
    TStringList& options() { return m_settings.options; }
    const TStringList& options() const { return m_settings.options; }
    const DbConnectSettings& settings() const { return m_settings; }

    // Raises DbError (unknown provider, server errors); stays closed then.
    void open();
    // Rolls back an open transaction; never raises.
    void close();
    // False as well once the provider saw the link to the server break.
    bool connected() const { return m_session && m_session->isAlive(); }

    void startTransaction();
    bool inTransaction() const { return m_inTransaction; }
    void commit();
    void rollback();

    QStringList tableNames();
    QStringList databaseNames();

    // The open session; raises DbError "not connected" when closed.
    DbSession& session();
    // Counts open/close cycles so that queries notice a reopened connection
    // and prepare their statements again.
    quint64 generation() const { return m_generation; }

private:
    DbConnectSettings m_settings;
    std::unique_ptr<DbSession> m_session;
    bool m_inTransaction = false;
    quint64 m_generation = 0;
};
