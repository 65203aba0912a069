#include "ScopedUmask.h"

#include "dbaccess/DbaccessTestSupport.h"

#include "foundation/AES.h"
#include "foundation/Exception.h"
#include "foundation/KwStringsComponent.h"
#include "foundation/KwTextForm.h"
#include "foundation/StringList.h"
#include "foundation/ZipUtils.h"
#include "migration/CopyConvert.h"
#include "migration/EditionRegistration.h"
#include "migration/JobForErrors.h"
#include "records/ErrInfoList.h"
#include "records/ErrTrack.h"
#include "records/PlainFolderData.h"
#include "shell/ConfigTool.h"
#include "shell/DBOption.h"
#include "shell/GlobalOptions.h"
#include "shell/JobLoading.h"
#include "shell/MainConfigInfo.h"
#include "shell/RunParam.h"
#include "shell/Startup.h"
#include "shell/UIFrameList.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

struct ToolRun {
    int status = -1;
    QByteArray out;
    QByteArray err;
};

// quenlor-config as users run it; in-process with the same check when the
// executable is not part of the build.
ToolRun runConfig(const QStringList& arguments)
{
    ToolRun run;
#ifdef QUENLOR_CONFIG_EXE
    QProcess process;
    process.start(QStringLiteral(QUENLOR_CONFIG_EXE), arguments);
    if (!process.waitForFinished(30000))
        return run;
    run.status = process.exitCode();
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
#else
    QBuffer out, err;
    out.open(QIODevice::WriteOnly);
    err.open(QIODevice::WriteOnly);
    setPackCheck(&checkJobTable);
    run.status = runConfigTool(arguments, out, err);
    run.out = out.data();
    run.err = err.data();
#endif
    return run;
}

void writeAll(const QString& fileName, const QByteArray& bytes)
{
    QFile f(fileName);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

std::unique_ptr<TCopyConvert> asCopyJob(std::unique_ptr<IDBConvert> job)
{
    auto* copy = dynamic_cast<TCopyConvert*>(job.get());
    if (copy)
        job.release();
    return std::unique_ptr<TCopyConvert>(copy);
}

std::unique_ptr<TCopyConvert> newJob() { return asCopyJob(convertManager().createConvert("CopyConvert")); }

// Everything a job stores, as text: equal texts mean equal jobs.
QString jobText(TCopyConvert& job)
{
    TKwStringsComponent table;
    job.saveConfig(table, false);
    return kwTableToText(table);
}

QStringList sectionNames(const TKwStringsComponent& table)
{
    QStringList names;
    for (qsizetype i = 0; i < table.sectionCount(); ++i)
        names << table.sectionName(i);
    return names;
}

// A job with every kind of section and options away from their defaults.
std::unique_ptr<TCopyConvert> sampleJob()
{
    std::unique_ptr<TCopyConvert> job = newJob();
    job->quoteFieldName = false;
    job->dropDestTable = true;
    job->timeSuffix = true;
    job->getSourceConfig()->getSettings()->setText(QStringLiteral(
        "Direct=False\r\nMainProperty_Username=scott\r\nMainProperty_Password=tiger\r\nMainProperty_Server=orcl"));
    job->getDestConfig()->getSettings()->setValue(QStringLiteral("MainProperty_Password"), QStringLiteral("pw"));
    TKwStringsComponent& mapping = *job->getMapping()->getMappingTable();
    mapping.addSection(QStringLiteral("Config/Tables"), QStringLiteral("EMP=emp\r\nSQL@recent=recent_emp"));
    mapping.addSection(QStringLiteral("Config/FieldMatch/EMP"), QStringLiteral("EMPNO=empno\r\nENAME=name"));
    mapping.addSection(QStringLiteral("Config/SQL/SQL@recent"),
                       QString::fromUtf8("SELECT * FROM EMP\r\nWHERE ENAME = '张三'"));
    return job;
}

class JobTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(home.isValid());
        // Data folder, settings store and global options of this test only.
        qputenv("XDG_DATA_HOME", QFile::encodeName(home.filePath(QStringLiteral("data"))));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath(QStringLiteral("config"))));
        globalOptions().clear();
        setEditionRegistration(&registerEdition);
        startUp();
        selectLanguage(QStringLiteral("EN"));
        dbOption() = TDBOption();
    }
    void TearDown() override { shutDown(); }

    QString path(const QString& name) const { return home.filePath(name); }

    // A configuration file holding the table: "MainInfo" first, then the text.
    QString writeConfig(const QString& name, const QString& text, const QString& guid = QStringLiteral("{1}"))
    {
        TKwStringsComponent table;
        table.addSection(QStringLiteral("MainInfo"),
                         QStringLiteral("ConvertName=CopyConvert\r\nConvertVersion=1\r\nGUID=") + guid);
        kwTableAppendText(table, text);
        saveEncryptedTable(table, path(name));
        return path(name);
    }

    QTemporaryDir home;
};

