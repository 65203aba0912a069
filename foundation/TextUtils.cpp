#include "foundation/TextUtils.h"

#include <QFileInfo>

#include <limits>

namespace {
// Returns false when the text is not an integer; *hex tells which form it had.
bool parseInteger(const QString& text, qint64* value, bool* hex)
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
        // ASCII digits only: QChar::isDigit would accept other scripts' digits.
        const char16_t c = text.at(i).unicode();
        int d = -1;
        if (c >= u'0' && c <= u'9')
            d = c - u'0';
        else if (base == 16 && c >= u'a' && c <= u'f')
            d = c - u'a' + 10;
        else if (base == 16 && c >= u'A' && c <= u'F')
            d = c - u'A' + 10;
        if (d < 0)
            return false;
        if (acc > (limit - quint64(d)) / quint64(base))
            return false;
        acc = acc * quint64(base) + quint64(d);
    }
    if (value)
        *value = negative ? qint64(0 - acc) : qint64(acc);
    if (hex)
        *hex = base == 16;
    return true;
}
} // namespace

bool parseIntegerText(const QString& text, qint64* value)
{
    return parseInteger(text, value, nullptr);
}

bool isIntegerText(const QString& text)
{
    // The 32-bit conversion: decimal within the signed range, hexadecimal up
    // to eight digits' worth (FFFFFFFF reads as -1).
    qint64 v = 0;
    bool hex = false;
    if (!parseInteger(text, &v, &hex))
        return false;
    if (hex)
        return v >= -qint64(0xFFFFFFFF) && v <= qint64(0xFFFFFFFF);
    return v >= std::numeric_limits<qint32>::min() && v <= std::numeric_limits<qint32>::max();
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
    if (width <= 0)
        return QString();
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
