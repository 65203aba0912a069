#include "records/DateTimeValue.h"

#include "platform/db/DbTimeStamp.h"

#include <QLocale>
#include <QtEndian>
#include <cmath>

namespace {
const QDate kEpoch(1899, 12, 30);
constexpr double kMsPerDay = 86400000.0;

// Drops time-zone letters (t) and the blanks before them, outside quotes.
QString withoutZone(const QString& format)
{
    QString out;
    bool quoted = false;
    for (QChar c : format) {
        if (c == u'\'')
            quoted = !quoted;
        if (!quoted && c == u't') {
            while (!out.isEmpty() && out.back().isSpace())
                out.chop(1);
            continue;
        }
        out += c;
    }
    return out.trimmed();
}

// A format with a two-digit year read as four digits.
QString withFullYear(const QString& format)
{
    if (format.contains(QStringLiteral("yyyy")) || !format.contains(QStringLiteral("yy")))
        return format;
    QString out = format;
    out.replace(QStringLiteral("yy"), QStringLiteral("yyyy"));
    return out;
}

// Qt reads two-digit years as 19xx; keep them within 50 years of today.
QDate windowed(const QDate& date, const QString& format)
{
    if (!date.isValid() || format.contains(QStringLiteral("yyyy")) || !format.contains(QStringLiteral("yy")))
        return date;
    const int thisYear = QDate::currentDate().year();
    QDate out = date;
    while (out.year() < thisYear - 50)
        out = out.addYears(100);
    return out;
}
} // namespace

TSQLTimeStamp TSQLTimeStamp::fromBytes(const char* b)
{
    const auto* p = reinterpret_cast<const uchar*>(b);
    TSQLTimeStamp s;
    s.year = qFromLittleEndian<int16_t>(p);
    s.month = qFromLittleEndian<uint16_t>(p + 2);
    s.day = qFromLittleEndian<uint16_t>(p + 4);
    s.hour = qFromLittleEndian<uint16_t>(p + 6);
    s.minute = qFromLittleEndian<uint16_t>(p + 8);
    s.second = qFromLittleEndian<uint16_t>(p + 10);
    s.fractions = qFromLittleEndian<uint32_t>(p + 12);
    return s;
}

QByteArray TSQLTimeStamp::toByteArray() const
{
    QByteArray out(kSize, Qt::Uninitialized);
    auto* p = reinterpret_cast<uchar*>(out.data());
    qToLittleEndian<int16_t>(year, p);
    qToLittleEndian<uint16_t>(month, p + 2);
    qToLittleEndian<uint16_t>(day, p + 4);
    qToLittleEndian<uint16_t>(hour, p + 6);
    qToLittleEndian<uint16_t>(minute, p + 8);
    qToLittleEndian<uint16_t>(second, p + 10);
    qToLittleEndian<uint32_t>(fractions, p + 12);
    return out;
}

bool TSQLTimeStamp::isBlank() const
{
    return *this == TSQLTimeStamp();
}

bool dateTimeToQDateTime(double value, QDateTime* out)
{
    if (!std::isfinite(value) || value < -693593.0 || value >= 2958466.0)
        return false;
    const double whole = std::trunc(value);
    qint64 ms = qint64(std::llround(std::fabs(value - whole) * kMsPerDay));
    QDate date = kEpoch.addDays(qint64(whole));
    if (ms >= qint64(kMsPerDay)) {
        ms -= qint64(kMsPerDay);
        date = date.addDays(value < 0 ? -1 : 1);
    }
    *out = QDateTime(date, QTime::fromMSecsSinceStartOfDay(int(ms)));
    return date.isValid() && date.year() >= 1 && date.year() <= 9999;
}

double dateTimeFromQDateTime(const QDateTime& value)
{
    const double days = double(kEpoch.daysTo(value.date()));
    const double time = value.time().msecsSinceStartOfDay() / kMsPerDay;
    return days < 0 ? days - time : days + time;
}

bool dateTimeToTimeStamp(double value, TSQLTimeStamp* out)
{
    QDateTime dt;
    if (!dateTimeToQDateTime(value, &dt))
        return false;
    TSQLTimeStamp s;
    s.year = int16_t(dt.date().year());
    s.month = uint16_t(dt.date().month());
    s.day = uint16_t(dt.date().day());
    s.hour = uint16_t(dt.time().hour());
    s.minute = uint16_t(dt.time().minute());
    s.second = uint16_t(dt.time().second());
    s.fractions = uint32_t(dt.time().msec());
    *out = s;
    return true;
}

bool timeStampToDateTime(const TSQLTimeStamp& s, double* out)
{
    if (s.isBlank()) {
        *out = 0;
        return true;
    }
    const QDate date(s.year, s.month, s.day);
    if (s.year < 1 || !date.isValid() || s.hour > 23 || s.minute > 59 || s.second > 59 || s.fractions > 999)
        return false;
    *out = dateTimeFromQDateTime(QDateTime(date, QTime(s.hour, s.minute, s.second, int(s.fractions))));
    return true;
}