TEST_F(JobTest, SavedConfigurationShowsAndLoadsAsTheSameJobAndGuid)
{
    std::unique_ptr<TCopyConvert> job = sampleJob();
    TMainConfigInfo container;
    container.convertName = QStringLiteral("CopyConvert");
    container.convertVersion = 1;
    const QString file = path(QStringLiteral("job.Tvcfg"));
    container.writeConfigFile(file, job.get(), false);
    const QString guid = container.guid;
    ASSERT_TRUE(guid.startsWith(u'{')) << guid.toStdString();

    const ToolRun shown = runConfig({QStringLiteral("show"), file});
    ASSERT_EQ(shown.status, 0) << shown.err.toStdString();
    TKwStringsComponent shownTable;
    kwTableFromText(shownTable, QString::fromUtf8(shown.out));
    EXPECT_EQ(sectionNames(shownTable),
              QStringList({"MainInfo", "Config/Init", "Config/SourceConnect", "Config/DestConnect", "Config/Tables",
                           "Config/FieldMatch/EMP", "Config/SQL/SQL@recent"}));
    EXPECT_EQ(shownTable.findSectionLines("MainInfo")->lines(),
              QStringList({"ConvertName=CopyConvert", "ConvertVersion=1", "GUID=" + guid}));
    EXPECT_EQ(shownTable.findSectionLines("Config/Init")->lines(),
              QStringList({"Source=Oracle", "Dest=MySQL", "QuoteFieldName=False", "UppercaseFieldName=True",
                           "ClearSourceTable=False", "DropDestTable=True", "ClearDestTable=False", "TimeSuffix=True",
                           "SelectFields=False"}));
    EXPECT_TRUE(shownTable.findSectionLines("Config/SourceConnect")->contains("MainProperty_Password"));

    // Loaded again, the job is the same; saving it again keeps the identity.
    TMainConfigInfo again;
    std::unique_ptr<TCopyConvert> loaded = asCopyJob(loadJobForOperation(opMove, file, QString(), again));
    ASSERT_TRUE(loaded);
    EXPECT_EQ(again.guid, guid);
    EXPECT_EQ(jobText(*loaded), jobText(*job));
    again.writeConfigFile(path(QStringLiteral("again.Tvcfg")), loaded.get(), false);
    TMainConfigInfo third;
    ASSERT_TRUE(third.loadFromFile(path(QStringLiteral("again.Tvcfg"))));
    EXPECT_EQ(third.guid, guid);

    // The shown text packed back is a file of the same job.
    writeAll(path(QStringLiteral("job.txt")), shown.out);
    const ToolRun packed = runConfig({QStringLiteral("pack"), path(QStringLiteral("job.txt")),
                                      path(QStringLiteral("packed.Tvcfg"))});
    ASSERT_EQ(packed.status, 0) << packed.err.toStdString();
    TMainConfigInfo fromPack;
    std::unique_ptr<TCopyConvert> repacked =
        asCopyJob(loadJobForOperation(opMove, path(QStringLiteral("packed.Tvcfg")), QString(), fromPack));
    ASSERT_TRUE(repacked);
    EXPECT_EQ(fromPack.guid, guid);
    EXPECT_EQ(jobText(*repacked), jobText(*job));

    // Saved without passwords, the connections ask for a login instead.
    container.writeConfigFile(path(QStringLiteral("public.Tvcfg")), job.get(), true);
    TMainConfigInfo publicInfo;
    ASSERT_TRUE(publicInfo.loadFromFile(path(QStringLiteral("public.Tvcfg"))));
    for (const char* section : {"Config/SourceConnect", "Config/DestConnect"}) {
        const TStringList* lines = publicInfo.table().findSectionLines(QString::fromLatin1(section));
        ASSERT_NE(lines, nullptr);
        EXPECT_FALSE(lines->contains("MainProperty_Password")) << section;
        EXPECT_EQ(lines->value("MainProperty_LoginPrompt"), "True") << section;
    }
}

