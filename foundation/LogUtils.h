#pragma once
// Application log: lines "%s[%s]:%s" with time, level name and text, kept in
// memory and, while a log file is open, appended to it line by line (CR LF),
// so that a run killed at any point leaves every line logged so far.

#include "foundation/ErrorType.h"
#include "foundation/StringList.h"

#include <QString>

enum TLogLevel { llInfo = 0, llHint = 1, llWarning = 2, llError = 3 };

class TAppLog {
public:
    TAppLog();
    virtual ~TAppLog();
    TAppLog(const TAppLog&) = delete;
    TAppLog& operator=(const TAppLog&) = delete;

    void addLogLine(const QString& text, int level);
    void logInfo(const QString& text) { addLogLine(text, llInfo); }
    void logHint(const QString& text) { addLogLine(text, llHint); }
    void logWarning(const QString& text) { addLogLine(text, llWarning); }
    void logError(const QString& text, TErrorType errorType);
    void addBlankLine();
    void clearLog();
    void saveLogToFile(const QString& path);
    // Writes the lines into a newly claimed time-named file (as openLogFile)
    // and clears them; raises when it cannot be written. While a log file is
    // open, only returns its name.
    QString saveLogWithTimeName(const QString& pathPrefix);

    // Claims "<pathPrefix>yyyy-MM-dd hh_mm_ss.log" (or "..._2.log" ...)
    // exclusively, mode 0600, writes the lines so far and then every new line
    // as it is added. Returns the file's path. A failure to create, write or
    // close is kept in fileError, never raised: the run decides what to do.
    QString openLogFile(const QString& pathPrefix);
    // Closes the file (a failure goes to fileError) and clears the lines.
    void closeLogFile();
    bool logFileOpen() const { return m_fd >= 0; }
    const QString& logFileName() const { return m_fileName; } // of the last openLogFile
    // Why the log file could not be created or written; empty while all went well.
    const QString& fileError() const { return m_fileError; }

    const TStringList& lines() const { return m_lines; }
    bool withTime = true;
    QString lineFormat = QStringLiteral("%s[%s]:%s");

private:
    void appendToFile(const QString& line);
    void closeFile();
    void failFile(int error);

    TStringList m_lines;
    int m_fd = -1;
    QString m_fileName;
    QString m_fileError;
};

class TMoverAppLog : public TAppLog {};

QString logLevelName(int level);
TMoverAppLog& appLog(); // the process-wide log
void createAppLog();
void destroyAppLog();
