#include "records/ErrInfo.h"

#include "foundation/Exception.h"
#include "foundation/TextFormat.h"
#include "foundation/TypedStream.h"
#include "records/ReadDataRecord_Hash.h"

const QUuid TErrGroup::kClassId{0xC77E8F95, 0x5C19, 0x489E, 0x8B, 0x9A, 0xDF, 0xE0, 0xA8, 0xE3, 0x73, 0x2F};
const QUuid TErrInfo::kClassId{0xF3482FD5, 0x7A8D, 0x49D7, 0x8A, 0x47, 0x85, 0x00, 0xE1, 0x4A, 0x18, 0xD5};

namespace {
const QString kGroupClass = QStringLiteral("TErrGroup");
const QString kErrorClass = QStringLiteral("TErrInfo");
} // namespace

// ---- TErrGroup ----

QString TErrGroup::displayName() const
{
    return storedDisplayName.trimmed().isEmpty() ? name : storedDisplayName;
}

void TErrGroup::saveToWriter(TWriter& writer) const
{
    writeClassHeader(writer, kClassId);
    writer.writeInteger(1);
    writer.writeString(name);
    writer.writeString(storedDisplayName);
    writer.writeString(fieldMapping.text());
    writer.writeBoolean(m_definitions == nullptr);
    if (m_definitions)
        m_definitions->saveToStream(writer);
    writer.writeBoolean(m_metadata == nullptr);
    if (m_metadata)
        m_metadata->saveToStream(writer);
    writeClassEnd(writer);
}

void TErrGroup::loadFromReader(TReader& reader, bool headerConsumed)
{
    if (!headerConsumed)
        readClassHeader(reader, kClassId);
    readStreamVersion(reader, kGroupClass, 1);
    name = reader.readString();
    storedDisplayName = reader.readString();
    fieldMapping.setText(reader.readString());
    m_definitions.reset();
    m_metadata.reset();
    if (!reader.readBoolean()) {
        auto definitions = std::make_unique<TDatasetFieldDefList>();
        definitions->loadFromStream(reader, false);
        m_definitions = std::move(definitions);
    }
    if (!reader.readBoolean()) {
        auto metadata = std::make_unique<TFieldMetadataList>();
        metadata->loadFromStream(reader, false);
        m_metadata = std::move(metadata);
    }
    readClassEnd(reader, kGroupClass);
}

// ---- TErrInfo ----

void TErrInfo::saveToWriter(TWriter& writer) const
{
    const IReadDataRecord* record = m_writeRecord ? m_writeRecord : m_record.get();
    const bool hasRecord = record && group && group->definitions();
    writeClassHeader(writer, kClassId);
    writer.writeInteger(1);
    writer.writeString(message);
    writer.writeString(group ? group->name : QString());
    writer.writeString(statement);
    writer.writeInteger(errorType);
    writer.writeBoolean(hasRecord);
    writer.writeInteger(state);
    writer.writeString(note);
    writer.writeInteger(dbKind);
    writer.writeInteger(errorCode);
    if (hasRecord)
        record->saveToStream(writer);
    writeClassEnd(writer);
}

void TErrInfo::loadFromReader(TReader& reader, bool headerConsumed)
{
    if (!m_groupFinder)
        throw Exception(formatText(QStringLiteral("call paramterError function name=%s,parameter=%s,error=%s!"),
                                   {QStringLiteral("TErrInfo.loadFromStream"), QStringLiteral("aGroupFinder"),
                                    QStringLiteral("paramter is null")}));
    if (!headerConsumed)
        readClassHeader(reader, kClassId);
    readStreamVersion(reader, kErrorClass, 1);
    message = reader.readString();
    const QString groupName = reader.readString();
    statement = reader.readString();
    errorType = reader.readInteger();
    const bool hasRecord = reader.readBoolean();
    state = reader.readInteger();
    note = reader.readString();
    dbKind = reader.readInteger();
    errorCode = reader.readInteger();
    group = m_groupFinder(groupName);
    m_record.reset();
    if (hasRecord) {
        if (!group)
            throw Exception(formatText(QStringLiteral("%s[\"%s\"] not found!"), {kGroupClass, groupName}));
        if (!group->definitions())
            throw Exception(formatText(QStringLiteral("Group FieldDefine is null,group name=%s"), {groupName}));
        auto record = std::make_unique<TReadDataRecord_Hash>(group->definitions());
        record->loadFromStream(reader, false);
        m_record = std::move(record);
    }
    readClassEnd(reader, kErrorClass);
}

void registerRecordStreamClasses()
{
    registerStreamClass(TReadDataRecord_Hash::kClassId, [] { return std::unique_ptr<TStreamObject>(new TReadDataRecord_Hash()); });
    registerStreamClass(TErrInfo::kClassId, [] { return std::unique_ptr<TStreamObject>(new TErrInfo()); });
    registerStreamClass(TErrGroup::kClassId, [] { return std::unique_ptr<TStreamObject>(new TErrGroup()); });
    registerStreamClass(TDatasetFieldDefList::kClassId, [] { return std::unique_ptr<TStreamObject>(new TDatasetFieldDefList()); });
}
