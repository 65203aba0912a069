#include "platform/db/MySqlProvider.h"

#include "platform/db/DbBuiltinProviders.h"
#include "platform/db/DbProviderRegistry.h"
#include "platform/db/MySqlSession.h"

std::unique_ptr<DbSession> MySqlProvider::connect(const DbConnectSettings& settings)
{
    return std::make_unique<MySqlSession>(settings);
}

void registerMySqlProvider(DbProviderRegistry& registry)
{
    registry.registerProvider(std::make_unique<MySqlProvider>());
}
