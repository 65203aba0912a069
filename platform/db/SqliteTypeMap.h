#pragma once
// How SQLite's declared column types are reported. SQLite keeps any value in
// any column; the declared type decides what callers are told to expect.

#include "platform/db/DbFieldDef.h"

#include <QString>

class SqliteTypeMap {
public:
    // Declared type text ("VARCHAR(20)", "DECIMAL(30,4)", "") to a field
    // definition's type, size, precision and scale. An empty text gives
    // ftUnknown (the caller decides from the first value).
    static void describe(const QString& declaredType, DbFieldDef& def);
    // For a column without declared type: by the storage class of its first
    // value (SQLITE_INTEGER, SQLITE_FLOAT, SQLITE_TEXT, SQLITE_BLOB, SQLITE_NULL).
    static TFieldType fromStorageClass(int storageClass);
    // "VARCHAR(20)" -> "VARCHAR", 20, -1; "DECIMAL(30,4)" -> "DECIMAL", 30, 4.
    static QString splitDeclared(const QString& declaredType, int& first, int& second);
};