TEST_F(JobTest, PlainAndEncipheredFilesLoadAlike)
{
    std::unique_ptr<TCopyConvert> job = sampleJob();
    TKwStringsComponent table;
    table.addSection("MainInfo", "ConvertName=CopyConvert\r\nGUID={ABC}");
    job->saveConfig(table, false);
    saveEncryptedTable(table, path("enciphered.Tvcfg"));
    {
        QFile plain(path("plain.Tvcfg"));
        ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
        table.saveToStream(plain);
    }
    for (const char* name : {"enciphered.Tvcfg", "plain.Tvcfg"}) {
        SCOPED_TRACE(name);
        TMainConfigInfo container;
        std::unique_ptr<TCopyConvert> loaded =
            asCopyJob(loadJobForOperation(opMove, path(QString::fromLatin1(name)), QString(), container));
        ASSERT_TRUE(loaded);
        EXPECT_EQ(container.guid, "{ABC}");
        EXPECT_EQ(jobText(*loaded), jobText(*job));
    }

    // A damaged file is reported, not taken for a new job.
    writeAll(path("damaged.Tvcfg"), encryptedTableBytes(table).left(40));
    TMainConfigInfo container;
    EXPECT_THROW(loadJobForOperation(opMove, path("damaged.Tvcfg"), QString(), container), Exception);
}

TEST_F(JobTest, WrongKindsAndForeignConvertersAreRefused)
{
    const struct {
        const char* init;
        const char* message; // empty: loads
    } cases[] = {
        {"Dest=MySQL", "Source database error,\"\"<>\"Oracle\""},
        {"Source=MySQL\nDest=MySQL", "Source database error,\"MySQL\"<>\"Oracle\""},
        {"Source=oracle\nDest=Oracle", "Dest databse error,\"Oracle\"<>\"MySQL\""},
        {"Source=Oracle", "Dest databse error,\"\"<>\"MySQL\""},
        {"Source=ORACLE\nDest=mysql", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.init);
        std::unique_ptr<TCopyConvert> job = sampleJob();
        TKwStringsComponent table;
        kwTableFromText(table, QStringLiteral("[Config/Init]\n%1\nDropDestTable=False\n[Config/Tables]\nA=a\n")
                                   .arg(QString::fromLatin1(c.init)));
        if (!*c.message) {
            job->loadConfig(table);
            ASSERT_NE(job->getSourceConfig(), nullptr);
            EXPECT_EQ(job->getSourceConfig()->getDBType(), 2);
            EXPECT_EQ(job->getDestConfig()->getDBType(), 1);
            EXPECT_EQ(job->copyMapping()->tableLines().lines(), QStringList({"A=a"}));
            continue;
        }
        try {
            job->loadConfig(table);
            ADD_FAILURE() << "loaded";
        } catch (const Exception& e) {
            EXPECT_EQ(e.message(), QString::fromLatin1(c.message));
        }
        // What was read before the check stays; nothing else does.
        EXPECT_FALSE(job->dropDestTable);
        EXPECT_EQ(job->getSourceConfig(), nullptr);
        EXPECT_EQ(job->getDestConfig(), nullptr);
        EXPECT_EQ(job->getMapping()->getMappingTable()->sectionCount(), 0);
    }

    // A job saved without a source configuration writes no "Source" line.
    std::unique_ptr<TCopyConvert> job = newJob();
    job->setSourceConfig(nullptr);
    TKwStringsComponent saved;
    job->saveConfig(saved, false);
    EXPECT_FALSE(saved.findSectionLines("Config/Init")->contains("Source"));
    EXPECT_THROW(job->loadConfig(saved), Exception);

    // A converter this edition does not register gives no job; pack refuses it
    // and a job of the wrong kinds before anything is written.
    TKwStringsComponent foreign;
    foreign.addSection("MainInfo", "ConvertName=ExcelConvert\r\nGUID={F}");
    saveEncryptedTable(foreign, path("foreign.Tvcfg"));
    TMainConfigInfo container;
    EXPECT_EQ(loadJobForOperation(opMove, path("foreign.Tvcfg"), QString(), container), nullptr);

    writeAll(path("foreign.txt"), "[MainInfo]\nConvertName=ExcelConvert\n");
    writeAll(path("wrongkind.txt"), "[MainInfo]\nConvertName=CopyConvert\n[Config/Init]\nSource=MySQL\nDest=MySQL\n");
    const struct {
        const char* text;
        const char* message;
    } refused[] = {
        {"foreign.txt", "Unknown converter \"ExcelConvert\""},
        {"wrongkind.txt", "Source database error,\"MySQL\"<>\"Oracle\""},
    };
    for (const auto& r : refused) {
        SCOPED_TRACE(r.text);
        const ToolRun run = runConfig({"pack", path(QString::fromLatin1(r.text)), path("refused.Tvcfg")});
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.err, QByteArray(r.message) + '\n');
        EXPECT_FALSE(QFile::exists(path("refused.Tvcfg")));
    }
}

