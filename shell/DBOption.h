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
};

// The process-wide instance (exists from first use to the end of the process).
TDBOption& dbOption();
