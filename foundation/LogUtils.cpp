#include "foundation/LogUtils.h"

#include "foundation/CommonUtils.h"
#include "foundation/Exception.h"
#include "foundation/PasswordMask.h"
#include "foundation/ExclusiveCreate.h"
#include "foundation/StringResource.h"
#include "foundation/TextFormat.h"
#include "foundation/TextUtils.h"

#include <QDateTime>
#include <QSaveFile>

#include <cerrno>
#include <memory>
#include <unistd.h>

namespace {
std::unique_ptr<TMoverAppLog> g_appLog;

// A line holding its own breaks becomes several CR LF lines of the file.
QByteArray lineBytes(const QString& line)
{
    QByteArray bytes;
    const QStringList parts = line.isEmpty() ? QStringList{QString()} : TStringList::splitLines(line);
    for (const QString& part : parts) {
        bytes += part.toUtf8();
        bytes += "\r\n";
    }
    return bytes;
}

// 0, else the errno of the failed write.
int writeAll(int fd, const QByteArray& bytes)
{
    const char* data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, data, size_t(left));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        data += written;
        left -= written;
    }
    return 0;
}
} // namespace

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

TAppLog::~TAppLog()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

void TAppLog::addLogLine(const QString& text, int level)
{
    if (isBlankText(text))
        return;
    const QString time = withTime
        ? QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"))
        : QString();
    // The text is an argument, never the format: '%' in a message stays as it is.
    const QString line = formatText(lineFormat, {time, logLevelName(level), maskPasswords(text)});
    m_lines.add(line);
    appendToFile(line);
}

void TAppLog::logError(const QString& text, TErrorType errorType)
{
    addLogLine(formatText(QStringLiteral("(%s)\t%s"), {errorTypeName(errorTypeCode(errorType)), text}), llError);
}

void TAppLog::addBlankLine()
{
    m_lines.add(QString());
    appendToFile(QString());
}

// One write per line, no buffer of our own: what was logged is in the file
// even when the process is killed the next moment.
void TAppLog::appendToFile(const QString& line)
{
    if (m_fd < 0)
        return;
    if (const int error = writeAll(m_fd, lineBytes(line)))
        failFile(error);
}

// The first failure is the one to report; the file is given up, the lines stay in memory.
void TAppLog::failFile(int error)
{
    if (m_fileError.isEmpty())
        m_fileError = systemErrorText(error);
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

QString TAppLog::openLogFile(const QString& pathPrefix)
{
    closeFile();
    m_fileError.clear();
    const QString stem = pathPrefix + QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh_mm_ss"));
    m_fileName = stem + QStringLiteral(".log");
    if (!forceFileFolder(m_fileName)) {
        m_fileError = QStringLiteral("the folder cannot be created");
        return m_fileName;
    }
    const TClaimedFile file = claimFile(stem, QStringLiteral(".log"));
    m_fileName = file.path;
    if (file.fd < 0) {
        m_fileError = systemErrorText(file.error);
        return m_fileName;
    }
    m_fd = file.fd;
    QByteArray bytes;
    for (const QString& line : m_lines.lines())
        bytes += lineBytes(line);
    if (const int error = writeAll(m_fd, bytes))
        failFile(error);
    return m_fileName;
}

void TAppLog::closeFile()
{
    if (m_fd < 0)
        return;
    const int fd = m_fd;
    m_fd = -1;
    if (::close(fd) != 0 && m_fileError.isEmpty())
        m_fileError = systemErrorText(errno);
}

void TAppLog::closeLogFile()
{
    closeFile();
    m_lines.clear();
}

void TAppLog::clearLog() { m_lines.clear(); }

void TAppLog::saveLogToFile(const QString& path)
{
    forceFileFolder(path);
    QByteArray bytes;
    for (const QString& line : m_lines.lines())
        bytes += lineBytes(line);
    // Written in one piece through a temporary file: a failed save leaves
    // neither a half-written log nor a truncated older one.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw Exception(QStringLiteral("Cannot create file \"%1\". %2").arg(path, file.errorString()));
    m_lines.clear();
}

QString TAppLog::saveLogWithTimeName(const QString& pathPrefix)
{
    if (logFileOpen()) // its lines are in that file already
        return m_fileName;
    if (m_lines.isEmpty())
        return QString();
    const QString name = openLogFile(pathPrefix);
    closeFile();
    // The lines stay when they could not be written.
    if (!m_fileError.isEmpty())
        throw Exception(QStringLiteral("Cannot create file \"%1\". %2").arg(name, m_fileError));
    m_lines.clear();
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
