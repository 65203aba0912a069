#pragma once
// A run as a fixed sequence of steps, so that the loop that drives a run
// (progress, log, error tracking) is the same for every kind of job.

#include <QString>
#include <QVariantList>

class TExecProcess {
public:
    virtual ~TExecProcess() = default;
    virtual bool connectDatabases() = 0;
    virtual bool beginRun() = 0;
    virtual void endRun() = 0;
    virtual int tableCount() const = 0;
    virtual bool copyTable(int index) = 0;         // false when the entry cannot be read
    virtual void afterTable(int index) = 0;
    virtual void finishTables() = 0;
    virtual QString tableStartText(int index) const = 0;
    virtual QString tableEndText(int index) const = 0;
    virtual QString summaryText() const = 0;
    virtual int operationCode() const = 0;
};

// A message of section "execConvert" of "CopyConvertUIResource" in the
// current language, formatted with the arguments.
QString execConvertText(const QString& key, const QVariantList& args = {});
