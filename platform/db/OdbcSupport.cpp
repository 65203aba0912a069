#include "platform/db/OdbcSupport.h"

#include "platform/db/DbError.h"

#include <QStringList>
#include <mutex>

namespace odbc {

SQLHENV environment()
{
    static SQLHENV env = [] {
        SQLHENV h = SQL_NULL_HENV;
        if (!ok(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &h)))
            throw DbError(QStringLiteral("The ODBC driver manager could not be initialised"));
        SQLSetEnvAttr(h, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
        return h;
    }();
    return env;
}

std::vector<SQLWCHAR> wide(const QString& text)
{
    std::vector<SQLWCHAR> out(static_cast<size_t>(text.size()) + 1, 0);
    for (qsizetype i = 0; i < text.size(); ++i)
        out[static_cast<size_t>(i)] = text.at(i).unicode();
    return out;
}

QString fromWide(const SQLWCHAR* text, qsizetype units)
{
    static_assert(sizeof(SQLWCHAR) == sizeof(char16_t), "unixODBC with 16-bit SQLWCHAR expected");
    if (units < 0) {
        units = 0;
        while (text[units])
            ++units;
    }
    return QString::fromUtf16(reinterpret_cast<const char16_t*>(text), units);
}

std::vector<Diagnostic> diagnostics(SQLSMALLINT handleType, SQLHANDLE handle)
{
    std::vector<Diagnostic> out;
    for (SQLSMALLINT i = 1; i < 20; ++i) {
        SQLWCHAR state[6] = {0};
        SQLINTEGER native = 0;
        std::vector<SQLWCHAR> text(2048, 0);
        SQLSMALLINT length = 0;
        const SQLRETURN rc = SQLGetDiagRecW(handleType, handle, i, state, &native, text.data(),
                                            static_cast<SQLSMALLINT>(text.size()), &length);
        if (!ok(rc))
            break;
        Diagnostic d;
        d.sqlState = fromWide(state, 5);
        d.nativeCode = static_cast<int>(native);
        d.message = fromWide(text.data(), std::min<qsizetype>(length, static_cast<qsizetype>(text.size()) - 1))
                        .trimmed();
        out.push_back(d);
    }
    return out;
}

void raise(SQLSMALLINT handleType, SQLHANDLE handle, const QString& context)
{
    const std::vector<Diagnostic> records = diagnostics(handleType, handle);
    if (records.empty())
        throw DbError(context.isEmpty() ? QStringLiteral("ODBC call failed") : context);
    QStringList texts;
    for (const Diagnostic& d : records)
        if (!d.message.isEmpty() && !texts.contains(d.message))
            texts.append(d.message);
    QString message = texts.join(u'\n');
    if (!context.isEmpty())
        message = context + QStringLiteral(": ") + message;
    const Diagnostic& first = records.front();
    throw DbError::odbc(message, first.nativeCode, first.sqlState, first.nativeCode);
}

bool isConnectionLost(const QString& sqlState)
{
    return sqlState.startsWith(QLatin1String("08")) || sqlState == QLatin1String("HYT01");
}

QStringList installedDrivers()
{
    QStringList names;
    SQLHENV env = environment();
    SQLWCHAR name[512];
    SQLWCHAR attrs[2048];
    SQLSMALLINT nameLen = 0, attrLen = 0;
    SQLUSMALLINT direction = SQL_FETCH_FIRST;
    while (ok(SQLDriversW(env, direction, name, 512, &nameLen, attrs, 2048, &attrLen))) {
        names.append(fromWide(name, -1));
        direction = SQL_FETCH_NEXT;
    }
    return names;
}

QString quoteAttribute(const QString& value)
{
    if (!value.contains(u';') && !value.contains(u'{') && !value.contains(u'}') && value.trimmed() == value)
        return value;
    QString v = value;
    v.replace(QStringLiteral("}"), QStringLiteral("}}"));
    return u'{' + v + u'}';
}

} // namespace odbc
