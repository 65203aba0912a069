#pragma once
// Date-time numbers (days since 1899-12-30, the fraction being the time of
// day) and the 16-byte timestamp record of stored values, with the locale's
// text forms. Locale texts come from QLocale(), the default locale.

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <cstdint>

struct TSQLTimeStamp {
    static constexpr int kSize = 16;

    int16_t year = 0;
    uint16_t month = 0;
    uint16_t day = 0;
    uint16_t hour = 0;
    uint16_t minute = 0;
    uint16_t second = 0;
    uint32_t fractions = 0; // thousandths of a second

    static TSQLTimeStamp fromBytes(const char* bytes16);
    QByteArray toByteArray() const;
    bool isBlank() const;
    bool operator==(const TSQLTimeStamp& other) const = default;
};

// Date-time numbers of the years 1 to 9999 only; false outside them or for NaN.
bool dateTimeToQDateTime(double value, QDateTime* out);
double dateTimeFromQDateTime(const QDateTime& value);
bool dateTimeToTimeStamp(double value, TSQLTimeStamp* out);
// The blank timestamp gives 0; false for a timestamp that names no moment.
bool timeStampToDateTime(const TSQLTimeStamp& stamp, double* out);

// Locale formats: short date, long time, long date (time-zone names dropped,
// a date-time number carries no zone).
QString localeShortDateFormat();
QString localeLongTimeFormat();
QString localeLongDateFormat();

// Text forms; false when the number names no representable moment.
bool formatDateText(double value, QString* out);          // short date
bool formatTimeText(double value, QString* out);          // long time
bool formatDateTimeText(double value, QString* out);      // short date, blank, long time unless midnight
bool formatFullDateTimeText(double value, QString* out);  // short date, blank, long time always
bool formatLongDateText(double value, QString* out);      // long date

// Date-time text in the locale's short date and long time formats (either part
// alone also), then ISO 8601; false when none matches.
bool parseDateTimeText(const QString& text, double* out);

// Between date-time numbers, timestamps and the data-access layer's timestamps.
struct DbTimeStamp;
double dateTimeFromDbTimeStamp(const DbTimeStamp& stamp); // a stamp without date is a time of day
bool dateTimeToDbTimeStamp(double value, DbTimeStamp* out);
TSQLTimeStamp sqlTimeStampFromDb(const DbTimeStamp& stamp); // microseconds to thousandths
DbTimeStamp dbTimeStampFromSql(const TSQLTimeStamp& stamp);
