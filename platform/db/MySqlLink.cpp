#include "platform/db/MySqlLink.h"

#include "platform/db/DbError.h"
#include "platform/db/MySqlCursor.h"

#include <errmsg.h>
#include <mysql.h>

QString MySqlLink::decode(const char* data, qsizetype size) const
{
    return latin1 ? QString::fromLatin1(data, size) : QString::fromUtf8(data, size);
}

QByteArray MySqlLink::encode(const QString& text) const { return latin1 ? text.toLatin1() : text.toUtf8(); }

void MySqlLink::freeForStatement(const MySqlCursor* except)
{
    if (streaming && streaming != except) {
        MySqlCursor* cursor = streaming;
        cursor->detach(); // clears `streaming`
    }
}

MYSQL* MySqlLink::handle() const
{
    if (!mysql || !alive)
        throw DbError(QStringLiteral("The connection to the MySQL server is closed"), CR_SERVER_GONE_ERROR,
                      QStringLiteral("HY000"));
    return mysql;
}

void MySqlLink::noteError(unsigned errorNumber)
{
    if (errorNumber == CR_SERVER_GONE_ERROR || errorNumber == CR_SERVER_LOST
        || errorNumber == CR_SERVER_LOST_EXTENDED || errorNumber == CR_CONNECTION_ERROR
        || errorNumber == 1053 /* ER_SERVER_SHUTDOWN */ || errorNumber == 1927 /* ER_CONNECTION_KILLED */
        || errorNumber == 4031 /* ER_CLIENT_INTERACTION_TIMEOUT */)
        alive = false;
}

void MySqlLink::raise()
{
    const unsigned code = mysql_errno(mysql);
    const QString message = QString::fromUtf8(mysql_error(mysql));
    const QString state = QString::fromLatin1(mysql_sqlstate(mysql));
    noteError(code);
    throw DbError(message, static_cast<int>(code), state);
}

void MySqlLink::raise(MYSQL_STMT* stmt)
{
    const unsigned code = mysql_stmt_errno(stmt);
    const QString message = QString::fromUtf8(mysql_stmt_error(stmt));
    const QString state = QString::fromLatin1(mysql_stmt_sqlstate(stmt));
    noteError(code);
    throw DbError(message, static_cast<int>(code), state);
}
