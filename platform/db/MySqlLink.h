#pragma once
// The native MySQL connection shared by a session and its statements, so a
// statement can tell after the session closed that the link is gone.

#include <QByteArray>
#include <QString>

struct st_mysql;
struct st_mysql_stmt;
class MySqlCursor;

class MySqlLink {
public:
    st_mysql* mysql = nullptr;     // nullptr once closed
    MySqlCursor* streaming = nullptr; // the cursor still reading rows from the server
    bool alive = true;
    bool unicode = false;
    bool enableBoolean = false;
    bool latin1 = false;           // text travels as latin1 instead of UTF-8
    unsigned mbMaxLen = 4;
    bool mariadb = false;
    int statementTimeout = 0;      // seconds set on the session, 0 none

    QString decode(const char* data, qsizetype size) const;
    QByteArray encode(const QString& text) const;

    // Before another statement runs: a streaming cursor reads its rest.
    void freeForStatement(const MySqlCursor* except = nullptr);
    // Raises DbError when the link is closed.
    st_mysql* handle() const;

    // DbError from the connection / a statement; notes a broken link.
    [[noreturn]] void raise();
    [[noreturn]] void raise(st_mysql_stmt* stmt);
    void noteError(unsigned errorNumber);
};
