#pragma once
// A run as a fixed sequence of steps, so that the loop that drives a run
// (progress, log, error tracking) is the same for every kind of job.

#include <QString>
#include <QVariantList>

class TExecProcess {
public:
    virtual ~TExecProcess() = default;
    virtual bool connectDatabases() = 0;           // 1
    virtual bool beginRun() = 0;                   // 2
    virtual void endRun() = 0;                     // 3
    virtual int tableCount() const = 0;            // 4
    virtual bool copyTable(int index) = 0;         // 5: false when the entry cannot be read
    virtual void afterTable(int index) = 0;        // 6
    virtual void finishTables() = 0;               // 7
    virtual QString tableStartText(int index) const = 0; // 8
    virtual QString tableEndText(int index) const = 0;   // 9
    virtual QString summaryText() const = 0;       // 10
    virtual int operationCode() const = 0;         // 11
};

// A message of section "execConvert" of "CopyConvertUIResource" in the
// current language, formatted with the arguments.
QString execConvertText(const QString& key, const QVariantList& args = {});
