#include "ScopedUmask.h"

#include "foundation/Exception.h"
#include "foundation/LogUtils.h"
#include "foundation/StringResource.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {

QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

QString typeNameForTest(int type) { return type == 1 ? QStringLiteral("Insert") : QStringLiteral("Other"); }

} // namespace

TEST(AppLog, LineFormatPerLevel)
{
    TAppLog log;
    log.logInfo(QStringLiteral("a"));
    log.logHint(QStringLiteral("Starting copy table \"EMP\""));
    log.logWarning(QStringLiteral("c"));
    log.addLogLine(QStringLiteral("d"), llError);
    ASSERT_EQ(log.lines().count(), 4);
    const char* expected[] = {R"(\[Info\]:a)", R"(\[Hint\]:Starting copy table "EMP")", R"(\[Warning\]:c)",
                              R"(\[Error\]:d)"};
    for (int i = 0; i < 4; ++i) {
        const QRegularExpression pattern(QStringLiteral(R"(^\d{4}-\d{2}-\d{2} \d{2}:\d{2}:\d{2})")
                                         + QString::fromUtf8(expected[i]) + u'$');
        EXPECT_TRUE(pattern.match(log.lines().at(i)).hasMatch()) << log.lines().at(i).toStdString();
    }
}

TEST(AppLog, BlankTextIgnoredBlankLineKeptPercentUnchanged)
{
    TAppLog log;
    log.withTime = false;
    for (const QString& blank : {QString(), QStringLiteral("   "), QStringLiteral("\t\r\n ")})
        log.logInfo(blank);
    EXPECT_EQ(log.lines().count(), 0);
    log.addBlankLine();
    log.logInfo(QStringLiteral("100% done %s %d %%"));
    EXPECT_EQ(log.lines().lines(), (QStringList{QString(), QStringLiteral("[Info]:100% done %s %d %%")}));
    log.clearLog();
    EXPECT_TRUE(log.lines().isEmpty());
}

TEST(AppLog, LogErrorCarriesTypeNameOrEmptyParentheses)
{
    const TErrorTypeNameHook saved = errorTypeNameHook();
    TAppLog log;
    log.withTime = false;
    setErrorTypeNameHook(nullptr);
    log.logError(QStringLiteral("dup key 5%"), TErrorType::Insert);
    setErrorTypeNameHook(&typeNameForTest);
    log.logError(QStringLiteral("dup key"), TErrorType::Insert);
    setErrorTypeNameHook(saved);
    EXPECT_EQ(log.lines().lines(),
              (QStringList{QStringLiteral("[Error]:()\tdup key 5%"), QStringLiteral("[Error]:(Insert)\tdup key")}));
}

TEST(AppLog, SaveWritesUtf8CrLfCreatesFoldersAndClears)
{
    QTemporaryDir dir;
    TAppLog log;
    log.withTime = false;
    log.logInfo(QStringLiteral("表 \"EMP\""));
    log.addBlankLine();
    log.logHint(QStringLiteral("two\nlines"));
    const QString path = dir.path() + QStringLiteral("/Export/deeper/run.log");
    log.saveLogToFile(path);
    EXPECT_EQ(fileBytes(path), QByteArray("[Info]:\xE8\xA1\xA8 \"EMP\"\r\n\r\n[Hint]:two\r\nlines\r\n"));
    EXPECT_TRUE(log.lines().isEmpty());
}

