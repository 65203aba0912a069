#pragma once
// The indexes of a destination table that the importer created, made after
// its rows were written: duplicates skipped (the last of equal column lists
// stays), unmapped ones reported, names kept unique among the known ones.

#include <QString>

class TErrInfoList;
class TIndexMetadataList;
class TDBConnection;

// table: as configured (without time suffix). Marks duplicates as skipped in
// the list; failures are recorded with error type 12.
void createIndexes(TDBConnection& connection, const QString& table, TIndexMetadataList& indexes,
                   TErrInfoList* errors);
