#pragma once
// Naming options of the current run, read by the statement generators.

#include <QString>

class TDBOption {
public:
    bool quoteNames = false;
    bool upperCaseNames = false;
    bool timeSuffix = false;
    QString suffixText;

    // suffixText := "_" + local time "yyyymmddhhnn" when timeSuffix, else empty.
    void computeSuffix();
    // suffixText := the time suffix followed by "_2", then "_3" ...: the next
    // name when the current one is taken by an existing table.
    void nextSuffix();

private:
    QString m_timeSuffix;
    int m_suffixNumber = 1;
};

// The process-wide instance (exists from first use to the end of the process).
TDBOption& dbOption();