TEST_F(JobTest, PackGivesAJobWithoutGuidOneOfItsOwn)
{
    writeAll(path("job.txt"), "[MainInfo]\nConvertName=CopyConvert\n[Config/Init]\nSource=Oracle\nDest=MySQL\n");
    ASSERT_EQ(runConfig({"pack", path("job.txt"), path("job.Tvcfg")}).status, 0);
    TMainConfigInfo container;
    ASSERT_TRUE(container.loadFromFile(path("job.Tvcfg")));
    EXPECT_EQ(container.guid.size(), 38) << container.guid.toStdString();
}

// The job file holds passwords: written 0600 under any umask, and a link at
// the target is replaced by the file, never written through.
TEST_F(JobTest, PackOntoALinkReplacesTheLink)
{
    ToolRun packed;
    {
        const TScopedUmask shared(022);
        writeAll(path("job.txt"), "[MainInfo]\nConvertName=CopyConvert\n[Config/Init]\nSource=Oracle\nDest=MySQL\n");
        writeAll(path("victim"), "someone else's file");
        ASSERT_TRUE(QFile::link(path("victim"), path("job.Tvcfg")));
        packed = runConfig({"pack", path("job.txt"), path("job.Tvcfg")});
    }
    ASSERT_EQ(packed.status, 0) << packed.err.toStdString();
    const QFileInfo job(path("job.Tvcfg"));
    EXPECT_FALSE(job.isSymLink());
    EXPECT_EQ(job.permissions() & 0x0777, QFileDevice::ReadUser | QFileDevice::WriteUser);
    QFile victim(path("victim"));
    ASSERT_TRUE(victim.open(QIODevice::ReadOnly));
    EXPECT_EQ(victim.readAll(), QByteArray("someone else's file"));
    TMainConfigInfo container;
    EXPECT_TRUE(container.loadFromFile(path("job.Tvcfg")));
    EXPECT_EQ(QDir(home.path()).entryList(QDir::Files | QDir::Hidden | QDir::System),
              QStringList({"job.Tvcfg", "job.txt", "victim"}))
        << "no temporary file is left";
}

TEST_F(JobTest, OptionValuesFallBackToTheGlobalOptions)
{
    // A global option that differs from its built-in default shows that the
    // fallback reads the options, not the defaults.
    setOptionBool("DropDestTable", true);
    const struct {
        const char* lines;
        bool quote, upper, clearSource, drop, clearDest, suffix, select;
    } cases[] = {
        {"", true, true, false, true, false, false, false},
        {"QuoteFieldName=yes\nDropDestTable=\nTimeSuffix=maybe", true, true, false, true, false, false, false},
        {"QuoteFieldName=fALSE\nUppercaseFieldName=0\nClearSourceTable=1\nDropDestTable=False\n"
         "ClearDestTable=-3\nTimeSuffix=TRUE\nSelectFields=true",
         false, false, true, false, true, true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lines);
        std::unique_ptr<TCopyConvert> job = newJob();
        TKwStringsComponent table;
        kwTableFromText(table, QStringLiteral("[Config/Init]\nSource=Oracle\nDest=MySQL\n%1\n")
                                   .arg(QString::fromLatin1(c.lines)));
        job->loadConfig(table);
        EXPECT_EQ(job->quoteFieldName, c.quote);
        EXPECT_EQ(job->upperCaseFieldName, c.upper);
        EXPECT_EQ(job->clearSourceTable, c.clearSource);
        EXPECT_EQ(job->dropDestTable, c.drop);
        EXPECT_EQ(job->clearDestTable, c.clearDest);
        EXPECT_EQ(job->timeSuffix, c.suffix);
        EXPECT_EQ(job->selectFields, c.select);
    }

    // A new job starts from the global options; applyRunOptions hands the
    // naming options on.
    std::unique_ptr<TCopyConvert> job = newJob();
    EXPECT_TRUE(job->dropDestTable);
    job->upperCaseFieldName = false;
    job->timeSuffix = true;
    job->applyRunOptions();
    EXPECT_TRUE(dbOption().quoteNames);
    EXPECT_FALSE(dbOption().upperCaseNames);
    EXPECT_TRUE(dbOption().timeSuffix);
}

