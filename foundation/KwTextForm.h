#pragma once
// Plain text form of a keyed string table, used for the shipped tables in
// data/ and by quenlor-config: per section a line "[name]", then its lines; a
// line that begins with '[' or '\' gets one extra '\' in front. Output ends
// lines with LF; input accepts CR LF as well.

#include "foundation/KwStringsComponent.h"

#include <QByteArray>
#include <QString>

// Raises an Exception for a section name holding a line break (no text form).
QString kwTableToText(const TKwStringsComponent& table);
// Appends the sections of the text; a malformed text raises an Exception
// naming the line, and the table is left as it was.
void kwTableAppendText(TKwStringsComponent& table, const QString& text);
void kwTableFromText(TKwStringsComponent& table, const QString& text);
// Reads a UTF-8 text-form file (a Qt resource path works too).
void kwTableLoadTextFile(TKwStringsComponent& table, const QString& fileName);
