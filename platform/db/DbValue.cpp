#include "platform/db/DbValue.h"

#include "foundation/Exception.h"

#include <QLocale>
#include <QRegularExpression>
#include <cmath>
#include <limits>

namespace {

bool hasNonZeroDigit(QStringView text)
{
    for (QChar c : text)
        if (c >= u'1' && c <= u'9')
            return true;
    return false;
}

const QRegularExpression& decimalPattern()
{
    static const QRegularExpression re(QStringLiteral(R"(^[+-]?(\d+(\.\d*)?|\.\d+)$)"));
    return re;
}

// "+001.50" -> "1.50", "-.5" -> "-0.5", "-0" -> "0"; the digits are not rounded.
QString normaliseDecimal(const QString& text)
{
    QString t = text.trimmed();
    bool negative = false;
    if (t.startsWith(u'+') || t.startsWith(u'-')) {
        negative = t.startsWith(u'-');
        t.remove(0, 1);
    }
    qsizetype point = t.indexOf(u'.');
    QString whole = point < 0 ? t : t.left(point);
    QString fraction = point < 0 ? QString() : t.mid(point + 1);
    while (whole.size() > 1 && whole.startsWith(u'0'))
        whole.remove(0, 1);
    if (whole.isEmpty())
        whole = QStringLiteral("0");
    QString result = fraction.isEmpty() ? whole : whole + u'.' + fraction;
    const bool zero = !hasNonZeroDigit(result);
    return negative && !zero ? u'-' + result : result;
}

Exception conversionError(const DbValue& v, const char* target)
{
    return Exception(QStringLiteral("'%1' is not a valid %2 value").arg(v.toString(), QLatin1String(target)));
}

bool parseInt64Text(const QString& text, int64_t& out)
{
    bool ok = false;
    out = text.trimmed().toLongLong(&ok);
    return ok;
}

} // namespace

DbValue DbValue::boolean(bool v) { DbValue r; r.m_kind = Kind::Boolean; r.m_data = v; return r; }
DbValue DbValue::integer(int64_t v) { DbValue r; r.m_kind = Kind::Integer; r.m_data = v; return r; }
DbValue DbValue::floating(double v) { DbValue r; r.m_kind = Kind::Float; r.m_data = v; return r; }
DbValue DbValue::string(const QString& v) { DbValue r; r.m_kind = Kind::String; r.m_data = v; return r; }
DbValue DbValue::bytes(const QByteArray& v) { DbValue r; r.m_kind = Kind::Bytes; r.m_data = v; return r; }

DbValue DbValue::decimal(const QString& digits)
{
    if (!decimalPattern().match(digits.trimmed()).hasMatch())
        throw Exception(QStringLiteral("'%1' is not a valid decimal number").arg(digits));
    DbValue r;
    r.m_kind = Kind::Decimal;
    r.m_data = normaliseDecimal(digits);
    return r;
}

DbValue DbValue::date(const DbTimeStamp& v)
{
    DbValue r;
    r.m_kind = Kind::Date;
    r.m_data = DbTimeStamp{v.year, v.month, v.day, 0, 0, 0, 0};
    return r;
}

DbValue DbValue::time(const DbTimeStamp& v)
{
    DbValue r;
    r.m_kind = Kind::Time;
    r.m_data = DbTimeStamp{1899, 12, 30, v.hour, v.minute, v.second, v.microsecond};
    return r;
}

DbValue DbValue::dateTime(const DbTimeStamp& v)
{
    DbValue r;
    r.m_kind = Kind::DateTime;
    r.m_data = v;
    return r;
}

QString DbValue::toString() const
{
    switch (m_kind) {
    case Kind::Null: return QString();
    case Kind::Boolean: return std::get<bool>(m_data) ? QStringLiteral("True") : QStringLiteral("False");
    case Kind::Integer: return QString::number(std::get<int64_t>(m_data));
    case Kind::Float: return QString::number(std::get<double>(m_data), 'g', QLocale::FloatingPointShortest);
    case Kind::Decimal:
    case Kind::String: return std::get<QString>(m_data);
    case Kind::Bytes: return QString::fromUtf8(std::get<QByteArray>(m_data));
    case Kind::Date: return std::get<DbTimeStamp>(m_data).dateText();
    case Kind::Time: return std::get<DbTimeStamp>(m_data).timeText();
    case Kind::DateTime: return std::get<DbTimeStamp>(m_data).toString();
    }
    return QString();
}

