// Entry point of quenlor-config.

#include "foundation/AES.h"
#include "shell/ConfigTool.h"

#include <QCoreApplication>
#include <QFile>

#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    initConfigKey();
    QFile out;
    QFile err;
    out.open(stdout, QIODevice::WriteOnly);
    err.open(stderr, QIODevice::WriteOnly);
    const int status = runConfigTool(QCoreApplication::arguments().mid(1), out, err);
    out.flush();
    err.flush();
    return status;
}
