// quenlor-run: runs the migration job of a configuration file without any
// window, for scheduled and scripted migrations. It never waits for a dialog.

#include "foundation/Exception.h"
#include "foundation/PasswordMask.h"
#include "foundation/StringResource.h"
#include "foundation/TextFormat.h"
#include "migration/ConsoleShowProcess.h"
#include "migration/EditionRegistration.h"
#include "migration/ExecuteConvert.h"
#include "migration/HeadlessUIContext.h"
#include "shell/CacheCurrentShowProcess.h"
#include "shell/IDBConvert.h"
#include "shell/JobLoading.h"
#include "shell/MainConfigInfo.h"
#include "shell/RunParam.h"
#include "shell/Startup.h"
#include "shell/StopFlag.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLocale>

#include <csignal>
#include <cstdio>

namespace {

constexpr int kExitDone = 0;
constexpr int kExitErrors = 1;
constexpr int kExitNotRun = 2;

const char kUsage[] =
    "Usage: quenlor-run CONFIG.Tvcfg [--struct] [--lang EN|CN]\n"
    "       quenlor-run --help\n"
    "\n"
    "Runs the migration job of a configuration file without windows: connects the\n"
    "destination, then the source, copies every table of the job, writes the log\n"
    "and the error files, and prints a summary.\n"
    "\n"
    "  --struct    create the destination tables only, copy no rows\n"
    "  --lang L    language of messages and log: EN or CN (default from the locale:\n"
    "              CN for Chinese, else EN)\n"
    "  --help      this text\n"
    "\n"
    "A login prompt is never shown: a connection that would ask fails. SIGINT or\n"
    "SIGTERM stops the run after the current row; the summary is printed and the log\n"
    "saved (a second signal ends the program at once).\n"
    "\n"
    "Exit status: 0 no errors; 1 errors were recorded, or the run was stopped or\n"
    "ended with an error; 2 the job could not be loaded or a database could not be\n"
    "opened.\n";

struct TRunOptions {
    QString configFile;
    bool structureOnly = false;
    QString language;
    bool help = false;
    QString error;
};

TRunOptions parseArguments(const QStringList& arguments)
{
    TRunOptions options;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        if (argument == QLatin1String("--help") || argument == QLatin1String("-h")) {
            options.help = true;
        } else if (argument == QLatin1String("--struct")) {
            options.structureOnly = true;
        } else if (argument == QLatin1String("--lang") || argument.startsWith(QLatin1String("--lang="))) {
            QString value = argument.mid(7);
            if (argument == QLatin1String("--lang"))
                value = ++i < arguments.size() ? arguments.at(i) : QString();
            value = value.toUpper();
            if (value != QLatin1String("EN") && value != QLatin1String("CN"))
                options.error = QStringLiteral("--lang takes EN or CN");
            options.language = value;
        } else if (argument.startsWith(u'-') && argument.size() > 1) {
            options.error = QStringLiteral("unknown option ") + argument;
        } else if (options.configFile.isEmpty()) {
            options.configFile = argument;
        } else {
            options.error = QStringLiteral("one configuration file only");
        }
    }
    if (!options.help && options.error.isEmpty() && options.configFile.isEmpty())
        options.error = QStringLiteral("no configuration file given");
    return options;
}

QString localeLanguage()
{
    return QLocale::system().name().startsWith(QLatin1String("zh"), Qt::CaseInsensitive) ? QStringLiteral("CN")
                                                                                        : QStringLiteral("EN");
}

extern "C" void onStopSignal(int) { requestStop(); }

