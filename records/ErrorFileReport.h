#pragma once
// quenlor-errors: prints what a run recorded in its error files, so that a
// user without a desktop (and the tests) can read what went wrong.
//
//   quenlor-errors show PATH [--file N]
// PATH is a run's work folder, its "error" folder or the error.errinfo file.
// When the index is missing, damaged or behind the folder (a killed run), the
// folder's own list files are shown, each up to its last complete error, with
// "Note:" lines first on both streams; exit status 1 when nothing was readable.

#include <QString>
#include <QStringList>
#include <QTextStream>

class TErrInfoList;

// The work folder that PATH names.
QString workFolderOfPath(const QString& path);
// The index values and one loaded error list file, as printed.
void writeIndexReport(const TErrInfoList& list, QTextStream& out);
void writeFileReport(const TErrInfoList& list, int fileNumber, QTextStream& out);
// arguments as QCoreApplication gives them (program first); the exit status.
int runQuenlorErrors(const QStringList& arguments, QTextStream& out, QTextStream& err);
int runQuenlorErrors(const QStringList& arguments);
