#include "platform/db/DbBuiltinProviders.h"

void registerBuiltinProviders(DbProviderRegistry& registry)
{
    registerSqliteProvider(registry);
    registerMySqlProvider(registry);
#ifdef QUENLOR_DB_ODBC
    registerOdbcProviders(registry);
#endif
}
