#pragma once
// Objects that persist themselves in the typed value stream, and the factory
// that creates one from the class id found in a class header. Each persisted
// class registers its id once (the record and error classes do).

#include "foundation/TypedStream.h"

#include <QUuid>
#include <memory>

class TStreamObject {
public:
    virtual ~TStreamObject() = default;
    virtual QUuid classId() const = 0;
    virtual void saveToWriter(TWriter& writer) const = 0;
    // headerConsumed: the class header was already read by the caller.
    virtual void loadFromReader(TReader& reader, bool headerConsumed) = 0;
};

using TStreamObjectCreator = std::unique_ptr<TStreamObject> (*)();

void registerStreamClass(const QUuid& classId, TStreamObjectCreator creator);
bool isStreamClassRegistered(const QUuid& classId);
// A new empty object of the class that owns the id; "Unkown class id,id=%s" otherwise.
std::unique_ptr<TStreamObject> createObjectFromClassId(const QUuid& classId);
// Reads a header of any known class and lets the new object load the rest.
std::unique_ptr<TStreamObject> readStreamObject(TReader& reader);
