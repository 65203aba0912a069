#include "migration/ExecuteConvert.h"

#include "dbaccess/DBConnection.h"
#include "dbaccess/DBImportTable.h"
#include "foundation/CommonUtils.h"
#include "foundation/ExclusiveCreate.h"
#include "foundation/LogUtils.h"
#include "foundation/ScopeExit.h"
#include "foundation/StringResource.h"
#include "foundation/TextFormat.h"
#include "foundation/TextUtils.h"
#include "migration/CopyConvert.h"
#include "migration/DoExport_CopyConvert.h"
#include "migration/ExecProcess_Convert.h"
#include "migration/FilePathDBDumpData.h"
#include "records/ErrInfoList.h"
#include "records/ErrTrack.h"
#include "shell/CacheCurrentShowProcess.h"
#include "shell/DBOption.h"
#include "shell/MainConfigInfo.h"
#include "shell/RunParam.h"
#include "shell/StopFlag.h"
#include "shell/UIContext.h"


namespace {

constexpr int kLogSavedMessage = 10000;
const QString kExportFolder = QStringLiteral("Export");

TRunResult g_lastRun;
TErrorViewerHook g_errorViewerHook = nullptr;

QString logsText(const QString& key, const QVariantList& args)
{
    return formatText(resourceText(QStringLiteral("CopyConvertUIResource"), QStringLiteral("logs"), key), args);
}

// Settings without the password, indented by four blanks on every line.
QString settingsBlock(const IDBConnectConfig* config)
{
    if (!config)
        return QString();
    QString text = config->getPublicSettingsText();
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\r\n    "));
    return QStringLiteral("    ") + trimText(text);
}

QString kindNameOf(const IDBConnectConfig* config) { return config ? dbKindName(config->getDBType()) : QString(); }

// Runs started within the same minute, even by two processes at once, would
// share the time-stamped folder, and the later run's error index would
// replace the earlier one's: the folder is claimed by creating it, and a
// taken name moves on to the next free one.
std::unique_ptr<TAbsDBDumpData> newRunFolder()
{
    const QString base = withoutTrailingSlashes(TFilePathDBDumpData().getFolder());
    forceFileFolder(base);
    return std::make_unique<TFilePathDBDumpData>(withTrailingBackslash(claimFolder(base)));
}

// The log file is open from the start of the run: a run killed at any point
// leaves every line logged so far.
void openRunLog()
{
    appLog().clearLog();
    const QString name = appLog().openLogFile(dataSubfolderPath(kExportFolder, QString()));
    if (appLog().fileError().isEmpty())
        g_lastRun.logFile = name;
}

bool g_logReported = false;

// True when the log could not be created or written. Going on would leave a
// run without its record, so the run stops; the failure is reported once.
bool logFailed()
{
    const QString& reason = appLog().fileError();
    if (reason.isEmpty())
        return false;
    if (g_lastRun.logFailure.isEmpty()) {
        g_lastRun.logFailure = execConvertText(QStringLiteral("log file failed"), {appLog().logFileName(), reason});
        currentShowProcess().addLine(g_lastRun.logFailure);
    }
    return true;
}

// Says where the log is, once per run; the file stays open for the lines
// that still come (the error offer), until finishRunLog.
void reportRunLog()
{
    if (g_logReported || logFailed() || g_lastRun.logFile.isEmpty())
        return;
    g_logReported = true;
    currentShowProcess().addLine(formatStringResource(kLogSavedMessage, {g_lastRun.logFile}));
}

void finishRunLog()
{
    appLog().closeLogFile();
    reportRunLog();
}

void showErrorCount(int count)
{
    currentShowProcess().setBottomText(execConvertText(QStringLiteral("error count"), {count}));
}

void logText(const QString& text, int level)
{
    appLog().addBlankLine();
    appLog().addLogLine(text, level);
}

// The importer of the table just copied said how many rows the table held
// before: the summary lists them.
void noteRowsHeldBefore(const TExecProcess_Convert& run)
{
    const IImportTable* importer = run.driver() ? run.driver()->importer() : nullptr;
    if (importer && importer->rowsHeldBefore() > 0)
        g_lastRun.rowsHeldBefore.push_back({fullDestinationName(run.driver()->destName()), importer->rowsHeldBefore()});
}

void logRowsHeldBefore()
{
    for (const TRunResult::TRowsHeldBefore& table : g_lastRun.rowsHeldBefore) {
        const QString text = rowsHeldBeforeText(table.table, table.rows);
        currentShowProcess().addLine(text);
        appLog().logWarning(text);
    }
}

void warnUnread(const QStringList& names, const QString& section)
{
    for (const QString& name : names)
        appLog().logWarning(QStringLiteral("The setting \"%1\" of section [%2] is read by no part of the program; "
                                           "it has no effect")
                                .arg(name, section));
}

void warnUnreadConnectionSettings(const IDBConnection* connection, IDBConnectConfig* config, const QString& section)
{
    const auto* opened = dynamic_cast<const TDBConnection*>(connection);
    if (opened && config && config->getSettings())
        warnUnread(opened->unreadSettings(*config->getSettings()), section);
}

// Settings of the job that no part of the program reads had no effect: say
// so once, with their section, so that a typo is found. Asked after both
// connections opened, when their providers have read what they read.
void logUnreadSettings(TExecProcess_Convert& run)
{
    TCopyConvert& job = run.job();
    warnUnread(job.unreadOptions(), QStringLiteral("Config/Init"));
    warnUnreadConnectionSettings(job.copyMapping()->sourceConnection(), job.getSourceConfig(),
                                 QStringLiteral("Config/SourceConnect"));
    warnUnreadConnectionSettings(job.copyMapping()->destConnection(), job.getDestConfig(),
                                 QStringLiteral("Config/DestConnect"));
}

void copyTables(TExecProcess_Convert& run)
{
    TCacheCurrentShowProcess& progress = currentShowProcess();
    TErrTrack& tracker = run.errorList()->tracker();
    const int n = run.tableCount();
    if (n > 0)
        progress.stepPercent = 100.0 / n;
    for (int i = 0; i < n && !stopRequested() && !logFailed(); ++i) {
        progress.resetThrottle();
        QString text = run.tableStartText(i);
        progress.showStep(text);
        logText(text, llHint);
        const TScopeExit leaveTable([&tracker] { tracker.beginTable(QString(), QString()); });
        if (run.copyTable(i)) {
            noteRowsHeldBefore(run);
            progress.finishStep();
            run.afterTable(i);
            text = run.tableEndText(i);
            progress.showBase(text);
            appLog().logInfo(text);
        }
    }
    run.finishTables();
}

void runTables(TExecProcess_Convert& run, bool quiet)
{
    if (logFailed())
        return;
    if (!run.connectDatabases()) {
        g_lastRun.connectFailure = run.connectFailure();
        g_lastRun.failedKind = run.failedKind();
        return;
    }
    g_lastRun.connected = true;
    logUnreadSettings(run);
    if (!run.beginRun())
        return;
    TCacheCurrentShowProcess& progress = currentShowProcess();
    TErrTrack& tracker = run.errorList()->tracker();
    {
        const TScopeExit endRun([&run] {
            g_lastRun.createdTables = run.createdTables;
            g_lastRun.copiedTables = run.copiedTables;
            run.endRun();
        });
        copyTables(run);
        // The last list file and the index are written now, so that a failure
        // there is in the report.
        tracker.finishFile();
        if (tracker.failed()) {
            g_lastRun.fileFailure = tracker.failureMessage();
            appLog().addLogLine(g_lastRun.fileFailure, llError);
            progress.addLine(g_lastRun.fileFailure);
        }
        const QString text = run.summaryText();
        progress.setProgress(100, text);
        progress.setCaption(text);
        const bool clean = tracker.totalErrors() == 0 && !tracker.failed() && !logFailed() && !stopRequested();
        logText(text, clean ? llInfo : llWarning);
        logRowsHeldBefore();
        if (!quiet && progress.display())
            progress.finishProgress();
    }
    reportRunLog();

    const int operation = hasRunParam() ? runParam().operation : opNone;
    const bool runOperation = operation == opMove || operation == opExport || operation == opImport;
    if (run.errorList()->tracker().totalErrors() == 0 && hasRunParam() && runParam().runFlag && runOperation
        && run.context())
        run.context()->closeWithoutAsking();
}

void closeRun(TExecProcess_Convert& run)
{
    TErrInfoList* errors = run.errorList();
    const int total = errors->tracker().totalErrors();
    g_lastRun.errorTotal = total;
    if (total > 0) {
        showErrorCount(total);
        if (askYesNo(execConvertText(QStringLiteral("show error dialog"), {total}))) {
            errors->tracker().openErrorInfo();
            if (g_errorViewerHook)
                g_errorViewerHook(errors, &run.job());
        }
    }
    run.releaseErrorList();
}

void runLoop(TExecProcess_Convert& run, bool quiet)
{
    TCacheCurrentShowProcess& progress = currentShowProcess();
    TCopyConvert& job = run.job();
    appLog().logInfo(runDescription(job, run.context(), run.operationCode()));
    progress.basePercent = 0;
    job.errorCount = 0;
    job.applyRunOptions();
    dbOption().computeSuffix();

    const QString text = execConvertText(QStringLiteral("connect database"));
    if (!quiet && progress.display()) {
        progress.startProgress(0, 100);
        progress.showBase(text);
        progress.setCaption(text);
    }
    logText(text, llHint);

    TErrTrack& tracker = run.createErrorList()->tracker();
    tracker.setErrorCallback([&run](const QString& message, TErrorType errorType) {
        appLog().logError(message, errorType);
        run.noteError(errorType);
    });
    const IUIContext* context = run.context();
    const TMainConfigInfo* config = context ? context->getConfigInfo() : nullptr;
    tracker.setRunIdentity(context ? context->getConfigFileName() : QString(), config ? config->guid : QString());
    const TScopeExit close([&run] { closeRun(run); });
    runTables(run, quiet);
}

} // namespace

