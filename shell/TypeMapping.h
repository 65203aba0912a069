#pragma once
// Column type mapping by the shipped data tables: destination type name of a
// field type ("FieldMapping"), size-part class of a type name
// ("creatTableFieldScopeDef") and the precision/scale bounds of AutoDetect
// types ("AutoDetectLen"). The registry's slots 7-9 call these; code that runs
// without a created registry calls them directly.

#include "platform/db/FieldType.h"

#include <QString>

class TKwStringsComponent;

// Scope classes: which size part a column type takes.
enum TScopeClass : int {
    scNone = 0,       // unknown word: no size part
    scType = 1,       // no size part
    scLength = 2,     // "(%d)" with the length
    scInteger = 3,    // "(%d)" with the precision
    scScope = 4,      // "(%d,%d)" with precision and scale
    scAutoDetect = 5, // clamped by "AutoDetectLen"
};

// "type", "length", "integer", "scope", "AutoDetect" (ignoring case); else scNone.
int scopeClassOfWord(const QString& word);

// The kind's section, then "Default"; scType when neither has the name.
int fieldScopeOf(int kind, const QString& typeName);
// The kind's value for the enumerator name, then "Default", then "varchar".
QString fieldTypeNameOf(int kind, TFieldType fieldType);
// Clamps precision and scale into the kind's bounds for the type name; true
// when either changed. Types without bounds stay as they are.
bool autoDetectLength(int kind, const QString& typeName, int& precision, int& scale);
// True when columns of the type never take a not-null clause ("notModifyFieldType").
bool isNotModifyFieldType(int kind, const QString& typeName);

// Bound expressions of "AutoDetectLen": an integer, or "A-B" (A minus B);
// text that is not an integer counts as 0.
int evaluateBoundText(const QString& text);
// Replaces every occurrence of `word` (ignoring case) by the number.
QString replaceBoundWord(const QString& text, const QString& word, int value);

// The same operations over explicit tables, for tests and other table sets.
int fieldScopeIn(const TKwStringsComponent* scopeTable, int kind, const QString& typeName);
QString fieldTypeNameIn(const TKwStringsComponent* mappingTable, int kind, TFieldType fieldType);
bool autoDetectLengthIn(const TKwStringsComponent* boundsTable, int kind, const QString& typeName, int& precision,
                        int& scale);
