#include "records/DatasetFieldDef.h"

#include "foundation/Exception.h"
#include "foundation/TypedStream.h"
#include "platform/db/DbQuery.h"

const QUuid TDatasetFieldDefList::kClassId{0x67EEDC05, 0x210B, 0x4662, 0xA9, 0xA3, 0x45, 0x30, 0xCD, 0x5F, 0xFD, 0x89};

namespace {
const QString kClassName = QStringLiteral("TDatasetFieldDefList");
const QString kDefClassName = QStringLiteral("TDatasetFieldDef");
} // namespace

void TDatasetFieldDefList::fillFromQuery(const DbQuery& query)
{
    clearDefs();
    if (!query.isOpen())
        return;
    for (const DbFieldDef& def : query.fieldDefs())
        addDef(def.name, def.dataType, def.required);
}

void TDatasetFieldDefList::addDef(const QString& name, int dataType, bool required)
{
    m_defs.push_back(std::make_unique<TDatasetFieldDef>(TDatasetFieldDef{name, dataType, required}));
}

int TDatasetFieldDefList::findDefIndex(const QString& name) const
{
    for (size_t i = 0; i < m_defs.size(); ++i)
        if (m_defs[i]->name.compare(name, Qt::CaseInsensitive) == 0)
            return int(i);
    return -1;
}

const TDatasetFieldDef* TDatasetFieldDefList::findDef(const QString& name) const
{
    const int index = findDefIndex(name);
    return index < 0 ? nullptr : m_defs[size_t(index)].get();
}

const TDatasetFieldDef& TDatasetFieldDefList::defAt(int index) const
{
    if (index < 0 || index >= defCount())
        throw Exception(QStringLiteral("List index out of bounds (%1)").arg(index));
    return *m_defs[size_t(index)];
}

std::unique_ptr<TDatasetFieldDefList> TDatasetFieldDefList::clone() const
{
    auto copy = std::make_unique<TDatasetFieldDefList>();
    for (const auto& def : m_defs)
        copy->addDef(def->name, def->dataType, def->required);
    return copy;
}

void TDatasetFieldDefList::saveToStream(TWriter& writer) const
{
    writeClassHeader(writer, kClassId);
    writer.writeInteger(1);
    writer.writeInteger(defCount());
    for (const auto& def : m_defs) {
        writer.writeInteger(1);
        writer.writeString(def->name);
        writer.writeInteger(def->dataType);
        writer.writeBoolean(def->required);
    }
    writeClassEnd(writer);
}

void TDatasetFieldDefList::loadFromStream(TReader& reader, bool headerConsumed)
{
    clearDefs();
    if (!headerConsumed)
        readClassHeader(reader, kClassId);
    readStreamVersion(reader, kClassName, 1);
    const int count = reader.readInteger();
    for (int i = 0; i < count; ++i) {
        readStreamVersion(reader, kDefClassName, 1);
        const QString name = reader.readString();
        const int dataType = reader.readInteger();
        const bool required = reader.readBoolean();
        addDef(name, dataType, required);
    }
    readClassEnd(reader, kClassName);
}
