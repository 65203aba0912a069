#include "foundation/Exception.h"
#include "foundation/LogUtils.h"
#include "foundation/StringResource.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

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

    // Two saves within one second share the name; the second replaces the first.
    QString first, second;
    for (int attempt = 0; attempt < 5 && (first.isEmpty() || first != second); ++attempt) {
        // A try that straddled a second boundary leaves two files; start afresh.
        for (const QString& name : QDir(prefix).entryList(QDir::Files))
            QFile::remove(prefix + name);
        log.logInfo(QStringLiteral("first"));
        first = log.saveLogWithTimeName(prefix);
        log.logInfo(QStringLiteral("second"));
        second = log.saveLogWithTimeName(prefix);
    }
    ASSERT_EQ(first, second);
    const QRegularExpression pattern(QRegularExpression::escape(prefix)
                                     + QStringLiteral(R"(\d{4}-\d{2}-\d{2} \d{2}_\d{2}_\d{2}\.log$)"));
    EXPECT_TRUE(pattern.match(first).hasMatch()) << first.toStdString();
    EXPECT_TRUE(fileBytes(second).contains("second"));
    EXPECT_FALSE(fileBytes(second).contains("first"));
    EXPECT_EQ(QDir(prefix).entryList(QDir::Files).size(), 1);
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
