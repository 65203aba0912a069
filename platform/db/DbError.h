#pragma once
// The data-access layer's database error: the server's (or client library's)
// message together with its error code, SQLSTATE and, for errors that come
// through ODBC, the driver's native code.

#include "foundation/Exception.h"

#include <QString>

class DbError : public Exception {
public:
    // errorCode: the provider's own number (MySQL errno, SQLite extended
    // result code, 0 for errors raised by the layer itself).
    explicit DbError(const QString& message, int errorCode = 0, const QString& sqlState = QString());

    // An error that wraps an ODBC diagnostic record.
    static DbError odbc(const QString& message, int errorCode, const QString& sqlState, int nativeCode);

    int errorCode() const { return m_errorCode; }
    const QString& sqlState() const { return m_sqlState; }
    bool hasNativeCode() const { return m_hasNativeCode; }
    int nativeCode() const { return m_nativeCode; }

    // The code the error tracker records: the native code of a wrapped ODBC
    // error, the error code otherwise.
    int trackedCode() const { return m_hasNativeCode ? m_nativeCode : m_errorCode; }

private:
    int m_errorCode = 0;
    QString m_sqlState;
    bool m_hasNativeCode = false;
    int m_nativeCode = 0;
};
