#include "foundation/PasswordMask.h"

#include <QRegularExpression>

namespace {

bool mayHoldPassword(const QString& text)
{
    return text.contains(QLatin1String("pwd"), Qt::CaseInsensitive) ||
           text.contains(QLatin1String("password"), Qt::CaseInsensitive);
}

bool endsPlainValue(QChar c) { return c == u';' || c == u'\r' || c == u'\n'; }

// The end of a value that starts at from (after the '=' and its blanks).
qsizetype valueEnd(const QString& text, qsizetype from)
{
    const qsizetype size = text.size();
    qsizetype i = from;
    if (i < size && text.at(i) == u'{') {
        ++i;
        for (;;) {
            if (i >= size)
                return size; // unclosed: everything after it may be the password
            if (text.at(i) == u'}') {
                if (i + 1 < size && text.at(i + 1) == u'}') {
                    i += 2;
                    continue;
                }
                ++i;
                break;
            }
            ++i;
        }
    }
    // Anything glued to the braces belongs to the value as a driver may read it.
    while (i < size && !endsPlainValue(text.at(i)))
        ++i;
    return i;
}

} // namespace

QString maskPasswords(const QString& text)
{
    if (!mayHoldPassword(text))
        return text;
    // Not after a letter, digit or '_': "MainProperty_Password" is its own key,
    // "UserPassword" none of these.
    static const QRegularExpression key(QStringLiteral("(?<![A-Za-z0-9_])(?:MainProperty_Password|Password|PWD)[ \\t]*=[ \\t]*"),
                                        QRegularExpression::CaseInsensitiveOption);
    QString result;
    qsizetype done = 0;
    qsizetype from = 0;
    for (;;) {
        const QRegularExpressionMatch match = key.match(text, from);
        if (!match.hasMatch())
            break;
        const qsizetype start = match.capturedEnd();
        const qsizetype end = valueEnd(text, start);
        result += QStringView(text).mid(done, start - done);
        result += QLatin1String(kPasswordMask);
        done = end;
        from = end;
        if (from >= text.size())
            break;
    }
    if (done == 0)
        return text;
    result += QStringView(text).mid(done);
    return result;
}
