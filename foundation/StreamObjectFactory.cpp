#include "foundation/StreamObjectFactory.h"

#include "foundation/Exception.h"

#include <QHash>

namespace {
QHash<QUuid, TStreamObjectCreator>& creators()
{
    static QHash<QUuid, TStreamObjectCreator> map;
    return map;
}
} // namespace

void registerStreamClass(const QUuid& classId, TStreamObjectCreator creator)
{
    creators().insert(classId, creator);
}

bool isStreamClassRegistered(const QUuid& classId)
{
    return creators().contains(classId);
}

std::unique_ptr<TStreamObject> createObjectFromClassId(const QUuid& classId)
{
    const auto it = creators().constFind(classId);
    if (it == creators().constEnd() || !*it)
        throw Exception(QStringLiteral("Unkown class id,id=%1").arg(guidText(classId)));
    return (*it)();
}

std::unique_ptr<TStreamObject> readStreamObject(TReader& reader)
{
    const QUuid id = readClassHeaderAny(reader);
    auto object = createObjectFromClassId(id);
    object->loadFromReader(reader, true);
    return object;
}