TEST_F(JobTest, MappingTakesOnlyItsSectionsUnderTheRightNames)
{
    std::unique_ptr<TCopyConvert> job = sampleJob();
    TKwStringsComponent table;
    kwTableFromText(table, QStringLiteral("[Config/Init]\nSource=Oracle\nDest=MySQL\n"
                                          "[config/tables]\nT1=t1\n"
                                          "[Config/FieldMatch/T1]\nA=a\n"
                                          "[config/fieldmatch/T2]\nB=b\n"
                                          "[Config/SQL/SQL@q]\nSELECT 1 FROM DUAL\n"
                                          "[CONFIG/SQL/SQL@r]\nSELECT 2 FROM DUAL\n"
                                          "[Config/Other]\nx=y\n"));
    job->loadConfig(table);
    TCopyMapping& mapping = *job->copyMapping();
    EXPECT_EQ(sectionNames(*mapping.getMappingTable()),
              QStringList({"Config/Tables", "Config/FieldMatch/T1", "Config/SQL/SQL@q"}));
    EXPECT_EQ(mapping.tableLines().lines(), QStringList({"T1=t1"}));
    ASSERT_NE(mapping.fieldMatchLines("t1"), nullptr);
    EXPECT_EQ(mapping.fieldMatchLines("t1")->lines(), QStringList({"A=a"}));
    EXPECT_EQ(mapping.fieldMatchLines("T2"), nullptr);
    bool found = false;
    EXPECT_EQ(mapping.customSQL("SQL@q", &found), "SELECT 1 FROM DUAL\r\n");
    EXPECT_TRUE(found);
    mapping.customSQL("SQL@r", &found);
    EXPECT_FALSE(found);
    // The earlier job's connection settings went with its configurations.
    EXPECT_FALSE(job->getSourceConfig()->getSettings()->contains("MainProperty_Username"));

    // A mapping without tables gets an empty section on first use.
    std::unique_ptr<TCopyConvert> empty = newJob();
    EXPECT_TRUE(empty->copyMapping()->tableLines().isEmpty());
    EXPECT_EQ(empty->getMapping()->getMappingTable()->sectionCount(), 1);
    EXPECT_EQ(empty->getMapping()->getPages()->count(), 0);
}

TEST_F(JobTest, SettingsChangesAreTrackedIgnoringCase)
{
    const QString file =
        writeConfig("job.Tvcfg", "[Config/Init]\nSource=Oracle\nDest=MySQL\n"
                                 "[Config/SourceConnect]\nMainProperty_Server=orcl\n"
                                 "[Config/DestConnect]\nMainProperty_Server=db1\n");
    TMainConfigInfo container;
    std::unique_ptr<TCopyConvert> job = asCopyJob(loadJobForOperation(opMove, file, QString(), container));
    ASSERT_TRUE(job);
    TCopyMapping& mapping = *job->copyMapping();
    EXPECT_EQ(mapping.destSettingsText(), "MainProperty_Server=db1\r\n");
    EXPECT_FALSE(mapping.sourceSettingsChanged());
    EXPECT_FALSE(mapping.destSettingsChanged());

    job->getDestConfig()->getSettings()->setValue("MainProperty_Server", "DB1");
    EXPECT_FALSE(mapping.destSettingsChanged());
    job->getDestConfig()->getSettings()->setValue("MainProperty_Server", "db2");
    EXPECT_TRUE(mapping.destSettingsChanged());
    EXPECT_FALSE(mapping.sourceSettingsChanged());
    mapping.rememberSettings();
    EXPECT_FALSE(mapping.destSettingsChanged());
}

