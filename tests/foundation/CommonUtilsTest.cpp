#include "foundation/CommonUtils.h"
#include "foundation/Errors.h"
#include "foundation/Exception.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <optional>

namespace {

// Sets an environment variable for one scope and restores it afterwards.
class TScopedEnv {
public:
    TScopedEnv(const char* name, const std::optional<QByteArray>& value) : m_name(name)
    {
        if (qEnvironmentVariableIsSet(name))
            m_saved = qgetenv(name);
        if (value)
            qputenv(name, *value);
        else
            qunsetenv(name);
    }
    ~TScopedEnv()
    {
        if (m_saved)
            qputenv(m_name, *m_saved);
        else
            qunsetenv(m_name);
    }

private:
    const char* m_name;
    std::optional<QByteArray> m_saved;
};

class TScopedDataFolderSetting {
public:
    TScopedDataFolderSetting() : m_saved(dataFolderSetting()) {}
    ~TScopedDataFolderSetting() { setDataFolderSetting(m_saved); }

private:
    QString m_saved;
};

void writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly)) << path.toStdString();
    f.write(bytes);
}

} // namespace

TEST(CommonUtils, PathHelpers)
{
    struct Case { QString (*fn)(const QString&); const char* in; const char* out; };
    const Case cases[] = {
        {withTrailingBackslash, "a/b\\\\//", "a/b/"},
        {withTrailingBackslash, "a", "a/"},
        {withTrailingBackslash, "", "/"},
        {withTrailingBackslash, "/", "/"},
        {withoutTrailingSlashes, "a/b/\\/", "a/b"},
        {withoutTrailingSlashes, "a\\b", "a\\b"},
        {withoutTrailingSlashes, "", ""},
        {backslashUnlessEmpty, "", ""},
        {backslashUnlessEmpty, "x", "x/"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.fn(QString::fromUtf8(c.in)), QString::fromUtf8(c.out)) << c.in;

    const QRegularExpression stamp(QStringLiteral(R"(^base/\d{4}-\d{2}-\d{2}@\d{2}_\d{2}/$)"));
    EXPECT_TRUE(stamp.match(timeStampedFolder(QStringLiteral("base//"))).hasMatch());
}

TEST(CommonUtils, DataFolderFromSettingOrXdgAndCreatesNothing)
{
    QTemporaryDir dir;
    TScopedDataFolderSetting keep;
    TScopedEnv xdg("XDG_DATA_HOME", dir.path().toUtf8());

    for (const QString& blank : {QString(), QStringLiteral("   ")}) {
        setDataFolderSetting(blank);
        EXPECT_EQ(dataFolder(), dir.path() + QStringLiteral("/Varnoke/Quenlor/"));
    }
    EXPECT_EQ(dataSubfolderPath(QStringLiteral("Export"), QStringLiteral("a.log")),
              dir.path() + QStringLiteral("/Varnoke/Quenlor/Export/a.log"));
    EXPECT_TRUE(timeStampedDataPath(QStringLiteral("Export"), QStringLiteral("x"))
                    .startsWith(dir.path() + QStringLiteral("/Varnoke/Quenlor/Export/")));
    EXPECT_FALSE(QFileInfo::exists(dir.path() + QStringLiteral("/Varnoke")));

    {
        TScopedEnv unset("XDG_DATA_HOME", std::nullopt);
        EXPECT_EQ(dataFolder(), QDir::homePath() + QStringLiteral("/.local/share/Varnoke/Quenlor/"));
    }
    setDataFolderSetting(QStringLiteral("/srv/quenlor//"));
    EXPECT_EQ(dataFolder(), QStringLiteral("/srv/quenlor/"));
}

TEST(CommonUtils, ForceFileFolder)
{
    QTemporaryDir dir;
    EXPECT_TRUE(forceFileFolder(dir.path() + QStringLiteral("/a/b/c/file.txt")));
    EXPECT_TRUE(QFileInfo(dir.path() + QStringLiteral("/a/b/c")).isDir());
    writeFile(dir.path() + QStringLiteral("/plain"), "x");
    EXPECT_FALSE(forceFileFolder(dir.path() + QStringLiteral("/plain/sub/file.txt")));
}

TEST(CommonUtils, ListFilesRecursiveFilesBeforeSubfolders)
{
    QTemporaryDir dir;
    const QString root = dir.path();
    for (const char* name : {"zz/deeper/d.txt", "zz/c.txt", "b.txt", "a.txt", "m/e.txt", ".hidden"})
        writeFile(root + u'/' + QString::fromUtf8(name), "x");
    QDir().mkpath(root + QStringLiteral("/empty"));
    // A link back up must not make the walk loop.
    ASSERT_TRUE(QFile::link(root, root + QStringLiteral("/zz/loop")));

    TStringList relative;
    listFilesRecursive(root, relative, true, QString());
    EXPECT_EQ(relative.lines(), (QStringList{".hidden", "a.txt", "b.txt", "m/e.txt", "zz/c.txt", "zz/deeper/d.txt"}));

    TStringList prefixed;
    listFilesRecursive(root + u'/', prefixed, true, QStringLiteral("P"));
    EXPECT_EQ(prefixed.at(1), QStringLiteral("P/a.txt"));
    EXPECT_EQ(prefixed.at(5), QStringLiteral("P/zz/deeper/d.txt"));

    TStringList full;
    listFilesRecursive(root, full, false, QString());
    EXPECT_EQ(full.at(3), root + QStringLiteral("/m/e.txt"));

    TStringList none;
    listFilesRecursive(QStringLiteral("  "), none, true, QString());
    EXPECT_TRUE(none.isEmpty());
}

TEST(CommonUtils, DeleteFolderContentsKeepsFolderAndLinkTargets)
{
    QTemporaryDir dir;
    const QString target = dir.path() + QStringLiteral("/target");
    const QString outside = dir.path() + QStringLiteral("/outside");
    writeFile(target + QStringLiteral("/f.txt"), "x");
    writeFile(target + QStringLiteral("/sub/deeper/g.txt"), "x");
    writeFile(outside + QStringLiteral("/keep.txt"), "x");
    ASSERT_TRUE(QFile::link(outside, target + QStringLiteral("/sub/link")));

    deleteFolderContents(target);
    EXPECT_TRUE(QFileInfo(target).isDir());
    EXPECT_TRUE(QDir(target).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot).isEmpty());
    EXPECT_TRUE(QFile::exists(outside + QStringLiteral("/keep.txt")));
}