TEST(AppLog, SaveFailureRaisesAndKeepsLines)
{
    QTemporaryDir dir;
    QFile blocker(dir.path() + QStringLiteral("/plainfile"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    TAppLog log;
    log.logInfo(QStringLiteral("kept"));
    // A folder level that is a file, and a target that is a folder.
    for (const QString& path : {dir.path() + QStringLiteral("/plainfile/sub/x.log"), dir.path()}) {
        EXPECT_THROW(log.saveLogToFile(path), Exception) << path.toStdString();
        EXPECT_EQ(log.lines().count(), 1);
    }
    EXPECT_FALSE(QFile::exists(dir.path() + QStringLiteral("/plainfile/sub")));
}

TEST(AppLog, TimeNamedFile)
{
    QTemporaryDir dir;
    const QString prefix = dir.path() + QStringLiteral("/Export/");
    TAppLog log;
    EXPECT_EQ(log.saveLogWithTimeName(prefix), QString());
    EXPECT_FALSE(QDir(prefix).exists());

    // Saves within one second never replace each other: the second takes the next name.
    QString first, second;
    auto sameSecond = [&] { return !first.isEmpty() && second.startsWith(first.chopped(4)); };
    for (int attempt = 0; attempt < 5 && !sameSecond(); ++attempt) {
        // A try that straddled a second boundary gives two unrelated names; start afresh.
        for (const QString& name : QDir(prefix).entryList(QDir::Files))
            QFile::remove(prefix + name);
        log.logInfo(QStringLiteral("first"));
        first = log.saveLogWithTimeName(prefix);
        log.logInfo(QStringLiteral("second"));
        second = log.saveLogWithTimeName(prefix);
    }
    const QRegularExpression pattern(QRegularExpression::escape(prefix)
                                     + QStringLiteral(R"(\d{4}-\d{2}-\d{2} \d{2}_\d{2}_\d{2}\.log$)"));
    EXPECT_TRUE(pattern.match(first).hasMatch()) << first.toStdString();
    EXPECT_EQ(second, first.left(first.size() - 4) + QStringLiteral("_2.log"));
    EXPECT_TRUE(fileBytes(first).contains("first"));
    EXPECT_FALSE(fileBytes(first).contains("second"));
    EXPECT_TRUE(fileBytes(second).contains("second"));
    EXPECT_FALSE(fileBytes(second).contains("first"));
    EXPECT_EQ(QDir(prefix).entryList(QDir::Files).size(), 2);
}

// An open log file holds every line the moment it is added, in the saved form.
TEST(AppLog, OpenFileGetsEveryLineAtOnce)
{
    QTemporaryDir dir;
    TAppLog log;
    log.withTime = false;
    log.logInfo(QStringLiteral("before"));
    QString name;
    {
        const TScopedUmask shared(022);
        name = log.openLogFile(dir.path() + QStringLiteral("/Export/"));
    }
    ASSERT_TRUE(log.logFileOpen()) << log.fileError().toStdString();
    EXPECT_EQ(log.logFileName(), name);
    EXPECT_EQ(QFileInfo(name).permissions(), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
    EXPECT_EQ(fileBytes(name), QByteArray("[Info]:before\r\n"));
    log.addBlankLine();
    log.logHint(QStringLiteral("表 two\nlines 100%"));
    EXPECT_EQ(fileBytes(name), QByteArray("[Info]:before\r\n\r\n[Hint]:\xE8\xA1\xA8 two\r\nlines 100%\r\n"));
    EXPECT_EQ(log.lines().count(), 3); // kept for readers in the process

    // A second log of the same second is a file of its own.
    TAppLog other;
    other.logInfo(QStringLiteral("other"));
    const QString otherName = other.openLogFile(dir.path() + QStringLiteral("/Export/"));
    EXPECT_NE(otherName, name);
    other.closeLogFile();

    log.closeLogFile();
    EXPECT_FALSE(log.logFileOpen());
    EXPECT_TRUE(log.lines().isEmpty());
    log.logInfo(QStringLiteral("after close"));
    EXPECT_FALSE(fileBytes(name).contains("after close"));
    EXPECT_TRUE(log.fileError().isEmpty());
}

// A write that fails is kept as the reason, never raised; the lines stay in memory.
TEST(AppLog, FailedWriteIsKept)
{
    QTemporaryDir dir;
    TAppLog log;
    log.withTime = false;
    // The folder level is a file: the log cannot be created.
    QFile blocker(dir.filePath(QStringLiteral("plainfile")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    log.openLogFile(dir.filePath(QStringLiteral("plainfile/")));
    EXPECT_FALSE(log.logFileOpen());
    EXPECT_FALSE(log.fileError().isEmpty());
    EXPECT_TRUE(log.logFileName().startsWith(dir.filePath(QStringLiteral("plainfile/"))));

    // A file-size limit makes the next write fail (EFBIG) as a full disk would.
    const QString name = log.openLogFile(dir.path() + u'/');
    ASSERT_TRUE(log.logFileOpen()) << log.fileError().toStdString();
    EXPECT_TRUE(log.fileError().isEmpty());
    struct rlimit saved {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto savedHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 64;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    log.logInfo(QStringLiteral("fits"));
    log.logInfo(QString(100, u'x'));
    log.logInfo(QStringLiteral("later"));
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, savedHandler);
    EXPECT_FALSE(log.logFileOpen());
    EXPECT_EQ(log.fileError(), QString::fromLocal8Bit(std::strerror(EFBIG)));
    EXPECT_EQ(log.lines().count(), 3);
    EXPECT_TRUE(fileBytes(name).startsWith("[Info]:fits\r\n"));
    EXPECT_FALSE(fileBytes(name).contains("later"));
}

TEST(AppLog, ProcessWideInstance)
{
    createAppLog();
    TMoverAppLog* log = &appLog();
    createAppLog();
    EXPECT_EQ(&appLog(), log);
    EXPECT_TRUE(appLog().withTime);
    destroyAppLog();
}
