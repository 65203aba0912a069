#pragma once
// Providers served through unixODBC: "ODBC" (any driver), "Oracle" (the Oracle
// ODBC driver, metadata from the dictionary) and the other names of the
// design's pack, each needing an installed driver of its name.

#include "platform/db/DbProvider.h"

class OdbcProvider : public DbProvider {
public:
    enum class Kind { Generic, Named, Oracle };
    OdbcProvider(const QString& name, Kind kind) : m_name(name), m_kind(kind) {}

    QString name() const override { return m_name; }
    bool takesPort() const override;
    bool takesDatabase() const override;
    std::unique_ptr<DbSession> connect(const DbConnectSettings& settings) override;

    // The ODBC connection string without credentials; raises DbError for
    // settings that cannot be served.
    QString connectionString(const DbConnectSettings& settings) const;

private:
    QString m_name;
    Kind m_kind;
};
