#include "foundation/ResourceTables.h"

#include "foundation/Exception.h"
#include "foundation/KwStringsComponent.h"
#include "foundation/KwTextForm.h"

#include <QDir>
#include <QFileInfo>

namespace {
const QString kResourceFolder = QStringLiteral(":/data/resources");
}

QStringList embeddedResourceFiles(const QString& language)
{
    const QDir folder(kResourceFolder);
    QStringList files;
    const QStringList names =
        folder.entryList({QStringLiteral("*_") + language + QStringLiteral(".txt")}, QDir::Files, QDir::Name);
    for (const QString& name : names)
        files.append(folder.filePath(name));
    return files;
}

void loadEmbeddedResourceTables(QObject* owner, const QString& language)
{
    for (const QString& file : embeddedResourceFiles(language)) {
        auto* table = new TKwStringsComponent(owner, QFileInfo(file).completeBaseName());
        try {
            kwTableLoadTextFile(*table, file);
        } catch (const Exception& e) {
            delete table;
            throw Exception(QStringLiteral("String table \"%1\": %2").arg(file, e.message()));
        }
    }
}
