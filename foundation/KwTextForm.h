#pragma once
// Plain text form of a keyed string table, used for the shipped tables in
// data/ and by quenlor-config: per section a line "[name]", then its lines; a
// line that begins with '[' or '\' gets one extra '\' in front. Output ends
// lines with LF; input accepts CR LF as well.

#include "foundation/KwStringsComponet.h"

#include <QByteArray>
#include <QString>

// Raises an Exception for a section name holding a line break (no text form).
QString kwTableToText(const TKwStringsComponet& table);
// Appends the sections of the text; a malformed text raises an Exception
// naming the line, and the table is left as it was.
void kwTableAppendText(TKwStringsComponet& table, const QString& text);
void kwTableFromText(TKwStringsComponet& table, const QString& text);
// Reads a UTF-8 text-form file (a Qt resource path works too).
void kwTableLoadTextFile(TKwStringsComponet& table, const QString& fileName);
