#pragma once
// A calendar date and time of day with microseconds, as databases keep it.
// Unlike QDateTime it keeps microseconds and needs no time zone.

#include <QDateTime>
#include <QString>

struct DbTimeStamp {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int microsecond = 0;

    // Year 1..9999, a real day of that month, time within one day.
    bool isValid() const;
    bool isValidDate() const;
    bool isValidTime() const;

    // "YYYY-MM-DD HH:MM:SS" followed by ".ffffff" when microsecond is not 0.
    QString toString() const;
    QString dateText() const; // "YYYY-MM-DD"
    QString timeText() const; // "HH:MM:SS[.ffffff]"

    // Accepts "YYYY-MM-DD", "HH:MM:SS[.f...]" and "YYYY-MM-DD[ T]HH:MM:SS[.f...]";
    // raises Exception for anything else or an impossible value.
    static DbTimeStamp parse(const QString& text);

    // QDateTime in UTC, used as "no time zone" so that no local daylight-saving
    // gap can shift a stored time; microseconds are cut to milliseconds.
    QDateTime toDateTime() const;
    // Takes the date and time as the QDateTime shows them, whatever its zone.
    static DbTimeStamp fromDateTime(const QDateTime& dateTime);

    // Days since 1899-12-30, the fraction being the time of day; before that
    // day the number is negative and its fraction still counts forward from
    // midnight (-1.25 is 1899-12-29 06:00).
    double toDays() const;
    static DbTimeStamp fromDays(double days);

    bool operator==(const DbTimeStamp&) const = default;
};
