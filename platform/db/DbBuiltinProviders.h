#pragma once
// Registration of the providers built into this library. Explicit calls
// rather than static registrars, because the library is linked statically and
// unreferenced objects would be dropped.

class DbProviderRegistry;

void registerBuiltinProviders(DbProviderRegistry& registry);

void registerSqliteProvider(DbProviderRegistry& registry);
void registerMySqlProvider(DbProviderRegistry& registry);
// The ODBC-based providers ("ODBC", "Oracle" and the other names served
// through ODBC); called only when the library is built with QUENLOR_DB_ODBC.
void registerOdbcProviders(DbProviderRegistry& registry);
