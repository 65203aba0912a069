#pragma once
// Puts one source field value into an input parameter of a destination
// statement, by the destination column's kind.

#include "records/ReadDataField.h"

class DbParam;

// blankIsNull: blank texts become NULL. largeObjectSubtype: TFieldType ordinal
// of memo/blob parameters (31 ftOraClob, 30 ftOraBlob for an Oracle
// destination, else 0). A NULL source is bound as NULL.
// Every call sets the parameter, so a value never stays from an earlier row.
void assignFieldToParam(DbParam& param, TReadDataFieldType destType, bool blankIsNull, int largeObjectSubtype,
                        const IReadDataField& source);
