#include "records/BcdValue.h"

#include <cmath>
#include <cstring>

TBcd TBcd::fromBytes(const char* bytes34)
{
    TBcd out;
    std::memcpy(out.m_bytes.data(), bytes34, kSize);
    return out;
}

int TBcd::digitAt(int index) const
{
    const uint8_t byte = m_bytes[2 + index / 2];
    return (index % 2 == 0) ? (byte >> 4) : (byte & 0x0F);
}

bool TBcd::isValid() const
{
    const int digits = precision();
    if (digits > kMaxDigits || places() > digits)
        return false;
    for (int i = 0; i < digits; ++i)
        if (digitAt(i) > 9)
            return false;
    return true;
}

bool TBcd::fromDigits(bool negative, const QString& intDigits, const QString& fracDigits, TBcd* out)
{
    QString whole = intDigits;
    while (whole.size() > 0 && whole.front() == u'0')
        whole.remove(0, 1);
    QString digits = whole + fracDigits;
    if (digits.isEmpty())
        digits = QStringLiteral("0");
    if (digits.size() > kMaxDigits || fracDigits.size() > 0x3F)
        return false;
    TBcd bcd;
    bcd.m_bytes[0] = uint8_t(digits.size());
    bool allZero = true;
    for (qsizetype i = 0; i < digits.size(); ++i) {
        const int d = digits.at(i).unicode() - u'0';
        allZero = allZero && d == 0;
        uint8_t& byte = bcd.m_bytes[2 + i / 2];
        byte |= (i % 2 == 0) ? uint8_t(d << 4) : uint8_t(d);
    }
    bcd.m_bytes[1] = uint8_t((negative && !allZero ? 0x80 : 0) | fracDigits.size());
    *out = bcd;
    return true;
}

TBcd TBcd::fromInt64(int64_t value)
{
    const uint64_t magnitude = value < 0 ? uint64_t(0) - uint64_t(value) : uint64_t(value);
    TBcd out;
    fromDigits(value < 0, QString::number(magnitude), QString(), &out);
    return out;
}

bool TBcd::fromPlainText(const QString& text, QChar decimalSeparator, TBcd* out)
{
    qsizetype i = 0;
    bool negative = false;
    if (i < text.size() && (text.at(i) == u'-' || text.at(i) == u'+')) {
        negative = text.at(i) == u'-';
        ++i;
    }
    QString intDigits, fracDigits;
    while (i < text.size() && text.at(i).isDigit() && text.at(i).unicode() < 128)
        intDigits += text.at(i++);
    if (i < text.size() && text.at(i) == decimalSeparator) {
        ++i;
        while (i < text.size() && text.at(i).isDigit() && text.at(i).unicode() < 128)
            fracDigits += text.at(i++);
    }
    if (i != text.size() || (intDigits.isEmpty() && fracDigits.isEmpty()))
        return false;
    return fromDigits(negative, intDigits, fracDigits, out);
}

bool TBcd::fromDouble(double value, TBcd* out)
{
    if (!std::isfinite(value))
        return false;
    // d.dddddddddddddde[+-]x: 15 significant digits, then drop trailing zeros.
    const QString sci = QString::number(std::fabs(value), 'e', 14);
    const qsizetype e = sci.indexOf(u'e');
    QString mantissa = sci.left(e);
    mantissa.remove(u'.');
    const int exponent = sci.mid(e + 1).toInt();
    while (mantissa.size() > 1 && mantissa.endsWith(u'0'))
        mantissa.chop(1);
    QString intDigits, fracDigits;
    const int pointAt = exponent + 1; // digits before the decimal point
    if (pointAt <= 0) {
        fracDigits = QString(-pointAt, u'0') + mantissa;
    } else if (pointAt >= mantissa.size()) {
        intDigits = mantissa + QString(pointAt - mantissa.size(), u'0');
    } else {
        intDigits = mantissa.left(pointAt);
        fracDigits = mantissa.mid(pointAt);
    }
    if (value == 0)
        intDigits = QStringLiteral("0"), fracDigits.clear();
    return fromDigits(value < 0, intDigits, fracDigits, out);
}

QString TBcd::toPlainText(QChar decimalSeparator) const
{
    const int digits = precision();
    const int decimals = places();
    QString whole, fraction;
    for (int i = 0; i < digits; ++i)
        (i < digits - decimals ? whole : fraction) += QChar(u'0' + digitAt(i));
    while (whole.size() > 1 && whole.front() == u'0')
        whole.remove(0, 1);
    if (whole.isEmpty())
        whole = QStringLiteral("0");
    bool zero = true;
    for (QChar c : whole + fraction)
        zero = zero && c == u'0';
    QString out = (negative() && !zero) ? QStringLiteral("-") : QString();
    out += whole;
    if (!fraction.isEmpty())
        out += decimalSeparator + fraction;
    return out;
}

double TBcd::toDouble() const
{
    return toPlainText(u'.').toDouble();
}

QByteArray TBcd::toByteArray() const
{
    return QByteArray(reinterpret_cast<const char*>(m_bytes.data()), kSize);
}
