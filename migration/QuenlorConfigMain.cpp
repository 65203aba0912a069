// Entry point of quenlor-config.

#include "migration/EditionRegistration.h"
#include "shell/ConfigTool.h"
#include "shell/JobLoading.h"
#include "shell/Startup.h"

#include <QCoreApplication>
#include <QFile>
#include <QLocale>

#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    // The registry must know the jobs so that pack can check a job's table;
    // messages in the language of the locale.
    setEditionRegistration(&registerEdition);
    try {
        startUp();
    } catch (const std::exception& e) {
        fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    selectLanguage(QLocale::system().language() == QLocale::Chinese ? QStringLiteral("CN") : QStringLiteral("EN"));
    setPackCheck(&checkJobTable);
    QFile out;
    QFile err;
    out.open(stdout, QIODevice::WriteOnly);
    err.open(stderr, QIODevice::WriteOnly);
    const int status = runConfigTool(QCoreApplication::arguments().mid(1), out, err);
    out.flush();
    err.flush();
    shutDown();
    return status;
}
