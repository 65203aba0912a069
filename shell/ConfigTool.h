#pragma once
// quenlor-config: shows a configuration file's table in text form, and packs
// a text form into an enciphered configuration file, without the wizard.

#include <QIODevice>
#include <QStringList>

class TKwStringsComponent;

// Checks, and may complete, a table read from text before pack writes it;
// raises to refuse it. Executables that know the jobs install one.
using TPackCheck = void (*)(TKwStringsComponent& table);
void setPackCheck(TPackCheck check);

// arguments: the command-line arguments after the program name. Writes UTF-8
// to out and err; returns the exit status (0 success, 1 failure).
int runConfigTool(const QStringList& arguments, QIODevice& out, QIODevice& err);
