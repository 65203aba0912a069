#pragma once
// Database kind codes as the configurations and type tables store them.

namespace dbkind {
constexpr int MySQL = 1;
constexpr int Oracle = 2;
constexpr int DB2 = 3;
constexpr int Access = 4;
constexpr int MSSQL = 5;
constexpr int PostgreSQL = 6;
constexpr int Firebird = 7;
constexpr int SQLite = 8;
constexpr int Excel = 9;
// Any other kind name.
constexpr int Other = 255;
// Not a database: the category of errors met while converting a field's value.
constexpr int FieldConversion = 10000;
} // namespace dbkind
