#include "shell/RunParam.h"

#include "foundation/CommonUtils.h"
#include "foundation/Exception.h"
#include "foundation/TextUtils.h"

#include <QCoreApplication>
#include <QSaveFile>

#include <array>
#include <memory>

namespace {

const std::array<QString, 8> kOperationNames = {
    QStringLiteral("modify"), QStringLiteral("move"),   QStringLiteral("export"), QStringLiteral("import"),
    QStringLiteral("showerror"), QStringLiteral("struct"), QStringLiteral("config"), QStringLiteral("cmdcreater"),
};

std::unique_ptr<TRunParam> g_runParam;

// The switch's value: the rest after the prefix, blanks and control
// characters removed at both ends.
QString switchValue(const QString& argument, const QString& prefix)
{
    return trimText(argument.mid(prefix.size()));
}

} // namespace

int operationFromName(const QString& name)
{
    for (int i = 0; i < int(kOperationNames.size()); ++i)
        if (name.compare(kOperationNames[size_t(i)], Qt::CaseInsensitive) == 0)
            return i;
    return opNone;
}

QString operationName(int operation)
{
    if (operation < 0 || operation >= int(kOperationNames.size()))
        return QString();
    return kOperationNames[size_t(operation)];
}

void TRunParam::parseCommandLine()
{
    parseCommandLine(QCoreApplication::arguments());
}

void TRunParam::parseCommandLine(const QStringList& arguments)
{
    static const QString kConfig = QStringLiteral("/config:");
    static const QString kErrorFile = QStringLiteral("/errorfile:");
    static const QString kOperation = QStringLiteral("/operation:");
    static const QString kDumpFile = QStringLiteral("/dumpfile:");
    static const QString kRun = QStringLiteral("/run");

    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        if (argument.startsWith(kConfig))
            configFile = switchValue(argument, kConfig);
        else if (argument.startsWith(kErrorFile))
            errorFile = switchValue(argument, kErrorFile);
        else if (argument.startsWith(kOperation))
            operation = operationFromName(switchValue(argument, kOperation));
        else if (argument.startsWith(kDumpFile))
            dumpFile = switchValue(argument, kDumpFile);
        else if (argument.startsWith(kRun))
            runFlag = true;
    }
}

QString TRunParam::buildCommandLine() const
{
    return buildCommandLine(programFilePath());
}

QString TRunParam::buildCommandLine(const QString& programPath) const
{
    // An absent part is one blank, so the separators around it remain.
    const QString absent = QStringLiteral(" ");
    QStringList parts;
    parts << u'"' + programPath + u'"';
    parts << (runFlag ? QStringLiteral("/run") : absent);
    parts << (operation >= opModify && operation <= opImport
                  ? QStringLiteral("/operation:") + operationName(operation)
                  : absent);
    parts << (isBlankText(configFile) ? absent : QStringLiteral("\"/config:") + configFile + u'"');
    parts << (isBlankText(dumpFile) ? absent : QStringLiteral("\"/dumpfile:") + dumpFile + u'"');
    return parts.join(u' ');
}

void TRunParam::saveCommandFile(const QString& fileName) const
{
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        throw Exception(QStringLiteral("Cannot create file \"%1\": %2").arg(fileName, file.errorString()));
    const QByteArray bytes = (buildCommandLine() + QStringLiteral("\r\n")).toUtf8();
    if (file.write(bytes) != bytes.size() || !file.commit())
        throw Exception(QStringLiteral("Cannot write file \"%1\": %2").arg(fileName, file.errorString()));
}

void TRunParam::copyFrom(const TRunParam& other)
{
    operation = other.operation;
    configFile = other.configFile;
    dumpFile = other.dumpFile;
    runFlag = other.runFlag;
}

TRunParam& runParam()
{
    if (!g_runParam)
        throw Exception(QStringLiteral("Run parameters not created"));
    return *g_runParam;
}

bool hasRunParam() { return g_runParam != nullptr; }

TRunParam& createRunParam()
{
    if (!g_runParam)
        g_runParam = std::make_unique<TRunParam>();
    return *g_runParam;
}

void destroyRunParam() { g_runParam.reset(); }
