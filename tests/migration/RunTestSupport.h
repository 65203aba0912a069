#pragma once
// Shared set-up of the engine and runner tests: the process-wide start-up,
// job texts whose connections point at the test servers, a throwaway data
// folder, and row listings from both databases.

#include "dbaccess/DbaccessTestSupport.h"

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

class TDBConnection;

inline void PrintTo(const QStringList& lines, std::ostream* os) { *os << lines.join(u'\n').toStdString(); }

// Start-up with this edition's creators, English texts, run state reset.
void startEngine();

struct TJobOptions {
    bool dropDestTable = true;
    bool clearSourceTable = false;
    bool upperCaseNames = false; // UppercaseFieldName
    QString extraInit;           // further Config/Init lines, each ending in a line break
    QString destPassword; // empty: the real one
};

// The text form of a configuration: sections MainInfo, Config/Init and both
// connections, then the given sections (Config/Tables etc.) as they stand.
QString jobText(const QString& sections, const TJobOptions& options = {});

// Runs SQL on the stand-in or on MariaDB; every statement on one connection.
void oracleExec(const QStringList& statements);
void mysqlExec(const QStringList& statements);
// One text per row: the statement must select a single column.
QStringList oracleRows(const QString& sql);
QStringList mysqlRows(const QString& sql);
bool mysqlTableExists(const QString& table);

// The lines of a text file, CR LF or LF.
QStringList fileLines(const QString& path);
