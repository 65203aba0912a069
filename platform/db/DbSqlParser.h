#pragma once
// Finds the named parameters ":name" of a statement text: one per occurrence,
// in order. A colon inside a quoted literal ('...'), a quoted identifier
// ("..." or `...`), a comment (-- ... and /* ... */) or a "::" cast is not a
// parameter, and neither is a colon not followed by a name character.

#include <QString>
#include <QStringList>

struct DbParsedSql {
    QStringList names;       // one per occurrence, without the colon
    QString positionalSql;   // the text with every parameter replaced by '?'
};

class DbSqlParser {
public:
    // backslashEscapes: a backslash inside a quoted literal escapes the next
    // character (MySQL's default); off for standard SQL.
    static DbParsedSql parse(const QString& sql, bool backslashEscapes = false);
    static QStringList parameterNames(const QString& sql, bool backslashEscapes = false)
    {
        return parse(sql, backslashEscapes).names;
    }
};
