#include "records/TableMetadata.h"

#include "foundation/Exception.h"

void TTableMetadataList::add(std::unique_ptr<TTableMetadata> item)
{
    if (item)
        m_items.push_back(std::move(item));
}

TTableMetadata* TTableMetadataList::getItem(int index) const
{
    if (index < 0 || index >= getCount())
        throw Exception(QStringLiteral("List index out of bounds (%1)").arg(index));
    return m_items[size_t(index)].get();
}
