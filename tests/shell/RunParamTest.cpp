#include "foundation/CommonUtils.h"
#include "foundation/Exception.h"
#include "shell/RunParam.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct ParseCase {
    const char* label;
    QStringList args; // without argument 0
    int operation;
    QString config;
    QString dump;
    bool run;
    QString errorFile;
};

TRunParam parsed(const QStringList& args)
{
    TRunParam p;
    p.parseCommandLine(QStringList{QStringLiteral("/usr/bin/quenlor")} + args);
    return p;
}

} // namespace

TEST(RunParamParse, Cases)
{
    const QString ctl = QString(QChar(1)) + QChar(9) + QChar(31);
    const std::vector<ParseCase> cases = {
        {"nothing", {}, -1, {}, {}, false, {}},
        {"prefix is case-sensitive", {"/CONFIG:a.Tvcfg", "/Run", "/Operation:move"}, -1, {}, {}, false, {}},
        {"value trimmed of blanks", {"/config:  my job.Tvcfg  "}, -1, "my job.Tvcfg", {}, false, {}},
        {"value trimmed of control chars", {"/dumpfile:" + ctl + "d.Tvdump" + ctl}, -1, {}, "d.Tvdump", false, {}},
        {"operation name any case", {"/operation:MOVE"}, 1, {}, {}, false, {}},
        {"operation name trimmed", {"/operation: Struct "}, 5, {}, {}, false, {}},
        {"unknown operation", {"/operation:copy"}, -1, {}, {}, false, {}},
        {"later wins", {"/config:a", "/operation:move", "/config:b", "/operation:zzz"}, -1, "b", {}, false, {}},
        {"/running counts as /run", {"/running"}, -1, {}, {}, true, {}},
        {"config tested before run", {"/config:/run"}, -1, "/run", {}, false, {}},
        {"error file", {"/errorfile: /x/error/error.errinfo"}, -1, {}, {}, false, "/x/error/error.errinfo"},
        {"unknown arguments ignored", {"config:a", "-run", "run", " /run"}, -1, {}, {}, false, {}},
        {"all together", {"/run", "/operation:import", "/config:c", "/dumpfile:d"}, 3, "c", "d", true, {}},
    };
    for (const ParseCase& c : cases) {
        SCOPED_TRACE(c.label);
        const TRunParam p = parsed(c.args);
        EXPECT_EQ(p.operation, c.operation);
        EXPECT_EQ(p.configFile, c.config);
        EXPECT_EQ(p.dumpFile, c.dump);
        EXPECT_EQ(p.runFlag, c.run);
        EXPECT_EQ(p.errorFile, c.errorFile);
    }
}

TEST(RunParamParse, ProgramPathIsNotVisited)
{
    TRunParam p;
    p.parseCommandLine({QStringLiteral("/config:argv0"), QStringLiteral("/run")});
    EXPECT_TRUE(p.configFile.isEmpty());
    EXPECT_TRUE(p.runFlag);
}

TEST(RunParamOperations, NamesAndCodes)
{
    const QStringList names = {"modify", "move", "export", "import", "showerror", "struct", "config", "cmdcreater"};
    for (int code = 0; code < names.size(); ++code) {
        EXPECT_EQ(operationName(code), names[code]);
        EXPECT_EQ(operationFromName(names[code]), code);
        EXPECT_EQ(operationFromName(names[code].toUpper()), code);
    }
    for (const QString& other : {QString(), QStringLiteral("moves"), QStringLiteral(" move"), QStringLiteral("-1")})
        EXPECT_EQ(operationFromName(other), -1) << other.toStdString();
    EXPECT_EQ(operationName(-1), QString());
    EXPECT_EQ(operationName(8), QString());
}

TEST(RunParamBuild, Renderings)
{
    const QString path = QStringLiteral("/opt/var noke/quenlor");
    const QString quoted = u'"' + path + u'"';
    struct Case {
        const char* label;
        int operation;
        bool run;
        QString config, dump;
        QString expected;
    };
    const std::vector<Case> cases = {
        {"all absent: path and eight blanks", -1, false, {}, {}, quoted + QString(8, u' ')},
        {"struct renders no switch", 5, false, {}, {}, quoted + QString(8, u' ')},
        {"showerror renders no switch", 4, false, {}, {}, quoted + QString(8, u' ')},
        {"cmdcreater renders no switch", 7, false, {}, {}, quoted + QString(8, u' ')},
        {"blank config is absent", 0, false, "  ", {}, quoted + "   /operation:modify    "},
        {"quotes enclose the whole switch", -1, false, "/a b/c.Tvcfg", {},
         quoted + "     \"/config:/a b/c.Tvcfg\"  "},
        {"everything", 1, true, "/c.Tvcfg", "/d.Tvdump",
         quoted + " /run /operation:move \"/config:/c.Tvcfg\" \"/dumpfile:/d.Tvdump\""},
        {"import with dump only", 3, false, {}, "d", quoted + "   /operation:import   \"/dumpfile:d\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        TRunParam p;
        p.operation = c.operation;
        p.runFlag = c.run;
        p.configFile = c.config;
        p.dumpFile = c.dump;
        p.errorFile = QStringLiteral("/never/rendered");
        EXPECT_EQ(p.buildCommandLine(path), c.expected);
    }
}

TEST(RunParamBuild, RoundTripsThroughTheParser)
{
    TRunParam p;
    p.operation = 2;
    p.runFlag = true;
    p.configFile = QStringLiteral("/jobs/a.Tvcfg");
    const QStringList args = p.buildCommandLine(QStringLiteral("q")).split(u' ', Qt::SkipEmptyParts);
    QStringList unquoted;
    for (const QString& a : args)
        unquoted << QString(a).remove(u'"');
    TRunParam back;
    back.parseCommandLine(unquoted);
    EXPECT_EQ(back.operation, 2);
    EXPECT_TRUE(back.runFlag);
    EXPECT_EQ(back.configFile, p.configFile);
}

TEST(RunParamSave, WritesOneLineWithCrLfAsUtf8)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    TRunParam p;
    p.operation = 1;
    p.configFile = QStringLiteral("/数据/job.Tvcfg");
    const QString file = dir.filePath(QStringLiteral("run.txt"));
    p.saveCommandFile(file);
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    EXPECT_EQ(bytes, (p.buildCommandLine() + QStringLiteral("\r\n")).toUtf8());
    EXPECT_TRUE(p.buildCommandLine().startsWith(u'"' + programFilePath() + u'"'));
    EXPECT_FALSE(bytes.startsWith("\xEF\xBB\xBF"));
}

TEST(RunParamSave, UnwritablePathRaises)
{
    QTemporaryDir dir;
    TRunParam p;
    EXPECT_THROW(p.saveCommandFile(dir.filePath(QStringLiteral("missing/folder/run.txt"))), Exception);
}

TEST(RunParamCopy, CopiesAllButErrorFile)
{
    TRunParam source;
    source.operation = 3;
    source.configFile = QStringLiteral("c");
    source.dumpFile = QStringLiteral("d");
    source.runFlag = true;
    source.errorFile = QStringLiteral("source error");
    TRunParam target;
    target.errorFile = QStringLiteral("kept");
    target.copyFrom(source);
    EXPECT_EQ(target.operation, 3);
    EXPECT_EQ(target.configFile, QStringLiteral("c"));
    EXPECT_EQ(target.dumpFile, QStringLiteral("d"));
    EXPECT_TRUE(target.runFlag);
    EXPECT_EQ(target.errorFile, QStringLiteral("kept"));
}
