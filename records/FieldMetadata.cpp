#include "records/FieldMetadata.h"

#include "foundation/DbKind.h"
#include "foundation/Exception.h"
#include "foundation/StringList.h"
#include "foundation/TextUtils.h"
#include "foundation/TypedStream.h"
#include "platform/db/DbQuery.h"

#include <QtEndian>

const QUuid TFieldMetadataList::kClassId{0xA190D2EB, 0x0D12, 0x4E80, 0x93, 0x90, 0x4C, 0x5E, 0x64, 0xE7, 0x68, 0xBF};

namespace {
constexpr int kScopeLength = 2;
constexpr int kScopeInteger = 3;
constexpr int kScopeScope = 4;

// The two texts of a field always go in the UTF-16 form.
void writeWideString(TWriter& writer, const QString& text)
{
    uint8_t head[5];
    head[0] = ValueTag::WString;
    qToLittleEndian<uint32_t>(uint32_t(text.size()), head + 1);
    writer.writeRaw(head, 5);
    QByteArray utf16(text.size() * 2, Qt::Uninitialized);
    qToLittleEndian<char16_t>(text.utf16(), text.size(), utf16.data());
    writer.writeRaw(utf16);
}

int intOrMinusOne(const DbField& field)
{
    return field.isNull() ? -1 : field.asInteger();
}

// The integer of text, or fallback when it is not one.
int integerOr(const QString& text, int fallback)
{
    qint64 value = 0;
    if (!isIntegerText(text) || !parseIntegerText(text, &value))
        return fallback;
    return int(value);
}

void applyMySqlType(TFieldMetadata& item, int scope, const QString& mysqlType)
{
    const qsizetype open = mysqlType.indexOf(u'(');
    const qsizetype close = mysqlType.indexOf(u')');
    const QString inner = (open >= 0 && close > open) ? mysqlType.mid(open + 1, close - open - 1) : QString();
    switch (scope) {
    case kScopeLength: item.setLength(integerOr(inner, item.getLength())); break;
    case kScopeInteger: item.setPrecision(integerOr(inner, item.getPrecision())); break;
    case kScopeScope: {
        const qsizetype comma = inner.indexOf(u',');
        if (comma < 0)
            break;
        item.setPrecision(integerOr(inner.left(comma), item.getPrecision()));
        item.setScale(integerOr(inner.mid(comma + 1), item.getScale()));
        break;
    }
    default: break;
    }
}
} // namespace

// ---- TFieldMetadata ----

void TFieldMetadata::loadFromStream(TReader& reader)
{
    *this = TFieldMetadata();
    m_name = reader.readString();
    m_typeName = reader.readString();
    m_notNull = reader.readBoolean();
    m_precision = reader.readInteger();
    m_length = reader.readInteger();
    m_scale = reader.readInteger();
}

void TFieldMetadata::saveToStream(TWriter& writer) const
{
    writeWideString(writer, m_name);
    writeWideString(writer, m_typeName);
    writer.writeBoolean(m_notNull);
    writer.writeInteger(m_precision);
    writer.writeInteger(m_length);
    writer.writeInteger(m_scale);
}

std::unique_ptr<TFieldMetadata> TFieldMetadata::clone() const
{
    return std::make_unique<TFieldMetadata>(*this);
}

// ---- TFieldMetadataList ----

TFieldMetadataList::TFieldMetadataList(const DbQuery& query, const TStringList& typeNameMap)
{
    for (const DbFieldDef& def : query.fieldDefs()) {
        auto item = std::make_unique<TFieldMetadata>();
        item->setName(def.name);
        item->setTypeName(typeNameMap.value(fieldTypeName(def.dataType)));
        item->setNotNull(def.required);
        item->setLength(-1);
        item->setPrecision(def.precision);
        item->setScale(-1);
        add(std::move(item));
    }
}

