#pragma once
// Shared pieces of the ODBC providers: the process-wide environment handle,
// diagnostics turned into DbError, and text in the driver manager's forms.

#include <QByteArray>
#include <QString>
#include <sql.h>
#include <sqlext.h>
#include <sqlucode.h>
#include <vector>

namespace odbc {

inline bool ok(SQLRETURN rc) { return rc == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO; }

// Created on first use, ODBC 3 behaviour, never freed (drivers may still be
// loaded by other connections at exit).
SQLHENV environment();

struct Diagnostic {
    QString message;
    QString sqlState;
    int nativeCode = 0;
};
// Every diagnostic record of the handle, first one first.
std::vector<Diagnostic> diagnostics(SQLSMALLINT handleType, SQLHANDLE handle);
// Raises DbError with the first record's state and native code; `context` is
// put in front of the driver's message.
[[noreturn]] void raise(SQLSMALLINT handleType, SQLHANDLE handle, const QString& context);
inline void check(SQLRETURN rc, SQLSMALLINT handleType, SQLHANDLE handle, const QString& context)
{
    if (!ok(rc))
        raise(handleType, handle, context);
}
// SQLSTATE classes that mean the link to the server is gone.
bool isConnectionLost(const QString& sqlState);

// UTF-16 with a terminating zero, as the wide calls take it.
std::vector<SQLWCHAR> wide(const QString& text);
QString fromWide(const SQLWCHAR* text, qsizetype units);

// Names of the installed drivers (SQLDrivers).
QStringList installedDrivers();
// The value in braces when it holds characters that end a connection-string attribute.
QString quoteAttribute(const QString& value);

} // namespace odbc
