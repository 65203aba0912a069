#include "platform/db/DbConnection.h"

#include "platform/db/DbError.h"
#include "platform/db/DbProviderRegistry.h"

DbConnection::DbConnection() = default;

DbConnection::~DbConnection() { close(); }

void DbConnection::open()
{
    close();
    DbProvider* provider = DbProviderRegistry::instance().find(m_settings.providerName);
    if (!provider)
        throw DbError(QStringLiteral("Provider \"%1\" is not available").arg(m_settings.providerName));
    m_session = provider->connect(m_settings);
    ++m_generation;
}

void DbConnection::close()
{
    if (!m_session)
        return;
    if (m_inTransaction && m_session->isAlive()) {
        try {
            m_session->rollback();
        } catch (const std::exception&) {
            // closing anyway; the server drops the transaction with the link
        }
    }
    m_inTransaction = false;
    m_session.reset();
    ++m_generation;
}

DbSession& DbConnection::session()
{
    if (m_session && !m_session->isAlive())
        close();
    if (!m_session)
        throw DbError(QStringLiteral("The connection is not open"));
    return *m_session;
}

void DbConnection::startTransaction()
{
    if (m_inTransaction)
        throw DbError(QStringLiteral("A transaction is already active"));
    session().startTransaction();
    m_inTransaction = true;
}

void DbConnection::commit()
{
    if (!m_inTransaction)
        throw DbError(QStringLiteral("No transaction is active"));
    DbSession& s = session();
    m_inTransaction = false; // a failed commit leaves no transaction to finish
    s.commit();
}

void DbConnection::rollback()
{
    if (!m_inTransaction)
        throw DbError(QStringLiteral("No transaction is active"));
    DbSession& s = session();
    m_inTransaction = false;
    s.rollback();
}

QStringList DbConnection::tableNames() { return session().tableNames(); }

QStringList DbConnection::databaseNames() { return session().databaseNames(); }
