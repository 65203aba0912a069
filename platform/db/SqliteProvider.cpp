#include "platform/db/SqliteProvider.h"

#include "platform/db/DbBuiltinProviders.h"
#include "platform/db/DbProviderRegistry.h"
#include "platform/db/SqliteSession.h"

std::unique_ptr<DbSession> SqliteProvider::connect(const DbConnectSettings& settings)
{
    return std::make_unique<SqliteSession>(settings);
}

void registerSqliteProvider(DbProviderRegistry& registry)
{
    registry.registerProvider(std::make_unique<SqliteProvider>());
}
