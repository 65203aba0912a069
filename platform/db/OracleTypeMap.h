#pragma once
// Field types of Oracle columns, from the dictionary's DATA_TYPE text with its
// precision and scale (ALL_TAB_COLUMNS), so that every driver reports the same.

#include "platform/db/DbFieldDef.h"

#include <QString>

struct OracleColumnType {
    QString dataType;      // "NUMBER", "VARCHAR2", "TIMESTAMP(6)", ...
    int length = 0;        // characters for character types, bytes for RAW
    int precision = -1;    // -1: NULL in the dictionary
    int scale = -1;
};

class OracleTypeMap {
public:
    // Fills dataType, size, precision and scale of `def`; unicode selects the
    // wide kinds for the database character set's types. Returns false for a
    // type name this map does not know (def untouched then).
    static bool describe(const OracleColumnType& column, bool unicode, bool preciseDecimal, DbFieldDef& def);
};
