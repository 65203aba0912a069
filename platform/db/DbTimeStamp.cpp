#include "platform/db/DbTimeStamp.h"

#include "foundation/Exception.h"

#include <QDate>
#include <QRegularExpression>
#include <QTime>
#include <cmath>

namespace {
const QDate kEpoch(1899, 12, 30);
constexpr qint64 kMicrosPerDay = 86400LL * 1000000LL;

QString two(int v) { return QString::number(v).rightJustified(2, u'0'); }
}

bool DbTimeStamp::isValidDate() const
{
    return year >= 1 && year <= 9999 && QDate::isValid(year, month, day);
}

bool DbTimeStamp::isValidTime() const
{
    return hour >= 0 && hour < 24 && minute >= 0 && minute < 60 && second >= 0 && second < 60
        && microsecond >= 0 && microsecond < 1000000;
}

bool DbTimeStamp::isValid() const { return isValidDate() && isValidTime(); }

QString DbTimeStamp::dateText() const
{
    return QString::number(year).rightJustified(4, u'0') + u'-' + two(month) + u'-' + two(day);
}

QString DbTimeStamp::timeText() const
{
    QString t = two(hour) + u':' + two(minute) + u':' + two(second);
    if (microsecond != 0)
        t += u'.' + QString::number(microsecond).rightJustified(6, u'0');
    return t;
}

QString DbTimeStamp::toString() const { return dateText() + u' ' + timeText(); }

DbTimeStamp DbTimeStamp::parse(const QString& text)
{
    static const QRegularExpression dateRe(QStringLiteral(R"(^(\d{1,4})-(\d{1,2})-(\d{1,2})$)"));
    static const QRegularExpression timeRe(
        QStringLiteral(R"(^(\d{1,2}):(\d{1,2})(?::(\d{1,2})(?:\.(\d{1,9}))?)?$)"));
    const auto fail = [&text]() {
        return Exception(QStringLiteral("'%1' is not a valid date and time").arg(text));
    };
    const QString trimmed = text.trimmed();
    QString datePart, timePart;
    qsizetype split = trimmed.indexOf(u' ');
    if (split < 0)
        split = trimmed.indexOf(u'T');
    if (split >= 0) {
        datePart = trimmed.left(split);
        timePart = trimmed.mid(split + 1).trimmed();
    } else if (trimmed.contains(u'-')) {
        datePart = trimmed;
    } else {
        timePart = trimmed;
    }
    DbTimeStamp ts{1899, 12, 30, 0, 0, 0, 0};
    if (!datePart.isEmpty()) {
        const auto m = dateRe.match(datePart);
        if (!m.hasMatch())
            throw fail();
        ts.year = m.captured(1).toInt();
        ts.month = m.captured(2).toInt();
        ts.day = m.captured(3).toInt();
    }
    if (!timePart.isEmpty()) {
        const auto m = timeRe.match(timePart);
        if (!m.hasMatch())
            throw fail();
        ts.hour = m.captured(1).toInt();
        ts.minute = m.captured(2).toInt();
        ts.second = m.captured(3).toInt();
        ts.microsecond = m.captured(4).leftJustified(6, u'0').left(6).toInt();
    }
    if (trimmed.isEmpty() || !ts.isValid())
        throw fail();
    return ts;
}

QDateTime DbTimeStamp::toDateTime() const
{
    return QDateTime(QDate(year, month, day), QTime(hour, minute, second, microsecond / 1000), Qt::UTC);
}

DbTimeStamp DbTimeStamp::fromDateTime(const QDateTime& dateTime)
{
    const QDate d = dateTime.date();
    const QTime t = dateTime.time();
    return DbTimeStamp{d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second(), t.msec() * 1000};
}

double DbTimeStamp::toDays() const
{
    const double dayNumber = static_cast<double>(kEpoch.daysTo(QDate(year, month, day)));
    const double fraction = ((hour * 60.0 + minute) * 60.0 + second + microsecond / 1e6) / 86400.0;
    return dayNumber >= 0 ? dayNumber + fraction : dayNumber - fraction;
}

DbTimeStamp DbTimeStamp::fromDays(double days)
{
    if (!std::isfinite(days) || std::fabs(days) > 3.0e6)
        throw Exception(QStringLiteral("%1 is not a valid date and time").arg(days));
    const double whole = std::trunc(days);
    qint64 micros = std::llround(std::fabs(days - whole) * kMicrosPerDay);
    qint64 dayNumber = static_cast<qint64>(whole);
    if (micros >= kMicrosPerDay) { // rounding reached the next midnight
        micros -= kMicrosPerDay;
        dayNumber += days >= 0 ? 1 : -1;
    }
    const QDate d = kEpoch.addDays(dayNumber);
    DbTimeStamp ts{d.year(), d.month(), d.day(), 0, 0, 0, 0};
    ts.microsecond = static_cast<int>(micros % 1000000);
    qint64 secs = micros / 1000000;
    ts.second = static_cast<int>(secs % 60);
    ts.minute = static_cast<int>((secs / 60) % 60);
    ts.hour = static_cast<int>(secs / 3600);
    return ts;
}
