#pragma once
// Payload bytes of stored field values and the stored value form:
// version 1, index, data type, NULL flag, then size and payload when not NULL.

#include "records/ReadDataFieldType.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <functional>

class TReader;
class TWriter;

QByteArray int32Payload(int32_t value);
QByteArray int64Payload(int64_t value);
QByteArray doublePayload(double value);
QByteArray booleanPayload(bool value);
QByteArray textPayload(const QString& text); // UTF-16LE, no terminator

// Readers of payloads whose size the caller checked.
int32_t int32FromPayload(const QByteArray& payload);
int64_t int64FromPayload(const QByteArray& payload);
double doubleFromPayload(const QByteArray& payload);
// size / 2 UTF-16LE code units; an odd last byte is ignored.
QString textFromPayload(const QByteArray& payload);

// The fixed payload size of a kind, or -1 when any size is allowed.
int fixedPayloadSize(TReadDataFieldType type);

void writeStoredValue(TWriter& writer, int index, int fieldType, bool isNull, const QByteArray& payload);
// Reads size bytes in pieces, so that a damaged size fails with "Stream read
// error" at the stream's end instead of reserving the whole amount first.
QByteArray readPayloadBytes(TReader& reader, int32_t size);

// The bytes that a writer callback writes, laid out in memory first, so that
// a failure midway leaves nothing behind in a file.
QByteArray bytesWrittenBy(const std::function<void(TWriter&)>& write);
