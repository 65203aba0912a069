#pragma once
// Small pure text functions shared by the users of keyed string tables.

#include "foundation/StringList.h"

#include <QString>

// Whether the 32-bit integer conversion accepts the text: leading blanks,
// a sign, then decimal digits or hexadecimal after $, x, X or 0x.
bool isIntegerText(const QString& text);
// The same forms read into 64 bits; false when the text is not one.
bool parseIntegerText(const QString& text, qint64* value);
// Removes characters up to and including the blank (code 32 and below) at both ends.
QString trimText(const QString& text);
bool isBlankText(const QString& text);
bool startsWithText(const QString& text, const QString& prefix);
bool endsWithText(const QString& text, const QString& suffix);
QString stripPrefix(const QString& text, const QString& prefix);
QString stripSuffix(const QString& text, const QString& suffix);
QString removeLineBreaks(const QString& text);
bool splitAtFirst(const QString& text, const QString& separator, QString* before, QString* after);
QString textBefore(const QString& separator, const QString& text);
QString textAfter(const QString& separator, const QString& text);
TStringList lineNames(const TStringList& lines);
QString zeroPadNumber(qint64 number, int width);
QString nameValueText(const QString& name, const QString& value);
void reverseNameValueLines(const TStringList& source, TStringList& target);
QString urlEncodeText(const QString& text);
bool fileExistsNonBlank(const QString& path);