TFieldMetadata* TFieldMetadataList::getItem(int index) const
{
    if (index < 0 || index >= getCount())
        throw Exception(QStringLiteral("List index out of bounds (%1)").arg(index));
    return m_items[size_t(index)].get();
}

TFieldMetadata* TFieldMetadataList::findByName(const QString& name) const
{
    for (const auto& item : m_items)
        if (item->getName().compare(name, Qt::CaseInsensitive) == 0)
            return item.get();
    return nullptr;
}

void TFieldMetadataList::add(std::unique_ptr<TFieldMetadata> item)
{
    if (item)
        m_items.push_back(std::move(item));
}

std::unique_ptr<TFieldMetadataList> TFieldMetadataList::clone() const
{
    auto copy = std::make_unique<TFieldMetadataList>();
    for (const auto& item : m_items)
        copy->add(item->clone());
    return copy;
}

QString TFieldMetadataList::ToString() const
{
    QString out;
    for (const auto& item : m_items) {
        out += QStringLiteral("fieldname=") + item->getName() + QStringLiteral("\ttype=") + item->getTypeName() +
               QStringLiteral("\tlength=") + QString::number(item->getLength()) + QStringLiteral("\tprecision=") +
               QString::number(item->getPrecision()) + QStringLiteral("\tscale=") +
               QString::number(item->getScale()) + QStringLiteral("\tnotNull=") +
               (item->getNotNull() ? QStringLiteral("True") : QStringLiteral("False")) + QStringLiteral("\r\n");
    }
    return out;
}

void TFieldMetadataList::saveToStream(TWriter& writer) const
{
    writeClassHeader(writer, kClassId);
    writer.writeInteger(getCount());
    for (const auto& item : m_items)
        item->saveToStream(writer);
    writeClassEnd(writer);
}

void TFieldMetadataList::loadFromStream(TReader& reader, bool headerAlreadyRead)
{
    clear();
    if (!headerAlreadyRead)
        readClassHeader(reader, kClassId);
    const int count = reader.readInteger();
    for (int i = 0; i < count; ++i) {
        auto item = std::make_unique<TFieldMetadata>();
        item->loadFromStream(reader);
        add(std::move(item));
    }
    readClassEnd(reader, QStringLiteral("TFieldMetadataList"));
}

void TFieldMetadataList::loadFromMetadataRows(DbQuery& rows, int kind, const TypeNameMapper& mapper,
                                              const TFieldScopeLookup& scopeOf)
{
    const bool hasMySqlType = rows.findField(QStringLiteral("MySQL_Type")) != nullptr;
    while (!rows.eof()) {
        auto item = std::make_unique<TFieldMetadata>();
        item->setName(rows.fieldByName(QStringLiteral("Column_Name")).asString());
        const QString rawType = rows.fieldByName(QStringLiteral("Data_Type")).asString();
        item->setTypeName(mapper ? mapper(kind, rawType) : rawType);
        item->setLength(intOrMinusOne(rows.fieldByName(QStringLiteral("Data_Length"))));
        item->setPrecision(intOrMinusOne(rows.fieldByName(QStringLiteral("Data_Precision"))));
        item->setScale(intOrMinusOne(rows.fieldByName(QStringLiteral("Data_Scale"))));
        if (kind == dbkind::Excel && item->getTypeName().compare(QStringLiteral("NUMBER"), Qt::CaseInsensitive) == 0 &&
            item->getScale() == -1)
            item->setScale(0);
        const int nullable = rows.fieldByName(QStringLiteral("NullAble")).asInteger();
        // Access reports the flag the other way round.
        item->setNotNull(kind == dbkind::Access ? nullable == 1 : nullable == 0);
        if (hasMySqlType && scopeOf)
            applyMySqlType(*item, scopeOf(kind, item->getTypeName()),
                           rows.fieldByName(QStringLiteral("MySQL_Type")).asString());
        add(std::move(item));
        rows.next();
    }
}
