#pragma once
// What a provider needs to know about a query besides its text and values.

#include "foundation/StringList.h"

struct DbQueryOptions {
    bool forwardOnly = false;
    // Exact numbers are reported as ftFMTBcd and read as decimal digits. When
    // off, providers may report them as ftFloat.
    bool preciseDecimal = true;
    // name=value lines, with or without the provider prefix ("MySQL.CommandTimeout").
    TStringList options;

    // The value of `name` given as "<provider>.<name>" or as plain "<name>",
    // the prefixed form winning; the empty text when absent.
    QString option(const QString& provider, const QString& name) const;
};
