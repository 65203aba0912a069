#include "records/ErrInfoList.h"

#include "foundation/Exception.h"
#include "foundation/TypedStream.h"
#include "records/ErrTrack.h"

const QUuid kErrorListFileClassId{0x82DDB352, 0xA62D, 0x46B2, 0xAE, 0x4B, 0x32, 0xEC, 0x85, 0xA0, 0x15, 0xC1};

TErrInfoList::TErrInfoList(TAbsDBDumpData* folder) : m_track(std::make_unique<TErrTrack>(folder, this))
{
    registerRecordStreamClasses();
}

TErrInfoList::~TErrInfoList()
{
    m_track.reset();
}

void TErrInfoList::clearErrors()
{
    m_errors.clear();
    m_groups.clear();
}

TErrGroup* TErrInfoList::findGroup(const QString& name) const
{
    for (const auto& group : m_groups)
        if (group->name.compare(name, Qt::CaseInsensitive) == 0)
            return group.get();
    return nullptr;
}

TErrGroup* TErrInfoList::findOrCreateGroup(const QString& name)
{
    if (TErrGroup* group = findGroup(name))
        return group;
    return addGroup(std::make_unique<TErrGroup>(name));
}

TErrGroup* TErrInfoList::addGroup(std::unique_ptr<TErrGroup> group)
{
    m_groups.push_back(std::move(group));
    return m_groups.back().get();
}

TErrInfo* TErrInfoList::addError(std::unique_ptr<TErrInfo> error)
{
    if (error->group)
        error->group->addError(error.get());
    m_errors.push_back(std::move(error));
    return m_errors.back().get();
}

TErrInfo* TErrInfoList::errorAt(int index) const
{
    if (index < 0 || index >= errorCount())
        throw Exception(QStringLiteral("List index out of bounds (%1)").arg(index));
    return m_errors[size_t(index)].get();
}

TErrGroup* TErrInfoList::groupAt(int index) const
{
    if (index < 0 || index >= groupCount())
        throw Exception(QStringLiteral("List index out of bounds (%1)").arg(index));
    return m_groups[size_t(index)].get();
}

void TErrInfoList::loadFromStream(TReader& reader, QString* damage)
{
    clearErrors();
    m_firstNumber = m_lastNumber = 0;
    if (damage) {
        damage->clear();
        try {
            loadItems(reader);
        } catch (const Exception& e) {
            *damage = e.message();
        } catch (const std::exception& e) {
            *damage = QString::fromUtf8(e.what());
        }
        return;
    }
    loadItems(reader);
}

void TErrInfoList::loadItems(TReader& reader)
{
    readClassHeader(reader, kErrorListFileClassId);
    readStreamVersion(reader, QStringLiteral("TErrInfoList"), 1);
    m_firstNumber = reader.readInteger();
    m_lastNumber = reader.readInteger();
    reader.readListBegin();
    while (!reader.endOfList()) {
        const QUuid id = readClassHeaderAny(reader);
        std::unique_ptr<TStreamObject> object = createObjectFromClassId(id);
        if (auto* group = dynamic_cast<TErrGroup*>(object.get())) {
            group->loadFromReader(reader, true);
            object.release();
            addGroup(std::unique_ptr<TErrGroup>(group));
        } else if (auto* error = dynamic_cast<TErrInfo*>(object.get())) {
            error->setGroupFinder([this](const QString& name) { return findGroup(name); });
            error->loadFromReader(reader, true);
            error->setGroupFinder({});
            object.release();
            addError(std::unique_ptr<TErrInfo>(error));
        } else {
            throw Exception(QStringLiteral("read stream class type error!"));
        }
    }
    reader.readListEnd();
    readClassEnd(reader, QStringLiteral("TErrInfoList"));
}
