#pragma once
// The shipped string tables: UTF-8 text-form files embedded as Qt resources
// at ":/data/resources/<module>_<LANG>.txt". Each resource data module loads
// the files of its language, so a later module only adds its two files.

#include <QString>
#include <QStringList>

class QObject;

// Resource paths of every embedded table of the language, sorted by name.
QStringList embeddedResourceFiles(const QString& language);

// Creates one TKwStringsComponent child of the owner per embedded file of the
// language, named "<module>_<LANG>" after its file, and fills it. A damaged
// file raises an Exception naming the file and line.
void loadEmbeddedResourceTables(QObject* owner, const QString& language);
