#pragma once
// The execution engine of a copy job: connects both databases, copies every
// table of the job's "Config/Tables" (or only creates them), reports
// progress, logs the run, records failures in the run's error files, and at
// the end offers the error viewer.

#include <QString>

#include <vector>

class IDBConvert;
class IUIContext;
class TCopyConvert;
class TErrInfoList;

// Runs the job. context may be none (no configuration file name, no GUID,
// no close request). An exception that escapes the loop reaches the caller
// after the log was saved and the error files were finished.
void executeCopyConvert(TCopyConvert& job, IUIContext* context, bool structureOnly, bool quiet);

// What the last run of this process left behind, for callers that report it
// themselves (the headless runner).
struct TRunResult {
    QString workFolder;  // the run's folder; its "error" sub-folder holds the error files
    QString logFile;     // empty when no log file could be created
    QString logFailure;  // why the log could not be created or written: the run stopped
    bool connected = false; // both databases were opened
    QString connectFailure; // else why not
    int failedKind = -1;    // and the kind of the database that failed
    int createdTables = 0;
    int copiedTables = 0;
    int errorTotal = 0;  // every error the run recorded
    QString fileFailure; // an error file that could not be written: path and reason
    // Tables filled without drop or clear that held rows already (a rerun appends to them).
    struct TRowsHeldBefore {
        QString table;
        qint64 rows = 0;
    };
    std::vector<TRowsHeldBefore> rowsHeldBefore;
};
const TRunResult& lastRunResult();

// Opens the error list viewer with a run's errors and its job (either may be
// absent). Installed by the viewer; without it, accepting the offer to view
// the errors only reloads them.
using TErrorViewerHook = void (*)(TErrInfoList* errors, IDBConvert* job);
void setErrorViewerHook(TErrorViewerHook hook);
TErrorViewerHook errorViewerHook();

// The run description logged first: configuration file, both connections
// without passwords, operation and dump file.
QString runDescription(const TCopyConvert& job, const IUIContext* context, int operation);
