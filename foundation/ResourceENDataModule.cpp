#include "foundation/ResourceENDataModule.h"

#include "foundation/ResourceTables.h"

TDataModule_ResourceEN::TDataModule_ResourceEN(QObject* parent) : QObject(parent)
{
    setObjectName(QStringLiteral("DataModule_ResourceEN"));
    loadEmbeddedResourceTables(this, QStringLiteral("EN"));
}
