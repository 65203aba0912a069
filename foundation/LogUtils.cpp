#include "foundation/LogUtils.h"

#include "foundation/CommonUtils.h"
#include "foundation/Exception.h"
#include "foundation/PasswordMask.h"
#include "foundation/StringResource.h"
#include "foundation/TextFormat.h"
#include "foundation/TextUtils.h"

#include <QDateTime>
#include <QSaveFile>

#include <memory>

namespace {
std::unique_ptr<TMoverAppLog> g_appLog;
}

QString logLevelName(int level)
{
    switch (level) {
    case llInfo: return QStringLiteral("Info");
    case llHint: return QStringLiteral("Hint");
    case llWarning: return QStringLiteral("Warning");
    case llError: return QStringLiteral("Error");
    default: return QString();
    }
}

TAppLog::TAppLog() = default;

void TAppLog::addLogLine(const QString& text, int level)
{
    if (isBlankText(text))
        return;
    const QString time = withTime
        ? QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"))
        : QString();
    // The text is an argument, never the format: '%' in a message stays as it is.
    m_lines.add(formatText(lineFormat, {time, logLevelName(level), maskPasswords(text)}));
}

void TAppLog::logError(const QString& text, TErrorType errorType)
{
    addLogLine(formatText(QStringLiteral("(%s)\t%s"), {errorTypeName(errorTypeCode(errorType)), text}), llError);
}

void TAppLog::addBlankLine() { m_lines.add(QString()); }

void TAppLog::clearLog() { m_lines.clear(); }

void TAppLog::saveLogToFile(const QString& path)
{
    forceFileFolder(path);
    // A line holding its own breaks becomes several CR LF lines of the file.
    QByteArray bytes;
    for (const QString& line : m_lines.lines()) {
        const QStringList parts = line.isEmpty() ? QStringList{QString()} : TStringList::splitLines(line);
        for (const QString& part : parts) {
            bytes += part.toUtf8();
            bytes += "\r\n";
        }
    }
    // Written in one piece through a temporary file: a failed save leaves
    // neither a half-written log nor a truncated older one.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw Exception(QStringLiteral("Cannot create file \"%1\". %2").arg(path, file.errorString()));
    m_lines.clear();
}

QString TAppLog::saveLogWithTimeName(const QString& pathPrefix)
{
    if (m_lines.isEmpty())
        return QString();
    const QString name = pathPrefix
        + QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh_mm_ss"))
        + QStringLiteral(".log");
    saveLogToFile(name);
    return name;
}

TMoverAppLog& appLog()
{
    // Created at start-up; a caller that logs earlier still gets a log rather
    // than a null dereference.
    if (!g_appLog)
        g_appLog = std::make_unique<TMoverAppLog>();
    return *g_appLog;
}

void createAppLog()
{
    if (!g_appLog)
        g_appLog = std::make_unique<TMoverAppLog>();
}

void destroyAppLog() { g_appLog.reset(); }