TEST_F(JobTest, LoadJobForErrorsRebuildsOnlyTheRecordedConfiguration)
{
    const QString guid = QStringLiteral("{5F0C8A52-3B1D-4C7E-9A60-0D2B4E6F8A13}");
    const QString file = writeConfig("job.Tvcfg",
                                     "[Config/Init]\nSource=Oracle\nDest=MySQL\nUppercaseFieldName=False\n", guid);
    writeAll(path("damaged.Tvcfg"), "not a configuration");
    const struct {
        QString recordedFile;
        QString recordedGuid;
        bool job;
    } cases[] = {
        {file, guid.toLower(), true},
        {file, QString(), true},
        {file, QStringLiteral("{00000000-0000-0000-0000-000000000000}"), false},
        {path("missing.Tvcfg"), guid, false},
        {path("damaged.Tvcfg"), guid, false},
        {QString(), QString(), false},
    };
    int run = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.recordedFile.toStdString() + " " + c.recordedGuid.toStdString());
        // A run records one error; the viewer reads the folder back later.
        const QString folder = path(QStringLiteral("run%1").arg(++run));
        TPlainFolderData runFolder(folder);
        {
            TErrInfoList errors(&runFolder);
            errors.tracker().setRunIdentity(c.recordedFile, c.recordedGuid);
            errors.tracker().addErrorNoRecord("connect failed", QString(), 1045, 1, TErrorType::Connect);
            errors.tracker().finishFile();
        }
        TErrInfoList viewed(&runFolder);
        viewed.tracker().openErrorInfo();
        dbOption() = TDBOption();
        std::unique_ptr<IDBConvert> job = loadJobForErrors(viewed);
        EXPECT_EQ(job != nullptr, c.job);
        if (job) {
            EXPECT_TRUE(dbOption().quoteNames);
            EXPECT_FALSE(dbOption().upperCaseNames);
        }
    }
}

TEST_F(JobTest, OperationsGetANewJobOrTheJobOfTheirFile)
{
    // Without a file: a new job, and the container forgets the configuration
    // loaded before so that the new job gets a GUID of its own.
    TMainConfigInfo container;
    const QString file = writeConfig("job.Tvcfg", "[Config/Init]\nSource=Oracle\nDest=MySQL\n", "{AAA}");
    ASSERT_TRUE(loadJobForOperation(opModify, file, QString(), container));
    EXPECT_EQ(container.guid, "{AAA}");
    std::unique_ptr<IDBConvert> fresh = loadJobForOperation(opModify, path("none.Tvcfg"), QString(), container);
    ASSERT_TRUE(asCopyJob(std::move(fresh)));
    EXPECT_EQ(container.convertName, "CopyConvert");
    EXPECT_TRUE(container.guid.isEmpty());
    EXPECT_EQ(container.table().sectionCount(), 0);

    // Import: the package's configuration, with the passwords of a file of the
    // same configuration only.
    TKwStringsComponent inner;
    kwTableFromText(inner, "[MainInfo]\nConvertName=CopyConvert\nGUID={PKG}\n[Config/Init]\nSource=Oracle\n"
                           "Dest=MySQL\n[Config/DestConnect]\nMainProperty_Username=u\nMainProperty_LoginPrompt=True\n"
                           "[Config/Tables]\nT=t\n");
    QDir().mkpath(path("pkg/ExportData/Config"));
    saveEncryptedTable(inner, path("pkg/ExportData/Config/innerConfig.ccg"));
    writeAll(path("pkg/ExportData/head.expinfo"), "head");
    ASSERT_EQ(zipFolder(path("pkg"), path("run1.Tvdump")), 0);

    const QString sameConfig = writeConfig(
        "same.Tvcfg", "[Config/DestConnect]\nMainProperty_Username=u\nMainProperty_Password=secret\n", "{pkg}");
    const QString otherConfig =
        writeConfig("other.Tvcfg", "[Config/DestConnect]\nMainProperty_Password=secret\n", "{OTHER}");
    const struct {
        QString configFile;
        const char* password;
        const char* prompt;
    } cases[] = {
        {sameConfig, "secret", "False"},
        {otherConfig, "", "True"},
        {path("damaged.Tvcfg"), "", "True"},
        {QString(), "", "True"},
    };
    writeAll(path("damaged.Tvcfg"), "damaged");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.configFile.toStdString());
        TMainConfigInfo wizard;
        std::unique_ptr<TCopyConvert> job =
            asCopyJob(loadJobForOperation(opImport, c.configFile, path("run1.Tvdump"), wizard));
        ASSERT_TRUE(job);
        EXPECT_EQ(wizard.guid, "{PKG}");
        EXPECT_EQ(job->copyMapping()->tableLines().lines(), QStringList({"T=t"}));
        const TStringList& settings = *job->getDestConfig()->getSettings();
        EXPECT_EQ(settings.value("MainProperty_Password"), QString::fromLatin1(c.password));
        EXPECT_EQ(settings.value("MainProperty_LoginPrompt"), QString::fromLatin1(c.prompt));
    }

    // A package without a configuration cannot be imported.
    TMainConfigInfo wizard;
    writeAll(path("plain.Tvdump"), "no zip");
    try {
        loadJobForOperation(opImport, QString(), path("plain.Tvdump"), wizard);
        ADD_FAILURE() << "imported";
    } catch (const Exception& e) {
        EXPECT_EQ(e.message(), "Common error,errorcode=1000 position=2");
    }
}

