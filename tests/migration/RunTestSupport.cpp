#include "RunTestSupport.h"

#include "dbaccess/DBConnection.h"
#include "foundation/StringList.h"
#include "migration/EditionRegistration.h"
#include "shell/Startup.h"

#include <QFile>

void startEngine()
{
    static bool started = false;
    if (!started) {
        setEditionRegistration(&registerEdition);
        startUp();
        selectLanguage(QStringLiteral("EN"));
        started = true;
    }
    resetRunState();
}

QString jobText(const QString& sections, const TJobOptions& options)
{
    auto flag = [](bool value) { return QString::fromLatin1(value ? "True" : "False"); };
    TStringList dest = mysqlSettings();
    if (!options.destPassword.isEmpty())
        dest.setValue(QStringLiteral("MainProperty_Password"), options.destPassword);
    return QStringLiteral("[MainInfo]\nConvertName=CopyConvert\nConvertVersion=1\n"
                          "GUID={5E0D4C1A-7B2E-4F0A-9C3D-2A1B0C9D8E7F}\n"
                          "[Config/Init]\nSource=Oracle\nDest=MySQL\nQuoteFieldName=True\n"
                          "UppercaseFieldName=%3\nClearSourceTable=%1\nDropDestTable=%2\n"
                          "ClearDestTable=False\nTimeSuffix=False\nSelectFields=False\n")
               .arg(flag(options.clearSourceTable), flag(options.dropDestTable), flag(options.upperCaseNames))
        + options.extraInit
        + QStringLiteral("[Config/SourceConnect]\n") + oracleSettings().lines().join(u'\n')
        + QStringLiteral("\n[Config/DestConnect]\n") + dest.lines().join(u'\n') + u'\n' + sections;
}

namespace {

void execAll(TDBConnection& connection, const QStringList& statements)
{
    for (const QString& sql : statements)
        connection.execSQL(sql);
}

QStringList rows(TDBConnection& connection, const QString& sql)
{
    const std::unique_ptr<TStringList> list = connection.getSQLList(sql);
    return list ? list->lines() : QStringList{QStringLiteral("<query failed>")};
}

} // namespace

void oracleExec(const QStringList& statements) { execAll(*openOracle(), statements); }

void mysqlExec(const QStringList& statements) { execAll(*openMySql(), statements); }

QStringList oracleRows(const QString& sql) { return rows(*openOracle(), sql); }

QStringList mysqlRows(const QString& sql) { return rows(*openMySql(), sql); }

bool mysqlTableExists(const QString& table)
{
    return openMySql()->tableExists(table);
}

QStringList fileLines(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).remove(u'\r').split(u'\n', Qt::SkipEmptyParts);
}
