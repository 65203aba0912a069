#include "records/IndexMetadata.h"

#include "foundation/DbKind.h"
#include "foundation/Exception.h"
#include "foundation/TextUtils.h"
#include "platform/db/DbQuery.h"

namespace {

[[noreturn]] void indexError(int index)
{
    throw Exception(QStringLiteral("List index out of bounds (%1)").arg(index));
}
} // namespace

std::unique_ptr<IIndexField> IIndexMetadata::createField() const
{
    return std::make_unique<IIndexField>();
}

IIndexField* IIndexMetadata::fieldAt(int index) const
{
    if (index < 0 || index >= fieldCount())
        indexError(index);
    return m_fields[size_t(index)].get();
}

IIndexField* IIndexMetadata::addField()
{
    m_fields.push_back(createField());
    return m_fields.back().get();
}

bool IIndexMetadata::allFieldsMapped() const
{
    if (skipped || m_fields.empty())
        return false;
    for (const auto& field : m_fields)
        if (field->destName.trimmed().isEmpty())
            return false;
    return true;
}

bool IIndexMetadata::sameColumnsAs(const IIndexMetadata& other) const
{
    if (skipped || other.skipped || fieldCount() != other.fieldCount())
        return false;
    for (int i = 0; i < fieldCount(); ++i)
        if (fieldAt(i)->destName.compare(other.fieldAt(i)->destName, Qt::CaseInsensitive) != 0)
            return false;
    return true;
}

std::unique_ptr<IIndexMetadata> IIndexMetadataList::createIndex() const
{
    return std::make_unique<IIndexMetadata>();
}

IIndexMetadata* IIndexMetadataList::indexAt(int index) const
{
    if (index < 0 || index >= count())
        indexError(index);
    return m_items[size_t(index)].get();
}

void IIndexMetadataList::add(std::unique_ptr<IIndexMetadata> index)
{
    if (index)
        m_items.push_back(std::move(index));
}

IIndexMetadata* IIndexMetadataList::primaryIndex() const
{
    for (const auto& item : m_items)
        if (item->isPrimary)
            return item.get();
    return nullptr;
}

std::unique_ptr<TIndexMetadataList> readIndexList(DbQuery& indexRows, DbQuery& indexColumnRows, int kind,
                                                  const QString& tableName)
{
    auto list = std::make_unique<TIndexMetadataList>();
    const bool hasPrimaryColumn = indexRows.findField(QStringLiteral("ISPRIMARY")) != nullptr;
    while (!indexRows.eof()) {
        auto index = list->createIndex();
        index->name = indexRows.fieldByName(QStringLiteral("INDEX_NAME")).asString();
        const QString primaryText =
            hasPrimaryColumn ? indexRows.fieldByName(QStringLiteral("ISPRIMARY")).asString() : QString();
        if (kind == dbkind::Oracle)
            index->isPrimary = primaryText.compare(QStringLiteral("PRIMARY"), Qt::CaseInsensitive) == 0;
        else if (kind == dbkind::MSSQL)
            index->isPrimary = index->name.startsWith(QStringLiteral("PK__%1__").arg(tableName), Qt::CaseSensitive);
        else
            index->isPrimary = index->name.compare(QStringLiteral("PRIMARY"), Qt::CaseInsensitive) == 0;
        index->isUnique = indexRows.fieldByName(QStringLiteral("UNIQUE")).asInteger() == 1;

        indexColumnRows.first();
        bool matched = false;
        while (!indexColumnRows.eof()) {
            const QString owner = indexColumnRows.fieldByName(QStringLiteral("INDEX_NAME")).asString();
            if (owner.compare(index->name, Qt::CaseInsensitive) == 0) {
                matched = true;
                IIndexField* field = index->addField();
                field->sourceName = indexColumnRows.fieldByName(QStringLiteral("COLUMN_NAME")).asString();
                const QString order = indexColumnRows.fieldByName(QStringLiteral("SORT_ORDER")).asString();
                field->descending = !(isBlankText(order) || order.compare(QStringLiteral("ASC"), Qt::CaseInsensitive) == 0);
            } else if (matched) {
                break;
            }
            indexColumnRows.next();
        }
        list->add(std::move(index));
        indexRows.next();
    }
    return list;
}
