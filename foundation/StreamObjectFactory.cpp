#include "foundation/StreamObjectFactory.h"

#include "foundation/Exception.h"

#include <QHash>

namespace {
QHash<QUuid, TStreamObjectCreater>& creaters()
{
    static QHash<QUuid, TStreamObjectCreater> map;
    return map;
}
} // namespace

void registerStreamClass(const QUuid& classId, TStreamObjectCreater creater)
{
    creaters().insert(classId, creater);
}

bool isStreamClassRegistered(const QUuid& classId)
{
    return creaters().contains(classId);
}

std::unique_ptr<TStreamObject> createObjectFromClassId(const QUuid& classId)
{
    const auto it = creaters().constFind(classId);
    if (it == creaters().constEnd() || !*it)
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