TEST_F(JobTest, ConnectBothOpensTheDestinationFirst)
{
    REQUIRE_MYSQL();
    REQUIRE_ORACLE();
    std::unique_ptr<TCopyConvert> job = newJob();
    TCopyMapping& mapping = *job->copyMapping();
    TStringList badDest = mysqlSettings();
    badDest.setValue("MainProperty_Password", "job-wrong-password");
    job->getDestConfig()->getSettings()->setLines(badDest.lines());
    job->getSourceConfig()->getSettings()->setLines(oracleSettings().lines());
    mapping.rememberSettings();

    QString failure;
    int failedKind = 0;
    int code = 0;
    EXPECT_FALSE(mapping.connectBoth(failure, failedKind, code, true));
    EXPECT_EQ(failedKind, 1);
    EXPECT_FALSE(failure.isEmpty());
    EXPECT_GT(code, 0) << failure.toStdString();
    EXPECT_EQ(mapping.sourceConnection(), nullptr);

    // Settings changed: the page reconnects with new connections.
    job->getDestConfig()->getSettings()->setLines(mysqlSettings().lines());
    ASSERT_TRUE(mapping.destSettingsChanged());
    mapping.releaseConnections();
    ASSERT_TRUE(mapping.connectBoth(failure, failedKind, code, true)) << failure.toStdString();
    EXPECT_EQ(failedKind, -1);
    ASSERT_NE(mapping.sourceConnection(), nullptr);
    EXPECT_TRUE(mapping.sourceConnection()->isConnected());
    EXPECT_TRUE(mapping.destConnection()->isConnected());
    // Connecting again reopens the same connections.
    IDBConnection* dest = mapping.destConnection();
    ASSERT_TRUE(mapping.connectBoth(failure, failedKind, code, false)) << failure.toStdString();
    EXPECT_EQ(mapping.destConnection(), dest);

    // A failing source names the source kind; the destination stays open.
    mapping.releaseConnections();
    EXPECT_EQ(mapping.destConnection(), nullptr);
    TStringList badSource = oracleSettings();
    badSource.setValue("MainProperty_Password", "job-wrong-password");
    job->getSourceConfig()->getSettings()->setLines(badSource.lines());
    EXPECT_FALSE(mapping.connectBoth(failure, failedKind, code, true));
    EXPECT_EQ(failedKind, 2);
    EXPECT_TRUE(mapping.destConnection()->isConnected());

    // Without configurations nothing is opened and nothing crashes.
    mapping.releaseConnections();
    job->setDestConfig(nullptr);
    EXPECT_FALSE(mapping.connectBoth(failure, failedKind, code, true));
    EXPECT_EQ(failedKind, 1);
    EXPECT_EQ(mapping.sourceConnection(), nullptr);
}

} // namespace
