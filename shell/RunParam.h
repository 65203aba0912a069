#pragma once
// Run parameters: what the command line asked for, and their rendering back
// into one command line for scheduled runs.

#include <QString>
#include <QStringList>

// Operation codes of the command line and the welcome page.
enum TOperation : int {
    opNone = -1,
    opModify = 0,
    opMove = 1,
    opExport = 2,
    opImport = 3,
    opShowError = 4,
    opStruct = 5,
    opConfig = 6,
    opCmdCreator = 7,
};

// Code of an operation name, ignoring letter case; -1 for any other text.
int operationFromName(const QString& name);
// Name of codes 0 to 7; the empty text for any other code.
QString operationName(int operation);

class TRunParam {
public:
    int operation = opNone;
    QString configFile;
    QString dumpFile;
    bool runFlag = false;
    QString errorFile;

    // From the process arguments.
    void parseCommandLine();
    // arguments[0] is the program path and is not visited.
    void parseCommandLine(const QStringList& arguments);

    // Rendered with the running program's path.
    QString buildCommandLine() const;
    QString buildCommandLine(const QString& programPath) const;

    // One line, the rendered command line, followed by CR LF, UTF-8.
    void saveCommandFile(const QString& fileName) const;

    // Everything but errorFile.
    void copyFrom(const TRunParam& other);
};

// The process-wide run parameters, created by the main window.
TRunParam& runParam();
bool hasRunParam();
TRunParam& createRunParam();
void destroyRunParam();
