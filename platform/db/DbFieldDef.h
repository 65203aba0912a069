#pragma once
// The definition of one result column as the layer reports it.

#include "platform/db/FieldType.h"

#include <QString>

struct DbFieldDef {
    QString name;
    TFieldType dataType = ftUnknown;
    int size = 0;       // characters for text, bytes for binary, 0 otherwise
    int precision = 0;  // digits of exact numbers, 0 when unknown
    int scale = 0;      // digits after the point of exact numbers
    bool required = false; // NOT NULL
    QString nativeType;  // the provider's own type text, for messages

    // Bytes of one value of the type's fixed-width form: 2/4/8 for integers,
    // 8 for floats and date-times, 1 for booleans, 34 for exact decimals,
    // 16 for timestamps, size (or size*2 for wide text) for the others.
    int dataSize() const;
};
