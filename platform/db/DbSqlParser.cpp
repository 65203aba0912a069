#include "platform/db/DbSqlParser.h"

namespace {
bool isNameChar(QChar c) { return c.isLetterOrNumber() || c == u'_' || c == u'$' || c == u'#'; }
}

DbParsedSql DbSqlParser::parse(const QString& sql, bool backslashEscapes)
{
    DbParsedSql out;
    out.positionalSql.reserve(sql.size());
    const qsizetype n = sql.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = sql[i];
        if (c == u'\'' || c == u'"' || c == u'`') {
            // Quoted literal or identifier; a doubled quote stays inside.
            qsizetype j = i + 1;
            while (j < n) {
                if (backslashEscapes && c != u'`' && sql[j] == u'\\' && j + 1 < n) {
                    j += 2;
                    continue;
                }
                if (sql[j] == c) {
                    if (j + 1 < n && sql[j + 1] == c) {
                        j += 2;
                        continue;
                    }
                    break;
                }
                ++j;
            }
            const qsizetype end = j < n ? j + 1 : n;
            out.positionalSql += QStringView(sql).mid(i, end - i);
            i = end;
        } else if (c == u'-' && i + 1 < n && sql[i + 1] == u'-') {
            qsizetype j = sql.indexOf(u'\n', i);
            const qsizetype end = j < 0 ? n : j;
            out.positionalSql += QStringView(sql).mid(i, end - i);
            i = end;
        } else if (c == u'/' && i + 1 < n && sql[i + 1] == u'*') {
            qsizetype j = sql.indexOf(QLatin1String("*/"), i + 2);
            const qsizetype end = j < 0 ? n : j + 2;
            out.positionalSql += QStringView(sql).mid(i, end - i);
            i = end;
        } else if (c == u':' && i + 1 < n && sql[i + 1] == u':') {
            out.positionalSql += QLatin1String("::"); // a cast, not a parameter
            i += 2;
        } else if (c == u':' && i + 1 < n && isNameChar(sql[i + 1])) {
            qsizetype j = i + 1;
            while (j < n && isNameChar(sql[j]))
                ++j;
            out.names.append(sql.mid(i + 1, j - i - 1));
            out.positionalSql += u'?';
            i = j;
        } else {
            out.positionalSql += c;
            ++i;
        }
    }
    return out;
}
