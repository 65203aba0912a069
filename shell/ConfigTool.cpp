#include "shell/ConfigTool.h"

#include "foundation/AES.h"
#include "foundation/Exception.h"
#include "foundation/KwStringsComponent.h"
#include "foundation/KwTextForm.h"

#include <QFile>
#include <QFileDevice>

namespace {

TPackCheck g_packCheck = nullptr;

const char kUsage[] =
    "Usage: quenlor-config show FILE\n"
    "       quenlor-config pack TEXTFILE OUTFILE\n"
    "       quenlor-config --help\n"
    "\n"
    "show   prints the table of a configuration file (enciphered or plain) in text form:\n"
    "       per section a line [name], then its lines; a line beginning with [ or \\\n"
    "       gets one more \\ in front. UTF-8, lines end with LF.\n"
    "pack   writes the enciphered configuration file of a table given in that text\n"
    "       form (CR LF accepted), replacing OUTFILE with mode 0600. A table with a\n"
    "       [MainInfo] section must be a job the program can load; a missing GUID\n"
    "       is added.\n"
    "\n"
    "Exit status: 0 on success, 1 on any error (the message goes to standard error).\n";

void writeText(QIODevice& device, const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    if (device.write(bytes) != bytes.size())
        throw Exception(QStringLiteral("Write stream error"));
}

void show(const QString& fileName, QIODevice& out)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw Exception(QStringLiteral("Cannot open file \"%1\". %2").arg(fileName, file.errorString()));
    TKwStringsComponent table;
    loadEncryptedTable(table, file);
    // Build the whole text first: a failure prints nothing.
    writeText(out, kwTableToText(table));
}

void pack(const QString& textFileName, const QString& outFileName)
{
    TKwStringsComponent table;
    kwTableLoadTextFile(table, textFileName);
    if (g_packCheck)
        g_packCheck(table);
    // The file holds passwords: owner read/write only.
    saveEncryptedTable(table, outFileName, int(QFileDevice::ReadOwner | QFileDevice::WriteOwner));
}

} // namespace

void setPackCheck(TPackCheck check) { g_packCheck = check; }

int runConfigTool(const QStringList& arguments, QIODevice& out, QIODevice& err)
{
    try {
        const QString command = arguments.value(0);
        if (arguments.size() == 1 && (command == QLatin1String("--help") || command == QLatin1String("-h"))) {
            writeText(out, QString::fromLatin1(kUsage));
            return 0;
        }
        if (command == QLatin1String("show") && arguments.size() == 2) {
            show(arguments.at(1), out);
            return 0;
        }
        if (command == QLatin1String("pack") && arguments.size() == 3) {
            pack(arguments.at(1), arguments.at(2));
            return 0;
        }
        writeText(err, QString::fromLatin1(kUsage));
        return 1;
    } catch (const Exception& e) {
        err.write(e.message().toUtf8() + '\n');
        return 1;
    } catch (const std::exception& e) {
        err.write(QByteArray(e.what()) + '\n');
        return 1;
    }
}
