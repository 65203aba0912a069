#pragma once
// The system's own field kinds, one per way a value is stored and converted,
// with the mappings to and from the data-access layer's field types.

#include "platform/db/FieldType.h"

#include <QString>
#include <cstdint>

enum TReadDataFieldType : uint8_t {
    rftUnknown = 0, rftString = 1, rftInteger = 2, rftExtended = 3, rftInt64 = 4, rftBoolean = 5,
    rftFloat = 6, rftBCD = 7, rftDate = 8, rftTime = 9, rftDateTime = 10, rttTimeStamp = 11,
    rftBytes = 12, rftMemo = 13, rftBlob = 14
};

// rftUnknown for every layer type without a kind of its own.
TReadDataFieldType readDataFieldTypeOf(int fieldType);
TFieldType fieldTypeOfReadDataType(TReadDataFieldType type);
QString readDataFieldTypeName(TReadDataFieldType type);

// "Can't convert field type  field name=%s field type=%s"
[[noreturn]] void raiseCantConvertFieldType(const QString& fieldName, int fieldType);
// The kind of a layer type, failing as above when it has none.
TReadDataFieldType requireReadDataFieldType(const QString& fieldName, int fieldType);

// Layer types whose values are texts, memos, byte strings and binary large objects.
bool isStringFieldType(int fieldType);
bool isMemoFieldType(int fieldType);
bool isBytesFieldType(int fieldType);
bool isBinaryBlobFieldType(int fieldType);