QString localeShortDateFormat() { return withoutZone(QLocale().dateFormat(QLocale::ShortFormat)); }
QString localeLongTimeFormat() { return withoutZone(QLocale().timeFormat(QLocale::LongFormat)); }
QString localeLongDateFormat() { return withoutZone(QLocale().dateFormat(QLocale::LongFormat)); }

bool formatDateText(double value, QString* out)
{
    QDateTime dt;
    if (!dateTimeToQDateTime(value, &dt))
        return false;
    *out = QLocale().toString(dt.date(), localeShortDateFormat());
    return true;
}

bool formatTimeText(double value, QString* out)
{
    QDateTime dt;
    if (!dateTimeToQDateTime(value, &dt))
        return false;
    *out = QLocale().toString(dt.time(), localeLongTimeFormat());
    return true;
}

bool formatFullDateTimeText(double value, QString* out)
{
    QDateTime dt;
    if (!dateTimeToQDateTime(value, &dt))
        return false;
    const QLocale locale;
    *out = locale.toString(dt.date(), localeShortDateFormat()) + u' ' +
           locale.toString(dt.time(), localeLongTimeFormat());
    return true;
}

bool formatDateTimeText(double value, QString* out)
{
    if (std::isfinite(value) && value == std::trunc(value))
        return formatDateText(value, out);
    return formatFullDateTimeText(value, out);
}

bool formatLongDateText(double value, QString* out)
{
    QDateTime dt;
    if (!dateTimeToQDateTime(value, &dt))
        return false;
    *out = QLocale().toString(dt.date(), localeLongDateFormat());
    return true;
}

bool parseDateTimeText(const QString& input, double* out)
{
    const QString text = input.trimmed();
    if (text.isEmpty())
        return false;
    const QLocale locale;
    const QString shortDate = localeShortDateFormat();
    const QString times[] = {localeLongTimeFormat(), withoutZone(locale.timeFormat(QLocale::ShortFormat))};
    const QString dates[] = {withFullYear(shortDate), shortDate};
    for (const QString& d : dates) {
        for (const QString& t : times) {
            QDateTime dt = locale.toDateTime(text, d + u' ' + t);
            if (dt.isValid()) {
                dt.setDate(windowed(dt.date(), d));
                *out = dateTimeFromQDateTime(dt);
                return true;
            }
        }
        const QDate date = windowed(locale.toDate(text, d), d);
        if (date.isValid()) {
            *out = dateTimeFromQDateTime(QDateTime(date, QTime(0, 0)));
            return true;
        }
    }
    for (const QString& t : times) {
        const QTime time = locale.toTime(text, t);
        if (time.isValid()) {
            *out = time.msecsSinceStartOfDay() / kMsPerDay;
            return true;
        }
    }
    QDateTime iso = QDateTime::fromString(text, Qt::ISODateWithMs);
    if (!iso.isValid())
        iso = QDateTime(QDate::fromString(text, Qt::ISODate), QTime(0, 0));
    if (iso.isValid()) {
        *out = dateTimeFromQDateTime(iso);
        return true;
    }
    return false;
}

double dateTimeFromDbTimeStamp(const DbTimeStamp& s)
{
    const double time = (((s.hour * 60.0 + s.minute) * 60.0 + s.second) * 1000.0 + s.microsecond / 1000) / kMsPerDay;
    if (s.year == 0 && s.month == 0 && s.day == 0)
        return time;
    const double days = double(kEpoch.daysTo(QDate(s.year, s.month, s.day)));
    return days < 0 ? days - time : days + time;
}

bool dateTimeToDbTimeStamp(double value, DbTimeStamp* out)
{
    QDateTime dt;
    if (!dateTimeToQDateTime(value, &dt))
        return false;
    DbTimeStamp s;
    s.year = dt.date().year();
    s.month = dt.date().month();
    s.day = dt.date().day();
    s.hour = dt.time().hour();
    s.minute = dt.time().minute();
    s.second = dt.time().second();
    s.microsecond = dt.time().msec() * 1000;
    *out = s;
    return true;
}

TSQLTimeStamp sqlTimeStampFromDb(const DbTimeStamp& s)
{
    TSQLTimeStamp out;
    out.year = int16_t(s.year);
    out.month = uint16_t(s.month);
    out.day = uint16_t(s.day);
    out.hour = uint16_t(s.hour);
    out.minute = uint16_t(s.minute);
    out.second = uint16_t(s.second);
    out.fractions = uint32_t(s.microsecond / 1000);
    return out;
}

DbTimeStamp dbTimeStampFromSql(const TSQLTimeStamp& s)
{
    DbTimeStamp out;
    out.year = s.year;
    out.month = s.month;
    out.day = s.day;
    out.hour = s.hour;
    out.minute = s.minute;
    out.second = s.second;
    out.microsecond = int(s.fractions) * 1000;
    return out;
}