void installStopSignals()
{
    struct sigaction action {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    // The first signal stops after the current row; a second one ends the program.
    action.sa_flags = SA_RESETHAND | SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

QString runText(const QString& key, const QVariantList& args)
{
    return formatText(resourceText(QStringLiteral("CopyConvertUIResource"), QStringLiteral("quenlorRun"), key),
                      args);
}

void printLine(std::FILE* stream, const QString& text)
{
    std::fprintf(stream, "%s\n", maskPasswords(text).toUtf8().constData());
    std::fflush(stream);
}

std::unique_ptr<IDBConvert> loadJob(const TRunOptions& options, THeadlessUIContext& context)
{
    const QString file = QFileInfo(options.configFile).absoluteFilePath();
    if (!QFileInfo(file).isFile()) {
        printLine(stderr, runText(QStringLiteral("notFound"), {file}));
        return nullptr;
    }
    context.setConfigFileName(file);
    TMainConfigInfo& container = *context.getConfigInfo();
    std::unique_ptr<IDBConvert> job;
    try {
        job = loadJobForOperation(options.structureOnly ? opStruct : opMove, file, QString(), container);
    } catch (const std::exception& e) {
        printLine(stderr, runText(QStringLiteral("loadFailed"), {file, QString::fromUtf8(e.what())}));
        return nullptr;
    }
    if (!job)
        printLine(stderr, runText(QStringLiteral("noConverter"), {file, container.convertName}));
    return job;
}

// Prints what the run left behind; returns the exit status.
int reportRun(const TRunResult& result, bool failed)
{
    if (!result.connectFailure.isEmpty())
        printLine(stderr, result.connectFailure);
    if (!result.fileFailure.isEmpty())
        printLine(stderr, result.fileFailure);
    if (!result.logFailure.isEmpty())
        printLine(stderr, result.logFailure);
    if (result.errorTotal > 0) {
        printLine(stdout, runText(QStringLiteral("errorCount"), {result.errorTotal}));
        printLine(stdout, runText(QStringLiteral("errorFolder"), {result.workFolder + QStringLiteral("error/")}));
        printLine(stdout, runText(QStringLiteral("errorHint"), {result.workFolder}));
    }
    if (stoppedForFailure())
        printLine(stderr, runText(QStringLiteral("failedStop"), {}));
    else if (stopRequested())
        printLine(stderr, runText(QStringLiteral("stopped"), {}));
    // A run without its log is a failed run, even when it stopped before connecting.
    if (!result.logFailure.isEmpty())
        return kExitErrors;
    if (!result.connected)
        return kExitNotRun;
    return failed || result.errorTotal > 0 || !result.fileFailure.isEmpty() || stopRequested() ? kExitErrors
                                                                                                : kExitDone;
}

int runJob(const TRunOptions& options)
{
    TConsoleShowProcess display(stdout, TConsoleShowProcess::isTerminal(stdout));
    currentShowProcess().setDisplay(&display);
    THeadlessUIContext context;
    int status = kExitNotRun;
    if (std::unique_ptr<IDBConvert> job = loadJob(options, context)) {
        bool failed = false;
        try {
            job->executeConvert(&context, options.structureOnly, false);
        } catch (const std::exception& e) {
            display.finishProgress();
            printLine(stderr, runText(QStringLiteral("runFailed"), {QString::fromUtf8(e.what())}));
            failed = true;
        }
        display.finishProgress();
        status = reportRun(lastRunResult(), failed);
    }
    currentShowProcess().setDisplay(nullptr);
    return status;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const TRunOptions options = parseArguments(QCoreApplication::arguments().mid(1));
    if (options.help) {
        std::fputs(kUsage, stdout);
        return kExitDone;
    }
    if (!options.error.isEmpty()) {
        std::fprintf(stderr, "quenlor-run: %s\n\n%s", options.error.toUtf8().constData(), kUsage);
        return kExitNotRun;
    }
    installStopSignals();
    int status = kExitNotRun;
    try {
        setEditionRegistration(&registerEdition);
        startUp();
        selectLanguage(options.language.isEmpty() ? localeLanguage() : options.language);
        status = runJob(options);
    } catch (const std::exception& e) {
        printLine(stderr, QStringLiteral("quenlor-run: ") + QString::fromUtf8(e.what()));
    }
    shutDown();
    return status;
}
