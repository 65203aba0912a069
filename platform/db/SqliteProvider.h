#pragma once
// "SQLite": an embedded database file (the connection's database) through
// libsqlite3.

#include "platform/db/DbProvider.h"

class SqliteProvider : public DbProvider {
public:
    QString name() const override { return QStringLiteral("SQLite"); }
    bool takesPort() const override { return false; }
    bool takesDatabase() const override { return true; }
    std::unique_ptr<DbSession> connect(const DbConnectSettings& settings) override;
};