QString runDescription(const TCopyConvert& job, const IUIContext* context, int operation)
{
    const IDBConnectConfig* source = job.getSourceConfig();
    const IDBConnectConfig* dest = job.getDestConfig();
    return logsText(QStringLiteral("ConfigFile"), {context ? context->getConfigFileName() : QString()})
        + logsText(QStringLiteral("SourceInfo"), {kindNameOf(source), settingsBlock(source)})
        + logsText(QStringLiteral("DestInfo"), {kindNameOf(dest), settingsBlock(dest)})
        + logsText(QStringLiteral("Operation"), {operationName(operation)})
        + logsText(QStringLiteral("DumpFile"), {context ? context->getDumpFileName() : QString()});
}

void executeCopyConvert(TCopyConvert& job, IUIContext* context, bool structureOnly, bool quiet)
{
    g_lastRun = TRunResult();
    g_logReported = false;
    openRunLog();
    const TScopeExit saveLog([] { finishRunLog(); });
    TExecProcess_Convert run(context, job, newRunFolder(), structureOnly);
    g_lastRun.workFolder = run.workFolder()->getFolder();
    runLoop(run, quiet);
}

const TRunResult& lastRunResult() { return g_lastRun; }

void setErrorViewerHook(TErrorViewerHook hook) { g_errorViewerHook = hook; }

TErrorViewerHook errorViewerHook() { return g_errorViewerHook; }
