// The quenlor program: start-up, language, command line. The windows come
// with later work; until then the requested operation is only reported.

#include "foundation/Exception.h"
#include "migration/EditionRegistration.h"
#include "shell/RunParam.h"
#include "shell/Startup.h"

#include <QCoreApplication>
#include <QTextStream>

namespace {

QString operationText(int operation)
{
    const QString name = operationName(operation);
    return name.isEmpty() ? QStringLiteral("no operation") : QStringLiteral("operation \"%1\"").arg(name);
}

QString missingPart(int operation)
{
    switch (operation) {
    case opShowError:
        return QStringLiteral("the error list viewer");
    case opConfig:
        return QStringLiteral("the global options dialog");
    case opCmdCreator:
        return QStringLiteral("the command-file generator");
    default:
        return QStringLiteral("the wizard");
    }
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    int status = 0;
    try {
        setEditionRegistration(&registerEdition);
        startUp();
        selectLanguage(QStringLiteral("CN"));
        TRunParam& params = createRunParam();
        params.parseCommandLine();
        QTextStream(stdout) << "quenlor: " << operationText(params.operation) << " requested; "
                            << missingPart(params.operation) << " is not part of this build." << Qt::endl;
    } catch (const Exception& e) {
        QTextStream(stderr) << "quenlor: " << e.message() << Qt::endl;
        status = 1;
    } catch (const std::exception& e) {
        QTextStream(stderr) << "quenlor: " << e.what() << Qt::endl;
        status = 1;
    }
    destroyRunParam();
    shutDown();
    return status;
}