TEST(CommonUtils, IsDeletableFolder)
{
    QTemporaryDir dir;
    writeFile(dir.path() + QStringLiteral("/plain"), "x");
    const struct { QString name; bool deletable; } cases[] = {
        {QString(), false},
        {QStringLiteral("   "), false},
        {QStringLiteral("/"), false},
        {QStringLiteral("//"), false},
        {QStringLiteral(" / "), false},
        {QStringLiteral("/tmp/.."), false},
        {QStringLiteral("\\"), false},
        {QStringLiteral("C:\\"), false},
        {QStringLiteral("C:"), false},
        {dir.path() + QStringLiteral("/missing"), false},
        {dir.path() + QStringLiteral("/plain"), false},
        {dir.path(), true},
        {dir.path() + QStringLiteral("/ "), true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(isDeletableFolder(c.name), c.deletable) << c.name.toStdString();
}

TEST(CommonUtils, TempFolderAndUniqueTempFiles)
{
    EXPECT_EQ(tempFolder(), withTrailingBackslash(QDir::tempPath()));
    EXPECT_EQ(windowsFolder(), QString());
    QTemporaryDir dir;
    const QString a = tempFileName(dir.path(), QStringLiteral("Qn"));
    const QString b = tempFileName(dir.path(), QStringLiteral("Qn"));
    EXPECT_NE(a, b);
    for (const QString& name : {a, b}) {
        EXPECT_TRUE(QFileInfo(name).isFile());
        EXPECT_EQ(QFileInfo(name).absolutePath(), QFileInfo(dir.path()).absoluteFilePath());
        EXPECT_TRUE(QFileInfo(name).fileName().startsWith(QStringLiteral("Qn")));
    }
    EXPECT_EQ(tempFileName(dir.path() + QStringLiteral("/missing"), QStringLiteral("Qn")), QString());
}

TEST(CommonUtils, DatabaseKinds)
{
    const struct { const char* name; int code; } names[] = {
        {"mysql", 1}, {"ORACLE", 2}, {"Db2", 3}, {"access", 4}, {"MSSQL", 5}, {"postgresql", 6},
        {"Firebird", 7}, {"sqlite", 8}, {"Excel", 9}, {"Sybase", 255}, {"", 255}, {"MySQL ", 255},
    };
    for (const auto& c : names)
        EXPECT_EQ(dbKindCode(QString::fromUtf8(c.name)), c.code) << c.name;
    EXPECT_EQ(dbKindName(8), QStringLiteral("SQLite"));
    EXPECT_EQ(dbKindName(0), QString());
    EXPECT_EQ(dbKindName(255), QString());
    EXPECT_EQ(dbKindName(10000), QString());
    EXPECT_EQ(dbKindOrCategoryName(10000), QStringLiteral("ConvertFieldType"));
    EXPECT_EQ(dbKindOrCategoryName(1), QStringLiteral("MySQL"));

    const struct { int kind; int length; bool valid; } lengths[] = {
        {2, 30, true}, {2, 31, false}, {2, 0, true}, {1, 200, true}, {255, 64, true},
    };
    for (const auto& c : lengths)
        EXPECT_EQ(isNameLengthValid(c.kind, QString(c.length, u'N')), c.valid) << c.kind << "/" << c.length;
}

TEST(CommonUtils, CommonErrorTextFromHookOrFallback)
{
    const TNumberedTextHook saved = numberedErrorTextHook();
    auto messageOf = [](auto&& raise) {
        try {
            raise();
        } catch (const Exception& e) {
            return e.message();
        }
        return QStringLiteral("<nothing raised>");
    };
    setNumberedErrorTextHook(nullptr);
    EXPECT_EQ(messageOf([] { raiseCommonError(100, 1); }), QStringLiteral("Common error,errorcode=100 position=1"));
    setNumberedErrorTextHook([](int code) { return code == 7 ? QStringLiteral("Table %s: 100%%") : QString(); });
    EXPECT_EQ(messageOf([] { raiseCommonError(7, 2, {QStringLiteral("EMP")}); }), QStringLiteral("Table EMP: 100%"));
    EXPECT_EQ(messageOf([] { raiseCommonError(8, 3); }), QStringLiteral("Common error,errorcode=8 position=3"));
    setNumberedErrorTextHook(saved);
}

TEST(CommonUtils, GuidText)
{
    const QRegularExpression form(QStringLiteral(R"(^\{[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}\}$)"));
    const QString a = newGuidText();
    EXPECT_TRUE(form.match(a).hasMatch()) << a.toStdString();
    EXPECT_NE(a, newGuidText());
}

TEST(CommonUtils, MergeNameValues)
{
    EXPECT_EQ(mergeNameValues(nullptr, nullptr), nullptr);
    const TStringList base(QStringList{"Server=a", "Port=1", "plain line"});
    const TStringList overrides(QStringList{"port=2", "no equals", "Port=", "User=u=v"});
    const auto merged = mergeNameValues(&base, &overrides);
    ASSERT_NE(merged, nullptr);
    // "port=2" replaces in place; "Port=" then deletes it; lines without '=' are not applied.
    EXPECT_EQ(merged->lines(), (QStringList{"Server=a", "plain line", "User=u=v"}));
    EXPECT_EQ(mergeNameValues(&base, nullptr)->lines(), base.lines());
    EXPECT_EQ(mergeNameValues(nullptr, &overrides)->lines(), (QStringList{"User=u=v"}));
}

TEST(CommonUtils, WriteResourceToFile)
{
    QTemporaryDir dir;
    EXPECT_EQ(writeResourceToFile(QStringLiteral("emptyaccessdb_2003"), dir.path(), QStringLiteral("x.mdb")), 0);
    EXPECT_FALSE(QFile::exists(dir.path() + QStringLiteral("/x.mdb")));

    QDirIterator it(QStringLiteral(":/data"), QDir::Files, QDirIterator::Subdirectories);
    if (!it.hasNext())
        GTEST_SKIP() << "no embedded data file";
    const QString resource = it.next();
    QFile source(resource);
    ASSERT_TRUE(source.open(QIODevice::ReadOnly));
    const QByteArray bytes = source.readAll();
    writeFile(dir.path() + QStringLiteral("/out.txt"), "old contents, longer than nothing");
    // By its name under :/data/, replacing the existing file.
    const QString name = resource.mid(QStringLiteral(":/data/").size());
    EXPECT_EQ(writeResourceToFile(name, dir.path() + u'/', QStringLiteral("out.txt")), bytes.size());
    QFile out(dir.path() + QStringLiteral("/out.txt"));
    ASSERT_TRUE(out.open(QIODevice::ReadOnly));
    EXPECT_EQ(out.readAll(), bytes);
    EXPECT_EQ(writeResourceToFile(name, dir.path() + QStringLiteral("/missing"), QStringLiteral("o")), 0);
}

TEST(CommonUtils, SettingsValueName)
{
    EXPECT_EQ(settingsValueNameFor(QStringLiteral("123456789")), QStringLiteral("CBF43926"));
    EXPECT_EQ(settingsValueNameFor(QStringLiteral("/usr/bin/quenlor")),
              settingsValueNameFor(QStringLiteral("/USR/BIN/QUENLOR")));
    EXPECT_EQ(settingsValueNameFor(QString()), QStringLiteral("00000000"));
    EXPECT_EQ(QFileInfo(programFilePath()).fileName(), QStringLiteral("foundation_tests"));
    EXPECT_EQ(programFolder(), withTrailingBackslash(QFileInfo(programFilePath()).absolutePath()));
    // Keyed to "quenlor" beside this program, not to this program's own name:
    // every program of an installation finds the same data-folder setting.
    EXPECT_EQ(mainProgramFilePath(), programFolder() + QStringLiteral("quenlor"));
    EXPECT_EQ(settingsValueName(), settingsValueNameFor(mainProgramFilePath()));
    EXPECT_NE(settingsValueName(), settingsValueNameFor(programFilePath()));
}

TEST(CommonUtils, DataFolderSettingRoundTrip)
{
    QTemporaryDir dir;
    TScopedDataFolderSetting keep;
    TScopedEnv xdg("XDG_CONFIG_HOME", dir.path().toUtf8());
    const QString file = dir.path() + QStringLiteral("/Varnoke/Quenlor.conf");
    EXPECT_EQ(settingsFilePath(), file);

    setDataFolderSetting(QStringLiteral("unchanged"));
    loadDataFolderSetting(); // nothing stored yet
    EXPECT_EQ(dataFolderSetting(), QStringLiteral("unchanged"));

    setDataFolderSetting(QStringLiteral("/srv/数据 folder/"));
    saveDataFolderSetting();
    ASSERT_TRUE(QFileInfo(file).isFile());
    {
        QSettings raw(file, QSettings::IniFormat);
        EXPECT_EQ(raw.value(QStringLiteral("SOFTWARE/Varnoke/Quenlor/") + settingsValueName()).toString(),
                  QStringLiteral("/srv/数据 folder/"));
    }
    setDataFolderSetting(QString());
    loadDataFolderSetting();
    EXPECT_EQ(dataFolderSetting(), QStringLiteral("/srv/数据 folder/"));
}
