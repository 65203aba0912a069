#pragma once
// Field types of ODBC result columns from their SQL data type, for drivers
// whose catalogue says nothing better.

#include "platform/db/DbFieldDef.h"

class OdbcTypeMap {
public:
    // sqlType: SQL_* code; columnSize and decimalDigits as SQLDescribeCol gives them.
    static void describe(int sqlType, unsigned long columnSize, int decimalDigits, bool unicode,
                         bool preciseDecimal, DbFieldDef& def);
};
