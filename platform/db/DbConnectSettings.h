#pragma once
// Everything a provider needs to open a connection.

#include "foundation/StringList.h"

#include <QSet>
#include <QString>

struct DbConnectSettings {
    QString providerName;
    QString userName;
    QString password;
    QString server;
    QString database;
    int port = 0;          // 0: the provider's default
    TStringList options;   // provider-specific name=value lines
    // The option names a provider asked for (lower case, both forms), so that
    // a setting nobody reads can be named.
    mutable QSet<QString> askedOptions;

    // The value of `name` given as "<providerName>.<name>" or as plain
    // "<name>", the prefixed form winning; the empty text when absent.
    QString option(const QString& name) const;
    // "True"/"False" in any letter case (also 1/0); `fallback` otherwise.
    bool boolOption(const QString& name, bool fallback) const;
    // A decimal integer; `fallback` when absent or not a number.
    int intOption(const QString& name, int fallback) const;
};
