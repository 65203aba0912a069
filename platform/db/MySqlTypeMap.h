#pragma once
// How MySQL/MariaDB result columns are reported and read. Integers keep an
// integer type only where every value fits (unsigned kinds one size up);
// exact numbers travel as decimal digits.

#include "platform/db/DbFieldDef.h"

struct st_mysql_field;

enum class MySqlReadAs {
    Integer,   // bound as a 64-bit integer
    Double,
    Decimal,   // decimal digit text
    Text,      // characters in the connection's character set
    Bytes,     // raw bytes
    Time,      // MYSQL_TIME
    Bit        // raw big-endian bits, returned as an integer
};

struct MySqlTypeOptions {
    bool unicode = false;        // UseUnicode: wide character kinds
    bool enableBoolean = false;  // TINYINT(1) as ftBoolean
    bool preciseDecimal = true;  // exact numbers as ftFMTBcd, else ftFloat
    unsigned mbMaxLen = 1;       // bytes per character of the connection's character set
};

class MySqlTypeMap {
public:
    // Fills type, size, precision, scale, required and nativeType of `def`
    // (its name is left alone) and says how values are to be read.
    static MySqlReadAs describe(const st_mysql_field& field, const MySqlTypeOptions& options, DbFieldDef& def);
};
