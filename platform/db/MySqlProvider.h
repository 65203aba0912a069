#pragma once
// "MySQL": MySQL and MariaDB servers through MariaDB Connector/C.

#include "platform/db/DbProvider.h"

class MySqlProvider : public DbProvider {
public:
    QString name() const override { return QStringLiteral("MySQL"); }
    bool takesPort() const override { return true; }
    bool takesDatabase() const override { return true; }
    std::unique_ptr<DbSession> connect(const DbConnectSettings& settings) override;
};
