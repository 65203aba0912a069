#include "foundation/ResourceCNDataModule.h"

#include "foundation/ResourceTables.h"

TDataModule_ResourceCN::TDataModule_ResourceCN(QObject* parent) : QObject(parent)
{
    setObjectName(QStringLiteral("DataModule_ResourceCN"));
    loadEmbeddedResourceTables(this, QStringLiteral("CN"));
}
