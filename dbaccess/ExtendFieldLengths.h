#pragma once
// Widening of destination columns whose values are too long: finds the fields
// of a record that cannot be inserted alone (on a scratch copy of the table)
// and alters each such text column to the needed length, rounded up to a
// multiple of 10.

#include <QString>

class IReadDataRecord;
class TStringList;
class TDBConnection;

// table: as configured (the time suffix is added here); destToSourceMap:
// destination=source lines. True when every failing field was widened.
bool extendFieldLengths(TDBConnection& connection, const QString& table, const TStringList& destToSourceMap,
                        IReadDataRecord& record);

// Length a text needs in the destination: characters above code 254 count
// as multiCharLength (UTF-16 units, so a surrogate pair counts twice).
int neededTextLength(const QString& text, int multiCharLength);
