#include "platform/db/DbError.h"

DbError::DbError(const QString& message, int errorCode, const QString& sqlState)
    : Exception(message), m_errorCode(errorCode), m_sqlState(sqlState)
{
}

DbError DbError::odbc(const QString& message, int errorCode, const QString& sqlState, int nativeCode)
{
    DbError e(message, errorCode, sqlState);
    e.m_hasNativeCode = true;
    e.m_nativeCode = nativeCode;
    return e;
}