int64_t DbValue::toInt64() const
{
    switch (m_kind) {
    case Kind::Null: return 0;
    case Kind::Boolean: return std::get<bool>(m_data) ? 1 : 0;
    case Kind::Integer: return std::get<int64_t>(m_data);
    case Kind::Float: {
        const double d = std::get<double>(m_data);
        if (std::trunc(d) != d || d < -9.2233720368547758e18 || d >= 9.2233720368547758e18)
            throw conversionError(*this, "integer");
        return static_cast<int64_t>(d);
    }
    case Kind::Decimal:
    case Kind::String: {
        const QString t = std::get<QString>(m_data).trimmed();
        int64_t v = 0;
        if (parseInt64Text(t, v))
            return v;
        // "12.000" is an integer; "12.5" is not.
        if (decimalPattern().match(t).hasMatch()) {
            const QString n = normaliseDecimal(t);
            const qsizetype point = n.indexOf(u'.');
            if (point >= 0 && !hasNonZeroDigit(QStringView(n).mid(point + 1))
                && parseInt64Text(n.left(point), v))
                return v;
        }
        throw conversionError(*this, "integer");
    }
    default: throw conversionError(*this, "integer");
    }
}

int32_t DbValue::toInt32() const
{
    const int64_t v = toInt64();
    if (v < std::numeric_limits<int32_t>::min() || v > std::numeric_limits<int32_t>::max())
        throw conversionError(*this, "integer");
    return static_cast<int32_t>(v);
}

double DbValue::toDouble() const
{
    switch (m_kind) {
    case Kind::Null: return 0.0;
    case Kind::Boolean: return std::get<bool>(m_data) ? 1.0 : 0.0;
    case Kind::Integer: return static_cast<double>(std::get<int64_t>(m_data));
    case Kind::Float: return std::get<double>(m_data);
    case Kind::Decimal:
    case Kind::String: {
        bool ok = false;
        const double d = std::get<QString>(m_data).trimmed().toDouble(&ok);
        if (!ok)
            throw conversionError(*this, "floating point");
        return d;
    }
    case Kind::Date:
    case Kind::Time:
    case Kind::DateTime: return std::get<DbTimeStamp>(m_data).toDays();
    case Kind::Bytes: break;
    }
    throw conversionError(*this, "floating point");
}

bool DbValue::toBool() const
{
    switch (m_kind) {
    case Kind::Null: return false;
    case Kind::Boolean: return std::get<bool>(m_data);
    case Kind::Integer: return std::get<int64_t>(m_data) != 0;
    case Kind::Float: return std::get<double>(m_data) != 0.0;
    case Kind::Decimal:
    case Kind::String: {
        const QString t = std::get<QString>(m_data).trimmed();
        if (t.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
            return true;
        if (t.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
            return false;
        bool ok = false;
        const double d = t.toDouble(&ok);
        if (ok)
            return d != 0.0;
        break;
    }
    default: break;
    }
    throw conversionError(*this, "boolean");
}

QString DbValue::toDecimalText() const
{
    switch (m_kind) {
    case Kind::Null: return QString();
    case Kind::Boolean: return std::get<bool>(m_data) ? QStringLiteral("1") : QStringLiteral("0");
    case Kind::Integer: return QString::number(std::get<int64_t>(m_data));
    case Kind::Float: {
        const double d = std::get<double>(m_data);
        if (!std::isfinite(d))
            throw conversionError(*this, "decimal");
        return normaliseDecimal(QString::number(d, 'f', QLocale::FloatingPointShortest));
    }
    case Kind::Decimal: return std::get<QString>(m_data);
    case Kind::String: {
        const QString t = std::get<QString>(m_data).trimmed();
        if (!decimalPattern().match(t).hasMatch())
            throw conversionError(*this, "decimal");
        return normaliseDecimal(t);
    }
    default: throw conversionError(*this, "decimal");
    }
}

DbTimeStamp DbValue::toTimeStamp() const
{
    switch (m_kind) {
    case Kind::Null: return DbTimeStamp();
    case Kind::Date:
    case Kind::Time:
    case Kind::DateTime: return std::get<DbTimeStamp>(m_data);
    case Kind::String: return DbTimeStamp::parse(std::get<QString>(m_data));
    case Kind::Integer:
    case Kind::Float:
    case Kind::Decimal: return DbTimeStamp::fromDays(toDouble());
    default: throw conversionError(*this, "date and time");
    }
}

QByteArray DbValue::toBytes() const
{
    switch (m_kind) {
    case Kind::Null: return QByteArray();
    case Kind::Bytes: return std::get<QByteArray>(m_data);
    default: return toString().toUtf8();
    }
}

bool DbValue::operator==(const DbValue& other) const
{
    return m_kind == other.m_kind && m_data == other.m_data;
}
