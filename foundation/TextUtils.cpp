#include "foundation/TextUtils.h"

#include <QFileInfo>

bool parseIntegerText(const QString& text, qint64* value)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && text.at(i) <= u' ')
        ++i;
    bool negative = false;
    if (i < n && (text.at(i) == u'-' || text.at(i) == u'+')) {
        negative = text.at(i) == u'-';
        ++i;
    }
    int base = 10;
    if (i < n && text.at(i) == u'$') {
        base = 16;
        ++i;
    } else if (i + 1 < n && text.at(i) == u'0' && (text.at(i + 1) == u'x' || text.at(i + 1) == u'X')) {
        base = 16;
        i += 2;
    } else if (i < n && (text.at(i) == u'x' || text.at(i) == u'X')) {
        base = 16;
        ++i;
    }
    if (i >= n)
        return false;
    quint64 acc = 0;
    const quint64 limit = base == 16 ? 0xFFFFFFFFFFFFFFFFull : quint64(std::numeric_limits<qint64>::max()) + (negative ? 1 : 0);
    for (; i < n; ++i) {
        const int d = text.at(i).isDigit() ? text.at(i).digitValue()
                    : (base == 16 && QStringLiteral("abcdefABCDEF").contains(text.at(i)))
                        ? text.at(i).toLower().unicode() - 'a' + 10
                        : -1;
        if (d < 0 || d >= base)
            return false;
        if (acc > (limit - quint64(d)) / quint64(base))
            return false;
        acc = acc * quint64(base) + quint64(d);
    }
    if (value)
        *value = negative ? qint64(0 - acc) : qint64(acc);
    return true;
}

bool isIntegerText(const QString& text)
{
    return parseIntegerText(text, nullptr);
}

QString trimText(const QString& text)
{
    qsizetype b = 0, e = text.size();
    while (b < e && text.at(b) <= u' ')
        ++b;
    while (e > b && text.at(e - 1) <= u' ')
        --e;
    return text.mid(b, e - b);
}

bool isBlankText(const QString& text)
{
    for (QChar c : text)
        if (c > u' ')
            return false;
    return true;
}

bool startsWithText(const QString& text, const QString& prefix)
{
    return text.startsWith(prefix, Qt::CaseSensitive);
}

bool endsWithText(const QString& text, const QString& suffix)
{
    return text.endsWith(suffix, Qt::CaseSensitive);
}

QString stripPrefix(const QString& text, const QString& prefix)
{
    return startsWithText(text, prefix) ? text.mid(prefix.size()) : text;
}

QString stripSuffix(const QString& text, const QString& suffix)
{
    return endsWithText(text, suffix) ? text.left(text.size() - suffix.size()) : text;
}

QString removeLineBreaks(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (QChar c : text)
        if (c != u'\t' && c != u'\n' && c != u'\r')
            out += c;
    return out;
}

bool splitAtFirst(const QString& text, const QString& separator, QString* before, QString* after)
{
    const qsizetype i = text.indexOf(separator, 0, Qt::CaseSensitive);
    if (i < 0)
        return false;
    if (before)
        *before = text.left(i);
    if (after)
        *after = text.mid(i + separator.size());
    return true;
}

QString textBefore(const QString& separator, const QString& text)
{
    QString b;
    return splitAtFirst(text, separator, &b, nullptr) ? b : QString();
}

QString textAfter(const QString& separator, const QString& text)
{
    QString a;
    return splitAtFirst(text, separator, nullptr, &a) ? a : QString();
}

TStringList lineNames(const TStringList& lines)
{
    TStringList out;
    for (const QString& l : lines.lines())
        if (TStringList::hasName(l))
            out.add(TStringList::nameOf(l));
    return out;
}

QString zeroPadNumber(qint64 number, int width)
{
    const QString digits = QString::number(number);
    if (digits.size() < width)
        return QString(width - digits.size(), u'0') + digits;
    return digits.left(width);
}

QString nameValueText(const QString& name, const QString& value)
{
    return name + u'=' + value;
}

void reverseNameValueLines(const TStringList& source, TStringList& target)
{
    for (const QString& l : source.lines()) {
        const qsizetype eq = l.indexOf(u'=');
        if (eq >= 0)
            target.add(l.mid(eq + 1) + u'=' + l.left(eq));
    }
}

QString urlEncodeText(const QString& text)
{
    static const char hex[] = "0123456789ABCDEF";
    QString out;
    for (QChar c : text) {
        const ushort u = c.unicode();
        if (u == ' ')
            out += u'+';
        else if ((u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || (u >= '0' && u <= '9') || u == '*' || u == '.')
            out += c;
        else {
            const int low = u & 0xFF;
            out += u'%';
            out += QLatin1Char(hex[low >> 4]);
            out += QLatin1Char(hex[low & 15]);
        }
    }
    return out;
}

bool fileExistsNonBlank(const QString& path)
{
    if (isBlankText(path))
        return false;
    const QFileInfo fi(path);
    return fi.exists() && fi.isFile();
}
