#pragma once
// Application log: lines collected in memory during a run and written to a
// file at its end, "%s[%s]:%s" with time, level name and text.

#include "foundation/ErrorType.h"
#include "foundation/StringList.h"

#include <QString>

enum TLogLevel { llInfo = 0, llHint = 1, llWarning = 2, llError = 3 };

class TAppLog {
public:
    TAppLog();
    virtual ~TAppLog() = default;

    void addLogLine(const QString& text, int level);
    void logInfo(const QString& text) { addLogLine(text, llInfo); }
    void logHint(const QString& text) { addLogLine(text, llHint); }
    void logWarning(const QString& text) { addLogLine(text, llWarning); }
    void logError(const QString& text, TErrorType errorType);
    void addBlankLine();
    void clearLog();
    void saveLogToFile(const QString& path);
    QString saveLogWithTimeName(const QString& pathPrefix);

    const TStringList& lines() const { return m_lines; }
    bool withTime = true;
    QString lineFormat = QStringLiteral("%s[%s]:%s");

private:
    TStringList m_lines;
};

class TMoverAppLog : public TAppLog {};

QString logLevelName(int level);
TMoverAppLog& appLog(); // the process-wide log
void createAppLog();
void destroyAppLog();
